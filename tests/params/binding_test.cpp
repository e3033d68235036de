// Binding of the parameter controls, the view switch, the target toggles
// and the input checks, driven through the real panel.
#include "app/helptexts.h"
#include "fixture.h"
#include "params/params.h"

namespace paramtest {
namespace {

using Binding = ParamsTest;

// Distinct in every cell, so that a swapped row or column shows.
unsigned short CellPattern(int col, int row) {
    return static_cast<unsigned short>(1000 + row * 10 + col);
}

TEST_F(Binding, GetPanelValuesReadsEveryControlAndTheTableRowByRow) {
    SetCtrlVal(panel, P_SLIDEPOWER, static_cast<unsigned short>(731));
    SetCtrlVal(panel, P_EDITPMOD, static_cast<unsigned short>(1));
    SetCtrlVal(panel, P_EDITAVERAGE, static_cast<unsigned short>(40000));
    SetCtrlVal(panel, P_EVALMODE, static_cast<unsigned short>(1));
    SetCtrlVal(panel, P_EDITHOLD, static_cast<unsigned short>(12));
    SetCtrlVal(panel, P_EDITINTLIM, static_cast<unsigned short>(4000));
    SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(27));
    SetCtrlVal(panel, P_EDITDIGITALOUTMODE, static_cast<unsigned short>(3));
    SetCtrlVal(panel, P_EDITTRIGGER, static_cast<unsigned short>(2));
    SetCtrlVal(panel, P_EXTERNTEACH, static_cast<unsigned short>(1));
    SetCtrlVal(panel, P_ANAOUTBEG, static_cast<unsigned short>(111));
    SetCtrlVal(panel, P_ANAOUTEND, static_cast<unsigned short>(3999));
    SetCtrlVal(panel, P_EDITBIAS, static_cast<short>(-20));
    for (int row = 1; row <= 31; ++row)
        for (int col = 1; col <= 4; ++col)
            SetTableCellVal(panel, P_TEACHTABLE, col, row, CellPattern(col, row));

    bias = 0;
    GetPanelValues();

