// How the panels look on real screens: their minimum sizes against the
// screens operators use, and the contrast of their texts in a light and a
// dark palette, measured on the colours the widgets paint with.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/corvel.h"
#include "ctrlrect.h"
#include "platform/testing.h"
#include "platform/theme.h"
#include "platform/ui.h"
#include "uir_ids.h"

namespace {

double Channel(double c) {
    c /= 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Luminance(const QColor& c) {
    return 0.2126 * Channel(c.red()) + 0.7152 * Channel(c.green()) + 0.0722 * Channel(c.blue());
}
// WCAG 2 contrast ratio.
double Contrast(const QColor& a, const QColor& b) {
    double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QWidget* Window(int panel) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->property("corvelHandle").toInt() == panel) return w;
    }
    return nullptr;
}

// The colour a widget's text is painted on: its own filled background, or
// that of the nearest ancestor that fills one, or the window's.
QColor Behind(const QWidget* w) {
    for (const QWidget* a = w; a; a = a->parentWidget()) {
        if (a->autoFillBackground() || a->isWindow()) return a->palette().color(a->backgroundRole());
    }
    return QApplication::palette().color(QPalette::Window);
}

// Counts the layout passes a window asks for.
class LayoutCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest) ++count;
        return false;
    }
};

struct Panels {
    int p, recp, calibp, graphp;
};

// A fresh set of the four panels for this test program's own use.
Panels Load() {
    return {LoadPanel(0, corvel::kPanelFile, P), LoadPanel(0, corvel::kPanelFile, RECP),
            LoadPanel(0, corvel::kPanelFile, CALIBP), LoadPanel(0, corvel::kPanelFile, GRAPHP)};
}
void Discard(const Panels& ps) {
    for (int h : {ps.p, ps.recp, ps.calibp, ps.graphp}) DiscardPanel(h);
}

class PanelLook : public ::testing::Test {
protected:
    void SetUp() override {
        ps_ = Load();
        for (int h : {ps_.p, ps_.recp, ps_.calibp, ps_.graphp}) ASSERT_GT(h, 0);
    }
    void TearDown() override {
        Discard(ps_);
        UseColourScheme(SCHEME_DESKTOP);
    }
    Panels ps_{};
};

using ctrlrect::CtrlRect;
using ctrlrect::Rect;
bool Overlap(const Rect& a, const Rect& b) {
    return std::min(a.left + a.width, b.left + b.width) > std::max(a.left, b.left) &&
           std::min(a.top + a.height, b.top + b.height) > std::max(a.top, b.top);
}
int Visible(int panel, int control) {
    int v = 0;
    GetCtrlAttribute(panel, control, ATTR_VISIBLE, &v);
    return v;
}

// Shrinks the panel to its minimum and checks that every control shown lies
// inside it with room of its own; returns the minimum.
void ExpectFitsAtMinimum(int panel, bool isMain, const char* view, int* width, int* height) {
    SCOPED_TRACE(view);
    ASSERT_EQ(GetPanelMinimumSize(panel, width, height), UIE_OK);
    ASSERT_EQ(SetPanelSize(panel, *width, *height), UIE_OK);
    Window(panel)->grab();  // lays the panel out at that size
    int w = 0, h = 0;
    GetPanelSize(panel, &w, &h);
    EXPECT_EQ(w, *width);
    EXPECT_EQ(h, *height);
    const int count = GetPanelCtrlCount(panel);
    std::vector<Rect> shown(count + 1);
    for (int id = 1; id <= count; ++id) {
        if (!Visible(panel, id)) continue;
        Rect r = CtrlRect(panel, id);
        shown[id] = r;
        EXPECT_TRUE(r.width > 0 && r.height > 0) << "control " << id << " has no room";
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= w && r.top + r.height <= h)
            << "control " << id << " lies outside the panel";
        for (int other = 1; other < id; ++other) {
            if (!Visible(panel, other)) continue;
            // Only the logo on its band and the big display over the scope lie on others.
            bool layered = isMain && (other == P_HEADERBACKGROUND || id == P_DISPGFBIG);
            EXPECT_TRUE(layered || !Overlap(r, shown[other]))
                << "controls " << other << " and " << id << " overlap";
        }
    }
}

}  // namespace

