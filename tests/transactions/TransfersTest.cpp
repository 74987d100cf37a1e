// Transfers and multiples: every conversion keeps accounts and envelopes adding up, asks what it
// must ask, and a refusal leaves every record and balance as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetCheck.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/envelopes/EnvelopeTestSupport.h"
#include "tests/support/ScriptedUI.h"
#include "transactions/Filters.h"
#include "transactions/TransferDialogs.h"
#include "transactions/Transfers.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"
#include "transactions/XViewPort.h"

namespace {

using TEdit = std::function<void(TActXferBuffer&)>;

// Each opening of the dialog tries its edits in turn, pressing OK after each; the dialog stays
// open while the check refuses and is cancelled when the edits run out.
class TScriptedTransferDialogs : public TTransferDialogPort {
public:
    TScriptedTransferDialogs() { SetTransferDialogPort(this); }
    ~TScriptedTransferDialogs() override { SetTransferDialogPort(nullptr); }
    std::deque<std::vector<TEdit>> openings;
    std::vector<TActXferBuffer> shown;

    bool AccountTransfer(TActXferBuffer& b) override {
        shown.push_back(b);
        if (openings.empty()) return false;
        std::vector<TEdit> edits = openings.front();
        openings.pop_front();
        for (const TEdit& edit : edits) {
            edit(b);
            if (b.check(b)) return true;
        }
        return false;
    }
};

class TRecordingViews : public TXViewPort {
public:
    TRecordingViews() { SetXViewPort(this); }
    ~TRecordingViews() override { SetXViewPort(nullptr); }
    std::vector<uint32_t> multiples;
    void CloseAccountViews(uint32_t) override {}
    void CloseEnvelopeViews(uint32_t) override {}
    void RefreshTreeWindows() override {}
    void OpenMultipleView(uint32_t id) override { multiples.push_back(id); }
};

// A budget with envelopes Food, Gifts and Fun and accounts Checking (default envelope Food) and
// Savings (default Gifts), listed Savings first.
class TransfersTest : public ::testing::Test {
protected:
    TScriptedUI ui;
    envtest::TScriptedEnvelopeDialogs envelopeDialogs;
    TScriptedTransferDialogs dialogs;
    TRecordingViews views;
    TQuilletData doc;
    TDate today{15, 3, 2024};
    uint32_t food = 0, gifts = 0, fun = 0, checking = 0, savings = 0;

    void SetUp() override {
        TDate::SetTodayForTesting(&today);
        TQuilletData::SetCurrent(&doc);
        for (const char* name : {"Food", "Gifts", "Fun"})
            doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope(name);
        doc.GetAccounts().GetAccountRoot()->NewAccount("Checking", "", 1, "Food");
        doc.GetAccounts().GetAccountRoot()->NewAccount("Savings", "", 2, "Gifts");
        food = doc.GetEnvelopes().FindId("Food");
        gifts = doc.GetEnvelopes().FindId("Gifts");
        fun = doc.GetEnvelopes().FindId("Fun");
        checking = doc.GetAccounts().FindId("Checking");
        savings = doc.GetAccounts().FindId("Savings");
    }
    void TearDown() override {
        TQuilletData::SetCurrent(nullptr);
        TDate::SetTodayForTesting(nullptr);
    }

