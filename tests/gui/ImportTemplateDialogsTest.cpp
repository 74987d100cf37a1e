// Before any Qt header: the store names a member after a word Qt takes as a keyword.
#include "transactions/XManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "core/ScreenPort.h"
#include "core/SettingsList.h"
#include "import/Importer.h"
#include "import/qt/ImportDialogsQt.h"
#include "plan/XTemplateManager.h"
#include "plan/qt/TemplateDialogsQt.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/ScriptedWindows.h"

namespace {

// Runs one step on each modal dialog that opens; one nobody scripted is cancelled and counted.
struct TModalScript {
    std::deque<std::function<void(QDialog&)>> steps;
    int unscripted = 0;
    QTimer poll;
    TModalScript() {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            if (steps.empty()) {
                ++unscripted;
                dialog->reject();
                return;
            }
            auto step = steps.front();
            steps.pop_front();
            step(*dialog);
        });
        poll.start(5);
    }
};

template <class W = QWidget>
W* Find(const QWidget& parent, const char* name) {
    return parent.findChild<W*>(name);
}

void Click(const QWidget& dialog, const char* button) {
    QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton);
}

// A demo budget written by the console program.
std::unique_ptr<TQuilletData> DemoBudget(const QString& path) {
    QProcess cli;
    cli.start(QStringLiteral(QUILLET_CLI_PATH), {"demo", path});
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0) return nullptr;
    std::string error;
    return LoadBudgetFile(path.toStdString(), error);
}

}  // namespace

class ImportTemplateDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterQuilletClasses(); }

    // "Import Transactions" shows its buffer, "..." swaps in another account's options, and
    // only "Import..." hands the edits back.
    void importDialogShowsAndReturnsItsBuffer() {
        TScriptedUI ui;
        TImportXBuffer buffer;
        buffer.account = 1;
        buffer.accountName = "Checking";
        buffer.options.automatic = 0;
        buffer.options.all = 1;
        buffer.options.onlyNewerDate = TDate(15, 3, 2024);
        buffer.options.codePos = "dep";
        buffer.changeAccount = [](TImportXBuffer& b, uint32_t account) {
            b.account = account;
            b.accountName = "Savings";
            b.options.codeNeg = "withdrawal";
        };
        TQuilletData doc;
        TCurrentDocument current(doc);
        TImportXDialog dialog(buffer, doc, [](TImportAccountBuffer& b) {
            b.account = 7;
            return true;
        });
        QVERIFY(Find<QRadioButton>(dialog, "ctl1077")->isChecked());
        QCOMPARE(Find<QLineEdit>(dialog, "ctl1086")->text(), QString("03/15/24"));
        QCOMPARE(Find<QLineEdit>(dialog, "ctl1080")->text(), QString("dep"));
        Click(dialog, "ctl1085");
        Find<QCheckBox>(dialog, "ctl1087")->setChecked(false);
        QVERIFY(!Find<QLineEdit>(dialog, "ctl1086")->isEnabled());
        QCOMPARE(Find<QLabel>(dialog, "ctl1084")->text(), QString("Savings"));
        QCOMPARE(Find<QLineEdit>(dialog, "ctl1081")->text(), QString("withdrawal"));
        dialog.accept();
        QCOMPARE(dialog.Buffer().account, 7u);
        QCOMPARE(dialog.Buffer().options.onlyNewer, 0);
        QCOMPARE(dialog.Buffer().options.codeNeg, std::string("withdrawal"));

        TImportDialogsQt port(nullptr);
        TModalScript script;
        script.steps = {[](QDialog& d) {
            Find<QLineEdit>(d, "ctl1080")->setText("changed");
            d.reject();
        }};
        QVERIFY(!port.ImportTransactions(buffer));
        QCOMPARE(buffer.options.codePos, std::string("dep"));
    }

    // A real statement through the program's dialogs: the account chosen, "Import...", the
    // transactions added with the import mark and the account's ledger asked for.
    void statementImportRunsThroughTheDialogs() {
        TScriptedUI ui;
        TRecordingWindows windows;
        QTemporaryDir dir;
        std::unique_ptr<TQuilletData> budget = DemoBudget(dir.filePath("demo.qlt"));
        QVERIFY(budget);
        TQuilletData& doc = *budget;
        TCurrentDocument current(doc);
        doc.GetXManager().ClearImportMarks();
        uint32_t chosen = 0;
        TImportDialogsQt port(nullptr);
        TPortInstall<TImportDialogPort> installed(ImportDialogs, port);
        TModalScript script;
        script.steps = {[&](QDialog& d) {
                            auto* list = Find<QListWidget>(d, "list");
                            list->setCurrentRow(list->count() - 1);
                            chosen =
                                doc.GetAccounts().FindId(list->currentItem()->text().toStdString());
                            d.accept();
                        },
                        [](QDialog& d) {
                            Find<QCheckBox>(d, "ctl1087")->setChecked(false);
                            d.accept();
                        }};
        TSettingsList config;
        ImportStatement(doc, config, TStatementKind::Ofx,
                        QUILLET_SHARED_TESTDATA_DIR "/statements/ofxparse/checking.ofx");
        QCOMPARE(script.unscripted, 0);
        QVERIFY(doc.GetXManager().HasImportMarks());
        QCOMPARE(windows.accountLedgers.size(), size_t(1));
        QCOMPARE(windows.accountLedgers[0].first, chosen);
    }

    // The template list: "&Add Item" runs the property dialog, which refuses a taken name and
    // keeps the dialog open; "&Delete Item" with nothing to delete beeps.
    void templateListAndPropertyDialog() {
        TScriptedUI ui;
        TQuilletData doc;
        TCurrentDocument current(doc);
        std::unique_ptr<TManagedItem> rent = doc.GetTemplates().CreateItem();
        static_cast<TXTemplate&>(*rent).SetName("Rent");
        doc.GetTemplates().Add(std::move(rent));
        TFixedScreen screen;
        TSettingsList settings;
        TTemplateDialogsQt port(nullptr, screen, &settings);
        TPortInstall<TTemplateDialogPort> installed(TemplateDialogs, port);
        TModalScript script;
        bool stayedOpen = false;
        script.steps = {
            // Later, so that this step returns before the property dialog runs in its own loop.
            [](QDialog& list) {
                QTimer::singleShot(0, &list, [&list] { Click(list, "addItem"); });
            },
            [&](QDialog& properties) {
                Find<QLineEdit>(properties, "templateName")->setText("Rent");
                Click(properties, "close");
                stayedOpen = properties.isVisible();
                Find<QLineEdit>(properties, "templateName")->setText("Paycheck");
                Find<QCheckBox>(properties, "includeInPlan")->setChecked(true);
                QTest::keyClick(&properties, Qt::Key_Escape);
            },
            [](QDialog& list) {
                Click(list, "deleteItem");
                Click(list, "deleteItem");
                Click(list, "deleteItem");
                list.accept();
            }};
        ViewTransactionTemplates(doc);
        QCOMPARE(script.unscripted, 0);
        QVERIFY(stayedOpen);
        QCOMPARE(ui.messages.size(), size_t(1));  // the taken name
        QCOMPARE(ui.beeps, 2);  // with that message, and the third delete finding nothing
        QCOMPARE(doc.GetTemplates().GetCount(), 0u);
        QVERIFY(settings.GetInt("XTemplateDlg.Width", 0) >= 700);
        QVERIFY(doc.IsModified());
    }
};

QTEST_MAIN(ImportTemplateDialogsTest)
#include "ImportTemplateDialogsTest.moc"
