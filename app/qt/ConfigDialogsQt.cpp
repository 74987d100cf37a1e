#include "app/qt/ConfigDialogsQt.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>

#include "controls/qt/QtText.h"
#include "core/UIPort.h"

namespace {

// Lets into a field only what the number rule keeps, so typing or pasting anything else is
// refused as it happens.
class TDigitsValidator : public QValidator {
public:
    TDigitsValidator(size_t limit, QObject* parent) : QValidator(parent), limit(limit) {}
    State validate(QString& input, int&) const override {
        const std::string text = ToWindows1252(input);
        return AcceptDigits(text, limit) == text ? Acceptable : Invalid;
    }

private:
    size_t limit;
};

}  // namespace

TConfigDialogBase::TConfigDialogBase(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    form = new QFormLayout;
    layout->addLayout(form);
}

QCheckBox* TConfigDialogBase::AddCheck(int id, const QString& text, bool checked) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString("ctl%1").arg(id));
    box->setChecked(checked);
    form->addRow(box);
    return box;
}

QLineEdit* TConfigDialogBase::AddEdit(int id, const QString& label, const std::string& text,
                                      int maxLength) {
    auto* edit = new QLineEdit(FromWindows1252(text), this);
    edit->setObjectName(QString("ctl%1").arg(id));
    edit->setMaxLength(maxLength);
    form->addRow(label, edit);
    return edit;
}

void TConfigDialogBase::Finish() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    static_cast<QVBoxLayout*>(layout())->addWidget(buttons);
    setFixedSize(sizeHint());
}

TMainConfigDialog::TMainConfigDialog(const TMainConfigBuffer& b, QWidget* parent)
    : TConfigDialogBase("Main Configuration", parent) {
    statusBar = AddCheck(101, "Display &Status Bar", b.showStatusBar);
    controlBar = AddCheck(102, "Display &Control Bar", b.showControlBar);
    reopenLastFile = AddCheck(1013, "Automatically Re-Open Last File at Startup", b.reopenLastFile);
    const int digits = static_cast<int>(MainConfigDigits);
    autoSave = AddEdit(103, "Auto-Save Interval:", b.autoSaveMinutes, digits);
    backups = AddEdit(104, "Backup History Level:", b.backupLevels, digits);
    confirmCleared = AddCheck(105, "Confirm Cleared on Close", b.confirmClearedOnClose);
    confirmImport = AddCheck(106, "Confirm Import on Close", b.confirmImportOnClose);
    updateDays = AddEdit(107, "Check for Updates Interval:", b.updateCheckDays, digits);
    for (QLineEdit* edit : {autoSave, backups, updateDays}) {
        edit->setValidator(new TDigitsValidator(MainConfigDigits, edit));
    }
    autoSave->setToolTip("Minutes; 0 turns auto-save off");
    backups->setToolTip("Backup copies kept; 0 keeps none");
    updateDays->setToolTip("Days; 0 never reminds");
    Finish();
}

TMainConfigBuffer TMainConfigDialog::Buffer() const {
    TMainConfigBuffer b;
    b.showStatusBar = statusBar->isChecked();
    b.showControlBar = controlBar->isChecked();
    b.reopenLastFile = reopenLastFile->isChecked();
    b.autoSaveMinutes = ToWindows1252(autoSave->text());
    b.backupLevels = ToWindows1252(backups->text());
    b.confirmClearedOnClose = confirmCleared->isChecked();
    b.confirmImportOnClose = confirmImport->isChecked();
    b.updateCheckDays = ToWindows1252(updateDays->text());
    return b;
}

TEnvelopeListConfigDialog::TEnvelopeListConfigDialog(const TEnvelopeListConfigBuffer& b,
                                                     QWidget* parent)
    : TConfigDialogBase("Envelope List Configuration", parent) {
    root = AddCheck(101, "Show Envelope &Root Balance", b.showRootBalance);
    bundles = AddCheck(102, "Show Envelope &Bundle Balances", b.showBundleBalances);
    associations = AddCheck(103, "Show Envelope &Association Balances", b.showAssociationBalances);
    envelopes = AddCheck(104, "Show &Envelope Balances", b.showEnvelopeBalances);
    Finish();
}

