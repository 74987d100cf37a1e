// An open account ledger over a long-kept budget: opening it (load at the end and the first
// paint), one typed cell committed and repainted, and a drag of the scroll bar's thumb across
// the whole store, at 25,000 to 200,000 records. The rows an open ledger holds are reported as
// counters: they stay the same whatever the store's size.
#include <benchmark/benchmark.h>

#include <memory>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/EditableFilter.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"
#include "views/XViewList.h"
#include "views/qt/Ledger.h"

// After the store's headers: a member of the store is called "slots", a word the toolkit defines.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

namespace {

void EnsureApplication() {
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillet_bench";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QApplication>(argc, argv);
    }();
}

// Two accounts sharing the store half and half, three envelopes, a few records a day.
struct TLedgerBudget {
    std::unique_ptr<TQuilletData> doc = std::make_unique<TQuilletData>();
    uint32_t checking = 0, food = 0;

    explicit TLedgerBudget(uint32_t count) {
        TQuilletData::SetCurrent(doc.get());
        TEnvelopeRoot* root = doc->GetEnvelopes().GetEnvelopeRoot();
        for (const char* name : {"Food", "Rent", "Spare"})
            root->NewEnvelope(name);
        uint32_t envelopes[3] = {doc->GetEnvelopes().FindId("Food"),
                                 doc->GetEnvelopes().FindId("Rent"),
                                 doc->GetEnvelopes().FindId("Spare")};
        TAccountRoot* accounts = doc->GetAccounts().GetAccountRoot();
        accounts->NewAccount("Checking", "", 1, "Food");
        accounts->NewAccount("Savings", "", 2, "Spare");
        checking = doc->GetAccounts().FindId("Checking");
        const uint32_t savings = doc->GetAccounts().FindId("Savings");
        food = envelopes[0];
        TXManager& store = doc->GetXManager();
        TXManager::TBulkPosting bulk(store);
        TDate day(1, 1, 2000);
        for (uint32_t i = 0; i < count; ++i) {
            if (i % 8 == 0) day.NextDay();
            TXRecord r;
            r.Init(day);
            r.flags = XNewAccountRecord;
            r.account = i % 2 ? savings : checking;
            r.envelope = envelopes[i % 3];
            r.date = day.Key();
            TXItem* item = store.NewItem(r);
            item->SetCellText(XColPayableTo, "Shop");
            item->SetAmount(-int32_t(i % 9000) - 1);
            store.Release(item);
        }
    }
    ~TLedgerBudget() { TQuilletData::SetCurrent(nullptr); }

    std::unique_ptr<TXViewList> AccountRows() {
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

std::unique_ptr<TLedger> MakeLedger(TXViewList& rows) {
    auto ledger = std::make_unique<TLedger>(nullptr, rows, true);
    for (auto [id, chars] : {std::pair{XColCode, 6u},
                             {XColDate, 7u},
                             {XColPayableTo, 20u},
                             {XColEnvelope, 15u},
                             {XColAccountCleared, 2u},
                             {XColPayment, 10u},
                             {XColDeposit, 10u}})
        ledger->AddColumn(id, chars);
    ledger->SetStripe(TLedger::TransactionStripe());
    ledger->resize(1000, 700);
    ledger->Relayout(false);
    return ledger;
}

void Paint(TLedger& ledger, QImage& image) {
    QPainter painter(&image);
    ledger.PaintTo(painter);
}

void Counters(benchmark::State& state, TLedgerBudget& budget) {
    const uint32_t out = budget.doc->GetXManager().CountItemsOut();
    state.counters["rows_held"] = out;
    state.counters["row_bytes_held"] = double(out) * double(sizeof(TXItem));
    state.counters["store_records"] = budget.doc->GetXManager().GetCount();
}

void BM_OpenAccountLedger(benchmark::State& state) {
    EnsureApplication();
    TLedgerBudget budget(static_cast<uint32_t>(state.range(0)));
    QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        auto rows = budget.AccountRows();
        auto ledger = MakeLedger(*rows);
        ledger->LoadAtEnd(false);
        Paint(*ledger, image);
        state.PauseTiming();
        Counters(state, budget);
        ledger.reset();
        rows.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAccountLedger)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

void BM_TypeOneCell(benchmark::State& state) {
    EnsureApplication();
    TLedgerBudget budget(static_cast<uint32_t>(state.range(0)));
    auto rows = budget.AccountRows();
    auto ledger = MakeLedger(*rows);
    ledger->LoadAtEnd(false);
    QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
    ledger->Grid().MoveTo(ledger->Grid().CursorRow(), 6);  // the payment column
    int cents = 100;
    for (auto _ : state) {
        ledger->BeginEdit(EditWithValue);
        qobject_cast<QLineEdit*>(ledger->Editor())->setText(QString::number(++cents % 900 + 1));
        ledger->CloseEditor();
        Paint(*ledger, image);
    }
    Counters(state, budget);
}
BENCHMARK(BM_TypeOneCell)->Arg(25000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMicrosecond);

// One step of a drag: the thumb at the next position, the grid jumping there and repainting.
void BM_DragScrollBarAcrossTheStore(benchmark::State& state) {
    EnsureApplication();
    TLedgerBudget budget(static_cast<uint32_t>(state.range(0)));
    auto rows = budget.AccountRows();
    auto ledger = MakeLedger(*rows);
    ledger->LoadAtEnd(false);
    QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
    TLedgerGrid& grid = ledger->Grid();
    const uint32_t low = grid.ScrollMinimum(), high = grid.ScrollMaximum();
    const uint32_t step = std::max<uint32_t>(1, (high - low) / 200);
    uint32_t position = low;
    for (auto _ : state) {
        position = position + step > high ? low : position + step;
        grid.JumpTo(position);
        Paint(*ledger, image);
    }
    Counters(state, budget);
}
BENCHMARK(BM_DragScrollBarAcrossTheStore)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Arg(200000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
