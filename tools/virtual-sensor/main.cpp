// corvel-virtual-sensor: plays the gloss sensor at the far end of a
// pseudo-terminal published as COM n, for demonstrations and tests.
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>

#include "model.h"
#include "port.h"
#include "protocol.h"
#include "store.h"

using namespace vsensor;

namespace {

constexpr double kByteSeconds = 10.0 / 19200.0;  // 8N1: ten bit times per byte
constexpr double kLateSeconds = 2.5;

struct Options {
    int com = 1;
    bool scenario = true;
    double gloss = 100;
    double diffuse = -1;  // < 0: derived from the gloss
    double period = 4.0;
    double answerMs = 1.0;
    bool unpaced = false;
    double tickMs = 0;    // > 0: replies leave in pieces at this tick, as USB adapters send them
    int faultOrder = -1;  // -1: every order with a reply
    bool noAnswer = false, shortReply = false, longReply = false, late = false, garbage = false;
    long hangupAfter = 0;
    int storeWrong = -1;  // packet word kept one off what was sent
    bool trace = false;
    const char* stateFile = nullptr;
    const char* eepromFile = nullptr;
    unsigned long seed = 0;
    bool seeded = false;
};

const char kUsage[] =
    "Usage: corvel-virtual-sensor [options]\n"
    "Plays the gloss sensor on a pseudo-terminal published as COM n, i.e. the link\n"
    "$XDG_CONFIG_HOME/corvel-scope/dosdevices/comN (else ~/.config/...).\n"
    "\n"
    "  --com N            COM port number (default 1)\n"
    "  --gloss G          fixed target of gloss G units (the reference is 100)\n"
    "  --diffuse D        diffuse share 0..1 of the fixed target (default from G)\n"
    "  --scenario         cycle matt, satin, glossy, reference (default without --gloss);\n"
    "                     while the program calibrates, hold the reference\n"
    "  --period S         seconds per scenario target (default 4)\n"
    "  --answer-ms MS     answer time before a reply (default 1)\n"
    "  --unpaced          reply at once instead of at 19200 baud\n"
    "  --tick MS          hold reply bytes and release what came since the last tick\n"
    "                     every MS ms, as a USB adapter with that latency timer does\n"
    "  --eeprom FILE      keep EEPROM and calibration in FILE across restarts\n"
    "  --state-file PATH  rewrite PATH after every order (packets, counts)\n"
    "  --trace            print every telegram, decoded, to stderr\n"
    "  --seed N           seed of the measurement noise\n"
    "Faults (for every order with a reply, or only for --fault-order N):\n"
    "  --no-answer        do not reply\n"
    "  --short            reply one byte less\n"
    "  --long             reply one byte more\n"
    "  --late             reply after 2.5 s\n"
    "  --garbage          send random bytes before the reply\n"
    "  --hangup-after N   hang up the line after N data frames and quit\n"
    "  --store-wrong W    keep packet word W (0-139) one above the value sent\n"
    "  --help             this text\n";

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) {
    g_stop = 1;
}

