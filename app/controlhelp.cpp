// Which help text belongs to which control: the text its callback shows on
// a right click, handed to the platform for assistive technology.
#include "app/callbacks.h"
#include "app/helptexts.h"
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
    {"CALIBP", "SlideRefPower", InfoSlideRefPower},
    {"CALIBP", "ButtonStartCalib", InfoButtonStartCalib},
    {"CALIBP", "ButtonConfirmCalib", InfoButtonConfirmCalib},
    {"CALIBP", "ButtonCloseCalib", InfoButtonCloseCalib},
    {"GRAPHP", "EditSignal", InfoEditSignal},
    {"GRAPHP", "PanelGraphChRef", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphChDir", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphChDif", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphNorm", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphInt", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphGf", InfoPanelGraphGraph},
    {"GRAPHP", "PanelGraphTemp", InfoPanelGraphGraph},
    {"GRAPHP", "SelectBand", InfoSelectBand},
    {"GRAPHP", "EditBandRow", InfoEditBand},
    {"GRAPHP", "EditBandLo", InfoEditBand},
    {"GRAPHP", "EditBandHi", InfoEditBand},
    {"GRAPHP", "DispStats", InfoDispStats},
    {"GRAPHP", "DispBand", InfoDispStats},
    {"GRAPHP", "GraphHistogram", InfoGraphHistogram},
    {"GRAPHP", "ButtonReport", InfoButtonReport},
};

}  // namespace

const ControlHelp* ProgramHelp(int* count) {
    *count = static_cast<int>(sizeof kHelp / sizeof kHelp[0]);
    return kHelp;
}

}  // namespace corvel
