// Loading panels: identities as the generated header gives them, failures,
// the event loop and the end of the engine.
#include <QDialog>
#include <QPointer>
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

// The end of the program: every panel (shown, hidden or never shown), a
// dialog over one and a window nobody owns are gone before the program
// returns. The tests' own application stays theirs, and the engine starts
// again afterwards.
TEST(EngineEnd, DeletesEveryWindowButNotTheCallersApplication) {
    QCoreApplication* app = QCoreApplication::instance();
    const int shown = LoadPanel(0, "CorvelV20.uir", P);
    const int hidden = LoadPanel(0, "CorvelV20.uir", RECP);
    ASSERT_GT(shown, 0);
    ASSERT_GT(hidden, 0);
    DisplayPanel(shown);
    QPointer<QWidget> shownWindow, hiddenWindow;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->property("corvelHandle").toInt() == shown) shownWindow = w;
        if (w->property("corvelHandle").toInt() == hidden) hiddenWindow = w;
    }
    ASSERT_TRUE(shownWindow && hiddenWindow);
    QPointer<QDialog> dialog = new QDialog(shownWindow);
    dialog->show();
    QPointer<QWidget> stray = new QWidget;
    stray->show();

    // Never from inside a running loop: its callbacks would resume on deleted windows.
    static int inLoop;
    QTimer::singleShot(0, [] {
        inLoop = CloseCVIRTE();
        QuitUserInterface(0);
    });
    RunUserInterface();
    EXPECT_EQ(inLoop, UIE_BAD_ARGUMENT);
    EXPECT_EQ(IsPanelVisible(shown), 1);

    EXPECT_EQ(CloseCVIRTE(), UIE_OK);
    EXPECT_FALSE(shownWindow);
    EXPECT_FALSE(hiddenWindow);
    EXPECT_FALSE(dialog);
    EXPECT_FALSE(stray);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_EQ(IsPanelVisible(shown), UIE_NO_SUCH_PANEL);
    EXPECT_EQ(QCoreApplication::instance(), app);
    EXPECT_EQ(CloseCVIRTE(), UIE_OK);  // nothing left: nothing to do

    EXPECT_EQ(InitCVIRTE(0, nullptr, 0), 1);
    const int again = LoadPanel(0, "CorvelV20.uir", P);
    EXPECT_GT(again, hidden);
    EXPECT_EQ(DisplayPanel(again), UIE_OK);
    EXPECT_EQ(IsPanelVisible(again), 1);
    DiscardPanel(again);
}
