// The record benchmarks' frames, made on the fly so that a large file needs
// no more memory than one record.
#include "benchrecords.h"

#include <cmath>
#include <cstdio>

#include "recorder/recwrite.h"

namespace bench {

corvel::FileRecord DayFrame(long k) {
    corvel::FileRecord r;
    const long s = 8 * 3600 + k;
    char t[12];
    std::snprintf(t, sizeof t, "%02ld:%02ld:%02ld", s / 3600 % 24, s / 60 % 60, s % 60);
    r.date = "12-08-2026";
    r.time = t;
    const double w = std::sin(k / 500.0), n = ((k * 7919) % 41) - 20;
    const unsigned v[corvel::kRecValueCount] = {
        static_cast<unsigned>(2900 + 100 * w), static_cast<unsigned>(3700 + 150 * w),
        static_cast<unsigned>(1300 - 80 * w),  static_cast<unsigned>(740 + 20 * w),
        static_cast<unsigned>(2500 + 60 * w),  static_cast<unsigned>(1000 + 30 * w + n),
        static_cast<unsigned>(410 + k % 7)};
    for (std::size_t i = 0; i < corvel::kRecValueCount; ++i) r.values[i] = v[i];
    return r;
}

bool WriteDayFile(const char* path, long records) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    char rec[corvel::kRecordSize + 1];
    for (long k = 0; k < records; ++k) {
        const corvel::FileRecord r = DayFrame(k);
        corvel::FormatRecordOf(rec, r.date.c_str(), r.time.c_str(), r.values);
        if (std::fwrite(rec, 1, corvel::kRecordSize, f) != corvel::kRecordSize) {
            std::fclose(f);
            return false;
        }
    }
    return std::fclose(f) == 0;
}

long ResidentKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

}  // namespace bench
