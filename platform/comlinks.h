// Where the comN links live: <config>/corvel-scope/dosdevices, where
// <config> is $XDG_CONFIG_HOME when it is an absolute path (a relative one
// is ignored, as the XDG rule says), else ~/.config. Plain POSIX, shared by
// the program and the virtual sensor so that both find the same folder.
#pragma once

#include <stddef.h>

enum {
    COMLINKS_OK = 0,
    COMLINKS_NO_HOME = -1,   // neither an absolute XDG_CONFIG_HOME nor a home folder
    COMLINKS_TOO_LONG = -2,  // the folder (with a comN name) would not fit a path
};

// The longest link name below the folder: "/com255".
constexpr size_t kComLinkNameRoom = 8;

// Writes the folder into out. Fails, leaving out empty, when there is no
// home or when the folder and a link name in it would exceed PATH_MAX or
// `size`; nothing is ever truncated.
int ComLinksFolder(char* out, size_t size);

// Creates `path` and the folders above it (mode 0755); true when it exists
// afterwards. errno tells why not.
bool MakeFolderPath(const char* path);
