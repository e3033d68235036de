#include "support/panels.h"

#include "app/callbacks.h"
#include "app/corvel.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace testsupport {

void RegisterProgramCallbacks() {
    corvel::RegisterProgramCallbacks();
}

bool LoadProgramPanels() {
    static bool loaded = false;
    if (loaded) return true;
    corvel::panel = LoadPanel(0, corvel::kPanelFile, P);
    corvel::recpanel = LoadPanel(0, corvel::kPanelFile, RECP);
    corvel::calibpanel = LoadPanel(0, corvel::kPanelFile, CALIBP);
    corvel::graphpanel = LoadPanel(0, corvel::kPanelFile, GRAPHP);
    loaded =
        corvel::panel >= 0 && corvel::recpanel >= 0 && corvel::calibpanel >= 0 && corvel::graphpanel >= 0;
    return loaded;
}

}  // namespace testsupport
