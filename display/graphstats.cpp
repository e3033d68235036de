// Judging a recording on the graph panel: the statistics of the frames in
// view or of a range marked with Shift+drag, a tolerance band (a teach row's
// or two typed limits) with the frames inside and outside and Pp/Ppk, a
// histogram, and the one-page report. Works on the file opened with OPEN
// FILE or on the run being recorded; never part of the live loop.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "display/display.h"
#include "display/graphrows.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/report.h"
#include "platform/ui.h"
#include "recorder/recreport.h"
#include "uir_ids.h"

namespace corvel {

namespace {

// The graphs count frames in 16 bits; so does the run kept here.
constexpr std::size_t kMaxRunFrames = 65536;
// Numbers follow a running recording at most this often.
constexpr double kRefreshSeconds = 0.3;
constexpr int kMaxBins = 40;
enum { kBandNone = 0, kBandTeachRow = 1, kBandLimits = 2 };

// The statistics judge a graph's signal by its row.
static_assert(kGraphRowCount == kStatSignals, "one graph for each of a record's values");

std::vector<FileRecord> run;  // the frames of the run, as they were plotted
double lastRefresh = -1e9;
bool marked = false;  // a range marked with Shift+drag
long markFrom = 0, markTo = 0;

// What the numbers are worked out for, after the last refresh.
struct Judged {
    const FileRecord* records = nullptr;
    std::size_t count = 0;
    RangeStats range;
    int signal = 0;
    bool hasBand = false;
    BandStats band;
    std::string bandSource;
    std::string bandProblem;  // why there is no band, when one was asked for
} judged;

int ChosenSignal(void) {
    unsigned short sig = 0;
    GetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, &sig);
    return sig < kStatSignals ? sig : 0;
}

void Frames(const FileRecord** records, std::size_t* count) {
    const std::vector<FileRecord>* viewed = ViewedRecordList();
    const std::vector<FileRecord>& frames = viewed && !viewed->empty() ? *viewed : run;
    *records = frames.data();
    *count = frames.size();
}

// The band the controls ask for; false when none (the reason in `problem`).
bool ChosenBand(int signal, double* lo, double* hi, std::string* source, std::string* problem) {
    unsigned short mode = kBandNone;
    GetCtrlVal(graphpanel, GRAPHP_SELECTBAND, &mode);
    char text[80];
    if (mode == kBandTeachRow) {
        unsigned short row = 0;
        GetCtrlVal(graphpanel, GRAPHP_EDITBANDROW, &row);
        if (row > 30) row = 30;
        unsigned short cells[4] = {0, 0, 0, 0};
        for (int c = 0; c < 4; ++c) GetTableCellVal(panel, P_TEACHTABLE, c + 1, row + 1, &cells[c]);
        if (!TeachRowBand(signal, cells, lo, hi)) {
            std::snprintf(text, sizeof text, "The teach table has no band for %s: type two limits",
                          kGraphRows[signal].name);
            *problem = text;
            return false;
        }
        std::snprintf(text, sizeof text, "teach row %u", row);
        *source = text;
        return true;
    }
    if (mode == kBandLimits) {
        unsigned short a = 0, b = 0;  // limits in whole units of the signal's scale, as its values
        GetCtrlVal(graphpanel, GRAPHP_EDITBANDLO, &a);
        GetCtrlVal(graphpanel, GRAPHP_EDITBANDHI, &b);
        *lo = a;
        *hi = b;
        if (*hi < *lo) {
            *problem = "The lower limit is above the upper one";
            return false;
        }
        *source = "typed limits";
        return true;
    }
    return false;
}

void Judge(void) {
    Frames(&judged.records, &judged.count);
    judged.signal = ChosenSignal();
    long from = 0, to = static_cast<long>(judged.count) - 1;
    if (marked) {
        from = markFrom;
        to = markTo;
    } else {
        double lo = 0, hi = 0;
        if (GetAxisRange(graphpanel, kGraphRows[judged.signal].graph, VAL_XAXIS, &lo, &hi) == 0 && hi >= lo) {
            from = static_cast<long>(std::ceil(lo));
            to = static_cast<long>(std::floor(std::fmin(hi, 2e9)));
        }
    }
    std::size_t first = 0, last = 0;
    const bool any = ClipRange(judged.count, from, to, &first, &last);
    judged.range = ComputeStats(judged.records, first, last, !any);
    double lo = 0, hi = 0;
    judged.bandSource.clear();
    judged.bandProblem.clear();
    judged.hasBand = ChosenBand(judged.signal, &lo, &hi, &judged.bandSource, &judged.bandProblem);
    if (judged.hasBand) judged.band = ComputeBand(judged.records, judged.range, judged.signal, lo, hi);
}

void ShowHistogram(void) {
    DeleteGraphPlot(graphpanel, GRAPHP_GRAPHHISTOGRAM, -1, VAL_DELAYED_DRAW);
    const RangeStats& s = judged.range;
    double xs[4] = {0, 0, 0, 0};
    int colors[4] = {0xC05A00, 0xC05A00, 0x0050C8, 0};
    int dashed[4] = {1, 1, 0, 0};
    int marks = 0;
    if (s.n == 0) {
        SetGraphXMarks(graphpanel, GRAPHP_GRAPHHISTOGRAM, xs, colors, dashed, 0);
        return;
    }
    double lo = 0, hi = 0;
    int bins = 1;
    HistogramClasses(s, judged.signal, judged.hasBand ? &judged.band : nullptr, kMaxBins, &lo, &hi, &bins);
    unsigned counts[kMaxBins];
    Histogram(judged.records, s, judged.signal, lo, hi, bins, counts);
    // The bars as one outline: up, across and down for every class.
    double px[4 * kMaxBins + 2], py[4 * kMaxBins + 2];
    const double w = (hi - lo) / bins;
    int n = 0;
    for (int i = 0; i < bins; ++i) {
        const double a = lo + i * w;
        px[n] = a, py[n++] = 0;
        px[n] = a, py[n++] = counts[i];
        px[n] = a + w, py[n++] = counts[i];
        px[n] = a + w, py[n++] = 0;
    }
    PlotXY(graphpanel, GRAPHP_GRAPHHISTOGRAM, px, py, n, DT_DOUBLE, DT_DOUBLE, VAL_CONNECTED_POINTS,
           VAL_NO_POINT, VAL_SOLID, 1, 0xD0D0D0);
    // The classes and the band fill the width, with a class's room either side.
    SetAxisScalingMode(graphpanel, GRAPHP_GRAPHHISTOGRAM, VAL_XAXIS, VAL_MANUAL, lo - w, hi + w);
    if (judged.hasBand) {
        xs[marks++] = judged.band.lo;
        xs[marks++] = judged.band.hi;
    }
    xs[marks] = s.signal[judged.signal].mean;
    colors[marks] = 0x0050C8;
    dashed[marks++] = 0;
    SetGraphXMarks(graphpanel, GRAPHP_GRAPHHISTOGRAM, xs, colors, dashed, marks);
}

void ShowBandOnGraphs(void) {
    for (int k = 0; k < kStatSignals; ++k) {
        const bool on = judged.hasBand && k == judged.signal;
        SetGraphBand(graphpanel, kGraphRows[k].graph, on, on ? judged.band.lo : 0, on ? judged.band.hi : 0);
        SetGraphMarkedRange(graphpanel, kGraphRows[k].graph, marked, static_cast<double>(markFrom),
                            static_cast<double>(markTo));
    }
}

std::string RangeWords(void) {
    if (marked) return "marked range";
    return "frames in view";
}

void Show(void) {
    std::string text = judged.count ? RangeWords() + ": " : "No frames recorded or opened yet.\n";
    text += StatsTable(judged.range);
    ResetTextBox(graphpanel, GRAPHP_DISPSTATS, text.c_str());
    std::string band;
    if (judged.hasBand)
        band = BandText(judged.band, judged.range.n) + judged.bandSource;
    else
        band = judged.bandProblem.empty() ? "No band: choose a teach row or type two limits"
                                          : judged.bandProblem;
    ResetTextBox(graphpanel, GRAPHP_DISPBAND, band.c_str());
    ShowBandOnGraphs();
    ShowHistogram();
}

std::vector<std::string> ParameterSet(void) {
    char item[48];
    std::vector<std::string> out;
    const struct {
        const char* name;
        long value;
    } words[] = {
        {"power", power},     {"pmod", pmod},         {"average", average},     {"evalmode", evalmode},
        {"hold", hold},       {"intlim", intlim},     {"maxno", maxno},         {"digitalout", digitalout},
        {"trigger", trigger}, {"extteach", extteach}, {"anaoutbeg", anaoutbeg}, {"anaoutend", anaoutend},
        {"bias", bias}};
    for (const auto& w : words) {
        std::snprintf(item, sizeof item, "%s %ld", w.name, w.value);
        out.push_back(item);
    }
    for (unsigned r = 0; r < maxno && r < static_cast<unsigned>(kTeachRows); ++r) {
        std::snprintf(item, sizeof item, "row %u: %u %u %u %u", r, ctt[r][0], ctt[r][1], ctt[r][2],
                      ctt[r][3]);
        out.push_back(item);
    }
    return out;
}

// The record file the numbers come from: the one opened, else the recorder's.
std::string RecordPath(void) {
    const char* viewedPath = ViewedFilePath();
    return viewedPath && *viewedPath ? viewedPath : file_name;
}

void SayOnPanel(bool ok, const std::string& text) {
    SetCtrlAttribute(graphpanel, GRAPHP_DISPVIEWFILE, ATTR_TEXT_COLOR, ok ? VAL_AUTO_COLOR : 0xC00000);
    SetCtrlVal(graphpanel, GRAPHP_DISPVIEWFILE, text.c_str());
}

}  // namespace

