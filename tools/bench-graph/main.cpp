// Measures the chart widgets under the load of the program: seven graphs
// that get one two-point plot per recorded frame for 65,536 frames, and a
// strip chart that takes 300 points per live frame.
//   QT_QPA_PLATFORM=offscreen bench-graph
// Exits 1 when adding is not constant-time or plots take too much memory.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/widgets/stripchart.h"
#include "platform/widgets/xygraph.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

constexpr int kGraphs = 7;
constexpr int kFrames = 65536;
constexpr int kWindow = 1000;  // frames in the first and last window
const uint32_t kColours[kGraphs] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF8000, 0x008080, 0x00FF00, 0x008080};

// A plausible signal: slow swing plus noise, in the 16-bit range.
double Signal(int graph, int frame) {
    static uint32_t seed = 12345;
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 16) / 65536.0 - 0.5;
    return 30000.0 + 20000.0 * std::sin(frame / (300.0 + 50 * graph)) + 3000.0 * noise;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    int failures = 0;

    // (1) Adding: seven graphs on one panel, one of them shown, as on the
    // graph panel.
    QWidget panel;
    panel.resize(820, 520);
    std::vector<XYGraph*> graphs;
    for (int g = 0; g < kGraphs; ++g) {
        auto* gr = new XYGraph(&panel);
        gr->setGeometry(10, 10, 800, 500);
        gr->setYRange(0, 65535);
        gr->setXLabel("Frame");
        gr->setVisible(g == 0);
        graphs.push_back(gr);
    }
    panel.show();
    app.processEvents();

    double prevY[kGraphs] = {};
    double first = 0, last = 0, total = 0;
    for (int f = 0; f < kFrames; ++f) {
        double ys[kGraphs];
        for (int g = 0; g < kGraphs; ++g) ys[g] = Signal(g, f);
        const double x[2] = {static_cast<double>(f > 0 ? f - 1 : 0), static_cast<double>(f)};
        const auto t0 = Clock::now();
        for (int g = 0; g < kGraphs; ++g) {
            const double y[2] = {prevY[g], ys[g]};
            graphs[g]->addPlot(x, y, 2, kColours[g]);
        }
        const double dt = Seconds(t0, Clock::now());
        total += dt;
        if (f < kWindow) first += dt;
        if (f >= kFrames - kWindow) last += dt;
        for (int g = 0; g < kGraphs; ++g) prevY[g] = ys[g];
    }
    const double adds = static_cast<double>(kFrames) * kGraphs;
    const double perAdd = total / adds * 1e9;
    const double firstPer = first / (kWindow * kGraphs) * 1e9;
    const double lastPer = last / (kWindow * kGraphs) * 1e9;
    std::printf("(1) adding %d two-point plots to each of %d graphs\n", kFrames, kGraphs);
    std::printf("    mean %.1f ns per add, first %d frames %.1f ns, last %d frames %.1f ns (ratio %.2f)\n",
                perAdd, kWindow, firstPer, kWindow, lastPer, lastPer / firstPer);
    // Windows of a few microseconds are noisy; only a clear trend counts.
    if (lastPer > 5.0 * firstPer && lastPer > 1000.0) {
        std::printf("    FAIL: adding is not constant-time\n");
        ++failures;
    }

    // (2) Memory.
    size_t bytes = 0;
    for (XYGraph* g : graphs) bytes += g->plotMemory();
    const double perPlot = static_cast<double>(bytes) / adds;
    std::printf("(2) memory: %.1f bytes per plot (%.1f MB for %d graphs)\n", perPlot, bytes / 1048576.0,
                kGraphs);
    if (perPlot > 64.0) {
        std::printf("    FAIL: more than 64 bytes per plot\n");
        ++failures;
    }

    // (3) Full repaint of one 800x500 graph with every plot.
    XYGraph* shown = graphs[0];
    std::vector<double> paints;
    for (int i = 0; i < 15; ++i) {
        const auto t0 = Clock::now();
        QPixmap px = shown->grab();
        paints.push_back(Seconds(t0, Clock::now()) * 1e3);
    }
    const double paintMs = Median(paints);
    std::printf(
        "(3) full repaint (grab) of an 800x500 graph with %d plots: median %.2f ms, best %.2f ms (goal < 50 "
        "ms) %s\n",
        shown->plotCount(), paintMs, *std::min_element(paints.begin(), paints.end()),
        paintMs < 50.0 ? "met" : "MISSED");

    // (4) Strip chart: 300 interleaved points per frame, then a repaint.
    StripChart strip;
    strip.resize(826, 438);  // the size of the scope charts
    strip.setYRange(0, 1500);
    strip.setTraceNames("GF,upper,lower");
    strip.setTraceDashed("0,1,1");
    strip.show();
    app.processEvents();
    double buf[300];
    QImage target(strip.size(), QImage::Format_ARGB32_Premultiplied);
    const int frames = 2000;
    double grabTotal = 0, renderTotal = 0;
    for (int f = 0; f < frames; ++f) {
        for (int i = 0; i < 100; ++i) {
            const double v = 1000.0 + 400.0 * std::sin((f + i) / 20.0);
            buf[3 * i] = v;
            buf[3 * i + 1] = 1100.0;
            buf[3 * i + 2] = 900.0;
        }
        auto t0 = Clock::now();
        strip.appendPoints(buf, 300);
        QPixmap px = strip.grab();
        grabTotal += Seconds(t0, Clock::now());
        t0 = Clock::now();
        strip.appendPoints(buf, 300);
        strip.render(&target);
        renderTotal += Seconds(t0, Clock::now());
    }
    std::printf(
        "(4) strip chart 826x438, 300 points and a repaint per frame: %.3f ms (grab), %.3f ms (render into "
        "a kept image)\n",
        grabTotal / frames * 1e3, renderTotal / frames * 1e3);
    return failures ? 1 : 0;
}
