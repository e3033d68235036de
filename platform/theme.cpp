// Colours that follow the palette: displays read as the palette's text on
// its base, captions are a softer shade that still reads well, the chosen
// transfer target is filled with the highlight colour. Colours that the
// program or the panel file set explicitly are left alone.
#include "platform/theme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSlider>
#include <QStyle>
#include <cmath>

#include "platform/internal/theme.h"
#include "platform/internal/uicore.h"

namespace uicore {

namespace {

const char* const kThemed = "corvelThemed";  // the theme owns this widget's palette
const double kReadable = 4.5;                // WCAG AA for normal text
const double kSafety = 0.3;                  // keeps rounding from landing just below
const double kGraphics = 3.3;                // WCAG 3 : 1 for graphics, with the same margin

double Channel(double c) {
    c /= 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    return 0.2126 * Channel(c.red()) + 0.7152 * Channel(c.green()) + 0.0722 * Channel(c.blue());
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// `fg` moved part of the way towards `bg`, as far as it stays readable.
QColor Softer(const QColor& fg, const QColor& bg) {
    for (double t = 0.4; t > 0.0; t -= 0.05) {
        QColor c = Mix(fg, bg, t);
        if (Contrast(c, bg) >= kReadable + kSafety) return c;
    }
    return fg;
}

// `bg` darkened or lightened until `fg` reads well on it.
QColor ReadableBehind(QColor bg, const QColor& fg) {
    bool darken = Luminance(fg) > 0.5;
    for (int i = 0; i < 12 && Contrast(fg, bg) < kReadable + kSafety; ++i) {
        bg = darken ? bg.darker(112) : bg.lighter(112);
    }
    return bg;
}

// The window colour from which the style's outline (its shade 140 % darker)
// stands out from `window` by 3 : 1.
QColor OutlineWindow(const QColor& window, const QColor& windowText) {
    QColor tick = window;
    for (double t = 0.1; t <= 1.0 && Contrast(tick, window) < kGraphics; t += 0.05)
        tick = Mix(window, windowText, t);
    return tick.lighter(140);
}

QString Kind(const QWidget* w) {
    return w->property("kind").toString();
}

// Displays: indicators and framed text displays drawn on their own background.
bool IsDisplay(const QWidget* w) {
    if (!qobject_cast<const QLabel*>(w)) return false;
    QString k = Kind(w);
    return k == QLatin1String("indicator") || (k == QLatin1String("text") && w->autoFillBackground());
}

// Whether the theme may colour this widget: not when the panel file or the
// program gave it colours of its own.
bool Free(const QWidget* w) {
    return w->property(kThemed).toBool() || !w->testAttribute(Qt::WA_SetPalette);
}

void Own(QWidget* w, const QPalette& pal) {
    w->setProperty(kThemed, true);
    w->setPalette(pal);
}

// A box, ticked when on: a toggle's state reads without its colour.
QIcon ToggleSign(bool on, const QColor& colour, const QFont& font, qreal ratio) {
    const int side = QFontMetrics(font).height() * 3 / 4;
    QPixmap pm(QSize(side, side) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = qMax<qreal>(1.5, side / 8.0);
    p.setPen(QPen(colour, w));
    const QRectF box(w / 2, w / 2, side - w, side - w);
    p.drawRect(box);
    if (on) {
        p.setPen(QPen(colour, w * 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF pts[] = {{box.left() + box.width() * 0.2, box.top() + box.height() * 0.55},
                               {box.left() + box.width() * 0.42, box.top() + box.height() * 0.78},
                               {box.left() + box.width() * 0.82, box.top() + box.height() * 0.25}};
        p.drawPolyline(pts, 3);
    }
    p.end();
    return QIcon(pm);
}

void StyleToggle(QAbstractButton* b) {
    if (!Free(b)) return;
    b->setProperty("corvelChosen", b->isChecked());
    QPalette app = QApplication::palette();
    QPalette pal;
    if (b->isChecked()) {
        QColor text = app.color(QPalette::HighlightedText);
        pal.setColor(QPalette::Button, ReadableBehind(app.color(QPalette::Highlight), text));
        pal.setColor(QPalette::ButtonText, text);
    }
    Own(b, pal);
    b->setIcon(ToggleSign(b->isChecked(), b->palette().color(QPalette::ButtonText), b->font(),
                          b->devicePixelRatioF()));
}

// Colours one widget of a panel; `c` is its control, or null.
void RestyleOne(QWidget* w, const Control* c) {
    const QPalette app = QApplication::palette();
    const QColor base = app.color(QPalette::Base), text = app.color(QPalette::Text);
    const QColor window = app.color(QPalette::Window), windowText = app.color(QPalette::WindowText);
    // Colours the program set through attributes stay as they are.
    if (c && (c->textColor >= 0 || c->frameColor >= 0 || c->buttonColor >= 0 ||
              (c->textBgColor != VAL_TRANSPARENT && c->textBgColor != VAL_AUTO_COLOR)))
        return;
    if (!Free(w)) return;
    QPalette pal;
    if (IsDisplay(w)) {
        pal.setColor(QPalette::Window, base);
        pal.setColor(QPalette::WindowText, text);
        Own(w, pal);
    } else if (qobject_cast<QLabel*>(w) && w->parentWidget() && IsDisplay(w->parentWidget())) {
        pal.setColor(QPalette::WindowText, Softer(text, base));  // the caption inside a display
        Own(w, pal);
    } else if (qobject_cast<QLabel*>(w) && (!c || Kind(w) == QLatin1String("label")) &&
               !w->autoFillBackground()) {
        pal.setColor(QPalette::WindowText, Softer(windowText, window));  // captions of fields
        Own(w, pal);
    } else if (qobject_cast<QSlider*>(w) || qobject_cast<QCheckBox*>(w)) {
        // The style draws ticks, outlines and a check box's frame a shade
        // darker than the window colour: faint on a light window, lost on a
        // dark one. Give them a window colour whose shade stands out (3 : 1).
        pal.setColor(QPalette::Window, OutlineWindow(window, windowText));
        Own(w, pal);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && Kind(w) == QLatin1String("toggle")) {
        StyleToggle(b);
    }
}

void Restyle(Panel* p) {
    QHash<const QWidget*, const Control*> controls;
    for (const auto& c : p->controls) controls.insert(c->widget, c.get());
    const auto children = p->window->findChildren<QWidget*>();
    for (QWidget* w : children) RestyleOne(w, controls.value(w));
}

// Fills a toggle when it is on. The program sets values with the widget's
// signals blocked, so the state is checked whenever the toggle is painted,
// which every change of state causes.
class ToggleWatch : public QObject {
public:
    explicit ToggleWatch(QAbstractButton* b) : QObject(b), button_(b) { b->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && button_->property("corvelChosen").toBool() != button_->isChecked())
            StyleToggle(button_);
        return false;
    }

private:
    QAbstractButton* button_;
};

// Restyles the panel when the application palette changes.
class PaletteWatch : public QObject {
public:
    PaletteWatch(Panel* p) : QObject(p->window.data()), handle_(p->handle) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ApplicationPaletteChange) {
            if (Panel* p = FindPanel(handle_)) Restyle(p);
        }
        return false;
    }

private:
    int handle_;
};

QPalette& DesktopPalette() {
    static QPalette pal = QApplication::palette();
    return pal;
}

QPalette DarkPalette() {
    const QColor window(42, 46, 50), button(49, 54, 59), text(239, 240, 241);
    QPalette pal(button, window);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::ButtonText, text);
    pal.setColor(QPalette::BrightText, Qt::white);
    pal.setColor(QPalette::Base, QColor(27, 30, 32));
    pal.setColor(QPalette::AlternateBase, QColor(35, 38, 41));
    pal.setColor(QPalette::ToolTipBase, window);
    pal.setColor(QPalette::ToolTipText, text);
    pal.setColor(QPalette::PlaceholderText, QColor(150, 155, 160));
    pal.setColor(QPalette::Highlight, QColor(61, 174, 233));
    pal.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
    pal.setColor(QPalette::Link, QColor(29, 153, 243));
    const QColor muted(120, 125, 130);
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, r, muted);
    return pal;
}

}  // namespace

