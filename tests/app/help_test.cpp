// The main panel's callback convention: help on a right click, nothing on
// a commit of the controls that only hold or show a value.
#include <gtest/gtest.h>

#include <cstring>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "app/helptexts.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "uir_ids.h"

using namespace corvel;

namespace {

class MainPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        DisplayPanel(panel);
        seam::Clear();
    }
    void TearDown() override {
        HidePanel(panel);
        EXPECT_EQ(seam::Pending(), 0);
    }
    // Makes the control reachable whatever view or source is active.
    void Reveal(int ctrl) {
        SetCtrlAttribute(panel, ctrl, ATTR_VISIBLE, 1);
        SetCtrlAttribute(panel, ctrl, ATTR_DIMMED, 0);
    }
};

// The help table's entry for a control of the main panel, or nullptr.
const ControlHelp* MainPanelHelp(const char* name) {
    int count = 0;
    const ControlHelp* table = ProgramHelp(&count);
    for (int i = 0; i < count; ++i)
        if (std::strcmp(table[i].panel, "P") == 0 && std::strcmp(table[i].control, name) == 0)
            return &table[i];
    return nullptr;
}

struct Help {
    int ctrl;
    const char* name;
    const char* text;
    const char* title;
};

// Known pairs, written out here on their own, that the help table must give.
const Help kKnownHelp[] = {
    {P_EDITCONNECT, "EditConnect", InfoEditConnect, "INFO!"},
    {P_SELECTRAM, "SelectRAM", InfoSelectMEM, "INFO!"},
    {P_SELECTEEPROM, "SelectEEPROM", InfoSelectMEM, "INFO!"},
    {P_SELECTFILE, "SelectFILE", InfoSelectMEM, "INFO!"},
    {P_BUTTONSEND, "ButtonSend", InfoButtonSend, "INFO!"},
    {P_BUTTONGET, "ButtonGet", InfoButtonGet, "INFO!"},
    {P_BUTTONGO, "ButtonGo", InfoButtonGo, "INFO!"},
    {P_BUTTONSTOP, "ButtonStop", InfoButtonStop, "INFO!"},
    {P_DISPSTATUS, "DispStatus", InfoStatus, "INFO!"},
    {P_SLIDEPOWER, "SlidePower", InfoEditPower, "INFO!"},
    {P_EDITPMOD, "EditPmod", InfoEditPmod, "INFO!"},
    {P_EDITAVERAGE, "EditAverage", InfoEditAverage, "INFO!"},
    {P_EVALMODE, "Evalmode", InfoEditEvalmode, "INFO!"},
    {P_EDITHOLD, "EditHold", InfoEditHold, "INFO!"},
    {P_EDITINTLIM, "EditIntlim", InfoEditIntlim, "INFO!"},
    {P_EDITMAXNO, "EditMaxNo", InfoEditMaxcolNo, "INFO!"},
    {P_EDITDIGITALOUTMODE, "EditDigitalOutmode", InfoEditDigitalOutmode, "INFO!"},
    {P_EDITTRIGGER, "EditTrigger", InfoEditTrigger, "INFO!"},
    {P_EXTERNTEACH, "ExternTeach", InfoEditEvalmode, "INFO!"},
    {P_ANAOUTBEG, "AnaOutBeg", InfoEditAnaOutBegEnd, "INFO!"},
    {P_ANAOUTEND, "AnaOutEnd", InfoEditAnaOutBegEnd, "INFO!"},
    {P_EDITBIAS, "EditBias", InfoEditBias, "INFO!"},
    {P_EDITNO, "EditNo", InfoEditNo, "INFO!"},
    {P_RADIOINC, "RadioInc", InfoRadioInc, "INFO!"},
    {P_BUTTONTEACHDATATO, "ButtonTeachDataTo", InfoButtonTeachDataTo, "INFO!"},
    {P_BUTTONRESETTABLE, "ButtonResetTable", InfoButtonResetTable, "INFO!"},
    {P_PARAVISIBLE, "ParaVisible", InfoSwitchPara, "INFO!"},
    {P_DISPCHREF, "DispChRef", InfoDispRaw, "INFO!"},
    {P_DISPCHDIR, "DispChDir", InfoDispChDir, "INFO!"},
    {P_DISPCHDIF, "DispChDif", InfoDispRaw, "INFO!"},
    {P_BARCHREF, "BarChRef", InfoDispBars, "INFO!"},
    {P_BARCHDIR, "BarChDir", InfoDispBars, "INFO!"},
    {P_BARCHDIF, "BarChDif", InfoDispBars, "INFO!"},
    {P_DISPNORM, "DispNorm", InfoDispNorm, "INFO!"},
    {P_DISPINT, "DispINT", InfoDispInt, "INFO!"},
    {P_DISPVEC, "DispVec", InfoDispVec, "INFO!"},
    {P_DISPGF, "DispGF", InfoDispGf, "Info"},
    {P_SELECTSOURCE, "SelectSource", InfoSelectSource, "INFO!"},
    {P_GRAPHNORM, "GraphNorm", InfoGraph, "INFO!"},
    {P_GRAPHINT, "GraphInt", InfoGraph, "INFO!"},
    {P_GRAPHGF, "GraphGF", InfoGraphGF, "INFO!"},
    {P_GRAPHRAW1, "GraphRaw1", InfoGraph, "INFO!"},
    {P_BUTTONCALIBRATE, "ButtonCalibrate", InfoButtonCalibration, "INFO!"},
    {P_BUTTONOPENRECORDER, "ButtonOpenRecorder", InfoButtonOpenRecorder, "INFO!"},
};

