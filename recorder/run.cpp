// Recording: the timed run at a fixed interval and the single manual record.
#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "link/link.h"
#include "platform/platform.h"
#include "recorder/recfile.h"
#include "recorder/recorder.h"
#include "uir_ids.h"

namespace corvel {

namespace {

const unsigned short kRecordOrder = kOrderRecord;

// Records the current run tried to write and how many of them were lost.
unsigned int runRecords = 0;
unsigned int runLost = 0;

// Sends the recorder's data request; true when the 32-byte reply was read.
// With `stop` the wait gives up as soon as the run is no longer active.
// The frame is decoded into the data variables when it was.
bool RequestFrame(const unsigned short* stop) {
    return LinkReadFrame(kRecordOrder, stop) == LINK_ACCEPTED;
}

void ShowFrame(void) {
    SetRecordData();
    SetPanelGraphData();
}

// Counts the record just written; the count reached ends the run.
void CountRecord(void) {
    otcrec = static_cast<unsigned short>(otcrec + 1);
    SetCtrlVal(recpanel, RECP_DISPRECORDEDVALUES, otcrec);
    // A signed difference: a manual record beyond the count shows how many
    // frames the file holds past it (-1 after one). Only the progress bar
    // and the time left stop at nothing left.
    SetCtrlVal(recpanel, RECP_DISPREMAINING, static_cast<int>(anzwerte) - static_cast<int>(otcrec));
    ShowRecProgress(otcrec);
    if (otcrec == anzwerte) pollrecord = 0;
}

// While a run is active its settings and its start button take no input.
void LockRun(int locked) {
    SetCtrlAttribute(recpanel, RECP_EDITINTERVAL, ATTR_DIMMED, locked);
    SetCtrlAttribute(recpanel, RECP_EDITRECVAL, ATTR_DIMMED, locked);
    SetCtrlAttribute(recpanel, RECP_BUTTONSTARTRECORD, ATTR_BUTTON_COLOR,
                     locked ? kButtonRunning : kButtonIdle);
    SetCtrlAttribute(recpanel, RECP_BUTTONSTARTRECORD, ATTR_DIMMED, locked);
}

}  // namespace

void Record(void) {
    ReadRecFileName();
    if (ConfirmPopup("ATTENTION!", "Are you sure, that you have selected the right file name?") != 1) return;
    MessagePopup("ATTENTION!", kFileInUseWarning);
    if (!EmptyRecFile()) return;
    LockRun(1);
    runRecords = 0;
    runLost = 0;
    ShowLostRecords(0, 0);
    RecordFrame();
    RefreshGraphStats();  // the last frames of a fast run, not yet counted
    if (runLost == 0) {
        ShowSavedRecords(runRecords, false);  // which file, beside the notice
        MessagePopup("INFO!", "File has been saved!");
    } else
        ReportLostRecords(runLost, runRecords);
    LockRun(0);
}

void RecordFrame(void) {
    order = kRecordOrder;
    pollrecord = 1;
    otcrec = 0;
    CalcRecTime();
    while (pollrecord == 1) {
        if (RequestFrame(&pollrecord)) {
            ShowFrame();
            SlowDown();
        } else {
            // A wait given up because the run was stopped is no time-out.
            if (pollrecord == 1) TimeoutReport();
            pollrecord = 0;
        }
        // Written after a time-out too, with the values of the last good frame.
        const bool written = ToFile();
        ++runRecords;
        if (!written) ++runLost;
        // A modal popup would stall the run; the panel says it at once.
        if (runLost > 0) ShowLostRecords(runLost, runRecords);
        CountRecord();
    }
}

void SlowDown(void) {
    tstart = Timer();
    tdiff = 0;
    while (zeitint > tdiff) {
        tdiff = Timer() - tstart;
        ShowRecTimeLeft(otcrec, tdiff);
        ProcessSystemEvents();
        if (pollrecord == 0) return;
        // A short nap keeps the wait responsive without spinning a core.
        if (zeitint > tdiff) Delay(0.001);
    }
}

void RecordManually(void) {
    ReadRecFileName();
    if (RequestFrame(nullptr)) {
        ShowFrame();
    } else {
        TimeoutReport();
        pollrecord = 0;
    }
    if (ToFile())
        ShowSavedRecords(1, true);
    else
        ReportLostRecords(1, 0);
    CountRecord();
}

void StopRecord(void) {
    pollrecord = 0;
}

void SetRecordData(void) {
    SetCtrlVal(recpanel, RECP_RECDISPCHREF, dataChRef);
    SetCtrlVal(recpanel, RECP_RECBARCHREF, dataChRef);
    SetCtrlVal(recpanel, RECP_RECDISPCHDIR, dataChDir);
    SetCtrlVal(recpanel, RECP_RECBARCHDIR, dataChDir);
    SetCtrlVal(recpanel, RECP_RECDISPCHDIF, dataChDif);
    SetCtrlVal(recpanel, RECP_RECBARCHDIF, dataChDif);
    SetCtrlVal(recpanel, RECP_RECDISPNORM, dataNorm);
    SetCtrlVal(recpanel, RECP_RECDISPINT, dataInt);
    SetCtrlVal(recpanel, RECP_DISPGFRECORD, dataGf);
    SetCtrlVal(recpanel, RECP_RECDISPTEMP, dataTemp);
}

int CBF_ButtonStartRecord(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        if (!EnsurePort()) return 0;
        InitPanelGraph();
        Record();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonManualRecord(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        if (EnsurePort()) RecordManually();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonStopRecord(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) StopRecord();
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
