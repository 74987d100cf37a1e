#include "controls/qt/Choosers.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "controls/ListControls.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/DialogButtons.h"
#include "controls/qt/QtText.h"
#include "core/IdObjectList.h"

namespace {

constexpr int StringChars = 127;

struct TFace {
    const char* objectName;
    const char* caption;
    const char* listLabel;
};

TFace FaceOf(TChooserFace face) {
    switch (face) {
        case TChooserFace::Account:
            return {"selectAccount", "Select Account", "&Accounts:"};
        case TChooserFace::Envelope:
            return {"selectEnvelope", "Select Envelope", "&Envelopes:"};
        case TChooserFace::Template:
            break;
    }
    return {"selectTemplate", "Select Template", "&Templates:"};
}

}  // namespace

TIdObjectChooser::TIdObjectChooser(TChooserFace face, QWidget* parent) : QDialog(parent) {
    const TFace f = FaceOf(face);
    setObjectName(f.objectName);
    setWindowTitle(f.caption);
    setAccessibleName(f.caption);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(f.listLabel, this);
    list = NameControl(new QListWidget(this), "list", f.listLabel);
    label->setBuddy(list);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(list);
    AddOkCancel(*this, *layout);
}

void TIdObjectChooser::Fill(const std::vector<std::string>& names, int selected) {
    list->clear();
    for (const std::string& name : names)
        list->addItem(FromWindows1252(name));
    if (selected >= 0 && selected < list->count()) list->setCurrentRow(selected);
    list->setFocus();
}

uint32_t TIdObjectChooser::Run(const TIdObjectList& ids, uint32_t flags, uint32_t currentId) {
    const std::unique_ptr<TTarnStringList> names = ids.GetStringList(flags);
    Fill(names->Items(), static_cast<int>(ChooserPosition(ids, *names, currentId)) - 1);
    if (exec() != QDialog::Accepted) return 0;
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (chosen.isEmpty()) return currentId;
    return IdControlId(ids, ToWindows1252(chosen.front()->text()));
}

bool TIdObjectChooser::Run(const std::vector<std::string>& names, int& selected) {
    Fill(names, selected);
    if (exec() != QDialog::Accepted) return false;
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (!chosen.isEmpty()) selected = list->row(chosen.front());
    return true;
}

TGetStringDlg::TGetStringDlg(const std::string& title, const std::string& prompt,
                             const std::string& text, QWidget* parent)
    : QDialog(parent) {
    const QString caption = FromWindows1252(title);
    const QString promptText = FromWindows1252(prompt);
    setObjectName("editString");
    setWindowTitle(caption);
    setAccessibleName(caption.isEmpty() ? QString("Edit String") : caption);
    auto* layout = new QVBoxLayout(this);
    auto* label = NameControl(new QLabel(promptText, this), "prompt", promptText);
    edit = NameControl(new QLineEdit(FromWindows1252(text), this), "text",
                       promptText.isEmpty() ? QString("Text") : promptText);
    edit->setMaxLength(StringChars);
    edit->selectAll();
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    AddOkCancel(*this, *layout);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);
}

std::string TGetStringDlg::GetText() const {
    return ToWindows1252(edit->text()).substr(0, StringChars);
}

std::optional<std::string> TGetStringDlg::Run() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    return GetText();
}
