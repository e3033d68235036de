// Tables of unsigned 16-bit cells, addressed (column, row) from 1.
#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "platform/internal/uicore.h"
#include "platform/internal/wheelguard.h"

namespace uicore {
namespace {

// Row label data: the label without a mark or sign, whether the row is
// marked, and the sign shown after the label.
constexpr int kPlainLabelRole = Qt::UserRole;
constexpr int kRowMarkedRole = Qt::UserRole + 1;
constexpr int kRowSignRole = Qt::UserRole + 2;

bool RowMarked(const QTableWidget* t, int row) {
    const QTableWidgetItem* h = t->verticalHeaderItem(row);
    return h && h->data(kRowMarkedRole).toBool();
}

// Cells are edited in a spin box that cannot leave the u16 range.
class U16Delegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* sb = new QSpinBox(parent);
        sb->setRange(0, 65535);
        sb->setFrame(false);
        GuardWheel(sb);  // an open editor the focus has left keeps its value
        return sb;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QSpinBox*>(editor)->setValue(index.data(Qt::EditRole).toInt());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* sb = static_cast<QSpinBox*>(editor);
        sb->interpretText();
        model->setData(index, sb->value(), Qt::EditRole);
    }
    // A marked row gets a bold frame round its cells: top and bottom of
    // every cell, the sides at the first and the last column.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        auto* t = qobject_cast<const QTableWidget*>(parent());
        if (!t || !RowMarked(t, index.row())) return;
        painter->save();
        constexpr int kWidth = 3;
        const QRect r = option.rect;
        painter->fillRect(QRect(r.left(), r.top(), r.width(), kWidth), MarkColour());
        painter->fillRect(QRect(r.left(), r.bottom() - kWidth + 1, r.width(), kWidth), MarkColour());
        if (index.column() == 0)
            painter->fillRect(QRect(r.left(), r.top(), kWidth, r.height()), MarkColour());
        if (index.column() == t->columnCount() - 1)
            painter->fillRect(QRect(r.right() - kWidth + 1, r.top(), kWidth, r.height()), MarkColour());
        painter->restore();
    }
};

// The header item of a row, made with the label the header shows now (its
// default is the row number).
QTableWidgetItem* RowHeader(QTableWidget* t, int row) {
    QTableWidgetItem* item = t->verticalHeaderItem(row);
    if (!item) {
        item = new QTableWidgetItem(t->model()->headerData(row, Qt::Vertical).toString());
        t->setVerticalHeaderItem(row, item);
    }
    return item;
}

// The label as shown: the mark's "•", the plain label, the sign.
void ShowRowLabel(QTableWidgetItem* item) {
    if (!item->data(kPlainLabelRole).isValid()) item->setData(kPlainLabelRole, item->text());
    QString text = item->data(kPlainLabelRole).toString();
    if (item->data(kRowMarkedRole).toBool()) text.prepend(MarkSign());
    const QString sign = item->data(kRowSignRole).toString();
    if (!sign.isEmpty()) text += QLatin1Char(' ') + sign;
    if (item->text() != text) item->setText(text);
}

void SignRow(QTableWidget* t, int row, const QString& sign) {
    QTableWidgetItem* item = RowHeader(t, row);
    if (item->data(kRowSignRole).toString() == sign) return;
    if (!item->data(kPlainLabelRole).isValid()) item->setData(kPlainLabelRole, item->text());
    item->setData(kRowSignRole, sign);
    ShowRowLabel(item);
}

void MarkRow(QTableWidget* t, int row, bool on) {
    QTableWidgetItem* item = RowHeader(t, row);
    if (item->data(kRowMarkedRole).toBool() == on) return;
    if (!item->data(kPlainLabelRole).isValid()) item->setData(kPlainLabelRole, item->text());
    item->setData(kRowMarkedRole, on);
    ShowRowLabel(item);
    QFont f = item->font();
    f.setBold(on);
    item->setFont(f);
    t->viewport()->update();
}

