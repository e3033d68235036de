// corvel-rec2csv IN.dat [OUT.csv]: the records of a record file as CSV, one
// line per record: frame number (from 0), ISO 8601 date-time, the seven
// values (the glossy factor in tenths, as recorded). Without OUT the CSV
// goes to standard output. The complete records are
// always converted; a truncated or damaged record is reported on standard
// error and gives exit status 1.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "recorder/reccsv.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "Usage: corvel-rec2csv IN.dat [OUT.csv]\n"
                     "Converts a record file of the recorder into CSV (standard output without OUT).\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "corvel-rec2csv: cannot read " << argv[1] << "\n";
        return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const corvel::ParsedRecords r = corvel::ParseRecords(bytes);

    std::ostringstream csv;
    csv << corvel::RecordCsvHeader();
    for (std::size_t i = 0; i < r.records.size(); ++i) csv << corvel::RecordCsvLine(r.records[i], i);
    if (argc == 3) {
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << csv.str();
        out.close();
        if (!out) {
            std::cerr << "corvel-rec2csv: cannot write " << argv[2] << "\n";
            return 2;
        }
    } else {
        std::cout << csv.str();
        std::cout.flush();
    }
    if (r.status != corvel::ParseStatus::Ok) {
        std::cerr << "corvel-rec2csv: " << argv[1] << ": " << r.message << "; " << r.records.size()
                  << " complete records converted\n";
        return 1;
    }
    return 0;
}
