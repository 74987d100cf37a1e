#include "app/qt/ToolCommands.h"

// Before any Qt header: the store names a member after a word Qt takes as a keyword.
#include "transactions/XManager.h"

#include <QAction>
#include <utility>

#include "app/QuilletApp.h"
#include "app/QuilletConfig.h"
#include "app/qt/MainWindow.h"
#include "core/QuilletData.h"
#include "core/WindowPort.h"
#include "import/Importer.h"
#include "plan/AllocationPlan.h"
#include "plan/TemplateDialogs.h"
#include "reports/qt/FormPrinterQt.h"
#include "reports/qt/ReportDialogs.h"

namespace {

constexpr std::pair<int, TReportKind> Reports[] = {
    {CmReportAccountLedger, TReportKind::AccountLedger},
    {CmReportAccountSummary, TReportKind::AccountSummary},
    {CmReportEnvelopeLedger, TReportKind::EnvelopeLedger},
    {CmReportEnvelopeActivity, TReportKind::EnvelopeActivity},
    {CmReportEnvelopeSummary, TReportKind::EnvelopeSummary},
    {CmReportAllocationPlan, TReportKind::AllocationPlan},
};

constexpr int NeedDocument[] = {CmImportQif,      CmImportOfx,      CmTemplates,
                                CmAllocationPlan, CmConfirmImports, CmConfirmCleared};

template <class Work>
void OnDocument(TMainWindow& window, int id, Work work) {
    QObject::connect(window.Command(id), &QAction::triggered, &window, [&window, work] {
        if (TQuilletData* doc = TQuilletData::Current()) work(*doc);
        window.UpdateCommands();
    });
}

void Import(TMainWindow& window, TStatementKind kind) {
    TStatementImportRunner(window.Configuration()).ImportFile(kind, {});
}

}  // namespace

void BindToolCommands(TMainWindow& window) {
    OnDocument(window, CmImportQif,
               [&window](TQuilletData&) { Import(window, TStatementKind::Qif); });
    OnDocument(window, CmImportOfx,
               [&window](TQuilletData&) { Import(window, TStatementKind::Ofx); });
    OnDocument(window, CmTemplates, [](TQuilletData& doc) { ViewTransactionTemplates(doc); });
    OnDocument(window, CmAllocationPlan, [](TQuilletData& doc) { doc.GetPlan().Run(); });
    // The marks are part of the records, so the budget has changed; the ledgers redraw them.
    OnDocument(window, CmConfirmImports, [](TQuilletData& doc) {
        doc.GetXManager().ClearImportMarks();
        doc.SetModified();
        Windows().RefreshTransactionViews();
    });
    OnDocument(window, CmConfirmCleared, [](TQuilletData& doc) {
        doc.GetXManager().ConfirmPendingCleared();
        doc.SetModified();
        Windows().RefreshTransactionViews();
        Windows().RefreshTreeWindows();  // reconciled balances changed
    });
    for (const auto& [id, kind] : Reports) {
        const TReportKind report = kind;
        OnDocument(window, id,
                   [&window, report](TQuilletData&) { RunReportDialog(report, &window); });
    }
    QObject::connect(window.Command(CmPrinterSetup), &QAction::triggered, &window,
                     [&window] { RunPrinterSetup(&window); });
    window.Command(CmPrinterSetup)->setEnabled(true);
}

void UpdateToolCommands(TMainWindow& window, bool open) {
    for (int id : NeedDocument)
        window.Command(id)->setEnabled(open);
    for (const auto& report : Reports)
        window.Command(report.first)->setEnabled(open);
}
