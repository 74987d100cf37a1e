#include "app/qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "app/ConfigDialogs.h"
#include "app/QuilletConfig.h"
#include "app/Session.h"
#include "app/qt/ConfigDialogsQt.h"

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

}  // namespace

TCommandLine TCommandLine::Parse(const QStringList& arguments) {
    TCommandLine result;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QString& option = arguments[i];
        if (option == QLatin1String("-f")) {
            result.filePath = QFile::encodeName(arguments[++i]).toStdString();
        } else if (option == QLatin1String("-w")) {
            result.planPath = QFile::encodeName(arguments[++i]).toStdString();
        }
    }
    return result;
}

TMainWindow::TMainWindow(TSession& openBudget, TConfigFile& configFile, const TCommandLine& cmdLine,
                         QWidget* parent)
    : QMainWindow(parent), session(openBudget), config(configFile), commandLine(cmdLine) {
    setObjectName("mainWindow");
    client = new QMdiArea(this);
    client->setObjectName("client");
    setCentralWidget(client);
    RefreshTitle();
    TQuilletData::SetObserver(this);

    if (config.Path().empty()) config.FindPath();
    // A configuration that cannot be written is not reported; its defaults serve all the same.
    config.Load();
    PlaceAsRecorded();

    BuildMenus();
    ApplyBars();
}

TMainWindow::~TMainWindow() {
    TQuilletData::SetObserver(nullptr);
}

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
    // The start file is opened once the frame is on screen and the event loop runs, so that its
    // messages and wizards have a window to belong to.
    QTimer::singleShot(0, this, &TMainWindow::StartUp);
}

QString TMainWindow::TitleFor(const std::string& filePath) {
    QString title;
    if (!filePath.empty()) {
        title = QFile::decodeName(std::filesystem::path(filePath).filename().string().c_str()) +
                QLatin1String(" - ");
    }
    return title + QString("Quillet %1.%2 ").arg(QuilletVersionMajor).arg(QuilletVersionMinor);
}

void TMainWindow::RefreshTitle() {
    setWindowTitle(TitleFor(session.Path()));
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

void TMainWindow::Enable(int id, void (TMainWindow::*handler)()) {
    QAction* action = Command(id);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, handler);
}

void TMainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("menuFile");
    AddCommand(file, CmFileNew, "&New...");
    AddCommand(file, CmFileOpen, "&Open...");
    AddCommand(file, CmFileSave, "&Save");
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

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("menuEdit");
    AddCommand(edit, CmEditCut, "Cu&t", "Shift+Del");
    AddCommand(edit, CmEditCopy, "&Copy", "Ctrl+Ins");
    AddCommand(edit, CmEditPaste, "&Paste", "Shift+Ins");
    AddCommand(edit, CmEditDelete, "&Delete", "Ctrl+Del");

    QMenu* tools = menuBar()->addMenu("&Tools");
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
    AddCommand(help, CmHelpContents, "&Help Contents...");
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

    // Control-bar buttons show these until the program has pictures of its own.
    const std::pair<int, QStyle::StandardPixmap> icons[] = {
        {CmAccountList, QStyle::SP_DirHomeIcon},
        {CmEnvelopeList, QStyle::SP_DirIcon},
        {CmTemplates, QStyle::SP_FileDialogDetailedView},
        {CmAllocationPlan, QStyle::SP_FileDialogInfoView},
        {CmApplyTemplate, QStyle::SP_DialogApplyButton},
        {CmCreateTransfer, QStyle::SP_ArrowRight},
        {CmMultiple, QStyle::SP_FileDialogListView},
        {CmSelectEnvelope, QStyle::SP_DialogOpenButton},
        {CmEditFilter, QStyle::SP_FileDialogContentsView},
        {CmClearFilter, QStyle::SP_DialogResetButton},
        {CmViewUnreconciled, QStyle::SP_MessageBoxQuestion},
        {CmViewUnreconciledDeposits, QStyle::SP_ArrowUp},
        {CmViewUnreconciledChecks, QStyle::SP_ArrowDown},
        {CmViewUnreconciledNonChecks, QStyle::SP_ArrowLeft},
        {CmViewImported, QStyle::SP_FileDialogNewFolder},
    };
    for (const auto& [id, pixmap] : icons) {
        Command(id)->setIcon(style()->standardIcon(pixmap));
        Command(id)->setIconVisibleInMenu(false);  // menus stay plain text
    }

    connect(Command(CmExit), &QAction::triggered, this, &QWidget::close);
    Command(CmExit)->setEnabled(true);
    connect(Command(CmCascade), &QAction::triggered, client, &QMdiArea::cascadeSubWindows);
    Command(CmCascade)->setEnabled(true);
    connect(Command(CmTile), &QAction::triggered, client, &QMdiArea::tileSubWindows);
    Command(CmTile)->setEnabled(true);
    Enable(CmTileHorizontally, &TMainWindow::TileHorizontally);
    Enable(CmArrangeIcons, &TMainWindow::ArrangeIcons);
    Enable(CmAbout, &TMainWindow::About);
    Enable(CmMainConfig, &TMainWindow::MainConfiguration);
    Enable(CmEnvelopeListConfig, &TMainWindow::EnvelopeListConfiguration);
    Enable(CmAccountListConfig, &TMainWindow::AccountListConfiguration);
    Enable(CmTransactionViewConfig, &TMainWindow::TransactionViewConfiguration);
}

void TMainWindow::BuildControlBar() {
    controlBar = new QToolBar("Control Bar", this);
    controlBar->setObjectName("controlBar");
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
        for (int id : group)
            controlBar->addAction(Command(id));
    }
    addToolBar(Qt::TopToolBarArea, controlBar);
    controlBar->show();
}

void TMainWindow::ApplyBars() {
    const TQuilletOptions& options = config.Options();
    if (options.showStatusBar == 1 && !modifiedLabel) {
        auto* bar = new QStatusBar(this);
        bar->setObjectName("statusBar");
        modifiedLabel = new QLabel(bar);
        modifiedLabel->setObjectName("modifiedLabel");
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
    QMessageBox::about(this, "About Quillet",
                       QString("<b>Quillet %1.%2</b><p>Envelope budgeting: accounts, envelopes, "
                               "transactions and an allocation plan.</p>")
                           .arg(QuilletVersionMajor)
                           .arg(QuilletVersionMinor));
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

void TMainWindow::StartUp() {
    // Runs once, on the event loop's first pass after the frame is shown. The budget named by
    // "-w" or "-f", or the last file, is opened from here once the program handles files; until
    // then the paths stay in commandLine.
    if (startedUp) return;
    startedUp = true;
}

bool TMainWindow::CanClose() {
    // The open budget's close procedure (confirmations, save, lock) decides here once budgets
    // can be opened; with none open there is nothing to refuse.
    return true;
}

void TMainWindow::SaveConfiguration() {
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
    // A configuration that cannot be written is not reported; the program goes on as it is.
    config.Save();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (!CanClose()) {
        event->ignore();
        return;
    }
    SaveConfiguration();
    event->accept();
}
