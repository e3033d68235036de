// Control attributes: visibility, dimming, colours, geometry, fonts and
// captions. Each change touches the one widget only.
#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPalette>

#include "platform/internal/theme.h"
#include "platform/internal/uicore.h"
#include "platform/widgets/stripchart.h"

namespace uicore {
namespace {

void SetRole(QWidget* w, QPalette::ColorRole role, int rgb) {
    QPalette pal = w->palette();
    pal.setColor(role, ToColor(rgb));
    w->setPalette(pal);
}

void SetTextColor(Control* c, int rgb) {
    QPalette pal = c->widget->palette();
    QColor col = ToColor(rgb);
    pal.setColor(QPalette::WindowText, col);
    pal.setColor(QPalette::Text, col);
    pal.setColor(QPalette::ButtonText, col);
    c->widget->setPalette(pal);
    c->textColor = rgb;
}

void SetTextBg(Control* c, int rgb) {
    QWidget* w = c->widget;
    c->textBgColor = rgb;
    if (rgb == VAL_TRANSPARENT) {
        w->setAutoFillBackground(false);
        return;
    }
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ToColor(rgb));
    pal.setColor(QPalette::Base, ToColor(rgb));
    // The text stays readable on it, in a dark palette too.
    if (c->textColor < 0) pal.setColor(QPalette::WindowText, TextOn(ToColor(rgb)));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

bool HasOwnCaption(const Control* c) {
    return qobject_cast<QAbstractButton*>(c->widget) ||
           (qobject_cast<QLabel*>(c->widget) && c->kind == CTRL_KIND_TEXT);
}

QString Caption(const Control* c) {
    if (auto* b = qobject_cast<QAbstractButton*>(c->widget)) return b->text();
    if (HasOwnCaption(c)) return static_cast<QLabel*>(c->widget.data())->text();
    return c->caption;
}

void Fit(Control* c) {
    if (c->autoSize) c->widget->adjustSize();
}

int Geometry(Panel* p, Control* c, int attribute, int value) {
    QWidget* w = c->widget;
    QPoint pos = PanelPos(p, w);
    switch (attribute) {
        case ATTR_LEFT:
            pos.setX(value);
            break;
        case ATTR_TOP:
            pos.setY(value);
            break;
        case ATTR_WIDTH:
            if (value < 0) return UIE_BAD_ARGUMENT;
            w->resize(value, w->height());
            return UIE_OK;
        case ATTR_HEIGHT:
            if (value < 0) return UIE_BAD_ARGUMENT;
            w->resize(w->width(), value);
            return UIE_OK;
    }
    QWidget* parent = w->parentWidget();
    if (parent && parent != p->window) pos = parent->mapFrom(p->window.data(), pos);
    w->move(pos);
    return UIE_OK;
}

}  // namespace
}  // namespace uicore

