// Strip charts and XY graphs through the platform calls.
#include "fixture.h"

TEST_F(PanelTest, StripChartTakesInterleavedPointsWithStartAndSkip) {
    double pts[12];
    for (int i = 0; i < 12; ++i) pts[i] = i;
    // Five points from element 2, every second one: 2, 4, 6, 8, 10 to traces 0, 1, 2, 0, 1.
    ASSERT_EQ(PlotStripChart(h, TP_STRIP, pts, 5, 2, 1, DT_DOUBLE), UIE_OK);
    double out[16];
    ASSERT_EQ(GetStripChartTrace(h, TP_STRIP, 0, out, 16), 2);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], 8);
    ASSERT_EQ(GetStripChartTrace(h, TP_STRIP, 1, out, 16), 2);
    EXPECT_EQ(out[0], 4);
    EXPECT_EQ(out[1], 10);
    ASSERT_EQ(GetStripChartTrace(h, TP_STRIP, 2, out, 16), 1);
    EXPECT_EQ(out[0], 6);
    EXPECT_EQ(PlotStripChart(h, TP_STRIP, pts, 3, 0, 0, DT_U16), UIE_BAD_ARGUMENT);
    EXPECT_EQ(PlotStripChart(h, TP_PLOT, pts, 3, 0, 0, DT_DOUBLE), UIE_TYPE_MISMATCH);
}

TEST_F(PanelTest, FixedAxisRange) {
    double lo = 0, hi = 0;
    ASSERT_EQ(SetAxisScalingMode(h, TP_STRIP, VAL_LEFT, VAL_MANUAL, 25.0, 1475.0), UIE_OK);
    GetAxisRange(h, TP_STRIP, VAL_LEFT, &lo, &hi);
    EXPECT_EQ(lo, 25.0);
    EXPECT_EQ(hi, 1475.0);
    ASSERT_EQ(SetAxisScalingMode(h, TP_PLOT, VAL_LEFT, VAL_MANUAL, 0.0, 4095.0), UIE_OK);
    GetAxisRange(h, TP_PLOT, VAL_LEFT, &lo, &hi);
    EXPECT_EQ(lo, 0.0);
    EXPECT_EQ(hi, 4095.0);
    EXPECT_EQ(SetAxisScalingMode(h, TP_STRIP, VAL_LEFT, VAL_MANUAL, 5.0, 5.0), UIE_BAD_ARGUMENT);
}

TEST_F(PanelTest, GraphPlotsConvertTheirTypesAndClear) {
    unsigned short x[2] = {3, 4};
    unsigned short y[2] = {1000, 1200};
    int p1 = PlotXY(h, TP_PLOT, x, y, 2, DT_U16, DT_U16, VAL_CONNECTED_POINTS, VAL_NO_POINT, VAL_SOLID, 1,
                    0xFF0000);
    EXPECT_GT(p1, 0);
    int xi[2] = {4, 5};
    double yd[2] = {1.5, 2.5};
    int p2 = PlotXY(h, TP_PLOT, xi, yd, 2, DT_INT, DT_DOUBLE, VAL_CONNECTED_POINTS, VAL_NO_POINT, VAL_SOLID,
                    1, 0x00FF00);
    EXPECT_GT(p2, p1);
    EXPECT_EQ(GetGraphPlotCount(h, TP_PLOT), 2);
    double ox[4], oy[4];
    int colour = 0;
    ASSERT_EQ(GetGraphPlotPoints(h, TP_PLOT, 0, ox, oy, 4, &colour), 2);
    EXPECT_EQ(ox[1], 4);
    EXPECT_EQ(oy[1], 1200);
    EXPECT_EQ(colour, 0xFF0000);
    ASSERT_EQ(GetGraphPlotPoints(h, TP_PLOT, 1, ox, oy, 4, &colour), 2);
    EXPECT_EQ(oy[0], 1.5);
    EXPECT_EQ(colour, 0x00FF00);
    EXPECT_EQ(PlotXY(h, TP_PLOT, x, y, 2, DT_STRING, DT_U16, 1, 0, 0, 1, 0), UIE_BAD_ARGUMENT);
    EXPECT_EQ(DeleteGraphPlot(h, TP_PLOT, -1, VAL_IMMEDIATE_DRAW), UIE_OK);
    EXPECT_EQ(GetGraphPlotCount(h, TP_PLOT), 0);
}
