// Parameter send and fetch against the virtual sensor: telegram counts per
// order, what the sensor's RAM and EEPROM then hold, and the pause rule.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "e2e.h"
#include "link/link.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class Transfer : public E2eTest {
protected:
    // A sensor whose EEPROM (and so, after power-up, its RAM) holds `stored`.
    void StartWith(const Words& stored, std::vector<std::string> extra = {}) {
        ASSERT_TRUE(WriteEepromImage(sensor.EepromPath(), stored));
        std::vector<std::string> options = {"--eeprom", sensor.EepromPath(), "--unpaced"};
        options.insert(options.end(), extra.begin(), extra.end());
        StartAndInit(options);
        ASSERT_EQ(Status(), kSensorVersion);
        ASSERT_TRUE(PanelShows(stored.w));
    }

    static unsigned long Total(const testsupport::VSensorState& st) {
        unsigned long n = 0;
        for (unsigned long c : st.received) n += c;
        return n;
    }

    // The packet words the panel carries, with 13..15 from `passed`.
    static Words Expected(const Words& panelWords, const Words& passed) {
        Words e = panelWords;
        for (int i = 13; i < 16; ++i) e.w[i] = passed.w[i];
        return e;
    }

    static ::testing::AssertionResult Same(const unsigned short* a, const unsigned short* b) {
        for (int i = 0; i < kWords; ++i)
            if (a[i] != b[i])
                return ::testing::AssertionFailure() << "word " << i << ": " << a[i] << " vs " << b[i];
        return ::testing::AssertionSuccess();
    }

    // The order codes of the requests in the sensor's trace, oldest first.
    std::vector<int> TracedOrders() {
        std::vector<int> orders;
        std::ifstream in(sensor.LogPath());
        std::string line;
        int order = 0;
        while (std::getline(in, line))
            if (std::sscanf(line.c_str(), "rx order %d", &order) == 1) orders.push_back(order);
        return orders;
    }
};

TEST_F(Transfer, SendToRamWrites32TelegramsAndTheRamHoldsThePanel) {
    const Words stored = Distinct(1);
    StartWith(stored);
    const unsigned long before = Total(State());
    const Words entered = Distinct(2);
    SetPanelWords(entered);
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);

    const testsupport::VSensorState st = StateAfter(2, 31);
    EXPECT_EQ(st.Received(1), 1u);
    EXPECT_EQ(st.Received(2), 31u);
    EXPECT_EQ(st.Received(6), 0u);
    EXPECT_EQ(Total(st) - before, 32u);
    EXPECT_TRUE(Same(st.ram, Expected(entered, stored).w));
    EXPECT_TRUE(Same(st.eeprom, stored.w));  // RAM only
    EXPECT_TRUE(Popups().empty());
    EXPECT_DOUBLE_EQ(waitdel, 1.0);
}

TEST_F(Transfer, SendToEepromWrites33TelegramsStoreLastAndTheEepromHoldsThePanel) {
    const Words stored = Distinct(1);
    StartWith(stored, {"--trace"});
    SelectTarget(EEPROM);
    const Words entered = Distinct(3);
    SetPanelWords(entered);
    PauseOver();
    sim::Key(panel, "F9");

    const testsupport::VSensorState st = StateAfter(6, 1);
    EXPECT_EQ(st.Received(1), 1u);
    EXPECT_EQ(st.Received(2), 31u);
    EXPECT_EQ(st.Received(6), 1u);
    const std::vector<int> orders = TracedOrders();
    ASSERT_GE(orders.size(), 33u);
    // The send follows the check's version and RAM requests.
    const std::vector<int> send(orders.end() - 33, orders.end());
    EXPECT_EQ(send.front(), 1);
    EXPECT_EQ(send.back(), 6);
    EXPECT_EQ(std::count(send.begin(), send.end(), 2), 31);
    EXPECT_EQ(orders.size(), 35u);
    EXPECT_TRUE(Same(st.eeprom, Expected(entered, stored).w));
    EXPECT_TRUE(Same(st.ram, st.eeprom));
    EXPECT_TRUE(Popups().empty());

    // The stored image survives a restart of the sensor.
    ASSERT_TRUE(sensor.Stop());
    ASSERT_TRUE(sensor.Start(kCom, {"--eeprom", sensor.EepromPath(), "--unpaced"}));
    EXPECT_TRUE(Same(State().eeprom, Expected(entered, stored).w));
}

TEST_F(Transfer, GetFromEepromAndFromRamShowsEachMemory) {
    const Words stored = Distinct(1);
    StartWith(stored);
    const Words entered = Distinct(2);
    SetPanelWords(entered);
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);  // RAM now differs from the EEPROM
    StateAfter(2, 31);

    SetPanelWords(Distinct(4));
    SelectTarget(EEPROM);
    sim::Click(panel, P_BUTTONGET);
    testsupport::VSensorState st = StateAfter(4, 1);
    EXPECT_TRUE(PanelShows(st.eeprom));
    EXPECT_TRUE(PanelShows(stored.w));
    EXPECT_EQ(maxno, stored.w[6]);
    EXPECT_EQ(ctt[30][3], stored.w[139]);

    SelectTarget(RAM);
    sim::Key(panel, "F10");
    st = StateAfter(3, 2);
    EXPECT_TRUE(PanelShows(st.ram));
    EXPECT_TRUE(PanelShows(entered.w));
    EXPECT_EQ(power, entered.w[0]);
    EXPECT_EQ(bias, static_cast<short>(entered.w[12] - 1000));
    EXPECT_EQ(ctt[0][0], entered.w[16]);
    EXPECT_EQ(st.Received(4), 1u);
    EXPECT_EQ(pp[13], stored.w[13]);  // the sensor's own words came back unchanged
    EXPECT_TRUE(Popups().empty());
    EXPECT_DOUBLE_EQ(waitdel, 0.1);
}

TEST_F(Transfer, GetWithinOneSecondOfASendWaitsTillTheSecondHasPassed) {
    StartWith(Distinct(1));
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);
    const double sendBegan = transbeg;
    QElapsedTimer t;
    t.start();
    sim::Click(panel, P_BUTTONGET);
    const double getSeconds = t.elapsed() / 1000.0;
    // tstart: when the read's request had been written.
    EXPECT_GE(tstart - sendBegan, 1.0);
    EXPECT_LT(tstart - sendBegan, 1.3);
    EXPECT_GT(getSeconds, 0.7);
    EXPECT_EQ(StateAfter(3, 2).Received(3), 2u);

    // Once the read's own 0.1 s have passed, the next one starts at once.
    sim::Pump(150);
    t.restart();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_LT(t.elapsed(), 80);
    EXPECT_EQ(StateAfter(3, 3).Received(3), 3u);
    EXPECT_TRUE(Popups().empty());
}

}  // namespace
