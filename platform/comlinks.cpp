// The folder of the comN links, shared by the program and the virtual
// sensor so that both find the same one.
#include "platform/comlinks.h"

#include <errno.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int ComLinksFolder(char* out, size_t size) {
    if (!out || size == 0) return COMLINKS_TOO_LONG;
    out[0] = 0;
    const char* xdg = getenv("XDG_CONFIG_HOME");
    const char* base = nullptr;
    const char* tail = "/corvel-scope/dosdevices";
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        base = getenv("HOME");
        if (!base || base[0] != '/') {
            const passwd* pw = getpwuid(getuid());
            base = pw && pw->pw_dir && pw->pw_dir[0] == '/' ? pw->pw_dir : nullptr;
        }
        if (!base) return COMLINKS_NO_HOME;
        tail = "/.config/corvel-scope/dosdevices";
    }
    size_t room = size < PATH_MAX ? size : PATH_MAX;
    int n = snprintf(out, size, "%s%s", base, tail);
    if (n < 0 || static_cast<size_t>(n) + kComLinkNameRoom > room) {
        out[0] = 0;
        return COMLINKS_TOO_LONG;
    }
    return COMLINKS_OK;
}

bool MakeFolderPath(const char* path) {
    char buf[PATH_MAX];
    size_t n = strlen(path);
    if (n == 0 || n >= sizeof buf) {
        errno = ENAMETOOLONG;
        return false;
    }
    memcpy(buf, path, n + 1);
    for (char* p = buf + 1; *p; ++p) {
        if (*p != '/') continue;
        *p = 0;
        if (mkdir(buf, 0755) != 0 && errno != EEXIST) return false;
        *p = '/';
    }
    return mkdir(buf, 0755) == 0 || errno == EEXIST;
}
