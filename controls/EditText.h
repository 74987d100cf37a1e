// The text behaviour of the amount, date and unsigned-number edit fields, apart from any toolkit:
// what the field shows for a value, what value its text stands for, and what it rewrites itself to
// when it loses the keyboard focus.
#pragma once

#include <cstdint>
#include <string>

#include "core/Date.h"

// Amount field: 100 characters may be typed; the value is a 32-bit float of currency units.
constexpr int EditFloatTextLimit = 100;
std::string EditFloatText(float units);
float EditFloatValue(const std::string& text);
std::string EditFloatFocusLost(const std::string& text);
// The same field over a double, for buffers that must keep every cent a record can hold.
std::string EditAmountText(double units);
double EditAmountValue(const std::string& text);
std::string EditAmountFocusLost(const std::string& text);

// Date field: the value is a date, shown with a two-digit year.
std::string EditDateText(TDate date);
TDate EditDateValue(const std::string& text);
std::string EditDateFocusLost(const std::string& text);

// Unsigned field: the range applies only when its maximum is not 0.
struct TUnsignedRange {
    uint32_t min = 0;
    uint32_t max = 0;

    bool Active() const { return max != 0; }
    uint32_t Clamp(uint32_t v) const;
};

// Reads text by the leading-number rule: leading blanks and a sign are accepted, text that does
// not start with a number reads as 0, and a negative number wraps to its unsigned 32-bit form.
uint32_t ReadUnsigned(const std::string& text);

std::string EditUnsignedText(uint32_t value, TUnsignedRange range);
uint32_t EditUnsignedValue(const std::string& text, TUnsignedRange range);

struct TUnsignedFocusResult {
    std::string text;
    bool beep = false;  // the typed value lay outside the active range and was corrected
};
TUnsignedFocusResult EditUnsignedFocusLost(const std::string& text, TUnsignedRange range);

// Unique-text field: the text (already cut to its field) must not be empty and must not be one
// of the names taken. When it breaks the rule and `tell` is set, the field beeps and says why.
bool CheckUniqueLabel(const std::string& text, bool taken, bool tell);
