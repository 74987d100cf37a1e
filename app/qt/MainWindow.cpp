#include "app/qt/MainWindow.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "accounts/AccountList.h"
#include "app/ConfigDialogs.h"
#include "app/DMDIChild.h"
#include "app/QuilletApp.h"
#include "app/QuilletConfig.h"
#include "app/UpdateCheck.h"
#include "app/qt/AboutDialog.h"
#include "app/qt/CommandIcons.h"
#include "app/qt/ConfigDialogsQt.h"
#include "app/qt/HelpWindow.h"
#include "app/qt/QtUIPort.h"
#include "app/qt/SplashWindow.h"
#include "app/qt/ToolCommands.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "views/qt/ChildCommands.h"
#include "views/qt/TreeWindows.h"

namespace {

// Runs a configuration dialog over the options; they change only when it is accepted.
template <class Dialog, class Buffer>
bool EditOptions(QWidget* parent, TQuilletOptions& options, Buffer (*fill)(const TQuilletOptions&),
                 void (*apply)(const Buffer&, TQuilletOptions&)) {
    Dialog dialog(fill(options), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    apply(dialog.Buffer(), options);
    return true;
}

// A tree window's frame: keeps the budget's placement of the window current while it lives.
class TTreeChild : public QMdiSubWindow {
public:
    TTreeChild(TChildPlacement& placement) : child(std::make_unique<TDMDIChild>(placement)) {}
    ~TTreeChild() override { Release(); }

    bool Shows(const TChildPlacement& placement) const {
        return child && &child->Placement() == &placement;
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        QMdiSubWindow::closeEvent(event);
        // The placement belongs to the budget, which may go right after its windows close.
        if (event->isAccepted()) Release();
    }
    void resizeEvent(QResizeEvent* event) override {
        QMdiSubWindow::resizeEvent(event);
        if (child && !isMinimized() && !isMaximized()) child->Restored(width(), height());
    }
    void moveEvent(QMoveEvent* event) override {
        QMdiSubWindow::moveEvent(event);
        if (child && !isMinimized() && !isMaximized()) child->Moved(x(), y());
    }
    void changeEvent(QEvent* event) override {
        QMdiSubWindow::changeEvent(event);
        if (!child || event->type() != QEvent::WindowStateChange) return;
        if (isMinimized()) {
            child->Minimised();
        } else if (isMaximized()) {
            child->Maximised();
        } else {
            child->Restored(width(), height());
        }
    }

private:
    void Release() { child.reset(); }

    std::unique_ptr<TDMDIChild> child;
};

}  // namespace

TMainWindow::TMainWindow(TConfigFile& configFile, QWidget* parent)
    : QMainWindow(parent), config(configFile) {
    setObjectName("mainWindow");
    client = new QMdiArea(this);
    client->setObjectName("client");
    client->setAccessibleName("Windows");
    setCentralWidget(client);
    SetTitle(
        QString("Quillet %1.%2 ").arg(QuilletVersionMajor).arg(QuilletVersionMinor).toStdString());

    if (config.Path().empty()) config.FindPath();
    // A configuration that cannot be written is not reported; its defaults serve all the same.
    config.Load();
    PlaceAsRecorded();

    BuildMenus();
    ApplyBars();
}

TMainWindow::~TMainWindow() = default;

void TMainWindow::PlaceAsRecorded() {
    const TQuilletOptions& options = config.Options();
    int x = options.windowX, y = options.windowY;
    int width = options.windowWidth, height = options.windowHeight;
    // A record from another desk or a damaged file may ask for a frame larger than every screen
    // (whose backing store alone could exhaust memory) or one off every screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableVirtualGeometry();
        width = std::clamp(width, 1, std::max(desk.width(), 1));
        height = std::clamp(height, 1, std::max(desk.height(), 1));
        auto offDesk = [](int64_t start, int64_t length, int64_t deskStart, int64_t deskLength) {
            return start + length <= deskStart || start >= deskStart + deskLength;
        };
        if (offDesk(x, width, desk.x(), desk.width()) ||
            offDesk(y, height, desk.y(), desk.height())) {
            x = std::min(desk.x() + desk.width() / 10, desk.x() + desk.width() - width);
            y = std::min(desk.y() + desk.height() / 10, desk.y() + desk.height() - height);
        }
    }
    move(x, y);
    resize(width, height);
}

