#include "platform/widgets/chartaxis.h"

#include <gtest/gtest.h>

#include <cmath>

using chartaxis::NiceTicks;
using chartaxis::TickLabel;

TEST(ChartAxis, TicksFallOnRoundNumbersWithLabelsToMatch) {
    chartaxis::Ticks t = NiceTicks(0, 1500, 8);
    EXPECT_EQ(t.step, 200);
    EXPECT_EQ(t.count, 8);  // 0 ... 1400
    EXPECT_EQ(TickLabel(t, 0), "0");
    EXPECT_EQ(TickLabel(t, 7), "1400");

    t = NiceTicks(-0.3, 0.95, 5);
    EXPECT_DOUBLE_EQ(t.step, 0.5);
    EXPECT_EQ(TickLabel(t, 0), "0.0");  // never "-0.0"
    EXPECT_EQ(TickLabel(t, 1), "0.5");

    t = NiceTicks(475, 525, 10);
    EXPECT_EQ(t.step, 5);
    EXPECT_EQ(TickLabel(t, 0), "475");
    EXPECT_EQ(t.count, 11);

    // An empty or broken range has no ticks; SaneRange makes it usable.
    EXPECT_EQ(NiceTicks(5, 5, 5).count, 0);
    EXPECT_EQ(NiceTicks(0, NAN, 5).count, 0);
    double lo = 42, hi = 42;
    chartaxis::SaneRange(&lo, &hi);
    EXPECT_LT(lo, 42);
    EXPECT_GT(hi, 42);
    lo = 10;
    hi = -10;
    chartaxis::SaneRange(&lo, &hi);
    EXPECT_EQ(lo, -10);
    EXPECT_EQ(hi, 10);
}

TEST(ChartAxis, PensKeepTheirWidthInWholeDevicePixels) {
    const QColor red(255, 0, 0);
    EXPECT_DOUBLE_EQ(chartaxis::ChartPen(red, 1.0).widthF(), 1.0);
    EXPECT_DOUBLE_EQ(chartaxis::ChartPen(red, 2.0).widthF() * 2.0, 2.0);
    EXPECT_DOUBLE_EQ(chartaxis::ChartPen(red, 1.5).widthF() * 1.5, 2.0);  // never a fraction of a pixel
    EXPECT_DOUBLE_EQ(chartaxis::ChartPen(red, 2.0, 2.0).widthF() * 2.0, 4.0);
    EXPECT_DOUBLE_EQ(chartaxis::ChartPen(red, 0.5, 1.0).widthF() * 0.5, 1.0);  // at least one pixel
    const QPen dotted = chartaxis::ChartPen(red, 2.0, 1.0, Qt::DotLine);
    EXPECT_FALSE(dotted.isCosmetic());
    EXPECT_EQ(dotted.style(), Qt::DotLine);
    EXPECT_EQ(dotted.color(), red);
}

TEST(ChartAxis, WholeTicksNeverFallBetweenFrames) {
    // Three frames zoomed in: nice ticks would be 0.2 apart.
    chartaxis::Ticks t = chartaxis::WholeTicks(0.4, 2.6, 10);
    EXPECT_EQ(t.step, 1);
    EXPECT_EQ(t.count, 2);  // 1 and 2
    EXPECT_EQ(TickLabel(t, 0), "1");
    EXPECT_EQ(TickLabel(t, 1), "2");
    EXPECT_EQ(chartaxis::WholeTicks(0.2, 0.8, 10).count, 0);  // no frame inside
    // Wide ranges keep their nice steps.
    t = chartaxis::WholeTicks(0, 1500, 8);
    EXPECT_EQ(t.step, 200);
}
