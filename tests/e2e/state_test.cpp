// What the main panel says about its state, against the virtual sensor:
// the live lamp and frame rate, dimmed displays once live data has ended,
// and the transfer line after sends, reads and failures. Pictures of each
// state go to the build folder (screenshots/state_*.png).
#include <sys/stat.h>
#include <unistd.h>

#include <QTimer>
#include <cstdio>
#include <regex>

#include "e2e.h"
#include "platform/testing.h"
#include "platform/theme.h"

using namespace corvel;
using namespace e2e;

namespace {

constexpr int kLampLive = 0x30C050;
constexpr int kLampIdle = VAL_AUTO_COLOR;  // unlit, the palette's own display colours
// Current values read in the palette's own display colour, as the recorder's
// displays (never dimmed) show it.
int ValueColour() {
    int v = -1;
    GetCtrlAttribute(recpanel, RECP_RECDISPCHREF, ATTR_TEXT_COLOR, &v);
    return v;
}
constexpr int kStaleColour = 0xA8B0B8;

int Attr(int control, int attribute) {
    int v = -1;
    GetCtrlAttribute(panel, control, attribute, &v);
    return v;
}

// The text and then the time of day.
::testing::AssertionResult SaysAt(const std::string& text, const std::string& what) {
    if (std::regex_match(text, std::regex(std::regex_replace(what, std::regex(R"([.()/\\])"), R"(\$&)") +
                                          " [0-2][0-9]:[0-5][0-9]:[0-6][0-9]")))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" is not \"" << what << " HH:MM:SS\"";
}

void Picture(int panelHandle, const char* name) {
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    sim::Pump(20);
    const std::string path = std::string(CORVEL_SCREENSHOT_DIR) + "/state_" + name + ".png";
    EXPECT_EQ(SavePanelImage(panelHandle, path.c_str()), 0) << path;
}

class PanelState : public E2eTest {};

TEST_F(PanelState, LampAndRateWhileLiveDimmedValuesWithTheLastFrameTimeAfterStop) {
    StartAndInit({"--unpaced", "--answer-ms", "5", "--gloss", "85"});
    PauseOver();
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 900,
            [] {
                EXPECT_EQ(Attr(P_DISPLIVE, ATTR_TEXT_BGCOLOR), kLampLive);
                EXPECT_TRUE(std::regex_match(Text(P_DISPLIVE), std::regex(R"(LIVE [0-9]+\.[0-9] frames/s)")))
                    << Text(P_DISPLIVE);
                for (int id : {P_DISPCHREF, P_DISPCHDIR, P_DISPNORM, P_DISPGF, P_DISPVEC, P_DISPTEMP})
                    EXPECT_EQ(Attr(id, ATTR_TEXT_COLOR), ValueColour()) << id;
                Picture(panel, "live");
                sim::Click(panel, P_BUTTONSTOP);
            });
    EXPECT_EQ(Attr(P_DISPLIVE, ATTR_TEXT_BGCOLOR), kLampIdle);
    EXPECT_TRUE(std::regex_match(Text(P_DISPLIVE), std::regex("LAST FRAME [0-2][0-9]:[0-5][0-9]:[0-6][0-9]")))
        << Text(P_DISPLIVE);
    for (int id : {P_DISPCHREF, P_DISPCHDIR, P_DISPNORM, P_DISPGF, P_DISPVEC, P_DISPTEMP})
        EXPECT_EQ(Attr(id, ATTR_TEXT_COLOR), kStaleColour) << id;
    EXPECT_EQ(Status(), kSensorVersion);  // the status text is left alone
    EXPECT_TRUE(Popups().empty());
    Picture(panel, "stopped");
}

// The lamp, its text and a value's colour, as the time-out popup shows over them.
struct AtPopup {
    bool seen = false;
    int lamp = -1;
    std::string text;
    int value = -1;
};

void LookAtTheLamp(void* data) {
    auto* at = static_cast<AtPopup*>(data);
    at->seen = true;
    at->lamp = Attr(P_DISPLIVE, ATTR_TEXT_BGCOLOR);
    at->text = Text(P_DISPLIVE);
    at->value = Attr(P_DISPNORM, ATTR_TEXT_COLOR);
    for (int scheme : {SCHEME_LIGHT, SCHEME_DARK}) {
        UseColourScheme(scheme);
        Picture(panel, scheme == SCHEME_DARK ? "pulled_dark" : "pulled_light");
    }
    UseColourScheme(SCHEME_DESKTOP);
}

double Rate(const std::string& lamp) {
    double r = -1;
    return std::sscanf(lamp.c_str(), "LIVE %lf frames/s", &r) == 1 ? r : -1;
}

