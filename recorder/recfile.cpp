// The record file: per frame a NUL-padded date field, a NUL-padded time
// field and a text line of seven values, appended as one unit so that a
// failed write never leaves part of a record behind.
#include "recorder/recfile.h"

#include <cstdio>
#include <cstring>

#include "app/corvel.h"
#include "platform/platform.h"
#include "recorder/recorder.h"
#include "recorder/recwrite.h"
#include "uir_ids.h"

namespace corvel {

const char kFileInUseWarning[] =
    " Make sure, that the file is not opened by any other program.                                    \n"
    " Otherwise it can not be saved.";

namespace {

char record[kRecordSize + 1];  // one spare byte for snprintf's NUL
char lostFile[sizeof file_name];
char report[sizeof file_name + 200];

}  // namespace

void ReadRecFileName(void) {
    file_name[0] = '\0';
    GetTextBoxLine(recpanel, RECP_DISPRECFILE, 0, file_name, sizeof file_name);
    file_name[sizeof file_name - 1] = '\0';
    // A relative name lands in the operator's file folder, never in the
    // folder the program happened to be started from.
    if (!ResolveInFolder(proj_dir, file_name, sizeof file_name)) file_name[0] = '\0';
}

bool ToFile(void) {
    FormatRecord(record, DateStr(), TimeStr());
    const bool written = AppendRecord(file_name, record);
    if (!written) std::snprintf(lostFile, sizeof lostFile, "%s", file_name);
    return written;
}

bool EmptyRecFile(void) {
    if (file_name[0] == '\0') return true;  // nothing to empty; the run reports its lost records
    // Deleting fails in a folder without write permission, yet the file may
    // still be emptied in place; an append-only file or a folder can be neither.
    if (CVI_DeleteFile(file_name) == 0 || TruncateFile(file_name) == FILE_OK) return true;
    std::snprintf(
        report, sizeof report,
        " The file \n %s \n could not be emptied for a new recording. \n The recording has not been "
        "started. ",
        file_name);
    MessagePopup("ATTENTION!", report);
    return false;
}

void ShowLostRecords(unsigned int lost, unsigned int total) {
    char text[80] = "";
    if (lost > 0) std::snprintf(text, sizeof text, "RECORDS LOST: %u of %u could not be saved.", lost, total);
    // Dark red on a light red field reads well on light and dark desktops.
    SetCtrlAttribute(recpanel, RECP_DISPRECORDLOST, ATTR_TEXT_COLOR, lost > 0 ? 0xA00000 : VAL_AUTO_COLOR);
    SetCtrlAttribute(recpanel, RECP_DISPRECORDLOST, ATTR_TEXT_BGCOLOR, lost > 0 ? 0xFFE4E4 : VAL_TRANSPARENT);
    SetCtrlVal(recpanel, RECP_DISPRECORDLOST, text);
}

void ShowSavedRecords(unsigned int count, bool appended) {
    char text[sizeof file_name + 64];
    std::snprintf(text, sizeof text, "SAVED: %u record%s %s %s", count, count == 1 ? "" : "s",
                  appended ? "appended to" : "in", file_name);
    SetCtrlAttribute(recpanel, RECP_DISPRECORDLOST, ATTR_TEXT_COLOR, VAL_AUTO_COLOR);
    SetCtrlAttribute(recpanel, RECP_DISPRECORDLOST, ATTR_TEXT_BGCOLOR, VAL_TRANSPARENT);
    SetCtrlVal(recpanel, RECP_DISPRECORDLOST, text);
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
