// Preloaded (LD_PRELOAD) into corvel-scope: operates the main panel as an
// operator would, through Qt only, so that an unpacked package can be tried
// offscreen. Steps, one every CORVEL_DRIVE_STEP_MS (default 1500) once the
// panel shows: report the status text, F11, F12, close the panel.
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "platform/testing.h"

namespace {

const char kTitle[] = "CORVEL-Scope V2.0";

QWidget* MainPanel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QLatin1String(kTitle)) return w;
    return nullptr;
}

QString StatusText(QWidget* panel) {
    QObject* status = panel->findChild<QObject*>(QStringLiteral("DispStatus"));
    if (!status) return QStringLiteral("(no status control)");
    for (const char* name : {"text", "plainText"}) {
        const QVariant v = status->property(name);
        if (v.isValid()) return v.toString();
    }
    return QString();
}

void Say(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "drive: %s%s%s\n", what, detail.isEmpty() ? "" : " ",
                 detail.toLocal8Bit().constData());
    std::fflush(stderr);
}

void Key(QWidget* panel, Qt::Key key) {
    panel->activateWindow();
    QWidget* target = panel->focusWidget() ? panel->focusWidget() : panel;
    QTest::keyClick(target, key);
}

int g_step = 0;
int g_waited = 0;

// With CORVEL_DRIVE_CLOSE_FILE set, the driver presses no keys (another
// tool operates the panel) and closes the panel once that file exists.
void CloseWhenAsked() {
    QWidget* panel = MainPanel();
    const char* file = std::getenv(testenv::kDriveCloseFile);
    if (!panel) {
        if (g_step == 0 && (g_waited += 100) > 30000) {
            Say("main panel never shown");
            std::_Exit(3);
        }
    } else if (g_step == 0) {
        g_step = 1;
        Say("main panel shown");
    } else if (access(file, F_OK) == 0) {
        Say("status", StatusText(panel).trimmed());
        Say("closing the main panel");
        panel->close();
        return;
    }
    QTimer::singleShot(100, CloseWhenAsked);
}

// Runs from the program's own event processing, also inside its live loop.
void Tick() {
    QWidget* panel = MainPanel();
    const char* env = std::getenv(testenv::kDriveStepMs);
    const int stepMs = env ? std::atoi(env) : 1500;
    if (!panel) {
        if (g_step == 0 && (g_waited += 100) > 30000) {
            Say("main panel never shown");
            std::_Exit(3);
        }
        QTimer::singleShot(100, Tick);
        return;
    }
    // The next step is due before this one acts: F11 returns only when the
    // live loop ends, and F12 is what ends it.
    const int step = g_step++;
    if (step < 3) QTimer::singleShot(stepMs, Tick);
    switch (step) {
        case 0:
            Say("main panel shown");
            break;
        case 1:
            Say("status", StatusText(panel).trimmed());
            Say("F11");
            Key(panel, Qt::Key_F11);
            break;
        case 2:
            Say("F12");
            Key(panel, Qt::Key_F12);
            break;
        default:
            Say("status", StatusText(panel).trimmed());
            Say("closing the main panel");
            panel->close();
            break;
    }
}

void Start() {
    QTimer::singleShot(100, std::getenv(testenv::kDriveCloseFile) ? CloseWhenAsked : Tick);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Start)