void TMainWindow::ShowAsConfigured() {
    if (config.Options().maximised) {
        showMaximized();
    } else {
        show();
    }
}

void TMainWindow::SetModified(bool isModified) {
    modified = isModified;
    if (modifiedLabel) modifiedLabel->setText(modified ? QString("Modified") : QString());
}

QAction* TMainWindow::Command(int id) const {
    auto found = commands.find(id);
    return found == commands.end() ? nullptr : found->second;
}

QAction* TMainWindow::MakeCommand(int id, const QString& text, const QString& shortcut) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString("cmd%1").arg(id));
    // Tool tips and the control bar's buttons read the command without its mnemonic.
    action->setToolTip(QString(text).remove('&'));
    if (!shortcut.isEmpty()) action->setShortcut(QKeySequence(shortcut));
    // Every command starts disabled; it is enabled when the feature behind it is bound.
    action->setEnabled(false);
    commands[id] = action;
    return action;
}

QAction* TMainWindow::AddCommand(QMenu* menu, int id, const QString& text,
                                 const QString& shortcut) {
    QAction* action = MakeCommand(id, text, shortcut);
    menu->addAction(action);
    return action;
}

void TMainWindow::Bind(int id, void (TMainWindow::*handler)()) {
    connect(Command(id), &QAction::triggered, this, handler);
}

void TMainWindow::Enable(int id, void (TMainWindow::*handler)()) {
    Command(id)->setEnabled(true);
    Bind(id, handler);
}

