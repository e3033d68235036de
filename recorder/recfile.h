// Inside the recorder: the record file and the reports about it.
#pragma once

namespace corvel {

// Shown before a run and when an existing file is chosen.
extern const char kFileInUseWarning[];

// Reads the record path, the first line of DispRecFile, into file_name.
void ReadRecFileName(void);
// Empties the record file for a timed run; when that is impossible, tells
// the operator why and returns false: a run never appends to old records.
bool EmptyRecFile(void);
// The recorder's line after records were saved: how many, and the file's
// whole path (`appended`: a manual record added to the file).
void ShowSavedRecords(unsigned int count, bool appended);
// Shows on the recorder panel, without stopping the run, how many records
// of the run so far were lost; nothing when `lost` is 0.
void ShowLostRecords(unsigned int lost, unsigned int total);
// Tells the operator that `lost` of the `total` records of a run were not
// written to the file that refused the last of them (ToFile keeps its
// name); a single lost manual record when total is 0.
void ReportLostRecords(unsigned int lost, unsigned int total);

}  // namespace corvel
