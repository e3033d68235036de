// The mark of a control whose value differs from what was last sent or
// read: a bold amber frame drawn round the widget and a "•" before its
// caption. The frame is a widget of its own above the control, so that it
// looks the same with every style and never changes the control's size.
#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QPainter>

#include "platform/internal/uicore.h"

namespace uicore {
namespace {

constexpr int kMarkWidth = 3;  // pixels of frame outside the control

class MarkFrame : public QWidget {
public:
    explicit MarkFrame(QWidget* target) : QWidget(target->parentWidget()), target_(target) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setObjectName(target->objectName() + QStringLiteral("Mark"));
        target->installEventFilter(this);
        Follow();
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == target_) {
            switch (e->type()) {
                case QEvent::Move:
                case QEvent::Resize:
                case QEvent::Show:
                case QEvent::Hide:
                case QEvent::ShowToParent:
                case QEvent::HideToParent:
                    Follow();
                    break;
                default:
                    break;
            }
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(MarkColour(), kMarkWidth);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const qreal half = kMarkWidth / 2.0;
        p.drawRoundedRect(QRectF(rect()).adjusted(half, half, -half, -half), 3, 3);
    }

private:
    // Lies round the control and above it; hidden with it.
    void Follow() {
        if (!target_) return;
        setGeometry(target_->geometry().adjusted(-kMarkWidth, -kMarkWidth, kMarkWidth, kMarkWidth));
        setVisible(!target_->isHidden());
        raise();
    }

    QPointer<QWidget> target_;
};

// The label that names a control on its panel: its buddy caption. A button
// or switch names itself.
QWidget* CaptionWidget(const Control* c) {
    QWidget* w = c->widget;
    if (qobject_cast<QAbstractButton*>(w)) return w;
    QWidget* window = w->window();
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l->buddy() == w) return l;
    }
    return nullptr;
}

QString TextOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return QString();
}

void SetTextOf(QWidget* w, const QString& s) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(s);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(s);
}

}  // namespace

QColor MarkColour() {
    // Amber: apart from the green and red of the row labels, and bright
    // enough on a dark window, dark enough on a light one.
    return QColor(0xE0, 0x8A, 0x00);
}

QString MarkSign() {
    return QStringLiteral("\u2022 ");
}

bool IsMarked(const Control* c) {
    return !c->markFrame.isNull();
}

int SetMarked(Control* c, bool on) {
    if (IsMarked(c) == on) return UIE_OK;
    QWidget* w = c->widget;
    if (!w || !w->parentWidget()) return UIE_BAD_ATTRIBUTE;
    if (on) {
        c->markFrame = new MarkFrame(w);
        if (QWidget* caption = CaptionWidget(c)) {
            c->markCaption = caption;
            c->markCaptionText = TextOf(caption);
            SetTextOf(caption, MarkSign() + c->markCaptionText);
        }
    } else {
        delete c->markFrame.data();
        if (c->markCaption) SetTextOf(c->markCaption, c->markCaptionText);
        c->markCaption = nullptr;
        c->markCaptionText.clear();
    }
    return UIE_OK;
}

}  // namespace uicore
