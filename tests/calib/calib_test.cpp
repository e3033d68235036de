// The power search and the EEPROM store, against a scripted sensor.
#include "calib/calib.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>

#include "app/corvel.h"
#include "link/link.h"
#include "params/params.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/fakesensor.h"
#include "support/panels.h"
#include "uir_ids.h"

using namespace corvel;
using testsupport::FakeSensor;

namespace {

const int kPort = 7;

class Calibration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::FreshStart());
        ASSERT_TRUE(sensor.Start(
            kPort, [this](const FakeSensor::Request& r, unsigned char* out) { return Answer(r, out); }));
        com = kPort;
        ASSERT_EQ(OpenComConfig(com, "", 19200, 0, 8, 1, 1024, 1024), 0);
        SetComTime(com, 2.0);
        transbeg = Timer() - 10;
        waitdel = 0;
        // The operator's settings, which a passed search restores.
        pmod = 1;
        average = 64;
        evalmode = 1;
        trigger = 2;
        SetPanelValues();
        calibok = 0;
        dataChDir = dataChRef = 0;
    }
    void TearDown() override {
        CloseCom(com);
        sensor.Stop();
        EXPECT_EQ(seam::Pending(), 0) << "scripted popups left unanswered";
    }

    // Answers data frames from the script (CH_DIR values), then with
    // `steadyDir`; the read-back echoes the stored words unless told not to.
    int Answer(const FakeSensor::Request& r, unsigned char* out) {
        int order = FakeSensor::Word(r, 1);
        if (order == 1) sentPowers.push_back(FakeSensor::Word(r, 2));
        if (order == 5) {
            if (frameTimeouts.size() && frameTimeouts.front()) {
                frameTimeouts.pop_front();
                return -1;
            }
            if (frameTimeouts.size()) frameTimeouts.pop_front();
            unsigned short dir = steadyDir;
            if (!dirs.empty()) {
                dir = dirs.front();
                dirs.pop_front();
            }
            for (int i = 0; i < 16; ++i) FakeSensor::PutWord(out, i, 0);
            FakeSensor::PutWord(out, 0, 2000);  // CH_REF
            FakeSensor::PutWord(out, 1, dir);
            return 32;
        }
        if (order == 8) {
            for (int i = 0; i < 3; ++i) stored[i] = FakeSensor::Word(r, 2 + i);
            return -1;
        }
        if (order == 9) {
            for (int i = 0; i < 16; ++i) FakeSensor::PutWord(out, i, 0);
            for (int i = 0; i < 3; ++i) FakeSensor::PutWord(out, i, stored[i]);
            for (int i = 13; i < 16; ++i)
                FakeSensor::PutWord(out, i, static_cast<unsigned short>(0x1100 + i));
            if (corruptReadBack) FakeSensor::PutWord(out, 0, static_cast<unsigned short>(stored[0] + 1));
            return shortReadBack ? 31 : 32;
        }
        return -1;
    }

    // Runs the search with both popups answered yes/ok and the closing message expected.
    void Search() {
        seam::ExpectConfirm(1);
        seam::ExpectMessage();
        seam::ExpectMessage();
        StartCalibrationRef1();
    }
    // Lets the sensor thread take the telegrams that were just written.
    static void Settle() { usleep(150 * 1000); }
    std::string LastText() { return seam::Shown().empty() ? "" : seam::Shown().back().text; }

    FakeSensor sensor;
    std::deque<unsigned short> dirs;
    std::deque<bool> frameTimeouts;
    unsigned short steadyDir = 3850;
    unsigned short stored[3] = {0, 0, 0};
    std::vector<unsigned short> sentPowers;
    bool corruptReadBack = false;
    bool shortReadBack = false;
};

// The reports word for word; the other tests compare with the program's own texts.
TEST(CalibrationTexts, AreTheOperatorsWords) {
    EXPECT_STREQ(
        kSearchFailed,
        " Calibration can not be done. \n No proper power value can be find. \n Make sure that sensor "
        "shines on the reference \n with glossy factor 100 units. \n Make sure that the optical glasses "
        "are clean.");
    EXPECT_STREQ(kCommFailure, " Communication failure! \n Calibration can not be done. ");
}

