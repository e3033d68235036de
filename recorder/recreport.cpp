// The report page's content, built from plain data, so that the panel and
// the command line's helper print the same page.
#include "recorder/recreport.h"

#include <cmath>
#include <cstdio>

namespace corvel {

namespace {

const char* const kCaptions[kStatSignals] = {
    "CH_REF", "CH_DIR", "CH_DIF", "NORM", "INT", "GF (tenths of a unit)", "TEMP"};

std::string Folder(const std::string& path, std::string* name) {
    const std::size_t slash = path.rfind('/');
    *name = slash == std::string::npos ? path : path.substr(slash + 1);
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

void HistogramClasses(const RangeStats& range, int signal, const BandStats* band, int maxBins, double* lo,
                      double* hi, int* bins) {
    double a = range.n ? range.signal[signal].min : 0, b = range.n ? range.signal[signal].max : 1;
    if (band) {
        a = std::fmin(a, std::floor(band->lo));
        b = std::fmax(b, std::ceil(band->hi));
    }
    // Whole values sit in the middle of their classes.
    const double span = b - a + 1;
    int n = span < maxBins ? static_cast<int>(span) : maxBins;
    if (n < 1) n = 1;
    const double width = std::ceil(span / n);
    *lo = a - 0.5;
    *hi = *lo + width * n;
    *bins = n;
}

ReportPage BuildReportPage(const ReportInput& in) {
    ReportPage page;
    const RangeStats& s = in.range;
    char line[600];
    page.title = "CORVEL-Scope V2.0: recording report";
    std::string name;
    const std::string folder = Folder(in.path, &name);
    page.head.push_back("Record file: " + name + "    Folder: " + folder);
    if (s.n) {
        std::snprintf(line, sizeof line, "Frames %zu to %zu (%zu frames), %s to %s", s.from, s.to, s.n,
                      s.first.c_str(), s.last.c_str());
        page.head.push_back(line);
    } else {
        page.head.push_back("No frames in the range");
    }
    if (!in.version.empty()) page.head.push_back("Sensor: " + in.version);

    page.graphCaption = kCaptions[in.signal];
    page.histCaption = kCaptions[in.signal];
    if (s.n && in.records) {
        page.x.reserve(s.n);
        page.y.reserve(s.n);
        for (std::size_t i = s.from; i <= s.to; ++i) {
            page.x.push_back(static_cast<double>(i));
            page.y.push_back(in.records[i].values[in.signal]);
        }
        page.hasMean = true;
        page.mean = s.signal[in.signal].mean;
    }
    page.hasBand = in.hasBand;
    page.lo = in.band.lo;
    page.hi = in.band.hi;

    page.table.push_back({"signal", "frames", "mean", "std", "min", "max", "range"});
    for (int k = 0; k < kStatSignals; ++k) {
        const SignalStats& g = s.signal[k];
        const bool any = g.n > 0;
        page.table.push_back({kRecValueNames[k], std::to_string(g.n), StatNumber(g.mean, any, 2),
                              StatNumber(g.stddev, g.n > 1, 2), StatNumber(g.min, any, 0),
                              StatNumber(g.max, any, 0),
                              StatNumber(static_cast<double>(g.max) - g.min, any, 0)});
    }
    page.notes.push_back("gf_tenths: the glossy factor in tenths of a unit (1003 is 100.3). std with n - 1.");
    if (in.hasBand) {
        const BandStats& b = in.band;
        auto pct = [&](std::size_t c) { return StatNumber(100.0 * c / (s.n ? s.n : 1), s.n > 0, 1); };
        std::snprintf(line, sizeof line, "Band of %s (%s): %s to %s, dashed; mean dotted",
                      kRecValueNames[b.signal],
                      in.bandSource.empty() ? "typed limits" : in.bandSource.c_str(),
                      StatNumber(b.lo, true, 0).c_str(), StatNumber(b.hi, true, 0).c_str());
        page.notes.push_back(line);
        std::snprintf(line, sizeof line, "Inside %zu (%s %%), below %zu (%s %%), above %zu (%s %%)", b.inside,
                      pct(b.inside).c_str(), b.below, pct(b.below).c_str(), b.above, pct(b.above).c_str());
        page.notes.push_back(line);
        std::snprintf(line, sizeof line, "Pp %s, Ppk %s (from the overall standard deviation)",
                      StatNumber(b.pp, b.hasPp, 3).c_str(), StatNumber(b.ppk, b.hasPp, 3).c_str());
        page.notes.push_back(line);
    }
    double lo = 0, hi = 1;
    int bins = 1;
    HistogramClasses(s, in.signal, in.hasBand ? &in.band : nullptr, 40, &lo, &hi, &bins);
    page.hist.assign(static_cast<std::size_t>(bins), 0u);
    if (in.records) Histogram(in.records, s, in.signal, lo, hi, bins, page.hist.data());
    page.histLo = lo;
    page.histHi = hi;
    if (!in.version.empty()) page.params = in.params;
    page.footer = "Report made " + in.now;
    return page;
}

std::string ReportNameFor(const std::string& recordPath) {
    std::string base = recordPath;
    const std::size_t slash = base.rfind('/');
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) base.erase(dot);
    return base + "-report.pdf";
}

}  // namespace corvel
