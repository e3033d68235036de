// Records as CSV: what corvel-rec2csv writes and the graph panel's EXPORT CSV.
#pragma once

#include <cstddef>
#include <string>

#include "recorder/recread.h"

namespace corvel {

// "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp" and a
// line end. The glossy factor stays the raw word, tenths of a unit.
std::string RecordCsvHeader();
// One line of CSV for record `frame` (counted from 0, as the graph's X
// axis), line end included. A date or time not in the recorder's form is
// kept as written, date and time joined by a blank.
std::string RecordCsvLine(const FileRecord& r, std::size_t frame);

}  // namespace corvel
