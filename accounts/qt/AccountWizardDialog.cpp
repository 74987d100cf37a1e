#include "accounts/qt/AccountWizardDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/EditText.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "core/IdObjectList.h"

namespace {

constexpr int DateChars = 12;

}  // namespace

TAccountWizardDialog::TAccountWizardDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(AccountWizardCaption);
    setObjectName("accountWizard");
    setAccessibleName(AccountWizardCaption);

    auto* text =
        NameControl(new QLabel(AccountWizardText, this), "instructions", AccountWizardText);
    text->setWordWrap(true);

    name = NameControl(new QLineEdit(this), "accountName", "Account Name:");
    name->setMaxLength(static_cast<int>(TAccountWizardBuffer::NameChars));

    description = NameControl(new QPlainTextEdit(this), "description", "Description:");
    description->setTabChangesFocus(true);  // Tab leaves the field, so the form works by keyboard
    description->setFixedHeight(description->fontMetrics().lineSpacing() * 4 + 12);
    connect(description, &QPlainTextEdit::textChanged, this, [this] {
        const int limit = static_cast<int>(TAccountWizardBuffer::DescriptionChars);
        QString all = description->toPlainText();
        if (all.size() <= limit) return;
        all.truncate(limit);
        description->setPlainText(all);
        description->moveCursor(QTextCursor::End);
    });

    balance = NameControl(new QLineEdit(this), "closingBalance", "Closing Balance:");
    balance->setMaxLength(EditFloatTextLimit);
    balance->setAlignment(Qt::AlignRight);
    // Leaving the field shows the amount the expression stands for, as it will be kept.
    connect(balance, &QLineEdit::editingFinished, this, [this] {
        balance->setText(FromWindows1252(EditFloatFocusLost(ToWindows1252(balance->text()))));
    });

    date = NameControl(new QLineEdit(this), "closingDate", "Closing Date");
    date->setMaxLength(DateChars);
    date->setToolTip("Month/Day/Year, as on the statement");
    connect(date, &QLineEdit::editingFinished, this, [this] {
        date->setText(FromWindows1252(EditDateFocusLost(ToWindows1252(date->text()))));
    });

    kind = NameControl(new QComboBox(this), "accountType", "Account Type:");
    std::vector<std::string> kinds = TAccountTypeList().GetStringList(0)->Items();
    std::sort(kinds.begin(), kinds.end());
    TAccountTypeList types;
    for (const std::string& k : kinds)
        kind->addItem(FromWindows1252(k), types.FindId(k));

    auto* form = new QFormLayout;
    const auto addRow = [&](const char* label, QWidget* field) {
        auto* l = new QLabel(label, this);
        l->setBuddy(field);  // the mnemonic in the label moves the focus to the field
        form->addRow(l, field);
    };
    addRow("Account &Name:", name);
    addRow("&Description:", description);
    addRow("Closing &Balance:", balance);
    addRow("Closing Da&te", date);
    addRow("Account T&ype:", kind);

    auto* add = NameControl(new QPushButton("&Add Account", this), "addAccount", "Add Account");
    auto* finish = NameControl(new QPushButton("&Finish", this), "finish", "Finish");
    auto* cancel = NameControl(new QPushButton("Cancel", this), "cancel", "Cancel");
    add->setDefault(true);
    connect(add, &QPushButton::clicked, this, [this] { Press(TAccountWizardButton::AddAccount); });
    connect(finish, &QPushButton::clicked, this, [this] { Press(TAccountWizardButton::Finish); });
    connect(cancel, &QPushButton::clicked, this, [this] { Press(TAccountWizardButton::Cancel); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add);
    buttons->addWidget(finish);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setTabOrder(name, description);
    setTabOrder(description, balance);
    setTabOrder(balance, date);
    setTabOrder(date, kind);
    setTabOrder(kind, add);
    setTabOrder(add, finish);
    setTabOrder(finish, cancel);
    setMinimumWidth(fontMetrics().averageCharWidth() * 72);
}

TAccountWizardButton TAccountWizardDialog::RunPage(TAccountWizardBuffer& buffer) {
    pressed = TAccountWizardButton::Cancel;
    Show(buffer);
    name->setFocus();
    exec();
    Read(buffer);
    return pressed;
}

void TAccountWizardDialog::Show(const TAccountWizardBuffer& b) {
    name->setText(FromWindows1252(b.name));
    description->setPlainText(FromWindows1252(b.description));
    balance->setText(FromWindows1252(EditFloatText(b.closingBalance)));
    date->setText(FromWindows1252(EditDateText(b.closingDate)));
    const int index = kind->findData(b.kind);
    kind->setCurrentIndex(index >= 0 ? index : kind->findData(TAccountTypeList::Checking));
}

void TAccountWizardDialog::Read(TAccountWizardBuffer& b) const {
    b.name = ToWindows1252(name->text());
    b.description = ToWindows1252(description->toPlainText());
    b.closingBalance = EditFloatValue(ToWindows1252(balance->text()));
    b.closingDate = EditDateValue(ToWindows1252(date->text()));
    b.kind = kind->currentData().toUInt();
}

void TAccountWizardDialog::Press(TAccountWizardButton button) {
    pressed = button;
    if (button == TAccountWizardButton::Cancel) {
        reject();
    } else {
        accept();
    }
}
