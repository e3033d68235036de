// corvel-ctl as an integrator runs it: a separate program against the
// virtual sensor, judged by its exit status, its output and what the sensor
// received.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "params/paraio.h"
#include "platform/files.h"
#include "platform/serial.h"
#include "recorder/recread.h"
#include "support/sandbox.h"
#include "support/vsensor.h"

using testsupport::VirtualSensor;
using testsupport::VSensorState;

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

std::string CtlPath() {
    return VirtualSensor::ProgramPath().replace(VirtualSensor::ProgramPath().rfind('/') + 1,
                                                std::string::npos, "corvel-ctl");
}

// Starts corvel-ctl with stdout and stderr into files; returns its pid.
pid_t Start(const std::vector<std::string>& args, const std::string& dir) {
    std::vector<std::string> all = {CtlPath()};
    all.insert(all.end(), args.begin(), args.end());
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open((dir + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open((dir + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

Result Finish(pid_t pid, const std::string& dir) {
    Result r;
    int ws = 0;
    waitpid(pid, &ws, 0);
    r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
    r.out = testsupport::FileBytes(dir + "/out");
    r.err = testsupport::FileBytes(dir + "/err");
    return r;
}

class Ctl : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.empty()); }

    void StartSensor(std::vector<std::string> options = {}) {
        options.push_back("--unpaced");
        ASSERT_TRUE(vs.Start(5, options)) << VirtualSensor::ProgramPath();
    }
    Result Run(std::vector<std::string> args) { return Finish(Start(args, dir), dir); }
    VSensorState State() {
        VSensorState st;
        EXPECT_TRUE(vs.ReadState(&st));
        return st;
    }
    // A parameter file written by the panel program's own writer.
    std::string WriteFile(const char* name, const unsigned short* words) {
        const std::string path = dir + "/" + name;
        EXPECT_EQ(corvel::WriteParaFile(path.c_str(), words), FILE_OK);
        return path;
    }

    const testsupport::TempFolder tmp{"corvel-ctl-test"};
    const std::string& dir = tmp.path;
    VirtualSensor vs;
};

void MakePacket(unsigned short w[140]) {
    const unsigned short head[16] = {640, 1, 128, 1, 25, 44, 12, 1, 0, 0, 100, 900, 995, 7, 8, 9};
    for (int i = 0; i < 140; ++i) w[i] = i < 16 ? head[i] : static_cast<unsigned short>(i * 7 + 3);
}

TEST_F(Ctl, InfoGetSendVerifyAndDiffAgainstTheSensor) {
    StartSensor();
    Result r = Run({"--com", "5", "info"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("VIRTUAL"), std::string::npos) << r.out;
    EXPECT_EQ(State().Received(7), 1u);
    EXPECT_EQ(State().Received(3), 0u);  // info is order 7 alone

    // get -o: the bytes the panel program writes for the packet in RAM.
    r = Run({"--com", "5", "get", "--from", "ram", "-o", dir + "/got.dat"});
    EXPECT_EQ(r.status, 0) << r.err;
    const VSensorState before = State();
    EXPECT_EQ(testsupport::FileBytes(dir + "/got.dat"),
              testsupport::FileBytes(WriteFile("ram.dat", before.ram)));

    unsigned short w[140];
    MakePacket(w);
    const std::string file = WriteFile("mine.dat", w);
    r = Run({"--com", "5", "send", file, "--to", "eeprom", "--verify"});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    const VSensorState after = State();
    EXPECT_EQ(after.Received(1), 1u);
    EXPECT_EQ(after.Received(2), 31u);
    EXPECT_EQ(after.Received(6), 1u);
    EXPECT_EQ(after.Received(4), 1u);  // the verify read
    for (int i = 0; i < 140; ++i) ASSERT_EQ(after.eeprom[i], w[i]) << "word " << i;

    r = Run({"--com", "5", "diff", file, "eeprom"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "");
    // Two files need no sensor; every difference is named with both values.
    w[12] = 1003;
    w[16 + 4 * 5 + 1] = 77;
    r = Run({"diff", file, WriteFile("other.dat", w)});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.out.find("bias"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("-5"), std::string::npos) << r.out;  // bias shown signed
    EXPECT_NE(r.out.find("row5.c1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("77"), std::string::npos) << r.out;

    r = Run({"--com", "5", "get", "--from", "eeprom", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"power\":640,\"pmod\":1,", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"bias\":-5,\"pass1\":7"), std::string::npos) << r.out;
}

TEST_F(Ctl, VerifyNamesTheFieldTheSensorHoldsWrongly) {
    StartSensor({"--store-wrong", "21"});  // row 1, column 1
    unsigned short w[140];
    MakePacket(w);
    const Result r = Run({"--com", "5", "send", WriteFile("p.dat", w), "--to", "ram", "--verify"});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.out.find("row1.c1"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("row1.c0"), std::string::npos) << r.out;
    EXPECT_EQ(State().Received(6), 0u);  // RAM only
}

TEST_F(Ctl, BadInputIsRefusedWithNothingOnTheWire) {
    StartSensor();
    unsigned short w[140];
    MakePacket(w);
    const std::string good = WriteFile("good.dat", w);
    std::string text = testsupport::FileBytes(good);
    auto write = [&](const char* name, const std::string& content) {
        std::ofstream(dir + "/" + name, std::ios::binary) << content;
        return dir + "/" + name;
    };
    const std::string shortFile = write("short.dat", text.substr(0, text.size() / 2));
    const std::string word = write("word.dat", "  abc\n" + text.substr(6));
    const std::string big = write("big.dat", "70000\n" + text.substr(6));
    const std::string huge = write("huge.dat", std::string(40000, ' '));
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {{shortFile, "values"},
                                                                    {word, "not a number"},
                                                                    {big, "above 65535"},
                                                                    {huge, "larger"},
                                                                    {dir + "/fifo", "FIFO"},
                                                                    {"/dev/null", "device"},
                                                                    {dir + "/none", "cannot be read"}};
    for (const auto& c : cases) {
        const Result r = Run({"--com", "5", "send", c.first, "--to", "eeprom"});
        EXPECT_EQ(r.status, 2) << c.first;
        EXPECT_NE(r.err.find(c.second), std::string::npos) << r.err;
    }
    for (const auto& usage : std::vector<std::vector<std::string>>{
             {"send", good}, {"get"}, {"--com", "0", "info"}, {"live", "--frames", "x"}, {"frobnicate"}})
        EXPECT_EQ(Run(usage).status, 2);
    const VSensorState st = State();
    EXPECT_EQ(st.Received(7) + st.Received(1) + st.Received(3), 0u);
}

TEST_F(Ctl, PortsThatCannotBeUsedAndSensorsThatDoNotAnswer) {
    StartSensor();
    // Held by the panel program's open: busy, with the reason.
    ASSERT_EQ(OpenComConfig(5, "", 19200, 0, 8, 1, 1024, 1024), 0);
    Result r = Run({"--com", "5", "info"});
    CloseCom(5);
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("in use"), std::string::npos) << r.err;
    r = Run({"--device", dir + "/no-such-tty", "info"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("no-such-tty"), std::string::npos) << r.err;

    vs.Stop();
    StartSensor({"--no-answer"});
    r = Run({"--com", "5", "get", "--from", "ram"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("TIMEOUT"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(Ctl, LiveRowsAreWholeAndEndCleanlyOnASignal) {
    StartSensor();
    Result r = Run({"--com", "5", "live", "--frames", "5"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "frame,datetime,ch_ref,ch_dir,ch_dif,norm,int,gf_tenths,temp,vec,ms");
    int rows = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 10) << line;
        EXPECT_EQ(line.rfind(std::to_string(rows) + ",", 0), 0u) << line;
        EXPECT_EQ(line[line.find(',') + 20], '.') << line;  // milliseconds of the date-time
        ++rows;
    }
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(State().Received(5), 5u);

    const pid_t pid = Start({"--com", "5", "live", "--csv", dir + "/live.csv"}, dir);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    kill(pid, SIGINT);
    r = Finish(pid, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string csv = testsupport::FileBytes(dir + "/live.csv");
    ASSERT_GT(std::count(csv.begin(), csv.end(), '\n'), 2);
    EXPECT_EQ(csv.back(), '\n');

    // Refused frames: the loop ends at the first, or counts them with --keep-going.
    vs.Stop();
    StartSensor({"--long", "--fault-order", "5"});
    r = Run({"--com", "5", "live", "--frames", "3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(State().Received(5), 1u);
    r = Run({"--com", "5", "live", "--seconds", "0.3", "--keep-going"});
    EXPECT_EQ(r.status, 1);
    EXPECT_GT(State().Received(5), 3u);
    EXPECT_NE(r.err.find("frames lost"), std::string::npos) << r.err;
}

TEST_F(Ctl, RecordWritesTheRecordersFileFromAnEmptyStart) {
    StartSensor();
    const std::string file = dir + "/rec.dat";
    std::ofstream(file) << "old records";
    const Result r = Run({"--com", "5", "record", "--interval", "0.05", "--count", "3", file});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string bytes = testsupport::FileBytes(file);
    const corvel::ParsedRecords parsed = corvel::ParseRecords(bytes);
    EXPECT_EQ(parsed.status, corvel::ParseStatus::Ok) << parsed.message;
    ASSERT_EQ(parsed.records.size(), 3u);
    EXPECT_EQ(bytes.size(), 3u * 67);
    EXPECT_GT(parsed.records[0].values[1], 0u);  // CH_DIR measured
    EXPECT_EQ(State().Received(19), 3u);
}

TEST_F(Ctl, SeveralSensorsAtOnceAndOneSilent) {
    VirtualSensor silent;
    ASSERT_TRUE(silent.Start(6, {"--unpaced", "--no-answer"}));
    const std::string silentLink = silent.LinkPath();
    StartSensor();  // XDG_CONFIG_HOME now points at this one's folder
    unsigned short w[140];
    MakePacket(w);
    const Result r = Run({"--device", vs.LinkPath(), "--device", silentLink, "send", WriteFile("p.dat", w),
                          "--to", "ram", "--verify"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;  // the worst of both
    EXPECT_NE(r.out.find(vs.LinkPath() + "\tCORVEL"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\t0 done"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(silentLink + "\t-\t1 "), std::string::npos) << r.out;
    EXPECT_EQ(State().Received(3), 1u);  // the answering sensor was verified
    for (int i = 0; i < 140; ++i) ASSERT_EQ(State().ram[i], w[i]);
}

TEST(CtlProgram, LinksNoGuiLibrary) {
    FILE* p = popen(("ldd '" + CtlPath() + "'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string libs;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) libs += buf;
    EXPECT_EQ(pclose(p), 0);
    EXPECT_NE(libs.find("libc.so"), std::string::npos) << libs;
    for (const char* gui : {"libQt6Gui", "libQt6Widgets", "libX11", "libxcb", "libGL"})
        EXPECT_EQ(libs.find(gui), std::string::npos) << gui << " in\n" << libs;
}

}  // namespace
