// The budget check finds each kind of damage in a store built sound and then spoiled by hand.
#include "app/BudgetCheck.h"

#include <algorithm>
#include <cstring>

#include "app/BudgetFile.h"

#include "accounts/Account.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/Filters.h"

namespace {

using namespace xtest;

class BudgetCheckTest : public XBudgetTest {
protected:
    uint32_t plain = 0, multiple = 0, accountFrom = 0, accountTo = 0, envelopeHalf = 0;

    // One of every kind, cleared marks on both sides included.
    void SetUp() override {
        XBudgetTest::SetUp();
        plain = Typed(checking, food, XColDeposit, "5");
        TXItem* row = Store().GetItem(plain);
        row->ToggleAccountCleared();
        row->ToggleEnvelopeCleared();
        Store().Release(row);
        multiple = Multiple(checking, {{food, -1000}, {rent, -2000}});
        std::tie(accountFrom, accountTo) = AccountTransfer(checking, savings, 700);
        Store().AddEnvelopeTransfer(food, spare, -300, today);
        envelopeHalf = Store().GetLastId();
    }

    // Spoils a stored record without posting anything.
    void Spoil(uint32_t id, const std::function<void(TXRecord&)>& change) {
        TXRecord r = *Store().FindRecord(id);
        change(r);
        r.flags &= ~XDirty;
        Store().Commit(r);
    }
    uint32_t FirstPart() {
        TXItem* part = Store().FindFirst(TMultKidsFilter(multiple));
        uint32_t id = part->GetId();
        Store().Release(part);
        return id;
    }
    // In a fixed order, since the lines follow the store's order.
    std::vector<std::string> Problems() {
        std::vector<std::string> problems = CheckBudget(doc);
        std::sort(problems.begin(), problems.end());
        return problems;
    }
    bool Found(const std::string& line) {
        std::vector<std::string> problems = Problems();
        return std::find(problems.begin(), problems.end(), line) != problems.end();
    }
    static std::string Tx(uint32_t id) { return "transaction " + std::to_string(id) + ": "; }
};

TEST_F(BudgetCheckTest, ASoundBudgetHasNoProblems) {
    EXPECT_EQ(Problems(), std::vector<std::string>{});
    // Uncommitted rows are not part of the budget, whatever they hold.
    TXItem* blank = NewRow(XAccount, checking, 0);
    blank->Data().amount = 12345;
    Store().Commit(blank->Data());
    EXPECT_EQ(Problems(), std::vector<std::string>{});
    Store().Release(blank);
}

TEST_F(BudgetCheckTest, TransferHalvesMustNameEachOtherWithOppositeAmountsAndOneKind) {
    Spoil(accountFrom, [&](TXRecord& r) { r.partner = plain; });
    Spoil(envelopeHalf, [&](TXRecord& r) { r.amount += 1; });
    std::vector<std::string> expected = {
        Tx(accountFrom) + "transfer partner " + std::to_string(plain) +
            " does not name it as its partner",
        Tx(accountTo) + "transfer partner " + std::to_string(accountFrom) +
            " does not name it as its partner",
        "transactions " + std::to_string(envelopeHalf - 1) + " and " +
            std::to_string(envelopeHalf) + ": transfer amounts -3.00 and 3.01 are not opposite",
        "envelope \"Spare\": balance 3.00, its transactions add up to 3.01"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Problems(), expected);

    Spoil(accountFrom, [&](TXRecord& r) { r.partner = accountTo; });
    Spoil(envelopeHalf, [&](TXRecord& r) { r.amount -= 1; });
    Spoil(accountTo, [&](TXRecord& r) {
        r.flags = (r.flags & ~XAccount) | XEnvelopeOnly;  // now an envelope half
    });
    EXPECT_TRUE(Found("transactions " + std::to_string(accountFrom) + " and " +
                      std::to_string(accountTo) + ": transfer halves are not of the same kind"));

    Spoil(accountTo, [&](TXRecord& r) { r.flags |= XAccount; });  // both kinds at once
    EXPECT_TRUE(Found(Tx(accountTo) +
                      "is marked as a transfer but is no account or envelope transfer half"));
}

TEST_F(BudgetCheckTest, PartsNeedTheirMultipleAndMultiplesTheSumOfTheirParts) {
    uint32_t part = FirstPart();
    Spoil(part, [&](TXRecord& r) { r.account = savings; });
    EXPECT_TRUE(
        Found(Tx(part) + "part of multiple " + std::to_string(multiple) + " of another account"));

    Spoil(part, [&](TXRecord& r) {
        r.account = checking;
        r.parent = plain;
    });
    std::vector<std::string> problems = Problems();
    EXPECT_TRUE(
        Found(Tx(part) + "part of multiple " + std::to_string(plain) + ", which is no multiple"));
    Spoil(part, [&](TXRecord& r) { r.parent = 999; });
    EXPECT_TRUE(Found(Tx(part) + "part of multiple 999, which does not exist"));
    // The multiple lost that part from its sum.
    EXPECT_EQ(std::count_if(problems.begin(), problems.end(),
                            [&](const std::string& p) {
                                return p.rfind(Tx(multiple) +
                                                   "multiple amount -30.00 is not the "
                                                   "sum of its parts",
                                               0) == 0;
                            }),
              1);
}

TEST_F(BudgetCheckTest, IdsMustHaveBeenIssuedAndMovedBalancesMustExist) {
    Spoil(plain, [&](TXRecord& r) { r.envelope = 99; });
    EXPECT_TRUE(Found(Tx(plain) + "envelope 99 was never issued"));
    EXPECT_TRUE(Found(Tx(plain) + "moves envelope 99, which is no envelope"));

    // The id of a deleted account was issued once; an amount posted to it is lost all the same.
    ASSERT_TRUE(doc.GetAccounts().GetAccountRoot()->NewAccount("Old", "", 1, "Food"));
    uint32_t old = doc.GetAccounts().FindId("Old");
    ASSERT_TRUE(doc.GetAccounts().GetAccount(old)->Delete());
    Spoil(plain, [&](TXRecord& r) {
        r.envelope = food;
        r.account = old;
    });
    EXPECT_FALSE(Found(Tx(plain) + "account " + std::to_string(old) + " was never issued"));
    EXPECT_TRUE(
        Found(Tx(plain) + "moves account " + std::to_string(old) + ", which is no account"));
    Spoil(plain, [&](TXRecord& r) { r.account = 77; });
    EXPECT_TRUE(Found(Tx(plain) + "account 77 was never issued"));

    // Two items of the account list under one id: a lookup of the account could reach the other,
    // so reading refuses the file.
    doc.GetAccounts().GetAccount(savings)->SetId(checking);
    std::string error;
    EXPECT_FALSE(ReadBudget(WriteBudget(doc), error));
    EXPECT_NE(error.find("account list"), std::string::npos) << error;
}

TEST_F(BudgetCheckTest, BalancesMustBeWhatTheRecordsAddUpTo) {
    doc.GetAccounts().ChangeRecBalance(checking, 1);
    doc.GetEnvelopes().ChangeBalance(rent, -1);
    doc.GetAccounts().ChangeBalance(savings, -1);
    EXPECT_EQ(Problems(),
              (std::vector<std::string>{
                  "account \"Checking\": cleared balance 5.01, its cleared transactions add up "
                  "to 5.00",
                  "account \"Savings\": balance 6.99, its transactions add up to 7.00",
                  "envelope \"Rent\": balance -20.01, its transactions add up to -20.00"}));

    // An account's balance counts a multiple once, not its parts too.
    doc.GetAccounts().ChangeRecBalance(checking, -1);
    doc.GetEnvelopes().ChangeBalance(rent, 1);
    doc.GetAccounts().ChangeBalance(savings, 1);
    Spoil(FirstPart(), [&](TXRecord& r) { r.flags &= ~XMultipleKid; });  // a plain record now
    std::vector<std::string> problems = Problems();
    EXPECT_NE(std::find_if(problems.begin(), problems.end(),
                           [](const std::string& p) {
                               return p.rfind("account \"Checking\": balance", 0) == 0;
                           }),
              problems.end());
}

TEST_F(BudgetCheckTest, SumsPastTheBalanceRangeAndRecordsWithoutIdsAreFound) {
    // Two deposits whose sum a 32-bit balance cannot hold: the wrapped balance matches the
    // wrapped sum, so only the range says what happened.
    uint32_t big = 0;
    for (int i = 0; i < 2; ++i) {
        TXItem* row = NewRow(XAccount, savings, food, today);
        row->SetAmount(2000000000);
        big = row->GetId();
        Store().Release(row);
    }
    std::vector<std::string> problems = Problems();
    for (const char* head : {"account \"Savings\": its transactions add up to 40,000,007.00",
                             "envelope \"Food\": its transactions add up to "})
        EXPECT_TRUE(std::any_of(problems.begin(), problems.end(), [&](const std::string& p) {
            return p.rfind(head, 0) == 0 && p.find("beyond what a balance can hold") != p.npos;
        })) << head;

    // A record in use without an id, with another's, or with one at the top of the range (no id
    // would be left for a new record) is refused when read.
    std::vector<uint8_t> bytes = WriteBudget(doc);
    const auto* record = reinterpret_cast<const uint8_t*>(Store().FindRecord(big));
    auto at = std::search(bytes.begin(), bytes.end(), record, record + sizeof(TXRecord));
    ASSERT_NE(at, bytes.end());
    for (uint32_t id : {0u, plain, 0xFFFFFFFFu}) {
        std::memcpy(&*at, &id, sizeof id);  // the id leads the record
        std::string error;
        EXPECT_FALSE(ReadBudget(bytes, error));
        EXPECT_NE(error.find("transaction record"), std::string::npos) << error;
    }
    // A free slot's id is handed out again, so a free last slot without a usable id takes a
    // fresh one and the next new record gets an id of its own.
    bytes = WriteBudget(doc);
    const auto* last = reinterpret_cast<const uint8_t*>(&Store().RecordAt(Store().GetCount()));
    at = std::search(bytes.begin(), bytes.end(), last, last + sizeof(TXRecord));
    ASSERT_NE(at, bytes.end());
    const uint32_t freeFlags = 0;
    std::memcpy(&*at + 4, &freeFlags, sizeof freeFlags);
    for (uint32_t id : {0u, plain}) {
        std::memcpy(&*at, &id, sizeof id);
        std::string error;
        std::unique_ptr<TQuilletData> read = ReadBudget(bytes, error);
        ASSERT_TRUE(read) << error;
        TXManager& store = read->GetXManager();
        TXRecord templ{};
        templ.flags = XAccount;
        TXItem* added = store.NewItem(templ);
        ASSERT_TRUE(added);
        EXPECT_NE(added->GetId(), plain);
        const TXRecord* found = store.FindRecord(added->GetId());
        ASSERT_TRUE(found);
        EXPECT_EQ(found->id, added->GetId());
        store.Release(added);
    }
}

}  // namespace
