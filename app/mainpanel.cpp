#include "app/mainpanel.h"

#include "app/helptexts.h"
#include "platform/ui.h"

namespace corvel {

void ShowHelp(const char* text) {
    MessagePopup("INFO!", text);
}

int HelpOnly(int event, const char* text) {
    if (event == EVENT_RIGHT_CLICK) ShowHelp(text);
    return 0;
}

// The measurement displays only hold values; a right click explains them.
int CBF_DispChRef(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispRaw);
}
int CBF_DispChDir(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispChDir);
}
int CBF_DispChDif(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispRaw);
}
int CBF_BarChRef(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispBars);
}
int CBF_BarChDir(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispBars);
}
int CBF_BarChDif(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispBars);
}
int CBF_DispNorm(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispNorm);
}
int CBF_DispINT(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispInt);
}
int CBF_DispVec(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoDispVec);
}
int CBF_DispStatus(int, int, int event, void*, int, int) {
    return HelpOnly(event, InfoStatus);
}

}  // namespace corvel