    EXPECT_EQ(power, 731);
    EXPECT_EQ(pmod, 1);
    EXPECT_EQ(average, 40000);
    EXPECT_EQ(evalmode, 1);
    EXPECT_EQ(hold, 12);
    EXPECT_EQ(intlim, 4000);
    EXPECT_EQ(maxno, 27);
    EXPECT_EQ(digitalout, 3);
    EXPECT_EQ(trigger, 2);
    EXPECT_EQ(extteach, 1);
    EXPECT_EQ(anaoutbeg, 111);
    EXPECT_EQ(anaoutend, 3999);
    EXPECT_EQ(bias, -20);
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(ctt[r][c], CellPattern(c + 1, r + 1)) << "row " << r << " col " << c;
}

TEST_F(Binding, SetPanelValuesWritesEveryControlAndRunsNoCallback) {
    power = 999;
    pmod = 1;
    average = 3;
    evalmode = 1;
    hold = 65535;
    intlim = 7;
    maxno = 2;
    RowMarking();  // rows 3 to 31 red
    maxno = 8;     // with a DIRECT mode: a callback would warn
    digitalout = 2;
    trigger = 1;
    extteach = 1;
    anaoutbeg = 20;
    anaoutend = 25;  // too narrow: a callback would warn
    bias = -1000;
    for (int r = 0; r < 31; ++r)
        for (int c = 0; c < 4; ++c) ctt[r][c] = static_cast<unsigned short>(65535 - r * 4 - c);

    SetPanelValues();

    EXPECT_EQ(U16(P_SLIDEPOWER), 999);
    EXPECT_EQ(U16(P_EDITPMOD), 1);
    EXPECT_EQ(U16(P_EDITAVERAGE), 3);
    EXPECT_EQ(U16(P_EVALMODE), 1);
    EXPECT_EQ(U16(P_EDITHOLD), 65535);
    EXPECT_EQ(U16(P_EDITINTLIM), 7);
    EXPECT_EQ(U16(P_EDITMAXNO), 8);
    EXPECT_EQ(U16(P_EDITDIGITALOUTMODE), 2);
    EXPECT_EQ(U16(P_EDITTRIGGER), 1);
    EXPECT_EQ(U16(P_EXTERNTEACH), 1);
    EXPECT_EQ(U16(P_ANAOUTBEG), 20);
    EXPECT_EQ(U16(P_ANAOUTEND), 25);
    short shown = 0;
    EXPECT_EQ(GetCtrlVal(panel, P_EDITBIAS, &shown), 0);
    EXPECT_EQ(shown, -1000);
    for (int row = 1; row <= 31; ++row)
        for (int col = 1; col <= 4; ++col) EXPECT_EQ(Cell(col, row), 65535 - (row - 1) * 4 - (col - 1));

    // No check, no dimming and no row marking without InitEval.
    EXPECT_TRUE(seam::Shown().empty());
    EXPECT_EQ(Attr(P_SLIDEPOWER, ATTR_DIMMED), 0);
    EXPECT_EQ(Attr(P_EDITTRIGGER, ATTR_DIMMED), 0);
    EXPECT_EQ(RowColour(5), kRed);
}

TEST_F(Binding, ViewSwitchShowsOneGroupAndHidesTheOther) {
    const int para[] = {P_EDITPMOD,  P_EDITAVERAGE,        P_EDITTRIGGER, P_EDITINTLIM, P_SLIDEPOWER,
                        P_EDITMAXNO, P_EDITDIGITALOUTMODE, P_ANAOUTBEG,   P_ANAOUTEND,  P_EDITHOLD,
                        P_EVALMODE,  P_EXTERNTEACH,        P_EDITBIAS,    P_PARADECO1,  P_PARADECO2,
                        P_PARADECO3, P_PARADECO4,          P_PARADECO5,   P_PARADECO6,  P_PARADECO7,
                        P_PARADECO8, P_PARADECO9,          P_PARADECO10};
    const int teach[] = {P_TEACHTABLE, P_BUTTONTEACHDATATO, P_EDITNO, P_RADIOINC, P_BUTTONRESETTABLE};
    auto expectView = [&](int paraShown, const char* when) {
        for (int c : para) EXPECT_EQ(Attr(c, ATTR_VISIBLE), paraShown) << when << ", control " << c;
        for (int c : teach) EXPECT_EQ(Attr(c, ATTR_VISIBLE), 1 - paraShown) << when << ", control " << c;
    };
    expectView(1, "at the start");
    sim::Click(panel, P_PARAVISIBLE);
    EXPECT_EQ(Int(P_PARAVISIBLE), 0);
    expectView(0, "after switching off");
    sim::Click(panel, P_PARAVISIBLE);
    expectView(1, "after switching on again");
}

TEST_F(Binding, SelectorTogglesKeepExactlyOneTargetLit) {
    auto expectLit = [](int ram, int eeprom, int file, unsigned short t, const char* when) {
        EXPECT_EQ(Int(P_SELECTRAM), ram) << when;
        EXPECT_EQ(Int(P_SELECTEEPROM), eeprom) << when;
        EXPECT_EQ(Int(P_SELECTFILE), file) << when;
        EXPECT_EQ(target, t) << when;
    };
    SetCtrlVal(panel, P_SELECTRAM, 1);
    SetCtrlVal(panel, P_SELECTEEPROM, 0);
    SetCtrlVal(panel, P_SELECTFILE, 0);
    target = RAM;

    sim::Click(panel, P_SELECTEEPROM);
    expectLit(0, 1, 0, EEPROM, "EEPROM chosen");
    sim::Click(panel, P_SELECTFILE);
    expectLit(0, 0, 1, DATFILE, "FILE chosen");
    sim::Click(panel, P_SELECTFILE);
    expectLit(1, 0, 0, RAM, "FILE switched off");
    sim::Click(panel, P_SELECTEEPROM);
    sim::Click(panel, P_SELECTEEPROM);
    expectLit(1, 0, 0, RAM, "EEPROM switched off");
    sim::Click(panel, P_SELECTRAM);
    expectLit(1, 0, 0, RAM, "RAM switched off");

    // The rule answers the value-changed event, not the commit.
    SetCtrlVal(panel, P_SELECTFILE, 1);
    CBF_SelectFILE(panel, P_SELECTFILE, EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(target, RAM);
    EXPECT_EQ(Int(P_SELECTRAM), 1);
    CBF_SelectFILE(panel, P_SELECTFILE, EVENT_VAL_CHANGED, nullptr, 0, 0);
    expectLit(0, 0, 1, DATFILE, "value changed");
    sim::Click(panel, P_SELECTRAM);
    expectLit(1, 0, 0, RAM, "back to RAM");
}

TEST_F(Binding, VectorCountWarnsOnlyAboveFiveWithoutBinaryOutputs) {
    SetCtrlVal(panel, P_EDITDIGITALOUTMODE, static_cast<unsigned short>(2));  // DIRECT LO
    SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(0));
    sim::EnterValue(panel, P_EDITMAXNO, 5);
    EXPECT_EQ(maxno, 5);
    EXPECT_EQ(digitalout, 2);
    EXPECT_TRUE(seam::Shown().empty());

    seam::ExpectMessage();
    sim::EnterValue(panel, P_EDITMAXNO, 6);
    ExpectOnlyPopup("INFO!", InfoMaxColNo);
    EXPECT_EQ(maxno, 6);  // the check only warns
    EXPECT_EQ(U16(P_EDITMAXNO), 6);

    seam::Clear();
    sim::ChooseRing(panel, P_EDITDIGITALOUTMODE, 1);  // BINARY
    EXPECT_EQ(digitalout, 1);
    sim::EnterValue(panel, P_EDITMAXNO, 31);
    EXPECT_EQ(maxno, 31);
    EXPECT_TRUE(seam::Shown().empty());

    // Leaving BINARY with too many vectors warns from the mode's callback too.
    sim::EnterValue(panel, P_EDITMAXNO, 6);
    seam::ExpectMessage();
    sim::ChooseRing(panel, P_EDITDIGITALOUTMODE, 3);  // DIRECT HI
    ExpectOnlyPopup("INFO!", InfoMaxColNo);
    EXPECT_EQ(digitalout, 3);
    EXPECT_EQ(U16(P_EDITDIGITALOUTMODE), 3);
}

TEST_F(Binding, MaxNoMarksActiveRowsGreenAndTheRestRed) {
    SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(10));
    sim::EnterValue(panel, P_EDITMAXNO, 0);
    for (int row = 1; row <= 31; ++row) EXPECT_EQ(RowColour(row), kRed) << "maxno 0, row " << row;
    sim::EnterValue(panel, P_EDITMAXNO, 31);
    for (int row = 1; row <= 31; ++row) EXPECT_EQ(RowColour(row), kGreen) << "maxno 31, row " << row;
    sim::EnterValue(panel, P_EDITMAXNO, 4);
    for (int row = 1; row <= 31; ++row)
        EXPECT_EQ(RowColour(row), row <= 4 ? kGreen : kRed) << "maxno 4, row " << row;

