#include "controls/EditText.h"

#include <cfloat>
#include <cmath>

#include "core/Money.h"
#include "core/UIPort.h"

namespace {

// The transfer buffers of the fields read at most this much of the text.
constexpr size_t AmountReadLimit = 127;
constexpr size_t DateReadLimit = 23;
constexpr size_t DateFocusReadLimit = 127;

std::string Head(const std::string& text, size_t limit) {
    return text.substr(0, limit);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string EditFloatText(float units) {
    return TMoney(static_cast<double>(units)).Format(MoneyThousands);
}

float EditFloatValue(const std::string& text) {
    double units = EvaluateAmount(Head(text, AmountReadLimit));
    // Beyond the float range the amount is absurd anyway (money stops at 1e14 units).
    if (!(std::fabs(units) <= FLT_MAX)) return 0.0f;
    return static_cast<float>(units);
}

std::string EditFloatFocusLost(const std::string& text) {
    // Rewritten from the value the field will hand over, so what stays visible is what is kept.
    return EditFloatText(EditFloatValue(text));
}

std::string EditAmountText(double units) {
    return TMoney(units).Format(MoneyThousands);
}

double EditAmountValue(const std::string& text) {
    return EvaluateAmount(Head(text, AmountReadLimit));
}

std::string EditAmountFocusLost(const std::string& text) {
    return EditAmountText(EditAmountValue(text));
}

std::string EditDateText(TDate date) {
    return date.Format(DateShortYear);
}

TDate EditDateValue(const std::string& text) {
    return TDate::Parse(Head(text, DateReadLimit), 0);
}

std::string EditDateFocusLost(const std::string& text) {
    // A text that does not parse comes back as the all-zero date, which shows as " / /".
    return EditDateText(TDate::Parse(Head(text, DateFocusReadLimit), 0));
}

uint32_t TUnsignedRange::Clamp(uint32_t v) const {
    if (!Active()) return v;
    if (v < min) return min;
    if (v > max) return max;
    return v;
}

uint32_t ReadUnsigned(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Too many digits for 32 bits read as the largest value, whatever the sign.
    uint64_t v = 0;
    bool saturated = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + static_cast<uint64_t>(text[i] - '0');
        if (v > UINT32_MAX) {
            saturated = true;
            v = UINT32_MAX;
        }
    }
    if (saturated) return UINT32_MAX;
    uint32_t magnitude = static_cast<uint32_t>(v);
    return negative ? 0u - magnitude : magnitude;
}

std::string EditUnsignedText(uint32_t value, TUnsignedRange range) {
    return std::to_string(range.Clamp(value));
}

uint32_t EditUnsignedValue(const std::string& text, TUnsignedRange range) {
    return range.Clamp(ReadUnsigned(text));
}

TUnsignedFocusResult EditUnsignedFocusLost(const std::string& text, TUnsignedRange range) {
    uint32_t typed = ReadUnsigned(text);
    uint32_t kept = range.Clamp(typed);
    return {std::to_string(kept), kept != typed};
}

bool CheckUniqueLabel(const std::string& text, bool taken, bool tell) {
    std::string why;
    if (text.empty())
        why = "You must provide a label.";
    else if (taken)
        why = "Label \"" + text + "\" is already in use.  You must use a unique label.";
    if (why.empty()) return true;
    if (tell) {
        UI().Beep();
        UI().Message("Error", why, TMsgButtons::Ok, TMsgIcon::Stop);
    }
    return false;
}
