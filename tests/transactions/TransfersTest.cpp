// Transfers and multiples: every conversion keeps the budget sound, asks what it must ask, and a
// refusal leaves every record and balance as it was.
#include <algorithm>

#include "tests/support/ScriptedTransferDialogs.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/Filters.h"
#include "transactions/TransferDialogs.h"
#include "transactions/Transfers.h"

namespace {

// Savings is the first account of the list.
class TransfersTest : public xtest::XBudgetTest {
protected:
    TScriptedTransferDialogs dialogs;
    TRecordingWindows views;

    const TXRecord& R(uint32_t id) { return *Store().FindRecord(id); }
    uint32_t Kind(uint32_t id) { return R(id).flags & ~(XCommitted | XDirty); }
    uint32_t Parts(uint32_t multiple) { return Store().Count(TMultKidsFilter(multiple)); }
    TXItem* Row(uint32_t flags, uint32_t account, uint32_t envelope, int32_t amount,
                TDate date = {}) {
        TXItem* row = NewRow(flags, account, envelope, date);
        row->SetAmount(amount);
        return row;
    }
    void Choose(const std::string& name) {
        std::vector<std::string> names = doc.GetEnvelopes().GetStringList(ListEnvelopes)->Items();
        auto at = std::find(names.begin(), names.end(), name);
        envelopeDialogs.chooseChoices.push_back(static_cast<int>(at - names.begin()));
    }
    // Every record and every balance, to see that a refusal touched nothing.
    std::string Snapshot() {
        std::string s;
        for (uint32_t p = 1; p <= Store().GetCount(); ++p)
            s.append(reinterpret_cast<const char*>(&Store().RecordAt(p)), sizeof(TXRecord));
        for (int64_t b : {Balance(checking), Balance(savings), EnvBalance(food), EnvBalance(rent),
                          EnvBalance(spare)})
            s += std::to_string(b) + ";";
        return s;
    }
};

TEST_F(TransfersTest, MultipleSplitsAPaymentAndAChosenEnvelopeJoinsItAgain) {
    TXItem* item = Row(XAccount, checking, rent, -4000);
    item->SetCellText(XColPayableTo, "Market");
    ASSERT_TRUE(CreateMultiple(*item));
    ExpectSound();
    const uint32_t id = item->GetId();
    EXPECT_EQ(Kind(id), XKindMultiple);
    EXPECT_EQ(Parts(id), 1u);
    EXPECT_EQ(Balances(), "-4000 0 | 0 -4000 0");
    EXPECT_EQ(views.multiplesOpened, std::vector<uint32_t>{id});

    // A blank row of the multiple's window becomes a second part in the default envelope.
    TXRecord templ = MultiplePartTemplate(*item);
    EXPECT_EQ((std::tuple{templ.flags, templ.parent, templ.GetMemo(), templ.GetCode()}),
              (std::tuple{uint32_t(XKindPart), id, std::string("Market"), std::string("mult")}));
    TXItem* part = Store().NewItem(templ);
    part->SetAmount(-1000);
    EXPECT_EQ(R(id).amount, -5000);
    EXPECT_EQ(Balances(), "-5000 0 | -1000 -4000 0");
    ExpectSound();

    // On a part the command only opens the parent's window.
    std::string before = Snapshot();
    EXPECT_FALSE(CreateMultiple(*part));
    EXPECT_EQ(views.multiplesOpened.back(), id);
    EXPECT_EQ(Snapshot(), before);
    Store().Release(part);

    Choose("Spare");
    ASSERT_TRUE(SelectEnvelope(*item));
    ExpectSound();
    EXPECT_EQ(Parts(id), 0u);
    EXPECT_EQ(Kind(id), XAccount);
    EXPECT_EQ(R(id).amount, -5000);
    EXPECT_EQ(Balances(), "-5000 0 | 0 0 -5000");
    Store().Release(item);
}

TEST_F(TransfersTest, AccountTransferFillsTheDialogMovesOnlyAccountsAndReopensOnEitherHalf) {
    TXItem* item = Row(XAccount, checking, rent, 0);
    item->Data().date = TDate(0, 0, 2024).Key();
    item->SetCellText(XColPayableTo, "Rent");
    dialogs.openings.push_back({[&](TActXferBuffer& b) { b.amount = 200000.01; }});
    ASSERT_TRUE(CreateAccountTransfer(*item));
    ExpectSound();
    const TActXferBuffer& shown = dialogs.shown.at(0);
    EXPECT_EQ(shown.amount, 0.0);
    EXPECT_EQ((std::pair{shown.from.account, shown.to.account}), (std::pair{checking, savings}));
    EXPECT_EQ(shown.from.date, today);
    EXPECT_EQ(shown.from.code + "|" + shown.from.memo + "|" + shown.to.payableTo,
              "xfer|Transfer to ~t|Transfer from ~t");
    EXPECT_EQ(Balances(), "-20000001 20000001 | 0 0 0");
    const uint32_t other = R(item->GetId()).partner;
    EXPECT_EQ(R(other).partner, item->GetId());
    EXPECT_EQ(item->GetCellText(XColMemoExpanded), "Transfer to Savings");
    Store().Release(item);

    // Reopened on the receiving half, the dialog shows the same transfer seen from there.
    TXItem* half = Store().GetItem(other);
    dialogs.openings.push_back({[](TActXferBuffer&) {}});
    ASSERT_TRUE(CreateAccountTransfer(*half));
    ExpectSound();
    EXPECT_EQ(dialogs.shown.at(1).amount, -200000.01);  // to the cent
    EXPECT_EQ(dialogs.shown.at(1).from.account, savings);
    EXPECT_EQ(dialogs.shown.at(1).to.payableTo, "Rent");
    EXPECT_EQ(Balances(), "-20000001 20000001 | 0 0 0");
    EXPECT_EQ(Store().Count(TAccountTransferFilter(checking)), 1u);

    // Deleting one half takes the whole transfer away.
    Store().Delete(half);
    ExpectSound();
    EXPECT_EQ(Balances(), "0 0 | 0 0 0");
    EXPECT_EQ(Store().Count(TAccountTransferFilter(checking)), 0u);
}

TEST_F(TransfersTest, AccountTransferRefusesBadEntriesAndAsksBeforeUndoingAMultiple) {
    TXItem* item = Row(XAccount, checking, rent, -2500);
    ASSERT_TRUE(CreateMultiple(*item));
    std::string before = Snapshot();
    EXPECT_FALSE(CreateAccountTransfer(*item));  // the question answered No
    EXPECT_EQ(ui.messages.back().text,
              "Are you sure you want to change this multiple to a transfer?");
    EXPECT_TRUE(dialogs.shown.empty());

    ui.messages.clear();
    ui.answers.push_back(TMsgResult::Yes);
    dialogs.openings.push_back({
        [](TActXferBuffer& b) { b.amount = 0; },
        [](TActXferBuffer& b) { b.amount = 2e7; },
        [&](TActXferBuffer& b) {
            b.amount = 25;
            b.to.account = checking;
        },
        [](TActXferBuffer& b) { b.to.account = 999; },
        [&](TActXferBuffer& b) {
            b.to.account = savings;
            b.envelopeTransfer = true;
            b.to.envelope = b.from.envelope;
        },
    });
    EXPECT_FALSE(CreateAccountTransfer(*item));  // cancelled after every refusal
    std::vector<std::string> errors;
    for (const TRecordedMessage& m : ui.messages)
        if (m.caption == "Error") errors.push_back(m.text);
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "You must enter an amount to transfer.",
                          "The amount to transfer must be below 20,000,000.00.",
                          "You cannot transfer to and from the same Account.",
                          "You must choose an Account to transfer from and one to transfer to.",
                          "You cannot transfer to and from the same Envelope.",
                      }));
    EXPECT_EQ(Snapshot(), before);

    ui.answers.push_back(TMsgResult::Yes);
    dialogs.OkTo(savings);
    ASSERT_TRUE(CreateAccountTransfer(*item));
    ExpectSound();
    EXPECT_EQ(Parts(item->GetId()), 0u);
    EXPECT_EQ(Balances(), "-2500 2500 | 0 0 0");
    Store().Release(item);
}

