// Sensor transactions on the panel: parameter send and read, the live-data
// loop and the single frame of the calibration, with their reports. The
// exchanges themselves are the link engine's (engine.cpp).
#include <cstdio>

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "display/display.h"
#include "link/link.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

const char kTimeoutText[] =
    " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR. \n The version of the sensor is displayed "
    "as "
    "the name of this dialog box.";

void TimeoutReport(void) {
    SetCtrlVal(panel, P_DISPSTATUS, "TIMEOUT");
    if (ComPortGone(com)) ShowPortDetail(com);
    MessagePopup(version, kTimeoutText);
}

static void PaintFrame(void) {
    PaintHeld();
}

LinkResult SendPara(void) {
    GetPanelValues();
    CopyVarsToPP();
    const LinkResult r = LinkSendPacket(target);
    if (r != LINK_ACCEPTED) TimeoutReport();
    return r;
}

LinkResult GetPara(void) {
    poll = 0;
    // The buttons read only from RAM or EEPROM; with FILE chosen, the read
    // after a successful link check fetches the sensor's working (RAM)
    // parameters, so the panel shows what the connected sensor runs with.
    const LinkResult r = LinkReadPacket(target == EEPROM ? EEPROM : RAM);
    if (r == LINK_ACCEPTED) {
        CopyPPtoVars();
        SetPanelValues();
        ReportUnfitValues();
        InitEval();
    } else {
        TimeoutReport();
    }
    return r;
}

void GetData(void) {
    order = kOrderData;
    poll = 1;
    LiveStarted();
    // Each frame is painted while the next request is on the line, so the
    // painting does not delay the next frame; the events in between run the
    // operator's callbacks only.
    const LineWork before = SetWhileOnLine(PaintFrame);
    while (poll == 1) {
        const LinkResult r = LinkReadFrame(kOrderData, &poll);
        if (poll != 1) break;  // stopped by a callback run beneath this loop
        if (r == LINK_ACCEPTED) {
            SetPanelData();
            ShowGraph();
            LiveFrame();
            HoldPaint();
        } else {
            LiveFrameLost();  // the lamp tells it before the popup does
            TimeoutReport();
            poll = 0;
        }
        ProcessSystemEvents();
    }
    SetWhileOnLine(before);
    PaintHeld();
    LiveEnded();
}

LinkResult GetDataFrame(void) {
    // Judged before events run: a callback run below may start exchanges
    // of its own and overwrite the byte counts.
    const LinkResult r = LinkReadFrame(order, nullptr);
    if (r == LINK_ACCEPTED) {
        SetCtrlVal(calibpanel, CALIBP_CALIBDISPCHDIR, dataChDir);
        SetCtrlVal(calibpanel, CALIBP_CALIBDISPCHREF, dataChRef);
    } else {
        TimeoutReport();
    }
    ProcessSystemEvents();
    return r;
}

// The transfer line after a send or read: the file's fate, or whether the
// exchange with the sensor ended in a time-out report.
static void ReportFileTransfer(int result, bool sending) {
    if (result == 0)
        ShowTransfer(false, sending ? "No parameter file chosen: nothing written"
                                    : "No parameter file chosen: nothing read");
    else if (sending)
        ShowFileTransfer(result > 0, "Parameter file ", file_name,
                         result > 0 ? " written" : " could not be written");
    else
        ShowFileTransfer(result > 0, "Parameter file ", file_name,
                         result > 0 ? " read" : " not read: not a parameter file");
}

void ReportSensorTransfer(bool ok, bool sending, unsigned short where) {
    char what[96];
    if (sending)
        std::snprintf(what, sizeof what,
                      ok ? "Parameters sent to %s"
                         : "Sending parameters to %s failed: TIMEOUT, not all telegrams written",
                      TargetName(where));
    else
        std::snprintf(
            what, sizeof what,
            ok ? "Parameters read from %s" : "Reading parameters from %s failed: no reply, panel unchanged",
            TargetName(where));
    ShowTransfer(ok, what);
}

int CBF_ButtonSend(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        poll = 0;
        WaitTransDelay();
        if (target == DATFILE) {
            const int written = SendParaToFile();
            ReportFileTransfer(written, true);
            if (written > 0) UnsentSent();
        } else if (EnsurePort()) {
            const unsigned short to = target;
            const bool sent = SendPara() == LINK_ACCEPTED;
            ReportSensorTransfer(sent, true, to);
            if (sent) UnsentSent();
        }
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonGet(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        poll = 0;
        WaitTransDelay();
        if (target == DATFILE) {
            UnsentBeforeReplace();
            const int read = ReadParaFromFile();
            ReportFileTransfer(read, false);
            UnsentAfterRead(read > 0, false, "FILE load");
        } else if (EnsurePort()) {
            const unsigned short from = target;
            UnsentBeforeReplace();
            const bool read = GetPara() == LINK_ACCEPTED;
            ReportSensorTransfer(read, false, from);
            UnsentAfterRead(read, true, from == EEPROM ? "GET from EEPROM" : "GET from RAM");
        }
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonGo(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        if (EnsurePort()) GetData();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonStop(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) poll = 0;
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
