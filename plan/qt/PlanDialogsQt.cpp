#include "plan/qt/PlanDialogsQt.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "controls/qt/Choosers.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/DialogButtons.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/QtText.h"
#include "plan/qt/AllocationPlanDialog.h"

namespace {

void Caption(QDialog& dialog, const char* objectName, const QString& title) {
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(title);
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
        auto* edit =
            new TEditFloat(this, QString("income%1").arg(i + 1).toLatin1().constData(), caption);
        edit->SetValue(buffer.incomes[i]);
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
        b.incomes[i] = incomes[i]->GetValue();
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
    TGetStringDlg dialog(buffer.title, buffer.prompt, buffer.text, parent);
    const std::optional<std::string> text = dialog.Run();
    if (!text) return false;
    buffer.text = *text;
    return true;
}

bool TPlanDialogsQt::ChooseTemplate(TChooseTemplateBuffer& buffer) {
    TIdObjectChooser chooser(TChooserFace::Template, parent);
    if (!buffer.title.empty()) chooser.setWindowTitle(FromWindows1252(buffer.title));
    return chooser.Run(buffer.names, buffer.selected);
}
