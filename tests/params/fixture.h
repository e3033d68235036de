// Shared set-up of the parameter-editing tests: the real main panel, shown,
// in the parameter view, with no popup pending.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/corvel.h"
#include "params/params.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/panels.h"
#include "uir_ids.h"

namespace paramtest {

using namespace corvel;

constexpr int kGreen = 0x008000;
constexpr int kRed = 0xFF0000;

inline unsigned short U16(int control) {
    unsigned short v = 0xBEEF;
    GetCtrlVal(panel, control, &v);
    return v;
}

inline int Int(int control) {
    int v = -12345;
    GetCtrlVal(panel, control, &v);
    return v;
}

inline unsigned short Cell(int col, int row) {
    unsigned short v = 0xBEEF;
    GetTableCellVal(panel, P_TEACHTABLE, col, row, &v);
    return v;
}

inline int Attr(int control, int attribute) {
    int v = -1;
    GetCtrlAttribute(panel, control, attribute, &v);
    return v;
}

inline int RowColour(int row) {
    int v = -1;
    GetTableRowAttribute(panel, P_TEACHTABLE, row, ATTR_ROW_LABEL_COLOR, &v);
    return v;
}

inline std::string ColumnLabel(int col) {
    char text[64] = "?";
    GetTableColumnAttribute(panel, P_TEACHTABLE, col, ATTR_COLUMN_LABEL_TEXT, text, sizeof text);
    return text;
}

class ParamsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::LoadProgramPanels());
        DisplayPanel(panel);
        seam::Install();  // an empty script: nothing left over from an earlier test
        // A neutral start: parameter view, binary outputs, no external
        // teach, static power, mode 0, all controls operable.
        SetCtrlVal(panel, P_PARAVISIBLE, 1);
        ParaVis();
        SetCtrlVal(panel, P_EDITDIGITALOUTMODE, static_cast<unsigned short>(1));
        SetCtrlVal(panel, P_EXTERNTEACH, static_cast<unsigned short>(0));
        SetCtrlVal(panel, P_EDITPMOD, static_cast<unsigned short>(0));
        SetCtrlVal(panel, P_EVALMODE, static_cast<unsigned short>(0));
        SetCtrlVal(panel, P_EDITMAXNO, static_cast<unsigned short>(5));
        const int dimmable[] = {P_SLIDEPOWER, P_EDITPMOD, P_EDITINTLIM, P_EDITBIAS, P_EDITTRIGGER};
        for (int c : dimmable) SetCtrlAttribute(panel, c, ATTR_DIMMED, 0);
        digitalout = 1;
    }
    void TearDown() override {
        EXPECT_EQ(seam::Pending(), 0) << "a scripted popup was not shown";
        HidePanel(panel);
    }
    // Shows the teach-table group, as the view switch does.
    void TeachView() {
        SetCtrlVal(panel, P_PARAVISIBLE, 0);
        ParaInVis();
    }
    // The one popup shown since the last Clear, checked for title and text.
    void ExpectOnlyPopup(const char* title, const char* text) {
        ASSERT_EQ(seam::Shown().size(), 1u);
        EXPECT_EQ(seam::Shown()[0].title, title);
        EXPECT_EQ(seam::Shown()[0].text, text);
    }
};

}  // namespace paramtest
