// The transfer line beside the status text: what the last send, read, port
// change or link check did, and when. It never replaces DispStatus.
#pragma once

namespace corvel {

// Shows `what` followed by the time of day; a failure in red.
void ShowTransfer(bool ok, const char* what);
// The same with a file path in the middle, shortened to fit the line.
void ShowFileTransfer(bool ok, const char* before, const char* path, const char* after);
// A path shortened for the line: the first folder, "…", the file name.
const char* ShortPath(const char* path);
// The name of a transfer target (RAM, EEPROM, FILE) for the texts.
const char* TargetName(unsigned short t);

int CBF_DispTransfer(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace corvel
