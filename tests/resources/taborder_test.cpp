// Where the keyboard takes the operator on the panels: the control each
// window opens on, and the order in which Tab goes through the controls shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QWidget>
#include <string>

#include "app/corvel.h"
#include "params/params.h"
#include "platform/ui.h"
#include "support/panels.h"
#include "uir_ids.h"

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The control that has the focus; a spin box's inner line edit counts as the box.
QString Focused() {
    QWidget* w = QApplication::focusWidget();
    if (w && w->objectName().startsWith(QLatin1String("qt_")) && w->parentWidget()) w = w->parentWidget();
    return w ? w->objectName() : QStringLiteral("<none>");
}

// Opens the panel and presses Tab until the focus is back where it opened;
// the controls in the order they took the focus.
std::string TabCycle(int panel) {
    DisplayPanel(panel);
    Settle();
    QStringList cycle{Focused()};
    for (int i = 0; i < 100; ++i) {
        QWidget* w = QApplication::focusWidget();
        if (!w) break;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(w, &tab);
        Settle();
        if (Focused() == cycle.first()) break;
        cycle << Focused();
    }
    HidePanel(panel);
    return cycle.join(QLatin1Char(' ')).toStdString();
}

class TabOrder : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::LoadProgramPanels()); }
};

}  // namespace

TEST_F(TabOrder, MainPanelOpensOnPortsAndGoesOnAlongTheTopBarAndTheParameters) {
    SetCtrlVal(corvel::panel, P_PARAVISIBLE, 1);
    corvel::ParaVis();
    const QStringList expected{
        "ButtonPorts", "EditConnect", "SelectRAM",  "SelectEEPROM",       "SelectFILE",         "ButtonSend",
        "ButtonGet",   "ButtonGo",    "ButtonStop", "ButtonCalibrate",    "ButtonOpenRecorder", "ParaVisible",
        "SlidePower",  "EditPmod",    "Evalmode",   "EditTrigger",        "EditAverage",        "EditHold",
        "EditIntlim",  "EditBias",    "EditMaxNo",  "EditDigitalOutmode", "AnaOutBeg",          "AnaOutEnd",
        "ExternTeach", "SelectSource"};
    EXPECT_EQ(TabCycle(corvel::panel), expected.join(QLatin1Char(' ')).toStdString());
}

TEST_F(TabOrder, GraphPanelOpensOnOpenFileAndReachesTheSignalLast) {
    const QStringList expected{"ButtonOpenRecFile", "ButtonExportCsv", "ButtonFitY", "ButtonCloseGraph",
                               "ButtonReport",      "DispStats",       "SelectBand", "EditBandRow",
                               "EditBandLo",        "EditBandHi",      "DispBand",   "EditSignal"};
    EXPECT_EQ(TabCycle(corvel::graphpanel), expected.join(QLatin1Char(' ')).toStdString());
}

TEST_F(TabOrder, RecorderAndCalibrationGoInTheOrderTheyShow) {
    const QStringList recorder{"DispRecFile",      "ButtonSelRecFile",  "EditInterval",
                               "EditRecVal",       "ButtonStartRecord", "ButtonManualRecord",
                               "ButtonStopRecord", "ButtonShowGraph",   "ButtonCloseRecorder"};
    EXPECT_EQ(TabCycle(corvel::recpanel), recorder.join(QLatin1Char(' ')).toStdString());
    const QStringList calibration{"SlideRefPower", "ButtonStartCalib", "ButtonConfirmCalib",
                                  "ButtonCloseCalib"};
    EXPECT_EQ(TabCycle(corvel::calibpanel), calibration.join(QLatin1Char(' ')).toStdString());
}
