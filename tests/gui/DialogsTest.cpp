// The dialogs of the tools, the reports and the transactions, and the controls they are built
// from: what each shows, what it hands back on OK and keeps on Cancel, and the port that runs it.
// Before any Qt header: the store names a member after a word Qt takes as a keyword.
#include "transactions/XManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <deque>
#include <functional>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "app/Registration.h"
#include "controls/qt/Choosers.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/StringListControls.h"
#include "controls/qt/UniqueStringEdit.h"
#include "core/IdObjectList.h"
#include "core/QuilletData.h"
#include "core/ScreenPort.h"
#include "core/SettingsList.h"
#include "envelopes/EnvelopeList.h"
#include "import/Importer.h"
#include "import/qt/ImportDialogsQt.h"
#include "plan/XTemplateManager.h"
#include "plan/qt/TemplateDialogsQt.h"
#include "reports/EnvelopeLedgerReport.h"
#include "reports/qt/FormPreviewDialog.h"
#include "reports/qt/ReportDialogs.h"
#include "tests/gui/GuiSupport.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/ScriptedWindows.h"
#include "transactions/qt/TransactionDialogsQt.h"

namespace {

void Click(const QWidget& dialog, const char* button) {
    QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton);
}

QByteArray RunCli(const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(QUILLET_CLI_PATH), args);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        return "failed: " + cli.readAllStandardError();
    return cli.readAllStandardOutput();
}

QString Selected(const QWidget& dialog, const char* list) {
    return Find<QListWidget>(dialog, list)->currentItem()->text().trimmed();
}

const char* const Accounts[] = {"Checking", "Savings", "Cash", nullptr};

// A dialog whose OK asks its name field first, as the property dialogs do.
class TNameDialog : public QDialog {
public:
    explicit TNameDialog(std::unique_ptr<TTarnStringList> taken) {
        auto* layout = new QVBoxLayout(this);
        name = new TUniqueStringEdit(this, "name", "&Name:", 31, std::move(taken));
        layout->addWidget(name);
    }
    void accept() override {
        if (name->CanClose()) QDialog::accept();
    }
    TUniqueStringEdit* name;
};

