// Operator actions through real widget events, and what the callbacks get.
#include <QEventLoop>
#include <QTimer>

#include "fixture.h"

using V = std::vector<int>;

TEST_F(PanelTest, CommandButtonCommitsAfterItsLeftClick) {
    sim::Click(h, TP_BUTTONGO);
    EXPECT_EQ(EventsOf(TP_BUTTONGO), (V{EVENT_LEFT_CLICK, EVENT_COMMIT}));
}

TEST_F(PanelTest, ToggleAndSwitchSendValueChangedBeforeCommit) {
    sim::Click(h, TP_SELECTRAM);
    EXPECT_EQ(EventsOf(TP_SELECTRAM), (V{EVENT_LEFT_CLICK, EVENT_VAL_CHANGED, EVENT_COMMIT}));
    int on = -1;
    ASSERT_EQ(GetCtrlVal(h, TP_SELECTRAM, &on), UIE_OK);
    EXPECT_EQ(on, 1);

    sim::Click(h, TP_PARAVISIBLE);
    EXPECT_EQ(EventsOf(TP_PARAVISIBLE), (V{EVENT_LEFT_CLICK, EVENT_VAL_CHANGED, EVENT_COMMIT}));
    unsigned short sw = 9;
    ASSERT_EQ(GetCtrlVal(h, TP_PARAVISIBLE, &sw), UIE_OK);
    EXPECT_EQ(sw, 1);
}

TEST_F(PanelTest, DoubleClickArrivesAfterItsLeftClick) {
    sim::DoubleClick(h, TP_DISPGF);
    EXPECT_EQ(EventsOf(TP_DISPGF), (V{EVENT_LEFT_CLICK, EVENT_LEFT_DOUBLE_CLICK}));
    g_events.clear();
    sim::DoubleClick(h, TP_STRIP);
    EXPECT_EQ(EventsOf(TP_STRIP), (V{EVENT_LEFT_CLICK, EVENT_LEFT_DOUBLE_CLICK}));
}

TEST_F(PanelTest, RightClickSendsOnlyRightClick) {
    const int controls[] = {TP_BUTTONGO, TP_EDITNUM, TP_SELRING, TP_SELECTRAM, TP_PARAVISIBLE,
                            TP_DISPVAL,  TP_RECFILE, TP_STRIP,   TP_EDITINBOX};
    for (int c : controls) {
        g_events.clear();
        sim::RightClick(h, c);
        EXPECT_EQ(g_events, (std::vector<Event>{{c, EVENT_RIGHT_CLICK}})) << "control " << c;
    }
    int on = -1;
    GetCtrlVal(h, TP_SELECTRAM, &on);
    EXPECT_EQ(on, 0);  // the toggle did not switch
}

TEST_F(PanelTest, ProgramWritesRunNoCallback) {
    EXPECT_EQ(SetCtrlVal(h, TP_EDITNUM, 77), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_EDITDBL, 3.5), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_SELRING, 5), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_SELECTRAM, 1), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_PARAVISIBLE, 1), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_SLIDEPOWER, 500), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_DISPVAL, 12), UIE_OK);
    EXPECT_EQ(SetCtrlVal(h, TP_EDITINBOX, 4), UIE_OK);
    sim::Pump(0);
    EXPECT_TRUE(g_events.empty()) << g_events.size() << " callbacks ran";
}

