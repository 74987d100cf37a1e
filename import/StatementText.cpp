#include "import/StatementText.h"

#include <cmath>
#include <cstdint>

namespace {

// Past this a rounded amount no longer fits the 32-bit cents of a record.
constexpr double MaxUnits = 21474836.475;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The other date forms statements use, rewritten m/d/y where they cannot be misread: y-m-d with
// a four-digit year, and m/d'y, where the apostrophe marks the years from 2000.
std::string UsualDateForm(const std::string& text) {
    std::string_view t = TrimStatementBlanks(text);
    size_t first = t.find('-');
    if (first == 4 && AllDigits(t.substr(0, 4))) {
        size_t second = t.find('-', 5);
        if (second != std::string_view::npos && AllDigits(t.substr(5, second - 5)) &&
            AllDigits(t.substr(second + 1)))
            return std::string(t.substr(5, second - 5)) + "/" + std::string(t.substr(second + 1)) +
                   "/" + std::string(t.substr(0, 4));
    }
    size_t mark = t.find('\'');
    if (mark != std::string_view::npos) {
        std::string_view year = TrimStatementBlanks(t.substr(mark + 1));
        if (AllDigits(year) && year.size() <= 2)
            return std::string(t.substr(0, mark)) + "/" +
                   std::to_string(2000 + std::stoi(std::string(year)));
    }
    return text;
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
    std::string usual = UsualDateForm(text);
    if (currentYear == 0) return TDate::Parse(usual, 0);
    TDate date = TDate::Parse(usual, currentYear);
    return date.IsValid() ? date : TDate();
}

std::string StatementDateProblem(const TDate& date, std::string_view text) {
    if (date.IsValid()) return {};
    return "no date that can be read (\"" + std::string(text.substr(0, 40)) + "\")";
}

TMoney ReadStatementAmount(std::string_view text, std::string* problem) {
    text = TrimStatementBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::string value(text);
    // Evaluated once: the amount is the text's value, as constructing it from the text gives.
    double units = EvaluateAmount(value);
    TMoney amount(units);
    if (problem) {
        problem->clear();
        bool zeroWritten = value.find_first_of("123456789") == std::string::npos;
        if (units == 0 && !zeroWritten)
            *problem = "no amount that can be read (\"" + value.substr(0, 40) + "\")";
        else if (std::fabs(units) >= MaxUnits)
            *problem =
                "the amount \"" + value.substr(0, 40) + "\" is beyond what a transaction can hold";
    }
    return amount;
}
