// The tree windows' selection, arrow-key and drag rules over a real envelope tree.
#include <gtest/gtest.h>

#include <string>

#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/envelopes/EnvelopeTestSupport.h"
#include "views/TreeSelection.h"

using namespace envtest;

namespace {

class TreeSelectionTest : public ::testing::Test {
protected:
    TScriptedEnvelopeDialogs dialogs;
    TEnvelopeList list;
    TFakeStore store{list};
    TTreeSelection selection{list};

    void SetUp() override {
        // Rows 2 to 8 under the root: envelopes E7 (row 2) down to E1 (row 8), newest first.
        for (int i = 1; i <= 7; ++i)
            ASSERT_TRUE(list.GetEnvelopeRoot()->NewEnvelope("E" + std::to_string(i)));
        list.GetRoot()->SetExpanded(true);
    }
    TTreeItem* Row(uint32_t row) { return list.GetItem(row); }
    // The selected rows in selection order, as "3,5".
    std::string Rows() {
        std::string out;
        for (TTreeItem* item : selection.Items())
            out += (out.empty() ? "" : ",") + std::to_string(list.IndexOf(item));
        return out;
    }
    TEnvelopeNode* Node(const std::string& name) { return list.FindByName(name); }
    TEnvelopeNode* NewContainer(bool bundle, const std::string& name) {
        dialogs.properties.push_back({{name}});
        TEnvelopeNode* root = list.GetEnvelopeRoot();
        EXPECT_TRUE(bundle ? root->NewBundle() : root->NewAssociation());
        return Node(name);
    }
};

TEST_F(TreeSelectionTest, CtrlAndShiftClicksFollowTheAnchorAndTheFirstSelected) {
    selection.Press(Row(3), true, false);
    selection.Release(Row(3), true, false);
    selection.Press(Row(3), true, false);  // the only one: stays, and is the anchor again
    EXPECT_EQ(Rows(), "3");
    EXPECT_EQ(selection.Anchor(), Row(3));
    selection.Press(Row(5), true, false);
    selection.Press(Row(5), true, false);  // one of two: leaves
    EXPECT_EQ(Rows(), "3");
    selection.Press(Row(5), true, false);
    selection.Press(Row(7), false, true);
    EXPECT_EQ(Rows(), "3,4,5,6,7");
    EXPECT_EQ(selection.Anchor(), Row(7));
    selection.Press(Row(2), false, true);  // upward from the first selected, others dropped
    EXPECT_EQ(Rows(), "3,2");

    // A plain press on a selected row keeps the selection for a drag; the release narrows it.
    selection.Press(Row(2), false, false);
    EXPECT_EQ(Rows(), "3,2");
    selection.Release(Row(2), false, false);
    EXPECT_EQ(Rows(), "2");
    EXPECT_EQ(selection.Anchor(), nullptr);
    selection.Press(Row(4), true, false);
    selection.Release(nullptr, false, false);  // over no row: the first selected remains
    EXPECT_EQ(Rows(), "2");
    selection.Press(Row(6), false, false);
    EXPECT_EQ(Rows(), "6");
    selection.ContextPress(Row(6));
    EXPECT_EQ(Rows(), "6");
    selection.ContextPress(Row(8));
    EXPECT_EQ(Rows(), "8");
}

TEST_F(TreeSelectionTest, ArrowsReduceTheSelectionToOneRowAndMoveIt) {
    EXPECT_EQ(selection.Step(-1), Row(1));
    selection.Clear();
    EXPECT_EQ(selection.Step(+1), Row(2));
    selection.SelectOnly(Row(8));
    EXPECT_EQ(selection.Step(+1), Row(8));
    selection.Press(Row(4), false, false);
    selection.Press(Row(6), true, false);
    selection.Step(+1);
    EXPECT_EQ(Rows(), "5");
    // A selected row that a collapse hid counts as none.
    TEnvelopeNode* bundle = NewContainer(true, "B");
    bundle->Drop(Row(2));
    bundle->SetExpanded(false);
    selection.SelectOnly(bundle->GetFirstChild());
    EXPECT_EQ(selection.Step(-1), Row(1));
}

TEST_F(TreeSelectionTest, DropsArriveLastSelectedFirstWhereTheTargetTakesThemAll) {
    TEnvelopeNode* bundle = NewContainer(true, "Bills");
    TEnvelopeNode* association = NewContainer(false, "Pair");
    selection.Press(Node("E2"), false, false);
    selection.Press(Node("E5"), true, false);
    selection.Press(Node("E1"), true, false);
    EXPECT_EQ(selection.Cursor(bundle), TDragCursor::Several);
    EXPECT_EQ(selection.Cursor(nullptr), TDragCursor::NoDrop);
    EXPECT_TRUE(selection.Drop(bundle));
    EXPECT_EQ(Children(bundle), "E2,E5,E1");
    EXPECT_EQ(selection.Anchor(), nullptr);
    EXPECT_FALSE(selection.Drop(bundle));  // no press since: no anchor, nothing dropped

    // Onto an association an envelope leaves an alias and stays where it was.
    selection.Press(Node("E5"), false, false);
    selection.Release(Node("E5"), false, false);
    selection.Press(Node("E5"), false, false);
    EXPECT_EQ(selection.Cursor(association), TDragCursor::One);
    EXPECT_TRUE(selection.Drop(association));
    EXPECT_EQ(Children(association), "E5 [alias]");
    EXPECT_EQ(Node("E5")->GetParent(), bundle);

    // An association onto a bundle is refused, and so is a mixed set one member spoils.
    selection.Press(association, false, false);
    EXPECT_EQ(selection.Cursor(bundle), TDragCursor::NoDrop);
    selection.Press(Node("E3"), true, false);
    EXPECT_FALSE(selection.Drop(bundle));
    EXPECT_EQ(association->GetParent(), list.GetRoot());
    EXPECT_EQ(Node("E3")->GetParent(), list.GetRoot());

    // A node going away leaves the selection and the anchor.
    EXPECT_TRUE(selection.Forget(Node("E3")));
    EXPECT_EQ(selection.Anchor(), nullptr);
    EXPECT_FALSE(selection.Forget(Node("E3")));
}

TEST(TreeGeometryTest, PointsFallOnRowsAndCellsAndOutsidePointsScrollTowardThem) {
    const TListHit hit = HitTest(37, 5, 0, 40, 18, 18);
    EXPECT_EQ(hit.row, 3u);
    EXPECT_EQ(hit.column, 3);
    EXPECT_EQ(HitTest(-20, -1, 0, 0, 18, 18).row, 0u);
    const TScrollStep step = AutoScrollStep(-3, 120, 100, 100);
    EXPECT_EQ(step.dx, -1);
    EXPECT_EQ(step.dy, 1);
    EXPECT_EQ(AutoScrollStep(50, 50, 100, 100).dx, 0);
}

}  // namespace
