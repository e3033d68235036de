// The search's progress on the calibration panel: the step, the power
// tried and the CH_DIR measured, then the final measurement and the result.
#include <cstdio>

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "calib/calib.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr int kNormalColour = VAL_AUTO_COLOR;
constexpr int kFailColour = 0xC00000;
char progress[96];

void Show(bool failed) {
    SetCtrlAttribute(calibpanel, CALIBP_DISPCALIBSTEP, ATTR_TEXT_COLOR, failed ? kFailColour : kNormalColour);
    SetCtrlVal(calibpanel, CALIBP_DISPCALIBSTEP, progress);
}

}  // namespace

void ShowCalibStep(int step, int steps, unsigned short tried, int chDir) {
    if (chDir < 0)
        std::snprintf(progress, sizeof progress, "Step %d of %d: power %u, measuring ...", step, steps,
                      tried);
    else
        std::snprintf(progress, sizeof progress, "Step %d of %d: power %u, CH_DIR %d", step, steps, tried,
                      chDir);
    Show(false);
    if (chDir >= 0) ShowCalibWindow(chDir);
}

void ShowCalibLost(int step, int steps, unsigned short tried) {
    std::snprintf(progress, sizeof progress, "Step %d of %d: power %u, no frame (TIMEOUT)", step, steps,
                  tried);
    Show(true);
}

void ShowCalibFinal(unsigned short tried, int chDir) {
    if (chDir < 0)
        std::snprintf(progress, sizeof progress, "Final measurement: power %u, measuring ...", tried);
    else
        std::snprintf(progress, sizeof progress, "Final measurement: power %u, CH_DIR %d", tried, chDir);
    Show(false);
    if (chDir >= 0) ShowCalibWindow(chDir);
}

void ShowCalibResult(bool passed, const char* why) {
    std::snprintf(progress, sizeof progress, "%s", why);
    Show(!passed);
}

void ShowCalibWindow(int chDir) {
    // In words and signs, so that it reads without colour.
    char text[96];
    if (chDir < 0)
        std::snprintf(text, sizeof text, "WINDOW %u to %u\nno value yet", kCalibAcceptLow, kCalibAcceptHigh);
    else
        std::snprintf(text, sizeof text, "WINDOW %u to %u\n%s %d %s", kCalibAcceptLow, kCalibAcceptHigh,
                      CalibAccepts(static_cast<unsigned short>(chDir)) ? "\u2713" : "\u2717", chDir,
                      CalibAccepts(static_cast<unsigned short>(chDir)) ? "inside" : "outside");
    SetCtrlVal(calibpanel, CALIBP_CALIBDISPWINDOW, text);
}

int CBF_CalibDispWindow(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispCalibStep(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
