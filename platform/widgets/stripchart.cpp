#include "platform/widgets/stripchart.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <algorithm>
#include <cmath>

#include "platform/widgets/chartaxis.h"

namespace {

constexpr int kMaxTraces = 8;
constexpr int kMinPoints = 2;
constexpr int kMaxPoints = 100000;
// Pixels a trace may run past the plot edge before it is held; keeps far
// out-of-range values inside what the rasteriser handles, while the visible
// part of the line keeps its slope.
constexpr double kOffChart = 20000.0;

const QColor kDefaultColours[kMaxTraces] = {
    QColor(255, 0, 0),   QColor(0, 200, 0),   QColor(0, 96, 255),  QColor(255, 255, 0),
    QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 128, 0), QColor(255, 255, 255),
};

const QColor kPlotBackground(0, 0, 0);
const QColor kGridColour(70, 70, 70);

QStringList SplitList(const QString& s) {
    QStringList parts = s.split(',');
    for (QString& p : parts) p = p.trimmed();
    return parts;
}

struct Layout {
    QRect plot;
    QRect legend;
    chartaxis::Ticks ticks;
};

// A trace as last painted. While its points stay the same (a tolerance band
// stays put for as long as its teach row does) its pixels stay right, and a
// repaint that does not reach them need not draw it.
struct TraceLayer {
    std::vector<double> values;  // the points it was painted from, oldest first
    unsigned look = 0;           // Impl::look when painted
    int pps = 0;
    QRect box;  // what painting the trace may touch; empty when it runs off the plot
};

}  // namespace

struct StripChart::Impl {
    int traces = 3;
    int pps = 100;
    double ymin = 0.0;
    double ymax = 100.0;
    QString coloursText, namesText, dashedText;
    QColor colours[kMaxTraces];
    QString names[kMaxTraces];
    bool dashed[kMaxTraces] = {};

    // One ring of `pps` values per trace, trace after trace. Allocated only
    // when the trace count or points per screen change.
    std::vector<double> ring;
    int head[kMaxTraces] = {};  // where the next value of a trace goes
    int fill[kMaxTraces] = {};  // values a trace holds, up to pps
    int next = 0;               // trace that takes the next appended value
    std::vector<QPointF> poly;  // reused for drawing one trace
    // Frame, grid, labels and legend change only with the set-up or the
    // size, so they are drawn once and reused by every repaint.
    QPixmap background;
    QRect backgroundPlot;  // the plot area the background was drawn for
    unsigned look = 0;     // counts background rebuilds: scale, colours, size
    TraceLayer layers[kMaxTraces];
    int skipped = 0;            // traces the last paint did not need to draw
    QRect pending;              // the plot area to repaint at the next paint
    std::vector<double> shown;  // reused for the points a trace shows

    Impl() {
        for (int t = 0; t < kMaxTraces; ++t) colours[t] = kDefaultColours[t];
        ring.assign(static_cast<size_t>(traces) * pps, 0.0);
        poly.resize(pps);
    }

    double value(int t, int k) const {  // k-th shown value of trace t, oldest first
        const int start = (head[t] - fill[t] + pps) % pps;
        return ring[static_cast<size_t>(t) * pps + (start + k) % pps];
    }

    // Re-allocates for a new shape, keeping the newest values of every trace
    // that remains.
    void reshape(int newTraces, int newPps) {
        std::vector<double> nr(static_cast<size_t>(newTraces) * newPps, 0.0);
        int nh[kMaxTraces] = {}, nf[kMaxTraces] = {};
        for (int t = 0; t < std::min(traces, newTraces); ++t) {
            const int keep = std::min(fill[t], newPps);
            for (int k = 0; k < keep; ++k)
                nr[static_cast<size_t>(t) * newPps + k] = value(t, fill[t] - keep + k);
            nf[t] = keep;
            nh[t] = keep % newPps;
        }
        ring.swap(nr);
        std::copy(nh, nh + kMaxTraces, head);
        std::copy(nf, nf + kMaxTraces, fill);
        if (newTraces != traces) next = 0;
        traces = newTraces;
        pps = newPps;
        poly.resize(pps);
    }

