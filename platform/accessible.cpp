// What assistive technology (screen readers, UI automation over AT-SPI)
// learns about each control: a name, from its caption or the label that
// names it, and its help text as description. Displays keep what they show
// as their name, so that a value read aloud is the value on screen; their
// caption goes into the description instead.
#include <QLabel>
#include <QLayout>
#include <cstdlib>

#include "platform/internal/uicore.h"

namespace uicore {
namespace {

const ControlHelp* g_help = nullptr;
int g_helpCount = 0;

QString HelpFor(const QString& panel, const QString& control) {
    for (int i = 0; i < g_helpCount; ++i) {
        const ControlHelp& h = g_help[i];
        if (h.panel && h.control && h.text && panel == QLatin1String(h.panel) &&
            control == QLatin1String(h.control))
            return QString::fromLocal8Bit(h.text);  // as the help popup reads it
    }
    return QString();
}

bool IsControl(const QWidget* w) {
    return w->property("kind").isValid();
}

// A label that names something: no control of its own, or a `label` one.
bool IsCaption(const QLabel* l) {
    if (l->property("readoutOf").isValid()) return false;  // a slider's number names nothing
    const QVariant kind = l->property("kind");
    return (!kind.isValid() || kind.toString() == QLatin1String("label")) && !l->text().trimmed().isEmpty();
}

QString Plain(const QString& s) {
    QString t = s;
    t.remove(QLatin1Char('&'));
    return t.simplified();
}

QRect InWindow(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// The label placed right above (starting at the same left edge or spanning
// the control) or right beside it on the left, the nearest one.
QLabel* NeighbourLabel(const QWidget* window, const QWidget* w) {
    const QRect r = InWindow(w, window);
    QLabel* best = nullptr;
    int bestGap = 1 << 30;
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l == w || !IsCaption(l)) continue;
        // Captions inside a display belong to that display.
        if (l->parentWidget() != window && IsControl(l->parentWidget())) continue;
        const QRect lr = InWindow(l, window);
        int gap = -1;
        if (lr.bottom() < r.top() && r.top() - lr.bottom() <= 10 &&
            (std::abs(lr.left() - r.left()) <= 16 || (lr.left() <= r.left() && lr.right() >= r.right()))) {
            gap = r.top() - lr.bottom();
        } else if (lr.right() < r.left() && r.left() - lr.right() <= 24 && r.center().y() >= lr.top() &&
                   r.center().y() <= lr.bottom()) {
            gap = r.left() - lr.right();
        }
        if (gap >= 0 && gap < bestGap) {
            best = l;
            bestGap = gap;
        }
    }
    return best;
}

// The label that names a control: a caption inside it, a label whose buddy
// it is, or the label placed next to it.
QLabel* NamingLabel(const QWidget* window, const QWidget* w) {
    for (QLabel* l : w->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (IsCaption(l)) return l;
    }
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l->buddy() == w && IsCaption(l)) return l;
    }
    return NeighbourLabel(window, w);
}

QString CaptionOf(const QWidget* window, const Control* c, QLabel** label = nullptr) {
    if (!c->caption.trimmed().isEmpty()) return Plain(c->caption);
    const QWidget* w = c->widget;
    if (QLabel* l = NamingLabel(window, w)) {
        if (label) *label = l;
        return Plain(l->text());
    }
    // A field that carries its name inside, such as "No.: ".
    QString prefix = Plain(w->property("prefix").toString());
    while (prefix.endsWith(QLatin1Char(':'))) prefix.chop(1);
    return prefix;
}

// Charts without a label are named by what they plot: the graph's Y axis,
// the strip chart's first trace.
QString ChartName(const Control* c) {
    const QWidget* w = c->widget;
    QString name = Plain(w->property("yLabel").toString());
    if (name.isEmpty()) name = Plain(w->property("traceNames").toString().section(QLatin1Char(','), 0, 0));
    return name.isEmpty() ? c->name : name;
}

void Describe(const QWidget* window, const QString& panelName, Control* c) {
    QWidget* w = c->widget;
    const QString help = HelpFor(panelName, c->name);
    // A caption is what names others; it reads as itself.
    if (w->property("kind").toString() == QLatin1String("label")) return;
    switch (c->kind) {
        case CTRL_KIND_INDICATOR:
        case CTRL_KIND_TEXT:
        case CTRL_KIND_TEXTBOX:
        case CTRL_KIND_BAR: {
            QString caption = CaptionOf(window, c);
            if (!help.isEmpty()) caption = caption.isEmpty() ? help : caption + QLatin1Char('\n') + help;
            w->setAccessibleDescription(caption);
            return;
        }
        case CTRL_KIND_COMMAND:
        case CTRL_KIND_TOGGLE:
        case CTRL_KIND_SWITCH:
            // Named by their own text, which the program may change.
            if (!c->caption.trimmed().isEmpty()) w->setAccessibleName(Plain(c->caption));
            w->setAccessibleDescription(help);
            return;
        case CTRL_KIND_NUMERIC:
        case CTRL_KIND_RING:
        case CTRL_KIND_SLIDER:
        case CTRL_KIND_TABLE:
        case CTRL_KIND_STRIPCHART:
        case CTRL_KIND_GRAPH: {
            QLabel* label = nullptr;
            QString name = CaptionOf(window, c, &label);
            // The label also becomes the buddy: on Linux a screen reader names
            // a list box by that relation and reads its chosen item as its name.
            if (label && !label->buddy() && label->parentWidget() == w->parentWidget()) label->setBuddy(w);
            if (name.isEmpty() && (c->kind == CTRL_KIND_STRIPCHART || c->kind == CTRL_KIND_GRAPH))
                name = ChartName(c);
            if (!name.isEmpty()) w->setAccessibleName(name);
            w->setAccessibleDescription(help);
            return;
        }
        default:
            if (!help.isEmpty()) w->setAccessibleDescription(help);
            return;
    }
}

}  // namespace

void DescribeForAccessibility(Panel* p) {
    QWidget* window = p->window;
    if (!window) return;
    // Controls in layouts have their places only once the layouts have run;
    // outer layouts first, as findChildren lists parents before children.
    if (window->layout()) window->layout()->activate();
    for (QLayout* l : window->findChildren<QLayout*>()) l->activate();
    for (auto& c : p->controls) Describe(window, p->name, c.get());
}

}  // namespace uicore

void RegisterHelpTable(const ControlHelp* table, int count) {
    uicore::g_help = table;
    uicore::g_helpCount = table ? count : 0;
}
