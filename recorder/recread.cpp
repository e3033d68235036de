// The record reader: each record checked field by field, so that a damaged
// or cut-off file still gives the complete records before the damage.
#include "recorder/recread.h"

#include <cstdio>
#include <string>

namespace corvel {

namespace {

// The text of a NUL-padded field; false when anything but NULs follows the
// text or the field holds a line break (then the records are out of step).
bool TextField(const char* p, std::string* out) {
    std::size_t n = 0;
    while (n < kRecTextField && p[n] != '\0') ++n;
    for (std::size_t i = n; i < kRecTextField; ++i)
        if (p[i] != '\0') return false;
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] == '\n' || p[i] == '\r') return false;
    out->assign(p, n);
    return true;
}

// A right-aligned unsigned 16-bit value: blanks, then at least one digit.
bool ValueField(const char* p, unsigned* out) {
    std::size_t i = 0;
    while (i < kRecValueWidth && p[i] == ' ') ++i;
    if (i == kRecValueWidth) return false;
    unsigned v = 0;
    for (; i < kRecValueWidth; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        v = v * 10 + static_cast<unsigned>(p[i] - '0');
    }
    if (v > 65535) return false;
    *out = v;
    return true;
}

}  // namespace

ParsedRecords ParseRecords(const std::string& bytes) {
    ParsedRecords r;
    std::size_t pos = 0;
    char what[160];
    while (pos < bytes.size()) {
        const std::size_t left = bytes.size() - pos;
        const char* p = bytes.data() + pos;
        r.offset = pos;
        FileRecord rec;
        bool ok = left < kRecTextField || TextField(p, &rec.date);
        if (ok && left >= 2 * kRecTextField) ok = TextField(p + kRecTextField, &rec.time);
        for (std::size_t k = 0; ok && k < kRecValueCount; ++k) {
            const std::size_t at = 2 * kRecTextField + k * kRecValueWidth;
            if (left >= at + kRecValueWidth) ok = ValueField(p + at, &rec.values[k]);
        }
        std::size_t end = 0;  // bytes of the line end
        if (ok && left > kRecFixedPart) {
            if (p[kRecFixedPart] == '\n')
                end = 1;
            else if (p[kRecFixedPart] == '\r' && left > kRecFixedPart + 1 && p[kRecFixedPart + 1] == '\n')
                end = 2;
            else if (!(p[kRecFixedPart] == '\r' && left == kRecFixedPart + 1))
                ok = false;
        }
        if (!ok) {
            r.status = ParseStatus::Malformed;
            std::snprintf(what, sizeof what, "record %zu at byte %zu does not have the record layout",
                          r.records.size() + 1, pos);
            r.message = what;
            return r;
        }
        if (end == 0) {
            r.status = ParseStatus::Truncated;
            std::snprintf(what, sizeof what, "record %zu at byte %zu is truncated (%zu bytes)",
                          r.records.size() + 1, pos, left);
            r.message = what;
            return r;
        }
        r.records.push_back(rec);
        pos += kRecFixedPart + end;
    }
    r.offset = pos;
    return r;
}

bool IsoDateTime(const FileRecord& r, std::string* out) {
    // "MM-DD-YYYY" and "HH:MM:SS": digits where digits belong, in range.
    auto digits = [](const std::string& s, const char* shape) {
        if (s.size() != std::char_traits<char>::length(shape)) return false;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const bool digit = s[i] >= '0' && s[i] <= '9';
            if (shape[i] == '9' ? !digit : s[i] != shape[i]) return false;
        }
        return true;
    };
    if (!digits(r.date, "99-99-9999") || !digits(r.time, "99:99:99")) return false;
    auto num = [](const std::string& s, std::size_t at) { return (s[at] - '0') * 10 + (s[at + 1] - '0'); };
    const int month = num(r.date, 0), day = num(r.date, 3);
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    if (num(r.time, 0) > 23 || num(r.time, 3) > 59 || num(r.time, 6) > 60) return false;
    *out = r.date.substr(6, 4) + "-" + r.date.substr(0, 2) + "-" + r.date.substr(3, 2) + "T" + r.time;
    return true;
}

std::string RecordWhen(const FileRecord& r) {
    std::string when;
    if (!IsoDateTime(r, &when)) when = r.date + " " + r.time;
    return when;
}

std::string RecordWhen(const std::string& date, const std::string& time) {
    FileRecord r;
    r.date = date;
    r.time = time;
    return RecordWhen(r);
}

}  // namespace corvel
