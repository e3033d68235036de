#include "recparse.h"

#include <cstdio>

namespace rec2csv {

namespace {

// The text of a NUL-padded field; false when anything but NULs follows the
// text or the field holds a line break (then the records are out of step).
bool TextField(const char* p, std::string* out) {
    std::size_t n = 0;
    while (n < kTextField && p[n] != '\0') ++n;
    for (std::size_t i = n; i < kTextField; ++i)
        if (p[i] != '\0') return false;
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] == '\n' || p[i] == '\r') return false;
    out->assign(p, n);
    return true;
}

// A right-aligned unsigned 16-bit value: blanks, then at least one digit.
bool ValueField(const char* p, unsigned* out) {
    std::size_t i = 0;
    while (i < kValueWidth && p[i] == ' ') ++i;
    if (i == kValueWidth) return false;
    unsigned v = 0;
    for (; i < kValueWidth; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        v = v * 10 + static_cast<unsigned>(p[i] - '0');
    }
    if (v > 65535) return false;
    *out = v;
    return true;
}

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

ParseResult Parse(const std::string& bytes) {
    ParseResult r;
    std::size_t pos = 0;
    char what[160];
    while (pos < bytes.size()) {
        const std::size_t left = bytes.size() - pos;
        const char* p = bytes.data() + pos;
        r.offset = pos;
        Record rec;
        bool ok = left < kTextField || TextField(p, &rec.date);
        if (ok && left >= 2 * kTextField) ok = TextField(p + kTextField, &rec.time);
        for (std::size_t k = 0; ok && k < kValueCount; ++k) {
            const std::size_t at = 2 * kTextField + k * kValueWidth;
            if (left >= at + kValueWidth) ok = ValueField(p + at, &rec.values[k]);
        }
        std::size_t end = 0;  // bytes of the line end
        if (ok && left > kFixedPart) {
            if (p[kFixedPart] == '\n')
                end = 1;
            else if (p[kFixedPart] == '\r' && left > kFixedPart + 1 && p[kFixedPart + 1] == '\n')
                end = 2;
            else if (!(p[kFixedPart] == '\r' && left == kFixedPart + 1))
                ok = false;
        }
        if (!ok) {
            r.status = Status::Malformed;
            std::snprintf(what, sizeof what, "record %zu at byte %zu does not have the record layout",
                          r.records.size() + 1, pos);
            r.message = what;
            return r;
        }
        if (end == 0) {
            r.status = Status::Truncated;
            std::snprintf(what, sizeof what, "record %zu at byte %zu is truncated (%zu bytes)",
                          r.records.size() + 1, pos, left);
            r.message = what;
            return r;
        }
        r.records.push_back(rec);
        pos += kFixedPart + end;
    }
    r.offset = pos;
    return r;
}

std::string CsvHeader() {
    return "date,time,ch_ref,ch_dir,ch_dif,norm,int,gf,temp\n";
}

std::string CsvLine(const Record& r) {
    std::string line = CsvText(r.date) + "," + CsvText(r.time);
    for (unsigned v : r.values) line += "," + std::to_string(v);
    return line + "\n";
}

}  // namespace rec2csv
