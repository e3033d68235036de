// Placeholder bodies until this module is built.
#include "recorder/recorder.h"

namespace corvel {

void ChangePanelRecord(void) {}
void CalcRecTime(void) {}
void SelRecFile(void) {}
void Record(void) {}
void RecordFrame(void) {}
void SlowDown(void) {}
void RecordManually(void) {}
void StopRecord(void) {}
void SetRecordData(void) {}
void ToFile(void) {}
int CBF_ButtonOpenRecorder(int, int, int, void*, int, int) { return 0; }
int CBF_RECP(int, int, void*, int, int) { return 0; }
int CBF_ButtonCloseRecorder(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonSelRecFile(int, int, int, void*, int, int) { return 0; }
int CBF_EditInterval(int, int, int, void*, int, int) { return 0; }
int CBF_EditRecVal(int, int, int, void*, int, int) { return 0; }
int CBF_DispRecFile(int, int, int, void*, int, int) { return 0; }
int CBF_DispRecordTime(int, int, int, void*, int, int) { return 0; }
int CBF_DispRecordedValues(int, int, int, void*, int, int) { return 0; }
int CBF_DispRemaining(int, int, int, void*, int, int) { return 0; }
int CBF_DispGfRecord(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonStartRecord(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonManualRecord(int, int, int, void*, int, int) { return 0; }
int CBF_ButtonStopRecord(int, int, int, void*, int, int) { return 0; }

}  // namespace corvel
