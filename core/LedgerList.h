// The row model of the ledger grid. The grid shows a window of rows that may be far smaller than
// the data; the model owns that window and moves it when the grid asks. Rows are 1-based within
// the window. Operations a model does not supply keep the answers given here.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "core/LedgerItem.h"

// What JumpTo did.
enum TLedgerJump : int {
    JumpNothing = 0,   // the model does not jump
    JumpTop = 1,       // the position is at the top of the data
    JumpStarts = 2,    // the window now starts at the position
    JumpEnd = 3,       // the position is at the end of the data
    JumpInWindow = 4,  // the position lies within the present window; nothing moved
};

class TLedgerList {
public:
    virtual ~TLedgerList() = default;

    // The item of a row of the present window; null outside it.
    virtual TLedgerItem* GetItem(uint32_t row) = 0;
    // Move the window n rows toward the beginning (the end); answer the rows actually moved.
    virtual uint32_t ScrollUp(uint32_t) { return 0; }
    virtual uint32_t ScrollDown(uint32_t) { return 0; }
    // Refill the window from the first row of the data, or so that it ends with the last rows
    // followed by blank rows for new entries.
    virtual void LoadAtTop() {}
    virtual void LoadAtEnd() {}
    // The rows of the window that hold stored data; the rest are blank rows.
    virtual uint32_t GetUsedCount() const = 0;
    virtual uint32_t GetRowCount() const = 0;
    // Scroll positions, for the scroll bar.
    virtual uint32_t GetPosition(uint32_t row) const = 0;
    virtual int JumpTo(uint32_t) { return JumpNothing; }
    virtual uint32_t GetLastPosition() const = 0;
    virtual uint32_t GetFirstPosition() const { return 1; }
    // Row actions of the keyboard: Shift+Delete, Ctrl+Insert, Ctrl+Delete, and Shift+Insert
    // with the question whether it is enabled.
    virtual void CutRow(uint32_t) {}
    virtual void CopyRow(uint32_t) {}
    virtual void DeleteRow(uint32_t) {}
    virtual void PasteRow(uint32_t) {}
    virtual bool CanPasteRow() const { return false; }
    virtual TCellPaint PaintHeader(uint32_t column) const = 0;
    virtual TCellPaint PaintFooter(uint32_t) const { return {}; }

    // Who hears that the data changed behind the grid's back (another window, an import): the
    // row that needs repainting, or 0 when the model has reloaded its window. One listener: the
    // grid showing the model.
    using TRowsChangedFn = std::function<void(uint32_t row)>;
    void SetRowsChanged(TRowsChangedFn fn) { rowsChanged = std::move(fn); }

protected:
    void RowsChanged(uint32_t row) const {
        if (rowsChanged) rowsChanged(row);
    }

private:
    TRowsChangedFn rowsChanged;
};
