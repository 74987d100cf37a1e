// A template's items as rows of the property dialog's grid: what the cells show and take, the
// 150-row window with its blank rows, and the order the items are kept in.
#include <gtest/gtest.h>

#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/XTemplate.h"

namespace {

class TTotals : public TXTemplateView {
public:
    std::vector<std::string> shown;
    void TotalChanged(const std::string& total) override { shown.push_back(total); }
};

// Envelopes Food, Rent and Spare, in that order in the tree.
class XTemplateGridTest : public ::testing::Test {
protected:
    TQuilletData doc;
    TXTemplate t;
    uint32_t food = 0, rent = 0, spare = 0;

    void SetUp() override {
        TQuilletData::SetCurrent(&doc);
        // A new envelope goes first under the root.
        for (const char* name : {"Spare", "Rent", "Food"})
            ASSERT_TRUE(doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope(name));
        food = doc.GetEnvelopes().FindId("Food");
        rent = doc.GetEnvelopes().FindId("Rent");
        spare = doc.GetEnvelopes().FindId("Spare");
    }
    void TearDown() override { TQuilletData::SetCurrent(nullptr); }
    TXTemplateList& Items() { return t.GetItems(); }
};

TEST_F(XTemplateGridTest, TypedAmountsAndEnvelopes) {
    TTotals totals;
    t.SetOpenDialog(&totals);
    TXTemplateItem* item = Items().Append(food, 0, "");

    item->SetCellText(XTColDeposit, "12.345");
    EXPECT_EQ(item->GetAmount(), 1235);
    item->SetCellText(XTColPayment, "12.345");
    EXPECT_EQ(item->GetAmount(), -1235);
    EXPECT_EQ(item->GetCellText(XTColPayment), "12.35");
    EXPECT_EQ(item->GetCellText(XTColDeposit), "0.00");
    item->SetCellText(XTColDeposit, "19,999,999.99");
    EXPECT_EQ(item->GetAmount(), 1999999999);
    EXPECT_EQ(item->GetCellText(XTColDeposit), "19,999,999.99");
    item->SetCellText(XTColPayment, "20,000,000");
    EXPECT_EQ(item->GetAmount(), 0);
    item->SetCellText(XTColDeposit, "4.5*2");
    EXPECT_EQ(item->GetAmount(), 900);

    // Names are found without regard to case; an unknown one leaves no envelope, shown as
    // "None" and left out of the total.
    Items().Append(rent, -250, "");
    item->SetCellText(XTColEnvelope, "rent");
    EXPECT_EQ(item->GetEnvelope(), rent);
    item->SetCellText(XTColEnvelope, "Nowhere");
    EXPECT_EQ(item->GetEnvelope(), 0u);
    EXPECT_EQ(item->GetCellText(XTColEnvelope), "None");
    EXPECT_EQ(t.TotalText(), "-2.50");
    EXPECT_EQ(totals.shown.back(), "-2.50");
    EXPECT_EQ(totals.shown.size(), 7u);  // one per edit

    auto editor = item->CreateEditor(XTColEnvelope, EditWithValue);
    ASSERT_TRUE(editor && editor->choices);
    EXPECT_EQ(editor->kind, TCellEditorKind::StringList);
    EXPECT_EQ(editor->choices->Items(), (std::vector<std::string>{"Food", "Rent", "Spare"}));
}

TEST_F(XTemplateGridTest, DescriptionsExpandTheirCodes) {
    TXTemplateItem* item = Items().Append(rent, 0, "~e rent ~q");
    EXPECT_EQ(item->GetCellText(XTColDescription), "Rent rent error");
    // The editor holds the codes as typed.
    EXPECT_EQ(item->CreateEditor(XTColDescription, EditWithValue)->text, "~e rent ~q");

    item->SetDescription("Pay ~a on ~c");
    EXPECT_EQ(item->GetCellText(XTColDescription), "Pay <account> on <creation date>");
    // Five pieces at most; the result is cut to 89 characters.
    item->SetDescription("n~x~i~p~r~e");
    EXPECT_EQ(item->GetCellText(XTColDescription),
              "n<transaction id><instances><transaction position><reconcile date>");
    item->SetDescription("~e" + std::string(100, 'z'));
    EXPECT_EQ(item->GetDescription().size(), 89u);
    EXPECT_EQ(item->GetCellText(XTColDescription), "Rent" + std::string(85, 'z'));
}

TEST_F(XTemplateGridTest, TheWindowEndsWithBlankRowsThatAreDroppedAgain) {
    for (int i = 0; i < 200; ++i)
        Items().Append(rent, i + 1, "");
    Items().LoadAtEnd();
    EXPECT_EQ(Items().GetRowCount(), 150u);
    EXPECT_EQ(Items().GetUsedCount(), 125u);
    EXPECT_EQ(Items().GetStoredCount(), 200u);
    EXPECT_EQ(Items().GetRowItem(1)->GetAmount(), 76);
    EXPECT_EQ(Items().GetRowItem(125)->GetAmount(), 200);
    TXTemplateItem* blank = Items().GetRowItem(126);
    EXPECT_TRUE(blank->IsBlank());
    EXPECT_EQ(blank->GetEnvelope(), food);  // the first envelope of the tree
    EXPECT_EQ(Items().GetCount(), 225u);

    // Typing into a blank row makes an item; the other blanks go, and the items are sorted.
    blank->SetCellText(XTColPayment, "5");
    EXPECT_EQ(Items().ScrollDown(10), 0u);  // already at the end
    EXPECT_EQ(Items().ScrollUp(30), 30u);
    EXPECT_EQ(Items().GetCount(), 201u);
    EXPECT_EQ(Items().GetAt(0)->GetAmount(), -500);  // Food sorts before Rent
    EXPECT_EQ(Items().GetRowItem(1)->GetAmount(), 45);
    EXPECT_EQ(Items().GetUsedCount(), 150u);

    EXPECT_EQ(Items().JumpTo(51), JumpStarts);
    EXPECT_EQ(Items().GetRowItem(1)->GetAmount(), 50);
    EXPECT_EQ(Items().GetPosition(1), 51u);
    EXPECT_EQ(Items().JumpTo(202), JumpEnd);
    EXPECT_EQ(Items().GetWindowStart(), 76u);
    Items().DropBlankRows();
    EXPECT_FALSE(Items().IsWindowBuilt());
    EXPECT_EQ(Items().GetCount(), 201u);
}

TEST_F(XTemplateGridTest, DroppingBlankRowsSortsByEnvelopeAndKeepsTheOrderWithinOne) {
    Items().Append(spare, 1, "");
    Items().Append(9999, 2, "");  // no such envelope: first
    Items().Append(rent, 3, "");
    Items().Append(food, 4, "");
    Items().Append(rent, 5, "");
    Items().DropBlankRows();  // no window: nothing happens
    EXPECT_EQ(Items().GetAt(0)->GetAmount(), 1);

    Items().LoadAtTop();
    EXPECT_EQ(Items().GetUsedCount(), 5u);
    Items().GetRowItem(3)->SetCellText(XTColDeposit, "0");  // a stored item emptied is dropped
    Items().GetRowItem(9)->SetDescription("typed");         // a blank row with text is kept
    Items().DropBlankRows();
    std::vector<int32_t> amounts;
    for (uint32_t i = 0; i < Items().GetCount(); ++i)
        amounts.push_back(Items().GetAt(i)->GetAmount());
    EXPECT_EQ(amounts, (std::vector<int32_t>{2, 4, 0, 5, 1}));
    EXPECT_EQ(Items().GetAt(2)->GetDescription(), "typed");
}

}  // namespace
