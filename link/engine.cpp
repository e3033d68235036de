// The link's transactions on the process-wide buffers and counters, with no
// panel in sight: every one returns what happened and leaves the reporting
// to its caller.
#include "link/engine.h"

#include "app/corvel.h"
#include "link/link.h"
#include "platform/files.h"
#include "platform/serial.h"

namespace corvel {

namespace {

// A failure is the device's going away when the serial layer found it gone.
LinkResult Failure(LinkResult otherwise) {
    return ComPortGone(com) ? LINK_PORT_GONE : otherwise;
}

// One telegram of a parameter send, its written count judged.
LinkResult SendTelegram(unsigned short code, unsigned short row) {
    FillTxBuf(code, row);
    nBytesW = static_cast<unsigned short>(ComWrt(com, szWriteBuf, RequestLength()));
    return nBytesW == RequestLength() ? LINK_ACCEPTED : Failure(LINK_WRITE_FAILED);
}

LineWork g_whileOnLine = nullptr;

}  // namespace

LineWork SetWhileOnLine(LineWork work) {
    const LineWork before = g_whileOnLine;
    g_whileOnLine = work;
    return before;
}

const char* LinkResultText(LinkResult result) {
    switch (result) {
        case LINK_ACCEPTED:
            return "done";
        case LINK_TIMED_OUT:
            return "no reply (TIMEOUT)";
        case LINK_REFUSED:
            return "reply of the wrong length (TIMEOUT)";
        case LINK_WRITE_FAILED:
            return "the port did not take the telegram (TIMEOUT)";
        case LINK_STOPPED:
            return "stopped";
        case LINK_PORT_GONE:
            return "device gone";
    }
    return "unknown result";
}

int RequestLength(void) {
    return anzframe * 2 + 4;
}

void WaitTransDelay(void) {
    tdiff = 0;
    // No events run here. One absolute sleep to the deadline wakes on time
    // and costs nothing while it lasts.
    while (waitdel > tdiff) {
        DelayUntil(transbeg + waitdel);
        tdiff = Timer() - transbeg;
    }
}

LinkResult AwaitReply(int expected, const unsigned short* stopFlag) {
    tstart = Timer();
    // The stop flag changes only inside event processing, and none runs
    // during the wait, so looking at it before and after the blocking wait
    // sees every change a look at each byte would.
    if (stopFlag && *stopFlag != 1) return LINK_STOPPED;
    // The request's time on the line is idle time: the limit still counts
    // from tstart.
    if (g_whileOnLine) {
        g_whileOnLine();
        if (stopFlag && *stopFlag != 1) return LINK_STOPPED;
    }
    const double limit = kReplyTimeout - (Timer() - tstart);
    // The count read is the count waiting after the wait: a 33rd byte that
    // came along is read too, and refuses the reply.
    int n = WaitInQ(com, expected, limit > 0 ? limit : 0);
    // A port that is not open (or just went away) still takes the whole
    // limit, as a silent sensor does, so a retrying caller is paced alike.
    if (n < 0) DelayUntil(tstart + kReplyTimeout);
    if (stopFlag && *stopFlag != 1) return LINK_STOPPED;
    tdiff = Timer() - tstart;

    // More bytes than the buffer holds is a wrong reply anyway: read what
    // fits, never past the buffer, and refuse it.
    const int room = static_cast<int>(sizeof szReadBuf);
    const bool overflow = n > room;
    int count = n < 0 ? 0 : (overflow ? room : n);
    nBytesR = static_cast<unsigned short>(ComRd(com, szReadBuf, count));
    if (!overflow && nBytesR == expected) return LINK_ACCEPTED;
    return Failure(n <= 0 ? LINK_TIMED_OUT : LINK_REFUSED);
}

void LinkWrite(unsigned short code) {
    FlushInQ(com);
    FlushOutQ(com);
    FillTxBuf(code, 0);
    ComWrt(com, szWriteBuf, RequestLength());
}

LinkResult LinkCommand(unsigned short code) {
    FlushInQ(com);
    FlushOutQ(com);
    return SendTelegram(code, 0);
}

LinkResult LinkExchange(unsigned short code, int expected, const unsigned short* stopFlag) {
    LinkWrite(code);
    return AwaitReply(expected, stopFlag);
}

LinkResult LinkSendPacket(unsigned short to) {
    waitdel = kPauseAfterSend;
    transbeg = Timer();

    order = kOrderParaHead;
    FlushInQ(com);
    FlushOutQ(com);
    LinkResult r = SendTelegram(kOrderParaHead, 0);
    if (r != LINK_ACCEPTED) return r;
    // The row telegrams follow back to back; each keeps bytes 16 to 35 of
    // the order-1 telegram just written.
    order = kOrderParaRow;
    for (unsigned short row = 0; row < kTeachRows; ++row) {
        r = SendTelegram(kOrderParaRow, row);
        if (r != LINK_ACCEPTED) return r;
    }
    if (to == EEPROM) {
        order = kOrderStore;
        r = SendTelegram(kOrderStore, 0);
    }
    return r;
}

LinkResult LinkReadPacket(unsigned short from) {
    order = from == EEPROM ? kOrderReadEeprom : kOrderReadRam;
    transbeg = Timer();
    waitdel = kPauseAfterRead;
    const LinkResult r = LinkExchange(order, anzpara * 2, nullptr);
    if (r == LINK_ACCEPTED) GetRxBufPara();
    return r;
}

LinkResult LinkReadVersion(void) {
    order = kOrderVersion;
    FillTxBuf(kOrderVersion, 0);
    ComWrt(com, szWriteBuf, RequestLength());
    const LinkResult r = AwaitReply(kVersionReply, nullptr);
    if (r == LINK_ACCEPTED) {
        // The low byte of each word is one character of the text.
        for (int i = 0; i < kVersionChars; ++i) version[i] = static_cast<char>(szReadBuf[2 * i + 1]);
        version[kVersionChars] = 0;
    }
    return r;
}

LinkResult LinkReadFrame(unsigned short code, const unsigned short* stopFlag) {
    order = code;
    const LinkResult r = LinkExchange(code, anzdata * 2, stopFlag);
    if (r == LINK_ACCEPTED) {
        GetRxBufData();
        CopyDatatoVars();
    }
    return r;
}

}  // namespace corvel
