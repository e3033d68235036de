// The teach table and the evaluation mode of the main panel.
#include "app/corvel.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr unsigned short kLastVector = kTeachRows - 1;

// Tolerances a teach writes beside the measured values.
constexpr unsigned short kNormTol = 25;
constexpr unsigned short kIntTolStat = 100;
constexpr unsigned short kIntTolDyn = 20;
constexpr unsigned short kGfTol = 20;

void SetColumnLabels(const char* const (&labels)[kTeachColumns]) {
    for (int col = 1; col <= kTeachColumns; ++col)
        SetTableColumnAttribute(panel, P_TEACHTABLE, col, ATTR_COLUMN_LABEL_TEXT, labels[col - 1]);
}

void Dim(int control, int dimmed) {
    SetCtrlAttribute(panel, control, ATTR_DIMMED, dimmed);
}

}  // namespace

void TeachDataTo(void) {
    GetCtrlVal(panel, P_EDITPMOD, &pmod);
    unsigned short n = 0;
    GetCtrlVal(panel, P_EDITNO, &n);
    GetCtrlVal(panel, P_EVALMODE, &evalmode);
    if (n > kLastVector) return;  // no such row
    const int r = n + 1;

    if (evalmode == 0) {
        SetTableCellVal(panel, P_TEACHTABLE, 1, r, dataNorm);
        SetTableCellVal(panel, P_TEACHTABLE, 2, r, kNormTol);
        SetTableCellVal(panel, P_TEACHTABLE, 3, r, dataInt);
        SetTableCellVal(panel, P_TEACHTABLE, 4, r, pmod == 0 ? kIntTolStat : kIntTolDyn);
    } else if (evalmode == 1) {
        SetTableCellVal(panel, P_TEACHTABLE, 1, r, dataGf);
        SetTableCellVal(panel, P_TEACHTABLE, 2, r, kGfTol);
    } else {
        return;
    }

    int inc = 0;
    GetCtrlVal(panel, P_RADIOINC, &inc);
    if (inc == 1 && n < kLastVector) SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(n + 1));
}

void ResetTable(void) {
    for (int row = 1; row <= kTeachRows; ++row)
        for (int col = 1; col <= kTeachColumns; ++col)
            SetTableCellVal(panel, P_TEACHTABLE, col, row, static_cast<unsigned short>(1));
}

void InitEval(void) {
    GetCtrlVal(panel, P_EVALMODE, &evalmode);
    if (evalmode == 0) {
        static const char* const kLabels[kTeachColumns] = {"NORM", "N TOL", "INT", "I TOL"};
        SetCtrlVal(panel, P_SELECTSOURCE, kSourceNorm);
        Dim(P_EDITPMOD, 0);
        Dim(P_EDITINTLIM, 0);
        Dim(P_EDITBIAS, 1);
        SetColumnLabels(kLabels);
        const int raw[] = {P_DISPCHREF, P_DISPCHDIR, P_DISPCHDIF, P_BARCHREF, P_BARCHDIR, P_BARCHDIF};
        for (int c : raw) SetCtrlAttribute(panel, c, ATTR_VISIBLE, 1);
    } else if (evalmode == 1) {
        static const char* const kLabels[kTeachColumns] = {"GF", "GF TOL", "", ""};
        SetCtrlVal(panel, P_SELECTSOURCE, kSourceGf);
        // The glossy factor is only evaluated with dynamic power.
        SetCtrlVal(panel, P_EDITPMOD, static_cast<unsigned short>(1));
        Dim(P_EDITPMOD, 1);
        Dim(P_EDITINTLIM, 1);
        Dim(P_EDITBIAS, 0);
        SetColumnLabels(kLabels);
    }

    GetCtrlVal(panel, P_EDITPMOD, &pmod);
    PowerSliderDimming();
    GetCtrlVal(panel, P_EXTERNTEACH, &extteach);
    TriggerLock();
    GetCtrlVal(panel, P_EDITMAXNO, &maxno);
    VectorCountCheck();
    RowMarking();
    DispVis();
}

int CBF_ButtonTeachDataTo(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        TeachDataTo();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonResetTable(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        ResetTable();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_Evalmode(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) {
        InitEval();
        UnsentEdited();
    }
    return HelpOnly(panelHandle, control, event);
}

int CBF_EditNo(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_RadioInc(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
