// A label painted from kept layouts must show exactly what it shows when it
// paints itself: the two are compared pixel for pixel.
#include "platform/widgets/labeltext.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPalette>
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
