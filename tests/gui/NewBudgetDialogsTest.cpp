#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QtTest>

#include "accounts/Account.h"
#include "accounts/AccountList.h"
#include "accounts/qt/AccountWizardDialog.h"
#include "app/NewBudget.h"
#include "app/Registration.h"
#include "app/qt/AboutDialog.h"
#include "app/qt/SplashWindow.h"
#include "controls/qt/Choosers.h"
#include "core/QuilletData.h"
#include "core/ScreenPort.h"
#include "envelopes/EnvelopeList.h"
#include "plan/AllocationPlan.h"
#include "plan/Period.h"
#include "plan/XTemplate.h"
#include "plan/XTemplateManager.h"
#include "plan/qt/PlanDialogsQt.h"
#include "tests/gui/GuiSupport.h"
#include "tests/support/ScriptedUI.h"

namespace {

// The grid cell of the first plan column in the named envelope's row.
QModelIndex FirstColumnCell(const QTableView& grid, const QString& envelope) {
    const QAbstractItemModel* model = grid.model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == envelope) return model->index(row, 2);
    return {};
}

// Types text into a cell as a user would: the first key opens the editor, Enter commits it.
void TypeIntoCell(QTableView& grid, const QModelIndex& cell, const QString& text) {
    grid.setFocus();
    grid.setCurrentIndex(cell);
    QTest::keyClicks(&grid, text.left(1));
    auto* editor = grid.findChild<QLineEdit*>("cellEditor");
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the commit is queued behind the key
}

}  // namespace

class NewBudgetDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterQuilletClasses(); }

    // Cancel drops the page being filled in; each "Add Account" adds one and starts afresh.
    void wizardAddsAccountsUntilFinishOrCancel() {
        TScriptedUI ui;
        TQuilletData doc;
        TCurrentDocument current(doc);
        TAccountWizardDialog dialog;
        AccountWizardDialog.Set(&dialog);
        bool resetWithFocus = false;
        TModalScript script{
            [](QDialog& d) {
                Type(d, "accountName", "Checking");
                Type(d, "closingBalance", "1,000+234.56");
                Type(d, "closingDate", "1/31/10");
                Find(d, "closingDate")->setFocus();  // where the user's focus is left
                QTest::keyClick(Find(d, "closingDate"), Qt::Key_Return);  // the default button
            },
            [&](QDialog& d) {
                resetWithFocus = Find<QLineEdit>(d, "accountName")->text().isEmpty() &&
                                 Find<QLineEdit>(d, "closingBalance")->text() == "0.00" &&
                                 Find<QComboBox>(d, "accountType")->currentText() == "Checking" &&
                                 // the dialog may be activated after its page is reset
                                 QTest::qWaitFor([&d] {
                                     return QApplication::focusWidget() == Find(d, "accountName");
                                 });
                Type(d, "accountName", "Checking");
                Press(d, "finish");  // refused: the name was used in this run
            },
            [](QDialog& d) {
                Type(d, "accountName", "Savings");
                Type(d, "closingBalance", "-250");
                QTest::keyClicks(Find(d, "accountType"), "Sav");
                Press(d, "finish");
            },
            [](QDialog& d) {
                Type(d, "accountName", "Cash");
                Press(d, "cancel");
            },
        };
        QVERIFY(TAccountWizard(doc).Run());
        QVERIFY(!TAccountWizard(doc).Run());
        QCOMPARE(doc.GetAccounts().FindId("Cash"), uint32_t(0));
        AccountWizardDialog.Set(nullptr);
        QVERIFY(resetWithFocus);
        QCOMPARE(script.unscripted, 0);
        QCOMPARE(ui.messages.size(), size_t(1));
        QCOMPARE(ui.messages[0].caption, std::string("Error"));

        TAccountList& accounts = doc.GetAccounts();
        QCOMPARE(accounts.GetBalance(accounts.FindId("Checking")).Cents(), 123456);
        QCOMPARE(accounts.GetBalance(accounts.FindId("Savings")).Cents(), -25000);
        QCOMPARE(accounts.GetAccount(accounts.FindId("Savings"))->GetData().kind,
                 uint32_t(TAccountTypeList::Savings));
        TEnvelopeList& envelopes = doc.GetEnvelopes();
        QCOMPARE(envelopes.GetBalance(envelopes.FindId("Unallocated")).Cents(), 98456);
        QCOMPARE(accounts.GetTotal(), envelopes.GetTotal());
    }

    // A new budget: the income wizard, then the plan shown weekly; a weekly amount typed in is
    // kept in the column's monthly period on "Save and Close", and Cancel keeps nothing.
    void weeklyEditIsSavedMonthlyAndCancelDiscards() {
        TScriptedUI ui;
        TQuilletData doc;
        TCurrentDocument current(doc);
        TFixedScreen screen;
        TPlanDialogsQt port(nullptr, screen);
        TPortInstall<TPlanDialogPort> installed(PlanDialogs, port);
        QString weekly, total, header, reopened;
        QStringList footer;
        QSize size;
        TModalScript script{[](QDialog& d) {
                                Type(d, "income1", "2000");
                                Press(d, "ok");
                            },
                            [&](QDialog& d) {
                                size = d.size();
                                auto* grid = Find<QTableView>(d, "planGrid");
                                header = grid->model()->headerData(2, Qt::Horizontal).toString();
                                QTest::keyClick(Find(d, "viewPeriod"), Qt::Key_Home);  // "Weekly"
                                const QModelIndex debts = FirstColumnCell(*grid, "Debts");
                                weekly = debts.data().toString();  // 5% of 2,000.00 a month
                                const QAbstractItemModel* totals =
                                    Find<QTableView>(d, "planFooter")->model();
                                footer << totals->index(0, 0).data().toString()
                                       << totals->index(0, 1).data().toString();
                                TypeIntoCell(*grid, debts, "25.00");
                                total = debts.siblingAtColumn(1).data().toString();
                                footer << totals->index(0, 1).data().toString();
                                Press(d, "saveAndClose");
                            },
                            [&](QDialog& d) {
                                auto* grid = Find<QTableView>(d, "planGrid");
                                const QModelIndex debts = FirstColumnCell(*grid, "Debts");
                                reopened = debts.data().toString();
                                TypeIntoCell(*grid, debts, "90");
                                Press(d, "cancel");
                            }};
        QVERIFY(doc.GetPlan().SetUpNewPlan(""));
        QCOMPARE(size, QSize(1152, 648));  // 0.6 of the screen
        QCOMPARE(header, QString("First"));
        QCOMPARE(weekly, QString("23.08"));
        QCOMPARE(total, QString("25.00"));
        // The footer's grand total follows the typed cell: 2,000.00 a month, then 2,008.33.
        QCOMPARE(footer[0], QString("Total"));
        QVERIFY(footer[1].startsWith("46") && footer[2].startsWith("46") && footer[1] != footer[2]);

        const uint32_t envelope = doc.GetEnvelopes().FindId("Debts");
        TXTemplate* first = doc.GetTemplates().GetTemplate(1);
        QCOMPARE(first->GetName(), std::string("First"));
        QCOMPARE(first->GetEnvelopeAmount(envelope, Period::Monthly).Cents(), 10833);

        QVERIFY(!doc.GetPlan().Run());
        QCOMPARE(reopened, QString("25.00"));  // the plan stays weekly
        QCOMPARE(first->GetEnvelopeAmount(envelope, Period::Monthly).Cents(), 10833);
        QCOMPARE(script.unscripted, 0);
    }

    void planDialogsHandTheirBufferBackOnlyOnOk() {
        TFixedScreen screen;
        TPlanDialogsQt port(nullptr, screen);
        const auto typeIncomes = [](QDialog& d) {
            Type(d, "income1", "3,000");
            Type(d, "income2", "500*2");
        };
        TModalScript script{[&](QDialog& d) {
                                typeIncomes(d);
                                Press(d, "cancel");
                            },
                            [&](QDialog& d) {
                                typeIncomes(d);
                                QTest::keyClick(Find(d, "income2"), Qt::Key_Return);
                            },
                            [](QDialog& d) {
                                Type(d, "text", "Wages");
                                Press(d, "ok");
                            },
                            [](QDialog& d) {
                                QTest::keyClick(Find(d, "list"), Qt::Key_Down);
                                Press(d, "ok");
                            }};
        TMonthlyIncomeBuffer income;
        income.incomes[3] = 50;
        QVERIFY(!port.EnterMonthlyIncome(income));
        QCOMPARE(income.incomes[0], 0.0f);
        QVERIFY(port.EnterMonthlyIncome(income));
        QCOMPARE(income.incomes[0], 3000.0f);
        QCOMPARE(income.incomes[1], 1000.0f);
        QCOMPARE(income.incomes[3], 50.0f);

        TStringEntryBuffer entry{"New Template", "Template Name:", "New Template"};
        QVERIFY(port.GetString(entry));
        QCOMPARE(entry.text, std::string("Wages"));
        TChooseTemplateBuffer choice{"", {"First", "Second"}, -1};
        QVERIFY(port.ChooseTemplate(choice));
        QCOMPARE(choice.selected, 1);
        QCOMPARE(script.unscripted, 0);
    }

    // Every control can be reached by automation and read by a screen reader, and the wizard's
    // tab order follows its form.
    void controlsAreNamedAndInFormOrder() {
        TAccountWizardDialog wizard;
        TMonthlyIncomeDialog income({});
        TGetStringDlg entry("Edit String", "Name:", "");
        TIdObjectChooser chooser(TChooserFace::Template);
        TAboutDialog about;
        for (QDialog* dialog :
             std::initializer_list<QDialog*>{&wizard, &income, &entry, &chooser, &about})
            QCOMPARE(UnnamedControl(*dialog), QString());
        QStringList order;
        for (QWidget* w = Find(wizard, "accountName"); order.size() < 8; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
        QCOMPARE(order, QStringList({"accountName", "description", "closingBalance", "closingDate",
                                     "accountType", "addAccount", "finish", "cancel"}));
        QVERIFY(Find<QPushButton>(wizard, "addAccount")->isDefault());
    }

    void splashIsCentredInItsProportionsAndClosesItself() {
        QPointer<TSplashWindow> splash = ShowSplash();
        const QRect desk = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(splash->width(), desk.width() / 4);
        QCOMPARE(splash->height(), splash->width() * 153 / 180);
        QVERIFY((splash->geometry().center() - desk.center()).manhattanLength() <= 2);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 10000);
    }
};

QTEST_MAIN(NewBudgetDialogsTest)
#include "NewBudgetDialogsTest.moc"
