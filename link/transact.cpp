// Sensor transactions: parameter send and read, the live-data loop, the
// single frame of the calibration, the pause rule and the reply wait.
#include <cstdio>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "display/display.h"
#include "link/link.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr double kReplyTimeout = 2.0;
constexpr double kPauseAfterSend = 1.0;
constexpr double kPauseAfterRead = 0.1;
constexpr unsigned short kOrderParaHead = 1;
constexpr unsigned short kOrderParaRow = 2;
constexpr unsigned short kOrderReadRam = 3;
constexpr unsigned short kOrderReadEeprom = 4;
constexpr unsigned short kOrderData = 5;
constexpr unsigned short kOrderStore = 6;
constexpr unsigned short kRows = 31;

const char kTimeoutText[] =
    " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR. \n The version of the sensor is displayed "
    "as "
    "the name of this dialog box.";

int RequestLength(void) {
    return anzframe * 2 + 4;
}

// Flushes both queues and writes the request for `code`; the written count
// is not judged by the callers that use this.
void Request(unsigned short code) {
    FlushInQ(com);
    FlushOutQ(com);
    FillTxBuf(code, 0);
    ComWrt(com, szWriteBuf, RequestLength());
}

// Writes one telegram of a parameter send; false (after the report) when
// the port did not take all of it.
bool SendTelegram(unsigned short code, unsigned short row) {
    FillTxBuf(code, row);
    nBytesW = static_cast<unsigned short>(ComWrt(com, szWriteBuf, RequestLength()));
    if (nBytesW == RequestLength()) return true;
    TimeoutReport();
    return false;
}

}  // namespace

void WaitTransDelay(void) {
    tdiff = 0;
    while (waitdel > tdiff) {
        tdiff = Timer() - transbeg;
        // No events run here; the short sleep only spares the processor.
        if (waitdel > tdiff) Delay(0.0005);
    }
}

bool ReplyWait(int expected, const unsigned short* stopFlag) {
    tstart = Timer();
    int n = 0;
    do {
        n = GetInQLen(com);
        if (stopFlag && *stopFlag != 1) return false;
        tdiff = Timer() - tstart;
    } while (!(tdiff > kReplyTimeout || n >= expected));

    // More bytes than the buffer holds is a wrong reply anyway: read what
    // fits, never past the buffer, and refuse it.
    const int room = static_cast<int>(sizeof szReadBuf);
    const bool overflow = n > room;
    int count = n < 0 ? 0 : (overflow ? room : n);
    nBytesR = static_cast<unsigned short>(ComRd(com, szReadBuf, count));
    return !overflow && nBytesR == expected;
}

namespace {
unsigned timeoutReports = 0;
}  // namespace

unsigned TimeoutReports(void) {
    return timeoutReports;
}

void TimeoutReport(void) {
    ++timeoutReports;
    SetCtrlVal(panel, P_DISPSTATUS, "TIMEOUT");
    if (ComPortGone(com)) ShowPortDetail(com);
    MessagePopup(version, kTimeoutText);
}

void SendPara(void) {
    GetPanelValues();
    CopyVarsToPP();
    waitdel = kPauseAfterSend;
    transbeg = Timer();

    order = kOrderParaHead;
    FlushInQ(com);
    FlushOutQ(com);
    if (!SendTelegram(kOrderParaHead, 0)) return;
    // The row telegrams follow back to back; each keeps bytes 16 to 35 of
    // the order-1 telegram just written.
    order = kOrderParaRow;
    for (unsigned short row = 0; row < kRows; ++row)
        if (!SendTelegram(kOrderParaRow, row)) return;
    if (target == EEPROM) {
        order = kOrderStore;
        SendTelegram(kOrderStore, 0);
    }
}

void GetPara(void) {
    poll = 0;
    // The buttons read only from RAM or EEPROM; with FILE chosen, the read
    // after a successful link check fetches the sensor's working (RAM)
    // parameters, so the panel shows what the connected sensor runs with.
    order = target == EEPROM ? kOrderReadEeprom : kOrderReadRam;
    transbeg = Timer();
    waitdel = kPauseAfterRead;
    Request(order);
    if (ReplyWait(anzpara * 2, nullptr)) {
        GetRxBufPara();
        CopyPPtoVars();
        SetPanelValues();
        ReportUnfitValues();
        InitEval();
    } else {
        TimeoutReport();
    }
}

void GetData(void) {
    order = kOrderData;
    poll = 1;
    LiveStarted();
    while (poll == 1) {
        Request(kOrderData);
        bool accepted = ReplyWait(anzdata * 2, &poll);
        if (poll != 1) break;  // stopped by a callback run beneath this loop
        if (accepted) {
            GetRxBufData();
            CopyDatatoVars();
            SetPanelData();
            ShowGraph();
            LiveFrame();
        } else {
            TimeoutReport();
            poll = 0;
        }
        ProcessSystemEvents();
    }
    LiveEnded();
}

namespace {
bool frameAccepted = false;
}  // namespace

bool LastFrameAccepted(void) {
    return frameAccepted;
}

void GetDataFrame(void) {
    Request(order);
    // Judged before events run: a callback run below may start exchanges
    // of its own and overwrite the byte counts.
    frameAccepted = ReplyWait(anzdata * 2, nullptr);
    if (frameAccepted) {
        GetRxBufData();
        CopyDatatoVars();
        SetCtrlVal(calibpanel, CALIBP_CALIBDISPCHDIR, dataChDir);
        SetCtrlVal(calibpanel, CALIBP_CALIBDISPCHREF, dataChRef);
    } else {
        TimeoutReport();
    }
    ProcessSystemEvents();
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

int CBF_ButtonSend(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        poll = 0;
        WaitTransDelay();
        if (target == DATFILE) {
            const int written = SendParaToFile();
            ReportFileTransfer(written, true);
            if (written > 0) UnsentSent();
        } else if (EnsurePort()) {
            const unsigned short to = target;
            const unsigned before = TimeoutReports();
            SendPara();
            const bool sent = TimeoutReports() == before;
            ReportSensorTransfer(sent, true, to);
            if (sent) UnsentSent();
        }
    }
    return HelpOnly(event, InfoButtonSend);
}

int CBF_ButtonGet(int, int, int event, void*, int, int) {
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
            const unsigned before = TimeoutReports();
            UnsentBeforeReplace();
            GetPara();
            const bool read = TimeoutReports() == before;
            ReportSensorTransfer(read, false, from);
            UnsentAfterRead(read, true, from == EEPROM ? "GET from EEPROM" : "GET from RAM");
        }
    }
    return HelpOnly(event, InfoButtonGet);
}

int CBF_ButtonGo(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        if (EnsurePort()) GetData();
    }
    return HelpOnly(event, InfoButtonGo);
}

int CBF_ButtonStop(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) poll = 0;
    return HelpOnly(event, InfoButtonStop);
}

}  // namespace corvel
