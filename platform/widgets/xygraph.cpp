#include "platform/widgets/xygraph.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/widgets/chartaxis.h"

namespace {

// One plot. Two-point plots (the common case: one line per recorded frame)
// live entirely in here; longer plots keep their points in the pool and
// their bounding box here.
struct Plot {
    float x0, y0, x1, y1;
    uint32_t count;
    uint32_t pool;    // first point in the pool when count > 2
    uint16_t colour;  // index into the palette
};
static_assert(sizeof(Plot) <= 32, "plots must stay compact");

constexpr size_t kBatch = 2048;  // lines per drawLines call
constexpr size_t kMaxColours = 65535;

const QColor kPlotBackground(0, 0, 0);
const QColor kGridColour(70, 70, 70);

float ToFloat(double v) {
    if (std::isnan(v)) return NAN;
    return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

struct Range {
    double xlo, xhi, ylo, yhi;
    bool operator==(const Range& o) const {
        return xlo == o.xlo && xhi == o.xhi && ylo == o.ylo && yhi == o.yhi;
    }
};

// Cuts the segment to the box (Liang-Barsky); false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const Range& b) {
    const bool in0 = x0 >= b.xlo && x0 <= b.xhi && y0 >= b.ylo && y0 <= b.yhi;
    const bool in1 = x1 >= b.xlo && x1 <= b.xhi && y1 >= b.ylo && y1 <= b.yhi;
    if (in0 && in1) return true;
    if ((x0 < b.xlo && x1 < b.xlo) || (x0 > b.xhi && x1 > b.xhi) || (y0 < b.ylo && y1 < b.ylo) ||
        (y0 > b.yhi && y1 > b.yhi))
        return false;
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0.0, t1 = 1.0;
    auto edge = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
        return true;
    };
    if (!edge(-dx, x0 - b.xlo) || !edge(dx, b.xhi - x0) || !edge(-dy, y0 - b.ylo) || !edge(dy, b.yhi - y0))
        return false;
    const double ox = x0, oy = y0;
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
    return true;
}

struct Layout {
    QRect plot;
    chartaxis::Ticks xt, yt;
};

}  // namespace

struct XYGraph::Impl {
    double xmin = 0.0, xmax = 100.0, ymin = 0.0, ymax = 100.0;
    bool xauto = true, yauto = false;
    bool xwhole = false;
    QString xlabel, ylabel;

    std::vector<Plot> plots;
    std::vector<float> pool;  // x, y pairs of plots longer than two points
    // The set kept aside by swapPlots, with its data bounds; the palette is
    // shared, so its colour indices stay valid.
    struct Aside {
        std::vector<Plot> plots;
        std::vector<float> pool;
        bool hasData = false;
        double dxmin = 0, dxmax = 0, dymin = 0, dymax = 0;
    } aside;
    std::vector<uint32_t> palette;
    std::unordered_map<uint32_t, uint16_t> paletteIndex;
    bool hasData = false;
    double dxmin = 0, dxmax = 0, dymin = 0, dymax = 0;

    // The operator's zoom and pan; each axis on its own.
    bool xfollow = false;
    bool zoomX = false, zoomY = false;
    double vxlo = 0, vxhi = 0, vylo = 0, vyhi = 0;
    bool dragging = false;
    bool marking = false;  // Shift+drag marks an X span instead of panning
    bool band = false, marked = false;
    double bandLo = 0, bandHi = 0, markLo = 0, markHi = 0;
    std::vector<XYGraph::XMark> xmarks;
    void paintMarks(QPainter& p, const QRect& pr, const Range& r, qreal dpr) const;
    QPointF dragFrom;
    Range dragRange{0, 0, 0, 0};

    // Reused while painting: one batch of lines per colour.
    std::vector<std::vector<QLineF>> batches;
    // What the last paint showed, so that a new plot that leaves the axes
    // as they are repaints only its own area.
    Range painted{0, 0, 0, 0};
    QRect paintedPlot;
    QSize paintedSize;

