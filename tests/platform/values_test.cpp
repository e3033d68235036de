// Values typed as the controls declare them, and what the widgets show.
#include <QElapsedTimer>
#include <QLabel>
#include <cstring>

#include "fixture.h"

TEST_F(PanelTest, GetWithTheWrongTypeFailsAndWritesNothing) {
    int i = -77;
    EXPECT_EQ(GetCtrlVal(h, TP_EDITNUM, &i), UIE_TYPE_MISMATCH);  // u16 control
    EXPECT_EQ(i, -77);
    double d = -1.5;
    EXPECT_EQ(GetCtrlVal(h, TP_EDITNUM, &d), UIE_TYPE_MISMATCH);
    EXPECT_EQ(d, -1.5);
    short s = -3;
    EXPECT_EQ(GetCtrlVal(h, TP_EDITNUM, &s), UIE_TYPE_MISMATCH);
    EXPECT_EQ(s, -3);
    unsigned short u = 99;
    EXPECT_EQ(GetCtrlVal(h, TP_EDITDBL, &u), UIE_TYPE_MISMATCH);  // double control
    EXPECT_EQ(GetCtrlVal(h, TP_DISPSTATUS, &u), UIE_TYPE_MISMATCH);
    EXPECT_EQ(GetCtrlVal(h, TP_BUTTONGO, &u), UIE_TYPE_MISMATCH);  // no value at all
    EXPECT_EQ(u, 99);
    char text[16] = "keep";
    EXPECT_EQ(GetCtrlVal(h, TP_EDITNUM, text, sizeof text), UIE_TYPE_MISMATCH);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(GetCtrlVal(h, TP_EDITNUM, &u), UIE_OK);
    EXPECT_EQ(u, 5);
    EXPECT_EQ(GetCtrlVal(h, 999, &u), UIE_NO_SUCH_CONTROL);
    EXPECT_EQ(GetCtrlVal(h + 1000, TP_EDITNUM, &u), UIE_NO_SUCH_PANEL);
}

TEST_F(PanelTest, SetConvertsNumbersAndRefusesTextForNumbers) {
    unsigned short u = 0;
    EXPECT_EQ(SetCtrlVal(h, TP_EDITNUM, 7.6), UIE_OK);
    GetCtrlVal(h, TP_EDITNUM, &u);
    EXPECT_EQ(u, 8);
    EXPECT_EQ(SetCtrlVal(h, TP_EDITNUM, static_cast<short>(-4)), UIE_OK);  // below the range: its minimum
    GetCtrlVal(h, TP_EDITNUM, &u);
    EXPECT_EQ(u, 0);
    EXPECT_EQ(SetCtrlVal(h, TP_EDITNUM, "12"), UIE_TYPE_MISMATCH);
    EXPECT_EQ(SetCtrlVal(h, TP_DISPSTATUS, 12), UIE_TYPE_MISMATCH);
    double d = 0;
    EXPECT_EQ(SetCtrlVal(h, TP_EDITDBL, static_cast<unsigned short>(40)), UIE_OK);
    GetCtrlVal(h, TP_EDITDBL, &d);
    EXPECT_DOUBLE_EQ(d, 40.0);
    int i = 0;
    EXPECT_EQ(SetCtrlVal(h, TP_EDITINBOX, 3), UIE_OK);  // default type int
    EXPECT_EQ(GetCtrlVal(h, TP_EDITINBOX, &i), UIE_OK);
    EXPECT_EQ(i, 3);
}

TEST_F(PanelTest, IndicatorsShowTheirFormat) {
    auto* val = Widget<QLabel>("DispVal");
    auto* gf = Widget<QLabel>("DispGf");
    ASSERT_TRUE(val && gf);
    SetCtrlVal(h, TP_DISPVAL, 4095);
    EXPECT_EQ(val->text(), QStringLiteral("4095"));
    SetCtrlVal(h, TP_DISPGF, 100.36);
    EXPECT_EQ(gf->text(), QStringLiteral("100.4"));
    double d = 0;
    GetCtrlVal(h, TP_DISPGF, &d);
    EXPECT_DOUBLE_EQ(d, 100.36);
    SetCtrlVal(h, TP_DISPVAL, 70000);  // a u16 display cannot show more than 65535
    EXPECT_EQ(val->text(), QStringLiteral("65535"));
}

TEST_F(PanelTest, BarsShowOutOfRangeValuesAtTheirEnds) {
    unsigned short u = 1;
    SetCtrlVal(h, TP_BARA, 5000);
    GetCtrlVal(h, TP_BARA, &u);
    EXPECT_EQ(u, 4095);
    SetCtrlVal(h, TP_BARA, 2000);
    GetCtrlVal(h, TP_BARA, &u);
    EXPECT_EQ(u, 2000);
}

TEST_F(PanelTest, TextControlsAndTextBoxes) {
    char buf[64];
    ASSERT_EQ(GetCtrlVal(h, TP_DISPSTATUS, buf, sizeof buf), UIE_OK);
    EXPECT_STREQ(buf, "ready");
    SetCtrlVal(h, TP_DISPSTATUS, "TIMEOUT");
    GetCtrlVal(h, TP_DISPSTATUS, buf, 4);  // truncated to the buffer, terminated
    EXPECT_STREQ(buf, "TIM");
    // Text from the wire that looks like markup is shown as it is.
    SetCtrlVal(h, TP_DISPSTATUS, "<b>V2.0</b> &amp;");
    ASSERT_TRUE(Widget<QLabel>("DispStatus"));
    EXPECT_EQ(Widget<QLabel>("DispStatus")->textFormat(), Qt::PlainText);

    ASSERT_EQ(GetTextBoxLine(h, TP_RECFILE, 0, buf, sizeof buf), UIE_OK);
    EXPECT_STREQ(buf, "first");
    GetTextBoxLine(h, TP_RECFILE, 1, buf, sizeof buf);
    EXPECT_STREQ(buf, "second");
    EXPECT_EQ(GetTextBoxLine(h, TP_RECFILE, 2, buf, sizeof buf), UIE_BAD_ARGUMENT);
    ResetTextBox(h, TP_RECFILE, "");
    SetCtrlVal(h, TP_RECFILE, "/data/record.dat");  // a text box takes text at its end
    GetTextBoxLine(h, TP_RECFILE, 0, buf, sizeof buf);
    EXPECT_STREQ(buf, "/data/record.dat");
    EXPECT_EQ(GetTextBoxLine(h, TP_RECFILE, 1, buf, sizeof buf), UIE_BAD_ARGUMENT);
}

// Live data writes a dozen displays per frame at about 30 frames a second.
TEST_F(PanelTest, LiveDataWritesStayCheap) {
    QElapsedTimer t;
    t.start();
    const int frames = 300;
    for (int f = 0; f < frames; ++f) {
        for (int k = 0; k < 4; ++k) {
            SetCtrlVal(h, TP_DISPVAL, f % 50);
            SetCtrlVal(h, TP_DISPGF, (f % 50) / 10.0);
            SetCtrlVal(h, TP_BARA, f % 50);
        }
        sim::Pump(0);
    }
    double perFrameMs = t.nsecsElapsed() / 1e6 / frames;
    EXPECT_LT(perFrameMs, 1.0);
}
