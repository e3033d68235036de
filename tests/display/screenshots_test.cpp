// Pictures of the main panel during simulated live data, one per display
// source, saved for a person to look at (build folder, screenshots/).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "display/display.h"
#include "live.h"
#include "platform/testing.h"
#include "support/panels.h"

using namespace corvel;
using namespace displaytest;

namespace {

// A slowly drifting sample surface with a little ripple, as a real part gives.
Frame Simulated(int k) {
    double w = std::sin(k * 0.12) + 0.3 * std::sin(k * 0.71);
    auto u = [](double v) { return static_cast<unsigned short>(v < 0 ? 0 : v); };
    double dir = 3400 + 120 * w, dif = 900 - 60 * w;
    return {u(3550 + 20 * w),   u(dir),           u(dif), u(dir * 1000 / (dir + dif)),
            u((dir + dif) / 2), u(1003 + 40 * w), 4,      31};
}

TEST(Screenshots, MainPanelWithEachSource) {
    ASSERT_TRUE(testsupport::LoadProgramPanels());
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    DisplayPanel(panel);
    // The teach-table view, whose row gives the band.
    int paraVisible = 0;
    GetCtrlVal(panel, P_PARAVISIBLE, &paraVisible);
    if (paraVisible) sim::Click(panel, P_PARAVISIBLE);
    // A plausible teach table in place of what other tests left behind.
    for (unsigned short no = 0; no < 8; ++no) SetRow(no, 700 + 15 * no, 15, 2000 + 30 * no, 80);
    SetRow(4, 790, 15, 2150, 80);
    const char* names[4] = {"norm", "int", "gf", "raw"};
    int k = 0;
    for (unsigned short src = 0; src < 4; ++src) {
        sim::ChooseRing(panel, P_SELECTSOURCE, src);
        if (src == 2) {
            SetRow(4, 1000, 60, 2150, 80);
            scale = 1;
        }
        for (int i = 0; i < 140; ++i, ++k) {
            Load(Simulated(k));
            SetPanelData();
            ShowGraph();
            ProcessSystemEvents();
        }
        sim::Pump(50);
        char path[512];
        std::snprintf(path, sizeof path, "%s/main_%d_%s.png", CORVEL_SCREENSHOT_DIR, src, names[src]);
        ASSERT_EQ(SavePanelImage(panel, path), 0) << path;
        struct stat st;
        ASSERT_EQ(stat(path, &st), 0) << path;
        EXPECT_GT(st.st_size, 1000) << path;
    }
    scale = 0;
    HidePanel(panel);
}

TEST(Screenshots, GraphPanelAfterARecording) {
    ASSERT_TRUE(testsupport::LoadProgramPanels());
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    Load(Simulated(0));
    InitPanelGraph();
    for (int k = 1; k <= 200; ++k) {
        Load(Simulated(k));
        SetPanelGraphData();
    }
    DisplayPanel(graphpanel);
    const int signals[2] = {3, 5};  // NORM and GF
    for (int sig : signals) {
        SetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, static_cast<unsigned short>(sig));
        SetGraphVisible();
        sim::Pump(50);
        char path[512];
        std::snprintf(path, sizeof path, "%s/graphp_%d.png", CORVEL_SCREENSHOT_DIR, sig);
        ASSERT_EQ(SavePanelImage(graphpanel, path), 0) << path;
        struct stat st;
        ASSERT_EQ(stat(path, &st), 0) << path;
        EXPECT_GT(st.st_size, 1000) << path;
    }
    HidePanel(graphpanel);
}

}  // namespace
