// stats and report: a record file judged without a sensor. stats prints
// here; report hands the same command line to the corvel-report helper,
// which draws the page with the GUI libraries that corvel-ctl keeps out.
#include "ctl/judge.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "ctl/ctl.h"
#include "platform/files.h"

namespace ctl {

bool LoadJudged(const Options& opt, Judged* out) {
    std::string bytes;
    const std::string& path = opt.args[0];
    if (ReadWholeFile(path.c_str(), &bytes) != FILE_OK) {
        Say("%s: cannot read the record file\n", path.c_str());
        return false;
    }
    out->parsed = corvel::ParseRecords(bytes);
    out->damaged = out->parsed.status != corvel::ParseStatus::Ok;
    if (out->damaged)
        Say("%s: %s; the %zu complete records are judged\n", path.c_str(), out->parsed.message.c_str(),
            out->parsed.records.size());
    const std::size_t count = out->parsed.records.size();
    std::size_t first = 0, last = 0;
    const long to = opt.toFrame < 0 ? static_cast<long>(count) : opt.toFrame;
    const bool any = corvel::ClipRange(count, opt.fromFrame, to, &first, &last);
    if (!any) {
        Say("%s: no frames in the range (the file holds %zu records, frames 0 to %ld)\n", path.c_str(), count,
            static_cast<long>(count) - 1);
        first = opt.fromFrame < 0 ? 0 : static_cast<std::size_t>(opt.fromFrame);
        last = opt.toFrame < 0 ? first : static_cast<std::size_t>(opt.toFrame);
    }
    const corvel::FileRecord* recs = out->parsed.records.data();
    out->range = corvel::ComputeStats(recs, first, last, !any);
    out->signal =
        opt.signal.empty() ? corvel::StatSignalByName("gf_tenths") : corvel::StatSignalByName(opt.signal);
    out->hasBand = opt.band;
    if (opt.band) out->band = corvel::ComputeBand(recs, out->range, out->signal, opt.bandLo, opt.bandHi);
    return true;
}

int RunStats(const Options& opt) {
    Judged j;
    if (!LoadJudged(opt, &j)) return kBadInput;
    if (opt.json) {
        Out("%s", corvel::StatsJson(j.range, j.hasBand ? &j.band : nullptr).c_str());
    } else {
        Out("%s", corvel::StatsTable(j.range).c_str());
        if (j.hasBand) Out("%s", corvel::BandText(j.band, j.range.n).c_str());
    }
    return j.damaged ? kNoReply : kDone;
}

int RunReport(const Options&, char** argv) {
    // The helper lies beside corvel-ctl, in the build folder and when installed.
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string helper = "corvel-report";
    if (len > 0) {
        self[len] = '\0';
        helper = std::string(self, std::strrchr(self, '/') - self + 1) + helper;
    }
    argv[0] = const_cast<char*>(helper.c_str());
    execv(helper.c_str(), argv);
    Say("cannot start %s: %s\n", helper.c_str(), std::strerror(errno));
    return kBadInput;
}

}  // namespace ctl
