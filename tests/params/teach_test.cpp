// Teaching measured values, resetting the table and switching the
// evaluation mode, through the buttons and rings of the main panel.
#include "app/helptexts.h"
#include "fixture.h"
#include "params/params.h"

namespace paramtest {
namespace {

class Teach : public ParamsTest {
protected:
    void SetUp() override {
        ParamsTest::SetUp();
        TeachView();
        for (int row = 1; row <= 31; ++row)
            for (int col = 1; col <= 4; ++col)
                SetTableCellVal(panel, P_TEACHTABLE, col, row, static_cast<unsigned short>(7000 + row));
        SetCtrlVal(panel, P_RADIOINC, 0);
        SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(0));
        dataNorm = 412;
        dataInt = 1234;
        dataGf = 1003;
    }
    void ExpectRow(int row, unsigned short c1, unsigned short c2, unsigned short c3, unsigned short c4) {
        EXPECT_EQ(Cell(1, row), c1) << "row " << row;
        EXPECT_EQ(Cell(2, row), c2) << "row " << row;
        EXPECT_EQ(Cell(3, row), c3) << "row " << row;
        EXPECT_EQ(Cell(4, row), c4) << "row " << row;
    }
    void ExpectUntouched(int row) { ExpectRow(row, 7000 + row, 7000 + row, 7000 + row, 7000 + row); }
};

TEST_F(Teach, NormModeWritesValuesAndToleranceByPowerMode) {
    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(3));
    sim::Click(panel, P_BUTTONTEACHDATATO);
    ExpectRow(4, 412, 25, 1234, 100);  // STAT
    ExpectUntouched(3);
    ExpectUntouched(5);
    EXPECT_EQ(U16(P_EDITNO), 3) << "no advance without auto increment";

    SetCtrlVal(panel, P_EDITPMOD, static_cast<unsigned short>(1));
    pmod = 0;
    dataNorm = 500;
    sim::Click(panel, P_BUTTONTEACHDATATO);
    ExpectRow(4, 500, 25, 1234, 20);  // DYN, read from the panel
    EXPECT_EQ(pmod, 1);
}

TEST_F(Teach, GlossModeWritesRawGfAndLeavesColumnsThreeAndFour) {
    SetCtrlVal(panel, P_EVALMODE, static_cast<unsigned short>(1));
    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(0));
    sim::Click(panel, P_BUTTONTEACHDATATO);
    ExpectRow(1, 1003, 20, 7001, 7001);
    EXPECT_EQ(evalmode, 1);
    ExpectUntouched(2);
}

TEST_F(Teach, BeforeAnyFrameTeachesZerosWithTheDefaults) {
    dataNorm = dataInt = dataGf = 0;
    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(30));
    sim::Click(panel, P_BUTTONTEACHDATATO);
    ExpectRow(31, 0, 25, 0, 100);
}

TEST_F(Teach, AutoIncrementAdvancesAndStopsAtTheLastRow) {
    sim::Click(panel, P_RADIOINC);
    ASSERT_EQ(Int(P_RADIOINC), 1);
    for (int i = 0; i < 3; ++i) {
        dataNorm = static_cast<unsigned short>(100 + i);
        sim::Click(panel, P_BUTTONTEACHDATATO);
    }
    ExpectRow(1, 100, 25, 1234, 100);
    ExpectRow(2, 101, 25, 1234, 100);
    ExpectRow(3, 102, 25, 1234, 100);
    ExpectUntouched(4);
    EXPECT_EQ(U16(P_EDITNO), 3);

    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(29));
    sim::Click(panel, P_BUTTONTEACHDATATO);
    EXPECT_EQ(U16(P_EDITNO), 30);
    dataNorm = 4242;
    sim::Click(panel, P_BUTTONTEACHDATATO);
    sim::Click(panel, P_BUTTONTEACHDATATO);
    EXPECT_EQ(U16(P_EDITNO), 30) << "stays at the last vector";
    ExpectRow(31, 4242, 25, 1234, 100);
}

TEST_F(Teach, TeachChangesOnlyThePanelUntilTheNextRead) {
    ctt[2][0] = 9;
    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(2));
    sim::Click(panel, P_BUTTONTEACHDATATO);
    EXPECT_EQ(ctt[2][0], 9);
    GetPanelValues();
    EXPECT_EQ(ctt[2][0], 412);
    EXPECT_EQ(ctt[2][3], 100);
}

TEST_F(Teach, ResetSetsEveryCellToOne) {
    ctt[0][0] = 55;
    sim::Click(panel, P_BUTTONRESETTABLE);
    for (int row = 1; row <= 31; ++row) ExpectRow(row, 1, 1, 1, 1);
    EXPECT_EQ(ctt[0][0], 55) << "only the panel changes";
}