bool ParseLong(const char* s, long lo, long hi, long* out) {
    if (!s || !*s) return false;
    char* end;
    errno = 0;
    long v = std::strtol(s, &end, 10);
    if (*end || errno || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool ParseDouble(const char* s, double lo, double hi, double* out) {
    if (!s || !*s) return false;
    char* end;
    double v = std::strtod(s, &end);
    if (*end || !(v >= lo && v <= hi)) return false;
    *out = v;
    return true;
}

// Returns 0 to run, 1 after --help, 2 on a usage error.
int ParseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        long n;
        bool ok = true, takes = true;
        if (!std::strcmp(a, "--com")) {
            ok = ParseLong(v, 1, 255, &n);
            o->com = static_cast<int>(n);
        } else if (!std::strcmp(a, "--gloss")) {
            ok = ParseDouble(v, 0, 200, &o->gloss);
            o->scenario = false;
        } else if (!std::strcmp(a, "--diffuse")) {
            ok = ParseDouble(v, 0, 1, &o->diffuse);
        } else if (!std::strcmp(a, "--period")) {
            ok = ParseDouble(v, 0.1, 3600, &o->period);
        } else if (!std::strcmp(a, "--answer-ms")) {
            ok = ParseDouble(v, 0, 60000, &o->answerMs);
        } else if (!std::strcmp(a, "--tick")) {
            ok = ParseDouble(v, 0.1, 1000, &o->tickMs);
        } else if (!std::strcmp(a, "--fault-order")) {
            ok = ParseLong(v, 0, 65535, &n);
            o->faultOrder = static_cast<int>(n);
        } else if (!std::strcmp(a, "--hangup-after")) {
            ok = ParseLong(v, 1, 1000000000, &o->hangupAfter);
        } else if (!std::strcmp(a, "--store-wrong")) {
            ok = ParseLong(v, 0, kPacketWords - 1, &n);
            o->storeWrong = static_cast<int>(n);
        } else if (!std::strcmp(a, "--state-file")) {
            ok = v != nullptr;
            o->stateFile = v;
        } else if (!std::strcmp(a, "--eeprom")) {
            ok = v != nullptr;
            o->eepromFile = v;
        } else if (!std::strcmp(a, "--seed")) {
            ok = ParseLong(v, 0, 0x7FFFFFFF, &n);
            o->seed = static_cast<unsigned long>(n);
            o->seeded = true;
        } else {
            takes = false;
            if (!std::strcmp(a, "--scenario"))
                o->scenario = true;
            else if (!std::strcmp(a, "--unpaced"))
                o->unpaced = true;
            else if (!std::strcmp(a, "--no-answer"))
                o->noAnswer = true;
            else if (!std::strcmp(a, "--short"))
                o->shortReply = true;
            else if (!std::strcmp(a, "--long"))
                o->longReply = true;
            else if (!std::strcmp(a, "--late"))
                o->late = true;
            else if (!std::strcmp(a, "--garbage"))
                o->garbage = true;
            else if (!std::strcmp(a, "--trace"))
                o->trace = true;
            else if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
                std::fputs(kUsage, stdout);
                return 1;
            } else {
                std::fprintf(stderr, "corvel-virtual-sensor: unknown option %s\n%s", a, kUsage);
                return 2;
            }
        }
        if (!ok) {
            std::fprintf(stderr, "corvel-virtual-sensor: bad or missing value for %s\n", a);
            return 2;
        }
        if (takes) ++i;
    }
    return 0;
}

double Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// A reply on its way out, byte by byte at line speed.
struct Outgoing {
    bool active = false;
    uint16_t order = 0;
    uint8_t bytes[kMaxReplyBytes + 16];
    int length = 0;
    int sent = 0;
    double start = 0;  // time the first byte is due
};

class VirtualSensor {
public:
    explicit VirtualSensor(const Options& o) : opt_(o), sensor_(Seed(o)), rng_(Seed(o) + 1) {}
    int Run();

private:
    static uint32_t Seed(const Options& o) {
        return o.seeded ? static_cast<uint32_t>(o.seed)
                        : static_cast<uint32_t>(std::time(nullptr) ^ getpid());
    }
    void UpdateTarget(double t);
    void Handle(const Request& rq, double now);
    void StoreWrongly(const Request& rq);
    bool FaultFor(uint16_t order) const {
        return opt_.faultOrder < 0 || opt_.faultOrder == static_cast<int>(order);
    }
    void SendDue(double now);
    double NextDue() const;
    double LastTick(double t) const;
    double NextTick(double t) const;
    void SaveState();

    Options opt_;
    Sensor sensor_;
    std::mt19937 rng_;
    Port port_;
    RequestScanner scanner_;
    Outgoing out_;
    static Counts counts_;
    double t0_ = 0;
    unsigned long skippedSeen_ = 0;
};

Counts VirtualSensor::counts_;

void VirtualSensor::UpdateTarget(double t) {
    if (opt_.scenario) {
        sensor_.SetTarget(ScenarioTargetFor(sensor_, static_cast<int>((t - t0_) / opt_.period)));
    } else {
        Target tg = TargetForGloss(opt_.gloss);
        if (opt_.diffuse >= 0) tg.diffuse = opt_.diffuse;
        sensor_.SetTarget(tg);
    }
}

void VirtualSensor::SaveState() {
    counts_.skipped = scanner_.skipped();
    if (opt_.stateFile && !WriteState(opt_.stateFile, sensor_, counts_)) {
        std::fprintf(stderr, "corvel-virtual-sensor: cannot write %s\n", opt_.stateFile);
    }
}

