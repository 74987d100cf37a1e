#include "controls/qt/PropertyForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "controls/qt/ControlNames.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/QtText.h"

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

QLineEdit* TPropertyForm::AddName(std::string& text, int maxLength) {
    name = NameControl(new QLineEdit(FromWindows1252(text), this), "name", "&Name:");
    name->setMaxLength(maxLength);
    form->addRow("&Name:", name);
    writeBack.push_back([this, &text] { text = Name(); });
    return name;
}

TEditFloat* TPropertyForm::AddMoney(const QString& label, const char* objectName, float& units) {
    auto* field = new TEditFloat(this, objectName, label);
    field->SetValue(units);
    form->addRow(label, field);
    writeBack.push_back([field, &units] { units = field->GetValue(); });
    return field;
}

TIdComboBox* TPropertyForm::AddIdCombo(const QString& label, const char* objectName,
                                       const TIdObjectList& list, uint32_t flags, uint32_t id) {
    auto* combo = new TIdComboBox(this, objectName, label, list, flags);
    combo->SetId(id);
    form->addRow(label, combo);
    return combo;
}

QPlainTextEdit* TPropertyForm::AddDescription(std::string& text) {
    auto* description = NameControl(new QPlainTextEdit(FromWindows1252(text), this), "description",
                                    "&Description:");
    description->setTabChangesFocus(true);
    auto* label = new QLabel("&Description:", this);
    label->setBuddy(description);
    form->addRow(label, description);
    writeBack.push_back([description, &text] {
        text = ToWindows1252(description->toPlainText().left(DescriptionLimit));
    });
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

QCheckBox* TPropertyForm::AddCheck(const QString& text, const char* objectName, bool& checked) {
    auto* box = NameControl(new QCheckBox(text, this), objectName, text);
    box->setChecked(checked);
    form->addRow(box);
    writeBack.push_back([box, &checked] { checked = box->isChecked(); });
    return box;
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
    if (exec() != QDialog::Accepted) return false;
    for (const auto& write : writeBack)
        write();
    return true;
}

std::string TPropertyForm::Name() const {
    return name ? ToWindows1252(name->text()) : std::string();
}
