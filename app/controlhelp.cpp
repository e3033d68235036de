// Which help text belongs to which control, in one table: its callback shows
// the text on a right click, the platform hands it to assistive technology,
// and it is the control's tooltip.
#include <cstring>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "platform/ui.h"

namespace corvel {
namespace {

const ControlHelp kHelp[] = {
    {"P", "EditConnect", InfoEditConnect},
    {"P", "SelectRAM", InfoSelectMEM},
    {"P", "SelectEEPROM", InfoSelectMEM},
    {"P", "SelectFILE", InfoSelectMEM},
    {"P", "ButtonSend", InfoButtonSend},
    {"P", "ButtonGet", InfoButtonGet},
    {"P", "ButtonGo", InfoButtonGo},
    {"P", "ButtonStop", InfoButtonStop},
    {"P", "DispStatus", InfoStatus},
    {"P", "ButtonCalibrate", InfoButtonCalibration},
    {"P", "ButtonOpenRecorder", InfoButtonOpenRecorder},
    {"P", "ParaVisible", InfoSwitchPara},
    {"P", "SlidePower", InfoEditPower},
    {"P", "EditPmod", InfoEditPmod},
    {"P", "Evalmode", InfoEditEvalmode},
    {"P", "EditTrigger", InfoEditTrigger},
    {"P", "EditAverage", InfoEditAverage},
    {"P", "EditHold", InfoEditHold},
    {"P", "EditIntlim", InfoEditIntlim},
    {"P", "EditBias", InfoEditBias},
    {"P", "EditMaxNo", InfoEditMaxcolNo},
    {"P", "EditDigitalOutmode", InfoEditDigitalOutmode},
    {"P", "AnaOutBeg", InfoEditAnaOutBegEnd},
    {"P", "AnaOutEnd", InfoEditAnaOutBegEnd},
    {"P", "ExternTeach", InfoEditEvalmode},
    {"P", "EditNo", InfoEditNo},
    {"P", "RadioInc", InfoRadioInc},
    {"P", "ButtonTeachDataTo", InfoButtonTeachDataTo},
    {"P", "ButtonResetTable", InfoButtonResetTable},
    {"P", "DispChRef", InfoDispRaw},
    {"P", "DispChDir", InfoDispChDir},
    {"P", "DispChDif", InfoDispRaw},
    {"P", "BarChRef", InfoDispBars},
    {"P", "BarChDir", InfoDispBars},
    {"P", "BarChDif", InfoDispBars},
    {"P", "DispVec", InfoDispVec},
    {"P", "DispNorm", InfoDispNorm},
    {"P", "DispINT", InfoDispInt},
    {"P", "DispGF", InfoDispGf},
    {"P", "SelectSource", InfoSelectSource},
    {"P", "GraphNorm", InfoGraph},
    {"P", "GraphInt", InfoGraph},
    {"P", "GraphGF", InfoGraphGF},
    {"P", "GraphRaw1", InfoGraph},
    {"P", "DispUnsent", InfoDispUnsent},
    {"P", "ButtonRestoreEdits", InfoButtonRestoreEdits},
    {"P", "ButtonPorts", InfoButtonPorts},
    {"P", "DispStatusDetail", InfoStatusDetail},
    {"P", "DispLive", InfoDispLive},
    {"P", "DispTransfer", InfoDispTransfer},
    {"RECP", "DispRecFile", InfoDispRecFile},
    {"RECP", "ButtonSelRecFile", InfoButtonSelRecFile},
    {"RECP", "EditInterval", InfoEditInterval},
    {"RECP", "EditRecVal", InfoEditRecVal},
    {"RECP", "DispRecordDays", InfoDispRecordTime},
    {"RECP", "DispRecordHours", InfoDispRecordTime},
    {"RECP", "DispRecordMinutes", InfoDispRecordTime},
    {"RECP", "DispRecordSeconds", InfoDispRecordTime},
    {"RECP", "DispRecordedValues", InfoDispRecordedValues},
    {"RECP", "DispRemaining", InfoDispRemaining},
    {"RECP", "ButtonStartRecord", InfoButtonStartRecord},
    {"RECP", "ButtonManualRecord", InfoButtonManualRecord},
    {"RECP", "ButtonStopRecord", InfoButtonStopRecord},
    {"RECP", "DispGfRecord", InfoDispGfRecord},
    {"RECP", "ButtonShowGraph", InfoButtonShowGraph},
    {"RECP", "ButtonCloseRecorder", InfoButtonCloseRecorder},
    {"RECP", "BarRecProgress", InfoBarRecProgress},
    {"RECP", "DispTimeLeft", InfoDispTimeLeft},
    {"CALIBP", "SlideRefPower", InfoSlideRefPower},
    {"CALIBP", "ButtonStartCalib", InfoButtonStartCalib},
    {"CALIBP", "ButtonConfirmCalib", InfoButtonConfirmCalib},
    {"CALIBP", "ButtonCloseCalib", InfoButtonCloseCalib},
    {"CALIBP", "DispCalibStep", InfoDispCalibStep},
    {"CALIBP", "CalibDispWindow", InfoCalibDispWindow},
    {"GRAPHP", "EditSignal", InfoEditSignal},
    {"GRAPHP", "PanelGraphChRef", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphChDir", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphChDif", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphNorm", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphInt", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphGf", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphTemp", InfoPanelGraphGraph},
    {"GRAPHP", "ButtonOpenRecFile", InfoButtonOpenRecFile},
    {"GRAPHP", "ButtonExportCsv", InfoButtonExportCsv},
    {"GRAPHP", "DispViewFile", InfoDispViewFile},
    {"GRAPHP", "DispCursor", InfoDispCursor},
    {"GRAPHP", "ButtonCloseGraph", InfoButtonCloseGraph},
    {"GRAPHP", "ButtonFitY", InfoButtonFitY},
    {"GRAPHP", "SelectBand", InfoSelectBand},
    {"GRAPHP", "EditBandRow", InfoEditBand},
    {"GRAPHP", "EditBandLo", InfoEditBand},
    {"GRAPHP", "EditBandHi", InfoEditBand},
    {"GRAPHP", "DispStats", InfoDispStats},
    {"GRAPHP", "DispBand", InfoDispStats},
    {"GRAPHP", "GraphHistogram", InfoGraphHistogram},
    {"GRAPHP", "ButtonReport", InfoButtonReport},
};

int PanelNamed(const char* name) {
    if (std::strcmp(name, "P") == 0) return panel;
    if (std::strcmp(name, "RECP") == 0) return recpanel;
    if (std::strcmp(name, "CALIBP") == 0) return calibpanel;
    if (std::strcmp(name, "GRAPHP") == 0) return graphpanel;
    return -1;
}

const char* PanelName(int panelHandle) {
    if (panelHandle <= 0) return nullptr;
    if (panelHandle == panel) return "P";
    if (panelHandle == recpanel) return "RECP";
    if (panelHandle == calibpanel) return "CALIBP";
    if (panelHandle == graphpanel) return "GRAPHP";
    return nullptr;
}

const char* HelpText(int panelHandle, int control) {
    const char* panelName = PanelName(panelHandle);
    char name[64] = "";
    if (!panelName || GetCtrlName(panelHandle, control, name, sizeof name) < 0) return nullptr;
    for (const ControlHelp& h : kHelp)
        if (std::strcmp(h.panel, panelName) == 0 && std::strcmp(h.control, name) == 0) return h.text;
    return nullptr;
}

}  // namespace

void ShowControlHelp(int panelHandle, int control, const char* title) {
    const char* text = HelpText(panelHandle, control);
    if (text) MessagePopup(title, text);
}

int HelpOnly(int panelHandle, int control, int event) {
    if (event == EVENT_RIGHT_CLICK) ShowControlHelp(panelHandle, control);
    return 0;
}

void ShowHelpAsTooltips(void) {
    for (const ControlHelp& h : kHelp) {
        const int p = PanelNamed(h.panel);
        const int control = p > 0 ? GetCtrlByName(p, h.control) : -1;
        if (control > 0) SetCtrlAttribute(p, control, ATTR_TOOLTIP_TEXT, h.text);
    }
}

const ControlHelp* ProgramHelp(int* count) {
    *count = static_cast<int>(sizeof kHelp / sizeof kHelp[0]);
    return kHelp;
}

}  // namespace corvel
