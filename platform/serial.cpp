// Serial port services on POSIX termios.
//
// termios is the kernel's own interface to every serial device (UARTs, USB
// adapters, pseudo-terminals), so the same code drives a real port and the
// pseudo-terminals of the virtual sensor and the tests, with no toolkit
// dependency below the logic.
//
// Ports are opened non-blocking and every wait is a poll() with a deadline,
// so no call can hang beyond the port's time-out. The kernel's tty buffers
// are the input and output queues; the reply wait moves arrived bytes into
// a small queue of the port's own, so that poll() sleeps until the next
// byte instead of answering for those already there.
#include "platform/serial.h"

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <limits.h>
#include <linux/serial.h>
#include <poll.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "platform/comlinks.h"
#include "platform/ports.h"
#include "platform/testing.h"

namespace {

constexpr int kMaxPort = 255;

struct PortState {
    int fd = -1;
    double timeout = 10.0;             // seconds, until SetComTime
    int lastLen = 0;                   // what GetInQLen answered last
    std::vector<unsigned char> taken;  // received bytes the reply wait took from the driver, unread
    double byteSeconds = 0;            // one character's time on the line, start and stop bits included
    bool gone = false;                 // closed because the device went away
    ComPortInfo info;
};

PortState ports[kMaxPort + 1];
int failNextOpen = 0;
ComLowLatencyCount lowLatency;

// USB adapters hold a short reply back until their latency timer fires
// (16 ms on FTDI chips); the low-latency flag makes the FTDI driver use
// 1 ms and is accepted and ignored by others. A device that refuses it (a
// pseudo-terminal does) is served as before: no error.
void AskLowLatency(int fd) {
    ++lowLatency.asked;
    serial_struct ss{};
    if (ioctl(fd, TIOCGSERIAL, &ss) != 0) {
        ++lowLatency.refused;
        return;
    }
    if (ss.flags & ASYNC_LOW_LATENCY) return;
    ss.flags |= ASYNC_LOW_LATENCY;
    if (ioctl(fd, TIOCSSERIAL, &ss) != 0) ++lowLatency.refused;
}

bool ValidPort(int port) {
    return port >= 1 && port <= kMaxPort;
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Milliseconds left until `deadline`, for poll(); never negative.
int MsLeft(double deadline) {
    double left = deadline - Now();
    if (left <= 0) return 0;
    return static_cast<int>(left * 1000.0) + 1;
}

void SleepMs(int ms) {
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

void SleepSeconds(double seconds) {
    long ns = static_cast<long>(seconds * 1e9);
    timespec ts{ns / 1000000000L, ns % 1000000000L};
    nanosleep(&ts, nullptr);
}

// A negative code for a port that cannot be used, or 0.
int CheckOpen(int port) {
    if (!ValidPort(port)) return COM_INVALID_PORT;
    if (ports[port].fd < 0) return COM_PORT_NOT_OPEN;
    return 0;
}

bool BaudConstant(long baud, speed_t* out) {
    static const struct {
        long rate;
        speed_t code;
    } table[] = {
        {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
        {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
        {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const auto& e : table) {
        if (e.rate == baud) {
            *out = e.code;
            return true;
        }
    }
    return false;
}

bool CopyText(char* out, int size, const char* text) {
    if (!out || size <= 0) return false;
    size_t n = strlen(text);
    if (n + 1 > static_cast<size_t>(size)) {
        out[0] = 0;
        return false;
    }
    memcpy(out, text, n + 1);
    return true;
}

void SetFault(int port, int fault, const char* device, int err) {
    ComPortInfo& i = ports[port].info;
    i.fault = fault;
    if (device) CopyText(i.device, sizeof i.device, device);
    CopyText(i.reason, sizeof i.reason, err ? strerror(err) : "");
    i.group[0] = 0;
    i.driver[0] = 0;
    i.latencyMs = -1;
    struct stat st;
    if (fault == COM_FAULT_PERMISSION && stat(i.device, &st) == 0) {
        const group* g = getgrgid(st.st_gid);
        if (g && g->gr_name) CopyText(i.group, sizeof i.group, g->gr_name);
    }
}

int FaultOfOpenError(int err) {
    switch (err) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case EIO:  // a ttyS node without a UART behind it
        case ENOTDIR:
            return COM_FAULT_MISSING;
        case EACCES:
        case EPERM:
        case EROFS:
            return COM_FAULT_PERMISSION;
        case EBUSY:
        case EWOULDBLOCK:
            return COM_FAULT_BUSY;
        default:
            return COM_FAULT_OTHER;
    }
}

// Releases the exclusive claim and the lock with the handle.
void Release(int port) {
    PortState& s = ports[port];
    if (s.fd < 0) return;
    (void)ioctl(s.fd, TIOCNXCL);
    close(s.fd);  // drops the flock too
    s.fd = -1;
    s.lastLen = 0;
    s.taken.clear();
    s.info.open = 0;
}

// An exchange found the device gone: say why and close the port, so that
// the lock is not held on a dead handle and the next open starts afresh.
void MarkGone(int port, int err) {
    PortState& s = ports[port];
    if (s.fd < 0) return;
    struct stat st;
    if (s.info.device[0] && stat(s.info.device, &st) != 0) err = errno;  // node removed
    Release(port);
    s.gone = true;
    SetFault(port, COM_FAULT_GONE, nullptr, err);
    if (!err) CopyText(s.info.reason, sizeof s.info.reason, "the line hung up");
}

bool DeviceGoneError(int err) {
    return err == EIO || err == ENODEV || err == ENXIO || err == EPIPE;
}

// Ends a read or write that met an error: a device that went away closes
// the port; bytes already moved are still reported.
int Failed(int port, int done, int err) {
    if (err == 0 || DeviceGoneError(err)) MarkGone(port, err);
    return done > 0 ? done : COM_IO_ERROR;
}

// The handles of this process are closed at exit even when the program ends
// without CloseCom, so the exclusive claim is never left on a device.
struct ReleaseAtExit {
    ~ReleaseAtExit() {
        for (int p = 1; p <= kMaxPort; ++p) Release(p);
    }
} releaseAtExit;

}  // namespace

int ComLinkFolder(char* out, int size) {
    char path[PATH_MAX];
    if (ComLinksFolder(path, sizeof path) != COMLINKS_OK) {
        if (out && size > 0) out[0] = 0;
        return COM_NO_PORT_FOUND;
    }
    return CopyText(out, size, path) ? 0 : COM_BAD_PARAMETER;
}

int GetComPortInfo(int port, ComPortInfo* info) {
    if (!ValidPort(port)) return COM_INVALID_PORT;
    if (info) *info = ports[port].info;
    return 0;
}

bool ComPortGone(int port) {
    return ValidPort(port) && ports[port].gone;
}

void ComFailNextOpen(int err) {
    failNextOpen = err;
}

ComLowLatencyCount ComLowLatencyRequests(void) {
    return lowLatency;
}

int ComPortDevice(int port, char* out, int size) {
    if (!ValidPort(port)) return COM_INVALID_PORT;
    char folder[PATH_MAX];
    char path[PATH_MAX + 16];
    char device[8300];
    int rc = ComLinkFolder(folder, sizeof folder);
    if (rc == COM_NO_PORT_FOUND) {
        // A folder path that cannot be used is like a link whose target is
        // missing: never a silent switch to /dev/ttyS(n-1).
        if (out && size > 0) out[0] = 0;
        return COM_NO_PORT_FOUND;
    }
    if (rc == 0) {
        snprintf(path, sizeof path, "%s/com%d", folder, port);
        struct stat st;
        if (lstat(path, &st) != 0 && errno != ENOENT && errno != ENOTDIR) {
            CopyText(out, size, path);
            return COM_NO_PORT_FOUND;
        }
        if (lstat(path, &st) == 0) {
            if (S_ISLNK(st.st_mode)) {
                char target[4096];
                ssize_t n = readlink(path, target, sizeof target - 1);
                if (n > 0) {
                    target[n] = 0;
                    if (target[0] == '/')
                        snprintf(device, sizeof device, "%s", target);
                    else
                        snprintf(device, sizeof device, "%s/%s", folder, target);
                    return CopyText(out, size, device) ? 0 : COM_BAD_PARAMETER;
                }
            }
            // Not a link (or unreadable): the entry itself is the device.
            return CopyText(out, size, path) ? 0 : COM_BAD_PARAMETER;
        }
    }
    snprintf(device, sizeof device, "/dev/ttyS%d", port - 1);
    return CopyText(out, size, device) ? 0 : COM_BAD_PARAMETER;
}

int CloseCom(int port) {
    if (!ValidPort(port)) return COM_INVALID_PORT;
    Release(port);
    ports[port].gone = false;
    return 0;
}

int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits, int stopBits,
                  int inputQueueSize, int outputQueueSize) {
    (void)inputQueueSize;  // the kernel's tty buffers are the queues
    (void)outputQueueSize;
    if (!ValidPort(port)) return COM_INVALID_PORT;
    Release(port);  // a port found gone stays so until it opens again
    PortState& s = ports[port];
    SetFault(port, COM_FAULT_NONE, "", 0);

    speed_t speed;
    if (!BaudConstant(baudRate, &speed)) return COM_BAD_PARAMETER;
    tcflag_t size;
    switch (dataBits) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return COM_BAD_PARAMETER;
    }
    if (parity < 0 || parity > 2 || (stopBits != 1 && stopBits != 2)) return COM_BAD_PARAMETER;

    char device[8300];
    if (deviceName && deviceName[0]) {
        if (!CopyText(device, sizeof device, deviceName)) return COM_BAD_PARAMETER;
    } else {
        int rc = ComPortDevice(port, device, sizeof device);
        if (rc == COM_NO_PORT_FOUND) {
            SetFault(port, COM_FAULT_NO_FOLDER, device, ENAMETOOLONG);
            return rc;
        }
        if (rc != 0) return COM_BAD_PARAMETER;
    }
    CopyText(s.info.device, sizeof s.info.device, device);

    int fd = -1;
    if (failNextOpen) {
        errno = failNextOpen;
        failNextOpen = 0;
    } else {
        fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }
    if (fd < 0) {
        int err = errno;
        int fault = FaultOfOpenError(err);
        SetFault(port, fault, nullptr, err);
        if (fault == COM_FAULT_MISSING) return COM_NO_PORT_FOUND;
        return COM_CANNOT_OPEN;
    }
    // This program's alone: TIOCEXCL refuses further opens of the device
    // (except by root), the lock refuses every other copy of the program.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        close(fd);
        SetFault(port, err == EWOULDBLOCK ? COM_FAULT_BUSY : COM_FAULT_OTHER, nullptr, err);
        return COM_CANNOT_OPEN;
    }

    termios t{};
    if (tcgetattr(fd, &t) != 0) {  // not a terminal at all
        close(fd);
        SetFault(port, COM_FAULT_NOT_SERIAL, nullptr, ENOTTY);
        return COM_CANNOT_OPEN;
    }
    (void)ioctl(fd, TIOCEXCL);
    cfmakeraw(&t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= size | CLOCAL | CREAD;
    if (parity == 1) t.c_cflag |= PARENB | PARODD;
    if (parity == 2) t.c_cflag |= PARENB;
    if (stopBits == 2) t.c_cflag |= CSTOPB;
    // With VMIN 1 an empty queue reads as EAGAIN (O_NONBLOCK) and only a
    // hang-up reads as 0, so the two can be told apart.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        int err = errno;
        (void)ioctl(fd, TIOCNXCL);
        close(fd);
        SetFault(port, COM_FAULT_OTHER, nullptr, err);
        return COM_CANNOT_OPEN;
    }
    // Raise DTR and RTS for adapters that power the line from them; a
    // pseudo-terminal has no modem lines, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd, TIOCMBIS, &lines);
    AskLowLatency(fd);
    tcflush(fd, TCIOFLUSH);
    // Read after the request, so that it shows the timer the driver chose.
    const UsbSerialInfo usb = ReadUsbSerial(device);
    CopyText(s.info.driver, sizeof s.info.driver, usb.driver.c_str());
    s.info.latencyMs = usb.latencyMs;

    s.fd = fd;
    s.timeout = 10.0;
    s.byteSeconds = (1.0 + dataBits + (parity ? 1 : 0) + stopBits) / baudRate;
    s.gone = false;
    s.info.open = 1;
    return 0;
}

int SetComTime(int port, double timeoutSeconds) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    if (!(timeoutSeconds >= 0)) return COM_BAD_PARAMETER;
    ports[port].timeout = timeoutSeconds;
    return 0;
}