    // The output mode's callback checks but leaves the marking alone.
    SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(20));
    sim::ChooseRing(panel, P_EDITDIGITALOUTMODE, 1);
    sim::ChooseRing(panel, P_EDITDIGITALOUTMODE, 1);
    EXPECT_EQ(maxno, 20);
    EXPECT_EQ(RowColour(5), kRed);
}

TEST_F(Binding, AnalogRangeMustSpanAtLeastTenUnits) {
    SetCtrlVal(panel, P_ANAOUTBEG, static_cast<unsigned short>(100));
    SetCtrlVal(panel, P_ANAOUTEND, static_cast<unsigned short>(500));
    sim::EnterValue(panel, P_ANAOUTEND, 110);
    EXPECT_TRUE(seam::Shown().empty()) << "a difference of exactly 10 is accepted";
    EXPECT_EQ(anaoutbeg, 100);
    EXPECT_EQ(anaoutend, 110);

    seam::ExpectMessage();
    sim::EnterValue(panel, P_ANAOUTEND, 109);
    ExpectOnlyPopup("INFO!", InfoAnaOutNotOk);
    EXPECT_EQ(anaoutend, 109);
    EXPECT_EQ(U16(P_ANAOUTEND), 109);

    seam::Clear();
    seam::ExpectMessage();
    sim::EnterValue(panel, P_ANAOUTBEG, 109);  // begin equal to end
    ExpectOnlyPopup("INFO!", InfoAnaOutNotOk);
    EXPECT_EQ(anaoutbeg, 109);

    seam::Clear();
    seam::ExpectMessage();
    sim::EnterValue(panel, P_ANAOUTBEG, 4000);  // begin above end
    ExpectOnlyPopup("INFO!", InfoAnaOutNotOk);
    EXPECT_EQ(anaoutbeg, 4000);
    EXPECT_EQ(U16(P_ANAOUTBEG), 4000);
}