TEST(HelpTable, GivesTheKnownTextOfEachControl) {
    ASSERT_TRUE(testsupport::LoadProgramPanels());
    for (const Help& h : kKnownHelp) {
        SCOPED_TRACE(h.name);
        EXPECT_EQ(GetCtrlByName(panel, h.name), h.ctrl);
        const ControlHelp* entry = MainPanelHelp(h.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_STREQ(entry->text, h.text);
    }
}

// The popup's title: "INFO!", but "Info" where a known pair says so.
const char* TitleOf(const char* name) {
    for (const Help& h : kKnownHelp)
        if (std::strcmp(h.name, name) == 0) return h.title;
    return "INFO!";
}

TEST_F(MainPanel, RightClickShowsTheHelpTextAndNothingElse) {
    int count = 0;
    const ControlHelp* table = ProgramHelp(&count);
    int clicked = 0;
    for (int i = 0; i < count; ++i) {
        const ControlHelp& h = table[i];
        if (std::strcmp(h.panel, "P") != 0) continue;
        SCOPED_TRACE(h.control);
        const int ctrl = GetCtrlByName(panel, h.control);
        ASSERT_GT(ctrl, 0);
        Reveal(ctrl);
        const unsigned short comBefore = com, targetBefore = target;
        const unsigned short pollBefore = corvel::poll;
        int visibleBefore = -1;
        GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &visibleBefore);
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(panel, ctrl);
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(seam::Shown()[0].title, TitleOf(h.control));
        EXPECT_EQ(seam::Shown()[0].text, h.text);
        EXPECT_EQ(com, comBefore);
        EXPECT_EQ(target, targetBefore);
        EXPECT_EQ(corvel::poll, pollBefore);
        int visibleAfter = -1;
        GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &visibleAfter);
        EXPECT_EQ(visibleAfter, visibleBefore);
        ++clicked;
    }
    EXPECT_GE(clicked, static_cast<int>(sizeof kKnownHelp / sizeof kKnownHelp[0]));
}

TEST_F(MainPanel, BigGlossDisplayHidesOnRightClickWithoutHelp) {
    Reveal(P_DISPGFBIG);
    sim::RightClick(panel, P_DISPGFBIG);
    EXPECT_TRUE(seam::Shown().empty());
    int visible = 1;
    GetCtrlAttribute(panel, P_DISPGFBIG, ATTR_VISIBLE, &visible);
    EXPECT_EQ(visible, 0);
}

