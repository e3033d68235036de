// The scope area: the chart of the current source, the GF axis modes, the
// visibility per source, and the callbacks through real widget events.
#include <gtest/gtest.h>

#include "app/helptexts.h"
#include "display/display.h"
#include "live.h"
#include "platform/testing.h"
#include "platform/theme.h"
#include "resources/ctrlrect.h"
#include "support/panels.h"

using namespace corvel;
using namespace displaytest;

namespace {

class Scope : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        DisplayPanel(panel);
        seam::Clear();
        ZeroBuffers();
    }
    void TearDown() override {
        HidePanel(panel);
        EXPECT_EQ(seam::Pending(), 0);
    }
    static void Range(double* min, double* max) {
        ASSERT_EQ(GetAxisRange(panel, P_GRAPHGF, VAL_LEFT, min, max), 0);
    }
    // Auto-zoom axis of the GF chart for the buffer as it is.
    static void Zoom(double* min, double* max) {
        scale = 1;
        SetSource(2);
        ShowGraph();
        Range(min, max);
    }
    static void FillGf(double v) {
        for (double& x : gfbuf) x = v;
    }
};

// A source change shows and hides displays, and nothing else moves: the
// displays every source shows, the source ring and the panel's width stay.
TEST_F(Scope, DisplaysKeepTheirPlacesWhicheverSourceIsShown) {
    const int steady[] = {P_DISPVEC, P_DISPTEMP, P_DISPCHDIR, P_BARCHDIR, P_SELECTSOURCE};
    auto where = [](int id) { return ctrlrect::CtrlRect(panel, id); };
    ctrlrect::Rect first[5];
    int firstWidth = 0;
    for (unsigned short src : {0, 1, 2, 3, 0}) {
        SCOPED_TRACE(src);
        SetSource(src);
        DispVis();
        int w = 0, h = 0;
        GetPanelMinimumSize(panel, &w, &h);
        SetPanelSize(panel, w, h);
        ProcessSystemEvents();
        if (!firstWidth) {
            firstWidth = w;
            for (int i = 0; i < 5; ++i) first[i] = where(steady[i]);
            continue;
        }
        EXPECT_EQ(w, firstWidth);
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(where(steady[i]) == first[i]) << "control " << steady[i];
    }
    EXPECT_GT(first[1].left, first[0].left);  // laid out, not all at the corner
}

TEST_F(Scope, ChartShowsTheBuffersLastHundredSamplesOldestFirst) {
    const int charts[4] = {P_GRAPHNORM, P_GRAPHINT, P_GRAPHGF, P_GRAPHRAW1};
    const double* bufs[4] = {normbuf, intbuf, gfbuf, rawbuf};
    scale = 0;
    for (unsigned short src = 0; src < 4; ++src) {
        SetSource(src);
        SetRow(1, 400, 30, 2000, 50);
        // More frames than the chart holds, each plotted as live data does.
        for (int k = 0; k < 130; ++k) {
            Load({static_cast<unsigned short>(3000 + k), static_cast<unsigned short>(2000 + k),
                  static_cast<unsigned short>(1000 + k), static_cast<unsigned short>(300 + k),
                  static_cast<unsigned short>(1500 + k), static_cast<unsigned short>(900 + k), 0, 0});
            SetPanelData();
            ShowGraph();
        }
        for (int t = 0; t < 3; ++t) {
            double shown[200];
            int n = GetStripChartTrace(panel, charts[src], t, shown, 200);
            ASSERT_EQ(n, 100) << "source " << src << " trace " << t;
            for (int s = 0; s < 100; ++s)
                ASSERT_EQ(shown[s], At(bufs[src], s, t)) << "source " << src << " trace " << t << " at " << s;
        }
    }
}