void TMainWindow::BuildMenus() {
    menuBar()->setObjectName("menuBar");
    menuBar()->setAccessibleName("Menu Bar");
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("menuFile");
    AddCommand(file, CmFileNew, "&New...");
    AddCommand(file, CmFileOpen, "&Open...");
    // Ctrl+S as on every desktop; Ctrl+N and Ctrl+O belong to the ledgers' row commands.
    AddCommand(file, CmFileSave, "&Save", "Ctrl+S");
    AddCommand(file, CmFileSaveAs, "Save &As...");
    file->addSeparator();
    QMenu* import = file->addMenu("&Import");
    import->setObjectName("menuImport");
    AddCommand(import, CmImportQif, "&QIF File...");
    AddCommand(import, CmImportOfx, "&OFX File...");
    file->addSeparator();
    AddCommand(file, CmPrinterSetup, "P&rinter Setup...");
    file->addSeparator();
    AddCommand(file, CmExit, "E&xit", "Alt+F4");

    QMenu* edit = editMenu = menuBar()->addMenu("&Edit");
    edit->setObjectName("menuEdit");
    AddCommand(edit, CmEditCut, "Cu&t", "Shift+Del");
    AddCommand(edit, CmEditCopy, "&Copy", "Ctrl+Ins");
    AddCommand(edit, CmEditPaste, "&Paste", "Shift+Ins");
    AddCommand(edit, CmEditDelete, "&Delete", "Ctrl+Del");

    QMenu* tools = toolsMenu = menuBar()->addMenu("&Tools");
    tools->setObjectName("menuTools");
    AddCommand(tools, CmAllocationPlan, "Open Allocation &Plan...");
    AddCommand(tools, CmTemplates, "View &Transaction Templates...");
    tools->addSeparator();
    AddCommand(tools, CmMainConfig, "&Main Configuration...");
    AddCommand(tools, CmAccountListConfig, "&Account List Configuration...");
    AddCommand(tools, CmEnvelopeListConfig, "&Envelope List Configuration...");
    AddCommand(tools, CmTransactionViewConfig, "Transaction &View Configuration...");
    tools->addSeparator();
    AddCommand(tools, CmConfirmImports, "Confirm All &Imports");
    AddCommand(tools, CmConfirmCleared, "Confirm All &Cleared");
    tools->addSeparator();
    QMenu* reports = tools->addMenu("&Reports");
    reports->setObjectName("menuReports");
    AddCommand(reports, CmReportAccountLedger, "&Account Ledger...");
    AddCommand(reports, CmReportAccountSummary, "Account &Summary...");
    AddCommand(reports, CmReportEnvelopeLedger, "&Envelope Ledger...");
    AddCommand(reports, CmReportEnvelopeActivity, "E&nvelope Activity...");
    AddCommand(reports, CmReportEnvelopeSummary, "En&velope Summary...");
    AddCommand(reports, CmReportAllocationPlan, "Allocation &Plan...");

    windowMenu = menuBar()->addMenu("&Window");
    windowMenu->setObjectName("menuWindow");
    AddCommand(windowMenu, CmCascade, "&Cascade", "Shift+F5");
    AddCommand(windowMenu, CmTile, "&Tile", "Shift+F4");
    AddCommand(windowMenu, CmTileHorizontally, "Tile &Horizontally", "Ctrl+Shift+F4");
    AddCommand(windowMenu, CmArrangeIcons, "Arrange &Icons");
    windowMenu->addSeparator();
    AddCommand(windowMenu, CmAccountList, "Display &Account List");
    AddCommand(windowMenu, CmEnvelopeList, "Display &Envelope List");
    windowListStart = windowMenu->addSeparator();
    windowListStart->setVisible(false);
    connect(windowMenu, &QMenu::aboutToShow, this, &TMainWindow::FillWindowList);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("menuHelp");
    AddCommand(help, CmHelpContents, "&Help Contents...", "F1");
    help->addSeparator();
    AddCommand(help, CmCheckUpdates, "&Check for Updates...");
    AddCommand(help, CmWebsite, "Open Quillet &Website...");
    help->addSeparator();
    AddCommand(help, CmAbout, "&About Quillet...");

    // Commands that exist only on the control bar.
    MakeCommand(CmApplyTemplate, "A&pply Template");
    MakeCommand(CmCreateTransfer, "Create &Transfer");
    MakeCommand(CmMultiple, "Create/View &Multiple");
    MakeCommand(CmSelectEnvelope, "Select &Envelope");
    MakeCommand(CmEditFilter, "Edit Filter...");
    MakeCommand(CmClearFilter, "Clear Filter");
    MakeCommand(CmViewUnreconciled, "View All Unreconciled");
    MakeCommand(CmViewUnreconciledDeposits, "View Unreconciled Deposits");
    MakeCommand(CmViewUnreconciledChecks, "View Unreconciled Checks");
    MakeCommand(CmViewUnreconciledNonChecks, "View Unreconciled Non-Checks");
    MakeCommand(CmViewImported, "View Newly Imported Transactions");

    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->setAccessibleName(menu->title().remove('&'));
    for (const auto& [id, action] : commands) {
        action->setIcon(CommandIcon(id));
        action->setIconVisibleInMenu(false);  // menus stay plain text
    }

    connect(Command(CmExit), &QAction::triggered, this, &QWidget::close);
    Command(CmExit)->setEnabled(true);
    for (int id : ChildCommandIds)
        connect(Command(id), &QAction::triggered, this, [this, id] { RouteToChild(id); });
    connect(client, &QMdiArea::subWindowActivated, this, &TMainWindow::ChildActivated);
    connect(Command(CmCascade), &QAction::triggered, client, &QMdiArea::cascadeSubWindows);
    Command(CmCascade)->setEnabled(true);
    connect(Command(CmTile), &QAction::triggered, client, &QMdiArea::tileSubWindows);
    Command(CmTile)->setEnabled(true);
    Enable(CmTileHorizontally, &TMainWindow::TileHorizontally);
    Enable(CmArrangeIcons, &TMainWindow::ArrangeIcons);
    Enable(CmHelpContents, &TMainWindow::HelpContents);
    Enable(CmWebsite, &TMainWindow::OpenWebsite);
    Enable(CmAbout, &TMainWindow::About);
    Enable(CmMainConfig, &TMainWindow::MainConfiguration);
    Enable(CmEnvelopeListConfig, &TMainWindow::EnvelopeListConfiguration);
    Enable(CmAccountListConfig, &TMainWindow::AccountListConfiguration);
    Enable(CmTransactionViewConfig, &TMainWindow::TransactionViewConfiguration);
    // These reach the spine; Attach enables them.
    Bind(CmFileNew, &TMainWindow::NewFile);
    Bind(CmFileOpen, &TMainWindow::OpenFile);
    Bind(CmFileSave, &TMainWindow::SaveFile);
    Bind(CmFileSaveAs, &TMainWindow::SaveFileAs);
    Bind(CmAccountList, &TMainWindow::DisplayAccounts);
    Bind(CmEnvelopeList, &TMainWindow::DisplayEnvelopes);
    Bind(CmCheckUpdates, &TMainWindow::CheckForUpdates);
}

