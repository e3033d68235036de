// The record benchmarks' material: the same day of frames for the
// statistics and for a record file opened into the graph panel.
#pragma once

#include <string>

#include "recorder/recread.h"

namespace bench {

// Frame k of a day from 08:00:00, one a second: values that swing slowly, a
// glossy factor that scatters about its swing, a temperature that steps.
corvel::FileRecord DayFrame(long k);
// A record file of the first `records` frames, written record by record with
// the recorder's formatting; false when it could not be written.
bool WriteDayFile(const char* path, long records);
// Resident memory of this process in kB (-1 when unknown).
long ResidentKb();

}  // namespace bench
