// The store's headers come first: a member of it is called "slots", which the toolkit's
// headers define as a word of their own.
#include "tests/support/LedgerBudget.h"
#include "tests/support/ScriptedUI.h"
#include "views/qt/Ledger.h"
#include "views/qt/XView.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "app/qt/MainWindow.h"
#include "app/qt/WindowRegistry.h"

// Keys typed into the views the window port opens over a real budget; today is 15 May 2024.
// The ledger's own keys and editors are the ledger test's: these are what a view adds.
class TransactionViewTest : public QObject {
    Q_OBJECT

private:
    TScriptedUI ui;
    const TDate today{15, 5, 2024};
    std::unique_ptr<TLedgerBudget> budget;
    QMdiArea* area = nullptr;
    std::unique_ptr<TWindowRegistry> registry;

    int64_t Balance() { return budget->doc->GetAccounts().GetBalance(budget->checking).Cents(); }

    TXView* Open(TXViewKind kind, uint32_t id, TLedgerMode mode = TLedgerMode::Normal) {
        TXView* view = registry->Open(kind, id, mode);
        if (view) view->Ledger().setFocus();
        return view;
    }
    static void Type(TXView* view, const QString& text, Qt::Key then = Qt::Key_Tab) {
        QTest::keyClicks(&view->Ledger(), text);
        QTest::keyClick(&view->Ledger(), then);
    }

private slots:
    void init() {
        TDate::SetTodayForTesting(&today);
        budget = std::make_unique<TLedgerBudget>();
        area = new QMdiArea;
        area->resize(1000, 700);
        area->show();
        area->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(area));
        registry = std::make_unique<TWindowRegistry>(*area);
        Windows.Set(registry.get());
    }
    void cleanup() {
        Windows.Set(nullptr);
        delete area;  // the views give their rows back while the budget is still there
        registry.reset();
        budget.reset();
        TDate::SetTodayForTesting(nullptr);
        ui.answers.clear();
        ui.messages.clear();
    }

    // A payment typed in shows in the view's total; Escape in an editor closes only the editor;
    // Ctrl+Delete asks before the transaction goes.
    void typingAPaymentPostsItAndDeletingAsksFirst() {
        TXView* view = Open(TXViewKind::Account, budget->checking);
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QString("Account: Checking"));
        QTest::keyClick(&view->Ledger(), Qt::Key_End);  // the payment column
        QTest::keyClick(&view->Ledger(), Qt::Key_Left);
        Type(view, "12.50", Qt::Key_Return);
        QCOMPARE(Balance(), -1250);
        QCOMPARE(view->TotalText().text, std::string(" (12.50)"));
        QVERIFY(view->TotalText().negative);

        QTest::keyClick(&view->Ledger(), Qt::Key_Up);
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right})  // to the payee
            QTest::keyClick(&view->Ledger(), key);
        QTest::keyClicks(&view->Ledger(), "Bak");
        QTest::keyClick(&view->Ledger(), Qt::Key_Shift);  // ignored by the editor, and no more
        Type(view, "ery", Qt::Key_Escape);
        QVERIFY(registry->Find(TXViewKind::Account, budget->checking));

        ui.answers = {TMsgResult::No};
        QTest::keyClick(&view->Ledger(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(ui.messages.size(), size_t(1));
        QCOMPARE(Balance(), -1250);
        ui.answers = {TMsgResult::Yes};
        QTest::keyClick(&view->Ledger(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Balance(), 0);
        QCOMPARE(view->TotalText().text, std::string(" 0.00"));
    }

    void reconcileTogglesTheClearedMark() {
        TXView* view = Open(TXViewKind::Account, budget->checking);
        Type(view, "", Qt::Key_End);
        Type(view, "30", Qt::Key_Return);
        TXView* same = Open(TXViewKind::Account, budget->checking, TLedgerMode::Reconcile);
        QCOMPARE(same, view);  // brought forward, now in its reconcile layout
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(view->TotalLabel(), QString("Balance of Cleared Items: "));
        QCOMPARE(view->Ledger().GetCurrentColumn(), uint32_t(XColAccountCleared));
        QVERIFY(view->Action(TXViewCommand::ViewAllUnreconciled)->isChecked());
        QTest::keyClick(&view->Ledger(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(budget->doc->GetAccounts().GetRecBalance(budget->checking).Cents(), int64_t(3000));
        QCOMPARE(view->TotalText().text, std::string(" 30.00"));

        // The control bar's transaction commands reach the view; the Edit menu's do not.
        for (int id : ChildCommandIds) {
            bool enabled = false, checked = false;
            QCOMPARE(view->CommandState(id, enabled, checked), id < CmEditCut || id > CmEditDelete);
        }
        QVERIFY(view->RunCommand(CmViewUnreconciled));
        QCOMPARE(view->TotalLabel(), QString("Account Balance: "));
    }

    void closingQuestionAnsweredNoKeepsTheView() {
        const uint32_t food = budget->food;
        TXView* envelope = Open(TXViewKind::Envelope, food);
        QVERIFY(Open(TXViewKind::Account, budget->checking));
        QCOMPARE(Open(TXViewKind::Envelope, food), envelope);
        QCOMPARE(area->activeSubWindow()->widget(), envelope);
        Type(envelope, "", Qt::Key_End);
        QTest::keyClick(&envelope->Ledger(), Qt::Key_Left);  // from the account to the deposit
        Type(envelope, "10", Qt::Key_Return);                // moves nothing: no transfer
        ui.answers = {TMsgResult::No};
        QTest::keyClick(&envelope->Ledger(), Qt::Key_Escape);
        QCOMPARE(ui.messages.back().icon, TMsgIcon::Stop);
        QVERIFY(registry->Find(TXViewKind::Envelope, food));
        ui.answers = {TMsgResult::Yes};
        QTest::keyClick(&envelope->Ledger(), Qt::Key_Escape);
        QTRY_VERIFY(!registry->Find(TXViewKind::Envelope, food));
    }
};

QTEST_MAIN(TransactionViewTest)
#include "TransactionViewTest.moc"
