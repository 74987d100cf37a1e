#include "import/StatementText.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string_view TrimStatementBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

TDate ReadStatementDate(const std::string& text, int currentYear) {
    if (currentYear == 0) return TDate::Parse(text, 0);
    TDate date = TDate::Parse(text, currentYear);
    return date.IsValid() ? date : TDate();
}

TMoney ReadStatementAmount(std::string_view text) {
    text = TrimStatementBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return TMoney(std::string(text));
}
