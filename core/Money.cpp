#include "core/Money.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr double MaxUnits = 100000000000000.0;  // 1e14 currency units

// Rounds to the given number of decimals the way writing the value as decimal text ("%.*f") and
// reading it back would, independent of the C locale. A value that does not survive the trip
// (infinite, not a number, beyond the double range) gives nothing.
std::optional<double> RoundDecimals(double v, int decimals) {
    if (!std::isfinite(v)) return std::nullopt;
    // The largest double written with five decimals needs 309 + 1 + 5 characters.
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return std::nullopt;
    double back = 0;
    auto [ptr, ec2] = std::from_chars(buf, end, back, std::chars_format::fixed);
    if (ec2 != std::errc() || ptr != end || !std::isfinite(back)) return std::nullopt;
    return back;
}

bool IsSpace(char c) {
    return c == ' ';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// An operand: blanks, an optional "-" sign, blanks, then digits with at most one decimal point.
// Reads from pos and leaves pos after the trailing blanks.
std::optional<double> ReadOperand(std::string_view text, size_t& pos) {
    auto skipBlanks = [&] {
        while (pos < text.size() && IsSpace(text[pos]))
            ++pos;
    };
    skipBlanks();
    bool negative = false;
    if (pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
        skipBlanks();
    }
    size_t start = pos;
    bool point = false;
    bool digit = false;
    while (pos < text.size()) {
        char c = text[pos];
        if (IsDigit(c)) {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++pos;
    }
    if (!digit) return std::nullopt;
    double value = 0;
    auto [ptr, ec] =
        std::from_chars(text.data() + start, text.data() + pos, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != text.data() + pos || !std::isfinite(value)) return std::nullopt;
    skipBlanks();
    return negative ? -value : value;
}

std::optional<double> Apply(double a, char op, double b) {
    double r = 0;
    switch (op) {
        case '^': {
            // The magnitude is raised; a negative base keeps its sign for odd whole exponents.
            r = std::pow(std::fabs(a), b);
            if (a < 0 && std::fmod(std::fabs(b), 2.0) == 1.0) r = -r;
            break;
        }
        case '*':
            r = a * b;
            break;
        case '/':
            if (b == 0) return std::nullopt;
            r = a / b;
            break;
        case '+':
            r = a + b;
            break;
        case '-':
            r = a - b;
            break;
        default:
            return std::nullopt;
    }
    // Intermediate results carry four decimals, exactly as if written back into the text.
    return RoundDecimals(r, 4);
}

// One operator pass: applies the operators of the pass leftmost first, leaving the others.
bool ApplyPass(std::vector<double>& values, std::vector<char>& ops, std::string_view passOps) {
    std::vector<double> outValues;
    std::vector<char> outOps;
    outValues.reserve(values.size());
    outOps.reserve(ops.size());
    outValues.push_back(values[0]);
    for (size_t i = 0; i < ops.size(); ++i) {
        if (passOps.find(ops[i]) != std::string_view::npos) {
            auto r = Apply(outValues.back(), ops[i], values[i + 1]);
            if (!r) return false;
            outValues.back() = *r;
        } else {
            outOps.push_back(ops[i]);
            outValues.push_back(values[i + 1]);
        }
    }
    values.swap(outValues);
    ops.swap(outOps);
    return true;
}

// Evaluates text without parentheses: operands separated by operators, "^" first, then "*" and
// "/", then "+" and "-".
std::optional<double> EvaluateFlat(std::string_view text) {
    std::vector<double> values;
    std::vector<char> ops;
    size_t pos = 0;
    auto first = ReadOperand(text, pos);
    if (!first) return std::nullopt;
    values.push_back(*first);
    if (pos == text.size()) return first;  // a plain number is taken as written
    while (pos < text.size()) {
        char op = text[pos];
        if (!IsOperator(op)) return std::nullopt;
        ++pos;
        auto operand = ReadOperand(text, pos);
        if (!operand) return std::nullopt;
        ops.push_back(op);
        values.push_back(*operand);
    }
    if (!ApplyPass(values, ops, "^") || !ApplyPass(values, ops, "*/") ||
        !ApplyPass(values, ops, "+-"))
        return std::nullopt;
    return values[0];
}

std::optional<double> Evaluate(const std::string& input) {
    std::string text;
    text.reserve(input.size());
    size_t opens = 0;
    size_t closes = 0;
    for (char c : input) {
        if (c == ',') continue;
        if (!(IsDigit(c) || IsSpace(c) || c == '.' || IsOperator(c) || c == '(' || c == ')'))
            return std::nullopt;
        if (c == '(') ++opens;
        if (c == ')') ++closes;
        text.push_back(c);
    }
    if (text.empty()) return 0.0;
    if (opens != closes) return std::nullopt;

    // Groups are replaced innermost first by their value written with five decimals. A stack of
    // open positions pairs each ")" with the nearest "(" before it, which is the same pairing as
    // repeatedly taking the last "(" and the first ")" after it, in one pass over the text.
    std::string work;
    work.reserve(text.size());
    std::vector<size_t> openAt;
    for (char c : text) {
        if (c == '(') {
            openAt.push_back(work.size());
            work.push_back(c);
        } else if (c == ')') {
            if (openAt.empty()) return std::nullopt;
            size_t at = openAt.back();
            openAt.pop_back();
            auto value = EvaluateFlat(std::string_view(work).substr(at + 1));
            if (!value) return std::nullopt;
            char buf[400];
            auto [end, ec] =
                std::to_chars(buf, buf + sizeof buf, *value, std::chars_format::fixed, 5);
            if (ec != std::errc()) return std::nullopt;
            work.resize(at);
            work.append(buf, end);
        } else {
            work.push_back(c);
        }
    }
    if (!openAt.empty()) return std::nullopt;
    return EvaluateFlat(work);
}

}  // namespace

TMoney::TMoney(double units) {
    // NaN fails both comparisons, so it is tested the other way round.
    if (!(units >= -MaxUnits && units <= MaxUnits)) return;
    // The sum is rounded to a double before scaling (two statements, so the compiler cannot fuse
    // them into one multiply-add); that rounding decides values like 1.005.
    double shifted = units > 0 ? units + 0.005 : units - 0.005;
    double scaled = shifted * 100.0;
    value = static_cast<int64_t>(scaled);
}

TMoney::TMoney(const std::string& text) : TMoney(EvaluateAmount(text)) {}

std::string TMoney::Format(unsigned flags) const {
    if ((flags & MoneyBlankZero) && value == 0) return {};

    uint64_t magnitude =
        value < 0 ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char digits[32];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
    (void)ec;  // 32 characters always hold a 64-bit number
    std::string number(digits, end);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    number.insert(number.size() - 2, 1, '.');

    if (flags & MoneyThousands) {
        std::string grouped;
        grouped.reserve(number.size() + number.size() / 3);
        for (size_t i = 0; i < number.size(); ++i) {
            size_t fromHere = number.size() - i;  // counts the point and the two decimals
            if (i > 0 && fromHere >= 6 && fromHere % 3 == 0) grouped.push_back(',');
            grouped.push_back(number[i]);
        }
        number.swap(grouped);
    }

    bool negative = value < 0;
    if (flags & MoneyUnsigned) return number;
    if (flags & MoneyParentheses) return negative ? "(" + number + ")" : " " + number + " ";
    return negative ? "-" + number : number;
}

std::string FormatCents(int32_t cents, bool parentheses, bool showZero) {
    unsigned flags = MoneyThousands;
    if (parentheses) flags |= MoneyParentheses;
    if (!showZero) flags |= MoneyBlankZero;
    return TMoney(cents).Format(flags);
}

double EvaluateAmount(const std::string& text) {
    return ParseAmount(text).value_or(0.0);
}

std::optional<double> ParseAmount(const std::string& text) {
    return Evaluate(text);
}
