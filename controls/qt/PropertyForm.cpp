#include "controls/qt/PropertyForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "core/Money.h"

namespace {
constexpr int DescriptionLimit = 1023;
}

TPropertyForm::TPropertyForm(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    setObjectName("propertyForm");
    setAccessibleName(title);
    auto* layout = new QVBoxLayout(this);
    form = new QFormLayout;
    layout->addLayout(form);
}

QLineEdit* TPropertyForm::AddName(const std::string& text, int maxLength) {
    name = NameControl(new QLineEdit(FromWindows1252(text), this), "name", "&Name:");
    name->setMaxLength(maxLength);
    form->addRow("&Name:", name);
    return name;
}

QLineEdit* TPropertyForm::AddMoney(const QString& label, const char* objectName, double units) {
    auto* field =
        NameControl(new QLineEdit(QString::number(units, 'f', 2), this), objectName, label);
    field->setAlignment(Qt::AlignRight);
    form->addRow(label, field);
    return field;
}

QPlainTextEdit* TPropertyForm::AddDescription(const std::string& text) {
    description = NameControl(new QPlainTextEdit(FromWindows1252(text), this), "description",
                              "&Description:");
    description->setTabChangesFocus(true);
    auto* label = new QLabel("&Description:", this);
    label->setBuddy(description);
    form->addRow(label, description);
    return description;
}

QComboBox* TPropertyForm::AddCombo(const QString& label, const char* objectName,
                                   const std::vector<std::string>& items, int current) {
    auto* combo = NameControl(new QComboBox(this), objectName, label);
    for (const std::string& item : items)
        combo->addItem(FromWindows1252(item));
    combo->setCurrentIndex(current >= 0 && current < combo->count() ? current : -1);
    form->addRow(label, combo);
    return combo;
}

QCheckBox* TPropertyForm::AddCheck(const QString& text, const char* objectName, bool checked) {
    auto* box = NameControl(new QCheckBox(text, this), objectName, text);
    box->setChecked(checked);
    form->addRow(box);
    return box;
}

QListWidget* TPropertyForm::AddList(const QString& label, const char* objectName,
                                    const std::vector<std::string>& items, int current) {
    auto* list = NameControl(new QListWidget(this), objectName, label);
    for (const std::string& item : items)
        list->addItem(FromWindows1252(item));
    if (current >= 0 && current < list->count()) list->setCurrentRow(current);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    if (label.isEmpty()) {
        form->addRow(list);
    } else {
        form->addRow(label, list);
    }
    return list;
}

void TPropertyForm::AddText(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName("text");
    label->setWordWrap(true);
    form->addRow(label);
}

bool TPropertyForm::Run(const std::function<bool(const std::string&)>& nameCheck) {
    check = nameCheck;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (name && check && !check(Name())) {
            name->setFocus();
            name->selectAll();
            return;
        }
        accept();
    });
    layout()->addWidget(buttons);
    return exec() == QDialog::Accepted;
}

std::string TPropertyForm::Name() const {
    return name ? ToWindows1252(name->text()) : std::string();
}

std::string TPropertyForm::Description() const {
    return description ? ToWindows1252(description->toPlainText().left(DescriptionLimit))
                       : std::string();
}

double TPropertyForm::Units(const QLineEdit* field) {
    return field ? EvaluateAmount(ToWindows1252(field->text())) : 0.0;
}
