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
    loaded = corvel::LoadPanels() == 0;
    return loaded;
}

}  // namespace testsupport
