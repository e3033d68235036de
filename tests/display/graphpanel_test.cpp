// The graph panel of recorded frames: clearing, one two-point line per frame
// in each of the seven graphs, the wrap of the frame counter, visibility.
#include <gtest/gtest.h>

#include "app/helptexts.h"
#include "display/display.h"
#include "live.h"
#include "platform/testing.h"
#include "support/panels.h"

using namespace corvel;
using namespace displaytest;

namespace {

const int kGraphs[7] = {GRAPHP_PANELGRAPHCHREF, GRAPHP_PANELGRAPHCHDIR, GRAPHP_PANELGRAPHCHDIF,
                        GRAPHP_PANELGRAPHNORM,  GRAPHP_PANELGRAPHINT,   GRAPHP_PANELGRAPHGF,
                        GRAPHP_PANELGRAPHTEMP};
const int kDisplays[7] = {GRAPHP_DISPCHREFGRAPH, GRAPHP_DISPCHDIRGRAPH, GRAPHP_DISPCHDIFGRAPH,
                          GRAPHP_DISPNORMGRAPH,  GRAPHP_DISPINTGRAPH,   GRAPHP_DISPGFGRAPH,
                          GRAPHP_DISPTEMPGRAPH};
const int kColours[7] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF8000, 0x008080, 0x00FF00, 0x008080};

// Frame k with a distinct value per signal, in graph order.
Frame Numbered(int k) {
    auto u = [](int v) { return static_cast<unsigned short>(v); };
    return {u(100 + k), u(200 + k), u(300 + k), u(400 + k), u(500 + k), u(600 + k), 0, u(700 + k)};
}
int Value(const Frame& f, int g) {
    const unsigned short v[7] = {f.chRef, f.chDir, f.chDif, f.norm, f.inten, f.gf, f.temp};
    return v[g];
}

struct Line {
    double x0, y0, x1, y1;
    int colour;
    int count;
};

Line Last(int graph) {
    Line l{-1, -1, -1, -1, -1, 0};
    int n = GetGraphPlotCount(graphpanel, graph);
    double x[4], y[4];
    if (n > 0) l.count = GetGraphPlotPoints(graphpanel, graph, n - 1, x, y, 4, &l.colour);
    if (l.count >= 2) l = Line{x[0], y[0], x[1], y[1], l.colour, l.count};
    return l;
}

class GraphPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        seam::Clear();
    }
    void TearDown() override {
        HidePanel(graphpanel);
        EXPECT_EQ(seam::Pending(), 0);
    }
};

TEST_F(GraphPanel, InitClearsAndHoldsTheLastDecodedFrame) {
    Load(Numbered(1));
    SetPanelGraphData();
    SetPanelGraphData();
    for (int g : kGraphs) ASSERT_GT(GetGraphPlotCount(graphpanel, g), 0);
    Frame held = Numbered(50);
    Load(held);
    InitPanelGraph();
    EXPECT_EQ(graphcnt, 0);
    EXPECT_EQ(bufcnt[0], 0);
    EXPECT_EQ(bufcnt[1], 0);
    for (int g = 0; g < 7; ++g) EXPECT_EQ(GetGraphPlotCount(graphpanel, kGraphs[g]), 0) << g;
    const unsigned short* bufs[7] = {bufchref, bufchdir, bufchdif, bufnorm, bufint, bufgf, buftemp};
    for (int g = 0; g < 7; ++g) {
        EXPECT_EQ(bufs[g][0], Value(held, g)) << g;
        EXPECT_EQ(bufs[g][1], Value(held, g)) << g;
    }
}

TEST_F(GraphPanel, FramesJoinAsLinesInEachSignalsColour) {
    Load(Numbered(0));
    InitPanelGraph();
    for (int k = 1; k <= 3; ++k) {
        Load(Numbered(k));
        SetPanelGraphData();
        for (int g = 0; g < 7; ++g) {
            Line l = Last(kGraphs[g]);
            ASSERT_EQ(l.count, 2) << g;
            EXPECT_EQ(GetGraphPlotCount(graphpanel, kGraphs[g]), k) << g;
            // Frame k at X = k - 1; the first is a vertical line from the held value.
            EXPECT_EQ(l.x0, k == 1 ? 0 : k - 2) << g;
            EXPECT_EQ(l.x1, k - 1) << g;
            EXPECT_EQ(l.y0, Value(Numbered(k - 1), g)) << g;
            EXPECT_EQ(l.y1, Value(Numbered(k), g)) << g;
            EXPECT_EQ(l.colour, kColours[g]) << g;
            int shown = -1;
            GetCtrlVal(graphpanel, kDisplays[g], &shown);
            EXPECT_EQ(shown, Value(Numbered(k), g)) << g;
        }
    }
    EXPECT_EQ(graphcnt, 3);
}

TEST_F(GraphPanel, GlossyFactorStaysInTenths) {
    InitPanelGraph();
    Load({0, 0, 0, 0, 0, 1003, 0, 0});
    SetPanelGraphData();
    int shown = 0;
    GetCtrlVal(graphpanel, GRAPHP_DISPGFGRAPH, &shown);
    EXPECT_EQ(shown, 1003);
    EXPECT_EQ(Last(GRAPHP_PANELGRAPHGF).y1, 1003);
}

