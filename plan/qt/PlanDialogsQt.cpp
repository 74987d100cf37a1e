#include "plan/qt/PlanDialogsQt.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/EditText.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "plan/qt/AllocationPlanDialog.h"

namespace {

constexpr int StringEntryChars = 127;

void Caption(QDialog& dialog, const char* objectName, const QString& title) {
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(title);
}

// OK and Cancel under the dialog's fields, named for automation.
void AddOkCancel(QDialog& dialog, QVBoxLayout& layout) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->setObjectName("buttons");
    NameControl(box->button(QDialogButtonBox::Ok), "ok", "OK")->setDefault(true);
    NameControl(box->button(QDialogButtonBox::Cancel), "cancel", "Cancel");
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(box);
}

QLabel* Text(QDialog& dialog, const char* objectName, const QString& text) {
    auto* label = NameControl(new QLabel(text, &dialog), objectName, text);
    label->setWordWrap(true);
    return label;
}

}  // namespace

TMonthlyIncomeDialog::TMonthlyIncomeDialog(const TMonthlyIncomeBuffer& buffer, QWidget* parent)
    : QDialog(parent) {
    Caption(*this, "monthlyIncome", "Enter Monthly Income");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text(*this, "explanation",
                           "Enter up to four monthly income sources. Quillet will set up a simple "
                           "Allocation Plan (budget)."));
    layout->addWidget(
        Text(*this, "startingPoint",
             "Use this as a starting point. At any time, you can alter the "
             "Allocation Plan by adding and removing income sources and envelopes. "));
    auto* form = new QFormLayout;
    for (size_t i = 0; i < incomes.size(); ++i) {
        const QString caption = QString("Income Source &%1: ").arg(i + 1);
        QLineEdit* edit =
            NameControl(new QLineEdit(FromWindows1252(EditFloatText(buffer.incomes[i])), this),
                        QString("income%1").arg(i + 1).toLatin1().constData(), caption);
        edit->setMaxLength(EditFloatTextLimit);
        edit->setAlignment(Qt::AlignRight);
        connect(edit, &QLineEdit::editingFinished, this, [edit] {
            edit->setText(FromWindows1252(EditFloatFocusLost(ToWindows1252(edit->text()))));
        });
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        incomes[i] = edit;
    }
    layout->addLayout(form);
    AddOkCancel(*this, *layout);
    setMinimumWidth(fontMetrics().averageCharWidth() * 55);
}

TMonthlyIncomeBuffer TMonthlyIncomeDialog::Buffer() const {
    TMonthlyIncomeBuffer b;
    for (size_t i = 0; i < incomes.size(); ++i)
        b.incomes[i] = EditFloatValue(ToWindows1252(incomes[i]->text()));
    return b;
}

TStringEntryDialog::TStringEntryDialog(const TStringEntryBuffer& buffer, QWidget* parent)
    : QDialog(parent), buffer(buffer) {
    const QString prompt = FromWindows1252(buffer.prompt);
    Caption(*this, "stringEntry", FromWindows1252(buffer.title));
    auto* layout = new QVBoxLayout(this);
    auto* label = NameControl(new QLabel(prompt, this), "prompt", prompt);
    text = NameControl(new QLineEdit(FromWindows1252(buffer.text), this), "text", prompt);
    text->setMaxLength(StringEntryChars);
    text->selectAll();
    label->setBuddy(text);
    layout->addWidget(label);
    layout->addWidget(text);
    AddOkCancel(*this, *layout);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);
}

TStringEntryBuffer TStringEntryDialog::Buffer() const {
    TStringEntryBuffer b = buffer;
    b.text = ToWindows1252(text->text());
    return b;
}

TChooseTemplateDialog::TChooseTemplateDialog(const TChooseTemplateBuffer& buffer, QWidget* parent)
    : QDialog(parent), buffer(buffer) {
    Caption(*this, "chooseTemplate",
            buffer.title.empty() ? QString("Select Template") : FromWindows1252(buffer.title));
    auto* layout = new QVBoxLayout(this);
    list = NameControl(new QListWidget(this), "templates", "Templates");
    for (const std::string& name : buffer.names)
        list->addItem(FromWindows1252(name));
    // The current choice, or the first name when there is none.
    const bool known = buffer.selected >= 0 && buffer.selected < list->count();
    if (list->count() > 0) list->setCurrentRow(known ? buffer.selected : 0);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(list);
    AddOkCancel(*this, *layout);
}

TChooseTemplateBuffer TChooseTemplateDialog::Buffer() const {
    TChooseTemplateBuffer b = buffer;
    if (list->currentRow() >= 0) b.selected = list->currentRow();
    return b;
}

bool TPlanDialogsQt::EditPlan(TPlanDialogBuffer& buffer) {
    if (!buffer.plan) return false;
    TAllocationPlanDialog dialog(buffer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool TPlanDialogsQt::EnterMonthlyIncome(TMonthlyIncomeBuffer& buffer) {
    TMonthlyIncomeDialog dialog(buffer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer = dialog.Buffer();
    return true;
}

bool TPlanDialogsQt::GetString(TStringEntryBuffer& buffer) {
    TStringEntryDialog dialog(buffer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer = dialog.Buffer();
    return true;
}

bool TPlanDialogsQt::ChooseTemplate(TChooseTemplateBuffer& buffer) {
    TChooseTemplateDialog dialog(buffer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer = dialog.Buffer();
    return true;
}
