// The record file: per frame a NUL-padded date field, a NUL-padded time
// field and a text line of seven values, each piece appended on its own.
#include "recorder/recfile.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "platform/platform.h"
#include "recorder/recorder.h"
#include "uir_ids.h"

namespace corvel {

const char kFileInUseWarning[] =
    " Make sure, that the file is not opened by any other program.                                    \n"
    " Otherwise it can not be saved.";

namespace {

const int kTextField = 12;  // date and time: at most 11 characters, then NUL
const int kValueCount = 7;
const int kValueWidth = 6;

char dateField[kTextField];
char timeField[kTextField];
unsigned short values[kValueCount];
bool lastWritten = false;
char lostFile[sizeof file_name];
char report[sizeof file_name + 200];

void FillField(char* field, const char* text) {
    std::memset(field, 0, kTextField);
    if (text) std::strncpy(field, text, kTextField - 1);
}

}  // namespace

void ReadRecFileName(void) {
    file_name[0] = '\0';
    GetTextBoxLine(recpanel, RECP_DISPRECFILE, 0, file_name, sizeof file_name);
    file_name[sizeof file_name - 1] = '\0';
    // A relative name lands in the operator's file folder, never in the
    // folder the program happened to be started from.
    if (!ResolveInFolder(proj_dir, file_name, sizeof file_name)) file_name[0] = '\0';
}

bool LastRecordWritten(void) {
    return lastWritten;
}

const char* LostRecordFile(void) {
    return lostFile;
}

void ToFile(void) {
    FillField(dateField, DateStr());
    FillField(timeField, TimeStr());
    values[0] = dataChRef;
    values[1] = dataChDir;
    values[2] = dataChDif;
    values[3] = dataNorm;
    values[4] = dataInt;
    values[5] = dataGf;
    values[6] = dataTemp;

    // A piece that fails ends the record there, so that a record is never
    // completed by pieces of the next one.
    lastWritten =
        file_name[0] != '\0' &&
        ArrayToFile(file_name, dateField, DT_CHAR, kTextField, 1, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                    VAL_CONST_WIDTH, kTextField, VAL_BINARY, VAL_APPEND) == FILE_OK &&
        ArrayToFile(file_name, timeField, DT_CHAR, kTextField, 1, VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS,
                    VAL_CONST_WIDTH, kTextField, VAL_BINARY, VAL_APPEND) == FILE_OK &&
        ArrayToFile(file_name, values, DT_U16, kValueCount, kValueCount, VAL_DATA_MULTIPLEXED,
                    VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, kValueWidth, VAL_ASCII, VAL_APPEND) == FILE_OK;
    if (!lastWritten) std::snprintf(lostFile, sizeof lostFile, "%s", file_name);
}

void ReportLostRecords(unsigned int lost, unsigned int total) {
    const char* name = lostFile;
    if (name[0] == '\0') {
        if (total == 0)
            std::snprintf(report, sizeof report,
                          " No record file was chosen! \n The record could not be saved and is lost. ");
        else
            std::snprintf(
                report, sizeof report,
                " No record file was chosen! \n The records could not be saved. \n %u of %u records "
                "are lost. ",
                lost, total);
    } else if (total == 0) {
        std::snprintf(report, sizeof report,
                      " The record could not be saved to the file \n %s \n The record is lost. ", name);
    } else {
        std::snprintf(report, sizeof report,
                      " The records could not be saved to the file \n %s \n %u of %u records are lost. ",
                      name, lost, total);
    }
    MessagePopup("ATTENTION!", report);
}

}  // namespace corvel
