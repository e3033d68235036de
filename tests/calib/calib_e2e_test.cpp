// A whole calibration against the virtual sensor on its reference target.
#include <gtest/gtest.h>

#include "app/corvel.h"
#include "calib/calib.h"
#include "link/link.h"
#include "params/params.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "support/vsensor.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

// The program's panels and COM9 linked to a started virtual sensor; the
// operator averages 256 values, which a passed search restores.
void Connect(testsupport::VirtualSensor* vs, const std::vector<std::string>& options) {
    ASSERT_TRUE(testsupport::FreshStart());
    ASSERT_TRUE(vs->Start(9, options));
    com = 9;
    ASSERT_EQ(OpenComConfig(com, "", 19200, 0, 8, 1, 1024, 1024), 0);
    SetComTime(com, 2.0);
    transbeg = Timer() - 10;
    waitdel = 0;
    GetPanelValues();
    average = 256;
    SetPanelValues();
}

// The operator answers yes to starting and reads the two notices.
void Search() {
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    seam::ExpectMessage();
    StartCalibrationRef1();
}

// The operator confirms; the text of the notice that follows.
std::string Confirm() {
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    ConfirmCalibration();
    return seam::Shown().back().text;
}

TEST(CalibrationWithVirtualSensor, StoresThePowerAndRawValuesAndGlossReadsHundred) {
    testsupport::VirtualSensor vs;
    ASSERT_NO_FATAL_FAILURE(Connect(&vs, {"--gloss", "100", "--unpaced"}));

    Search();
    ASSERT_EQ(calibok, 1) << seam::Shown().back().text;
    EXPECT_EQ(average, 256);
    const unsigned short foundPower = power, foundDir = dataChDir, foundRef = dataChRef;
    EXPECT_GT(foundDir, 3650);
    EXPECT_LT(foundDir, 4050);

    const std::string confirmed = Confirm();
    EXPECT_EQ(confirmed.rfind(" Calibration successful!", 0), 0u) << confirmed;

    testsupport::VSensorState st;
    ASSERT_TRUE(vs.ReadState(&st));
    EXPECT_EQ(st.cal[0], foundPower);
    EXPECT_EQ(st.cal[1], foundDir);
    EXPECT_EQ(st.cal[2], foundRef);

    // Live glossy factor on the reference: 100.0 units, give or take 1.
    order = 5;
    double sum = 0;
    for (int i = 0; i < 5; ++i) {
        GetDataFrame();
        ASSERT_EQ(nBytesR, 32);
        sum += dataGf;
    }
    EXPECT_NEAR(sum / 5 / 10.0, 100.0, 1.0);
    CloseCom(com);
    EXPECT_EQ(seam::Pending(), 0);
}

// The demo as started by run-demo.sh: the default scenario, which changes
// its target every few tenths of a second here, still calibrates, because
// the sensor holds the reference while the calibration settings are sent.
TEST(CalibrationWithVirtualSensor, PassesWithTheDefaultScenario) {
    testsupport::VirtualSensor vs;
    ASSERT_NO_FATAL_FAILURE(Connect(&vs, {"--period", "0.2", "--unpaced"}));

    Search();
    ASSERT_EQ(calibok, 1) << seam::Shown().back().text;
    const std::string confirmed = Confirm();
    EXPECT_EQ(confirmed.rfind(" Calibration successful!", 0), 0u) << confirmed;
    testsupport::VSensorState st;
    ASSERT_TRUE(vs.ReadState(&st));
    EXPECT_GT(st.cal[1], 3650);
    EXPECT_LT(st.cal[1], 4050);
    CloseCom(com);
    EXPECT_EQ(seam::Pending(), 0);
}

}  // namespace
