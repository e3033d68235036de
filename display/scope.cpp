// The scope area of the main panel: one strip chart per display source, the
// GF chart's Y axis (fixed or auto zoom), and which displays each source shows.
#include "app/corvel.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

// Strip charts keep exactly the buffer's 100 samples per trace on screen.
constexpr int kPointsPerScreen = 100;
// GF chart scale, in tenths of a unit.
constexpr double kGfFixedMin = 0.0;
constexpr double kGfFixedMax = 1500.0;
constexpr double kGfMargin = 25.0;
constexpr double kGfMarginBelow = 1475.0;

// Visibility per display source (kSourceNorm to kSourceRaw), in the order it is set.
struct VisRow {
    int control;
    int shown[kSources];
};
const VisRow kVis[] = {
    {P_DISPNORM, {1, 1, 0, 0}},  {P_DISPINT, {1, 1, 0, 0}},   {P_DISPGF, {0, 0, 1, 0}},
    {P_BARCHREF, {0, 0, 1, 1}},  {P_BARCHDIF, {1, 1, 0, 1}},  {P_DISPCHREF, {0, 0, 1, 1}},
    {P_DISPCHDIF, {1, 1, 0, 1}}, {P_GRAPHRAW1, {0, 0, 0, 1}}, {P_GRAPHNORM, {1, 0, 0, 0}},
    {P_GRAPHINT, {0, 1, 0, 0}},  {P_GRAPHGF, {0, 0, 1, 0}},
};

void GfAxis(void) {
    double min = kGfFixedMin;
    double max = kGfFixedMax;
    if (scale == 1) {
        min = kGfFixedMax;
        max = 0.0;
        for (int i = 0; i < kHistoryLength; ++i) {
            if (gfbuf[i] < min) min = gfbuf[i];
            if (gfbuf[i] > max) max = gfbuf[i];
        }
        if (min > kGfMargin) min -= kGfMargin;
        if (max < kGfMarginBelow) max += kGfMargin;
    }
    SetAxisScalingMode(panel, P_GRAPHGF, VAL_LEFT, VAL_MANUAL, min, max);
}

}  // namespace

void ShowGraph(void) {
    GetCtrlVal(panel, P_SELECTSOURCE, &source);
    int chart;
    const double* buf;
    switch (source) {
        case kSourceNorm:
            chart = P_GRAPHNORM;
            buf = normbuf;
            break;
        case kSourceInt:
            chart = P_GRAPHINT;
            buf = intbuf;
            break;
        case kSourceGf:
            chart = P_GRAPHGF;
            buf = gfbuf;
            GfAxis();
            break;
        case kSourceRaw:
            chart = P_GRAPHRAW1;
            buf = rawbuf;
            break;
        default:
            return;
    }
    SetCtrlAttribute(panel, chart, ATTR_POINTS_PER_SCREEN, kPointsPerScreen);
    PlotStripChart(panel, chart, buf, kHistoryLength, 0, 0, DT_DOUBLE);
}

void DispVis(void) {
    GetCtrlVal(panel, P_SELECTSOURCE, &source);
    if (source >= kSources) return;
    for (const VisRow& r : kVis) SetCtrlAttribute(panel, r.control, ATTR_VISIBLE, r.shown[source]);
}

int CBF_SelectSource(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) DispVis();
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control);
    return 0;
}

int CBF_DispGF(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_LEFT_DOUBLE_CLICK) SetCtrlAttribute(panelHandle, P_DISPGFBIG, ATTR_VISIBLE, 1);
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control, "Info");
    return 0;
}

int CBF_DispGFBig(int panelHandle, int, int event, void*, int, int) {
    if (event == EVENT_RIGHT_CLICK) SetCtrlAttribute(panelHandle, P_DISPGFBIG, ATTR_VISIBLE, 0);
    return 0;
}

int CBF_GraphRaw1(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

int CBF_GraphNormInt(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

// A double click arrives after its own left click, so it ends in auto zoom.
int CBF_GraphGF(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_LEFT_CLICK) scale = 0;
    if (event == EVENT_LEFT_DOUBLE_CLICK) scale = 1;
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control);
    return 0;
}

}  // namespace corvel
