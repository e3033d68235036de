// The main panel's help-only callbacks: displays and bars that do nothing
// but explain themselves on a right click.
#include "app/mainpanel.h"

#include "platform/ui.h"

namespace corvel {

// The measurement displays only hold values; a right click explains them.
int CBF_DispChRef(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispChDir(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispChDif(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_BarChRef(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_BarChDir(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_BarChDif(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispNorm(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispINT(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispVec(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}
int CBF_DispStatus(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
