// One sensor: the port taken as the panel program takes it, the link check,
// and the parameter commands info, get, send and diff.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/corvel.h"
#include "ctl/ctl.h"
#include "link/engine.h"
#include "link/link.h"
#include "link/portinfo.h"
#include "params/paraio.h"
#include "platform/files.h"
#include "platform/serial.h"

namespace ctl {

namespace {

constexpr int kWords = corvel::kPacketWords;
std::string prefix;

void Print(FILE* to, const char* format, va_list args) {
    // One write per line, so that lines of several ports never mix.
    char line[4096];
    std::vsnprintf(line, sizeof line, format, args);
    std::fprintf(to, "%s%s", prefix.c_str(), line);
    std::fflush(to);
}

const char* MemoryName(int memory) {
    return memory == corvel::EEPROM ? "EEPROM" : "RAM";
}

// The version text without the blanks that pad it to 48 characters.
std::string VersionText() {
    std::string v = corvel::version;
    while (!v.empty() && (v.back() == ' ' || v.back() == '\0')) v.pop_back();
    return v;
}

// The reason of a failed exchange, e.g. "no reply (TIMEOUT)".
std::string Why(corvel::LinkResult r) {
    std::string why = corvel::LinkResultText(r);
    if (r == corvel::LINK_REFUSED) why += ": " + std::to_string(corvel::nBytesR) + " bytes read";
    if (r == corvel::LINK_PORT_GONE) {
        char detail[768];
        corvel::PortDetailText(corvel::com, detail, sizeof detail);
        if (detail[0]) why += ": " + std::string(detail);
    }
    return why;
}

// The packet held in `memory`, after the pause rule.
int ReadPacket(int memory, unsigned short* words) {
    corvel::WaitTransDelay();
    const corvel::LinkResult r = corvel::LinkReadPacket(static_cast<unsigned short>(memory));
    if (r != corvel::LINK_ACCEPTED) {
        Say("reading the parameters from %s failed: %s\n", MemoryName(memory), Why(r).c_str());
        return kNoReply;
    }
    std::memcpy(words, corvel::pp, sizeof(unsigned short) * kWords);
    return kDone;
}

int Get(const Options& opt) {
    unsigned short words[kWords];
    const int status = ReadPacket(opt.memory, words);
    if (status != kDone) return status;
    if (opt.output.empty()) {
        // One port alone prints plain JSON; several name theirs in it.
        const std::string port = MessagePrefix().empty() ? "" : opt.ports[0].Label();
        PrintPacket(words, opt.json, port);
        return kDone;
    }
    const std::string file = ForPort(opt.output, opt.ports[0]);
    if (corvel::WriteParaFile(file.c_str(), words) != FILE_OK) {
        Say("%s: the parameter file could not be written: %s\n", file.c_str(),
            std::strerror(errno ? errno : EIO));
        return kBadInput;
    }
    return kDone;
}

int Send(const Options& opt, const unsigned short* fileWords) {
    // The packet as the panel program would send it after loading the file.
    std::memcpy(corvel::pp, fileWords, sizeof(unsigned short) * kWords);
    corvel::CopyPPtoVars();
    corvel::CopyVarsToPP();
    if (corvel::pp[6] != fileWords[6])
        Say("maxno %u in the file is above 31; 31 is sent, as the panel program does\n", fileWords[6]);
    unsigned short sent[kWords];
    std::memcpy(sent, corvel::pp, sizeof sent);

    corvel::WaitTransDelay();
    const corvel::LinkResult r = corvel::LinkSendPacket(static_cast<unsigned short>(opt.memory));
    if (r != corvel::LINK_ACCEPTED) {
        Say("sending the parameters to %s failed: %s\n", MemoryName(opt.memory), Why(r).c_str());
        return kNoReply;
    }
    if (!opt.verify) return kDone;

    unsigned short held[kWords];
    const int status = ReadPacket(opt.memory, held);
    if (status != kDone) return status;
    const std::string head = std::string("in ") + (opt.memory == corvel::EEPROM ? "eeprom" : "ram");
    const int differing = PrintDifferences(sent, held, "sent", head.c_str());
    if (differing == 0) return kDone;
    Say("verify: %d field%s in %s differ%s from what was sent\n", differing, differing == 1 ? "" : "s",
        MemoryName(opt.memory), differing == 1 ? "s" : "");
    return kDifferent;
}

bool IsMemory(const std::string& operand) {
    return operand == "ram" || operand == "eeprom";
}

}  // namespace

void SetMessagePrefix(const std::string& p) {
    prefix = p;
}

const std::string& MessagePrefix() {
    return prefix;
}

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Print(stderr, format, args);
    va_end(args);
}

