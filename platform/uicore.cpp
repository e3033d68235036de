// Run-time engine: the application object, the panel registry, the event
// loop and the delivery of events to the program's callbacks.
#include "platform/internal/uicore.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QColor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "platform/internal/theme.h"
#include "platform/widgets/labeltext.h"

namespace uicore {
namespace {

std::map<int, std::unique_ptr<Panel>>& Panels() {
    static std::map<int, std::unique_ptr<Panel>> panels;
    return panels;
}
int g_nextHandle = 1;
const CallbackEntry* g_table = nullptr;
int g_tableCount = 0;

// Nested runs of RunUserInterface; QuitUserInterface ends the innermost one.
struct Loop {
    QEventLoop* loop;
    int code;
};
std::vector<Loop> g_loops;
unsigned g_shownCount = 0;  // panels shown so far, for the order of PopupOwner

// Panels whose repaint HoldPaint took out of the event queue, and how deep
// ProcessSystemEvents is nested.
std::vector<QPointer<QWidget>> g_held;
int g_eventDepth = 0;
QPointer<QAbstractEventDispatcher> g_paintWatch;

// Held repaints never outlast the moment the program waits for the
// operator (an event loop, a popup, a dialog): the dispatcher is about to
// block only then, never inside ProcessSystemEvents.
void PaintHeldBeforeBlocking() {
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    if (!d || d == g_paintWatch) return;
    g_paintWatch = d;
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, d, [] { PaintHeld(); });
}

}  // namespace

Panel* FindPanel(int handle) {
    auto it = Panels().find(handle);
    if (it == Panels().end() || !it->second->window) return nullptr;
    return it->second.get();
}

Control* FindControl(int panel, int control) {
    Panel* p = FindPanel(panel);
    if (!p || control < 1 || control > static_cast<int>(p->controls.size())) return nullptr;
    Control* c = p->controls[control - 1].get();
    return c->widget ? c : nullptr;
}

int Lookup(int panel, int control, Control** out) {
    if (!FindPanel(panel)) return UIE_NO_SUCH_PANEL;
    Control* c = FindControl(panel, control);
    if (!c) return UIE_NO_SUCH_CONTROL;
    *out = c;
    return UIE_OK;
}

namespace {

// Indicators repaint with every live frame, and the captions inside them
// with them: they paint from kept text layouts.
void KeepIndicatorLayouts(Panel* p) {
    for (const auto& c : p->controls) {
        auto* l = qobject_cast<QLabel*>(c->widget.data());
        // An eliding display shows a shortened text of its own.
        if (!l || c->kind != CTRL_KIND_INDICATOR || ShowsElided(l) || l->property("elide").isValid())
            continue;
        labeltext::KeepLayouts(l);
        for (QLabel* caption : l->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            labeltext::KeepLayouts(caption);
            labeltext::FitCaption(caption);
        }
    }
}

}  // namespace

int AddPanel(std::unique_ptr<Panel> p) {
    int h = g_nextHandle++;
    p->handle = h;
    Panel* panel = p.get();
    Panels()[h] = std::move(p);
    // Every panel gets its palette-derived colours as it is registered.
    ApplyTheme(panel);
    KeepIndicatorLayouts(panel);
    return h;
}

void RemovePanel(int handle) {
    Panels().erase(handle);
}

const CallbackEntry* LookupCallback(const QByteArray& name) {
    if (name.isEmpty()) return nullptr;
    for (int i = 0; i < g_tableCount; ++i) {
        if (g_table[i].name && name == g_table[i].name) return &g_table[i];
    }
    return nullptr;
}

void SendCtrlEvent(int panel, int control, int event, int data1, int data2) {
    Control* c = FindControl(panel, control);
    if (!c || !c->callback) return;
    c->callback(panel, control, event, nullptr, data1, data2);
}

void SendPanelEvent(int panel, int event) {
    Panel* p = FindPanel(panel);
    if (!p || !p->callback) return;
    p->callback(panel, event, nullptr, 0, 0);
}

QWidget* PopupOwner() {
    QWidget* active = QApplication::activeWindow();
    const Panel* latest = nullptr;
    for (const auto& entry : Panels()) {
        const Panel* p = entry.second.get();
        if (!p->window || !p->window->isVisible()) continue;
        if (p->window == active) return active;
        if (!latest || p->shownOrder > latest->shownOrder) latest = p;
    }
    return latest ? latest->window.data() : active;
}

QPoint PanelPos(const Panel* p, const QWidget* w) {
    if (!p->window || w == p->window) return QPoint(0, 0);
    return w->mapTo(p->window.data(), QPoint(0, 0));
}

QColor ToColor(int rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int FromColor(const QColor& c) {
    return (c.red() << 16) | (c.green() << 8) | c.blue();
}

void CopyOut(const QString& s, char* out, int size) {
    if (!out || size <= 0) return;
    QByteArray b = s.toLocal8Bit();
    int n = b.size() < size - 1 ? static_cast<int>(b.size()) : size - 1;
    std::memcpy(out, b.constData(), n);
    out[n] = '\0';
}

}  // namespace uicore

using namespace uicore;

void RegisterCallbackTable(const CallbackEntry* table, int count) {
    g_table = table;
    g_tableCount = table ? count : 0;
}

namespace {

// While the application starts, Qt's messages are held back: when no display
// can be opened Qt gives up with a fatal message and aborts. The program ends
// instead with -1 and one line that says why; on success the held messages
// go out as usual.
QtMessageHandler previousHandler = nullptr;
std::vector<std::pair<QtMsgType, QString>>* heldMessages = nullptr;

void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        heldMessages->emplace_back(type, text);
        return;
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::fprintf(stderr,
                 "corvel-scope: no display to show the program on (Qt platform \"%s\" could not start)\n",
                 platform.isEmpty() ? "default" : platform.constData());
    std::fflush(stderr);
    std::_Exit(255);
}

}  // namespace

