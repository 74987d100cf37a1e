// A budget under an account ledger, for the ledger's window tests and benchmarks: the envelopes
// Food, Rent and Spare, the accounts Checking (default envelope Food) and Savings (Spare), and
// `count` payments to "Shop" from 2 January 2000, eight a day, the two accounts taking turns. It
// is the open budget while it lives.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/EditableFilter.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"
#include "views/XViewList.h"

struct TLedgerBudget {
    std::unique_ptr<TQuilletData> doc = std::make_unique<TQuilletData>();
    uint32_t checking = 0, savings = 0, food = 0, rent = 0, spare = 0;

    // The account ledger's columns, with their widths in characters.
    static constexpr std::pair<uint32_t, uint32_t> AccountColumns[] = {
        {XColCode, 6},           {XColDate, 7},     {XColPayableTo, 20}, {XColEnvelope, 15},
        {XColAccountCleared, 2}, {XColPayment, 10}, {XColDeposit, 10}};

    explicit TLedgerBudget(uint32_t count = 0) {
        TQuilletData::SetCurrent(doc.get());
        TEnvelopeList& envelopes = doc->GetEnvelopes();
        for (const char* name : {"Food", "Rent", "Spare"})
            envelopes.GetEnvelopeRoot()->NewEnvelope(name);
        food = envelopes.FindId("Food");
        rent = envelopes.FindId("Rent");
        spare = envelopes.FindId("Spare");
        TAccountList& accounts = doc->GetAccounts();
        accounts.GetAccountRoot()->NewAccount("Checking", "", 1, "Food");
        accounts.GetAccountRoot()->NewAccount("Savings", "", 2, "Spare");
        checking = accounts.FindId("Checking");
        savings = accounts.FindId("Savings");

        const uint32_t spread[3] = {food, rent, spare};
        TXManager& store = doc->GetXManager();
        TXManager::TBulkPosting bulk(store);
        TDate day(1, 1, 2000);
        for (uint32_t i = 0; i < count; ++i) {
            if (i % 8 == 0) day.NextDay();
            TXRecord r;
            r.Init(day);
            r.flags = XNewAccountRecord;
            r.account = i % 2 ? savings : checking;
            r.envelope = spread[i % 3];
            r.date = day.Key();
            TXItem* item = store.NewItem(r);
            item->SetCellText(XColPayableTo, "Shop");
            item->SetAmount(-int32_t(i % 9000) - 1);
            store.Release(item);
        }
    }
    ~TLedgerBudget() { TQuilletData::SetCurrent(nullptr); }
    TLedgerBudget(const TLedgerBudget&) = delete;
    TLedgerBudget& operator=(const TLedgerBudget&) = delete;

    // Checking's ledger rows, their blank rows dated today in its default envelope.
    std::unique_ptr<TXViewList> AccountRows() const {
        TXRecord blank;
        blank.Init(TDate::Today());
        blank.flags = XNewAccountRecord;
        blank.date = TDate::Today().Key();
        blank.account = checking;
        blank.envelope = food;
        return std::make_unique<TXViewList>(doc->GetXManager(),
                                            std::make_unique<TEditableFilter>(17, checking), blank);
    }
};
