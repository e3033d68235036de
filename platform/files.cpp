// File, clock and utility services.
#include "platform/files.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "platform/ui.h"

double Timer(void) {
    using clock = std::chrono::steady_clock;
    static const clock::time_point start = clock::now();
    return std::chrono::duration<double>(clock::now() - start).count();
}

void Delay(double seconds) {
    if (!(seconds > 0)) return;
    long ns = static_cast<long>(seconds * 1e9);
    timespec ts{ns / 1000000000L, ns % 1000000000L};
    nanosleep(&ts, nullptr);
}

void DelayUntil(double deadline) {
    double left = deadline - Timer();
    if (!(left > 0)) return;
    // steady_clock is CLOCK_MONOTONIC: the deadline as an absolute time of it.
    timespec at;
    clock_gettime(CLOCK_MONOTONIC, &at);
    long ns = static_cast<long>(left * 1e9) + at.tv_nsec;
    at.tv_sec += ns / 1000000000L;
    at.tv_nsec = ns % 1000000000L;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

static const tm* LocalNow(tm* out) {
    time_t now = time(nullptr);
    return localtime_r(&now, out);
}

const char* DateStr(void) {
    static char buf[40];
    tm t{};
    if (!LocalNow(&t)) return "00-00-0000";
    snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900);
    return buf;
}

const char* TimeStr(void) {
    static char buf[40];
    tm t{};
    if (!LocalNow(&t)) return "00:00:00";
    snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

const char* TimeStrAt(double t) {
    static char buf[40];
    const double ago = Timer() - t;
    time_t then = time(nullptr) - static_cast<time_t>(ago > 0 ? std::lround(ago) : 0);
    tm lt{};
    if (!localtime_r(&then, &lt)) return "00:00:00";
    snprintf(buf, sizeof buf, "%02d:%02d:%02d", lt.tm_hour, lt.tm_min, lt.tm_sec);
    return buf;
}

int ReadWholeFile(const char* fileName, std::string* content) {
    if (!fileName || !content || !fileName[0]) return FILE_BAD_ARGUMENT;
    FILE* f = fopen(fileName, "rb");
    if (!f) return FILE_CANNOT_OPEN;
    content->clear();
    char chunk[65536];
    size_t n = 0;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) content->append(chunk, n);
    const bool bad = ferror(f) != 0;
    fclose(f);
    return bad ? FILE_CANNOT_OPEN : FILE_OK;
}

int WriteWholeFile(const char* fileName, const std::string& content) {
    if (!fileName || !fileName[0]) return FILE_BAD_ARGUMENT;
    const std::string tmp = std::string(fileName) + ".part";
    FILE* f = fopen(tmp.c_str(), "wb");
    if (!f) return FILE_CANNOT_OPEN;
    bool ok = fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = fflush(f) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(tmp.c_str(), fileName) != 0) {
        unlink(tmp.c_str());
        return FILE_WRITE_ERROR;
    }
    return FILE_OK;
}

int GetProjectDir(char* dir) {
    if (!dir) return -1;
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return -1;
    exe[n] = 0;
    char* slash = strrchr(exe, '/');
    if (!slash) return -1;
    if (slash == exe)
        slash[1] = 0;  // the program lies in "/"
    else
        *slash = 0;
    if (strlen(exe) >= static_cast<size_t>(kPathSize)) return -1;
    strcpy(dir, exe);
    return 0;
}

int CVI_DeleteFile(const char* fileName) {
    if (!fileName) return FILE_BAD_ARGUMENT;
    if (unlink(fileName) == 0 || errno == ENOENT) return 0;
    return FILE_CANNOT_OPEN;
}