TEnvelopeListConfigBuffer TEnvelopeListConfigDialog::Buffer() const {
    return {root->isChecked(), bundles->isChecked(), associations->isChecked(),
            envelopes->isChecked()};
}

TAccountListConfigDialog::TAccountListConfigDialog(const TAccountListConfigBuffer& b,
                                                   QWidget* parent)
    : TConfigDialogBase("Account List Configuration", parent) {
    root = AddCheck(101, "Show Account &Root Balance", b.showRootBalance);
    groups = AddCheck(102, "Show Account &Group Balances", b.showGroupBalances);
    accounts = AddCheck(113, "Show &Account Balances", b.showAccountBalances);
    reconcile = AddCheck(114, "Show Account &Reconcile Balances", b.showReconcileBalances);
    Finish();
}

TAccountListConfigBuffer TAccountListConfigDialog::Buffer() const {
    return {root->isChecked(), groups->isChecked(), accounts->isChecked(), reconcile->isChecked()};
}

TTransactionViewSetupDialog::TTransactionViewSetupDialog(const TTransactionViewSetupBuffer& b,
                                                         QWidget* parent)
    : TConfigDialogBase("Transaction View Setup", parent) {
    code = AddWidth(101, "&Transaction Code (5-10):", b.codeWidth, TLedgerWidth::Code);
    payableTo = AddWidth(102, "&Payable To (20-50):", b.payableToWidth, TLedgerWidth::PayableTo);
    memo = AddWidth(108, "Memo (use 0-50, 0 hides):", b.memoWidth, TLedgerWidth::Memo);
    amount = AddWidth(103, "&Currency Amount (10-15):", b.amountWidth, TLedgerWidth::Amount);
    envelopeLabel = AddWidth(104, "&Envelope Label (15-30):", b.envelopeLabelWidth,
                             TLedgerWidth::EnvelopeLabel);
    accountLabel =
        AddWidth(105, "&Account Label (15-30):", b.accountLabelWidth, TLedgerWidth::AccountLabel);
    includeYear = AddCheck(106, "Include Year in Transaction Dates", b.includeYear);
    flyBy = AddCheck(107, "Fly By Memo", b.flyByMemo);
    autoCorrectYear = AddCheck(1035, "Auto-Correct Year", b.autoCorrectYear);
    Finish();
}

QLineEdit* TTransactionViewSetupDialog::AddWidth(int id, const QString& label,
                                                 const std::string& text, TLedgerWidth field) {
    QLineEdit* edit = AddEdit(id, label, text, static_cast<int>(WidthTextLimit));
    // Only a field whose text changed is checked when it loses focus.
    connect(edit, &QLineEdit::editingFinished, this, [edit, field] {
        const TWidthCheck check = CheckLedgerWidth(field, ToWindows1252(edit->text()));
        edit->setText(FromWindows1252(check.text));
        if (check.beep) UI().Beep();
    });
    return edit;
}

TTransactionViewSetupBuffer TTransactionViewSetupDialog::Buffer() const {
    TTransactionViewSetupBuffer b;
    b.codeWidth = ToWindows1252(code->text());
    b.payableToWidth = ToWindows1252(payableTo->text());
    b.memoWidth = ToWindows1252(memo->text());
    b.amountWidth = ToWindows1252(amount->text());
    b.envelopeLabelWidth = ToWindows1252(envelopeLabel->text());
    b.accountLabelWidth = ToWindows1252(accountLabel->text());
    b.includeYear = includeYear->isChecked();
    b.flyByMemo = flyBy->isChecked();
    b.autoCorrectYear = autoCorrectYear->isChecked();
    return b;
}
