// What assistive technology reads from the program's panels: a name for
// every control the operator works with, the help text as description, and
// the values the displays show.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QWidget>

#include "app/callbacks.h"
#include "app/corvel.h"
#include "app/helptexts.h"
#include "platform/ui.h"
#include "support/panels.h"
#include "uir_ids.h"

namespace {

QWidget* Window(int handle) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->property("corvelHandle").toInt() == handle) return w;
    return nullptr;
}

QAccessibleInterface* Accessible(int handle, const char* control) {
    QWidget* window = Window(handle);
    QWidget* w = window ? window->findChild<QWidget*>(QString::fromLatin1(control)) : nullptr;
    return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
}

QString Name(int handle, const char* control) {
    QAccessibleInterface* a = Accessible(handle, control);
    return a ? a->text(QAccessible::Name) : QStringLiteral("<none>");
}

// The label that a list box is labelled by (on Linux its name is its chosen item).
QString LabelledBy(int handle, const char* control) {
    QAccessibleInterface* a = Accessible(handle, control);
    if (!a) return QStringLiteral("<none>");
    const auto labels = a->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

QString Description(int handle, const char* control) {
    QAccessibleInterface* a = Accessible(handle, control);
    return a ? a->text(QAccessible::Description) : QStringLiteral("<none>");
}

class Accessibility : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::LoadProgramPanels()); }
};

}  // namespace

TEST_F(Accessibility, FieldsRingsAndChartsAreNamedByTheirLabels) {
    using corvel::panel;
    EXPECT_EQ(Name(panel, "EditConnect"), QStringLiteral("PORT"));
    EXPECT_EQ(LabelledBy(panel, "Evalmode"), QStringLiteral("EVALMODE"));
    EXPECT_EQ(Accessible(panel, "Evalmode")->object()->property("accessibleName"),
              QStringLiteral("EVALMODE"));
    EXPECT_EQ(Name(panel, "EditBias"), QStringLiteral("BIAS (pm)"));
    EXPECT_EQ(Name(panel, "AnaOutEnd"), QStringLiteral("ANALOG OUT BEGIN / END"));
    EXPECT_EQ(LabelledBy(panel, "SelectSource"), QStringLiteral("SCOPE SOURCE"));
    EXPECT_EQ(LabelledBy(panel, "EditAverage"), QStringLiteral("AVERAGE"));
    EXPECT_EQ(Name(panel, "EditNo"), QStringLiteral("No."));
    EXPECT_EQ(Name(panel, "GraphGF"), QStringLiteral("GF (0.1 units)"));  // the chart shows tenths
    EXPECT_EQ(Name(corvel::recpanel, "EditInterval"), QStringLiteral("INTERVAL (s)"));
    EXPECT_EQ(Name(corvel::calibpanel, "SlideRefPower"), QStringLiteral("TRANSMITTER POWER 0 - 1000"));
    EXPECT_EQ(LabelledBy(corvel::graphpanel, "EditSignal"), QStringLiteral("SIGNAL"));
    EXPECT_EQ(Name(corvel::graphpanel, "PanelGraphTemp"), QStringLiteral("TEMP"));
    EXPECT_EQ(Name(panel, "ButtonGo"), QStringLiteral("GO  (F11)"));
    EXPECT_EQ(Description(panel, "ButtonGo"), QString::fromLatin1(corvel::InfoButtonGo));
    EXPECT_EQ(Description(panel, "SelectEEPROM"), QString::fromLatin1(corvel::InfoSelectMEM));
    EXPECT_EQ(Description(corvel::graphpanel, "PanelGraphGf"),
              QString::fromLatin1(corvel::InfoPanelGraphGraph));
}

// Every control the operator works with has a name, and each help text of
// the program arrives at the control it belongs to.
TEST_F(Accessibility, EveryOperableControlHasANameAndItsHelp) {
    const int panels[] = {corvel::panel, corvel::recpanel, corvel::calibpanel, corvel::graphpanel};
    int count = 0;
    const ControlHelp* help = corvel::ProgramHelp(&count);
    int described = 0;
    for (int h : panels) {
        char panelName[32] = "";
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->property("corvelHandle").toInt() == h)
                qstrncpy(panelName, qPrintable(w->objectName()), 32);
        for (int id = 1; id <= GetPanelCtrlCount(h); ++id) {
            char name[64];
            int kind = 0;
            GetCtrlName(h, id, name, sizeof name);
            GetCtrlAttribute(h, id, ATTR_CTRL_KIND, &kind);
            switch (kind) {
                case CTRL_KIND_COMMAND:
                case CTRL_KIND_TOGGLE:
                case CTRL_KIND_SWITCH:  // named by their own text
                    EXPECT_FALSE(Name(h, name).trimmed().isEmpty()) << panelName << " " << name;
                    break;
                case CTRL_KIND_NUMERIC:
                case CTRL_KIND_RING:
                case CTRL_KIND_SLIDER:
                case CTRL_KIND_STRIPCHART:
                case CTRL_KIND_GRAPH:
                    EXPECT_FALSE(
                        Accessible(h, name)->object()->property("accessibleName").toString().isEmpty())
                        << panelName << " " << name;
                    break;
                default:
                    break;
            }
            for (int i = 0; i < count; ++i) {
                if (qstrcmp(help[i].panel, panelName) != 0 || qstrcmp(help[i].control, name) != 0) continue;
                EXPECT_TRUE(Description(h, name).endsWith(QString::fromLatin1(help[i].text)))
                    << panelName << " " << name;
                ++described;
            }
        }
    }
    EXPECT_EQ(described, count);  // no entry names a control that does not exist
}

TEST_F(Accessibility, DisplaysReadWhatTheyShowWithTheirCaptionInTheDescription) {
    using corvel::panel;
    SetCtrlVal(panel, P_DISPCHREF, 2871);
    EXPECT_EQ(Name(panel, "DispChRef"), QStringLiteral("2871"));
    EXPECT_EQ(Description(panel, "DispChRef"),
              QStringLiteral("CH_REF\n") + QString::fromLatin1(corvel::InfoDispRaw));
    EXPECT_TRUE(Description(corvel::recpanel, "DispRecordHours").startsWith(QStringLiteral("HOURS\n")));
    EXPECT_EQ(Description(panel, "ParaDeco3"), QString());  // a caption is not described by its neighbour
    SetCtrlVal(panel, P_DISPSTATUS, "COM 1 open");
    EXPECT_EQ(Name(panel, "DispStatus"), QStringLiteral("COM 1 open"));
    EXPECT_TRUE(Description(panel, "DispStatus").startsWith(QStringLiteral("STATUS\n")));

    // A text box offers its text through the text interface.
    SetCtrlVal(corvel::recpanel, RECP_DISPRECFILE, "/tmp/run.dat");
    QAccessibleInterface* box = Accessible(corvel::recpanel, "DispRecFile");
    ASSERT_TRUE(box && box->textInterface());
    EXPECT_TRUE(
        box->textInterface()->text(0, box->textInterface()->characterCount()).endsWith("/tmp/run.dat"));
    EXPECT_TRUE(Description(corvel::recpanel, "DispRecFile").startsWith(QStringLiteral("RECORD FILE\n")));
}
