// Unsent edits: the baseline of what was last sent or read, the marks and
// the count on the panel, the restore after a read, the question at close.
// Every look at the panel compares 137 words; nothing runs per live frame.
#include "params/unsent.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "params/params.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr int kMostNames = 4;  // names a line lists before "and n more"

struct Image {
    unsigned short w[kPanelWords];
};

Image baseline;             // last sent or read
Image shown;                // the panel at the last look
bool haveBaseline = false;  // UnsentStart has run
bool startValues = false;   // the baseline is still the panel's start values
bool sensorRead = false;    // a sensor's parameters were read at least once
bool fieldMarked[kParameterWords];
// A marked field's own tooltip (its help), back when the mark goes.
char fieldTip[kParameterWords][512];
bool fieldTipKept[kParameterWords];
bool rowMarked[kTeachRows];

// Before a replacing action: the panel and its baseline.
Image before;
Image beforeBaseline;
bool haveBefore = false;

// What a read replaced and RESTORE EDITS brings back.
Image restoreValues;
bool restoreWord[kPanelWords];
bool restorable = false;

Image Panel(void) {
    Image im;
    ReadPanelWords(im.w);
    return im;
}

bool RowDiffers(const Image& a, const Image& b, int row) {
    const int first = kParameterWords + row * kTeachColumns;
    return std::memcmp(a.w + first, b.w + first, kTeachColumns * sizeof a.w[0]) != 0;
}

int Count(const Image& now) {
    if (!haveBaseline) return 0;
    int n = 0;
    for (int i = 0; i < kParameterWords; ++i) n += now.w[i] != baseline.w[i];
    for (int r = 0; r < kTeachRows; ++r) n += RowDiffers(now, baseline, r);
    return n;
}

// A field's value as the operator reads it (bias is signed).
long Shown(int index, unsigned short word) {
    return index == kParameterWords - 1 ? static_cast<short>(word) : word;
}

const char* BaselineName(void) {
    return startValues ? "Start value" : "Last sent or read";
}

void MarkField(int i, bool on) {
    if (fieldMarked[i] == on) return;
    fieldMarked[i] = on;
    const int control = PanelWordControl(i);
    SetCtrlAttribute(panel, control, ATTR_MARKED, on ? 1 : 0);
    if (!on) {
        if (fieldTipKept[i]) SetCtrlAttribute(panel, control, ATTR_TOOLTIP_TEXT, fieldTip[i]);
        fieldTipKept[i] = false;
        return;
    }
    if (GetCtrlAttribute(panel, control, ATTR_TOOLTIP_TEXT, fieldTip[i], sizeof fieldTip[i]) < 0)
        fieldTip[i][0] = '\0';
    fieldTipKept[i] = true;
    char tip[96] = "";
    std::snprintf(tip, sizeof tip, "Not sent yet. %s: %ld", BaselineName(), Shown(i, baseline.w[i]));
    SetCtrlAttribute(panel, control, ATTR_TOOLTIP_TEXT, tip);
}

void MarkRow(int r, bool on) {
    if (rowMarked[r] == on) return;
    rowMarked[r] = on;
    SetTableRowAttribute(panel, P_TEACHTABLE, r + 1, ATTR_ROW_MARKED, on ? 1 : 0);
    char tip[96] = "";
    const unsigned short* b = baseline.w + kParameterWords + r * kTeachColumns;
    if (on)
        std::snprintf(tip, sizeof tip, "Not sent yet. %s: %u, %u, %u, %u", BaselineName(), b[0], b[1], b[2],
                      b[3]);
    SetTableRowAttribute(panel, P_TEACHTABLE, r + 1, ATTR_ROW_TOOLTIP_TEXT, tip);
}

void ShowCount(int n) {
    char text[160];
    const char* note = startValues   ? "start values, nothing read from a sensor yet"
                       : !sensorRead ? "nothing read from a sensor yet"
                                     : nullptr;
    if (n == 0 && note)
        std::snprintf(text, sizeof text, "%c%s", note[0] - 'a' + 'A', note + 1);
    else if (n == 0)
        std::snprintf(text, sizeof text, "No unsent changes");
    else if (note)
        std::snprintf(text, sizeof text, "\u2022 %d unsent change%s (%s)", n, n == 1 ? "" : "s", note);
    else
        std::snprintf(text, sizeof text, "\u2022 %d unsent change%s", n, n == 1 ? "" : "s");
    SetCtrlVal(panel, P_DISPUNSENT, text);
}

// The button takes the count's place while a restore is possible: right
// after a read, when the panel holds nothing unsent anyway.
void ShowRestore(void) {
    SetCtrlAttribute(panel, P_BUTTONRESTOREEDITS, ATTR_VISIBLE, restorable ? 1 : 0);
    SetCtrlAttribute(panel, P_DISPUNSENT, ATTR_VISIBLE, restorable ? 0 : 1);
}

// Marks and count for what the panel holds now.
void Show(const Image& now) {
    if (!haveBaseline) return;
    for (int i = 0; i < kParameterWords; ++i) MarkField(i, now.w[i] != baseline.w[i]);
    for (int r = 0; r < kTeachRows; ++r) MarkRow(r, RowDiffers(now, baseline, r));
    ShowCount(Count(now));
    ShowRestore();
}

// A new baseline: every mark's tooltip names it, so they are all redone.
void NewBaseline(const Image& now) {
    baseline = now;
    haveBaseline = true;
    for (bool& m : fieldMarked) m = true;
    for (bool& m : rowMarked) m = true;
    for (int i = 0; i < kParameterWords; ++i) MarkField(i, false);
    for (int r = 0; r < kTeachRows; ++r) MarkRow(r, false);
}

