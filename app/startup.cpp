// The program's start: the panels, the callbacks, the state's initial values
// and the link check, then the event loop; and the main panel's close.
#include "app/callbacks.h"
#include "app/corvel.h"
#include "app/kept.h"
#include "branding/branding.h"
#include "display/display.h"
#include "link/link.h"
#include "params/params.h"
#include "params/unsent.h"
#include "platform/platform.h"
#include "recorder/recorder.h"
#include "uir_ids.h"

namespace corvel {

int WinMain(int hInstance, int, char*, int) {
    if (InitCVIRTE(hInstance, nullptr, 0) == 0) return -1;
    RegisterProgramCallbacks();

    // Every panel must load before anything shows; a missing panel file ends
    // the program at once.
    if (LoadPanels() < 0) return -1;

    // File popups start where the operator may write: the program's folder
    // in a build, a documents folder when installed.
    if (GetUserFileDir(proj_dir) != 0) GetProjectDir(proj_dir);
    InitVars();
    ShowWholeRecPath();
    // Panel places, folders and recent files of the last run; the port and
    // the start values stay as they always start.
    KeepStart();
    InitRS232(com);

    DisplayPanel(panel);
    RunUserInterface();
    KeepEnd();

    CloseCom(com);
    DiscardPanel(panel);
    // Every window goes now, in order, while the window system still stands.
    CloseCVIRTE();
    return 0;
}

int LoadPanels(void) {
    if ((panel = LoadPanel(0, kPanelFile, P)) < 0) return -1;
    if ((recpanel = LoadPanel(0, kPanelFile, RECP)) < 0) return -1;
    if ((calibpanel = LoadPanel(0, kPanelFile, CALIBP)) < 0) return -1;
    if ((graphpanel = LoadPanel(0, kPanelFile, GRAPHP)) < 0) return -1;
    ShowHelpAsTooltips();
    return 0;
}

void InitVars(void) {
    anzpara = 140;
    anzframe = 16;
    anzdata = 16;
    com = 1;
    sync = 85;
    order = 1;
    target = 1;
    poll = 0;
    pollrecord = 0;

    transbeg = Timer();
    waitdel = 0.1;

    SetCtrlVal(panel, P_DISPSTATUS, "InitVars");
    SetCtrlVal(panel, P_PARAVISIBLE, 1);
    ParaVis();
    DispVis();
    ShowLogo(5);
    GetPanelValues();
    SetActiveTableCell(panel, P_TEACHTABLE, 1, 1);
    SetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, 0);
    MarkDisplaysStale();  // nothing measured yet
    GraphsFollowFrames();
    UnsentStart();  // the start values: no edits, nothing read from a sensor
}

int CBF_P(int, int event, void*, int, int) {
    if (event == EVENT_CLOSE) {
        // Unsent edits are lost with the program: the operator decides. On
        // No, nothing changes, and a loop running beneath goes on.
        if (!UnsentMayClose()) return 0;
        // Clearing both flags first lets a live-data loop or a recording run
        // beneath this callback end, so the event loop can return.
        poll = 0;
        pollrecord = 0;
        QuitUserInterface(0);
    }
    return 0;
}

}  // namespace corvel
