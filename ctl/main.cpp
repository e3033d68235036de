// corvel-ctl: parses the command line, checks every file before a port is
// touched, and runs the command on one port here or on several at once.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/corvel.h"
#include "ctl/ctl.h"

namespace {

bool IsMemory(const std::string& s) {
    return s == "ram" || s == "eeprom";
}

// Output files that would block or swallow data are refused up front.
bool OutputUsable(const std::string& name) {
    struct stat st;
    if (name == "-" || stat(name.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return true;
    ctl::Say("%s: not a regular file; give a file name\n", name.c_str());
    return false;
}

bool OutputsUsable(const ctl::Options& opt) {
    std::string pattern;
    if (opt.command == "live") pattern = opt.output;
    if (opt.command == "record") pattern = opt.args[0];
    if (opt.command == "get" || opt.command == "report") pattern = opt.output;
    if (pattern.empty()) return true;
    if (opt.ports.empty()) return OutputUsable(pattern);
    for (const ctl::Port& p : opt.ports)
        if (!OutputUsable(pattern == "-" ? pattern : ctl::ForPort(pattern, p))) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(ctl::kUsage, stdout);
            return ctl::kDone;
        }
    ctl::Options opt;
    std::string why;
    if (!ctl::ParseOptions(argc, argv, &opt, &why)) {
        std::fprintf(stderr, "corvel-ctl: %s\n(corvel-ctl --help shows the commands)\n", why.c_str());
        return ctl::kBadInput;
    }
    // Files first: a bad one ends here, with nothing on the wire.
    static unsigned short words[2 * corvel::kPacketWords];
    if (opt.command == "send" && !ctl::LoadParameterFile(opt.args[0], words)) return ctl::kBadInput;
    if (opt.command == "diff")
        for (int i = 0; i < 2; ++i)
            if (!IsMemory(opt.args[i]) &&
                !ctl::LoadParameterFile(opt.args[i], words + corvel::kPacketWords * i))
                return ctl::kBadInput;
    if (!OutputsUsable(opt)) return ctl::kBadInput;
    // A record file is judged without any port.
    if (opt.command == "stats") return ctl::RunStats(opt);
    if (opt.command == "report") return ctl::RunReport(opt, argv);

    if (!ctl::NeedsPort(opt)) return ctl::RunCommand(opt, words);
    ctl::InstallStopHandlers();
    if (opt.ports.size() > 1) return ctl::RunOnPorts(opt, words);
    int status = ctl::OpenSensor(opt.ports[0]);
    if (status == ctl::kDone) status = ctl::RunCommand(opt, words);
    ctl::CloseSensor();
    return status;
}
