// The graph panel's own tools beside the recorder's graphs: its CLOSE
// button, fitting the Y axis to the frames shown, and where an export of
// the record file shown is proposed to go.
#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "app/helptexts.h"
#include "app/mainpanel.h"
#include "display/display.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace corvel {

namespace {

// In the order of EditSignal's values.
const int kGraphs[] = {GRAPHP_PANELGRAPHCHREF, GRAPHP_PANELGRAPHCHDIR, GRAPHP_PANELGRAPHCHDIF,
                       GRAPHP_PANELGRAPHNORM,  GRAPHP_PANELGRAPHINT,   GRAPHP_PANELGRAPHGF,
                       GRAPHP_PANELGRAPHTEMP};
constexpr int kGraphCount = sizeof kGraphs / sizeof kGraphs[0];

}  // namespace

bool FitShownGraphY(void) {
    unsigned short sig = 0;
    GetCtrlVal(graphpanel, GRAPHP_EDITSIGNAL, &sig);
    // The same rule as SetGraphVisible: an unknown signal shows CH_REF.
    return FitGraphY(graphpanel, kGraphs[sig < kGraphCount ? sig : 0]) == 1;
}

void ProposeCsvFile(const char* recordPath, char* folder, int folderSize, char* name, int nameSize) {
    const char* slash = recordPath ? std::strrchr(recordPath, '/') : nullptr;
    if (!slash || slash[1] == '\0') {
        std::snprintf(folder, folderSize, "%s", proj_dir);
        std::snprintf(name, nameSize, "record.csv");
        return;
    }
    // The record file's own folder ("/" for a file at the top).
    const int length = slash == recordPath ? 1 : static_cast<int>(slash - recordPath);
    std::snprintf(folder, folderSize, "%.*s", length, recordPath);
    const char* base = slash + 1;
    const char* dot = std::strrchr(base, '.');
    const int stem = dot && dot != base ? static_cast<int>(dot - base) : static_cast<int>(std::strlen(base));
    std::snprintf(name, nameSize, "%.*s.csv", stem, base);
}

int CBF_ButtonCloseGraph(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) CBF_GRAPHP(graphpanel, EVENT_CLOSE, nullptr, 0, 0);
    return HelpOnly(panelHandle, control, event);
}

int CBF_ButtonFitY(int panelHandle, int control, int event, void*, int, int) {
    if (event == EVENT_COMMIT) FitShownGraphY();
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