void RefreshGraphStats(void) {
    lastRefresh = Timer();
    Judge();
    Show();
}

void GraphStatsRunStarted(void) {
    std::vector<FileRecord>().swap(run);
    marked = false;
    RefreshGraphStats();
}

void GraphStatsFrame(void) {
    if (run.size() < kMaxRunFrames) {
        FileRecord r;
        r.date = DateStr();
        r.time = TimeStr();
        for (int k = 0; k < kStatSignals; ++k) r.values[k] = *kGraphRows[k].value;
        run.push_back(r);
    }
    if (Timer() - lastRefresh >= kRefreshSeconds) RefreshGraphStats();
}

void GraphStatsSourceChanged(void) {
    marked = false;
    RefreshGraphStats();
}

int WriteGraphReport(const char* path) {
    RefreshGraphStats();
    ReportInput in;
    in.records = judged.records;
    in.range = judged.range;
    in.signal = judged.signal;
    in.hasBand = judged.hasBand;
    in.band = judged.band;
    in.bandSource = judged.bandSource;
    in.path = RecordPath();
    in.version = version;
    while (!in.version.empty() && in.version.back() == ' ') in.version.pop_back();
    if (!in.version.empty()) in.params = ParameterSet();
    in.now = RecordWhen(DateStr(), TimeStr());
    std::string why;
    if (!WriteReportPdf(path, BuildReportPage(in), &why)) {
        SayOnPanel(false, "Report not written: " + why);
        return -1;
    }
    SayOnPanel(true, std::string("Report written to ") + ShortPath(path));
    return 0;
}

