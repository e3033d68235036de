// live and record: the data frames at line rate into CSV, and the timed
// recording into a record file as the recorder writes it. SIGINT and
// SIGTERM end either after the frame in hand, with the file complete.
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "app/corvel.h"
#include "ctl/ctl.h"
#include "link/engine.h"
#include "platform/files.h"
#include "recorder/recwrite.h"

namespace ctl {

namespace {

volatile sig_atomic_t stopRequested = 0;

void OnStop(int) {
    stopRequested = 1;
}

// Local date and time with milliseconds: 2026-12-09T01:53:12.345
std::string IsoNow() {
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    struct tm t;
    localtime_r(&tv.tv_sec, &t);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03ld", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, static_cast<long>(tv.tv_usec / 1000 % 1000));
    return text;
}

// A file for writing that is no FIFO or device: those would block or
// swallow the data. Null (the reason said) when refused.
FILE* OpenOutput(const std::string& name, const char* mode) {
    struct stat st;
    if (stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        Say("%s: not a regular file; give a file name\n", name.c_str());
        return nullptr;
    }
    FILE* f = std::fopen(name.c_str(), mode);
    if (!f) Say("%s: cannot be written: %s\n", name.c_str(), std::strerror(errno));
    return f;
}

bool WriteRow(FILE* f, const char* row) {
    return std::fputs(row, f) >= 0 && std::fflush(f) == 0;
}

}  // namespace

bool StopRequested() {
    return stopRequested != 0;
}

void InstallStopHandlers() {
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnStop;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

int RunLive(const Options& opt) {
    const bool toStdout = opt.output == "-";
    const std::string name = toStdout ? "" : ForPort(opt.output, opt.ports[0]);
    FILE* f = toStdout ? stdout : OpenOutput(name, "w");
    if (!f) return kBadInput;
    // Several ports on standard output: each row says whose it is.
    const std::string lead = toStdout ? MessagePrefix() : "";
    std::string header = lead + "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp,vec,ms\n";
    if (!WriteRow(f, header.c_str())) {
        Say("%s: cannot be written: %s\n", toStdout ? "standard output" : name.c_str(), std::strerror(errno));
        if (!toStdout) std::fclose(f);
        return kBadInput;
    }

    int status = kDone;
    long frame = 0, lost = 0, requested = 0;
    corvel::WaitTransDelay();
    const double start = Timer();
    while (!StopRequested()) {
        if (opt.frames && frame >= opt.frames) break;
        if (opt.seconds > 0 && Timer() - start >= opt.seconds) break;
        ++requested;
        const corvel::LinkResult r = corvel::LinkReadFrame(corvel::kOrderData, nullptr);
        if (r != corvel::LINK_ACCEPTED) {
            ++lost;
            Say("frame %ld lost: %s\n", requested, corvel::LinkResultText(r));
            status = kNoReply;
            if (!opt.keepGoing || r == corvel::LINK_PORT_GONE) break;
            continue;
        }
        using namespace corvel;
        char row[256];
        std::snprintf(row, sizeof row, "%s%ld,%s,%u,%u,%u,%u,%u,%u,%u,%u,%.1f\n", lead.c_str(), frame,
                      IsoNow().c_str(), dataChRef, dataChDir, dataChDif, dataNorm, dataInt, dataGf, dataTemp,
                      dataVec, (Timer() - start) * 1000.0);
        if (!WriteRow(f, row)) {
            Say("%s: cannot be written: %s\n", toStdout ? "standard output" : name.c_str(),
                std::strerror(errno));
            status = kBadInput;
            break;
        }
        ++frame;
    }
    if (!toStdout && std::fclose(f) != 0) status = kBadInput;
    if (lost) Say("%ld of %ld frames lost\n", lost, requested);
    return status;
}

int RunRecord(const Options& opt) {
    const std::string name = ForPort(opt.args[0], opt.ports[0]);
    // A timed run always starts with an empty file, as on the recorder.
    if (CVI_DeleteFile(name.c_str()) != 0 && TruncateFile(name.c_str()) != FILE_OK) {
        Say("%s: could not be emptied for a new recording: %s\n", name.c_str(), std::strerror(errno));
        return kBadInput;
    }
    int status = kDone;
    char record[corvel::kRecordSize + 1];
    corvel::WaitTransDelay();
    for (long n = 1; n <= opt.count; ++n) {
        const corvel::LinkResult r = corvel::LinkReadFrame(corvel::kOrderRecord, nullptr);
        const bool good = r == corvel::LINK_ACCEPTED;
        if (good) {
            // The interval wait comes before the record, so that each record
            // carries the time at the end of its interval.
            const double begin = Timer();
            while (Timer() - begin < opt.interval && !StopRequested()) Delay(0.001);
        } else {
            Say("frame %ld lost: %s; its record repeats the last values, and the recording ends\n", n,
                corvel::LinkResultText(r));
            status = kNoReply;
        }
        corvel::FormatRecord(record, DateStr(), TimeStr());
        if (!corvel::AppendRecord(name.c_str(), record)) {
            Say("%s: record %ld could not be written: %s\n", name.c_str(), n,
                std::strerror(errno ? errno : EIO));
            return kBadInput;
        }
        if (!good || StopRequested()) {
            if (good) Say("stopped after %ld of %ld records\n", n, opt.count);
            break;
        }
    }
    return status;
}

}  // namespace ctl