using namespace uicore;

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    QWidget* w = c->widget;
    switch (attribute) {
        case ATTR_VISIBLE:
            if (w->isHidden() == (value != 0)) w->setVisible(value != 0);
            return UIE_OK;
        case ATTR_DIMMED:
            if (w->isEnabled() == (value != 0)) w->setEnabled(value == 0);
            return UIE_OK;
        case ATTR_BUTTON_COLOR:
            if (!qobject_cast<QAbstractButton*>(w)) return UIE_BAD_ATTRIBUTE;
            if (c->buttonColor != value) {
                SetRole(w, QPalette::Button, value);
                // The caption stays readable on the face, in a dark palette too.
                if (c->textColor < 0) {
                    QPalette pal = w->palette();
                    pal.setColor(QPalette::ButtonText, TextOn(ToColor(value)));
                    w->setPalette(pal);
                }
            }
            c->buttonColor = value;
            return UIE_OK;
        case ATTR_TEXT_COLOR:
            if (value == VAL_AUTO_COLOR) {
                if (c->textColor >= 0) ReturnToTheme(c);
            } else if (c->textColor != value) {
                SetTextColor(c, value);
            }
            return UIE_OK;
        case ATTR_TEXT_BGCOLOR:
            if (value == VAL_AUTO_COLOR) {
                if (c->textBgColor != VAL_AUTO_COLOR) ReturnBackgroundToTheme(c);
            } else if (c->textBgColor != value) {
                SetTextBg(c, value);
            }
            return UIE_OK;
        case ATTR_FRAME_COLOR:
            if (c->frameColor != value) {
                SetRole(w, QPalette::Window, value);
                w->setAutoFillBackground(true);
            }
            c->frameColor = value;
            return UIE_OK;
        case ATTR_LEFT:
        case ATTR_TOP:
        case ATTR_WIDTH:
        case ATTR_HEIGHT:
            return Geometry(FindPanel(panel), c, attribute, value);
        case ATTR_TEXT_POINT_SIZE: {
            if (value <= 0) return UIE_BAD_ARGUMENT;
            QFont f = w->font();
            f.setPointSize(value);
            w->setFont(f);
            Fit(c);
            return UIE_OK;
        }
        case ATTR_POINTS_PER_SCREEN: {
            auto* s = qobject_cast<StripChart*>(w);
            if (!s) return UIE_BAD_ATTRIBUTE;
            if (value <= 0) return UIE_BAD_ARGUMENT;
            s->setPointsPerScreen(value);
            return UIE_OK;
        }
        case ATTR_MARKED:
            return SetMarked(c, value != 0);
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int SetCtrlAttribute(int panel, int control, int attribute, const char* value) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!value) return UIE_BAD_ARGUMENT;
    QWidget* w = c->widget;
    QString s = QString::fromLocal8Bit(value);
    switch (attribute) {
        case ATTR_TEXT_FONT: {
            QFont f = s == QLatin1String("NIApp") ? QApplication::font() : QFont(s);
            f.setPointSizeF(w->font().pointSizeF());
            w->setFont(f);
            c->fontName = s;
            Fit(c);
            return UIE_OK;
        }
        case ATTR_LABEL_TEXT:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                b->setText(s);
            } else if (HasOwnCaption(c)) {
                static_cast<QLabel*>(w)->setText(s);
                Fit(c);
            } else {
                c->caption = s;
            }
            return UIE_OK;
        case ATTR_TOOLTIP_TEXT:
            if (ShowsElided(w)) {
                SetElidedTip(w, s);  // the whole text goes first while it is cut
            } else if (w->toolTip() != s) {
                w->setToolTip(s);
            }
            return UIE_OK;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int GetCtrlAttribute(int panel, int control, int attribute, int* value) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!value) return UIE_BAD_ARGUMENT;
    QWidget* w = c->widget;
    Panel* p = FindPanel(panel);
    switch (attribute) {
        case ATTR_VISIBLE:
            *value = w->isHidden() ? 0 : 1;
            return UIE_OK;
        case ATTR_DIMMED:
            *value = w->isEnabled() ? 0 : 1;
            return UIE_OK;
        case ATTR_BUTTON_COLOR:
            if (!qobject_cast<QAbstractButton*>(w)) return UIE_BAD_ATTRIBUTE;
            *value = FromColor(w->palette().color(QPalette::Button));
            return UIE_OK;
        case ATTR_TEXT_COLOR:
            *value = FromColor(w->palette().color(qobject_cast<QAbstractButton*>(w) ? QPalette::ButtonText
                                                                                    : QPalette::WindowText));
            return UIE_OK;
        case ATTR_TEXT_BGCOLOR:
            *value = c->textBgColor;
            return UIE_OK;
        case ATTR_FRAME_COLOR:
            *value = FromColor(w->palette().color(QPalette::Window));
            return UIE_OK;
        case ATTR_LEFT:
            *value = PanelPos(p, w).x();
            return UIE_OK;
        case ATTR_TOP:
            *value = PanelPos(p, w).y();
            return UIE_OK;
        case ATTR_WIDTH:
            *value = w->width();
            return UIE_OK;
        case ATTR_HEIGHT:
            *value = w->height();
            return UIE_OK;
        case ATTR_TEXT_POINT_SIZE:
            *value = w->font().pointSize();
            return UIE_OK;
        case ATTR_POINTS_PER_SCREEN:
            if (auto* s = qobject_cast<StripChart*>(w)) {
                *value = s->pointsPerScreen();
                return UIE_OK;
            }
            return UIE_BAD_ATTRIBUTE;
        case ATTR_DATA_TYPE:
            *value = c->dataType;
            return UIE_OK;
        case ATTR_CTRL_KIND:
            *value = c->kind;
            return UIE_OK;
        case ATTR_MARKED:
            *value = IsMarked(c) ? 1 : 0;
            return UIE_OK;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}

int GetCtrlAttribute(int panel, int control, int attribute, char* value, int size) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!value || size <= 0) return UIE_BAD_ARGUMENT;
    switch (attribute) {
        case ATTR_TEXT_FONT:
            CopyOut(c->fontName.isEmpty() ? c->widget->font().family() : c->fontName, value, size);
            return UIE_OK;
        case ATTR_LABEL_TEXT:
            CopyOut(Caption(c), value, size);
            return UIE_OK;
        case ATTR_TOOLTIP_TEXT:
            CopyOut(ShowsElided(c->widget) ? ElidedTip(c->widget) : c->widget->toolTip(), value, size);
            return UIE_OK;
        default:
            return UIE_BAD_ATTRIBUTE;
    }
}
