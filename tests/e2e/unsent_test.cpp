// Unsent edits against the virtual sensor: marks and count after an edit,
// a send and a read; edits a GET or a port change's link check replaced
// brought back in one step; the question when P closes with unsent edits.
#include "params/unsent.h"

#include <sys/stat.h>

#include <string>

#include "e2e.h"
#include "params/params.h"
#include "platform/testing.h"
#include "platform/theme.h"

using namespace corvel;
using namespace e2e;

namespace {

int Attr(int control, int attribute) {
    int v = -1;
    GetCtrlAttribute(panel, control, attribute, &v);
    return v;
}

int RowMarked(int row) {
    int v = -1;
    GetTableRowAttribute(panel, P_TEACHTABLE, row, ATTR_ROW_MARKED, &v);
    return v;
}

unsigned short U16(int control) {
    unsigned short v = 0;
    GetCtrlVal(panel, control, &v);
    return v;
}

unsigned short Cell(int col, int row) {
    unsigned short v = 0;
    GetTableCellVal(panel, P_TEACHTABLE, col, row, &v);
    return v;
}

class Unsent : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        UnsentStart();
        StartAndInit({"--unpaced"});
        ASSERT_EQ(Status(), kSensorVersion);
        ASSERT_EQ(UnsentCountForTest(), 0) << "the values read are no edits";
        hold = U16(P_EDITHOLD);
        cell = Cell(2, 6);
    }
    void TearDown() override {
        if (Int(P_PARAVISIBLE) == 0) sim::Click(panel, P_PARAVISIBLE);
        E2eTest::TearDown();
    }
    static int Int(int control) {
        int v = -1;
        GetCtrlVal(panel, control, &v);
        return v;
    }
    // HOLD and a cell of teach row 5 edited as the operator would; the
    // focus stays in HOLD.
    void EditHoldAndRow5() {
        sim::Click(panel, P_PARAVISIBLE);
        sim::EnterCell(panel, P_TEACHTABLE, 2, 6, cell + 7);
        sim::Click(panel, P_PARAVISIBLE);
        sim::EnterValue(panel, P_EDITHOLD, hold + 5);
    }
    unsigned short hold = 0, cell = 0;
};

TEST_F(Unsent, MarksFollowAnEditASendAndARead) {
    EXPECT_EQ(Text(P_DISPUNSENT), "No unsent changes");
    EXPECT_EQ(Attr(P_EDITHOLD, ATTR_MARKED), 0);

    EditHoldAndRow5();
    EXPECT_EQ(Attr(P_EDITHOLD, ATTR_MARKED), 1);
    EXPECT_EQ(Attr(P_EDITAVERAGE, ATTR_MARKED), 0);
    EXPECT_EQ(RowMarked(6), 1);
    EXPECT_EQ(RowMarked(5), 0);
    EXPECT_EQ(Text(P_DISPUNSENT), "\u2022 2 unsent changes");
    char tip[128] = "";
    GetCtrlAttribute(panel, P_EDITHOLD, ATTR_TOOLTIP_TEXT, tip, sizeof tip);
    EXPECT_EQ(std::string(tip), "Not sent yet. Last sent or read: " + std::to_string(hold));

    // Back to the value read: no longer an edit.
    sim::EnterValue(panel, P_EDITHOLD, hold);
    EXPECT_EQ(Attr(P_EDITHOLD, ATTR_MARKED), 0);
    EXPECT_EQ(UnsentCountForTest(), 1);

    // A complete send: the panel is what the sensor holds.
    sim::Click(panel, P_BUTTONSEND);
    EXPECT_EQ(StateAfter(2, 31).ram[16 + 5 * 4 + 1], cell + 7);
    EXPECT_EQ(UnsentCountForTest(), 0);
    EXPECT_EQ(RowMarked(6), 0);
    EXPECT_EQ(Text(P_DISPUNSENT), "No unsent changes");

    // A read that replaces nothing leaves nothing marked and nothing to restore.
    PauseOver();
    sim::Click(panel, P_BUTTONGET);
    EXPECT_EQ(UnsentCountForTest(), 0);
    EXPECT_FALSE(RestorePossibleForTest());
    EXPECT_EQ(Attr(P_BUTTONRESTOREEDITS, ATTR_VISIBLE), 0);
}

