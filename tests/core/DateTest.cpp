#include "core/Date.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Fixes today's date for one test.
class FixedToday {
public:
    explicit FixedToday(TDate d) : date(d) { TDate::SetTodayForTesting(&date); }
    ~FixedToday() { TDate::SetTodayForTesting(nullptr); }

private:
    TDate date;
};

std::string Fields(TDate d) {
    return std::to_string(d.Month()) + "/" + std::to_string(d.Day()) + "/" +
           std::to_string(d.Year());
}

TEST(DateTest, KeyLayoutAndOrder) {
    EXPECT_EQ(TDate(5, 3, 2011).Key(), 0x07DB0305u);
    EXPECT_EQ(Fields(TDate(0x07DB0305u)), "3/5/2011");
    EXPECT_LT(TDate(31, 12, 2010), TDate(1, 1, 2011));
    EXPECT_LT(TDate(31, 1, 2011), TDate(1, 2, 2011));
    EXPECT_EQ(TDate(1, 2, 2011), TDate(1, 2, 2011));
    EXPECT_TRUE(TDate().IsEmpty());
    EXPECT_TRUE(TDate(0, 0, 2011).IsEmpty());
    EXPECT_FALSE(TDate(1, 0, 0).IsEmpty());
}

TEST(DateTest, MonthLengthsHaveNoCenturyRuleAndValidity) {
    std::string lengths;
    for (int m : {2, 4, 6, 9, 11, 0, 1, 3, 5, 7, 8, 10, 12, 13, 255})
        lengths += std::to_string(TDate::DaysInMonth(m, 2011)) + " ";
    EXPECT_EQ(lengths, "28 30 30 30 30 31 31 31 31 31 31 31 31 31 31 ");
    for (int leap : {2012, 1900, 2100, 0})
        EXPECT_EQ(TDate::DaysInMonth(2, leap), 29) << leap;

    std::string valid;
    for (TDate d : {TDate(29, 2, 2012), TDate(31, 12, 1), TDate(29, 2, 2011), TDate(1, 1, 0),
                    TDate(0, 1, 2011), TDate(31, 4, 2011), TDate(1, 13, 2011), TDate(1, 0, 2011)})
        valid += d.IsValid() ? '1' : '0';
    EXPECT_EQ(valid, "11000000");
}

TEST(DateTest, SetYearExpandsTwoDigitYears) {
    struct Case {
        int given, stored;
    };
    for (Case c : {Case{0, 2000}, Case{79, 2079}, Case{80, 1980}, Case{99, 1999}, Case{1900, 1900},
                   Case{2011, 2011}, Case{65535, 65535}, Case{100, 1234}, Case{1899, 1234},
                   Case{-1, 1234}, Case{65536, 1234}}) {
        TDate d(1, 1, 1234);
        d.SetYear(c.given);
        EXPECT_EQ(d.Year(), c.stored) << c.given;
    }
}

TEST(DateTest, ParseMonthDayAndOptionalYear) {
    // Empty pieces between separators are skipped; text after a piece's number is ignored. A
    // year that is neither two digits nor 1900 and later keeps the default year.
    struct Case {
        const char* text;
        int defaultYear;
        TDate parsed;
    };
    for (Case c :
         {Case{"12/31/99", 2011, {31, 12, 1999}}, Case{"3/5", 2011, {5, 3, 2011}},
          Case{"3/5/11", 1990, {5, 3, 2011}}, Case{"3/5/79", 1990, {5, 3, 2079}},
          Case{"3/5/80", 1990, {5, 3, 1980}}, Case{"3/5/2011", 1990, {5, 3, 2011}},
          Case{"3/5/1900", 1990, {5, 3, 1900}}, Case{"2/29/12", 1990, {29, 2, 2012}},
          Case{"2/29/2100", 1990, {29, 2, 2100}}, Case{"//3//5//2011//", 1990, {5, 3, 2011}},
          Case{" 3/ 5/ 11", 1990, {5, 3, 2011}}, Case{"3x/5y/11z/7", 1990, {5, 3, 2011}},
          Case{"1/1/150", 2011, {1, 1, 2011}}, Case{"1/1/-5", 2011, {1, 1, 2011}},
          Case{"1/1/99999", 2011, {1, 1, 2011}}})
        EXPECT_EQ(TDate::Parse(c.text, c.defaultYear), c.parsed) << c.text;
}

