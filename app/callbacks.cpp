#include "app/callbacks.h"

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "app/transferline.h"
#include "calib/calib.h"
#include "display/display.h"
#include "link/link.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/ui.h"
#include "recorder/recorder.h"

namespace corvel {

namespace {

const CallbackEntry kTable[] = {
    {"CBF_P", nullptr, CBF_P},
    {"CBF_DispChRef", CBF_DispChRef, nullptr},
    {"CBF_DispChDir", CBF_DispChDir, nullptr},
    {"CBF_DispChDif", CBF_DispChDif, nullptr},
    {"CBF_BarChRef", CBF_BarChRef, nullptr},
    {"CBF_BarChDir", CBF_BarChDir, nullptr},
    {"CBF_BarChDif", CBF_BarChDif, nullptr},
    {"CBF_DispNorm", CBF_DispNorm, nullptr},
    {"CBF_DispINT", CBF_DispINT, nullptr},
    {"CBF_DispVec", CBF_DispVec, nullptr},
    {"CBF_DispStatus", CBF_DispStatus, nullptr},
    {"CBF_ButtonSend", CBF_ButtonSend, nullptr},
    {"CBF_ButtonGet", CBF_ButtonGet, nullptr},
    {"CBF_ButtonGo", CBF_ButtonGo, nullptr},
    {"CBF_ButtonStop", CBF_ButtonStop, nullptr},
    {"CBF_EditConnect", CBF_EditConnect, nullptr},
    {"CBF_SelectRAM", CBF_SelectRAM, nullptr},
    {"CBF_SelectEEPROM", CBF_SelectEEPROM, nullptr},
    {"CBF_SelectFILE", CBF_SelectFILE, nullptr},
    {"CBF_ParaVisible", CBF_ParaVisible, nullptr},
    {"CBF_ExternTeach", CBF_ExternTeach, nullptr},
    {"CBF_EditPmod", CBF_EditPmod, nullptr},
    {"CBF_EditMaxNo", CBF_EditMaxNo, nullptr},
    {"CBF_EditDigitalOutmode", CBF_EditDigitalOutmode, nullptr},
    {"CBF_AnaOutBegEnd", CBF_AnaOutBegEnd, nullptr},
    {"CBF_SlidePower", CBF_SlidePower, nullptr},
    {"CBF_EditAverage", CBF_EditAverage, nullptr},
    {"CBF_EditTrigger", CBF_EditTrigger, nullptr},
    {"CBF_EditIntlim", CBF_EditIntlim, nullptr},
    {"CBF_EditHold", CBF_EditHold, nullptr},
    {"CBF_EditBias", CBF_EditBias, nullptr},
    {"CBF_ButtonTeachDataTo", CBF_ButtonTeachDataTo, nullptr},
    {"CBF_ButtonResetTable", CBF_ButtonResetTable, nullptr},
    {"CBF_Evalmode", CBF_Evalmode, nullptr},
    {"CBF_EditNo", CBF_EditNo, nullptr},
    {"CBF_RadioInc", CBF_RadioInc, nullptr},
    {"CBF_SelectSource", CBF_SelectSource, nullptr},
    {"CBF_DispGF", CBF_DispGF, nullptr},
    {"CBF_DispGFBig", CBF_DispGFBig, nullptr},
    {"CBF_GraphRaw1", CBF_GraphRaw1, nullptr},
    {"CBF_GraphNormInt", CBF_GraphNormInt, nullptr},
    {"CBF_GraphGF", CBF_GraphGF, nullptr},
    {"CBF_GRAPHP", nullptr, CBF_GRAPHP},
    {"CBF_ButtonShowGraph", CBF_ButtonShowGraph, nullptr},
    {"CBF_EditSignal", CBF_EditSignal, nullptr},
    {"CBF_PanelGraphGraph", CBF_PanelGraphGraph, nullptr},
    {"CBF_ButtonOpenRecorder", CBF_ButtonOpenRecorder, nullptr},
    {"CBF_RECP", nullptr, CBF_RECP},
    {"CBF_ButtonCloseRecorder", CBF_ButtonCloseRecorder, nullptr},
    {"CBF_ButtonSelRecFile", CBF_ButtonSelRecFile, nullptr},
    {"CBF_EditInterval", CBF_EditInterval, nullptr},
    {"CBF_EditRecVal", CBF_EditRecVal, nullptr},
    {"CBF_DispRecFile", CBF_DispRecFile, nullptr},
    {"CBF_DispRecordTime", CBF_DispRecordTime, nullptr},
    {"CBF_DispRecordedValues", CBF_DispRecordedValues, nullptr},
    {"CBF_DispRemaining", CBF_DispRemaining, nullptr},
    {"CBF_DispGfRecord", CBF_DispGfRecord, nullptr},
    {"CBF_ButtonStartRecord", CBF_ButtonStartRecord, nullptr},
    {"CBF_ButtonManualRecord", CBF_ButtonManualRecord, nullptr},
    {"CBF_ButtonStopRecord", CBF_ButtonStopRecord, nullptr},
    {"CBF_ButtonCalibrate", CBF_ButtonCalibrate, nullptr},
    {"CBF_CALIBP", nullptr, CBF_CALIBP},
    {"CBF_ButtonCloseCalib", CBF_ButtonCloseCalib, nullptr},
    {"CBF_ButtonStartCalib", CBF_ButtonStartCalib, nullptr},
    {"CBF_ButtonConfirmCalib", CBF_ButtonConfirmCalib, nullptr},
    {"CBF_SlideRefPower", CBF_SlideRefPower, nullptr},
    {"CBF_ButtonPorts", CBF_ButtonPorts, nullptr},
    {"CBF_DispStatusDetail", CBF_DispStatusDetail, nullptr},
    {"CBF_DispLive", CBF_DispLive, nullptr},
    {"CBF_DispTransfer", CBF_DispTransfer, nullptr},
    {"CBF_BarRecProgress", CBF_BarRecProgress, nullptr},
    {"CBF_DispTimeLeft", CBF_DispTimeLeft, nullptr},
    {"CBF_DispCalibStep", CBF_DispCalibStep, nullptr},
    {"CBF_CalibDispWindow", CBF_CalibDispWindow, nullptr},
    {"CBF_ButtonOpenRecFile", CBF_ButtonOpenRecFile, nullptr},
    {"CBF_ButtonExportCsv", CBF_ButtonExportCsv, nullptr},
    {"CBF_DispViewFile", CBF_DispViewFile, nullptr},
    {"CBF_ButtonCloseGraph", CBF_ButtonCloseGraph, nullptr},
    {"CBF_ButtonFitY", CBF_ButtonFitY, nullptr},
    {"CBF_DispCursor", CBF_DispCursor, nullptr},
    {"CBF_SelectBand", CBF_SelectBand, nullptr},
    {"CBF_EditBand", CBF_EditBand, nullptr},
    {"CBF_DispStats", CBF_DispStats, nullptr},
    {"CBF_GraphHistogram", CBF_GraphHistogram, nullptr},
    {"CBF_ButtonReport", CBF_ButtonReport, nullptr},
    {"CBF_DispUnsent", CBF_DispUnsent, nullptr},
    {"CBF_ButtonRestoreEdits", CBF_ButtonRestoreEdits, nullptr},
};

}  // namespace

const CallbackEntry* ProgramCallbacks(int* count) {
    *count = static_cast<int>(sizeof kTable / sizeof kTable[0]);
    return kTable;
}

void RegisterProgramCallbacks(void) {
    int n = 0;
    const CallbackEntry* t = ProgramCallbacks(&n);
    RegisterCallbackTable(t, n);
    const ControlHelp* help = ProgramHelp(&n);
    RegisterHelpTable(help, n);
}

}  // namespace corvel
