// Scrolling over a panel must never rewrite a parameter behind the
// operator's back: the next SEND would carry it to the sensor, unmarked. So
// a spin box, ring or slider takes the wheel only once it has the keyboard
// focus (a click or Tab first), as a text field takes keys. Over an
// unfocused one the wheel scrolls whatever scroll area holds it, so a long
// view still scrolls under the mouse.
#include "platform/internal/wheelguard.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEvent>
#include <QWheelEvent>
#include <QWidget>

namespace uicore {
namespace {

// One per window, owned by it, so it goes with the window and never
// outlives the application.
class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return false;
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->hasFocus()) return false;
        PassOn(w, static_cast<QWheelEvent*>(e));
        e->accept();  // handled here: the control itself never sees it
        return true;
    }

private:
    // The scroll area around `w` scrolls as if the wheel had been over it.
    static void PassOn(QWidget* w, QWheelEvent* we) {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
            auto* area = qobject_cast<QAbstractScrollArea*>(p);
            if (!area) {
                if (p->isWindow()) return;
                continue;
            }
            QWidget* view = area->viewport();
            const QPointF at = view->mapFromGlobal(we->globalPosition());
            QWheelEvent copy(at, we->globalPosition(), we->pixelDelta(), we->angleDelta(), we->buttons(),
                             we->modifiers(), we->phase(), we->inverted(), we->source());
            QCoreApplication::sendEvent(view, &copy);
            return;
        }
    }
};

const char kGuardName[] = "corvelWheelGuard";

QObject* GuardOf(QWidget* window) {
    if (QObject* g = window->findChild<QObject*>(QLatin1String(kGuardName), Qt::FindDirectChildrenOnly))
        return g;
    auto* g = new WheelGuard(window);
    g->setObjectName(QLatin1String(kGuardName));
    return g;
}

}  // namespace

void GuardWheel(QWidget* w) {
    if (!w) return;
    // Qt's default for these lets a wheel give the focus first, and so the
    // value too; a click or Tab still gives it.
    if (w->focusPolicy() != Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
    w->installEventFilter(GuardOf(w->window()));
}

}  // namespace uicore