    Range shown() const {
        Range r;
        r.xlo = xmin;
        r.xhi = xmax;
        if (xauto && hasData) {
            r.xlo = xfollow ? dxmin : std::min(r.xlo, dxmin);
            r.xhi = xfollow ? dxmax : std::max(r.xhi, dxmax);
        }
        r.ylo = ymin;
        r.yhi = ymax;
        if (yauto && hasData) {
            r.ylo = dymin;
            r.yhi = dymax;
        }
        if (zoomX) {
            r.xlo = vxlo;
            r.xhi = vxhi;
        }
        if (zoomY) {
            r.ylo = vylo;
            r.yhi = vyhi;
        }
        chartaxis::SaneRange(&r.xlo, &r.xhi);
        chartaxis::SaneRange(&r.ylo, &r.yhi);
        return r;
    }

    int colourIndex(uint32_t rgb) {
        auto it = paletteIndex.find(rgb);
        if (it != paletteIndex.end()) return it->second;
        if (palette.size() >= kMaxColours) return -1;
        palette.push_back(rgb);
        paletteIndex.emplace(rgb, static_cast<uint16_t>(palette.size() - 1));
        return static_cast<int>(palette.size() - 1);
    }

    void grow(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (!hasData) {
            dxmin = dxmax = x;
            dymin = dymax = y;
            hasData = true;
            return;
        }
        dxmin = std::min(dxmin, x);
        dxmax = std::max(dxmax, x);
        dymin = std::min(dymin, y);
        dymax = std::max(dymax, y);
    }

    Layout layout(const QWidget* w, const Range& r) const {
        Layout l;
        const QFontMetrics fm = w->fontMetrics();
        const int top = fm.height() / 2 + 2;
        const int bottom = fm.height() + 6 + (xlabel.isEmpty() ? 0 : fm.height() + 2);
        const int plotH = std::max(1, w->height() - top - bottom);
        l.yt = chartaxis::NiceTicks(r.ylo, r.yhi, std::clamp(plotH / (fm.height() * 2), 2, 10));
        int labelW = 0;
        for (int i = 0; i < l.yt.count; ++i)
            labelW = std::max(labelW, fm.horizontalAdvance(chartaxis::TickLabel(l.yt, i)));
        const int left = labelW + 8 + (ylabel.isEmpty() ? 0 : fm.height() + 2);
        const int right = 8 + fm.horizontalAdvance(QStringLiteral("00000")) / 2;
        const int plotW = std::max(1, w->width() - left - right);
        // Room for the widest label plus a gap between neighbours.
        const auto xTicks = xwhole ? chartaxis::WholeTicks : chartaxis::NiceTicks;
        l.xt = xTicks(r.xlo, r.xhi, std::clamp(plotW / 60, 2, 10));
        int xw = 0;
        for (int i = 0; i < l.xt.count; ++i)
            xw = std::max(xw, fm.horizontalAdvance(chartaxis::TickLabel(l.xt, i)));
        if (l.xt.count > 1 && (xw + 12) * (l.xt.count - 1) > plotW)
            l.xt = xTicks(r.xlo, r.xhi, std::max(1, plotW / (xw + 12)));
        l.plot = QRect(left, top, plotW, plotH);
        return l;
    }
};

XYGraph::XYGraph(QWidget* parent) : QWidget(parent), d(new Impl) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // for the cursor readout
}

XYGraph::~XYGraph() {
    delete d;
}

double XYGraph::xMin() const {
    return d->xmin;
}
double XYGraph::xMax() const {
    return d->xmax;
}
double XYGraph::yMin() const {
    return d->ymin;
}
double XYGraph::yMax() const {
    return d->ymax;
}

void XYGraph::setXMin(double v) {
    d->xmin = v;
    update();
}

void XYGraph::setXMax(double v) {
    d->xmax = v;
    update();
}

void XYGraph::setYMin(double v) {
    d->ymin = v;
    update();
}

void XYGraph::setYMax(double v) {
    d->ymax = v;
    update();
}

void XYGraph::setYRange(double min, double max) {
    d->ymin = min;
    d->ymax = max;
    d->yauto = false;
    update();
}

bool XYGraph::xAutoScale() const {
    return d->xauto;
}

void XYGraph::setXAutoScale(bool on) {
    d->xauto = on;
    update();
}

bool XYGraph::yAutoScale() const {
    return d->yauto;
}

void XYGraph::setYAutoScale(bool on) {
    d->yauto = on;
    update();
}

QString XYGraph::xLabel() const {
    return d->xlabel;
}

