// The table through which the panel definitions' callback names resolve.
#pragma once

struct CallbackEntry;

namespace corvel {

// Every callback of the program, by name.
const CallbackEntry* ProgramCallbacks(int* count);
// Hands the table to the platform layer; call before loading panels.
void RegisterProgramCallbacks(void);

}  // namespace corvel
