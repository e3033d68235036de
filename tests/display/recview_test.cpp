// The graph panel as a record viewer: a record file opened, plotted, read
// under the mouse, zoomed, and exported as CSV.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/corvel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "support/recordfixture.h"
#include "support/records.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

// A record of a file of another installation: "\r\n" line ends unless told.
std::string Record(const char* date, const char* time, const unsigned (&v)[7], const char* end = "\r\n") {
    return testsupport::RecordBytes(date, time, v, end);
}

const unsigned kFirst[7] = {2871, 3702, 1288, 742, 2495, 1003, 412};
const unsigned kMiddle[7] = {2000, 3850, 120, 1000, 980, 65535, 25};
const unsigned kLast[7] = {65535, 0, 1, 12345, 7, 998, 40};

std::string Text(int control) {
    char buf[256] = "";
    GetCtrlVal(graphpanel, control, buf, sizeof buf);
    return buf;
}

class RecordViewer : public testsupport::GraphPanelWithRecordFile {
protected:
    std::string FileName() const override { return "run.dat"; }
    // A file of another installation: "\r\n" line ends.
    std::string FileBytes() const override {
        return Record("12-08-2026", "15:21:39", kFirst) + Record("12-08-2026", "15:21:49", kMiddle) +
               Record("12-08-2026", "15:21:59", kLast);
    }
};

TEST_F(RecordViewer, PlotsEveryFrameOnTheSevenGraphsWithTheXAxisOverTheRun) {
    const unsigned short count = graphcnt, x1 = bufcnt[1], y1 = bufchref[1];
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    EXPECT_EQ(ViewedRecords(), 3);
    const int graphs[7] = {GRAPHP_PANELGRAPHCHREF, GRAPHP_PANELGRAPHCHDIR, GRAPHP_PANELGRAPHCHDIF,
                           GRAPHP_PANELGRAPHNORM,  GRAPHP_PANELGRAPHINT,   GRAPHP_PANELGRAPHGF,
                           GRAPHP_PANELGRAPHTEMP};
    const int displays[7] = {GRAPHP_DISPCHREFGRAPH, GRAPHP_DISPCHDIRGRAPH, GRAPHP_DISPCHDIFGRAPH,
                             GRAPHP_DISPNORMGRAPH,  GRAPHP_DISPINTGRAPH,   GRAPHP_DISPGFGRAPH,
                             GRAPHP_DISPTEMPGRAPH};
    for (int g = 0; g < 7; ++g) {
        SCOPED_TRACE(g);
        ASSERT_EQ(GetGraphPlotCount(graphpanel, graphs[g]), 1);
        double x[4], y[4];
        ASSERT_EQ(GetGraphPlotPoints(graphpanel, graphs[g], 0, x, y, 4, nullptr), 3);
        EXPECT_EQ(x[0], 0);
        EXPECT_EQ(y[0], kFirst[g]);
        EXPECT_EQ(y[1], kMiddle[g]);
        EXPECT_EQ(x[2], 2);
        EXPECT_EQ(y[2], kLast[g]);
        int shown = 0;
        GetCtrlVal(graphpanel, displays[g], &shown);
        EXPECT_EQ(shown, static_cast<int>(kLast[g]));
        double lo = -1, hi = -1;
        GetAxisRange(graphpanel, graphs[g], VAL_XAXIS, &lo, &hi);
        EXPECT_EQ(lo, 0);
        EXPECT_EQ(hi, 2);
    }
    EXPECT_EQ(Text(GRAPHP_DISPVIEWFILE),
              "run.dat in " + dir + ": 3 records, 2026-12-08T15:21:39 to 2026-12-08T15:21:59");
    // The recorder's counters and buffers are not the file's.
    EXPECT_EQ(graphcnt, count);
    EXPECT_EQ(bufcnt[1], x1);
    EXPECT_EQ(bufchref[1], y1);
}

TEST_F(RecordViewer, ARecordAfterViewingAFileContinuesTheRunsLines) {
    dataChRef = 100;
    dataGf = 1003;
    InitPanelGraph();
    SetPanelGraphData();
    dataChRef = 200;
    SetPanelGraphData();
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);  // a second file keeps the run aside too
    EXPECT_EQ(GetGraphPlotCount(graphpanel, GRAPHP_PANELGRAPHCHREF), 1);
    EXPECT_EQ(graphcnt, 2);
    EXPECT_EQ(bufcnt[1], 1);
    EXPECT_EQ(bufchref[1], 200);

    dataChRef = 300;
    SetPanelGraphData();  // as a manual record does
    EXPECT_EQ(ViewedRecords(), 0);
    EXPECT_EQ(Text(GRAPHP_DISPVIEWFILE), "");
    for (int g : {GRAPHP_PANELGRAPHCHREF, GRAPHP_PANELGRAPHGF}) {
        SCOPED_TRACE(g);
        ASSERT_EQ(GetGraphPlotCount(graphpanel, g), 3);  // the run's two lines and the new one
        double x[2], y[2];
        ASSERT_EQ(GetGraphPlotPoints(graphpanel, g, 2, x, y, 2, nullptr), 2);
        EXPECT_EQ(x[0], 1);
        EXPECT_EQ(x[1], 2);
        EXPECT_EQ(y[0], g == GRAPHP_PANELGRAPHGF ? 1003 : 200);
        EXPECT_EQ(y[1], g == GRAPHP_PANELGRAPHGF ? 1003 : 300);
    }
}