// Tells the table's callback which cell the operator changed.
void CellEdited(QTableWidget* t, QTableWidgetItem* item) {
    const int handle = t->window()->property("corvelHandle").toInt();
    Panel* p = FindPanel(handle);
    if (!p || !item) return;
    for (const auto& c : p->controls) {
        if (c->widget == t) {
            SendCtrlEvent(handle, c->id, EVENT_VAL_CHANGED, item->row() + 1, item->column() + 1);
            return;
        }
    }
}

int Table(int panel, int control, QTableWidget** out) {
    Control* c = nullptr;
    int rc = Lookup(panel, control, &c);
    if (rc != UIE_OK) return rc;
    *out = qobject_cast<QTableWidget*>(c->widget);
    return *out ? UIE_OK : UIE_TYPE_MISMATCH;
}

int Cell(int panel, int control, int column, int row, QTableWidget** t) {
    int rc = Table(panel, control, t);
    if (rc != UIE_OK) return rc;
    if (column < 1 || row < 1 || column > (*t)->columnCount() || row > (*t)->rowCount())
        return UIE_BAD_ARGUMENT;
    return UIE_OK;
}

int CellValue(const QTableWidgetItem* item) {
    if (!item) return 0;
    bool ok = false;
    int v = item->data(Qt::EditRole).toInt(&ok);
    if (!ok) return 0;
    return v < 0 ? 0 : v > 65535 ? 65535 : v;
}

}  // namespace

// Called by the loader for every table control.
void PrepareTable(QWidget* w) {
    auto* t = qobject_cast<QTableWidget*>(w);
    if (!t) return;
    t->setItemDelegate(new U16Delegate(t));
    // Cells hold numbers: keep whatever the definition put there as integers.
    for (int r = 0; r < t->rowCount(); ++r) {
        for (int c = 0; c < t->columnCount(); ++c) {
            QTableWidgetItem* item = t->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                t->setItem(r, c, item);
            }
            item->setData(Qt::EditRole, CellValue(item));
        }
    }
    // Only the operator's edits arrive here: the program's writes block signals.
    QObject::connect(t, &QTableWidget::itemChanged, t, [t](QTableWidgetItem* item) { CellEdited(t, item); });
}

}  // namespace uicore

using namespace uicore;

int GetTableCellVal(int panel, int control, int column, int row, unsigned short* value) {
    QTableWidget* t = nullptr;
    int rc = Cell(panel, control, column, row, &t);
    if (rc != UIE_OK) return rc;
    if (!value) return UIE_BAD_ARGUMENT;
    *value = static_cast<unsigned short>(CellValue(t->item(row - 1, column - 1)));
    return UIE_OK;
}

int SetTableCellVal(int panel, int control, int column, int row, unsigned short value) {
    QTableWidget* t = nullptr;
    int rc = Cell(panel, control, column, row, &t);
    if (rc != UIE_OK) return rc;
    QTableWidgetItem* item = t->item(row - 1, column - 1);
    QSignalBlocker block(t);
    if (!item) {
        item = new QTableWidgetItem;
        t->setItem(row - 1, column - 1, item);
    } else if (item->data(Qt::EditRole) == QVariant(static_cast<int>(value))) {
        return UIE_OK;
    }
    item->setData(Qt::EditRole, static_cast<int>(value));
    return UIE_OK;
}

int SetActiveTableCell(int panel, int control, int column, int row) {
    QTableWidget* t = nullptr;
    int rc = Cell(panel, control, column, row, &t);
    if (rc != UIE_OK) return rc;
    QSignalBlocker block(t);
    t->setCurrentCell(row - 1, column - 1);
    return UIE_OK;
}

int GetActiveTableCell(int panel, int control, int* column, int* row) {
    QTableWidget* t = nullptr;
    int rc = Table(panel, control, &t);
    if (rc != UIE_OK) return rc;
    if (!column || !row) return UIE_BAD_ARGUMENT;
    *column = t->currentColumn() < 0 ? 1 : t->currentColumn() + 1;
    *row = t->currentRow() < 0 ? 1 : t->currentRow() + 1;
    return UIE_OK;
}

