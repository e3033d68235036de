// A one-page A4 report as PDF: head lines, a graph of one signal with its
// band and mean, a table, notes and a histogram. The logic fills the plain
// description; the platform draws it (black and white readable).
#pragma once

#include <string>
#include <vector>

struct ReportPage {
    std::string title;
    std::vector<std::string> head;  // lines under the title: file, folder, range, sensor
    std::string graphCaption;       // the graph's Y axis
    std::vector<double> x, y;       // the graph's points
    bool hasBand = false;
    double lo = 0, hi = 0;
    bool hasMean = false;
    double mean = 0;
    std::vector<std::vector<std::string>> table;  // first row: the headings
    std::vector<std::string> notes;               // lines under the table
    std::vector<unsigned> hist;                   // counts of equal classes
    double histLo = 0, histHi = 0;                // the classes' outer edges
    std::string histCaption;
    std::vector<std::string> params;  // the parameter set, "name value" items; may be empty
    std::string footer;               // the report's date
};

// Writes the page; false with the reason in `why`.
bool WriteReportPdf(const std::string& path, const ReportPage& page, std::string* why);
