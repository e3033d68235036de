// Judging a recording: per-signal statistics over a range of record frames,
// the frames inside and outside a tolerance band with Pp and Ppk, and a
// histogram. Pure computation, shared by the graph panel, corvel-ctl and the
// report helper; no panel and no toolkit.
#pragma once

#include <cstddef>
#include <string>

#include "recorder/recread.h"

namespace corvel {

constexpr int kStatSignals = static_cast<int>(kRecValueCount);

// The signal's index by its CSV column name (kRecValueNames), or -1.
int StatSignalByName(const std::string& name);

struct SignalStats {
    std::size_t n = 0;
    double mean = 0;    // valid when n >= 1
    double stddev = 0;  // with n - 1; valid when n >= 2
    unsigned min = 0;   // valid when n >= 1
    unsigned max = 0;
};

struct RangeStats {
    std::size_t from = 0;  // first frame of the range (counted from 0)
    std::size_t to = 0;    // last frame, inclusive; meaningless when n == 0
    std::size_t n = 0;     // frames in the range
    SignalStats signal[kStatSignals];
    std::string first,
        last;  // ISO date-times of the range's ends (as written when not in the recorder's form)
};

struct BandStats {
    int signal = 0;
    double lo = 0, hi = 0;
    std::size_t inside = 0, below = 0, above = 0;  // lo <= v <= hi is inside
    bool hasPp = false;  // false when the spread is unknown or zero (n < 2 or std 0)
    double pp = 0;       // (hi - lo) / (6 s), overall s
    double ppk = 0;      // min(hi - mean, mean - lo) / (3 s)
};

// The frames [from, to] of `count` records, `to` inclusive and cut to the
// last record. False (nothing in range) when from > to or from >= count.
bool ClipRange(std::size_t count, long from, long to, std::size_t* first, std::size_t* last);

// Statistics of records[from..to]; an empty range when `empty` is true.
RangeStats ComputeStats(const FileRecord* records, std::size_t from, std::size_t to, bool empty);
// The band figures of one signal over the same range.
BandStats ComputeBand(const FileRecord* records, const RangeStats& range, int signal, double lo, double hi);

// The band of teach row `cells` (its four columns) for a signal, as the scope
// chart draws it: NORM is column 1 +- column 2 within 0..1000, INT column 3
// +- column 4 within 0..4095, both in the sensor's signed 16-bit arithmetic;
// GF (tenths) column 1 +- column 2 from 0 up, without an upper limit. False
// for a signal that has no band in the teach table.
bool TeachRowBand(int signal, const unsigned short cells[4], double* lo, double* hi);

// Counts of `bins` equal classes from `lo` to `hi` (a value on `hi` falls in
// the last class; values outside are not counted).
void Histogram(const FileRecord* records, const RangeStats& range, int signal, double lo, double hi, int bins,
               unsigned* counts);

// A number for people: "n/a" when not valid.
std::string StatNumber(double v, bool valid, int decimals);
// The table of the seven signals, one line each, with a heading line.
std::string StatsTable(const RangeStats& s);
// The band lines, in the same words as the graph panel.
std::string BandText(const BandStats& b, std::size_t n);
// One JSON object; `band` may be null.
std::string StatsJson(const RangeStats& s, const BandStats* band);

// The inside of a JSON string: quotes, backslashes and control bytes
// escaped. The command line's JSON uses it too.
std::string JsonText(const std::string& text);

}  // namespace corvel
