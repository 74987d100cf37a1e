#include <QApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>
#include <memory>

#include "controls/qt/Choosers.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/StringListControls.h"
#include "controls/qt/UniqueStringEdit.h"
#include "core/IdObjectList.h"
#include "envelopes/EnvelopeList.h"
#include "tests/support/ScriptedUI.h"

namespace {

const char* const Accounts[] = {"Checking", "Savings", "Cash", nullptr};

// Acts on the next modal dialog, then ends it with done.
void WhenDialogOpens(const std::function<void(QDialog&)>& act, int done) {
    QTimer::singleShot(0, [act, done] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        act(*dialog);
        dialog->done(done);
    });
}

// A dialog whose OK asks its name field first, as the property dialogs do.
class TNameDialog : public QDialog {
public:
    explicit TNameDialog(std::unique_ptr<TTarnStringList> taken) {
        auto* layout = new QVBoxLayout(this);
        name = new TUniqueStringEdit(this, "name", "&Name:", 31, std::move(taken));
        layout->addWidget(name);
    }
    void accept() override {
        if (name->CanClose()) QDialog::accept();
    }
    TUniqueStringEdit* name;
};

std::unique_ptr<TTarnStringList> Taken(std::unique_ptr<TTarnStringList> list) {
    list->Add("  Food");
    return list;
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void uniqueEditRefusesEmptyAndTakenNamesAndKeepsTheDialogOpen() {
        TScriptedUI ui;
        TNameDialog plain(Taken(std::make_unique<TTarnStringList>()));
        plain.show();
        QVERIFY(QTest::qWaitForWindowActive(&plain));
        plain.accept();
        QVERIFY(plain.isVisible());
        QVERIFY(plain.name->hasFocus());
        QCOMPARE(ui.beeps, 1);
        QCOMPARE(ui.messages.back().text, std::string("You must provide a label."));
        QCOMPARE(ui.messages.back().caption, std::string("Error"));
        QVERIFY(ui.messages.back().icon == TMsgIcon::Stop);
        // A plain list compares byte for byte: another case (and no blanks) is a new name.
        plain.name->SetText("food");
        plain.accept();
        QCOMPARE(plain.result(), int(QDialog::Accepted));

        TNameDialog envelopes(Taken(std::make_unique<TEnvelopeStringList>()));
        envelopes.name->SetText("food");
        envelopes.accept();
        QCOMPARE(envelopes.result(), int(QDialog::Rejected));
        QCOMPARE(ui.messages.back().text,
                 std::string("Label \"food\" is already in use.  You must use a unique label."));
        QCOMPARE(ui.beeps, 2);
    }

    void idControlsShowAndReturnIds() {
        TSimpleIdObjectList list(Accounts);
        TIdComboBox combo(nullptr, "account", "&Account:", list, 0);
        combo.SetId(0);
        QCOMPARE(combo.currentText(), QString("Checking"));
        combo.SetId(3);
        QCOMPARE(combo.GetId(), 3u);
        TIdComboBox withDefault(nullptr, "account", "&Account:", list, 0, 2);
        withDefault.SetId(0);
        QCOMPARE(withDefault.GetId(), 2u);

        TIdListBox box(nullptr, "accounts", "&Accounts:", list, 0);
        box.SetId(2);
        uint32_t id = 0;
        box.GetId(id);
        QCOMPARE(id, 2u);
        box.clearSelection();
        id = 7;
        box.GetId(id);
        QCOMPARE(id, 7u);
        QCOMPARE(box.accessibleName(), QString("Accounts"));
    }

    void completingEditCompletesAndHandsGridKeysOn() {
        TTarnStringList names;
        names.Add("Checking");
        names.Add("Savings");
        TTarnStringListEdit edit(nullptr, "envelope", "&Envelope:", names, 0);
        QTest::keyClicks(&edit, "sav");
        QCOMPARE(edit.text(), QString("Savings"));
        QCOMPARE(edit.cursorPosition(), 3);

        TTarnStringListEdit fallback(nullptr, "envelope", "&Envelope:", names, 2);
        QTest::keyClicks(&fallback, "x");
        QCOMPARE(fallback.GetText(), std::string("Savings"));

        fallback.SetLedgerMode(true);
        QSignalSpy keys(&fallback, &TTarnStringListEdit::gridKey);
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Down})
            QTest::keyClick(&fallback, key);
        QCOMPARE(keys.count(), 4);
        QTest::keyClick(&fallback, Qt::Key_End);
        QCOMPARE(keys.count(), 4);
    }

    void choosersAnswerOnOkAndNothingOnCancel() {
        TSimpleIdObjectList list(Accounts);
        TIdObjectChooser chooser(TChooserFace::Account);
        WhenDialogOpens([](QDialog&) {}, QDialog::Rejected);
        QCOMPARE(chooser.Run(list, 0, 2), 0u);
        WhenDialogOpens([&](QDialog&) { chooser.List()->setCurrentRow(2); }, QDialog::Accepted);
        QCOMPARE(chooser.Run(list, 0, 2), 3u);
        WhenDialogOpens([&](QDialog&) { chooser.List()->clearSelection(); }, QDialog::Accepted);
        QCOMPARE(chooser.Run(list, 0, 2), 2u);
        QCOMPARE(chooser.windowTitle(), QString("Select Account"));

        TGetStringDlg entry("Edit String", "Name:", "Old");
        WhenDialogOpens(
            [](QDialog& d) { d.findChild<QLineEdit*>("text")->setText(QString(200, 'x')); },
            QDialog::Accepted);
        QCOMPARE(entry.Run(), std::optional<std::string>(std::string(127, 'x')));
        WhenDialogOpens([](QDialog&) {}, QDialog::Rejected);
        QCOMPARE(entry.Run(), std::nullopt);
    }

    void fieldsRewriteThemselvesWhenLeft() {
        TScriptedUI ui;
        QWidget form;
        auto* layout = new QVBoxLayout(&form);
        auto* amount = new TEditFloat(&form, "amount", "A&mount:");
        auto* number = new TEditUnsigned(&form, "number", "&Number:", 5, 1, 12);
        for (QWidget* w : std::initializer_list<QWidget*>{amount, number})
            layout->addWidget(w);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const auto typeAndLeave = [](QLineEdit* edit, const char* text) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Tab);
        };
        typeAndLeave(amount, "12.5*2");
        QCOMPARE(amount->text(), QString("25.00"));
        QCOMPARE(amount->GetValue(), 25.0f);
        typeAndLeave(number, "40");
        QCOMPARE(number->text(), QString("12"));
        QCOMPARE(ui.beeps, 1);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
