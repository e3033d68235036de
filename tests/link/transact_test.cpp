// Transactions, the link check and the port change against a scripted
// sensor on a pseudo-terminal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "app/corvel.h"
#include "link/link.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/fakesensor.h"
#include "support/panels.h"
#include "uir_ids.h"

using namespace corvel;
using testsupport::FakeSensor;

namespace {

const int kPort = 11;
const char kVersion[] = "GLOSS-SENSOR V3.1 TEST UNIT 0815 ........ 2024!";  // 47 + the 48th below

std::string Status() {
    return testsupport::CtrlText(panel, P_DISPSTATUS);
}

class Link : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::FreshStart());
        ASSERT_TRUE(sensor.Start(
            kPort, [this](const FakeSensor::Request& r, unsigned char* out) { return Answer(r, out); }));
        com = kPort;
        transbeg = Timer() - 10;
        waitdel = 0;
        memset(pp, 0, sizeof pp);
        strcpy(version, "SENSOR TITLE");
    }
    void TearDown() override {
        CloseCom(com);
        sensor.Stop();
        EXPECT_EQ(seam::Pending(), 0) << "scripted popups left unanswered";
    }
    void Open() {
        ASSERT_EQ(OpenComConfig(com, "", 19200, 0, 8, 1, 1024, 1024), 0);
        ASSERT_EQ(SetComTime(com, 2.0), 0);
    }
    // Length of the reply for each order; -1 for none.
    int Answer(const FakeSensor::Request& r, unsigned char* out) {
        int order = FakeSensor::Word(r, 1);
        int len = -1;
        if (order == 3 || order == 4) len = paraLen;
        if (order == 5) len = frames-- > 0 ? dataLen.load() : -1;
        if (order == 7) len = versionLen;
        for (int i = 0; i < len / 2 + 1; ++i)
            FakeSensor::PutWord(out, i, static_cast<unsigned short>(50000 + i));
        if (order == 7) {
            for (int i = 0; i < 48; ++i) {
                out[2 * i] = static_cast<unsigned char>(0xF0 + i % 7);  // ignored high bytes
                out[2 * i + 1] = static_cast<unsigned char>(i < 47 ? kVersion[i] : '#');
            }
        }
        if (order == 3 || order == 4) {
            FakeSensor::PutWord(out, 0, static_cast<unsigned short>(order == 3 ? 333 : 444));  // power
            // The rest fits the panel: pmod, evalmode, intlim, trigger, extteach, analog out.
            const unsigned short fit[][2] = {{1, 1}, {3, 1}, {8, 2}, {9, 0}, {10, 100}, {11, 4000}};
            for (const auto& f : fit) FakeSensor::PutWord(out, f[0], f[1]);
            FakeSensor::PutWord(out, 5, paraIntlim);
            FakeSensor::PutWord(out, 6, 40);    // maxno
            FakeSensor::PutWord(out, 7, 1);     // binary outputs: no vector-count warning
            FakeSensor::PutWord(out, 12, 995);  // bias -5
            FakeSensor::PutWord(out, 13, 7);
            FakeSensor::PutWord(out, 14, 8);
            FakeSensor::PutWord(out, 15, 9);
        }
        return len;
    }
    // Waits (briefly) until the sensor thread has taken `count` requests.
    std::vector<int> Orders(size_t count) {
        for (int i = 0; i < 200 && sensor.Received().size() < count; ++i) usleep(10000);
        usleep(20000);
        return sensor.Orders();
    }
    void ExpectTimeoutPopup(const char* title) {
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(seam::Shown()[0].title, title);
        EXPECT_EQ(seam::Shown()[0].text, kTimeoutText);
        EXPECT_EQ(Status(), "TIMEOUT");
    }

    FakeSensor sensor;
    std::atomic<int> paraLen{280}, dataLen{32}, versionLen{96}, frames{1000};
    std::atomic<unsigned short> paraIntlim{4000};
};

// The reports word for word; the other tests compare with the program's own texts.
TEST(LinkTexts, AreTheOperatorsWords) {
    EXPECT_STREQ(
        kTimeoutText,
        " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR. \n The version of the sensor is "
        "displayed as the name of this dialog box.");
    EXPECT_STREQ(kNoLinkText, " ATTENTION! \n \n TIMEOUT \n NO SERIAL CONNECTION TO SENSOR.");
}

