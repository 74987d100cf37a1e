// Statement import: reading large OFX and QIF statements, and matching statements against ledgers
// of growing size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "import/ImportMatch.h"
#include "import/OfxReader.h"
#include "import/QifReader.h"

namespace {

// A ledger as people keep one: five years of transactions, many of them recurring at the same
// amount, one in ten a numbered check.
struct TLedgerMaker {
    std::mt19937 rng{12345};

    TDate RandomDay(int spanDays) {
        TDate d(1, 1, 2008);
        int steps = std::uniform_int_distribution<int>(0, spanDays - 1)(rng);
        // Whole years first, so that making a date stays cheap.
        while (steps >= 365) {
            d = TDate(d.Day(), d.Month(), d.Year() + 1);
            steps -= 365;
        }
        for (int k = 0; k < steps; ++k)
            d.NextDay();
        return d;
    }

    int64_t RandomAmount() {
        static const int64_t recurring[] = {-4999, -1299, -8500, -120000, 250000, -2000, -6000};
        if (std::uniform_int_distribution<int>(0, 3)(rng) == 0)
            return recurring[std::uniform_int_distribution<size_t>(0,
                                                                   std::size(recurring) - 1)(rng)];
        int64_t cents = std::uniform_int_distribution<int64_t>(100, 50000)(rng);
        return std::uniform_int_distribution<int>(0, 4)(rng) == 0 ? cents : -cents;
    }

    std::vector<TImportCandidate> Ledger(size_t count) {
        std::vector<TImportCandidate> ledger;
        ledger.reserve(count);
        for (size_t j = 0; j < count; ++j) {
            TImportCandidate c;
            c.id = static_cast<uint32_t>(j + 1);
            c.date = RandomDay(5 * 365);
            c.amount = TMoney::FromCents(RandomAmount());
            if (j % 10 == 0) c.code = std::to_string(1000 + j / 10);
            ledger.push_back(c);
        }
        return ledger;
    }

    // Most statement items are ledger transactions as the bank posted them a few days later;
    // the rest are new to the ledger.
    std::vector<TImportItem> Statement(const std::vector<TImportCandidate>& ledger, size_t count) {
        std::vector<TImportItem> items;
        items.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            TImportItem item;
            if (std::uniform_int_distribution<int>(0, 9)(rng) < 8) {
                const TImportCandidate& c =
                    ledger[std::uniform_int_distribution<size_t>(0, ledger.size() - 1)(rng)];
                item.date = c.date;
                for (int k = std::uniform_int_distribution<int>(0, 4)(rng); k > 0; --k)
                    item.date.NextDay();
                item.amount = c.amount;
                item.number = c.code;
            } else {
                item.date = RandomDay(5 * 365);
                item.amount = TMoney::FromCents(RandomAmount());
            }
            items.push_back(item);
        }
        return items;
    }
};

std::string Cents(int64_t cents) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", cents < 0 ? "-" : "",
                  static_cast<long long>((cents < 0 ? -cents : cents) / 100),
                  static_cast<long long>((cents < 0 ? -cents : cents) % 100));
    return buf;
}

std::string MakeOfx(const std::vector<TImportItem>& items) {
    std::string text =
        "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\n\r\n<OFX>\r\n<BANKMSGSRSV1>\r\n"
        "<STMTTRNRS>\r\n<STMTRS>\r\n<BANKTRANLIST>\r\n";
    char buf[64];
    for (size_t i = 0; i < items.size(); ++i) {
        const TImportItem& item = items[i];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d120000.000[-5:EST]", item.date.Year(),
                      item.date.Month(), item.date.Day());
        text += "<STMTTRN>\r\n<TRNTYPE>";
        text += item.amount.Cents() < 0 ? "DEBIT" : "CREDIT";
        text += "\r\n<DTPOSTED>";
        text += buf;
        text += "\r\n<TRNAMT>" + Cents(item.amount.Cents());
        text += "\r\n<FITID>" + std::to_string(900000 + i);
        if (!item.number.empty()) text += "\r\n<CHECKNUM>" + item.number;
        text += "\r\n<NAME>PAYEE NUMBER " + std::to_string(i % 977);
        text += "\r\n<MEMO>POS PURCHASE " + std::to_string(i) + "\r\n</STMTTRN>\r\n";
    }
    text += "</BANKTRANLIST>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";
    return text;
}

