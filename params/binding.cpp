// Copying between the parameter controls of the main panel and the globals,
// the two views of the panel and the transfer-target toggles.
#include <cstdio>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

// The unsigned controls in binding order, with their captions on the panel;
// bias follows them as a signed value.
struct Bound {
    int control;
    unsigned short* variable;
    const char* caption;
};
const Bound kBound[] = {
    {P_SLIDEPOWER, &power, "LED POWER"},
    {P_EDITPMOD, &pmod, "P-MODE"},
    {P_EDITAVERAGE, &average, "AVERAGE"},
    {P_EVALMODE, &evalmode, "EVALMODE"},
    {P_EDITHOLD, &hold, "HOLD"},
    {P_EDITINTLIM, &intlim, "INTLIM"},
    {P_EDITMAXNO, &maxno, "MAXVEC-No."},
    {P_EDITDIGITALOUTMODE, &digitalout, "OUTMODE"},
    {P_EDITTRIGGER, &trigger, "TRIGGER"},
    {P_EXTERNTEACH, &extteach, "EXTERN TEACH"},
    {P_ANAOUTBEG, &anaoutbeg, "ANALOG OUT BEGIN"},
    {P_ANAOUTEND, &anaoutend, "ANALOG OUT END"},
};

const int kParaGroup[] = {
    P_EDITPMOD,           P_EDITAVERAGE, P_EDITTRIGGER, P_EDITINTLIM, P_SLIDEPOWER, P_EDITMAXNO,
    P_EDITDIGITALOUTMODE, P_ANAOUTBEG,   P_ANAOUTEND,   P_EDITHOLD,   P_EVALMODE,   P_EXTERNTEACH,
    P_EDITBIAS,           P_PARADECO1,   P_PARADECO2,   P_PARADECO3,  P_PARADECO4,  P_PARADECO5,
    P_PARADECO6,          P_PARADECO7,   P_PARADECO8,   P_PARADECO9,  P_PARADECO10,
};

const int kTeachGroup[] = {P_TEACHTABLE, P_BUTTONTEACHDATATO, P_EDITNO, P_RADIOINC, P_BUTTONRESETTABLE};

constexpr int kGreen = 0x008000;
constexpr int kRed = 0xFF0000;
const char kActiveSign[] = "\u2713";    // ✓ a row the sensor evaluates
const char kInactiveSign[] = "\u2013";  // – beyond MAXVEC-No.

template <int N>
void SetVisible(const int (&controls)[N], int visible) {
    for (int c : controls) SetCtrlAttribute(panel, c, ATTR_VISIBLE, visible);
}

// Exactly one toggle is lit; switching off the lit one falls back to RAM.
void SelectorRule(int panelHandle, int control, unsigned short constant) {
    const int toggles[] = {P_SELECTRAM, P_SELECTEEPROM, P_SELECTFILE};
    int on = 0;
    GetCtrlVal(panelHandle, control, &on);
    if (on == 1) {
        SetCtrlVal(panelHandle, control, 1);
        target = constant;
        for (int t : toggles)
            if (t != control) SetCtrlVal(panelHandle, t, 0);
    } else {
        target = RAM;
        SetCtrlVal(panelHandle, P_SELECTRAM, 1);
    }
}

void ReadMaxNoAndOutmode(int panelHandle) {
    GetCtrlVal(panelHandle, P_EDITMAXNO, &maxno);
    GetCtrlVal(panelHandle, P_EDITDIGITALOUTMODE, &digitalout);
}

}  // namespace

void GetPanelValues(void) {
    for (const Bound& b : kBound) GetCtrlVal(panel, b.control, b.variable);
    GetCtrlVal(panel, P_EDITBIAS, &bias);
    for (int row = 1; row <= kTeachRows; ++row)
        for (int col = 1; col <= kTeachColumns; ++col)
            GetTableCellVal(panel, P_TEACHTABLE, col, row, &ctt[row - 1][col - 1]);
}

void SetPanelValues(void) {
    for (const Bound& b : kBound) SetCtrlVal(panel, b.control, *b.variable);
    SetCtrlVal(panel, P_EDITBIAS, bias);
    for (int row = 1; row <= kTeachRows; ++row)
        for (int col = 1; col <= kTeachColumns; ++col)
            SetTableCellVal(panel, P_TEACHTABLE, col, row, ctt[row - 1][col - 1]);
}

void ReadPanelWords(unsigned short* words) {
    int i = 0;
    for (const Bound& b : kBound) GetCtrlVal(panel, b.control, &words[i++]);
    short shownBias = 0;
    GetCtrlVal(panel, P_EDITBIAS, &shownBias);
    words[i++] = static_cast<unsigned short>(shownBias);
    for (int row = 1; row <= kTeachRows; ++row)
        for (int col = 1; col <= kTeachColumns; ++col)
            GetTableCellVal(panel, P_TEACHTABLE, col, row, &words[i++]);
}

void WritePanelWord(int index, unsigned short value) {
    if (index < 0 || index >= kPanelWords) return;
    const int bound = static_cast<int>(sizeof kBound / sizeof kBound[0]);
    if (index < bound) {
        SetCtrlVal(panel, kBound[index].control, value);
    } else if (index == bound) {
        SetCtrlVal(panel, P_EDITBIAS, static_cast<short>(value));
    } else {
        const int cell = index - kParameterWords;
        SetTableCellVal(panel, P_TEACHTABLE, cell % kTeachColumns + 1, cell / kTeachColumns + 1, value);
    }
}

