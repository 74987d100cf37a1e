// The ledger row model (TLedgerList) as a Qt table model, so a stock table view can show and edit
// any ledger-like list: cell texts and alignment come from the rows, typed text goes back to
// them, and the header and footer texts from the list. The model knows no budgeting rules.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>
#include <QTableView>

class TLedgerList;

class TLedgerTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The editor width a cell asks for, in characters (0: the cell is not edited).
    static constexpr int EditCharsRole = Qt::UserRole + 1;

    TLedgerTableModel(TLedgerList& list, int columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The footer row of a column: its text and alignment.
    QString FooterText(int column) const;
    Qt::Alignment FooterAlignment(int column) const;

    // Every other row is tinted with this colour; an invalid colour leaves rows plain.
    void SetStripe(const QColor& colour) { stripe = colour; }
    // The list changed behind the model: every cell, header and footer is read again.
    void Refresh();

signals:
    void FooterChanged();

private:
    TLedgerList& list;
    int columns;
    int rows;
    QColor stripe;
};

// Opens each cell's editor at the width its row asks for; an edit begun by typing opens empty.
class TLedgerItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;

    bool startEmpty = false;  // set by the view while it opens an editor for a typed key
};

// A table view edited from the keyboard: Enter or F2 opens the cell's editor, typing starts one,
// Tab moves across; Enter in an open editor commits it without reaching the dialog's default
// button.
class TLedgerTableView : public QTableView {
    Q_OBJECT

public:
    explicit TLedgerTableView(QWidget* parent = nullptr);
    using QTableView::edit;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TLedgerItemDelegate* delegate;
};

// The footer under a ledger table: one row of column totals that keeps the table's column
// widths and horizontal scroll position.
class TLedgerFooter : public QTableView {
    Q_OBJECT

public:
    TLedgerFooter(TLedgerTableModel& model, QTableView& table, QWidget* parent = nullptr);
};