    TXManager& X() { return doc.GetXManager(); }
    int64_t Acct(uint32_t id) { return doc.GetAccounts().GetBalance(id).Cents(); }
    int64_t Env(uint32_t id) { return doc.GetEnvelopes().GetBalance(id).Cents(); }
    const TXRecord& R(uint32_t id) { return *X().FindRecord(id); }
    void ExpectSound() {
        std::vector<std::string> problems = CheckBudget(doc);
        EXPECT_TRUE(problems.empty()) << problems.front();
    }
    // Every record and every balance, to see that a refusal touched nothing.
    std::string Snapshot() {
        std::string s;
        for (uint32_t p = 1; p <= X().GetCount(); ++p)
            s.append(reinterpret_cast<const char*>(&X().RecordAt(p)), sizeof(TXRecord));
        for (uint32_t id : {checking, savings})
            s += std::to_string(Acct(id)) + ";";
        for (uint32_t id : {food, gifts, fun})
            s += std::to_string(Env(id)) + ";";
        return s;
    }
    void Choose(const std::string& name) {
        std::vector<std::string> names = doc.GetEnvelopes().GetStringList(ListEnvelopes)->Items();
        auto at = std::find(names.begin(), names.end(), name);
        envelopeDialogs.chooseChoices.push_back(static_cast<int>(at - names.begin()));
    }
    TXItem* Add(uint32_t flags, uint32_t account, uint32_t envelope, int32_t amount,
                TDate date = {5, 3, 2024}, const char* payee = "") {
        TXRecord t;
        t.Init(today);
        t.flags = flags;
        t.account = account;
        t.envelope = envelope;
        t.date = date.Key();
        t.SetPayableTo(payee);
        TXItem* item = X().NewItem(t);
        item->SetAmount(amount);
        return item;
    }
    uint32_t Parts(uint32_t multiple) { return X().Count(TMultKidsFilter(multiple)); }
};

TEST_F(TransfersTest, MultipleSplitsAPaymentAndAChosenEnvelopeJoinsItAgain) {
    TXItem* item = Add(XNewAccountRecord, checking, food, -4000, {5, 3, 2024}, "Market");
    ASSERT_TRUE(CreateMultiple(*item));
    ExpectSound();
    EXPECT_EQ(R(item->GetId()).flags & ~(XCommitted | XDirty), XKindMultiple);
    EXPECT_EQ(R(item->GetId()).amount, -4000);
    EXPECT_EQ(R(item->GetId()).envelope, 0u);
    EXPECT_EQ(Acct(checking), -4000);
    EXPECT_EQ(Env(food), -4000);
    EXPECT_EQ(views.multiples, std::vector<uint32_t>{item->GetId()});
    ASSERT_EQ(Parts(item->GetId()), 1u);

    // A blank row of the multiple's window becomes a second part.
    TXRecord templ = MultiplePartTemplate(*item);
    EXPECT_EQ(templ.flags, XKindPart);
    EXPECT_EQ(templ.account, checking);
    EXPECT_EQ(templ.envelope, food);
    EXPECT_EQ(templ.parent, item->GetId());
    EXPECT_EQ(templ.GetMemo(), "Market");
    EXPECT_EQ(templ.GetCode(), "mult");
    TXItem* part = X().NewItem(templ);
    part->SetEnvelope(fun);
    part->SetAmount(-1000);
    EXPECT_EQ(R(item->GetId()).amount, -5000);
    EXPECT_EQ(Acct(checking), -5000);
    EXPECT_EQ(Env(fun), -1000);
    ExpectSound();

    // On a part it only opens the parent's window.
    std::string before = Snapshot();
    EXPECT_FALSE(CreateMultiple(*part));
    EXPECT_EQ(views.multiples.back(), item->GetId());
    EXPECT_EQ(Snapshot(), before);
    X().Release(part);

    Choose("Gifts");
    ASSERT_TRUE(SelectEnvelope(*item));
    ExpectSound();
    EXPECT_EQ(Parts(item->GetId()), 0u);
    EXPECT_EQ(R(item->GetId()).flags & ~(XCommitted | XDirty), XAccount);
    EXPECT_EQ(R(item->GetId()).amount, -5000);
    EXPECT_EQ(Acct(checking), -5000);
    EXPECT_EQ(Env(gifts), -5000);
    EXPECT_EQ(Env(food) + Env(fun), 0);
    X().Release(item);
}

TEST_F(TransfersTest, AccountTransferFillsTheDialogMovesOnlyAccountsAndReopensOnEitherHalf) {
    TXItem* item = Add(XNewAccountRecord, checking, food, 0, {0, 0, 2024}, "Rent");
    dialogs.openings.push_back({[&](TActXferBuffer& b) {
        b.amount = 200000.01;
        b.to.account = savings;
    }});
    ASSERT_TRUE(CreateAccountTransfer(*item));
    ExpectSound();
    const TActXferBuffer& shown = dialogs.shown.at(0);
    EXPECT_EQ(shown.amount, 0.0);
    EXPECT_EQ(shown.from.account, checking);
    EXPECT_EQ(shown.to.account, savings);  // the first account of the list
    EXPECT_EQ(shown.from.date, today);
    EXPECT_EQ(shown.to.date, today);
    EXPECT_EQ(shown.from.code, "xfer");
    EXPECT_EQ(shown.from.payableTo, "Rent");
    EXPECT_EQ(shown.from.memo, "Transfer to ~t");
    EXPECT_EQ(shown.to.payableTo, "Transfer from ~t");
    EXPECT_EQ(shown.to.memo, "");
    EXPECT_EQ(shown.to.envelope, gifts);
    EXPECT_FALSE(shown.envelopeTransfer);
    EXPECT_EQ(Acct(checking), -20000001);
    EXPECT_EQ(Acct(savings), 20000001);
    EXPECT_EQ(Env(food) + Env(gifts) + Env(fun), 0);
    const uint32_t other = R(item->GetId()).partner;
    EXPECT_EQ(R(other).partner, item->GetId());
    EXPECT_EQ(R(other).flags & ~(XCommitted | XDirty), XKindAccountTransfer);
    EXPECT_EQ(item->GetCellText(XColMemoExpanded), "Transfer to Savings");
    X().Release(item);

    // Reopened on the receiving half, the dialog shows the same transfer seen from there.
    TXItem* half = X().GetItem(other);
    dialogs.openings.push_back({[](TActXferBuffer&) {}});
    ASSERT_TRUE(CreateAccountTransfer(*half));
    ExpectSound();
    EXPECT_EQ(dialogs.shown.at(1).amount, -200000.01);  // to the cent
    EXPECT_EQ(dialogs.shown.at(1).from.account, savings);
    EXPECT_EQ(dialogs.shown.at(1).to.account, checking);
    EXPECT_EQ(dialogs.shown.at(1).to.payableTo, "Rent");
    EXPECT_EQ(Acct(checking), -20000001);
    EXPECT_EQ(Acct(savings), 20000001);
    EXPECT_EQ(X().Count(TAccountTransferFilter(checking)), 1u);

    // Deleting one half takes the whole transfer away.
    X().Delete(half);
    ExpectSound();
    EXPECT_EQ(Acct(checking), 0);
    EXPECT_EQ(Acct(savings), 0);
    EXPECT_EQ(X().Count(TAccountTransferFilter(checking)), 0u);
}

TEST_F(TransfersTest, AccountTransferRefusesBadEntriesAndAsksBeforeUndoingAMultiple) {
    TXItem* item = Add(XNewAccountRecord, checking, food, -2500);
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
    std::vector<std::string> texts;
    for (const TRecordedMessage& m : ui.messages)
        if (m.caption == "Error") texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "You must enter an amount to transfer.",
                         "The amount to transfer must be below 20,000,000.00.",
                         "You cannot transfer to and from the same Account.",
                         "You must choose an Account to transfer from and one to transfer to.",
                         "You cannot transfer to and from the same Envelope.",
                     }));
    EXPECT_EQ(Snapshot(), before);

    // With the question answered Yes and good entries, the parts go and the transfer is made.
    ui.answers.push_back(TMsgResult::Yes);
    dialogs.openings.push_back({[&](TActXferBuffer& b) { b.to.account = savings; }});
    ASSERT_TRUE(CreateAccountTransfer(*item));
    ExpectSound();
    EXPECT_EQ(Parts(item->GetId()), 0u);
    EXPECT_EQ(Env(food), 0);
    EXPECT_EQ(Acct(checking), -2500);
    EXPECT_EQ(Acct(savings), 2500);
    X().Release(item);
}

