#include "core/TreeItem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TarnStringList.h"

namespace {

int destroyed = 0;

// Leaves sort in front of groups, newest first; groups after leaves, newest in front of older
// groups: the rules both budget trees follow.
class TNode : public TTreeItem {
public:
    TNode(std::string name, bool group, TTreeList* owner = nullptr)
        : TTreeItem(owner), name(std::move(name)), group(group) {}
    ~TNode() override { ++destroyed; }
    void GetLabel(char* buffer, size_t capacity) const override {
        CopyToBuffer(buffer, capacity, name);
    }
    const char* GetBitmap(int) const override { return nullptr; }
    bool SortsBefore(const TTreeItem* item) const override {
        auto* other = dynamic_cast<const TNode*>(item);
        return !group && other && other->group;
    }
    std::string name;
    bool group;
};

// A node that accepts anything, to show the tree still refuses cycles.
class TCareless : public TNode {
public:
    using TNode::TNode;
    bool CanDrop(TEnhancedListItem*) override { return true; }
    bool CanInsertBefore(TTreeItem*) override { return true; }
};

class TRecordingList : public TTreeList {
public:
    void StructureChanged() override { log.push_back("structure"); }
    void ItemChanged(TEnhancedListItem* item) override {
        log.push_back("changed " + Name(item));
        TTreeList::ItemChanged(item);
    }
    void ItemsChanged(TEnhancedListItem* item) override {
        log.push_back("items " + Name(item));
        TTreeList::ItemsChanged(item);
    }
    void ItemRemoved(TEnhancedListItem* item) override {
        log.push_back("removed");
        TTreeList::ItemRemoved(item);
    }
    static std::string Name(TEnhancedListItem* item) {
        auto* n = dynamic_cast<TNode*>(item);
        return n ? n->name : "?";
    }
    std::vector<std::string> log;
};

class TWindow : public TListWindowPort {
public:
    void ItemChanged(TEnhancedListItem*) override { ++changed; }
    void ItemsChanged(TEnhancedListItem*) override { ++itemsChanged; }
    void ItemRemoved(TEnhancedListItem* item) override { removed.push_back(item); }
    int changed = 0, itemsChanged = 0;
    std::vector<TEnhancedListItem*> removed;
};

std::string Children(const TTreeItem* parent) {
    std::string out;
    for (TTreeItem* c = parent->GetFirstChild(); c; c = c->GetNextSibling()) {
        if (!out.empty()) out += ",";
        out += static_cast<TNode*>(c)->name;
        // The back links must agree with the forward ones.
        EXPECT_EQ(c->GetParent(), parent);
        if (c->GetNextSibling()) {
            EXPECT_EQ(c->GetNextSibling()->GetPrevSibling(), c);
        }
    }
    if (parent->GetFirstChild()) {
        EXPECT_EQ(parent->GetFirstChild()->GetPrevSibling(), nullptr);
    }
    return out;
}

std::string Walk(const TTreeList& list, bool all) {
    std::string out;
    for (TTreeItem* n = list.GetRoot(); n; n = n->Next(all)) {
        if (!out.empty()) out += ",";
        out += static_cast<TNode*>(n)->name;
    }
    return out;
}

TEST(TreeItemTest, ChildrenAreOrderedByTheirOwnSortsBefore) {
    TRecordingList list;
    auto* root = new TNode("R", true);
    list.SetRoot(root);
    auto* a = new TNode("A", false);
    auto* b = new TNode("B", false);
    auto* g = new TNode("G", true);
    auto* h = new TNode("H", true);
    root->AddChild(a);
    root->AddChild(b);
    EXPECT_EQ(Children(root), "B,A");
    root->AddChild(g);
    EXPECT_EQ(Children(root), "B,A,G");
    root->AddChild(h);
    EXPECT_EQ(Children(root), "B,A,H,G");
    EXPECT_EQ(a->GetOwner(), &list);  // nodes linked in take the tree's owner

    // Moving a leaf into a group detaches it from the root first.
    list.log.clear();
    g->AddChild(a);
    EXPECT_EQ(Children(root), "B,H,G");
    EXPECT_EQ(Children(g), "A");
    // Detach: ancestors, the node that took its place, structure; then AddChild's own.
    std::vector<std::string> expected = {"changed R", "items B",   "structure",
                                         "items G",   "changed R", "structure"};
    EXPECT_EQ(list.log, expected);
}

TEST(TreeItemTest, NoNodeIsPlacedInsideItself) {
    TTreeList list;
    auto* root = new TCareless("R", true);
    list.SetRoot(root);
    auto* g = new TCareless("G", true);
    auto* inner = new TCareless("I", true);
    auto* leaf = new TCareless("L", false);
    root->AddChild(g);
    g->AddChild(inner);
    inner->AddChild(leaf);

    inner->AddChild(g);      // into its own subtree
    inner->AddChild(inner);  // into itself
    leaf->AddChild(root);
    g->AddChild(nullptr);
    leaf->InsertBefore(g);  // before a node inside its own subtree
    leaf->InsertBefore(leaf);
    g->InsertBefore(root);
    EXPECT_EQ(Walk(list, true), "R,G,I,L");
    EXPECT_EQ(root->GetParent(), nullptr);

    // The plain node's own check says the same.
    TNode plain("P", true);
    TNode child("C", false);
    plain.AddChild(&child);
    EXPECT_FALSE(child.CanDrop(&plain));
    EXPECT_FALSE(plain.CanDrop(&plain));
    EXPECT_TRUE(plain.CanDrop(&child));
    child.Detach();
}

TEST(TreeItemTest, InsertBeforeMovesAcrossParents) {
    TRecordingList list;
    auto* root = new TNode("R", true);
    list.SetRoot(root);
    auto* g1 = new TNode("G1", true);
    auto* g2 = new TNode("G2", true);
    root->AddChild(g1);
    root->AddChild(g2);
    auto* x = new TNode("X", false);
    auto* y = new TNode("Y", false);
    auto* z = new TNode("Z", false);
    g1->AddChild(x);
    g2->AddChild(y);
    g2->AddChild(z);  // G2: Z, Y
    EXPECT_EQ(Children(g2), "Z,Y");

    list.log.clear();
    y->InsertBefore(x);
    EXPECT_EQ(Children(g1), "");
    EXPECT_EQ(Children(g2), "Z,X,Y");
    EXPECT_EQ(list.log.back(), "items X");

    z->InsertBefore(y);  // before the first child: becomes the first child
    EXPECT_EQ(Children(g2), "Y,Z,X");

    // The root has no parent, so nothing can go before it.
    EXPECT_FALSE(root->CanInsertBefore(x));
    root->InsertBefore(x);
    EXPECT_EQ(x->GetParent(), g2);
    EXPECT_FALSE(x->CanInsertBefore(x));
}

TEST(TreeItemTest, DetachKeepsChildrenAndFixesLinks) {
    TRecordingList list;
    auto* root = new TNode("R", true);
    list.SetRoot(root);
    auto* g = new TNode("G", true);
    auto* a = new TNode("A", false);
    auto* b = new TNode("B", false);
    root->AddChild(g);
    root->AddChild(a);
    root->AddChild(b);  // B, A, G
    auto* inner = new TNode("I", false);
    g->AddChild(inner);

    list.log.clear();
    b->Detach();  // the first child: the parent's first-child link moves on
    EXPECT_EQ(Children(root), "A,G");
    EXPECT_EQ(b->GetParent(), nullptr);
    std::vector<std::string> expected = {"changed R", "items R", "structure"};
    EXPECT_EQ(list.log, expected);

    list.log.clear();
    g->Detach();  // the last child: its previous sibling takes its place
    EXPECT_EQ(Children(root), "A");
    EXPECT_EQ(Children(g), "I");
    expected = {"changed R", "items A", "structure"};
    EXPECT_EQ(list.log, expected);

    list.log.clear();
    g->Detach();  // nothing to do without a parent
    EXPECT_TRUE(list.log.empty());
    delete b;
    delete g;
}

TEST(TreeItemTest, VisibleRowsFollowExpansion) {
    TTreeList list;
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetItem(1), nullptr);
    auto* root = new TNode("R", true);
    root->SetExpanded(true);
    list.SetRoot(root);
    auto* g = new TNode("G", true);
    g->SetExpanded(true);
    auto* a = new TNode("A", false);
    auto* b = new TNode("B", false);
    auto* c = new TNode("C", false);
    root->AddChild(g);
    root->AddChild(c);
    g->AddChild(a);
    g->AddChild(b);
    EXPECT_EQ(Walk(list, false), "R,C,G,B,A");
    EXPECT_EQ(list.GetCount(), 5u);
    EXPECT_EQ(list.GetItem(0), nullptr);
    EXPECT_EQ(list.GetItem(1), root);
    EXPECT_EQ(list.GetItem(5), a);
    EXPECT_EQ(list.GetItem(6), nullptr);
    EXPECT_EQ(list.IndexOf(a), 5u);
    EXPECT_EQ(list.IndexOf(nullptr), 0u);