void Out(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Print(stdout, format, args);
    va_end(args);
}

namespace {

// The port's name before a message, unless the prefix already gives it.
std::string Who(const Port& port) {
    return MessagePrefix().empty() ? port.Label() + ": " : "";
}

// Why the port did not open, and what helps (the dialout remedy included).
std::string PortProblem(const Port& port) {
    ComPortInfo info;
    if (GetComPortInfo(corvel::com, &info) == 0 && info.fault == COM_FAULT_MISSING) {
        if (!port.device.empty())
            return std::string(info.device) +
                   ": no such device. Plug it in, or check the path given to --device.";
        char folder[4096] = "";
        ComLinkFolder(folder, sizeof folder);
        const std::string n = std::to_string(port.com);
        return std::string(info.device) + ": no such device. Plug it in, or link COM" + n +
               " to it: " + folder + "/com" + n + " (PORTS... in corvel-scope).";
    }
    char detail[768];
    corvel::PortDetailText(corvel::com, detail, sizeof detail);
    return detail;
}

}  // namespace

int OpenSensor(const Port& port) {
    // A named device takes the place of COM 1's link in this process.
    corvel::com = static_cast<unsigned short>(port.device.empty() ? port.com : 1);
    corvel::ret =
        static_cast<short>(OpenComConfig(corvel::com, port.device.c_str(), 19200, 0, 8, 1, 1024, 1024));
    if (corvel::ret < 0) {
        const std::string why = PortProblem(port);
        Say("%s%s%s%s\n", Who(port).c_str(), corvel::OpenErrorText(corvel::ret), why.empty() ? "" : ": ",
            why.c_str());
        return kPortFailed;
    }
    SetComTime(corvel::com, 2.0);
    FlushInQ(corvel::com);
    FlushOutQ(corvel::com);
    SetCTSMode(corvel::com, 0);
    // The pause rule starts as at the panel program's start.
    corvel::transbeg = Timer();
    corvel::waitdel = 0.1;
    const corvel::LinkResult r = corvel::LinkReadVersion();
    if (r != corvel::LINK_ACCEPTED) {
        Say("%sno answer from the sensor: %s\n", Who(port).c_str(), Why(r).c_str());
        return kNoReply;
    }
    return kDone;
}

void CloseSensor() {
    CloseCom(corvel::com);
}

std::string SensorVersion() {
    return VersionText();
}

int RunCommand(const Options& opt, const unsigned short* fileWords) {
    const std::string& c = opt.command;
    if (c == "info") {
        Out("%s\n", VersionText().c_str());
        return kDone;
    }
    if (c == "get") return Get(opt);
    if (c == "send") return Send(opt, fileWords);
    if (c == "live") return RunLive(opt);
    if (c == "record") return RunRecord(opt);
    // diff: the files were read before the port was opened.
    unsigned short a[kWords], b[kWords];
    const unsigned short* sides[2] = {fileWords, fileWords ? fileWords + kWords : nullptr};
    unsigned short* held[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        const std::string& operand = opt.args[i];
        if (IsMemory(operand)) {
            const int status = ReadPacket(operand == "eeprom" ? corvel::EEPROM : corvel::RAM, held[i]);
            if (status != kDone) return status;
        } else {
            std::memcpy(held[i], sides[i], sizeof a);
        }
    }
    return PrintDifferences(a, b, opt.args[0].c_str(), opt.args[1].c_str()) ? kDifferent : kDone;
}

bool NeedsPort(const Options& opt) {
    if (opt.command != "diff") return true;
    return IsMemory(opt.args[0]) || IsMemory(opt.args[1]);
}

}  // namespace ctl