void XYGraph::setXLabel(const QString& s) {
    d->xlabel = s;
    update();
}

QString XYGraph::yLabel() const {
    return d->ylabel;
}

void XYGraph::setYLabel(const QString& s) {
    d->ylabel = s;
    update();
}

int XYGraph::addPlot(const double* x, const double* y, int count, uint32_t rgb) {
    if (!x || !y || count <= 0) return -1;
    const int colour = d->colourIndex(rgb & 0xFFFFFFu);
    if (colour < 0) return -1;
    const Range before = d->shown();
    Plot p{};
    p.count = static_cast<uint32_t>(count);
    p.colour = static_cast<uint16_t>(colour);
    if (count <= 2) {
        p.x0 = p.x1 = ToFloat(x[0]);
        p.y0 = p.y1 = ToFloat(y[0]);
        if (count == 2) {
            p.x1 = ToFloat(x[1]);
            p.y1 = ToFloat(y[1]);
        }
        d->grow(p.x0, p.y0);
        d->grow(p.x1, p.y1);
    } else {
        p.pool = static_cast<uint32_t>(d->pool.size() / 2);
        p.x0 = p.y0 = FLT_MAX;
        p.x1 = p.y1 = -FLT_MAX;
        for (int i = 0; i < count; ++i) {
            const float fx = ToFloat(x[i]), fy = ToFloat(y[i]);
            d->pool.push_back(fx);
            d->pool.push_back(fy);
            d->grow(fx, fy);
            if (std::isfinite(fx) && std::isfinite(fy)) {
                p.x0 = std::min(p.x0, fx);
                p.x1 = std::max(p.x1, fx);
                p.y0 = std::min(p.y0, fy);
                p.y1 = std::max(p.y1, fy);
            }
        }
    }
    d->plots.push_back(p);

    if (isVisible()) {
        const Range now = d->shown();
        if (now == before && now == d->painted && size() == d->paintedSize) {
            // The axes stay: repaint only the box the new plot covers.
            const QRect& pr = d->paintedPlot;
            const double sx = (pr.width() - 1) / (now.xhi - now.xlo);
            const double sy = (pr.height() - 1) / (now.yhi - now.ylo);
            auto px = [&](double v) { return std::clamp(pr.left() + (v - now.xlo) * sx, -1e6, 1e6); };
            auto py = [&](double v) { return std::clamp(pr.top() + (now.yhi - v) * sy, -1e6, 1e6); };
            const double ax = std::min(p.x0, p.x1), bx = std::max(p.x0, p.x1);
            const double ay = std::min(p.y0, p.y1), by = std::max(p.y0, p.y1);
            const QRect box = QRectF(QPointF(px(ax), py(by)), QPointF(px(bx), py(ay)))
                                  .toAlignedRect()
                                  .adjusted(-2, -2, 2, 2)
                                  .intersected(pr);
            if (!box.isEmpty()) update(box);
        } else {
            update();
        }
    }
    return static_cast<int>(d->plots.size());
}

void XYGraph::clearPlots() {
    std::vector<Plot>().swap(d->plots);
    std::vector<float>().swap(d->pool);
    d->hasData = false;
    update();
}

void XYGraph::swapPlots() {
    Impl::Aside& a = d->aside;
    d->plots.swap(a.plots);
    d->pool.swap(a.pool);
    std::swap(d->hasData, a.hasData);
    std::swap(d->dxmin, a.dxmin);
    std::swap(d->dxmax, a.dxmax);
    std::swap(d->dymin, a.dymin);
    std::swap(d->dymax, a.dymax);
    update();
}

int XYGraph::plotCount() const {
    return static_cast<int>(d->plots.size());
}

int XYGraph::plotPoints(int index, double* x, double* y, int max, uint32_t* rgb) const {
    if (index < 0 || index >= plotCount()) return 0;
    const Plot& p = d->plots[static_cast<size_t>(index)];
    if (rgb) *rgb = d->palette[p.colour];
    if (!x || !y || max <= 0) return 0;
    const int n = std::min(static_cast<int>(p.count), max);
    for (int i = 0; i < n; ++i) {
        if (p.count > 2) {
            x[i] = d->pool[(static_cast<size_t>(p.pool) + i) * 2];
            y[i] = d->pool[(static_cast<size_t>(p.pool) + i) * 2 + 1];
        } else {
            x[i] = i == 0 ? p.x0 : p.x1;
            y[i] = i == 0 ? p.y0 : p.y1;
        }
    }
    return n;
}

