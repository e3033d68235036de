// The report page of a judged range: what the panel's REPORT button and the
// corvel-report helper both write.
#pragma once

#include <string>
#include <vector>

#include "platform/report.h"
#include "recorder/recstats.h"

namespace corvel {

struct ReportInput {
    const FileRecord* records = nullptr;
    RangeStats range;
    int signal = 5;  // the signal of the graph and the histogram
    bool hasBand = false;
    BandStats band;
    std::string bandSource;           // "typed limits", "teach row 3", ...
    std::string path;                 // the record file
    std::string version;              // the sensor's version text; empty when none was read
    std::vector<std::string> params;  // the panel's parameter set, "name value"
    std::string now;                  // the report's date and time
};

// The classes of the histogram of `signal` over the range: whole-number
// classes (at most `maxBins`) spanning the values and the band.
void HistogramClasses(const RangeStats& range, int signal, const BandStats* band, int maxBins, double* lo,
                      double* hi, int* bins);

ReportPage BuildReportPage(const ReportInput& in);

// The proposed report name beside a record file: "run.dat" -> "run-report.pdf".
std::string ReportNameFor(const std::string& recordPath);

}  // namespace corvel
