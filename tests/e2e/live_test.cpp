// The live-data loop against the virtual sensor: frames until STOP, the
// last frame still shown, and the buttons that end it.
#include "e2e.h"
#include "link/link.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class Live : public E2eTest {
protected:
    int Shown(int control) {
        unsigned short v = 0;
        GetCtrlVal(panel, control, &v);
        return v;
    }
    double ShownGf() {
        double v = -1;
        GetCtrlVal(panel, P_DISPGF, &v);
        return v;
    }
};

TEST_F(Live, GoShowsFramesUntilStopAndKeepsTheLastFrame) {
    StartAndInit({"--unpaced", "--trace", "--gloss", "85"});
    ASSERT_EQ(Status(), kSensorVersion);
    struct Way {
        const char* name;
        void (*go)();
        void (*stop)();
    };
    const Way ways[] = {
        {"buttons", [] { sim::Click(panel, P_BUTTONGO); }, [] { sim::Click(panel, P_BUTTONSTOP); }},
        {"keys F11 and F12", [] { sim::Key(panel, "F11"); }, [] { sim::Key(panel, "F12"); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        const unsigned long before = State().frames;
        const double seconds = RunLive(way.go, 400, way.stop);
        EXPECT_GE(seconds, 0.39);
        EXPECT_LT(seconds, 2.0);
        EXPECT_EQ(poll, 0);
        const testsupport::VSensorState st = State();
        EXPECT_GT(st.frames - before, 10u);
        EXPECT_EQ(st.Received(5), st.frames);  // every request was answered and taken

        // What the sensor sent last is what the displays and variables hold.
        const TracedFrame f = LastTracedFrame(sensor.LogPath(), st.Received(5));
        ASSERT_TRUE(f.found);
        EXPECT_EQ(Shown(P_DISPCHREF), static_cast<int>(f.ref));
        EXPECT_EQ(Shown(P_DISPCHDIR), static_cast<int>(f.dir));
        EXPECT_EQ(Shown(P_DISPCHDIF), static_cast<int>(f.dif));
        EXPECT_EQ(Shown(P_DISPNORM), static_cast<int>(f.norm));
        EXPECT_EQ(Shown(P_DISPINT), static_cast<int>(f.inten));
        EXPECT_EQ(Shown(P_DISPVEC), static_cast<int>(f.vec));
        EXPECT_EQ(Shown(P_DISPTEMP), static_cast<int>(f.temp));
        EXPECT_DOUBLE_EQ(ShownGf(), f.gf / 10.0);
        EXPECT_EQ(dataGf, f.gf);
        EXPECT_GT(f.dir, 0u);

        // The loop has really ended: no further requests.
        sim::Pump(150);
        EXPECT_EQ(State().frames, st.frames);
    }
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_TRUE(Popups().empty());
}

TEST_F(Live, SendDuringLiveDataEndsItAndSendsTheParameters) {
    StartAndInit({"--unpaced"});
    const Words entered = Distinct(2);
    SetPanelWords(entered);
    PauseOver();
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 300, [] { sim::Click(panel, P_BUTTONSEND); });
    EXPECT_EQ(poll, 0);
    const testsupport::VSensorState st = StateAfter(2, 31);
    EXPECT_EQ(st.Received(1), 1u);
    EXPECT_GT(st.frames, 0u);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(st.ram[i], entered.w[i]) << "word " << i;
    sim::Pump(100);
    EXPECT_EQ(State().frames, st.frames);
    EXPECT_TRUE(Popups().empty());
}

}  // namespace
