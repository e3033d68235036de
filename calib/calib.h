// Calibration: the power search against the reference target and the
// store of the calibration values in the sensor's EEPROM.
#pragma once

namespace corvel {

// The acceptance window of the search: the tenth CH_DIR raw value must lie
// from kCalibAcceptLow to kCalibAcceptHigh, both included.
constexpr unsigned short kCalibAcceptLow = 3651;
constexpr unsigned short kCalibAcceptHigh = 4049;
inline bool CalibAccepts(unsigned short chDir) {
    return chDir >= kCalibAcceptLow && chDir <= kCalibAcceptHigh;
}

// The operator's reports of a failed search and of a failed exchange.
extern const char kSearchFailed[];
extern const char kCommFailure[];

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
// The window beside CH_DIR and whether `chDir` lies inside (chDir < 0: no value yet).
void ShowCalibWindow(int chDir);

int CBF_ButtonCalibrate(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_CALIBP(int panel, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonCloseCalib(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_ButtonStartCalib(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_ButtonConfirmCalib(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_CalibDispWindow(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_DispCalibStep(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_SlideRefPower(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace corvel