TEST_F(Unsent, EditsAGetReplacedComeBackWithCtrlZ) {
    EditHoldAndRow5();
    PauseOver();
    // F10 leaves the focus in HOLD, whose own Ctrl+Z would undo its text.
    sim::Key(panel, "F10");
    EXPECT_EQ(U16(P_EDITHOLD), hold);
    EXPECT_EQ(Cell(2, 6), cell);
    EXPECT_EQ(UnsentCountForTest(), 0);
    EXPECT_NE(Text(P_DISPTRANSFER)
                  .find("GET from RAM replaced 2 unsent edits (HOLD, teach row 5): RESTORE "
                        "EDITS or Ctrl+Z brings them back"),
              std::string::npos)
        << Text(P_DISPTRANSFER);
    EXPECT_EQ(Attr(P_BUTTONRESTOREEDITS, ATTR_VISIBLE), 1);

    sim::Key(panel, "Ctrl+Z");
    EXPECT_EQ(U16(P_EDITHOLD), hold + 5);
    EXPECT_EQ(Cell(2, 6), cell + 7);
    // The read stays the baseline: they are unsent again.
    EXPECT_EQ(Attr(P_EDITHOLD, ATTR_MARKED), 1);
    EXPECT_EQ(RowMarked(6), 1);
    EXPECT_EQ(UnsentCountForTest(), 2);
    EXPECT_EQ(Attr(P_BUTTONRESTOREEDITS, ATTR_VISIBLE), 0);
    EXPECT_TRUE(Popups().empty());

    // A later edit ends the chance to restore what the next read replaces.
    PauseOver();
    sim::Click(panel, P_BUTTONGET);
    ASSERT_TRUE(RestorePossibleForTest());
    sim::EnterValue(panel, P_EDITAVERAGE, U16(P_EDITAVERAGE) + 1);
    EXPECT_FALSE(RestorePossibleForTest());
    sim::Key(panel, "Ctrl+Z");
    EXPECT_EQ(U16(P_EDITHOLD), hold);
}

TEST_F(Unsent, EditsAPortChangesLinkCheckReplacedComeBackWithTheButton) {
    sim::EnterValue(panel, P_EDITHOLD, hold + 5);
    // The operator commits the COM field: the link check reads the parameters.
    sim::EnterValue(panel, P_EDITCONNECT, kCom);
    EXPECT_EQ(State().Received(3), 2u);
    EXPECT_EQ(U16(P_EDITHOLD), hold);
    EXPECT_NE(Text(P_DISPTRANSFER).find("Link check on COM 7 replaced 1 unsent edit (HOLD)"),
              std::string::npos)
        << Text(P_DISPTRANSFER);
    sim::Click(panel, P_BUTTONRESTOREEDITS);
    EXPECT_EQ(U16(P_EDITHOLD), hold + 5);
    EXPECT_EQ(Attr(P_EDITHOLD, ATTR_MARKED), 1);
    EXPECT_NE(Text(P_DISPTRANSFER).find("RESTORE EDITS brought back 1 edit (HOLD), not sent yet"),
              std::string::npos);
    EXPECT_FALSE(RestorePossibleForTest());
}

TEST_F(Unsent, CloseAsksOnlyWithUnsentEditsAndNoKeepsTheLoopsRunning) {
    const std::string question = Popup(
        "ATTENTION!", " 2 parameter changes have not been sent to the sensor or a file. \n Close anyway? ");
    // No edits: the close goes through at once.
    poll = 1;
    pollrecord = 1;
    CBF_P(panel, EVENT_CLOSE, nullptr, 0, 0);
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(pollrecord, 0);
    EXPECT_TRUE(Popups().empty());

    EditHoldAndRow5();
    // Asked during live data: No keeps the live loop running.
    bool runningAfterNo = false;
    PauseOver();
    RunLive([] { sim::Click(panel, P_BUTTONGO); }, 300,
            [&] {
                seam::ExpectConfirm(0);
                sim::Close(panel);
                runningAfterNo = poll == 1;
                sim::Click(panel, P_BUTTONSTOP);
            });
    EXPECT_TRUE(runningAfterNo);
    EXPECT_EQ(Popups(), std::vector<std::string>{question});
    EXPECT_EQ(UnsentCountForTest(), 2) << "the edits stay";

    // Yes closes as before: both flags cleared.
    seam::Clear();
    seam::ExpectConfirm(1);
    poll = 1;
    pollrecord = 1;
    CBF_P(panel, EVENT_CLOSE, nullptr, 0, 0);
    EXPECT_EQ(poll, 0);
    EXPECT_EQ(pollrecord, 0);
    EXPECT_EQ(Popups(), std::vector<std::string>{question});
}

// Pictures of the marks and the count for a person to judge, light and
// dark (build folder, screenshots/unsent_*.png).
TEST_F(Unsent, Screenshots) {
    mkdir(CORVEL_SCREENSHOT_DIR, 0755);
    sim::EnterValue(panel, P_EDITHOLD, hold + 5);
    sim::EnterValue(panel, P_EDITAVERAGE, U16(P_EDITAVERAGE) * 2);
    sim::ChooseRing(panel, P_EDITTRIGGER, 0 == U16(P_EDITTRIGGER) ? 1 : 0);
    ASSERT_EQ(UnsentCountForTest(), 3);
    for (int scheme : {SCHEME_LIGHT, SCHEME_DARK}) {
        ASSERT_EQ(UseColourScheme(scheme), UIE_OK);
        sim::Pump(30);
        const std::string path = std::string(CORVEL_SCREENSHOT_DIR) +
                                 (scheme == SCHEME_DARK ? "/unsent_dark.png" : "/unsent_light.png");
        EXPECT_EQ(SavePanelImage(panel, path.c_str()), 0) << path;
    }
    UseColourScheme(SCHEME_DESKTOP);
}

}  // namespace