TEST_F(TransfersTest, TransferNearTheOtherAccountsFirstTransactionWarns) {
    Store().Release(Row(XAccount, savings, spare, 50000, {10, 1, 2024}));
    auto warns = [&](TDate date) {
        ui.messages.clear();
        TXItem* item = Row(XAccount, checking, food, -100, date);
        dialogs.OkTo(savings);
        EXPECT_TRUE(CreateAccountTransfer(*item));
        Store().Release(item);
        ExpectSound();
        return !ui.messages.empty() &&
               ui.messages.back().text.starts_with("Your transfer is within a month of the");
    };
    // Each transfer adds a later record to Savings, so its first stays the one of 10 January.
    EXPECT_FALSE(warns({10, 2, 2024}));
    EXPECT_TRUE(warns({9, 2, 2024}));
    EXPECT_TRUE(warns({5, 1, 2024}));
}

TEST_F(TransfersTest, EnvelopeTransferMovesEnvelopesAndCanBeRetargeted) {
    TXItem* item = Row(XEnvelopeOnly, 0, rent, 2500);
    std::string before = Snapshot();
    EXPECT_FALSE(CreateEnvelopeTransfer(*item));  // chooser cancelled
    Choose("Rent");
    EXPECT_FALSE(CreateTransfer(*item));  // its own envelope
    EXPECT_EQ(Snapshot(), before);

    Choose("Spare");
    ASSERT_TRUE(CreateTransfer(*item));
    ExpectSound();
    EXPECT_EQ(Balances(), "0 0 | 0 2500 -2500");
    EXPECT_EQ(item->GetCellText(XColPayableToExpanded), "Transfer from Spare");

    before = Snapshot();
    EXPECT_FALSE(CreateEnvelopeTransfer(*item, food));  // the question answered No
    EXPECT_EQ(ui.messages.back().text,
              "Are you sure you want to change this transfer to another envelope?");
    EXPECT_EQ(Snapshot(), before);

    ui.answers.push_back(TMsgResult::Yes);
    ASSERT_TRUE(CreateEnvelopeTransfer(*item, food));
    ExpectSound();
    EXPECT_EQ(Balances(), "0 0 | -2500 2500 0");
    EXPECT_EQ(Store().Count(TEnvelopeFilter(spare)), 0u);
    Store().Release(item);
}