size_t XYGraph::plotMemory() const {
    return (d->plots.capacity() + d->aside.plots.capacity()) * sizeof(Plot) +
           (d->pool.capacity() + d->aside.pool.capacity()) * sizeof(float) +
           d->palette.capacity() * sizeof(uint32_t);
}

bool XYGraph::dataBounds(double* xmin, double* xmax, double* ymin, double* ymax) const {
    if (!d->hasData) return false;
    if (xmin) *xmin = d->dxmin;
    if (xmax) *xmax = d->dxmax;
    if (ymin) *ymin = d->dymin;
    if (ymax) *ymax = d->dymax;
    return true;
}

void XYGraph::shownXRange(double* min, double* max) const {
    const Range r = d->shown();
    if (min) *min = r.xlo;
    if (max) *max = r.xhi;
}

void XYGraph::shownYRange(double* min, double* max) const {
    const Range r = d->shown();
    if (min) *min = r.ylo;
    if (max) *max = r.yhi;
}

QRect XYGraph::plotRect() const {
    return d->layout(this, d->shown()).plot;
}

// The band, the marked span and the X marks, clipped to the plot area.
void XYGraph::Impl::paintMarks(QPainter& p, const QRect& pr, const Range& r, qreal dpr) const {
    const Impl& m = *this;
    if (!m.band && !m.marked && m.xmarks.empty()) return;
    const double sx = (pr.width() - 1) / (r.xhi - r.xlo);
    const double sy = (pr.height() - 1) / (r.yhi - r.ylo);
    auto mapX = [&](double v) { return std::clamp(pr.left() + (v - r.xlo) * sx, -1e6, 1e6); };
    auto mapY = [&](double v) { return std::clamp(pr.top() + (r.yhi - v) * sy, -1e6, 1e6); };
    p.save();
    p.setClipRect(pr);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (m.marked) {
        const double a = mapX(m.markLo), b = mapX(m.markHi);
        p.fillRect(QRectF(QPointF(a, pr.top()), QPointF(std::max(b, a + 1), pr.bottom())),
                   QColor(0, 90, 200, 40));
        p.setPen(chartaxis::ChartPen(QColor(0, 90, 200), dpr));
        p.drawLine(QPointF(a, pr.top()), QPointF(a, pr.bottom()));
        p.drawLine(QPointF(b, pr.top()), QPointF(b, pr.bottom()));
    }
    if (m.band) {
        const double hi = mapY(m.bandHi), lo = mapY(m.bandLo);
        p.fillRect(QRectF(QPointF(pr.left(), hi), QPointF(pr.right(), lo)), QColor(230, 120, 0, 30));
        p.setPen(chartaxis::ChartPen(QColor(200, 90, 0), dpr, 1.5, Qt::DashLine));
        p.drawLine(QPointF(pr.left(), hi), QPointF(pr.right(), hi));
        p.drawLine(QPointF(pr.left(), lo), QPointF(pr.right(), lo));
    }
    for (const XYGraph::XMark& k : m.xmarks) {
        p.setPen(
            chartaxis::ChartPen(QColor::fromRgb(k.rgb), dpr, 1.5, k.dashed ? Qt::DashLine : Qt::SolidLine));
        const double x = mapX(k.x);
        p.drawLine(QPointF(x, pr.top()), QPointF(x, pr.bottom()));
    }
    p.restore();
}

