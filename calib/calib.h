// Calibration: the power search against the reference target and the
// store of the calibration values in the sensor's EEPROM.
#pragma once

namespace corvel {

void ChangePanelCalib(void);
void StartCalibrationRef1(void);
void SendCalibPara(void);
void ConfirmCalibration(void);
int CalibParaComp(void);

// Progress of the power search on CALIBP (chDir < 0: not measured yet).
void ShowCalibStep(int step, int steps, unsigned short tried, int chDir);
void ShowCalibLost(int step, int steps, unsigned short tried);
void ShowCalibFinal(unsigned short tried, int chDir);
void ShowCalibResult(bool passed, const char* why);

int CBF_ButtonCalibrate(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_CALIBP(int panel, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonCloseCalib(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_ButtonStartCalib(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_ButtonConfirmCalib(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_DispCalibStep(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_SlideRefPower(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace corvel
