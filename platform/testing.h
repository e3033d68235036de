// Operator actions for tests and tools: each one goes through the real
// widget as a mouse or key event would, so the event mapping is exercised.
#pragma once
#include <string>

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
