// The panel-free link engine: what each transaction returns, against a
// scripted sensor on a pseudo-terminal, with no panel loaded.
#include "link/engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "app/corvel.h"
#include "platform/platform.h"
#include "support/fakesensor.h"

using namespace corvel;
using testsupport::FakeSensor;

namespace {

const int kPort = 12;

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sensor.Start(kPort, [this](const FakeSensor::Request& r, unsigned char* out) {
            const int order = FakeSensor::Word(r, 1);
            for (int i = 0; i < 160; ++i) FakeSensor::PutWord(out, i, static_cast<unsigned short>(1000 + i));
            return order == 3 || order == 4    ? paraLen.load()
                   : order == 5 || order == 19 ? dataLen.load()
                                               : -1;
        }));
        com = kPort;
        transbeg = Timer() - 10;
        waitdel = 0;
        std::memset(pp, 0, sizeof pp);
        ASSERT_EQ(OpenComConfig(com, "", 19200, 0, 8, 1, 1024, 1024), 0);
        SetComTime(com, 2.0);
    }
    void TearDown() override {
        CloseCom(com);
        sensor.Stop();
    }
    FakeSensor sensor;
    std::atomic<int> paraLen{280}, dataLen{32};
};

TEST_F(Engine, EachTransactionSaysWhatHappened) {
    EXPECT_EQ(LinkReadPacket(EEPROM), LINK_ACCEPTED);
    EXPECT_EQ(pp[139], 1139);
    EXPECT_EQ(sensor.Orders().back(), kOrderReadEeprom);
    EXPECT_DOUBLE_EQ(waitdel, kPauseAfterRead);

    dataLen = 33;  // too long: refused at once, with the count read
    EXPECT_EQ(LinkReadFrame(kOrderRecord, nullptr), LINK_REFUSED);
    EXPECT_EQ(nBytesR, 33);
    EXPECT_EQ(dataTemp, 0);  // nothing decoded

    unsigned short stop = 0;
    EXPECT_EQ(LinkReadFrame(kOrderData, &stop), LINK_STOPPED);

    dataLen = -1;
    const double t0 = Timer();
    EXPECT_EQ(LinkReadFrame(kOrderData, nullptr), LINK_TIMED_OUT);
    EXPECT_GT(Timer() - t0, kReplyTimeout);

    sensor.ClearReceived();
    EXPECT_EQ(LinkSendPacket(EEPROM), LINK_ACCEPTED);
    EXPECT_DOUBLE_EQ(waitdel, kPauseAfterSend);
    for (int i = 0; i < 200 && sensor.Orders().size() < 33; ++i) Delay(0.005);
    EXPECT_EQ(sensor.Orders().size(), 0u + 1 + kTeachRows + 1) << "order 1, 31 rows, order 6";
}

TEST_F(Engine, AClosedOrVanishedPortIsNoTimeout) {
    CloseCom(com);
    EXPECT_EQ(LinkSendPacket(RAM), LINK_WRITE_FAILED);
    EXPECT_EQ(LinkCommand(kOrderCalibStore), LINK_WRITE_FAILED);

    ASSERT_EQ(OpenComConfig(com, "", 19200, 0, 8, 1, 1024, 1024), 0);
    sensor.Stop();  // the far end hangs up
    EXPECT_EQ(LinkReadFrame(kOrderData, nullptr), LINK_PORT_GONE);
    EXPECT_STREQ(LinkResultText(LINK_PORT_GONE), "device gone");
}

}  // namespace
