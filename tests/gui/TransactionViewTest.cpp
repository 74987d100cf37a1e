#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>
#include <memory>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/qt/MainWindow.h"
#include "app/qt/WindowRegistry.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/support/ScriptedUI.h"
#include "transactions/XItem.h"
#include "views/XViewList.h"
#include "views/qt/Ledger.h"
#include "views/qt/XView.h"

// Keys typed into real views over a real budget: Checking (default envelope Food) and the
// envelopes Food, Rent and Spare; today is 15 May 2024.
class TransactionViewTest : public QObject {
    Q_OBJECT

private:
    TScriptedUI ui;
    const TDate today{15, 5, 2024};
    std::unique_ptr<TQuilletData> doc;
    QMdiArea* area = nullptr;
    std::unique_ptr<TWindowRegistry> registry;
    uint32_t checking = 0, food = 0, rent = 0, spare = 0;

    int64_t Balance() { return doc->GetAccounts().GetBalance(checking).Cents(); }
    int64_t EnvBalance(uint32_t id) { return doc->GetEnvelopes().GetBalance(id).Cents(); }

    TXView* Open(TXViewKind kind, uint32_t id, TLedgerMode mode = TLedgerMode::Normal) {
        TXView* view = registry->Open(kind, id, mode);
        if (view) view->Ledger().setFocus();
        return view;
    }
    static void Type(TXView* view, const QString& text, Qt::Key then = Qt::Key_Tab) {
        QTest::keyClicks(&view->Ledger(), text);
        QTest::keyClick(&view->Ledger(), then);
    }
    static TXItem* Row(TXView* view, uint32_t row) { return view->List().GetRow(row); }

private slots:
    void init() {
        TDate::SetTodayForTesting(&today);
        doc = std::make_unique<TQuilletData>();
        TQuilletData::SetCurrent(doc.get());
        for (const char* name : {"Food", "Rent", "Spare"})
            QVERIFY(doc->GetEnvelopes().GetEnvelopeRoot()->NewEnvelope(name));
        QVERIFY(doc->GetAccounts().GetAccountRoot()->NewAccount("Checking", "", 1, "Food"));
        checking = doc->GetAccounts().FindId("Checking");
        food = doc->GetEnvelopes().FindId("Food");
        rent = doc->GetEnvelopes().FindId("Rent");
        spare = doc->GetEnvelopes().FindId("Spare");
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
        TQuilletData::SetCurrent(nullptr);
        doc.reset();
        TDate::SetTodayForTesting(nullptr);
        ui.answers.clear();
        ui.messages.clear();
    }

    void typingAPaymentPostsIt() {
        TXView* view = Open(TXViewKind::Account, checking);
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QString("Account: Checking"));
        QCOMPARE(view->List().GetUsedCount(), 0u);
        QTest::keyClick(&view->Ledger(), Qt::Key_Tab);  // from "#/Type" to the date
        Type(view, "5/3");
        Type(view, "Grocer");
        Type(view, "Re");                               // completes to Rent
        QTest::keyClick(&view->Ledger(), Qt::Key_Tab);  // over the cleared mark
        Type(view, "12.50", Qt::Key_Return);
        QCOMPARE(Balance(), -1250);
        QCOMPARE(EnvBalance(rent), -1250);
        QCOMPARE(EnvBalance(food), 0);
        const TXRecord& typed = Row(view, 1)->Record();
        QCOMPARE(TDate(typed.date), TDate(3, 5, 2024));
        QCOMPARE(QString::fromStdString(typed.GetPayableTo()), QString("Grocer"));
        QCOMPARE(view->TotalText().text, std::string(" (12.50)"));
        QVERIFY(view->TotalText().negative);

        // A screen reader reads the typed row's cells.
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&view->Ledger());
        QVERIFY(table && table->tableInterface());
        QAccessibleInterface* payee = table->tableInterface()->cellAt(0, 2);
        QVERIFY(payee);
        QCOMPARE(payee->text(QAccessible::Name), QString("Grocer"));

        // Escape drops what the plain editor holds, but the envelope editor stores it.
        QTest::keyClick(&view->Ledger(), Qt::Key_Home);
        QTest::keyClick(&view->Ledger(), Qt::Key_Right);
        QTest::keyClick(&view->Ledger(), Qt::Key_Right);
        QTest::keyClicks(&view->Ledger(), "Bak");
        QTest::keyClick(&view->Ledger(), Qt::Key_Shift);  // ignored by the editor, and no more
        Type(view, "ery", Qt::Key_Escape);
        QCOMPARE(QString::fromStdString(Row(view, 1)->Record().GetPayableTo()), QString("Grocer"));
        QTest::keyClick(&view->Ledger(), Qt::Key_Right);
        Type(view, "Sp", Qt::Key_Escape);
        QCOMPARE(Row(view, 1)->Record().envelope, spare);
        QCOMPARE(EnvBalance(spare), -1250);
        QVERIFY(registry->Find(TXViewKind::Account, checking));  // Escape closed editors only
    }

    void deletingAsksFirst() {
        TXView* view = Open(TXViewKind::Account, checking);
        Type(view, "", Qt::Key_End);
        Type(view, "20", Qt::Key_Return);  // a deposit; the cursor goes to the next row
        QTest::keyClick(&view->Ledger(), Qt::Key_Up);
        QCOMPARE(Balance(), 2000);
        ui.answers = {TMsgResult::No};
        QTest::keyClick(&view->Ledger(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(ui.messages.size(), size_t(1));
        QCOMPARE(Balance(), 2000);
        ui.answers = {TMsgResult::Yes};
        QTest::keyClick(&view->Ledger(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Balance(), 0);
        QCOMPARE(view->List().GetUsedCount(), 0u);
    }

    void reconcileTogglesTheClearedMark() {
        TXView* view = Open(TXViewKind::Account, checking);
        Type(view, "", Qt::Key_End);
        Type(view, "30", Qt::Key_Return);
        TXView* same = Open(TXViewKind::Account, checking, TLedgerMode::Reconcile);
        QCOMPARE(same, view);  // brought forward, now in its reconcile layout
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(view->TotalLabel(), QString("Balance of Cleared Items: "));
        QCOMPARE(view->Ledger().GetCurrentColumn(), uint32_t(XColAccountCleared));
        QVERIFY(view->Action(TXViewCommand::ViewAllUnreconciled)->isChecked());
        QTest::keyClick(&view->Ledger(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(doc->GetAccounts().GetRecBalance(checking).Cents(), int64_t(3000));
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
        TXView* envelope = Open(TXViewKind::Envelope, food);
        QVERIFY(Open(TXViewKind::Account, checking));
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