int SetCTSMode(int port, int mode) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    if (mode != 0 && mode != 1) return COM_BAD_PARAMETER;
    termios t{};
    if (tcgetattr(ports[port].fd, &t) != 0) return COM_IO_ERROR;
    if (mode)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;
    if (tcsetattr(ports[port].fd, TCSANOW, &t) != 0) return COM_IO_ERROR;
    return 0;
}

int FlushInQ(int port) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    ports[port].taken.clear();
    return tcflush(ports[port].fd, TCIFLUSH) == 0 ? 0 : COM_IO_ERROR;
}

int FlushOutQ(int port) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    return tcflush(ports[port].fd, TCOFLUSH) == 0 ? 0 : COM_IO_ERROR;
}

int ComWrt(int port, const void* buffer, int count) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    if (count < 0 || (count > 0 && !buffer)) return COM_BAD_PARAMETER;
    const unsigned char* p = static_cast<const unsigned char*>(buffer);
    int fd = ports[port].fd;
    double deadline = Now() + ports[port].timeout;
    int done = 0;
    while (done < count) {
        ssize_t n = write(fd, p + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return Failed(port, done, errno);
        int left = MsLeft(deadline);
        if (left == 0) break;
        pollfd pfd{fd, POLLOUT, 0};
        int pr = poll(&pfd, 1, left);
        if (pr < 0 && errno != EINTR) return done > 0 ? done : COM_IO_ERROR;
        if (pr > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(pfd.revents & POLLOUT))
            return Failed(port, done, 0);
    }
    return done;
}