TEST_F(Scope, OnlyTheCurrentSourcesChartIsPlotted) {
    SetSource(3);
    for (int k = 0; k < 5; ++k) {
        Load({static_cast<unsigned short>(k + 1), 2, 3, 4, 5, 6, 0, 0});
        SetPanelData();
        ShowGraph();
    }
    double before[100], after[100];
    int nInt = GetStripChartTrace(panel, P_GRAPHINT, 0, before, 100);
    SetSource(0);
    Load({77, 2, 3, 4, 5, 6, 0, 0});
    SetPanelData();
    ShowGraph();
    ASSERT_EQ(GetStripChartTrace(panel, P_GRAPHINT, 0, after, 100), nInt);
    for (int i = 0; i < nInt; ++i) EXPECT_EQ(after[i], before[i]);
    double raw[100];
    ASSERT_EQ(GetStripChartTrace(panel, P_GRAPHRAW1, 0, raw, 100), 100);
    EXPECT_EQ(raw[99], 5);  // the RAW chart kept its last picture
}

TEST_F(Scope, AutoZoomAddsMarginsOnlyInsideTheScale) {
    double min, max;
    FillGf(500);
    Zoom(&min, &max);
    EXPECT_EQ(min, 475);
    EXPECT_EQ(max, 525);

    FillGf(0);
    Zoom(&min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 25);

    FillGf(700);
    gfbuf[30] = 1490;
    gfbuf[90] = 20;
    Zoom(&min, &max);
    EXPECT_EQ(min, 20);
    EXPECT_EQ(max, 1490);

    // Start-up zeros still in the buffer: no lower margin.
    FillGf(0);
    gfbuf[297] = 1000;
    Zoom(&min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 1025);

    // Everything above the scale: the search starts from a minimum of 1500.
    FillGf(2000);
    Zoom(&min, &max);
    EXPECT_EQ(min, 1475);
    EXPECT_EQ(max, 2000);
}

TEST_F(Scope, BandTracesWidenTheZoom) {
    for (int s = 0; s < 100; ++s) {
        gfbuf[3 * s] = 800;
        gfbuf[3 * s + 1] = 950;
        gfbuf[3 * s + 2] = 650;
    }
    double min, max;
    Zoom(&min, &max);
    EXPECT_EQ(min, 625);
    EXPECT_EQ(max, 975);
}

TEST_F(Scope, FixedScaleIsSetOnEveryGfFrameAndOnlyThen) {
    double min, max;
    FillGf(500);
    Zoom(&min, &max);
    ASSERT_EQ(min, 475);
    // Another source leaves the GF axis alone, whatever the mode.
    scale = 0;
    for (unsigned short src : {0, 1, 3}) {
        SetSource(src);
        ShowGraph();
        Range(&min, &max);
        EXPECT_EQ(min, 475) << src;
        EXPECT_EQ(max, 525) << src;
    }
    SetSource(2);
    FillGf(3000);  // runs off the top
    ShowGraph();
    Range(&min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 1500);
}

