// The virtual sensor as a separate process, driven over its pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/serial.h"
#include "port.h"
#include "pty_client.h"
#include "support/sandbox.h"
#include "support/vsensor.h"

using namespace vsensor;
using testsupport::VirtualSensor;
using testsupport::VSensorState;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

bool LinkExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::vector<uint16_t> Words(const uint8_t* bytes, int count) {
    std::vector<uint16_t> w(count);
    for (int i = 0; i < count; ++i) w[i] = WordAt(bytes, i);
    return w;
}

// A packet with a value in every word that differs from the factory one.
void MakePacket(uint16_t pp[kPacketWords]) {
    const uint16_t head[16] = {640, 1, 128, 1, 25, 44, 12, 3, 2, 1, 100, 900, 995, 7, 8, 9};
    std::memcpy(pp, head, sizeof head);
    for (int i = 16; i < kPacketWords; ++i) pp[i] = static_cast<uint16_t>(i * 7 + 3);
}

// A parameter send as the program writes it: order 1, then the 31 row
// telegrams, whose bytes 16..35 still hold those of the order-1 telegram.
void SendParameters(PtyClient& c, const uint16_t pp[kPacketWords + 1]) {
    uint8_t buf[kRequestBytes];
    EncodeRequest(kOrderParameters, pp, buf);
    ASSERT_TRUE(c.SendRaw(buf, sizeof buf));
    for (int row = 0; row < 31; ++row) {
        uint16_t head[8] = {kSync, kOrderTeachRow, static_cast<uint16_t>(row)};
        for (int i = 0; i < 5; ++i) head[3 + i] = pp[16 + 4 * row + i];
        EncodeWords(head, 8, buf);
        ASSERT_TRUE(c.SendRaw(buf, sizeof buf));
    }
}

class VSensorLink : public testing::Test {
protected:
    // Starts the sensor (answering at once unless `paced`) and opens the line.
    void StartSensor(std::vector<std::string> options, bool paced = false) {
        if (!paced) options.push_back("--unpaced");
        ASSERT_TRUE(vs.Start(4, options)) << "sensor did not start: " << VirtualSensor::ProgramPath();
        ASSERT_TRUE(client.Open(vs.LinkPath())) << vs.LinkPath();
    }
    int Ask(uint16_t order, int expected, int timeoutMs = 1000) {
        return client.Transact(order, nullptr, reply, sizeof reply, expected, timeoutMs);
    }
    VSensorState State() {
        VSensorState st;
        EXPECT_TRUE(vs.ReadState(&st));
        return st;
    }

    VirtualSensor vs;
    PtyClient client;
    uint8_t reply[1024];
};

TEST_F(VSensorLink, AnswersTheVersionAndSurvivesReopening) {
    StartSensor({"--gloss", "100"});
    ASSERT_EQ(Ask(kOrderVersion, 96), 96);
    std::string text;
    for (int i = 0; i < 48; ++i) text += static_cast<char>(reply[2 * i + 1]);
    EXPECT_EQ(text, std::string(kVersionText));
    EXPECT_EQ(text.rfind("CORVEL GLOSS SENSOR VIRTUAL V2.0", 0), 0u);

    // The program closes and reopens the port on a port change.
    client.Close();
    usleep(20000);
    ASSERT_TRUE(client.Open(vs.LinkPath()));
    EXPECT_EQ(Ask(kOrderVersion, 96), 96);
    EXPECT_TRUE(vs.Running());
    EXPECT_EQ(State().Received(kOrderVersion), 2u);
}

TEST_F(VSensorLink, ParametersSentToRamReadBackAndStoredInEeprom) {
    StartSensor({"--gloss", "40"});
    uint16_t pp[kPacketWords + 1] = {0};
    MakePacket(pp);
    SendParameters(client, pp);
    ASSERT_EQ(Ask(kOrderReadRam, 280), 280);
    EXPECT_EQ(Words(reply, kPacketWords), std::vector<uint16_t>(pp, pp + kPacketWords));

    // Not yet in the EEPROM.
    ASSERT_EQ(Ask(kOrderReadEeprom, 280), 280);
    EXPECT_NE(Words(reply, kPacketWords), std::vector<uint16_t>(pp, pp + kPacketWords));

    ASSERT_TRUE(client.Send(kOrderStoreEeprom, pp));
    ASSERT_EQ(Ask(kOrderReadEeprom, 280), 280);
    EXPECT_EQ(Words(reply, kPacketWords), std::vector<uint16_t>(pp, pp + kPacketWords));

    VSensorState st = State();
    EXPECT_EQ(st.Received(kOrderParameters), 1u);
    EXPECT_EQ(st.Received(kOrderTeachRow), 31u);
    EXPECT_EQ(st.Received(kOrderStoreEeprom), 1u);
    EXPECT_EQ(st.Received(kOrderReadEeprom), 2u);
    EXPECT_EQ(std::memcmp(st.ram, pp, sizeof st.ram), 0);
    EXPECT_EQ(std::memcmp(st.eeprom, pp, sizeof st.eeprom), 0);
}

