// Placeholder bodies until this module is built.
#include "calib/calib.h"

namespace corvel {

void ChangePanelCalib(void) {}
void StartCalibrationRef1(void) {}
void SendCalibPara(void) {}
void ConfirmCalibration(void) {}
int CalibParaComp(void) { return 0; }
int CBF_ButtonCalibrate(int, int, int, void*, int, int) { return 0; }
int CBF_CALIBP(int, int, void*, int, int) { return 0; }
int CBF_ButtonCloseCalib(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonStartCalib(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonConfirmCalib(int, int, int, void*, int, int) { return 0; }
int CBF_SlideRefPower(int, int, int, void*, int, int) { return 0; }

}  // namespace corvel
