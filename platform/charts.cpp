// Strip charts and XY graphs. Plotting converts into a fixed buffer on the
// stack: nothing is allocated per plot in this layer.
#include <cstdint>

#include "platform/internal/uicore.h"
#include "platform/widgets/stripchart.h"
#include "platform/widgets/xygraph.h"

namespace {

using uicore::Control;
using uicore::Lookup;

// The longest plot PlotXY takes.
constexpr int kMaxPlotPoints = 1024;

template <class W>
int Widget(int panel, int control, W** out) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    *out = qobject_cast<W*>(c->widget);
    return *out ? UIE_OK : UIE_TYPE_MISMATCH;
}

bool Convert(const void* in, int type, int count, double* out) {
    switch (type) {
        case DT_U16:
            for (int i = 0; i < count; ++i) out[i] = static_cast<const unsigned short*>(in)[i];
            return true;
        case DT_S16:
            for (int i = 0; i < count; ++i) out[i] = static_cast<const short*>(in)[i];
            return true;
        case DT_INT:
            for (int i = 0; i < count; ++i) out[i] = static_cast<const int*>(in)[i];
            return true;
        case DT_DOUBLE:
            for (int i = 0; i < count; ++i) out[i] = static_cast<const double*>(in)[i];
            return true;
        default:
            return false;
    }
}

int SetXAxis(Control* c, int mode, double min, double max) {
    auto* g = qobject_cast<XYGraph*>(c->widget);
    if (!g) return UIE_TYPE_MISMATCH;
    if (mode == VAL_AUTOSCALE) {
        g->setXAutoScale(true);
        g->setXFollowsData(true);
    } else if (mode == VAL_MANUAL) {
        g->setXAutoScale(false);
        g->setXMin(min);
        g->setXMax(max);
    } else {
        return UIE_BAD_ARGUMENT;
    }
    return UIE_OK;
}

}  // namespace

int PlotStripChart(int panel, int control, const void* points, int count, int start, int skip, int dataType) {
    StripChart* s = nullptr;
    int rc = Widget(panel, control, &s);
    if (rc != UIE_OK) return rc;
    if (!points || count < 0 || start < 0 || skip < 0 || dataType != DT_DOUBLE) return UIE_BAD_ARGUMENT;
    s->appendPoints(static_cast<const double*>(points) + start, count, skip + 1);
    return UIE_OK;
}

int GetStripChartTrace(int panel, int control, int trace, double* out, int max) {
    StripChart* s = nullptr;
    int rc = Widget(panel, control, &s);
    if (rc != UIE_OK) return rc;
    if (!out || max < 0 || trace < 0 || trace >= s->traces()) return UIE_BAD_ARGUMENT;
    return s->tracePoints(trace, out, max);
}

int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (mode == VAL_MANUAL && !(min < max)) return UIE_BAD_ARGUMENT;
    if (axis == VAL_XAXIS) return SetXAxis(c, mode, min, max);
    if (axis != VAL_LEFT) return UIE_BAD_ARGUMENT;
    if (auto* s = qobject_cast<StripChart*>(c->widget)) {
        // A strip chart always shows a fixed range.
        if (mode != VAL_MANUAL) return UIE_BAD_ARGUMENT;
        if (s->yMin() != min || s->yMax() != max) s->setYRange(min, max);
        return UIE_OK;
    }
    if (auto* g = qobject_cast<XYGraph*>(c->widget)) {
        if (mode == VAL_AUTOSCALE) {
            g->setYAutoScale(true);
        } else if (mode == VAL_MANUAL) {
            g->setYAutoScale(false);
            g->setYRange(min, max);
        } else {
            return UIE_BAD_ARGUMENT;
        }
        return UIE_OK;
    }
    return UIE_TYPE_MISMATCH;
}

int GetAxisRange(int panel, int control, int axis, double* min, double* max) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (axis == VAL_XAXIS && min && max) {
        auto* g = qobject_cast<XYGraph*>(c->widget);
        if (!g) return UIE_TYPE_MISMATCH;
        g->shownXRange(min, max);
        return UIE_OK;
    }
    if (axis != VAL_LEFT || !min || !max) return UIE_BAD_ARGUMENT;
    if (auto* s = qobject_cast<StripChart*>(c->widget)) {
        *min = s->yMin();
        *max = s->yMax();
        return UIE_OK;
    }
    if (auto* g = qobject_cast<XYGraph*>(c->widget)) {
        *min = g->yMin();
        *max = g->yMax();
        return UIE_OK;
    }
    return UIE_TYPE_MISMATCH;
}

int PlotXY(int panel, int control, const void* x, const void* y, int count, int xType, int yType, int, int,
           int, int, int color) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    if (rc != UIE_OK) return rc;
    if (!x || !y || count < 1 || count > kMaxPlotPoints) return UIE_BAD_ARGUMENT;
    double xs[kMaxPlotPoints];
    double ys[kMaxPlotPoints];
    if (!Convert(x, xType, count, xs) || !Convert(y, yType, count, ys)) return UIE_BAD_ARGUMENT;
    return g->addPlot(xs, ys, count, static_cast<uint32_t>(color) & 0xFFFFFFu);
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    if (rc != UIE_OK) return rc;
    // Single plots are never removed by the program; only "all" is offered.
    if (plotHandle != -1) return UIE_BAD_ARGUMENT;
    g->clearPlots();
    return UIE_OK;
}

int SwapGraphPlots(int panel, int control) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    if (rc != UIE_OK) return rc;
    g->swapPlots();
    return UIE_OK;
}

int GetGraphPlotCount(int panel, int control) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    return rc != UIE_OK ? rc : g->plotCount();
}

int GetGraphPlotPoints(int panel, int control, int index, double* x, double* y, int max, int* color) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    if (rc != UIE_OK) return rc;
    if (!x || !y || max < 0 || index < 0 || index >= g->plotCount()) return UIE_BAD_ARGUMENT;
    uint32_t rgb = 0;
    int n = g->plotPoints(index, x, y, max, &rgb);
    if (color) *color = static_cast<int>(rgb);
    return n;
}

int FitGraphY(int panel, int control) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    if (rc != UIE_OK) return rc;
    return g->fitYToShown() ? 1 : 0;
}

int ResetGraphView(int panel, int control) {
    XYGraph* g = nullptr;
    int rc = Widget(panel, control, &g);
    if (rc != UIE_OK) return rc;
    g->resetView();
    return UIE_OK;
}
