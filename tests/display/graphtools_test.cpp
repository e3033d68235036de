// The graph panel's keys and tools: CLOSE and Esc, Ctrl+O and Ctrl+E, the
// proposed CSV name, fitting Y, and a file line that never cuts its text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "platform/theme.h"
#include "recorder/recorder.h"
#include "support/panels.h"
#include "support/recordfixture.h"
#include "support/records.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

// One record of the day's file; only CH_REF changes.
std::string Record(const char* time, unsigned chref) {
    return testsupport::RecordBytes("12-08-2026", time, {chref, 3700u, 1300u, 740u, 2500u, 1000u, 410u});
}

class GraphTools : public testsupport::GraphPanelWithRecordFile {
protected:
    std::string FileName() const override { return "shift 3.run.dat"; }
    std::string FileBytes() const override {
        return Record("06:00:00", 2000) + Record("06:00:01", 2100) + Record("06:00:02", 2900) +
               Record("06:00:03", 2050);
    }
};

TEST_F(GraphTools, CloseButtonAndEscHideThePanelAsItsWindowCloseDoes) {
    sim::Click(graphpanel, GRAPHP_BUTTONCLOSEGRAPH);
    EXPECT_EQ(IsPanelVisible(graphpanel), 0);
    DisplayPanel(graphpanel);
    sim::Key(graphpanel, "Esc");
    EXPECT_EQ(IsPanelVisible(graphpanel), 0);

    // The recorder and the calibration panel give the main panel back.
    DisplayPanel(recpanel);
    pollrecord = 1;
    sim::Key(recpanel, "Esc");
    EXPECT_EQ(IsPanelVisible(recpanel), 0);
    EXPECT_EQ(IsPanelVisible(panel), 1);
    EXPECT_EQ(pollrecord, 0);  // a run beneath would end, as with CLOSE RECORDER
    HidePanel(panel);
    DisplayPanel(calibpanel);
    sim::Key(calibpanel, "Esc");
    EXPECT_EQ(IsPanelVisible(calibpanel), 0);
    EXPECT_EQ(IsPanelVisible(panel), 1);
    HidePanel(panel);
    // The main panel has no such key: Esc there must not end the program.
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(GraphTools, CtrlOOpensRecordFilesFirstAndCtrlEProposesTheShownFilesNameAsCsv) {
    seam::ExpectFile(1, path);
    sim::Key(graphpanel, "Ctrl+O");
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].title, "OPEN RECORD FILE");
    EXPECT_EQ(seam::Shown()[0].filter, "Record files (*.dat)");
    EXPECT_EQ(ViewedRecords(), 4);

    const std::string csv = dir + "/shift 3.run.csv";
    seam::ExpectFile(2, csv);
    sim::Key(graphpanel, "Ctrl+E");
    ASSERT_EQ(seam::Shown().size(), 2u);
    const seam::Popup& p = seam::Shown()[1];
    EXPECT_EQ(p.title, "EXPORT CSV");
    EXPECT_EQ(p.directory, dir);
    EXPECT_EQ(p.text, "shift 3.run.csv");  // only the last extension goes
    EXPECT_EQ(access(csv.c_str(), F_OK), 0);
    // The message names the whole path, however long.
    char line[1024] = "";
    GetCtrlVal(graphpanel, GRAPHP_DISPVIEWFILE, line, sizeof line);
    EXPECT_EQ(std::string(line), "CSV of 4 records written to " + csv);
}

TEST(CsvProposal, FolderAndNameOfTheRecordFile) {
    char folder[260], name[260];
    ProposeCsvFile("/data/line2/run.dat", folder, sizeof folder, name, sizeof name);
    EXPECT_STREQ(folder, "/data/line2");
    EXPECT_STREQ(name, "run.csv");
    ProposeCsvFile("/run", folder, sizeof folder, name, sizeof name);
    EXPECT_STREQ(folder, "/");
    EXPECT_STREQ(name, "run.csv");
    ProposeCsvFile("/data/.hidden", folder, sizeof folder, name, sizeof name);
    EXPECT_STREQ(name, ".hidden.csv");
    ProposeCsvFile("", folder, sizeof folder, name, sizeof name);
    EXPECT_STREQ(folder, proj_dir);
    EXPECT_STREQ(name, "record.csv");
}

TEST_F(GraphTools, FitYShowsTheValuesOfTheFramesShownAndAFileLineKeepsItsWholeText) {
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    sim::Click(graphpanel, GRAPHP_BUTTONFITY);
    double lo = 0, hi = 0;
    // Fitted: the values 2000 to 2900 fill the axis, the panel's 0 to 4095 are gone.
    ASSERT_TRUE(sim::ShownYRange(graphpanel, GRAPHP_PANELGRAPHCHREF, &lo, &hi));
    EXPECT_LE(lo, 2000);
    EXPECT_GT(lo, 1900);
    EXPECT_GE(hi, 2900);
    EXPECT_LT(hi, 3000);
    ResetGraphView(graphpanel, GRAPHP_PANELGRAPHCHREF);
    ASSERT_TRUE(sim::ShownYRange(graphpanel, GRAPHP_PANELGRAPHCHREF, &lo, &hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 4095);

    // A path far wider than the line: shortened in the middle on the
    // screen, whole for the tooltip, a screen reader and the program.
    SetPanelSize(graphpanel, 1600, 900);
    sim::Pump(20);
    const std::string deep = dir + "/" + std::string(300, 'd');
    char text[1024] = "";
    ASSERT_EQ(OpenRecordFile(deep.c_str()), -1);
    GetCtrlVal(graphpanel, GRAPHP_DISPVIEWFILE, text, sizeof text);
    EXPECT_EQ(std::string(text), deep + " could not be read");
    // The whole text comes first in the tooltip, before the line's help.
    const std::string tip = sim::ShownToolTip(graphpanel, GRAPHP_DISPVIEWFILE);
    EXPECT_EQ(tip.substr(0, deep.size() + 18), deep + " could not be read");
    const std::string shown = sim::ShownText(graphpanel, GRAPHP_DISPVIEWFILE);
    EXPECT_LT(shown.size(), std::string(text).size());
    EXPECT_NE(shown.find("\u2026"), std::string::npos);
    EXPECT_EQ(shown.substr(0, dir.size()), dir);  // where it lies, and how the line ends
    const std::string end = "could not be read";
    ASSERT_GT(shown.size(), end.size());
    EXPECT_EQ(shown.substr(shown.size() - end.size()), end);
}

}  // namespace