int PanelWordControl(int index) {
    const int bound = static_cast<int>(sizeof kBound / sizeof kBound[0]);
    if (index >= 0 && index < bound) return kBound[index].control;
    return index == bound ? P_EDITBIAS : P_TEACHTABLE;
}

const char* PanelWordCaption(int index) {
    const int bound = static_cast<int>(sizeof kBound / sizeof kBound[0]);
    if (index >= 0 && index < bound) return kBound[index].caption;
    return index == bound ? "BIAS" : "TEACH TABLE";
}

void ReportUnfitValues(void) {
    // A control keeps its value within its range and a ring only its items,
    // so a value that does not fit shows as something else and would go to
    // the sensor that way with the next send: the operator must know.
    char text[1024];
    int used = std::snprintf(text, sizeof text, " Some values read do not fit the panel: \n");
    const int header = used;
    auto note = [&](const char* caption, long held, long shown) {
        if (held == shown || used >= static_cast<int>(sizeof text)) return;
        used += std::snprintf(text + used, sizeof text - used, " %s: read %ld, the panel shows %ld \n",
                              caption, held, shown);
    };
    for (const Bound& b : kBound) {
        unsigned short shown = 0;
        GetCtrlVal(panel, b.control, &shown);
        note(b.caption, *b.variable, shown);
    }
    short shownBias = 0;
    GetCtrlVal(panel, P_EDITBIAS, &shownBias);
    note("BIAS", bias, shownBias);
    if (used == header) return;
    if (used < static_cast<int>(sizeof text))
        std::snprintf(text + used, sizeof text - used,
                      " The panel values go to the sensor with the next send. ");
    MessagePopup("ATTENTION!", text);
}

void ParaVis(void) {
    SetVisible(kTeachGroup, 0);
    SetVisible(kParaGroup, 1);
}

void ParaInVis(void) {
    SetVisible(kParaGroup, 0);
    SetVisible(kTeachGroup, 1);
}

void VectorCountCheck(void) {
    // Only the binary output mode can signal more than five vectors.
    if (maxno > 5 && digitalout != 1) MessagePopup("INFO!", InfoMaxColNo);
}

void RowMarking(void) {
    for (int row = 1; row <= kTeachRows; ++row) {
        const bool active = row <= maxno;
        SetTableRowAttribute(panel, P_TEACHTABLE, row, ATTR_ROW_LABEL_COLOR, active ? kGreen : kRed);
        // Colour-blind operators and grey printouts read the sign instead.
        SetTableRowAttribute(panel, P_TEACHTABLE, row, ATTR_ROW_LABEL_SIGN,
                             active ? kActiveSign : kInactiveSign);
    }
}

void PowerSliderDimming(void) {
    SetCtrlAttribute(panel, P_SLIDEPOWER, ATTR_DIMMED, pmod != 0 ? 1 : 0);
}

void TriggerLock(void) {
    if (extteach == 1) {
        SetCtrlVal(panel, P_EDITTRIGGER, static_cast<unsigned short>(0));
        SetCtrlAttribute(panel, P_EDITTRIGGER, ATTR_DIMMED, 1);
    } else {
        SetCtrlAttribute(panel, P_EDITTRIGGER, ATTR_DIMMED, 0);
    }
}

int CBF_SelectRAM(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_VAL_CHANGED) SelectorRule(panelHandle, control, RAM);
    return HelpOnly(panelHandle, control, event);
}

int CBF_SelectEEPROM(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_VAL_CHANGED) SelectorRule(panelHandle, control, EEPROM);
    return HelpOnly(panelHandle, control, event);
}

int CBF_SelectFILE(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_VAL_CHANGED) SelectorRule(panelHandle, control, DATFILE);
    return HelpOnly(panelHandle, control, event);
}

int CBF_ParaVisible(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        int visible = 1;
        GetCtrlVal(panelHandle, P_PARAVISIBLE, &visible);
        if (visible == 0)
            ParaInVis();
        else
            ParaVis();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ExternTeach(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        GetCtrlVal(panelHandle, P_EXTERNTEACH, &extteach);
        TriggerLock();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditPmod(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        GetCtrlVal(panelHandle, P_EDITPMOD, &pmod);
        PowerSliderDimming();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditMaxNo(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        ReadMaxNoAndOutmode(panelHandle);
        VectorCountCheck();
        RowMarking();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditDigitalOutmode(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        ReadMaxNoAndOutmode(panelHandle);
        VectorCountCheck();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_AnaOutBegEnd(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        GetCtrlVal(panelHandle, P_ANAOUTBEG, &anaoutbeg);
        GetCtrlVal(panelHandle, P_ANAOUTEND, &anaoutend);
        // Compared as signed ints so that an inverted range cannot wrap around.
        if (anaoutbeg >= anaoutend || static_cast<int>(anaoutend) - static_cast<int>(anaoutbeg) < 10)
            MessagePopup("INFO!", InfoAnaOutNotOk);
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

// These controls only hold a value that the next send reads; a commit
// only shows whether it differs from what was sent or read.
int CBF_SlidePower(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) UnsentEdited();
    return HelpOnly(panelHandle, control, event);
}
int CBF_EditAverage(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) UnsentEdited();
    return HelpOnly(panelHandle, control, event);
}
int CBF_EditTrigger(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) UnsentEdited();
    return HelpOnly(panelHandle, control, event);
}
int CBF_EditIntlim(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) UnsentEdited();
    return HelpOnly(panelHandle, control, event);
}
int CBF_EditHold(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) UnsentEdited();
    return HelpOnly(panelHandle, control, event);
}
int CBF_EditBias(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) UnsentEdited();
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