// The application object InitCVIRTE made itself; one made by the caller (a
// test's) is the caller's to destroy.
static QApplication* ownApplication = nullptr;

int InitCVIRTE(int, char* argv[], int) {
    if (!QApplication::instance()) {
        // QApplication keeps references to argc and argv for its whole life.
        static int argc = 1;
        static char name[] = "corvel-scope";
        static char* args[] = {name, nullptr};
        if (argv && argv[0]) args[0] = argv[0];
        std::vector<std::pair<QtMsgType, QString>> held;
        heldMessages = &held;
        previousHandler = qInstallMessageHandler(StartupMessages);
        ownApplication = new QApplication(argc, args);
        // Wayland compositors give the window the menu entry's name and icon by this.
        QGuiApplication::setDesktopFileName(QStringLiteral("corvel-scope"));
        qInstallMessageHandler(previousHandler);
        heldMessages = nullptr;
        for (const auto& m : held) {
            const QByteArray text = m.second.toLocal8Bit();
            if (m.first == QtWarningMsg || m.first == QtCriticalMsg)
                qWarning("%s", text.constData());
            else
                qDebug("%s", text.constData());
        }
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
    // Panels end the program through their close callbacks, never by themselves.
    QApplication::setQuitOnLastWindowClosed(false);
    return 1;
}

int CloseCVIRTE(void) {
    if (!QCoreApplication::instance()) return UIE_OK;
    // Only once every loop has returned: a nested loop would resume on
    // deleted windows.
    if (!g_loops.empty()) return UIE_BAD_ARGUMENT;
    // Windows are destroyed while the window system still stands. Left to
    // the library's exit-time clean-up they would be destroyed after it and
    // the program would crash on its way out.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<QPointer<QWidget>> windows;
    for (auto& entry : Panels()) windows.emplace_back(entry.second->window);
    Panels().clear();
    // Whatever else is left at the top (a dialog, a window nobody owns):
    // the ones without a parent first, which takes their children along.
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget* w : tops)
        if (!w->parentWidget()) windows.emplace_back(w);
    for (QWidget* w : tops) windows.emplace_back(w);
    for (QPointer<QWidget>& w : windows) delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (ownApplication) {
        delete ownApplication;
        ownApplication = nullptr;
    }
    return UIE_OK;
}

int DisplayPanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    // A window larger than the screen's free area (a high scaling factor,
    // a small screen) is brought inside it, as far as its minimum allows.
    // The headless platform's screen is a made-up one, left out.
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
    QScreen* screen = p->window->screen() ? p->window->screen() : QGuiApplication::primaryScreen();
    if (screen && !headless) {
        QSize room = screen->availableGeometry().size();
        QSize size = p->window->size();
        if (size.width() > room.width() || size.height() > room.height())
            p->window->resize(size.boundedTo(room).expandedTo(p->window->minimumSizeHint()));
    }
    p->shownOrder = ++g_shownCount;
    p->window->show();
    // The headless platform of the tests cannot raise windows, and Wayland
    // leaves stacking and focus to the compositor; both say so each time.
    if (!headless && !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        p->window->raise();
        p->window->activateWindow();
    }
    return UIE_OK;
}

int HidePanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    p->window->hide();
    return UIE_OK;
}

int DiscardPanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    QWidget* w = p->window;
    w->hide();
    RemovePanel(panel);
    // The caller may be a callback of this very panel, still inside one of
    // its widgets' event handlers: delete once control is back in the loop.
    w->deleteLater();
    return UIE_OK;
}

int RunUserInterface(void) {
    if (!QCoreApplication::instance()) return UIE_NOT_INITIALISED;
    QEventLoop loop;
    g_loops.push_back(Loop{&loop, 0});
    loop.exec();
    int code = g_loops.back().code;
    g_loops.pop_back();
    return code;
}

int QuitUserInterface(int returnCode) {
    if (g_loops.empty()) return UIE_OK;
    g_loops.back().code = returnCode;
    g_loops.back().loop->exit(0);
    return UIE_OK;
}

int ProcessSystemEvents(void) {
    if (!QCoreApplication::instance()) return UIE_NOT_INITIALISED;
    // A callback that runs a wait loop of its own keeps its panels drawn.
    if (++g_eventDepth > 1) PaintHeld();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --g_eventDepth;
    return UIE_OK;
}

int HoldPaint(void) {
    if (!QCoreApplication::instance()) return UIE_NOT_INITIALISED;
    PaintHeldBeforeBlocking();
    for (auto& entry : Panels()) {
        QWidget* w = entry.second->window;
        if (!w || !w->isVisible()) continue;
        // Qt keeps the window's dirty region and posts no second request
        // until it is painted, so nothing drawn meanwhile is lost.
        QCoreApplication::removePostedEvents(w, QEvent::UpdateRequest);
        bool known = false;
        for (const QPointer<QWidget>& h : g_held) known = known || h == w;
        if (!known) g_held.emplace_back(w);
    }
    return UIE_OK;
}

int PaintHeld(void) {
    if (g_held.empty()) return UIE_OK;
    std::vector<QPointer<QWidget>> held;
    held.swap(g_held);
    for (const QPointer<QWidget>& w : held) {
        if (!w || !w->isVisible()) continue;
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(w, &request);
    }
    return UIE_OK;
}

int IsPanelVisible(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_NO_SUCH_PANEL;
    return p->window->isVisible() ? 1 : 0;
}
