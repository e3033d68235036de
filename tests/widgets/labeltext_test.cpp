// A label painted from kept layouts must show exactly what it shows when it
// paints itself: the two are compared pixel for pixel.
#include "platform/widgets/labeltext.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <memory>

namespace {

struct Look {
    int pointSize;
    bool bold;
    Qt::Alignment align;
    int margin;
    QFrame::Shape shape;
    QFrame::Shadow shadow;
    QSize size;
};

std::unique_ptr<QLabel> MakeLabel(const Look& look) {
    auto l = std::make_unique<QLabel>();
    QFont f = l->font();
    f.setPointSize(look.pointSize);
    f.setBold(look.bold);
    l->setFont(f);
    l->setAlignment(look.align);
    l->setMargin(look.margin);
    l->setFrameShape(look.shape);
    l->setFrameShadow(look.shadow);
    l->setAutoFillBackground(true);
    l->setFixedSize(look.size);
    return l;
}

QImage Painted(QLabel* l, const QString& text) {
    l->setText(text);
    return l->grab().toImage();
}

const Look kLooks[] = {
    {16, true, Qt::AlignRight | Qt::AlignVCenter, 6, QFrame::Panel, QFrame::Sunken, {140, 46}},
    {8, true, Qt::AlignLeft | Qt::AlignVCenter, 0, QFrame::NoFrame, QFrame::Plain, {82, 14}},
    {9, false, Qt::AlignCenter, 1, QFrame::Panel, QFrame::Sunken, {138, 24}},
    {28, true, Qt::AlignRight | Qt::AlignBottom, 2, QFrame::Box, QFrame::Raised, {90, 30}},
    {11, false, Qt::AlignLeft | Qt::AlignTop, 3, QFrame::StyledPanel, QFrame::Plain, {120, 40}},
};

const char* const kTexts[] = {"0",
                              "7",
                              "2150",
                              "4095",
                              "65535",
                              "-12",
                              "80.0",
                              "1003.4",
                              "0.1",
                              "CH_DIR",
                              "V-No.",
                              "TEMP",
                              "LIVE 27.3 frames/s",
                              "W",
                              "ÄÖÜ ß",
                              "far too long a text for this label"};

TEST(LabelText, PaintsWhatTheLabelPaints) {
    for (const Look& look : kLooks) {
        auto own = MakeLabel(look);
        auto kept = MakeLabel(look);
        labeltext::KeepLayouts(kept.get());
        for (const char* t : kTexts) {
            const QString text = QString::fromUtf8(t);
            EXPECT_EQ(Painted(own.get(), text), Painted(kept.get(), text))
                << "text \"" << t << "\" at " << look.pointSize << " pt";
        }
        EXPECT_GT(labeltext::KeptLayouts(kept.get()), 0);
    }
}

TEST(LabelText, RepaintsOfTheSameStringUseOneLayout) {
    auto l = MakeLabel(kLooks[0]);
    labeltext::KeepLayouts(l.get());
    labeltext::KeepLayouts(l.get());  // a second call adds no second keeper
    Painted(l.get(), "2150");
    Painted(l.get(), "2151");
    Painted(l.get(), "2150");
    EXPECT_EQ(labeltext::KeptLayouts(l.get()), 2);
}

TEST(LabelText, FollowsColourFontAndDimming) {
    auto own = MakeLabel(kLooks[0]);
    auto kept = MakeLabel(kLooks[0]);
    labeltext::KeepLayouts(kept.get());
    ASSERT_EQ(Painted(own.get(), "815"), Painted(kept.get(), "815"));
    for (QLabel* l : {own.get(), kept.get()}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, QColor(0xA8, 0xB0, 0xB8));
        pal.setColor(QPalette::Window, QColor(20, 30, 40));
        l->setPalette(pal);
    }
    EXPECT_EQ(Painted(own.get(), "815"), Painted(kept.get(), "815"));
    for (QLabel* l : {own.get(), kept.get()}) {
        QFont f = l->font();
        f.setPointSize(12);
        f.setItalic(true);
        l->setFont(f);
    }
    EXPECT_EQ(labeltext::KeptLayouts(kept.get()), 0);  // a new font lays out anew
    EXPECT_EQ(Painted(own.get(), "815"), Painted(kept.get(), "815"));
    own->setEnabled(false);
    kept->setEnabled(false);
    EXPECT_EQ(Painted(own.get(), "816"), Painted(kept.get(), "816"));
}

