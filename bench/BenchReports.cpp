// Preparing each report's data on a long-kept budget: 100,000 transactions, 20 accounts and an
// envelope tree of 500 nodes (the root, the plan's 13 envelopes, 27 bundles of 17 envelopes).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "envelopes/Bundle.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/AllocationPlan.h"
#include "reports/AccountLedgerReport.h"
#include "reports/AccountSummaryReport.h"
#include "reports/AllocationPlanReport.h"
#include "reports/EnvelopeActivityReport.h"
#include "reports/EnvelopeLedgerReport.h"
#include "reports/EnvelopeSummaryReport.h"
#include "transactions/XManager.h"
#include "transactions/XRecord.h"

namespace {

constexpr int Accounts = 20;
constexpr int Bundles = 27;
constexpr int PerBundle = 17;
constexpr int Transactions = 100000;

struct TBudget {
    std::unique_ptr<TQuilletData> doc = std::make_unique<TQuilletData>();
    std::vector<uint32_t> envelopes;
    uint32_t firstBundle = 0;
    TDate from{1, 1, 2000}, to{31, 12, 2030};

    TBudget() {
        RegisterQuilletClasses();
        TQuilletData::SetCurrent(doc.get());
        TEnvelopeList& list = doc->GetEnvelopes();
        TEnvelopeRoot* root = list.GetEnvelopeRoot();
        // The plan's envelopes and its two incomes.
        TNewPlanInput plan;
        plan.incomes[0] = 3000;
        plan.incomes[1] = 1200;
        doc->GetPlan().SetUpNewPlanHeadless(plan);
        // Bundles are named through their properties dialog; here they are made and named
        // directly, as reading a file makes them.
        for (int b = 0; b < Bundles; ++b) {
            auto* bundle = new TBundle(&list, list.NewId());
            bundle->SetName("Bundle " + std::to_string(b));
            root->AddChild(bundle);
            if (b == 0) firstBundle = bundle->GetId();
            for (int e = 0; e < PerBundle; ++e) {
                std::string name = "Envelope " + std::to_string(b) + "-" + std::to_string(e);
                bundle->NewEnvelope(name);
                envelopes.push_back(list.FindId(name));
            }
        }
        for (int i = 0; i < Accounts; ++i)
            doc->GetAccounts().GetAccountRoot()->NewAccount("Account " + std::to_string(i), "",
                                                            1 + i % 6, "Unallocated");
        Fill();
    }
    ~TBudget() { TQuilletData::SetCurrent(nullptr); }

