// A label's own painting, step for step (frame, contents rectangle, indent,
// the style's text colour, the text's placement), with the text's layout
// kept per string instead of made anew at each paint.
#include "platform/widgets/labeltext.h"

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace labeltext {
namespace {

// Live values show a few dozen strings round their mean; a label that
// shows more starts its collection again.
constexpr int kMaxKept = 128;
// A line that does not wrap is laid out on this width, as the painter does.
constexpr qreal kUnwrapped = 0x01000000;
constexpr char kKeeperName[] = "corvelLabelLayouts";

struct Laid {
    QTextLayout layout;
    qreal width = 0;
    qreal height = 0;
    QRectF ink;  // the advances and the glyphs' ink, from the text's top left
    Laid(const QString& text, const QFont& font) : layout(text, font) {}
};

// A text with nothing the painter would treat specially.
bool PlainText(const QString& t, Qt::TextFormat format) {
    if (t.isEmpty()) return false;
    if (format == Qt::RichText || format == Qt::MarkdownText) return false;
    if (format == Qt::AutoText && Qt::mightBeRichText(t)) return false;
    if (t.isRightToLeft() || t.back().isSpace()) return false;
    for (QChar c : t)
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == u'&' || c == QChar(0x9c) ||
            c == QChar::LineSeparator || c.category() == QChar::Other_Format)
            return false;
    return true;
}

// A label showing such a text, set up as a plain one-line label.
bool Plain(const QLabel* l) {
    if (l->wordWrap() || l->buddy() || l->hasSelectedText()) return false;
    if (l->textInteractionFlags() &
        (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::TextEditable))
        return false;
    if (!l->pixmap().isNull() || !l->picture().isNull()) return false;
#if QT_CONFIG(movie)
    if (l->movie()) return false;
#endif
    return PlainText(l->text(), l->textFormat());
}

class Keeper;
// Live values look their keeper up at every frame: a map, not a search
// of the label's children by name.
std::unordered_map<const QLabel*, Keeper*> g_keepers;

class Keeper : public QObject {
public:
    explicit Keeper(QLabel* l) : QObject(l), label_(l) {
        setObjectName(QLatin1String(kKeeperName));
        l->installEventFilter(this);
        g_keepers[l] = this;
    }
    ~Keeper() override { g_keepers.erase(label_); }
    int Kept() const { return static_cast<int>(kept_.size()); }
    const QString& Painted() const { return painted_; }

    // Where `text` leaves ink, glyph overhangs and smoothing included.
    QRect InkOf(const QString& text) {
        const QLabel* l = label_;
        const Laid& laid = LaidOut(text, l->font());
        const int align = QStyle::visualAlignment(Qt::LeftToRight, l->alignment());
        const QRect r = TextRect(align);
        return InkAt(laid, Origin(laid, r, align), r);
    }
    // Where the text last painted here left ink.
    const QRect& PaintedInk() const { return paintedInk_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o != label_) return false;
        switch (e->type()) {
            case QEvent::Paint:
                return Paint(static_cast<QPaintEvent*>(e)->region());
            case QEvent::FontChange:
            case QEvent::StyleChange:
            case QEvent::LayoutDirectionChange:
            case QEvent::LocaleChange:
                kept_.clear();
                xAdvance_ = -1;
                break;
            default:
                break;
        }
        return false;
    }

private:
    // The label's text rectangle, indent included.
    QRect TextRect(int align) const {
        const QLabel* l = label_;
        QRect cr = l->contentsRect();
        const int margin = l->margin();
        cr.adjust(margin, margin, -margin, -margin);
        int m = l->indent();
        if (m < 0 && l->frameWidth()) {
            if (xAdvance_ < 0) xAdvance_ = l->fontMetrics().horizontalAdvance(u'x');
            m = xAdvance_ / 2 - margin;
        }
        if (m > 0) {
            if (align & Qt::AlignLeft) cr.setLeft(cr.left() + m);
            if (align & Qt::AlignRight) cr.setRight(cr.right() - m);
            if (align & Qt::AlignTop) cr.setTop(cr.top() + m);
            if (align & Qt::AlignBottom) cr.setBottom(cr.bottom() - m);
        }
        return cr;
    }

    const Laid& LaidOut(const QString& text, const QFont& font) {
        auto it = kept_.find(text);
        if (it != kept_.end()) return *it->second;
        if (static_cast<int>(kept_.size()) >= kMaxKept) kept_.clear();
        auto laid = std::make_unique<Laid>(text, font);
        QTextOption option(Qt::AlignLeft);
        option.setTextDirection(Qt::LeftToRight);
        laid->layout.setTextOption(option);
        laid->layout.setCacheEnabled(true);
        const qreal leading = QFontMetricsF(font).leading();
        qreal height = -leading, width = 0;
        laid->layout.beginLayout();
        for (;;) {
            QTextLine line = laid->layout.createLine();
            if (!line.isValid()) break;
            line.setLineWidth(kUnwrapped);
            height = std::ceil(height + leading);
            line.setPosition(QPointF(0., height));
            // The exact height, not QTextLine::height(), which is rounded up.
            height += line.ascent() + line.descent();
            width = qMax(width, line.naturalTextWidth());
        }
        laid->layout.endLayout();
        laid->width = width;
        laid->height = height;
        laid->ink = QRectF(0, 0, width, height);
        if (laid->layout.lineCount() > 0)
            laid->ink |=
                QFontMetricsF(font).tightBoundingRect(text).translated(0, laid->layout.lineAt(0).ascent());
        return *kept_.emplace(text, std::move(laid)).first->second;
    }

    static QRect InkAt(const Laid& laid, const QPointF& origin, const QRect& r) {
        return laid.ink.translated(origin).toAlignedRect().adjusted(-2, -2, 2, 2) & r;
    }

    static QPointF Origin(const Laid& laid, const QRect& r, int align) {
        qreal xoff = 0, yoff = 0;
        if (align & Qt::AlignBottom)
            yoff = r.height() - laid.height;
        else if (align & Qt::AlignVCenter)
            yoff = (r.height() - laid.height) / 2;
        if (align & Qt::AlignRight)
            xoff = r.width() - laid.width;
        else if (align & Qt::AlignHCenter)
            xoff = (r.width() - laid.width) / 2;
        return QPointF(r.x() + xoff, r.y() + yoff);
    }

    bool Paint(const QRegion& exposed) {
        QLabel* l = label_;
        if (!Plain(l)) {
            kept_.clear();
            painted_ = QString();
            return false;
        }
        painted_ = l->text();
        QPainter p(l);
        QStyle* style = l->style();
        // A new value repaints inside the frame only: then the frame is not
        // drawn, as none of its pixels would change.
        const QRegion border = QRegion(l->frameRect()) - QRegion(l->contentsRect());
        if (l->frameShape() != QFrame::NoFrame && exposed.intersects(border)) {
            QStyleOptionFrame f;
            f.initFrom(l);
            f.rect = l->frameRect();
            f.frameShape = l->frameShape();
            switch (l->frameShape()) {
                case QFrame::Box:
                case QFrame::HLine:
                case QFrame::VLine:
                case QFrame::StyledPanel:
                case QFrame::Panel:
                    f.lineWidth = l->lineWidth();
                    f.midLineWidth = l->midLineWidth();
                    break;
                default:
                    f.lineWidth = l->frameWidth();
                    break;
            }
            if (l->frameShadow() == QFrame::Sunken)
                f.state |= QStyle::State_Sunken;
            else if (l->frameShadow() == QFrame::Raised)
                f.state |= QStyle::State_Raised;
            style->drawControl(QStyle::CE_ShapedFrame, &f, &p, l);
        }
        const int align = QStyle::visualAlignment(Qt::LeftToRight, l->alignment());
        const QRect r = TextRect(align);
        QStyleOption opt;
        opt.initFrom(l);
        const QPalette::ColorRole role = l->foregroundRole();
        if (role != QPalette::NoRole) p.setPen(QPen(opt.palette.brush(role), p.pen().widthF()));

        const Laid& laid = LaidOut(l->text(), l->font());
        const QPointF origin = Origin(laid, r, align);
        paintedInk_ = InkAt(laid, origin, r);
        const qreal yoff = origin.y() - r.y();
        const QRectF bounds(origin, QSizeF(laid.width, laid.height));
        if (!QRectF(r).contains(bounds)) p.setClipRect(r, Qt::IntersectClip);
        for (int i = 0; i < laid.layout.lineCount(); ++i) {
            const QTextLine line = laid.layout.lineAt(i);
            qreal x = 0;
            if (align & Qt::AlignRight)
                x = r.width() - line.horizontalAdvance();
            else if (align & Qt::AlignHCenter)
                x = (r.width() - line.horizontalAdvance()) / 2;
            line.draw(&p, QPointF(r.x() + x, r.y() + yoff));
        }
        return true;
    }

    QLabel* label_;
    mutable int xAdvance_ = -1;  // of an 'x' in the label's font, once known
    QString painted_;            // the text last painted here; null when the label painted itself
    QRect paintedInk_;           // and where it left ink
    std::unordered_map<QString, std::unique_ptr<Laid>> kept_;
};

