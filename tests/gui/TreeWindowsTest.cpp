// The tree windows' wiring: presses, keys and drags reach the selection rules and the document,
// commands reach the nodes and the window port, labels follow the configuration, and a screen
// reader sees every row.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "envelopes/qt/EnvelopeDialogsQt.h"
#include "tests/gui/GuiSupport.h"
#include "tests/support/ScriptedEnvelopeDialogs.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/ScriptedWindows.h"
#include "views/qt/TreeWindows.h"

namespace {

void Mouse(TEnhancedListWindow& window, QEvent::Type type, uint32_t row,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint at = window.RowRect(row).topLeft() + QPoint(3 * window.CellWidth() + 8, 4);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, window.viewport()->mapToGlobal(at), Qt::LeftButton, held,
                      modifiers);
    QApplication::sendEvent(window.viewport(), &event);
}

void Click(TEnhancedListWindow& window, uint32_t row,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Mouse(window, QEvent::MouseButtonPress, row, modifiers);
    Mouse(window, QEvent::MouseButtonRelease, row, modifiers);
}

}  // namespace

class TreeWindowsTest : public QObject {
    Q_OBJECT

    TScriptedUI ui;
    TScriptedEnvelopeDialogs dialogs;
    TRecordingWindows windows;
    TQuilletOptions options;
    std::unique_ptr<TQuilletData> doc;

    TEnvelopeList& Envelopes() { return doc->GetEnvelopes(); }
    TEnvelopeNode* Node(const char* name) { return Envelopes().FindByName(name); }

private slots:
    void init() {
        RegisterQuilletClasses();
        SetCurrentOptions(&options);
        doc = std::make_unique<TQuilletData>();
        TQuilletData::SetCurrent(doc.get());
        TEnvelopeRoot* root = Envelopes().GetEnvelopeRoot();
        for (const char* name : {"Food", "Rent", "Fuel"})
            QVERIFY(root->NewEnvelope(name));
        dialogs.properties.push_back({{"Bills"}});
        QVERIFY(root->NewBundle());
        root->SetExpanded(true);
    }
    void cleanup() {
        TQuilletData::SetCurrent(nullptr);
        doc.reset();
        SetCurrentOptions(nullptr);
    }

    void pressesKeysAndDropsReachTheRulesAndTheDocument() {
        TEnvelopeTreeWindow window(Envelopes());
        window.resize(400, 300);
        window.show();
        TTreeList& list = Envelopes();
        const uint32_t bills = list.IndexOf(Node("Bills"));
        const uint32_t fuel = list.IndexOf(Node("Fuel")), food = list.IndexOf(Node("Food"));

        Click(window, fuel);
        Click(window, food, Qt::ControlModifier);
        QCOMPARE(window.Selection().Count(), size_t(2));
        QVERIFY(window.CommandAction(CmZeroEnvelope)->isEnabled());
        QVERIFY(!window.CommandAction(CmNewBundle)->isEnabled());  // needs exactly one

        // Both dragged onto the bundle arrive there (in what order is the selection's rule).
        Mouse(window, QEvent::MouseButtonPress, fuel);
        Mouse(window, QEvent::MouseMove, bills);
        QCOMPARE(window.DropTarget(), list.GetItem(bills));
        Mouse(window, QEvent::MouseButtonRelease, bills);
        QCOMPARE(Node("Fuel")->GetParent(), Node("Bills"));
        QCOMPARE(Node("Food")->GetParent(), Node("Bills"));
        QVERIFY(!window.DropTarget());

        // The arrow keys step the selection, and the commands follow it.
        window.Selection().Clear();
        QTest::keyClick(&window, Qt::Key_Up);
        QCOMPARE(window.Selection().First(), list.GetItem(1));
        QVERIFY(!window.CommandAction(CmZeroEnvelope)->isEnabled());
        QTest::keyClick(&window, Qt::Key_Down);
        QCOMPARE(window.Selection().First(), list.GetItem(2));

        // Commands reach the nodes and, through them, the window port.
        Click(window, list.IndexOf(Node("Rent")));
        window.CommandAction(CmOpenEnvelopeLedger)->trigger();
        QCOMPARE(windows.envelopeLedgers.size(), size_t(1));
        QCOMPARE(windows.envelopeLedgers[0].first, Node("Rent")->GetId());
        const bool watched = Node("Rent")->IsWatched();
        window.CommandAction(CmToggleWatchdog)->trigger();
        QCOMPARE(Node("Rent")->IsWatched(), !watched);

        // Every command id has one Edit-menu action, and no two share a key.
        QSet<QString> keys;
        for (QAction* action : window.EditMenu()->findChildren<QAction*>()) {
            for (const QKeySequence& key : action->shortcuts()) {
                QVERIFY2(!keys.contains(key.toString()), qPrintable(key.toString()));
                keys.insert(key.toString());
            }
        }
    }

