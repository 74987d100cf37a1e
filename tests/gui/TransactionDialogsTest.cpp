#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "controls/qt/IdControls.h"
#include "core/IdObjectList.h"
#include "transactions/qt/TransactionDialogsQt.h"

namespace {

const char* const Accounts[] = {"Checking", "Savings", "Cash", nullptr};

// Acts on the next modal dialog and presses one of its buttons.
void WhenDialogOpens(const std::function<void(QDialog&)>& act, const char* button) {
    QTimer::singleShot(0, [act, button] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        act(*dialog);
        dialog->findChild<QPushButton*>(button)->click();
        // A refused OK leaves the dialog open; the test's next step ends it.
        if (dialog->isVisible()) dialog->reject();
    });
}

template <class W = QWidget>
W* Find(const QDialog& dialog, const char* name) {
    return dialog.findChild<W*>(name);
}

void Type(QDialog& d, const char* name, const QString& text) {
    Find<QLineEdit>(d, name)->setText(text);
}

}  // namespace

class TransactionDialogsTest : public QObject {
    Q_OBJECT

private slots:
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
        WhenDialogOpens(edit, "cancel");
        QVERIFY(!port.AccountTransfer(buffer));
        QCOMPARE(buffer.amount, 50.0);
        QCOMPARE(buffer.to.account, 2u);

        WhenDialogOpens([](QDialog& d) { Find<TIdComboBox>(d, "toAccount")->SetId(1); }, "ok");
        QVERIFY(!port.AccountTransfer(buffer));  // refused, so it stayed open and was cancelled
        QCOMPARE(checks, 1);

        WhenDialogOpens(edit, "ok");
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

        WhenDialogOpens(
            [](QDialog& d) {
                QCOMPARE(Find<QGroupBox>(d, "nodeGroup")->title(), QString(" &Account "));
                QCOMPARE(Find<QRadioButton>(d, "transfer")->text(), QString("Envelope Transfer"));
                // Fields follow their radios.
                QVERIFY(!Find(d, "fromDate")->isEnabled());
                QVERIFY(Find(d, "memoText")->isEnabled());
                QVERIFY(!Find(d, "nodeId")->isEnabled());
                Find<QRadioButton>(d, "dateRange")->setChecked(true);
                QVERIFY(Find(d, "fromDate")->isEnabled());
                Type(d, "toDate", "5/20/24");
                Find<QRadioButton>(d, "node")->setChecked(true);
                Find<TIdComboBox>(d, "nodeId")->SetId(3);
                Find<QRadioButton>(d, "reconcileView")->setChecked(true);
                Find<QCheckBox>(d, "memoExact")->setChecked(true);
            },
            "ok");
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
        WhenDialogOpens(
            [](QDialog& d) {
                QCOMPARE(Find<QRadioButton>(d, "node")->text(), QString("Envelope:"));
                QVERIFY(!Find<QGroupBox>(d, "viewGroup")->isVisibleTo(&d));
                QVERIFY(!Find(d, "reconcileView")->isEnabled());
                Find<QRadioButton>(d, "memoAny")->setChecked(true);
                Find<QRadioButton>(d, "cleared")->setChecked(true);
                Find<QPushButton>(d, "reset")->click();
            },
            "ok");
        QVERIFY(port.EditFilter(buffer));
        QVERIFY(buffer.criteria == opened);
    }

    // Automation and screen readers reach every control a user can reach.
    void everyControlIsNamed() {
        TActXferDialog transfer({});
        TFilterDialog filter({});
        TEditMemoDialog memo({});
        for (QDialog* dialog : std::initializer_list<QDialog*>{&transfer, &filter, &memo}) {
            QVERIFY(!dialog->accessibleName().isEmpty());
            for (QWidget* w : dialog->findChildren<QWidget*>()) {
                if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(dialog)) continue;
                QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                    qPrintable(w->objectName()));
            }
        }
    }
};

QTEST_MAIN(TransactionDialogsTest)
#include "TransactionDialogsTest.moc"
