// The graph panel of recorded frames: one XY graph per signal, one two-point
// line per recorded frame, and the values of the last frame.
#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "link/link.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

struct Signal {
    const unsigned short* value;
    unsigned short* buf;
    int graph;
    int display;
    int color;
};

// In the order of EditSignal's values.
const Signal kSignals[] = {
    {&dataChRef, bufchref, GRAPHP_PANELGRAPHCHREF, GRAPHP_DISPCHREFGRAPH, 0xFF0000},
    {&dataChDir, bufchdir, GRAPHP_PANELGRAPHCHDIR, GRAPHP_DISPCHDIRGRAPH, 0x00FF00},
    {&dataChDif, bufchdif, GRAPHP_PANELGRAPHCHDIF, GRAPHP_DISPCHDIFGRAPH, 0x0000FF},
    {&dataNorm, bufnorm, GRAPHP_PANELGRAPHNORM, GRAPHP_DISPNORMGRAPH, 0xFF8000},
    {&dataInt, bufint, GRAPHP_PANELGRAPHINT, GRAPHP_DISPINTGRAPH, 0x008080},
    {&dataGf, bufgf, GRAPHP_PANELGRAPHGF, GRAPHP_DISPGFGRAPH, 0x00FF00},
    {&dataTemp, buftemp, GRAPHP_PANELGRAPHTEMP, GRAPHP_DISPTEMPGRAPH, 0x008080},
};
constexpr int kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);

}  // namespace

void GraphsFollowFrames(void) {
    // The X axis spans the frames of the run, from the first on.
    for (const Signal& s : kSignals) {
        SetAxisScalingMode(graphpanel, s.graph, VAL_XAXIS, VAL_AUTOSCALE, 0, 0);
        ResetGraphView(graphpanel, s.graph);
    }
}

void InitPanelGraph(void) {
    graphcnt = 0;
    ForgetViewedFile();
    for (const Signal& s : kSignals) DeleteGraphPlot(graphpanel, s.graph, -1, VAL_IMMEDIATE_DRAW);
    GraphsFollowFrames();
    bufcnt[0] = bufcnt[1] = 0;
    for (const Signal& s : kSignals) s.buf[0] = s.buf[1] = *s.value;
    GraphStatsRunStarted();
}

void SetPanelGraphData(void) {
    ForgetViewedFile();  // a frame recorded: the run's lines again, continued
    for (const Signal& s : kSignals) SetCtrlVal(graphpanel, s.display, static_cast<int>(*s.value));
    bufcnt[0] = bufcnt[1];
    bufcnt[1] = graphcnt;
    for (const Signal& s : kSignals) {
        s.buf[0] = s.buf[1];
        s.buf[1] = *s.value;
    }
    // Hidden graphs too, so that each one is complete when it is shown.
    for (const Signal& s : kSignals) {
        PlotXY(graphpanel, s.graph, bufcnt, s.buf, 2, DT_U16, DT_U16, VAL_CONNECTED_POINTS, VAL_NO_POINT,
               VAL_SOLID, 1, s.color);
    }
    ++graphcnt;  // unsigned 16-bit: 65535 wraps to 0
    GraphStatsFrame();
}

void SetGraphVisible(void) {
    unsigned short sig = 0;
    GetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, &sig);
    for (const Signal& s : kSignals) SetCtrlAttribute(graphpanel, s.graph, ATTR_VISIBLE, 0);
    int shown = sig < kSignalCount ? kSignals[sig].graph : GRAPHP_PANELGRAPHCHREF;
    SetCtrlAttribute(graphpanel, shown, ATTR_VISIBLE, 1);
    RefreshGraphStats();
}

int CBF_GRAPHP(int panelHandle, int event, void*, int, int) {
    if (event == EVENT_CLOSE) HidePanel(panelHandle);
    return 0;
}

int CBF_ButtonShowGraph(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        WaitTransDelay();
        poll = 0;
        DisplayPanel(graphpanel);
    }
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control);
    return 0;
}

int CBF_EditSignal(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) SetGraphVisible();
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control);
    return 0;
}

int CBF_PanelGraphGraph(int panelHandle, int control, int event, void*, int eventData1, int eventData2) {
    if (event == EVENT_GRAPH_CURSOR) {
        for (int k = 0; k < kSignalCount; ++k)
            if (kSignals[k].graph == control) ShowCursorReadout(k, eventData1);
    }
    GraphStatsEvent(event, eventData1, eventData2);
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