    // The pixels a trace of `n` points may touch, line ends rounded and all;
    // empty when a point lies outside `plot`, where the clip would cut the line.
    QRect traceBox(const double* v, int n, const QRect& plot) const {
        double lo = ymin, hi = ymax;
        chartaxis::SaneRange(&lo, &hi);
        const double top = plot.top(), left = plot.left();
        const double yScale = (plot.height() - 1) / (hi - lo);
        const double dx = (plot.width() - 1) / static_cast<double>(pps - 1);
        double x0 = left + plot.width(), x1 = left, y0 = top + plot.height(), y1 = top;
        for (int k = 0; k < n; ++k) {
            if (std::isnan(v[k])) continue;
            const double y = top + (hi - v[k]) * yScale;
            x0 = std::min(x0, left + k * dx);
            x1 = std::max(x1, left + k * dx);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
        const QRectF span(QPointF(x0, y0), QPointF(x1, y1));
        const QRectF inside(plot);  // a flat band is a span of no height: test its corners
        if (!(x0 <= x1) || !inside.contains(span.topLeft()) || !inside.contains(span.bottomRight()))
            return QRect();
        // Not cut at the plot's edge: a line drawn into a layer no larger
        // than the plot would lose its end pixel on the edge column.
        return span.toAlignedRect().adjusted(-3, -3, 3, 3);
    }

    bool hasLegend() const {
        for (int t = 0; t < traces; ++t)
            if (!names[t].isEmpty()) return true;
        return false;
    }

    Layout layout(const QWidget* w) const {
        Layout l;
        const QFontMetrics fm = w->fontMetrics();
        const int half = fm.height() / 2 + 2;
        const int top = hasLegend() ? fm.height() + 6 : half;
        const int bottom = half;
        const int plotH = std::max(1, w->height() - top - bottom);
        double lo = ymin, hi = ymax;
        chartaxis::SaneRange(&lo, &hi);
        l.ticks = chartaxis::NiceTicks(lo, hi, std::clamp(plotH / (fm.height() * 2), 2, 10));
        int labelW = 0;
        for (int i = 0; i < l.ticks.count; ++i)
            labelW = std::max(labelW, fm.horizontalAdvance(chartaxis::TickLabel(l.ticks, i)));
        const int left = labelW + 8;
        const int right = 6;
        l.plot = QRect(left, top, std::max(1, w->width() - left - right), plotH);
        l.legend = QRect(left, 0, l.plot.width(), top);
        return l;
    }
};

StripChart::StripChart(QWidget* parent) : QWidget(parent), d(new Impl) {
    // The chart paints every pixel itself, so nothing beneath it repaints.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

StripChart::~StripChart() {
    delete d;
}

int StripChart::traces() const {
    return d->traces;
}

void StripChart::setTraces(int n) {
    n = std::clamp(n, 1, kMaxTraces);
    if (n == d->traces) return;
    d->reshape(n, d->pps);
    d->background = QPixmap();
    update();
}

int StripChart::pointsPerScreen() const {
    return d->pps;
}

void StripChart::setPointsPerScreen(int n) {
    n = std::clamp(n, kMinPoints, kMaxPoints);
    if (n == d->pps) return;
    d->reshape(d->traces, n);
    update();
}

double StripChart::yMin() const {
    return d->ymin;
}
double StripChart::yMax() const {
    return d->ymax;
}

void StripChart::setYMin(double v) {
    d->ymin = v;
    d->background = QPixmap();
    update();
}

void StripChart::setYMax(double v) {
    d->ymax = v;
    d->background = QPixmap();
    update();
}

void StripChart::setYRange(double min, double max) {
    d->ymin = min;
    d->ymax = max;
    d->background = QPixmap();
    update();
}

QString StripChart::traceColors() const {
    return d->coloursText;
}

void StripChart::setTraceColors(const QString& s) {
    d->coloursText = s;
    const QStringList parts = SplitList(s);
    for (int t = 0; t < kMaxTraces; ++t) {
        const QColor c = t < parts.size() ? QColor(parts[t]) : QColor();
        d->colours[t] = c.isValid() ? c : kDefaultColours[t];
    }
    d->background = QPixmap();
    update();
}

QString StripChart::traceNames() const {
    return d->namesText;
}

void StripChart::setTraceNames(const QString& s) {
    d->namesText = s;
    const QStringList parts = s.isEmpty() ? QStringList() : SplitList(s);
    for (int t = 0; t < kMaxTraces; ++t) d->names[t] = t < parts.size() ? parts[t] : QString();
    d->background = QPixmap();
    update();
}

QString StripChart::traceDashed() const {
    return d->dashedText;
}

void StripChart::setTraceDashed(const QString& s) {
    d->dashedText = s;
    const QStringList parts = SplitList(s);
    for (int t = 0; t < kMaxTraces; ++t) d->dashed[t] = t < parts.size() && parts[t] == QLatin1String("1");
    d->background = QPixmap();
    update();
}

void StripChart::appendPoints(const double* points, int count, int stride) {
    if (!points || count <= 0) return;
    if (stride < 1) stride = 1;
    Impl& m = *d;
    for (int i = 0; i < count; ++i) {
        const int t = m.next;
        m.ring[static_cast<size_t>(t) * m.pps + m.head[t]] = points[static_cast<size_t>(i) * stride];
        m.head[t] = (m.head[t] + 1) % m.pps;
        if (m.fill[t] < m.pps) ++m.fill[t];
        m.next = (t + 1) % m.traces;
    }
    UpdateTraces();
}

// New points change only the plot area: the axes, labels and legend around
// it stay as painted, so the repaint leaves them out. Within the plot only
// the traces that moved repaint, where they were and where they go; a band
// that stays put keeps its pixels and is not drawn again.
void StripChart::UpdateTraces() {
    Impl& m = *d;
    const QRect pr = m.backgroundPlot;
    if (m.background.isNull() || pr.isEmpty()) {
        update();
        return;
    }
    QRect dirty;
    bool steady[kMaxTraces] = {};
    for (int t = 0; t < m.traces; ++t) {
        const int n = m.fill[t];
        m.shown.resize(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k) m.shown[static_cast<size_t>(k)] = m.value(t, k);
        TraceLayer& layer = m.layers[t];
        const bool painted = layer.look == m.look && layer.pps == m.pps;
        const QRect now = n > 0 ? m.traceBox(m.shown.data(), n, pr) : QRect();
        const bool wasEmpty = painted && layer.values.empty();
        if (!painted || (layer.box.isEmpty() && !wasEmpty) || (now.isEmpty() && n > 0)) {
            update(pr);  // off the plot, or not painted yet: all of it
            return;
        }
        steady[t] = layer.values == m.shown;
        if (!steady[t]) dirty |= (layer.box | now) & pr;
    }
    // A steady trace the repaint reaches is drawn again; it is to lie wholly
    // inside the repaint, so that no edge of it cuts the line.
    for (bool grown = true; grown && !dirty.isEmpty();) {
        grown = false;
        for (int t = 0; t < m.traces; ++t) {
            const QRect box = m.layers[t].box & pr;
            if (steady[t] && dirty.intersects(box) && !dirty.contains(box)) {
                dirty |= box;
                grown = true;
            }
        }
    }
    // One rectangle grows until the paint: a region of several would clip
    // the line ends at the plot's edge otherwise than the plot's own clip.
    if (dirty.isEmpty()) return;
    m.pending |= dirty;
    update(m.pending);
}

int StripChart::tracePoints(int trace, double* out, int max) const {
    if (trace < 0 || trace >= d->traces || !out || max <= 0) return 0;
    const int n = std::min(d->fill[trace], max);
    for (int k = 0; k < n; ++k) out[k] = d->value(trace, k);
    return n;
}

void StripChart::clear() {
    std::fill(d->head, d->head + kMaxTraces, 0);
    std::fill(d->fill, d->fill + kMaxTraces, 0);
    d->next = 0;
    UpdateTraces();
}

int StripChart::tracesSkipped() const {
    return d->skipped;
}

QRect StripChart::plotRect() const {
    return d->layout(this).plot;
}

void StripChart::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange) d->background = QPixmap();
    QWidget::changeEvent(e);
}

