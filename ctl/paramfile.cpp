// A parameter file for send and diff, read and checked in full before any
// port is opened, with a reason an integrator can act on when it is refused.
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "ctl/ctl.h"
#include "params/paraio.h"
#include "platform/files.h"

namespace ctl {

namespace {

// The longest text the file services accept for 140 values (fields of up
// to 255 characters and a line end each): no parameter file is larger.
constexpr long long kLargest = corvel::kParaFileWords * 257LL;

const char* Kind(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// The first thing wrong with the text as a parameter file, or "" when it
// holds exactly 140 numbers 0 to 65535.
std::string Problem(const std::string& text) {
    int values = 0, line = 1;
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\n') ++line;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',') {
            ++pos;
            continue;
        }
        const size_t start = pos;
        while (pos < text.size() && !std::strchr(" \t\r\n,", text[pos])) ++pos;
        const std::string token = text.substr(start, pos - start);
        bool digits = token.size() <= 10;
        for (char d : token) digits = digits && std::isdigit(static_cast<unsigned char>(d));
        const std::string where = "line " + std::to_string(line) + ": ";
        if (!digits) return where + "\"" + token.substr(0, 40) + "\" is not a number 0 to 65535";
        if (std::stoll(token) > 65535) return where + token + " is above 65535";
        ++values;
    }
    if (values != corvel::kParaFileWords)
        return std::to_string(values) + " values; a parameter file holds " +
               std::to_string(corvel::kParaFileWords);
    return "";
}

}  // namespace

bool LoadParameterFile(const std::string& path, unsigned short words[140]) {
    const char* name = path.c_str();
    struct stat st;
    if (stat(name, &st) != 0) {
        Say("%s: cannot be read: %s\n", name, std::strerror(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        Say("%s: is %s, not a parameter file\n", name, Kind(st.st_mode));
        return false;
    }
    if (st.st_size > kLargest) {
        Say("%s: %lld bytes, larger than any parameter file\n", name, static_cast<long long>(st.st_size));
        return false;
    }
    std::string text;
    if (ReadWholeFile(name, &text) != FILE_OK) {
        Say("%s: cannot be read: %s\n", name, std::strerror(errno ? errno : EIO));
        return false;
    }
    const std::string problem = Problem(text);
    if (!problem.empty()) {
        Say("%s: not a parameter file: %s\n", name, problem.c_str());
        return false;
    }
    // The panel program's own reader has the last word, so that both accept
    // the same files.
    if (corvel::ReadParaFile(name, words) != FILE_OK) {
        Say("%s: not a parameter file\n", name);
        return false;
    }
    return true;
}

}  // namespace ctl
