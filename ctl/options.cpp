// The command line of corvel-ctl: options may stand before or after the
// command; every value is checked here, before anything touches a port.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/corvel.h"
#include "ctl/ctl.h"
#include "recorder/recstats.h"

namespace ctl {

const char kUsage[] =
    "Usage: corvel-ctl [--com N | --device PATH]... COMMAND [ARGUMENTS]\n"
    "Sets up and reads CORVEL gloss sensors without the panels.\n"
    "\n"
    "Commands:\n"
    "  info                               print the sensor's version text\n"
    "  get --from ram|eeprom [-o FILE] [--json]\n"
    "                                     read the parameters: into a parameter file,\n"
    "                                     or printed by field name\n"
    "  send FILE --to ram|eeprom [--verify]\n"
    "                                     send a parameter file; --verify reads it back\n"
    "  diff A B                           fields that differ; A and B each a parameter\n"
    "                                     file, ram or eeprom\n"
    "  live [--frames N | --seconds S] [--csv FILE|-] [--keep-going]\n"
    "                                     live data as CSV (standard output by default)\n"
    "  record --interval S --count N FILE a timed recording into a record file\n"
    "  stats FILE [--from N] [--to M] [--signal NAME] [--band LO HI] [--json]\n"
    "                                     statistics of a record file's frames N to M\n"
    "                                     (from 0, M included); the band of one signal\n"
    "  report FILE -o OUT.pdf [the options of stats]\n"
    "                                     the same as a one-page PDF report\n"
    "\n"
    "Ports: --com N (COM n, as the panel program counts them; default COM 1) or\n"
    "--device PATH. Given more than once, the command runs on every port at the\n"
    "same time; a file name then needs %p, which becomes the port's name.\n"
    "\n"
    "Exit status: 0 done; 1 no reply or a lost frame; 2 bad usage or a bad file\n"
    "(nothing sent); 3 a difference found by --verify or diff; 4 the port cannot\n"
    "be opened.\n";

namespace {

bool Number(const char* s, long lo, long hi, long* out) {
    if (!s || !*s) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (errno || *end || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool Seconds(const char* s, double* out) {
    if (!s || !*s) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s, &end);
    if (errno || *end || !std::isfinite(v) || v < 0 || v > 86400.0 * 366) return false;
    *out = v;
    return true;
}

bool Memory(const char* s, int* out) {
    if (s && !std::strcmp(s, "ram"))
        *out = corvel::RAM;
    else if (s && !std::strcmp(s, "eeprom"))
        *out = corvel::EEPROM;
    else
        return false;
    return true;
}

bool Fail(std::string* why, const std::string& text) {
    *why = text;
    return false;
}

// Whether several ports could write into one file.
bool SharedFile(const Options& o, const std::string& name) {
    return o.ports.size() > 1 && !name.empty() && name != "-" && name.find("%p") == std::string::npos;
}

bool FrameNumber(const std::string& flag, const std::string& text, long* out, std::string* why) {
    if (!Number(text.c_str(), 0, 2147483647L, out))
        return Fail(why, flag + " needs a frame number 0 or more, not \"" + text + "\"");
    return true;
}

bool Limit(const char* s, double* out) {
    if (!s || !*s) return false;
    char* end = nullptr;
    errno = 0;
    *out = std::strtod(s, &end);
    return !errno && !*end && std::isfinite(*out);
}

// --from and --to name a memory for get and send, frames for stats and report.
bool ResolveFromTo(Options* o, std::string* why) {
    const bool frames = o->command == "stats" || o->command == "report";
    const std::string* texts[2] = {&o->fromText, &o->toText};
    const char* flags[2] = {"--from", "--to"};
    long* ends[2] = {&o->fromFrame, &o->toFrame};
    for (int i = 0; i < 2; ++i) {
        if (texts[i]->empty()) continue;
        if (frames) {
            if (!FrameNumber(flags[i], *texts[i], ends[i], why)) return false;
        } else if (!Memory(texts[i]->c_str(), &o->memory)) {
            return Fail(why, std::string(flags[i]) + " needs ram or eeprom, not \"" + *texts[i] + "\"");
        }
    }
    return true;
}

bool CheckJudging(Options* o, std::string* why) {
    const std::string& c = o->command;
    if (o->args.size() != 1) return Fail(why, c + " needs one record file");
    if (c == "report" && o->output.empty()) return Fail(why, "report needs -o OUT.pdf");
    if (c == "stats" && !o->output.empty()) return Fail(why, "-o belongs to report; stats prints");
    if (o->fromFrame >= 0 && o->toFrame >= 0 && o->toFrame < o->fromFrame)
        return Fail(why, "--to must not be less than --from");
    if (o->band && o->bandHi < o->bandLo) return Fail(why, "--band needs LO not above HI");
    if (!o->signal.empty() && corvel::StatSignalByName(o->signal) < 0)
        return Fail(
            why,
            "--signal needs a column name: ch_ref, ch_dir, ch_dif, norm, int, gf_tenths or temp, not \"" +
                o->signal + "\"");
    return true;
}

bool Check(Options* o, std::string* why) {
    const std::string& c = o->command;
    const size_t n = o->args.size();
    if (c.empty()) return Fail(why, "no command given");
    if (!ResolveFromTo(o, why)) return false;
    const bool judging = c == "stats" || c == "report";
    if (!judging && (!o->signal.empty() || o->band))
        return Fail(why, "--signal and --band belong to stats and report");
    if (judging) {
        if (!CheckJudging(o, why)) return false;
        if (o->json && c == "report") return Fail(why, "--json belongs to stats");
        if (!o->ports.empty()) return Fail(why, c + " reads a record file; it takes no port");
        return true;
    }
    if (!o->fromText.empty() || !o->toText.empty()) {
        if (c != "get" && c != "send")
            return Fail(why, "--from and --to belong to get, send, stats and report");
    }
    if (c == "info") {
        if (n) return Fail(why, "info takes no arguments");
    } else if (c == "get") {
        if (n) return Fail(why, "get takes no arguments besides its options");
        if (!o->memory) return Fail(why, "get needs --from ram or --from eeprom");
        if (SharedFile(*o, o->output)) return Fail(why, "with several ports, -o FILE needs %p in its name");
    } else if (c == "send") {
        if (n != 1) return Fail(why, "send needs one parameter file");
        if (!o->memory) return Fail(why, "send needs --to ram or --to eeprom");
    } else if (c == "diff") {
        if (n != 2) return Fail(why, "diff needs two operands: parameter files, ram or eeprom");
    } else if (c == "live") {
        if (n) return Fail(why, "live takes no arguments besides its options");
        if (o->frames && o->seconds > 0) return Fail(why, "give --frames or --seconds, not both");
        if (o->output.empty()) o->output = "-";
        if (SharedFile(*o, o->output))
            return Fail(why, "with several ports, --csv FILE needs %p in its name");
    } else if (c == "record") {
        if (n != 1) return Fail(why, "record needs one record file");
        if (o->interval < 0) return Fail(why, "record needs --interval S");
        if (o->count <= 0) return Fail(why, "record needs --count N");
        if (SharedFile(*o, o->args[0]))
            return Fail(why, "with several ports, the record file needs %p in its name");
    } else {
        return Fail(why, "unknown command \"" + c + "\"");
    }
    if (o->verify && c != "send") return Fail(why, "--verify belongs to send");
    if (o->ports.empty()) o->ports.push_back(Port{1, ""});
    return true;
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options* o, std::string* why) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto need = [&](const char* what) {
            if (!value) *why = a + " needs " + what;
            return value != nullptr;
        };
        long number = 0;
        if (a == "--com") {
            if (!need("a COM number")) return false;
            if (!Number(value, 1, 255, &number))
                return Fail(why, "--com needs a COM number 1 to 255, not \"" + std::string(value) + "\"");
            o->ports.push_back(Port{static_cast<int>(number), ""});
            ++i;
        } else if (a == "--device") {
            if (!need("a device path")) return false;
            if (!*value) return Fail(why, "--device needs a device path");
            o->ports.push_back(Port{0, value});
            ++i;
        } else if (a == "--from" || a == "--to") {
            if (!need("ram or eeprom, or a frame number")) return false;
            (a == "--from" ? o->fromText : o->toText) = value;
            ++i;
        } else if (a == "--signal") {
            if (!need("a signal name")) return false;
            o->signal = value;
            ++i;
        } else if (a == "--band") {
            if (i + 2 >= argc) return Fail(why, "--band needs two limits, LO and HI");
            if (!Limit(argv[i + 1], &o->bandLo) || !Limit(argv[i + 2], &o->bandHi))
                return Fail(why, "--band needs two numbers, LO and HI");
            o->band = true;
            i += 2;
        } else if (a == "-o" || a == "--csv") {
            if (!need("a file name")) return false;
            if (!*value) return Fail(why, a + " needs a file name");
            if (a == "-o" && !std::strcmp(value, "-"))
                return Fail(why, "-o needs a file name; without -o the fields are printed");
            o->output = value;
            ++i;
        } else if (a == "--frames") {
            if (!need("a count")) return false;
            if (!Number(value, 1, 1000000000L, &o->frames))
                return Fail(why, "--frames needs a count of 1 or more");
            ++i;
        } else if (a == "--seconds") {
            if (!need("seconds")) return false;
            if (!Seconds(value, &o->seconds) || o->seconds <= 0)
                return Fail(why, "--seconds needs a time in seconds above 0");
            ++i;
        } else if (a == "--interval") {
            if (!need("seconds")) return false;
            if (!Seconds(value, &o->interval))
                return Fail(why, "--interval needs a time in seconds, 0 or more");
            ++i;
        } else if (a == "--count") {
            if (!need("a count")) return false;
            if (!Number(value, 1, 65535, &o->count)) return Fail(why, "--count needs a count 1 to 65535");
            ++i;
        } else if (a == "--json") {
            o->json = true;
        } else if (a == "--verify") {
            o->verify = true;
        } else if (a == "--keep-going") {
            o->keepGoing = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail(why, "unknown option " + a);
        } else if (o->command.empty()) {
            o->command = a;
        } else {
            o->args.push_back(a);
        }
    }
    return Check(o, why);
}

std::string Port::Label() const {
    if (!device.empty()) return device;
    return "COM" + std::to_string(com);
}

std::string ForPort(const std::string& pattern, const Port& port) {
    std::string name;
    if (!port.device.empty()) {
        const size_t slash = port.device.find_last_of('/');
        name = slash == std::string::npos ? port.device : port.device.substr(slash + 1);
    } else {
        name = "com" + std::to_string(port.com);
    }
    std::string out = pattern;
    for (size_t at = out.find("%p"); at != std::string::npos; at = out.find("%p", at + name.size()))
        out.replace(at, 2, name);
    return out;
}

}  // namespace ctl