void StripChart::paintBackground(const QRect& pr) {
    Impl& m = *d;
    const Layout l = m.layout(this);
    const qreal dpr = devicePixelRatioF();
    m.background = QPixmap(size() * dpr);
    m.background.setDevicePixelRatio(dpr);
    QPainter p(&m.background);
    p.fillRect(rect(), palette().window());
    p.fillRect(pr, kPlotBackground);

    double lo = m.ymin, hi = m.ymax;
    chartaxis::SaneRange(&lo, &hi);
    const double top = pr.top(), h = pr.height(), left = pr.left(), w = pr.width();
    const double yScale = (h - 1) / (hi - lo);
    auto mapY = [&](double v) { return top + (hi - v) * yScale; };

    // Grid: a line at every Y tick, ten columns across.
    const QFontMetrics fm = fontMetrics();
    p.setPen(chartaxis::ChartPen(kGridColour, dpr, 1.0, Qt::DotLine));
    for (int i = 0; i < l.ticks.count; ++i) {
        const double y = std::round(mapY(chartaxis::TickValue(l.ticks, i)));
        p.drawLine(QPointF(left, y), QPointF(left + w - 1, y));
    }
    for (int c = 1; c < 10; ++c) {
        const double x = std::round(left + c * (w - 1) / 10.0);
        p.drawLine(QPointF(x, top), QPointF(x, top + h - 1));
    }
    p.setPen(chartaxis::ChartPen(palette().windowText().color(), dpr));
    for (int i = 0; i < l.ticks.count; ++i) {
        const double y = mapY(chartaxis::TickValue(l.ticks, i));
        const QRect r(0, static_cast<int>(y) - fm.height() / 2, pr.left() - 4, fm.height());
        p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, chartaxis::TickLabel(l.ticks, i));
    }
    p.drawRect(pr.adjusted(-1, -1, 0, 0));

    // Legend along the top edge.
    if (m.hasLegend()) {
        int x = l.legend.left();
        const int y = l.legend.center().y();
        for (int t = 0; t < m.traces; ++t) {
            if (m.names[t].isEmpty()) continue;
            p.setPen(chartaxis::ChartPen(m.colours[t], dpr, 2.0, m.dashed[t] ? Qt::DashLine : Qt::SolidLine));
            p.drawLine(x, y, x + 16, y);
            x += 20;
            p.setPen(palette().windowText().color());
            p.drawText(QRect(x, 0, fm.horizontalAdvance(m.names[t]) + 2, l.legend.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, m.names[t]);
            x += fm.horizontalAdvance(m.names[t]) + 12;
        }
    }
}

