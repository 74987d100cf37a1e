#include "views/qt/LedgerAccessible.h"

#include <QAccessibleTableInterface>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include "controls/qt/QtText.h"
#include "core/LedgerList.h"
#include "views/qt/Ledger.h"

namespace {

// One visible cell, by its place in the window (0-based visible row and column); it reads what
// stands there whenever asked, so scrolling needs no new interfaces.
class TLedgerAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TLedgerAccessibleCell(TLedger* ledger, int row, int column)
        : ledger(ledger), row(row), column(column) {}

    bool isValid() const override {
        return ledger && row < static_cast<int>(ledger->Grid().VisibleRows()) &&
               column < static_cast<int>(ledger->Grid().ColumnCount());
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return ledger ? QAccessible::queryAccessibleInterface(ledger.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        const TLedgerGrid& grid = ledger->Grid();
        TLedgerItem* item = ledger->Model().GetItem(grid.TopRow() + static_cast<uint32_t>(row));
        const uint32_t id = grid.Column(static_cast<uint32_t>(column) + 1).id;
        return item ? FromWindows1252(item->GetCellText(id)) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = ledger->CellRect(row + 1, column + 1);
        return QRect(ledger->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        if (isSelected()) {
            s.selected = true;
            s.focused = ledger->hasFocus();
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return isValid() && row + 1 == static_cast<int>(ledger->Grid().CursorRow()) &&
               column + 1 == static_cast<int>(ledger->Grid().CursorColumn());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column; }
    int rowIndex() const override { return row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<TLedger> ledger;
    int row, column;
};

class TLedgerAccessibleTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TLedgerAccessibleTable(TLedger* ledger)
        : QAccessibleWidget(ledger, QAccessible::Table) {}
    ~TLedgerAccessibleTable() override {
        for (QAccessible::Id id : std::as_const(cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    TLedger* Ledger() const { return static_cast<TLedger*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        if (index < 0 || columns == 0 || index >= childCount()) return nullptr;
        return cellAt(index / columns, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        if (!cell || child->parent() != this) return -1;
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface* focusChild() const override {
        const TLedgerGrid& grid = Ledger()->Grid();
        if (grid.VisibleRows() == 0 || grid.ColumnCount() == 0) return nullptr;
        return cellAt(static_cast<int>(grid.CursorRow()) - 1,
                      static_cast<int>(grid.CursorColumn()) - 1);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = Ledger()->viewport()->mapFromGlobal(QPoint(x, y));
        const uint32_t row = Ledger()->Grid().RowAt(local.y());
        const uint32_t column = Ledger()->Grid().ColumnAt(local.x());
        return row && column ? cellAt(static_cast<int>(row) - 1, static_cast<int>(column) - 1)
                             : nullptr;
    }

    // The table.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
        const int key = row * 1024 + column;
        auto found = cells.constFind(key);
        if (found != cells.constEnd()) return QAccessible::accessibleInterface(*found);
        auto* cell = new TLedgerAccessibleCell(Ledger(), row, column);
        cells.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int selectedCellCount() const override { return focusChild() ? 1 : 0; }
    QList<QAccessibleInterface*> selectedCells() const override {
        QAccessibleInterface* current = focusChild();
        return current ? QList<QAccessibleInterface*>{current} : QList<QAccessibleInterface*>{};
    }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount()) return {};
        const uint32_t id = Ledger()->Grid().Column(static_cast<uint32_t>(column) + 1).id;
        return FromWindows1252(Ledger()->Model().PaintHeader(id).text);
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return focusChild() ? 1 : 0; }
    int columnCount() const override { return static_cast<int>(Ledger()->Grid().ColumnCount()); }
    int rowCount() const override { return static_cast<int>(Ledger()->Grid().VisibleRows()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override {
        return focusChild() ? QList<int>{static_cast<int>(Ledger()->Grid().CursorRow()) - 1}
                            : QList<int>{};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override {
        return focusChild() && row + 1 == static_cast<int>(Ledger()->Grid().CursorRow());
    }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable QHash<int, QAccessible::Id> cells;
};

QAccessibleInterface* LedgerFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TLedger") && object && object->isWidgetType())
        return new TLedgerAccessibleTable(static_cast<TLedger*>(object));
    return nullptr;
}

}  // namespace

void InstallLedgerAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(LedgerFactory);
        return true;
    }();
    (void)installed;
}

void NotifyLedgerFocus(TLedger* ledger) {
    if (!QAccessible::isActive() || !ledger->hasFocus()) return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ledger);
    QAccessibleInterface* cell = table ? table->focusChild() : nullptr;
    if (!cell) return;
    QAccessibleEvent event(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}
