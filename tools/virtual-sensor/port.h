// The sensor's end of the serial line: a pseudo-terminal published as COM n
// through a link in the program's dosdevices folder.
#pragma once

#include <cstddef>

namespace vsensor {

struct Port {
    int master = -1;
    int slave = -1;  // kept open so the line does not hang up between clients
    char slavePath[256] = {0};
    char linkPath[4096 + 16] = {0};  // folder (at most PATH_MAX) and "/comN"
};

// Folder that holds the comN links, by the program's own rule
// (platform/comlinks.h). False without one.
bool LinkFolder(char* out, size_t size);

// Opens the pseudo-terminal in raw mode. Prints the reason and returns false
// on failure.
bool OpenPort(Port* port);
// Creates the folders and the link comN -> slave (replacing a stale link).
bool PublishPort(Port* port, int com);
// Removes the link (only if it still points to this port) and closes both ends.
void ClosePort(Port* port);

}  // namespace vsensor
