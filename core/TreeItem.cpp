#include "core/TreeItem.h"

#include <algorithm>
#include <array>

// ---------------------------------------------------------------------------------------------
// TEnhancedList

void TEnhancedList::AttachWindow(TListWindowPort* window) {
    if (window && std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.push_back(window);
}

void TEnhancedList::DetachWindow(TListWindowPort* window) {
    std::erase(windows, window);
}

// Each notification walks a copy: a window may detach itself while it is being told.
void TEnhancedList::ItemChanged(TEnhancedListItem* item) {
    if (windows.empty()) return;  // balances change for every posting, mostly with no window open
    for (TListWindowPort* w : std::vector<TListWindowPort*>(windows))
        w->ItemChanged(item);
}

void TEnhancedList::ItemsChanged(TEnhancedListItem* item) {
    for (TListWindowPort* w : std::vector<TListWindowPort*>(windows))
        w->ItemsChanged(item);
}

void TEnhancedList::ItemRemoved(TEnhancedListItem* item) {
    for (TListWindowPort* w : std::vector<TListWindowPort*>(windows))
        w->ItemRemoved(item);
}

// ---------------------------------------------------------------------------------------------
// TTreeItem: links

TTreeItem::~TTreeItem() {
    if (owner) {
        owner->ItemRemoved(this);
        if (owner->root == this) owner->root = nullptr;
    }
    Unlink();
    // Children go in order. Their own children are taken over here first, so that a tree of any
    // depth is destroyed without recursion.
    std::vector<TTreeItem*> pending;
    for (TTreeItem* c = firstChild; c; c = c->nextSibling)
        pending.push_back(c);
    firstChild = nullptr;
    for (size_t i = 0; i < pending.size(); ++i) {
        TTreeItem* node = pending[i];
        for (TTreeItem* c = node->firstChild; c; c = c->nextSibling)
            pending.push_back(c);
        node->firstChild = nullptr;
        node->parent = nullptr;
        node->prevSibling = node->nextSibling = nullptr;
        delete node;
    }
}

void TTreeItem::Reshaped(TTreeList* list) {
    if (list) ++list->shape;
}

TTreeItem* TTreeItem::GetLastChild() const {
    TTreeItem* c = firstChild;
    while (c && c->nextSibling)
        c = c->nextSibling;
    return c;
}

void TTreeItem::SetOwner(TTreeList* list) {
    Reshaped(owner);
    for (TTreeItem* n = this; n; n = n->NextWithin(this, true))
        n->owner = list;
    Reshaped(list);
}

void TTreeItem::Unlink() {
    if (prevSibling)
        prevSibling->nextSibling = nextSibling;
    else if (parent && parent->firstChild == this)
        parent->firstChild = nextSibling;
    if (nextSibling) nextSibling->prevSibling = prevSibling;
    prevSibling = nextSibling = nullptr;
    parent = nullptr;
    Reshaped(owner);
}

void TTreeItem::LinkBefore(TTreeItem* sibling) {
    parent = sibling->parent;
    prevSibling = sibling->prevSibling;
    nextSibling = sibling;
    if (prevSibling)
        prevSibling->nextSibling = this;
    else if (parent)
        parent->firstChild = this;
    sibling->prevSibling = this;
    Reshaped(owner);
    Reshaped(sibling->owner);
}

void TTreeItem::LinkAfter(TTreeItem* sibling) {
    parent = sibling->parent;
    prevSibling = sibling;
    nextSibling = sibling->nextSibling;
    if (nextSibling) nextSibling->prevSibling = this;
    sibling->nextSibling = this;
    Reshaped(owner);
    Reshaped(sibling->owner);
}

bool TTreeItem::IsSelfOrAncestor(const TTreeItem* item) const {
    for (const TTreeItem* n = this; n; n = n->parent)
        if (n == item) return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// TTreeItem: notifications

void TTreeItem::TellChanged() {
    if (owner) owner->ItemChanged(this);
}

void TTreeItem::TellAncestorsChanged() {
    if (!owner) return;
    for (TTreeItem* a = parent; a; a = a->parent)
        owner->ItemChanged(a);
}

void TTreeItem::TellItemsChanged(TEnhancedListItem* item) {
    if (owner) owner->ItemsChanged(item);
}

void TTreeItem::TellStructureChanged() {
    if (owner) owner->StructureChanged();
}

// ---------------------------------------------------------------------------------------------
// TTreeItem: moving nodes

void TTreeItem::AddChild(TTreeItem* item) {
    // The structural check stands even if an override of CanDrop forgets it: a node placed
    // inside its own subtree would make a cycle.
    if (!item || IsSelfOrAncestor(item) || !CanDrop(item)) return;
    item->Detach();
    if (owner && item->owner != owner) item->SetOwner(owner);
    if (!firstChild) {
        firstChild = item;
        item->parent = this;
        Reshaped(owner);
    } else {
        for (TTreeItem* c = firstChild; c; c = c->nextSibling) {
            if (!c->SortsBefore(item)) {
                item->LinkBefore(c);
                break;
            }
            if (!c->nextSibling) {
                item->LinkAfter(c);
                break;
            }
        }
    }
    if (owner) {
        owner->ItemsChanged(this);
        for (TTreeItem* a = parent; a; a = a->parent)
            owner->ItemChanged(a);
        owner->StructureChanged();
    }
}

bool TTreeItem::CanInsertBefore(TTreeItem* item) {
    return item && item != this && parent && parent->CanDrop(item);
}

void TTreeItem::InsertBefore(TTreeItem* item) {
    if (!item || item == this || !parent || parent->IsSelfOrAncestor(item) ||
        !CanInsertBefore(item))
        return;
    item->Detach();
    if (owner && item->owner != owner) item->SetOwner(owner);
    item->LinkBefore(this);
    TellAncestorsChanged();
    TellStructureChanged();
    TellItemsChanged(item);
}

void TTreeItem::Detach() {
    if (!parent) return;
    TTreeItem* formerParent = parent;
    TTreeItem* successor = prevSibling ? prevSibling : formerParent;
    if (prevSibling)
        prevSibling->nextSibling = nextSibling;
    else
        formerParent->firstChild = nextSibling;
    if (nextSibling) nextSibling->prevSibling = prevSibling;
    prevSibling = nextSibling = nullptr;
    TellAncestorsChanged();
    parent = nullptr;
    TellItemsChanged(successor);
    TellStructureChanged();
}

bool TTreeItem::SortsBefore(const TTreeItem* item) const {
    return std::less<const TTreeItem*>()(this, item);
}

void TTreeItem::DoubleClick(int column) {
    if (HasChildren() && column == GetDepth() + 1) {
        expanded = !expanded;
        TellItemsChanged(this);
    }
}

bool TTreeItem::CanDrop(TEnhancedListItem* item) {
    auto* node = dynamic_cast<TTreeItem*>(item);
    return node && !IsSelfOrAncestor(node);
}

void TTreeItem::Drop(TEnhancedListItem* item) {
    AddChild(dynamic_cast<TTreeItem*>(item));
}

// ---------------------------------------------------------------------------------------------
// TTreeItem: walking and showing

int TTreeItem::GetDepth() const {
    int depth = 0;
    for (const TTreeItem* n = this; n; n = n->parent)
        ++depth;
    return depth;
}

TTreeItem* TTreeItem::Next(bool all) const {
    return NextWithin(nullptr, all);
}

TTreeItem* TTreeItem::NextWithin(const TTreeItem* top, bool all) const {
    if (firstChild && (all || expanded)) return firstChild;
    for (const TTreeItem* n = this; n && n != top; n = n->parent)
        if (n->nextSibling) return n->nextSibling;
    return nullptr;
}

int TTreeItem::GetWidth(int cellWidth, const TTextWidth& textWidth) const {
    return (GetDepth() + 1) * cellWidth + (textWidth ? textWidth(LabelText()) : 0) + 4;
}

std::string TTreeItem::LabelText() const {
    std::array<char, 512> buffer{};
    GetLabel(buffer.data(), buffer.size());
    buffer.back() = '\0';
    return buffer.data();
}

TTreeRowPaint TTreeItem::GetRowPaint() const {
    TTreeRowPaint row;
    row.depth = GetDepth();
    row.mark = marked;
    // Cell k shows a guide line when the ancestor at depth k has a sibling still to come.
    row.guideLine.assign(static_cast<size_t>(row.depth - 1), false);
    int k = row.depth - 1;
    for (const TTreeItem* a = parent; a && k >= 1; a = a->parent, --k)
        row.guideLine[static_cast<size_t>(k - 1)] = a->nextSibling != nullptr;
    if (parent) row.branch = nextSibling ? 2 : 3;
    row.icon = !firstChild ? 5 : expanded ? 7 : 6;
    row.label = LabelText();
    return row;
}

// ---------------------------------------------------------------------------------------------
// TTreeList

TTreeList::~TTreeList() {
    TTreeItem* old = root;
    root = nullptr;
    delete old;
}

void TTreeList::SetRoot(TTreeItem* item) {
    if (item == root) {
        if (item) item->SetOwner(this);
        return;
    }
    TTreeItem* old = root;
    root = nullptr;
    if (item) {
        // A root hangs under nothing; taking it out of the old tree keeps it alive below.
        item->Unlink();
    }
    delete old;
    root = item;
    if (root) root->SetOwner(this);
    TTreeItem::Reshaped(this);
}

uint32_t TTreeList::GetCount() const {
    uint32_t count = 0;
    for (const TTreeItem* n = root; n; n = n->Next(false))
        ++count;
    return count;
}

TTreeItem* TTreeList::GetItem(uint32_t index) const {
    if (index == 0) return nullptr;
    TTreeItem* n = root;
    for (uint32_t i = 1; n && i < index; ++i)
        n = n->Next(false);
    return n;
}

uint32_t TTreeList::IndexOf(const TTreeItem* item) const {
    if (!item) return 0;
    uint32_t index = 1;
    for (const TTreeItem* n = root; n; n = n->Next(false), ++index)
        if (n == item) return index;
    return 0;
}

int TTreeList::GetMaxWidth(int cellWidth, const TTextWidth& textWidth) const {
    int widest = 0;
    for (const TTreeItem* n = root; n; n = n->Next(false))
        widest = std::max(widest, n->GetWidth(cellWidth, textWidth));
    return widest;
}
