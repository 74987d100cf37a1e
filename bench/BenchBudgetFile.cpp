// Loading and saving a large budget, against a plain read and write of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetFile.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/XManager.h"
#include "transactions/XRecord.h"

namespace {

namespace fs = std::filesystem;

constexpr int Accounts = 20;
constexpr int Envelopes = 200;
constexpr int Transactions = 100000;

// A budget of 20 accounts, 200 envelopes and 100,000 committed transactions, written once.
const fs::path& BudgetPath() {
    static fs::path path = [] {
        RegisterQuilletClasses();
        TQuilletData doc;
        TQuilletData::SetCurrent(&doc);
        TEnvelopeRoot* envelopes = doc.GetEnvelopes().GetEnvelopeRoot();
        for (int i = 0; i < Envelopes; ++i)
            envelopes->NewEnvelope("Envelope " + std::to_string(i));
        TAccountRoot* accounts = doc.GetAccounts().GetAccountRoot();
        for (int i = 0; i < Accounts; ++i)
            accounts->NewAccount("Account " + std::to_string(i), "", 1 + i % 6, "Envelope 0");
        TXManager& store = doc.GetXManager();
        TXRecord r;
        for (int i = 0; i < Transactions; ++i) {
            // Dates rise with i, so the store order is the order of adding.
            r.Init(TDate(1 + (i / 12) % 28, 1 + (i / 336) % 12, 2000 + i / 4032));
            r.flags = XCommitted | XAccount;
            r.account = 1 + static_cast<uint32_t>(i % Accounts);
            r.envelope = 1 + static_cast<uint32_t>(i % Envelopes);
            r.date = r.created;
            r.amount = (i % 3 == 0 ? 1 : -1) * (100 + i % 9000);
            r.SetCode(std::to_string(1000 + i % 500));
            r.SetPayableTo("Payee number " + std::to_string(i % 700));
            r.SetMemo("memo");
            store.NewRecord(r);
        }
        store.Flush();
        std::vector<uint8_t> bytes = WriteBudget(doc);
        fs::path p = fs::temp_directory_path() / "quillet-bench-budget.qlt";
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        TQuilletData::SetCurrent(nullptr);
        return p;
    }();
    return path;
}

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::vector<uint8_t> bytes;
    std::string error;
    ReadWholeFile(p.string(), bytes, error);
    return bytes;
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

void BM_PlainRead(benchmark::State& state) {
    const fs::path& p = BudgetPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAll(p));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(p)));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_LoadBudget(benchmark::State& state) {
    const fs::path& p = BudgetPath();
    for (auto _ : state) {
        std::string error;
        auto doc = LoadBudgetFile(p.string(), error);
        if (!doc) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(doc.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(p)));
}
BENCHMARK(BM_LoadBudget)->Unit(benchmark::kMillisecond);

void BM_PlainWrite(benchmark::State& state) {
    std::vector<uint8_t> bytes = ReadAll(BudgetPath());
    fs::path out = fs::temp_directory_path() / "quillet-bench-plain.qlt";
    for (auto _ : state)
        WriteAll(out, bytes);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
    fs::remove(out);
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

// Serialising the document and writing it the same plain way.
void BM_SaveBudget(benchmark::State& state) {
    std::string error;
    auto doc = LoadBudgetFile(BudgetPath().string(), error);
    fs::path out = fs::temp_directory_path() / "quillet-bench-save.qlt";
    for (auto _ : state)
        WriteAll(out, WriteBudget(*doc));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(out)));
    fs::remove(out);
}
BENCHMARK(BM_SaveBudget)->Unit(benchmark::kMillisecond);

}  // namespace
