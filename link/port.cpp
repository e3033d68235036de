// Serial port set-up, the link check, the port change, the port chooser,
// and reopening a port whose device went away.
#include <stdio.h>
#include <string.h>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "display/display.h"
#include "link/link.h"
#include "link/portinfo.h"
#include "params/unsent.h"
#include "platform/platform.h"
#include "platform/ports.h"
#include "uir_ids.h"

namespace corvel {

const char kNoLinkText[] = " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR.";

namespace {

// Opens the port and configures it; false (with the status texts shown)
// when it does not open.
bool OpenPort(unsigned short port) {
    ret = static_cast<short>(OpenComConfig(port, "", 19200, 0, 8, 1, 1024, 1024));
    ShowPortDetail(port);
    if (ret < 0) {
        strncpy(szStatus, OpenErrorText(ret), sizeof szStatus - 1);
        szStatus[sizeof szStatus - 1] = 0;
        SetCtrlVal(panel, P_DISPSTATUS, szStatus);
        char what[96];
        snprintf(what, sizeof what, "COM %u could not be opened: %s", port, szStatus);
        ShowTransfer(false, what);
        return false;
    }
    SetComTime(port, 2.0);
    FlushInQ(port);
    FlushOutQ(port);
    SetCTSMode(port, 0);
    return true;
}

// The version request of the link check; true when the sensor answered.
bool VersionCheck(void) {
    // The port open has just flushed both queues.
    if (LinkReadVersion() == LINK_ACCEPTED) {
        SetCtrlVal(panel, P_DISPSTATUS, version);
        return true;
    }
    SetCtrlVal(panel, P_DISPSTATUS, "TIMEOUT");
    char what[64];
    snprintf(what, sizeof what, "Link check on COM %u: no answer from the sensor", com);
    ShowTransfer(false, what);
    MessagePopup("INFO!", kNoLinkText);
    if (ComPortGone(com)) ShowPortDetail(com);
    return false;
}

void ChangePort(unsigned short port) {
    // Any live transfer or recording under this callback is to end.
    poll = 0;
    pollrecord = 0;
    CloseCom(com);
    com = port;
    SetCtrlVal(panel, P_EDITCONNECT, com);
    SetCtrlVal(panel, P_DISPSTATUS, "Init COM-Port ...");
    // What the displays show came through the old port.
    MarkDisplaysStale();
    InitRS232(com);
}

}  // namespace

void ShowPortDetail(unsigned short port) {
    char text[768] = "";  // room for the longest device path and reason
    PortDetailText(port, text, sizeof text);
    SetCtrlVal(panel, P_DISPSTATUSDETAIL, text);
}

void InitRS232(unsigned short port) {
    poll = 0;
    if (OpenPort(port)) CheckComLine();
}

void CheckComLine(void) {
    if (!VersionCheck()) return;
    const unsigned short from = target == EEPROM ? EEPROM : RAM;
    UnsentBeforeReplace();
    const bool read = GetPara() == LINK_ACCEPTED;
    char what[96];
    snprintf(what, sizeof what,
             read ? "COM %u: sensor answered, parameters read from %s"
                  : "COM %u: sensor answered, reading parameters from %s failed",
             com, TargetName(from));
    ShowTransfer(read, what);
    snprintf(what, sizeof what, "Link check on COM %u", com);
    UnsentAfterRead(read, true, what);
}

bool EnsurePort(void) {
    if (!ComPortGone(com)) return true;
    // The device went away under an exchange: open the same COM number
    // again, as re-plugging the adapter is all the operator should need to
    // do. The link check proves the sensor; the panel keeps what the
    // operator has set, so no parameters are read here.
    SetCtrlVal(panel, P_DISPSTATUS, "Init COM-Port ...");
    return OpenPort(com) && VersionCheck();
}

int CBF_EditConnect(int p, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        unsigned short chosen = com;
        GetCtrlVal(p, control, &chosen);
        ChangePort(chosen);
    }
    return HelpOnly(p, control, event);
}

int CBF_ButtonPorts(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        int chosen = PortChooserPopup(com, InfoPortChooser);
        if (chosen > 0) ChangePort(static_cast<unsigned short>(chosen));
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispStatusDetail(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
