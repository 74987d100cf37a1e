// An open account ledger over a long-kept budget: opening it (load at the end and the first
// paint), one typed cell committed and repainted, and a drag of the scroll bar's thumb across
// the whole store, at 25,000 to 200,000 records. The rows an open ledger holds are reported as
// counters: they stay the same whatever the store's size.
#include <benchmark/benchmark.h>

#include <memory>

#include "tests/support/LedgerBudget.h"
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

std::unique_ptr<TLedger> MakeLedger(TXViewList& rows) {
    auto ledger = std::make_unique<TLedger>(nullptr, rows, true);
    for (auto [id, chars] : TLedgerBudget::AccountColumns)
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