    // Double-clicking the icon cell of G (depth 2, so column 3) collapses it.
    g->DoubleClick(2);
    g->DoubleClick(4);
    EXPECT_TRUE(g->IsExpanded());
    g->DoubleClick(3);
    EXPECT_FALSE(g->IsExpanded());
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.IndexOf(a), 0u);
    EXPECT_EQ(list.GetItem(3), g);
    EXPECT_EQ(Walk(list, true), "R,C,G,B,A");
    c->DoubleClick(3);  // a leaf has nothing to expand
    EXPECT_FALSE(c->IsExpanded());

    TNode loose("L", false);
    EXPECT_EQ(list.IndexOf(&loose), 0u);

    // NextWithin stays inside the subtree it is given.
    EXPECT_EQ(b->NextWithin(g, true), a);
    EXPECT_EQ(a->NextWithin(g, true), nullptr);
    EXPECT_EQ(a->Next(true), nullptr);
}

TEST(TreeItemTest, DepthWidthAndRowDescription) {
    TTreeList list;
    auto* root = new TNode("Root", true);
    root->SetExpanded(true);
    list.SetRoot(root);
    auto* g1 = new TNode("G1", true);
    auto* g2 = new TNode("G2", true);
    root->AddChild(g1);
    root->AddChild(g2);  // G2 before G1
    auto* leaf = new TNode("Leaf", false);
    auto* other = new TNode("Other", false);
    g2->AddChild(leaf);
    g2->AddChild(other);  // Other, Leaf
    EXPECT_EQ(root->GetDepth(), 1);
    EXPECT_EQ(leaf->GetDepth(), 3);

    auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
    EXPECT_EQ(leaf->GetWidth(16, width), 4 * 16 + 28 + 4);
    EXPECT_EQ(list.GetMaxWidth(16, width), 3 * 16 + 2 * 7 + 4);  // only visible rows count
    g2->SetExpanded(true);
    EXPECT_EQ(list.GetMaxWidth(16, width), 4 * 16 + 5 * 7 + 4);

    TTreeRowPaint row = root->GetRowPaint();
    EXPECT_EQ(row.depth, 1);
    EXPECT_EQ(row.branch, 0);
    EXPECT_EQ(row.icon, 7);
    EXPECT_TRUE(row.guideLine.empty());
    EXPECT_EQ(row.label, "Root");

    row = leaf->GetRowPaint();  // last child of G2, which has a sibling (G1) after it
    EXPECT_EQ(row.depth, 3);
    EXPECT_EQ(row.guideLine, (std::vector<bool>{false, true}));
    EXPECT_EQ(row.branch, 3);
    EXPECT_EQ(row.icon, 5);
    EXPECT_FALSE(row.mark);

    other->SetMarked(true);
    row = other->GetRowPaint();
    EXPECT_EQ(row.branch, 2);
    EXPECT_TRUE(row.mark);

    row = g1->GetRowPaint();  // no children, last child of the root
    EXPECT_EQ(row.guideLine, (std::vector<bool>{false}));
    EXPECT_EQ(row.branch, 3);
    EXPECT_EQ(row.icon, 5);
    g2->SetExpanded(false);
    EXPECT_EQ(g2->GetRowPaint().icon, 6);
}

