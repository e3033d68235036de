// The progress of a timed run on the recorder panel: a bar of the frames
// recorded so far and the time that the rest will take at the interval.
#include <cstdio>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "platform/platform.h"
#include "recorder/recorder.h"
#include "uir_ids.h"

namespace corvel {

namespace {

char timeLeft[48];
int shownPercent = -1;
long long shownLeft = -1;
bool shownFinished = false;

}  // namespace

int RemainingRecords(unsigned done) {
    // Manual records may go beyond the count; nothing is then left to do.
    return done >= anzwerte ? 0 : static_cast<int>(anzwerte - done);
}

void ShowRecProgress(unsigned done) {
    ShowRecTimeLeft(done, 0);
}

void ShowRecTimeLeft(unsigned done, double waited) {
    const bool finished = anzwerte > 0 && done >= anzwerte;
    const int percent =
        anzwerte == 0 || finished ? (done > 0 ? 100 : 0) : static_cast<int>(done * 100ULL / anzwerte);
    long long left = static_cast<long long>(RemainingRecords(done)) * zeitint;
    // Inside an interval wait the frame in hand is already on its way.
    if (waited > 0) left -= waited < left ? static_cast<long long>(waited) : left;
    // The interval wait asks about a thousand times a second.
    if (percent == shownPercent && left == shownLeft && finished == shownFinished) return;
    shownPercent = percent;
    shownLeft = left;
    shownFinished = finished;

    SetCtrlVal(recpanel, RECP_BARRECPROGRESS, percent);
    if (finished) {
        std::snprintf(timeLeft, sizeof timeLeft, "ALL VALUES RECORDED");
    } else {
        const long long d = left / 86400, h = left % 86400 / 3600, m = left % 3600 / 60, s = left % 60;
        if (d > 0)
            std::snprintf(timeLeft, sizeof timeLeft, "TIME LEFT %lld d %02lld:%02lld:%02lld", d, h, m, s);
        else
            std::snprintf(timeLeft, sizeof timeLeft, "TIME LEFT %02lld:%02lld:%02lld", h, m, s);
    }
    SetCtrlVal(recpanel, RECP_DISPTIMELEFT, timeLeft);
}

int CBF_BarRecProgress(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

int CBF_DispTimeLeft(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