TEST(DateTest, ParseFailureKeepsTheGivenDefaultYearAndNoneTakesToday) {
    EXPECT_TRUE(TDate::Today().IsValid());
    EXPECT_GE(TDate::Today().Year(), 2020);
    FixedToday fixed(TDate(15, 6, 2020));
    EXPECT_EQ(TDate::Parse("3/5", 0), TDate(5, 3, 2020));
    EXPECT_EQ(TDate::Parse("2/29", 0), TDate(29, 2, 2020));
    EXPECT_EQ(TDate::Parse("3/5/150", 0), TDate(5, 3, 2020));
    EXPECT_EQ(TDate::Parse("2/29/13", 2011), TDate(0, 0, 2011));
    EXPECT_EQ(TDate::Parse("2/29/2011", 2011), TDate(0, 0, 2011));
    EXPECT_EQ(TDate::Parse("3-5-2011", 2011), TDate(0, 0, 2011));
    EXPECT_EQ(TDate::Parse("3-5-2011", 0), TDate());
    for (const char* text : {"", "3", "3/", "/3", "0/5", "3/0", "-3/5", "13/1", "4/31", "a/b",
                             "257/1/2011", "1/257/2011"}) {
        EXPECT_EQ(TDate::Parse(text, 0), TDate()) << text;
        EXPECT_EQ(TDate::Parse(text, 1999), TDate(0, 0, 1999)) << text;
    }
    EXPECT_EQ(TDate::Parse(std::string(31, ' '), 1999), TDate(0, 0, 1999));
    EXPECT_EQ(TDate::Parse("3/5/11" + std::string(25, ' '), 1999), TDate(5, 3, 2011));
    EXPECT_EQ(TDate::Parse("3/5/11" + std::string(26, ' '), 1999), TDate(0, 0, 1999));
    EXPECT_EQ(TDate::Parse(std::string(100000, '/'), 1999), TDate(0, 0, 1999));
    EXPECT_EQ(TDate::Parse("99999999999999999999/1", 1999), TDate(0, 0, 1999));
}

TEST(DateTest, FormatWithAndWithoutYearAndMissingFields) {
    const int S = DateShortYear, L = DateLongYear, B = DateBlankEmpty;
    struct Case {
        TDate date;
        int flags;
        const char* text;
    };
    for (Case c : {Case{{5, 3, 2011}, 0, "03/05"}, Case{{5, 3, 2011}, S, "03/05/11"},
                   Case{{5, 3, 2011}, L, "03/05/2011"}, Case{{5, 3, 2011}, S | L, "03/05/11"},
                   Case{{5, 3, 2011}, B | 2 | 16, "03/05"}, Case{{31, 12, 1999}, S, "12/31/99"},
                   Case{{1, 1, 2105}, S, "01/01/105"}, Case{{1, 1, 1905}, S, "01/01/05"},
                   Case{{1, 1, 5}, L, "01/01/0005"}, Case{{}, S, " / /"}, Case{{}, L, " / /"},
                   Case{{}, 0, " / "}, Case{{}, B | S, ""}, Case{{0, 0, 2011}, B | S, " / /11"},
                   Case{{7, 0, 0}, S, " /07/"}, Case{{0, 7, 0}, L, "07/ /"}})
        EXPECT_EQ(c.date.Format(c.flags), c.text) << Fields(c.date) << " " << c.flags;
}