TEST_F(TransfersTest, TransferHalfBecomesAMultipleOrAPlainTransactionOnlyWhenAsked) {
    TXItem* item = Row(XAccount, checking, rent, -6000);
    dialogs.OkTo(savings);
    ASSERT_TRUE(CreateAccountTransfer(*item));
    std::string before = Snapshot();
    EXPECT_FALSE(CreateMultiple(*item));
    EXPECT_EQ(ui.messages.back().text,
              "Are you sure you want to change this transfer to a multiple?");
    EXPECT_EQ(Snapshot(), before);

    ui.answers.push_back(TMsgResult::Yes);
    ASSERT_TRUE(CreateMultiple(*item));
    ExpectSound();
    EXPECT_EQ(Store().Count(TAccountTransferFilter(savings)), 0u);
    // The part lands in the account's default envelope.
    EXPECT_EQ(Balances(), "-6000 0 | -6000 0 0");

    // Back to a transfer; then a chosen envelope undoes it into one plain transaction.
    ui.answers.push_back(TMsgResult::Yes);
    dialogs.OkTo(savings);
    ASSERT_TRUE(CreateAccountTransfer(*item));
    Choose("Spare");
    ASSERT_TRUE(SelectEnvelope(*item));
    ExpectSound();
    EXPECT_EQ(Store().Count(TAccountTransferFilter(savings)), 0u);
    EXPECT_EQ(Balances(), "-6000 0 | 0 0 -6000");
    Store().Release(item);
}

}  // namespace
