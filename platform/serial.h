// Serial port services, addressed by COM port number (1 to 255).
// COM n is the device the link `comN` in <config>/corvel-scope/dosdevices/
// points to (config: $XDG_CONFIG_HOME, else ~/.config); without such a
// link it is /dev/ttyS(n-1).
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
// Reads up to `count` bytes within the port's time-out; returns how many it
// read (never more than `count`), or a negative code.
int ComRd(int port, void* buffer, int count);
// Closing a port that is not open is harmless.
int CloseCom(int port);

// The device path COM `port` maps to (for messages and tools).
// Returns 0, or COM_INVALID_PORT.
int ComPortDevice(int port, char* out, int size);
// The folder that holds the comN links.
int ComLinkFolder(char* out, int size);