namespace {

int TypeSize(int dataType) {
    switch (dataType) {
        case DT_CHAR:
            return 1;
        case DT_U16:
            return 2;
        case DT_S16:
            return 2;
        case DT_INT:
            return 4;
        case DT_DOUBLE:
            return 8;
        default:
            return 0;
    }
}

bool ValidLayout(const void* array, int dataType, int elements, int groups, int groupOrder, int layout,
                 int fileType) {
    return array && TypeSize(dataType) > 0 && elements > 0 && groups > 0 && elements % groups == 0 &&
           (groupOrder == VAL_GROUPS_TOGETHER || groupOrder == VAL_DATA_MULTIPLEXED) &&
           (layout == VAL_GROUPS_AS_COLUMNS || layout == VAL_GROUPS_AS_ROWS) &&
           (fileType == VAL_ASCII || fileType == VAL_BINARY);
}

// Array index of the i-th value in file order.
int ArrayIndex(int i, int elements, int groups, int groupOrder, int layout) {
    int per = elements / groups;
    int group, item;
    if (layout == VAL_GROUPS_AS_COLUMNS) {  // a line holds one item of every group
        item = i / groups;
        group = i % groups;
    } else {  // a line holds one whole group
        group = i / per;
        item = i % per;
    }
    return groupOrder == VAL_GROUPS_TOGETHER ? group * per + item : item * groups + group;
}

void FormatValue(const void* array, int dataType, int index, char* out, size_t size) {
    switch (dataType) {
        case DT_CHAR:
            snprintf(out, size, "%u", static_cast<const unsigned char*>(array)[index]);
            break;
        case DT_U16:
            snprintf(out, size, "%u", static_cast<const unsigned short*>(array)[index]);
            break;
        case DT_S16:
            snprintf(out, size, "%d", static_cast<const short*>(array)[index]);
            break;
        case DT_INT:
            snprintf(out, size, "%d", static_cast<const int*>(array)[index]);
            break;
        case DT_DOUBLE:
            snprintf(out, size, "%.17g", static_cast<const double*>(array)[index]);
            break;
        default:
            out[0] = 0;
    }
}

// Parses one text value of `dataType` into `out` (the element's bytes).
bool ParseValue(const std::string& token, int dataType, unsigned char* out) {
    // A NUL byte inside a token must not end the number early.
    const char* s = token.c_str();
    char* end = nullptr;
    errno = 0;
    if (dataType == DT_DOUBLE) {
        double v = strtod(s, &end);
        if (end != s + token.size() || end == s || errno == ERANGE || !std::isfinite(v)) return false;
        memcpy(out, &v, sizeof v);
        return true;
    }
    long long v = strtoll(s, &end, 10);
    if (end != s + token.size() || end == s || errno == ERANGE) return false;
    switch (dataType) {
        case DT_CHAR: {
            if (v < 0 || v > 255) return false;
            unsigned char c = static_cast<unsigned char>(v);
            memcpy(out, &c, 1);
            return true;
        }
        case DT_U16: {
            if (v < 0 || v > 65535) return false;
            unsigned short w = static_cast<unsigned short>(v);
            memcpy(out, &w, 2);
            return true;
        }
        case DT_S16: {
            if (v < -32768 || v > 32767) return false;
            short w = static_cast<short>(v);
            memcpy(out, &w, 2);
            return true;
        }
        case DT_INT: {
            if (v < -2147483648LL || v > 2147483647LL) return false;
            int w = static_cast<int>(v);
            memcpy(out, &w, 4);
            return true;
        }
        default:
            return false;
    }
}

bool IsDelimiter(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

// Opens a data file the operator chose. Only a regular file (or a new name
// when `flags` hold O_CREAT) is accepted: a FIFO would block the program in
// open or read, a device would feed it without end. The file is opened
// without blocking and checked on the descriptor itself, so nothing can be
// swapped in between the check and the use. -1 with errno on refusal.
int OpenRegular(const char* fileName, int flags) {
    struct stat st;
    if (stat(fileName, &st) == 0 && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    int fd = open(fileName, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    // Regular files never block; later reads and writes run as usual.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The largest text file ArrayToFile can write for `elements` values: each in
// a field of at most 255 characters, then a separator or a "\r\n" line end.
// Reading stops beyond it, so a huge file is refused without reading it whole.
size_t MaxFileSize(int elements, int dataType, int fileType) {
    if (fileType == VAL_BINARY) return static_cast<size_t>(elements) * TypeSize(dataType);
    return static_cast<size_t>(elements) * 257;
}

}  // namespace

int TruncateFile(const char* fileName) {
    if (!fileName) return FILE_BAD_ARGUMENT;
    int fd = OpenRegular(fileName, O_WRONLY);
    if (fd < 0) return errno == ENOENT ? FILE_OK : FILE_CANNOT_OPEN;
    bool ok = ftruncate(fd, 0) == 0;
    if (close(fd) != 0) ok = false;
    return ok ? FILE_OK : FILE_WRITE_ERROR;
}

int ArrayToFile(const char* fileName, const void* array, int dataType, int elements, int groups,
                int groupOrder, int layout, int separator, int fieldWidth, int fileType, int action) {
    if (!fileName || !ValidLayout(array, dataType, elements, groups, groupOrder, layout, fileType) ||
        separator < VAL_CONST_WIDTH || separator > VAL_SEP_BY_TAB || fieldWidth < 0 || fieldWidth > 255 ||
        (action != VAL_TRUNCATE && action != VAL_APPEND))
        return FILE_BAD_ARGUMENT;
    if (fileType == VAL_ASCII && separator == VAL_CONST_WIDTH && fieldWidth == 0) return FILE_BAD_ARGUMENT;

    std::string out;
    if (fileType == VAL_BINARY) {
        out.assign(static_cast<const char*>(array), static_cast<size_t>(elements) * TypeSize(dataType));
    } else {
        int perLine = layout == VAL_GROUPS_AS_COLUMNS ? groups : elements / groups;
        const char sep = separator == VAL_SEP_BY_COMMA ? ',' : '\t';
        for (int i = 0; i < elements; ++i) {
            char value[64];
            FormatValue(array, dataType, ArrayIndex(i, elements, groups, groupOrder, layout), value,
                        sizeof value);
            // A value wider than its field would run into its neighbour and
            // could not be read back.
            if (separator == VAL_CONST_WIDTH && static_cast<int>(strlen(value)) > fieldWidth)
                return FILE_BAD_ARGUMENT;
            char field[320];
            snprintf(field, sizeof field, "%*s", fieldWidth, value);
            if (separator != VAL_CONST_WIDTH && i % perLine != 0) out += sep;
            out += field;
            if (i % perLine == perLine - 1) out += '\n';
        }
    }

    int fd = OpenRegular(fileName, O_WRONLY | O_CREAT | (action == VAL_APPEND ? O_APPEND : 0));
    if (fd < 0) return FILE_CANNOT_OPEN;
    // Everything goes out in one piece; a write that fails part-way is cut
    // back to where it began, so no fragment stays for a reader to trip on.
    struct stat st;
    off_t start = 0;
    bool ok = action == VAL_APPEND ? fstat(fd, &st) == 0 : ftruncate(fd, 0) == 0;
    if (ok && action == VAL_APPEND) start = st.st_size;
    if (ok && !WriteAll(fd, out.data(), out.size())) {
        ok = false;
        // Should the cut fail as well, the caller still reports the loss.
        const int cut = ftruncate(fd, start);
        (void)cut;
    }
    if (close(fd) != 0) ok = false;
    return ok ? FILE_OK : FILE_WRITE_ERROR;
}

int FileToArray(const char* fileName, void* array, int dataType, int elements, int groups, int groupOrder,
                int layout, int fileType) {
    if (!fileName || !ValidLayout(array, dataType, elements, groups, groupOrder, layout, fileType))
        return FILE_BAD_ARGUMENT;
    int fd = OpenRegular(fileName, O_RDONLY);
    if (fd < 0) return FILE_CANNOT_OPEN;
    const size_t limit = MaxFileSize(elements, dataType, fileType);
    std::string text;
    char chunk[4096];
    bool readError = false;
    while (text.size() <= limit) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError = true;
        if (n <= 0) break;
        text.append(chunk, static_cast<size_t>(n));
    }
    close(fd);
    if (readError) return FILE_CANNOT_OPEN;
    // Binary files may carry more than asked for; a text file this long
    // cannot be one that was written for these values.
    if (fileType == VAL_ASCII && text.size() > limit) return FILE_BAD_FORMAT;

    const size_t size = static_cast<size_t>(TypeSize(dataType));
    std::vector<unsigned char> temp(size * static_cast<size_t>(elements));
    if (fileType == VAL_BINARY) {
        if (text.size() < temp.size()) return FILE_BAD_FORMAT;
        memcpy(temp.data(), text.data(), temp.size());
    } else {
        size_t pos = 0;
        for (int i = 0; i < elements; ++i) {
            while (pos < text.size() && IsDelimiter(text[pos])) ++pos;
            size_t start = pos;
            while (pos < text.size() && !IsDelimiter(text[pos])) ++pos;
            if (start == pos) return FILE_BAD_FORMAT;  // fewer values than asked for
            int index = ArrayIndex(i, elements, groups, groupOrder, layout);
            if (!ParseValue(text.substr(start, pos - start), dataType, &temp[size * index]))
                return FILE_BAD_FORMAT;
        }
    }
    memcpy(array, temp.data(), temp.size());
    return FILE_OK;
}