void GraphStatsEvent(int event, int eventData1, int eventData2) {
    if (event == EVENT_GRAPH_RANGE) {
        marked = eventData1 >= 0;
        markFrom = eventData1;
        markTo = eventData2;
        RefreshGraphStats();
    } else if (event == EVENT_GRAPH_VIEW && !marked) {
        RefreshGraphStats();
    }
}

int CBF_SelectBand(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) RefreshGraphStats();
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditBand(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) RefreshGraphStats();
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispStats(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

int CBF_GraphHistogram(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonReport(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        RefreshGraphStats();
        if (judged.range.n == 0) {
            SayOnPanel(false, "No frames to report: record or open a file first");
            return 0;
        }
        const std::string proposed = ReportNameFor(RecordPath());
        std::string folder = proj_dir, name = proposed;
        const std::size_t slash = proposed.rfind('/');
        if (slash != std::string::npos) {
            folder = slash ? proposed.substr(0, slash) : "/";
            name = proposed.substr(slash + 1);
        }
        char path[sizeof file_name] = "";
        const int chosen = FileSelectPopup(folder.c_str(), name.c_str(), "*.pdf", "REPORT", VAL_SAVE_BUTTON,
                                           0, 1, 1, 1, path);
        if (chosen == 1 &&
            ConfirmPopup("ATTENTION!", "File already exist! \nDo you want to replace it?") != 1)
            return 0;
        if (chosen > 0) WriteGraphReport(path);
    }
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
