#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "accounts/NewAccountWizard.h"
#include "accounts/qt/AccountDialogsQt.h"
#include "accounts/qt/AccountWizardDialog.h"
#include "app/QuilletApp.h"
#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "app/Session.h"
#include "app/qt/FileDialogsQt.h"
#include "app/qt/InstanceServer.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtUIPort.h"
#include "app/qt/UpdateCheckerQt.h"
#include "app/qt/WindowRegistry.h"
#include "controls/qt/QtText.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/qt/EnvelopeDialogsQt.h"
#include "import/ImportDialogs.h"
#include "import/qt/ImportDialogsQt.h"
#include "plan/PlanDialogs.h"
#include "plan/TemplateDialogs.h"
#include "plan/qt/PlanDialogsQt.h"
#include "plan/qt/TemplateDialogsQt.h"
#include "platform/FileLock.h"
#include "platform/Platform.h"
#include "reports/qt/ReportDialogs.h"
#include "transactions/qt/TransactionDialogsQt.h"
#include "views/qt/TreeWindows.h"

int main(int argc, char* argv[]) {
    InstallLargeBlockMemory();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(
        QString("%1.%2").arg(QuilletVersionMajor).arg(QuilletVersionMinor));
    QApplication::setWindowIcon(QIcon(":/icons/quillet.svg"));

    std::vector<std::string> args;
    for (const QString& argument : QApplication::arguments())
        args.push_back(QFile::encodeName(argument).toStdString());
    const TQuilletCommandLine commandLine = TQuilletCommandLine::Parse(args);

    // A statement handed to a program that already runs is its to import; this start ends.
    if (!commandLine.statementPath.empty()) {
        const std::optional<TStatementKind> kind = StatementKindOf(commandLine.statementPath);
        const QString full =
            QFileInfo(QFile::decodeName(commandLine.statementPath.c_str())).absoluteFilePath();
        if (kind && SendToRunningInstance(InstanceSocketName(),
                                          {*kind, QFile::encodeName(full).toStdString()}))
            return 0;
    }

    RegisterQuilletClasses();
    InstallTemplateApplier();
    TQtUIPort ui;
    TPortInstall<TUIPort> uiInstalled(UI, ui);
    TLinuxPlatform platform;
    TLinuxFileLocks locks;
    TQtScreen screen;
    TSystemClock clock;
    TConfigFile config(platform, screen);
    TSession session(platform);

    int result = 0;
    {
        TMainWindow window(config);
        // The frame has loaded the configuration: the rules read its options from now on.
        SetCurrentOptions(&config.Options());
        TPlanDialogsQt planDialogs(&window, screen, &config.Settings());
        TPortInstall<TPlanDialogPort> planInstalled(PlanDialogs, planDialogs);
        TTemplateDialogsQt templateDialogs(&window, screen, &config.Settings());
        TPortInstall<TTemplateDialogPort> templatesInstalled(TemplateDialogs, templateDialogs);
        TTransactionDialogsQt transactionDialogs(&window);
        TPortInstall<TTransferDialogPort> transferInstalled(TransferDialogs, transactionDialogs);
        TPortInstall<TFilterDialogPort> filterInstalled(FilterDialogs, transactionDialogs);
        TPortInstall<TMemoDialogPort> memoInstalled(MemoDialogs, transactionDialogs);
        TAccountWizardDialog accountWizard(&window);
        TPortInstall<TAccountWizardPort> wizardInstalled(AccountWizardDialog, accountWizard);
        TWindowRegistry windowRegistry(*window.Client());
        TPortInstall<TWindowPort> windowsInstalled(Windows, windowRegistry);
        QObject::connect(&window, &TMainWindow::OptionsChanged, &windowRegistry,
                         &TWindowRegistry::RelayViews);
        QObject::connect(&windowRegistry, &TWindowRegistry::ViewCommandsChanged, &window,
                         &TMainWindow::UpdateChildCommands);
        QObject::connect(&windowRegistry, &TWindowRegistry::ConfigurationRequested,
                         window.Command(CmTransactionViewConfig), &QAction::trigger);
        // Balances changed behind the trees (a posting, an import): the tree windows redraw.
        QObject::connect(&windowRegistry, &TWindowRegistry::TreeWindowsChanged, &window, [&window] {
            for (auto* tree : window.findChildren<TEnhancedListWindow*>())
                tree->RefreshAll();
        });
        TAccountDialogsQt accountDialogs(&window);
        TPortInstall<TAccountDialogPort> accountsInstalled(AccountDialogs, accountDialogs);
        TEnvelopeDialogsQt envelopeDialogs(&window);
        TPortInstall<TEnvelopeDialogPort> envelopesInstalled(EnvelopeDialogs, envelopeDialogs);
        TImportDialogsQt importDialogs(&window);
        TPortInstall<TImportDialogPort> importInstalled(ImportDialogs, importDialogs);
        SetReportDialogContext(&config.Settings(), &screen);
        TQtFileDialogs fileDialogs(&window);
        TStatementImportRunner importer(config);
        TUpdateCheckerQt updates(&window);
        TQuilletApp quillet(config, session,
                            {platform, locks, clock, fileDialogs, window, importer, updates});
        TQuilletClient& client = quillet.Client();
        client.SetCommandLine(args);
        window.Attach(quillet, updates);

        TInstanceServer server(InstanceSocketName(), [&client](const TImportRequest& request) {
            client.SetPendingImport(request.kind, request.path);
        });
        // Only the first program of a user serves; a later one works without.
        server.Listen();

        window.ShowAsConfigured();
        result = QApplication::exec();
    }
    SetCurrentOptions(nullptr);
    SetReportDialogContext(nullptr, nullptr);
    return result;
}