void TMainWindow::BuildControlBar() {
    controlBar = new QToolBar("Control Bar", this);
    controlBar->setObjectName("controlBar");
    controlBar->setAccessibleName("Control Bar");
    controlBar->setMovable(false);
    controlBar->setFloatable(false);
    // The bar is the configuration's to show or hide, not the toolbar context menu's.
    controlBar->toggleViewAction()->setVisible(false);
    const std::initializer_list<int> groups[] = {
        {CmAccountList, CmEnvelopeList},
        {CmTemplates, CmAllocationPlan},
        {CmApplyTemplate, CmCreateTransfer, CmMultiple, CmSelectEnvelope},
        {CmEditFilter, CmClearFilter},
        {CmViewUnreconciled, CmViewUnreconciledDeposits, CmViewUnreconciledChecks,
         CmViewUnreconciledNonChecks},
        {CmViewImported},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first) controlBar->addSeparator();
        first = false;
        for (int id : group) {
            controlBar->addAction(Command(id));
            QWidget* button = controlBar->widgetForAction(Command(id));
            button->setObjectName(QString("button%1").arg(id));
            button->setAccessibleName(Command(id)->toolTip());
        }
    }
    addToolBar(Qt::TopToolBarArea, controlBar);
    controlBar->show();
}

void TMainWindow::ApplyBars() {
    const TQuilletOptions& options = config.Options();
    if (options.showStatusBar == 1 && !modifiedLabel) {
        auto* bar = new QStatusBar(this);
        bar->setObjectName("statusBar");
        bar->setAccessibleName("Status Bar");
        modifiedLabel = new QLabel(bar);
        modifiedLabel->setObjectName("modifiedLabel");
        modifiedLabel->setAccessibleName("Modified");
        bar->addWidget(modifiedLabel);
        setStatusBar(bar);
        bar->show();  // a bar added to a frame already on screen stays hidden otherwise
        SetModified(modified);
    } else if (options.showStatusBar != 1 && modifiedLabel) {
        QWidget* bar = modifiedLabel->parentWidget();
        setStatusBar(nullptr);
        delete bar;  // at once rather than later, so that the frame lays out without it now
        modifiedLabel = nullptr;
    }
    if (options.showControlBar == 1 && !controlBar) {
        BuildControlBar();
    } else if (options.showControlBar != 1 && controlBar) {
        removeToolBar(controlBar);
        delete controlBar;
        controlBar = nullptr;
    }
}

void TMainWindow::FillWindowList() {
    const QList<QAction*> actions = windowMenu->actions();
    for (qsizetype i = actions.indexOf(windowListStart) + 1; i < actions.size(); ++i) {
        windowMenu->removeAction(actions[i]);
        delete actions[i];
    }
    const QList<QMdiSubWindow*> windows = client->subWindowList();
    windowListStart->setVisible(!windows.isEmpty());
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QString text = number < 10 ? QString("&%1 %2").arg(number).arg(window->windowTitle())
                                   : QString("%1 %2").arg(number).arg(window->windowTitle());
        ++number;
        QAction* action = windowMenu->addAction(text);
        action->setCheckable(true);
        action->setChecked(window == client->activeSubWindow());
        connect(action, &QAction::triggered, client,
                [this, window] { client->setActiveSubWindow(window); });
    }
}