Keeper* KeeperOf(const QLabel* l) {
    const auto it = g_keepers.find(l);
    return it == g_keepers.end() ? nullptr : it->second;
}

}  // namespace

void KeepLayouts(QLabel* label) {
    if (label && !KeeperOf(label)) new Keeper(label);
}

bool ShowText(QLabel* label, const QString& text) {
    Keeper* k = KeeperOf(label);
    if (!k) return false;
    // The old text's ink is known when this painted it (as plain text).
    if (!label->isVisible() || k->Painted().isNull() || k->Painted() != label->text() || text.isEmpty() ||
        label->text() == text) {
        label->setText(text);
        return true;
    }
    const QRect before = k->PaintedInk();
    // The label would repaint all of itself; the frame, the ground and any
    // child on it stay as they are, only the text's ink changes.
    const bool disabled = label->testAttribute(Qt::WA_UpdatesDisabled);
    label->setAttribute(Qt::WA_UpdatesDisabled, true);
    label->setText(text);
    label->setAttribute(Qt::WA_UpdatesDisabled, disabled);
    // Only the text changed since the old one was painted as plain text:
    // a change of the label's set-up repaints all of it by itself.
    if (!PlainText(text, label->textFormat())) {
        label->update();
        return true;
    }
    label->update(QRegion(before) | k->InkOf(text));
    return true;
}

void FitCaption(QLabel* caption) {
    const Qt::Alignment h = caption->alignment() & Qt::AlignHorizontal_Mask;
    if (!Plain(caption) || caption->wordWrap() || (h != Qt::AlignLeft && h != Qt::AlignLeading)) return;
    // Room for the ink past the last advance, so the text is never clipped.
    const int room = caption->fontMetrics().height() / 2;
    const int width = caption->sizeHint().width() + room;
    if (width < caption->width()) caption->resize(width, caption->height());
}

int KeptLayouts(const QLabel* label) {
    const Keeper* k = label ? KeeperOf(label) : nullptr;
    return k ? k->Kept() : 0;
}

}  // namespace labeltext
