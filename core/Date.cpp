#include "core/Date.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string_view>
#include <vector>

namespace {

std::optional<TDate> fixedToday;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The leading-number rule: blanks, an optional sign, then digits; no digits reads as 0. The value
// saturates far beyond any meaningful date field instead of overflowing.
int64_t LeadingInteger(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int64_t v = 0;
    constexpr int64_t cap = int64_t{1} << 40;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v < cap) v = v * 10 + (s[i] - '0');
    }
    return negative ? -v : v;
}

// The year a typed or given number stands for: two-digit years fall in 1980..2079, full years from
// 1900 up to the largest the 16-bit field holds are taken as they are.
std::optional<int> ExpandYear(int64_t y) {
    if (y >= 0 && y <= 79) return static_cast<int>(2000 + y);
    if (y >= 80 && y <= 99) return static_cast<int>(1900 + y);
    if (y >= 1900 && y <= 0xFFFF) return static_cast<int>(y);
    return std::nullopt;
}

// Leap years (every fourth, from year 0) in [0, year).
int64_t LeapYearsBefore(int64_t year) {
    return year <= 0 ? 0 : (year + 3) / 4;
}

// Days in the months from..to (inclusive) of one year; months above 12 have 31 days.
int64_t DaysInMonths(int from, int to, int year) {
    int64_t days = 0;
    for (int m = from; m <= to; ++m)
        days += TDate::DaysInMonth(m, year);
    return days;
}

}  // namespace

TDate TDate::Today() {
    if (fixedToday) return *fixedToday;
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return TDate();
    return TDate(local->tm_mday, local->tm_mon + 1, local->tm_year + 1900);
}

void TDate::SetTodayForTesting(const TDate* fixed) {
    if (fixed)
        fixedToday = *fixed;
    else
        fixedToday.reset();
}

void TDate::SetYear(int y) {
    if (auto full = ExpandYear(y)) year = static_cast<uint16_t>(*full);
}

TDate TDate::Parse(const std::string& text, int defaultYear) {
    const TDate failed(0, 0, defaultYear);
    int64_t baseYear = defaultYear != 0 ? defaultYear : Today().Year();

    if (text.size() >= 32) return failed;

    std::vector<std::string_view> pieces;
    std::string_view rest(text);
    while (!rest.empty() && pieces.size() < 3) {
        size_t slash = rest.find('/');
        std::string_view piece = rest.substr(0, slash);
        if (!piece.empty()) pieces.push_back(piece);
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    if (pieces.size() < 2) return failed;

    int64_t month = LeadingInteger(pieces[0]);
    int64_t day = LeadingInteger(pieces[1]);
    if (month <= 0 || day <= 0) return failed;
    int64_t year = baseYear;
    if (pieces.size() > 2) {
        if (auto full = ExpandYear(LeadingInteger(pieces[2]))) year = *full;
    }

    // Checked before narrowing, so that month 257 or day 300 cannot wrap into a valid field.
    if (month > 12 || year <= 0 || year > 0xFFFF) return failed;
    if (day > DaysInMonth(static_cast<int>(month), static_cast<int>(year))) return failed;
    return TDate(static_cast<int>(day), static_cast<int>(month), static_cast<int>(year));
}

std::string TDate::Format(unsigned flags) const {
    if ((flags & DateBlankEmpty) && Key() == 0) return {};
    char buf[32];
    std::string out;
    if (month != 0) {
        std::snprintf(buf, sizeof buf, "%02d/", month);
        out += buf;
    } else {
        out += " /";
    }
    if (day != 0) {
        std::snprintf(buf, sizeof buf, "%02d", day);
        out += buf;
    } else {
        out += " ";
    }
    if (flags & DateShortYear) {
        if (year == 0) {
            out += "/";
        } else {
            std::snprintf(buf, sizeof buf, "/%02d", year >= 2000 ? year - 2000 : year - 1900);
            out += buf;
        }
    } else if (flags & DateLongYear) {
        if (year == 0) {
            out += "/";
        } else {
            std::snprintf(buf, sizeof buf, "/%04d", year);
            out += buf;
        }
    }
    return out;
}

bool TDate::IsValid() const {
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth() && year != 0;
}

int TDate::DaysInMonth(int month, int year) {
    switch (month) {
        case 2:
            return year % 4 == 0 ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        default:
            return 31;
    }
}

void TDate::NextDay() {
    if (day >= DaysInMonth()) {
        day = 1;
        NextMonth();
    } else {
        ++day;
    }
}

void TDate::PrevDay() {
    if (day < 2) {
        PrevMonth();
        day = static_cast<uint8_t>(DaysInMonth());
    } else {
        --day;
    }
}

void TDate::NextMonth() {
    if (month >= 12) {
        month = 1;
        ++year;
    } else {
        ++month;
    }
}

void TDate::PrevMonth() {
    if (month <= 1) {
        month = 12;
        --year;
    } else {
        --month;
    }
}

int32_t TDate::DaysBetween(const TDate& other) const {
    bool thisLater = Key() >= other.Key();
    const TDate& early = thisLater ? other : *this;
    const TDate& late = thisLater ? *this : other;
    if (early.IsEmpty() || late.Key() == early.Key()) return 0;

    // Counts the PrevDay steps that bring the later date to a key not above the earlier one,
    // without walking: every step lowers the key, so the count is the number of dates on the walk
    // whose key is still above the earlier key. The walk first runs down the later date's own
    // month (whatever its day, even past the month's end), then through whole months. Years are
    // taken as unbounded here, so a walk that would pass below year 0 ends there instead of
    // wrapping round to year 65535 and never stopping.
    const int lateDay = late.day, lateMonth = late.month, lateYear = late.year;
    const int earlyDay = early.day, earlyMonth = early.month, earlyYear = early.year;

    if (lateYear == earlyYear && lateMonth == earlyMonth)
        return (lateDay - earlyDay) * (thisLater ? 1 : -1);

    int64_t count = lateDay >= 1 ? lateDay : 1;  // the later date's own month
    // The earlier date's month is walked only when it is a month the walk passes through: months
    // 1..12, or above 12 only in the later date's year and below its month.
    bool earlyMonthOnWalk = earlyMonth >= 1 && (earlyMonth <= 12 || earlyYear == lateYear);
    if (earlyYear == lateYear) {
        count += DaysInMonths(earlyMonth + 1, lateMonth - 1, lateYear);
    } else {
        count += DaysInMonths(1, lateMonth - 1, lateYear);
        // Whole years strictly between the two.
        int64_t years = lateYear - earlyYear - 1;
        int64_t leaps = LeapYearsBefore(lateYear) - LeapYearsBefore(earlyYear + 1);
        count += years * 365 + leaps;
        count += DaysInMonths(earlyMonth + 1, 12, earlyYear);
    }
    if (earlyMonthOnWalk) {
        int dim = DaysInMonth(earlyMonth, earlyYear);
        if (dim > earlyDay) count += dim - earlyDay;
    }
    return static_cast<int32_t>(thisLater ? count : -count);
}
