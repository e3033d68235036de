// Where the program's own files are found and where the operator's files go.
#pragma once

// Looks for an installation file (the panel file, a logo) by plain name:
// beside the executable (the build folder) or in ../share/corvel-scope
// relative to it (an installed, possibly moved tree). The full path goes into
// `path` (`size` bytes). 0 when found, -1 when not (`path` then holds the
// name beside the executable).
int FindInstalledFile(const char* name, char* path, int size);
// Same lookup below a given program folder.
int FindInstalledFileIn(const char* programDir, const char* name, char* path, int size);

// The folder where file popups start and relative record file names land:
// the program's folder when it runs from its build folder and may write
// there, otherwise the operator's document folder ($XDG_DOCUMENTS_DIR or
// ~/Documents) plus "CORVEL-Scope", created when missing. `dir` must hold
// kPathSize bytes. 0 on success, -1 when no folder could be found or made.
int GetUserFileDir(char* dir);
// The rule itself: `buildLayout` says that the panel file lies beside the
// program, `writable` that its folder can be written; `documents` is the
// operator's document folder.
int ChooseUserFileDir(const char* programDir, bool buildLayout, bool writable, const char* documents,
                      char* dir);

// Joins a relative file name to `dir`; an absolute or empty name stays as
// it is. False when the result does not fit `size` bytes (`name` unchanged).
bool ResolveInFolder(const char* dir, char* name, int size);
