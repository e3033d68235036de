#include "platform/widgets/chartaxis.h"

#include <algorithm>
#include <cmath>

namespace chartaxis {

Ticks NiceTicks(double lo, double hi, int maxTicks) {
    Ticks t;
    const double span = hi - lo;
    if (!std::isfinite(span) || span <= 0.0) return t;
    maxTicks = std::max(1, maxTicks);
    const double raw = span / maxTicks;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / mag;
    const double mult = norm <= 1.0 ? 1.0 : norm <= 2.0 ? 2.0 : norm <= 5.0 ? 5.0 : 10.0;
    t.step = mult * mag;
    if (!(t.step > 0.0) || !std::isfinite(t.step)) return t;
    t.first = std::ceil(lo / t.step - 1e-9) * t.step;
    const double n = std::floor((hi - t.first) / t.step + 1e-9) + 1.0;
    t.count = static_cast<int>(std::clamp(n, 0.0, 200.0));
    t.decimals = static_cast<int>(std::clamp(-std::floor(std::log10(t.step) + 1e-9), 0.0, 9.0));
    return t;
}

Ticks WholeTicks(double lo, double hi, int maxTicks) {
    Ticks t = NiceTicks(lo, hi, maxTicks);
    if (t.step >= 1.0 || !(hi > lo) || !std::isfinite(hi - lo)) return t;
    t.step = 1.0;
    t.first = std::ceil(lo - 1e-9);
    t.count = static_cast<int>(std::clamp(std::floor(hi - t.first + 1e-9) + 1.0, 0.0, 200.0));
    t.decimals = 0;
    return t;
}

double TickValue(const Ticks& t, int i) {
    const double v = t.first + i * t.step;
    // Keep a tick at zero from being printed as a tiny negative number.
    return std::fabs(v) < t.step * 1e-6 ? 0.0 : v;
}

QString TickLabel(const Ticks& t, int i) {
    const double v = TickValue(t, i);
    if (std::fabs(v) >= 1e9) return QString::number(v, 'g', 6);
    return QString::number(v, 'f', t.decimals);
}

QPen ChartPen(const QColor& colour, qreal dpr, qreal width, Qt::PenStyle style) {
    if (!(dpr > 0.0) || !std::isfinite(dpr)) dpr = 1.0;
    const qreal devicePixels = std::max<qreal>(1.0, std::round(width * dpr));
    // Not cosmetic: the painter's device scale applies, and dash patterns
    // scale with the line.
    return QPen(colour, devicePixels / dpr, style);
}

void SaneRange(double* lo, double* hi) {
    if (!std::isfinite(*lo)) *lo = 0.0;
    if (!std::isfinite(*hi)) *hi = *lo + 1.0;
    if (*hi < *lo) std::swap(*lo, *hi);
    if (*hi - *lo <= std::fabs(*lo) * 1e-12) {
        const double pad = *lo == 0.0 ? 1.0 : std::fabs(*lo) * 0.05;
        *lo -= pad;
        *hi += pad;
    }
}

}  // namespace chartaxis
