// The transfer line: one place that words what the last transfer did, so
// that every caller reports in the same form.
#include "app/transferline.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "app/mainpanel.h"
#include "platform/platform.h"
#include "uir_ids.h"

namespace corvel {

namespace {

constexpr int kOkColour = VAL_AUTO_COLOR;
constexpr int kFailColour = 0xC00000;
constexpr size_t kLongestPath = 40;

char line[sizeof file_name + 160];
char shortPath[sizeof file_name];

}  // namespace

void ShowTransfer(bool ok, const char* what) {
    std::snprintf(line, sizeof line, "%s %s", what, TimeStr());
    SetCtrlAttribute(panel, P_DISPTRANSFER, ATTR_TEXT_COLOR, ok ? kOkColour : kFailColour);
    SetCtrlVal(panel, P_DISPTRANSFER, line);
}

void ShowFileTransfer(bool ok, const char* before, const char* path, const char* after) {
    char what[sizeof line];
    std::snprintf(what, sizeof what, "%s%s%s", before, ShortPath(path), after);
    ShowTransfer(ok, what);
}

const char* ShortPath(const char* path) {
    const size_t n = std::strlen(path);
    const char* name = std::strrchr(path, '/');
    if (n <= kLongestPath || !name || name == path) {
        std::snprintf(shortPath, sizeof shortPath, "%s", path);
        return shortPath;
    }
    // "/home/…/init.dat": where it lies, roughly, and exactly which file.
    const char* second = std::strchr(path + 1, '/');
    const int head = static_cast<int>(second - path);
    if (second == name)
        std::snprintf(shortPath, sizeof shortPath, "%s", path);
    else
        std::snprintf(shortPath, sizeof shortPath, "%.*s/\u2026%s", head, path, name);
    return shortPath;
}

const char* TargetName(unsigned short t) {
    switch (t) {
        case RAM:
            return "RAM";
        case EEPROM:
            return "EEPROM";
        default:
            return "FILE";
    }
}

int CBF_DispTransfer(int panelHandle, int control, int event, void*, int, int) {
    return HelpOnly(panelHandle, control, event);
}

}  // namespace corvel
