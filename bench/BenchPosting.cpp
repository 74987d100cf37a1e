// Posting into a large store: adding many records at once (a statement import from the file to
// the saved budget, records added in random date order) and the single edits of a ledger (a date
// changed and the record re-sorted, one record added, one deleted, a ledger walked both ways).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetFile.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "core/SettingsList.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "import/Importer.h"
#include "import/StatementFile.h"
#include "platform/Platform.h"
#include "transactions/Filters.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

namespace fs = std::filesystem;

// The programs map large record blocks themselves from start-up; so do the benchmarks.
[[maybe_unused]] const bool largeBlocks = (InstallLargeBlockMemory(), true);

constexpr int Accounts = 20;
constexpr int Envelopes = 200;
constexpr uint32_t StatementItems = 50000;

// A budget of 20 accounts and 200 envelopes whose store holds `count` records over five years,
// about `count / 1825` a day, made the open document. Account 1 holds one record in twenty. The
// records are stored directly and their amounts posted once per account and envelope, so the
// budget is sound.
struct TBudget {
    std::unique_ptr<TQuilletData> doc = std::make_unique<TQuilletData>();

    explicit TBudget(uint32_t count) {
        TQuilletData::SetCurrent(doc.get());
        TEnvelopeRoot* envelopes = doc->GetEnvelopes().GetEnvelopeRoot();
        for (int i = 0; i < Envelopes; ++i)
            envelopes->NewEnvelope("Envelope " + std::to_string(i));
        TAccountRoot* accounts = doc->GetAccounts().GetAccountRoot();
        for (int i = 0; i < Accounts; ++i)
            accounts->NewAccount("Account " + std::to_string(i), "", 1 + i % 6, "Envelope 0");
        TXManager& store = doc->GetXManager();
        TDate day(1, 1, 2010);
        TXRecord r;
        std::vector<int32_t> accountSums(Accounts + 1), envelopeSums(Envelopes + 1);
        for (uint32_t i = 0; i < count; ++i) {
            if (i > 0 && i % (count / 1825 + 1) == 0) day.NextDay();
            r.Init(day);
            r.flags = XCommitted | XAccount;
            r.account = 1 + i % Accounts;
            r.envelope = 1 + (i * 7) % Envelopes;
            r.date = day.Key();
            r.amount = (i % 5 == 0 ? 1 : -1) * static_cast<int32_t>(100 + i % 9000);
            r.SetCode(std::to_string(1000 + i % 500));
            r.SetPayableTo("Payee number " + std::to_string(i % 700));
            store.NewRecord(r);
            accountSums[r.account] += r.amount;
            envelopeSums[r.envelope] += r.amount;
        }
        store.Flush();
        for (uint32_t id = 1; id <= Accounts; ++id)
            doc->GetAccounts().ChangeBalance(id, accountSums[id]);
        for (uint32_t id = 1; id <= Envelopes; ++id)
            doc->GetEnvelopes().ChangeBalance(id, envelopeSums[id]);
    }
    ~TBudget() { TQuilletData::SetCurrent(nullptr); }

    TXManager& Store() { return doc->GetXManager(); }
};

// A statement of 50,000 items over the last year of the budget, none of them in it yet.
std::string MakeStatement() {
    std::mt19937 rng(7);
    std::string text =
        "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\n\r\n<OFX>\r\n<BANKMSGSRSV1>\r\n"
        "<STMTTRNRS>\r\n<STMTRS>\r\n<BANKTRANLIST>\r\n";
    char line[256];
    for (uint32_t i = 0; i < StatementItems; ++i) {
        TDate day(1, 1, 2014);
        for (int k = std::uniform_int_distribution<int>(0, 364)(rng); k > 0; --k)
            day.NextDay();
        int cents = std::uniform_int_distribution<int>(100, 90000)(rng);
        bool credit = i % 6 == 0;
        std::snprintf(
            line, sizeof line,
            "<STMTTRN>\r\n<TRNTYPE>%s\r\n<DTPOSTED>%04d%02d%02d120000\r\n<TRNAMT>%s%d.%02d"
            "\r\n<FITID>%u\r\n<NAME>PAYEE %u\r\n<MEMO>POS PURCHASE %u\r\n</STMTTRN>\r\n",
            credit ? "CREDIT" : "DEBIT", day.Year(), day.Month(), day.Day(), credit ? "" : "-",
            cents / 100, cents % 100, 700000 + i, i % 977, i);
        text += line;
    }
    text += "</BANKTRANLIST>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";
    return text;
}