namespace {

// The most the port's own queue holds; the rest stays with the driver.
constexpr size_t kTakenMax = 1024;

// Moves what the driver holds into the port's own queue. With VMIN 1 a raw
// terminal is readable while any byte waits, so only an empty driver queue
// lets poll() sleep until the next one lands. A read that brings less than
// it asked for has emptied the driver's queue: no further read or count
// is needed to know it, which saves two system calls at every wake.
// False when the line hung up or failed (the port is then closed).
bool TakeArrived(int port, bool* drained) {
    PortState& s = ports[port];
    unsigned char chunk[256];
    *drained = false;
    while (s.taken.size() < kTakenMax) {
        const size_t room = kTakenMax - s.taken.size();
        const size_t ask = room < sizeof chunk ? room : sizeof chunk;
        ssize_t n = read(s.fd, chunk, ask);
        if (n > 0) {
            s.taken.insert(s.taken.end(), chunk, chunk + n);
            if (static_cast<size_t>(n) < ask) {
                *drained = true;
                return true;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            *drained = true;
            return true;
        }
        MarkGone(port, n == 0 ? 0 : errno);  // 0 is end of file: the line hung up
        return false;
    }
    return true;
}

// Received bytes not yet read: the port's own queue and the driver's.
// Negative (and the port closed) when the driver cannot be asked.
int Waiting(int port) {
    int n = 0;
    if (ioctl(ports[port].fd, FIONREAD, &n) != 0) {
        MarkGone(port, errno);
        return COM_IO_ERROR;
    }
    return n + static_cast<int>(ports[port].taken.size());
}

}  // namespace

int GetInQLen(int port) {
    int rc = CheckOpen(port);
    if (rc) {
        SleepMs(1);  // callers poll this in a loop, also on a port that failed to open
        return rc;
    }
    int fd = ports[port].fd;
    const int taken = static_cast<int>(ports[port].taken.size());
    int n = 0;
    if (ioctl(fd, FIONREAD, &n) == 0 && (n += taken) > 0) {
        // Callers poll until a whole reply has arrived. While it trickles in,
        // nap for about a byte's time on the line when nothing new came, so
        // that loop does not burn a core; the count stays exact.
        if (n == ports[port].lastLen) {
            timespec ts{0, 500000L};
            nanosleep(&ts, nullptr);
            if (ioctl(fd, FIONREAD, &n) != 0) n = 0;
        }
        if (n > 0) return ports[port].lastLen = n;
    }
    ports[port].lastLen = 0;
    pollfd pfd{fd, POLLIN, 0};
    int pr = poll(&pfd, 1, 1);
    bool broken = pr > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
    if (ioctl(fd, FIONREAD, &n) != 0)
        broken = true;
    else if ((n += taken) > 0)
        return ports[port].lastLen = n;
    if (broken) {
        // A hung-up line answers poll() at once; still pace the caller.
        MarkGone(port, 0);
        SleepMs(1);
        return COM_IO_ERROR;
    }
    return n;
}

int WaitInQ(int port, int minBytes, double timeoutSeconds) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    if (!(timeoutSeconds >= 0)) return COM_BAD_PARAMETER;
    const int fd = ports[port].fd;
    const double deadline = Now() + timeoutSeconds;
    const double byteSeconds = ports[port].byteSeconds;
    int n = 0;
    int seen = 0;  // the count when the last nap began
    for (;;) {
        bool drained = false;
        if (!TakeArrived(port, &drained)) return COM_IO_ERROR;
        n = drained ? static_cast<int>(ports[port].taken.size()) : Waiting(port);
        if (n < 0) return n;
        if (n >= minBytes) break;
        const double left = deadline - Now();
        if (left <= 0) break;
        const bool driverEmpty = drained || static_cast<int>(ports[port].taken.size()) == n;
        // A reply under way cannot be complete before the line has carried
        // the missing bytes: sleep for all but the last of them rather than
        // wake at every piece the driver hands over (a byte at a time from a
        // UART or a pseudo-terminal, every millisecond from a USB adapter).
        // poll() then wakes on the last one as it lands.
        if (n > seen && minBytes - n > 1 && byteSeconds > 0) {
            seen = n;
            const double nap = (minBytes - n - 1) * byteSeconds;
            SleepSeconds(nap < left ? nap : left);
            continue;
        }
        seen = n;
        if (!driverEmpty) {
            // The own queue is full, so poll() would answer at once: sleep
            // for the missing bytes' time instead.
            double nap = (minBytes - n) * byteSeconds;
            if (nap < 0.0005) nap = 0.0005;
            SleepSeconds(nap < left ? nap : left);
            continue;
        }
        // Until the next byte lands (a reply not begun, a sensor still
        // answering, an adapter holding bytes until its timer fires), or
        // until the limit.
        timespec ts{static_cast<time_t>(left), static_cast<long>((left - static_cast<time_t>(left)) * 1e9)};
        pollfd pfd{fd, POLLIN, 0};
        int pr = ppoll(&pfd, 1, &ts, nullptr);
        if (pr < 0 && errno != EINTR) break;
        if (pr > 0 && !(pfd.revents & POLLIN) && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            MarkGone(port, 0);
            return COM_IO_ERROR;
        }
    }
    ports[port].lastLen = n;
    return n;
}

