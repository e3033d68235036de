// Helps a panel file asks for by widget property, so that the operator never
// has to guess: a slider's number beside it (`readout`), a text display that
// shortens a text too long for it visibly and keeps the whole text in its
// tooltip and accessible name (`elide`), and displays that keep their room
// while hidden (`keepRoom`), so that nothing moves when others come and go;
// a caption that is shown and hidden with the control it names (`visibleWith`);
// a table tall enough for a number of rows (`minRows`).
#include <QBoxLayout>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>

#include "platform/internal/uicore.h"

namespace uicore {
namespace {

const char* const kFullText = "corvelFullText";  // what an eliding display was given
const char* const kPlainTip = "corvelPlainTip";  // its tooltip when nothing is cut
const char* const kReadout = "corvelReadout";    // a slider's readout

// The number beside a slider, for values moved by the operator and set by
// the program alike. Sized for the widest value, so it never shifts.
class Readout : public QLabel {
public:
    explicit Readout(QSlider* s) : QLabel(s->parentWidget()), slider_(s) {
        setObjectName(s->objectName() + QStringLiteral("Readout"));
        setProperty("readoutOf", s->objectName());
        setFont(s->font());
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setTextFormat(Qt::PlainText);
        const QFontMetrics fm(font());
        const int digits = QString::number(qMax(qAbs(s->maximum()), qAbs(s->minimum()))).size() + 1;
        setMinimumWidth(fm.horizontalAdvance(QString(digits, QLatin1Char('0'))) + 4);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        Show(s->value());
        // While the operator drags; the program's writes, which block the
        // slider's signals, call ShowReadout.
        connect(s, &QSlider::valueChanged, this, &Readout::Show);
        s->setProperty(kReadout, QVariant::fromValue<QObject*>(this));
        s->installEventFilter(this);
    }

    void Show(int v) {
        if (v == shown_ && !text().isEmpty()) return;
        shown_ = v;
        setText(QString::number(v));
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::EnabledChange:
                setEnabled(slider_->isEnabled());
                break;
            case QEvent::ShowToParent:
            case QEvent::HideToParent:
                setVisible(!slider_->isHidden());
                break;
            default:
                break;
        }
        return false;
    }

private:
    QSlider* slider_;
    int shown_ = 0;
};

// Puts the readout right of its slider, in the slider's place in the layout.
void AddReadout(QWidget* window, QSlider* s) {
    QLayout* host = nullptr;
    for (QLayout* l : window->findChildren<QLayout*>()) {
        if (l->indexOf(s) >= 0) {
            host = l;
            break;
        }
    }
    auto* r = new Readout(s);
    if (!host) return;  // outside the layouts: placed by the program, as the slider is
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    QLayoutItem* old = host->replaceWidget(s, r);
    delete old;
    // The readout stood in for the slider; now both go into a row there.
    if (auto* grid = qobject_cast<QGridLayout*>(host)) {
        int at = grid->indexOf(r), gr = 0, gc = 0, rs = 1, cs = 1;
        grid->getItemPosition(at, &gr, &gc, &rs, &cs);
        delete grid->takeAt(at);
        grid->addLayout(row, gr, gc, rs, cs);
    } else if (auto* box = qobject_cast<QBoxLayout*>(host)) {
        int at = box->indexOf(r);
        delete box->takeAt(at);
        box->insertLayout(at, row);
    } else {
        return;
    }
    row->addWidget(s, 1);
    row->addWidget(r, 0);
    r->setVisible(!s->isHidden());
}

QString Elided(QLabel* l, const QString& full) {
    const int room = l->contentsRect().width() - 2 * l->margin() - l->indent();
    if (room <= 0) return full;
    // A path keeps its start and its end; other texts are cut at the end.
    const bool middle =
        l->property("elide").toString().compare(QLatin1String("middle"), Qt::CaseInsensitive) == 0;
    return l->fontMetrics().elidedText(full, middle ? Qt::ElideMiddle : Qt::ElideRight, room);
}

// Shows as much of the text as fits, with "…" where it is cut.
void Refit(QLabel* l) {
    const QString full = l->property(kFullText).toString();
    const QString shown = Elided(l, full);
    if (l->text() != shown) l->setText(shown);
    const bool cut = shown != full;
    const QString plain = l->property(kPlainTip).toString();
    const QString tip = cut ? (plain.isEmpty() ? full : full + QLatin1Char('\n') + plain) : plain;
    if (l->toolTip() != tip) l->setToolTip(tip);
    // A display is named by what it shows: the whole text, cut or not.
    if (l->accessibleName() != full) l->setAccessibleName(full);
}

class ElideWatch : public QObject {
public:
    explicit ElideWatch(QLabel* l) : QObject(l), label_(l) {
        l->setProperty(kFullText, l->text());
        l->setProperty(kPlainTip, l->toolTip());
        // The layout may give it less than its whole text needs.
        QSizePolicy sp = l->sizePolicy();
        sp.setHorizontalPolicy(QSizePolicy::Ignored);
        l->setSizePolicy(sp);
        l->setWordWrap(false);
        l->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize || e->type() == QEvent::FontChange) Refit(label_);
        return false;
    }

private:
    QLabel* label_;
};

