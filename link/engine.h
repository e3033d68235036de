// The link's transactions without any panel: the flush, the request, the
// pause rule and the reply wait, each telling what happened. The panel
// program and corvel-ctl report the results each in their own way, so the
// bytes on the wire and their timing are the same for both.
#pragma once

#include "link/packet.h"

namespace corvel {

// The order codes of the telegrams.
enum Order : unsigned short {
    kOrderParaHead = 1,    // parameter words 0-15; first telegram of a send
    kOrderParaRow = 2,     // one teach-table row
    kOrderReadRam = 3,     // report the packet held in RAM (280 bytes)
    kOrderReadEeprom = 4,  // report the packet held in EEPROM (280 bytes)
    kOrderData = 5,        // one live data frame (32 bytes)
    kOrderStore = 6,       // store the parameters just sent in EEPROM
    kOrderVersion = 7,     // report the version text (96 bytes)
    kOrderCalibStore = 8,  // store the calibration values in EEPROM
    kOrderCalibRead = 9,   // report the stored calibration values (32 bytes)
    kOrderRecord = 19,     // one data frame for the recorder (32 bytes)
};

// What one transaction came to.
enum LinkResult {
    LINK_ACCEPTED = 0,  // every telegram written and the reply of the exact length read
    LINK_TIMED_OUT,     // nothing arrived within the reply time-out
    LINK_REFUSED,       // a reply of the wrong length: nBytesR holds the count read
    LINK_WRITE_FAILED,  // the port did not take a whole telegram: nBytesW holds the count
    LINK_STOPPED,       // the stop flag ended the wait; nothing was read
    LINK_PORT_GONE,     // the device went away under the exchange; the port is closed
};

constexpr double kReplyTimeout = 2.0;
constexpr double kPauseAfterSend = 1.0;
constexpr double kPauseAfterRead = 0.1;
constexpr int kVersionReply = 96;
constexpr int kVersionChars = 48;

// A short text for a result, e.g. "no reply (TIMEOUT)".
const char* LinkResultText(LinkResult result);
// Bytes of every request telegram.
int RequestLength(void);

// The pause rule: busy until waitdel seconds have passed since transbeg.
void WaitTransDelay(void);
// Work done while a request is on the line: run once per reply wait, right
// after the request was written, before the wait; it must run no events.
// Returns the work it replaces (none at first).
using LineWork = void (*)(void);
LineWork SetWhileOnLine(LineWork work);

// The reply wait: samples the input queue until `expected` bytes wait or the
// time-out has passed, then reads the count last seen into szReadBuf (never
// more than the buffer holds). With stopFlag set it ends at once (nothing
// read) when *stopFlag is no longer 1 after a sample.
LinkResult AwaitReply(int expected, const unsigned short* stopFlag);

// Flushes both queues and writes the request for `code`; the written count
// is not judged (the sensor's reply says whether it arrived).
void LinkWrite(unsigned short code);
// Flushes both queues and writes the request for `code` into nBytesW,
// judged: LINK_WRITE_FAILED (or LINK_PORT_GONE) when the port took less.
LinkResult LinkCommand(unsigned short code);
// LinkWrite, then the reply wait for `expected` bytes.
LinkResult LinkExchange(unsigned short code, int expected, const unsigned short* stopFlag);

// The parameter send from pp: order 1, the kTeachRows rows, order 6 when `to` is
// EEPROM; sets the pause rule to 1.0 s. Ends at the first telegram the port
// does not take.
LinkResult LinkSendPacket(unsigned short to);
// The parameter read of order 3 (RAM) or 4 (EEPROM) into pp (words 0-139
// only when accepted); sets the pause rule to 0.1 s.
LinkResult LinkReadPacket(unsigned short from);
// The version request of the link check (no flush: the port open has just
// done so); on acceptance the text is in `version`.
LinkResult LinkReadVersion(void);
// One data frame of order `code` (5 or 19), decoded into databuf and the
// data variables when accepted.
LinkResult LinkReadFrame(unsigned short code, const unsigned short* stopFlag);

}  // namespace corvel
