// The ledger grid: the one window in which every row-and-column editor of the program shows its
// data (transaction ledgers, template items, plan rows). It knows nothing of what the rows are:
// it lays out columns, pages through a row model that may be far larger than the window, keeps
// a cell cursor, paints, and opens an inline editor over the current cell. The arithmetic lives
// in TLedgerGrid (views/LedgerGrid.h); this widget turns Qt events into it and paints it.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

#include "views/LedgerGrid.h"

class QLineEdit;
class QPainter;
class TLedgerItem;
class TLedgerList;
struct TCellEditor;

class TLedger : public QAbstractScrollArea {
    Q_OBJECT

public:
    // The stripe the transaction views give their odd rows: pale yellow.
    static QColor TransactionStripe() { return QColor(255, 255, 164); }

    // The model outlives the grid. With a footer, a footer line under the rows shows the
    // model's footer cells (or what the owner paints there).
    TLedger(QWidget* parent, TLedgerList& model, bool footer);
    ~TLedger() override;

    TLedgerList& Model() const { return grid.Model(); }
    TLedgerGrid& Grid() { return grid; }
    const TLedgerGrid& Grid() const { return grid; }

    // --- Columns and layout. Positions are 1-based; 0 appends.
    uint32_t AddColumn(uint32_t id, uint32_t chars, uint32_t position = 0);
    void ClearColumns();
    // Lays out for the present size; repaints when asked.
    void Relayout(bool repaint);

    // --- Loading the model. Unless forced, nothing happens when it is already loaded that way
    // and nothing changed since.
    void LoadAtTop(bool force);
    void LoadAtEnd(bool force);
    // The column the cursor returns to after each load (0 for none): reconcile views put it on
    // the cleared mark.
    void SetPreferredColumn(uint32_t id);

    // --- The cursor.
    void SelectItem(const TLedgerItem* item);
    TLedgerItem* GetCurrentItem() const;
    uint32_t GetCurrentColumn() const;
    // The model row under the cursor.
    uint32_t GetCurrentRow() const { return grid.CurrentModelRow(); }

    // --- Editing. Options as TLedgerItem::CreateEditor takes them.
    void BeginEdit(unsigned options);
    // Closes the open editor; a plain editor stores its text unless discarded, a completing one
    // always stores.
    void CloseEditor(bool discard = false);
    bool IsEditing() const;
    QWidget* Editor() const;

    // --- Row actions on the cursor's model row (Shift+Delete, Ctrl+Insert, Ctrl+Delete).
    void CutRow();
    void CopyRow();
    void DeleteRow();

    // --- Looks.
    void SetStripe(const QColor& colour);
    QColor Stripe() const { return stripe; }
    const QFont& GridFont() const { return gridFont; }
    // The rectangle of a cell of a visible row, and of the footer line, in viewport pixels.
    QRect CellRect(uint32_t row, uint32_t column) const;
    QRect FooterRect() const;
    // Paints the footer line instead of the model's footer cells.
    void SetFooterPainter(std::function<void(QPainter&, const QRect&)> painter);
    // Paints the grid into any device (a picture, an image), as it would on screen.
    void PaintTo(QPainter& painter);

signals:
    // A right click moved the cursor; the owner shows its context menu at the point.
    void ContextMenuRequested(const QPoint& globalPos);
    // The cursor went to another model row, or the rows were reloaded.
    void CurrentRowChanged();
    // The pointer moved onto another row's item (null: onto no row).
    void HoveredItemChanged(TLedgerItem* item);
    // The model told of a change behind the grid (row 0: it reloaded).
    void ModelChanged(uint32_t row);
    // Escape with no editor open: the owner may close. (Owners take Escape from here rather
    // than from a shortcut, so that Escape in an editor stays the editor's.)
    void EscapePressed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TLedgerAccessible;
    void Moved(uint32_t oldModelRow);
    void UpdateScrollBar();
    void RebuildFont();
    // Closes any editor, runs a key through the grid and shows what it did.
    void HandleKey(TGridKey key, unsigned modifiers);
    void StartEdit(unsigned options, const QString& firstChar);
    void RowsChanged(uint32_t row);
    void SetHovered(TLedgerItem* item);
    void OnScrollAction(int action);
    void OnSliderMoved(int value);
    void AfterJump();
    void PaintRows(QPainter& painter, const QRect& clip);

    TLedgerGrid grid;
    QColor stripe = Qt::white;
    QFont gridFont;
    std::function<void(QPainter&, const QRect&)> footerPainter;
    QPointer<QWidget> editor;
    TLedgerItem* editItem = nullptr;  // the row and column the open editor stores into
    uint32_t editColumn = 0;
    bool editorStores = false;   // a completing editor stores on every close, Escape included
    bool closingEditor = false;  // an editor is being closed
    bool updatingBar = false;
    bool forwardingKey = false;  // a key is on its way from the grid to the editor
    int wheelPending = 0;        // wheel units short of a whole notch
    TLedgerItem* hovered = nullptr;
};
