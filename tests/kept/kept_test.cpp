// Settings kept between runs: a settings file gives the panels their sizes,
// the file popups their folders and OPEN FILE its recent files; a damaged
// one is ignored with one line on standard error.
#include "app/kept.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/corvel.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "platform/theme.h"
#include "support/panels.h"
#include "support/sandbox.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

class Kept : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        seam::Clear();
        ASSERT_FALSE(root.empty());
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        ini = root + "/config/corvel-scope/corvel-scope.ini";
        mkdir((root + "/config").c_str(), 0755);
        mkdir((root + "/config/corvel-scope").c_str(), 0755);
        records = root + "/records";
        params = root + "/params";
        mkdir(records.c_str(), 0755);
        mkdir(params.c_str(), 0755);
        std::ofstream(records + "/old.dat") << "";
    }
    void TearDown() override {
        HidePanel(graphpanel);
        HidePanel(recpanel);
        testsupport::RemoveTree(root);
        EXPECT_EQ(seam::Pending(), 0);
    }
    std::string root = testsupport::MakeTempFolder("kept"), ini, records, params;
};

TEST_F(Kept, ASettingsFileGivesSizesFoldersAndRecentFilesAndTheEndKeepsThem) {
    // As an operator or an administrator could write it by hand.
    std::ofstream(ini) << "[General]\nformat=1\n\n[folders]\nparameters=" << params << "\nrecords=" << records
                       << "\n\n[panels]\nGRAPHP\\width=1200\nGRAPHP\\height=777\n\n[recent]\nrecords="
                       << records << "/old.dat, " << records << "/gone.dat\n";
    KeepStart();
    int w = 0, h = 0;
    GetPanelSize(graphpanel, &w, &h);
    EXPECT_EQ(w, 1200);
    EXPECT_EQ(h, 777);
    EXPECT_STREQ(StartFolder(KEPT_RECORDS), records.c_str());
    EXPECT_STREQ(StartFolder(KEPT_PARAMETERS), params.c_str());

    // OPEN FILE starts there and lists the recent files that still exist.
    DisplayPanel(graphpanel);
    seam::ExpectFile(0, "");
    sim::Click(graphpanel, GRAPHP_BUTTONOPENRECFILE);
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].directory, records);
    EXPECT_EQ(seam::Shown()[0].recent, std::vector<std::string>{records + "/old.dat"});

    // A record file chosen in the recorder: its folder and the file are
    // kept at once; the panel's new size at the end.
    const std::string other = root + "/line2";
    mkdir(other.c_str(), 0755);
    seam::ExpectFile(2, other + "/new.dat");
    DisplayPanel(recpanel);
    sim::Click(recpanel, RECP_BUTTONSELRECFILE);
    EXPECT_STREQ(StartFolder(KEPT_RECORDS), other.c_str());
    EXPECT_NE(testsupport::FileBytes(ini).find("line2"), std::string::npos);
    SetPanelSize(graphpanel, 1234, 800);
    KeepEnd();

    SetPanelSize(graphpanel, 1000, 700);
    KeepStart();
    GetPanelSize(graphpanel, &w, &h);
    EXPECT_EQ(w, 1234);
    EXPECT_EQ(h, 800);
    EXPECT_STREQ(StartFolder(KEPT_RECORDS), other.c_str());
    char recent[260];
    ASSERT_TRUE(RecentRecordFile(0, recent, sizeof recent));
    EXPECT_EQ(std::string(recent), other + "/new.dat");
    ASSERT_TRUE(RecentRecordFile(1, recent, sizeof recent));
    EXPECT_EQ(std::string(recent), records + "/old.dat");
    EXPECT_EQ(testsupport::FileBytes(ini).rfind("[General]\nformat=1\n", 0), 0u)
        << testsupport::FileBytes(ini);
}

TEST_F(Kept, ADamagedFileIsIgnoredWithOneLineAndBadValuesAreLeftOut) {
    int w0 = 0, h0 = 0;
    SetPanelSize(recpanel, 990, 600);
    GetPanelSize(recpanel, &w0, &h0);
    std::ofstream(ini, std::ios::binary) << std::string(
                                                "\x7f"
                                                "ELF\x02\x01\x00[[=",
                                                10)
                                         << "\nRECP\\width=300\n";
    testing::internal::CaptureStderr();
    KeepStart();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(ini), std::string::npos) << said;
    EXPECT_STREQ(StartFolder(KEPT_RECORDS), proj_dir);
    int w = 0, h = 0;
    GetPanelSize(recpanel, &w, &h);
    EXPECT_EQ(w, w0);
    EXPECT_EQ(h, h0);

    // Ours, but with values no window or folder has: each one left out, silently.
    std::ofstream(ini, std::ios::trunc) << "[General]\nformat=1\n[folders]\nrecords=" << root
                                        << "/no such folder\n[panels]\nRECP\\width=wide\nRECP\\height=-5\n";
    testing::internal::CaptureStderr();
    KeepStart();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    GetPanelSize(recpanel, &w, &h);
    EXPECT_EQ(w, w0);
    EXPECT_EQ(h, h0);
    EXPECT_STREQ(StartFolder(KEPT_RECORDS), proj_dir);

    // A size below the panel's minimum gives the minimum, never a cut panel.
    std::ofstream(ini, std::ios::trunc) << "[General]\nformat=1\n[panels]\nRECP\\width=10\nRECP\\height=10\n";
    KeepStart();
    int mw = 0, mh = 0;
    GetPanelMinimumSize(recpanel, &mw, &mh);
    GetPanelSize(recpanel, &w, &h);
    EXPECT_EQ(w, mw);
    EXPECT_EQ(h, mh);
}

}  // namespace
