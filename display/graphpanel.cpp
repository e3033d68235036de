// The graph panel of recorded frames: one XY graph per signal, one two-point
// line per recorded frame, and the values of the last frame.
#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "display/graphrows.h"
#include "link/link.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

void GraphsFollowFrames(void) {
    // The X axis spans the frames of the run, from the first on.
    for (const GraphRow& s : kGraphRows) {
        SetAxisScalingMode(graphpanel, s.graph, VAL_XAXIS, VAL_AUTOSCALE, 0, 0);
        ResetGraphView(graphpanel, s.graph);
    }
}

void InitPanelGraph(void) {
    graphcnt = 0;
    ForgetViewedFile();
    for (const GraphRow& s : kGraphRows) DeleteGraphPlot(graphpanel, s.graph, -1, VAL_IMMEDIATE_DRAW);
    GraphsFollowFrames();
    bufcnt[0] = bufcnt[1] = 0;
    for (const GraphRow& s : kGraphRows) s.buf[0] = s.buf[1] = *s.value;
    GraphStatsRunStarted();
}

void SetPanelGraphData(void) {
    ForgetViewedFile();  // a frame recorded: the run's lines again, continued
    for (const GraphRow& s : kGraphRows) SetCtrlVal(graphpanel, s.display, static_cast<int>(*s.value));
    bufcnt[0] = bufcnt[1];
    bufcnt[1] = graphcnt;
    for (const GraphRow& s : kGraphRows) {
        s.buf[0] = s.buf[1];
        s.buf[1] = *s.value;
    }
    // Hidden graphs too, so that each one is complete when it is shown.
    for (const GraphRow& s : kGraphRows) {
        PlotXY(graphpanel, s.graph, bufcnt, s.buf, 2, DT_U16, DT_U16, VAL_CONNECTED_POINTS, VAL_NO_POINT,
               VAL_SOLID, 1, s.color);
    }
    ++graphcnt;  // unsigned 16-bit: 65535 wraps to 0
    GraphStatsFrame();
}

void SetGraphVisible(void) {
    unsigned short sig = 0;
    GetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, &sig);
    for (const GraphRow& s : kGraphRows) SetCtrlAttribute(graphpanel, s.graph, ATTR_VISIBLE, 0);
    int shown = sig < kGraphRowCount ? kGraphRows[sig].graph : GRAPHP_PANELGRAPHCHREF;
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
        for (int k = 0; k < kGraphRowCount; ++k)
            if (kGraphRows[k].graph == control) ShowCursorReadout(k, eventData1);
    }
    GraphStatsEvent(event, eventData1, eventData2);
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
