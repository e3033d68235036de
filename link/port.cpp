// Serial port set-up, the link check and the port change.
#include <stdio.h>
#include <string.h>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "display/display.h"
#include "link/link.h"
#include "platform/platform.h"
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

}  // namespace

void InitRS232(unsigned short port) {
    poll = 0;
    ret = static_cast<short>(OpenComConfig(port, "", 19200, 0, 8, 1, 1024, 1024));
    if (ret < 0) {
        strncpy(szStatus, OpenErrorText(ret), sizeof szStatus - 1);
        szStatus[sizeof szStatus - 1] = 0;
        SetCtrlVal(panel, P_DISPSTATUS, szStatus);
        char what[96];
        snprintf(what, sizeof what, "COM %u could not be opened: %s", port, szStatus);
        ShowTransfer(false, what);
        return;
    }
    SetComTime(port, 2.0);
    FlushInQ(port);
    FlushOutQ(port);
    SetCTSMode(port, 0);
    CheckComLine();
}

void CheckComLine(void) {
    // The port open has just flushed both queues.
    order = kOrderVersion;
    FillTxBuf(kOrderVersion, 0);
    ComWrt(com, szWriteBuf, anzframe * 2 + 4);
    if (ReplyWait(kVersionReply, nullptr)) {
        // The low byte of each word is one character of the text.
        for (int i = 0; i < kVersionChars; ++i) version[i] = static_cast<char>(szReadBuf[2 * i + 1]);
        version[kVersionChars] = 0;
        SetCtrlVal(panel, P_DISPSTATUS, version);
        const unsigned short from = target == EEPROM ? EEPROM : RAM;
        const unsigned before = TimeoutReports();
        GetPara();
        const bool read = TimeoutReports() == before;
        char what[96];
        snprintf(what, sizeof what,
                 read ? "COM %u: sensor answered, parameters read from %s"
                      : "COM %u: sensor answered, reading parameters from %s failed",
                 com, TargetName(from));
        ShowTransfer(read, what);
    } else {
        SetCtrlVal(panel, P_DISPSTATUS, "TIMEOUT");
        char what[64];
        snprintf(what, sizeof what, "Link check on COM %u: no answer from the sensor", com);
        ShowTransfer(false, what);
        MessagePopup("INFO!", kNoLinkText);
    }
}

int CBF_EditConnect(int p, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        // Any live transfer or recording under this callback is to end.
        poll = 0;
        pollrecord = 0;
        CloseCom(com);
        GetCtrlVal(p, control, &com);
        SetCtrlVal(panel, P_DISPSTATUS, "Init COM-Port ...");
        // What the displays show came through the old port.
        MarkDisplaysStale();
        InitRS232(com);
    }
    return HelpOnly(event, InfoEditConnect);
}

}  // namespace corvel
