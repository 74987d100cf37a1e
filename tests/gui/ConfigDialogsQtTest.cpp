#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>
#include <memory>

#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "app/qt/ConfigDialogsQt.h"
#include "app/qt/MainWindow.h"
#include "platform/Platform.h"
#include "tests/gui/GuiSupport.h"
#include "tests/support/ScriptedUI.h"

class ConfigDialogsQtTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TTestHome> home;
    TLinuxPlatform platform;
    TFixedScreen screen;

    TQuilletOptions StoredOptions() {
        TConfigFile file(platform, screen);
        file.FindPath();
        file.Load();
        return file.Options();
    }

private slots:
    void initTestCase() { RegisterQuilletClasses(); }
    void init() { home = std::make_unique<TTestHome>(); }

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
        TConfigFile config(platform, screen);
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
};

QTEST_MAIN(ConfigDialogsQtTest)
#include "ConfigDialogsQtTest.moc"
