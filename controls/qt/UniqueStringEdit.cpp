#include "controls/qt/UniqueStringEdit.h"

#include "controls/EditText.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"

TUniqueStringEdit::TUniqueStringEdit(QWidget* parent, const char* objectName, const QString& label,
                                     int textLimit, std::unique_ptr<TTarnStringList> taken)
    : QLineEdit(parent), taken(taken ? std::move(taken) : std::make_unique<TTarnStringList>()) {
    NameControl(this, objectName, label);
    setMaxLength(textLimit);
}

void TUniqueStringEdit::SetText(const std::string& text) {
    setText(FromWindows1252(text));
}

std::string TUniqueStringEdit::GetText() const {
    return ToWindows1252(text());
}

bool TUniqueStringEdit::CanClose() {
    const std::string name = GetText();
    if (CheckUniqueLabel(name, taken->Find(name) != 0, true)) return true;
    setFocus(Qt::OtherFocusReason);
    selectAll();
    return false;
}