TEST_F(GraphPanel, ManualRecordBeforeAnyStartRunsFromTheOrigin) {
    // The state at program start: everything zero, no plots.
    graphcnt = 0;
    bufcnt[0] = bufcnt[1] = 0;
    for (unsigned short* b : {bufchref, bufchdir, bufchdif, bufnorm, bufint, bufgf, buftemp}) b[0] = b[1] = 0;
    for (int g : kGraphs) DeleteGraphPlot(graphpanel, g, -1, VAL_IMMEDIATE_DRAW);
    Load(Numbered(5));
    SetPanelGraphData();
    for (int g = 0; g < 7; ++g) {
        Line l = Last(kGraphs[g]);
        EXPECT_EQ(l.x0, 0);
        EXPECT_EQ(l.y0, 0);
        EXPECT_EQ(l.x1, 0);
        EXPECT_EQ(l.y1, Value(Numbered(5), g));
    }
}

TEST_F(GraphPanel, FrameCounterWrapsAfter65535) {
    InitPanelGraph();
    Load(Numbered(1));
    graphcnt = 65534;
    SetPanelGraphData();
    SetPanelGraphData();
    EXPECT_EQ(graphcnt, 0);
    EXPECT_EQ(Last(GRAPHP_PANELGRAPHNORM).x1, 65535);
    SetPanelGraphData();
    Line l = Last(GRAPHP_PANELGRAPHNORM);
    EXPECT_EQ(l.x0, 65535);
    EXPECT_EQ(l.x1, 0);
    EXPECT_EQ(graphcnt, 1);
}

TEST_F(GraphPanel, HiddenGraphsArePlottedAndSignalChoosesTheShownOne) {
    InitPanelGraph();
    SetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, static_cast<unsigned short>(0));
    sim::ChooseRing(graphpanel, GRAPHP_EDITSIGNAL, 4);
    for (int g = 0; g < 7; ++g) {
        int vis = -1;
        GetCtrlAttribute(graphpanel, kGraphs[g], ATTR_VISIBLE, &vis);
        EXPECT_EQ(vis, g == 4 ? 1 : 0) << g;
    }
    Load(Numbered(9));
    SetPanelGraphData();
    for (int g : kGraphs) EXPECT_EQ(GetGraphPlotCount(graphpanel, g), 1);
    sim::ChooseRing(graphpanel, GRAPHP_EDITSIGNAL, 6);
    int vis = -1;
    GetCtrlAttribute(graphpanel, GRAPHP_PANELGRAPHTEMP, ATTR_VISIBLE, &vis);
    EXPECT_EQ(vis, 1);
    GetCtrlAttribute(graphpanel, GRAPHP_PANELGRAPHINT, ATTR_VISIBLE, &vis);
    EXPECT_EQ(vis, 0);
    EXPECT_EQ(Last(GRAPHP_PANELGRAPHTEMP).y1, Value(Numbered(9), 6));
}

TEST_F(GraphPanel, CloseHidesAndKeepsTheContent) {
    InitPanelGraph();
    Load(Numbered(2));
    SetPanelGraphData();
    DisplayPanel(graphpanel);
    ASSERT_EQ(IsPanelVisible(graphpanel), 1);
    sim::Close(graphpanel);
    EXPECT_EQ(IsPanelVisible(graphpanel), 0);
    SetPanelGraphData();  // the recorder keeps plotting while it is hidden
    DisplayPanel(graphpanel);
    for (int g : kGraphs) EXPECT_EQ(GetGraphPlotCount(graphpanel, g), 2);
}

TEST_F(GraphPanel, ShowGraphButtonWaitsStopsLiveDataAndOpensThePanel) {
    DisplayPanel(recpanel);
    HidePanel(graphpanel);
    poll = 1;
    waitdel = 0.3;
    transbeg = Timer();
    sim::Click(recpanel, RECP_BUTTONSHOWGRAPH);
    double waited = Timer() - transbeg;
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(IsPanelVisible(graphpanel), 1);
    EXPECT_EQ(IsPanelVisible(recpanel), 1);
    EXPECT_GE(waited, 0.3) << "the pause rule was not waited out";
    waitdel = 0;
    HidePanel(recpanel);
}

TEST_F(GraphPanel, HelpTexts) {
    DisplayPanel(recpanel);
    DisplayPanel(graphpanel);
    struct Help {
        int panelHandle, ctrl;
        const char* text;
    };
    const Help cases[] = {
        {recpanel, RECP_BUTTONSHOWGRAPH, " Open panel with graphical display."},
        {graphpanel, GRAPHP_EDITSIGNAL, " Select Signal to be displayed in the graph. "},
        {graphpanel, GRAPHP_PANELGRAPHCHREF, " Displays the signals selected with SIGNAL. "},
    };
    SetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, static_cast<unsigned short>(0));
    SetGraphVisible();
    poll = 1;
    for (const Help& h : cases) {
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(h.panelHandle, h.ctrl);
        ASSERT_EQ(seam::Shown().size(), 1u) << h.text;
        EXPECT_EQ(seam::Shown()[0].title, "INFO!");
        EXPECT_EQ(seam::Shown()[0].text, h.text);
    }
    EXPECT_EQ(poll, 1) << "help alone stops nothing";
    HidePanel(recpanel);
}

}  // namespace
