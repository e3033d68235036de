// The report page drawn with Qt's own PDF writer. Everything is black on
// white with grey fills and dash styles, so that a black-and-white print
// still tells the data, the band and the mean apart.
#include "platform/report.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kDpi = 300;
constexpr double kMaxColumns = 1200;  // graph points kept per page width

double Mm(double mm) {
    return mm * kDpi / 25.4;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// About five round steps over [lo, hi].
double TickStep(double lo, double hi) {
    const double span = hi > lo ? hi - lo : 1;
    const double raw = span / 5;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * mag) return m * mag;
    return 10 * mag;
}

struct Frame {
    QRectF area;
    double x0, x1, y0, y1;
    QPointF At(double x, double y) const {
        const double fx = x1 > x0 ? (x - x0) / (x1 - x0) : 0.5;
        const double fy = y1 > y0 ? (y - y0) / (y1 - y0) : 0.5;
        return QPointF(area.left() + fx * area.width(), area.bottom() - fy * area.height());
    }
};

void Axes(QPainter& p, const Frame& f, const QString& xCaption, const QString& yCaption, bool wholeX) {
    QFont small("Sans", 7);
    p.setFont(small);
    const QFontMetricsF fm(small, p.device());
    p.setPen(QPen(Qt::black, Mm(0.25)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.area);
    const double ys = TickStep(f.y0, f.y1);
    for (double y = std::ceil(f.y0 / ys) * ys; y <= f.y1 + ys * 1e-9; y += ys) {
        const QPointF a = f.At(f.x0, y);
        p.drawLine(a, a + QPointF(-Mm(1), 0));
        const QString t = QString::number(y, 'g', 6);
        p.drawText(QPointF(a.x() - Mm(1.5) - fm.horizontalAdvance(t), a.y() + fm.ascent() / 2), t);
    }
    double xs = TickStep(f.x0, f.x1);
    if (wholeX) xs = std::max(1.0, std::round(xs));
    for (double x = std::ceil(f.x0 / xs) * xs; x <= f.x1 + xs * 1e-9; x += xs) {
        const QPointF a = f.At(x, f.y0);
        p.drawLine(a, a + QPointF(0, Mm(1)));
        const QString t = QString::number(x, 'g', 7);
        p.drawText(QPointF(a.x() - fm.horizontalAdvance(t) / 2, a.y() + Mm(1.5) + fm.ascent()), t);
    }
    p.drawText(
        QPointF(f.area.right() - fm.horizontalAdvance(xCaption), f.area.bottom() + Mm(2) + 2 * fm.height()),
        xCaption);
    p.drawText(QPointF(f.area.left(), f.area.top() - Mm(1)), yCaption);
}

void BandAndMean(QPainter& p, const Frame& f, const ReportPage& page, bool vertical) {
    if (page.hasBand) {
        p.setPen(QPen(Qt::black, Mm(0.35), Qt::DashLine));
        for (double v : {page.lo, page.hi}) {
            if (vertical)
                p.drawLine(f.At(v, f.y0), f.At(v, f.y1));
            else
                p.drawLine(f.At(f.x0, v), f.At(f.x1, v));
        }
    }
    if (page.hasMean) {
        p.setPen(QPen(Qt::black, Mm(0.35), Qt::DotLine));
        if (vertical)
            p.drawLine(f.At(page.mean, f.y0), f.At(page.mean, f.y1));
        else
            p.drawLine(f.At(f.x0, page.mean), f.At(f.x1, page.mean));
    }
}

void Graph(QPainter& p, const QRectF& area, const ReportPage& page) {
    Frame f{area, 0, 1, 0, 1};
    if (!page.x.empty()) {
        f.x0 = *std::min_element(page.x.begin(), page.x.end());
        f.x1 = *std::max_element(page.x.begin(), page.x.end());
        f.y0 = *std::min_element(page.y.begin(), page.y.end());
        f.y1 = *std::max_element(page.y.begin(), page.y.end());
    }
    if (page.hasBand) {
        f.y0 = std::min(f.y0, page.lo);
        f.y1 = std::max(f.y1, page.hi);
    }
    const double margin = std::max(1.0, (f.y1 - f.y0) * 0.05);
    f.y0 -= margin;
    f.y1 += margin;
    if (f.x1 <= f.x0) f.x1 = f.x0 + 1;
    if (page.hasBand) {
        p.fillRect(QRectF(f.At(f.x0, page.hi), f.At(f.x1, page.lo)), QColor(225, 225, 225));
    }
    Axes(p, f, "frame", Q(page.graphCaption), true);
    BandAndMean(p, f, page, false);
    // Long runs: the lowest and highest value of each column, so the page
    // stays small and still shows every excursion.
    const std::size_t n = page.x.size();
    const std::size_t per = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(n / kMaxColumns)));
    QPainterPath path;
    for (std::size_t i = 0; i < n; i += per) {
        const std::size_t end = std::min(n, i + per);
        double lo = page.y[i], hi = page.y[i];
        for (std::size_t k = i; k < end; ++k) {
            lo = std::min(lo, page.y[k]);
            hi = std::max(hi, page.y[k]);
        }
        const QPointF a = f.At(page.x[i], per > 1 ? lo : page.y[i]);
        if (i == 0)
            path.moveTo(a);
        else
            path.lineTo(a);
        if (per > 1) path.lineTo(f.At(page.x[i], hi));
    }
    p.setPen(QPen(Qt::black, Mm(0.25)));
    p.setBrush(Qt::NoBrush);
    p.setClipRect(area);
    p.drawPath(path);
    p.setClipping(false);
}

