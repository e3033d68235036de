// Live display: displays, bars, history buffers, scope graph; and the
// graph panel of recorded frames.
#pragma once

#include <vector>

#include "recorder/recread.h"

namespace corvel {

// ---- measurement display and history buffers ----
void SetPanelData(void);
int Copy1D(const double* input, int count, double* output);
int Shift(const double* input, int count, int shift, double* output);

// ---- live state on the main panel ----
// Called by the live loop: when it starts (the lamp waits, unlit), for every
// frame accepted and shown (the first lights it), for a frame lost or
// refused (out, before the time-out report), and when it ends.
void LiveStarted(void);
void LiveFrame(void);
void LiveFrameLost(void);
void LiveEnded(void);
// Shows the displays as no longer current (dimmed, with the time of the
// last frame) unless a live loop runs.
void MarkDisplaysStale(void);

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
// The graphs' X axes span exactly the frames plotted; the operator's zoom is undone.
void GraphsFollowFrames(void);

// ---- record viewer on the graph panel ----
// Reads a record file and plots it on the seven graphs in place of the
// run's plots, which are kept; the recorder's counters and buffers are left
// alone. 0, or negative when nothing could be shown (the reason is on the
// panel).
int OpenRecordFile(const char* path);
// Writes the records shown as CSV. 0, or negative (the reason is on the panel).
int ExportViewedCsv(const char* path);
// Records of the file shown (0 when none is shown).
int ViewedRecords(void);
// Forgets the file shown; the graphs show the recorder's run again.
void ForgetViewedFile(void);
// The readout text for frame `frame` of graph `signal` (EditSignal's value).
void ShowCursorReadout(int signal, int frame);
// The records of the file shown (empty when none) and its path.
const std::vector<FileRecord>* ViewedRecordList(void);
const char* ViewedFilePath(void);

// ---- judging a recording on the graph panel ----
// Statistics, band and histogram of the frames in view or marked, worked
// out again now.
void RefreshGraphStats(void);
// A timed recording starts: the run kept for the statistics starts empty.
void GraphStatsRunStarted(void);
// A frame was recorded: kept, and the numbers follow at most a few times a second.
void GraphStatsFrame(void);
// A file was opened or the run shown again: the marked range is dropped.
void GraphStatsSourceChanged(void);
// A graph's range or view event (EVENT_GRAPH_RANGE, EVENT_GRAPH_VIEW).
void GraphStatsEvent(int event, int eventData1, int eventData2);
// Writes the report page of what the panel shows. 0, or negative (said on the panel).
int WriteGraphReport(const char* path);

int CBF_GRAPHP(int panel, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonShowGraph(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_EditSignal(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_PanelGraphGraph(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_ButtonOpenRecFile(int panel, int control, int event, void* callbackData, int eventData1,
                          int eventData2);
int CBF_ButtonExportCsv(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int CBF_ButtonCloseGraph(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
int CBF_ButtonFitY(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
// Where an export of `recordPath` is proposed: its folder, and its name
// with ".csv" in place of its extension (proj_dir and "record.csv" when
// there is no file).
void ProposeCsvFile(const char* recordPath, char* folder, int folderSize, char* name, int nameSize);
// The Y axis of the graph shown fitted to the frames it shows; false when
// it shows none.
bool FitShownGraphY(void);
int CBF_DispViewFile(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispCursor(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispLive(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_SelectBand(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_EditBand(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_DispStats(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_GraphHistogram(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int CBF_ButtonReport(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace corvel
