#include "platform/widgets/xygraph.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

namespace {

int AddLine(XYGraph& g, double x0, double y0, double x1, double y1, uint32_t rgb) {
    const double x[2] = {x0, x1}, y[2] = {y0, y1};
    return g.addPlot(x, y, 2, rgb);
}

// Where a data point lands in the picture.
QPoint PixelOf(const XYGraph& g, double x, double y) {
    const QRect p = g.plotRect();
    double xlo, xhi, ylo, yhi;
    g.shownXRange(&xlo, &xhi);
    g.shownYRange(&ylo, &yhi);
    return QPoint(static_cast<int>(p.left() + (x - xlo) * (p.width() - 1) / (xhi - xlo) + 0.5),
                  static_cast<int>(p.top() + (yhi - y) * (p.height() - 1) / (yhi - ylo) + 0.5));
}

// True when `colour` is within one pixel of `at`.
bool ColourNear(const QImage& img, QPoint at, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q = at + QPoint(dx, dy);
            if (img.rect().contains(q) && (img.pixel(q) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
        }
    return false;
}

}  // namespace

TEST(XYGraph, KeepsEveryPlotWithItsHandlePointsAndColour) {
    XYGraph g;
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(AddLine(g, i, i % 700, i + 1, (i + 1) % 700, i % 2 ? 0x00FF00 : 0xFF8000), i + 1);
    EXPECT_EQ(g.plotCount(), 5000);
    double x[4], y[4];
    uint32_t rgb = 0;
    ASSERT_EQ(g.plotPoints(4321, x, y, 4, &rgb), 2);
    EXPECT_EQ(x[0], 4321);
    EXPECT_EQ(y[0], 4321 % 700);
    EXPECT_EQ(x[1], 4322);
    EXPECT_EQ(y[1], 4322 % 700);
    EXPECT_EQ(rgb, 0x00FF00u);
    ASSERT_EQ(g.plotPoints(0, x, y, 4, &rgb), 2);
    EXPECT_EQ(rgb, 0xFF8000u);

    // Longer and one-point plots round-trip too; `max` limits the copy.
    const double lx[5] = {1, 2, 3, 4, 5}, ly[5] = {10, -20, 30, 65535, 0.5};
    EXPECT_EQ(g.addPlot(lx, ly, 5, 0x0000FF), 5001);
    EXPECT_EQ(g.addPlot(lx, ly, 1, 0x008080), 5002);
    double px[5], py[5];
    ASSERT_EQ(g.plotPoints(5000, px, py, 5, &rgb), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(px[i], lx[i]);
        EXPECT_EQ(py[i], ly[i]);
    }
    EXPECT_EQ(g.plotPoints(5000, px, py, 3, nullptr), 3);
    ASSERT_EQ(g.plotPoints(5001, px, py, 5, &rgb), 1);
    EXPECT_EQ(rgb, 0x008080u);

    // Nothing to plot, or a plot that does not exist.
    EXPECT_LT(g.addPlot(lx, ly, 0, 0xFF0000), 0);
    EXPECT_LT(g.addPlot(nullptr, ly, 2, 0xFF0000), 0);
    EXPECT_EQ(g.plotCount(), 5002);
    EXPECT_EQ(g.plotPoints(5002, px, py, 5, &rgb), 0);
    EXPECT_EQ(g.plotPoints(-1, px, py, 5, &rgb), 0);
}

TEST(XYGraph, ClearStartsAgainAndReleasesThePlots) {
    XYGraph g;
    for (int i = 0; i < 100; ++i) AddLine(g, i, 1, i + 1, 2, 0xFF0000);
    EXPECT_GT(g.plotMemory(), 0u);
    g.clearPlots();
    EXPECT_EQ(g.plotCount(), 0);
    EXPECT_FALSE(g.dataBounds(nullptr, nullptr, nullptr, nullptr));
    EXPECT_LT(g.plotMemory(), 64u);
    double x[2], y[2];
    EXPECT_EQ(g.plotPoints(0, x, y, 2, nullptr), 0);
    EXPECT_EQ(AddLine(g, 0, 5, 0, 6, 0xFF0000), 1);
}

TEST(XYGraph, AFullRecordingStaysCompact) {
    XYGraph g;
    for (int f = 0; f < 65536; ++f) AddLine(g, f > 0 ? f - 1 : 0, f % 1000, f, (f + 1) % 1000, 0x00FF00);
    ASSERT_EQ(g.plotCount(), 65536);
    EXPECT_LE(g.plotMemory() / 65536.0, 40.0);
    // The frame counter wraps: the next line runs back to X = 0.
    EXPECT_EQ(AddLine(g, 65535, 3, 0, 4, 0x00FF00), 65537);
    double x[2], y[2];
    ASSERT_EQ(g.plotPoints(65536, x, y, 2, nullptr), 2);
    EXPECT_EQ(x[0], 65535);
    EXPECT_EQ(x[1], 0);
}

TEST(XYGraph, AxesFollowTheDataWhereAutoscaled) {
    XYGraph g;
    g.setXMin(0);
    g.setXMax(100);
    g.setYRange(0, 1000);
    double lo, hi;
    g.shownXRange(&lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    AddLine(g, 0, 200, 10, 300, 0xFF0000);
    g.shownXRange(&lo, &hi);
    EXPECT_EQ(hi, 100);  // data inside the range leaves it
    AddLine(g, 10, 300, 250, 5000, 0xFF0000);
    AddLine(g, 250, 5000, 40, -7, 0xFF0000);
    double bx0, bx1, by0, by1;
    ASSERT_TRUE(g.dataBounds(&bx0, &bx1, &by0, &by1));
    EXPECT_EQ(bx0, 0);
    EXPECT_EQ(bx1, 250);
    EXPECT_EQ(by0, -7);
    EXPECT_EQ(by1, 5000);
    g.shownXRange(&lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 250);
    g.shownYRange(&lo, &hi);  // Y stays fixed
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 1000);

    g.setYAutoScale(true);
    g.shownYRange(&lo, &hi);
    EXPECT_EQ(lo, -7);
    EXPECT_EQ(hi, 5000);
    g.setXAutoScale(false);
    g.shownXRange(&lo, &hi);
    EXPECT_EQ(hi, 100);

    // Bounds start again after a clear; a flat line still gets a usable range.
    g.clearPlots();
    AddLine(g, 0, 42, 0, 42, 0xFF0000);
    g.shownYRange(&lo, &hi);
    EXPECT_LT(lo, 42);
    EXPECT_GT(hi, 42);
}

TEST(XYGraph, LinesAppearInTheirColoursAndFarPointsAreClipped) {
    XYGraph g;
    g.resize(400, 300);
    g.setXMax(100);
    g.setYRange(0, 100);
    AddLine(g, 0, 50, 100, 50, 0xFF0000);      // across the middle
    AddLine(g, 25, 0, 25, 100, 0x00FF00);      // a vertical one
    AddLine(g, 75, 20, 75, 1e30, 0x0000FF);    // runs far off the top
    AddLine(g, 60, -1e9, 60, -1e8, 0xFFFF00);  // wholly below the range
    const QImage img = g.grab().toImage();
    EXPECT_TRUE(ColourNear(img, PixelOf(g, 10, 50), qRgb(255, 0, 0)));
    EXPECT_TRUE(ColourNear(img, PixelOf(g, 90, 50), qRgb(255, 0, 0)));
    EXPECT_TRUE(ColourNear(img, PixelOf(g, 25, 80), qRgb(0, 255, 0)));
    EXPECT_FALSE(ColourNear(img, PixelOf(g, 50, 80), qRgb(255, 0, 0)));
    EXPECT_TRUE(ColourNear(img, PixelOf(g, 75, 30), qRgb(0, 0, 255)));
    EXPECT_TRUE(ColourNear(img, PixelOf(g, 75, 99), qRgb(0, 0, 255)));
    EXPECT_FALSE(ColourNear(img, PixelOf(g, 75, 10), qRgb(0, 0, 255)));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ASSERT_NE(img.pixel(x, y) & 0xFFFFFF, 0xFFFF00u);
}

TEST(XYGraph, APlotAddedToAShownGraphIsDrawnOnScreen) {
    XYGraph g;
    g.resize(300, 200);
    g.setXAutoScale(false);
    g.setXMax(100);
    g.setYRange(0, 100);
    AddLine(g, 0, 10, 100, 10, 0xFF0000);
    g.show();
    QApplication::processEvents();
    // Same axes: only the new plot's area is repainted, and it shows up there.
    AddLine(g, 0, 70, 100, 70, 0x00FF00);
    QApplication::processEvents();
    const QImage screen = g.screen()->grabWindow(g.winId()).toImage();
    if (screen.isNull()) GTEST_SKIP() << "this platform cannot read back the window";
    EXPECT_TRUE(ColourNear(screen, PixelOf(g, 50, 70), qRgb(0, 255, 0)));
    EXPECT_TRUE(ColourNear(screen, PixelOf(g, 50, 10), qRgb(255, 0, 0)));
}

TEST(XYGraph, DragPansWheelZoomsAroundTheMouseDoubleClickReturnsToTheData) {
    XYGraph g;
    g.resize(400, 300);
    g.setXFollowsData(true);
    g.setYRange(0, 100);
    AddLine(g, 10, 0, 110, 100, 0xFF0000);
    double lo, hi;
    g.shownXRange(&lo, &hi);
    EXPECT_EQ(lo, 10);  // exactly the data, not 0..100 around it
    EXPECT_EQ(hi, 110);

    g.zoomX(0.5, 30);  // narrower by half, the point at 30 stays put
    g.shownXRange(&lo, &hi);
    EXPECT_DOUBLE_EQ(lo, 20);
    EXPECT_DOUBLE_EQ(hi, 70);
    EXPECT_TRUE(g.viewZoomed());

    // Dragging the plot 1/4 of its width to the right shows earlier frames.
    const QRect pr = g.plotRect();
    const double perPixel = 50.0 / (pr.width() - 1);
    const QPoint from = pr.center();
    const QPoint to = from + QPoint(100, 0);
    QMouseEvent press(QEvent::MouseButtonPress, from, g.mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, g.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, to, g.mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&g, &press);
    QApplication::sendEvent(&g, &move);
    QApplication::sendEvent(&g, &release);
    g.shownXRange(&lo, &hi);
    EXPECT_NEAR(lo, 20 - 100 * perPixel, 1e-9);
    EXPECT_NEAR(hi, 70 - 100 * perPixel, 1e-9);
    g.shownYRange(&lo, &hi);
    EXPECT_EQ(lo, 0);  // a level drag leaves the values' range
    EXPECT_EQ(hi, 100);

    QMouseEvent dbl(QEvent::MouseButtonDblClick, from, g.mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&g, &dbl);
    EXPECT_FALSE(g.viewZoomed());
    g.shownXRange(&lo, &hi);
    EXPECT_EQ(lo, 10);
    EXPECT_EQ(hi, 110);
}

TEST(XYGraph, FitYTakesTheValuesInsideTheFramesShownWhereLinesCrossTheEdge) {
    XYGraph g;
    g.resize(400, 300);
    g.setXFollowsData(true);
    g.setYRange(0, 4095);
    const double xs[] = {0, 1, 2, 3, 4, 5, 6};
    const double ys[] = {100, 3000, 2000, 2200, 2100, 2400, 4000};
    g.addPlot(xs, ys, 7, 0xFF0000);
    g.zoomX(0.5, 3);  // frames 1.5 to 4.5
    ASSERT_TRUE(g.fitYToShown());
    double lo, hi;
    g.shownYRange(&lo, &hi);
    // 2000 at frame 2 is the least; the largest, 2500, is where the line from
    // frame 1 (3000) crosses 1.5; 5 % room on both sides.
    EXPECT_NEAR(lo, 2000 - 25, 1e-6);
    EXPECT_NEAR(hi, 2500 + 25, 1e-6);
    g.shownXRange(&lo, &hi);
    EXPECT_DOUBLE_EQ(lo, 1.5);  // X stays as it was
    g.resetView();
    g.shownYRange(&lo, &hi);
    EXPECT_EQ(hi, 4095);

    XYGraph empty;
    EXPECT_FALSE(empty.fitYToShown());
}