void TMainWindow::TileHorizontally() {
    // One window above the other, each the full width of the client area.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : client->subWindowList()) {
        if (!window->isMinimized() && window->isVisible()) windows.append(window);
    }
    if (windows.isEmpty()) return;
    const QRect area = client->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    const int rowHeight = area.height() / count;
    for (int i = 0; i < count; ++i) {
        windows[i]->showNormal();
        const int height = i == count - 1 ? area.height() - rowHeight * i : rowHeight;
        windows[i]->setGeometry(0, rowHeight * i, area.width(), height);
    }
}

void TMainWindow::ArrangeIcons() {
    // Minimised windows line up along the bottom of the client area, left to right, then upward.
    const QRect area = client->viewport()->rect();
    int x = 0;
    int rowTop = -1;
    for (QMdiSubWindow* window : client->subWindowList()) {
        if (!window->isMinimized()) continue;
        const QSize size = window->size();
        if (rowTop < 0) {
            rowTop = area.height() - size.height();
        } else if (x + size.width() > area.width()) {
            x = 0;
            rowTop -= size.height();
        }
        window->move(x, rowTop);
        x += size.width();
    }
}

void TMainWindow::About() {
    TAboutDialog about(this);
    about.exec();
}

void TMainWindow::MainConfiguration() {
    if (!EditOptions<TMainConfigDialog>(this, config.Options(), FillMainConfig, ApplyMainConfig))
        return;
    SaveConfiguration();
    ApplyBars();
    emit OptionsChanged();
}

void TMainWindow::EnvelopeListConfiguration() {
    if (!EditOptions<TEnvelopeListConfigDialog>(this, config.Options(), FillEnvelopeListConfig,
                                                ApplyEnvelopeListConfig))
        return;
    SaveConfiguration();
    emit OptionsChanged();
}

void TMainWindow::AccountListConfiguration() {
    if (!EditOptions<TAccountListConfigDialog>(this, config.Options(), FillAccountListConfig,
                                               ApplyAccountListConfig))
        return;
    SaveConfiguration();
    emit OptionsChanged();
}

void TMainWindow::TransactionViewConfiguration() {
    if (!EditOptions<TTransactionViewSetupDialog>(this, config.Options(), FillTransactionViewSetup,
                                                  ApplyTransactionViewSetup))
        return;
    SaveConfiguration();
    emit OptionsChanged();
}

void TMainWindow::RecordPlace() {
    TQuilletOptions& options = config.Options();
    // While maximised or minimised the frame's geometry is not the one to come back to, so the
    // last restored place stays recorded.
    if (!isMaximized() && !isMinimized()) {
        options.windowX = x();
        options.windowY = y();
        options.windowWidth = width();
        options.windowHeight = height();
    }
    options.maximised = isMaximized();
}

void TMainWindow::SaveConfiguration() {
    RecordPlace();
    // A configuration that cannot be written is not reported; the program goes on as it is.
    config.Save();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (ended) {
        event->accept();
        return;
    }
    if (!CanClose()) {
        event->ignore();
        return;
    }
    RecordPlace();
    if (app) {
        app->ShutDown();
        // Nothing runs on the spine once it has shut down.
        minuteTimer->stop();
        idleTimer->stop();
        app = nullptr;
    } else {
        config.Save();
    }
    if (help) help->close();
    event->accept();
}

