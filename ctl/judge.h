// The record file of stats and report, read and judged once for both.
#pragma once

#include "ctl/ctl.h"
#include "recorder/recstats.h"

namespace ctl {

struct Judged {
    corvel::ParsedRecords parsed;
    bool damaged = false;  // a damaged or truncated record ended the reading
    corvel::RangeStats range;
    int signal = 0;  // the signal of the band and the report's graph
    bool hasBand = false;
    corvel::BandStats band;
};

// Reads opt.args[0] and works out the range and band the options ask for;
// false (said on standard error) when the file cannot be read. Damage and an
// empty range are said on standard error too.
bool LoadJudged(const Options& opt, Judged* out);

}  // namespace ctl
