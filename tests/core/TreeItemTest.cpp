#include "core/TreeItem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TarnStringList.h"
#include "tests/support/Trees.h"

namespace {

int destroyed = 0;

// Leaves sort in front of groups, newest first; groups after leaves, newest in front of older
// groups: the rules both budget trees follow. Careless nodes accept any drop, to show the tree
// itself still refuses cycles.
class TNode : public TTreeItem {
public:
    TNode(std::string name, bool group, bool careless = false)
        : name(std::move(name)), group(group), careless(careless) {}
    ~TNode() override { ++destroyed; }
    void GetLabel(char* buffer, size_t capacity) const override {
        CopyToBuffer(buffer, capacity, name);
    }
    const char* GetBitmap(int) const override { return nullptr; }
    bool SortsBefore(const TTreeItem* item) const override {
        auto* other = dynamic_cast<const TNode*>(item);
        return !group && other && other->group;
    }
    bool CanDrop(TEnhancedListItem* item) override { return careless || TTreeItem::CanDrop(item); }
    bool CanInsertBefore(TTreeItem* item) override {
        return careless || TTreeItem::CanInsertBefore(item);
    }
    std::string name;
    bool group, careless;
};

class TRecordingList : public TTreeList {
public:
    void StructureChanged() override { log.push_back("structure"); }
    void ItemChanged(TEnhancedListItem* item) override { log.push_back("changed " + Name(item)); }
    void ItemsChanged(TEnhancedListItem* item) override { log.push_back("items " + Name(item)); }
    void ItemRemoved(TEnhancedListItem* item) override { log.push_back("removed " + Name(item)); }
    static std::string Name(TEnhancedListItem* item) {
        auto* n = dynamic_cast<TNode*>(item);
        return n ? n->name : "?";
    }
    std::vector<std::string> log;
};

TNode* Add(TTreeItem* parent, std::string name, bool group, bool careless = false) {
    auto* node = new TNode(std::move(name), group, careless);
    parent->AddChild(node);
    return node;
}

std::string Children(const TTreeItem* parent) {
    return ChildNames<TNode>(parent, [](auto* n) { return n->name; });
}

std::string Walk(const TTreeList& list, bool all) {
    std::string out;
    for (TTreeItem* n = list.GetRoot(); n; n = n->Next(all))
        out += (out.empty() ? "" : ",") + static_cast<TNode*>(n)->name;
    return out;
}

TEST(TreeItemTest, SortedInsertionAndItsNotifications) {
    TRecordingList list;
    auto* root = new TNode("R", true);
    list.SetRoot(root);
    TNode* a = Add(root, "A", false);
    Add(root, "B", false);
    TNode* g = Add(root, "G", true);
    Add(root, "H", true);
    EXPECT_EQ(Children(root), "B,A,H,G");
    EXPECT_EQ(a->GetOwner(), &list);

    list.log.clear();
    g->AddChild(a);  // moving detaches first
    EXPECT_EQ(Children(root), "B,H,G");
    std::vector<std::string> expected = {"changed R", "items B",   "structure",  // Detach
                                         "items G",   "changed R", "structure"};
    EXPECT_EQ(list.log, expected);

    list.log.clear();
    a->Detach();  // the first child: its parent takes its place
    EXPECT_EQ(list.log,
              (std::vector<std::string>{"changed G", "changed R", "items G", "structure"}));
    list.log.clear();
    delete a;  // told from the base's destructor, when only the address is left to compare
    EXPECT_EQ(list.log, std::vector<std::string>{"removed ?"});
}

TEST(TreeItemTest, InsertBeforeMovesNodesButNeverIntoThemselves) {
    TTreeList list;
    auto* root = new TNode("R", true, true);
    list.SetRoot(root);
    TNode* g1 = Add(root, "G1", true, true);
    TNode* g2 = Add(root, "G2", true, true);
    TNode* x = Add(g1, "X", false, true);
    TNode* y = Add(g2, "Y", false, true);
    y->InsertBefore(x);  // across parents, becoming the first child
    EXPECT_EQ(Children(g1), "");
    EXPECT_EQ(Children(g2), "X,Y");
    root->InsertBefore(x);  // the root has no parent to take it
    EXPECT_EQ(x->GetParent(), g2);

    // Careless nodes accept anything, yet the tree refuses to place a node inside itself.
    g2->AddChild(root);
    y->AddChild(g2);
    g2->AddChild(g2);
    y->InsertBefore(g2);
    x->InsertBefore(x);
    g1->InsertBefore(root);
    EXPECT_EQ(Walk(list, true), "R,G2,X,Y,G1");
    EXPECT_EQ(root->GetParent(), nullptr);
}

TEST(TreeItemTest, VisibleRowsAndRowDescriptions) {
    TTreeList list;
    EXPECT_EQ(list.GetItem(1), nullptr);
    auto* root = new TNode("Root", true);
    root->SetExpanded(true);
    list.SetRoot(root);
    TNode* g = Add(root, "G", true);
    g->SetExpanded(true);
    TNode* c = Add(root, "C", false);
    TNode* a = Add(g, "A", false);
    Add(g, "B", false);
    EXPECT_EQ(Walk(list, false), "Root,C,G,B,A");
    EXPECT_EQ(list.GetItem(0), nullptr);
    EXPECT_EQ(list.GetItem(5), a);
    EXPECT_EQ(list.GetItem(6), nullptr);
    EXPECT_EQ(list.IndexOf(a), 5u);

    auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
    EXPECT_EQ(list.GetMaxWidth(16, width), 4 * 16 + 7 + 4);  // A or B at depth 3
    TTreeRowPaint row = a->GetRowPaint();                    // last child of G, the last child
    EXPECT_EQ(row.depth, 3);
    EXPECT_EQ(row.guideLine, (std::vector<bool>{false, false}));
    EXPECT_EQ(row.branch, 3);
    EXPECT_EQ(row.icon, 5);
    c->SetMarked(true);
    row = c->GetRowPaint();
    EXPECT_EQ(row.branch, 2);
    EXPECT_TRUE(row.mark);
    EXPECT_EQ(root->GetRowPaint().branch, 0);

    // Double-clicking G's icon cell (its depth plus 1) collapses it; other cells do nothing.
    g->DoubleClick(2);
    g->DoubleClick(3);
    EXPECT_FALSE(g->IsExpanded());
    EXPECT_EQ(g->GetRowPaint().icon, 6);
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.IndexOf(a), 0u);
    EXPECT_EQ(Walk(list, true), "Root,C,G,B,A");
    EXPECT_EQ(list.GetMaxWidth(16, width), 2 * 16 + 4 * 7 + 4);
}

TEST(TreeItemTest, TreesAreDestroyedWhole) {
    TTreeList list;
    auto* root = new TNode("R", true);
    list.SetRoot(root);
    Add(root, "C", false);
    TNode* b = Add(root, "B", false);
    delete b;  // still linked: it unlinks itself
    EXPECT_EQ(Children(root), "C");

    // A root taken from inside the old tree survives the old tree's destruction.
    TNode* deep = Add(Add(root, "K", true), "D", false);
    destroyed = 0;
    list.SetRoot(deep);
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(Walk(list, true), "D");

    // A very deep chain goes without running out of stack.
    TTreeItem* top = new TNode("bottom", true);
    for (int i = 0; i < 200000; ++i) {
        auto* above = new TNode("n", true);
        above->AddChild(top);
        top = above;
    }
    list.SetRoot(top);
    EXPECT_EQ(top->GetOwner(), &list);
    destroyed = 0;
    list.SetRoot(nullptr);
    EXPECT_EQ(destroyed, 200001);
}

}  // namespace
