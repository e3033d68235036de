// The callback table: each name a panel definition gives a control or panel,
// with the procedure it resolves to, written once.
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

// Each callback by the name the panel definitions give it, written once.
#define CONTROL(name) \
    { "CBF_" #name, CBF_##name, nullptr }
#define PANEL(name) \
    { "CBF_" #name, nullptr, CBF_##name }

const CallbackEntry kTable[] = {
    PANEL(P),
    CONTROL(DispChRef),
    CONTROL(DispChDir),
    CONTROL(DispChDif),
    CONTROL(BarChRef),
    CONTROL(BarChDir),
    CONTROL(BarChDif),
    CONTROL(DispNorm),
    CONTROL(DispINT),
    CONTROL(DispVec),
    CONTROL(DispStatus),
    CONTROL(ButtonSend),
    CONTROL(ButtonGet),
    CONTROL(ButtonGo),
    CONTROL(ButtonStop),
    CONTROL(EditConnect),
    CONTROL(SelectRAM),
    CONTROL(SelectEEPROM),
    CONTROL(SelectFILE),
    CONTROL(ParaVisible),
    CONTROL(ExternTeach),
    CONTROL(EditPmod),
    CONTROL(EditMaxNo),
    CONTROL(EditDigitalOutmode),
    CONTROL(AnaOutBegEnd),
    CONTROL(SlidePower),
    CONTROL(EditAverage),
    CONTROL(EditTrigger),
    CONTROL(EditIntlim),
    CONTROL(EditHold),
    CONTROL(EditBias),
    CONTROL(ButtonTeachDataTo),
    CONTROL(ButtonResetTable),
    CONTROL(Evalmode),
    CONTROL(EditNo),
    CONTROL(RadioInc),
    CONTROL(SelectSource),
    CONTROL(DispGF),
    CONTROL(DispGFBig),
    CONTROL(GraphRaw1),
    CONTROL(GraphNormInt),
    CONTROL(GraphGF),
    PANEL(GRAPHP),
    CONTROL(ButtonShowGraph),
    CONTROL(EditSignal),
    CONTROL(PanelGraphGraph),
    CONTROL(ButtonOpenRecorder),
    PANEL(RECP),
    CONTROL(ButtonCloseRecorder),
    CONTROL(ButtonSelRecFile),
    CONTROL(EditInterval),
    CONTROL(EditRecVal),
    CONTROL(DispRecFile),
    CONTROL(DispRecordTime),
    CONTROL(DispRecordedValues),
    CONTROL(DispRemaining),
    CONTROL(DispGfRecord),
    CONTROL(ButtonStartRecord),
    CONTROL(ButtonManualRecord),
    CONTROL(ButtonStopRecord),
    CONTROL(ButtonCalibrate),
    PANEL(CALIBP),
    CONTROL(ButtonCloseCalib),
    CONTROL(ButtonStartCalib),
    CONTROL(ButtonConfirmCalib),
    CONTROL(SlideRefPower),
    CONTROL(ButtonPorts),
    CONTROL(DispStatusDetail),
    CONTROL(DispLive),
    CONTROL(DispTransfer),
    CONTROL(BarRecProgress),
    CONTROL(DispTimeLeft),
    CONTROL(DispCalibStep),
    CONTROL(CalibDispWindow),
    CONTROL(ButtonOpenRecFile),
    CONTROL(ButtonExportCsv),
    CONTROL(DispViewFile),
    CONTROL(ButtonCloseGraph),
    CONTROL(ButtonFitY),
    CONTROL(DispCursor),
    CONTROL(SelectBand),
    CONTROL(EditBand),
    CONTROL(DispStats),
    CONTROL(GraphHistogram),
    CONTROL(ButtonReport),
    CONTROL(DispUnsent),
    CONTROL(ButtonRestoreEdits),
};

#undef CONTROL
#undef PANEL

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