// The budget file (100,000 records) and the statement, written to the temporary folder;
// "quillet-cli import" can be timed on the same two files (the budget is left as made).
struct TImportFiles {
    fs::path budget = fs::temp_directory_path() / "quillet-bench-import.qlt";
    fs::path statement = fs::temp_directory_path() / "quillet-bench-statement.ofx";
    std::vector<uint8_t> budgetBytes;

    TImportFiles() {
        RegisterQuilletClasses();
        {
            TBudget made(100000);
            budgetBytes = WriteBudget(*made.doc);
        }
        std::ofstream(statement, std::ios::binary) << MakeStatement();
    }
    void ResetBudget() const {
        std::ofstream(budget, std::ios::binary)
            .write(reinterpret_cast<const char*>(budgetBytes.data()),
                   static_cast<std::streamsize>(budgetBytes.size()));
    }
};

// What "quillet-cli import BUDGET STATEMENT --account NAME" does: read the budget and the
// statement, match, post, save through the atomic replacement.
void BM_ImportStatementIntoLargeBudget(benchmark::State& state) {
    static const TImportFiles files;
    TLinuxPlatform platform;
    for (auto _ : state) {
        state.PauseTiming();
        files.ResetBudget();
        state.ResumeTiming();
        std::string error;
        std::unique_ptr<TQuilletData> doc = LoadBudgetFile(files.budget, error);
        TQuilletData::SetCurrent(doc.get());
        std::vector<TImportItem> items;
        ReadOfxFile(files.statement, items);
        uint32_t account = doc->GetAccounts().FindId("Account 1");
        TSettingsList config;
        TImportOptions options = PrepareImport(*doc, config, account, items);
        TImportResult result = RunImport(*doc, account, std::move(items), options);
        bool saved = SaveBudgetFile(*doc, files.budget, platform, error);
        state.counters["added"] = static_cast<double>(result.added.size());
        if (!saved) {
            state.SkipWithError(error.c_str());
            break;
        }
        TQuilletData::SetCurrent(nullptr);
    }
    files.ResetBudget();
    state.SetItemsProcessed(state.iterations() * StatementItems);
}
BENCHMARK(BM_ImportStatementIntoLargeBudget)->Unit(benchmark::kMillisecond)->Iterations(5);

// Days in random order over the five years of the budget.
std::vector<TDate> RandomDays(uint32_t count, std::mt19937& rng) {
    auto pick = [&rng](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(rng);
    };
    std::vector<TDate> days;
    days.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        days.emplace_back(pick(1, 28), pick(1, 12), pick(2010, 2014));
    return days;
}

// Records added as a ledger adds them (made, given an amount, let go), one on each day given.
void AddRecords(TBudget& budget, const std::vector<TDate>& days) {
    TXManager& store = budget.Store();
    for (uint32_t i = 0; i < days.size(); ++i) {
        TXRecord r;
        r.Init(days[i]);
        r.flags = XNewAccountRecord;
        r.account = 1 + i % Accounts;
        r.envelope = 1 + (i * 11) % Envelopes;
        r.date = days[i].Key();
        r.SetPayableTo("Added");
        TXItem* item = store.NewItem(r);
        item->SetAmount(-static_cast<int32_t>(100 + i % 5000));
        store.Release(item);
    }
}