void XYGraph::paintEvent(QPaintEvent* e) {
    Impl& m = *d;
    const Range r = m.shown();
    const Layout l = m.layout(this, r);
    const QRect& pr = l.plot;
    m.painted = r;
    m.paintedPlot = pr;
    m.paintedSize = size();

    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.fillRect(pr, kPlotBackground);
    const double left = pr.left(), top = pr.top();
    const double sx = (pr.width() - 1) / (r.xhi - r.xlo);
    const double sy = (pr.height() - 1) / (r.yhi - r.ylo);
    auto mapX = [&](double v) { return left + (v - r.xlo) * sx; };
    auto mapY = [&](double v) { return top + (r.yhi - v) * sy; };

    // Grid, axis labels and captions.
    const QFontMetrics fm = fontMetrics();
    const qreal dpr = devicePixelRatioF();
    p.setPen(chartaxis::ChartPen(kGridColour, dpr, 1.0, Qt::DotLine));
    for (int i = 0; i < l.yt.count; ++i) {
        const double y = std::round(mapY(chartaxis::TickValue(l.yt, i)));
        p.drawLine(QPointF(left, y), QPointF(pr.right(), y));
    }
    for (int i = 0; i < l.xt.count; ++i) {
        const double x = std::round(mapX(chartaxis::TickValue(l.xt, i)));
        p.drawLine(QPointF(x, top), QPointF(x, pr.bottom()));
    }
    const QColor text = palette().windowText().color();
    p.setPen(chartaxis::ChartPen(text, dpr));
    p.drawRect(pr.adjusted(-1, -1, 0, 0));
    const int yLabelRight = pr.left() - 4;
    for (int i = 0; i < l.yt.count; ++i) {
        const int y = static_cast<int>(mapY(chartaxis::TickValue(l.yt, i)));
        p.drawText(QRect(0, y - fm.height() / 2, yLabelRight, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   chartaxis::TickLabel(l.yt, i));
    }
    for (int i = 0; i < l.xt.count; ++i) {
        const int x = static_cast<int>(mapX(chartaxis::TickValue(l.xt, i)));
        p.drawText(QRect(x - 60, pr.bottom() + 4, 120, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                   chartaxis::TickLabel(l.xt, i));
    }
    if (!m.xlabel.isEmpty())
        p.drawText(QRect(pr.left(), pr.bottom() + 6 + fm.height(), pr.width(), fm.height()), Qt::AlignCenter,
                   m.xlabel);
    if (!m.ylabel.isEmpty()) {
        p.save();
        p.translate(2, pr.center().y());
        p.rotate(-90);
        p.drawText(QRect(-pr.height() / 2, 0, pr.height(), fm.height()), Qt::AlignCenter, m.ylabel);
        p.restore();
    }

    // Plots: only the part inside the exposed area, clipped in data space so
    // that far-off points never reach the rasteriser, in one batch per colour.
    const QRect exposed = e->rect().intersected(pr);
    if (exposed.isEmpty() || m.plots.empty()) {
        m.paintMarks(p, pr, r, dpr);
        return;
    }
    Range cut;
    cut.xlo = r.xlo + (exposed.left() - 1 - left) / sx;
    cut.xhi = r.xlo + (exposed.right() + 1 - left) / sx;
    cut.yhi = r.yhi - (exposed.top() - 1 - top) / sy;
    cut.ylo = r.yhi - (exposed.bottom() + 1 - top) / sy;
    p.setClipRect(pr);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (m.batches.size() < m.palette.size()) m.batches.resize(m.palette.size());
    auto flush = [&](size_t c) {
        std::vector<QLineF>& b = m.batches[c];
        if (b.empty()) return;
        p.setPen(chartaxis::ChartPen(QColor::fromRgb(m.palette[c]), dpr));
        p.drawLines(b.data(), static_cast<int>(b.size()));
        b.clear();
    };
    auto add = [&](uint16_t c, double x0, double y0, double x1, double y1) {
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
        if (!ClipSegment(x0, y0, x1, y1, cut)) return;
        std::vector<QLineF>& b = m.batches[c];
        if (b.capacity() < kBatch) b.reserve(kBatch);
        b.emplace_back(mapX(x0), mapY(y0), mapX(x1), mapY(y1));
        if (b.size() >= kBatch) flush(c);
    };
    for (const Plot& pl : m.plots) {
        if (pl.count == 1) {
            if (pl.x0 >= cut.xlo && pl.x0 <= cut.xhi && pl.y0 >= cut.ylo && pl.y0 <= cut.yhi) {
                p.setPen(chartaxis::ChartPen(QColor::fromRgb(m.palette[pl.colour]), dpr));
                p.drawPoint(QPointF(mapX(pl.x0), mapY(pl.y0)));
            }
        } else if (pl.count == 2) {
            add(pl.colour, pl.x0, pl.y0, pl.x1, pl.y1);
        } else {
            // Skip long plots whose box lies outside the exposed area.
            if (pl.x1 < cut.xlo || pl.x0 > cut.xhi || pl.y1 < cut.ylo || pl.y0 > cut.yhi) continue;
            const float* pts = &m.pool[static_cast<size_t>(pl.pool) * 2];
            for (uint32_t i = 1; i < pl.count; ++i)
                add(pl.colour, pts[2 * i - 2], pts[2 * i - 1], pts[2 * i], pts[2 * i + 1]);
        }
    }
    for (size_t c = 0; c < m.palette.size(); ++c) flush(c);
    m.paintMarks(p, pr, r, dpr);
}

void XYGraph::setBand(bool on, double lo, double hi) {
    d->band = on && std::isfinite(lo) && std::isfinite(hi);
    d->bandLo = std::min(lo, hi);
    d->bandHi = std::max(lo, hi);
    update();
}

void XYGraph::setMarkedRange(bool on, double x0, double x1) {
    d->marked = on && std::isfinite(x0) && std::isfinite(x1);
    d->markLo = std::min(x0, x1);
    d->markHi = std::max(x0, x1);
    update();
}

bool XYGraph::markedRange(double* x0, double* x1) const {
    *x0 = d->markLo;
    *x1 = d->markHi;
    return d->marked;
}

void XYGraph::setXMarks(const XMark* marks, int count) {
    d->xmarks.assign(marks, marks + std::max(0, count));
    update();
}

// ---- the operator's view: zoom, pan, reset, cursor ----

namespace {

// Narrowest view, so that repeated zooming cannot reach an empty range.
constexpr double kMinViewWidth = 1e-3;
// One notch of the wheel (120 eighths of a degree) narrows the range by this.
constexpr double kZoomPerNotch = 0.8;

bool Scaled(double lo, double hi, double factor, double about, double* outLo, double* outHi) {
    if (!(factor > 0) || !std::isfinite(about)) return false;
    const double nlo = about - (about - lo) * factor;
    const double nhi = about + (hi - about) * factor;
    if (!(nhi - nlo >= kMinViewWidth) || !std::isfinite(nlo) || !std::isfinite(nhi)) return false;
    *outLo = nlo;
    *outHi = nhi;
    return true;
}

}  // namespace

void XYGraph::setXFollowsData(bool on) {
    d->xfollow = on;
    update();
}

bool XYGraph::xFollowsData() const {
    return d->xfollow;
}

void XYGraph::zoomX(double factor, double aboutX) {
    const Range r = d->shown();
    if (!Scaled(r.xlo, r.xhi, factor, aboutX, &d->vxlo, &d->vxhi)) return;
    d->zoomX = true;
    update();
    emit viewChanged();
}

void XYGraph::zoomY(double factor, double aboutY) {
    const Range r = d->shown();
    if (!Scaled(r.ylo, r.yhi, factor, aboutY, &d->vylo, &d->vyhi)) return;
    d->zoomY = true;
    update();
    emit viewChanged();
}

void XYGraph::pan(double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    const Range r = d->shown();
    if (dx != 0) {
        d->vxlo = r.xlo + dx;
        d->vxhi = r.xhi + dx;
        d->zoomX = true;
    }
    if (dy != 0) {
        d->vylo = r.ylo + dy;
        d->vyhi = r.yhi + dy;
        d->zoomY = true;
    }
    update();
    emit viewChanged();
}

void XYGraph::resetView() {
    const bool was = d->zoomX || d->zoomY;
    d->zoomX = d->zoomY = false;
    d->dragging = false;
    update();
    if (was) emit viewChanged();
}

bool XYGraph::viewZoomed() const {
    return d->zoomX || d->zoomY;
}

bool XYGraph::xWholeTicks() const {
    return d->xwhole;
}

void XYGraph::setXWholeTicks(bool on) {
    d->xwhole = on;
    update();
}

bool XYGraph::fitYToShown() {
    const Range r = d->shown();
    bool any = false;
    double lo = 0, hi = 0;
    auto take = [&](double y) {
        if (!std::isfinite(y)) return;
        lo = any ? std::min(lo, y) : y;
        hi = any ? std::max(hi, y) : y;
        any = true;
    };
    // Each line from (x0, y0) to (x1, y1): its part inside the X range, so
    // that a line crossing the range's edge counts where it crosses.
    auto segment = [&](double x0, double y0, double x1, double y1) {
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        if (x1 < r.xlo || x0 > r.xhi) return;
        auto at = [&](double x) { return x1 == x0 ? y0 : y0 + (y1 - y0) * (x - x0) / (x1 - x0); };
        take(x0 >= r.xlo ? y0 : at(r.xlo));
        take(x1 <= r.xhi ? y1 : at(r.xhi));
    };
    for (const Plot& p : d->plots) {
        if (p.count > 2) {
            const float* pts = &d->pool[static_cast<size_t>(p.pool) * 2];
            for (uint32_t i = 0; i + 1 < p.count; ++i)
                segment(pts[i * 2], pts[i * 2 + 1], pts[i * 2 + 2], pts[i * 2 + 3]);
        } else if (p.count == 2) {
            segment(p.x0, p.y0, p.x1, p.y1);
        } else if (p.count == 1 && p.x0 >= r.xlo && p.x0 <= r.xhi) {
            take(p.y0);
        }
    }
    if (!any) return false;
    // A little room above and below, so the line does not run along the frame.
    const double pad = hi > lo ? (hi - lo) * 0.05 : std::max(1.0, std::fabs(lo) * 0.05);
    d->vylo = lo - pad;
    d->vyhi = hi + pad;
    d->zoomY = true;
    update();
    return true;
}

QPointF XYGraph::toData(const QPointF& pos) const {
    const Range r = d->shown();
    const QRect pr = d->layout(this, r).plot;
    const double sx = (pr.width() - 1) / (r.xhi - r.xlo);
    const double sy = (pr.height() - 1) / (r.yhi - r.ylo);
    return QPointF(r.xlo + (pos.x() - pr.left()) / sx, r.yhi - (pos.y() - pr.top()) / sy);
}

void XYGraph::wheelEvent(QWheelEvent* e) {
    const int notches = e->angleDelta().y();
    if (notches == 0) {
        e->ignore();
        return;
    }
    const double factor = std::pow(kZoomPerNotch, notches / 120.0);
    const QPointF at = toData(e->position());
    if (e->modifiers() & Qt::ControlModifier)
        zoomY(factor, at.y());
    else
        zoomX(factor, at.x());
    e->accept();
}

void XYGraph::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    d->dragFrom = e->position();
    d->dragRange = d->shown();
    d->marking = (e->modifiers() & Qt::ShiftModifier) && plotRect().contains(e->position().toPoint());
    d->dragging = !d->marking;
    if (d->marking) {
        const double x = toData(e->position()).x();
        setMarkedRange(true, x, x);
    }
    e->accept();
}

void XYGraph::mouseMoveEvent(QMouseEvent* e) {
    const QRect pr = plotRect();
    if (d->marking && (e->buttons() & Qt::LeftButton))
        setMarkedRange(true, toData(d->dragFrom).x(), toData(e->position()).x());
    if (d->dragging && (e->buttons() & Qt::LeftButton)) {
        const Range& r = d->dragRange;
        const double sx = (pr.width() - 1) / (r.xhi - r.xlo);
        const double sy = (pr.height() - 1) / (r.yhi - r.ylo);
        const QPointF moved = e->position() - d->dragFrom;
        // The data follows the mouse: dragging right shows earlier frames.
        d->vxlo = r.xlo - moved.x() / sx;
        d->vxhi = r.xhi - moved.x() / sx;
        d->zoomX = true;
        if (moved.y() != 0) {
            d->vylo = r.ylo + moved.y() / sy;
            d->vyhi = r.yhi + moved.y() / sy;
            d->zoomY = true;
        }
        update();
        emit viewChanged();
    }
    if (pr.contains(e->position().toPoint())) {
        const QPointF at = toData(e->position());
        emit cursorMoved(at.x(), at.y());
    }
    e->accept();
}

void XYGraph::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        d->dragging = false;
        if (d->marking) {
            d->marking = false;
            emit rangeMarked(d->markLo, d->markHi);
        }
    }
    e->accept();
}

void XYGraph::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        d->marking = false;
        resetView();
        if (d->marked) {
            setMarkedRange(false, 0, 0);
            emit rangeCleared();
        }
    }
    e->accept();
}
