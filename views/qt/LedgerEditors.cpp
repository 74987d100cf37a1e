#include "views/qt/LedgerEditors.h"

#include "controls/qt/QtText.h"
#include "controls/qt/StringListControls.h"
#include "core/TarnStringList.h"

namespace {

constexpr int PlainEditLimit = 127;

}  // namespace

QLineEdit* MakeLedgerTextEditor(QWidget* parent, const std::string& text) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(PlainEditLimit);
    edit->setText(FromWindows1252(text));
    return edit;
}

QLineEdit* MakeLedgerListEditor(QWidget* parent, std::unique_ptr<TTarnStringList> choices,
                                const std::string& text) {
    // The first entry stands in for a text the list does not hold.
    auto* edit = new TTarnStringListEdit(parent, "LedgerEditor", QString(), std::move(choices), 1);
    edit->SetLedgerMode(true);
    if (!text.empty()) edit->SetText(text);  // an edit begun by typing opens empty
    return edit;
}
