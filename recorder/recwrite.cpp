// The record's bytes, built from the data variables; no panel involved.
#include "recorder/recwrite.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "platform/files.h"
#include "platform/ui.h"  // DT_* data types only

namespace corvel {

namespace {

void FillField(char* field, const char* text) {
    std::memset(field, 0, kRecTextField);
    if (text) std::strncpy(field, text, kRecTextField - 1);
}

}  // namespace

void FormatRecordOf(char* record, const char* date, const char* time,
                    const unsigned (&values)[kRecValueCount]) {
    FillField(record, date);
    FillField(record + kRecTextField, time);
    char* line = record + 2 * kRecTextField;
    for (std::size_t i = 0; i < kRecValueCount; ++i)
        std::snprintf(line + i * kRecValueWidth, kRecValueWidth + 1, "%*u", static_cast<int>(kRecValueWidth),
                      values[i]);
    line[kRecValueCount * kRecValueWidth] = '\n';
}

void FormatRecord(char* record, const char* date, const char* time) {
    const unsigned values[kRecValueCount] = {dataChRef, dataChDir, dataChDif, dataNorm,
                                             dataInt,   dataGf,    dataTemp};
    FormatRecordOf(record, date, time, values);
}

bool AppendRecord(const char* fileName, const char* record) {
    return fileName && fileName[0] != '\0' &&
           ArrayToFile(fileName, record, DT_CHAR, kRecordSize, 1, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                       VAL_CONST_WIDTH, kRecordSize, VAL_BINARY, VAL_APPEND) == FILE_OK;
}

}  // namespace corvel
