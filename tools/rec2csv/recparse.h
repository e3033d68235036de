// Reading the recorder's record file: per record a 12-byte date field and a
// 12-byte time field (text, NUL-padded), seven values right-aligned in six
// characters each, and a line end ("\n" or "\r\n").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace rec2csv {

constexpr std::size_t kTextField = 12;
constexpr std::size_t kValueCount = 7;
constexpr std::size_t kValueWidth = 6;
constexpr std::size_t kFixedPart = 2 * kTextField + kValueCount * kValueWidth;  // 66

struct Record {
    std::string date;
    std::string time;
    unsigned values[kValueCount];  // ch_ref, ch_dir, ch_dif, norm, int, gf, temp
};

enum class Status {
    Ok,         // every byte belonged to a complete record
    Truncated,  // the last record ends early
    Malformed,  // a record does not have the layout
};

struct ParseResult {
    std::vector<Record> records;  // the complete records before any problem
    Status status = Status::Ok;
    std::size_t offset = 0;  // where the problem record starts
    std::string message;     // what is wrong, for the operator
};

ParseResult Parse(const std::string& bytes);

// "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp" and a
// line end. The glossy factor stays the raw word, tenths of a unit.
std::string CsvHeader();
// The record's date and time as ISO 8601 ("2026-12-08T15:21:39") when they
// have the recorder's form ("12-08-2026", "15:21:39"); otherwise false.
bool IsoDateTime(const Record& r, std::string* out);
// One line of CSV for record `frame` (counted from 0, as the graph's X
// axis), line end included. A date or time not in the recorder's form is
// kept as written, date and time joined by a blank.
std::string CsvLine(const Record& r, std::size_t frame);

}  // namespace rec2csv
