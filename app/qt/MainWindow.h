// The main frame: the menu with every command, the multiple-document area the budget's windows
// live in, and the status and control bars the configuration asks for. It is the spine's frame
// port and forwards the one-minute timer, the idle passes, the commands and the close to it.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <string>

#include "app/ShellPorts.h"
#include "app/Version.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class TConfigFile;
class THelpWindow;
class TQuilletApp;

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

// The commands the active child window carries out: enabled, checked and run as it answers.
inline constexpr int ChildCommandIds[] = {CmEditCut,
                                          CmEditCopy,
                                          CmEditPaste,
                                          CmEditDelete,
                                          CmApplyTemplate,
                                          CmCreateTransfer,
                                          CmMultiple,
                                          CmSelectEnvelope,
                                          CmEditFilter,
                                          CmClearFilter,
                                          CmViewUnreconciled,
                                          CmViewUnreconciledDeposits,
                                          CmViewUnreconciledChecks,
                                          CmViewUnreconciledNonChecks,
                                          CmViewImported};

class TMainWindow : public QMainWindow, public TFramePort {
    Q_OBJECT

public:
    // Finds and loads the configuration (a default one is written when none can be read) and
    // places the frame as it records. Call ShowAsConfigured to put it on screen.
    explicit TMainWindow(TConfigFile& config, QWidget* parent = nullptr);
    ~TMainWindow() override;

    // Binds the spine: its commands become available, the one-minute timer starts and the idle
    // passes run from the next time the event loop waits.
    void Attach(TQuilletApp& app, TUpdateCheckPort& updates);
    void ShowAsConfigured();

    // The status bar shows "Modified" while the budget has unsaved changes.
    void SetModified(bool modified);

    QAction* Command(int id) const;
    QMdiArea* Client() const { return client; }
    TConfigFile& Configuration() { return config; }
    THelpWindow* HelpWindow() const { return help; }

    // Records the frame's place (kept as it was while maximised or minimised) and writes the
    // configuration file.
    void SaveConfiguration();
    // Records the frame's place into the options without writing them.
    void RecordPlace();
    // Builds or removes the status and control bars to match the configuration.
    void ApplyBars();
    // Enables each command the spine can carry out now.
    void UpdateCommands();
    // Asks the active child window for the state of the commands it carries out (the control
    // bar's transaction commands, the Edit menu's); a child calls it when its state changed.
    void UpdateChildCommands();

    // The spine's view of the frame.
    void OpenTreeWindow(TTreeWindowKind kind, TChildPlacement& placement) override;
    bool CloseChildren() override;
    void SetTitle(const std::string& title) override;
    void ShowModified(bool modified) override { SetModified(modified); }
    void ShowSplash() override;
    void SetWaitCursor(bool on) override;
    bool MainWindowEnabled() override;
    void RestoreMainWindow() override;
    void EndProgram() override;

signals:
    // A configuration dialog changed the options and they were saved: the tree windows and the
    // transaction views redraw with them.
    void OptionsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceAsRecorded();
    // The account or envelope window over the open budget's tree.
    QWidget* MakeTreeWindow(TTreeWindowKind kind);
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, int id, const QString& text, const QString& shortcut = {});
    QAction* MakeCommand(int id, const QString& text, const QString& shortcut = {});
    void Enable(int id, void (TMainWindow::*handler)());
    void Bind(int id, void (TMainWindow::*handler)());
    void BuildControlBar();
    void FillWindowList();
    void ChildActivated(QMdiSubWindow* window);
    void RouteToChild(int id);

    void AboutToBlock();
    void RunIdlePass();
    bool CanClose();

    void NewFile();
    void OpenFile();
    void SaveFile();
    void SaveFileAs();
    void DisplayAccounts();
    void DisplayEnvelopes();
    void TileHorizontally();
    void ArrangeIcons();
    void HelpContents();
    void CheckForUpdates();
    void OpenWebsite();
    void About();
    void MainConfiguration();
    void EnvelopeListConfiguration();
    void AccountListConfiguration();
    void TransactionViewConfiguration();

    TConfigFile& config;
    TQuilletApp* app = nullptr;
    TUpdateCheckPort* updates = nullptr;
    bool modified = false;
    bool ended = false;

    // Idle passes: wanted once anything has happened since the last one, run from a zero-timer
    // so that no dialog ever runs inside the event loop's about-to-wait notice.
    QTimer* minuteTimer = nullptr;
    QTimer* idleTimer = nullptr;
    bool idleWanted = true;
    bool inIdlePass = false;
    int waitCursors = 0;

    QMdiArea* client = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* toolsMenu = nullptr;
    QList<QAction*> childMenus;  // the active child's menus, as placed in the menu bar
    QMenu* windowMenu = nullptr;
    QAction* windowListStart = nullptr;
    QToolBar* controlBar = nullptr;
    QLabel* modifiedLabel = nullptr;
    THelpWindow* help = nullptr;
    std::map<int, QAction*> commands;
};
