#include "views/TreeSelection.h"

#include <algorithm>

TListHit HitTest(int x, int y, int scrollX, int scrollY, int rowHeight, int cellWidth) {
    TListHit hit;
    const int px = x + scrollX, py = y + scrollY;
    if (px >= 0 && cellWidth > 0) hit.column = px / cellWidth + 1;
    if (py >= 0 && rowHeight > 0) hit.row = static_cast<uint32_t>(py / rowHeight + 1);
    return hit;
}

TScrollStep AutoScrollStep(int x, int y, int width, int height) {
    TScrollStep step;
    if (x < 0) step.dx = -1;
    if (x >= width) step.dx = 1;
    if (y < 0) step.dy = -1;
    if (y >= height) step.dy = 1;
    return step;
}

bool TTreeSelection::IsSelected(const TEnhancedListItem* item) const {
    return item && std::find(items.begin(), items.end(), item) != items.end();
}

void TTreeSelection::Clear() {
    items.clear();
}

void TTreeSelection::SelectOnly(TTreeItem* item) {
    items.clear();
    if (item) items.push_back(item);
}

void TTreeSelection::Press(TTreeItem* item, bool ctrl, bool shift) {
    if (!item) return;
    const bool selected = IsSelected(item);
    if (ctrl) {
        if (!selected) {
            items.push_back(item);
            anchor = item;
        } else if (items.size() == 1) {
            anchor = item;
        } else {
            Forget(item);
        }
        return;
    }
    if (shift && !items.empty() && !selected) {
        TTreeItem* first = items.front();
        const uint32_t from = list.IndexOf(first), to = list.IndexOf(item);
        // A first item hidden in a collapsed branch leaves only the one pressed.
        items.assign(1, from ? first : item);
        if (from) {
            const int step = to > from ? 1 : -1;
            for (uint32_t row = from; row != to;) {
                row = static_cast<uint32_t>(static_cast<int64_t>(row) + step);
                if (TTreeItem* next = list.GetItem(row)) items.push_back(next);
            }
        }
        anchor = item;
        return;
    }
    anchor = item;
    if (!selected) SelectOnly(item);
}

void TTreeSelection::Release(TTreeItem* item, bool ctrl, bool shift) {
    if (items.size() > 1 && !ctrl && !shift) SelectOnly(item ? item : items.front());
    anchor = nullptr;
}

void TTreeSelection::ContextPress(TTreeItem* item) {
    if (item && !IsSelected(item)) SelectOnly(item);
}

TTreeItem* TTreeSelection::Step(int direction) {
    uint32_t row = items.empty() ? 0 : list.IndexOf(items.front());
    if (row == 0) row = 1;  // nothing selected, or the first selected is out of view: the root
    const uint32_t next = static_cast<uint32_t>(static_cast<int64_t>(row) + direction);
    if (next >= 1 && next <= list.GetCount()) row = next;
    SelectOnly(list.GetItem(row));
    return First();
}

bool TTreeSelection::CanDrop(TEnhancedListItem* target) const {
    if (!target || items.empty()) return false;
    return std::all_of(items.begin(), items.end(),
                       [target](TTreeItem* item) { return target->CanDrop(item); });
}

TDragCursor TTreeSelection::Cursor(TEnhancedListItem* target) const {
    if (!CanDrop(target)) return TDragCursor::NoDrop;
    return items.size() == 1 ? TDragCursor::One : TDragCursor::Several;
}

bool TTreeSelection::Drop(TEnhancedListItem* target) {
    const bool dropping = anchor && CanDrop(target);
    anchor = nullptr;
    if (!dropping) return false;
    // A drop may tell the windows about changes that touch the selection; walk a copy.
    const std::vector<TTreeItem*> dropped = items;
    for (auto it = dropped.rbegin(); it != dropped.rend(); ++it)
        target->Drop(*it);
    return true;
}

bool TTreeSelection::Forget(const TEnhancedListItem* item) {
    if (anchor == item) anchor = nullptr;
    auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) return false;
    items.erase(found);
    return true;
}
