// One row of the ledger grid, as the domain describes it: the grid knows nothing of transactions,
// templates or plan rows; it asks the row what each cell shows, what editor a cell opens and
// hands typed text back. The Qt grid turns these descriptions into painting and editor widgets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/TarnStringList.h"

// Options of TLedgerItem::CreateEditor.
enum TLedgerEditOptions : unsigned {
    EditWithValue = 1,   // open with the cell's current value
    EditStartEmpty = 2,  // open empty: editing began with a typed character
    EditMayToggle = 4,   // a two-state cell toggles at once and opens no editor
};

// State flags the grid passes when a cell is painted.
enum TLedgerCellState : unsigned {
    CellCurrent = 1,     // the current cell, with the cursor shown
    CellFocusedRow = 2,  // the cursor's row, and the grid has the focus
};

enum class TCellAlign { Left, Centre, Right };

// What a cell shows.
struct TCellPaint {
    std::string text;
    TCellAlign align = TCellAlign::Left;
    bool highlight = false;  // paint in the system's highlight colours
};

enum class TCellEditorKind {
    Text,        // a plain one-line edit
    StringList,  // a completing edit over a list of texts
};

// The inline editor a cell asks for.
struct TCellEditor {
    TCellEditorKind kind = TCellEditorKind::Text;
    uint32_t chars = 0;                        // the width asked for, in characters
    std::string text;                          // what the editor opens with
    std::unique_ptr<TTarnStringList> choices;  // StringList: the texts offered
};

class TLedgerItem {
public:
    virtual ~TLedgerItem() = default;
    // The editor for a cell, or null when the cell is not edited (a toggle may have happened).
    virtual std::unique_ptr<TCellEditor> CreateEditor(uint32_t column, unsigned options) = 0;
    virtual TCellPaint PaintCell(uint32_t column, unsigned state) const = 0;
    // Stores text typed into the cell's editor.
    virtual void SetCellText(uint32_t column, const std::string& text) = 0;
    // The cell's plain text.
    virtual std::string GetCellText(uint32_t column) const = 0;
};
