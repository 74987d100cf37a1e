#include "cli/ConsoleUI.h"

#include <ostream>

#include "core/Text.h"

TConsoleUI::TConsoleUI(std::ostream& e) : err(e) {}

TMsgResult TConsoleUI::Message(const std::string& caption, const std::string& text,
                               TMsgButtons buttons, TMsgIcon) {
    // Messages carry record text, which is in the code page of the budget file.
    err << Cp1252ToUtf8(caption) << ": " << Cp1252ToUtf8(text) << std::endl;
    switch (buttons) {
        case TMsgButtons::Ok:
            return TMsgResult::Ok;
        case TMsgButtons::YesNo:
            return TMsgResult::No;
        case TMsgButtons::OkCancel:
        case TMsgButtons::YesNoCancel:
            return TMsgResult::Cancel;
    }
    return TMsgResult::Cancel;
}
