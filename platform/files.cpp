// File, clock and utility services.
#include "platform/files.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
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

// `dir` must hold 260 bytes, the size of the program's path buffers.
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
    if (strlen(exe) >= 260) return -1;
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

}  // namespace

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

    FILE* f = fopen(fileName, action == VAL_APPEND ? "ab" : "wb");
    if (!f) return FILE_CANNOT_OPEN;
    bool ok = fwrite(out.data(), 1, out.size(), f) == out.size();
    if (fclose(f) != 0) ok = false;
    return ok ? FILE_OK : FILE_WRITE_ERROR;
}

int FileToArray(const char* fileName, void* array, int dataType, int elements, int groups, int groupOrder,
                int layout, int fileType) {
    if (!fileName || !ValidLayout(array, dataType, elements, groups, groupOrder, layout, fileType))
        return FILE_BAD_ARGUMENT;
    FILE* f = fopen(fileName, "rb");
    if (!f) return FILE_CANNOT_OPEN;
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    bool readError = ferror(f) != 0;
    fclose(f);
    if (readError) return FILE_CANNOT_OPEN;

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
