// Live-loop benchmark: the program's live data loop (GetData, started by the
// GO callback) against the virtual sensor on a pseudo-terminal.
//
// 1. Paced at 19200 baud: frames per second against the line-speed limit
//    (each frame moves a 36-byte request and a 32-byte reply of 10 bits:
//    35.4 ms, at most 28.2 frames/s), and the CPU time the program uses per
//    second of live data.
// 2. Unpaced: the frame rate the program itself allows.
// 3. The sensor's own ceiling: a bare client that sends data requests back
//    to back through the serial layer, without the program's panel work.
// 4. Replies in pieces, as USB adapters hand them over at their latency
//    timer's tick: the paced rate at 1 ms and at 16 ms.
//
// The sensor paces only its reply, so the request's time on the wire is
// given to it as its answer time (--answer-ms 18.75).
//
//   bench-link [paced seconds] [unpaced seconds]
// With BENCH_LINK_PAINTS set in the environment it also prints what the paced
// run painted per frame, widget by widget (paintcount.cpp); with
// BENCH_LINK_SHOT=file.png it saves the main panel as the screen shows it
// after the paced run.
// Exit status 1 when a goal is missed or the loop did not run.
#include <fcntl.h>
#include <ftw.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "link/link.h"
#include "paintcount.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

constexpr int kCom = 9;
constexpr double kBitsPerByte = 10.0;  // 8N1
constexpr double kBaud = 19200.0;
constexpr double kFrameBytes = 36 + 32;
constexpr double kRequestMs = 36 * kBitsPerByte / kBaud * 1000.0;  // 18.75
constexpr double kLineLimitFps = kBaud / (kFrameBytes * kBitsPerByte);
constexpr double kGoalRatio = 0.97;
constexpr double kGoalCpuShare = 0.05;
constexpr double kGoalUnpacedFps = 1000.0;

int g_unexpectedPopups = 0;

double Now(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void SleepMs(int ms) {
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

std::string BesideSelf(const char* name) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return name;
    self[n] = 0;
    std::string path(self);
    return path.substr(0, path.rfind('/') + 1) + name;
}

// The virtual sensor as a child process, published as COM kCom in a
// temporary configuration folder.
class Sensor {
public:
    ~Sensor() {
        Stop();
        if (!dir_.empty()) nftw(dir_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    bool Start(const std::vector<std::string>& options) {
        Stop();
        if (dir_.empty()) {
            char templ[] = "/tmp/bench-link-XXXXXX";
            if (!mkdtemp(templ)) return false;
            dir_ = templ;
            setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        }
        std::string log = dir_ + "/vsensor.log";
        std::remove(log.c_str());
        std::string prog = BesideSelf("corvel-virtual-sensor");
        // Frames are counted from the trace: a state file, rewritten after
        // every order, would cost the sensor about 2 ms a frame.
        std::vector<std::string> args = {prog, "--com", std::to_string(kCom), "--trace"};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ < 0) return false;
        if (pid_ == 0) {
            int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd >= 0) dup2(fd, 2);
            int null = open("/dev/null", O_RDWR);
            if (null >= 0) dup2(null, 1);
            execv(prog.c_str(), argv.data());
            _exit(127);
        }
        std::string link = dir_ + "/corvel-scope/dosdevices/com" + std::to_string(kCom);
        for (int waited = 0; waited < 5000; waited += 10) {
            struct stat st;
            if (stat(link.c_str(), &st) == 0) return true;
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            SleepMs(10);
        }
        return false;
    }
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int waited = 0; waited < 3000 && waitpid(pid_, nullptr, WNOHANG) != pid_; waited += 5)
            SleepMs(5);
        if (waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    // Data frames the sensor has answered so far (its trace has a line for each).
    unsigned long Frames() const {
        std::ifstream f(dir_ + "/vsensor.log");
        std::string line;
        unsigned long n = 0;
        while (std::getline(f, line))
            if (line.compare(0, 23, "tx 32 bytes to order 5:") == 0) ++n;
        return n;
    }

private:
    pid_t pid_ = -1;
    std::string dir_;
};

// Process CPU time spent in the kernel (system calls), in seconds.
double SystemCpu() {
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_stime.tv_sec + ru.ru_stime.tv_usec * 1e-6;
}

struct Run {
    unsigned long frames;
    double wall, cpu;
    double sys = 0;  // of cpu, the part in the kernel
    double Fps() const { return wall > 0 ? frames / wall : 0; }
    double CpuShare() const { return wall > 0 ? cpu / wall : 0; }
};

// Presses GO as the operator does and lets the live loop run for `seconds`;
// a timer then clears poll, which ends the loop after the frame in progress.
Run LiveFor(Sensor& sensor, double seconds) {
    QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, [] { poll = 0; });
    // The pause rule of the link check's parameter read is long over.
    transbeg = Timer() - 10.0;
    const unsigned long f0 = sensor.Frames();
    const double w0 = Now(CLOCK_MONOTONIC), c0 = Now(CLOCK_PROCESS_CPUTIME_ID), s0 = SystemCpu();
    CBF_ButtonGo(panel, P_BUTTONGO, EVENT_COMMIT, nullptr, 0, 0);
    const double w1 = Now(CLOCK_MONOTONIC), c1 = Now(CLOCK_PROCESS_CPUTIME_ID), s1 = SystemCpu();
    SleepMs(20);  // the sensor's trace line of the last reply
    return Run{sensor.Frames() - f0, w1 - w0, c1 - c0, s1 - s0};
}

