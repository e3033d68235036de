// Turns what the operator does into the events the program's callbacks
// expect: commits, value changes, clicks and the panel's close request.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "platform/internal/uicore.h"
#include "platform/internal/wheelguard.h"
#include "platform/widgets/xygraph.h"

namespace uicore {
namespace {

// One per panel: watches every control widget and its children, and the
// window itself.
class PanelFilter : public QObject {
public:
    PanelFilter(int handle, QWidget* window) : QObject(window), handle_(handle), window_(window) {}

    void Watch(QWidget* w, int id) {
        ids_.insert(w, id);
        w->installEventFilter(this);
        const auto children = w->findChildren<QWidget*>();
        for (QWidget* child : children) {
            if (ids_.contains(child)) continue;
            ids_.insert(child, id);
            child->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
            case QEvent::Close:
                if (o == window_) {
                    // The program decides through its panel callback whether anything closes.
                    e->ignore();
                    SendPanelEvent(handle_, EVENT_CLOSE);
                    return true;
                }
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
                return Mouse(o, static_cast<QMouseEvent*>(e));
            case QEvent::ContextMenu:
                return ids_.contains(o);
            case QEvent::KeyPress:
                return Key(o, static_cast<QKeyEvent*>(e));
            case QEvent::ShortcutOverride:
                return LetButtonShortcut(o, static_cast<QKeyEvent*>(e));
            default:
                return false;
        }
    }

private:
    bool Mouse(QObject* o, QMouseEvent* me) {
        auto it = ids_.find(o);
        if (it == ids_.end()) return false;
        int id = *it;
        Control* c = FindControl(handle_, id);
        if (!c || !c->widget->isEnabled()) return false;
        bool right = me->button() == Qt::RightButton;
        bool left = me->button() == Qt::LeftButton;
        if (me->type() == QEvent::MouseButtonRelease) return right;
        // An event the child ignored travels on to its parent: count it once.
        if (me->timestamp() == lastStamp_ && me->type() == lastType_ && id == lastId_) return right;
        lastStamp_ = me->timestamp();
        lastType_ = me->type();
        lastId_ = id;
        QPoint pos = static_cast<QWidget*>(o)->mapTo(window_, me->position().toPoint());
        if (right) {
            // A right click asks for help only: the widget never sees it.
            SendCtrlEvent(handle_, id, EVENT_RIGHT_CLICK, pos.y(), pos.x());
            return true;
        }
        if (left) {
            SendCtrlEvent(
                handle_, id,
                me->type() == QEvent::MouseButtonDblClick ? EVENT_LEFT_DOUBLE_CLICK : EVENT_LEFT_CLICK,
                pos.y(), pos.x());
        }
        return false;
    }

    // Enter in a numeric control commits even when the value stays the same.
    bool Key(QObject* o, QKeyEvent* ke) {
        if (ke->key() != Qt::Key_Return && ke->key() != Qt::Key_Enter) return false;
        auto it = ids_.find(o);
        if (it == ids_.end()) return false;
        int id = *it;
        Control* c = FindControl(handle_, id);
        // Only where the spin box itself gets the key (it owns the focus of its line edit).
        if (!c || c->kind != CTRL_KIND_NUMERIC || o != c->widget || !c->widget->isEnabled()) return false;
        auto* sb = qobject_cast<QAbstractSpinBox*>(c->widget);
        if (!sb || sb->isReadOnly()) return false;
        c->committedByEnter = false;
        sb->interpretText();  // commits through valueChanged when the value changed
        c = FindControl(handle_, id);
        if (c && !c->committedByEnter) SendCtrlEvent(handle_, id, EVENT_COMMIT);
        return false;
    }

    // A field's own editing keys (Ctrl+Z undoes its text) give way to the
    // shortcut of a button that can act now, so that the key does what the
    // panel announces wherever the focus is.
    bool LetButtonShortcut(QObject* o, QKeyEvent* ke) {
        if (!ids_.contains(o) || ke->modifiers() == Qt::NoModifier) return false;
        const QKeySequence pressed(ke->keyCombination());
        for (QShortcut* sc : window_->findChildren<QShortcut*>()) {
            auto* b = qobject_cast<QAbstractButton*>(sc->property("button").value<QObject*>());
            if (sc->key() == pressed && b && b->isEnabled() && b->isVisibleTo(window_)) {
                ke->ignore();
                return true;
            }
        }
        return false;
    }

    int handle_;
    QWidget* window_;
    QHash<QObject*, int> ids_;
    quint64 lastStamp_ = 0;
    QEvent::Type lastType_ = QEvent::None;
    int lastId_ = 0;
};

PanelFilter* FilterOf(Panel* p) {
    return static_cast<PanelFilter*>(p->filter);
}

void Commit(int panel, int id) {
    SendCtrlEvent(panel, id, EVENT_COMMIT);
}

void NumericChanged(int panel, int id) {
    if (Control* c = FindControl(panel, id)) c->committedByEnter = true;
    Commit(panel, id);
}

}  // namespace

void WirePanel(Panel* p) {
    auto* f = new PanelFilter(p->handle, p->window);
    p->filter = f;
    p->window->installEventFilter(f);
    // A panel with `escCloses`: Esc asks to close it, as its window's close does.
    if (p->window->property("escCloses").toBool()) {
        auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), p->window);
        esc->setContext(Qt::WindowShortcut);
        const int h = p->handle;
        QObject::connect(esc, &QShortcut::activated, p->window, [h]() { SendPanelEvent(h, EVENT_CLOSE); });
    }
}

