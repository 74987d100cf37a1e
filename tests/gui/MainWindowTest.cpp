#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "app/qt/CommandIcons.h"
#include "app/qt/ConfigDialogsQt.h"
#include "app/qt/HelpWindow.h"
#include "app/qt/MainWindow.h"
#include "platform/Platform.h"
#include "tests/gui/GuiSupport.h"
#include "tests/support/ScriptedUI.h"
#include "views/qt/ChildCommands.h"

namespace {

// The default placement is worked out from this screen: 600 x 400 at (75, 50). It fits in the
// offscreen platform's 800 x 600 desk, so that the frame is placed as recorded.
const TFixedScreen Screen(750, 500);

QStringList ItemTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text();
    }
    return texts;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TTestHome> home;
    TLinuxPlatform platform;

    QString ConfigPath() const { return home->Path("config/Quillet/Quillet.cfg"); }

    // What a fresh start would read back from the file now on disk.
    TQuilletOptions StoredOptions() {
        TConfigFile file(platform, Screen);
        file.FindPath();
        file.Load();
        return file.Options();
    }
    QRect StoredPlace() {
        const TQuilletOptions o = StoredOptions();
        return {o.windowX, o.windowY, o.windowWidth, o.windowHeight};
    }
    void Show(TMainWindow& window) {
        window.ShowAsConfigured();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    // Writes a configuration before the program starts, as an earlier run would have.
    void StoreOptions(const std::function<void(TQuilletOptions&)>& change) {
        TConfigFile file(platform, Screen);
        file.FindPath();
        file.Load();
        change(file.Options());
        QVERIFY(file.Save());
    }

    QAction* Action(const TMainWindow& window, int id) {
        return window.findChild<QAction*>(QString("cmd%1").arg(id));
    }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(quillet);
        RegisterQuilletClasses();
    }
    void init() { home = std::make_unique<TTestHome>(); }

    void firstStartWritesDefaultsAndClosingRecordsThePlace() {
        QVERIFY(!QFile::exists(ConfigPath()));
        TConfigFile config(platform, Screen);
        {
            TMainWindow window(config, {});
            QVERIFY(QFile::exists(ConfigPath()));
            QCOMPARE(QString::fromStdString(config.Path()), ConfigPath());
            Show(window);
            QCOMPARE(window.windowTitle(), QString("Quillet 3.1 "));
            QCOMPARE(QRect(window.pos(), window.size()), QRect(75, 50, 600, 400));
            QVERIFY(!window.isMaximized());
            QCOMPARE(StoredPlace(), QRect(75, 50, 600, 400));
            window.move(40, 30);
            window.resize(700, 500);
            QVERIFY(window.close());
            QVERIFY(!window.isVisible());
        }
        QCOMPARE(StoredPlace(), QRect(40, 30, 700, 500));
        QVERIFY(!StoredOptions().maximised);
    }

    void maximisedFrameKeepsTheRestoredPlace() {
        StoreOptions([](TQuilletOptions& o) {
            o.windowX = 11;
            o.windowY = 22;
            o.windowWidth = 555;
            o.windowHeight = 444;
        });
        TConfigFile config(platform, Screen);
        {
            TMainWindow window(config, {});
            Show(window);
            QCOMPARE(QRect(window.pos(), window.size()), QRect(11, 22, 555, 444));
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
            // The exit command closes the frame like the window's own close button.
            Action(window, CmExit)->trigger();
            QVERIFY(!window.isVisible());
        }
        QVERIFY(StoredOptions().maximised);
        QCOMPARE(StoredPlace(), QRect(11, 22, 555, 444));

        // The next start comes up maximised, and a restore then records the normal place again.
        TConfigFile again(platform, Screen);
        {
            TMainWindow window(again, {});
            Show(window);
            QVERIFY(window.isMaximized());
            window.showNormal();
            QTRY_VERIFY(!window.isMaximized());
            window.move(60, 70);
            QVERIFY(window.close());
        }
        QVERIFY(!StoredOptions().maximised);
        QCOMPARE(StoredPlace().topLeft(), QPoint(60, 70));
    }

    void damagedPlacementStaysOnTheDesk() {
        StoreOptions([](TQuilletOptions& o) {
            o.windowX = INT32_MIN;
            o.windowY = 5;
            o.windowWidth = INT32_MAX;
            o.windowHeight = -300;
        });
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});
        Show(window);
        const QRect desk = window.screen()->availableVirtualGeometry();
        QVERIFY(window.width() <= desk.width());
        QVERIFY(window.height() > 0 && window.height() <= desk.height());
        QVERIFY(desk.contains(window.geometry().topLeft()));

        // Partly off the desk is still where the user left it.
        window.move(-100, 500);
        QVERIFY(window.close());
        TConfigFile again(platform, Screen);
        TMainWindow reopened(again, {});
        QCOMPARE(reopened.pos(), QPoint(-100, 500));
    }

    void commandsAreUniqueAndTheControlBarKeepsItsOrder() {
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});

        // Every command answers to its id alone, has its picture, and no two share a name or a
        // shortcut.
        QSet<QString> names, shortcuts;
        for (QAction* action : window.findChildren<QAction*>()) {
            if (!action->objectName().startsWith("cmd")) continue;
            QVERIFY2(!names.contains(action->objectName()), qPrintable(action->objectName()));
            names << action->objectName();
            const int id = action->objectName().mid(3).toInt();
            QCOMPARE(window.Command(id), action);
            QVERIFY(!action->text().isEmpty());
            QVERIFY2(QFile::exists(CommandIconFile(id)), qPrintable(action->objectName()));
            const QString keys = action->shortcut().toString();
            QVERIFY2(keys.isEmpty() || !shortcuts.contains(keys), qPrintable(keys));
            shortcuts << keys;
        }
        QCOMPARE(names.size(), 47);

        // Within a menu every item has its own accelerator letter.
        for (const QMenu* menu : window.findChildren<QMenu*>()) {
            QSet<QChar> letters;
            for (const QString& text : ItemTexts(menu)) {
                const qsizetype amp = text.indexOf('&');
                QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
                const QChar letter = text.at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(text));
                letters << letter;
            }
        }

        // The control bar: shared commands from the menus, then the transaction commands, in
        // groups. Nothing on it works before a budget is open.
        auto* bar = window.findChild<QToolBar*>("controlBar");
        QVERIFY(bar);
        QStringList buttons;
        for (const QAction* action : bar->actions()) {
            buttons << (action->isSeparator() ? QString("|") : action->objectName());
            if (action->isSeparator()) continue;
            QVERIFY(!action->isEnabled());
            QVERIFY(!action->icon().isNull());
            QVERIFY(
                !bar->widgetForAction(const_cast<QAction*>(action))->accessibleName().isEmpty());
        }
        QCOMPARE(buttons.join(' '),
                 QString("cmd113 cmd112 | cmd139 cmd138 | cmd136 cmd129 cmd128 cmd131 | "
                         "cmd24507 cmd24508 | cmd24509 cmd24512 cmd24511 cmd24510 | cmd24518"));
    }

    void barsFollowTheConfiguration() {
        StoreOptions([](TQuilletOptions& o) {
            o.showStatusBar = 0;
            o.showControlBar = 0;
        });
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});
        Show(window);
        QVERIFY(!window.findChild<QStatusBar*>());
        QVERIFY(!window.findChild<QToolBar*>());

        // Marked modified while hidden, the status bar shows it as soon as it is built.
        window.SetModified(true);
        config.Options().showStatusBar = 1;
        window.ApplyBars();
        auto* status = window.findChild<QStatusBar*>("statusBar");
        QVERIFY(status && status->isVisible());
        auto* label = status->findChild<QLabel*>("modifiedLabel");
        QVERIFY(label);
        QCOMPARE(label->text(), QString("Modified"));
        window.SetModified(false);
        QCOMPARE(label->text(), QString());
        QVERIFY(!window.findChild<QToolBar*>());

        config.Options().showStatusBar = 0;
        config.Options().showControlBar = 1;
        window.ApplyBars();
        QVERIFY(!window.findChild<QStatusBar*>());
        auto* bar = window.findChild<QToolBar*>("controlBar");
        QVERIFY(bar && bar->isVisible());
        // Removing the bar leaves its commands in the menus.
        config.Options().showControlBar = 0;
        window.ApplyBars();
        QVERIFY(!window.findChild<QToolBar*>());
        QVERIFY(Action(window, CmAccountList));
        QVERIFY(window.close());
        QCOMPARE(StoredOptions().showStatusBar, 0);
    }

    void windowCommandsArrangeTheChildren() {
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});
        Show(window);
        QMdiArea* client = window.Client();
        QList<QMdiSubWindow*> children;
        for (const char* title : {"Accounts", "Envelopes", "Account: Checking"}) {
            auto* child = client->addSubWindow(new QWidget);
            child->setWindowTitle(title);
            child->resize(200, 150);
            child->show();
            children << child;
        }

        Action(window, CmTileHorizontally)->trigger();
        const QRect area = client->viewport()->rect();
        int top = 0;
        for (QMdiSubWindow* child : children) {
            QCOMPARE(child->geometry().left(), 0);
            QCOMPARE(child->geometry().width(), area.width());
            QCOMPARE(child->geometry().top(), top);
            top = child->geometry().bottom() + 1;
        }
        QCOMPARE(top, area.height());

        Action(window, CmCascade)->trigger();
        QVERIFY(children[0]->geometry().topLeft() != children[1]->geometry().topLeft());

        children[0]->showMinimized();
        children[2]->showMinimized();
        Action(window, CmArrangeIcons)->trigger();
        QCOMPARE(children[0]->geometry().left(), 0);
        QCOMPARE(children[0]->geometry().bottom(), area.height() - 1);
        QCOMPARE(children[2]->geometry().left(), children[0]->geometry().right() + 1);
        QCOMPARE(children[2]->geometry().top(), children[0]->geometry().top());

        // The window menu lists the children, the active one checked.
        client->setActiveSubWindow(children[1]);
        auto* menu = window.findChild<QMenu*>("menuWindow");
        QVERIFY(menu);
        emit menu->aboutToShow();
        emit menu->aboutToShow();  // a second opening replaces the list instead of adding to it
        QStringList listed = ItemTexts(menu).mid(6);
        QCOMPARE(listed, QStringList({"&1 Accounts", "&2 Envelopes", "&3 Account: Checking"}));
        QVERIFY(menu->actions().last()->isCheckable());
        QVERIFY(!menu->actions().last()->isChecked());
        menu->actions().last()->trigger();
        QCOMPARE(client->activeSubWindow(), children[2]);
        QVERIFY(window.close());
    }

    // The active child's menus stand in the menu bar, its Edit menu in place of the frame's, and
    // the control bar's commands reach it; another child activated takes them back.
    void activeChildBringsItsMenusAndCommands() {
        struct TChild : QWidget, TChildCommands {
            QMenu edit{"&Edit"}, transactions{"&Transactions"};
            QList<int> ran;
            QList<QMenu*> ActiveMenus() override { return {&edit, &transactions}; }
            bool CommandState(int id, bool& enabled, bool& checked) override {
                if (id != CmSelectEnvelope && id != CmViewImported) return false;
                enabled = true;
                checked = id == CmViewImported;
                return true;
            }
            bool RunCommand(int id) override { return ran << id, true; }
        };
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});
        Show(window);
        auto* view = new TChild;
        QMdiSubWindow* withMenus = window.Client()->addSubWindow(view);
        QMdiSubWindow* plain = window.Client()->addSubWindow(new QWidget);
        withMenus->show();
        plain->show();
        auto titles = [&window] {
            QStringList shown;
            for (QAction* menu : window.menuBar()->actions())
                if (menu->isVisible()) shown << menu->text();
            return shown;
        };
        window.Client()->setActiveSubWindow(withMenus);
        QCOMPARE(titles(),
                 QStringList({"&File", "&Edit", "&Transactions", "&Tools", "&Window", "&Help"}));
        QVERIFY(!Action(window, CmEditDelete)->isEnabled());  // the child's Edit menu has it
        QVERIFY(Action(window, CmSelectEnvelope)->isEnabled());
        QVERIFY(!Action(window, CmApplyTemplate)->isEnabled());
        QVERIFY(Action(window, CmViewImported)->isChecked());
        Action(window, CmSelectEnvelope)->trigger();
        QCOMPARE(view->ran, QList<int>{CmSelectEnvelope});

        window.Client()->setActiveSubWindow(plain);
        QCOMPARE(titles(), QStringList({"&File", "&Edit", "&Tools", "&Window", "&Help"}));
        QVERIFY(!Action(window, CmSelectEnvelope)->isEnabled());
        QVERIFY(!Action(window, CmViewImported)->isChecked());
        QVERIFY(window.close());
    }

    void aboutBoxShowsTheVersion() {
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});
        Show(window);
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!about) return;
            if (auto* version = about->findChild<QLabel*>("version")) shown = version->text();
            about->accept();
        });
        Action(window, CmAbout)->trigger();
        QVERIFY2(shown.startsWith("Version 3.1 Build "), qPrintable(shown));
        QVERIFY(window.close());
    }

    void mainConfigurationShowsAndReturnsItsBuffer() {
        TMainConfigBuffer in;
        in.showStatusBar = true;
        in.reopenLastFile = true;
        in.autoSaveMinutes = "5";
        in.backupLevels = "12";
        in.confirmImportOnClose = true;
        in.updateCheckDays = "30";
        TMainConfigDialog dialog(in);

        // Unchanged, the buffer comes back as it went in; the number fields keep to the digits
        // rule as the user types.
        TMainConfigBuffer same = dialog.Buffer();
        QVERIFY(same.showStatusBar && !same.showControlBar && same.reopenLastFile);
        QVERIFY(!same.confirmClearedOnClose && same.confirmImportOnClose);
        QCOMPARE(same.backupLevels + same.updateCheckDays, std::string("1230"));
        auto* autoSave = Control<QLineEdit>(dialog, 103);
        autoSave->clear();
        QTest::keyClicks(autoSave, "1a2-3 4567");
        QCOMPARE(autoSave->text(), QString("12345"));
        Control<QCheckBox>(dialog, 101)->setChecked(false);
        Control<QCheckBox>(dialog, 105)->setChecked(true);
        TMainConfigBuffer out = dialog.Buffer();
        QCOMPARE(out.autoSaveMinutes, std::string("12345"));
        QVERIFY(!out.showStatusBar);
        QVERIFY(out.confirmClearedOnClose);
    }

    void listConfigurationsMapTheirCheckBoxes() {
        TEnvelopeListConfigDialog envelopes({true, false, true, false});
        Control<QCheckBox>(envelopes, 104)->setChecked(true);
        Control<QCheckBox>(envelopes, 101)->setChecked(false);
        TEnvelopeListConfigBuffer e = envelopes.Buffer();
        QVERIFY(!e.showRootBalance && !e.showBundleBalances && e.showAssociationBalances &&
                e.showEnvelopeBalances);

        TAccountListConfigDialog accounts({false, true, false, true});
        Control<QCheckBox>(accounts, 113)->setChecked(true);
        TAccountListConfigBuffer a = accounts.Buffer();
        QVERIFY(!a.showRootBalance && a.showGroupBalances && a.showAccountBalances &&
                a.showReconcileBalances);
    }

    void widthFieldsAreBroughtIntoRangeWhenLeft() {
        TScriptedUI ui;
        TQuilletOptions defaults;
        TTransactionViewSetupDialog dialog(FillTransactionViewSetup(defaults));
        QCOMPARE(Control<QLineEdit>(dialog, 102)->text(), QString("35"));
        QCOMPARE(Control<QLineEdit>(dialog, 102)->maxLength(), 10);

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* payable = Control<QLineEdit>(dialog, 102);
        auto* memo = Control<QLineEdit>(dialog, 108);
        payable->setFocus();
        payable->selectAll();
        QTest::keyClicks(payable, "60");
        memo->setFocus();
        QCOMPARE(payable->text(), QString("50"));
        QCOMPARE(ui.beeps, 1);
        payable->setFocus();  // left again unchanged: silent
        memo->setFocus();
        QCOMPARE(ui.beeps, 1);

        // A field never left keeps what was typed; the limits are applied on closing.
        Control<QLineEdit>(dialog, 101)->setText("3");
        QCOMPARE(dialog.Buffer().codeWidth, std::string("3"));
        QCOMPARE(dialog.Buffer().payableToWidth, std::string("50"));
    }

    void mainWindowSavesAndAppliesAcceptedOptions() {
        TConfigFile config(platform, Screen);
        TMainWindow window(config, {});
        window.ShowAsConfigured();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy changed(&window, &TMainWindow::OptionsChanged);
        QAction* mainConfig = window.Command(CmMainConfig);
        QVERIFY(mainConfig && mainConfig->isEnabled());

        // Cancel changes nothing.
        TModalScript script{[](QDialog& d) {
            Control<QCheckBox>(d, 101)->setChecked(false);
            d.reject();
        }};
        mainConfig->trigger();
        QVERIFY(window.findChild<QStatusBar*>());
        QCOMPARE(config.Options().showStatusBar, 1);
        QCOMPARE(changed.count(), 0);

        script.steps = {[](QDialog& d) {
            QCOMPARE(d.windowTitle(), QString("Main Configuration"));
            Control<QCheckBox>(d, 101)->setChecked(false);
            Control<QLineEdit>(d, 104)->setText("9");
            d.accept();
        }};
        mainConfig->trigger();
        QVERIFY(!window.findChild<QStatusBar*>());
        QVERIFY(window.findChild<QToolBar*>("controlBar"));
        QCOMPARE(changed.count(), 1);
        TQuilletOptions stored = StoredOptions();
        QCOMPARE(stored.showStatusBar, 0);
        QCOMPARE(stored.backupLevels, 9u);
        // Saving also recorded where the frame stands.
        QCOMPARE(stored.windowX, window.x());
        QCOMPARE(stored.windowWidth, window.width());

        // Each of the other three commands runs its own dialog.
        script.steps = {
            [](QDialog& d) {
                QCOMPARE(d.windowTitle(), QString("Transaction View Setup"));
                Control<QLineEdit>(d, 101)->setText("3");
                Control<QCheckBox>(d, 106)->setChecked(true);
                d.accept();
            },
            [](QDialog& d) { Control<QCheckBox>(d, 103)->setChecked(true), d.accept(); },
            [](QDialog& d) { Control<QCheckBox>(d, 114)->setChecked(true), d.accept(); }};
        for (int command : {CmTransactionViewConfig, CmEnvelopeListConfig, CmAccountListConfig})
            window.Command(command)->trigger();
        stored = StoredOptions();
        QCOMPARE(stored.codeWidth, 5u);
        QCOMPARE(stored.includeYear, 1);
        QCOMPARE(stored.envShowAssociationBalances, 1);
        QCOMPARE(stored.actShowReconcileBalances, 1);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(script.unscripted, 0);
        QVERIFY(window.close());
    }

    void everyHelpPageIsListedAndEveryLinkResolves() {
        THelpWindow window;
        const QStringList files = window.PageFiles();
        QCOMPARE(files.first(), QString("index.html"));
        QCOMPARE(files.size(), 11);
        QCOMPARE(window.Contents()->count(), 11);
        static const QRegularExpression href("href=\"([^\"#]+)\"");
        for (const QString& file : files) {
            QFile page(":/help/" + file);
            QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(file));
            const QString html = QString::fromUtf8(page.readAll());
            for (auto match = href.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                QVERIFY2(QFile::exists(":/help/" + target), qPrintable(file + " -> " + target));
            }
        }
        window.ShowPage("keyboard.html");
        QVERIFY(window.Browser()->toPlainText().contains("Toggle Watchdog"));
        QCOMPARE(window.Contents()->currentItem()->text(), QString("Keyboard"));
    }

    void helpSearchNarrowsTheContents() {
        THelpWindow window;
        window.SearchField()->setText("reconcile  CTRL+ENTER");
        QCOMPARE(window.Search("reconcile ctrl+enter"),
                 QStringList({"accounts.html", "import.html", "keyboard.html"}));
        QCOMPARE(window.Contents()->count(), 3);
        QVERIFY(window.Browser()->source().toString().endsWith("accounts.html"));
        window.SearchField()->setText("nowhere-to-be-found");
        QCOMPARE(window.Contents()->count(), 0);
        window.SearchField()->clear();
        QCOMPARE(window.Contents()->count(), 11);
    }

    void everyPictureRenders() {
        int count = 0;
        for (QDirIterator it(":/icons", {"*.svg"}); it.hasNext(); ++count) {
            const QString file = it.next();
            QVERIFY2(QSvgRenderer(file).isValid(), qPrintable(file));
        }
        QVERIFY(count > 60);
        QVERIFY(QSvgRenderer(QString(":/splash.svg")).isValid());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
