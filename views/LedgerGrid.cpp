#include "views/LedgerGrid.h"

#include <algorithm>

TLedgerGrid::TLedgerGrid(TLedgerList& model, bool footer) : model(model), footer(footer) {}

// ---------------------------------------------------------------------------------------------
// Columns

uint32_t TLedgerGrid::AddColumn(uint32_t id, uint32_t chars, uint32_t position) {
    TLedgerColumn column{id, chars};
    if (position == 0 || position > columns.size())
        columns.push_back(column);
    else
        columns.insert(columns.begin() + (position - 1), column);
    totalChars += chars;
    width = -1;  // the next layout starts afresh
    return ColumnCount();
}

void TLedgerGrid::ClearColumns() {
    columns.clear();
    lefts.clear();
    widths.clear();
    totalChars = 0;
    width = -1;
    cursorColumn = 1;
}

uint32_t TLedgerGrid::ColumnPosition(uint32_t id) const {
    for (size_t k = 0; k < columns.size(); ++k)
        if (columns[k].id == id) return static_cast<uint32_t>(k) + 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Layout

bool TLedgerGrid::LayoutWidth(int newWidth) {
    const bool changedWidth = newWidth != width;
    width = newWidth;
    const int n = static_cast<int>(columns.size());
    charWidth100 = totalChars > 0 ? std::max(0, (width - (n + 1)) * 100) / int(totalChars) : 0;
    lefts.assign(columns.size(), 0);
    widths.assign(columns.size(), 0);
    int x = 1;
    for (int k = 0; k < n; ++k) {
        lefts[k] = x;
        widths[k] = static_cast<int>(columns[k].chars) * charWidth100 / 100;
        if (k == n - 1) widths[k] = std::max(0, width - 1 - x);
        x += widths[k] + 1;
    }
    return changedWidth;
}

int TLedgerGrid::WantedFontHeight(int charWidth100, int systemFontHeight) {
    return std::max(1, std::min(charWidth100 * 5 / 200, systemFontHeight));
}

void TLedgerGrid::LayoutHeight(int newHeight, int newRowHeight) {
    height = newHeight;
    rowHeight = std::max(1, newRowHeight);
    const int body = height - HeaderHeight() - FooterHeight();
    const int whole = std::max(0, body / rowHeight);
    // Ten rows of the model stay out of sight, so a window can always scroll within the model
    // before asking it to move; a model smaller than that shows what it has.
    const uint32_t rows = model.GetRowCount();
    const uint32_t cap = rows > 10 ? rows - 10 : rows;
    visible = std::min(static_cast<uint32_t>(whole), cap);
    partial = std::max(0, body - static_cast<int>(visible) * rowHeight);
    if (placePending && visible > 0) PlaceCursor();
    Clamp();
}

int TLedgerGrid::ColumnLeft(uint32_t position) const {
    return position >= 1 && position <= lefts.size() ? lefts[position - 1] : 0;
}

int TLedgerGrid::ColumnWidth(uint32_t position) const {
    return position >= 1 && position <= widths.size() ? widths[position - 1] : 0;
}

TGridRect TLedgerGrid::HeaderCell(uint32_t position) const {
    const int left = ColumnLeft(position);
    return {left, 1, left + ColumnWidth(position), 1 + rowHeight};
}

TGridRect TLedgerGrid::BodyCell(uint32_t row, uint32_t position) const {
    const int left = ColumnLeft(position);
    const int top = (static_cast<int>(row) - 1) * rowHeight + rowHeight + 2;
    return {left, top, left + ColumnWidth(position), top + rowHeight};
}

TGridRect TLedgerGrid::FooterCell(uint32_t position) const {
    const int left = ColumnLeft(position);
    return {left, height - FooterHeight() + 1, left + ColumnWidth(position), height};
}

uint32_t TLedgerGrid::RowAt(int y) const {
    const int body = y - HeaderHeight();
    if (body < 0 || visible == 0) return 0;
    const uint32_t row = static_cast<uint32_t>(body / rowHeight) + 1;
    return row <= visible ? row : 0;
}

uint32_t TLedgerGrid::ColumnAt(int x) const {
    for (size_t k = 0; k < columns.size(); ++k)
        if (x >= lefts[k] && x < lefts[k] + widths[k] + 1) return static_cast<uint32_t>(k) + 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Loading and the cursor

bool TLedgerGrid::LoadAtTop(bool force) {
    if (!force && !changed && loadMode == TLedgerLoad::AtTop) return false;
    model.LoadAtTop();
    loadMode = TLedgerLoad::AtTop;
    changed = false;
    userMoved = false;
    PlaceCursor();
    return true;
}

bool TLedgerGrid::LoadAtEnd(bool force) {
    if (!force && !changed && loadMode == TLedgerLoad::AtEnd) return false;
    model.LoadAtEnd();
    loadMode = TLedgerLoad::AtEnd;
    changed = false;
    userMoved = false;
    PlaceCursor();
    return true;
}

void TLedgerGrid::PlaceCursor() {
    if (userMoved) return;
    placePending = visible == 0;
    if (placePending) return;
    const uint32_t column = ColumnPosition(preferredColumn);
    cursorColumn = column ? column : 1;
    if (loadMode == TLedgerLoad::AtEnd) {
        const uint32_t used = model.GetUsedCount();
        const uint32_t above = visible * 4 / 5;
        if (used > above) {
            top = used - above + 1;
            cursorRow = above + 1;
        } else {
            top = 1;
            cursorRow = used + 1;
        }
    } else {
        top = 1;
        cursorRow = 1;
    }
    Clamp();
}

uint32_t TLedgerGrid::MaxTop() const {
    const uint32_t rows = model.GetRowCount();
    return rows > visible ? rows - visible + 1 : 1;
}

void TLedgerGrid::Clamp() {
    cursorRow = std::clamp<uint32_t>(cursorRow, 1, std::max<uint32_t>(visible, 1));
    top = std::clamp<uint32_t>(top, 1, MaxTop());
    if (cursorColumn > columns.size()) cursorColumn = std::max<uint32_t>(ColumnCount(), 1);
    if (cursorColumn < 1) cursorColumn = 1;
}

TLedgerItem* TLedgerGrid::CurrentItem() const {
    return visible == 0 ? nullptr : model.GetItem(CurrentModelRow());
}

uint32_t TLedgerGrid::CurrentColumnId() const {
    return cursorColumn >= 1 && cursorColumn <= columns.size() ? Column(cursorColumn).id : 0;
}

bool TLedgerGrid::MoveTo(uint32_t row, uint32_t column) {
    if (row < 1 || row > visible || column < 1 || column > columns.size()) return false;
    cursorRow = row;
    cursorColumn = column;
    MarkMoved();
    return true;
}

bool TLedgerGrid::SelectItem(const TLedgerItem* item) {
    for (uint32_t row = 1; row <= visible; ++row)
        if (model.GetItem(top + row - 1) == item) {
            cursorRow = row;
            return true;
        }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Moves

bool TLedgerGrid::Next() {
    if (visible == 0 || columns.empty()) return false;
    if (cursorColumn < columns.size()) {
        ++cursorColumn;
        return true;
    }
    if (cursorRow < visible)
        ++cursorRow;
    else if (!ScrollRowDown(false))
        return false;
    cursorColumn = 1;
    return true;
}

bool TLedgerGrid::Previous() {
    if (visible == 0 || columns.empty()) return false;
    if (cursorColumn > 1) {
        --cursorColumn;
        return true;
    }
    if (cursorRow > 1)
        --cursorRow;
    else if (!ScrollRowUp(false))
        return false;
    cursorColumn = ColumnCount();
    return true;
}

bool TLedgerGrid::Up() {
    if (visible == 0) return false;
    if (cursorRow > 1) {
        --cursorRow;
        return true;
    }
    return ScrollRowUp(false);
}

bool TLedgerGrid::Down() {
    if (visible == 0) return false;
    if (cursorRow < visible) {
        ++cursorRow;
        return true;
    }
    return ScrollRowDown(false);
}

bool TLedgerGrid::Home() {
    if (cursorColumn == 1) return false;
    cursorColumn = 1;
    return true;
}

bool TLedgerGrid::End() {
    if (columns.empty() || cursorColumn == columns.size()) return false;
    cursorColumn = ColumnCount();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Scrolling

bool TLedgerGrid::ScrollRowUp(bool keepDataRow) {
    if (visible == 0) return false;
    if (top == 1) {
        const uint32_t rows = model.GetRowCount();
        const uint32_t moved = model.ScrollUp(std::min(rows - visible + 1, rows / 2));
        if (moved == 0) return false;
        changed = true;
        top += moved;  // the same data row as before, then one row up below
    }
    --top;
    if (keepDataRow && cursorRow < visible) ++cursorRow;
    return true;
}

bool TLedgerGrid::ScrollRowDown(bool keepDataRow) {
    if (visible == 0) return false;
    if (top >= MaxTop()) {
        const uint32_t rows = model.GetRowCount();
        const uint32_t moved = model.ScrollDown(std::min(rows - visible + 1, rows / 2));
        if (moved == 0) return false;
        changed = true;
        top = top > moved ? top - moved : 1;
    }
    ++top;
    if (keepDataRow && cursorRow > 1) --cursorRow;
    Clamp();
    return true;
}

bool TLedgerGrid::ScrollWindowUp() {
    if (visible == 0) return false;
    if (top > visible) {
        top -= visible;
        return true;
    }
    const uint32_t moved = model.ScrollUp(visible);
    if (moved > 0) changed = true;
    if (moved < visible) {
        const bool any = moved > 0 || top != 1;
        top = 1;
        return any;
    }
    return true;
}

bool TLedgerGrid::ScrollWindowDown() {
    if (visible == 0) return false;
    const uint32_t rows = model.GetRowCount();
    if (top + 2 * visible > rows + 1) {
        const uint32_t moved = model.ScrollDown(visible);
        if (moved > 0) changed = true;
        if (moved < visible) {
            const bool any = moved > 0 || top != MaxTop();
            top = MaxTop();
            return any;
        }
        return true;
    }
    top += visible;
    return true;
}

// ---------------------------------------------------------------------------------------------
// The scroll bar

uint32_t TLedgerGrid::ScrollMinimum() const {
    return model.GetFirstPosition();
}

uint32_t TLedgerGrid::ScrollMaximum() const {
    return std::max(model.GetLastPosition(), ScrollMinimum());
}

uint32_t TLedgerGrid::ScrollThumb() const {
    const uint32_t low = ScrollMinimum();
    return std::clamp(model.GetPosition(CurrentModelRow()), low, std::max(ScrollMaximum(), low));
}

int TLedgerGrid::JumpTo(uint32_t position) {
    const int answer = model.JumpTo(position);
    switch (answer) {
        case JumpTop:
            LoadAtTop(true);
            break;
        case JumpStarts:
            changed = true;
            top = 1;
            cursorRow = 1;
            break;
        case JumpEnd:
            LoadAtEnd(true);
            break;
        case JumpInWindow: {
            const uint32_t rows = model.GetRowCount();
            uint32_t row = 1;
            while (row < rows && model.GetPosition(row) < position)
                ++row;
            top = std::min(row, MaxTop());
            cursorRow = row - top + 1;
            Clamp();
            break;
        }
        default:
            break;
    }
    return answer;
}

// ---------------------------------------------------------------------------------------------
// Keys

TGridAction TLedgerGrid::Key(TGridKey key, unsigned modifiers) {
    const bool ctrl = (modifiers & GridCtrl) != 0;
    const bool shift = (modifiers & GridShift) != 0;
    const uint32_t row = CurrentModelRow();
    bool moved = false;
    switch (key) {
        case TGridKey::Tab:
            moved = shift ? Previous() : Next();
            break;
        case TGridKey::Backtab:
        case TGridKey::Backspace:
        case TGridKey::Left:
            moved = Previous();
            break;
        case TGridKey::Enter:
            if (shift) return TGridAction::BeginEdit;
            moved = Next();
            break;
        case TGridKey::Right:
            moved = Next();
            break;
        case TGridKey::Up:
            moved = Up();
            break;
        case TGridKey::Down:
            moved = Down();
            break;
        case TGridKey::Home:
            if (ctrl) return LoadAtTop(true) ? TGridAction::Reloaded : TGridAction::None;
            moved = Home();
            break;
        case TGridKey::End:
            if (ctrl) return LoadAtEnd(true) ? TGridAction::Reloaded : TGridAction::None;
            moved = End();
            break;
        case TGridKey::PageUp:
            moved = ctrl ? WindowUp() : PageUp();
            break;
        case TGridKey::PageDown:
            moved = ctrl ? WindowDown() : PageDown();
            break;
        case TGridKey::Delete:
            if (visible == 0) return TGridAction::None;
            if (ctrl) {
                model.DeleteRow(row);
            } else if (shift) {
                model.CutRow(row);
            } else {
                return TGridAction::None;
            }
            changed = true;
            Clamp();
            return TGridAction::RowAction;
        case TGridKey::Insert:
            if (visible == 0) return TGridAction::None;
            if (ctrl) {
                model.CopyRow(row);
                return TGridAction::RowAction;
            }
            if (shift && model.CanPasteRow()) {
                model.PasteRow(row);
                changed = true;
                return TGridAction::RowAction;
            }
            return TGridAction::None;
        case TGridKey::Escape:
        case TGridKey::Other:
            return TGridAction::None;
    }
    if (!moved) return TGridAction::None;
    MarkMoved();
    return TGridAction::Moved;
}