double Contrast(const QColor& a, const QColor& b) {
    double la = Luminance(a), lb = Luminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

QColor TextOn(const QColor& background) {
    return Contrast(Qt::black, background) >= Contrast(Qt::white, background) ? QColor(Qt::black)
                                                                              : QColor(Qt::white);
}

void ReturnBackgroundToTheme(Control* c) {
    c->textBgColor = VAL_AUTO_COLOR;
    c->widget->setAutoFillBackground(true);  // a display's own ground
    if (c->textColor >= 0) return;           // the program's colours stay together
    c->widget->setProperty(kThemed, true);
    c->widget->setPalette(QPalette());
    RestyleOne(c->widget, c);
}

void ReturnToTheme(Control* c) {
    c->textColor = -1;
    c->widget->setProperty(kThemed, true);
    c->widget->setPalette(QPalette());
    RestyleOne(c->widget, c);
}

void ApplyTheme(Panel* p) {
    if (!p || !p->window) return;
    DesktopPalette();  // remembered before any scheme replaces it
    const auto children = p->window->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && Kind(w) == QLatin1String("toggle")) {
            new ToggleWatch(b);
        }
    }
    p->window->installEventFilter(new PaletteWatch(p));
    Restyle(p);
}

}  // namespace uicore

using namespace uicore;

int UseColourScheme(int scheme) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIE_NOT_INITIALISED;
    QPalette desktop = DesktopPalette();
    switch (scheme) {
        case SCHEME_DESKTOP:
            QApplication::setPalette(desktop);
            break;
        case SCHEME_LIGHT:
            QApplication::setPalette(QApplication::style()->standardPalette());
            break;
        case SCHEME_DARK:
            QApplication::setPalette(DarkPalette());
            break;
        default:
            return UIE_BAD_ARGUMENT;
    }
    // The widgets take the new palette from posted events: deliver them now,
    // so that the panels show the scheme as soon as this returns.
    QCoreApplication::sendPostedEvents();
    return UIE_OK;
}
