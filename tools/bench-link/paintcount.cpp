// A diagnostic switch of the benchmark: an application-wide event filter that
// counts, per receiving widget, the paint events and their area, and the
// layout and update requests. It tells which widgets a frame repaints.
#include "paintcount.h"

#include <QApplication>
#include <QEvent>
#include <QMap>
#include <QPaintEvent>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace benchlink {
namespace {

struct Counts {
    unsigned long paints = 0, layouts = 0, updates = 0, polish = 0;
    double area = 0;  // painted pixels, summed over the region rectangles
};

QString NameOf(const QObject* o) {
    QString name = o->objectName();
    if (name.isEmpty() && o->parent()) name = o->parent()->objectName() + "/";
    return name + "(" + o->metaObject()->className() + ")";
}

class PaintCounter : public QObject {
public:
    QMap<QString, Counts> counts;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!o->isWidgetType()) return false;
        switch (e->type()) {
            case QEvent::Paint: {
                Counts& c = counts[NameOf(o)];
                ++c.paints;
                for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                    c.area += double(r.width()) * r.height();
                break;
            }
            case QEvent::LayoutRequest:
                ++counts[NameOf(o)].layouts;
                break;
            case QEvent::UpdateRequest:
                ++counts[NameOf(o)].updates;
                break;
            case QEvent::Polish:
            case QEvent::StyleChange:
                ++counts[NameOf(o)].polish;
                break;
            default:
                break;
        }
        return false;
    }
};

PaintCounter* g_counter = nullptr;

}  // namespace

bool StartPaintCount() {
    if (!std::getenv("BENCH_LINK_PAINTS")) return false;
    if (!g_counter) {
        g_counter = new PaintCounter;
        qApp->installEventFilter(g_counter);
    }
    g_counter->counts.clear();
    return true;
}

void ReportPaintCount(unsigned long frames) {
    if (!g_counter) return;
    const double n = frames ? double(frames) : 1.0;
    std::vector<std::pair<QString, Counts>> rows;
    for (auto it = g_counter->counts.cbegin(); it != g_counter->counts.cend(); ++it)
        rows.emplace_back(it.key(), it.value());
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.second.area > b.second.area; });
    std::printf("  events per frame over %lu frames (paints, painted pixels, layout, update, polish):\n",
                frames);
    for (const auto& [name, c] : rows)
        std::printf("    %-40s %6.2f %9.0f %6.2f %6.2f %6.2f\n", qPrintable(name), c.paints / n, c.area / n,
                    c.layouts / n, c.updates / n, c.polish / n);
    g_counter->counts.clear();
}

}  // namespace benchlink
