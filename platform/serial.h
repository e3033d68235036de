// Serial port services, addressed by COM port number (1 to 255).
// COM n is the device the link `comN` in <config>/corvel-scope/dosdevices/
// points to (config: $XDG_CONFIG_HOME when absolute, else ~/.config);
// without such a link it is /dev/ttyS(n-1).
//
// An open port is this program's alone: the device is set exclusive and
// locked (flock), so a second opener, another copy of the program
// included, gets COM_CANNOT_OPEN. Closing the port releases both.
#pragma once

enum {
    COM_UNKNOWN_SYSTEM_ERROR = -1,
    COM_INVALID_PORT = -2,
    COM_PORT_NOT_OPEN = -3,
    COM_IO_ERROR = -4,
    COM_BAD_PARAMETER = -5,
    COM_NO_PORT_FOUND = -6,
    COM_CANNOT_OPEN = -7,
    COM_TIMEOUT = -99,
};

// Opens and configures the port (an open port is closed first).
// deviceName empty: derived from the port number. 0 on success.
int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits, int stopBits,
                  int inputQueueSize, int outputQueueSize);
int SetComTime(int port, double timeoutSeconds);
int SetCTSMode(int port, int mode);
int FlushInQ(int port);
int FlushOutQ(int port);
// Bytes written, or a negative code.
int ComWrt(int port, const void* buffer, int count);
// Bytes waiting. May wait up to about a millisecond for bytes to arrive,
// so that polling loops do not burn a core.
int GetInQLen(int port);
// Sleeps until at least `minBytes` wait or `timeoutSeconds` have passed,
// waking when a reply begins, when the rest has had its time on the line
// and at its last byte, not at every byte; returns the bytes waiting at its end,
// which may be fewer or more than `minBytes`, or a negative code (a line
// found hung up closes the port, as in the other calls).
int WaitInQ(int port, int minBytes, double timeoutSeconds);
// Reads up to `count` bytes within the port's time-out; returns how many it
// read (never more than `count`), or a negative code.
int ComRd(int port, void* buffer, int count);
// Closing a port that is not open is harmless.
int CloseCom(int port);

// The device path COM `port` maps to (for messages and tools).
// Returns 0, COM_INVALID_PORT, or COM_NO_PORT_FOUND when the configuration
// folder's path is too long to hold a link.
int ComPortDevice(int port, char* out, int size);
// The folder that holds the comN links; COM_NO_PORT_FOUND when there is no
// usable folder, COM_BAD_PARAMETER when `out` is too small.
int ComLinkFolder(char* out, int size);

// Why a port is not usable: set by a failed open, and by an exchange that
// finds the device gone (hang-up, EIO, ENODEV, node removed), which also
// closes the port.
enum ComFault {
    COM_FAULT_NONE = 0,
    COM_FAULT_MISSING,     // no such device, or no UART behind the node
    COM_FAULT_PERMISSION,  // the user may not open the device
    COM_FAULT_BUSY,        // another program holds the port
    COM_FAULT_NOT_SERIAL,  // the path is no terminal device
    COM_FAULT_NO_FOLDER,   // the configuration folder cannot hold links
    COM_FAULT_GONE,        // the open device went away
    COM_FAULT_OTHER,
};

struct ComPortInfo {
    int open = 0;  // 1 while the port is open
    int fault = COM_FAULT_NONE;
    char device[4096] = {0};  // the device COM n stood for at the last open
    char reason[128] = {0};   // the system's reason, e.g. "Permission denied"
    char group[64] = {0};     // the group that owns the device, when known
    // USB adapters: the kernel driver (e.g. "ftdi_sio") and its latency
    // timer in ms as read after the open; "" and -1 when there is none.
    char driver[32] = {0};
    int latencyMs = -1;
};

// What is known about `port` since its last open. Returns 0, or
// COM_INVALID_PORT.
int GetComPortInfo(int port, ComPortInfo* info);
// True when an exchange found the device of `port` gone and closed it; stays
// so (also across failed re-opens) until the port opens again or CloseCom.
bool ComPortGone(int port);
// The test-only hooks of this layer are declared in platform/testing.h.