TEST_F(Scope, ClicksOnTheGfChartChooseTheAxisMode) {
    SetSource(2);
    DispVis();
    FillGf(500);
    scale = 0;
    sim::DoubleClick(panel, P_GRAPHGF);
    EXPECT_EQ(scale, 1);
    // The mode applies with the next frame; the click itself does not replot.
    double min, max;
    ShowGraph();
    Range(&min, &max);
    EXPECT_EQ(min, 475);
    EXPECT_EQ(max, 525);
    sim::LeftClick(panel, P_GRAPHGF);
    EXPECT_EQ(scale, 0);
    Range(&min, &max);
    EXPECT_EQ(min, 475);
    ShowGraph();
    Range(&min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 1500);
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(Scope, EachSourceShowsItsOwnDisplays) {
    struct Row {
        int ctrl;
        const char* name;
        int shown[4];
    };
    const Row table[] = {
        {P_DISPNORM, "DispNorm", {1, 1, 0, 0}},   {P_DISPINT, "DispINT", {1, 1, 0, 0}},
        {P_DISPGF, "DispGF", {0, 0, 1, 0}},       {P_BARCHREF, "BarChRef", {0, 0, 1, 1}},
        {P_BARCHDIF, "BarChDif", {1, 1, 0, 1}},   {P_DISPCHREF, "DispChRef", {0, 0, 1, 1}},
        {P_DISPCHDIF, "DispChDif", {1, 1, 0, 1}}, {P_GRAPHRAW1, "GraphRaw1", {0, 0, 0, 1}},
        {P_GRAPHNORM, "GraphNorm", {1, 0, 0, 0}}, {P_GRAPHINT, "GraphInt", {0, 1, 0, 0}},
        {P_GRAPHGF, "GraphGF", {0, 0, 1, 0}},
    };
    const int untouched[] = {P_DISPCHDIR, P_BARCHDIR, P_DISPVEC, P_DISPTEMP, P_DISPGFBIG};
    for (int src : {3, 2, 0, 1, 3}) {
        // Odd starting states show that DispVis sets, not toggles.
        for (const Row& r : table) SetCtrlAttribute(panel, r.ctrl, ATTR_VISIBLE, 1 - r.shown[src]);
        for (int c : untouched) SetCtrlAttribute(panel, c, ATTR_VISIBLE, c == P_DISPGFBIG ? 0 : 1);
        SetSource(src == 3 ? 0 : 3);
        sim::ChooseRing(panel, P_SELECTSOURCE, src);
        EXPECT_EQ(source, src);
        for (const Row& r : table) {
            int vis = -1;
            GetCtrlAttribute(panel, r.ctrl, ATTR_VISIBLE, &vis);
            EXPECT_EQ(vis, r.shown[src]) << r.name << " for source " << src;
        }
        for (int c : untouched) {
            int vis = -1;
            GetCtrlAttribute(panel, c, ATTR_VISIBLE, &vis);
            EXPECT_EQ(vis, c == P_DISPGFBIG ? 0 : 1) << "control " << c << " for source " << src;
        }
    }
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(Scope, BigGfDisplayOpensOnDoubleClickAndClosesOnRightClick) {
    SetSource(2);
    DispVis();
    SetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, 0);
    sim::LeftClick(panel, P_DISPGF);
    int vis = -1;
    GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &vis);
    EXPECT_EQ(vis, 0) << "a single click opens nothing";
    sim::DoubleClick(panel, P_DISPGF);
    GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &vis);
    EXPECT_EQ(vis, 1);
    // It keeps receiving the value while shown.
    Load({0, 0, 0, 0, 0, 1234, 0, 0});
    SetPanelData();
    double v = 0;
    GetCtrlVal(panel, P_DISPGFBIG, &v);
    EXPECT_DOUBLE_EQ(v, 123.4);
    sim::RightClick(panel, P_DISPGFBIG);
    GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &vis);
    EXPECT_EQ(vis, 0);
    EXPECT_TRUE(seam::Shown().empty()) << "the big display has no help";
}

TEST_F(Scope, HelpTextsOnRightClick) {
    struct Help {
        int ctrl;
        unsigned short source;  // makes the control visible
        const char* title;
        const char* text;
    };
    const Help cases[] = {
        {P_SELECTSOURCE, 0, "INFO!", " Select a signal to be displayed in the graph."},
        {P_DISPGF, 2, "Info",
         " Displays the current glossy factor. \n Double click opens a big display. \n Close the big display "
         "with a right mouse click."},
        {P_GRAPHRAW1, 3, "INFO!", " Displays a signal selected with SOURCE."},
        {P_GRAPHNORM, 0, "INFO!", " Displays a signal selected with SOURCE."},
        {P_GRAPHINT, 1, "INFO!", " Displays a signal selected with SOURCE."},
        {P_GRAPHGF, 2, "INFO!",
         " Displays the GLOSSY FACTOR. \n Left mouse double click on the Y-AXIS starts an auto zoom. \n Left "
         "mouse click scales the Y-AXIS fix."},
    };
    for (const Help& h : cases) {
        SetSource(h.source);
        DispVis();
        unsigned short scaleBefore = scale = 0;
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(panel, h.ctrl);
        ASSERT_EQ(seam::Shown().size(), 1u) << "control " << h.ctrl;
        EXPECT_EQ(seam::Shown()[0].title, h.title);
        EXPECT_EQ(seam::Shown()[0].text, h.text);
        EXPECT_EQ(scale, scaleBefore);
    }
    EXPECT_STREQ(InfoGraphGF, cases[5].text);
}

}  // namespace
