// A display shown over another widget, outside the layouts (the big GF
// display over the scope): it stays centred over its target and above it
// whenever either moves, resizes or shows, so no layout has to make room.
#include "platform/internal/overlay.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace uicore {

namespace {

// Keeps an overlay (a widget outside the layouts, named by its `overlayOn`
// property) centred over the widget it belongs to, above it.
class Overlay : public QObject {
public:
    Overlay(QWidget* overlay, QWidget* target) : QObject(overlay), overlay_(overlay), target_(target) {
        target->installEventFilter(this);
        overlay->installEventFilter(this);
        Place();
    }

    void Place() {
        if (!overlay_ || !target_) return;
        QSize s = overlay_->sizeHint().expandedTo(overlay_->minimumSize()).boundedTo(target_->size());
        QRect r(QPoint(0, 0), s);
        QPoint centre = target_->mapTo(target_->window(), target_->rect().center());
        QWidget* parent = overlay_->parentWidget();
        if (parent && parent != target_->window()) centre = parent->mapFrom(target_->window(), centre);
        r.moveCenter(centre);
        overlay_->setGeometry(r);
        overlay_->raise();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::Resize:
            case QEvent::Move:
            case QEvent::Show:
                Place();
                break;
            default:
                break;
        }
        return false;
    }

private:
    QPointer<QWidget> overlay_;
    QPointer<QWidget> target_;
};

}  // namespace

void KeepOverlays(QWidget* window) {
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* w : children) {
        QString on = w->property("overlayOn").toString();
        if (on.isEmpty()) continue;
        if (QWidget* target = window->findChild<QWidget*>(on)) new Overlay(w, target);
    }
}

}  // namespace uicore
