// The record file's layout, written down once for the recorder's writer and
// its reader: per record a NUL-padded date field, a NUL-padded time field,
// seven values right-aligned in six characters each, and a line end.
#pragma once

#include <cstddef>

namespace corvel {

constexpr std::size_t kRecTextField = 12;  // date and time: at most 11 characters, then NUL
constexpr std::size_t kRecValueCount = 7;
constexpr std::size_t kRecValueWidth = 6;
// Date, time and values: everything but the line end.
constexpr std::size_t kRecFixedPart = 2 * kRecTextField + kRecValueCount * kRecValueWidth;  // 66
// A record as the recorder writes it, ended by "\n".
constexpr std::size_t kRecordSize = kRecFixedPart + 1;

// The values' names in a record's order, as the CSV columns and the
// statistics call them. The glossy factor is the raw word, tenths of a unit.
inline constexpr const char* kRecValueNames[kRecValueCount] = {"ch_ref", "ch_dir",    "ch_dif", "norm",
                                                               "int",    "gf_tenths", "temp"};

}  // namespace corvel