int ComRd(int port, void* buffer, int count) {
    int rc = CheckOpen(port);
    if (rc) return rc;
    if (count < 0 || (count > 0 && !buffer)) return COM_BAD_PARAMETER;
    unsigned char* p = static_cast<unsigned char*>(buffer);
    int fd = ports[port].fd;
    double deadline = Now() + ports[port].timeout;
    // The bytes the reply wait took come first, in the order they came.
    std::vector<unsigned char>& taken = ports[port].taken;
    int done = count < static_cast<int>(taken.size()) ? count : static_cast<int>(taken.size());
    if (done > 0) {
        memcpy(p, taken.data(), static_cast<size_t>(done));
        taken.erase(taken.begin(), taken.begin() + done);
    }
    while (done < count) {
        ssize_t n = read(fd, p + done, static_cast<size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        // 0 is end of file: the line hung up.
        if (n == 0) return Failed(port, done, 0);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return Failed(port, done, errno);
        int left = MsLeft(deadline);
        if (left == 0) break;
        pollfd pfd{fd, POLLIN, 0};
        int pr = poll(&pfd, 1, left);
        if (pr < 0 && errno != EINTR) return done > 0 ? done : COM_IO_ERROR;
        if (pr > 0 && !(pfd.revents & POLLIN) && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)))
            return Failed(port, done, 0);
    }
    return done;
}