TEST_F(Link, SendToRamAndToEeprom) {
    Open();
    for (int eeprom = 0; eeprom < 2; ++eeprom) {
        sensor.ClearReceived();
        target = eeprom ? EEPROM : RAM;
        pp[13] = 7;  // pass-through words ride along
        pp[15] = 9;
        double t0 = Timer();
        SendPara();
        EXPECT_EQ(waitdel, 1.0);
        EXPECT_GE(transbeg, t0);
        std::vector<int> orders = Orders(eeprom ? 33 : 32);
        std::vector<int> expected(1, 1);
        expected.insert(expected.end(), 31, 2);
        if (eeprom) expected.push_back(6);
        EXPECT_EQ(orders, expected);
        std::vector<FakeSensor::Request> got = sensor.Received();
        ASSERT_GE(got.size(), 32u);
        EXPECT_EQ(FakeSensor::Word(got[0], 2 + 13), 7);
        EXPECT_EQ(FakeSensor::Word(got[0], 2 + 15), 9);
        for (int row = 0; row < 31; ++row) {
            EXPECT_EQ(FakeSensor::Word(got[1 + row], 2), row);
            EXPECT_EQ(memcmp(got[1 + row].data() + 16, got[0].data() + 16, 20), 0) << "row " << row;
        }
    }
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(Link, SendOnAClosedPortReportsAtOnce) {
    CloseCom(com);
    seam::ExpectMessage();
    SendPara();
    ExpectTimeoutPopup("SENSOR TITLE");
    EXPECT_TRUE(Orders(0).empty());
}

TEST_F(Link, ParameterReadAcceptedAndFedToThePanel) {
    Open();
    target = EEPROM;
    paraIntlim = 5000;  // more than the panel holds: said once, not hidden
    seam::ExpectMessage();
    GetPara();
    EXPECT_EQ(Orders(1), std::vector<int>{4});
    EXPECT_EQ(power, 444);
    EXPECT_EQ(maxno, 31);
    EXPECT_EQ(bias, -5);
    EXPECT_EQ(pp[13], 7);
    EXPECT_EQ(pp[16], 50016) << "the teach table as read";
    EXPECT_EQ(waitdel, 0.1);
    ASSERT_EQ(seam::Shown().size(), 1u);
    EXPECT_EQ(seam::Shown()[0].title, "ATTENTION!");
    EXPECT_EQ(
        seam::Shown()[0].text,
        " Some values read do not fit the panel: \n INTLIM: read 5000, the panel shows 4095 \n The panel "
        "values go to the sensor with the next send. ");
    unsigned short shown = 0;
    GetCtrlVal(panel, P_SLIDEPOWER, &shown);
    EXPECT_EQ(shown, 444) << "the read is shown on the panel";
}

TEST_F(Link, ShortParameterReplyTimesOutAndChangesNothing) {
    Open();
    paraLen = 279;
    power = 12;
    pp[0] = 12;
    seam::ExpectMessage();
    double t0 = Timer();
    GetPara();
    double took = Timer() - t0;
    EXPECT_GE(took, 1.95);
    EXPECT_LT(took, 3.0);
    ExpectTimeoutPopup("SENSOR TITLE");
    EXPECT_EQ(power, 12);
    EXPECT_EQ(pp[0], 12);
    EXPECT_EQ(nBytesR, 279);
}

TEST_F(Link, MoreBytesThanTheBufferAreRefusedWithoutOverflow) {
    Open();
    paraLen = 1100;
    pp[0] = 12;
    seam::ExpectMessage();
    double t0 = Timer();
    GetPara();
    EXPECT_LT(Timer() - t0, 1.5) << "enough bytes wait at once";
    EXPECT_EQ(nBytesR, 1024);
    EXPECT_EQ(pp[0], 12);
    ExpectTimeoutPopup("SENSOR TITLE");
}

TEST_F(Link, LiveLoopShowsFramesAndStopsOnAMissingReply) {
    Open();
    frames = 3;
    dataChRef = 0;
    seam::ExpectMessage();
    GetData();
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(Orders(4), std::vector<int>(4, 5));
    EXPECT_EQ(dataChRef, 50000);
    EXPECT_EQ(dataTemp, 50007);
    unsigned short shown = 0;
    GetCtrlVal(panel, P_DISPCHREF, &shown);
    EXPECT_EQ(shown, 50000);
    ExpectTimeoutPopup("SENSOR TITLE");
}

TEST_F(Link, LiveFrameOfWrongLengthIsRefused) {
    Open();
    dataLen = 33;
    dataChRef = 4;
    strcpy(version, "");
    seam::ExpectMessage();
    GetData();
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(dataChRef, 4);
    EXPECT_EQ(nBytesR, 33);
    ExpectTimeoutPopup("");  // before any link check the title is empty
}

TEST_F(Link, SingleFrameShowsOnTheCalibrationPanel) {
    Open();
    order = 5;
    poll = 7;  // not consulted
    GetDataFrame();
    EXPECT_EQ(poll, 7);
    EXPECT_EQ(dataChDir, 50001);
    unsigned short dir = 0, ref = 0;
    GetCtrlVal(calibpanel, CALIBP_CALIBDISPCHDIR, &dir);
    GetCtrlVal(calibpanel, CALIBP_CALIBDISPCHREF, &ref);
    EXPECT_EQ(dir, 50001);
    EXPECT_EQ(ref, 50000);
}

TEST_F(Link, ReadWithinOneSecondOfASendWaitsForThePause) {
    Open();
    double t0 = Timer();
    SendPara();
    Orders(32);
    sensor.ClearReceived();
    CBF_ButtonGet(panel, P_BUTTONGET, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_GE(Timer() - t0, 1.0);
    EXPECT_EQ(Orders(1), std::vector<int>{3});
    EXPECT_EQ(power, 333);

    // Right after a read only 0.1 s is due.
    t0 = Timer();
    CBF_ButtonGet(panel, P_BUTTONGET, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_LT(Timer() - t0, 0.6);
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(Link, LinkCheckReadsTheVersionThenTheParameters) {
    const unsigned short targets[] = {RAM, EEPROM, DATFILE};
    const int reads[] = {3, 4, 3};  // with FILE chosen, the sensor's RAM set is fetched
    for (int i = 0; i < 3; ++i) {
        sensor.ClearReceived();
        target = targets[i];
        InitRS232(kPort);
        EXPECT_EQ(Orders(2), (std::vector<int>{7, reads[i]})) << "target " << targets[i];
        EXPECT_EQ(std::string(version), std::string(kVersion) + "#");
        EXPECT_EQ(Status(), version);
    }
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(Link, LinkCheckWithoutAnAnswer) {
    for (int len : {-1, 97}) {
        versionLen = len;
        sensor.ClearReceived();
        seam::Clear();
        seam::ExpectMessage();
        InitRS232(kPort);
        EXPECT_EQ(Orders(1), std::vector<int>{7});
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(seam::Shown()[0].title, "INFO!");
        EXPECT_EQ(seam::Shown()[0].text, kNoLinkText);
        EXPECT_EQ(Status(), "TIMEOUT");
        EXPECT_STREQ(version, "SENSOR TITLE");
    }
}

TEST_F(Link, OpenErrorsShowInTheStatusOnly) {
    char folder[512];
    ASSERT_EQ(ComLinkFolder(folder, sizeof folder), 0);
    std::string dangling = std::string(folder) + "/com12";
    std::string notTty = std::string(folder) + "/com13";
    ASSERT_EQ(symlink("/nonexistent/ttyX", dangling.c_str()), 0);
    ASSERT_EQ(symlink("/dev/null", notTty.c_str()), 0);
    InitRS232(12);
    EXPECT_EQ(Status(), "No serial port found");
    EXPECT_EQ(ret, COM_NO_PORT_FOUND);
    InitRS232(13);
    EXPECT_EQ(Status(), "Cannot open port");
    InitRS232(0);
    EXPECT_EQ(Status(), "Invalid port number");
    unlink(dangling.c_str());
    unlink(notTty.c_str());
    EXPECT_TRUE(seam::Shown().empty());
    EXPECT_TRUE(Orders(0).empty());
}

TEST_F(Link, PortChangeStopsRunsAndReconnects) {
    Open();
    poll = 1;
    pollrecord = 1;
    SetCtrlVal(panel, P_EDITCONNECT, static_cast<unsigned short>(kPort));
    com = 1;
    CBF_EditConnect(panel, P_EDITCONNECT, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(com, kPort);
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(pollrecord, 0);
    EXPECT_EQ(Orders(2), (std::vector<int>{7, 3}));
    EXPECT_EQ(Status(), version);
}

TEST_F(Link, ButtonsShowTheirHelp) {
    const struct {
        int control;
        const char* start;
    } cases[] = {
        {P_BUTTONSEND, " All the parameters of the PC-User-Interface are transferred"},
        {P_BUTTONGET, " Sensor or file parameters are transferred to the PC-User-Interface."},
        {P_BUTTONGO, " Starts data transfer (CH_REF, CH_DIR, CH_DIF, NORM, INT, V-No:)"},
        {P_BUTTONSTOP, " Stops data transfer from sensor to PC.\n Shortcut Key: F12. "},
        {P_EDITCONNECT, " Select a serial COM-PORT."},
    };
    for (const auto& c : cases) {
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(panel, c.control);
        ASSERT_EQ(seam::Shown().size(), 1u) << c.start;
        EXPECT_EQ(seam::Shown()[0].title, "INFO!");
        EXPECT_EQ(seam::Shown()[0].text.rfind(c.start, 0), 0u) << seam::Shown()[0].text;
    }
    EXPECT_TRUE(Orders(0).empty()) << "a right click starts no transaction";
    poll = 1;
    CBF_ButtonStop(panel, P_BUTTONSTOP, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(poll, 0);
}

}  // namespace