// Data requests back to back for `seconds`, each reply awaited as the
// program does (the exact 32 bytes within 2 s), but nothing shown.
Run BareClient(Sensor& sensor, double seconds) {
    Run r{0, 0, 0};
    if (OpenComConfig(kCom, "", 19200, 0, 8, 1, 1024, 1024) < 0) return r;
    SetComTime(kCom, 2.0);
    const unsigned long f0 = sensor.Frames();
    const double w0 = Now(CLOCK_MONOTONIC), c0 = Now(CLOCK_PROCESS_CPUTIME_ID);
    unsigned char reply[64];
    while (Now(CLOCK_MONOTONIC) - w0 < seconds) {
        FillTxBuf(5, 0);
        if (ComWrt(kCom, szWriteBuf, 36) != 36) break;
        if (WaitInQ(kCom, 32, 2.0) != 32 || ComRd(kCom, reply, 32) != 32) break;
    }
    const double w1 = Now(CLOCK_MONOTONIC), c1 = Now(CLOCK_PROCESS_CPUTIME_ID);
    CloseCom(kCom);
    SleepMs(20);
    return Run{sensor.Frames() - f0, w1 - w0, c1 - c0};
}

bool Connect(Sensor& sensor, const std::vector<std::string>& options) {
    if (!sensor.Start(options)) {
        std::fprintf(stderr, "bench-link: the virtual sensor did not start (%s)\n",
                     BesideSelf("corvel-virtual-sensor").c_str());
        return false;
    }
    com = kCom;
    InitRS232(com);
    char status[64] = "";
    GetCtrlVal(panel, P_DISPSTATUS, status, sizeof status);
    if (std::strcmp(status, version) != 0 || version[0] == 0) {
        std::fprintf(stderr, "bench-link: link check failed, status \"%s\"\n", status);
        return false;
    }
    return true;
}