TEST_F(Calibration, AcceptanceWindowOnTheTenthFrame) {
    const struct {
        unsigned short tenth;
        bool pass;
    } cases[] = {{3650, false}, {3651, true}, {4049, true}, {4050, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tenth);
        dirs.assign(9, 3850);
        dirs.push_back(c.tenth);
        calibok = 0;
        seam::Clear();
        Search();
        EXPECT_EQ(calibok, c.pass ? 1 : 0);
        const auto& shown = seam::Shown();
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_EQ(shown[0].title, "START CALIBRATION!");
        EXPECT_EQ(shown[1].text, " Starts calibration with Reference 100 units. ");
        EXPECT_EQ(shown[2].text, c.pass ? " Calibration can be done. \n Push CONFIRM CALIBRATION to finish! "
                                        : std::string(kSearchFailed));
    }
}

TEST_F(Calibration, SearchBelowTheTargetEndsAtTheCeiling) {
    steadyDir = 3850;  // never above the target: the power rises
    Search();
    Settle();
    // The tenth iteration sends what it measures, so the sent powers are the path.
    ASSERT_GE(sentPowers.size(), 10u);
    std::vector<unsigned short> path(sentPowers.begin(), sentPowers.begin() + 10);
    EXPECT_EQ(path, (std::vector<unsigned short>{512, 768, 896, 960, 992, 1000, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(power, 1000);
}

TEST_F(Calibration, SearchAlwaysAboveTheTargetEndsAtOne) {
    steadyDir = 3851;  // always above: the power falls to 1
    Search();
    Settle();
    ASSERT_GE(sentPowers.size(), 10u);
    EXPECT_EQ(sentPowers[8], 2);
    EXPECT_EQ(sentPowers[9], 1);
    EXPECT_EQ(power, 1);
}

TEST_F(Calibration, FailedSearchKeepsTheSearchSettingsPassedOneRestores) {
    steadyDir = 100;  // a matt target never reaches the window
    Search();
    EXPECT_EQ(calibok, 0);
    Settle();
    EXPECT_EQ(pmod, 0);
    EXPECT_EQ(average, 4096);
    EXPECT_EQ(evalmode, 0);
    EXPECT_EQ(trigger, 0);
    unsigned short v = 99;
    GetCtrlVal(panel, P_EDITAVERAGE, &v);
    EXPECT_EQ(v, 4096);
    // The sensor got the search settings with the last parameter frame.
    auto last = sensor.Received();
    int i = static_cast<int>(last.size()) - 1;
    while (i >= 0 && FakeSensor::Word(last[i], 1) != 1) --i;
    ASSERT_GE(i, 0);
    EXPECT_EQ(FakeSensor::Word(last[i], 3), 0);     // pmod
    EXPECT_EQ(FakeSensor::Word(last[i], 4), 4096);  // average

    steadyDir = 3850;
    dirs.assign(9, 3850);
    dirs.push_back(3800);
    pmod = 1;
    average = 64;
    evalmode = 1;
    trigger = 2;
    sensor.ClearReceived();
    Search();
    EXPECT_EQ(calibok, 1);
    EXPECT_EQ(pmod, 1);
    EXPECT_EQ(average, 64);
    EXPECT_EQ(evalmode, 1);
    EXPECT_EQ(trigger, 2);
    Settle();
    last = sensor.Received();
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(FakeSensor::Word(last.back(), 1), 1);
    EXPECT_EQ(FakeSensor::Word(last.back(), 4), 64);  // the operator's average went back
    // The final long-averaged frame was taken with 32768.
    bool sawFinal = false;
    for (const auto& r : last)
        if (FakeSensor::Word(r, 1) == 1 && FakeSensor::Word(r, 4) == 32768) sawFinal = true;
    EXPECT_TRUE(sawFinal);
}

// A lost frame inside the search goes on with the old values; a lost tenth
// or final frame fails, leaving the search settings like any failed search.
TEST_F(Calibration, LostFramesInTheSearch) {
    const struct {
        int lost;  // index of the lost frame; 10 is the final measurement
        bool pass;
    } cases[] = {{3, true}, {9, false}, {10, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lost);
        dirs.assign(11, 3850);
        frameTimeouts.assign(11, false);
        frameTimeouts[c.lost] = true;
        pmod = 1, average = 64, evalmode = 1, trigger = 2;
        seam::Clear();
        sensor.ClearReceived();
        seam::ExpectConfirm(1);
        seam::ExpectMessage();
        seam::ExpectMessage();  // the time-out report
        seam::ExpectMessage();
        StartCalibrationRef1();
        EXPECT_EQ(calibok, c.pass ? 1 : 0);
        ASSERT_EQ(seam::Shown().size(), 4u);
        EXPECT_NE(seam::Shown()[2].text.find("TIMEOUT"), std::string::npos);
        EXPECT_EQ(LastText() == kSearchFailed, !c.pass);
        Settle();
        auto got = sensor.Received();
        while (!got.empty() && FakeSensor::Word(got.back(), 1) != 1) got.pop_back();
        ASSERT_FALSE(got.empty());
        const int want[] = {c.pass ? 1 : 0, c.pass ? 64 : 4096, c.pass ? 1 : 0};
        EXPECT_EQ(FakeSensor::Word(got.back(), 3), want[0]);  // pmod
        EXPECT_EQ(FakeSensor::Word(got.back(), 4), want[1]);  // average
        EXPECT_EQ(FakeSensor::Word(got.back(), 5), want[2]);  // evalmode
        unsigned short v = 0;
        GetCtrlVal(panel, P_EDITAVERAGE, &v);
        EXPECT_EQ(v, want[1]);
        EXPECT_EQ(trigger, c.pass ? 2 : 0);
    }
}

TEST_F(Calibration, ConfirmationStoresAndReadsBack) {
    // No search yet: nothing is sent.
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    ConfirmCalibration();
    EXPECT_EQ(LastText(), kSearchFailed);
    EXPECT_TRUE(sensor.Received().empty());

    dirs.assign(9, 3850);
    dirs.push_back(3860);
    dirs.push_back(3855);  // the final measurement
    Search();
    pp[16] = 0x7777;
    ASSERT_EQ(calibok, 1);
    const unsigned short foundPower = power;

    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    ConfirmCalibration();
    EXPECT_EQ(LastText().rfind(" Calibration successful!", 0), 0u) << LastText();
    EXPECT_EQ(stored[0], foundPower);
    EXPECT_EQ(stored[1], 3855);
    EXPECT_EQ(stored[2], 2000);
    // Words 13 to 15 of the read-back are the pass-through words; the teach table stays.
    EXPECT_EQ(pp[13], 0x110D);
    EXPECT_EQ(pp[15], 0x110F);
    EXPECT_EQ(pp[16], 0x7777);

    corruptReadBack = true;
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    ConfirmCalibration();
    EXPECT_EQ(LastText(), kCommFailure);

    corruptReadBack = false;
    shortReadBack = true;
    seam::ExpectConfirm(1);
    seam::ExpectMessage();  // time-out report
    seam::ExpectMessage();
    ConfirmCalibration();
    EXPECT_EQ(LastText(), kCommFailure);
}

TEST_F(Calibration, NoMeansNothingChangesOrIsSent) {
    seam::ExpectConfirm(0);
    StartCalibrationRef1();
    seam::ExpectConfirm(0);
    ConfirmCalibration();
    EXPECT_TRUE(sensor.Received().empty());
    EXPECT_EQ(average, 64);
}

TEST_F(Calibration, PanelSwapsAndReopeningNeedsANewSearch) {
    DisplayPanel(panel);
    calibok = 1;
    sim::Click(panel, P_BUTTONCALIBRATE);
    EXPECT_EQ(calibok, 0);
    EXPECT_TRUE(IsPanelVisible(calibpanel));
    EXPECT_FALSE(IsPanelVisible(panel));
    sim::Close(calibpanel);
    EXPECT_FALSE(IsPanelVisible(calibpanel));
    EXPECT_TRUE(IsPanelVisible(panel));
    HidePanel(panel);
}

TEST_F(Calibration, StartButtonIsRedWhileItRuns) {
    DisplayPanel(calibpanel);
    static int colourDuring;
    seam::Answer a{seam::Kind::Confirm, 0, "", nullptr, nullptr};
    a.during = [](void*) {
        GetCtrlAttribute(calibpanel, CALIBP_BUTTONSTARTCALIB, ATTR_BUTTON_COLOR, &colourDuring);
    };
    seam::Expect(a);
    sim::Click(calibpanel, CALIBP_BUTTONSTARTCALIB);
    EXPECT_EQ(colourDuring, 0xFF0000);
    int after = 0;
    GetCtrlAttribute(calibpanel, CALIBP_BUTTONSTARTCALIB, ATTR_BUTTON_COLOR, &after);
    EXPECT_EQ(after, 0xE0E0E0);
    HidePanel(calibpanel);
}

TEST_F(Calibration, HelpTexts) {
    const struct {
        int panel, ctrl;
        const char* text;
    } cases[] = {
        {panel, P_BUTTONCALIBRATE, " Button to calibrate the sensor "},
        {calibpanel, CALIBP_BUTTONSTARTCALIB, " Starts calibration with Reference 100 units. "},
        {calibpanel, CALIBP_BUTTONCONFIRMCALIB, " Confirm calibration. "},
        {calibpanel, CALIBP_BUTTONCLOSECALIB, " Close calibration panel and return to scope. "},
        {calibpanel, CALIBP_SLIDEREFPOWER,
         " Select the intensity of the transmitter LED. \n 0 = no intensity,  1000 = full intensity."},
    };
    for (const auto& c : cases) {
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(c.panel, c.ctrl);
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(seam::Shown()[0].title, "INFO!");
        EXPECT_EQ(seam::Shown()[0].text, c.text);
    }
}

}  // namespace

namespace {

std::string StepText() {
    return testsupport::CtrlText(calibpanel, CALIBP_DISPCALIBSTEP);
}

std::string shownDuringPopup;
void KeepStepText(void*) {
    shownDuringPopup = StepText();
    DisplayPanel(calibpanel);
    sim::Pump(20);
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    SavePanelImage(calibpanel, CORVEL_SCREENSHOT_DIR "/state_calibration.png");
}

TEST_F(Calibration, ProgressShowsStepPowerTriedAndChDirThenTheResult) {
    // Above, below, then no frame: the third step tries 512 - 256 + 128.
    dirs = {3900, 3800};
    frameTimeouts = {false, false, true};
    seam::ExpectConfirm(1);
    seam::ExpectMessage();
    seam::Answer timeout{};
    timeout.kind = seam::Kind::Message;
    timeout.during = KeepStepText;
    seam::Expect(timeout);
    seam::ExpectMessage();
    StartCalibrationRef1();
    EXPECT_EQ(shownDuringPopup, "Step 3 of 10: power 384, measuring ...");
    // A frame lost before the tenth lets the search go on.
    EXPECT_EQ(StepText(), "Search passed: power 511, CH_DIR 3850, CH_REF 2000");
    HidePanel(calibpanel);

    // The passed search ends with the final measurement's values.
    seam::Clear();
    dirs.assign(10, 3850);
    frameTimeouts.clear();
    Search();
    EXPECT_EQ(StepText(), "Search passed: power 1000, CH_DIR 3850, CH_REF 2000");

    seam::Clear();
    steadyDir = 100;
    dirs.clear();
    Search();
    EXPECT_EQ(StepText(), "Search failed: CH_DIR 100 at power 1000, 3651 to 4049 needed");
    int colour = 0;
    GetCtrlAttribute(calibpanel, CALIBP_DISPCALIBSTEP, ATTR_TEXT_COLOR, &colour);
    EXPECT_EQ(colour, 0xC00000);
}

}  // namespace