// The minimum of every panel, in each of its views, fits a 1366 x 768 screen
// at 100 % and a 1920 x 1080 screen at 150 % (1280 x 720 logical pixels),
// less 64 pixels for the desktop's bars. Scaling multiplies logical pixels,
// so the logical minimum is what must fit.
namespace {

void ShowTeachView(int p) {
    const int para[] = {P_SLIDEPOWER, P_EDITPMOD,  P_EDITAVERAGE,        P_EVALMODE,    P_EDITHOLD,
                        P_EDITINTLIM, P_EDITMAXNO, P_EDITDIGITALOUTMODE, P_EDITTRIGGER, P_EXTERNTEACH,
                        P_ANAOUTBEG,  P_ANAOUTEND, P_EDITBIAS,           P_PARADECO1,   P_PARADECO2,
                        P_PARADECO3,  P_PARADECO4, P_PARADECO5,          P_PARADECO6,   P_PARADECO7,
                        P_PARADECO8,  P_PARADECO9, P_PARADECO10};
    for (int id : para) SetCtrlAttribute(p, id, ATTR_VISIBLE, 0);
    for (int id : {P_TEACHTABLE, P_EDITNO, P_RADIOINC, P_BUTTONTEACHDATATO, P_BUTTONRESETTABLE})
        SetCtrlAttribute(p, id, ATTR_VISIBLE, 1);
}

}  // namespace

// On a 1366 x 768 screen (less the desktop's bars) the teach view shows at
// least 16 whole rows of the 31, and the slider numbers follow their sliders.
TEST_F(PanelLook, TeachViewShowsSixteenRowsAndSlidersShowTheirNumbers) {
    ShowTeachView(ps_.p);
    SetPanelSize(ps_.p, 1366, 768 - 64);
    Window(ps_.p)->grab();
    auto* table = Window(ps_.p)->findChild<QTableView*>("TeachTable");
    ASSERT_TRUE(table);
    int whole = 0;
    for (int r = 0; r < 31; ++r)
        if (table->viewport()->rect().contains(table->visualRect(table->model()->index(r, 0)))) ++whole;
    EXPECT_GE(whole, 16);

    // Shown beside the slider, hidden with it; set by the program or moved by a key.
    struct Slider {
        int panel, id;
        const char* name;
    };
    for (const Slider& s : {Slider{ps_.p, P_SLIDEPOWER, "SlidePower"},
                            Slider{ps_.calibp, CALIBP_SLIDEREFPOWER, "SlideRefPower"}}) {
        SCOPED_TRACE(s.name);
        QWidget* slider = Window(s.panel)->findChild<QWidget*>(s.name);
        auto* number = Window(s.panel)->findChild<QLabel*>(QString::fromLatin1(s.name) + "Readout");
        ASSERT_TRUE(slider && number);
        SetCtrlAttribute(s.panel, s.id, ATTR_VISIBLE, 1);
        EXPECT_FALSE(number->isHidden());
        SetCtrlVal(s.panel, s.id, static_cast<unsigned short>(321));
        EXPECT_EQ(number->text(), QStringLiteral("321"));
        DisplayPanel(s.panel);
        sim::Step(s.panel, s.id, 1);  // as the operator's arrow key
        unsigned short v = 0;
        GetCtrlVal(s.panel, s.id, &v);
        EXPECT_EQ(v, 322);
        EXPECT_EQ(number->text(), QString::number(v));
        SetCtrlAttribute(s.panel, s.id, ATTR_VISIBLE, 0);
        EXPECT_TRUE(number->isHidden());
        HidePanel(s.panel);
    }
}

TEST_F(PanelLook, EveryPanelFitsTheCommonScreensAtItsMinimum) {
    const int maxWidth = 1280, maxHeight = 720 - 64;
    struct View {
        const char* name;
        int panel;
        void (*set)(int panel);
    };
    const View views[] = {
        {"P", ps_.p, nullptr},
        {"P teach table", ps_.p, ShowTeachView},
        {"P big GF display", ps_.p,
         [](int p) {
             SetCtrlAttribute(p, P_GRAPHGF, ATTR_VISIBLE, 1);
             SetCtrlAttribute(p, P_DISPGFBIG, ATTR_VISIBLE, 1);
         }},
        {"RECP", ps_.recp, nullptr},
        {"CALIBP", ps_.calibp, nullptr},
        {"GRAPHP", ps_.graphp, nullptr},
    };
    for (const View& v : views) {
        if (v.set) v.set(v.panel);
        int w = 0, h = 0;
        ExpectFitsAtMinimum(v.panel, v.panel == ps_.p, v.name, &w, &h);
        EXPECT_LE(w, maxWidth) << v.name;
        EXPECT_LE(h, maxHeight) << v.name;
        // Still a panel one can work with, not collapsed.
        EXPECT_GE(w, 400) << v.name;
        EXPECT_GE(h, 250) << v.name;
    }
}