// A memory fault to be found by a read-back: the chosen word is kept one
// off, right after the telegram that carried it.
void VirtualSensor::StoreWrongly(const Request& rq) {
    const int w = opt_.storeWrong;
    if (w < 0) return;
    const bool head = rq.order == kOrderParameters && w < kFrameWords;
    const bool row = rq.order == kOrderTeachRow && w >= kWTeach && rq.words[0] == (w - kWTeach) / 4;
    if (head || row) sensor_.ram[w] = static_cast<uint16_t>(sensor_.ram[w] + 1);
}

void VirtualSensor::Handle(const Request& rq, double now) {
    char line[512];
    if (opt_.trace && scanner_.skipped() != skippedSeen_) {
        std::fprintf(stderr, "rx skipped %lu bytes before a sync word\n", scanner_.skipped() - skippedSeen_);
    }
    skippedSeen_ = scanner_.skipped();
    if (opt_.trace) {
        DescribeRequest(rq, line, sizeof line);
        std::fprintf(stderr, "%s\n", line);
    }
    ++counts_.received[rq.order];
    UpdateTarget(now);
    int len = Execute(sensor_, rq, now - t0_, out_.bytes);
    StoreWrongly(rq);
    if (IsDataOrder(rq.order)) ++counts_.frames;
    if ((rq.order == kOrderStoreEeprom || rq.order == kOrderStoreCalibration) && opt_.eepromFile &&
        !SaveEeprom(opt_.eepromFile, sensor_)) {
        std::fprintf(stderr, "corvel-virtual-sensor: cannot write %s\n", opt_.eepromFile);
    }
    SaveState();
    if (len == 0) return;

    bool fault = FaultFor(rq.order);
    if (fault && opt_.noAnswer) {
        if (opt_.trace) std::fprintf(stderr, "tx nothing to order %u (fault)\n", rq.order);
        return;
    }
    if (fault && opt_.garbage) {
        int extra = 1 + static_cast<int>(rng_() % 8);
        std::memmove(out_.bytes + extra, out_.bytes, len);
        for (int i = 0; i < extra; ++i) out_.bytes[i] = static_cast<uint8_t>(rng_());
        len += extra;
    }
    if (fault && opt_.shortReply) --len;
    if (fault && opt_.longReply) out_.bytes[len++] = 0;
    double delay = opt_.unpaced ? 0 : opt_.answerMs / 1000.0;
    if (fault && opt_.late) delay = kLateSeconds;
    out_.active = true;
    out_.order = rq.order;
    out_.length = len;
    out_.sent = 0;
    out_.start = now + delay;
}

// The ticks of the adapter's timer, counted from the sensor's start. The
// small margins keep a tick that has come from reading as just ahead.
double VirtualSensor::LastTick(double t) const {
    const double tick = opt_.tickMs / 1000.0;
    return t0_ + std::floor((t - t0_) / tick + 1e-9) * tick;
}

double VirtualSensor::NextTick(double t) const {
    const double tick = opt_.tickMs / 1000.0;
    return t0_ + std::ceil((t - t0_) / tick - 1e-9) * tick;
}

void VirtualSensor::SendDue(double now) {
    // With a tick, what the line brought until the last tick goes out now.
    const double at = opt_.tickMs > 0 ? LastTick(now) : now;
    if (!out_.active || at < out_.start) return;
    int due = out_.length;
    if (!opt_.unpaced) {
        long paced = static_cast<long>((at - out_.start) / kByteSeconds + 1e-6) + 1;
        if (paced < due) due = static_cast<int>(paced);
    }
    if (due > out_.sent) {
        ssize_t n = write(port_.master, out_.bytes + out_.sent, due - out_.sent);
        if (n > 0) {
            out_.sent += static_cast<int>(n);
            if (opt_.trace && opt_.tickMs > 0)
                std::fprintf(stderr, "tx piece of %d bytes\n", static_cast<int>(n));
        } else if (n < 0 && errno != EINTR) {
            // The far end does not take the bytes (its queue is full): like a
            // serial line, the rest of the reply is lost.
            if (opt_.trace)
                std::fprintf(stderr, "tx lost after %d bytes: %s\n", out_.sent, std::strerror(errno));
            out_.active = false;
            return;
        }
    }
    if (out_.sent >= out_.length) {
        out_.active = false;
        if (opt_.trace) {
            char line[512];
            DescribeReply(out_.order, out_.bytes, out_.length, line, sizeof line);
            std::fprintf(stderr, "%s\n", line);
        }
    }
}

