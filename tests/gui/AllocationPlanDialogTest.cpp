#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "app/NewBudget.h"
#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "core/ObjectStream.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "plan/AllocationPlan.h"
#include "plan/Period.h"
#include "plan/XTemplate.h"
#include "plan/XTemplateManager.h"
#include "plan/qt/PlanDialogsQt.h"
#include "tests/gui/ModalScript.h"
#include "tests/support/ScriptedUI.h"

namespace {

void Press(const QWidget& dialog, const char* button) {
    QTest::keyClick(Find(dialog, button), Qt::Key_Space);
}

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

class AllocationPlanDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterQuilletClasses(); }

    // A new budget: the income wizard, then the plan shown weekly; a weekly amount typed in is
    // kept in the column's monthly period on "Save and Close", and Cancel keeps nothing.
    void weeklyEditIsSavedMonthlyAndCancelDiscards() {
        TScriptedUI ui;
        TQuilletData doc;
        TCurrentDocument current(doc);
        TFixedScreen screen;
        TPlanDialogsQt port(nullptr, screen);
        TPortInstall<TPlanDialogPort> installed(PlanDialogs, port);
        TModalScript script;
        QString weekly, total, header, reopened;
        QStringList footer;
        QSize size;
        script.steps = {[](QDialog& d) {
                            QTest::keyClick(Find(d, "income1"), Qt::Key_A, Qt::ControlModifier);
                            QTest::keyClicks(Find(d, "income1"), "2000");
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
};

QTEST_MAIN(AllocationPlanDialogTest)
#include "AllocationPlanDialogTest.moc"
