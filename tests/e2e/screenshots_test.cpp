// Pictures of the main panel during live data from the virtual sensor, one
// per display source, saved for a person to look at (build folder,
// screenshots/live_*.png).
#include <sys/stat.h>

#include <cstdio>

#include "e2e.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class LiveScreenshots : public E2eTest {};

TEST_F(LiveScreenshots, MainPanelWithEachSource) {
    StartAndInit({"--gloss", "60", "--unpaced", "--answer-ms", "5"});
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    // The teach table view shows what the band belongs to.
    sim::Click(panel, P_PARAVISIBLE);
    const char* names[4] = {"norm", "int", "gf", "raw"};
    for (unsigned short src = 0; src < 4; ++src) {
        sim::ChooseRing(panel, P_SELECTSOURCE, src);
        dataChDir = 0;
        PauseOver();
        // About a second of live data, then STOP as the operator would.
        RunLive([] { sim::Click(panel, P_BUTTONGO); }, 1200, [] { sim::Click(panel, P_BUTTONSTOP); });
        EXPECT_GT(dataChDir, 0) << "no frame arrived";
        sim::Pump(30);
        char path[512];
        std::snprintf(path, sizeof path, "%s/live_%d_%s.png", CORVEL_SCREENSHOT_DIR, src, names[src]);
        ASSERT_EQ(SavePanelImage(panel, path), 0) << path;
        struct stat st;
        ASSERT_EQ(stat(path, &st), 0) << path;
        EXPECT_GT(st.st_size, 1000) << path;
    }
    sim::Click(panel, P_PARAVISIBLE);
}

}  // namespace
