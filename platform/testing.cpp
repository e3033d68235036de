// Operator actions for tests and tools, sent to the real widgets as mouse
// and key events.
#include "platform/testing.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <cstdio>

#include "platform/internal/uicore.h"
#include "platform/widgets/xygraph.h"

namespace sim {
namespace {

using uicore::Control;
using uicore::FindControl;
using uicore::FindPanel;

// The control's widget when an operator could reach it (shown on its panel).
QWidget* Reachable(int panel, int control) {
    uicore::Panel* p = FindPanel(panel);
    Control* c = FindControl(panel, control);
    if (!p || !c) {
        std::fprintf(stderr, "sim: no control %d on panel %d\n", control, panel);
        return nullptr;
    }
    if (!c->widget->isVisibleTo(p->window)) return nullptr;
    return c->widget;
}

// Where a click on the middle of a control lands: the innermost widget there.
QWidget* Target(QWidget* w, QPoint* pos) {
    QPoint centre = w->rect().center();
    if (auto* cb = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(cb);
        centre = cb->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, cb).center();
    }
    QWidget* t = w->childAt(centre);
    if (!t) t = w;
    *pos = t->mapFrom(w, centre);
    return t;
}

void Mouse(int panel, int control, Qt::MouseButton button, bool twice) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    QPoint pos;
    QWidget* t = Target(w, &pos);
    QTest::mouseClick(t, button, Qt::NoModifier, pos);
    if (twice && FindControl(panel, control)) {
        // What a second click within the double-click time produces.
        QTest::mouseDClick(t, button, Qt::NoModifier, pos);
        QTest::mouseRelease(t, button, Qt::NoModifier, pos);
    }
}

}  // namespace

void RightClick(int panel, int control) {
    Mouse(panel, control, Qt::RightButton, false);
}
void LeftClick(int panel, int control) {
    Mouse(panel, control, Qt::LeftButton, false);
}
void DoubleClick(int panel, int control) {
    Mouse(panel, control, Qt::LeftButton, true);
}
void Click(int panel, int control) {
    Mouse(panel, control, Qt::LeftButton, false);
}

void Wheel(int panel, int control, int notches) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void Focus(int panel, int control) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    w->activateWindow();
    QApplication::processEvents();
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

void Hover(int panel, int control, double fx, double fy) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    QTest::mouseMove(w, QPoint(static_cast<int>(w->width() * fx), static_cast<int>(w->height() * fy)));
    QApplication::processEvents();
}

void ShiftDrag(int panel, int control, double fx0, double fx1, double fy) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    auto at = [&](double fx) { return QPointF(w->width() * fx, w->height() * fy); };
    // Sent by hand: a synthetic move must carry the held button.
    auto send = [&](QEvent::Type type, const QPointF& p, Qt::MouseButtons held) {
        QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, held, Qt::ShiftModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, at(fx0), Qt::LeftButton);
    send(QEvent::MouseMove, at(fx1), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(fx1), Qt::NoButton);
    QApplication::processEvents();
}

void EnterValue(int panel, int control, double value) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    if (auto* s = qobject_cast<QSlider*>(w)) {
        // As a drag that ends at the value.
        if (!s->isEnabled()) return;
        s->setSliderDown(true);
        s->setSliderPosition(static_cast<int>(std::lround(value)));
        s->setSliderDown(false);
        return;
    }
    auto* sb = qobject_cast<QAbstractSpinBox*>(w);
    if (!sb) {
        std::fprintf(stderr, "sim::EnterValue: control %d is not numeric\n", control);
        return;
    }
    QString text;
    if (auto* db = qobject_cast<QDoubleSpinBox*>(sb)) {
        text = db->textFromValue(value);
    } else {
        text = QString::number(std::lround(value));
    }
    sb->selectAll();  // the number only, not a prefix or suffix
    QTest::keyClicks(sb, text);
    QTest::keyClick(sb, Qt::Key_Return);
}

