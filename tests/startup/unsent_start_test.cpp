// Started without a sensor, the panel holds the start values: the count
// says so, they are no edits, and a close ends the program at once. An
// edit made then is asked about.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTimer>
#include <string>

#include "app/corvel.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "support/sandbox.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

// COM1 is a link to a device that is not there: the port does not open.
class NoSensor : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::MakeTempFolder("corvel-nosensor");
        ASSERT_FALSE(dir_.empty());
        ASSERT_FALSE(testsupport::LinkCom(dir_, 1, "/dev/corvel-no-such-device").empty());
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        seam::Clear();
    }
    void TearDown() override { testsupport::RemoveTree(dir_); }
    std::string dir_;
};

std::string unsentText;

TEST_F(NoSensor, CloseEndsAtOnceWithoutAQuestion) {
    QTimer::singleShot(300, [] {
        unsentText = testsupport::CtrlText(panel, P_DISPUNSENT);
        sim::Close(panel);
    });
    EXPECT_EQ(WinMain(0, 0, nullptr, 0), 0);
    EXPECT_EQ(unsentText, "Start values, nothing read from a sensor yet");
    EXPECT_TRUE(seam::Shown().empty());
}

TEST_F(NoSensor, AnEditIsAskedAboutBeforeTheClose) {
    QTimer::singleShot(300, [] {
        unsigned short hold = 0;
        GetCtrlVal(panel, P_EDITHOLD, &hold);
        sim::EnterValue(panel, P_EDITHOLD, hold + 1);
        seam::ExpectConfirm(0);
        sim::Close(panel);  // No: the program runs on
        seam::ExpectConfirm(1);
        sim::Close(panel);
    });
    EXPECT_EQ(WinMain(0, 0, nullptr, 0), 0);
    ASSERT_EQ(seam::Shown().size(), 2u);
    EXPECT_EQ(seam::Shown()[1].title, "ATTENTION!");
    EXPECT_EQ(seam::Shown()[1].text,
              " 1 parameter change has not been sent to the sensor or a file. \n Close anyway? ");
}

}  // namespace
