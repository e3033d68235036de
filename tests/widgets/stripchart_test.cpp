#include "platform/widgets/stripchart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <cmath>
#include <vector>

namespace {

// Point k of trace t in the test data: tells trace and age apart.
double Value(int trace, int k) {
    return trace * 1000.0 + k;
}

std::vector<double> Interleaved(int traces, int perTrace, int firstK = 0) {
    std::vector<double> v;
    for (int k = 0; k < perTrace; ++k)
        for (int t = 0; t < traces; ++t) v.push_back(Value(t, firstK + k));
    return v;
}

std::vector<double> Shown(const StripChart& c, int trace) {
    std::vector<double> out(1000, -1.0);
    out.resize(c.tracePoints(trace, out.data(), static_cast<int>(out.size())));
    return out;
}

int RowOf(const QRect& plot, double lo, double hi, double v) {
    return static_cast<int>(plot.top() + (hi - v) * (plot.height() - 1) / (hi - lo) + 0.5);
}

// Pixels of `colour` in one row of the plot area, looking one pixel above and below.
int ColouredInRow(const QImage& img, const QRect& plot, int row, QRgb colour) {
    int n = 0;
    for (int x = plot.left(); x <= plot.right(); ++x)
        for (int dy = -1; dy <= 1; ++dy)
            if ((img.pixel(x, row + dy) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                ++n;
                break;
            }
    return n;
}

int CountColour(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
    return n;
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

TEST(StripChart, DefaultsAndThreeHundredInterleavedPointsShowTheLastHundredPerTrace) {
    StripChart c;
    EXPECT_EQ(c.traces(), 3);
    EXPECT_EQ(c.pointsPerScreen(), 100);
    // Older data first, then exactly one screen of new data.
    const std::vector<double> old = Interleaved(3, 70, -70);
    c.appendPoints(old.data(), static_cast<int>(old.size()));
    const std::vector<double> now = Interleaved(3, 100);
    c.appendPoints(now.data(), 300);
    for (int t = 0; t < 3; ++t) {
        const std::vector<double> s = Shown(c, t);
        ASSERT_EQ(s.size(), 100u) << "trace " << t;
        for (int k = 0; k < 100; ++k) EXPECT_EQ(s[k], Value(t, k)) << "trace " << t << " point " << k;
    }
    // One call much longer than a screen keeps only its end.
    const std::vector<double> big = Interleaved(3, 250, 1000);
    c.appendPoints(big.data(), static_cast<int>(big.size()));
    const std::vector<double> s = Shown(c, 2);
    ASSERT_EQ(s.size(), 100u);
    EXPECT_EQ(s.front(), Value(2, 1150));
    EXPECT_EQ(s.back(), Value(2, 1249));
}

TEST(StripChart, PartialCallsContinueTheInterleaving) {
    StripChart c;
    const double a[] = {0, 1000, 2000, 1, 1000 + 1};  // ends after trace 1
    c.appendPoints(a, 5);
    EXPECT_EQ(Shown(c, 0), (std::vector<double>{0, 1}));
    EXPECT_EQ(Shown(c, 1), (std::vector<double>{1000, 1001}));
    EXPECT_EQ(Shown(c, 2), (std::vector<double>{2000}));
    const double b[] = {2001, 2, 1002, 2002};  // starts with trace 2
    c.appendPoints(b, 4);
    EXPECT_EQ(Shown(c, 0), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Shown(c, 1), (std::vector<double>{1000, 1001, 1002}));
    EXPECT_EQ(Shown(c, 2), (std::vector<double>{2000, 2001, 2002}));

    // A stride picks every n-th element; clear starts again at trace 0.
    c.clear();
    EXPECT_TRUE(Shown(c, 0).empty());
    const double s[] = {5, -1, 1005, -1, 2005, -1, 6};
    c.appendPoints(s, 4, 2);
    EXPECT_EQ(Shown(c, 0), (std::vector<double>{5, 6}));
    EXPECT_EQ(Shown(c, 2), (std::vector<double>{2005}));

    // Nothing to append, or a trace that does not exist, changes nothing.
    c.appendPoints(nullptr, 10);
    c.appendPoints(s, 0);
    double out[4];
    EXPECT_EQ(c.tracePoints(3, out, 4), 0);
    EXPECT_EQ(c.tracePoints(-1, out, 4), 0);
    EXPECT_EQ(c.tracePoints(0, out, 1), 1);
    EXPECT_EQ(out[0], 5);
}

TEST(StripChart, ChangingPointsPerScreenOrTracesKeepsTheNewest) {
    StripChart c;
    const std::vector<double> v = Interleaved(3, 100);
    c.appendPoints(v.data(), 300);
    c.setPointsPerScreen(40);
    EXPECT_EQ(c.pointsPerScreen(), 40);
    std::vector<double> s = Shown(c, 1);
    ASSERT_EQ(s.size(), 40u);
    EXPECT_EQ(s.front(), Value(1, 60));
    EXPECT_EQ(s.back(), Value(1, 99));
    // Growing keeps what is there and fills up from the right.
    c.setPointsPerScreen(50);
    const std::vector<double> more = Interleaved(3, 20, 100);
    c.appendPoints(more.data(), static_cast<int>(more.size()));
    s = Shown(c, 1);
    ASSERT_EQ(s.size(), 50u);
    EXPECT_EQ(s.front(), Value(1, 70));
    EXPECT_EQ(s.back(), Value(1, 119));

    c.setTraces(2);
    EXPECT_EQ(c.traces(), 2);
    EXPECT_EQ(Shown(c, 0).size(), 50u);
    const double two[] = {7, 1007};  // the interleaving now has two traces
    c.appendPoints(two, 2);
    EXPECT_EQ(Shown(c, 0).back(), 7);
    EXPECT_EQ(Shown(c, 1).back(), 1007);
    c.setTraces(0);
    EXPECT_EQ(c.traces(), 1);
    c.setTraces(20);
    EXPECT_EQ(c.traces(), 8);
}

TEST(StripChart, ValuesOutsideTheRangeRunOffTheChart) {
    StripChart c;
    c.resize(400, 250);
    c.setYRange(0, 100);
    c.setTraceColors("#ff0000,#00ff00,#0000ff");
    std::vector<double> v;
    for (int k = 0; k < 100; ++k) v.insert(v.end(), {1e12, -50.0, 50.0});
    c.appendPoints(v.data(), 300);
    const QImage img = c.grab().toImage();
    const QRect plot = c.plotRect();
    // Red above and green below the range leave no mark; blue runs across the middle.
    EXPECT_EQ(CountColour(img, qRgb(255, 0, 0)), 0);
    EXPECT_EQ(CountColour(img, qRgb(0, 255, 0)), 0);
    EXPECT_GT(ColouredInRow(img, plot, RowOf(plot, 0, 100, 50), qRgb(0, 0, 255)), plot.width() * 95 / 100);
    // The chart keeps the values themselves.
    EXPECT_EQ(Shown(c, 0).back(), 1e12);
    EXPECT_EQ(Shown(c, 1).back(), -50.0);

    // A new range moves the trace: 50 is now the bottom quarter.
    c.setYRange(25, 125);
    const QImage moved = c.grab().toImage();
    EXPECT_GT(ColouredInRow(moved, plot, RowOf(plot, 25, 125, 50), qRgb(0, 0, 255)), plot.width() * 95 / 100);
}

TEST(StripChart, BandTracesAreDashedAndNamedInTheLegend) {
    StripChart c;
    c.resize(400, 250);
    c.setYRange(0, 100);
    c.setTraceColors("#ff0000,#00ff00,#0000ff");
    c.setTraceDashed("0,1,1");
    EXPECT_EQ(c.traceDashed(), "0,1,1");
    std::vector<double> v;
    for (int k = 0; k < 100; ++k) v.insert(v.end(), {50.0, 80.0, 20.0});
    c.appendPoints(v.data(), 300);
    const QRect plot = c.plotRect();
    QImage img = c.grab().toImage();
    const int solid = ColouredInRow(img, plot, RowOf(plot, 0, 100, 50), qRgb(255, 0, 0));
    const int dashed = ColouredInRow(img, plot, RowOf(plot, 0, 100, 80), qRgb(0, 255, 0));
    EXPECT_GT(solid, plot.width() * 95 / 100);
    EXPECT_GT(dashed, plot.width() / 4);
    EXPECT_LT(dashed, plot.width() * 85 / 100);

    // Names add a legend above the plot, with a sample of each colour.
    EXPECT_EQ(CountColour(img.copy(0, 0, img.width(), plot.top()), qRgb(0, 0, 255)), 0);
    c.setTraceNames("GF, upper, lower");
    EXPECT_EQ(c.traceNames(), "GF, upper, lower");
    const QRect withLegend = c.plotRect();
    img = c.grab().toImage();
    EXPECT_GT(CountColour(img.copy(0, 0, img.width(), withLegend.top()), qRgb(0, 0, 255)), 5);
}

TEST(StripChart, AppendRepaintsOnlyTheChartAndAHiddenChartKeepsItsPoints) {
    QWidget panel;
    panel.resize(500, 300);
    auto* c = new StripChart(&panel);
    c->setGeometry(10, 10, 300, 200);
    auto* other = new QWidget(&panel);
    other->setGeometry(320, 10, 100, 100);
    panel.show();
    QApplication::processEvents();
    PaintCounter chartPaints, otherPaints;
    c->installEventFilter(&chartPaints);
    other->installEventFilter(&otherPaints);
    const std::vector<double> v = Interleaved(3, 100);
    c->appendPoints(v.data(), 300);
    QApplication::processEvents();
    EXPECT_EQ(chartPaints.paints, 1);
    EXPECT_EQ(otherPaints.paints, 0);

    c->hide();
    c->appendPoints(v.data(), 150);
    QApplication::processEvents();
    EXPECT_EQ(chartPaints.paints, 1);
    EXPECT_EQ(Shown(*c, 0).front(), Value(0, 50));
    c->show();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(chartPaints.paints, 2);
}

// On a screen of twice the density a trace is two device pixels thick, as
// thick as at 100 %, not a one-pixel hairline.
TEST(StripChart, TracesKeepTheirWeightAtTwiceTheDensity) {
    StripChart c;
    c.resize(400, 250);
    c.setTraces(1);
    c.setYRange(0, 100);
    c.setTraceColors("#0000ff");
    std::vector<double> v(100, 50.0);
    c.appendPoints(v.data(), 100);
    QImage img(c.size() * 2, QImage::Format_RGB32);
    img.setDevicePixelRatio(2);
    img.fill(Qt::white);
    c.render(&img);
    const QRect plot = c.plotRect();
    const int x = 2 * plot.center().x();
    int thick = 0;
    for (int y = 2 * plot.top(); y <= 2 * plot.bottom(); ++y)
        if ((img.pixel(x, y) & 0xFFFFFF) == 0x0000FFu) ++thick;
    EXPECT_EQ(thick, 2);
}

namespace {

// A chart of a moving value between two fixed dashed bands, as live NORM shows.
void BandFrame(StripChart& c, int frame) {
    std::vector<double> v;
    for (int k = 0; k < 100; ++k) {
        const int age = frame + k;
        v.push_back(age % 7 == 0 ? std::nan("") : 500 + 40 * std::sin(age * 0.3));
        v.push_back(620);
        v.push_back(380.5);
    }
    c.appendPoints(v.data(), static_cast<int>(v.size()));
}

void SetUpBands(StripChart& c) {
    c.resize(600, 260);
    c.setYRange(0, 1000);
    c.setTraceColors("#ff0000,#00a000,#0000ff");
    c.setTraceDashed("0,1,1");
}

}  // namespace

namespace {

// Records the area each paint of a widget covers.
class PaintAreas : public QObject {
public:
    explicit PaintAreas(QWidget* w) { w->installEventFilter(this); }
    std::vector<QRect> rects;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(e)->rect());
        return false;
    }
};

// A strip chart shown in a window; what the screen shows comes from the
// window's backing store, the pixels the partial repaints left.
struct ShownChart {
    QWidget window;
    StripChart* chart = new StripChart(&window);
    ShownChart() {
        window.resize(620, 280);
        SetUpBands(*chart);
        chart->move(10, 10);
        window.show();
        QCoreApplication::processEvents();
    }
    QImage Shown() {
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage();
    }
};

}  // namespace

TEST(StripChart, LiveFramesRepaintOnlyWhereTheMovingTraceWasAndGoes) {
    ShownChart live;
    for (int f = 0; f < 4; ++f) {
        BandFrame(*live.chart, f);
        live.Shown();
    }
    PaintAreas areas(live.chart);
    for (int f = 4; f < 12; ++f) {
        BandFrame(*live.chart, f);
        live.Shown();
    }
    const QRect plot = live.chart->plotRect();
    ASSERT_EQ(areas.rects.size(), 8u);
    for (const QRect& r : areas.rects) {
        EXPECT_TRUE(plot.contains(r));
        EXPECT_LT(r.height(), plot.height() / 2);  // the value swings over a fifth of the scale
    }
    ShownChart fresh;
    BandFrame(*fresh.chart, 11);
    EXPECT_EQ(live.Shown(), fresh.Shown());

    // Cleared, then the same points again: drawn, not taken from a stale layer.
    live.chart->clear();
    live.Shown();
    BandFrame(*live.chart, 11);
    EXPECT_EQ(live.Shown(), fresh.Shown());
    // Bands that move and a value that leaves the scale.
    std::vector<double> v;
    for (int k = 0; k < 100; ++k) v.insert(v.end(), {k == 50 ? 5000.0 : 500.0, 700.0, 300.0});
    for (ShownChart* c : {&live, &fresh}) c->chart->appendPoints(v.data(), static_cast<int>(v.size()));
    EXPECT_EQ(live.Shown(), fresh.Shown());
}

TEST(StripChart, SteadyBandsOutsideTheRepaintAreNotDrawnAgain) {
    ShownChart live, fresh;
    for (int f = 0; f < 6; ++f) {
        BandFrame(*live.chart, f);
        live.Shown();
    }
    EXPECT_EQ(live.chart->tracesSkipped(), 2);  // the bands; the moving value is drawn
    BandFrame(*fresh.chart, 5);
    EXPECT_EQ(live.Shown(), fresh.Shown());
    EXPECT_EQ(fresh.chart->tracesSkipped(), 0);

    // A new scale, colour or size draws every trace again.
    for (ShownChart* c : {&live, &fresh}) c->chart->setYRange(100, 900);
    EXPECT_EQ(live.Shown(), fresh.Shown());
    EXPECT_EQ(live.chart->tracesSkipped(), 0);
    BandFrame(*live.chart, 6);
    BandFrame(*fresh.chart, 6);
    EXPECT_EQ(live.Shown(), fresh.Shown());
    EXPECT_EQ(live.chart->tracesSkipped(), 2);
    for (ShownChart* c : {&live, &fresh}) {
        c->chart->setTraceColors("#ff0000,#ff00ff,#00ffff");
        c->chart->resize(500, 240);
    }
    EXPECT_EQ(live.Shown(), fresh.Shown());
    EXPECT_EQ(live.chart->tracesSkipped(), 0);
}

TEST(StripChart, ABandThatMovesIsDrawnAgain) {
    ShownChart live, fresh;
    for (int f = 0; f < 3; ++f) {
        BandFrame(*live.chart, f);
        live.Shown();
    }
    std::vector<double> v;
    for (int k = 0; k < 100; ++k) v.insert(v.end(), {500.0 + (k % 3), 700.0, 380.5});
    live.chart->appendPoints(v.data(), static_cast<int>(v.size()));
    fresh.chart->appendPoints(v.data(), static_cast<int>(v.size()));
    EXPECT_EQ(live.Shown(), fresh.Shown());
    EXPECT_EQ(live.chart->tracesSkipped(), 1);  // the lower band alone stayed, away from the rest
    // A steady band the repaint reaches in part is drawn whole.
    v.clear();
    for (int k = 0; k < 100; ++k) v.insert(v.end(), {690.0 + (k % 5), 700.0, 380.5});
    live.chart->appendPoints(v.data(), static_cast<int>(v.size()));
    fresh.chart->appendPoints(v.data(), static_cast<int>(v.size()));
    EXPECT_EQ(live.Shown(), fresh.Shown());
    EXPECT_EQ(live.chart->tracesSkipped(), 1);
}
