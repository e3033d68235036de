// The settings kept between runs, over the platform's settings file. The
// start-up stays as it was: the port, the start values and the link check
// come from nowhere else; only panel places, folders and recent files do.
#include "app/kept.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "platform/platform.h"

namespace corvel {

namespace {

const char* const kFolderKeys[] = {"folders/parameters", "folders/records"};
const char kRecentKey[] = "recent/records";

bool kept = false;  // KeepStart has run
char folder[2][sizeof proj_dir];

bool IsFolder(const char* path) {
    struct stat st;
    return path[0] == '/' && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const char* path) {
    struct stat st;
    return path[0] == '/' && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

int* Panels(void) {
    static int handles[4];
    handles[0] = panel;
    handles[1] = recpanel;
    handles[2] = calibpanel;
    handles[3] = graphpanel;
    return handles;
}

}  // namespace

void KeepStart(void) {
    kept = true;
    LoadSettings();  // a missing or damaged file: the defaults, said once
    for (int kind = 0; kind < 2; ++kind) {
        if (GetSettingText(kFolderKeys[kind], folder[kind], sizeof folder[kind]) != 0 ||
            !IsFolder(folder[kind]))
            folder[kind][0] = '\0';
    }
    const int* handles = Panels();
    for (int i = 0; i < 4; ++i) RestorePanelPlace(handles[i]);
}

void KeepEnd(void) {
    if (!kept) return;
    const int* handles = Panels();
    for (int i = 0; i < 4; ++i) KeepPanelPlace(handles[i]);
    SaveSettings();
}

const char* StartFolder(int kind) {
    if (!kept || kind < 0 || kind > 1 || folder[kind][0] == '\0' || !IsFolder(folder[kind])) return proj_dir;
    return folder[kind];
}

void KeepChosenFile(int kind, const char* path) {
    if (!kept || kind < 0 || kind > 1 || !path || path[0] != '/') return;
    const char* slash = std::strrchr(path, '/');
    const int length = static_cast<int>(slash - path);
    if (length > 0 && length < static_cast<int>(sizeof folder[kind])) {
        std::snprintf(folder[kind], sizeof folder[kind], "%.*s", length, path);
        SetSettingText(kFolderKeys[kind], folder[kind]);
    }
    if (kind == KEPT_RECORDS) PushSettingList(kRecentKey, path, kRecentRecordFiles);
    SaveSettings();
}

bool RecentRecordFile(int index, char* out, int size) {
    return kept && GetSettingListItem(kRecentKey, index, out, size) == 0;
}

void OfferRecentRecordFiles(void) {
    static char paths[kRecentRecordFiles][sizeof file_name];
    const char* list[kRecentRecordFiles];
    int n = 0;
    for (int i = 0; i < kRecentRecordFiles; ++i) {
        if (!RecentRecordFile(i, paths[n], sizeof paths[n])) break;
        if (IsFile(paths[n])) {
            list[n] = paths[n];
            ++n;
        }
    }
    SetFileSelectRecent(list, n);
}

}  // namespace corvel
