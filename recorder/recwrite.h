// Writing one record of the record file, shared by the recorder and
// corvel-ctl; the layout is in recformat.h.
#pragma once

#include "recorder/recformat.h"

namespace corvel {

// Builds the record of `values` (CH_REF, CH_DIR, CH_DIF, NORM, INT, GF,
// TEMP; 16-bit words) with the date and time texts into `record`
// (kRecordSize bytes, plus one spare for the terminating NUL of the
// formatting).
void FormatRecordOf(char* record, const char* date, const char* time,
                    const unsigned (&values)[kRecValueCount]);
// The same for the data variables of the last frame.
void FormatRecord(char* record, const char* date, const char* time);
// Appends one formatted record to `fileName` as one unit: all or nothing.
// True when it was written.
bool AppendRecord(const char* fileName, const char* record);

}  // namespace corvel
