// The store's work on row objects: sharing, lazy re-sorting, queries, deletion, the bulk
// operations behind account and envelope deletion, and zeroing.
#include "accounts/Account.h"
#include "app/BudgetFile.h"
#include "envelopes/Env.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/Filters.h"
#include "transactions/XList.h"

namespace {

using namespace xtest;

class XManagerOpsTest : public XBudgetTest {
protected:
    TDate Day(int d) { return TDate(d, 5, 2024); }
    std::vector<uint32_t> Order(TXManager& store) {
        std::vector<uint32_t> ids;
        for (uint32_t p = 1; p <= store.GetCount(); ++p)
            if (!store.RecordAt(p).IsFree()) ids.push_back(store.RecordAt(p).id);
        return ids;
    }
    // Every record that names the id as its account or envelope.
    int Naming(uint32_t account, uint32_t envelope) {
        int n = 0;
        for (uint32_t p = 1; p <= Store().GetCount(); ++p) {
            const TXRecord& r = Store().RecordAt(p);
            if (!r.IsFree() &&
                ((account && r.account == account) || (envelope && r.envelope == envelope)))
                ++n;
        }
        return n;
    }
};

class TRecordingList : public TXList {
public:
    using TXList::TXList;
    std::vector<std::string> heard;
    void ItemChanged(TXItem* item) override { heard.push_back("changed " + Id(item)); }
    void ItemDeleted(TXItem* item) override { heard.push_back("deleted " + Id(item)); }
    void ItemAdded(TXItem* item) override { heard.push_back("added " + Id(item)); }
    static std::string Id(TXItem* item) { return std::to_string(item->GetId()); }
};

TEST_F(XManagerOpsTest, RowsAreSharedAndFindTheirPlaceWhenTheLastUserLetsGo) {
    uint32_t a = Typed(checking, food, XColPayment, "1", Day(1));
    uint32_t b = Typed(checking, food, XColPayment, "1", Day(3));
    uint32_t c = Typed(checking, food, XColPayment, "1", Day(5));
    TXItem* first = Store().GetItem(a);
    TXItem* again = Store().GetItem(a);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->GetUsers(), 2);

    first->SetCellText(XColDate, "5/9");
    EXPECT_EQ(Order(Store()), (std::vector<uint32_t>{a, b, c}));
    Store().Release(first);
    EXPECT_EQ(Order(Store()), (std::vector<uint32_t>{a, b, c}));  // still in use
    EXPECT_EQ(Store().CountItemsOut(), 1u);
    Store().Release(again);
    EXPECT_EQ(Order(Store()), (std::vector<uint32_t>{b, c, a}));
    EXPECT_EQ(Store().CountItemsOut(), 0u);
}

TEST_F(XManagerOpsTest, QueriesWalkTheStoreInOrder) {
    uint32_t a = Typed(checking, food, XColPayment, "1", Day(1));
    Typed(savings, spare, XColPayment, "1", Day(2));
    uint32_t b = Typed(checking, food, XColPayment, "1", Day(3));
    uint32_t c = Typed(checking, food, XColPayment, "1", Day(4));
    TAccountFilter inChecking(checking);
    EXPECT_EQ(Store().Count(inChecking), 3u);
    EXPECT_EQ(Store().PositionOfLast(TAccountFilter(savings)), 2u);

    TXItem* first = Store().FindFirst(inChecking);
    TXItem* next = Store().FindNext(first, inChecking);
    TXItem* last = Store().FindLast(inChecking);
    TXItem* back = Store().FindPrevious(last, inChecking);
    TXItem* fromTwo = Store().FindFromPosition(2, inChecking);
    std::vector<uint32_t> found;
    for (TXItem* i : {first, next, last, back, fromTwo}) {
        found.push_back(i->GetId());
        Store().Release(i);
    }
    EXPECT_EQ(found, (std::vector<uint32_t>{a, b, c, b, b}));

    TXGenericList all = Store().CollectMatching(inChecking);
    EXPECT_EQ(all[3]->GetId(), c);
    try {
        all[4];
        ADD_FAILURE() << "indexing beyond the list did not throw";
    } catch (const TXBase& e) {
        EXPECT_STREQ(e.what(), "Attempt to access beyond limit in TXGenericList::operator[].");
    }
    all = TXGenericList(Store());
    EXPECT_EQ(Store().CountItemsOut(), 0u);
}

