// Serial services against a pseudo-terminal published as a COM port.
#include "platform/serial.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/comlinks.h"
#include "platform/files.h"
#include "support/sandbox.h"

namespace {

const int kPort = 9;

int OpenFds() {
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    while (d && readdir(d)) ++n;
    if (d) closedir(d);
    return n;
}

class SerialPort : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::MakeTempFolder("corvel-serial");
        ASSERT_FALSE(dir.empty());
        folder = testsupport::LinkFolder(dir);
        xdg.Set(dir);
        ASSERT_TRUE(pty.Open());
        slaveName = pty.slaveName();
        Link(kPort, slaveName);
    }
    void TearDown() override {
        for (int p = 1; p <= 255; ++p) CloseCom(p);
        pty.Close();
        ASSERT_TRUE(testsupport::RemoveTree(dir));
    }
    void Link(int port, const std::string& target) {
        ASSERT_FALSE(testsupport::LinkCom(dir, port, target).empty());
    }
    int Open(int port = kPort) { return OpenComConfig(port, "", 19200, 0, 8, 1, 1024, 1024); }
    // Writes bytes from the sensor's side and waits until the port sees them all.
    void SensorSends(const unsigned char* data, int count) {
        ASSERT_EQ(write(pty.master(), data, count), count);
        for (int i = 0; i < 2000 && GetInQLen(kPort) < count; ++i) {
        }
        ASSERT_EQ(GetInQLen(kPort), count);
    }

    std::string dir, folder, slaveName;
    testsupport::ScopedEnv xdg{"XDG_CONFIG_HOME"};
    testsupport::Pty pty;
};

TEST_F(SerialPort, PortNumbersMapToLinksOrToTtyS) {
    char dev[256];
    ASSERT_EQ(ComPortDevice(kPort, dev, sizeof dev), 0);
    EXPECT_EQ(std::string(dev), slaveName);
    ASSERT_EQ(ComPortDevice(5, dev, sizeof dev), 0);
    EXPECT_STREQ(dev, "/dev/ttyS4");
    EXPECT_EQ(ComPortDevice(0, dev, sizeof dev), COM_INVALID_PORT);
    EXPECT_EQ(ComPortDevice(256, dev, sizeof dev), COM_INVALID_PORT);

    char f[512];
    ASSERT_EQ(ComLinkFolder(f, sizeof f), 0);
    EXPECT_EQ(std::string(f), folder);
    unsetenv("XDG_CONFIG_HOME");
    std::string home = getenv("HOME") ? getenv("HOME") : "";
    ASSERT_EQ(ComLinkFolder(f, sizeof f), 0);
    if (!home.empty()) {
        EXPECT_EQ(std::string(f), home + "/.config/corvel-scope/dosdevices");
    }
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    EXPECT_EQ(ComLinkFolder(f, 10), COM_BAD_PARAMETER);  // too small, not truncated silently
}

TEST_F(SerialPort, OpenErrorsAreMapped) {
    EXPECT_EQ(Open(0), COM_INVALID_PORT);
    EXPECT_EQ(Open(256), COM_INVALID_PORT);
    EXPECT_EQ(Open(-1), COM_INVALID_PORT);

    Link(3, dir + "/no-such-device");  // dangling link
    EXPECT_EQ(Open(3), COM_NO_PORT_FOUND);

    Link(4, "/dev/null");  // opens, but is no terminal
    EXPECT_EQ(Open(4), COM_CANNOT_OPEN);
    EXPECT_EQ(GetInQLen(4), COM_PORT_NOT_OPEN);  // and was closed again

    std::string plain = dir + "/plain";
    int fd = open(plain.c_str(), O_CREAT | O_WRONLY, 0000);
    ASSERT_GE(fd, 0);
    close(fd);
    Link(6, plain);
    EXPECT_EQ(Open(6), COM_CANNOT_OPEN);  // no permission (or, for root, no terminal)

    EXPECT_EQ(OpenComConfig(kPort, "", 12345, 0, 8, 1, 1024, 1024), COM_BAD_PARAMETER);
    EXPECT_EQ(OpenComConfig(kPort, "", 19200, 0, 9, 1, 1024, 1024), COM_BAD_PARAMETER);
    EXPECT_EQ(OpenComConfig(kPort, "", 19200, 7, 8, 1, 1024, 1024), COM_BAD_PARAMETER);
    EXPECT_EQ(OpenComConfig(kPort, "", 19200, 0, 8, 3, 1024, 1024), COM_BAD_PARAMETER);

    EXPECT_EQ(Open(), 0);
    EXPECT_EQ(OpenComConfig(kPort, slaveName.c_str(), 9600, 2, 7, 2, 0, 0), 0);  // explicit device name
}

