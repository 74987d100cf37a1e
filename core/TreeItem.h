// Trees shown in the owner-drawn list windows: items with sibling and parent links, sorted
// insertion, drag-and-drop insertion, expand and collapse, and a flat 1-based view of the
// visible rows. The windows themselves live in the Qt layer; they attach to a list through
// TListWindowPort and paint each row from the description TTreeItem::GetRowPaint gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TEnhancedListItem;
class TTreeItem;
class TTreeList;

// Measures the pixel width of a label in the window's font.
using TTextWidth = std::function<int(const std::string&)>;

// Names of the tree-line artwork every tree shares; the icons are named by each tree.
namespace TreeArt {
inline constexpr const char* GuideLine = "tree-guide";
inline constexpr const char* Branch = "tree-branch";
inline constexpr const char* LastBranch = "tree-last";
}  // namespace TreeArt

// A window showing a list, told what to redraw.
class TListWindowPort {
public:
    virtual ~TListWindowPort() = default;
    // Redraw the item's row.
    virtual void ItemChanged(TEnhancedListItem* item) = 0;
    // Recompute the rows from the item on (null: all rows).
    virtual void ItemsChanged(TEnhancedListItem* item) = 0;
    // Drop the item from the selection; it is about to be destroyed.
    virtual void ItemRemoved(TEnhancedListItem* item) = 0;
};

// A row of a list window. Columns are 1-based cells of the window's cell width.
class TEnhancedListItem {
public:
    virtual ~TEnhancedListItem() = default;
    virtual void Click(int /*column*/) {}
    virtual void DoubleClick(int /*column*/) {}
    virtual void Drop(TEnhancedListItem* /*item*/) {}
    virtual bool CanDrop(TEnhancedListItem* /*item*/) { return false; }
    virtual int GetWidth(int /*cellWidth*/, const TTextWidth& /*textWidth*/) const { return 0; }
};

// A list model that tells its attached windows when items change.
class TEnhancedList {
public:
    TEnhancedList() = default;
    TEnhancedList(const TEnhancedList&) = delete;
    TEnhancedList& operator=(const TEnhancedList&) = delete;
    virtual ~TEnhancedList() = default;

    virtual void AttachWindow(TListWindowPort* window);
    virtual void DetachWindow(TListWindowPort* window);
    virtual void ItemChanged(TEnhancedListItem* item);
    virtual void ItemsChanged(TEnhancedListItem* item);
    virtual void ItemRemoved(TEnhancedListItem* item);
    // The order or membership of items changed; the trees of a document mark it modified.
    virtual void StructureChanged() {}

    const std::vector<TListWindowPort*>& Windows() const { return windows; }

private:
    std::vector<TListWindowPort*> windows;
};

// What one row of a tree shows, cell by cell from the left: a row of depth d has d + 2 cells.
// Bitmap numbers are those of TTreeItem::GetBitmap.
struct TTreeRowPaint {
    int depth = 1;
    bool mark = false;            // cell 1: mask 8, then image 9
    std::vector<bool> guideLine;  // guideLine[k - 1]: cell k (1 .. d - 1) shows bitmap 1
    int branch = 0;               // cell d: bitmap 2 (more siblings follow), 3 (last), 0 none
    int icon = 5;                 // cell d + 1: mask 4, then 5 leaf, 6 collapsed, 7 expanded
    std::string label;            // starts 2 pixels right of cell d + 1
};

class TTreeItem : public TEnhancedListItem {
public:
    explicit TTreeItem(TTreeList* owner = nullptr) : owner(owner) {}
    TTreeItem(const TTreeItem&) = delete;
    TTreeItem& operator=(const TTreeItem&) = delete;
    // Tells the owner the item is going, then destroys the children. A node still linked into a
    // tree unlinks itself first, silently. The owner is told from here, when the derived parts
    // are already gone: listeners may only compare the address.
    ~TTreeItem() override;

    TTreeItem* GetParent() const { return parent; }
    TTreeItem* GetFirstChild() const { return firstChild; }
    TTreeItem* GetNextSibling() const { return nextSibling; }
    TTreeItem* GetPrevSibling() const { return prevSibling; }
    TTreeItem* GetLastChild() const;
    TTreeList* GetOwner() const { return owner; }
    // Sets the owner of this node and every node below it.
    void SetOwner(TTreeList* list);