// Shows and hides a widget with another one.
class VisibleWith : public QObject {
public:
    VisibleWith(QWidget* follower, QWidget* leader)
        : QObject(follower), follower_(follower), leader_(leader) {
        leader->installEventFilter(this);
        follower->setVisible(!leader->isHidden());
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent)
            follower_->setVisible(!leader_->isHidden());
        return false;
    }

private:
    QWidget* follower_;
    QWidget* leader_;
};

// The smallest height that shows `rows` whole rows below the column labels.
void KeepRowsInView(QTableView* t, int rows) {
    const int row =
        qMax(t->verticalHeader()->defaultSectionSize(), t->verticalHeader()->minimumSectionSize());
    int h = rows * row + t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
    if (t->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        h += t->horizontalScrollBar()->sizeHint().height();
    t->setMinimumHeight(qMax(t->minimumHeight(), h));
}

}  // namespace

void AddPanelAids(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->property("keepRoom").toBool()) {
            QSizePolicy sp = w->sizePolicy();
            sp.setRetainSizeWhenHidden(true);
            w->setSizePolicy(sp);
        }
        if (auto* l = qobject_cast<QLabel*>(w); l && l->property("elide").toBool()) new ElideWatch(l);
        if (auto* t = qobject_cast<QTableView*>(w); t && w->property("minRows").toInt() > 0)
            KeepRowsInView(t, w->property("minRows").toInt());
        const QString leader = w->property("visibleWith").toString();
        if (!leader.isEmpty()) {
            if (QWidget* target = window->findChild<QWidget*>(leader)) new VisibleWith(w, target);
        }
    }
    for (QSlider* s : window->findChildren<QSlider*>())
        if (s->property("readout").toBool()) AddReadout(window, s);
}

void ShowReadout(QWidget* slider) {
    auto* s = qobject_cast<QSlider*>(slider);
    if (!s) return;
    if (auto* r = dynamic_cast<Readout*>(s->property(kReadout).value<QObject*>())) r->Show(s->value());
}

bool ShowsElided(const QWidget* w) {
    return w->property(kFullText).isValid();
}

void SetElidedText(QWidget* w, const QString& s) {
    if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setProperty(kFullText, s);
        Refit(l);
    }
}

QString ElidedFullText(const QWidget* w) {
    return w->property(kFullText).toString();
}

void SetElidedTip(QWidget* w, const QString& tip) {
    if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setProperty(kPlainTip, tip);
        Refit(l);
    }
}

QString ElidedTip(const QWidget* w) {
    return w->property(kPlainTip).toString();
}

}  // namespace uicore