TEST_F(PanelTest, DimmedControlStaysVisibleAndRefusesInput) {
    ASSERT_EQ(SetCtrlAttribute(h, TP_BUTTONGO, ATTR_DIMMED, 1), UIE_OK);
    ASSERT_EQ(SetCtrlAttribute(h, TP_EDITNUM, ATTR_DIMMED, 1), UIE_OK);
    EXPECT_FALSE(sim::Enabled(h, TP_BUTTONGO));
    int visible = 0;
    GetCtrlAttribute(h, TP_BUTTONGO, ATTR_VISIBLE, &visible);
    EXPECT_EQ(visible, 1);
    sim::Click(h, TP_BUTTONGO);
    sim::RightClick(h, TP_BUTTONGO);
    sim::Key(h, "F11");
    sim::EnterValue(h, TP_EDITNUM, 9);
    EXPECT_TRUE(g_events.empty());
    unsigned short v = 0;
    GetCtrlVal(h, TP_EDITNUM, &v);
    EXPECT_EQ(v, 5);

    SetCtrlAttribute(h, TP_BUTTONGO, ATTR_DIMMED, 0);
    EXPECT_TRUE(sim::Enabled(h, TP_BUTTONGO));
    sim::Key(h, "F11");
    EXPECT_EQ(EventsOf(TP_BUTTONGO), (V{EVENT_COMMIT}));
}

TEST_F(PanelTest, ShortcutKeyCommitsOnlyItsButton) {
    sim::Key(h, "F11");
    EXPECT_EQ(g_events, (std::vector<Event>{{TP_BUTTONGO, EVENT_COMMIT}}));
    g_events.clear();
    sim::Key(h, "F12");
    EXPECT_TRUE(g_events.empty());
    // A hidden button takes no key either.
    SetCtrlAttribute(h, TP_BUTTONGO, ATTR_VISIBLE, 0);
    sim::Key(h, "F11");
    EXPECT_TRUE(g_events.empty());
}

TEST_F(PanelTest, ClosingTheWindowAsksThePanelCallbackAndClosesNothing) {
    sim::Close(h);
    sim::Pump(0);
    EXPECT_EQ(g_panelEvents, (V{EVENT_CLOSE}));
    EXPECT_EQ(IsPanelVisible(h), 1);
    HidePanel(h);
    EXPECT_EQ(IsPanelVisible(h), 0);
}

TEST_F(PanelTest, NumericCommitsOnEnterAndStepNotPerKeystroke) {
    sim::EnterValue(h, TP_EDITNUM, 42);
    EXPECT_EQ(EventsOf(TP_EDITNUM), (V{EVENT_COMMIT}));
    unsigned short v = 0;
    GetCtrlVal(h, TP_EDITNUM, &v);
    EXPECT_EQ(v, 42);

    g_events.clear();
    sim::EnterValue(h, TP_EDITNUM, 42);  // Enter commits even when nothing changed
    EXPECT_EQ(EventsOf(TP_EDITNUM), (V{EVENT_COMMIT}));

    g_events.clear();
    sim::Step(h, TP_EDITNUM, 2);
    EXPECT_EQ(EventsOf(TP_EDITNUM), (V{EVENT_COMMIT, EVENT_COMMIT}));
    GetCtrlVal(h, TP_EDITNUM, &v);
    EXPECT_EQ(v, 44);

    g_events.clear();
    sim::EnterValue(h, TP_EDITDBL, 12.25);
    double d = 0;
    ASSERT_EQ(GetCtrlVal(h, TP_EDITDBL, &d), UIE_OK);
    EXPECT_DOUBLE_EQ(d, 12.25);
    EXPECT_EQ(EventsOf(TP_EDITDBL), (V{EVENT_COMMIT}));
}

TEST_F(PanelTest, RingCommitsTheChosenItemValue) {
    sim::ChooseRing(h, TP_SELRING, 5);
    EXPECT_EQ(EventsOf(TP_SELRING).back(), EVENT_COMMIT);
    unsigned short v = 0;
    ASSERT_EQ(GetCtrlVal(h, TP_SELRING, &v), UIE_OK);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(SetCtrlVal(h, TP_SELRING, 2), UIE_OK);
    GetCtrlVal(h, TP_SELRING, &v);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(SetCtrlVal(h, TP_SELRING, 3), UIE_BAD_ARGUMENT);  // no item has that value
    GetCtrlVal(h, TP_SELRING, &v);
    EXPECT_EQ(v, 2);
}