// Growing the main panel gives the room to the scope, not to the displays.
TEST_F(PanelLook, TheScopeTakesTheRoomOfALargerWindow) {
    int w = 0, h = 0;
    ASSERT_EQ(GetPanelMinimumSize(ps_.p, &w, &h), UIE_OK);
    SetPanelSize(ps_.p, w, h);
    Window(ps_.p)->grab();
    Rect chartSmall = CtrlRect(ps_.p, P_GRAPHNORM), dispSmall = CtrlRect(ps_.p, P_DISPCHDIR);
    SetPanelSize(ps_.p, 1920, 1080);
    Window(ps_.p)->grab();
    Rect chartLarge = CtrlRect(ps_.p, P_GRAPHNORM), dispLarge = CtrlRect(ps_.p, P_DISPCHDIR);
    Rect band = CtrlRect(ps_.p, P_HEADERBACKGROUND);
    EXPECT_GE(chartLarge.width - chartSmall.width, (1920 - w) * 8 / 10);
    EXPECT_GE(chartLarge.height - chartSmall.height, (1080 - h) * 8 / 10);
    EXPECT_EQ(dispLarge.height, dispSmall.height);
    EXPECT_LE(dispLarge.width, 2 * dispSmall.width);
    // The header band spans the width, its logo keeps its panel position.
    EXPECT_EQ(band.width, 1920);
    Rect logo = CtrlRect(ps_.p, P_PICTURELOGO);
    SetCtrlAttribute(ps_.p, P_PICTURELOGO, ATTR_LEFT, 800);
    SetCtrlAttribute(ps_.p, P_PICTURELOGO, ATTR_TOP, 5);
    Window(ps_.p)->grab();
    Rect moved = CtrlRect(ps_.p, P_PICTURELOGO);
    EXPECT_EQ(moved.left, 800);
    EXPECT_EQ(moved.top, 5);
    EXPECT_EQ(moved.width, logo.width);
}

