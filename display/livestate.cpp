// What the main panel says about the live data: a lamp beside GO with the
// frame rate while the loop runs, and dimmed values with the time of the
// last frame once it has ended. Per frame this costs one clock reading; the
// panel is written only when the state changes and a few times a second.
#include <cstdio>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr int kLampLive = 0x30C050;
constexpr int kLampIdle = 0xE0E0E0;
constexpr int kValueColour = VAL_AUTO_COLOR;
constexpr int kStaleColour = 0xA8B0B8;
constexpr double kRateEvery = 0.5;  // seconds between two rate texts

const int kValueDisplays[] = {P_DISPCHREF, P_DISPCHDIR, P_DISPCHDIF, P_DISPNORM, P_DISPINT,
                              P_DISPGF,    P_DISPGFBIG, P_DISPVEC,   P_DISPTEMP};

int loops = 0;  // live loops running, nested ones included
bool stale = false;
bool anyFrame = false;
double lastFrameAt = 0;
double rateFrom = 0;
unsigned framesSinceRate = 0;
char lampText[48];

void ShowValuesCurrent(bool current) {
    stale = !current;
    for (int id : kValueDisplays)
        SetCtrlAttribute(panel, id, ATTR_TEXT_COLOR, current ? kValueColour : kStaleColour);
}

}  // namespace

void LiveStarted(void) {
    if (loops++ > 0) return;
    rateFrom = Timer();
    framesSinceRate = 0;
    SetCtrlAttribute(panel, P_DISPLIVE, ATTR_TEXT_BGCOLOR, kLampLive);
    SetCtrlVal(panel, P_DISPLIVE, "LIVE");
}

void LiveFrame(void) {
    const double now = Timer();
    lastFrameAt = now;
    anyFrame = true;
    if (stale) ShowValuesCurrent(true);
    ++framesSinceRate;
    if (now - rateFrom < kRateEvery) return;
    std::snprintf(lampText, sizeof lampText, "LIVE %.1f frames/s", framesSinceRate / (now - rateFrom));
    SetCtrlVal(panel, P_DISPLIVE, lampText);
    rateFrom = now;
    framesSinceRate = 0;
}

void LiveEnded(void) {
    if (loops == 0 || --loops > 0) return;
    SetCtrlAttribute(panel, P_DISPLIVE, ATTR_TEXT_BGCOLOR, kLampIdle);
    MarkDisplaysStale();
}

void MarkDisplaysStale(void) {
    if (loops > 0) return;  // the next frame would make them current anyway
    if (anyFrame)
        std::snprintf(lampText, sizeof lampText, "LAST FRAME %s", TimeStrAt(lastFrameAt));
    else
        std::snprintf(lampText, sizeof lampText, "NO LIVE DATA");
    SetCtrlVal(panel, P_DISPLIVE, lampText);
    if (!stale) ShowValuesCurrent(false);
}

int CBF_DispLive(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispLive);
}

bool LiveRunning(void) {
    return loops > 0;
}

bool DisplaysCurrent(void) {
    return !stale;
}

}  // namespace corvel
