#include "controls/EditText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FixedToday {
public:
    explicit FixedToday(TDate d) : date(d) { TDate::SetTodayForTesting(&date); }
    ~FixedToday() { TDate::SetTodayForTesting(nullptr); }

private:
    TDate date;
};

TEST(EditFloatTest, ShowsTheValueAsMoneyWithThousands) {
    EXPECT_EQ(EditFloatText(0.0f), "0.00");
    EXPECT_EQ(EditFloatText(1234.5f), "1,234.50");
    EXPECT_EQ(EditFloatText(-0.1f), "-0.10");
    EXPECT_EQ(EditFloatText(1000000.0f), "1,000,000.00");
    EXPECT_EQ(EditFloatText(1e20f), "0.00");  // beyond the money range
}

TEST(EditFloatTest, ReadsTheFirst127CharactersAsAnAmount) {
    EXPECT_FLOAT_EQ(EditFloatValue("12.5*2"), 25.0f);
    EXPECT_FLOAT_EQ(EditFloatValue("1,234.50"), 1234.5f);
    EXPECT_EQ(EditFloatValue("abc"), 0.0f);
    // Only the first 127 characters count: the trailing "+1" falls outside them.
    std::string padded = std::string(124, ' ') + "5" + "  +1";
    EXPECT_FLOAT_EQ(EditFloatValue(padded), 5.0f);
    EXPECT_FLOAT_EQ(EditFloatValue(std::string(122, ' ') + "5  +1"), 6.0f);
    // Values the float cannot hold are absurd amounts and read as 0.
    EXPECT_EQ(EditFloatValue("10^300"), 0.0f);
    EXPECT_FLOAT_EQ(EditFloatValue("10^30"), 1e30f);
    // Focus loss shows the value the field hands over.
    EXPECT_EQ(EditFloatFocusLost("12.5*2"), "25.00");
}

TEST(EditDateTest, ShowsTheDateWithATwoDigitYear) {
    EXPECT_EQ(EditDateText(TDate(5, 3, 2011)), "03/05/11");
    EXPECT_EQ(EditDateText(TDate()), " / /");
}

TEST(EditDateTest, ReadsTheFirst23CharactersWithTodaysYear) {
    FixedToday fixed(TDate(15, 6, 2020));
    EXPECT_EQ(EditDateValue("3/5"), TDate(5, 3, 2020));
    EXPECT_EQ(EditDateValue("3/5/11"), TDate(5, 3, 2011));
    EXPECT_EQ(EditDateValue("3-5-2011"), TDate());
    // The year lies past the 23rd character and is not seen.
    EXPECT_EQ(EditDateValue("3/5" + std::string(20, ' ') + "/11"), TDate(5, 3, 2020));
    EXPECT_EQ(EditDateValue("3/5" + std::string(17, ' ') + "/11"), TDate(5, 3, 2011));
}

TEST(EditDateTest, FocusLossRewritesOrClearsTheDate) {
    FixedToday fixed(TDate(15, 6, 2020));
    EXPECT_EQ(EditDateFocusLost("3/5"), "03/05/20");
    EXPECT_EQ(EditDateFocusLost("12/31/1999"), "12/31/99");
    EXPECT_EQ(EditDateFocusLost("2/30"), " / /");
    EXPECT_EQ(EditDateFocusLost(""), " / /");
    // Up to 127 characters are read on focus loss, but a date text of 32 or more never parses.
    EXPECT_EQ(EditDateFocusLost("3/5" + std::string(20, ' ') + "/11"), "03/05/11");
    EXPECT_EQ(EditDateFocusLost("3/5" + std::string(40, ' ') + "/11"), " / /");
}

TEST(EditUnsignedTest, LeadingNumberRule) {
    EXPECT_EQ(ReadUnsigned("42"), 42u);
    EXPECT_EQ(ReadUnsigned("\t+42abc"), 42u);
    EXPECT_EQ(ReadUnsigned("42 43"), 42u);
    EXPECT_EQ(ReadUnsigned("abc"), 0u);
    EXPECT_EQ(ReadUnsigned(""), 0u);
    EXPECT_EQ(ReadUnsigned("- 5"), 0u);
    EXPECT_EQ(ReadUnsigned("-1"), 4294967295u);
    EXPECT_EQ(ReadUnsigned("4294967295"), 4294967295u);
    EXPECT_EQ(ReadUnsigned("4294967296"), 4294967295u);
    EXPECT_EQ(ReadUnsigned(std::string(10000, '9')), 4294967295u);
    EXPECT_EQ(ReadUnsigned("-" + std::string(10000, '9')), 4294967295u);
}

TEST(EditUnsignedTest, GetAndSetClampOnlyWithAnActiveRange) {
    const TUnsignedRange range{10, 20};
    EXPECT_EQ(EditUnsignedValue("5", range), 10u);
    EXPECT_EQ(EditUnsignedValue("15", range), 15u);
    EXPECT_EQ(EditUnsignedValue("25", range), 20u);
    EXPECT_EQ(EditUnsignedValue("-1", range), 20u);
    EXPECT_EQ(EditUnsignedText(5, range), "10");
    EXPECT_EQ(EditUnsignedText(99, range), "20");

    const TUnsignedRange inactive{10, 0};
    EXPECT_EQ(EditUnsignedValue("5", inactive), 5u);
    EXPECT_EQ(EditUnsignedValue("-1", inactive), 4294967295u);
    EXPECT_EQ(EditUnsignedText(5, inactive), "5");
    EXPECT_EQ(EditUnsignedText(4294967295u, inactive), "4294967295");
}

TEST(EditUnsignedTest, FocusLossBeepsOnlyWhenTheRangeCorrects) {
    const TUnsignedRange range{10, 20};
    TUnsignedFocusResult low = EditUnsignedFocusLost("3", range);
    EXPECT_EQ(low.text, "10");
    EXPECT_TRUE(low.beep);
    TUnsignedFocusResult high = EditUnsignedFocusLost("  21 apples", range);
    EXPECT_EQ(high.text, "20");
    EXPECT_TRUE(high.beep);
    TUnsignedFocusResult inside = EditUnsignedFocusLost("+012", range);
    EXPECT_EQ(inside.text, "12");
    EXPECT_FALSE(inside.beep);

    TUnsignedFocusResult unchecked = EditUnsignedFocusLost("-2", TUnsignedRange{10, 0});
    EXPECT_EQ(unchecked.text, "4294967294");
    EXPECT_FALSE(unchecked.beep);
    TUnsignedFocusResult words = EditUnsignedFocusLost("none", TUnsignedRange{0, 0});
    EXPECT_EQ(words.text, "0");
    EXPECT_FALSE(words.beep);
}

}  // namespace

TEST(EditAmountTest, KeepsEveryCentWhereAFloatWouldNot) {
    EXPECT_EQ(EditAmountFocusLost("12345678.91"), "12,345,678.91");
    EXPECT_EQ(EditFloatFocusLost("12345678.91"), "12,345,679.00");
    EXPECT_DOUBLE_EQ(EditAmountValue("19,999,999.99"), 19999999.99);
    EXPECT_EQ(EditAmountText(-0.5), "-0.50");
    EXPECT_EQ(EditAmountFocusLost("$5"), "0.00");
}
