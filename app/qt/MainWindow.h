// The main frame: the menu with every command, the multiple-document area the budget's windows
// live in, and the status and control bars the configuration asks for.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <string>

#include "app/Version.h"
#include "core/QuilletData.h"

class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class TConfigFile;
class TSession;

// Command ids of the main menu and the control bar. Each command's QAction is named "cmd<id>".
enum TCommandId : int {
    CmFileNew = 24331,
    CmFileOpen = 24332,
    CmFileSave = 24333,
    CmFileSaveAs = 24334,
    CmImportQif = 24529,
    CmImportOfx = 24528,
    CmPrinterSetup = 24338,
    CmExit = 24310,
    CmEditCut = 24322,
    CmEditCopy = 24323,
    CmEditPaste = 24324,
    CmEditDelete = 24325,
    CmAllocationPlan = 138,
    CmTemplates = 139,
    CmMainConfig = 121,
    CmEnvelopeListConfig = 122,
    CmAccountListConfig = 123,
    CmTransactionViewConfig = 124,
    CmConfirmImports = 24521,
    CmConfirmCleared = 24522,
    CmReportAccountLedger = 141,
    CmReportAccountSummary = 143,
    CmReportEnvelopeLedger = 148,
    CmReportEnvelopeActivity = 149,
    CmReportEnvelopeSummary = 147,
    CmReportAllocationPlan = 150,
    CmCascade = 24361,
    CmTile = 24362,
    CmTileHorizontally = 24363,
    CmArrangeIcons = 24364,
    CmAccountList = 113,
    CmEnvelopeList = 112,
    CmHelpContents = 24381,
    CmCheckUpdates = 24525,
    CmWebsite = 24524,
    CmAbout = 24389,
    // Control bar only.
    CmApplyTemplate = 136,
    CmCreateTransfer = 129,
    CmMultiple = 128,
    CmSelectEnvelope = 131,
    CmEditFilter = 24507,
    CmClearFilter = 24508,
    CmViewUnreconciled = 24509,
    CmViewUnreconciledDeposits = 24512,
    CmViewUnreconciledChecks = 24511,
    CmViewUnreconciledNonChecks = 24510,
    CmViewImported = 24518,
};

// What the command line asked for: "-f PATH" opens a budget, "-w PATH" makes a new one from a
// plan-definition file. Paths are kept in the file system's own encoding.
struct TCommandLine {
    std::string filePath;
    std::string planPath;

    static TCommandLine Parse(const QStringList& arguments);  // arguments[0] is the program
};

class TMainWindow : public QMainWindow, private TDocumentObserver {
    Q_OBJECT

public:
    // Finds and loads the configuration (a default one is written when none can be read) and
    // places the frame as it records. Call ShowAsConfigured to put it on screen. The frame shows
    // the session's budget and follows its modified state.
    TMainWindow(TSession& session, TConfigFile& config, const TCommandLine& commandLine,
                QWidget* parent = nullptr);
    ~TMainWindow() override;

    void ShowAsConfigured();

    // "Budget.qlt - Quillet 3.1 " for a named file, "Quillet 3.1 " without one.
    static QString TitleFor(const std::string& filePath);
    // The title names the session's file; called whenever the session opens, renames or closes.
    void RefreshTitle();
    TSession& Session() { return session; }

    const TCommandLine& CommandLine() const { return commandLine; }

    // The status bar shows "Modified" while the budget has unsaved changes.
    void SetModified(bool modified);

    QAction* Command(int id) const;
    QMdiArea* Client() const { return client; }
    TConfigFile& Configuration() { return config; }

    // Records the frame's place (kept as it was while maximised or minimised) and writes the
    // configuration file.
    void SaveConfiguration();
    // Builds or removes the status and control bars to match the configuration.
    void ApplyBars();

signals:
    // A configuration dialog changed the options and they were saved: the tree windows and the
    // transaction views redraw with them.
    void OptionsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceAsRecorded();
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, int id, const QString& text, const QString& shortcut = {});
    QAction* MakeCommand(int id, const QString& text, const QString& shortcut = {});
    void Enable(int id, void (TMainWindow::*handler)());
    void BuildControlBar();
    void FillWindowList();

    void ModifiedChanged(bool isModified) override { SetModified(isModified); }
    void StartUp();
    bool CanClose();

    void TileHorizontally();
    void ArrangeIcons();
    void About();
    void MainConfiguration();
    void EnvelopeListConfiguration();
    void AccountListConfiguration();
    void TransactionViewConfiguration();

    TSession& session;
    TConfigFile& config;
    TCommandLine commandLine;
    bool modified = false;
    bool startedUp = false;

    QMdiArea* client = nullptr;
    QMenu* windowMenu = nullptr;
    QAction* windowListStart = nullptr;
    QToolBar* controlBar = nullptr;
    QLabel* modifiedLabel = nullptr;
    std::map<int, QAction*> commands;
};
