// Judging a recording on the graph panel: the table for an opened file and
// for a running recording, a range marked with Shift+drag, a teach row's
// band, zoom, and the REPORT page; with pictures for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "platform/theme.h"
#include "support/panels.h"
#include "support/records.h"
#include "support/sandbox.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

// gf_tenths 1000, 1003, 997, 1010, 990 and norm 900..1100 in steps of 50.
std::string Frames(int count) {
    static const unsigned gf[5] = {1000, 1003, 997, 1010, 990};
    std::string all;
    for (int k = 0; k < count; ++k) {
        char t[12];
        std::snprintf(t, sizeof t, "10:00:%02d", k % 60);
        const unsigned v[7] = {100u + k, 500u, 10u, 900u + 50 * (k % 5), 2000u, gf[k % 5], 25u};
        all += testsupport::RecordBytes("12-08-2026", t, v);
    }
    return all;
}

std::string Box(int control) {
    std::string text;
    char line[1024];
    for (int i = 0; GetTextBoxLine(graphpanel, control, i, line, sizeof line) == 0; ++i)
        text += line + std::string("\n");
    return text;
}

class GraphStats : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        ASSERT_FALSE(dir.empty());
        seam::Install();
        SetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, static_cast<unsigned short>(5));
        SetGraphVisible();
        sim::ChooseRing(graphpanel, GRAPHP_SELECTBAND, 0);
    }
    void TearDown() override {
        ForgetViewedFile();
        seam::Uninstall();
        testsupport::RemoveTree(dir);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
        return dir + "/" + name;
    }
    std::string dir = testsupport::MakeTempFolder("corvel-graphstats");
};

TEST_F(GraphStats, OpenedFileMarkedRangeAndTeachRowBand) {
    const std::string path = Write("run.dat", Frames(5));
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    DisplayPanel(graphpanel);
    sim::Pump(20);
    // Whole run: mean 1000, std sqrt(218 / 4) = 7.38 (worked out by hand).
    std::string table = Box(GRAPHP_DISPSTATS);
    EXPECT_NE(table.find("frames 0 to 4 (5)\n2026-12-08T10:00:00 to 2026-12-08T10:00:04"), std::string::npos)
        << table;
    EXPECT_NE(table.find("gf_tenths       5    1000.00       7.38    990   1010     20"), std::string::npos)
        << table;
    EXPECT_NE(table.find("norm            5    1000.00      79.06    900   1100    200"), std::string::npos)
        << table;

    // The band of teach row 2, GF 1000 +- 5: inside 3, below 1, above 1.
    SetTableCellVal(panel, P_TEACHTABLE, 1, 3, static_cast<unsigned short>(1000));
    SetTableCellVal(panel, P_TEACHTABLE, 2, 3, static_cast<unsigned short>(5));
    sim::EnterValue(graphpanel, GRAPHP_EDITBANDROW, 2);
    sim::ChooseRing(graphpanel, GRAPHP_SELECTBAND, 1);
    std::string band = Box(GRAPHP_DISPBAND);
    EXPECT_NE(band.find("band gf_tenths 995 to 1005: inside 3 (60.0 %), below 1 (20.0 %), above 1 (20.0 %)"),
              std::string::npos)
        << band;
    EXPECT_NE(band.find("Pp 0.226  Ppk 0.226"), std::string::npos) << band;  // 10 / (6 * 7.3824)
    EXPECT_NE(band.find("teach row 2"), std::string::npos) << band;
    // CH_REF has no taught band: said, not made up.
    SetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, static_cast<unsigned short>(0));
    SetGraphVisible();
    EXPECT_NE(Box(GRAPHP_DISPBAND).find("no band for CH_REF"), std::string::npos);
    SetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, static_cast<unsigned short>(5));
    SetGraphVisible();

    // Shift+drag over the middle marks frames 1..3; a double click returns to the whole run.
    double lo = 0, hi = 0;
    GetAxisRange(graphpanel, GRAPHP_PANELGRAPHGF, VAL_XAXIS, &lo, &hi);
    ASSERT_EQ(lo, 0);
    ASSERT_EQ(hi, 4);
    sim::ShiftDrag(graphpanel, GRAPHP_PANELGRAPHGF, 0.35, 0.72, 0.5);
    table = Box(GRAPHP_DISPSTATS);
    EXPECT_NE(table.find("marked range: frames "), std::string::npos) << table;
    const std::size_t at = table.find("frames ") + 7;
    const int from = std::atoi(table.c_str() + at);
    EXPECT_GE(from, 1);
    EXPECT_LE(from, 2);
    if (from == 1) {  // 1003, 997, 1010: mean 1003.33, std 6.51
        EXPECT_NE(table.find("gf_tenths       3    1003.33       6.51    997   1010     13"),
                  std::string::npos)
            << table;
    }
    sim::DoubleClick(graphpanel, GRAPHP_PANELGRAPHGF);
    EXPECT_NE(Box(GRAPHP_DISPSTATS).find("frames in view: frames 0 to 4 (5)"), std::string::npos);

    // Typed limits that are the wrong way round are refused with a reason.
    sim::ChooseRing(graphpanel, GRAPHP_SELECTBAND, 2);
    sim::EnterValue(graphpanel, GRAPHP_EDITBANDLO, 1200);
    sim::EnterValue(graphpanel, GRAPHP_EDITBANDHI, 1100);
    EXPECT_NE(Box(GRAPHP_DISPBAND).find("lower limit is above"), std::string::npos);
    HidePanel(graphpanel);
}

