// Opens a record file of 65,536 records into the graph panel, as the OPEN
// FILE button does, and prints the time it takes (goal: under a second),
// the time of the first paint of the shown graph, and the memory it adds.
//   bench-recview [records]
// Exits 1 when the goal is missed.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "benchrecords.h"
#include "display/display.h"
#include "platform/platform.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
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
    if (!bench::WriteDayFile(path, records)) {
        std::fprintf(stderr, "bench-recview: cannot write %s\n", path);
        return 2;
    }
    DisplayPanel(graphpanel);
    ProcessSystemEvents();

    const long before = bench::ResidentKb();
    const Clock::time_point t0 = Clock::now();
    const int rc = OpenRecordFile(path);
    const double open = Since(t0);
    const Clock::time_point t1 = Clock::now();
    ProcessSystemEvents();  // the first paint of the shown graph
    const double paint = Since(t1);
    const long after = bench::ResidentKb();
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
