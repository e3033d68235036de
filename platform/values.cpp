// Control values, typed as the panel definition declares them. Writes from
// the program never reach the callbacks and cost nothing when the shown
// value stays the same.
#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTextCursor>
#include <cmath>
#include <cstdio>

#include "platform/internal/uicore.h"
#include "platform/widgets/labeltext.h"

namespace uicore {
namespace {

bool IsNumericType(int t) {
    return t == DT_U16 || t == DT_S16 || t == DT_INT || t == DT_DOUBLE;
}

// Brings a number into the range of a value type.
double Coerce(double v, int type) {
    if (std::isnan(v)) v = 0;
    switch (type) {
        case DT_U16:
            return std::round(std::fmin(std::fmax(v, 0.0), 65535.0));
        case DT_S16:
            return std::round(std::fmin(std::fmax(v, -32768.0), 32767.0));
        case DT_INT:
            return std::round(std::fmin(std::fmax(v, -2147483648.0), 2147483647.0));
        default:
            return v;
    }
}

int ToInt(double v) {
    return static_cast<int>(Coerce(v, DT_INT));
}

void ShowText(QWidget* w, const QString& s) {
    if (ShowsElided(w)) {
        SetElidedText(w, s);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(s);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(s);
    }
}

QString WidgetText(QWidget* w) {
    if (ShowsElided(w)) return ElidedFullText(w);
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return t->toPlainText();
    return QString();
}

QString Format(const Control* c, double v) {
    char buf[128];
    if (c->formatIsInteger) {
        std::snprintf(buf, sizeof buf, c->format.constData(), ToInt(v));
    } else {
        std::snprintf(buf, sizeof buf, c->format.constData(), v);
    }
    return QString::fromLatin1(buf);
}

int SetNumber(Control* c, double v) {
    if (!IsNumericType(c->dataType)) return UIE_TYPE_MISMATCH;
    v = Coerce(v, c->dataType);
    QWidget* w = c->widget;
    QSignalBlocker block(w);
    switch (c->kind) {
        case CTRL_KIND_NUMERIC:
            if (auto* sb = qobject_cast<QSpinBox*>(w)) {
                if (sb->value() != ToInt(v)) sb->setValue(ToInt(v));
            } else if (auto* db = qobject_cast<QDoubleSpinBox*>(w)) {
                if (db->value() != v) db->setValue(v);
            }
            return UIE_OK;
        case CTRL_KIND_INDICATOR: {
            c->number = v;
            QString text = Format(c, v);
            if (c->hasShown && text == c->shownText) return UIE_OK;
            c->shownText = text;
            c->hasShown = true;
            // A display that keeps its text layouts is never an eliding one.
            if (auto* l = qobject_cast<QLabel*>(w); !l || !labeltext::ShowText(l, text)) ShowText(w, text);
            return UIE_OK;
        }
        case CTRL_KIND_RING: {
            auto* cb = qobject_cast<QComboBox*>(w);
            if (!cb) return UIE_OK;
            int n = static_cast<int>(c->ringValues.size());
            for (int i = 0; i < n && i < cb->count(); ++i) {
                if (c->ringValues[i] == ToInt(v)) {
                    if (cb->currentIndex() != i) cb->setCurrentIndex(i);
                    return UIE_OK;
                }
            }
            return UIE_BAD_ARGUMENT;
        }
        case CTRL_KIND_TOGGLE:
        case CTRL_KIND_SWITCH:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                if (b->isChecked() != (v != 0)) b->setChecked(v != 0);
            }
            return UIE_OK;
        case CTRL_KIND_SLIDER:
            if (auto* s = qobject_cast<QSlider*>(w)) {
                if (s->value() != ToInt(v)) {
                    s->setValue(ToInt(v));
                    ShowReadout(s);
                }
            }
            return UIE_OK;
        case CTRL_KIND_BAR:
            if (auto* b = qobject_cast<QProgressBar*>(w)) {
                // A bar ignores values outside its range; show them at its ends.
                int x = ToInt(v);
                if (x < b->minimum()) x = b->minimum();
                if (x > b->maximum()) x = b->maximum();
                if (b->value() != x) b->setValue(x);
            }
            return UIE_OK;
        default:
            return UIE_TYPE_MISMATCH;
    }
}

}  // namespace

