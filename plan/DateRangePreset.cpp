#include "plan/DateRangePreset.h"

const char* const DateRangePresetNames[DateRangePresetCount] = {
    "User Defined", "This Month",   "This Quarter", "This Year",
    "Last Month",   "Last Quarter", "Last Year",
};

int FindDateRangePreset(const std::string& text) {
    for (int i = 0; i < DateRangePresetCount; ++i)
        if (text == DateRangePresetNames[i]) return i;
    return -1;
}

namespace {

TDate LastDayOfMonth(TDate date) {
    date.SetDay(date.DaysInMonth());
    return date;
}

TDate FirstDayOfQuarter(TDate date) {
    return TDate(1, (date.Month() - 1) / 3 * 3 + 1, date.Year());
}

}  // namespace

bool ApplyDateRangePreset(TDateRangePreset preset, TDate today, TDate& from, TDate& to) {
    switch (preset) {
        case TDateRangePreset::UserDefined:
            return false;
        case TDateRangePreset::ThisMonth:
            from = TDate(1, today.Month(), today.Year());
            to = LastDayOfMonth(from);
            return true;
        case TDateRangePreset::ThisQuarter:
            from = FirstDayOfQuarter(today);
            to = from;
            to.NextMonth();
            to.NextMonth();
            to = LastDayOfMonth(to);
            return true;
        case TDateRangePreset::ThisYear:
            from = TDate(1, 1, today.Year());
            to = TDate(31, 12, today.Year());
            return true;
        case TDateRangePreset::LastMonth:
            from = TDate(1, today.Month(), today.Year());
            from.PrevMonth();
            to = LastDayOfMonth(from);
            return true;
        case TDateRangePreset::LastQuarter: {
            TDate start = FirstDayOfQuarter(today);
            to = start;
            to.PrevMonth();
            to = LastDayOfMonth(to);
            from = start;
            for (int i = 0; i < 3; ++i)
                from.PrevMonth();
            return true;
        }
        case TDateRangePreset::LastYear:
            from = TDate(1, 1, today.Year() - 1);
            to = TDate(31, 12, today.Year() - 1);
            return true;
    }
    return false;
}
