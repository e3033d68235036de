// Opens a record file of 65,536 records into the graph panel, as the OPEN
// FILE button does, and prints the time it takes (goal: under a second),
// the time of the first paint of the shown graph, and the memory it adds.
//   bench-recview [records]
// Exits 1 when the goal is missed.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// Resident memory of this process in kB.
long ResidentKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

// A record file as the recorder writes it: a day of frames, values that swing.
bool WriteRecordFile(const char* path, long records) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    char rec[80];
    for (long k = 0; k < records; ++k) {
        std::memset(rec, 0, 24);
        const long s = 8 * 3600 + k;
        std::snprintf(rec, 12, "12-08-2026");
        std::snprintf(rec + 12, 12, "%02ld:%02ld:%02ld", s / 3600 % 24, s / 60 % 60, s % 60);
        const double w = std::sin(k / 500.0);
        std::snprintf(rec + 24, sizeof rec - 24, "%6d%6d%6d%6d%6d%6d%6d\n", static_cast<int>(2900 + 100 * w),
                      static_cast<int>(3700 + 150 * w), static_cast<int>(1300 - 80 * w),
                      static_cast<int>(740 + 20 * w), static_cast<int>(2500 + 60 * w),
                      static_cast<int>(1000 + 30 * w), static_cast<int>(410 + (k % 7)));
        if (std::fwrite(rec, 1, 24 + std::strlen(rec + 24), f) != 24 + std::strlen(rec + 24)) {
            std::fclose(f);
            return false;
        }
    }
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const long records = argc > 1 ? std::atol(argv[1]) : 65536;
    if (InitCVIRTE(0, argv, 0) == 0) return 2;
    RegisterProgramCallbacks();
    if (LoadPanels() < 0) {
        std::fprintf(stderr, "bench-recview: the panels did not load\n");
        return 2;
    }
    char path[] = "/tmp/bench-recview-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return 2;
    close(fd);
    if (!WriteRecordFile(path, records)) {
        std::fprintf(stderr, "bench-recview: cannot write %s\n", path);
        return 2;
    }
    DisplayPanel(graphpanel);
    ProcessSystemEvents();

    const long before = ResidentKb();
    const Clock::time_point t0 = Clock::now();
    const int rc = OpenRecordFile(path);
    const double open = Since(t0);
    const Clock::time_point t1 = Clock::now();
    ProcessSystemEvents();  // the first paint of the shown graph
    const double paint = Since(t1);
    const long after = ResidentKb();
    unlink(path);

    std::printf("records: %ld, shown: %d\n", records, ViewedRecords());
    std::printf("open into the graph panel: %.3f s (goal < 1 s); first paint %.3f s\n", open, paint);
    std::printf("memory: %.1f MB more resident (%.0f bytes a record)\n", (after - before) / 1024.0,
                records > 0 ? (after - before) * 1024.0 / records : 0.0);
    if (rc != 0 || ViewedRecords() != (records < 65536 ? records : 65536)) {
        std::printf("FAILED: the file was not shown whole\n");
        return 1;
    }
    if (open >= 1.0) {
        std::printf("GOAL MISSED: opening took %.3f s\n", open);
        return 1;
    }
    return 0;
}
