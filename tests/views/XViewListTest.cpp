#include "views/XViewList.h"

#include "tests/transactions/XBudgetFixture.h"
#include "transactions/EditableFilter.h"

namespace {

class XViewListTest : public xtest::XBudgetTest {
protected:
    // n transactions of the checking account on successive days, payable to "P0", "P1", ...
    void AddPayments(int n, int first = 0) {
        TXManager::TBulkPosting bulk(Store());
        for (int i = first; i < first + n; ++i) {
            TXItem* row = NewRow(XAccount, checking, food,
                                 TDate(1 + i % 28, 1 + i / 28 % 12, 2000 + i / 336));
            row->SetCellText(XColPayableTo, "P" + std::to_string(i));
            row->SetCellText(XColPayment, "1.00");
            Store().Release(row);
        }
    }
    std::unique_ptr<TXViewList> AccountList() {
        TXRecord blank;
        blank.Init(today);
        blank.flags = XNewAccountRecord;
        blank.account = checking;
        blank.envelope = food;
        auto list = std::make_unique<TXViewList>(
            Store(), std::make_unique<TEditableFilter>(17, checking), blank);
        list->SetRowsChanged([this](uint32_t row) { changes.push_back(row); });
        return list;
    }
    std::string Payee(TXViewList& list, uint32_t row) {
        return list.GetRow(row)->GetCellText(XColPayableTo);
    }
    // Slots in use that hold no committed record.
    uint32_t Uncommitted() {
        uint32_t n = 0;
        for (uint32_t p = 1; p <= Store().GetCount(); ++p)
            n += !Store().RecordAt(p).IsFree() && !Store().RecordAt(p).IsCommitted();
        return n;
    }
    std::vector<uint32_t> changes;
};

}  // namespace

TEST_F(XViewListTest, LoadAtEndShowsTheLast125ThenBlankRowsAndScrolls) {
    AddPayments(400);
    auto list = AccountList();
    list->LoadAtEnd();
    EXPECT_EQ(list->GetUsedCount(), 125u);
    EXPECT_EQ(Payee(*list, 1), "P275");
    EXPECT_EQ(Payee(*list, 125), "P399");
    EXPECT_FALSE(list->GetRow(126)->Record().IsCommitted());
    EXPECT_EQ(list->GetRow(250)->Record().account, checking);
    EXPECT_EQ(Store().CountItemsOut(), 250u);  // the window, whatever the store holds

    EXPECT_EQ(list->ScrollUp(100), 100u);
    EXPECT_EQ(Payee(*list, 1), "P175");
    EXPECT_EQ(Payee(*list, 225), "P399");
    EXPECT_EQ(list->ScrollDown(150), 150u);  // the matches run out into new blank rows
    EXPECT_EQ(Payee(*list, 1), "P325");
    EXPECT_EQ(list->GetUsedCount(), 75u);
    EXPECT_EQ(Store().CountItemsOut(), 250u);

    const uint32_t first = list->GetFirstPosition();
    EXPECT_EQ(list->JumpTo(first), JumpTop);
    EXPECT_EQ(list->JumpTo(Store().GetCount() + 1), JumpEnd);
    EXPECT_EQ(list->JumpTo(first + 10), JumpStarts);
    EXPECT_EQ(Payee(*list, 1), Store().RecordAt(first + 10).GetPayableTo());
    EXPECT_EQ(list->GetPosition(1), first + 10);
    EXPECT_EQ(list->GetUsedCount(), 250u);
}

TEST_F(XViewListTest, BlankRowsLeaveNoRecordUnlessTypedInto) {
    auto list = AccountList();
    list->LoadAtEnd();
    EXPECT_EQ(list->GetUsedCount(), 0u);
    EXPECT_EQ(Uncommitted(), 250u);
    list->GetRow(1)->SetCellText(XColPayableTo, "Grocer");
    list->GetRow(1)->SetCellText(XColPayment, "12.50");
    EXPECT_EQ(Balance(checking), -1250);
    list->ReleaseRows();
    EXPECT_EQ(Uncommitted(), 0u);
    EXPECT_EQ(Store().Count(TAccountFilter(checking)), 1u);
    EXPECT_EQ(Store().CountItemsOut(), 0u);
    ExpectSound();
}

TEST_F(XViewListTest, StoreChangesReachTheWindow) {
    AddPayments(5);
    auto list = AccountList();
    list->LoadFrom(nullptr);
    list->GetRow(3)->SetCellText(XColMemo, "note");
    EXPECT_EQ(changes, std::vector<uint32_t>{3});

    // Deleting the first row reloads from the second.
    list->DeleteRow(1);
    EXPECT_EQ(changes.back(), 0u);
    EXPECT_EQ(Payee(*list, 1), "P1");
    EXPECT_EQ(Balance(checking), -400);

    // A record added elsewhere to the window's account reloads it; one of another account not.
    changes.clear();
    TXItem* other = NewRow(XAccount, savings, spare);
    other->SetCellText(XColDeposit, "3.00");
    Store().NotifyAdded(other);
    EXPECT_TRUE(changes.empty());
    TXItem* added = NewRow(XAccount, checking, food);
    added->SetCellText(XColDeposit, "7.00");
    Store().NotifyAdded(added);
    EXPECT_EQ(changes, std::vector<uint32_t>{0});
    EXPECT_EQ(list->RowOf(added), 5u);  // after P1 to P4
    Store().Release(added);
    Store().Release(other);
    EXPECT_FALSE(list->AnyRowMatches(TEnvelopeNoTransferFilter()));
    ExpectSound();
}