void WireControl(Panel* p, Control* c) {
    QWidget* w = c->widget;
    const int h = p->handle;
    const int id = c->id;
    switch (c->kind) {
        case CTRL_KIND_COMMAND:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                QObject::connect(b, &QAbstractButton::clicked, b, [h, id]() { Commit(h, id); });
                QKeySequence seq = b->shortcut();
                if (!seq.isEmpty()) {
                    // The panel owns the key, so it works wherever the focus is in the
                    // window and commits at once (a button's own shortcut animates first).
                    b->setShortcut(QKeySequence());
                    auto* sc = new QShortcut(seq, p->window);
                    sc->setContext(Qt::WindowShortcut);
                    sc->setProperty("button", QVariant::fromValue<QObject*>(b));
                    QWidget* win = p->window;
                    QObject::connect(sc, &QShortcut::activated, b, [h, id, b, win]() {
                        if (b->isEnabled() && b->isVisibleTo(win)) Commit(h, id);
                    });
                }
            }
            break;
        case CTRL_KIND_TOGGLE:
        case CTRL_KIND_SWITCH:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                b->setCheckable(true);
                QObject::connect(b, &QAbstractButton::clicked, b, [h, id]() {
                    SendCtrlEvent(h, id, EVENT_VAL_CHANGED);
                    Commit(h, id);
                });
            }
            break;
        case CTRL_KIND_NUMERIC:
            if (auto* sb = qobject_cast<QSpinBox*>(w)) {
                sb->setKeyboardTracking(false);
                QObject::connect(sb, QOverload<int>::of(&QSpinBox::valueChanged), sb,
                                 [h, id]() { NumericChanged(h, id); });
            } else if (auto* db = qobject_cast<QDoubleSpinBox*>(w)) {
                db->setKeyboardTracking(false);
                QObject::connect(db, QOverload<double>::of(&QDoubleSpinBox::valueChanged), db,
                                 [h, id]() { NumericChanged(h, id); });
            }
            break;
        case CTRL_KIND_RING:
            if (auto* cb = qobject_cast<QComboBox*>(w)) {
                QObject::connect(cb, QOverload<int>::of(&QComboBox::activated), cb,
                                 [h, id]() { Commit(h, id); });
            }
            break;
        case CTRL_KIND_SLIDER:
            if (auto* s = qobject_cast<QSlider*>(w)) {
                // Dragging commits once, on release; clicks on the groove and keys at once.
                QObject::connect(s, &QSlider::valueChanged, s, [h, id, s]() {
                    if (!s->isSliderDown()) Commit(h, id);
                });
                QObject::connect(s, &QSlider::sliderReleased, s, [h, id]() { Commit(h, id); });
            }
            break;
        case CTRL_KIND_TABLE:
            PrepareTable(w);
            break;
        case CTRL_KIND_GRAPH:
            if (auto* g = qobject_cast<XYGraph*>(w)) {
                QObject::connect(g, &XYGraph::cursorMoved, g, [h, id](double x, double y) {
                    auto whole = [](double v) {
                        return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
                    };
                    SendCtrlEvent(h, id, EVENT_GRAPH_CURSOR, whole(x), whole(y));
                });
                QObject::connect(g, &XYGraph::rangeMarked, g, [h, id](double x0, double x1) {
                    // Whole frames inside the span; a span within one frame keeps that frame.
                    double from = std::ceil(std::clamp(x0, -1.0, 1e9)),
                           to = std::floor(std::clamp(x1, -1.0, 1e9));
                    if (to < from) from = to = std::round(std::clamp((x0 + x1) / 2, 0.0, 1e9));
                    SendCtrlEvent(h, id, EVENT_GRAPH_RANGE, static_cast<int>(std::max(0.0, from)),
                                  static_cast<int>(std::max(0.0, to)));
                });
                QObject::connect(g, &XYGraph::rangeCleared, g,
                                 [h, id]() { SendCtrlEvent(h, id, EVENT_GRAPH_RANGE, -1, -1); });
                QObject::connect(g, &XYGraph::viewChanged, g,
                                 [h, id]() { SendCtrlEvent(h, id, EVENT_GRAPH_VIEW, 0, 0); });
            }
            break;
        default:
            break;
    }
    // Values that go to the sensor or into a file: the wheel changes them
    // only after a click or Tab.
    if (c->kind == CTRL_KIND_NUMERIC || c->kind == CTRL_KIND_RING || c->kind == CTRL_KIND_SLIDER)
        GuardWheel(w);
    if (PanelFilter* f = FilterOf(p)) f->Watch(w, id);
}

}  // namespace uicore
