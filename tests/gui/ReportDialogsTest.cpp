#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "core/ScreenPort.h"
#include "core/SettingsList.h"
#include "core/Text.h"
#include "envelopes/EnvelopeList.h"
#include "reports/EnvelopeLedgerReport.h"
#include "reports/qt/FormPreviewDialog.h"
#include "reports/qt/ReportDialogs.h"
#include "tests/support/ScriptedUI.h"

namespace {

QByteArray RunCli(const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(QUILLET_CLI_PATH), args);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        return "failed: " + cli.readAllStandardError();
    return cli.readAllStandardOutput();
}

template <class W>
W* Find(const QWidget& parent, const char* name) {
    return parent.findChild<W*>(name);
}

QString SelectedName(const TReportDialog& dialog) {
    const auto* list = Find<QListWidget>(dialog, "reportNodes");
    return list->currentItem()->text().trimmed();
}

}  // namespace

class ReportDialogsTest : public QObject {
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
    void exportMatchesConsoleReport() {
        TScriptedUI ui;
        TCurrentDocument current(*doc);
        const QStringList range = {"--from", "1/1/2000", "--to", "12/31/2099"};
        struct TRow {
            TReportKind kind;
            const char* cli;
            std::function<QStringList(TReportDialog&)> choose;
        };
        auto dates = [](TReportDialog& d) {
            Find<QLineEdit>(d, "fromDate")->setText("1/1/2000");
            Find<QLineEdit>(d, "toDate")->setText("12/31/2099");
        };
        const TRow rows[] = {
            {TReportKind::AccountLedger, "account-ledger",
             [&](TReportDialog& d) {
                 dates(d);
                 return QStringList{"--account", SelectedName(d)} + range;
             }},
            {TReportKind::EnvelopeLedger, "envelope-ledger",
             [&](TReportDialog& d) {
                 dates(d);
                 return QStringList{"--envelope", SelectedName(d)} + range;
             }},
            {TReportKind::AccountSummary, "account-summary",
             [](TReportDialog&) { return QStringList(); }},
            {TReportKind::EnvelopeSummary, "envelope-summary",
             [](TReportDialog& d) {
                 Find<QComboBox>(d, "reportSize")->setCurrentIndex(2);
                 return QStringList{"--size", "3"};
             }},
            {TReportKind::EnvelopeActivity, "envelope-activity",
             [&](TReportDialog& d) {
                 dates(d);
                 Find<QCheckBox>(d, "column4")->setChecked(true);
                 Find<QCheckBox>(d, "column9")->setChecked(false);
                 return QStringList{"--columns", "alloc,expense,xin,allin,allout,start"} + range;
             }},
            {TReportKind::AllocationPlan, "allocation-plan",
             [](TReportDialog& d) {
                 Find<QComboBox>(d, "planPeriod")->setCurrentText("Weekly");
                 return QStringList{"--period", "Weekly"};
             }},
        };
        for (const TRow& row : rows) {
            TReportDialog dialog(row.kind, *doc);
            const QStringList args = QStringList{"report", row.cli, budget} + row.choose(dialog);
            const QString path = dir.filePath(QString(row.cli) + ".tab");
            QVERIFY(dialog.ExportTo(path));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray exported = file.readAll();
            QVERIFY2(exported.size() > 20, row.cli);
            QCOMPARE(exported, RunCli(args));
        }
    }

    // The stored options open the dialogs and are written back on closing; the old format's
    // clipboard carries the named block; a preset fills the dates; the preview saves a PDF.
    void optionsClipboardPresetAndPdf() {
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
            Find<QLineEdit>(ledger, "fromDate")->setText("1/1/2000");
            QTest::mouseClick(Find<QPushButton>(ledger, "copy"), Qt::LeftButton);
            const QMimeData* data = QApplication::clipboard()->mimeData();
            QVERIFY(!data->text().startsWith("No.\t"));
            QCOMPARE(data->data(QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
                                    .arg(EnvelopeLedgerClipboardFormat)),
                     QByteArray(10, '\0'));

            auto* presets = Find<QComboBox>(ledger, "dateRange");
            presets->setCurrentText("Last Year");
            emit presets->activated(presets->currentIndex());
            const QString year =
                QString::number((TDate::Today().Year() - 1) % 100).rightJustified(2, '0');
            QCOMPARE(Find<QLineEdit>(ledger, "fromDate")->text(), "01/01/" + year);
            QCOMPARE(Find<QLineEdit>(ledger, "toDate")->text(), "12/31/" + year);

            old->setChecked(false);
            QTest::mouseClick(Find<QPushButton>(ledger, "close"), Qt::LeftButton);
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

        TReportDialog summary(TReportKind::AccountSummary, *doc);
        TFormPreviewDialog preview(nullptr, summary.PreparedReport(), QSize(800, 600));
        const QString pdf = dir.filePath("summary.pdf");
        QCOMPARE(preview.SaveAsPdf(pdf), 0);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        SetReportDialogContext(nullptr, nullptr);
    }
};

QTEST_MAIN(ReportDialogsTest)
#include "ReportDialogsTest.moc"
