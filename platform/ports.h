// The serial devices of this machine and the comN links that give them COM
// numbers, for the port chooser. Plain POSIX below; the chooser dialog
// itself is PortChooserPopup.
#pragma once

#include <string>
#include <vector>

struct SerialDevice {
    std::string node;       // the kernel's device node, e.g. /dev/ttyUSB0
    std::string byId;       // its stable /dev/serial/by-id name, or empty
    std::string label;      // maker and model (USB), "UART", or what it is
    long long plugged = 0;  // when it appeared (seconds), 0 when unknown
    bool pseudo = false;    // a pseudo-terminal (the virtual sensor's)
    std::string driver;     // the kernel driver of a USB adapter, e.g. ftdi_sio
    int latencyMs = -1;     // its latency timer, -1 when the driver has none
    // What a comN link should point to: the by-id name when there is one,
    // so that the link survives re-plugging.
    const std::string& LinkTarget() const { return byId.empty() ? node : byId; }
};

struct ComLink {
    int com = 0;
    std::string target;    // where the link points, as written
    bool present = false;  // the target exists
};

// The scan looks in /dev (with serial/by-id below it) and /sys; tests
// move it with SetPortScanFolders (platform/testing.h).

// What sysfs tells of the USB adapter behind a device path (links such as
// by-id names followed to the tty): its driver ("ftdi_sio", "ch341",
// "pl2303", "cp210x", "cdc_acm", ...) and, where the driver has one, its
// latency timer in ms. Empty and -1 for anything else.
struct UsbSerialInfo {
    std::string driver;
    int latencyMs = -1;
};
UsbSerialInfo ReadUsbSerial(const std::string& device);

// The serial devices, newest-plugged first (then by name): by-id devices,
// ttyUSB*, ttyACM*, ttyS* with a UART behind them, and the pseudo-terminals
// that comN links point to.
std::vector<SerialDevice> ScanSerialDevices();
// The comN links of the configuration folder, by COM number.
std::vector<ComLink> ScanComLinks();
// Writes (or replaces) the link comN -> target, creating the folder.
// Returns 0, or -1 with the reason in `why`.
int LinkComPort(int com, const std::string& target, std::string* why);
// Removes the link comN (a missing link is no error). 0, or -1 with `why`.
int UnlinkComPort(int com, std::string* why);

// The modal chooser: lists the devices and links, lets the operator link
// and unlink, and returns the COM number chosen with "Use" (0 when closed
// without). `current` is preselected; `help` is shown on a right click.
int PortChooserPopup(int current, const char* help);