void Histogram(QPainter& p, const QRectF& area, const ReportPage& page) {
    const unsigned top =
        page.hist.empty() ? 1 : std::max(1u, *std::max_element(page.hist.begin(), page.hist.end()));
    Frame f{area, page.histLo, page.histHi, 0, top * 1.1};
    if (page.hasBand) {
        f.x0 = std::min(f.x0, page.lo);
        f.x1 = std::max(f.x1, page.hi);
    }
    if (f.x1 <= f.x0) f.x1 = f.x0 + 1;
    const std::size_t bins = page.hist.size();
    const double w = bins ? (page.histHi - page.histLo) / bins : 0;
    p.setPen(QPen(Qt::black, Mm(0.2)));
    p.setBrush(QColor(170, 170, 170));
    for (std::size_t i = 0; i < bins; ++i) {
        if (!page.hist[i]) continue;
        const double a = page.histLo + i * w;
        p.drawRect(QRectF(f.At(a, page.hist[i]), f.At(a + w, 0)));
    }
    Axes(p, f, Q(page.histCaption), "frames", false);
    BandAndMean(p, f, page, true);
}

double Lines(QPainter& p, double x, double y, const std::vector<std::string>& lines, const QFont& font) {
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetricsF fm(font, p.device());
    for (const std::string& l : lines) {
        y += fm.height();
        p.drawText(QPointF(x, y), Q(l));
    }
    return y;
}

double Table(QPainter& p, double x, double y, double width, const ReportPage& page) {
    if (page.table.empty()) return y;
    QFont font("Sans", 8);
    const QFontMetricsF fm(font, p.device());
    const std::size_t cols = page.table[0].size();
    const double first = width * 0.22, rest = (width - first) / std::max<std::size_t>(1, cols - 1);
    const double rowH = fm.height() * 1.35;
    for (std::size_t r = 0; r < page.table.size(); ++r) {
        font.setBold(r == 0);
        p.setFont(font);
        if (r % 2 == 1) p.fillRect(QRectF(x, y, width, rowH), QColor(238, 238, 238));
        for (std::size_t c = 0; c < cols && c < page.table[r].size(); ++c) {
            const QString t = Q(page.table[r][c]);
            const double left = c == 0 ? x + Mm(1) : x + first + rest * c - Mm(1) - fm.horizontalAdvance(t);
            p.setPen(Qt::black);
            p.drawText(QPointF(left, y + (rowH + fm.ascent() - fm.descent()) / 2), t);
        }
        y += rowH;
    }
    p.setPen(QPen(Qt::black, Mm(0.25)));
    p.drawLine(QPointF(x, y), QPointF(x + width, y));
    return y;
}

}  // namespace

bool WriteReportPdf(const std::string& path, const ReportPage& page, std::string* why) {
    {
        QFile probe(Q(path));
        if (!probe.open(QIODevice::WriteOnly)) {
            *why = "cannot write " + path + ": " + probe.errorString().toStdString();
            return false;
        }
    }
    QPdfWriter pdf(Q(path));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                                  QPageLayout::Millimeter));
    pdf.setResolution(kDpi);
    pdf.setTitle(Q(page.title));
    pdf.setCreator("CORVEL-Scope");
    QPainter p;
    if (!p.begin(&pdf)) {
        *why = "cannot write " + path;
        return false;
    }
    const double width = pdf.width();
    QFont title("Sans", 14);
    title.setBold(true);
    double y = Lines(p, 0, 0, {page.title}, title);
    y = Lines(p, 0, y + Mm(1), page.head, QFont("Sans", 9)) + Mm(6);

    Graph(p, QRectF(Mm(14), y, width - Mm(16), Mm(68)), page);
    y += Mm(68) + Mm(12);

    y = Table(p, 0, y, width, page);
    y = Lines(p, 0, y + Mm(1), page.notes, QFont("Sans", 9)) + Mm(7);

    const double histW = page.params.empty() ? width - Mm(16) : width * 0.58;
    Histogram(p, QRectF(Mm(14), y, histW, Mm(55)), page);
    if (!page.params.empty()) {
        // The parameter set in two narrow columns beside the histogram.
        QFont small("Sans", 6.5);
        const QFontMetricsF fm(small, p.device());
        const double left = Mm(14) + histW + Mm(6);
        const std::size_t half = (page.params.size() + 1) / 2;
        std::vector<std::string> a(page.params.begin(), page.params.begin() + half);
        std::vector<std::string> b(page.params.begin() + half, page.params.end());
        Lines(p, left, y - fm.height(), {"Parameter set:"}, QFont("Sans", 7, QFont::Bold));
        Lines(p, left, y, a, small);
        Lines(p, left + (width - left) / 2, y, b, small);
    }
    Lines(p, 0, pdf.height() - QFontMetricsF(QFont("Sans", 8), &pdf).height() * 1.5, {page.footer},
          QFont("Sans", 8));
    if (!p.end()) {
        *why = "cannot finish " + path;
        return false;
    }
    return true;
}