// Every text of the four panels reads at WCAG AA (4.5 : 1) in both schemes,
// and the chosen transfer target stands out from the others.
TEST_F(PanelLook, TextsReadWellAndTheChosenTargetStandsOutInLightAndDark) {
    for (int scheme : {SCHEME_LIGHT, SCHEME_DARK}) {
        SCOPED_TRACE(scheme == SCHEME_DARK ? "dark" : "light");
        ASSERT_EQ(UseColourScheme(scheme), UIE_OK);
        int labels = 0;
        for (int panel : {ps_.p, ps_.recp, ps_.calibp, ps_.graphp}) {
            const auto all = Window(panel)->findChildren<QLabel*>();
            for (const QLabel* l : all) {
                if (!l->pixmap().isNull() || l->objectName() == QLatin1String("PictureLogo")) continue;
                ++labels;
                QColor fg = l->palette().color(l->foregroundRole());
                EXPECT_GE(Contrast(fg, Behind(l)), 4.5)
                    << l->objectName().toStdString() << " " << fg.name().toStdString() << " on "
                    << Behind(l).name().toStdString();
            }
        }
        EXPECT_GT(labels, 80);  // displays, their captions and the field captions

        QWidget* ram = Window(ps_.p)->findChild<QWidget*>("SelectRAM");
        QWidget* eeprom = Window(ps_.p)->findChild<QWidget*>("SelectEEPROM");
        ASSERT_TRUE(ram && eeprom);
        SetCtrlVal(ps_.p, P_SELECTRAM, 1);
        SetCtrlVal(ps_.p, P_SELECTEEPROM, 0);
        Window(ps_.p)->grab();  // the colours are those of the painted state
        QColor chosen = ram->palette().color(QPalette::Button);
        QColor other = eeprom->palette().color(QPalette::Button);
        EXPECT_GE(Contrast(ram->palette().color(QPalette::ButtonText), chosen), 4.5);
        EXPECT_GE(Contrast(eeprom->palette().color(QPalette::ButtonText), other), 4.5);
        EXPECT_GE(Contrast(chosen, other), 1.8)
            << chosen.name().toStdString() << " vs " << other.name().toStdString();
        // The choice follows the value: EEPROM now carries the fill, RAM lost it.
        SetCtrlVal(ps_.p, P_SELECTRAM, 0);
        SetCtrlVal(ps_.p, P_SELECTEEPROM, 1);
        Window(ps_.p)->grab();
        EXPECT_EQ(eeprom->palette().color(QPalette::Button), chosen);
        EXPECT_EQ(ram->palette().color(QPalette::Button), other);

        // The slider's ticks (below its groove) stand out from the window
        // as graphics should (3 : 1).
        QWidget* slider = Window(ps_.p)->findChild<QWidget*>("SlidePower");
        ASSERT_TRUE(slider);
        QImage img = slider->grab().toImage();
        const QColor ground = Behind(slider);
        double ticks = 1.0;
        for (int y = img.height() * 3 / 4; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x)
                ticks = std::max(ticks, Contrast(img.pixelColor(x, y), ground));
        }
        EXPECT_GE(ticks, 3.0);

        // Unticked check boxes show their box (3 : 1), and the unlit lamp
        // is a display of the palette like the others.
        for (int id : {P_PARAVISIBLE, P_EXTERNTEACH}) {
            SetCtrlAttribute(ps_.p, id, ATTR_VISIBLE, 1);
            SetCtrlVal(ps_.p, id, 0);
        }
        for (const char* name : {"ParaVisible", "ExternTeach"}) {
            QWidget* box = Window(ps_.p)->findChild<QWidget*>(name);
            ASSERT_TRUE(box);
            const QImage shot = box->grab().toImage();
            const QColor behind = Behind(box);
            // The box alone: the indicator's width at the left, before the text.
            const int boxWidth = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
            double frame = 1.0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < std::min(shot.width(), boxWidth); ++x)
                    frame = std::max(frame, Contrast(shot.pixelColor(x, y), behind));
            EXPECT_GE(frame, 3.0) << name;
        }
        QWidget* lamp = Window(ps_.p)->findChild<QWidget*>("DispLive");
        QWidget* status = Window(ps_.p)->findChild<QWidget*>("DispStatus");
        ASSERT_TRUE(lamp && status);
        EXPECT_EQ(Behind(lamp), Behind(status));

        // The running and idle colours the program gives its buttons keep a readable caption.
        for (int colour : {0xFF0000, 0xE0E0E0}) {
            SetCtrlAttribute(ps_.calibp, CALIBP_BUTTONSTARTCALIB, ATTR_BUTTON_COLOR, colour);
            auto* b = Window(ps_.calibp)->findChild<QAbstractButton*>("ButtonStartCalib");
            ASSERT_TRUE(b);
            EXPECT_GE(
                Contrast(b->palette().color(QPalette::ButtonText), b->palette().color(QPalette::Button)), 4.5)
                << std::hex << colour;
        }
    }
}

// The live loop writes a dozen displays per frame: a new value, however
// long, must not make the panel lay itself out again.
TEST_F(PanelLook, NewValuesInDisplaysDoNotLayThePanelOutAgain) {
    for (int panel : {ps_.p, ps_.recp, ps_.calibp, ps_.graphp}) {
        DisplayPanel(panel);
        ProcessSystemEvents();
        LayoutCounter counter;
        Window(panel)->installEventFilter(&counter);
        int displays = 0;
        for (int value : {7, 65535, 0, 40000}) {
            for (int id = 1; id <= GetPanelCtrlCount(panel); ++id) {
                int kind = 0;
                GetCtrlAttribute(panel, id, ATTR_CTRL_KIND, &kind);
                if (kind != CTRL_KIND_INDICATOR) continue;
                ++displays;
                SetCtrlVal(panel, id, value);
            }
            ProcessSystemEvents();
        }
        Window(panel)->removeEventFilter(&counter);
        HidePanel(panel);
        EXPECT_GT(displays, 0);
        EXPECT_EQ(counter.count, 0) << "panel " << panel;
    }
}
