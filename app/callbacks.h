// The table through which the panel definitions' callback names resolve.
#pragma once

struct CallbackEntry;
struct ControlHelp;

namespace corvel {

// Every callback of the program, by name.
const CallbackEntry* ProgramCallbacks(int* count);
// The help text of each control that has one, by panel and control name.
const ControlHelp* ProgramHelp(int* count);
// Gives every control its help text as tooltip; call once the panels are loaded.
void ShowHelpAsTooltips(void);
// Hands both tables to the platform layer; call before loading panels.
void RegisterProgramCallbacks(void);

}  // namespace corvel
