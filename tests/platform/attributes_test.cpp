// Attributes, tables, pictures and controls made at run time.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "fixture.h"

TEST_F(PanelTest, GeometryIsInPanelPixelsEvenInsideAGroup) {
    int v = 0;
    GetCtrlAttribute(h, TP_EDITINBOX, ATTR_LEFT, &v);
    EXPECT_EQ(v, 670);
    GetCtrlAttribute(h, TP_EDITINBOX, ATTR_TOP, &v);
    EXPECT_EQ(v, 130);
    SetCtrlAttribute(h, TP_EDITINBOX, ATTR_LEFT, 700);
    SetCtrlAttribute(h, TP_EDITINBOX, ATTR_TOP, 150);
    GetCtrlAttribute(h, TP_EDITINBOX, ATTR_LEFT, &v);
    EXPECT_EQ(v, 700);
    GetCtrlAttribute(h, TP_EDITINBOX, ATTR_TOP, &v);
    EXPECT_EQ(v, 150);
    SetCtrlAttribute(h, TP_LOGO, ATTR_WIDTH, 33);
    GetCtrlAttribute(h, TP_LOGO, ATTR_WIDTH, &v);
    EXPECT_EQ(v, 33);
}

TEST_F(PanelTest, VisibilityColoursAndCaptions) {
    int v = 0;
    SetCtrlAttribute(h, TP_DISPGF, ATTR_VISIBLE, 0);
    GetCtrlAttribute(h, TP_DISPGF, ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(sim::Enabled(h, TP_DISPGF));
    sim::RightClick(h, TP_DISPGF);  // nobody can click what is not shown
    EXPECT_TRUE(g_events.empty());

    SetCtrlAttribute(h, TP_BUTTONGO, ATTR_BUTTON_COLOR, 0xFF0000);
    GetCtrlAttribute(h, TP_BUTTONGO, ATTR_BUTTON_COLOR, &v);
    EXPECT_EQ(v, 0xFF0000);
    EXPECT_EQ(Widget<QPushButton>("ButtonGo")->palette().color(QPalette::Button), QColor(255, 0, 0));
    EXPECT_EQ(SetCtrlAttribute(h, TP_DISPVAL, ATTR_BUTTON_COLOR, 0xFF0000), UIE_BAD_ATTRIBUTE);

    SetCtrlAttribute(h, TP_HEADER, ATTR_FRAME_COLOR, 0x0080FF);
    GetCtrlAttribute(h, TP_HEADER, ATTR_FRAME_COLOR, &v);
    EXPECT_EQ(v, 0x0080FF);
    EXPECT_TRUE(Widget<QFrame>("Header")->autoFillBackground());

    SetCtrlAttribute(h, TP_DISPSTATUS, ATTR_TEXT_COLOR, 0x808080);
    GetCtrlAttribute(h, TP_DISPSTATUS, ATTR_TEXT_COLOR, &v);
    EXPECT_EQ(v, 0x808080);

    char buf[32];
    SetCtrlAttribute(h, TP_BUTTONGO, ATTR_LABEL_TEXT, "START");
    GetCtrlAttribute(h, TP_BUTTONGO, ATTR_LABEL_TEXT, buf, sizeof buf);
    EXPECT_STREQ(buf, "START");
    SetCtrlAttribute(h, TP_EDITNUM, ATTR_LABEL_TEXT, "Interval");
    GetCtrlAttribute(h, TP_EDITNUM, ATTR_LABEL_TEXT, buf, sizeof buf);
    EXPECT_STREQ(buf, "Interval");

    EXPECT_EQ(SetCtrlAttribute(h, TP_EDITNUM, ATTR_DATA_TYPE, DT_INT), UIE_BAD_ATTRIBUTE);  // read only
    GetCtrlAttribute(h, TP_STRIP, ATTR_POINTS_PER_SCREEN, &v);
    EXPECT_EQ(v, 10);
    SetCtrlAttribute(h, TP_STRIP, ATTR_POINTS_PER_SCREEN, 100);
    GetCtrlAttribute(h, TP_STRIP, ATTR_POINTS_PER_SCREEN, &v);
    EXPECT_EQ(v, 100);
}

TEST_F(PanelTest, TableCellsAndLabels) {
    unsigned short v = 1;
    EXPECT_EQ(SetTableCellVal(h, TP_TABLE, 2, 3, 65535), UIE_OK);
    GetTableCellVal(h, TP_TABLE, 2, 3, &v);
    EXPECT_EQ(v, 65535);
    GetTableCellVal(h, TP_TABLE, 1, 3, &v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(SetTableCellVal(h, TP_TABLE, 3, 1, 1), UIE_BAD_ARGUMENT);  // two columns only
    EXPECT_EQ(GetTableCellVal(h, TP_TABLE, 1, 0, &v), UIE_BAD_ARGUMENT);

    int col = 0, row = 0;
    SetActiveTableCell(h, TP_TABLE, 2, 1);
    GetActiveTableCell(h, TP_TABLE, &col, &row);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 1);

    int colour = 0;
    SetTableRowAttribute(h, TP_TABLE, 2, ATTR_ROW_LABEL_COLOR, 0xFF0000);
    GetTableRowAttribute(h, TP_TABLE, 2, ATTR_ROW_LABEL_COLOR, &colour);
    EXPECT_EQ(colour, 0xFF0000);
    GetTableRowAttribute(h, TP_TABLE, 1, ATTR_ROW_LABEL_COLOR, &colour);
    EXPECT_NE(colour, 0xFF0000);

    char buf[16];
    GetTableColumnAttribute(h, TP_TABLE, 1, ATTR_COLUMN_LABEL_TEXT, buf, sizeof buf);
    EXPECT_STREQ(buf, "C1");
    SetTableColumnAttribute(h, TP_TABLE, 1, ATTR_COLUMN_LABEL_TEXT, "GF");
    GetTableColumnAttribute(h, TP_TABLE, 1, ATTR_COLUMN_LABEL_TEXT, buf, sizeof buf);
    EXPECT_STREQ(buf, "GF");
    EXPECT_TRUE(g_events.empty());
}

TEST_F(PanelTest, NewTextMessageComesAfterTheDefinedControls) {
    int before = GetPanelCtrlCount(h);
    int id = NewCtrl(h, CTRL_TEXT_MSG, "", 30, 323);
    EXPECT_EQ(id, before + 1);
    EXPECT_EQ(GetPanelCtrlCount(h), before + 1);
    int v = 0;
    GetCtrlAttribute(h, id, ATTR_LEFT, &v);
    EXPECT_EQ(v, 323);
    GetCtrlAttribute(h, id, ATTR_TOP, &v);
    EXPECT_EQ(v, 30);
    GetCtrlAttribute(h, id, ATTR_CTRL_KIND, &v);
    EXPECT_EQ(v, CTRL_KIND_TEXT);
    EXPECT_EQ(SetCtrlAttribute(h, id, ATTR_TEXT_FONT, "NIApp"), UIE_OK);
    SetCtrlAttribute(h, id, ATTR_TEXT_BGCOLOR, VAL_TRANSPARENT);
    SetCtrlAttribute(h, id, ATTR_TEXT_POINT_SIZE, 18);
    SetCtrlVal(h, id, "CORVEL-Scope V2.0");
    char buf[64];
    GetCtrlVal(h, id, buf, sizeof buf);
    EXPECT_STREQ(buf, "CORVEL-Scope V2.0");
    GetCtrlAttribute(h, id, ATTR_TEXT_FONT, buf, sizeof buf);
    EXPECT_STREQ(buf, "NIApp");
    GetCtrlAttribute(h, id, ATTR_TEXT_POINT_SIZE, &v);
    EXPECT_EQ(v, 18);
    GetCtrlAttribute(h, id, ATTR_WIDTH, &v);
    EXPECT_GT(v, 100);  // grew to fit its text
    GetCtrlAttribute(h, id, ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 1);
    // A second one lies on top of the first.
    int second = NewCtrl(h, CTRL_TEXT_MSG, "x", 30, 323);
    EXPECT_EQ(second, id + 1);
    EXPECT_EQ(NewCtrl(h, 99, "", 0, 0), UIE_BAD_ARGUMENT);
}

TEST_F(PanelTest, PicturesAndPanelImages) {
    EXPECT_EQ(DisplayImageFile(h, TP_LOGO, "no-such-logo.png"), UIE_FILE);
    EXPECT_EQ(PictureHasImage(h, TP_LOGO), 0);
    QTemporaryDir dir;
    QByteArray png = dir.filePath(QStringLiteral("panel.png")).toLocal8Bit();
    HidePanel(h);  // hidden panels render too
    ASSERT_EQ(SavePanelImage(h, png.constData()), UIE_OK);
    EXPECT_EQ(DisplayImageFile(h, TP_LOGO, png.constData()), UIE_OK);
    EXPECT_EQ(PictureHasImage(h, TP_LOGO), 1);
    EXPECT_EQ(DisplayImageFile(h, TP_LOGO, "no-such-logo.png"), UIE_FILE);
    EXPECT_EQ(PictureHasImage(h, TP_LOGO), 0);  // a failed load leaves the picture empty
}