std::string MakeQif(const std::vector<TImportItem>& items) {
    std::string text = "!Type:Bank\r\n";
    auto line = [&text](char code, const std::string& value) {
        text.push_back(code);
        text.append(value).append("\r\n");
    };
    for (size_t i = 0; i < items.size(); ++i) {
        const TImportItem& item = items[i];
        line('D', item.date.Format(DateShortYear));
        line('T', Cents(item.amount.Cents()));
        line('C', "X");
        if (!item.number.empty()) line('N', item.number);
        line('P', "Payee number " + std::to_string(i % 977));
        line('M', "Purchase " + std::to_string(i));
        line('L', "Groceries");
        line('^', "");
    }
    return text;
}

void BM_ReadOfx(benchmark::State& state) {
    TLedgerMaker maker;
    std::string text = MakeOfx(maker.Statement(maker.Ledger(1000), 50000));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadOfxStatement(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["transactions"] = 50000;
}
BENCHMARK(BM_ReadOfx)->Unit(benchmark::kMillisecond);

void BM_ReadQif(benchmark::State& state) {
    TLedgerMaker maker;
    std::string text = MakeQif(maker.Statement(maker.Ledger(1000), 50000));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadQifStatement(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["transactions"] = 50000;
}
BENCHMARK(BM_ReadQif)->Unit(benchmark::kMillisecond);

// Statement items against ledger transactions; arguments are the two counts.
void BM_Match(benchmark::State& state) {
    TLedgerMaker maker;
    auto ledger = maker.Ledger(static_cast<size_t>(state.range(1)));
    auto items = maker.Statement(ledger, static_cast<size_t>(state.range(0)));
    size_t matched = 0;
    for (auto _ : state) {
        auto match = MatchImportItems(items, ledger, false);
        matched = 0;
        for (int32_t j : match)
            matched += j >= 0;
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matched"] = static_cast<double>(matched);
}
BENCHMARK(BM_Match)
    ->Args({500, 5000})
    ->Args({1000, 10000})
    ->Args({5000, 50000})
    ->Unit(benchmark::kMillisecond);

// The hardest shape for the search: one amount throughout, so every item could pair with every
// transaction and only the dates tell them apart.
void BM_MatchOneAmount(benchmark::State& state) {
    TLedgerMaker maker;
    auto ledger = maker.Ledger(static_cast<size_t>(state.range(1)));
    auto items = maker.Statement(ledger, static_cast<size_t>(state.range(0)));
    for (auto& c : ledger)
        c.amount = TMoney::FromCents(-1000);
    for (auto& item : items)
        item.amount = TMoney::FromCents(-1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(MatchImportItems(items, ledger, false));
}
BENCHMARK(BM_MatchOneAmount)
    ->Args({500, 5000})
    ->Args({1000, 10000})
    ->Args({5000, 50000})
    ->Unit(benchmark::kMillisecond);

// Reading a 5,000-transaction statement and matching it against a 50,000-transaction ledger.
void BM_ReadAndMatchOfx(benchmark::State& state) {
    TLedgerMaker maker;
    auto ledger = maker.Ledger(50000);
    std::string text = MakeOfx(maker.Statement(ledger, 5000));
    for (auto _ : state) {
        auto items = ReadOfxStatement(text);
        AssignImportMatches(items, ledger, false);
        benchmark::DoNotOptimize(items);
    }
}
BENCHMARK(BM_ReadAndMatchOfx)->Unit(benchmark::kMillisecond);

}  // namespace
