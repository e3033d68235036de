// The graph panel's record-file fixture.
#include "support/recordfixture.h"

#include <fstream>

#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "support/sandbox.h"
#include "uir_ids.h"

namespace testsupport {

void GraphPanelWithRecordFile::SetUp() {
    ASSERT_TRUE(LoadProgramPanels());
    seam::Clear();
    dir = MakeTempFolder("corvel-graph");
    ASSERT_FALSE(dir.empty());
    path = dir + "/" + FileName();
    std::ofstream(path, std::ios::binary) << FileBytes();
    SetCtrlVal(corvel::graphpanel, GRAPHP_EDITSIGNAL, 0);
    corvel::SetGraphVisible();
    DisplayPanel(corvel::graphpanel);
}

void GraphPanelWithRecordFile::TearDown() {
    corvel::ForgetViewedFile();
    HidePanel(corvel::graphpanel);
    EXPECT_TRUE(RemoveTree(dir));
    EXPECT_EQ(seam::Pending(), 0);
}

}  // namespace testsupport
