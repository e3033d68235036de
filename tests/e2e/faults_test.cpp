// Faulty replies from the virtual sensor: each gives the time-out report
// titled with the version text, leaves the values alone, and the next good
// transaction works again.
#include <QElapsedTimer>

#include "e2e.h"
#include "link/link.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class Faults : public E2eTest {
protected:
    void ExpectTimeoutReport() {
        EXPECT_EQ(Status(), "TIMEOUT");
        EXPECT_EQ(Popups(), std::vector<std::string>{Popup(kSensorVersion, kTimeoutText)});
    }
    // A parameter read from RAM that must succeed: the panel shows the RAM.
    void ExpectGoodRamRead() {
        const unsigned long reads = State().Received(3);
        seam::Clear();
        SetPanelWords(Distinct(6));
        SelectTarget(RAM);
        PauseOver();
        sim::Click(panel, P_BUTTONGET);
        const testsupport::VSensorState st = StateAfter(3, reads + 1);
        EXPECT_TRUE(PanelShows(st.ram));
        EXPECT_TRUE(Popups().empty());
    }
    double Seconds(void (*action)()) {
        QElapsedTimer t;
        t.start();
        action();
        return t.elapsed() / 1000.0;
    }
};

TEST_F(Faults, ParameterReplyOneByteShortTimesOutAndKeepsThePanel) {
    StartAndInit({"--unpaced", "--short", "--fault-order", "4"});
    ASSERT_EQ(Status(), kSensorVersion);
    SelectTarget(EEPROM);
    const Words entered = Distinct(5);
    SetPanelWords(entered);
    const unsigned short before[3] = {pp[0], pp[16], pp[139]};
    seam::ExpectMessage();
    PauseOver();
    const double seconds = Seconds([] { sim::Click(panel, P_BUTTONGET); });
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 3.5);
    ExpectTimeoutReport();
    EXPECT_EQ(nBytesR, 279);
    EXPECT_TRUE(PanelShows(entered.w));
    EXPECT_EQ(pp[0], before[0]);
    EXPECT_EQ(pp[16], before[1]);
    EXPECT_EQ(pp[139], before[2]);
    ExpectGoodRamRead();
}

TEST_F(Faults, DataReplyOneByteLongStopsTheLiveLoopAtOnce) {
    StartAndInit({"--unpaced", "--long", "--fault-order", "5"});
    ASSERT_EQ(Status(), kSensorVersion);
    dataChRef = 4321;
    seam::ExpectMessage();
    PauseOver();
    const double seconds = RunLive([] { sim::Click(panel, P_BUTTONGO); }, 0, nullptr);
    EXPECT_LT(seconds, 1.0);  // refused on the count, not after the 2 s
    ExpectTimeoutReport();
    EXPECT_EQ(nBytesR, 33);
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(dataChRef, 4321);  // nothing decoded
    EXPECT_EQ(State().frames, 1u);
    ExpectGoodRamRead();
}

TEST_F(Faults, LateParameterReplyTimesOutAndIsFlushedBeforeTheNextRead) {
    StartAndInit({"--unpaced", "--late", "--fault-order", "4"});
    ASSERT_EQ(Status(), kSensorVersion);
    SelectTarget(EEPROM);
    const Words entered = Distinct(5);
    SetPanelWords(entered);
    seam::ExpectMessage();
    PauseOver();
    const double seconds = Seconds([] { sim::Click(panel, P_BUTTONGET); });
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 2.45);  // before the reply came
    ExpectTimeoutReport();
    EXPECT_TRUE(PanelShows(entered.w));
    sim::Pump(800);  // the late reply arrives and waits in the queue
    ExpectGoodRamRead();
}

TEST_F(Faults, HangUpDuringLiveDataTimesOutAndAPortChangeReconnects) {
    StartAndInit({"--unpaced", "--hangup-after", "3"});
    ASSERT_EQ(Status(), kSensorVersion);
    seam::ExpectMessage();
    PauseOver();
    const double seconds = RunLive([] { sim::Click(panel, P_BUTTONGO); }, 0, nullptr);
    EXPECT_GE(seconds, 1.9);
    EXPECT_LT(seconds, 4.0);
    ExpectTimeoutReport();
    EXPECT_EQ(poll, 0);
    EXPECT_TRUE(sensor.WaitExit(3000));

    // The sensor is back on the same port; choosing the port again reconnects.
    ASSERT_TRUE(sensor.Start(kCom, {"--unpaced"}));
    seam::Clear();
    sim::EnterValue(panel, P_EDITCONNECT, kCom);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_EQ(StateAfter(3, 1).Received(7), 1u);
    EXPECT_TRUE(Popups().empty());
    ExpectGoodRamRead();
}

}  // namespace
