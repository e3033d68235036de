// Live display: displays, bars, history buffers, scope graph; and the
// graph panel of recorded frames.
#pragma once

namespace corvel {

// ---- measurement display and history buffers ----
void SetPanelData(void);
int Copy1D(const double* input, int count, double* output);
int Shift(const double* input, int count, int shift, double* output);

// ---- scope graph and display source ----
void ShowGraph(void);
void DispVis(void);

int CBF_SelectSource(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispGF(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispGFBig(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_GraphRaw1(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_GraphNormInt(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_GraphGF(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

// ---- graph panel ----
void InitPanelGraph(void);
void SetPanelGraphData(void);
void SetGraphVisible(void);

int CBF_GRAPHP(int panel, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonShowGraph(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_EditSignal(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_PanelGraphGraph(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);

}  // namespace corvel
