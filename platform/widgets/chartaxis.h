// Axis helpers shared by the chart widgets: tick positions at "nice" steps
// (1, 2 or 5 times a power of ten) and their labels, and the pens to draw with.
#pragma once
#include <QPen>
#include <QString>

namespace chartaxis {

struct Ticks {
    double first = 0.0;  // first tick at or above the range start
    double step = 1.0;
    int count = 0;     // ticks inside the range
    int decimals = 0;  // decimals a label needs at this step
};

// Ticks for lo..hi with at most about `maxTicks` intervals.
Ticks NiceTicks(double lo, double hi, int maxTicks);
// The same, with steps of whole numbers only (1, 2, 5, 10, ...): for an
// axis that counts, such as frames.
Ticks WholeTicks(double lo, double hi, int maxTicks);
double TickValue(const Ticks& t, int i);
QString TickLabel(const Ticks& t, int i);

// A pen `width` panel pixels wide on a device of pixel ratio `dpr`, in
// whole device pixels (at least one), so that lines keep their weight on
// high-density screens instead of thinning to hairlines, and stay crisp.
QPen ChartPen(const QColor& colour, qreal dpr, qreal width = 1.0, Qt::PenStyle style = Qt::SolidLine);

// A usable range: ordered, finite, and never empty.
void SaneRange(double* lo, double* hi);

}  // namespace chartaxis
