#include "port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/comlinks.h"

namespace vsensor {

bool LinkFolder(char* out, size_t size) {
    // The program's own rule, so that both always meet in the same folder.
    return ComLinksFolder(out, size) == COMLINKS_OK;
}

bool OpenPort(Port* port) {
    port->master = posix_openpt(O_RDWR | O_NOCTTY);
    if (port->master < 0 || grantpt(port->master) != 0 || unlockpt(port->master) != 0) {
        std::perror("corvel-virtual-sensor: pseudo-terminal");
        return false;
    }
    const char* name = ptsname(port->master);
    if (!name) {
        std::perror("corvel-virtual-sensor: ptsname");
        return false;
    }
    std::snprintf(port->slavePath, sizeof port->slavePath, "%s", name);
    port->slave = open(port->slavePath, O_RDWR | O_NOCTTY);
    if (port->slave < 0) {
        std::perror("corvel-virtual-sensor: open slave");
        return false;
    }
    // Raw 8N1 at 19200, as the real line is set up; no echo, no line editing.
    termios tio;
    if (tcgetattr(port->slave, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B19200);
        cfsetospeed(&tio, B19200);
        tio.c_cflag |= CLOCAL | CREAD;
        tcsetattr(port->slave, TCSANOW, &tio);
    }
    int fl = fcntl(port->master, F_GETFL);
    fcntl(port->master, F_SETFL, fl | O_NONBLOCK);
    return true;
}

bool PublishPort(Port* port, int com) {
    char folder[4096];
    if (!LinkFolder(folder, sizeof folder)) {
        std::fprintf(
            stderr,
            "corvel-virtual-sensor: no folder for the COM links (no absolute XDG_CONFIG_HOME or home "
            "folder, or its path is too long)\n");
        return false;
    }
    if (!MakeFolderPath(folder)) {
        std::fprintf(stderr, "corvel-virtual-sensor: cannot create %s: %s\n", folder, std::strerror(errno));
        return false;
    }
    std::snprintf(port->linkPath, sizeof port->linkPath, "%s/com%d", folder, com);
    struct stat st;
    if (lstat(port->linkPath, &st) == 0) {
        // Replace only what a killed sensor may have left: a dangling link or
        // one to a pseudo-terminal. A mapping to a real port stays.
        char target[256] = {0};
        ssize_t n = readlink(port->linkPath, target, sizeof target - 1);
        bool dangling = stat(port->linkPath, &st) != 0;
        bool pty = n > 0 && std::strncmp(target, "/dev/pts/", 9) == 0;
        if (!dangling && !pty) {
            std::fprintf(stderr,
                         "corvel-virtual-sensor: COM%d is mapped to %s already (%s); choose another --com\n",
                         com, n > 0 ? target : "a file", port->linkPath);
            port->linkPath[0] = 0;
            return false;
        }
        unlink(port->linkPath);
    }
    if (symlink(port->slavePath, port->linkPath) != 0) {
        std::fprintf(stderr, "corvel-virtual-sensor: cannot create %s: %s\n", port->linkPath,
                     std::strerror(errno));
        port->linkPath[0] = 0;
        return false;
    }
    return true;
}

void ClosePort(Port* port) {
    if (port->linkPath[0]) {
        char target[256];
        ssize_t n = readlink(port->linkPath, target, sizeof target - 1);
        if (n >= 0) {
            target[n] = 0;
            // Another sensor may have taken over the name since.
            if (std::strcmp(target, port->slavePath) == 0) unlink(port->linkPath);
        }
        port->linkPath[0] = 0;
    }
    if (port->master >= 0) close(port->master);
    if (port->slave >= 0) close(port->slave);
    port->master = port->slave = -1;
}

}  // namespace vsensor
