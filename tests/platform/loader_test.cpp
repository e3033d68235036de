// Loading panels: identities as the generated header gives them, failures,
// and the event loop.
#include <QTimer>

#include "fixture.h"
#include "uir_ids.h"

TEST_F(PanelTest, ControlsAreNumberedAsTheGeneratedHeaderSays) {
    struct {
        const char* name;
        int id;
        int kind;
        int type;
    } expected[] = {
        {"ButtonGo", TP_BUTTONGO, CTRL_KIND_COMMAND, DT_NONE},
        {"EditNum", TP_EDITNUM, CTRL_KIND_NUMERIC, DT_U16},
        {"EditDbl", TP_EDITDBL, CTRL_KIND_NUMERIC, DT_DOUBLE},
        {"DispVal", TP_DISPVAL, CTRL_KIND_INDICATOR, DT_U16},
        {"DispGf", TP_DISPGF, CTRL_KIND_INDICATOR, DT_DOUBLE},
        {"DispStatus", TP_DISPSTATUS, CTRL_KIND_TEXT, DT_STRING},
        {"RecFile", TP_RECFILE, CTRL_KIND_TEXTBOX, DT_STRING},
        {"SelRing", TP_SELRING, CTRL_KIND_RING, DT_U16},
        {"SelectRAM", TP_SELECTRAM, CTRL_KIND_TOGGLE, DT_INT},
        {"ParaVisible", TP_PARAVISIBLE, CTRL_KIND_SWITCH, DT_U16},
        {"SlidePower", TP_SLIDEPOWER, CTRL_KIND_SLIDER, DT_U16},
        {"BarA", TP_BARA, CTRL_KIND_BAR, DT_U16},
        {"Table", TP_TABLE, CTRL_KIND_TABLE, DT_NONE},
        {"Strip", TP_STRIP, CTRL_KIND_STRIPCHART, DT_NONE},
        {"Plot", TP_PLOT, CTRL_KIND_GRAPH, DT_NONE},
        {"Logo", TP_LOGO, CTRL_KIND_PICTURE, DT_NONE},
        {"Header", TP_HEADER, CTRL_KIND_DECORATION, DT_NONE},
        {"EditInBox", TP_EDITINBOX, CTRL_KIND_NUMERIC, DT_INT},
        {"CaptionKind", TP_CAPTIONKIND, CTRL_KIND_TEXT, DT_STRING},
    };
    EXPECT_EQ(GetPanelCtrlCount(h), static_cast<int>(sizeof expected / sizeof expected[0]));
    for (const auto& e : expected) {
        EXPECT_EQ(GetCtrlByName(h, e.name), e.id) << e.name;
        char name[32];
        GetCtrlName(h, e.id, name, sizeof name);
        EXPECT_STREQ(name, e.name);
        int kind = 0, type = 0;
        GetCtrlAttribute(h, e.id, ATTR_CTRL_KIND, &kind);
        GetCtrlAttribute(h, e.id, ATTR_DATA_TYPE, &type);
        EXPECT_EQ(kind, e.kind) << e.name;
        EXPECT_EQ(type, e.type) << e.name;
    }
    EXPECT_LT(GetCtrlByName(h, "Caption1"), 0);  // no kind: not a control
    char cb[32];
    GetCtrlCallbackName(h, TP_BUTTONGO, cb, sizeof cb);
    EXPECT_STREQ(cb, "CBT_Ctrl");
    GetCtrlCallbackName(h, TP_TABLE, cb, sizeof cb);
    EXPECT_STREQ(cb, "");
}

TEST_F(PanelTest, EveryLoadGivesANewHandleAndFailuresShowNothing) {
    int second = LoadPanel(0, "test_platform.uir", TP);
    EXPECT_GT(second, h);
    EXPECT_EQ(IsPanelVisible(second), 0);
    DiscardPanel(second);
    EXPECT_EQ(IsPanelVisible(second), UIE_NO_SUCH_PANEL);
    int windows = QApplication::topLevelWidgets().size();
    EXPECT_LT(LoadPanel(0, "no-such-file.uir", TP), 0);
    EXPECT_LT(LoadPanel(0, "test_platform.uir", 99), 0);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

// The program's own panel file loads with the identities of its header.
TEST(ProgramPanels, LoadWithTheirGeneratedIdentities) {
    const int resources[] = {P, RECP, CALIBP, GRAPHP};
    for (int r : resources) {
        int handle = LoadPanel(0, "CorvelV20.uir", r);
        ASSERT_GT(handle, 0) << "panel resource " << r;
        if (r == P) {
            EXPECT_EQ(GetCtrlByName(handle, "ButtonGo"), P_BUTTONGO);
            EXPECT_EQ(GetCtrlByName(handle, "TeachTable"), P_TEACHTABLE);
            EXPECT_EQ(GetCtrlByName(handle, "GraphGF"), P_GRAPHGF);
        }
        DiscardPanel(handle);
    }
}

TEST(EventLoop, RunsUntilQuitAndReturnsItsCode) {
    EXPECT_EQ(QuitUserInterface(3), UIE_OK);  // no loop running: nothing happens
    QTimer::singleShot(0, [] { QuitUserInterface(7); });
    EXPECT_EQ(RunUserInterface(), 7);
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    ProcessSystemEvents();
    EXPECT_TRUE(ran);
}