TEST_F(TransfersTest, TransferNearTheOtherAccountsFirstTransactionWarns) {
    X().Release(Add(XNewAccountRecord, savings, gifts, 50000, {10, 1, 2024}));
    auto transfer = [&](TDate date) {
        ui.messages.clear();
        TXItem* item = Add(XNewAccountRecord, checking, food, -100, date);
        dialogs.openings.push_back({[&](TActXferBuffer& b) { b.to.account = savings; }});
        EXPECT_TRUE(CreateAccountTransfer(*item));
        X().Release(item);
        ExpectSound();
        return !ui.messages.empty() && ui.messages.back().text.starts_with(
                                           "Your transfer is within a month of the starting");
    };
    // Each transfer adds a later record to Savings, so its first stays the one of 10 January.
    EXPECT_FALSE(transfer({10, 2, 2024}));
    EXPECT_TRUE(transfer({9, 2, 2024}));
    EXPECT_TRUE(transfer({5, 1, 2024}));
}

TEST_F(TransfersTest, EnvelopeTransferMovesEnvelopesAndCanBeRetargeted) {
    TXItem* item = Add(XNewEnvelopeRecord, 0, gifts, 2500, {0, 0, 2024});
    std::string before = Snapshot();
    EXPECT_FALSE(CreateEnvelopeTransfer(*item));  // chooser cancelled
    Choose("Gifts");
    EXPECT_FALSE(CreateTransfer(*item));  // its own envelope
    EXPECT_EQ(Snapshot(), before);

    Choose("Fun");
    ASSERT_TRUE(CreateTransfer(*item));
    ExpectSound();
    EXPECT_EQ(Env(gifts), 2500);
    EXPECT_EQ(Env(fun), -2500);
    EXPECT_EQ(item->GetCellText(XColPayableToExpanded), "Transfer from Fun");
    EXPECT_EQ(item->Record().GetCode(), "xfer");
    EXPECT_EQ(item->Record().date, today.Key());

    before = Snapshot();
    EXPECT_FALSE(CreateEnvelopeTransfer(*item, food));  // the question answered No
    EXPECT_EQ(ui.messages.back().text,
              "Are you sure you want to change this transfer to another envelope?");
    EXPECT_EQ(Snapshot(), before);

    ui.answers.push_back(TMsgResult::Yes);
    ASSERT_TRUE(CreateEnvelopeTransfer(*item, food));
    ExpectSound();
    EXPECT_EQ(Env(gifts), 2500);
    EXPECT_EQ(Env(fun), 0);
    EXPECT_EQ(Env(food), -2500);
    EXPECT_EQ(X().Count(TEnvelopeFilter(fun)), 0u);
    X().Release(item);
}

