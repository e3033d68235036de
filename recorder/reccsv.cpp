// CSV of records: one line a record, the columns named as the format names
// a record's values.
#include "recorder/reccsv.h"

#include <string>

namespace corvel {

namespace {

std::string CsvText(const std::string& s) {
    if (s.find_first_of(",\"") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

}  // namespace

std::string RecordCsvHeader() {
    std::string header = "frame,datetime";
    for (const char* name : kRecValueNames) header += std::string(",") + name;
    return header + "\n";
}

std::string RecordCsvLine(const FileRecord& r, std::size_t frame) {
    std::string when;
    if (!IsoDateTime(r, &when)) when = CsvText(r.date + " " + r.time);
    std::string line = std::to_string(frame) + "," + when;
    for (unsigned v : r.values) line += "," + std::to_string(v);
    return line + "\n";
}

}  // namespace corvel
