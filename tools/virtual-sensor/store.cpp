#include "store.h"

#include <cstdio>
#include <cstring>

namespace vsensor {

namespace {

// Writes through a temporary file and renames it into place.
class AtomicFile {
public:
    explicit AtomicFile(const char* path) : path_(path) {
        std::snprintf(tmp_, sizeof tmp_, "%s.tmp", path);
        f_ = std::fopen(tmp_, "w");
    }
    ~AtomicFile() {
        if (f_) {
            std::fclose(f_);
            std::remove(tmp_);
        }
    }
    FILE* get() { return f_; }
    bool Commit() {
        if (!f_) return false;
        bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
        ok = std::fclose(f_) == 0 && ok;
        f_ = nullptr;
        if (ok) ok = std::rename(tmp_, path_) == 0;
        if (!ok) std::remove(tmp_);
        return ok;
    }

private:
    const char* path_;
    char tmp_[4096];
    FILE* f_;
};

void PutWords(FILE* f, const char* key, const uint16_t* w, int n) {
    std::fputs(key, f);
    for (int i = 0; i < n; ++i) std::fprintf(f, " %u", w[i]);
    std::fputc('\n', f);
}

}  // namespace

bool LoadEeprom(const char* path, Sensor* sensor) {
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    unsigned long v[kPacketWords + 3];
    int n = 0;
    while (n < kPacketWords + 3 && std::fscanf(f, "%lu", &v[n]) == 1 && v[n] <= 0xFFFF) ++n;
    std::fclose(f);
    if (n != kPacketWords + 3) return false;
    for (int i = 0; i < kPacketWords; ++i) sensor->eeprom[i] = static_cast<uint16_t>(v[i]);
    for (int i = 0; i < 3; ++i) sensor->cal[i] = static_cast<uint16_t>(v[kPacketWords + i]);
    return true;
}

bool SaveEeprom(const char* path, const Sensor& sensor) {
    AtomicFile out(path);
    if (!out.get()) return false;
    for (int i = 0; i < kPacketWords; ++i) std::fprintf(out.get(), "%u\n", sensor.eeprom[i]);
    for (int i = 0; i < 3; ++i) std::fprintf(out.get(), "%u\n", sensor.cal[i]);
    return out.Commit();
}

bool WriteState(const char* path, const Sensor& sensor, const Counts& counts) {
    AtomicFile out(path);
    FILE* f = out.get();
    if (!f) return false;
    PutWords(f, "ram", sensor.ram, kPacketWords);
    PutWords(f, "eeprom", sensor.eeprom, kPacketWords);
    PutWords(f, "cal", sensor.cal, 3);
    std::fputs("received", f);
    for (unsigned o = 0; o < 65536; ++o) {
        if (counts.received[o]) std::fprintf(f, " %u:%lu", o, counts.received[o]);
    }
    std::fputc('\n', f);
    std::fprintf(f, "frames %lu\nskipped %lu\n", counts.frames, counts.skipped);
    return out.Commit();
}

}  // namespace vsensor
