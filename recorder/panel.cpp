// The recorder panel: opening and closing it, the record file choice, and
// the record time that interval and count give.
#include <climits>
#include <cstring>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/kept.h"
#include "app/mainpanel.h"
#include "link/link.h"
#include "platform/platform.h"
#include "recorder/recfile.h"
#include "recorder/recorder.h"
#include "uir_ids.h"

namespace corvel {

namespace {

char previousName[sizeof file_name];

}  // namespace

void ChangePanelRecord(void) {
    pollrecord = 0;
    HidePanel(recpanel);
    DisplayPanel(panel);
}

void CalcRecTime(void) {
    GetCtrlVal(recpanel, RECP_EDITINTERVAL, &zeitint);
    GetCtrlVal(recpanel, RECP_EDITRECVAL, &anzwerte);
    SetCtrlVal(recpanel, RECP_DISPRECORDEDVALUES, 0);
    SetCtrlVal(recpanel, RECP_DISPREMAINING, static_cast<int>(anzwerte));
    ShowRecProgress(0);

    // The panel's ranges keep the product within 32 bits; clamp rather than
    // wrap should they ever allow more.
    const long long product = static_cast<long long>(zeitint) * anzwerte;
    int total = product > INT_MAX ? INT_MAX : static_cast<int>(product);
    const int days = total / 86400;
    total -= days * 86400;
    SetCtrlVal(recpanel, RECP_DISPRECORDDAYS, days);
    const int hours = total / 3600;
    total -= hours * 3600;
    SetCtrlVal(recpanel, RECP_DISPRECORDHOURS, hours);
    const int minutes = total / 60;
    total -= minutes * 60;
    SetCtrlVal(recpanel, RECP_DISPRECORDMINUTES, minutes);
    SetCtrlVal(recpanel, RECP_DISPRECORDSECONDS, total);
}

void SelRecFile(void) {
    // A running recording appends to file_name, so a refused or cancelled
    // choice must not leave the refused path there.
    std::memcpy(previousName, file_name, sizeof file_name);
    const int result = FileSelectPopup(StartFolder(KEPT_RECORDS), "record.dat", "*.dat", "FILENAME!",
                                       VAL_OK_BUTTON, 0, 1, 1, 1, file_name);
    if (result <= 0) {
        std::memcpy(file_name, previousName, sizeof file_name);
        MessagePopup("ATTENTION!", "No filename was choosen! \nRecording will not be done! ");
        return;
    }
    if (result == 1) {
        if (ConfirmPopup("ATTENTION!", "File already exist! \nDo you want to select existing file?") != 1) {
            std::memcpy(file_name, previousName, sizeof file_name);
            return;
        }
        MessagePopup("ATTENTION!", kFileInUseWarning);
    }
    ResetTextBox(recpanel, RECP_DISPRECFILE, "");
    SetCtrlVal(recpanel, RECP_DISPRECFILE, file_name);
    KeepChosenFile(KEPT_RECORDS, file_name);
}

void ShowWholeRecPath(void) {
    // The panel's own name is relative; records land in the operator's
    // file folder, so that is what the recorder shows.
    ReadRecFileName();
    if (file_name[0] == '\0') return;
    ResetTextBox(recpanel, RECP_DISPRECFILE, "");
    SetCtrlVal(recpanel, RECP_DISPRECFILE, file_name);
}

int CBF_ButtonOpenRecorder(int pnl, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        poll = 0;
        HidePanel(pnl);
        DisplayPanel(recpanel);
        CalcRecTime();
    }
    return HelpOnly(pnl, control, event);
}

int CBF_RECP(int, int event, void*, int, int) {
    if (event == EVENT_CLOSE) ChangePanelRecord();
    return 0;
}

int CBF_ButtonCloseRecorder(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) ChangePanelRecord();
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonSelRecFile(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        SelRecFile();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditInterval(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) CalcRecTime();
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditRecVal(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) CalcRecTime();
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispRecFile(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispRecordTime(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispRecordedValues(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispRemaining(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

// This one help popup is titled "Info".
int CBF_DispGfRecord(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control, "Info");
    return 0;
}

}  // namespace corvel