void TMainWindow::Attach(TQuilletApp& spine, TUpdateCheckPort& updateCheck) {
    app = &spine;
    updates = &updateCheck;
    minuteTimer = new QTimer(this);
    minuteTimer->setObjectName("minuteTimer");
    minuteTimer->setInterval(60000);
    connect(minuteTimer, &QTimer::timeout, this, [this] {
        if (app) app->TimerTick();
    });
    minuteTimer->start();
    idleTimer = new QTimer(this);
    idleTimer->setSingleShot(true);
    idleTimer->setInterval(0);
    connect(idleTimer, &QTimer::timeout, this, &TMainWindow::RunIdlePass);
    // Anything that reaches any object means the next wait gets an idle pass before it.
    qApp->installEventFilter(this);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TMainWindow::AboutToBlock);
    Command(CmFileNew)->setEnabled(true);
    Command(CmFileOpen)->setEnabled(true);
    Command(CmCheckUpdates)->setEnabled(true);
    BindToolCommands(*this);
    UpdateCommands();
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != idleTimer && event->type() != QEvent::DeferredDelete) idleWanted = true;
    return QMainWindow::eventFilter(watched, event);
}

void TMainWindow::AboutToBlock() {
    if (!app || !idleWanted || inIdlePass || idleTimer->isActive()) return;
    idleWanted = false;
    idleTimer->start();
}

void TMainWindow::RunIdlePass() {
    if (!app || inIdlePass) return;
    inIdlePass = true;
    app->IdlePass();
    inIdlePass = false;
    if (ended) return;
    UpdateCommands();
}

void TMainWindow::UpdateCommands() {
    const bool open = app && app->Client().Document();
    for (int id : {CmFileSave, CmFileSaveAs, CmAccountList, CmEnvelopeList})
        Command(id)->setEnabled(open);
    UpdateToolCommands(*this, open);
    UpdateChildCommands();
}

void TMainWindow::UpdateChildCommands() {
    TChildCommands* child = ChildCommandsOf(client->activeSubWindow());
    for (int id : ChildCommandIds) {
        bool enabled = false, checked = false;
        if (!child || !child->CommandState(id, enabled, checked)) enabled = checked = false;
        // A child with an Edit menu of its own carries those commands there, with their keys.
        const bool editCommand = id >= CmEditCut && id <= CmEditDelete;
        if (editCommand && !editMenu->menuAction()->isVisible()) enabled = false;
        QAction* action = Command(id);
        action->setEnabled(enabled);
        action->setCheckable(checked || action->isCheckable());
        action->setChecked(checked);
    }
}

void TMainWindow::RouteToChild(int id) {
    if (TChildCommands* child = ChildCommandsOf(client->activeSubWindow())) child->RunCommand(id);
    UpdateChildCommands();
}

void TMainWindow::ChildActivated(QMdiSubWindow* window) {
    // While the frame itself is activated (a dialog closing, say) the active child stays.
    if (!window && client->activeSubWindow()) return;
    for (QAction* placed : childMenus)
        menuBar()->removeAction(placed);
    childMenus.clear();
    editMenu->menuAction()->setVisible(true);
    const QList<QMenu*> menus =
        ChildCommandsOf(window) ? ChildCommandsOf(window)->ActiveMenus() : QList<QMenu*>{};
    for (QMenu* menu : menus) {
        // A child's Edit menu stands where the frame's is; its other menus follow it.
        if (menu->title() == "&Edit") editMenu->menuAction()->setVisible(false);
        menuBar()->insertMenu(toolsMenu->menuAction(), menu);
        childMenus.append(menu->menuAction());
    }
    UpdateChildCommands();
}

bool TMainWindow::CanClose() {
    // Closing in the middle of an idle pass (a message of the start-up asks, say) waits for it.
    if (inIdlePass) return false;
    return !app || app->CanClose();
}

void TMainWindow::NewFile() {
    if (app) app->Client().NewFile();
    UpdateCommands();
}

void TMainWindow::OpenFile() {
    if (app) app->Client().OpenCommand();
    UpdateCommands();
}

void TMainWindow::SaveFile() {
    if (app) app->Client().Save();
}

void TMainWindow::SaveFileAs() {
    if (app) app->Client().SaveAs(false);
}

void TMainWindow::DisplayAccounts() {
    if (app) app->Client().DisplayAccounts();
}

void TMainWindow::DisplayEnvelopes() {
    if (app) app->Client().DisplayEnvelopes();
}

void TMainWindow::HelpContents() {
    if (!help) {
        help = new THelpWindow;
        help->setAttribute(Qt::WA_DeleteOnClose);
        connect(help, &QObject::destroyed, this, [this] { help = nullptr; });
    }
    help->show();
    help->raise();
    help->activateWindow();
}

