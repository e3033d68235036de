// Edits found where the operator makes them: a teach cell typed in, TEACH
// DATA TO, RESET, the evaluation mode; the start values as no edits.
#include "params/unsent.h"

#include "fixture.h"

namespace paramtest {
namespace {

int RowMarked(int row) {
    int v = -1;
    GetTableRowAttribute(panel, P_TEACHTABLE, row, ATTR_ROW_MARKED, &v);
    return v;
}

std::string Text(int control) {
    return testsupport::CtrlText(panel, control);
}

class UnsentEdits : public ParamsTest {
protected:
    void SetUp() override {
        ParamsTest::SetUp();
        for (int row = 1; row <= 31; ++row)
            for (int col = 1; col <= 4; ++col)
                SetTableCellVal(panel, P_TEACHTABLE, col, row, static_cast<unsigned short>(50 + row));
        UnsentStart();
    }
};

TEST_F(UnsentEdits, StartValuesAreNoEditsAndSaySo) {
    EXPECT_EQ(UnsentCountForTest(), 0);
    EXPECT_EQ(Text(P_DISPUNSENT), "Start values, nothing read from a sensor yet");
    EXPECT_TRUE(UnsentMayClose());
    EXPECT_TRUE(seam::Shown().empty()) << "no question without edits";

    sim::EnterValue(panel, P_EDITBIAS, -7);
    EXPECT_EQ(Attr(P_EDITBIAS, ATTR_MARKED), 1);
    EXPECT_EQ(Text(P_DISPUNSENT), "\u2022 1 unsent change (start values, nothing read from a sensor yet)");
    seam::ExpectConfirm(0);
    EXPECT_FALSE(UnsentMayClose());
    ExpectOnlyPopup("ATTENTION!",
                    " 1 parameter change has not been sent to the sensor or a file. \n Close anyway? ");
}

TEST_F(UnsentEdits, TeachTableEditsMarkTheirRows) {
    TeachView();
    sim::EnterCell(panel, P_TEACHTABLE, 3, 4, 999);
    EXPECT_EQ(RowMarked(4), 1);
    EXPECT_EQ(RowMarked(3), 0);
    EXPECT_EQ(UnsentCountForTest(), 1);

    dataNorm = 412;
    SetCtrlVal(panel, P_EDITNO, static_cast<unsigned short>(9));
    sim::Click(panel, P_BUTTONTEACHDATATO);
    EXPECT_EQ(RowMarked(10), 1);
    EXPECT_EQ(UnsentCountForTest(), 2);

    sim::Click(panel, P_BUTTONRESETTABLE);
    EXPECT_EQ(UnsentCountForTest(), 31) << "every row differs from what was sent";
    EXPECT_EQ(RowMarked(31), 1);
}

TEST_F(UnsentEdits, TheEvaluationModeAndWhatItForcesAreEdits) {
    sim::ChooseRing(panel, P_EVALMODE, 1);
    // The mode itself, and DYN that glossy-factor mode forces.
    EXPECT_EQ(Attr(P_EVALMODE, ATTR_MARKED), 1);
    EXPECT_EQ(Attr(P_EDITPMOD, ATTR_MARKED), 1);
    EXPECT_EQ(UnsentCountForTest(), 2);
    UnsentSent();
    EXPECT_EQ(UnsentCountForTest(), 0);
    EXPECT_EQ(Attr(P_EVALMODE, ATTR_MARKED), 0);
    EXPECT_EQ(Text(P_DISPUNSENT), "Nothing read from a sensor yet");
}

}  // namespace
}  // namespace paramtest