TEST_F(VSensorLink, EepromAndCalibrationSurviveARestart) {
    uint16_t pp[kPacketWords + 1] = {0};
    MakePacket(pp);
    std::string eeprom = vs.EepromPath();
    StartSensor({"--eeprom", eeprom});
    SendParameters(client, pp);
    ASSERT_TRUE(client.Send(kOrderStoreEeprom, pp));
    uint16_t cal[kFrameWords] = {601, 3852, 1925};
    ASSERT_TRUE(client.Send(kOrderStoreCalibration, cal));
    ASSERT_TRUE(vs.WaitForReceived(kOrderStoreCalibration, 1, 1000));
    client.Close();
    ASSERT_TRUE(vs.Stop());

    StartSensor({"--eeprom", eeprom});
    ASSERT_EQ(Ask(kOrderReadEeprom, 280), 280);
    EXPECT_EQ(Words(reply, kPacketWords), std::vector<uint16_t>(pp, pp + kPacketWords));
    // Power-up loads the EEPROM into RAM.
    ASSERT_EQ(Ask(kOrderReadRam, 280), 280);
    EXPECT_EQ(Words(reply, kPacketWords), std::vector<uint16_t>(pp, pp + kPacketWords));
    ASSERT_EQ(Ask(kOrderReadCalibration, 32), 32);
    std::vector<uint16_t> back = Words(reply, 16);
    EXPECT_EQ(back[0], 601);
    EXPECT_EQ(back[1], 3852);
    EXPECT_EQ(back[2], 1925);
    EXPECT_EQ(back[13], 7);  // the rest as the packet holds it
    EXPECT_EQ(back[15], 9);
}

TEST_F(VSensorLink, DataFramesAreSane) {
    StartSensor({"--gloss", "100"});
    for (int i = 0; i < 10; ++i) {
        uint16_t order = i % 2 ? kOrderRecordData : kOrderData;
        ASSERT_EQ(Ask(order, 32), 32) << "frame " << i;
        std::vector<uint16_t> f = Words(reply, 16);
        for (int c = 0; c < 3; ++c) EXPECT_LE(f[c], 4095);
        int sum = f[kFDir] + f[kFDif];
        ASSERT_GT(sum, 0);
        EXPECT_EQ(f[kFNorm], f[kFDir] * 1000 / sum);
        EXPECT_EQ(f[kFInt], sum / 2);
        EXPECT_GE(f[kFTemp], 250);
        EXPECT_LE(f[kFTemp], 260);
        EXPECT_EQ(f[kFVec], 3);         // the reference, taught into row 3 at the factory
        EXPECT_GT(f[kFDir], f[kFDif]);  // a glossy surface reflects mostly directly
    }
    VSensorState st = State();
    EXPECT_EQ(st.frames, 10u);
    EXPECT_EQ(st.Received(kOrderData), 5u);
    EXPECT_EQ(st.Received(kOrderRecordData), 5u);
}

TEST_F(VSensorLink, GarbageBeforeARequestIsSkipped) {
    StartSensor({});
    const uint8_t junk[] = {0xFF, 0x13, 0x55, 0x00, 0x00, 0x00, 0xAA, 0x00};
    ASSERT_TRUE(client.SendRaw(junk, sizeof junk));
    EXPECT_EQ(Ask(kOrderVersion, 96), 96);
    EXPECT_EQ(reply[1], 'C');
    EXPECT_GE(State().skipped, sizeof junk - 2);
}

