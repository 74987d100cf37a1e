#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "accounts/Account.h"
#include "accounts/AccountList.h"
#include "accounts/qt/AccountWizardDialog.h"
#include "app/NewBudget.h"
#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "app/qt/AboutDialog.h"
#include "app/qt/SplashWindow.h"
#include "controls/qt/Choosers.h"
#include "core/ObjectStream.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "plan/qt/PlanDialogsQt.h"
#include "tests/gui/ModalScript.h"
#include "tests/support/ScriptedUI.h"

namespace {

void Type(const QWidget& dialog, const char* field, const QString& text) {
    auto* edit = Find(dialog, field);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void Press(const QWidget& dialog, const char* button) {
    QTest::keyClick(Find(dialog, button), Qt::Key_Space);
}

}  // namespace

class NewBudgetDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterQuilletClasses(); }

    void wizardAddsAccountsUntilFinish() {
        TScriptedUI ui;
        TQuilletData doc;
        TCurrentDocument current(doc);
        TAccountWizardDialog dialog;
        AccountWizardDialog.Set(&dialog);
        TModalScript script;
        bool resetWithFocus = false;
        script.steps = {
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
                                 QApplication::focusWidget() == Find(d, "accountName");
                Type(d, "accountName", "Checking");
                Press(d, "finish");  // refused: the name was used in this run
            },
            [](QDialog& d) {
                Type(d, "accountName", "Savings");
                Type(d, "closingBalance", "-250");
                QTest::keyClicks(Find(d, "accountType"), "Sav");
                Press(d, "finish");
            },
        };
        QVERIFY(TAccountWizard(doc).Run());
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

    void wizardCancelDiscardsThePage() {
        TScriptedUI ui;
        TQuilletData doc;
        TCurrentDocument current(doc);
        TAccountWizardDialog dialog;
        AccountWizardDialog.Set(&dialog);
        TModalScript script;
        script.steps = {[](QDialog& d) {
            Type(d, "accountName", "Checking");
            Press(d, "cancel");
        }};
        QVERIFY(!TAccountWizard(doc).Run());
        AccountWizardDialog.Set(nullptr);
        QCOMPARE(doc.GetAccounts().FindId("Checking"), uint32_t(0));
    }

    void planDialogsHandTheirBufferBackOnlyOnOk() {
        TFixedScreen screen;
        TPlanDialogsQt port(nullptr, screen);
        TModalScript script;
        const auto typeIncomes = [](QDialog& d) {
            Type(d, "income1", "3,000");
            Type(d, "income2", "500*2");
        };
        script.steps = {[&](QDialog& d) {
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
             std::initializer_list<QDialog*>{&wizard, &income, &entry, &chooser, &about}) {
            QVERIFY(!dialog->accessibleName().isEmpty());
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(dialog)) continue;
                QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                    qPrintable(w->objectName()));
            }
        }
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
