// The program's panels and start state for tests (see panels.h).
#include "support/panels.h"

#include "app/corvel.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace testsupport {

bool LoadProgramPanels() {
    static bool loaded = false;
    if (loaded) return true;
    loaded = corvel::LoadPanels() == 0;
    return loaded;
}

bool FreshStart() {
    if (!LoadProgramPanels()) return false;
    corvel::InitVars();
    seam::Clear();
    return true;
}

std::string CtrlText(int panel, int control) {
    char buf[4096] = "";
    GetCtrlVal(panel, control, buf, sizeof buf);
    return buf;
}

}  // namespace testsupport
