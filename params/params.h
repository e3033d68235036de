// Parameter editing: panel binding and checks, teach table, evaluation
// mode and the parameter file.
#pragma once

#include "link/packet.h"

namespace corvel {

// ---- binding and checks ----
void GetPanelValues(void);
void SetPanelValues(void);
// After SetPanelValues with values from the sensor or a file: tells the
// operator once which of them the panel could not hold and what it shows.
void ReportUnfitValues(void);
// The panel's parameter words as the binding reads them: the thirteen bound
// controls in binding order (bias as its 16-bit pattern, as in the packet),
// then the 124 teach cells row by row.
constexpr int kParameterWords = 13;
constexpr int kPanelWords = kParameterWords + kTeachRows * kTeachColumns;
void ReadPanelWords(unsigned short* words);
// Writes one of those words back to its control or cell (no callback runs).
void WritePanelWord(int index, unsigned short value);
// The control that shows word `index` (the teach table for the cells), and
// the caption the panel gives it.
int PanelWordControl(int index);
const char* PanelWordCaption(int index);
void ParaVis(void);
void ParaInVis(void);
void VectorCountCheck(void);
void RowMarking(void);
void PowerSliderDimming(void);
void TriggerLock(void);

int CBF_SelectRAM(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_SelectEEPROM(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_SelectFILE(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ParaVisible(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ExternTeach(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditPmod(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditMaxNo(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditDigitalOutmode(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_AnaOutBegEnd(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_SlidePower(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditAverage(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditTrigger(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditIntlim(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditHold(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditBias(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// ---- teach table and evaluation mode ----
void TeachDataTo(void);
void ResetTable(void);
void InitEval(void);

int CBF_ButtonTeachDataTo(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int CBF_ButtonResetTable(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_Evalmode(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditNo(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_RadioInc(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// ---- parameter file ----
// Both return 1 when the file was written or read, 0 when the operator
// chose no file, -1 when the file failed (the operator has been told).
int SendParaToFile(void);
int ReadParaFromFile(void);

}  // namespace corvel
