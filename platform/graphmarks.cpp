// What is drawn over an XY graph's plots without being a plot: a tolerance
// band, the X span the operator marked, vertical marks. Kept apart from the
// plots so that plot indices stay one per recorded frame.
#include <vector>

#include "platform/internal/uicore.h"
#include "platform/widgets/xygraph.h"

namespace {

using uicore::Control;
using uicore::Lookup;

int Graph(int panel, int control, XYGraph** out) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    *out = qobject_cast<XYGraph*>(c->widget);
    return *out ? UIE_OK : UIE_TYPE_MISMATCH;
}

}  // namespace

int SetGraphBand(int panel, int control, int on, double lo, double hi) {
    XYGraph* g = nullptr;
    const int rc = Graph(panel, control, &g);
    if (rc == UIE_OK) g->setBand(on != 0, lo, hi);
    return rc;
}

int SetGraphMarkedRange(int panel, int control, int on, double x0, double x1) {
    XYGraph* g = nullptr;
    const int rc = Graph(panel, control, &g);
    if (rc == UIE_OK) g->setMarkedRange(on != 0, x0, x1);
    return rc;
}

int SetGraphXMarks(int panel, int control, const double* xs, const int* colors, const int* dashed,
                   int count) {
    XYGraph* g = nullptr;
    const int rc = Graph(panel, control, &g);
    if (rc != UIE_OK) return rc;
    if (count < 0 || (count > 0 && (!xs || !colors || !dashed))) return UIE_BAD_ARGUMENT;
    std::vector<XYGraph::XMark> marks;
    for (int i = 0; i < count; ++i)
        marks.push_back({xs[i], static_cast<uint32_t>(colors[i]) & 0xFFFFFFu, dashed[i] != 0});
    g->setXMarks(marks.data(), count);
    return UIE_OK;
}
