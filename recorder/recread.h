// Reading the recorder's record file (layout in recformat.h), with a line end
// of "\n" or "\r\n". Plain C++: the program, corvel-ctl and corvel-rec2csv
// read records the same way, and the last two link no GUI library.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "recorder/recformat.h"

namespace corvel {

struct FileRecord {
    std::string date;
    std::string time;
    unsigned values[kRecValueCount];  // ch_ref, ch_dir, ch_dif, norm, int, gf, temp
};

enum class ParseStatus {
    Ok,         // every byte belonged to a complete record
    Truncated,  // the last record ends early
    Malformed,  // a record does not have the layout
};

struct ParsedRecords {
    std::vector<FileRecord> records;  // the complete records before any problem
    ParseStatus status = ParseStatus::Ok;
    std::size_t offset = 0;  // where the problem record starts
    std::string message;     // what is wrong, for the operator
};

ParsedRecords ParseRecords(const std::string& bytes);

// The record's date and time as ISO 8601 ("2026-12-08T15:21:39") when they
// have the recorder's form ("12-08-2026", "15:21:39"); otherwise false.
bool IsoDateTime(const FileRecord& r, std::string* out);
// The ISO form, or date and time as written, joined by a blank.
std::string RecordWhen(const FileRecord& r);
// The same for a date and a time given as texts (the clock's, for instance).
std::string RecordWhen(const std::string& date, const std::string& time);

}  // namespace corvel
