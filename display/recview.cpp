// The graph panel as a record viewer: a record file opened from disk is
// plotted on the seven graphs in place of the run, can be read frame by
// frame under the mouse, and exported as CSV. Viewing never touches the
// recorder: its next frame brings the run back and continues it.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/kept.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "display/graphrows.h"
#include "platform/platform.h"
#include "recorder/reccsv.h"
#include "uir_ids.h"

namespace corvel {

namespace {

// The graphs count frames in 16 bits, as the recorder does.
constexpr std::size_t kMaxViewed = 65536;
// Points per plot call: longer runs are drawn as joined pieces.
constexpr int kPiece = 1024;

ParsedRecords viewed;         // the records shown (at most kMaxViewed)
std::size_t fileRecords = 0;  // complete records in the file
char viewedPath[sizeof file_name];
char viewLine[sizeof file_name + 200];
char readout[160];
unsigned short xs[kPiece];
unsigned short ys[kPiece];

// "65,536": thousands apart, as an operator reads counts.
const char* Count(std::size_t n, char* out, std::size_t size) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%zu", n);
    const std::size_t len = std::strlen(digits);
    std::size_t o = 0;
    for (std::size_t i = 0; i < len && o + 2 < size; ++i) {
        if (i > 0 && (len - i) % 3 == 0) out[o++] = ',';
        out[o++] = digits[i];
    }
    out[o] = '\0';
    return out;
}

const char* When(const FileRecord& r, std::string* keep) {
    *keep = RecordWhen(r);
    return keep->c_str();
}

void ShowViewLine(bool ok, const char* text) {
    SetCtrlAttribute(graphpanel, GRAPHP_DISPVIEWFILE, ATTR_TEXT_COLOR, ok ? VAL_AUTO_COLOR : 0xC00000);
    SetCtrlVal(graphpanel, GRAPHP_DISPVIEWFILE, text);
}

void PlotSignal(const GraphRow& g, int k) {
    const std::size_t n = viewed.records.size();
    // Each piece starts at the last point of the one before, so the line is unbroken.
    for (std::size_t from = 0; from < n; from += kPiece - 1) {
        const std::size_t count = n - from < static_cast<std::size_t>(kPiece) ? n - from : kPiece;
        for (std::size_t i = 0; i < count; ++i) {
            xs[i] = static_cast<unsigned short>(from + i);
            ys[i] = static_cast<unsigned short>(viewed.records[from + i].values[k]);
        }
        PlotXY(graphpanel, g.graph, xs, ys, static_cast<int>(count), DT_U16, DT_U16, VAL_CONNECTED_POINTS,
               VAL_NO_POINT, VAL_SOLID, 1, g.color);
        if (from + count >= n) break;
    }
}

// The displays show the file's last frame. The recorder's counters and
// two-point buffers stay as the run left them, so that its next frame
// continues the run's lines, not the file's.
void ShowLastViewedFrame(void) {
    const FileRecord& last = viewed.records.back();
    for (int k = 0; k < kGraphRowCount; ++k)
        SetCtrlVal(graphpanel, kGraphRows[k].display, static_cast<int>(last.values[k]));
}

void DescribeViewed(void) {
    // The name first, then where it lies: the line shows both whole, or
    // shortened in the middle with all of it in its tooltip.
    const char* slash = std::strrchr(viewedPath, '/');
    const char* name = slash ? slash + 1 : viewedPath;
    const int folderLength = !slash ? 0 : slash == viewedPath ? 1 : static_cast<int>(slash - viewedPath);
    const std::size_t n = viewed.records.size();
    char count[32], all[32];
    std::string first, last;
    int len =
        std::snprintf(viewLine, sizeof viewLine, "%s%s%.*s: %s records, %s to %s", name,
                      folderLength > 0 ? " in " : "", folderLength, viewedPath, Count(n, count, sizeof count),
                      When(viewed.records.front(), &first), When(viewed.records.back(), &last));
    if (fileRecords > n && len > 0)
        len += std::snprintf(viewLine + len, sizeof viewLine - len, " (first %s of %s)", count,
                             Count(fileRecords, all, sizeof all));
    if (viewed.status != ParseStatus::Ok && len > 0)
        std::snprintf(viewLine + len, sizeof viewLine - len, "; damaged from byte %zu on", viewed.offset);
    ShowViewLine(viewed.status == ParseStatus::Ok && fileRecords == n, viewLine);
}

}  // namespace

