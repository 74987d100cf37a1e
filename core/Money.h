// Money: every amount is a whole number of cents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum TMoneyFlags : unsigned {
    MoneyParentheses = 1,  // " %s " for non-negative values, "(%s)" for negative ones
    MoneyUnsigned = 2,     // the magnitude alone; overrides MoneyParentheses
    MoneyThousands = 4,    // commas between groups of three digits
    MoneyBlankZero = 8,    // zero gives the empty text
};

class TMoney {
public:
    TMoney() = default;
    // From a stored signed 32-bit count of cents.
    TMoney(int32_t cents) : value(cents) {}  // NOLINT: widening is the intended conversion
    // From currency units, rounded half away from zero; beyond +-1e14 units gives 0.
    explicit TMoney(double units);
    // From typed text: evaluated as an amount expression.
    explicit TMoney(const std::string& text);

    static TMoney FromCents(int64_t cents) {
        TMoney m;
        m.value = cents;
        return m;
    }

    int64_t Cents() const { return value; }
    std::string Format(unsigned flags) const;

    TMoney operator-() const { return FromCents(-value); }
    TMoney operator+(TMoney o) const { return FromCents(value + o.value); }
    TMoney operator-(TMoney o) const { return FromCents(value - o.value); }
    TMoney& operator+=(TMoney o) {
        value += o.value;
        return *this;
    }
    TMoney& operator-=(TMoney o) {
        value -= o.value;
        return *this;
    }
    auto operator<=>(const TMoney&) const = default;

private:
    int64_t value = 0;
};

// Transaction amounts in ledgers and reports: thousands separators, optional parentheses, and a
// blank for zero unless showZero.
std::string FormatCents(int32_t cents, bool parentheses, bool showZero);

// Evaluates an amount expression ("1,234.50", "12.5*2", "(2-5)*3"); any error gives 0.
double EvaluateAmount(const std::string& text);
// The same, with nothing for text that is no amount expression.
std::optional<double> ParseAmount(const std::string& text);
