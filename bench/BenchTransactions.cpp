// The transaction store at the size of a long-kept budget: 100,000 records.
#include <benchmark/benchmark.h>

#include <memory>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/Filters.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

constexpr uint32_t Records = 100000;

// A budget with two accounts and three envelopes, made the open document.
struct TBudget {
    std::unique_ptr<TQuilletData> doc = std::make_unique<TQuilletData>();
    uint32_t accounts[2] = {};
    uint32_t envelopes[3] = {};

    TBudget() {
        TQuilletData::SetCurrent(doc.get());
        TEnvelopeRoot* root = doc->GetEnvelopes().GetEnvelopeRoot();
        const char* names[] = {"Food", "Rent", "Spare"};
        for (int i = 0; i < 3; ++i) {
            root->NewEnvelope(names[i]);
            envelopes[i] = doc->GetEnvelopes().FindId(names[i]);
        }
        doc->GetAccounts().GetAccountRoot()->NewAccount("Checking", "", 1, "Food");
        doc->GetAccounts().GetAccountRoot()->NewAccount("Savings", "", 2, "Spare");
        accounts[0] = doc->GetAccounts().FindId("Checking");
        accounts[1] = doc->GetAccounts().FindId("Savings");
    }
    ~TBudget() { TQuilletData::SetCurrent(nullptr); }

    // Records as a ledger adds them, a few a day, each typed and then let go.
    void Fill(uint32_t count) {
        TXManager& store = doc->GetXManager();
        TDate day(1, 1, 2015);
        for (uint32_t i = 0; i < count; ++i) {
            if (i % 30 == 0) day.NextDay();
            TXRecord r;
            r.Init(day);
            r.flags = XNewAccountRecord;
            r.account = accounts[i % 2];
            r.envelope = envelopes[i % 3];
            r.date = day.Key();
            TXItem* item = store.NewItem(r);
            item->SetCellText(XColPayableTo, "Shop");
            item->SetAmount(i % 5 == 0 ? 150000 : -int32_t(i % 9000) - 1);
            store.Release(item);
        }
    }
};

void BM_AddRecordsThroughTheStore(benchmark::State& state) {
    for (auto _ : state) {
        TBudget budget;
        budget.Fill(Records);
        benchmark::DoNotOptimize(budget.doc->GetXManager().GetCount());
    }
    state.SetItemsProcessed(state.iterations() * Records);
}
BENCHMARK(BM_AddRecordsThroughTheStore)->Unit(benchmark::kMillisecond);

void BM_CollectOneAccountsRecords(benchmark::State& state) {
    TBudget budget;
    budget.Fill(Records);
    TXManager& store = budget.doc->GetXManager();
    TAccountFilter filter(budget.accounts[0]);
    for (auto _ : state) {
        TXGenericList list = store.CollectMatching(filter);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * Records);
}
BENCHMARK(BM_CollectOneAccountsRecords)->Unit(benchmark::kMillisecond);

// Replacing an envelope touches a third of the store; each record finds its new place.
void BM_MoveAnEnvelopesRecords(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TBudget budget;
        budget.Fill(Records);
        state.ResumeTiming();
        budget.doc->GetXManager().MoveEnvelopeTransactions(budget.envelopes[0],
                                                           budget.envelopes[1]);
    }
    state.SetItemsProcessed(state.iterations() * Records / 3);
}
BENCHMARK(BM_MoveAnEnvelopesRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

// Deleting an account removes half the store in one bulk pass.
void BM_DeleteAnAccountsRecords(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TBudget budget;
        budget.Fill(Records);
        state.ResumeTiming();
        budget.doc->GetXManager().DeleteAccountTransactions(budget.accounts[0]);
    }
    state.SetItemsProcessed(state.iterations() * Records / 2);
}
BENCHMARK(BM_DeleteAnAccountsRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