TEST_F(Teach, GlossModeRelabelsPresetsGfAndHoldsDynamicPower) {
    ParaVis();
    SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(3));
    SetCtrlVal(panel, P_SELECTSOURCE, static_cast<unsigned short>(3));
    sim::ChooseRing(panel, P_EVALMODE, 1);

    EXPECT_EQ(evalmode, 1);
    EXPECT_EQ(U16(P_SELECTSOURCE), 2);
    EXPECT_EQ(source, 2) << "the display visibility follows the new source";
    EXPECT_EQ(U16(P_EDITPMOD), 1);
    EXPECT_EQ(pmod, 1);
    EXPECT_FALSE(sim::Enabled(panel, P_EDITPMOD));
    EXPECT_FALSE(sim::Enabled(panel, P_EDITINTLIM));
    EXPECT_FALSE(sim::Enabled(panel, P_SLIDEPOWER));
    EXPECT_TRUE(sim::Enabled(panel, P_EDITBIAS));
    EXPECT_EQ(ColumnLabel(1), "GF");
    EXPECT_EQ(ColumnLabel(2), "GF TOL");
    EXPECT_EQ(ColumnLabel(3), "");
    EXPECT_EQ(ColumnLabel(4), "");
    EXPECT_EQ(maxno, 3);
    for (int row = 1; row <= 31; ++row) EXPECT_EQ(RowColour(row), row <= 3 ? kGreen : kRed) << row;
    EXPECT_EQ(Cell(3, 7), 7007) << "cells are kept";

    EXPECT_EQ(Attr(P_GRAPHGF, ATTR_VISIBLE), 1);
    EXPECT_EQ(Attr(P_GRAPHNORM, ATTR_VISIBLE), 0);

    // Back to norm and intensity: DYN stays until the operator changes it.
    SetCtrlVal(panel, P_SELECTSOURCE, static_cast<unsigned short>(3));
    SetCtrlAttribute(panel, P_DISPCHDIR, ATTR_VISIBLE, 0);
    SetCtrlAttribute(panel, P_BARCHDIR, ATTR_VISIBLE, 0);
    sim::ChooseRing(panel, P_EVALMODE, 0);
    EXPECT_EQ(evalmode, 0);
    EXPECT_EQ(U16(P_SELECTSOURCE), 0);
    EXPECT_EQ(source, 0);
    EXPECT_TRUE(sim::Enabled(panel, P_EDITPMOD));
    EXPECT_TRUE(sim::Enabled(panel, P_EDITINTLIM));
    EXPECT_FALSE(sim::Enabled(panel, P_EDITBIAS));
    EXPECT_EQ(U16(P_EDITPMOD), 1);
    EXPECT_FALSE(sim::Enabled(panel, P_SLIDEPOWER));
    EXPECT_EQ(ColumnLabel(1), "NORM");
    EXPECT_EQ(ColumnLabel(2), "N TOL");
    EXPECT_EQ(ColumnLabel(3), "INT");
    EXPECT_EQ(ColumnLabel(4), "I TOL");
    // The raw displays are shown again; the source's own rule then decides
    // those that differ between sources.
    EXPECT_EQ(Attr(P_DISPCHDIR, ATTR_VISIBLE), 1);
    EXPECT_EQ(Attr(P_BARCHDIR, ATTR_VISIBLE), 1);
    EXPECT_EQ(Attr(P_GRAPHNORM, ATTR_VISIBLE), 1);
    EXPECT_EQ(Attr(P_GRAPHGF, ATTR_VISIBLE), 0);
    EXPECT_EQ(Cell(3, 7), 7007);

    sim::ChooseRing(panel, P_EDITPMOD, 0);
    EXPECT_TRUE(sim::Enabled(panel, P_SLIDEPOWER));
}

TEST_F(Teach, InitEvalReappliesTriggerLockAndWarnsWithTheLastOutputMode) {
    ParaVis();
    SetCtrlVal(panel, P_EXTERNTEACH, static_cast<unsigned short>(1));
    SetCtrlVal(panel, P_EDITTRIGGER, static_cast<unsigned short>(1));
    SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(8));
    SetCtrlVal(panel, P_EDITDIGITALOUTMODE, static_cast<unsigned short>(2));

    digitalout = 1;  // as last read: BINARY, so no warning
    sim::ChooseRing(panel, P_EVALMODE, 1);
    EXPECT_TRUE(seam::Shown().empty());
    EXPECT_EQ(extteach, 1);
    EXPECT_EQ(U16(P_EDITTRIGGER), 0);
    EXPECT_FALSE(sim::Enabled(panel, P_EDITTRIGGER));

    digitalout = 2;
    seam::ExpectMessage();
    sim::ChooseRing(panel, P_EVALMODE, 0);
    ExpectOnlyPopup("INFO!", InfoMaxColNo);
    seam::Clear();
    seam::ExpectMessage();
    InitEval();
    ExpectOnlyPopup("INFO!", InfoMaxColNo);
}

TEST_F(Teach, RightClickShowsTheHelpOfTheTeachControls) {
    struct Help {
        int control;
        const char* text;
    };
    const Help cases[] = {
        {P_BUTTONTEACHDATATO, InfoButtonTeachDataTo},
        {P_BUTTONRESETTABLE, InfoButtonResetTable},
        {P_EDITNO, InfoEditNo},
        {P_RADIOINC, InfoRadioInc},
    };
    for (const Help& h : cases) {
        seam::Clear();
        seam::ExpectMessage();
        sim::RightClick(panel, h.control);
        ExpectOnlyPopup("INFO!", h.text);
    }
    ExpectUntouched(1);  // a right click on the buttons teaches nothing
    EXPECT_EQ(Int(P_RADIOINC), 0);

    // The numeric and the on/off button only hold their values.
    sim::EnterValue(panel, P_EDITNO, 12);
    sim::Click(panel, P_RADIOINC);
    EXPECT_EQ(U16(P_EDITNO), 12);
    ExpectUntouched(13);
}

}  // namespace
}  // namespace paramtest
