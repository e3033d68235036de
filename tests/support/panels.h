// Helpers shared by the tests: loading the program's panels.
#pragma once

namespace testsupport {

// Registers the program's callback table with the platform layer.
void RegisterProgramCallbacks();
// Loads the four panels once per test program (as start-up does) and
// stores their handles in the globals; later calls return at once.
// Returns false when a panel failed to load.
bool LoadProgramPanels();

}  // namespace testsupport