void StripChart::paintEvent(QPaintEvent* event) {
    Impl& m = *d;
    const qreal dpr = devicePixelRatioF();
    // Rebuilt on a resize, and on a screen of another pixel density.
    if (m.background.isNull() || m.background.deviceIndependentSize().toSize() != size() ||
        m.background.devicePixelRatio() != dpr) {
        m.backgroundPlot = plotRect();
        paintBackground(m.backgroundPlot);
        ++m.look;
    }
    const QRect pr = m.backgroundPlot;
    QPainter p(this);
    // Only the part to repaint: a new point repaints the plot area alone.
    const QRect exposed = event->rect();
    p.drawPixmap(exposed, m.background,
                 QRectF(exposed.topLeft() * dpr, exposed.size() * dpr).toAlignedRect());

    double lo = m.ymin, hi = m.ymax;
    chartaxis::SaneRange(&lo, &hi);
    const double top = pr.top(), h = pr.height(), left = pr.left(), w = pr.width();
    const double yScale = (h - 1) / (hi - lo);
    auto mapY = [&](double v) { return top + (hi - v) * yScale; };

    // Traces, oldest at the left; values beyond the range run off the edge.
    p.setClipRect(pr);
    const double dx = (w - 1) / static_cast<double>(m.pps - 1);
    m.skipped = 0;
    m.pending = QRect();
    for (int t = 0; t < m.traces; ++t) {
        const int n = m.fill[t];
        TraceLayer& layer = m.layers[t];
        if (n == 0) {  // painted as nothing
            layer = TraceLayer();
            layer.look = m.look;
            layer.pps = m.pps;
            continue;
        }
        const QPen pen =
            chartaxis::ChartPen(m.colours[t], dpr, 1.0, m.dashed[t] ? Qt::DashLine : Qt::SolidLine);
        m.shown.resize(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k) m.shown[static_cast<size_t>(k)] = m.value(t, k);
        // Lays the trace's polyline out and draws it with `painter`.
        auto draw = [&](QPainter& painter) {
            painter.setPen(pen);
            int len = 0;
            auto flush = [&] {
                if (len == 1)
                    painter.drawPoint(m.poly[0]);
                else if (len > 1)
                    painter.drawPolyline(m.poly.data(), len);
                len = 0;
            };
            for (int k = 0; k < n; ++k) {
                const double v = m.shown[static_cast<size_t>(k)];
                if (std::isnan(v)) {  // a gap, not a point
                    flush();
                    continue;
                }
                const double y = std::clamp(mapY(v), top - kOffChart, top + h + kOffChart);
                m.poly[len++] = QPointF(left + k * dx, y);
            }
            flush();
        };
        const bool same = layer.look == m.look && layer.pps == m.pps && layer.values == m.shown;
        if (!same) {
            layer.values = m.shown;
            layer.look = m.look;
            layer.pps = m.pps;
            layer.box = m.traceBox(m.shown.data(), n, pr);
        } else if (!layer.box.isEmpty() && !event->region().intersects(layer.box)) {
            ++m.skipped;  // its pixels are all outside this repaint
            continue;
        }
        draw(p);
    }
}