int OpenRecordFile(const char* path) {
    if (pollrecord == 1) {
        ShowViewLine(false, "A recording runs: open the file when it has ended");
        return -1;
    }
    std::string bytes;
    if (ReadWholeFile(path, &bytes) != FILE_OK) {
        std::snprintf(viewLine, sizeof viewLine, "%s could not be read", path);
        ShowViewLine(false, viewLine);
        return -1;
    }
    ParsedRecords parsed = ParseRecords(bytes);
    std::string().swap(bytes);
    if (parsed.records.empty()) {
        std::snprintf(viewLine, sizeof viewLine, "%s holds no complete record: nothing shown", path);
        ShowViewLine(false, viewLine);
        return -1;
    }
    // The run's plots go aside whole while a file is shown (a second file
    // only replaces the first); they come back when the recorder records.
    const bool runShown = viewed.records.empty();
    fileRecords = parsed.records.size();
    if (fileRecords > kMaxViewed) parsed.records.resize(kMaxViewed);
    viewed = std::move(parsed);
    std::snprintf(viewedPath, sizeof viewedPath, "%s", path);

    for (const GraphRow& g : kGraphRows) {
        if (runShown) SwapGraphPlots(graphpanel, g.graph);
        DeleteGraphPlot(graphpanel, g.graph, -1, VAL_DELAYED_DRAW);
    }
    GraphsFollowFrames();
    for (int k = 0; k < kGraphRowCount; ++k) PlotSignal(kGraphRows[k], k);
    ShowLastViewedFrame();
    DescribeViewed();
    SetCtrlVal(graphpanel, GRAPHP_DISPCURSOR, "");
    GraphStatsSourceChanged();
    return 0;
}

int ExportViewedCsv(const char* path) {
    if (viewed.records.empty()) {
        ShowViewLine(false, "No record file is open: open one to export it");
        return -1;
    }
    std::string csv = RecordCsvHeader();
    csv.reserve(csv.size() + viewed.records.size() * 64);
    for (std::size_t i = 0; i < viewed.records.size(); ++i) csv += RecordCsvLine(viewed.records[i], i);
    const bool ok = WriteWholeFile(path, csv) == FILE_OK;
    char count[32];
    std::snprintf(viewLine, sizeof viewLine,
                  ok ? "CSV of %s records written to %s" : "CSV could not be written to %s%s",
                  ok ? Count(viewed.records.size(), count, sizeof count) : path, ok ? path : "");
    ShowViewLine(ok, viewLine);
    return ok ? 0 : -1;
}

int ViewedRecords(void) {
    return static_cast<int>(viewed.records.size());
}

void ForgetViewedFile(void) {
    if (viewed.records.empty()) return;
    for (const GraphRow& g : kGraphRows) {
        DeleteGraphPlot(graphpanel, g.graph, -1, VAL_DELAYED_DRAW);
        SwapGraphPlots(graphpanel, g.graph);  // the run's plots, as they were
    }
    GraphsFollowFrames();
    viewed = ParsedRecords();
    fileRecords = 0;
    viewedPath[0] = '\0';
    ShowViewLine(true, "");
    SetCtrlVal(graphpanel, GRAPHP_DISPCURSOR, "");
    GraphStatsSourceChanged();
}

const std::vector<FileRecord>* ViewedRecordList(void) {
    return &viewed.records;
}

const char* ViewedFilePath(void) {
    return viewedPath;
}

void ShowCursorReadout(int signal, int frame) {
    if (signal < 0 || signal >= kGraphRowCount || frame < 0) {
        SetCtrlVal(graphpanel, GRAPHP_DISPCURSOR, "");
        return;
    }
    if (static_cast<std::size_t>(frame) < viewed.records.size()) {
        const FileRecord& r = viewed.records[static_cast<std::size_t>(frame)];
        std::string when;
        std::snprintf(readout, sizeof readout, "FRAME %d   %s %u\n%s", frame, kGraphRows[signal].readout,
                      r.values[signal], When(r, &when));
    } else if (viewed.records.empty() && frame < GetGraphPlotCount(graphpanel, kGraphRows[signal].graph)) {
        // A run recorded here: frame k is the k-th line, ending at its value.
        // Its dates and times are in the record file.
        double x[2], y[2];
        if (GetGraphPlotPoints(graphpanel, kGraphRows[signal].graph, frame, x, y, 2, nullptr) == 2 &&
            x[1] == frame)
            std::snprintf(readout, sizeof readout, "FRAME %d   %s %.0f", frame, kGraphRows[signal].readout,
                          y[1]);
        else
            readout[0] = '\0';
    } else {
        readout[0] = '\0';
    }
    SetCtrlVal(graphpanel, GRAPHP_DISPCURSOR, readout);
}

int CBF_ButtonOpenRecFile(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        char path[sizeof file_name] = "";
        OfferRecentRecordFiles();
        if (FileSelectPopup(StartFolder(KEPT_RECORDS), "record.dat", "Record files (*.dat)",
                            "OPEN RECORD FILE", VAL_LOAD_BUTTON, 0, 0, 1, 0, path) > 0 &&
            OpenRecordFile(path) == 0)  // a name that is no file is told on the panel
            KeepChosenFile(KEPT_RECORDS, path);
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonExportCsv(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        if (viewed.records.empty()) {
            ShowViewLine(false, "No record file is open: open one to export it");
            return 0;
        }
        char path[sizeof file_name] = "";
        char folder[sizeof file_name], name[sizeof file_name];
        ProposeCsvFile(viewedPath, folder, sizeof folder, name, sizeof name);
        const int chosen =
            FileSelectPopup(folder, name, "*.csv", "EXPORT CSV", VAL_SAVE_BUTTON, 0, 1, 1, 1, path);
        if (chosen == 1 &&
            ConfirmPopup("ATTENTION!", "File already exist! \nDo you want to replace it?") != 1)
            return 0;
        if (chosen > 0) ExportViewedCsv(path);
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispViewFile(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispCursor(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
