// Per-frame cost of the live display: SetPanelData and ShowGraph with the
// main panel shown, pending events processed after each frame as the
// live-data loop does. Prints wall and CPU time per frame for each source,
// and fails when a frame costs a millisecond of CPU or more.
//   bench-display [frames per source]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

double Now(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void Frame(int k) {
    double w = std::sin(k * 0.1);
    dataChRef = static_cast<unsigned short>(3500 + 30 * w);
    dataChDir = static_cast<unsigned short>(3400 + 100 * w);
    dataChDif = static_cast<unsigned short>(900 - 50 * w);
    dataNorm = static_cast<unsigned short>(790 + 10 * w);
    dataInt = static_cast<unsigned short>(2150 + 25 * w);
    dataGf = static_cast<unsigned short>(1003 + 40 * w);
    dataVec = static_cast<unsigned short>(k % 31);
    dataTemp = 31;
}

struct Cost {
    double wallUs, cpuUs, logicCpuUs;
};

// `frames` live frames; logicCpuUs counts SetPanelData + ShowGraph alone.
Cost Run(int frames, int& k) {
    double logic = 0;
    double w0 = Now(CLOCK_MONOTONIC), c0 = Now(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < frames; ++i, ++k) {
        Frame(k);
        double l0 = Now(CLOCK_PROCESS_CPUTIME_ID);
        SetPanelData();
        ShowGraph();
        logic += Now(CLOCK_PROCESS_CPUTIME_ID) - l0;
        ProcessSystemEvents();
    }
    double w1 = Now(CLOCK_MONOTONIC), c1 = Now(CLOCK_PROCESS_CPUTIME_ID);
    return Cost{(w1 - w0) * 1e6 / frames, (c1 - c0) * 1e6 / frames, logic * 1e6 / frames};
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 3000;
    if (frames < 1) frames = 3000;
    if (!InitCVIRTE(0, argv, 0)) return 1;
    RegisterProgramCallbacks();
    if (corvel::LoadPanels() < 0) {
        std::fprintf(stderr, "bench-display: panels did not load\n");
        return 1;
    }
    DisplayPanel(panel);
    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(4));
    SetTableCellVal(panel, P_TEACHTABLE, 1, 5, 790);
    SetTableCellVal(panel, P_TEACHTABLE, 2, 5, 15);
    SetTableCellVal(panel, P_TEACHTABLE, 3, 5, 2150);
    SetTableCellVal(panel, P_TEACHTABLE, 4, 5, 80);

    const char* names[5] = {"NORM", "INT", "GF fixed", "GF auto zoom", "RAW"};
    const unsigned short sources[5] = {0, 1, 2, 2, 3};
    double worst = 0;
    int k = 0;
    std::printf("bench-display: %d frames per source, panel shown\n", frames);
    std::printf("%-14s %12s %12s %16s\n", "source", "wall us/fr", "CPU us/fr", "logic CPU us/fr");
    for (int s = 0; s < 5; ++s) {
        SetCtrlVal(panel, P_SELECTSOURCE, sources[s]);
        DispVis();
        scale = s == 3 ? 1 : 0;
        Run(100, k);  // warm-up: the chart fills, first paints are done
        Cost c = Run(frames, k);
        std::printf("%-14s %12.1f %12.1f %16.1f\n", names[s], c.wallUs, c.cpuUs, c.logicCpuUs);
        if (c.cpuUs > worst) worst = c.cpuUs;
    }
    // Where the time goes: the same frames with the chart hidden, and with
    // the whole panel hidden (no painting at all).
    SetCtrlAttribute(panel, P_GRAPHRAW1, ATTR_VISIBLE, 0);
    Run(100, k);
    Cost c = Run(frames, k);
    std::printf("%-14s %12.1f %12.1f %16.1f\n", "RAW, no chart", c.wallUs, c.cpuUs, c.logicCpuUs);
    HidePanel(panel);
    Run(100, k);
    c = Run(frames, k);
    std::printf("%-14s %12.1f %12.1f %16.1f\n", "panel hidden", c.wallUs, c.cpuUs, c.logicCpuUs);
    std::printf("worst CPU per frame: %.1f us (limit 1000 us)\n", worst);
    return worst < 1000.0 ? 0 : 2;
}