TEST(TreeItemTest, DestructionTellsWindowsAndFreesWholeTrees) {
    TTreeList list;
    TWindow window, second;
    list.AttachWindow(&window);
    list.AttachWindow(&window);  // attached once only
    list.AttachWindow(&second);
    EXPECT_EQ(list.Windows().size(), 2u);

    auto* root = new TNode("R", true);
    list.SetRoot(root);
    auto* g = new TNode("G", true);
    auto* a = new TNode("A", false);
    root->AddChild(g);
    g->AddChild(a);
    EXPECT_GT(window.itemsChanged, 0);
    list.DetachWindow(&second);

    destroyed = 0;
    g->Detach();
    delete g;
    EXPECT_EQ(destroyed, 2);
    ASSERT_EQ(window.removed.size(), 2u);
    EXPECT_EQ(window.removed[0], g);  // the node first, then its children
    EXPECT_TRUE(second.removed.empty());

    // Deleting a node still in the tree unlinks it rather than leaving a dangling child.
    auto* b = new TNode("B", false);
    auto* c = new TNode("C", false);
    root->AddChild(b);
    root->AddChild(c);
    delete b;
    EXPECT_EQ(Children(root), "C");

    // A new root replaces and destroys the old tree; every new node is owned by the list.
    auto* newRoot = new TNode("N", true);
    auto* kid = new TNode("K", false);
    newRoot->AddChild(kid);
    EXPECT_EQ(kid->GetOwner(), nullptr);
    destroyed = 0;
    list.SetRoot(newRoot);
    EXPECT_EQ(destroyed, 2);  // R and C
    EXPECT_EQ(kid->GetOwner(), &list);

    // A root taken from inside the old tree survives the old tree's destruction.
    auto* deep = new TNode("D", false);
    kid->AddChild(deep);
    list.SetRoot(deep);
    EXPECT_EQ(list.GetRoot(), deep);
    EXPECT_EQ(deep->GetParent(), nullptr);
    EXPECT_EQ(Walk(list, true), "D");

    // A very deep chain is destroyed without running out of stack.
    TTreeItem* top = new TNode("bottom", true);
    for (int i = 0; i < 200000; ++i) {
        auto* above = new TNode("n", true);
        above->AddChild(top);
        top = above;
    }
    destroyed = 0;
    list.SetRoot(top);
    EXPECT_EQ(destroyed, 1);
    destroyed = 0;
    list.SetRoot(nullptr);
    EXPECT_EQ(destroyed, 200001);
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST(TreeItemTest, WindowsMayDetachWhileBeingTold) {
    TTreeList list;
    struct TSelfDetaching : TWindow {
        TTreeList* list = nullptr;
        void ItemChanged(TEnhancedListItem* item) override {
            TWindow::ItemChanged(item);
            list->DetachWindow(this);
        }
    } first, second;
    first.list = second.list = &list;
    list.AttachWindow(&first);
    list.AttachWindow(&second);
    TNode node("X", false);
    list.ItemChanged(&node);
    EXPECT_EQ(first.changed, 1);
    EXPECT_EQ(second.changed, 1);
    EXPECT_TRUE(list.Windows().empty());
}

}  // namespace