TEST_F(XManagerOpsTest, DeletingTellsViewsAndGivesTheIdToTheNextRecord) {
    TRecordingList view(Store());
    Typed(checking, food, XColPayment, "5");
    uint32_t gone = Typed(checking, rent, XColPayment, "7");
    view.heard.clear();

    // A view still holds the row: it outlives the deletion but no longer reaches the store.
    TXItem* held = Store().GetItem(gone);
    Store().Delete(Store().GetItem(gone));
    EXPECT_EQ(view.heard.front(), "deleted " + std::to_string(gone));
    EXPECT_EQ(Store().FindRecord(gone), nullptr);
    EXPECT_EQ(Balances(), "-500 0 | -500 0 0");
    held->SetCellText(XColPayment, "9");
    EXPECT_EQ(Balances(), "-500 0 | -500 0 0");
    Store().Release(held);

    TXItem* fresh = NewRow(XAccount, checking, food);
    EXPECT_EQ(fresh->GetId(), gone);
    Store().Release(fresh);

    // Zeroing announces the record it adds.
    view.heard.clear();
    Store().AddEnvelopeTransfer(food, spare, 500, today);
    EXPECT_NE(std::find(view.heard.begin(), view.heard.end(),
                        "added " + std::to_string(Store().GetLastId())),
              view.heard.end());
}

TEST_F(XManagerOpsTest, DeletingAnAccountTakesItsTransactionsAndKeepsTheOtherSideOfTransfers) {
    TRecordingWindows views;
    Typed(checking, food, XColDeposit, "100");
    Typed(checking, rent, XColPayment, "30");
    Multiple(checking, {{food, -1000}, {rent, -500}});
    AccountTransfer(checking, savings, 2000);  // Savings gains 20.00 from Checking
    Typed(savings, spare, XColDeposit, "50");
    ExpectSound();
    TAccount* account = doc.GetAccounts().GetAccount(checking);

    ui.answers = {TMsgResult::No, TMsgResult::Yes};
    EXPECT_FALSE(account->Delete());
    EXPECT_EQ(ui.messages.back().text.rfind("Deleting an account can significantly change", 0), 0u);
    EXPECT_EQ(Store().Count(TAccountFilter(checking)), 4u);

    EXPECT_TRUE(account->Delete());
    EXPECT_EQ(views.accountsClosed, std::vector<uint32_t>{checking});
    EXPECT_EQ(Naming(checking, 0), 0);
    // The transfer's other half keeps its money, now assigned to Savings' default envelope.
    EXPECT_EQ(Balance(savings), 7000);  // Checking is gone
    EXPECT_EQ((std::vector<int64_t>{EnvBalance(food), EnvBalance(rent), EnvBalance(spare)}),
              (std::vector<int64_t>{0, 0, 7000}));
    EXPECT_EQ(Store().Count(TAccountTransferFilter(savings)), 0u);
    TAccountFilter inSavings(savings);
    EXPECT_EQ(Store().Count(TXBlankFilter(inSavings)), 2u);
    ExpectSound();
}

TEST_F(XManagerOpsTest, DeletingAnEnvelopeMovesItsTransactionsToTheReplacement) {
    Typed(checking, food, XColDeposit, "20");
    Typed(checking, food, XColDeposit, "5");
    Store().AddEnvelopeTransfer(food, rent, -300, today);   // Food gives Rent 3.00
    Store().AddEnvelopeTransfer(food, spare, -200, today);  // Food gives Spare 2.00
    ExpectSound();
    EXPECT_EQ(EnvBalance(food), 2000);

    uint32_t spareIndex = 0;
    for (uint32_t n = 1, k = 0; n <= doc.GetEnvelopes().CountEnvelopes(); ++n) {
        uint32_t id = doc.GetEnvelopes().GetEnvelopeIdByIndex(n);
        if (id == food) continue;
        if (id == spare) spareIndex = k;
        ++k;
    }
    envelopeDialogs.deleteChoices = {static_cast<int>(spareIndex)};
    int64_t before = EnvBalance(spare);
    ASSERT_TRUE(doc.GetEnvelopes().GetEnvelope(food)->Delete());

    EXPECT_EQ(EnvBalance(spare), before + 2000);
    EXPECT_EQ(Naming(0, food), 0);
    EXPECT_EQ(Store().Count(TEnvelopeFilter(spare)), 3u);  // two deposits and Rent's transfer
    // The transfer to Spare would be one from Spare to itself: both halves went.
    TEnvelopeFilter inRent(rent);
    EXPECT_EQ(Store().Count(TXBlankFilter(inRent)), 1u);
    EXPECT_EQ(doc.GetAccounts().GetDefaultEnvelope(checking), spare);
    ExpectSound();
}

