// Replies that arrive in pieces, as a USB adapter hands them over when its
// latency timer fires: the link check, a parameter read, live data and a
// calibration all still work.
#include <fstream>

#include "calib/calib.h"
#include "e2e.h"
#include "link/link.h"
#include "params/params.h"
#include "platform/testing.h"

using namespace corvel;
using namespace e2e;

namespace {

class Pieces : public E2eTest {
protected:
    // The pieces the sensor sent, from its trace.
    unsigned long PiecesSent() const {
        std::ifstream in(sensor.LogPath());
        std::string line;
        unsigned long n = 0;
        while (std::getline(in, line))
            if (line.rfind("tx piece of ", 0) == 0) ++n;
        return n;
    }
    int Shown(int control) {
        unsigned short v = 0;
        GetCtrlVal(panel, control, &v);
        return v;
    }
};

TEST_F(Pieces, LinkCheckGetLiveDataAndCalibrationWithRepliesAtA16msTick) {
    const Words stored = Distinct(3);
    ASSERT_TRUE(WriteEepromImage(sensor.EepromPath(), stored));
    // At line speed, so that a reply spans several ticks: the 96-byte version
    // reply comes in about four pieces, the 280-byte packet in about ten.
    StartAndInit({"--eeprom", sensor.EepromPath(), "--tick", "16", "--trace", "--gloss", "100"});
    ASSERT_EQ(Status(), kSensorVersion);
    EXPECT_TRUE(PanelShows(stored.w));
    const unsigned long afterCheck = PiecesSent();
    // Each of the two replies in several pieces; how many depends on how
    // late a loaded machine lets the sensor's ticks come.
    EXPECT_GE(afterCheck, 2u * 2u);

    // GET (F10) from the RAM, over a panel changed since.
    SetPanelWords(Distinct(4));
    SelectTarget(RAM);
    PauseOver();
    sim::Key(panel, "F10");
    StateAfter(3, 2);
    EXPECT_TRUE(PanelShows(stored.w));
    EXPECT_GE(PiecesSent() - afterCheck, 2u);

    // Live data: every frame taken whole, the last one shown as sent.
    const unsigned long before = State().frames;
    const unsigned long piecesBefore = PiecesSent();
    PauseOver();
    RunLive([] { sim::Key(panel, "F11"); }, 1000, [] { sim::Key(panel, "F12"); });
    testsupport::VSensorState st = State();
    const unsigned long frames = st.frames - before;
    EXPECT_GE(frames, 10u);
    EXPECT_GT(PiecesSent() - piecesBefore, frames);  // more pieces than replies
    EXPECT_EQ(st.Received(5), frames);
    const TracedFrame f = LastTracedFrame(sensor.LogPath(), st.Received(5));
    ASSERT_TRUE(f.found);
    EXPECT_EQ(Shown(P_DISPCHDIR), static_cast<int>(f.dir));
    EXPECT_EQ(Shown(P_DISPNORM), static_cast<int>(f.norm));
    EXPECT_EQ(dataGf, f.gf);
    EXPECT_TRUE(Popups().empty());

    // The calibration on the reference target: search, confirm, stored.
    GetPanelValues();
    average = 256;
    SetPanelValues();
    PauseOver();
    seam::Clear();
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    seam::ExpectMessage();
    StartCalibrationRef1();
    ASSERT_EQ(calibok, 1) << (seam::Shown().empty() ? "" : seam::Shown().back().text);
    const unsigned short foundPower = power, foundDir = dataChDir;
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    ConfirmCalibration();
    ASSERT_FALSE(seam::Shown().empty());
    EXPECT_EQ(seam::Shown().back().text.rfind(" Calibration successful!", 0), 0u)
        << seam::Shown().back().text;
    st = StateAfter(8, 1);  // the store of the calibration values
    EXPECT_EQ(st.cal[0], foundPower);
    EXPECT_EQ(st.cal[1], foundDir);
    EXPECT_EQ(seam::Pending(), 0);
}

}  // namespace
