// The port set-up and link check against the virtual sensor: the version
// text and the sensor's parameters, a line without a sensor, open errors and
// the port change under live data.
#include <sys/stat.h>

#include <QElapsedTimer>
#include <cerrno>
#include <fstream>

#include "e2e.h"
#include "link/link.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class LinkCheck : public E2eTest {};

TEST_F(LinkCheck, ShowsTheVersionAndLoadsTheSensorsParametersOntoThePanel) {
    const Words stored = Distinct(1);
    ASSERT_TRUE(WriteEepromImage(sensor.EepromPath(), stored));
    SetPanelWords(Distinct(2));  // whatever the panel showed before must go
    StartAndInit({"--eeprom", sensor.EepromPath(), "--unpaced", "--gloss", "60"});

    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_STREQ(version, kSensorVersion);
    EXPECT_TRUE(Popups().empty());
    testsupport::VSensorState st = StateAfter(3, 1);
    EXPECT_EQ(st.Received(7), 1u);
    EXPECT_EQ(st.Received(4), 0u);
    EXPECT_TRUE(PanelShows(st.ram));
    EXPECT_TRUE(PanelShows(stored.w));
    // The sensor's own words travel in the packet though the panel has no place for them.
    EXPECT_EQ(pp[13], stored.w[13]);
    EXPECT_EQ(pp[15], stored.w[15]);
    EXPECT_EQ(power, stored.w[0]);
    EXPECT_EQ(bias, static_cast<short>(stored.w[12] - 1000));
    EXPECT_EQ(poll, 0);
}

TEST_F(LinkCheck, ReadsTheChosenMemoryAndTheRamWhenTheTargetIsTheFile) {
    StartAndInit({"--unpaced"});
    SelectTarget(EEPROM);
    InitRS232(com);
    testsupport::VSensorState st = StateAfter(4, 1);
    EXPECT_EQ(st.Received(3), 1u);  // only the first check's
    // The parameter file cannot be read from the sensor: the check shows its RAM.
    SelectTarget(DATFILE);
    SetPanelWords(Distinct(4));
    InitRS232(com);
    st = StateAfter(3, 2);
    EXPECT_EQ(st.Received(4), 1u);
    EXPECT_EQ(st.Received(7), 3u);
    EXPECT_TRUE(PanelShows(st.ram));
    EXPECT_TRUE(Popups().empty());
}

TEST_F(LinkCheck, LineWithoutSensorTimesOutAndTheProgramGoesOn) {
    ASSERT_TRUE(sensor.Start(kCom, {"--no-answer"}));
    com = kCom;
    seam::ExpectMessage();
    QElapsedTimer t;
    t.start();
    InitRS232(com);
    const double seconds = t.elapsed() / 1000.0;
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 3.5);
    EXPECT_EQ(Status(), "TIMEOUT");
    EXPECT_EQ(Popups(), std::vector<std::string>{Popup("INFO!", kNoLinkText)});
    EXPECT_STREQ(version, "");
    EXPECT_EQ(State().Received(3), 0u);  // no parameter read after a failed check

    // A transaction on the silent line: its report is titled with the (still empty) version.
    seam::Clear();
    seam::ExpectMessage();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_EQ(Status(), "TIMEOUT");
    EXPECT_EQ(Popups(), std::vector<std::string>{Popup("", kTimeoutText)});

    // A sensor on another port: the port change finds it and loads its parameters.
    testsupport::VirtualSensor other;
    ASSERT_TRUE(other.Start(kCom + 1, {"--unpaced"}));
    seam::Clear();
    sim::EnterValue(panel, P_EDITCONNECT, kCom + 1);
    EXPECT_EQ(com, kCom + 1);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_TRUE(Popups().empty());
    testsupport::VSensorState st;
    ASSERT_TRUE(other.WaitForReceived(3, 1, 3000));
    ASSERT_TRUE(other.ReadState(&st));
    EXPECT_TRUE(PanelShows(st.ram));
    CloseCom(com);
}

TEST_F(LinkCheck, OpenErrorsShowTheirTextWithoutPopupOrCheck) {
    // Two COM links of our own: one to a device that does not exist, one to
    // a plain file (it opens, but is no terminal).
    const std::string folder = sensor.folder() + "/corvel-scope/dosdevices";
    ASSERT_EQ(mkdir((sensor.folder() + "/corvel-scope").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string plain = sensor.folder() + "/plain-file";
    std::ofstream(plain) << "not a terminal\n";
    ASSERT_EQ(symlink((sensor.folder() + "/no-such-device").c_str(), (folder + "/com11").c_str()), 0);
    ASSERT_EQ(symlink(plain.c_str(), (folder + "/com12").c_str()), 0);
    setenv("XDG_CONFIG_HOME", sensor.folder().c_str(), 1);  // the sensor object restores it

    InitRS232(11);
    EXPECT_EQ(Status(), "No serial port found");
    EXPECT_EQ(ret, -6);
    InitRS232(12);
    EXPECT_EQ(Status(), "Cannot open port");
    EXPECT_EQ(ret, -7);
    // Through the port control as the operator does it.
    sim::EnterValue(panel, P_EDITCONNECT, 11);
    EXPECT_EQ(com, 11);
    EXPECT_EQ(Status(), "No serial port found");
    EXPECT_TRUE(Popups().empty());
    std::ifstream check(plain);
    std::string content;
    std::getline(check, content);
    EXPECT_EQ(content, "not a terminal");  // nothing was written into it

    // The port stays closed: a transaction reports the time-out.
    seam::ExpectMessage();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_EQ(Status(), "TIMEOUT");
    EXPECT_EQ(Popups(), std::vector<std::string>{Popup("", kTimeoutText)});
}

TEST_F(LinkCheck, PortChangeDuringLiveDataStopsIt) {
    StartAndInit({"--unpaced"});
    ASSERT_EQ(Status(), kSensorVersion);
    testsupport::VirtualSensor other;
    ASSERT_TRUE(other.Start(kCom + 1, {"--unpaced"}));
    PauseOver();
    const double seconds = RunLive([] { sim::Click(panel, P_BUTTONGO); }, 300,
                                   [] { sim::EnterValue(panel, P_EDITCONNECT, kCom + 1); });
    EXPECT_LT(seconds, 3.0);
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(com, kCom + 1);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_TRUE(Popups().empty());
    testsupport::VSensorState st;
    ASSERT_TRUE(other.WaitForReceived(3, 1, 3000));
    ASSERT_TRUE(other.ReadState(&st));
    EXPECT_EQ(st.Received(7), 1u);
    EXPECT_EQ(st.frames, 0u);  // the live loop did not go on on the new port
    const unsigned long frames = State().frames;
    EXPECT_GT(frames, 0u);
    sim::Pump(200);
    EXPECT_EQ(State().frames, frames);
    CloseCom(com);
}

}  // namespace
