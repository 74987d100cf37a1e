// The store's headers come first: a member of it is called "slots", which the toolkit's
// headers define as a word of their own.
#include "tests/support/LedgerBudget.h"
#include "tests/support/ScriptedUI.h"
#include "views/qt/Ledger.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

// A checking account ledger over a real store, driven by keys as a user types.
class LedgerTest : public QObject {
    Q_OBJECT

    TScriptedUI ui;
    TDate today{15, 5, 2024};
    std::unique_ptr<TLedgerBudget> budget;
    std::unique_ptr<TXViewList> list;
    std::unique_ptr<TLedger> ledger;

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

private slots:
    void init() {
        TDate::SetTodayForTesting(&today);
        budget = std::make_unique<TLedgerBudget>();
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
    void cleanup() {
        ledger.reset();
        list.reset();
        budget.reset();
        TDate::SetTodayForTesting(nullptr);
    }

    void typingIntoABlankRowPostsAPayment() {
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
};

QTEST_MAIN(LedgerTest)
#include "LedgerTest.moc"
