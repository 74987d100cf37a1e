// A small budget for the transaction tests, with rows made the way views and commands make them.
#pragma once

#include <gtest/gtest.h>

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
#include "tests/support/ScriptedWindows.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace xtest {

// Envelopes Food, Rent, Spare and a bundle Bills; accounts Checking (default envelope Food) and
// Savings (default Spare). Today is 15 May 2024.
class XBudgetTest : public ::testing::Test {
protected:
    TScriptedUI ui;
    envtest::TScriptedEnvelopeDialogs envelopeDialogs;
    TQuilletData doc;
    TDate today{15, 5, 2024};
    uint32_t checking = 0, savings = 0, food = 0, rent = 0, spare = 0;

    void SetUp() override {
        TDate::SetTodayForTesting(&today);
        TQuilletData::SetCurrent(&doc);
        TEnvelopeRoot* root = doc.GetEnvelopes().GetEnvelopeRoot();
        for (const char* name : {"Food", "Rent", "Spare"})
            ASSERT_TRUE(root->NewEnvelope(name));
        envelopeDialogs.properties.push_back({{"Bills"}});
        ASSERT_TRUE(root->NewBundle());
        TAccountRoot* accounts = doc.GetAccounts().GetAccountRoot();
        ASSERT_TRUE(accounts->NewAccount("Checking", "", 1, "Food"));
        ASSERT_TRUE(accounts->NewAccount("Savings", "", 2, "Spare"));
        checking = doc.GetAccounts().FindId("Checking");
        savings = doc.GetAccounts().FindId("Savings");
        food = doc.GetEnvelopes().FindId("Food");
        rent = doc.GetEnvelopes().FindId("Rent");
        spare = doc.GetEnvelopes().FindId("Spare");
    }
    void TearDown() override {
        TQuilletData::SetCurrent(nullptr);
        TDate::SetTodayForTesting(nullptr);
    }

    TXManager& Store() { return doc.GetXManager(); }
    int64_t Balance(uint32_t account) { return doc.GetAccounts().GetBalance(account).Cents(); }
    int64_t Cleared(uint32_t account) { return doc.GetAccounts().GetRecBalance(account).Cents(); }
    int64_t EnvBalance(uint32_t envelope) {
        return doc.GetEnvelopes().GetBalance(envelope).Cents();
    }
    int64_t EnvCleared(uint32_t envelope) {
        return doc.GetEnvelopes().GetRecBalance(envelope).Cents();
    }

    // Every balance: "checking savings | food rent spare".
    std::string Balances() {
        std::string s = std::to_string(Balance(checking)) + " " + std::to_string(Balance(savings));
        return s + " | " + std::to_string(EnvBalance(food)) + " " +
               std::to_string(EnvBalance(rent)) + " " + std::to_string(EnvBalance(spare));
    }

    // A new row of some kind, as a view's blank row or a command's new record, with one use.
    TXItem* NewRow(uint32_t flags, uint32_t account, uint32_t envelope, TDate date = {},
                   uint32_t parent = 0) {
        TXRecord r;
        r.Init(today);
        r.flags = flags | XDirty;
        r.account = account;
        r.envelope = envelope;
        r.parent = parent;
        r.date = (date.Key() ? date : today).Key();
        return Store().NewItem(r);
    }
    // A plain account transaction typed into a ledger; the row is given back.
    uint32_t Typed(uint32_t account, uint32_t envelope, uint32_t column, const std::string& amount,
                   TDate date = {}) {
        TXItem* row = NewRow(XAccount, account, envelope, date);
        row->SetCellText(XColPayableTo, "Shop");
        row->SetCellText(column, amount);
        uint32_t id = row->GetId();
        Store().Release(row);
        return id;
    }
    // Two account transfer halves linked by hand; amount leaves `from`.
    std::pair<uint32_t, uint32_t> AccountTransfer(uint32_t from, uint32_t to, int32_t amount) {
        TXItem* a = NewRow(XKindAccountTransfer, from, 0);
        TXItem* b = NewRow(XKindAccountTransfer, to, 0);
        a->Data().partner = b->GetId();
        b->Data().partner = a->GetId();
        a->SetAmount(-amount);
        std::pair<uint32_t, uint32_t> ids{a->GetId(), b->GetId()};
        Store().Release(a);
        Store().Release(b);
        return ids;
    }
    // A multiple of the account with one part per envelope and amount; answers its id.
    uint32_t Multiple(uint32_t account, const std::vector<std::pair<uint32_t, int32_t>>& parts) {
        TXItem* m = NewRow(XKindMultiple, account, 0);
        m->SetCellText(XColPayableTo, "Split");
        for (auto [envelope, amount] : parts) {
            TXItem* part = NewRow(XKindPart, account, envelope, {}, m->GetId());
            part->SetAmount(amount);
            Store().Release(part);
        }
        uint32_t id = m->GetId();
        Store().Release(m);
        return id;
    }

    // Every balance agrees with the records (the budget check finds nothing).
    void ExpectSound() { EXPECT_EQ(CheckBudget(doc), std::vector<std::string>{}); }
};

}  // namespace xtest
