// Text displays that may not cut what they show (a file's name and path):
// a label with the property `elide` = "middle" shows as much as fits with
// "…" in the middle, and keeps the whole text in its tooltip and its
// accessible name, so that nothing is lost to the eye or to a screen reader.
#include <QEvent>
#include <QLabel>
#include <QVariant>

#include "platform/internal/uicore.h"

namespace uicore {
namespace {

const char kFull[] = "corvelFullText";
const char kOwnTip[] = "corvelOwnToolTip";

void Fit(QLabel* l) {
    const QString full = l->property(kFull).toString();
    const int room = l->contentsRect().width() - 2 * l->margin() - 2;
    const QString shown = room > 0 ? l->fontMetrics().elidedText(full, Qt::ElideMiddle, room) : full;
    if (l->text() != shown) l->setText(shown);
}

// Fits the text again whenever the label's width or font changes.
class Refit : public QObject {
public:
    explicit Refit(QLabel* l) : QObject(l) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Resize || e->type() == QEvent::FontChange || e->type() == QEvent::Show)
            if (auto* l = qobject_cast<QLabel*>(o)) Fit(l);
        return false;
    }
};

}  // namespace

bool IsElided(const QWidget* w) {
    return w && qobject_cast<const QLabel*>(w) &&
           w->property("elide").toString().compare(QLatin1String("middle"), Qt::CaseInsensitive) == 0;
}

void ShowElided(QLabel* l, const QString& full) {
    if (!l->property(kFull).isValid()) {
        l->setProperty(kOwnTip, l->toolTip());
        l->installEventFilter(new Refit(l));
        l->setWordWrap(false);
    }
    l->setProperty(kFull, full);
    // The whole text when there is one; the label's own tip otherwise.
    l->setToolTip(full.isEmpty() ? l->property(kOwnTip).toString() : full);
    l->setAccessibleName(full);
    Fit(l);
}

QString ElidedFullText(const QLabel* l) {
    const QVariant v = l->property(kFull);
    return v.isValid() ? v.toString() : l->text();
}

}  // namespace uicore