TEST_F(PanelState, PulledSensorPutsTheLampOutAndDimsTheValuesBeforeTheTimeoutPopup) {
    StartAndInit({"--unpaced", "--answer-ms", "5", "--hangup-after", "30"});
    AtPopup at;
    seam::Expect({seam::Kind::Message, 0, "", LookAtTheLamp, &at});
    PauseOver();
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 0, nullptr);
    ASSERT_TRUE(at.seen) << "no time-out popup";
    EXPECT_EQ(at.lamp, kLampIdle);
    EXPECT_TRUE(SaysAt(at.text, "LAST FRAME"));
    EXPECT_EQ(at.value, kStaleColour);
    EXPECT_EQ(Status(), "TIMEOUT");
}

TEST_F(PanelState, GoWithoutADeviceNeverLightsTheLamp) {
    // No sensor on the port: nothing is ever accepted.
    AtPopup at;
    seam::Expect({seam::Kind::Message, 0, "", LookAtTheLamp, &at});
    PauseOver();
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 0, nullptr);
    ASSERT_TRUE(at.seen) << "no time-out popup";
    EXPECT_EQ(at.lamp, kLampIdle);
    EXPECT_EQ(at.text.rfind("LIVE", 0), std::string::npos) << at.text;
    EXPECT_EQ(at.value, kStaleColour);
}

TEST_F(PanelState, RateCountsFramesOnceAtLineSpeedAlsoWithASecondLoopInside) {
    // Paced as the line is: at most 28.2 frames a second.
    StartAndInit({"--answer-ms", "18.75"});
    PauseOver();
    double single = -1, nested = -1;
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 1600,
            [&] {
                single = Rate(Text(P_DISPLIVE));
                QTimer::singleShot(1600, [&] {
                    nested = Rate(Text(P_DISPLIVE));
                    sim::Click(panel, P_BUTTONSTOP);
                });
                sim::Click(panel, P_BUTTONGO);  // a second live loop inside the first
            });
    // Counted twice, a frame would show about 56 frames/s. The limit leaves
    // room for the frames' time stamps, taken after each frame's panel work,
    // to jitter by a few milliseconds on a loaded machine.
    EXPECT_GT(single, 15.0);
    EXPECT_LE(single, 29.0);
    EXPECT_GT(nested, 15.0);
    EXPECT_LE(nested, 29.0);
}

TEST_F(PanelState, TransferLineAfterTheLinkCheckAndASendToEachTarget) {
    StartAndInit({"--unpaced"});
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "COM 7: sensor answered, parameters read from RAM"));
    SelectTarget(EEPROM);
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "Parameters sent to EEPROM"));
    Picture(panel, "after_send");
    SelectTarget(RAM);
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "Parameters sent to RAM"));
    PauseOver();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "Parameters read from RAM"));

    const testsupport::TempFolder dir("state");
    ASSERT_FALSE(dir.path.empty());
    const std::string file = dir.path + "/init.dat";
    SelectTarget(DATFILE);
    seam::ExpectFile(2, file);
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "Parameter file " + file + " written"));
    seam::ExpectFile(0, "");
    sim::Click(panel, P_BUTTONSEND);
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "No parameter file chosen: nothing written"));
    EXPECT_EQ(Attr(P_DISPTRANSFER, ATTR_TEXT_COLOR), 0xC00000);
    EXPECT_EQ(Status(), kSensorVersion);
    EXPECT_EQ(seam::Shown().size(), 2u);  // the two file choices, nothing else
}

TEST_F(PanelState, TransferLineAfterFailuresBesideTheExactStatusText) {
    StartAndInit({"--unpaced", "--no-answer", "--fault-order", "4"});
    SelectTarget(EEPROM);
    seam::ExpectMessage();
    PauseOver();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_EQ(Status(), "TIMEOUT");
    EXPECT_TRUE(
        SaysAt(Text(P_DISPTRANSFER), "Reading parameters from EEPROM failed: no reply, panel unchanged"));
    EXPECT_EQ(Attr(P_DISPTRANSFER, ATTR_TEXT_COLOR), 0xC00000);

    // A port that is closed takes no telegram.
    CloseCom(com);
    seam::ExpectMessage();
    PauseOver();
    sim::Click(panel, P_BUTTONSEND);
    EXPECT_EQ(Status(), "TIMEOUT");
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER),
                       "Sending parameters to EEPROM failed: TIMEOUT, not all telegrams written"));
    ASSERT_EQ(Popups().size(), 2u);  // the two time-out reports, no popup of its own

    // A port change to a port that is not there.
    sim::EnterValue(panel, P_EDITCONNECT, 33);
    EXPECT_TRUE(SaysAt(Text(P_DISPTRANSFER), "COM 33 could not be opened: " + Status()))
        << Text(P_DISPTRANSFER);
    EXPECT_EQ(Popups().size(), 2u);
}

}  // namespace
