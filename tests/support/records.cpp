// Test records through the recorder's formatting.
#include "support/records.h"

#include "recorder/recwrite.h"

namespace testsupport {

std::string RecordBytes(const std::string& date, const std::string& time, const unsigned (&values)[7],
                        const char* lineEnd) {
    char record[corvel::kRecordSize + 1];
    corvel::FormatRecordOf(record, date.c_str(), time.c_str(), values);
    return std::string(record, corvel::kRecFixedPart) + lineEnd;
}

}  // namespace testsupport
