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
#include "params/unsent.h"
#include "platform/platform.h"
#include "platform/ports.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr unsigned short kOrderVersion = 7;
constexpr int kVersionReply = 96;
constexpr int kVersionChars = 48;

const char kNoLinkText[] = " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR.";

const char* OpenErrorText(int code) {
    switch (code) {
        case -1:
            return "Unknown system error";
        case -2:
            return "Invalid port number";
        case -3:
            return "Port is not open";
        case -4:
            return "Unknown I/0 error";
        case -6:
            return "No serial port found";
        case -7:
            return "Cannot open port";
        case -99:
            return "Timeout";
        default:
            return "RS-232 error!";
    }
}

// The system's reason as part of a sentence: "permission denied".
void Reason(const ComPortInfo& info, char* out, size_t size) {
    snprintf(out, size, "%s", info.reason);
    if (out[0] >= 'A' && out[0] <= 'Z' && !(out[1] >= 'A' && out[1] <= 'Z'))
        out[0] = static_cast<char>(out[0] - 'A' + 'a');
}

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
    order = kOrderVersion;
    FillTxBuf(kOrderVersion, 0);
    ComWrt(com, szWriteBuf, anzframe * 2 + 4);
    if (ReplyWait(kVersionReply, nullptr)) {
        // The low byte of each word is one character of the text.
        for (int i = 0; i < kVersionChars; ++i) version[i] = static_cast<char>(szReadBuf[2 * i + 1]);
        version[kVersionChars] = 0;
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
    ComPortInfo info;
    char text[768] = "";  // room for the longest device path and reason
    char why[128];
    if (GetComPortInfo(port, &info) == 0) {
        Reason(info, why, sizeof why);
        const char* dev = info.device;
        switch (info.fault) {
            case COM_FAULT_NONE:
                if (info.open) snprintf(text, sizeof text, "COM%u = %.500s", port, dev);
                break;
            case COM_FAULT_MISSING:
                snprintf(text, sizeof text,
                         "%.400s: %s. Plug the device in, or link COM%u to one with PORTS…", dev, why, port);
                break;
            case COM_FAULT_PERMISSION:
                snprintf(text, sizeof text,
                         "%.400s: %s. Join the group %s (sudo adduser $USER %s), then log out and in again.",
                         dev, why, info.group[0] ? info.group : "dialout",
                         info.group[0] ? info.group : "dialout");
                break;
            case COM_FAULT_BUSY:
                snprintf(text, sizeof text,
                         "%.400s: in use by another program. Close it, or choose another port.", dev);
                break;
            case COM_FAULT_NOT_SERIAL:
                snprintf(text, sizeof text, "%.400s: not a serial device.", dev);
                break;
            case COM_FAULT_NO_FOLDER:
                snprintf(
                    text, sizeof text,
                    "The configuration folder (XDG_CONFIG_HOME) is too long a path to hold the COM links.");
                break;
            case COM_FAULT_GONE:
                snprintf(text, sizeof text,
                         "%.400s: device gone (%s); port closed. GO, SEND, GET, calibration or recording "
                         "reopens COM%u.",
                         dev, why, port);
                break;
            default:
                snprintf(text, sizeof text, "%.400s: %s.", dev, why);
                break;
        }
    }
    SetCtrlVal(panel, P_DISPSTATUSDETAIL, text);
}

void InitRS232(unsigned short port) {
    poll = 0;
    if (OpenPort(port)) CheckComLine();
}

void CheckComLine(void) {
    if (!VersionCheck()) return;
    const unsigned short from = target == EEPROM ? EEPROM : RAM;
    const unsigned before = TimeoutReports();
    UnsentBeforeReplace();
    GetPara();
    const bool read = TimeoutReports() == before;
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
    return HelpOnly(event, InfoEditConnect);
}

int CBF_ButtonPorts(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        int chosen = PortChooserPopup(com, InfoPortChooser);
        if (chosen > 0) ChangePort(static_cast<unsigned short>(chosen));
    }
    return HelpOnly(event, InfoButtonPorts);
}

int CBF_DispStatusDetail(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoStatusDetail);
}

}  // namespace corvel
