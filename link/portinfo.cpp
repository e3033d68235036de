// The words for a port's state, shared by the status line of the panel
// program and the messages of corvel-ctl.
#include "link/portinfo.h"

#include <stdio.h>

#include "platform/serial.h"

namespace corvel {

namespace {

// The system's reason as part of a sentence: "permission denied".
void Reason(const ComPortInfo& info, char* out, size_t size) {
    snprintf(out, size, "%s", info.reason);
    if (out[0] >= 'A' && out[0] <= 'Z' && !(out[1] >= 'A' && out[1] <= 'Z'))
        out[0] = static_cast<char>(out[0] - 'A' + 'a');
}

// A frame moves 68 bytes of 10 bits at 19200 baud (35.4 ms) plus the
// sensor's and the program's turn-around. An adapter whose timer holds the
// reply back adds on average half a timer period to every frame.
constexpr double kFrameMs = 68 * 10 * 1000.0 / 19200 + 1.6;

int FramesPerSecond(int latencyMs) {
    return static_cast<int>(1000.0 / (kFrameMs + latencyMs / 2.0) + 0.5);
}

}  // namespace

const char* OpenErrorText(int code) {
    switch (code) {
        case COM_UNKNOWN_SYSTEM_ERROR:
            return "Unknown system error";
        case COM_INVALID_PORT:
            return "Invalid port number";
        case COM_PORT_NOT_OPEN:
            return "Port is not open";
        case COM_IO_ERROR:
            return "Unknown I/0 error";
        case COM_NO_PORT_FOUND:
            return "No serial port found";
        case COM_CANNOT_OPEN:
            return "Cannot open port";
        case COM_TIMEOUT:
            return "Timeout";
        default:
            return "RS-232 error!";
    }
}

void PortDetailText(unsigned short port, char* text, size_t size) {
    ComPortInfo info;
    text[0] = 0;
    char why[128];
    if (GetComPortInfo(port, &info) == 0) {
        Reason(info, why, sizeof why);
        const char* dev = info.device;
        switch (info.fault) {
            case COM_FAULT_NONE:
                if (!info.open) break;
                if (!info.driver[0]) {
                    snprintf(text, size, "COM%u = %.500s", port, dev);
                } else if (info.latencyMs <= 1) {
                    snprintf(text, size, "COM%u = %.500s (%s)", port, dev, info.driver);
                } else {
                    snprintf(text, size,
                             "COM%u = %.500s (%s): latency timer %d ms, live data ~%d instead of ~%d "
                             "frames/s; see README: USB adapters",
                             port, dev, info.driver, info.latencyMs, FramesPerSecond(info.latencyMs),
                             FramesPerSecond(1));
                }
                break;
            case COM_FAULT_MISSING:
                snprintf(text, size, "%.400s: %s. Plug the device in, or link COM%u to one with PORTS…", dev,
                         why, port);
                break;
            case COM_FAULT_PERMISSION:
                snprintf(text, size,
                         "%.400s: %s. Join the group %s (sudo adduser $USER %s), then log out and in again.",
                         dev, why, info.group[0] ? info.group : "dialout",
                         info.group[0] ? info.group : "dialout");
                break;
            case COM_FAULT_BUSY:
                snprintf(text, size, "%.400s: in use by another program. Close it, or choose another port.",
                         dev);
                break;
            case COM_FAULT_NOT_SERIAL:
                snprintf(text, size, "%.400s: not a serial device.", dev);
                break;
            case COM_FAULT_NO_FOLDER:
                snprintf(
                    text, size,
                    "The configuration folder (XDG_CONFIG_HOME) is too long a path to hold the COM links.");
                break;
            case COM_FAULT_GONE:
                snprintf(text, size,
                         "%.400s: device gone (%s); port closed. GO, SEND, GET, calibration or recording "
                         "reopens COM%u.",
                         dev, why, port);
                break;
            default:
                snprintf(text, size, "%.400s: %s.", dev, why);
                break;
        }
    }
}

}  // namespace corvel
