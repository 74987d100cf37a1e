// The selection, keyboard and drag rules of the tree windows, without any toolkit: which rows are
// selected and in what order, the anchor, what a press, a release or an arrow key does to them,
// where several dragged nodes may go and in which order they arrive, and where a point falls.
#pragma once

#include <cstdint>
#include <vector>

#include "core/TreeItem.h"

// The cursor a drag shows.
enum class TDragCursor { NoDrop, One, Several };

// Which row and column a point of the window falls on, scroll offset included; 1-based, 0 when
// the point lies above or left of the first cell.
struct TListHit {
    uint32_t row = 0;
    int column = 0;
};
TListHit HitTest(int x, int y, int scrollX, int scrollY, int rowHeight, int cellWidth);

// The steps to scroll towards a point outside a window of the given size while a button is held:
// -1, 0 or +1 on each axis.
struct TScrollStep {
    int dx = 0;
    int dy = 0;
};
TScrollStep AutoScrollStep(int x, int y, int width, int height);

class TTreeSelection {
public:
    explicit TTreeSelection(TTreeList& list) : list(list) {}

    // In the order they were selected.
    const std::vector<TTreeItem*>& Items() const { return items; }
    size_t Count() const { return items.size(); }
    bool IsSelected(const TEnhancedListItem* item) const;
    TTreeItem* First() const { return items.empty() ? nullptr : items.front(); }
    TTreeItem* Anchor() const { return anchor; }

    void Clear();
    void SelectOnly(TTreeItem* item);

    // Left button down on item (null: no row under the mouse).
    void Press(TTreeItem* item, bool ctrl, bool shift);
    // Left button up after a press that did not start a drag, over item (null: no row).
    void Release(TTreeItem* item, bool ctrl, bool shift);
    // Right button down on item: an unselected item becomes the selection.
    void ContextPress(TTreeItem* item);
    // Up (-1) or Down (+1): the selection becomes one row and moves; answers that row (null for
    // an empty list).
    TTreeItem* Step(int direction);

    // Whether target takes every selected node.
    bool CanDrop(TEnhancedListItem* target) const;
    TDragCursor Cursor(TEnhancedListItem* target) const;
    // After a drag ends over target: drops every selected node, the last selected first, when
    // target takes them all and a press left an anchor. The anchor is cleared either way.
    bool Drop(TEnhancedListItem* target);

    // The item is going: it leaves the selection and the anchor. True when it was selected.
    bool Forget(const TEnhancedListItem* item);

private:
    TTreeList& list;
    std::vector<TTreeItem*> items;
    TTreeItem* anchor = nullptr;
};