TEST_F(PanelTest, SliderCommitsOnceWhenReleased) {
    sim::EnterValue(h, TP_SLIDEPOWER, 300);
    EXPECT_EQ(EventsOf(TP_SLIDEPOWER), (V{EVENT_COMMIT}));
    unsigned short v = 0;
    GetCtrlVal(h, TP_SLIDEPOWER, &v);
    EXPECT_EQ(v, 300);
}

TEST_F(PanelTest, TableCellsTakeTypedValuesWithoutCallbacks) {
    sim::EnterCell(h, TP_TABLE, 2, 3, 777);
    unsigned short v = 0;
    ASSERT_EQ(GetTableCellVal(h, TP_TABLE, 2, 3, &v), UIE_OK);
    EXPECT_EQ(v, 777);
    sim::EnterCell(h, TP_TABLE, 1, 1, 70000);  // the editor refuses the key that leaves the u16 range
    GetTableCellVal(h, TP_TABLE, 1, 1, &v);
    EXPECT_EQ(v, 7000);
    EXPECT_TRUE(EventsOf(TP_TABLE).empty());
}

TEST_F(PanelTest, CallbackMayDiscardItsOwnPanel) {
    g_onEvent = [](int panel, int, int event) {
        if (event == EVENT_COMMIT) DiscardPanel(panel);
    };
    sim::Click(h, TP_BUTTONGO);
    EXPECT_EQ(IsPanelVisible(h), UIE_NO_SUCH_PANEL);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    h = -1;
}

TEST_F(PanelTest, WheelChangesAValueOnlyAfterAClickOrTabGaveItTheFocus) {
    SetCtrlVal(h, TP_EDITNUM, 50);
    SetCtrlVal(h, TP_SELRING, 5);
    SetCtrlVal(h, TP_SLIDEPOWER, 500);
    sim::Focus(h, TP_BUTTONGO);
    for (int c : {TP_EDITNUM, TP_SELRING, TP_SLIDEPOWER}) {
        SCOPED_TRACE(c);
        unsigned short before = 0, after = 0;
        GetCtrlVal(h, c, &before);
        g_events.clear();
        sim::Wheel(h, c, 2);
        GetCtrlVal(h, c, &after);
        EXPECT_EQ(after, before) << "an unfocused control took the wheel";
        EXPECT_TRUE(g_events.empty());
        sim::Wheel(h, TP_BUTTONGO, 1);  // the focus stays where it was
        sim::Focus(h, c);
        sim::Wheel(h, c, 1);
        GetCtrlVal(h, c, &after);
        EXPECT_NE(after, before) << "the focused control ignored the wheel";
        EXPECT_EQ(EventsOf(c), (V{EVENT_COMMIT}));
        sim::Focus(h, TP_BUTTONGO);
    }
}

namespace {
// Counts the paints a widget gets.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
}  // namespace

// A held repaint is not painted by the event processing after it, only by
// PaintHeld, or at the latest when the program waits for events (a popup's
// or panel's loop); the value itself is current all along.
TEST_F(PanelTest, HeldRepaintWaitsForPaintHeldOrAnEventLoop) {
    QWidget* gf = Widget<QWidget>("DispGf");
    ASSERT_NE(gf, nullptr);
    ProcessSystemEvents();
    PaintCounter counter;
    gf->installEventFilter(&counter);

    ASSERT_EQ(SetCtrlVal(h, TP_DISPGF, 12.5), UIE_OK);
    HoldPaint();
    ProcessSystemEvents();
    EXPECT_EQ(counter.paints, 0);
    double shown = 0;
    ASSERT_EQ(GetCtrlVal(h, TP_DISPGF, &shown), UIE_OK);
    EXPECT_EQ(shown, 12.5);
    PaintHeld();
    EXPECT_GE(counter.paints, 1);

    counter.paints = 0;
    ASSERT_EQ(SetCtrlVal(h, TP_DISPGF, 13.5), UIE_OK);
    HoldPaint();
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_GE(counter.paints, 1);
    gf->removeEventFilter(&counter);
}