void Step(int panel, int control, int steps) {
    QWidget* w = Reachable(panel, control);
    if (!w) return;
    Qt::Key key = steps >= 0 ? Qt::Key_Up : Qt::Key_Down;
    for (int i = 0; i < std::abs(steps) && FindControl(panel, control); ++i) QTest::keyClick(w, key);
}

void ChooseRing(int panel, int control, int value) {
    QWidget* w = Reachable(panel, control);
    Control* c = FindControl(panel, control);
    auto* cb = qobject_cast<QComboBox*>(w);
    if (!cb || !c) return;
    int index = -1;
    for (int i = 0; i < static_cast<int>(c->ringValues.size()) && i < cb->count(); ++i) {
        if (c->ringValues[i] == value) index = i;
    }
    if (index < 0) {
        std::fprintf(stderr, "sim::ChooseRing: control %d has no item of value %d\n", control, value);
        return;
    }
    if (!cb->isEnabled()) return;
    // Open the list and click the item, as the operator does.
    cb->showPopup();
    QAbstractItemView* view = cb->view();
    QRect r = view->visualRect(cb->model()->index(index, cb->modelColumn()));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    if (view->isVisible()) cb->hidePopup();
}

void EnterCell(int panel, int control, int column, int row, int value) {
    auto* t = qobject_cast<QTableWidget*>(Reachable(panel, control));
    if (!t || !t->isEnabled() || column < 1 || row < 1 || column > t->columnCount() || row > t->rowCount())
        return;
    t->setCurrentCell(row - 1, column - 1);
    QTableWidgetItem* item = t->item(row - 1, column - 1);
    if (!item) return;
    t->editItem(item);
    auto* editor = t->viewport()->findChild<QSpinBox*>();
    if (!editor) return;
    editor->selectAll();
    QTest::keyClicks(editor, QString::number(value));
    QTest::keyClick(editor, Qt::Key_Return);
    // The view takes the value from its editor through a queued call.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Key(int panel, const char* key) {
    uicore::Panel* p = FindPanel(panel);
    if (!p || !key) return;
    QWidget* win = p->window;
    if (!win->isVisible()) {
        std::fprintf(stderr, "sim::Key: panel %d is not shown, so %s reaches nothing\n", panel, key);
        return;
    }
    win->activateWindow();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    QApplication::setActiveWindow(win);
#else
    // Shortcuts reach only the active window; activation goes through the
    // window system since 6.5.
    if (!win->isActiveWindow() && !QTest::qWaitForWindowActive(win, 1000))
        std::fprintf(stderr, "sim::Key: panel %d did not become active\n", panel);
#endif
    QKeySequence seq(QString::fromLatin1(key));
    if (seq.isEmpty()) return;
    QKeyCombination k = seq[0];
    QWidget* focus = win->focusWidget() ? win->focusWidget() : win;
    QTest::keyClick(focus, k.key(), k.keyboardModifiers());
}

void Close(int panel) {
    uicore::Panel* p = FindPanel(panel);
    if (!p) return;
    QCloseEvent e;
    if (QWindow* handle = p->window->windowHandle()) {
        QCoreApplication::sendEvent(handle, &e);
    } else {
        QCoreApplication::sendEvent(p->window, &e);
    }
}

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (t.elapsed() < ms);
}

bool Enabled(int panel, int control) {
    QWidget* w = Reachable(panel, control);
    return w && w->isEnabled();
}

std::string ShownText(int panel, int control) {
    uicore::Control* c = uicore::FindControl(panel, control);
    auto* l = c ? qobject_cast<QLabel*>(c->widget.data()) : nullptr;
    return l ? l->text().toStdString() : std::string();
}

std::string ShownToolTip(int panel, int control) {
    uicore::Control* c = uicore::FindControl(panel, control);
    return c && c->widget ? c->widget->toolTip().toStdString() : std::string();
}

bool ShownYRange(int panel, int control, double* lo, double* hi) {
    uicore::Control* c = uicore::FindControl(panel, control);
    auto* g = c ? qobject_cast<XYGraph*>(c->widget.data()) : nullptr;
    if (!g) return false;
    g->shownYRange(lo, hi);
    return true;
}

}  // namespace sim
