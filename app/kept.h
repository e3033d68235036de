// What the program keeps between runs for the operator: the size and place
// of each panel, the folders last used for parameter and record files, and
// the record files opened or chosen lately.
#pragma once

namespace corvel {

enum KeptFolder { KEPT_PARAMETERS = 0, KEPT_RECORDS = 1 };

// How many recent record files are kept.
constexpr int kRecentRecordFiles = 8;

// At start-up, after the panels are loaded: reads the settings file and
// gives the panels their sizes and places. Until it runs nothing is kept,
// and every file popup starts in proj_dir.
void KeepStart(void);
// At the end, while the panels still exist: keeps their sizes and places
// and writes the settings file.
void KeepEnd(void);
// The folder a file popup of that kind starts in: the one last used when it
// still exists, else proj_dir.
const char* StartFolder(int kind);
// A file the operator chose or opened: its folder is kept for the kind, and
// a record file joins the recent ones. Written to the settings file at once.
void KeepChosenFile(int kind, const char* path);
// Recent record file `index` (0 = newest) into `out`; false past the end.
bool RecentRecordFile(int index, char* out, int size);
// Offers the recent record files that still exist to the next file popup.
void OfferRecentRecordFiles(void);

}  // namespace corvel