TEST_F(MainPanel, CommittingValueOnlyControlsChangesNoVariable) {
    const unsigned short averageBefore = average, holdBefore = hold, intlimBefore = intlim;
    const unsigned short triggerBefore = trigger, powerBefore = power;
    const short biasBefore = bias;
    Reveal(P_EDITAVERAGE);
    Reveal(P_EDITHOLD);
    Reveal(P_EDITINTLIM);
    Reveal(P_EDITBIAS);
    Reveal(P_EDITTRIGGER);
    Reveal(P_SLIDEPOWER);
    Reveal(P_EDITNO);
    sim::EnterValue(panel, P_EDITAVERAGE, averageBefore == 77 ? 78 : 77);
    sim::EnterValue(panel, P_EDITHOLD, holdBefore == 33 ? 34 : 33);
    sim::EnterValue(panel, P_EDITINTLIM, intlimBefore == 55 ? 56 : 55);
    sim::EnterValue(panel, P_EDITBIAS, biasBefore == -7 ? -8 : -7);
    sim::ChooseRing(panel, P_EDITTRIGGER, triggerBefore == 1 ? 2 : 1);
    sim::Step(panel, P_SLIDEPOWER, 3);
    sim::EnterValue(panel, P_EDITNO, 4);
    EXPECT_EQ(average, averageBefore);
    EXPECT_EQ(hold, holdBefore);
    EXPECT_EQ(intlim, intlimBefore);
    EXPECT_EQ(bias, biasBefore);
    EXPECT_EQ(trigger, triggerBefore);
    EXPECT_EQ(power, powerBefore);
    EXPECT_TRUE(seam::Shown().empty());
    // The panel holds the edit for the next send.
    unsigned short v = 0;
    GetCtrlVal(panel, P_EDITAVERAGE, &v);
    EXPECT_EQ(v, averageBefore == 77 ? 78 : 77);
}

TEST(CallbackTable, EveryCallbackThePanelsNameExists) {
    ASSERT_TRUE(testsupport::LoadProgramPanels());
    int count = 0;
    const CallbackEntry* table = ProgramCallbacks(&count);
    const int panels[] = {panel, recpanel, calibpanel, graphpanel};
    int named = 0;
    for (int p : panels) {
        const int n = GetPanelCtrlCount(p);
        ASSERT_GT(n, 0);
        for (int c = 1; c <= n; ++c) {
            char cb[64] = "", name[64] = "";
            GetCtrlCallbackName(p, c, cb, sizeof cb);
            GetCtrlName(p, c, name, sizeof name);
            if (!cb[0]) continue;
            ++named;
            bool found = false;
            for (int i = 0; i < count; ++i)
                if (std::strcmp(table[i].name, cb) == 0 && table[i].ctrl) found = true;
            EXPECT_TRUE(found) << name << " names " << cb;
        }
    }
    EXPECT_GT(named, 60);
}

void Ignore(const seam::Popup&) {}

// What a right click explains, a rest of the mouse shows: for every control
// of every panel whose right click opens a help popup, the tooltip is that
// popup's text.
TEST(Tooltips, EveryControlShowsItsRightClickHelpOnHover) {
    ASSERT_TRUE(testsupport::LoadProgramPanels());
    const seam::Handler before = seam::SetUnexpectedHandler(Ignore);
    int compared = 0;
    for (int p : {panel, recpanel, calibpanel, graphpanel}) {
        DisplayPanel(p);
        for (int c = 1; c <= GetPanelCtrlCount(p); ++c) {
            char name[64] = "", tip[1024] = "";
            GetCtrlName(p, c, name, sizeof name);
            if (std::strcmp(name, "DispGFBig") == 0) continue;  // a right click hides it
            SetCtrlAttribute(p, c, ATTR_VISIBLE, 1);
            SetCtrlAttribute(p, c, ATTR_DIMMED, 0);
            seam::Clear();
            sim::RightClick(p, c);
            if (seam::Shown().size() != 1 || seam::Shown()[0].kind != seam::Kind::Message) continue;
            GetCtrlAttribute(p, c, ATTR_TOOLTIP_TEXT, tip, sizeof tip);
            EXPECT_EQ(std::string(tip), seam::Shown()[0].text) << name;
            ++compared;
        }
        HidePanel(p);
    }
    seam::SetUnexpectedHandler(before);
    seam::Clear();
    EXPECT_GT(compared, 70);
}

}  // namespace