TEST_F(TransfersTest, TransferHalfBecomesAMultipleOrAPlainTransactionOnlyWhenAsked) {
    TXItem* item = Add(XNewAccountRecord, checking, food, -6000);
    dialogs.openings.push_back({[&](TActXferBuffer& b) { b.to.account = savings; }});
    ASSERT_TRUE(CreateAccountTransfer(*item));
    std::string before = Snapshot();
    EXPECT_FALSE(CreateMultiple(*item));
    EXPECT_EQ(ui.messages.back().text,
              "Are you sure you want to change this transfer to a multiple?");
    EXPECT_EQ(Snapshot(), before);

    ui.answers.push_back(TMsgResult::Yes);
    ASSERT_TRUE(CreateMultiple(*item));
    ExpectSound();
    EXPECT_EQ(Acct(savings), 0);
    EXPECT_EQ(X().Count(TAccountTransferFilter(savings)), 0u);
    EXPECT_EQ(Acct(checking), -6000);
    EXPECT_EQ(Env(food), -6000);  // the part lands in the account's default envelope

    // Back to a transfer, then the chosen envelope undoes it into one plain transaction.
    ui.answers.push_back(TMsgResult::Yes);
    dialogs.openings.push_back({[&](TActXferBuffer& b) { b.to.account = savings; }});
    ASSERT_TRUE(CreateAccountTransfer(*item));
    Choose("Fun");
    ASSERT_TRUE(SelectEnvelope(*item));
    ExpectSound();
    EXPECT_EQ(X().Count(TAccountTransferFilter(savings)), 0u);
    EXPECT_EQ(R(item->GetId()).partner, 0u);
    EXPECT_EQ(Acct(checking), -6000);
    EXPECT_EQ(Acct(savings), 0);
    EXPECT_EQ(Env(fun), -6000);
    X().Release(item);
}

TEST_F(TransfersTest, CommandsAreOfferedByKind) {
    TXItem* envelopeOnly = Add(XNewEnvelopeRecord, 0, food, 100);
    TXItem* plain = Add(XNewAccountRecord, checking, food, -100);
    EXPECT_TRUE(CanCreateTransfer(*envelopeOnly));
    EXPECT_FALSE(CanCreateMultiple(*envelopeOnly));
    EXPECT_FALSE(CanSelectEnvelope(*envelopeOnly));
    ASSERT_TRUE(CreateMultiple(*plain));
    TXItem* part = X().FindFirst(TMultKidsFilter(plain->GetId()));
    EXPECT_FALSE(CanCreateTransfer(*part));
    EXPECT_TRUE(CanSelectEnvelope(*part));
    plain->Data().flags |= XInert;
    EXPECT_FALSE(CanCreateTransfer(*plain) || CanCreateMultiple(*plain));
    plain->Data().flags &= ~XInert;
    for (TXItem* i : {part, plain, envelopeOnly})
        X().Release(i);
}

}  // namespace
