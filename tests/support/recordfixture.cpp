// The graph panel's record-file fixture.
#include "support/recordfixture.h"

#include <cstdlib>
#include <fstream>

#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "support/panels.h"
#include "uir_ids.h"

namespace testsupport {

void GraphPanelWithRecordFile::SetUp() {
    ASSERT_TRUE(LoadProgramPanels());
    seam::Clear();
    char tmpl[] = "/tmp/corvel-graph-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    path = dir + "/" + FileName();
    std::ofstream(path, std::ios::binary) << FileBytes();
    SetCtrlVal(corvel::graphpanel, GRAPHP_EDITSIGNAL, 0);
    corvel::SetGraphVisible();
    DisplayPanel(corvel::graphpanel);
}

void GraphPanelWithRecordFile::TearDown() {
    corvel::ForgetViewedFile();
    HidePanel(corvel::graphpanel);
    std::system(("rm -rf '" + dir + "'").c_str());
    EXPECT_EQ(seam::Pending(), 0);
}

}  // namespace testsupport