void TMainWindow::CheckForUpdates() {
    if (updates) updates->CheckForUpdates();
}

void TMainWindow::OpenWebsite() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(QuilletWebsiteUrl)));
}

void TMainWindow::OpenTreeWindow(TTreeWindowKind kind, TChildPlacement& placement) {
    for (QMdiSubWindow* open : client->subWindowList()) {
        auto* tree = dynamic_cast<TTreeChild*>(open);
        if (!tree || !tree->Shows(placement)) continue;
        if (open->isMinimized()) open->showNormal();
        client->setActiveSubWindow(open);
        return;
    }
    const bool accounts = kind == TTreeWindowKind::Accounts;
    auto* window = new TTreeChild(placement);
    window->setObjectName(accounts ? "accountsWindow" : "envelopesWindow");
    window->setWindowTitle(accounts ? "Accounts" : "Envelopes");
    window->setAccessibleName(window->windowTitle());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(MakeTreeWindow(kind));
    window->setWindowIcon(CommandIcon(accounts ? CmAccountList : CmEnvelopeList));
    client->addSubWindow(window);
    const TChildShow show = TDMDIChild::InitialShow(placement);
    if (placement.width > 0 && placement.height > 0) {
        window->setGeometry(placement.x, placement.y, placement.width, placement.height);
    } else {
        window->resize(client->viewport()->width() / 2, client->viewport()->height() * 2 / 3);
    }
    if (show == TChildShow::Minimised) {
        window->showMinimized();
    } else if (show == TChildShow::Maximised) {
        window->showMaximized();
    } else {
        window->show();
    }
    client->setActiveSubWindow(window);
    window->widget()->setFocus();
}

bool TMainWindow::CloseChildren() {
    for (QMdiSubWindow* window : client->subWindowList()) {
        if (!window->close()) return false;
        // At once rather than later: the budget the window shows goes next.
        delete window;
    }
    return client->subWindowList().isEmpty();
}

void TMainWindow::SetTitle(const std::string& title) {
    const QString text = QFile::decodeName(title.c_str());
    setWindowTitle(text);
    setAccessibleName(text);
}

void TMainWindow::ShowSplash() {
    ::ShowSplash();
}

void TMainWindow::SetWaitCursor(bool on) {
    if (on) {
        ++waitCursors;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (waitCursors > 0) {
        --waitCursors;
        QGuiApplication::restoreOverrideCursor();
    }
}

bool TMainWindow::MainWindowEnabled() {
    return isEnabled() && !QApplication::activeModalWidget() &&
           !QApplication::activePopupWidget() && waitCursors == 0;
}

void TMainWindow::RestoreMainWindow() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void TMainWindow::EndProgram() {
    ended = true;
    app = nullptr;
    if (minuteTimer) minuteTimer->stop();
    if (idleTimer) idleTimer->stop();
    QCoreApplication::exit(1);
}

QWidget* TMainWindow::MakeTreeWindow(TTreeWindowKind kind) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return new QWidget;
    const bool accounts = kind == TTreeWindowKind::Accounts;
    TTreeWindow* tree = accounts
                            ? static_cast<TTreeWindow*>(new TAccountTreeWindow(doc->GetAccounts()))
                            : new TEnvelopeTreeWindow(doc->GetEnvelopes());
    // The list configuration and the reports stay the frame's commands; the tree's menus offer
    // them too.
    const std::vector<int> frameCommands =
        accounts
            ? std::vector<int>{CmAccountListConfig, CmReportAccountLedger, CmReportAccountSummary}
            : std::vector<int>{CmEnvelopeListConfig, CmReportEnvelopeLedger,
                               CmReportEnvelopeActivity, CmReportEnvelopeSummary};
    for (int id : frameCommands)
        tree->LinkFrameCommand(id, Command(id));
    connect(this, &TMainWindow::OptionsChanged, tree, &TTreeWindow::OptionsChanged);
    return tree;
}
