// The store's headers come first: a member of it is called "slots", which the toolkit's
// headers define as a word of their own.
#include "tests/support/LedgerBudget.h"
#include "tests/support/ScriptedUI.h"
#include "views/qt/Ledger.h"
#include "views/qt/XView.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "app/qt/MainWindow.h"
#include "app/qt/WindowRegistry.h"

// Keys, mouse and screen readers on a real budget's ledgers; today is 15 May 2024. A bare
// checking account ledger carries typing, the editors and the cursor; the views the window port
// opens are tested for what a view adds to its ledger.
class LedgerTest : public QObject {
    Q_OBJECT

    TScriptedUI ui;
    TDate today{15, 5, 2024};
    std::unique_ptr<TLedgerBudget> budget;
    std::unique_ptr<TXViewList> list;
    std::unique_ptr<TLedger> ledger;
    QMdiArea* area = nullptr;
    std::unique_ptr<TWindowRegistry> registry;

    int64_t Balance() { return budget->doc->GetAccounts().GetBalance(budget->checking).Cents(); }
    int64_t EnvBalance(uint32_t e) { return budget->doc->GetEnvelopes().GetBalance(e).Cents(); }
    QLineEdit* Editor() { return qobject_cast<QLineEdit*>(ledger->Editor()); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(ledger.get(), key, modifiers);
    }
    void Resize(int width) {
        ledger->resize(width, 400);
        QTRY_COMPARE(ledger->viewport()->width() + ledger->verticalScrollBar()->width(), width);
        QCOMPARE(ledger->Grid().Width(), ledger->viewport()->width());
    }
    // Types into the grid: the first character opens the cell's editor, the rest go to it.
    void Type(const QString& text) { QTest::keyClicks(ledger.get(), text); }

