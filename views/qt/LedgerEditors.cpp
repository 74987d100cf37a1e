#include "views/qt/LedgerEditors.h"

#include "controls/qt/QtText.h"
#include "core/TarnStringList.h"

namespace {

constexpr int PlainEditLimit = 127;

// Completes typed text from a list: "sav" over "Checking" and "Savings" shows "Savings" with
// the caret after "Sav" and the rest selected, so typing on narrows the choice.
class TLedgerCompletingEdit : public QLineEdit {
public:
    TLedgerCompletingEdit(QWidget* parent, std::unique_ptr<TTarnStringList> list)
        : QLineEdit(parent), choices(std::move(list)) {
        connect(this, &QLineEdit::textEdited, this, &TLedgerCompletingEdit::Complete);
    }

private:
    void Complete(const QString& typed) {
        // Only text typed at the end is completed; deleting leaves what is left.
        if (typed.size() <= previous.size() || cursorPosition() != typed.size()) {
            previous = typed;
            return;
        }
        previous = typed;
        const TCompletion found = choices->Complete(ToWindows1252(typed));
        if (found.position == 0) return;
        const QString full = FromWindows1252(choices->GetAt(found.position));
        const int keep = static_cast<int>(found.length);
        setText(full);
        setCursorPosition(static_cast<int>(full.size()));
        cursorBackward(true, static_cast<int>(full.size()) - keep);
        previous = full.left(keep);
    }

    std::unique_ptr<TTarnStringList> choices;
    QString previous;
};

}  // namespace

QLineEdit* MakeLedgerTextEditor(QWidget* parent, const std::string& text) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(PlainEditLimit);
    edit->setText(FromWindows1252(text));
    return edit;
}

QLineEdit* MakeLedgerListEditor(QWidget* parent, std::unique_ptr<TTarnStringList> choices,
                                const std::string& text) {
    if (!choices) choices = std::make_unique<TTarnStringList>();
    std::string opening;
    if (!text.empty() && choices->Count() > 0) {
        const uint32_t found = choices->Find(text);
        opening = choices->GetAt(found ? found : 1);
    }
    auto* edit = new TLedgerCompletingEdit(parent, std::move(choices));
    edit->setText(FromWindows1252(opening));
    return edit;
}