    // Records added the fastest way, in store order: mostly plain payments and deposits, an
    // envelope transfer pair every 50 records and a multiple of two parts every 40.
    void Fill() {
        TXManager& store = doc->GetXManager();
        TXRecord r;
        auto add = [&](uint32_t flags, uint32_t account, uint32_t envelope, int32_t amount,
                       TDate day, uint32_t parent, uint32_t partner = 0) {
            r.Init(day);
            r.flags = XCommitted | flags;
            r.account = account;
            r.envelope = envelope;
            r.parent = parent;
            r.partner = partner;
            r.date = day.Key();
            r.amount = amount;
            r.SetCode(flags & XTransfer ? "xfer" : std::to_string(1000 + r.amount % 500));
            r.SetPayableTo("Payee " + std::to_string(amount % 700));
            r.SetMemo(amount % 3 ? "memo" : "");
            return store.NewRecord(r);
        };
        for (int i = 0; i < Transactions;) {
            TDate day(1 + (i / 12) % 28, 1 + (i / 336) % 12, 2000 + i / 4032);
            uint32_t account = 1 + static_cast<uint32_t>(i % Accounts);
            uint32_t envelope = envelopes[static_cast<size_t>(i) % envelopes.size()];
            int32_t amount = (i % 3 == 0 ? 1 : -1) * (100 + i % 9000);
            if (i % 50 == 0) {
                uint32_t other = envelopes[static_cast<size_t>(i / 50) % envelopes.size()];
                uint32_t a = add(XKindEnvelopeTransfer, 0, envelope, -amount, day, 0);
                uint32_t b = add(XKindEnvelopeTransfer, 0, other, amount, day, 0, a);
                TXRecord first = *store.FindRecord(a);
                first.partner = b;
                store.Commit(first);
                i += 2;
            } else if (i % 40 == 1) {
                uint32_t m = add(XKindMultiple, account, 0, -2 * (100 + i % 900), day, 0);
                add(XKindPart, account, envelope, -(100 + i % 900), day, m);
                add(XKindPart, account, envelopes[(static_cast<size_t>(i) + 7) % envelopes.size()],
                    -(100 + i % 900), day, m);
                i += 3;
            } else {
                add(XAccount, account, envelope, amount, day, 0);
                ++i;
            }
        }
        store.Flush();
    }
};

// One budget for every benchmark; making it takes longer than all of them.
TBudget& Budget() {
    static TBudget budget;
    TQuilletData::SetCurrent(budget.doc.get());
    return budget;
}

void BM_AccountLedger(benchmark::State& state) {
    TBudget& b = Budget();
    TAccountLedgerReport report;
    for (auto _ : state) {
        report.Prepare(*b.doc, {1, b.from, b.to});
        benchmark::DoNotOptimize(report.Count());
    }
    state.counters["lines"] = report.Count();
}
BENCHMARK(BM_AccountLedger)->Unit(benchmark::kMillisecond);

void BM_AccountLedgerText(benchmark::State& state) {
    TBudget& b = Budget();
    TAccountLedgerReport report;
    report.Prepare(*b.doc, {1, b.from, b.to});
    for (auto _ : state)
        benchmark::DoNotOptimize(report.GetFileText());
}
BENCHMARK(BM_AccountLedgerText)->Unit(benchmark::kMillisecond);

// Over a bundle, so every record asks whether its envelope lies under the node.
void BM_EnvelopeLedgerOfABundle(benchmark::State& state) {
    TBudget& b = Budget();
    TEnvelopeLedgerReport report;
    for (auto _ : state) {
        report.Prepare(*b.doc, {b.firstBundle, b.from, b.to, false});
        benchmark::DoNotOptimize(report.Count());
    }
    state.counters["lines"] = report.Count();
}
BENCHMARK(BM_EnvelopeLedgerOfABundle)->Unit(benchmark::kMillisecond);

// Every transaction of the budget in one ledger.
void BM_EnvelopeLedgerOfTheRoot(benchmark::State& state) {
    TBudget& b = Budget();
    TEnvelopeLedgerReport report;
    uint32_t root = b.doc->GetEnvelopes().GetEnvelopeRoot()->GetId();
    for (auto _ : state) {
        report.Prepare(*b.doc, {root, b.from, b.to, false});
        benchmark::DoNotOptimize(report.Count());
    }
    state.counters["lines"] = report.Count();
}
BENCHMARK(BM_EnvelopeLedgerOfTheRoot)->Unit(benchmark::kMillisecond);

void BM_AccountSummary(benchmark::State& state) {
    TBudget& b = Budget();
    TAccountSummaryReport report;
    for (auto _ : state) {
        report.Prepare(*b.doc);
        benchmark::DoNotOptimize(report.Count());
    }
}
BENCHMARK(BM_AccountSummary)->Unit(benchmark::kMillisecond);

void BM_AllocationPlan(benchmark::State& state) {
    TBudget& b = Budget();
    TAllocationPlanReport report;
    for (auto _ : state) {
        report.Prepare(*b.doc, {Period::Weekly});
        benchmark::DoNotOptimize(report.Count());
    }
}
BENCHMARK(BM_AllocationPlan)->Unit(benchmark::kMillisecond);

void BM_EnvelopeActivityOfTheRoot(benchmark::State& state) {
    TBudget& b = Budget();
    TEnvelopeActivityReport report;
    uint32_t root = b.doc->GetEnvelopes().GetEnvelopeRoot()->GetId();
    for (auto _ : state) {
        report.Prepare(*b.doc, {root, TDate(1, 1, 2010), TDate(31, 12, 2015), {}});
        benchmark::DoNotOptimize(report.Rows().size());
    }
    state.counters["rows"] = static_cast<double>(report.Rows().size());
}
BENCHMARK(BM_EnvelopeActivityOfTheRoot)->Unit(benchmark::kMillisecond);

void BM_EnvelopeSummaryOfTheRoot(benchmark::State& state) {
    TBudget& b = Budget();
    TEnvelopeSummaryReport report;
    uint32_t root = b.doc->GetEnvelopes().GetEnvelopeRoot()->GetId();
    for (auto _ : state) {
        report.Prepare(*b.doc, {root, 1});
        benchmark::DoNotOptimize(report.Count());
    }
}
BENCHMARK(BM_EnvelopeSummaryOfTheRoot)->Unit(benchmark::kMillisecond);

}  // namespace