std::unique_ptr<TTarnStringList> Taken(std::unique_ptr<TTarnStringList> list) {
    list->Add("  Food");
    return list;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString budget;
    std::unique_ptr<TQuilletData> doc;

private slots:
    void initTestCase() {
        RegisterQuilletClasses();
        budget = dir.filePath("demo.qlt");
        QCOMPARE(RunCli({"demo", budget}), QByteArray());
        std::string error;
        doc = LoadBudgetFile(budget.toStdString(), error);
        QVERIFY2(doc, error.c_str());
    }

    // "Export to File..." writes the very bytes the console program's report writes for the
    // same choices, for each of the six reports.
    void reportExportMatchesConsoleReport() {
        TScriptedUI ui;
        TCurrentDocument current(*doc);
        const QStringList range = {"--from", "1/1/2000", "--to", "12/31/2099"};
        auto dates = [&](TReportDialog& d) {
            Find<QLineEdit>(d, "fromDate")->setText("1/1/2000");
            Find<QLineEdit>(d, "toDate")->setText("12/31/2099");
            return range;
        };
        const std::pair<const char*, std::function<QStringList(TReportDialog&)>> rows[] = {
            {"account-ledger",
             [&](TReportDialog& d) {
                 return QStringList{"--account", Selected(d, "reportNodes")} + dates(d);
             }},
            {"envelope-ledger",
             [&](TReportDialog& d) {
                 return QStringList{"--envelope", Selected(d, "reportNodes")} + dates(d);
             }},
            {"account-summary", [](TReportDialog&) { return QStringList(); }},
            {"envelope-summary",
             [](TReportDialog& d) {
                 Find<QComboBox>(d, "reportSize")->setCurrentIndex(2);
                 return QStringList{"--size", "3"};
             }},
            {"envelope-activity",
             [&](TReportDialog& d) {
                 Find<QCheckBox>(d, "column4")->setChecked(true);
                 Find<QCheckBox>(d, "column9")->setChecked(false);
                 return QStringList{"--columns", "alloc,expense,xin,allin,allout,start"} + dates(d);
             }},
            {"allocation-plan",
             [](TReportDialog& d) {
                 Find<QComboBox>(d, "planPeriod")->setCurrentText("Weekly");
                 return QStringList{"--period", "Weekly"};
             }},
        };
        for (int kind = 0; kind < 6; ++kind) {
            const auto& [name, choose] = rows[kind];
            TReportDialog dialog(static_cast<TReportKind>(kind), *doc);
            const QStringList args = QStringList{"report", name, budget} + choose(dialog);
            QFile file(dir.filePath(QString(name) + ".tab"));
            QVERIFY(dialog.ExportTo(file.fileName()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray exported = file.readAll();
            QVERIFY2(exported.size() > 20, name);
            QCOMPARE(exported, RunCli(args));
        }
    }

    // The stored options open the dialogs and are written back on closing; the old format's
    // clipboard carries the named block; the preview saves its pages as a PDF file.
    void reportOptionsClipboardAndPdf() {
        TScriptedUI ui;
        TCurrentDocument current(*doc);
        TSettingsList settings;
        TFixedScreen screen;
        SetReportDialogContext(&settings, &screen);
        settings.SetInt("EnvLgr.OldFormat", 1);
        settings.SetInt("EnvAct.ColTransOut", 1);
        {
            TReportDialog ledger(TReportKind::EnvelopeLedger, *doc);
            auto* old = Find<QCheckBox>(ledger, "oldFormat");
            QVERIFY(old->isChecked());
            Click(ledger, "copy");
            const QMimeData* data = QApplication::clipboard()->mimeData();
            QVERIFY(!data->text().startsWith("No.\t"));
            QCOMPARE(data->data(QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
                                    .arg(EnvelopeLedgerClipboardFormat)),
                     QByteArray(10, '\0'));
            old->setChecked(false);
            Click(ledger, "close");
        }
        QCOMPARE(settings.GetInt("EnvLgr.OldFormat", -1), 0);
        {
            TReportDialog activity(TReportKind::EnvelopeActivity, *doc);
            QVERIFY(Find<QCheckBox>(activity, "column5")->isChecked());
            Find<QCheckBox>(activity, "column2")->setChecked(false);
            activity.reject();
        }
        QCOMPARE(settings.GetInt("EnvAct.ColAlloc", -1), 0);
        QCOMPARE(settings.GetInt("EnvAct.ColTransOut", -1), 1);
        SetReportDialogContext(nullptr, nullptr);

        TReportDialog summary(TReportKind::AccountSummary, *doc);
        TFormPreviewDialog preview(nullptr, summary.PreparedReport(), QSize(800, 600));
        QFile pdf(dir.filePath("summary.pdf"));
        QCOMPARE(preview.SaveAsPdf(pdf.fileName()), 0);
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
    }

    // "Import Transactions" shows its buffer and "..." swaps in another account's options; only
    // "Import..." hands the edits back.
    void importDialogShowsAndReturnsItsBuffer() {
        TScriptedUI ui;
        TCurrentDocument current(*doc);
        TImportXBuffer buffer;
        buffer.options.all = 1;
        buffer.options.automatic = 0;
        buffer.options.codePos = "dep";
        buffer.changeAccount = [](TImportXBuffer& b, uint32_t account) {
            b.account = account;
            b.accountName = "Savings";
            b.options.codeNeg = "withdrawal";
        };
        TImportXDialog dialog(buffer, *doc, [](TImportAccountBuffer& b) {
            b.account = 7;
            return true;
        });
        QVERIFY(Find<QRadioButton>(dialog, "ctl1077")->isChecked());
        QCOMPARE(Find<QLineEdit>(dialog, "ctl1080")->text(), QString("dep"));
        Click(dialog, "ctl1085");
        QCOMPARE(Find<QLabel>(dialog, "ctl1084")->text(), QString("Savings"));
        Find<QCheckBox>(dialog, "ctl1087")->setChecked(false);
        QVERIFY(!Find<QLineEdit>(dialog, "ctl1086")->isEnabled());
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
        std::string error;
        std::unique_ptr<TQuilletData> fresh = LoadBudgetFile(budget.toStdString(), error);
        TCurrentDocument current(*fresh);
        fresh->GetXManager().ClearImportMarks();
        TImportDialogsQt port(nullptr);
        TPortInstall<TImportDialogPort> installed(ImportDialogs, port);
        TModalScript script;
        QString chosen;
        script.steps = {[&](QDialog& d) {
                            auto* list = Find<QListWidget>(d, "list");
                            list->setCurrentRow(list->count() - 1);
                            chosen = Selected(d, "list");
                            d.accept();
                        },
                        [](QDialog& d) { d.accept(); }};
        TSettingsList config;
        ImportStatement(*fresh, config, TStatementKind::Ofx,
                        QUILLET_SHARED_TESTDATA_DIR "/statements/ofxparse/checking.ofx");
        QCOMPARE(script.unscripted, 0);
        QVERIFY(fresh->GetXManager().HasImportMarks());
        QCOMPARE(windows.accountLedgers.size(), size_t(1));
        QCOMPARE(windows.accountLedgers[0].first,
                 fresh->GetAccounts().FindId(chosen.toStdString()));
    }

    // "&Add Item" runs the property dialog, which refuses a taken name and stays open, then
    // hands its fields back on Escape; "&Delete Item" with nothing left beeps.
    void templateListAndPropertyDialog() {
        TScriptedUI ui;
        TQuilletData empty;
        TCurrentDocument current(empty);
        std::unique_ptr<TManagedItem> rent = empty.GetTemplates().CreateItem();
        static_cast<TXTemplate&>(*rent).SetName("Rent");
        empty.GetTemplates().Add(std::move(rent));
        TFixedScreen screen;
        TSettingsList settings;
        TTemplateDialogsQt port(nullptr, screen, &settings);
        TPortInstall<TTemplateDialogPort> installed(TemplateDialogs, port);
        TModalScript script;
        bool stayedOpen = false;
        bool included = false;
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
            [&](QDialog& list) {
                auto* added = static_cast<TXTemplate*>(empty.GetTemplates().FindByName("Paycheck"));
                included = added && added->Fields().includeInPlan == 1;
                for (int i = 0; i < 3; ++i)
                    Click(list, "deleteItem");
                list.accept();
            }};
        ViewTransactionTemplates(empty);
        QCOMPARE(script.unscripted, 0);
        QVERIFY(stayedOpen && included);
        QCOMPARE(ui.messages.size(), size_t(1));  // the taken name
        QCOMPARE(ui.beeps, 2);  // with that message, and the third delete finding nothing
        QCOMPARE(empty.GetTemplates().GetCount(), 0u);
        QVERIFY(settings.GetInt("XTemplateDlg.Width", 0) >= 700);
        QVERIFY(empty.IsModified());
    }

    void transferHandsBackTheBufferOnlyOnAnAcceptedOk() {
        TSimpleIdObjectList accounts(Accounts);
        TTransactionDialogsQt port(nullptr);
        TActXferBuffer buffer;
        buffer.amount = 50;
        buffer.from = {1, 0, TDate(1, 2, 2024), "xfer", "Transfer to ~t", ""};
        buffer.to = {2, 0, TDate(1, 2, 2024), "xfer", "Transfer from ~t", ""};
        buffer.accounts = &accounts;
        int checks = 0;
        buffer.check = [&checks](const TActXferBuffer& b) {
            ++checks;
            return b.from.account != b.to.account;
        };
        const auto edit = [](QDialog& d) {
            QCOMPARE(Find<QLineEdit>(d, "amount")->text(), QString("50.00"));
            QCOMPARE(Find<QComboBox>(d, "toAccount")->currentText(), QString("Savings"));
            Type(d, "amount", "12345678.91");
            Type(d, "fromMemo", "rent");
            Find<TIdComboBox>(d, "toAccount")->SetId(3);
        };
        TModalScript script{[&](QDialog& d) { edit(d), Click(d, "cancel"); },
                            [](QDialog& d) {
                                Find<TIdComboBox>(d, "toAccount")->SetId(1);
                                Click(d, "ok");  // refused: stays open
                            }};
        QVERIFY(!port.AccountTransfer(buffer));
        QCOMPARE(buffer.amount, 50.0);
        QCOMPARE(buffer.to.account, 2u);
        QVERIFY(!port.AccountTransfer(buffer));
        QCOMPARE(checks, 1);
        QCOMPARE(script.unscripted, 1);

        script.steps = {[&](QDialog& d) { edit(d), Click(d, "ok"); }};
        QVERIFY(port.AccountTransfer(buffer));
        QCOMPARE(buffer.amount, 12345678.91);
        QCOMPARE(buffer.from.memo, std::string("rent"));
        QCOMPARE(buffer.to.account, 3u);
        QCOMPARE(buffer.to.date, TDate(1, 2, 2024));
    }

    void filterShowsAndReturnsItsCriteria() {
        TSimpleIdObjectList accounts(Accounts);
        TTransactionDialogsQt port(nullptr);
        TFilterDialogBuffer buffer;
        buffer.mode = FilterEnvelopeLedger | FilterBlankRows;
        buffer.nodes = &accounts;
        buffer.criteria.from = TDate(1, 5, 2024);
        buffer.criteria.to = TDate(15, 5, 2024);
        buffer.criteria.nodeId = 2;
        buffer.criteria.memo = TTextChoice::FieldText;
        buffer.criteria.memoText = "rent";
        const TFilterCriteria opened = buffer.criteria;

        TModalScript script{[](QDialog& d) {
            QCOMPARE(Find<QGroupBox>(d, "nodeGroup")->title(), QString(" &Account "));
            QCOMPARE(Find<QRadioButton>(d, "transfer")->text(), QString("Envelope Transfer"));
            // Fields follow their radios.
            QVERIFY(!Find(d, "fromDate")->isEnabled());
            QVERIFY(Find(d, "memoText")->isEnabled());
            QVERIFY(!Find(d, "nodeId")->isEnabled());
            // Chosen by an arrow key, the range hands the focus to its first field.
            QVERIFY(QTest::qWaitForWindowActive(&d));
            Find(d, "anyDate")->setFocus();
            QTest::keyClick(Find(d, "anyDate"), Qt::Key_Down);
            QVERIFY(Find<QRadioButton>(d, "dateRange")->isChecked());
            QTRY_VERIFY(Find(d, "fromDate")->hasFocus());
            Type(d, "toDate", "5/20/24");
            Find<QRadioButton>(d, "node")->setChecked(true);
            Find<TIdComboBox>(d, "nodeId")->SetId(3);
            Find<QRadioButton>(d, "reconcileView")->setChecked(true);
            Find<QCheckBox>(d, "memoExact")->setChecked(true);
            Click(d, "ok");
        }};
        QVERIFY(port.EditFilter(buffer));
        const TFilterCriteria& c = buffer.criteria;
        QVERIFY(c.date == TDateChoice::Range);
        QCOMPARE(c.from, TDate(1, 5, 2024));
        QCOMPARE(c.to, TDate(20, 5, 2024));
        QVERIFY(c.node == TNodeChoice::Node);
        QCOMPARE(c.nodeId, 3u);
        QVERIFY(c.view == TViewChoice::Reconcile);
        QVERIFY(c.memoExact && c.memoText == "rent");

        // Reset shows what the dialog was opened with; a report's dialog hides the view settings.
        buffer.criteria = opened;
        buffer.mode = FilterAccountLedger | FilterNoViewSettings;
        script.steps = {[](QDialog& d) {
            QCOMPARE(Find<QRadioButton>(d, "node")->text(), QString("Envelope:"));
            QVERIFY(!Find<QGroupBox>(d, "viewGroup")->isVisibleTo(&d));
            QVERIFY(!Find(d, "reconcileView")->isEnabled());
            Find<QRadioButton>(d, "memoAny")->setChecked(true);
            Find<QRadioButton>(d, "cleared")->setChecked(true);
            Click(d, "reset");
            Click(d, "ok");
        }};
        QVERIFY(port.EditFilter(buffer));
        QVERIFY(buffer.criteria == opened);
    }

    // Automation and screen readers reach every control a user can reach.
    void everyControlIsNamed() {
        TActXferDialog transfer({});
        TFilterDialog filter({});
        TEditMemoDialog memo({});
        for (QDialog* dialog : std::initializer_list<QDialog*>{&transfer, &filter, &memo})
            QCOMPARE(UnnamedControl(*dialog), QString());
    }

    void uniqueEditRefusesEmptyAndTakenNamesAndKeepsTheDialogOpen() {
        TScriptedUI ui;
        TNameDialog plain(Taken(std::make_unique<TTarnStringList>()));
        plain.show();
        QVERIFY(QTest::qWaitForWindowActive(&plain));
        plain.accept();
        QVERIFY(plain.isVisible());
        QVERIFY(plain.name->hasFocus());
        QCOMPARE(ui.beeps, 1);
        // A plain list compares byte for byte: another case (and no blanks) is a new name.
        plain.name->SetText("food");
        plain.accept();
        QCOMPARE(plain.result(), int(QDialog::Accepted));

        TNameDialog envelopes(Taken(std::make_unique<TEnvelopeStringList>()));
        envelopes.name->SetText("food");
        envelopes.accept();
        QCOMPARE(envelopes.result(), int(QDialog::Rejected));
        QCOMPARE(ui.beeps, 2);
        QCOMPARE(ui.messages.size(), size_t(2));
    }

    void idControlsShowAndReturnIds() {
        TSimpleIdObjectList list(Accounts);
        TIdComboBox combo(nullptr, "account", "&Account:", list, 0);
        combo.SetId(0);
        QCOMPARE(combo.currentText(), QString("Checking"));
        combo.SetId(3);
        QCOMPARE(combo.GetId(), 3u);
        TIdComboBox withDefault(nullptr, "account", "&Account:", list, 0, 2);
        withDefault.SetId(0);
        QCOMPARE(withDefault.GetId(), 2u);

        TIdListBox box(nullptr, "accounts", "&Accounts:", list, 0);
        box.SetId(2);
        uint32_t id = 0;
        box.GetId(id);
        QCOMPARE(id, 2u);
        box.clearSelection();
        id = 7;
        box.GetId(id);
        QCOMPARE(id, 7u);
        QCOMPARE(box.accessibleName(), QString("Accounts"));
    }

    void completingEditCompletesAndHandsGridKeysOn() {
        TTarnStringList names;
        names.Add("Checking");
        names.Add("Savings");
        TTarnStringListEdit edit(nullptr, "envelope", "&Envelope:", names, 0);
        QTest::keyClicks(&edit, "sav");
        QCOMPARE(edit.text(), QString("Savings"));
        QCOMPARE(edit.cursorPosition(), 3);

        TTarnStringListEdit fallback(nullptr, "envelope", "&Envelope:", names, 2);
        QTest::keyClicks(&fallback, "x");
        QCOMPARE(fallback.GetText(), std::string("Savings"));

        fallback.SetLedgerMode(true);
        QSignalSpy keys(&fallback, &TTarnStringListEdit::gridKey);
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Down})
            QTest::keyClick(&fallback, key);
        QCOMPARE(keys.count(), 4);
        QTest::keyClick(&fallback, Qt::Key_End);
        QCOMPARE(keys.count(), 4);
    }

    void choosersAnswerOnOkAndNothingOnCancel() {
        TSimpleIdObjectList list(Accounts);
        TIdObjectChooser chooser(TChooserFace::Account);
        TGetStringDlg entry("Edit String", "Name:", "Old");
        TModalScript script{[](QDialog& d) { d.done(QDialog::Rejected); },
                            [&](QDialog& d) {
                                chooser.List()->setCurrentRow(2);
                                d.done(QDialog::Accepted);
                            },
                            [&](QDialog& d) {
                                chooser.List()->clearSelection();
                                d.done(QDialog::Accepted);
                            },
                            [](QDialog& d) {
                                Find<QLineEdit>(d, "text")->setText(QString(200, 'x'));
                                d.done(QDialog::Accepted);
                            }};
        QCOMPARE(chooser.Run(list, 0, 2), 0u);
        QCOMPARE(chooser.Run(list, 0, 2), 3u);
        QCOMPARE(chooser.Run(list, 0, 2), 2u);
        QCOMPARE(chooser.windowTitle(), QString("Select Account"));
        QCOMPARE(entry.Run(), std::optional<std::string>(std::string(127, 'x')));
        QCOMPARE(entry.Run(), std::nullopt);  // the unscripted dialog is cancelled
    }

    void fieldsRewriteThemselvesWhenLeft() {
        TScriptedUI ui;
        QWidget form;
        auto* layout = new QVBoxLayout(&form);
        auto* amount = new TEditFloat(&form, "amount", "A&mount:");
        auto* number = new TEditUnsigned(&form, "number", "&Number:", 5, 1, 12);
        for (QWidget* w : std::initializer_list<QWidget*>{amount, number})
            layout->addWidget(w);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const auto typeAndLeave = [](QLineEdit* edit, const char* text) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Tab);
        };
        typeAndLeave(amount, "12.5*2");
        QCOMPARE(amount->text(), QString("25.00"));
        QCOMPARE(amount->GetValue(), 25.0f);
        typeAndLeave(number, "40");
        QCOMPARE(number->text(), QString("12"));
        QCOMPARE(ui.beeps, 1);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
