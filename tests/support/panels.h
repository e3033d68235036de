// Helpers shared by the tests: loading the program's panels, and the
// program's state as a fresh start leaves it.
#pragma once

#include <string>

namespace testsupport {

// Loads the four panels once per test program (as start-up does) and
// stores their handles in the globals; later calls return at once.
// Returns false when a panel failed to load.
bool LoadProgramPanels();
// The panels loaded, then the globals and the main panel set as start-up
// sets them (the program's own InitVars), and the popup record emptied.
// Fixtures change only what their tests need after this.
// Returns false when a panel failed to load.
bool FreshStart();
// The text of a text control (up to 4095 bytes, more than any control holds).
std::string CtrlText(int panel, int control);

}  // namespace testsupport
