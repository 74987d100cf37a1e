// Typed dates: parsing any text gives a valid date or the failure value, and the day counting
// agrees with stepping one day at a time.
// sources: core/Date.cpp core/Money.cpp core/UIPort.cpp controls/EditText.cpp
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "controls/EditText.h"
#include "core/Date.h"

namespace {

int32_t Walk(TDate self, TDate other) {
    TDate early = self < other ? self : other;
    TDate late = self < other ? other : self;
    if (early.IsEmpty()) return 0;
    int32_t count = 0;
    while (late.Key() > early.Key()) {
        late.PrevDay();
        if (++count > 3000) return INT32_MIN;  // too far apart, or wrapped below year 0
    }
    return self < other ? -count : count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    uint16_t defaultYear = static_cast<uint16_t>(data[0] | (data[1] << 8));
    uint32_t otherKey = 0;
    std::memcpy(&otherKey, data + 2, 4);
    std::string text(reinterpret_cast<const char*>(data + 6), size - 6);

    TDate parsed = TDate::Parse(text, defaultYear == 0 ? 2024 : defaultYear);
    if (!parsed.IsValid()) {
        if (parsed.Day() != 0 || parsed.Month() != 0) std::abort();
        if (parsed.Year() != (defaultYear == 0 ? 2024 : defaultYear)) std::abort();
    } else {
        // A parsed date written out parses back to itself: without its year always, with its full
        // year when that year is not read as a two-digit one.
        if (TDate::Parse(parsed.Format(0), parsed.Year()) != parsed) std::abort();
        if (parsed.Year() >= 1900 && TDate::Parse(parsed.Format(DateLongYear), 1) != parsed)
            std::abort();
    }

    TDate other(otherKey);
    if (parsed.DaysBetween(other) != -other.DaysBetween(parsed)) std::abort();
    int32_t walked = Walk(parsed, other);
    if (walked != INT32_MIN && walked != parsed.DaysBetween(other)) std::abort();
    // Nearby dates, any fields, against the day-by-day walk.
    TDate near(data[2], data[3], other.Year() == 0 ? 0 : 2000 + data[4] % 8);
    TDate far(data[5], data[4], 2000 + data[3] % 8);
    walked = Walk(near, far);
    if (walked != INT32_MIN && walked != near.DaysBetween(far)) std::abort();

    for (unsigned flags = 0; flags < 16; ++flags)
        (void)other.Format(flags);
    (void)EditDateFocusLost(text);
    (void)EditDateValue(text);
    return 0;
}
