// Recorder: the recorder panel, the record file, timed and manual recording.
#pragma once

namespace corvel {

void ChangePanelRecord(void);
void CalcRecTime(void);
void SelRecFile(void);
// Shows the record file's whole path in DispRecFile (a relative name as
// the folder it is written to).
void ShowWholeRecPath(void);
void Record(void);
void RecordFrame(void);
void SlowDown(void);
void RecordManually(void);
void StopRecord(void);
void SetRecordData(void);
// Appends the record of the last frame to the record file; true when it was
// written whole.
bool ToFile(void);

// Frames still to record after `done`, for the progress bar and the time
// left; never below 0 (REMAINING itself shows the signed difference).
int RemainingRecords(unsigned done);
// The progress bar and the time left after `done` frames.
void ShowRecProgress(unsigned done);
// The same `waited` seconds into the interval wait of the next frame;
// writes the panel only when the whole seconds left have changed.
void ShowRecTimeLeft(unsigned done, double waited);

int CBF_ButtonOpenRecorder(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_RECP(int panel, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonCloseRecorder(int panel, int control, int event, void* callbackData, int eventData1,
                            int eventData2);
int CBF_ButtonSelRecFile(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_EditInterval(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditRecVal(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispRecFile(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispRecordTime(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispRecordedValues(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_DispRemaining(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispGfRecord(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_BarRecProgress(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispTimeLeft(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonStartRecord(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int CBF_ButtonManualRecord(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
int CBF_ButtonStopRecord(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);

}  // namespace corvel
