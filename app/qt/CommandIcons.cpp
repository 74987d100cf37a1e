#include "app/qt/CommandIcons.h"

#include <utility>

#include "app/qt/MainWindow.h"

QString CommandIconFile(int commandId) {
    static const std::pair<int, const char*> names[] = {
        {CmFileNew, "file-new"},
        {CmFileOpen, "file-open"},
        {CmFileSave, "file-save"},
        {CmFileSaveAs, "file-save-as"},
        {CmImportQif, "import-qif"},
        {CmImportOfx, "import-ofx"},
        {CmPrinterSetup, "printer-setup"},
        {CmExit, "exit"},
        {CmEditCut, "edit-cut"},
        {CmEditCopy, "edit-copy"},
        {CmEditPaste, "edit-paste"},
        {CmEditDelete, "edit-delete"},
        {CmAllocationPlan, "allocation-plan"},
        {CmTemplates, "templates"},
        {CmMainConfig, "main-config"},
        {CmEnvelopeListConfig, "envelope-list-config"},
        {CmAccountListConfig, "account-list-config"},
        {CmTransactionViewConfig, "transaction-view-config"},
        {CmConfirmImports, "confirm-imports"},
        {CmConfirmCleared, "confirm-cleared"},
        {CmReportAccountLedger, "report-account-ledger"},
        {CmReportAccountSummary, "report-account-summary"},
        {CmReportEnvelopeLedger, "report-envelope-ledger"},
        {CmReportEnvelopeActivity, "report-envelope-activity"},
        {CmReportEnvelopeSummary, "report-envelope-summary"},
        {CmReportAllocationPlan, "report-allocation-plan"},
        {CmCascade, "cascade"},
        {CmTile, "tile"},
        {CmTileHorizontally, "tile-horizontally"},
        {CmArrangeIcons, "arrange-icons"},
        {CmAccountList, "account-list"},
        {CmEnvelopeList, "envelope-list"},
        {CmHelpContents, "help-contents"},
        {CmCheckUpdates, "check-updates"},
        {CmWebsite, "website"},
        {CmAbout, "about"},
        {CmApplyTemplate, "apply-template"},
        {CmCreateTransfer, "create-transfer"},
        {CmMultiple, "multiple"},
        {CmSelectEnvelope, "select-envelope"},
        {CmEditFilter, "edit-filter"},
        {CmClearFilter, "clear-filter"},
        {CmViewUnreconciled, "view-unreconciled"},
        {CmViewUnreconciledDeposits, "view-unreconciled-deposits"},
        {CmViewUnreconciledChecks, "view-unreconciled-checks"},
        {CmViewUnreconciledNonChecks, "view-unreconciled-non-checks"},
        {CmViewImported, "view-imported"},
    };
    for (const auto& [id, name] : names) {
        if (id == commandId) return QString(":/icons/%1.svg").arg(name);
    }
    return {};
}

QIcon CommandIcon(int commandId) {
    const QString file = CommandIconFile(commandId);
    return file.isEmpty() ? QIcon() : QIcon(file);
}