    // The bare ledger over Checking's rows, shown and focused, its rows loaded at the end.
    void ShowLedger() {
        list = budget->AccountRows();
        ledger = std::make_unique<TLedger>(nullptr, *list, true);
        for (auto [id, chars] : TLedgerBudget::AccountColumns)
            ledger->AddColumn(id, chars);
        ledger->SetStripe(TLedger::TransactionStripe());
        ledger->resize(700, 400);
        ledger->show();
        ledger->activateWindow();
        ledger->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(ledger.get()));
        ledger->LoadAtEnd(false);
    }
    // A client area with the window port over it, for the views.
    void ShowArea() {
        area = new QMdiArea;
        area->resize(1000, 700);
        area->show();
        area->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(area));
        registry = std::make_unique<TWindowRegistry>(*area);
        Windows.Set(registry.get());
    }
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
    }
    void cleanup() {
        Windows.Set(nullptr);
        delete area;  // the views give their rows back while the budget is still there
        area = nullptr;
        registry.reset();
        ledger.reset();
        list.reset();
        budget.reset();
        TDate::SetTodayForTesting(nullptr);
        ui.answers.clear();
        ui.messages.clear();
    }

    void typingIntoABlankRowPostsAPayment() {
        ShowLedger();
        QCOMPARE(ledger->Grid().CurrentModelRow(), 1u);  // no records: the first blank row
        Type("101");
        Key(Qt::Key_Tab);
        Type("5/3");
        Key(Qt::Key_Tab);
        Type("Grocer");
        Key(Qt::Key_Tab);
        Type("re");  // completes to "Rent"
        QCOMPARE(Editor()->text(), QString("Rent"));
        Key(Qt::Key_Tab);
        Key(Qt::Key_Tab);
        Type("12.50");
        Key(Qt::Key_Return);
        QVERIFY(!ledger->IsEditing());
        const TXRecord& r = list->GetRow(1)->Record();
        QCOMPARE(r.GetCode(), std::string("101"));
        QCOMPARE(r.date, TDate(3, 5, 2024).Key());
        QCOMPARE(r.GetPayableTo(), std::string("Grocer"));
        QCOMPARE(Balance(), -1250);
        QCOMPARE(EnvBalance(budget->rent), -1250);
        Key(Qt::Key_Return);  // from the last column to the next row
        QCOMPARE(ledger->Grid().CurrentModelRow(), 2u);
        QCOMPARE(ledger->Grid().CursorColumn(), 1u);

        // Escape discards a plain edit but keeps what the completing editor shows.
        ledger->Grid().MoveTo(1, 3);
        ledger->BeginEdit(EditWithValue);
        QCOMPARE(Editor()->text(), QString("Grocer"));
        Type("ies");
        Key(Qt::Key_Escape);
        QVERIFY(!ledger->IsEditing());
        QCOMPARE(r.GetPayableTo(), std::string("Grocer"));
        Key(Qt::Key_Right);
        Type("fo");
        Key(Qt::Key_Escape);
        QCOMPARE(EnvBalance(budget->food), -1250);
        QCOMPARE(EnvBalance(budget->rent), 0);

        // Ctrl+Delete deletes the row's transaction; plain Delete does nothing.
        Key(Qt::Key_Delete);
        QCOMPARE(Balance(), -1250);
        Key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Balance(), 0);
        QCOMPARE(list->GetUsedCount(), 0u);
    }

    void mouseAndWheelMoveTheCursor() {
        ShowLedger();
        QSignalSpy menu(ledger.get(), &TLedger::ContextMenuRequested);
        const QRect cell = ledger->CellRect(5, 3);
        QTest::mouseClick(ledger->viewport(), Qt::RightButton, {}, cell.center());
        QCOMPARE(ledger->Grid().CursorRow(), 5u);
        QCOMPARE(ledger->GetCurrentColumn(), uint32_t(XColPayableTo));
        QCOMPARE(menu.count(), 1);

        const uint32_t top = ledger->Grid().TopRow();
        const QPoint at = cell.center();
        QWheelEvent down(at, ledger->viewport()->mapToGlobal(at), {}, {0, -240}, Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ledger->viewport(), &down);
        QCOMPARE(ledger->Grid().TopRow(), top + 2);
        QWheelEvent page(at, ledger->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                         Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ledger->viewport(), &page);
        QCOMPARE(ledger->Grid().TopRow(), top + 2 + ledger->Grid().VisibleRows());
    }

    void theFontFollowsTheWidthUpToTheSystemFont() {
        ShowLedger();
        const int system = QFontInfo(QApplication::font()).pixelSize();
        Resize(250);
        const int narrow = ledger->GridFont().pixelSize();
        QVERIFY(narrow < system);
        Resize(400);
        QVERIFY(ledger->GridFont().pixelSize() > narrow);
        Resize(4000);
        QCOMPARE(ledger->GridFont().pixelSize(), system);
    }

    void screenReadersReadTheCells() {
        ShowLedger();
        Type("Bakery");
        ledger->CloseEditor();
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ledger.get());
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->role(), QAccessible::Table);
        QAccessibleTableInterface* t = table->tableInterface();
        QCOMPARE(t->columnCount(), 7);
        QCOMPARE(t->rowCount(), static_cast<int>(ledger->Grid().VisibleRows()));
        QCOMPARE(t->columnDescription(2), QString("Payable To"));
        QCOMPARE(t->cellAt(0, 0)->text(QAccessible::Name), QString("Bakery"));
        QAccessibleInterface* focus = table->focusChild();
        QVERIFY(focus);
        QCOMPARE(focus->tableCellInterface()->rowIndex(), 0);
        QCOMPARE(focus->tableCellInterface()->columnIndex(), 0);
        QCOMPARE(table->child(t->columnCount())->text(QAccessible::Name), QString());
    }

    // A payment typed in shows in the view's total; Escape in an editor closes only the editor;
    // Ctrl+Delete asks before the transaction goes.
    void viewShowsTheTotalAndAsksBeforeDeleting() {
        ShowArea();
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

    void viewReconcileTogglesTheClearedMark() {
        ShowArea();
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

    void viewClosingQuestionAnsweredNoKeepsTheView() {
        ShowArea();
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
        QVERIFY(registry->Find(TXViewKind::Envelope, food));
        ui.answers = {TMsgResult::Yes};
        QTest::keyClick(&envelope->Ledger(), Qt::Key_Escape);
        QTRY_VERIFY(!registry->Find(TXViewKind::Envelope, food));
    }
};

QTEST_MAIN(LedgerTest)
#include "LedgerTest.moc"
