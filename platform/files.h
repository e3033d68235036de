// File, clock and utility services.
#pragma once
#include <string>

// Seconds since an arbitrary start; monotonic, sub-millisecond resolution.
double Timer(void);
// Sleeps about `seconds`; processes no events. For short waits that
// would otherwise spin on Timer.
void Delay(double seconds);
// Sleeps until Timer() reaches `deadline` (an absolute sleep on the
// monotonic clock, so it wakes once, on time); processes no events.
void DelayUntil(double deadline);
// Current date "MM-DD-YYYY" and time "HH:MM:SS" (at most 11 characters each).
const char* DateStr(void);
const char* TimeStr(void);
// The time text ("HH:MM:SS") of the moment at which Timer() returned `t`.
const char* TimeStrAt(double t);
// The whole content of a file; 0, or FILE_CANNOT_OPEN / FILE_BAD_ARGUMENT.
int ReadWholeFile(const char* fileName, std::string* content);
// Replaces a file by `content`, through a temporary file beside it, so that
// a failed write leaves the old file. FILE_OK or a negative code.
int WriteWholeFile(const char* fileName, const std::string& content);
// Bytes of the program's path buffers, the terminator included.
constexpr int kPathSize = 260;
// The executable's folder, without a trailing slash, into `dir` of
// kPathSize bytes. 0 on success.
int GetProjectDir(char* dir);

// Array layouts for ArrayToFile / FileToArray.
enum { VAL_GROUPS_TOGETHER = 0, VAL_DATA_MULTIPLEXED = 1 };  // group order in the array
enum { VAL_GROUPS_AS_COLUMNS = 0, VAL_GROUPS_AS_ROWS = 1 };  // layout in the file
enum { VAL_CONST_WIDTH = 0, VAL_SEP_BY_COMMA = 1, VAL_SEP_BY_TAB = 2 };
enum { VAL_ASCII = 0, VAL_BINARY = 1 };
enum { VAL_TRUNCATE = 0, VAL_APPEND = 1 };
enum {
    FILE_OK = 0,
    FILE_CANNOT_OPEN = -1,
    FILE_WRITE_ERROR = -2,
    FILE_BAD_FORMAT = -3,
    FILE_BAD_ARGUMENT = -4
};

// Writes `elements` values of `dataType` (DT_* of ui.h) split into `groups`
// groups. Text: each value right-aligned in `fieldWidth` characters; with
// groups as columns one line per row of the groups, a line ending "\n".
// Binary: the raw elements. Returns FILE_OK or a negative code.
int ArrayToFile(const char* fileName, const void* array, int dataType, int elements, int groups,
                int groupOrder, int layout, int separator, int fieldWidth, int fileType, int action);
// Both refuse anything but a regular file (FILE_CANNOT_OPEN) without
// blocking; ArrayToFile writes all or, on failure, nothing.
// Reads what ArrayToFile wrote with the same values; a text file longer
// than ArrayToFile could write for them is refused unread (FILE_BAD_FORMAT). Text values may be
// padded with blanks on either side; "\n" and "\r\n" line ends both read.
// On any failure (missing file, fewer values, a value that is not a number
// or out of range) the array is left unchanged and a negative code returned.
int FileToArray(const char* fileName, void* array, int dataType, int elements, int groups, int groupOrder,
                int layout, int fileType);
// Removes a file; a missing file is not an error (returns 0).
int CVI_DeleteFile(const char* fileName);
// Empties an existing regular file in place; a missing file is not an error
// (returns 0). Anything else than a regular file is refused.
int TruncateFile(const char* fileName);