// The control's value as a number (numeric value types only).
double NumberOf(const Control* c) {
    QWidget* w = c->widget;
    switch (c->kind) {
        case CTRL_KIND_NUMERIC:
            if (auto* sb = qobject_cast<QSpinBox*>(w)) return sb->value();
            if (auto* db = qobject_cast<QDoubleSpinBox*>(w)) return db->value();
            return 0;
        case CTRL_KIND_INDICATOR:
            return c->number;
        case CTRL_KIND_RING: {
            auto* cb = qobject_cast<QComboBox*>(w);
            int i = cb ? cb->currentIndex() : -1;
            return i >= 0 && i < static_cast<int>(c->ringValues.size()) ? c->ringValues[i] : 0;
        }
        case CTRL_KIND_TOGGLE:
        case CTRL_KIND_SWITCH:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->isChecked() ? 1 : 0;
            return 0;
        case CTRL_KIND_SLIDER:
            if (auto* s = qobject_cast<QSlider*>(w)) return s->value();
            return 0;
        case CTRL_KIND_BAR:
            if (auto* b = qobject_cast<QProgressBar*>(w)) return b->value();
            return 0;
        default:
            return 0;
    }
}

int SetText(Control* c, const QString& s) {
    QWidget* w = c->widget;
    if (c->dataType != DT_STRING) return UIE_TYPE_MISMATCH;
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
        // A text box takes new text at its end.
        if (s.isEmpty()) return UIE_OK;
        QSignalBlocker block(t);
        QTextCursor cur(t->document());
        cur.movePosition(QTextCursor::End);
        cur.insertText(s);
        return UIE_OK;
    }
    if (WidgetText(w) == s) return UIE_OK;
    ShowText(w, s);
    if (c->autoSize) w->adjustSize();
    return UIE_OK;
}

}  // namespace uicore

using namespace uicore;

namespace {

int SetNum(int panel, int control, double v) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    return rc != UIE_OK ? rc : SetNumber(c, v);
}

// Fetches the value of a control whose type must be `type`.
int GetNum(int panel, int control, int type, double* v) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (c->dataType != type) return UIE_TYPE_MISMATCH;
    *v = Coerce(NumberOf(c), type);
    return UIE_OK;
}

}  // namespace

int SetCtrlVal(int panel, int control, unsigned short value) {
    return SetNum(panel, control, value);
}
int SetCtrlVal(int panel, int control, short value) {
    return SetNum(panel, control, value);
}
int SetCtrlVal(int panel, int control, int value) {
    return SetNum(panel, control, value);
}
int SetCtrlVal(int panel, int control, double value) {
    return SetNum(panel, control, value);
}

int SetCtrlVal(int panel, int control, const char* value) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!value) return UIE_BAD_ARGUMENT;
    return SetText(c, QString::fromLocal8Bit(value));
}

int GetCtrlVal(int panel, int control, unsigned short* value) {
    double v = 0;
    if (!value) return UIE_BAD_ARGUMENT;
    int rc = GetNum(panel, control, DT_U16, &v);
    if (rc == UIE_OK) *value = static_cast<unsigned short>(v);
    return rc;
}

int GetCtrlVal(int panel, int control, short* value) {
    double v = 0;
    if (!value) return UIE_BAD_ARGUMENT;
    int rc = GetNum(panel, control, DT_S16, &v);
    if (rc == UIE_OK) *value = static_cast<short>(v);
    return rc;
}

int GetCtrlVal(int panel, int control, int* value) {
    double v = 0;
    if (!value) return UIE_BAD_ARGUMENT;
    int rc = GetNum(panel, control, DT_INT, &v);
    if (rc == UIE_OK) *value = static_cast<int>(v);
    return rc;
}

int GetCtrlVal(int panel, int control, double* value) {
    double v = 0;
    if (!value) return UIE_BAD_ARGUMENT;
    int rc = GetNum(panel, control, DT_DOUBLE, &v);
    if (rc == UIE_OK) *value = v;
    return rc;
}

int GetCtrlVal(int panel, int control, char* value, int size) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    if (!value || size <= 0) return UIE_BAD_ARGUMENT;
    if (c->dataType != DT_STRING) return UIE_TYPE_MISMATCH;
    CopyOut(WidgetText(c->widget), value, size);
    return UIE_OK;
}
