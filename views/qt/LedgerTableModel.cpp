#include "views/qt/LedgerTableModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include "controls/qt/QtText.h"
#include "core/LedgerList.h"

namespace {

Qt::Alignment Alignment(TCellAlign align) {
    switch (align) {
        case TCellAlign::Left:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case TCellAlign::Centre:
            return Qt::AlignCenter;
        case TCellAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The one footer row, read from the table's model.
class TFooterModel : public QAbstractTableModel {
public:
    explicit TFooterModel(TLedgerTableModel& table) : QAbstractTableModel(&table), table(table) {
        connect(&table, &TLedgerTableModel::FooterChanged, this,
                [this] { emit dataChanged(index(0, 0), index(0, columnCount() - 1)); });
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : table.columnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole) return table.FooterText(index.column());
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(table.FooterAlignment(index.column()));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        return table.headerData(section, orientation, role);
    }

private:
    TLedgerTableModel& table;
};

}  // namespace

TLedgerTableModel::TLedgerTableModel(TLedgerList& list, int columns, QObject* parent)
    : QAbstractTableModel(parent),
      list(list),
      columns(columns),
      rows(static_cast<int>(list.GetRowCount())) {}

int TLedgerTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

int TLedgerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant TLedgerTableModel::data(const QModelIndex& index, int role) const {
    TLedgerItem* item = index.isValid() ? list.GetItem(index.row() + 1) : nullptr;
    if (!item) return {};
    const auto column = static_cast<uint32_t>(index.column() + 1);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return FromWindows1252(item->GetCellText(column));
        case Qt::EditRole: {
            auto editor = item->CreateEditor(column, EditWithValue);
            return editor ? FromWindows1252(editor->text) : QVariant();
        }
        case Qt::TextAlignmentRole:
            return static_cast<int>(Alignment(item->PaintCell(column, 0).align));
        case Qt::BackgroundRole:
            if (stripe.isValid() && index.row() % 2 == 1) return stripe;
            return {};
        case EditCharsRole: {
            auto editor = item->CreateEditor(column, EditWithValue);
            return editor ? static_cast<int>(editor->chars) : 0;
        }
        default:
            return {};
    }
}

bool TLedgerTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TLedgerItem* item = index.isValid() ? list.GetItem(index.row() + 1) : nullptr;
    if (!item || role != Qt::EditRole) return false;
    item->SetCellText(static_cast<uint32_t>(index.column() + 1), ToWindows1252(value.toString()));
    // A cell reaches its row's total and the column's footer, and a name may make a row count:
    // read everything again.
    Refresh();
    return true;
}

Qt::ItemFlags TLedgerTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (data(index, EditCharsRole).toInt() > 0) f |= Qt::ItemIsEditable;
    return f;
}

QVariant TLedgerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns)
        return QAbstractTableModel::headerData(section, orientation, role);
    const TCellPaint paint = list.PaintHeader(static_cast<uint32_t>(section + 1));
    if (role == Qt::DisplayRole) return FromWindows1252(paint.text);
    if (role == Qt::TextAlignmentRole) return static_cast<int>(Alignment(paint.align));
    return {};
}

QString TLedgerTableModel::FooterText(int column) const {
    return FromWindows1252(list.PaintFooter(static_cast<uint32_t>(column + 1)).text);
}

Qt::Alignment TLedgerTableModel::FooterAlignment(int column) const {
    return Alignment(list.PaintFooter(static_cast<uint32_t>(column + 1)).align);
}

void TLedgerTableModel::Refresh() {
    const auto now = static_cast<int>(list.GetRowCount());
    if (now != rows) {
        beginResetModel();
        rows = now;
        endResetModel();
    } else if (rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
    }
    emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
    emit FooterChanged();
}

QWidget* TLedgerItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setObjectName("cellEditor");
        line->setMaxLength(index.data(TLedgerTableModel::EditCharsRole).toInt());
        line->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) &
                           Qt::AlignHorizontal_Mask);
    }
    return editor;
}

void TLedgerItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (startEmpty && line)
        line->clear();
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

TLedgerTableView::TLedgerTableView(QWidget* parent)
    : QTableView(parent), delegate(new TLedgerItemDelegate(this)) {
    setItemDelegate(delegate);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

bool TLedgerTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    delegate->startEmpty = trigger == AnyKeyPressed;
    const bool opened = QTableView::edit(index, trigger, event);
    delegate->startEmpty = false;
    return opened;
}

void TLedgerTableView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (state() != EditingState && currentIndex().isValid()) edit(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

TLedgerFooter::TLedgerFooter(TLedgerTableModel& model, QTableView& table, QWidget* parent)
    : QTableView(parent) {
    setModel(new TFooterModel(model));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setFixedHeight(verticalHeader()->defaultSectionSize() + 2 * frameWidth());

    QHeaderView* header = table.horizontalHeader();
    for (int c = 0; c < model.columnCount(); ++c)
        setColumnWidth(c, header->sectionSize(c));
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int size) { setColumnWidth(column, size); });
    connect(table.horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
            &QScrollBar::setValue);
    // The table's scroll bar takes room the footer does not have; keep the columns aligned.
    setViewportMargins(0, 0, table.verticalScrollBar()->sizeHint().width(), 0);
}