TEST_F(SerialPort, OpenConfiguresRaw8N1) {
    ASSERT_EQ(Open(), 0);
    int fd = open(slaveName.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    close(fd);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
}

TEST_F(SerialPort, ReopeningClosesTheOldHandle) {
    ASSERT_EQ(Open(), 0);
    int before = OpenFds();
    for (int i = 0; i < 5; ++i) ASSERT_EQ(Open(), 0);
    EXPECT_EQ(OpenFds(), before);
}

TEST_F(SerialPort, WriteAndReadRoundTrip) {
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(SetComTime(kPort, 2.0), 0);
    ASSERT_EQ(SetCTSMode(kPort, 0), 0);
    unsigned char req[36];
    for (int i = 0; i < 36; ++i) req[i] = static_cast<unsigned char>(i * 7 + 0x80);
    req[5] = '\n';  // raw: no translation
    req[6] = '\r';
    ASSERT_EQ(ComWrt(kPort, req, 36), 36);
    unsigned char got[64];
    int n = 0;
    for (int tries = 0; tries < 200 && n < 36; ++tries) {
        pollfd p{pty.master(), POLLIN, 0};
        if (poll(&p, 1, 10) > 0) n += static_cast<int>(read(pty.master(), got + n, sizeof got - n));
    }
    ASSERT_EQ(n, 36);
    EXPECT_EQ(memcmp(got, req, 36), 0);

    unsigned char reply[96];
    for (int i = 0; i < 96; ++i) reply[i] = static_cast<unsigned char>(255 - i);
    SensorSends(reply, 96);
    unsigned char in[96] = {};
    EXPECT_EQ(ComRd(kPort, in, 96), 96);
    EXPECT_EQ(memcmp(in, reply, 96), 0);
    EXPECT_EQ(GetInQLen(kPort), 0);
}

TEST_F(SerialPort, ReadNeverPassesCountAndTimesOut) {
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(SetComTime(kPort, 0.2), 0);
    unsigned char data[100];
    for (int i = 0; i < 100; ++i) data[i] = static_cast<unsigned char>(i + 1);
    SensorSends(data, 100);

    unsigned char buf[20];
    memset(buf, 0xEE, sizeof buf);
    EXPECT_EQ(ComRd(kPort, buf, 10), 10);
    EXPECT_EQ(buf[9], 10);
    for (int i = 10; i < 20; ++i) EXPECT_EQ(buf[i], 0xEE) << "byte " << i << " written past the count";
    EXPECT_EQ(GetInQLen(kPort), 90);

    // Fewer bytes than asked: what there is, after the time-out.
    unsigned char rest[200];
    double t0 = Timer();
    EXPECT_EQ(ComRd(kPort, rest, 200), 90);
    double took = Timer() - t0;
    EXPECT_EQ(rest[0], 11);
    EXPECT_GE(took, 0.18);
    EXPECT_LT(took, 1.0);
    EXPECT_EQ(ComRd(kPort, rest, 0), 0);
}

TEST_F(SerialPort, QueueLengthWaitsAboutAMillisecond) {
    ASSERT_EQ(Open(), 0);
    const int calls = 100;
    double t0 = Timer();
    for (int i = 0; i < calls; ++i) ASSERT_EQ(GetInQLen(kPort), 0);
    double each = (Timer() - t0) / calls;
    EXPECT_GE(each, 0.0008) << "an empty queue must not be answered at once";
    EXPECT_LT(each, 0.005);

    unsigned char b[3] = {1, 2, 3};
    SensorSends(b, 3);
    for (int i = 0; i < 100 && GetInQLen(kPort) != 3; ++i) {
    }
    ASSERT_EQ(GetInQLen(kPort), 3);
    // Asked again with nothing new, it naps about a byte's time on the line,
    // so a caller waiting for the rest of a reply does not spin.
    t0 = Timer();
    for (int i = 0; i < calls; ++i) ASSERT_EQ(GetInQLen(kPort), 3);
    each = (Timer() - t0) / calls;
    EXPECT_GE(each, 0.0004);
    EXPECT_LT(each, 0.003);
}

// The reply wait sleeps while the rest of a reply is missing, also when part
// of it waited before the wait began and past VMIN's 255 bytes (a parameter
// packet is 280): looking at a queue poll() calls readable would spin.
TEST_F(SerialPort, WaitInQSleepsForTheRestOfAReply) {
    ASSERT_EQ(Open(), 0);
    struct Case {
        int before, total;
    } cases[] = {{20, 32}, {270, 280}};
    std::vector<unsigned char> bytes(280, 7);
    for (const Case& c : cases) {
        SensorSends(bytes.data(), c.before);
        std::thread sensor([&] {
            usleep(60000);
            ASSERT_EQ(write(pty.master(), bytes.data(), c.total - c.before), c.total - c.before);
        });
        timespec c0, c1;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
        EXPECT_EQ(WaitInQ(kPort, c.total, 2.0), c.total) << c.total;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
        sensor.join();
        EXPECT_LT((c1.tv_sec - c0.tv_sec) + (c1.tv_nsec - c0.tv_nsec) * 1e-9, 0.015) << c.total;
        FlushInQ(kPort);
    }
}

// A reply that trickles in a byte at a time, as from a UART at 19200 baud,
// wakes the wait a few times, not at every byte; the bytes read are the
// sensor's, in order, taken partly by the wait and partly from the driver.
TEST_F(SerialPort, WaitInQWakesAFewTimesForAReplyByteByByte) {
    ASSERT_EQ(Open(), 0);
    unsigned char reply[40];
    for (int i = 0; i < 40; ++i) reply[i] = static_cast<unsigned char>(i * 7 + 1);
    std::thread sensor([&] {
        usleep(5000);
        for (int i = 0; i < 40; ++i) {
            ASSERT_EQ(write(pty.master(), reply + i, 1), 1);
            usleep(520);
        }
    });
    rusage r0, r1;
    getrusage(RUSAGE_THREAD, &r0);
    EXPECT_EQ(WaitInQ(kPort, 32, 2.0), 32);
    getrusage(RUSAGE_THREAD, &r1);
    EXPECT_LE(r1.ru_nvcsw - r0.ru_nvcsw, 8);
    sensor.join();
    EXPECT_EQ(GetInQLen(kPort), 40);
    unsigned char got[40] = {};
    ASSERT_EQ(ComRd(kPort, got, 40), 40);
    EXPECT_EQ(std::memcmp(got, reply, 40), 0);
    // A flush empties what the wait took as well.
    SensorSends(reply, 10);
    EXPECT_EQ(WaitInQ(kPort, 10, 1.0), 10);
    ASSERT_EQ(FlushInQ(kPort), 0);
    EXPECT_EQ(GetInQLen(kPort), 0);
}

// The reply wait: it wakes when the whole count is there, also when it comes
// in pieces, ends at its limit with what came, and reports a hang-up.
TEST_F(SerialPort, WaitInQWakesOnArrivalOrAtTheLimit) {
    EXPECT_EQ(WaitInQ(kPort, 1, 0.01), COM_PORT_NOT_OPEN);
    ASSERT_EQ(Open(), 0);
    unsigned char piece[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::thread sensor([&] {
        for (int i = 0; i < 4; ++i) {
            usleep(30000);
            ASSERT_EQ(write(pty.master(), piece, 8), 8);
        }
    });
    double t0 = Timer();
    timespec c0, c1;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
    EXPECT_EQ(WaitInQ(kPort, 32, 2.0), 32);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
    double took = Timer() - t0;
    sensor.join();
    EXPECT_GE(took, 0.11);
    EXPECT_LT(took, 0.5);
    // Asleep between pieces, not looking every half millisecond.
    EXPECT_LT((c1.tv_sec - c0.tv_sec) + (c1.tv_nsec - c0.tv_nsec) * 1e-9, 0.01);

    // Reads still take what is there at once after the wait.
    unsigned char got[40];
    ASSERT_EQ(write(pty.master(), piece, 3), 3);
    EXPECT_EQ(WaitInQ(kPort, 35, 0.15), 35);
    t0 = Timer();
    EXPECT_EQ(ComRd(kPort, got, 35), 35);
    EXPECT_LT(Timer() - t0, 0.05);
    EXPECT_EQ(got[34], 3);

    // The limit: what came is counted, more than asked for too.
    ASSERT_EQ(write(pty.master(), piece, 5), 5);
    t0 = Timer();
    EXPECT_EQ(WaitInQ(kPort, 32, 0.2), 5);
    EXPECT_GE(Timer() - t0, 0.19);
    ASSERT_EQ(write(pty.master(), piece, 8), 8);
    usleep(20000);
    EXPECT_EQ(WaitInQ(kPort, 4, 0.2), 13);
    FlushInQ(kPort);

    pty.Close();
    t0 = Timer();
    EXPECT_LT(WaitInQ(kPort, 32, 2.0), 0);
    EXPECT_LT(Timer() - t0, 0.5);
    EXPECT_TRUE(ComPortGone(kPort));
}

TEST_F(SerialPort, FlushInQDropsWaitingBytes) {
    ASSERT_EQ(Open(), 0);
    unsigned char b[40] = {};
    SensorSends(b, 40);
    EXPECT_EQ(FlushInQ(kPort), 0);
    EXPECT_EQ(GetInQLen(kPort), 0);
    EXPECT_EQ(FlushOutQ(kPort), 0);
}

TEST_F(SerialPort, ClosedPortsAndHangUp) {
    unsigned char b[4] = {};
    EXPECT_EQ(CloseCom(kPort), 0);  // never opened
    EXPECT_EQ(ComWrt(kPort, b, 4), COM_PORT_NOT_OPEN);
    EXPECT_EQ(ComRd(kPort, b, 4), COM_PORT_NOT_OPEN);
    EXPECT_EQ(GetInQLen(kPort), COM_PORT_NOT_OPEN);
    EXPECT_EQ(FlushInQ(kPort), COM_PORT_NOT_OPEN);
    EXPECT_EQ(GetInQLen(300), COM_INVALID_PORT);

    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(CloseCom(kPort), 0);
    EXPECT_EQ(CloseCom(kPort), 0);
    EXPECT_EQ(ComWrt(kPort, b, 4), COM_PORT_NOT_OPEN);

    // The other end goes away: the queue count reports an error, paced.
    ASSERT_EQ(Open(), 0);
    pty.Close();
    double t0 = Timer();
    EXPECT_LT(GetInQLen(kPort), 0);
    EXPECT_LT(GetInQLen(kPort), 0);
    EXPECT_GE(Timer() - t0, 0.0015);
    EXPECT_LT(ComRd(kPort, b, 4), 0);
    EXPECT_TRUE(ComPortGone(kPort));  // and closed, until reopened
    EXPECT_EQ(CloseCom(kPort), 0);
    EXPECT_FALSE(ComPortGone(kPort));
}

// Another process (as another copy of the program would) holds COM `port`
// until `release` is closed; returns its pid once the open is done.
pid_t HoldInChild(int port, int* release) {
    int ready[2], hold[2];
    if (pipe(ready) != 0 || pipe(hold) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        close(hold[1]);
        char rc = static_cast<char>(OpenComConfig(port, "", 19200, 0, 8, 1, 1024, 1024));
        (void)!write(ready[1], &rc, 1);
        char c;
        (void)!read(hold[0], &c, 1);  // until the test lets go
        _exit(0);
    }
    close(ready[1]);
    close(hold[0]);
    char rc = 1;
    if (read(ready[0], &rc, 1) != 1 || rc != 0) pid = -1;
    close(ready[0]);
    *release = hold[1];
    return pid;
}

TEST_F(SerialPort, APortInUseIsRefusedUntilItsHolderLetsGo) {
    Link(8, slaveName);  // a second COM number for the same device
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(Open(8), COM_CANNOT_OPEN);
    ComPortInfo info;
    ASSERT_EQ(GetComPortInfo(8, &info), 0);
    EXPECT_EQ(info.fault, COM_FAULT_BUSY);
    EXPECT_EQ(std::string(info.device), slaveName);
    // Anyone else is refused too while the port is ours; reopening our own
    // port (as a repeated port change does) is not.
    int fd = open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);  // root passes the exclusive mode, never the lock
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(Open(), 0);
    // Released on close: the other COM number opens now.
    EXPECT_EQ(CloseCom(kPort), 0);
    EXPECT_EQ(Open(8), 0);
    EXPECT_EQ(CloseCom(8), 0);
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    close(fd);

    // Held by another process: busy until that process ends.
    int release = -1;
    pid_t pid = HoldInChild(kPort, &release);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(Open(), COM_CANNOT_OPEN);
    close(release);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_EQ(Open(), 0);
}

TEST_F(SerialPort, ConfigFolderThatCannotHoldLinksIsNoPortNotTtyS) {
    std::string longDir = "/" + std::string(4089, 'x');
    setenv("XDG_CONFIG_HOME", longDir.c_str(), 1);
    char dev[256];
    EXPECT_EQ(ComPortDevice(1, dev, sizeof dev), COM_NO_PORT_FOUND);
    EXPECT_EQ(Open(1), COM_NO_PORT_FOUND);
    ComPortInfo info;
    ASSERT_EQ(GetComPortInfo(1, &info), 0);
    EXPECT_EQ(info.fault, COM_FAULT_NO_FOLDER);

    // A relative folder is ignored (the XDG rule): the home's .config is used.
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    char folder[PATH_MAX];
    ASSERT_EQ(ComLinkFolder(folder, sizeof folder), 0);
    EXPECT_EQ(std::string(folder).find("relative"), std::string::npos);
    EXPECT_NE(std::string(folder).find("/.config/corvel-scope/dosdevices"), std::string::npos);
    char shared[PATH_MAX];
    ASSERT_EQ(ComLinksFolder(shared, sizeof shared), COMLINKS_OK);
    EXPECT_STREQ(shared, folder);
}

}  // namespace
