// Files of the virtual sensor: the EEPROM image that survives a restart and
// the state file that lets tests look inside.
#pragma once

#include "model.h"

namespace vsensor {

// What the sensor has received so far.
struct Counts {
    unsigned long received[65536];  // telegrams per order code
    unsigned long frames;           // data frames answered
    unsigned long skipped;          // bytes skipped while looking for a sync word
};

// EEPROM file: text, the 140 EEPROM packet words and then the three
// calibration words, one per line. Load returns false (and changes nothing)
// when the file is missing or malformed.
bool LoadEeprom(const char* path, Sensor* sensor);
bool SaveEeprom(const char* path, const Sensor& sensor);

// State file, rewritten whole (by rename, so readers never see half of it):
//   ram <140 words>
//   eeprom <140 words>
//   cal <power> <dir> <ref>
//   received <order>:<count> ...   (orders received at least once)
//   frames <n>
//   skipped <n>
bool WriteState(const char* path, const Sensor& sensor, const Counts& counts);

}  // namespace vsensor
