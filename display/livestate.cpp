// What the main panel says about the live data: a lamp beside GO, lit only
// while accepted frames arrive, with the rate of the frames of about the
// last second; before the first frame it waits unlit, and at the first lost
// or refused frame (before its time-out popup) it goes out, the values are
// dimmed and the lamp gives the time of the last frame. Per frame this
// costs one clock reading; the panel is written only when the state changes
// and a few times a second.
#include <cstdio>

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr int kLampLive = 0x30C050;
constexpr int kLampIdle = VAL_AUTO_COLOR;  // unlit: a display of the palette, light or dark
constexpr int kValueColour = VAL_AUTO_COLOR;
constexpr int kStaleColour = 0xA8B0B8;
constexpr double kRateEvery = 0.5;   // seconds between two rate texts
constexpr double kRateWindow = 1.0;  // the rate counts the frames of this last stretch
constexpr unsigned kTimesKept = 64;  // frame times kept; a faster line is measured over fewer

const int kValueDisplays[] = {P_DISPCHREF, P_DISPCHDIR, P_DISPCHDIF, P_DISPNORM, P_DISPINT,
                              P_DISPGF,    P_DISPGFBIG, P_DISPVEC,   P_DISPTEMP};

int loops = 0;     // live loops running, nested ones included
bool lit = false;  // frames are arriving
bool stale = false;
bool anyFrame = false;
double lastFrameAt = 0;
double rateShownAt = 0;
// Times of the last accepted frames since the lamp was lit, a ring.
double frameTimes[kTimesKept];
unsigned framesKept = 0;
unsigned nextTime = 0;
char lampText[48];

void ShowValuesCurrent(bool current) {
    stale = !current;
    for (int id : kValueDisplays)
        SetCtrlAttribute(panel, id, ATTR_TEXT_COLOR, current ? kValueColour : kStaleColour);
}

void Lamp(bool on, const char* text) {
    lit = on;
    SetCtrlAttribute(panel, P_DISPLIVE, ATTR_TEXT_BGCOLOR, on ? kLampLive : kLampIdle);
    SetCtrlVal(panel, P_DISPLIVE, text);
}

double TimeBack(unsigned k) {  // k = 0: the newest
    return frameTimes[(nextTime + kTimesKept - 1 - k) % kTimesKept];
}

// Frames per second over the frames kept within the window before the
// newest; with only one there, the gap to the frame before it.
double FrameRate(void) {
    const double newest = TimeBack(0);
    unsigned k = 1;
    while (k < framesKept && newest - TimeBack(k) <= kRateWindow) ++k;
    if (k >= 2 && newest > TimeBack(k - 1)) return (k - 1) / (newest - TimeBack(k - 1));
    if (framesKept >= 2 && newest > TimeBack(1)) return 1.0 / (newest - TimeBack(1));
    return 0;
}

// The lamp out, the values dimmed, the time of the last frame.
void ShowStopped(void) {
    if (anyFrame)
        std::snprintf(lampText, sizeof lampText, "LAST FRAME %s", TimeStrAt(lastFrameAt));
    else
        std::snprintf(lampText, sizeof lampText, "NO LIVE DATA");
    Lamp(false, lampText);
    if (!stale) ShowValuesCurrent(false);
}

}  // namespace

void LiveStarted(void) {
    if (loops++ > 0) return;
    framesKept = 0;
    // Nothing has arrived through this loop yet: the values stay as they were.
    Lamp(false, "WAITING FOR DATA");
}

void LiveFrame(void) {
    const double now = Timer();
    frameTimes[nextTime] = now;
    nextTime = (nextTime + 1) % kTimesKept;
    if (framesKept < kTimesKept) ++framesKept;
    lastFrameAt = now;
    anyFrame = true;
    if (stale) ShowValuesCurrent(true);
    if (!lit) {
        Lamp(true, "LIVE");
        rateShownAt = now;
        return;
    }
    if (now - rateShownAt < kRateEvery) return;
    std::snprintf(lampText, sizeof lampText, "LIVE %.1f frames/s", FrameRate());
    SetCtrlVal(panel, P_DISPLIVE, lampText);
    rateShownAt = now;
}

void LiveFrameLost(void) {
    ShowStopped();
    framesKept = 0;
}

void LiveEnded(void) {
    if (loops == 0 || --loops > 0) return;
    ShowStopped();
}

void MarkDisplaysStale(void) {
    if (loops > 0) return;  // the next frame would make them current anyway
    ShowStopped();
}

int CBF_DispLive(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