int SetTableRowAttribute(int panel, int control, int row, int attribute, int value) {
    QTableWidget* t = nullptr;
    int rc = Table(panel, control, &t);
    if (rc != UIE_OK) return rc;
    if (row < 1 || row > t->rowCount()) return UIE_BAD_ARGUMENT;
    if (attribute == ATTR_ROW_MARKED) {
        MarkRow(t, row - 1, value != 0);
        return UIE_OK;
    }
    if (attribute != ATTR_ROW_LABEL_COLOR) return UIE_BAD_ATTRIBUTE;
    QTableWidgetItem* item = RowHeader(t, row - 1);
    QColor col = ToColor(value);
    if (item->foreground().color() != col || item->foreground().style() == Qt::NoBrush)
        item->setForeground(col);
    return UIE_OK;
}

int SetTableRowAttribute(int panel, int control, int row, int attribute, const char* value) {
    QTableWidget* t = nullptr;
    int rc = Table(panel, control, &t);
    if (rc != UIE_OK) return rc;
    if (row < 1 || row > t->rowCount() || !value) return UIE_BAD_ARGUMENT;
    const QString s = QString::fromLocal8Bit(value);
    if (attribute == ATTR_ROW_LABEL_SIGN) {
        SignRow(t, row - 1, s);
        return UIE_OK;
    }
    if (attribute != ATTR_ROW_TOOLTIP_TEXT) return UIE_BAD_ATTRIBUTE;
    QTableWidgetItem* item = RowHeader(t, row - 1);
    if (item->toolTip() != s) item->setToolTip(s);
    return UIE_OK;
}

int GetTableRowAttribute(int panel, int control, int row, int attribute, int* value) {
    QTableWidget* t = nullptr;
    int rc = Table(panel, control, &t);
    if (rc != UIE_OK) return rc;
    if (row < 1 || row > t->rowCount() || !value) return UIE_BAD_ARGUMENT;
    if (attribute == ATTR_ROW_MARKED) {
        *value = RowMarked(t, row - 1) ? 1 : 0;
        return UIE_OK;
    }
    if (attribute != ATTR_ROW_LABEL_COLOR) return UIE_BAD_ATTRIBUTE;
    QTableWidgetItem* item = t->verticalHeaderItem(row - 1);
    if (item && item->foreground().style() != Qt::NoBrush) {
        *value = FromColor(item->foreground().color());
    } else {
        *value = FromColor(t->verticalHeader()->palette().color(QPalette::ButtonText));
    }
    return UIE_OK;
}

int SetTableColumnAttribute(int panel, int control, int column, int attribute, const char* value) {
    QTableWidget* t = nullptr;
    int rc = Table(panel, control, &t);
    if (rc != UIE_OK) return rc;
    if (column < 1 || column > t->columnCount() || !value) return UIE_BAD_ARGUMENT;
    if (attribute != ATTR_COLUMN_LABEL_TEXT) return UIE_BAD_ATTRIBUTE;
    QString s = QString::fromLocal8Bit(value);
    QTableWidgetItem* item = t->horizontalHeaderItem(column - 1);
    if (!item) {
        t->setHorizontalHeaderItem(column - 1, new QTableWidgetItem(s));
    } else if (item->text() != s) {
        item->setText(s);
    }
    return UIE_OK;
}

int GetTableColumnAttribute(int panel, int control, int column, int attribute, char* value, int size) {
    QTableWidget* t = nullptr;
    int rc = Table(panel, control, &t);
    if (rc != UIE_OK) return rc;
    if (column < 1 || column > t->columnCount() || !value || size <= 0) return UIE_BAD_ARGUMENT;
    if (attribute != ATTR_COLUMN_LABEL_TEXT) return UIE_BAD_ATTRIBUTE;
    CopyOut(t->model()->headerData(column - 1, Qt::Horizontal).toString(), value, size);
    return UIE_OK;
}