    bool IsExpanded() const { return expanded; }
    void SetExpanded(bool on) { expanded = on; }
    bool IsMarked() const { return marked; }
    void SetMarked(bool on) { marked = on; }

    // Links item as a child, placed by the children's SortsBefore; refused when CanDrop refuses.
    void AddChild(TTreeItem* item);
    // Links item as this node's immediately preceding sibling, when CanInsertBefore allows.
    virtual void InsertBefore(TTreeItem* item);
    // True when this node's parent would take item as a child and item is not this node.
    virtual bool CanInsertBefore(TTreeItem* item);
    // Unlinks the node from its parent and siblings; it keeps its own children.
    virtual void Detach();
    virtual bool HasParent() const { return parent != nullptr; }
    // The text shown in the row, truncated to the buffer and terminated.
    virtual void GetLabel(char* buffer, size_t capacity) const = 0;
    // The artwork for one cell role: 1 guide line, 2 branch, 3 last branch, 4 icon mask, 5 to 7
    // icon (leaf, collapsed, expanded), 8 mark mask, 9 mark. Null draws nothing.
    virtual const char* GetBitmap(int index) const = 0;
    // Whether this child, already in place, stays in front of a newcomer. By address here.
    virtual bool SortsBefore(const TTreeItem* item) const;

    // Expands or collapses when the icon cell of a node with children is double-clicked.
    void DoubleClick(int column) override;
    // Not this node nor one of its ancestors.
    bool CanDrop(TEnhancedListItem* item) override;
    // AddChild.
    void Drop(TEnhancedListItem* item) override;
    // (depth + 1) cells, the label's width and 4 pixels.
    int GetWidth(int cellWidth, const TTextWidth& textWidth) const override;

    // Nodes from this one up to the root inclusive; the root has depth 1.
    int GetDepth() const;
    bool HasChildren() const { return firstChild != nullptr; }
    // The next node in pre-order; with all false only through expanded nodes (visible rows).
    TTreeItem* Next(bool all) const;
    // As Next, but never leaving the subtree of top (null after its last node).
    TTreeItem* NextWithin(const TTreeItem* top, bool all) const;
    // True when item is this node or one of its ancestors.
    bool IsSelfOrAncestor(const TTreeItem* item) const;

    // The label through a 512-byte buffer, as the painter builds it.
    std::string LabelText() const;
    TTreeRowPaint GetRowPaint() const;

protected:
    // Owner notifications, each doing nothing without an owner.
    void TellChanged();
    void TellAncestorsChanged();
    void TellItemsChanged(TEnhancedListItem* item);
    void TellStructureChanged();

private:
    // Pointer surgery without notifications.
    void Unlink();
    // Tells the list its shape changed.
    static void Reshaped(TTreeList* list);
    void LinkBefore(TTreeItem* sibling);
    void LinkAfter(TTreeItem* sibling);

    TTreeItem* prevSibling = nullptr;
    TTreeItem* nextSibling = nullptr;
    TTreeItem* firstChild = nullptr;
    TTreeItem* parent = nullptr;
    TTreeList* owner = nullptr;
    bool expanded = false;
    bool marked = false;

    friend class TTreeList;
};

class TTreeList : public TEnhancedList {
public:
    TTreeList() = default;
    ~TTreeList() override;

    TTreeItem* GetRoot() const { return root; }
    // Destroys the old tree, keeps item as root and makes this list the owner of every node.
    void SetRoot(TTreeItem* item);

    // Visible rows, counted from the root.
    virtual uint32_t GetCount() const;
    // 1-based over visible rows; 0 or past the end gives null.
    virtual TTreeItem* GetItem(uint32_t index) const;
    // The 1-based visible row of item; 0 for null or a hidden item.
    virtual uint32_t IndexOf(const TTreeItem* item) const;
    // The widest visible row.
    virtual int GetMaxWidth(int cellWidth, const TTextWidth& textWidth) const;
    // Changes with every node linked into, moved within or taken out of the tree, so that an
    // index kept beside it knows when to be built again.
    uint64_t ShapeVersion() const { return shape; }

private:
    TTreeItem* root = nullptr;
    uint64_t shape = 0;

    friend class TTreeItem;
};