TEST_F(GraphStats, ZoomRunningRecordingAndEmptyRange) {
    // A run: the numbers follow it, at most a few times a second.
    dataGf = 1000;
    InitPanelGraph();
    for (int k = 0; k < 50; ++k) {
        dataGf = static_cast<unsigned short>(k % 2 ? 1010 : 990);  // mean 1000, s = 10 * sqrt(50 / 49)
        SetPanelGraphData();
    }
    RefreshGraphStats();
    std::string table = Box(GRAPHP_DISPSTATS);
    EXPECT_NE(table.find("gf_tenths      50    1000.00      10.10    990   1010     20"), std::string::npos)
        << table;

    // Zoomed in, the frames in view are judged.
    DisplayPanel(graphpanel);
    sim::Wheel(graphpanel, GRAPHP_PANELGRAPHGF, 3);
    double lo = 0, hi = 0;
    GetAxisRange(graphpanel, GRAPHP_PANELGRAPHGF, VAL_XAXIS, &lo, &hi);
    const long inView = static_cast<long>(std::floor(hi)) - static_cast<long>(std::ceil(lo)) + 1;
    ASSERT_LT(inView, 50);
    char want[64];
    std::snprintf(want, sizeof want, "gf_tenths  %6ld", inView);
    EXPECT_NE(Box(GRAPHP_DISPSTATS).find(want), std::string::npos) << Box(GRAPHP_DISPSTATS);

    // A view beyond the frames: no numbers made up.
    const std::string path = Write("one.dat", Frames(1));
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    table = Box(GRAPHP_DISPSTATS);
    EXPECT_NE(table.find("gf_tenths       1    1000.00        n/a   1000   1000      0"), std::string::npos)
        << table;
    GraphStatsEvent(EVENT_GRAPH_RANGE, 7, 9);
    table = Box(GRAPHP_DISPSTATS);
    EXPECT_NE(table.find("no frames in the range"), std::string::npos) << table;
    EXPECT_EQ(table.find("nan"), std::string::npos) << table;
    HidePanel(graphpanel);
}

TEST_F(GraphStats, ReportBesideTheRecordFileAndPictures) {
    const std::string path = Write("line7.dat", Frames(300));
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    sim::ChooseRing(graphpanel, GRAPHP_SELECTBAND, 2);
    sim::EnterValue(graphpanel, GRAPHP_EDITBANDLO, 995);
    sim::EnterValue(graphpanel, GRAPHP_EDITBANDHI, 1008);
    DisplayPanel(graphpanel);
    sim::Pump(50);

    const std::string pdf = dir + "/line7-report.pdf";
    seam::ExpectFile(2, pdf);
    sim::Click(graphpanel, GRAPHP_BUTTONREPORT);
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].text, "line7-report.pdf");  // proposed beside the record file
    EXPECT_EQ(seam::Shown()[0].directory, dir);
    std::ifstream f(pdf, std::ios::binary);
    std::string head(5, '\0');
    f.read(&head[0], 5);
    EXPECT_EQ(head, "%PDF-");
    struct stat st;
    ASSERT_EQ(stat(pdf.c_str(), &st), 0);
    EXPECT_GT(st.st_size, 5000);

    // Pictures for a person: the panel light and dark, the report page.
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    for (int scheme : {SCHEME_LIGHT, SCHEME_DARK}) {
        UseColourScheme(scheme);
        sim::Pump(50);
        const std::string png =
            std::string(CORVEL_SCREENSHOT_DIR) +
            (scheme == SCHEME_DARK ? "/graphp_stats_dark.png" : "/graphp_stats_light.png");
        ASSERT_EQ(SavePanelImage(graphpanel, png.c_str()), 0);
        ASSERT_EQ(stat(png.c_str(), &st), 0);
        EXPECT_GT(st.st_size, 1000);
    }
    UseColourScheme(SCHEME_DESKTOP);
    std::system(("cp '" + pdf + "' '" + CORVEL_SCREENSHOT_DIR + "/report.pdf'").c_str());
    HidePanel(graphpanel);
}

}  // namespace
