// A calendar day without time: day, month and full year, ordered by its 32-bit key.
#pragma once

#include <cstdint>
#include <string>

enum TDateFlags : unsigned {
    DateBlankEmpty = 1,  // the all-zero date gives the empty text
    DateShortYear = 4,   // append "/yy"
    DateLongYear = 8,    // append "/yyyy" (only without DateShortYear)
};

class TDate {
public:
    TDate() = default;
    explicit TDate(uint32_t key)
        : day(static_cast<uint8_t>(key & 0xFF)),
          month(static_cast<uint8_t>((key >> 8) & 0xFF)),
          year(static_cast<uint16_t>(key >> 16)) {}
    TDate(int d, int m, int y)
        : day(static_cast<uint8_t>(d)),
          month(static_cast<uint8_t>(m)),
          year(static_cast<uint16_t>(y)) {}

    // The local calendar date; tests may fix it with SetTodayForTesting.
    static TDate Today();
    static void SetTodayForTesting(const TDate* fixed);  // null restores the clock

    uint32_t Key() const {
        return static_cast<uint32_t>(day) | (static_cast<uint32_t>(month) << 8) |
               (static_cast<uint32_t>(year) << 16);
    }
    int Day() const { return day; }
    int Month() const { return month; }
    int Year() const { return year; }
    void SetDay(int d) { day = static_cast<uint8_t>(d); }
    void SetMonth(int m) { month = static_cast<uint8_t>(m); }
    // 0..79 -> 2000+y, 80..99 -> 1900+y, >=1900 as is; anything else leaves the year.
    void SetYear(int y);

    // Parses "m/d[/y]"; on failure the result has day and month 0 and the given default year.
    static TDate Parse(const std::string& text, int defaultYear);
    std::string Format(unsigned flags) const;

    bool IsValid() const;
    bool IsEmpty() const { return day == 0 && month == 0; }
    static int DaysInMonth(int month, int year);
    int DaysInMonth() const { return DaysInMonth(month, year); }

    void NextDay();
    void PrevDay();
    void NextMonth();
    void PrevMonth();
    // Signed days from other to this date (positive when this date is later).
    int32_t DaysBetween(const TDate& other) const;

    friend bool operator==(const TDate& a, const TDate& b) { return a.Key() == b.Key(); }
    friend auto operator<=>(const TDate& a, const TDate& b) { return a.Key() <=> b.Key(); }

private:
    uint8_t day = 0;
    uint8_t month = 0;
    uint16_t year = 0;
};