// "HOLD, AVERAGE, teach row 5 and 2 more": the fields and rows of `words`.
int Names(const bool* words, char* out, size_t size) {
    int n = 0;
    size_t used = 0;
    out[0] = 0;
    auto add = [&](const char* name, int number) {
        if (n++ >= kMostNames || used >= size) return;
        char one[48];
        if (number >= 0)
            std::snprintf(one, sizeof one, "teach row %d", number);
        else
            std::snprintf(one, sizeof one, "%s", name);
        used += std::snprintf(out + used, size - used, "%s%s", n > 1 ? ", " : "", one);
    };
    for (int i = 0; i < kParameterWords; ++i)
        if (words[i]) add(PanelWordCaption(i), -1);
    for (int r = 0; r < kTeachRows; ++r) {
        bool any = false;
        for (int c = 0; c < kTeachColumns; ++c) any = any || words[kParameterWords + r * kTeachColumns + c];
        if (any) add(nullptr, r);
    }
    if (n > kMostNames && used < size) std::snprintf(out + used, size - used, " and %d more", n - kMostNames);
    return n;
}

// After a replacing action: which edits it took from the panel. They can be
// brought back until the next edit, send or read. A read always ends an
// earlier chance; an action that replaced nothing may keep it.
void NoteReplaced(const char* what, bool isRead) {
    const Image now = Panel();
    bool replaced[kPanelWords] = {};
    bool any = false;
    if (haveBefore) {
        for (int i = 0; i < kPanelWords; ++i) {
            const bool edited = before.w[i] != beforeBaseline.w[i];
            replaced[i] = edited && before.w[i] != now.w[i];
            any = any || replaced[i];
        }
    }
    haveBefore = false;
    if (any || isRead) {
        std::memcpy(restoreWord, replaced, sizeof restoreWord);
        restoreValues = before;
        restorable = any;
    }
    shown = now;
    Show(now);
    if (!any) return;
    char names[160];
    const int n = Names(restoreWord, names, sizeof names);
    char line[320];
    std::snprintf(line, sizeof line,
                  "%s replaced %d unsent edit%s (%s): RESTORE EDITS or Ctrl+Z brings %s back", what, n,
                  n == 1 ? "" : "s", names, n == 1 ? "it" : "them");
    ShowTransfer(true, line);
}

}  // namespace

void UnsentStart(void) {
    InstallCtrlCallback(panel, P_TEACHTABLE, CBF_TeachTable, nullptr);
    NewBaseline(Panel());
    startValues = true;
    sensorRead = false;
    restorable = false;
    haveBefore = false;
    shown = baseline;
    Show(shown);
}

void UnsentEdited(void) {
    const Image now = Panel();
    if (std::memcmp(now.w, shown.w, sizeof now.w) != 0) {
        restorable = false;  // an edit since the read: the chance has passed
        shown = now;
    }
    Show(now);
}

void UnsentSent(void) {
    NewBaseline(Panel());
    startValues = false;
    restorable = false;
    shown = baseline;
    Show(shown);
}

void UnsentHeadSent(void) {
    if (!haveBaseline) return;
    const Image now = Panel();
    for (int i = 0; i < kParameterWords; ++i) {
        if (baseline.w[i] == now.w[i]) continue;
        baseline.w[i] = now.w[i];
        // The tooltip names the baseline: redo this mark.
        fieldMarked[i] = true;
        MarkField(i, false);
    }
    startValues = false;
}

void UnsentBeforeReplace(void) {
    before = Panel();
    beforeBaseline = haveBaseline ? baseline : before;
    haveBefore = true;
}

void UnsentAfterRead(bool accepted, bool fromSensor, const char* what) {
    if (!accepted) {
        // A failed read changed nothing: the baseline and any chance to
        // restore stay as they were.
        haveBefore = false;
        UnsentEdited();
        return;
    }
    NewBaseline(Panel());
    startValues = false;
    sensorRead = sensorRead || fromSensor;
    NoteReplaced(what, true);
}

void UnsentAfterCalibration(void) {
    NoteReplaced("CALIBRATION", false);
}

int RestoreEdits(void) {
    if (!restorable) return 0;
    restorable = false;
    for (int i = 0; i < kPanelWords; ++i)
        if (restoreWord[i]) WritePanelWord(i, restoreValues.w[i]);
    // As an evaluation-mode change: dimming, labels, trigger lock and row
    // marking follow the values brought back.
    InitEval();
    char names[160];
    const int n = Names(restoreWord, names, sizeof names);
    char line[256];
    std::snprintf(line, sizeof line, "RESTORE EDITS brought back %d edit%s (%s), not sent yet", n,
                  n == 1 ? "" : "s", names);
    ShowTransfer(true, line);
    shown = Panel();
    Show(shown);
    return n;
}

bool RestorePossibleForTest(void) {
    return restorable;
}

int UnsentCountForTest(void) {
    return Count(Panel());
}

bool UnsentMayClose(void) {
    const Image now = Panel();
    Show(now);
    const int n = Count(now);
    if (n == 0) return true;
    char text[160];
    std::snprintf(text, sizeof text,
                  " %d parameter change%s not been sent to the sensor or a file. \n Close anyway? ", n,
                  n == 1 ? " has" : "s have");
    return ConfirmPopup("ATTENTION!", text) == 1;
}

int CBF_ButtonRestoreEdits(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) RestoreEdits();
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispUnsent(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

// The table has no help of its own: its cells only hold values.
int CBF_TeachTable(int, int, int event, void*, int, int) {
    if (event == EVENT_VAL_CHANGED) UnsentEdited();
    return 0;
}

}  // namespace corvel
