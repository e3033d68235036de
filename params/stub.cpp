// Placeholder bodies until this module is built.
#include "params/params.h"

namespace corvel {

void GetPanelValues(void) {}
void SetPanelValues(void) {}
void ParaVis(void) {}
void ParaInVis(void) {}
void VectorCountCheck(void) {}
void RowMarking(void) {}
void PowerSliderDimming(void) {}
void TriggerLock(void) {}
int CBF_SelectRAM(int, int, int, void*, int, int) { return 0; }
int CBF_SelectEEPROM(int, int, int, void*, int, int) { return 0; }
int CBF_SelectFILE(int, int, int, void*, int, int) { return 0; }
int CBF_ParaVisible(int, int, int, void*, int, int) { return 0; }
int CBF_ExternTeach(int, int, int, void*, int, int) { return 0; }
int CBF_EditPmod(int, int, int, void*, int, int) { return 0; }
int CBF_EditMaxNo(int, int, int, void*, int, int) { return 0; }
int CBF_EditDigitalOutmode(int, int, int, void*, int, int) { return 0; }
int CBF_AnaOutBegEnd(int, int, int, void*, int, int) { return 0; }
int CBF_SlidePower(int, int, int, void*, int, int) { return 0; }
int CBF_EditAverage(int, int, int, void*, int, int) { return 0; }
int CBF_EditTrigger(int, int, int, void*, int, int) { return 0; }
int CBF_EditIntlim(int, int, int, void*, int, int) { return 0; }
int CBF_EditHold(int, int, int, void*, int, int) { return 0; }
int CBF_EditBias(int, int, int, void*, int, int) { return 0; }
void TeachDataTo(void) {}
void ResetTable(void) {}
void InitEval(void) {}
int CBF_ButtonTeachDataTo(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonResetTable(int, int, int, void*, int, int) { return 0; }
int CBF_Evalmode(int, int, int, void*, int, int) { return 0; }
int CBF_EditNo(int, int, int, void*, int, int) { return 0; }
int CBF_RadioInc(int, int, int, void*, int, int) { return 0; }
void SendParaToFile(void) {}
void ReadParaFromFile(void) {}

}  // namespace corvel
