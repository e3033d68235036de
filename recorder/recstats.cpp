// The statistics of a recording, as pure computation over parsed records.
#include "recorder/recstats.h"

#include <cmath>
#include <cstdio>

namespace corvel {

namespace {

constexpr short kNormLimit = 1000;
constexpr short kIntLimit = 4095;
constexpr int kNormSignal = 3, kIntSignal = 4, kGfSignal = 5;

// A JSON string: the text in quotes.
std::string JsonString(const std::string& s) {
    return "\"" + JsonText(s) + "\"";
}

std::string JsonNumber(double v, bool valid) {
    if (!valid || !std::isfinite(v)) return "null";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

// The sensor's band arithmetic for NORM and INT: signed 16 bits, then limited.
void LimitedBand(unsigned short centre, unsigned short tol, short limit, double* lo, double* hi) {
    const short c = static_cast<short>(centre), t = static_cast<short>(tol);
    short up = static_cast<short>(c + t), down = static_cast<short>(c - t);
    if (up > limit) up = limit;
    if (down < 0) down = 0;
    *lo = down;
    *hi = up;
}

}  // namespace

std::string JsonText(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int StatSignalByName(const std::string& name) {
    // "gf" is taken for the glossy factor's column too; both spellings mean the same values.
    if (name == "gf") return kGfSignal;
    for (int k = 0; k < kStatSignals; ++k)
        if (name == kRecValueNames[k]) return k;
    return -1;
}

bool ClipRange(std::size_t count, long from, long to, std::size_t* first, std::size_t* last) {
    if (from < 0) from = 0;
    if (count == 0 || to < from || static_cast<std::size_t>(from) >= count) return false;
    *first = static_cast<std::size_t>(from);
    *last = static_cast<std::size_t>(to) >= count ? count - 1 : static_cast<std::size_t>(to);
    return true;
}

RangeStats ComputeStats(const FileRecord* records, std::size_t from, std::size_t to, bool empty) {
    RangeStats s;
    s.from = from;
    s.to = to;
    if (empty || to < from) return s;
    s.n = to - from + 1;
    // Whole-number sums are exact in 64 bits; the spread is summed about the
    // mean, which keeps it exact enough for any run length.
    unsigned long long sum[kStatSignals] = {};
    unsigned lo[kStatSignals], hi[kStatSignals];
    for (int k = 0; k < kStatSignals; ++k) lo[k] = hi[k] = records[from].values[k];
    for (std::size_t i = from; i <= to; ++i) {
        const unsigned* v = records[i].values;
        for (int k = 0; k < kStatSignals; ++k) {
            sum[k] += v[k];
            if (v[k] < lo[k]) lo[k] = v[k];
            if (v[k] > hi[k]) hi[k] = v[k];
        }
    }
    double mean[kStatSignals], sq[kStatSignals] = {};
    for (int k = 0; k < kStatSignals; ++k) mean[k] = static_cast<double>(sum[k]) / static_cast<double>(s.n);
    for (std::size_t i = from; i <= to; ++i) {
        const unsigned* v = records[i].values;
        for (int k = 0; k < kStatSignals; ++k) {
            const double d = v[k] - mean[k];
            sq[k] += d * d;
        }
    }
    for (int k = 0; k < kStatSignals; ++k) {
        SignalStats& g = s.signal[k];
        g.n = s.n;
        g.mean = mean[k];
        g.min = lo[k];
        g.max = hi[k];
        g.stddev = s.n > 1 ? std::sqrt(sq[k] / static_cast<double>(s.n - 1)) : 0;
    }
    s.first = RecordWhen(records[from]);
    s.last = RecordWhen(records[to]);
    return s;
}

BandStats ComputeBand(const FileRecord* records, const RangeStats& range, int signal, double lo, double hi) {
    BandStats b;
    b.signal = signal;
    b.lo = lo;
    b.hi = hi;
    if (range.n == 0 || signal < 0 || signal >= kStatSignals) return b;
    for (std::size_t i = range.from; i <= range.to; ++i) {
        const double v = records[i].values[signal];
        if (v < lo)
            ++b.below;
        else if (v > hi)
            ++b.above;
        else
            ++b.inside;
    }
    const SignalStats& g = range.signal[signal];
    b.hasPp = g.n > 1 && g.stddev > 0;
    if (b.hasPp) {
        b.pp = (hi - lo) / (6 * g.stddev);
        const double up = hi - g.mean, down = g.mean - lo;
        b.ppk = (up < down ? up : down) / (3 * g.stddev);
    }
    return b;
}

bool TeachRowBand(int signal, const unsigned short cells[4], double* lo, double* hi) {
    if (signal == kNormSignal) {
        LimitedBand(cells[0], cells[1], kNormLimit, lo, hi);
    } else if (signal == kIntSignal) {
        LimitedBand(cells[2], cells[3], kIntLimit, lo, hi);
    } else if (signal == kGfSignal) {
        const long c = cells[0], t = cells[1];
        *lo = c - t < 0 ? 0 : static_cast<double>(c - t);
        *hi = static_cast<double>(c + t);
    } else {
        return false;
    }
    return true;
}

void Histogram(const FileRecord* records, const RangeStats& range, int signal, double lo, double hi, int bins,
               unsigned* counts) {
    for (int i = 0; i < bins; ++i) counts[i] = 0;
    if (range.n == 0 || bins < 1 || signal < 0 || signal >= kStatSignals || !(hi >= lo)) return;
    const double width = hi > lo ? (hi - lo) / bins : 1;
    for (std::size_t i = range.from; i <= range.to; ++i) {
        const double v = records[i].values[signal];
        if (v < lo || v > hi) continue;
        int bin = static_cast<int>((v - lo) / width);
        if (bin >= bins) bin = bins - 1;
        ++counts[bin];
    }
}

std::string StatNumber(double v, bool valid, int decimals) {
    if (!valid || !std::isfinite(v)) return "n/a";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string StatsTable(const RangeStats& s) {
    char line[200];
    std::string out;
    if (s.n == 0) {
        out = "no frames in the range\n";
    } else {
        std::snprintf(line, sizeof line, "frames %zu to %zu (%zu)\n%s to %s\n", s.from, s.to, s.n,
                      s.first.c_str(), s.last.c_str());
        out = line;
    }
    std::snprintf(line, sizeof line, "%-10s %6s %10s %10s %6s %6s %6s\n", "signal", "n", "mean", "std", "min",
                  "max", "range");
    out += line;
    for (int k = 0; k < kStatSignals; ++k) {
        const SignalStats& g = s.signal[k];
        const bool any = g.n > 0;
        std::snprintf(line, sizeof line, "%-10s %6zu %10s %10s %6s %6s %6s\n", kRecValueNames[k], g.n,
                      StatNumber(g.mean, any, 2).c_str(), StatNumber(g.stddev, g.n > 1, 2).c_str(),
                      StatNumber(g.min, any, 0).c_str(), StatNumber(g.max, any, 0).c_str(),
                      StatNumber(static_cast<double>(g.max) - g.min, any, 0).c_str());
        out += line;
    }
    out += "(gf_tenths: the glossy factor in tenths of a unit)\n";
    return out;
}

std::string BandText(const BandStats& b, std::size_t n) {
    auto pct = [n](std::size_t c) { return StatNumber(100.0 * c / (n ? n : 1), n > 0, 1); };
    char line[300];
    std::snprintf(line, sizeof line,
                  "band %s %s to %s: inside %zu (%s %%), below %zu (%s %%), above %zu (%s %%)\n"
                  "Pp %s  Ppk %s (overall std)\n",
                  kRecValueNames[b.signal], StatNumber(b.lo, true, 0).c_str(),
                  StatNumber(b.hi, true, 0).c_str(), b.inside, pct(b.inside).c_str(), b.below,
                  pct(b.below).c_str(), b.above, pct(b.above).c_str(), StatNumber(b.pp, b.hasPp, 3).c_str(),
                  StatNumber(b.ppk, b.hasPp, 3).c_str());
    return line;
}

std::string StatsJson(const RangeStats& s, const BandStats* band) {
    const bool any = s.n > 0;
    std::string out = "{\"frames\": " + std::to_string(s.n);
    out += ", \"first\": " + (any ? JsonString(s.first) : std::string("null"));
    out += ", \"last\": " + (any ? JsonString(s.last) : std::string("null"));
    out += ", \"signals\": {";
    for (int k = 0; k < kStatSignals; ++k) {
        const SignalStats& g = s.signal[k];
        if (k) out += ", ";
        out += JsonString(kRecValueNames[k]) + ": {\"n\": " + std::to_string(g.n);
        out += ", \"mean\": " + JsonNumber(g.mean, any);
        out += ", \"std\": " + JsonNumber(g.stddev, g.n > 1);
        out += ", \"min\": " + JsonNumber(g.min, any);
        out += ", \"max\": " + JsonNumber(g.max, any) + "}";
    }
    out += "}";
    if (band) {
        out += ", \"band\": {\"signal\": " + JsonString(kRecValueNames[band->signal]);
        out += ", \"lo\": " + JsonNumber(band->lo, true) + ", \"hi\": " + JsonNumber(band->hi, true);
        out += ", \"inside\": " + std::to_string(band->inside) +
               ", \"below\": " + std::to_string(band->below) + ", \"above\": " + std::to_string(band->above);
        out += ", \"pp\": " + JsonNumber(band->pp, band->hasPp) +
               ", \"ppk\": " + JsonNumber(band->ppk, band->hasPp) + "}";
    }
    return out + "}\n";
}

}  // namespace corvel