// Posted together, as the import posts them. The days are drawn before the clock starts.
void BM_AddRecordsInRandomDateOrder(benchmark::State& state) {
    constexpr uint32_t Added = 50000;
    for (auto _ : state) {
        state.PauseTiming();
        TBudget budget(100000);
        std::mt19937 rng(11);
        std::vector<TDate> days = RandomDays(Added, rng);
        state.ResumeTiming();
        {
            TXManager::TBulkPosting posting(budget.Store());
            AddRecords(budget, days);
        }
        benchmark::DoNotOptimize(budget.Store().RecordAt(1));
    }
    state.SetItemsProcessed(state.iterations() * Added);
}
BENCHMARK(BM_AddRecordsInRandomDateOrder)->Unit(benchmark::kMillisecond)->Iterations(5);

// --- Single edits in stores of growing size (the argument is the number of records).

// The date of the record in the middle of the store moves one day on and back again: a move of
// about count / 1825 places each way.
void BM_ChangeDateNearby(benchmark::State& state) {
    TBudget budget(static_cast<uint32_t>(state.range(0)));
    TXManager& store = budget.Store();
    uint32_t id = store.RecordAt(store.GetCount() / 2).id;
    bool forward = true;
    for (auto _ : state) {
        TXItem* item = store.GetItem(id);
        TDate date(item->Record().date);
        if (forward)
            date.NextDay();
        else
            date.PrevDay();
        forward = !forward;
        item->Data().date = date.Key();
        item->MarkChanged(true);
        store.Release(item);
    }
}

// The first record of the store moves to the end and back again.
void BM_ChangeDateEndToEnd(benchmark::State& state) {
    TBudget budget(static_cast<uint32_t>(state.range(0)));
    TXManager& store = budget.Store();
    uint32_t id = store.RecordAt(1).id;
    uint32_t first = store.RecordAt(1).date;
    uint32_t last = TDate(31, 12, 2020).Key();
    for (auto _ : state) {
        TXItem* item = store.GetItem(id);
        item->Data().date = item->Record().date == first ? last : first;
        item->MarkChanged(true);
        store.Release(item);
    }
}

void BM_AddOneRecord(benchmark::State& state) {
    TBudget budget(static_cast<uint32_t>(state.range(0)));
    TXManager& store = budget.Store();
    TXRecord r;
    r.Init(TDate(15, 6, 2012));
    r.flags = XNewAccountRecord;
    r.account = 1;
    r.envelope = 1;
    r.date = r.created;
    r.SetPayableTo("Added");
    for (auto _ : state) {
        TXItem* item = store.NewItem(r);
        item->SetAmount(-1234);
        store.Release(item);
    }
}

void BM_DeleteOneRecord(benchmark::State& state) {
    TBudget budget(static_cast<uint32_t>(state.range(0)));
    TXManager& store = budget.Store();
    for (auto _ : state) {
        TXItem* item = store.GetItem(store.RecordAt(store.GetCount() / 2).id);
        store.Delete(item);
    }
}

// Account 1's ledger of 5,000 records, first to last and back with FindNext and FindPrevious.
void BM_WalkLedgerBothWays(benchmark::State& state) {
    TBudget budget(static_cast<uint32_t>(state.range(0)));
    TXManager& store = budget.Store();
    TAccountFilter filter(1);
    uint32_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        TXItem* item = store.FindFirst(filter);
        for (TXItem* next; item; item = next, ++rows) {
            next = store.FindNext(item, filter);
            if (!next) break;
            store.Release(item);
        }
        for (TXItem* previous; item; item = previous, ++rows) {
            previous = store.FindPrevious(item, filter);
            store.Release(item);
        }
    }
    state.counters["rows"] = rows;
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(25000)->Arg(50000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_ChangeDateNearby)->Apply(Sizes);
BENCHMARK(BM_ChangeDateEndToEnd)->Apply(Sizes);
BENCHMARK(BM_AddOneRecord)->Apply(Sizes)->Iterations(2000);
BENCHMARK(BM_DeleteOneRecord)->Apply(Sizes)->Iterations(2000);
BENCHMARK(BM_WalkLedgerBothWays)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