TEST_F(XManagerOpsTest, ZeroingMovesWholeBalancesWithOneTransferEach) {
    Typed(checking, food, XColDeposit, "10");
    TEnvelopeList& envelopes = doc.GetEnvelopes();
    envelopeDialogs.chooseChoices = {
        static_cast<int>(envelopes.GetStringList(ListEnvelopes)->Find("Spare")) - 1};
    envelopes.ZeroEnvelopes({envelopes.FindById(food), envelopes.FindById(rent)});

    EXPECT_EQ(Balances(), "1000 0 | 0 0 1000");
    TEnvelopeFilter inRent(rent);
    EXPECT_EQ(Store().Count(TXBlankFilter(inRent)), 0u);
    TXItem* half = Store().FindLast(TEnvelopeFilter(food));  // after the deposit it empties
    ASSERT_TRUE(half && half->Record().IsEnvelopeTransfer());
    EXPECT_EQ(half->GetCellText(XColAccount), "Envelope Transfer");
    EXPECT_EQ(half->GetCellText(XColPayableToExpanded), "Transfer to Spare");
    const TXRecord* other = Store().FindRecord(half->Record().partner);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->partner, half->GetId());
    EXPECT_EQ(other->amount, 1000);
    EXPECT_EQ(other->GetPayableTo(), "Transfer from ~t");
    EXPECT_EQ(TDate(other->date), today);
    Store().Release(half);
    ExpectSound();
}

TEST_F(XManagerOpsTest, BulkDeletionLeavesTheStoreAsDeletingOneByOne) {
    std::vector<uint32_t> savingsIds;
    for (int d = 1; d <= 8; ++d) {
        uint32_t account = d % 3 == 0 ? checking : savings;
        uint32_t id = Typed(account, account == checking ? food : spare, XColPayment, "1", Day(d));
        if (account == savings) savingsIds.push_back(id);
    }
    TXItem* blank = NewRow(XAccount, checking, food);  // a view's blank row at the end
    std::vector<uint8_t> bytes = WriteBudget(doc);
    Store().Release(blank);

    std::string error;
    auto bulk = ReadBudget(bytes, error);
    auto single = ReadBudget(bytes, error);
    ASSERT_TRUE(bulk && single) << error;
    EXPECT_EQ(Order(bulk->GetXManager()).size(), 8u);  // the blank row did not survive loading
    bulk->GetXManager().DeleteMatching(TAccountFilter(savings));
    for (uint32_t id : savingsIds)
        single->GetXManager().Delete(single->GetXManager().GetItem(id));
    ASSERT_EQ(bulk->GetXManager().GetCount(), single->GetXManager().GetCount());
    for (uint32_t p = 1; p <= bulk->GetXManager().GetCount(); ++p)
        EXPECT_EQ(bulk->GetXManager().RecordAt(p).id, single->GetXManager().RecordAt(p).id) << p;
    EXPECT_EQ(bulk->GetAccounts().GetBalance(savings).Cents(), 0);
    EXPECT_TRUE(CheckBudget(*bulk).empty());
}

TEST_F(XManagerOpsTest, ConfirmedMarksReachRowsInUse) {
    TXItem* row = Store().GetItem(Typed(checking, food, XColPayment, "1"));
    row->ToggleAccountCleared();
    row->Data().newlyImported = 1;
    row->MarkChanged(false);
    Store().ConfirmPendingCleared(Day(20));
    Store().ClearImportMarks();
    row->SetCellText(XColMemo, "later edit");
    const TXRecord* stored = Store().FindRecord(row->GetId());
    EXPECT_EQ(stored->accountCleared, Day(20).Key());
    EXPECT_EQ(stored->newlyImported, 0);
    Store().Release(row);
}

}  // namespace
