// The port the operator does not have to think about: a sensor whose line
// went away is found again by the next action, and every open failure says
// which device and why beside the status text.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/helptexts.h"
#include "e2e.h"
#include "link/link.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class Recovery : public E2eTest {
protected:
    static std::string Detail() { return testsupport::CtrlText(panel, P_DISPSTATUSDETAIL); }
    std::string Device() const {
        char target[PATH_MAX] = "";
        ssize_t n = readlink(sensor.LinkPath().c_str(), target, sizeof target - 1);
        return n > 0 ? std::string(target, n) : std::string();
    }
    // Links COM `port` to `target` beside the sensor's own link.
    void LinkCom(int port, const std::string& target) {
        std::string link = sensor.LinkPath();
        link = link.substr(0, link.rfind('/')) + "/com" + std::to_string(port);
        unlink(link.c_str());
        ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    }
    static void ChooserAnswers(int chosen) {
        seam::Answer a;
        a.kind = seam::Kind::Ports;
        a.value = chosen;
        seam::Expect(a);
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    // The live loop until its time-out after the sensor hung up.
    void LoseTheSensor() {
        StartAndInit({"--unpaced", "--hangup-after", "3"});
        ASSERT_EQ(Status(), kSensorVersion);
        const std::string device = Device();
        seam::ExpectMessage();
        PauseOver();
        RunLive([] { sim::Click(panel, P_BUTTONGO); }, 0, nullptr);
        EXPECT_EQ(Status(), "TIMEOUT");  // the exchange is reported once, not retried
        EXPECT_EQ(Popups().size(), 1u);
        EXPECT_TRUE(sensor.WaitExit(3000));
        EXPECT_TRUE(Has(Detail(), device + ": device gone")) << Detail();
        EXPECT_TRUE(Has(Detail(), "reopens COM7")) << Detail();
        seam::Clear();
    }
};

TEST_F(Recovery, ANewSensorOnTheSameComLetsGoWorkWithNoPortChange) {
    LoseTheSensor();
    ASSERT_TRUE(sensor.Start(kCom, {"--unpaced"}));
    PauseOver();
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 300, [] { sim::Click(panel, P_BUTTONSTOP); });
    EXPECT_EQ(com, kCom);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_TRUE(Popups().empty());
    const testsupport::VSensorState st = State();
    EXPECT_EQ(st.Received(7), 1u);  // the link check ran first
    EXPECT_EQ(st.Received(3), 0u);  // and left the panel's values alone
    EXPECT_GT(st.frames, 0u);
    EXPECT_EQ(Detail(), "COM7 = " + Device());
}

TEST_F(Recovery, WithTheDeviceStillAwayTheActionStopsAndTheNextOneTriesAgain) {
    LoseTheSensor();
    PauseOver();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_EQ(Status(), "No serial port found");
    EXPECT_TRUE(Popups().empty());  // the status line says it all
    EXPECT_TRUE(Has(Detail(), "Plug the device in")) << Detail();

    ASSERT_TRUE(sensor.Start(kCom, {"--unpaced"}));
    const Words entered = Distinct(3);
    SetPanelWords(entered);
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);
    const testsupport::VSensorState st = StateAfter(2, 31);
    EXPECT_EQ(st.Received(7), 1u);
    EXPECT_EQ(st.ram[16], entered.w[16]);  // the operator's values went out, not the sensor's
    EXPECT_EQ(Status(), kSensorVersion);
}

TEST_F(Recovery, OpenFailuresShowDeviceReasonAndRemedy) {
    StartAndInit({"--unpaced"});
    const std::string device = Device();

    LinkCom(5, sensor.folder() + "/unplugged");
    sim::EnterValue(panel, P_EDITCONNECT, 5);
    EXPECT_EQ(Status(), "No serial port found");
    EXPECT_TRUE(Has(Detail(), sensor.folder() + "/unplugged: no such file or directory")) << Detail();

    ComFailNextOpen(EACCES);
    sim::EnterValue(panel, P_EDITCONNECT, kCom);
    EXPECT_EQ(Status(), "Cannot open port");
    EXPECT_TRUE(Has(Detail(), device + ": permission denied. Join the group ")) << Detail();
    EXPECT_TRUE(Has(Detail(), "log out and in again")) << Detail();

    // Held by someone else (here COM6 on the same device): busy.
    LinkCom(6, device);
    ASSERT_EQ(OpenComConfig(6, "", 19200, 0, 8, 1, 1024, 1024), 0);
    sim::EnterValue(panel, P_EDITCONNECT, 5);
    sim::EnterValue(panel, P_EDITCONNECT, kCom);
    EXPECT_EQ(Status(), "Cannot open port");
    EXPECT_EQ(Detail(), device + ": in use by another program. Close it, or choose another port.");
    CloseCom(6);
    EXPECT_TRUE(Popups().empty());
}

// Low latency is asked for at every open: at start, after a re-plug and on a
// port change; the pseudo-terminal's refusal changes nothing.
TEST_F(Recovery, EveryOpenAsksForLowLatencyAndARefusalIsHarmless) {
    const ComLowLatencyCount before = ComLowLatencyRequests();
    LoseTheSensor();
    const ComLowLatencyCount started = ComLowLatencyRequests();
    EXPECT_EQ(started.asked, before.asked + 1);
    EXPECT_EQ(started.refused, before.refused + 1);

    ASSERT_TRUE(sensor.Start(kCom, {"--unpaced"}));
    PauseOver();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_EQ(ComLowLatencyRequests().asked, started.asked + 1);

    LinkCom(4, Device());
    PauseOver();
    sim::EnterValue(panel, P_EDITCONNECT, 4);
    EXPECT_EQ(com, 4);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_EQ(ComLowLatencyRequests().asked, started.asked + 2);
    EXPECT_EQ(ComLowLatencyRequests().refused, started.refused + 2);
    EXPECT_TRUE(Popups().empty());
}

TEST_F(Recovery, PortsButtonChangesToTheChosenComAndReleasesTheOldOne) {
    StartAndInit({"--unpaced"});
    const std::string device = Device();
    // Closed without a choice: nothing changes.
    ChooserAnswers(0);
    sim::Click(panel, P_BUTTONPORTS);
    EXPECT_EQ(com, kCom);
    EXPECT_EQ(Status(), kSensorVersion);

    ChooserAnswers(3);
    sim::Click(panel, P_BUTTONPORTS);
    EXPECT_EQ(com, 3);
    unsigned short shown = 0;
    GetCtrlVal(panel, P_EDITCONNECT, &shown);
    EXPECT_EQ(shown, 3);
    // The lock went with the old port.
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    close(fd);

    seam::Clear();
    seam::ExpectMessage();
    seam::ExpectMessage();
    sim::RightClick(panel, P_BUTTONPORTS);
    sim::RightClick(panel, P_DISPSTATUSDETAIL);
    EXPECT_EQ(Popups(),
              (std::vector<std::string>{Popup("INFO!", InfoButtonPorts), Popup("INFO!", InfoStatusDetail)}));
}

}  // namespace
