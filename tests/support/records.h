// Record files for the tests, built with the recorder's own writer so that
// the layout is written in one place; only the line end may be another, as
// in the files of other installations.
#pragma once

#include <string>

namespace testsupport {

// One record: the date and time NUL-padded, the seven values (at most
// 65535) right-aligned, then `lineEnd`.
std::string RecordBytes(const std::string& date, const std::string& time, const unsigned (&values)[7],
                        const char* lineEnd = "\n");

}  // namespace testsupport