TEST_F(RecordViewer, CursorReadoutWheelZoomDragAndDoubleClick) {
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    CBF_PanelGraphGraph(graphpanel, GRAPHP_PANELGRAPHGF, EVENT_GRAPH_CURSOR, nullptr, 1, 0);
    EXPECT_EQ(Text(GRAPHP_DISPCURSOR), "FRAME 1   GF (0.1 units) 65535\n2026-12-08T15:21:49");
    CBF_PanelGraphGraph(graphpanel, GRAPHP_PANELGRAPHCHREF, EVENT_GRAPH_CURSOR, nullptr, 3, 0);
    EXPECT_EQ(Text(GRAPHP_DISPCURSOR), "");  // beyond the run

    // The real mouse over the middle of the shown graph reads frame 1.
    sim::Hover(graphpanel, GRAPHP_PANELGRAPHCHREF, 0.5, 0.5);
    EXPECT_EQ(Text(GRAPHP_DISPCURSOR).substr(0, 15), "FRAME 1   CH_RE");

    double lo = 0, hi = 0;
    sim::Wheel(graphpanel, GRAPHP_PANELGRAPHCHREF, 2);
    GetAxisRange(graphpanel, GRAPHP_PANELGRAPHCHREF, VAL_XAXIS, &lo, &hi);
    EXPECT_GT(lo, 0);
    EXPECT_LT(hi, 2);
    EXPECT_NEAR(hi - lo, 2 * 0.64, 1e-6);
    sim::DoubleClick(graphpanel, GRAPHP_PANELGRAPHCHREF);
    GetAxisRange(graphpanel, GRAPHP_PANELGRAPHCHREF, VAL_XAXIS, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 2);
    // The right click keeps its help.
    seam::ExpectMessage();
    sim::RightClick(graphpanel, GRAPHP_PANELGRAPHCHREF);
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].title, "INFO!");
}

TEST_F(RecordViewer, ExportIsTheConvertersCsvByteForByte) {
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    const std::string csv = dir + "/run.csv";
    ASSERT_EQ(ExportViewedCsv(csv.c_str()), 0);
    std::ifstream in(csv, std::ios::binary);
    std::stringstream got;
    got << in.rdbuf();
    EXPECT_EQ(got.str(),
              "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp\n"
              "0,2026-12-08T15:21:39,2871,3702,1288,742,2495,1003,412\n"
              "1,2026-12-08T15:21:49,2000,3850,120,1000,980,65535,25\n"
              "2,2026-12-08T15:21:59,65535,0,1,12345,7,998,40\n");
}

TEST_F(RecordViewer, DamagedOrMissingFilesAreToldOnThePanel) {
    std::ofstream(path, std::ios::binary | std::ios::app) << "garbage";
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);  // the complete records are shown
    EXPECT_EQ(ViewedRecords(), 3);
    EXPECT_NE(Text(GRAPHP_DISPVIEWFILE).find("damaged from byte 204 on"), std::string::npos)
        << Text(GRAPHP_DISPVIEWFILE);

    EXPECT_LT(OpenRecordFile((dir + "/none.dat").c_str()), 0);
    EXPECT_NE(Text(GRAPHP_DISPVIEWFILE).find("could not be read"), std::string::npos);
    EXPECT_EQ(ViewedRecords(), 3);  // what was shown stays
    // A new timed run takes the graphs back; its frames read from the graph.
    InitPanelGraph();
    EXPECT_EQ(ViewedRecords(), 0);
    EXPECT_EQ(GetGraphPlotCount(graphpanel, GRAPHP_PANELGRAPHCHREF), 0);
    for (unsigned short v : {1500, 1600}) {
        dataNorm = v;
        SetPanelGraphData();
    }
    CBF_PanelGraphGraph(graphpanel, GRAPHP_PANELGRAPHNORM, EVENT_GRAPH_CURSOR, nullptr, 1, 0);
    EXPECT_EQ(Text(GRAPHP_DISPCURSOR), "FRAME 1   NORM 1600");
    EXPECT_TRUE(seam::Shown().empty());
}

}  // namespace

namespace {

TEST_F(RecordViewer, PictureOfALongRunZoomed) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (int k = 0; k < 2000; ++k) {
            const double w = std::sin(k / 80.0);
            const unsigned v[7] = {static_cast<unsigned>(2900 + 300 * w), 3700, 1300, 740, 2500, 1000, 410};
            char t[12];
            std::snprintf(t, sizeof t, "%02d:%02d:%02d", 9 + k / 3600, k / 60 % 60, k % 60);
            out << Record("12-08-2026", t, v, "\n");
        }
    }
    ASSERT_EQ(OpenRecordFile(path.c_str()), 0);
    sim::Wheel(graphpanel, GRAPHP_PANELGRAPHCHREF, 4);
    sim::Hover(graphpanel, GRAPHP_PANELGRAPHCHREF, 0.55, 0.5);
    double lo = 0, hi = 0;
    GetAxisRange(graphpanel, GRAPHP_PANELGRAPHCHREF, VAL_XAXIS, &lo, &hi);
    EXPECT_LT(hi - lo, 1999 * 0.5);
    EXPECT_EQ(Text(GRAPHP_DISPCURSOR).substr(0, 6), "FRAME ");
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    sim::Pump(20);
    EXPECT_EQ(SavePanelImage(graphpanel, CORVEL_SCREENSHOT_DIR "/state_record_file_zoomed.png"), 0);
}

}  // namespace
