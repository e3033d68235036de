// Settings kept between runs: one plain INI file, corvel-scope.ini, in the
// program's configuration folder beside the COM links
// (<config>/corvel-scope/, <config> as for the links). The file is only a
// convenience: a missing, unreadable or damaged one gives the defaults and
// never keeps the program from starting.
#pragma once

enum {
    SETTINGS_READ = 0,      // the file was read
    SETTINGS_NONE = 1,      // no file yet: defaults
    SETTINGS_IGNORED = -1,  // unreadable or damaged: defaults, one line on standard error
};

// Reads the file into memory, replacing what was held. Reports an ignored
// file with one line on standard error.
int LoadSettings(void);
// Writes what is held (the whole file at once). -1 when it cannot be
// written, said in one line on standard error.
int SaveSettings(void);
// The file's full path ("" when there is no configuration folder).
const char* SettingsFilePath(void);

// A text setting by key ("folders/records"). -1 when it is not set or does
// not fit `size` bytes (`out` then empty).
int GetSettingText(const char* key, char* out, int size);
void SetSettingText(const char* key, const char* value);

// A list of texts, newest first, at most `max` long; `value` goes to the
// front (once: an earlier place of it is dropped).
void PushSettingList(const char* key, const char* value, int max);
// Entry `index` of a list; -1 past its end or when it does not fit.
int GetSettingListItem(const char* key, int index, char* out, int size);

// A panel's size and position: kept from the window as it is now (only
// for a panel that has been shown), and given back to it. A size is
// brought within the screen and above the panel's minimum; a position is
// used only where the window system lets a program place its windows and
// when it lies on a screen.
int KeepPanelPlace(int panel);
int RestorePanelPlace(int panel);