TEST(DateTest, DayAndMonthSteps) {
    // A day beyond its month's end steps straight to the next month; month steps keep the day,
    // even when it does not exist in the new month; months out of range wrap the year.
    struct Case {
        TDate from;
        void (TDate::*step)();
        TDate to;
    };
    for (Case c : {Case{{1, 3, 2012}, &TDate::PrevDay, {29, 2, 2012}},
                   Case{{1, 3, 2011}, &TDate::PrevDay, {28, 2, 2011}},
                   Case{{31, 12, 2011}, &TDate::NextDay, {1, 1, 2012}},
                   Case{{1, 1, 2012}, &TDate::PrevDay, {31, 12, 2011}},
                   Case{{28, 2, 2100}, &TDate::NextDay, {29, 2, 2100}},
                   Case{{31, 4, 2011}, &TDate::NextDay, {1, 5, 2011}},
                   Case{{0, 3, 2012}, &TDate::PrevDay, {29, 2, 2012}},
                   Case{{31, 1, 2011}, &TDate::NextMonth, {31, 2, 2011}},
                   Case{{15, 12, 2011}, &TDate::NextMonth, {15, 1, 2012}},
                   Case{{15, 20, 2011}, &TDate::NextMonth, {15, 1, 2012}},
                   Case{{15, 1, 2012}, &TDate::PrevMonth, {15, 12, 2011}},
                   Case{{15, 0, 2012}, &TDate::PrevMonth, {15, 12, 2011}}}) {
        TDate d = c.from;
        (d.*c.step)();
        EXPECT_EQ(d, c.to) << Fields(c.from);
    }
}

// The count as defined: PrevDay steps from the later date until its key is not above the earlier
// one. Only used on pairs close enough for the walk to be short.
int32_t WalkedDaysBetween(TDate self, TDate other) {
    TDate early = self < other ? self : other;
    TDate late = self < other ? other : self;
    if (early.IsEmpty()) return 0;
    int32_t count = 0;
    while (late.Key() > early.Key()) {
        late.PrevDay();
        ++count;
        if (count > 100000) return INT32_MIN;  // the walk wrapped below year 0
    }
    return self < other ? -count : count;
}

TEST(DateTest, DaysBetweenMatchesTheDayByDayWalk) {
    // Every field value, valid or not: days and months past their range, month 0, year 0.
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> anyDay(0, 255), anyMonth(0, 255), smallDay(0, 33),
        smallMonth(0, 14), yearOffset(0, 9), pick(0, 3);
    int compared = 0;
    for (int i = 0; i < 40000; ++i) {
        int baseYear = i % 3 == 0 ? 0 : 2008 + i % 5;
        auto make = [&] {
            bool wide = pick(random) == 0;
            return TDate(wide ? anyDay(random) : smallDay(random),
                         wide ? anyMonth(random) : smallMonth(random),
                         baseYear + yearOffset(random));
        };
        TDate a = make(), b = make();
        int32_t walked = WalkedDaysBetween(a, b);
        if (walked == INT32_MIN) continue;
        ASSERT_EQ(a.DaysBetween(b), walked) << Fields(a) << " " << Fields(b);
        ++compared;
    }
    EXPECT_GT(compared, 35000);
}

TEST(DateTest, DaysBetweenSpansAndNeverWrapsBelowYearZero) {
    // Spans too long for the walk below: no century rule.
    EXPECT_EQ(TDate(1, 1, 2101).DaysBetween(TDate(1, 1, 2100)), 366);
    EXPECT_EQ(TDate(1, 1, 2011).DaysBetween(TDate(1, 1, 1911)), 100 * 365 + 25);
    // Walking down from 1/1/0 would wrap to year 65535; the count ends there instead.
    TDate early(0, 1, 0), late(5, 1, 0);
    EXPECT_EQ(late.DaysBetween(early), 5);
    EXPECT_EQ(TDate(1, 2, 0).DaysBetween(TDate(7, 0, 0)), 32);
    EXPECT_EQ(TDate(31, 12, 65535).DaysBetween(TDate(1, 1, 0)), 16384 * 1461 - 1);
    EXPECT_EQ(TDate(255, 255, 65535).DaysBetween(TDate(0, 1, 0)), 16384 * 1461 + 242 * 31 + 255);
}

}  // namespace
