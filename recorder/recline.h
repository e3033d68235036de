// One record of the record file, shared by the recorder and corvel-ctl: a
// NUL-padded date field, a NUL-padded time field and a text line of seven
// values, each right-aligned in six characters.
#pragma once

namespace corvel {

constexpr int kRecTextField = 12;  // date and time: at most 11 characters, then NUL
constexpr int kRecValueCount = 7;
constexpr int kRecValueWidth = 6;
constexpr int kRecordSize = 2 * kRecTextField + kRecValueCount * kRecValueWidth + 1;

// Builds the record of the data variables (CH_REF, CH_DIR, CH_DIF, NORM,
// INT, GF, TEMP) with the date and time texts into `record` (kRecordSize
// bytes, plus one spare for the terminating NUL of the formatting).
void FormatRecord(char* record, const char* date, const char* time);
// Appends one formatted record to `fileName` as one unit: all or nothing.
// True when it was written.
bool AppendRecord(const char* fileName, const char* record);

}  // namespace corvel
