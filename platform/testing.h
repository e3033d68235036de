// Every hook that exists for tests and test tools only, in one place: the
// popup seam, the serial and port-scan hooks, the environment variables the
// test programs read, and operator actions that go through the real widget
// as a mouse or key event would, so the event mapping is exercised.
// The program itself never calls any of these.
#pragma once
#include <string>

#include "platform/seam.h"

// Serial layer (corvel_io). The next device open fails with the system error
// `err` (0 cancels), so that faults a test user cannot cause are reproducible.
void ComFailNextOpen(int err);
// How often an open asked the device for low latency (every successful open
// does) and how often the device refused, since start.
struct ComLowLatencyCount {
    int asked = 0;
    int refused = 0;
};
ComLowLatencyCount ComLowLatencyRequests(void);

// Port scan (corvel_io): where ScanSerialDevices looks, the device folder
// (with serial/by-id below it) and the sysfs root. Tests point these at fake
// trees; empty or null restores /dev and /sys.
void SetPortScanFolders(const char* devFolder, const char* sysFolder);

// Environment variables read by test programs only; the program reads none
// of them. Real configuration (XDG_CONFIG_HOME, XDG_DOCUMENTS_DIR, HOME,
// QT_QPA_PLATFORM) is not listed here.
//   CORVEL_VSENSOR           the virtual sensor program the test support
//                            starts (default: beside the test executable)
//   CORVEL_DRIVE_CLOSE_FILE  the preloaded package driver presses no keys and
//                            closes the main panel once this file exists
//   CORVEL_DRIVE_STEP_MS     the package driver's step time (default 1500)
namespace testenv {
inline constexpr char kVirtualSensor[] = "CORVEL_VSENSOR";
inline constexpr char kDriveCloseFile[] = "CORVEL_DRIVE_CLOSE_FILE";
inline constexpr char kDriveStepMs[] = "CORVEL_DRIVE_STEP_MS";
}  // namespace testenv

namespace sim {

void RightClick(int panel, int control);
void LeftClick(int panel, int control);
void DoubleClick(int panel, int control);
// Clicks a command button, toggle or switch.
void Click(int panel, int control);
// Types a value into a numeric control and presses Enter.
void EnterValue(int panel, int control, double value);
// Steps a numeric control or slider up (+n) or down (-n).
void Step(int panel, int control, int steps);
// Chooses the ring item whose value is `value`.
void ChooseRing(int panel, int control, int value);
// Types a value into a table cell (column, row from 1).
void EnterCell(int panel, int control, int column, int row, int value);
// Presses a function key ("F9" .. "F12") on the panel.
void Key(int panel, const char* key);
// Asks the panel's window to close, as the window's close button does.
void Close(int panel);
// Turns the mouse wheel by `notches` (positive: away from the operator)
// over the middle of the control.
void Wheel(int panel, int control, int notches);
// Gives the control the keyboard focus, as Tab to it would (its window
// becomes the active one).
void Focus(int panel, int control);
// Moves the mouse (no button) to a point of the control, given as
// fractions of its width and height.
void Hover(int panel, int control, double fx, double fy);
// Drags with the left button and Shift held from fx0 to fx1 (fractions of
// the control's width) at height fy, as an operator marks a range.
void ShiftDrag(int panel, int control, double fx0, double fx1, double fy);
// Runs pending events for up to `ms` milliseconds.
void Pump(int ms);
// True when the control can take input (visible and not dimmed).
bool Enabled(int panel, int control);
// What a text display shows on the screen now (UTF-8), which may be
// shorter than its value.
std::string ShownText(int panel, int control);
// The tooltip the control shows on hover now (UTF-8).
std::string ShownToolTip(int panel, int control);
// The Y range an XY graph shows now, zoom and fit included; false for no graph.
bool ShownYRange(int panel, int control, double* lo, double* hi);

}  // namespace sim