void Unexpected(const seam::Popup& p) {
    ++g_unexpectedPopups;
    std::fprintf(stderr, "bench-link: popup \"%s\": %s\n", p.title.c_str(), p.text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const double pacedSeconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const double unpacedSeconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    if (pacedSeconds <= 0 || unpacedSeconds <= 0) {
        std::fprintf(stderr, "usage: bench-link [paced seconds] [unpaced seconds]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!InitCVIRTE(0, argv, 0)) return 1;
    // A time-out popup would wait for an operator: answer it at once and count it.
    seam::Install();
    seam::SetUnexpectedHandler(Unexpected);
    RegisterProgramCallbacks();
    if (corvel::LoadPanels() < 0) {
        std::fprintf(stderr, "bench-link: panels did not load\n");
        return 1;
    }
    GetProjectDir(proj_dir);
    InitVars();
    DisplayPanel(panel);

    Sensor sensor;
    char answer[32];
    std::snprintf(answer, sizeof answer, "%.2f", kRequestMs);
    if (!Connect(sensor, {"--gloss", "80", "--answer-ms", answer})) return 1;
    const bool counting = benchlink::StartPaintCount();
    const Run paced = LiveFor(sensor, pacedSeconds);
    CloseCom(com);
    // What the screen shows after the paced run: the panel window's backing
    // store, the pixels the live frames' repaints left.
    if (const char* shot = std::getenv("BENCH_LINK_SHOT")) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->objectName() == QLatin1String("P"))
                w->screen()->grabWindow(w->winId()).save(QString::fromLocal8Bit(shot));
    }
    if (counting) benchlink::ReportPaintCount(paced.frames);

    if (!Connect(sensor, {"--gloss", "80", "--unpaced"})) return 1;
    const Run unpaced = LiveFor(sensor, unpacedSeconds);
    CloseCom(com);

    if (!sensor.Start({"--gloss", "80", "--answer-ms", answer})) return 1;
    const Run ceiling = BareClient(sensor, pacedSeconds);
    Run ticked[2];
    const char* ticks[2] = {"1", "16"};
    for (int i = 0; i < 2; ++i) {
        if (!Connect(sensor, {"--gloss", "80", "--answer-ms", answer, "--tick", ticks[i]})) return 1;
        ticked[i] = LiveFor(sensor, unpacedSeconds);
        CloseCom(com);
    }
    sensor.Stop();

    const double ratio = paced.Fps() / kLineLimitFps;
    std::printf("bench-link: live loop GetData against the virtual sensor (COM%d, pseudo-terminal)\n", kCom);
    std::printf(
        "  paced 19200 baud: %lu frames in %.2f s = %.2f frames/s; line-speed limit %.2f frames/s "
        "(%.1f ms a frame); ratio %.1f %% (goal >= %.0f %%)\n",
        paced.frames, paced.wall, paced.Fps(), kLineLimitFps, 1000.0 / kLineLimitFps, ratio * 100,
        kGoalRatio * 100);
    std::printf(
        "  paced CPU: %.3f s in %.2f s = %.2f %% of one core per second of live data (goal < %.0f %%); "
        "%.0f us a frame (%.0f us of it in the kernel)\n",
        paced.cpu, paced.wall, paced.CpuShare() * 100, kGoalCpuShare * 100,
        paced.frames ? paced.cpu * 1e6 / paced.frames : 0.0,
        paced.frames ? paced.sys * 1e6 / paced.frames : 0.0);
    std::printf(
        "  sensor's own ceiling (bare client, no panel work): %.2f frames/s; the program reaches %.1f %% "
        "of it (target >= 99 %%)\n",
        ceiling.Fps(), ceiling.Fps() > 0 ? paced.Fps() / ceiling.Fps() * 100 : 0.0);
    // The exchange alone, with nothing shown: what a paced frame costs at the least.
    std::printf("  bare client CPU: %.0f us a frame\n",
                ceiling.frames ? ceiling.cpu * 1e6 / ceiling.frames : 0.0);
    std::printf("  paced CPU target: < 1 %% of a core (about 350 us a frame): %s\n",
                paced.CpuShare() < 0.01 ? "met" : "not met");
    for (int i = 0; i < 2; ++i)
        std::printf(
            "  replies in pieces at a %2s ms tick (a USB adapter's latency timer): %.2f frames/s, %.1f %% of "
            "the line limit\n",
            ticks[i], ticked[i].Fps(), ticked[i].Fps() / kLineLimitFps * 100);
    const double cpuPerFrame = unpaced.frames ? unpaced.cpu / unpaced.frames : 0.0;
    std::printf("  unpaced: %lu frames in %.2f s = %.0f frames/s (goal > %.0f); %.0f us wall a frame\n",
                unpaced.frames, unpaced.wall, unpaced.Fps(), kGoalUnpacedFps,
                unpaced.frames ? unpaced.wall * 1e6 / unpaced.frames : 0.0);
    std::printf(
        "  unpaced CPU: %.0f us a frame, so the program alone would allow %.0f frames/s on one core\n",
        cpuPerFrame * 1e6, cpuPerFrame > 0 ? 1.0 / cpuPerFrame : 0.0);

    bool ok = true;
    if (paced.frames == 0 || unpaced.frames == 0 || ceiling.frames == 0 || ticked[0].frames == 0 ||
        ticked[1].frames == 0) {
        std::printf("  FAILED: the live loop showed no frames\n");
        ok = false;
    }
    if (g_unexpectedPopups > 0) {
        std::printf("  FAILED: %d popups during the live loop (time-outs)\n", g_unexpectedPopups);
        ok = false;
    }
    if (ratio < kGoalRatio) {
        std::printf("  GOAL MISSED: frame rate %.1f %% of the line-speed limit\n", ratio * 100);
        ok = false;
    }
    if (paced.CpuShare() >= kGoalCpuShare) {
        std::printf("  GOAL MISSED: CPU %.2f %% of one core during paced live data\n",
                    paced.CpuShare() * 100);
        ok = false;
    }
    if (unpaced.Fps() <= kGoalUnpacedFps) {
        std::printf("  GOAL MISSED: unpaced %.0f frames/s\n", unpaced.Fps());
        ok = false;
    }
    std::printf("  %s\n", ok ? "all goals met" : "not all goals met");
    return ok ? 0 : 1;
}