TEST(LabelText, LeavesRichWrappedAndPictureLabelsToThemselves) {
    auto own = MakeLabel(kLooks[2]);
    auto kept = MakeLabel(kLooks[2]);
    labeltext::KeepLayouts(kept.get());
    EXPECT_EQ(Painted(own.get(), "<b>bold</b> text"), Painted(kept.get(), "<b>bold</b> text"));
    EXPECT_EQ(Painted(own.get(), "two\nlines"), Painted(kept.get(), "two\nlines"));
    own->setWordWrap(true);
    kept->setWordWrap(true);
    EXPECT_EQ(Painted(own.get(), "wrapped words in a box"), Painted(kept.get(), "wrapped words in a box"));
    EXPECT_EQ(labeltext::KeptLayouts(kept.get()), 0);
}

}  // namespace

namespace {

// Counts the paints of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A display with its caption, as the main panel has them, in a shown window.
struct Display {
    QWidget window;
    QLabel* value;
    QLabel* caption;
    Display() {
        window.resize(160, 60);
        value = MakeLabel(kLooks[0]).release();
        value->setParent(&window);
        value->move(10, 7);
        caption = new QLabel("CH_DIR", value);
        QFont f = caption->font();
        f.setPointSize(8);
        f.setBold(true);
        caption->setFont(f);
        caption->setGeometry(5, 3, 82, 14);
        labeltext::KeepLayouts(value);
        labeltext::KeepLayouts(caption);
        labeltext::FitCaption(caption);
        window.show();
        QCoreApplication::processEvents();
    }
    // What the window shows on the screen: its backing store, not a fresh paint.
    QImage Shown() {
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage();
    }
};

TEST(LabelText, ANewValueRepaintsItsTextAndNotTheCaption) {
    Display changed, direct;
    const QImage before = direct.Shown();
    auto* wide = new QLabel("CH_DIR", &direct.window);
    wide->setFont(direct.caption->font());
    wide->setGeometry(200, 0, 82, 14);  // outside the window: only its size hint matters
    EXPECT_LT(direct.caption->width(), 82);
    EXPECT_GE(direct.caption->width(), wide->sizeHint().width());

    // A text wide enough to reach the caption repaints it too.
    labeltext::ShowText(changed.value, "1003.4");
    changed.Shown();
    labeltext::ShowText(changed.value, "4095");
    changed.Shown();
    PaintCounter captionPaints(changed.caption);
    for (const char* t : {"815", "2150", "-1", "100.3", "4094", "815"}) {
        labeltext::ShowText(changed.value, t);
        changed.Shown();
    }
    labeltext::ShowText(direct.value, "815");
    const QImage after = direct.Shown();
    EXPECT_NE(before, after);  // the screen image follows the value
    EXPECT_EQ(changed.Shown(), after);
    EXPECT_EQ(captionPaints.paints, 0);
}

TEST(LabelText, ShowTextOfAHiddenOrRichLabelStillShowsIt) {
    Display d;
    d.value->hide();
    labeltext::ShowText(d.value, "77");
    EXPECT_EQ(d.value->text(), "77");
    d.value->show();
    labeltext::ShowText(d.value, "<b>7</b>");
    EXPECT_EQ(d.value->text(), "<b>7</b>");
    labeltext::ShowText(d.value, "78");
    Display direct;
    labeltext::ShowText(direct.value, "78");
    EXPECT_EQ(d.Shown(), direct.Shown());
}

// Keepers are found by their label: one that went with its label is never
// found for another, even one made where the old one lay.
TEST(LabelText, AGoneLabelsKeeperIsNotFoundForAnother) {
    for (int i = 0; i < 20; ++i) {
        auto kept = std::make_unique<QLabel>("1");
        labeltext::KeepLayouts(kept.get());
        EXPECT_TRUE(labeltext::ShowText(kept.get(), "2"));
        kept.reset();
        QLabel fresh("3");
        EXPECT_FALSE(labeltext::ShowText(&fresh, "4"));
        EXPECT_EQ(fresh.text(), "3");
    }
}

}  // namespace