TEST_F(VSensorLink, RepliesArePacedAtLineSpeed) {
    StartSensor({"--gloss", "40", "--answer-ms", "20"}, true);
    auto t = Clock::now();
    ASSERT_EQ(client.Transact(kOrderReadRam, nullptr, reply, sizeof reply, 280, 2000), 280);
    double ms = MsSince(t) - 30;  // minus the settling of Receive
    // 280 bytes at 19200 baud 8N1 take 146 ms, after the answer time.
    EXPECT_GT(ms, 150);
    EXPECT_LT(ms, 600);
}

TEST_F(VSensorLink, UnpacedRepliesComeAtOnce) {
    StartSensor({"--gloss", "40"});
    auto t = Clock::now();
    ASSERT_EQ(Ask(kOrderReadRam, 280), 280);
    EXPECT_LT(MsSince(t) - 30, 60);
}

struct LengthFault {
    const char* option;
    int delta;  // bytes more (or less) than the right length; -999: none at all
};

class VSensorLengthFault : public VSensorLink, public testing::WithParamInterface<LengthFault> {};

TEST_P(VSensorLengthFault, AppliesToEveryOrderWithAReply) {
    StartSensor({GetParam().option});
    for (auto [order, length] :
         {std::pair<uint16_t, int>{3, 280}, {4, 280}, {5, 32}, {7, 96}, {9, 32}, {19, 32}}) {
        int want = GetParam().delta == -999 ? 0 : length + GetParam().delta;
        EXPECT_EQ(Ask(order, length, 300), want) << GetParam().option << " order " << order;
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, VSensorLengthFault,
                         testing::Values(LengthFault{"--short", -1}, LengthFault{"--long", +1},
                                         LengthFault{"--no-answer", -999}),
                         [](const testing::TestParamInfo<LengthFault>& info) {
                             std::string name;
                             for (const char* c = info.param.option; *c; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name;
                         });

TEST_F(VSensorLink, FaultOrderLimitsTheFaultToOneOrder) {
    StartSensor({"--short", "--fault-order", "5"});
    EXPECT_EQ(Ask(kOrderVersion, 96), 96);
    EXPECT_EQ(Ask(kOrderData, 32, 300), 31);
    EXPECT_EQ(Ask(kOrderRecordData, 32), 32);
    EXPECT_EQ(Ask(kOrderReadRam, 280), 280);
}

TEST_F(VSensorLink, GarbageFaultPutsBytesBeforeTheReply) {
    StartSensor({"--garbage", "--fault-order", "7"});
    int n = Ask(kOrderVersion, 96);
    ASSERT_GT(n, 96);
    ASSERT_LE(n, 96 + 8);
    const uint8_t* tail = reply + (n - 96);
    for (int i = 0; i < 48; ++i) EXPECT_EQ(tail[2 * i + 1], static_cast<uint8_t>(kVersionText[i]));
    EXPECT_EQ(Ask(kOrderData, 32), 32);
}

TEST_F(VSensorLink, LateFaultAnswersAfterTheTimeOut) {
    StartSensor({"--late", "--fault-order", "5"});
    auto t = Clock::now();
    tcflush(client.fd(), TCIFLUSH);
    ASSERT_TRUE(client.Send(kOrderData));
    EXPECT_EQ(client.Receive(reply, sizeof reply, 32, 2000, 0), 0);  // the program gives up here
    EXPECT_EQ(client.Receive(reply, sizeof reply, 32, 1500), 32);
    double ms = MsSince(t);
    EXPECT_GT(ms, 2400);
    EXPECT_LT(ms, 3400);
}

TEST_F(VSensorLink, HangUpAfterDataFrames) {
    StartSensor({"--hangup-after", "2"});
    EXPECT_EQ(Ask(kOrderVersion, 96), 96);  // not a data frame
    EXPECT_EQ(Ask(kOrderData, 32), 32);
    EXPECT_EQ(Ask(kOrderRecordData, 32), 32);
    EXPECT_TRUE(vs.WaitExit(2000));
    EXPECT_FALSE(LinkExists(vs.LinkPath()));
    // The line is dead now.
    client.Send(kOrderData);
    EXPECT_LE(client.Receive(reply, sizeof reply, 32, 200), 0);
}

TEST_F(VSensorLink, LinkGoesAwayOnSigterm) {
    StartSensor({});
    std::string link = vs.LinkPath();
    char target[256];
    ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    ASSERT_GT(n, 0);
    target[n] = 0;
    EXPECT_EQ(std::string(target).rfind("/dev/pts/", 0), 0u);
    client.Close();
    EXPECT_TRUE(vs.Stop());  // exits with status 0
    EXPECT_FALSE(LinkExists(link));
}

TEST_F(VSensorLink, ReplacesAStaleLinkAndUsesTheComNumber) {
    const std::string folder = testsupport::LinkFolder(vs.folder());
    ASSERT_EQ(testsupport::LinkCom(vs.folder(), 4, "/dev/pts/nonexistent"), folder + "/com4");
    StartSensor({});
    EXPECT_EQ(Ask(kOrderVersion, 96), 96);
    EXPECT_EQ(vs.LinkPath(), folder + "/com4");
    EXPECT_EQ(std::string(getenv("XDG_CONFIG_HOME")), vs.folder());
}

TEST_F(VSensorLink, ScenarioCyclesThroughTheTaughtSurfaces) {
    StartSensor({"--scenario", "--period", "0.1"});
    bool seen[4] = {false, false, false, false};
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(Ask(kOrderData, 32), 32);
        uint16_t vec = WordAt(reply, kFVec);
        if (vec < 4) seen[vec] = true;
        usleep(5000);
    }
    // Matt, satin, glossy and the reference are taught into rows 0..3.
    for (int r = 0; r < 4; ++r) EXPECT_TRUE(seen[r]) << "row " << r;
}

TEST_F(VSensorLink, TraceDecodesEveryTelegram) {
    StartSensor({"--trace"});
    ASSERT_EQ(Ask(kOrderVersion, 96), 96);
    uint16_t cal[kFrameWords] = {512, 3800, 1700};
    ASSERT_TRUE(client.Send(kOrderStoreCalibration, cal));
    ASSERT_TRUE(vs.WaitForReceived(kOrderStoreCalibration, 1, 1000));
    client.Close();
    ASSERT_TRUE(vs.Stop());
    std::ifstream f(vs.LogPath());
    std::string log((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("rx order 7 VERSION"), std::string::npos) << log;
    EXPECT_NE(log.find("tx 96 bytes to order 7: \"CORVEL GLOSS SENSOR VIRTUAL V2.0"), std::string::npos)
        << log;
    EXPECT_NE(log.find("rx order 8 STORE-CALIB power=512 dir=3800 ref=1700"), std::string::npos) << log;
}

TEST(VSensorPort, LeavesAMappingToARealPortAlone) {
    VirtualSensor vs;
    const std::string link = testsupport::LinkCom(vs.folder(), 2, "/dev/null");
    ASSERT_EQ(link, testsupport::LinkFolder(vs.folder()) + "/com2");
    EXPECT_FALSE(vs.Start(2, {}));
    char target[64] = {0};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "/dev/null");
}

TEST(VSensorOptions, RejectsBadOptions) {
    VirtualSensor vs;
    EXPECT_FALSE(vs.Start(2, {"--bogus"}));
    EXPECT_FALSE(vs.Start(2, {"--answer-ms"}));
    EXPECT_FALSE(vs.Start(2, {"--gloss", "abc"}));
    std::string help = VirtualSensor::ProgramPath() + " --help > /dev/null";
    EXPECT_EQ(system(help.c_str()), 0);
}

// The sensor publishes where the program looks, whatever XDG_CONFIG_HOME holds.
TEST(VSensorPort, FindsTheSameLinkFolderAsTheProgram) {
    const testsupport::ScopedEnv saved("XDG_CONFIG_HOME");
    char program[4200], sensor[4200];
    const std::string tooLong = "/" + std::string(4090, 'c');
    for (const std::string& xdg : {std::string("/tmp/absolute"), std::string("relative/cfg"), tooLong}) {
        saved.Set(xdg);
        const bool programOk = ComLinkFolder(program, sizeof program) == 0;
        const bool sensorOk = LinkFolder(sensor, sizeof sensor);
        ASSERT_EQ(programOk, sensorOk) << xdg.substr(0, 20);
        if (programOk) {
            EXPECT_STREQ(program, sensor);
        }
        if (xdg[0] != '/') {
            EXPECT_EQ(std::string(sensor).find("relative"), std::string::npos);
        }
        if (xdg == tooLong) {
            EXPECT_FALSE(sensorOk);
        }
    }
}

}  // namespace