    void labelsFollowTheConfigurationAndScreenReadersSeeEveryRow() {
        TAccountList& accounts = doc->GetAccounts();
        QVERIFY(accounts.GetAccountRoot()->NewAccount("Wallet", "", 3, "Food"));
        accounts.GetRoot()->SetExpanded(true);
        accounts.ChangeBalance(accounts.GetAccountIdByIndex(1), 12345);
        TAccountTreeWindow window(accounts);
        window.resize(400, 300);
        window.show();
        QVERIFY(window.RowText(2).contains("123.45"));
        options.actShowAccountBalances = 0;
        window.OptionsChanged();
        QVERIFY(!window.RowText(2).contains("123.45"));
        QVERIFY(window.RowText(2).contains("Wallet"));

        Click(window, 2);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&window);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::List);
        QCOMPARE(face->childCount(), int(accounts.GetCount()));
        for (int i = 0; i < face->childCount(); ++i)
            QCOMPARE(face->child(i)->text(QAccessible::Name), window.RowText(i + 1));
        QVERIFY(face->child(1)->state().selected);
        QVERIFY(!face->child(0)->state().selected);

        // Double-clicking the account opens its ledger.
        const QPoint at = window.RowRect(2).center();
        QTest::mouseDClick(window.viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!windows.accountLedgers.empty());
    }

    void propertyDialogHandsTheBufferBackOnlyOnOkAndKeepsARefusedName() {
        TEnvelopeDialogsQt port(nullptr);
        TEnvelopeBuffer buffer;
        buffer.name = "Food";
        buffer.threshold = 5;
        QStringList asked;
        buffer.checkName = [&asked](const std::string& name) {
            asked << QString::fromStdString(name);
            return name != "Taken";
        };
        const auto ok = [](QDialog& d) {
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        };
        bool refusedStaysOpen = false;
        TModalScript script{[&](QDialog& d) {
                                Find<QLineEdit>(d, "name")->setText("Taken");
                                ok(d);
                                refusedStaysOpen = d.isVisible();
                                Find<QLineEdit>(d, "name")->setText("Groceries");
                                Find<QLineEdit>(d, "threshold")->setText("10*2.5");
                                ok(d);
                            },
                            [](QDialog& d) {
                                Find<QLineEdit>(d, "name")->setText("Other");
                                d.reject();
                            }};
        QVERIFY(port.EditEnvelope(buffer));
        QVERIFY(refusedStaysOpen);
        QCOMPARE(asked, QStringList({"Taken", "Groceries"}));
        QCOMPARE(buffer.name, std::string("Groceries"));
        QCOMPARE(buffer.threshold, 25.0f);
        QVERIFY(!port.EditEnvelope(buffer));
        QCOMPARE(buffer.name, std::string("Groceries"));
    }
};

QTEST_MAIN(TreeWindowsTest)
#include "TreeWindowsTest.moc"