double VirtualSensor::NextDue() const {
    if (!out_.active) return -1;
    const double byte = opt_.unpaced ? out_.start : out_.start + out_.sent * kByteSeconds;
    return opt_.tickMs > 0 ? NextTick(byte) : byte;
}

int VirtualSensor::Run() {
    t0_ = Now();
    if (opt_.eepromFile) {
        if (LoadEeprom(opt_.eepromFile, &sensor_)) {
            // Power-up: the parameters come from the EEPROM.
            std::memcpy(sensor_.ram, sensor_.eeprom, sizeof sensor_.ram);
        } else if (access(opt_.eepromFile, F_OK) == 0) {
            std::fprintf(stderr, "corvel-virtual-sensor: %s is not an EEPROM image; factory state used\n",
                         opt_.eepromFile);
        }
    }
    UpdateTarget(t0_);

    // Signals only get through while waiting, so no flag test is missed.
    sigset_t block, waitmask;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    sigaddset(&block, SIGHUP);
    sigprocmask(SIG_BLOCK, &block, &waitmask);
    sigdelset(&waitmask, SIGINT);
    sigdelset(&waitmask, SIGTERM);
    sigdelset(&waitmask, SIGHUP);
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    if (!OpenPort(&port_)) return 1;
    if (!PublishPort(&port_, opt_.com)) {
        ClosePort(&port_);
        return 1;
    }
    SaveState();  // its first appearance tells waiting tests that the port is up
    std::fprintf(stderr, "corvel-virtual-sensor: COM%d is %s (%s)\n", opt_.com, port_.slavePath,
                 port_.linkPath);

    while (!g_stop) {
        double now = Now();
        SendDue(now);
        Request rq;
        while (!out_.active && scanner_.Next(&rq)) {
            Handle(rq, now);
            SendDue(now);
        }
        if (!out_.active && opt_.hangupAfter > 0 && static_cast<long>(counts_.frames) >= opt_.hangupAfter) {
            if (opt_.trace) std::fprintf(stderr, "hang-up after %lu data frames\n", counts_.frames);
            // A hang-up discards what the far end has not read yet: let the
            // last frame be taken first. The kernel hands written bytes to
            // the far end a little later, so an empty queue counts only once
            // the frame was seen there, or after a grace of 100 ms.
            bool seen = false;
            for (int i = 0; i < 400 && !g_stop; ++i) {
                int waiting = 0;
                if (ioctl(port_.slave, FIONREAD, &waiting) != 0) break;
                if (waiting > 0)
                    seen = true;
                else if (seen || i >= 20)
                    break;
                usleep(5000);
            }
            break;
        }

        pollfd pfd = {port_.master, static_cast<short>(scanner_.room() ? POLLIN : 0), 0};
        timespec ts, *tsp = nullptr;
        double due = NextDue();
        if (due >= 0) {
            double wait = due - Now();
            if (wait < 0) wait = 0;
            ts.tv_sec = static_cast<time_t>(wait);
            ts.tv_nsec = static_cast<long>((wait - ts.tv_sec) * 1e9);
            tsp = &ts;
        }
        int r = ppoll(&pfd, 1, tsp, &waitmask);
        if (r < 0 && errno != EINTR) {
            std::perror("corvel-virtual-sensor: poll");
            break;
        }
        if (r > 0 && (pfd.revents & POLLIN)) {
            uint8_t buf[4096];
            size_t room = scanner_.room() < sizeof buf ? scanner_.room() : sizeof buf;
            ssize_t n = read(port_.master, buf, room);
            if (n > 0) scanner_.Feed(buf, static_cast<size_t>(n));
        } else if (r > 0 && (pfd.revents & (POLLHUP | POLLERR))) {
            // Cannot happen while our own slave end is open; do not spin if it does.
            usleep(10000);
        }
    }
    SaveState();
    ClosePort(&port_);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    static Options opt;
    int r = ParseOptions(argc, argv, &opt);
    if (r == 1) return 0;
    if (r == 2) return 2;
    static VirtualSensor sensor(opt);
    return sensor.Run();
}
