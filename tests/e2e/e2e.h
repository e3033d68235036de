// Shared by the end-to-end tests: the program's panels shown, the link
// state as at start, the virtual sensor on a real pseudo-terminal, and
// readers and writers of the panel's parameter words.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/corvel.h"
#include "link/link.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "support/vsensor.h"
#include "uir_ids.h"

namespace e2e {

constexpr int kWords = corvel::kPacketWords;
// The version text the virtual sensor answers with (48 characters).
extern const char kSensorVersion[];

// A full parameter packet, word by word as it goes on the wire.
struct Words {
    unsigned short w[kWords];
};

// A packet whose every word differs from the factory state and from the
// panel's start values; `seed` makes two of them differ from each other.
// Consistent with the panel's own rules (GF mode runs with dynamic power,
// more than five vectors only with the binary output), so that showing it
// brings no warning.
Words Distinct(int seed);

// The words the panel shows: 0..12 and the teach table 16..139. Words 13
// to 15 are not on the panel and are left as `fill`.
Words PanelWords(unsigned short fill = 0);
// Puts words 0..12 and the teach table onto the panel, as an operator
// would have entered them (no callback runs).
void SetPanelWords(const Words& w);
// Compares the panel's words (13 to 15 excluded) with a packet.
::testing::AssertionResult PanelShows(const unsigned short* expected);

// Writes an EEPROM image for --eeprom (140 words, then 3 calibration words).
bool WriteEepromImage(const std::string& path, const Words& w);

// The text of a control of the main panel, and of its status line.
inline std::string Text(int control) {
    return testsupport::CtrlText(corvel::panel, control);
}
inline std::string Status() {
    return Text(P_DISPSTATUS);
}
// The popups since the last seam::Clear(), as "title|text".
std::vector<std::string> Popups();
std::string Popup(const std::string& title, const char* text);

// The last data reply the sensor sent, from its --trace log.
struct TracedFrame {
    bool found = false;
    unsigned ref = 0, dir = 0, dif = 0, norm = 0, inten = 0, gf = 0, vec = 0, temp = 0;
};
// The last traced data reply, once the log holds `replies` of them (found
// stays false when it never does).
TracedFrame LastTracedFrame(const std::string& logPath, unsigned long replies);

// Runs `start` (which is to press GO, so the live loop runs inside it) and
// `during` once, `afterMs` later, from the loop's event processing. A guard
// ends the loop after `guardMs` and fails the test, so nothing hangs.
// Returns the seconds that `start` took.
double RunLive(const std::function<void()>& start, int afterMs, const std::function<void()>& during,
               int guardMs = 10000);

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the virtual sensor on `port` and opens the link as start-up does.
    void StartAndInit(const std::vector<std::string>& options, int port = kCom);
    void SelectTarget(unsigned short t);
    // As if the last transaction was long ago: the pause rule passes at once.
    static void PauseOver();
    testsupport::VSensorState State() const;
    // The sensor's state once `order` has arrived `count` times.
    testsupport::VSensorState StateAfter(int order, unsigned long count) const;

    static constexpr int kCom = 7;
    testsupport::VirtualSensor sensor;
};

}  // namespace e2e
