// The arithmetic of the ledger grid, kept apart from any toolkit: column and row layout from the
// window's size, cell rectangles, the cell cursor and every way it moves, scrolling a row model
// that may be far larger than the window, and the scroll bar over the model's positions. The
// widget feeds sizes and keys in, paints what this says, and opens editors where it points.
#pragma once

#include <cstdint>
#include <vector>

#include "core/LedgerList.h"

struct TGridRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const TGridRect&) const = default;
};

struct TLedgerColumn {
    uint32_t id = 0;     // the model's column id
    uint32_t chars = 0;  // the width in characters
};

// How the model was last loaded.
enum class TLedgerLoad { None = 0, AtEnd = 1, AtTop = 2 };

// The keys the grid knows. Modifiers: Ctrl and Shift.
enum class TGridKey {
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Tab,
    Backtab,
    Enter,
    Backspace,
    Escape,
    Delete,
    Insert,
    Other,
};
enum TGridModifier : unsigned { GridShift = 1, GridCtrl = 2 };

// What the widget must do after a key.
enum class TGridAction {
    None,       // not the grid's key (the owner may take it; Escape closes a view)
    Moved,      // the cursor moved or the window scrolled: repaint, update the scroll bar
    Reloaded,   // the model was reloaded: repaint everything
    BeginEdit,  // open the editor of the current cell with its value (Shift+Enter)
    RowAction,  // a row action ran on the model: repaint everything
};

class TLedgerGrid {
public:
    TLedgerGrid(TLedgerList& model, bool footer);
    TLedgerList& Model() const { return model; }

    // --- Columns, left to right; positions are 1-based.
    // Inserts at a position (appends for 0 or past the end); answers the new column count.
    uint32_t AddColumn(uint32_t id, uint32_t chars, uint32_t position = 0);
    void ClearColumns();
    uint32_t ColumnCount() const { return static_cast<uint32_t>(columns.size()); }
    const TLedgerColumn& Column(uint32_t position) const { return columns[position - 1]; }
    // The position of a column id, 0 when absent.
    uint32_t ColumnPosition(uint32_t id) const;

    // --- Layout.
    // Lays the columns out over a client width: pixels per character times 100, one-pixel
    // separators, the first column at x = 1 and the last reaching the right edge minus 1.
    // Answers whether the width differs from the last layout (the font must then be rebuilt).
    bool LayoutWidth(int width);
    int CharWidth100() const { return charWidth100; }
    // The font height wanted for a layout: five halves of a character width, at least 1, never
    // above the system font's height.
    static int WantedFontHeight(int charWidth100, int systemFontHeight);
    // Lays the rows out over a client height with the font's row height (character height plus
    // external leading).
    void LayoutHeight(int height, int rowHeight);
    int Width() const { return width; }
    int Height() const { return height; }
    int RowHeight() const { return rowHeight; }
    int HeaderHeight() const { return rowHeight + 2; }
    int FooterHeight() const { return footer ? rowHeight + 2 : 1; }
    bool HasFooter() const { return footer; }
    // Whole rows that fit, capped at the model's row count minus 10; the rest of the height is
    // a partial row under the last whole one.
    uint32_t VisibleRows() const { return visible; }
    int PartialPixels() const { return partial; }
    int ColumnLeft(uint32_t position) const;
    int ColumnWidth(uint32_t position) const;
    TGridRect HeaderCell(uint32_t position) const;
    // The cell of a visible row (1-based; VisibleRows() + 1 is the partial row).
    TGridRect BodyCell(uint32_t row, uint32_t position) const;
    TGridRect FooterCell(uint32_t position) const;
    // The visible row and the column under a point; 0 when the point is on neither.
    uint32_t RowAt(int y) const;
    uint32_t ColumnAt(int x) const;

    // --- Loading. Unless forced, nothing happens when the model is already loaded that way and
    // nothing changed since. Answers whether the model was loaded.
    bool LoadAtTop(bool force);
    bool LoadAtEnd(bool force);
    // Something changed behind the last load; the next unforced load reloads.
    void MarkChanged() { changed = true; }
    TLedgerLoad LoadMode() const { return loadMode; }
    // The column the cursor returns to after each load (a column id, 0 for none).
    void SetPreferredColumn(uint32_t id) { preferredColumn = id; }
    uint32_t PreferredColumn() const { return preferredColumn; }
    // Puts the cursor where a load leaves it, unless the user moved it since.
    void PlaceCursor();
    // Keeps the top and cursor rows inside the model and the visible rows (after a resize or a
    // reload the model made on its own).
    void Clamp();

    // --- The cursor: the top row (model row shown first), the cursor row among the visible rows
    // and the cursor column, all 1-based.
    uint32_t TopRow() const { return top; }
    uint32_t CursorRow() const { return cursorRow; }
    uint32_t CursorColumn() const { return cursorColumn; }
    uint32_t CurrentModelRow() const { return top + cursorRow - 1; }
    TLedgerItem* CurrentItem() const;
    uint32_t CurrentColumnId() const;
    bool UserMoved() const { return userMoved; }
    // A click: the cursor to a visible row and column (ignored outside them).
    bool MoveTo(uint32_t row, uint32_t column);
    // The cursor to the visible row whose model row holds the item; false when none does.
    bool SelectItem(const TLedgerItem* item);

    // --- Moves. Each answers whether anything changed.
    bool Next();      // Right, Tab, Enter
    bool Previous();  // Left, Backspace, Shift+Tab
    bool Up();
    bool Down();
    bool Home();
    bool End();
    bool PageUp() { return ScrollRowUp(true); }
    bool PageDown() { return ScrollRowDown(true); }
    bool WindowUp() { return ScrollWindowUp(); }
    bool WindowDown() { return ScrollWindowDown(); }

    // --- Scrolling. By a row, keeping the cursor on its data row when asked and the window
    // allows; by a window of visible rows.
    bool ScrollRowUp(bool keepDataRow);
    bool ScrollRowDown(bool keepDataRow);
    bool ScrollWindowUp();
    bool ScrollWindowDown();

    // --- The vertical scroll bar, over the model's positions.
    uint32_t ScrollMinimum() const;
    uint32_t ScrollMaximum() const;
    // The position of the cursor's model row, inside the range.
    uint32_t ScrollThumb() const;
    // The thumb dropped at a position: the model jumps and the grid follows its answer. Answers
    // the model's answer.
    int JumpTo(uint32_t position);

    // --- Keys.
    TGridAction Key(TGridKey key, unsigned modifiers);

private:
    void MarkMoved() { userMoved = true; }
    uint32_t MaxTop() const;

    TLedgerList& model;
    bool footer;
    std::vector<TLedgerColumn> columns;
    uint32_t totalChars = 0;
    int width = -1, height = 0;
    int charWidth100 = 0;
    std::vector<int> lefts, widths;  // per column, pixels
    int rowHeight = 1;
    uint32_t visible = 0;
    int partial = 0;

    TLedgerLoad loadMode = TLedgerLoad::None;
    bool changed = true;
    bool userMoved = false;
    bool placePending = false;  // loaded before any row was visible
    uint32_t preferredColumn = 0;
    uint32_t top = 1, cursorRow = 1, cursorColumn = 1;
};