TEST_F(Binding, ExternalTeachLocksTheTriggerAtContinuous) {
    SetCtrlVal(panel, P_EDITTRIGGER, static_cast<unsigned short>(2));  // EXT2
    trigger = 2;
    sim::Click(panel, P_EXTERNTEACH);
    EXPECT_EQ(extteach, 1);
    EXPECT_EQ(U16(P_EDITTRIGGER), 0);
    EXPECT_EQ(Attr(P_EDITTRIGGER, ATTR_DIMMED), 1);
    EXPECT_TRUE(Attr(P_EDITTRIGGER, ATTR_VISIBLE)) << "dimmed, not hidden";
    EXPECT_EQ(trigger, 2) << "the variable follows at the next read of the panel";

    sim::Click(panel, P_EXTERNTEACH);
    EXPECT_EQ(extteach, 0);
    EXPECT_EQ(Attr(P_EDITTRIGGER, ATTR_DIMMED), 0);
    EXPECT_EQ(U16(P_EDITTRIGGER), 0);
    sim::ChooseRing(panel, P_EDITTRIGGER, 1);
    EXPECT_EQ(U16(P_EDITTRIGGER), 1) << "operable again";
    GetPanelValues();
    EXPECT_EQ(trigger, 1);
}

TEST_F(Binding, DynamicPowerDimsThePowerSlider) {
    sim::ChooseRing(panel, P_EDITPMOD, 1);
    EXPECT_EQ(pmod, 1);
    EXPECT_EQ(Attr(P_SLIDEPOWER, ATTR_DIMMED), 1);
    EXPECT_FALSE(sim::Enabled(panel, P_SLIDEPOWER));
    sim::ChooseRing(panel, P_EDITPMOD, 0);
    EXPECT_EQ(pmod, 0);
    EXPECT_TRUE(sim::Enabled(panel, P_SLIDEPOWER));
}

TEST_F(Binding, ValueOnlyControlsChangeNothingOnCommit) {
    average = hold = intlim = 4321;
    bias = 77;
    power = 4321;
    trigger = 4321;
    sim::EnterValue(panel, P_EDITAVERAGE, 99);
    sim::EnterValue(panel, P_EDITHOLD, 98);
    sim::EnterValue(panel, P_EDITINTLIM, 97);
    sim::EnterValue(panel, P_EDITBIAS, -96);
    sim::EnterValue(panel, P_SLIDEPOWER, 95);
    sim::ChooseRing(panel, P_EDITTRIGGER, 2);
    EXPECT_EQ(U16(P_EDITAVERAGE), 99);
    EXPECT_EQ(U16(P_SLIDEPOWER), 95);
    EXPECT_EQ(average, 4321);
    EXPECT_EQ(hold, 4321);
    EXPECT_EQ(intlim, 4321);
    EXPECT_EQ(bias, 77);
    EXPECT_EQ(power, 4321);
    EXPECT_EQ(trigger, 4321);
    EXPECT_TRUE(seam::Shown().empty());
}

struct Help {
    int control;
    const char* text;
};

TEST_F(Binding, RightClickShowsTheHelpOfEveryParameterControl) {
    const Help cases[] = {
        {P_SELECTRAM, InfoSelectMEM},        {P_SELECTEEPROM, InfoSelectMEM},
        {P_SELECTFILE, InfoSelectMEM},       {P_PARAVISIBLE, InfoSwitchPara},
        {P_EXTERNTEACH, InfoEditEvalmode},   {P_EDITPMOD, InfoEditPmod},
        {P_EDITMAXNO, InfoEditMaxcolNo},     {P_EDITDIGITALOUTMODE, InfoEditDigitalOutmode},
        {P_ANAOUTBEG, InfoEditAnaOutBegEnd}, {P_ANAOUTEND, InfoEditAnaOutBegEnd},
        {P_SLIDEPOWER, InfoEditPower},       {P_EDITAVERAGE, InfoEditAverage},
        {P_EDITTRIGGER, InfoEditTrigger},    {P_EDITINTLIM, InfoEditIntlim},
        {P_EDITHOLD, InfoEditHold},          {P_EDITBIAS, InfoEditBias},
        {P_EVALMODE, InfoEditEvalmode},
    };
    target = RAM;
    const unsigned short before = target;
    for (const Help& h : cases) {
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(panel, h.control);
        ExpectOnlyPopup("INFO!", h.text);
    }
    // Help only: the view and the target are as they were.
    EXPECT_EQ(target, before);
    EXPECT_EQ(Attr(P_EDITPMOD, ATTR_VISIBLE), 1);
    EXPECT_EQ(Int(P_SELECTRAM), 1);
}

}  // namespace
}  // namespace paramtest
