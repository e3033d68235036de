// corvel-ctl: the sensor's parameters, live data and recordings from a
// shell, over the same link engine as the panel program. Shared parts of
// its small files.
#pragma once

#include <string>
#include <vector>

namespace ctl {

// Exit statuses, the same for every command.
enum Status {
    kDone = 0,
    kNoReply = 1,     // no reply, or a lost frame
    kBadInput = 2,    // bad usage or a bad file; nothing was sent
    kDifferent = 3,   // --verify or diff found a difference
    kPortFailed = 4,  // the port cannot be opened
};

struct Port {
    int com = 0;         // --com N, else 0
    std::string device;  // --device PATH, else empty
    std::string Label() const;
};

struct Options {
    std::string command;  // info, get, send, diff, live, record
    std::vector<Port> ports;
    std::vector<std::string> args;  // positional arguments after the command
    int memory = 0;                 // RAM or EEPROM for --from / --to
    std::string output;             // -o FILE (get), --csv FILE (live)
    bool json = false;
    bool verify = false;
    bool keepGoing = false;
    long frames = 0;       // live --frames (0: no limit)
    double seconds = 0;    // live --seconds (0: no limit)
    double interval = -1;  // record --interval
    long count = 0;        // record --count
    // stats and report: the frames --from N --to M (inclusive; -1 not given),
    // the band's signal and two limits.
    long fromFrame = -1, toFrame = -1;
    std::string signal;
    bool band = false;
    double bandLo = 0, bandHi = 0;
    std::string fromText, toText;  // --from / --to as given, read by the command
};

// Parses the command line; false with the reason in `why`.
bool ParseOptions(int argc, char** argv, Options* out, std::string* why);
extern const char kUsage[];

// Messages go to standard error, with the port's label in front when
// several ports run at once.
void SetMessagePrefix(const std::string& prefix);
void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Data lines to standard output, with the same prefix.
void Out(const char* format, ...) __attribute__((format(printf, 1, 2)));
const std::string& MessagePrefix();

// A parameter file read and checked completely, before any port is opened.
// False (the reason said) for anything but a regular file of 140 numbers
// 0 to 65535.
bool LoadParameterFile(const std::string& path, unsigned short words[140]);

// ---- one port ----
// Opens the port (--com N or --device PATH) as the panel program does and
// runs the link check (order 7). kDone, kPortFailed or kNoReply.
int OpenSensor(const Port& port);
// Closes it again.
void CloseSensor();
// The version text of the last link check, without its padding blanks.
std::string SensorVersion();
// Whether the command talks to a sensor (diff of two files does not).
bool NeedsPort(const Options& opt);
// Runs the command on one open sensor; the exit status. `fileWords` holds
// the parameter file of send, or the two operands of diff (140 words each,
// those named ram or eeprom are read from the sensor).
int RunCommand(const Options& opt, const unsigned short* fileWords);

// ---- the packet's fields by name ----
// Prints the packet as a table, or as JSON (naming `port` when not empty).
void PrintPacket(const unsigned short* words, bool json, const std::string& port);
// Prints every field that differs, with both values, under the headings;
// the number of differing fields.
int PrintDifferences(const unsigned short* a, const unsigned short* b, const char* headA, const char* headB);

// ---- live data and recordings ----
int RunLive(const Options& opt);
int RunRecord(const Options& opt);
// ---- judging a record file ----
// stats: the table and band figures of a record file, or JSON.
int RunStats(const Options& opt);
// report: the one-page PDF, written by the corvel-report helper beside
// corvel-ctl (which links the GUI libraries corvel-ctl keeps out).
int RunReport(const Options& opt, char** argv);

// Set by SIGINT and SIGTERM: the loops end after the frame in hand.
bool StopRequested();
void InstallStopHandlers();

// ---- several ports ----
// Runs the command on every port at once, one child process each, and
// prints one result line per port. The highest status of all.
int RunOnPorts(const Options& opt, const unsigned short* fileWords);

// The file name for one port: "%p" becomes the port's label made safe for
// a file name (COM3 -> com3, /dev/ttyUSB0 -> ttyUSB0).
std::string ForPort(const std::string& pattern, const Port& port);

}  // namespace ctl
