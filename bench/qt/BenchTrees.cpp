// The tree windows offscreen: opening an envelope window of 2,000 nodes and an account window of
// 200 with a full repaint, repainting alone, and dragging over rows, where only the rows whose
// drop mark changes are painted again (counted per mouse move).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <algorithm>
#include <memory>
#include <string>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "views/qt/TreeWindows.h"

namespace {

// Names every new bundle and group in turn.
class TNamingDialogs : public TEnvelopeDialogPort, public TAccountDialogPort {
public:
    std::string next;
    bool EditEnvelope(TEnvelopeBuffer& b) override { return b.name = next, true; }
    bool EditEnvelopeRoot(TEnvelopeRootBuffer&) override { return false; }
    bool EditBundle(TBundleBuffer& b) override { return b.name = next, true; }
    bool EditAssociation(TAssociationBuffer& b) override { return b.name = next, true; }
    bool DeleteEnvelope(TDeleteEnvelopeBuffer&) override { return false; }
    bool ChooseEnvelope(TChooseEnvelopeBuffer&) override { return false; }
    bool EditAccount(TAccountBuffer& b) override { return b.name = next, true; }
    bool EditAccountGroup(TAccountGroupBuffer& b) override { return b.name = next, true; }
    bool EditAccountRoot(TAccountRootBuffer&) override { return false; }
    bool ChooseAccount(TChooseAccountBuffer&) override { return false; }
};

// 100 bundles of 19 envelopes under the root: 2,000 nodes. 20 groups of 9 accounts: 200.
struct TBudget {
    TQuilletOptions options;
    TNamingDialogs naming;
    TPortInstall<TEnvelopeDialogPort> envelopes{EnvelopeDialogs, naming};
    TPortInstall<TAccountDialogPort> accounts{AccountDialogs, naming};
    TQuilletData doc;

    TBudget() {
        SetCurrentOptions(&options);
        TQuilletData::SetCurrent(&doc);
        TEnvelopeRoot* root = doc.GetEnvelopes().GetEnvelopeRoot();
        for (int b = 0; b < 100; ++b) {
            naming.next = "Bundle " + std::to_string(b);
            root->NewBundle();
            TEnvelopeNode* bundle = doc.GetEnvelopes().FindByName(naming.next);
            bundle->SetExpanded(true);
            for (int e = 0; e < 19; ++e)
                bundle->NewEnvelope("Envelope " + std::to_string(b) + "." + std::to_string(e));
        }
        root->SetExpanded(true);
        TAccountRoot* accountRoot = doc.GetAccounts().GetAccountRoot();
        for (int g = 0; g < 20; ++g) {
            naming.next = "Group " + std::to_string(g);
            accountRoot->NewGroup();
            TAccountNode* group = doc.GetAccounts().FindById(doc.GetAccounts().FindId(naming.next));
            if (!group) continue;
            group->SetExpanded(true);
            for (int a = 0; a < 9; ++a)
                group->NewAccount("Account " + std::to_string(g) + "." + std::to_string(a), "",
                                  1 + a % 6, "");
        }
        accountRoot->SetExpanded(true);
    }
    ~TBudget() {
        TQuilletData::SetCurrent(nullptr);
        SetCurrentOptions(nullptr);
    }
};

TBudget& Budget() {
    static TBudget budget;
    return budget;
}

template <class Window, class List>
void OpenAndPaint(benchmark::State& state, List& list) {
    for (auto _ : state) {
        Window window(list);
        window.resize(600, 900);
        QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot);
    }
    state.counters["rows"] = static_cast<double>(list.GetCount());
}

void BM_OpenEnvelopeWindow(benchmark::State& state) {
    OpenAndPaint<TEnvelopeTreeWindow>(state, Budget().doc.GetEnvelopes());
}
BENCHMARK(BM_OpenEnvelopeWindow)->Unit(benchmark::kMillisecond);

void BM_OpenAccountWindow(benchmark::State& state) {
    OpenAndPaint<TAccountTreeWindow>(state, Budget().doc.GetAccounts());
}
BENCHMARK(BM_OpenAccountWindow)->Unit(benchmark::kMillisecond);

void BM_RepaintEnvelopeWindow(benchmark::State& state) {
    TEnvelopeTreeWindow window(Budget().doc.GetEnvelopes());
    window.resize(600, 900);
    window.verticalScrollBar()->setValue(1000);
    for (auto _ : state) {
        QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_RepaintEnvelopeWindow)->Unit(benchmark::kMillisecond);

// The widest row with every label shaped in full (what the windows avoid by measuring a
// character at a time), and with the labels built alone.
void BM_MeasureEnvelopeLabels(benchmark::State& state) {
    TEnvelopeList& list = Budget().doc.GetEnvelopes();
    const QFontMetrics metrics(QApplication::font());
    const bool measure = state.range(0) != 0;
    for (auto _ : state) {
        int width = list.GetMaxWidth(20, [&](const std::string& text) {
            return measure ? metrics.horizontalAdvance(QString::fromLatin1(text.c_str()))
                           : static_cast<int>(text.size());
        });
        benchmark::DoNotOptimize(width);
    }
}
BENCHMARK(BM_MeasureEnvelopeLabels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void Send(QWidget* viewport, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

void BM_DragOverRows(benchmark::State& state) {
    TEnvelopeTreeWindow window(Budget().doc.GetEnvelopes());
    window.resize(600, 900);
    window.show();
    QApplication::processEvents();
    const int rows = window.viewport()->height() / window.RowHeight();
    const int x = 4 * window.CellWidth();
    Send(window.viewport(), QEvent::MouseButtonPress, QPoint(x, window.RowHeight() * 3 / 2),
         Qt::LeftButton);
    long moves = 0;
    window.ResetPaintedRows();
    for (auto _ : state) {
        for (int row = 2; row < rows; ++row) {
            Send(window.viewport(), QEvent::MouseMove,
                 QPoint(x, row * window.RowHeight() + window.RowHeight() / 2), Qt::LeftButton);
            QApplication::processEvents();
            ++moves;
        }
    }
    state.counters["paintedRowsPerMove"] =
        static_cast<double>(window.PaintedRows()) / static_cast<double>(std::max(1L, moves));
    Send(window.viewport(), QEvent::MouseButtonRelease, QPoint(-50, -50), Qt::NoButton);
}
BENCHMARK(BM_DragOverRows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterQuilletClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
