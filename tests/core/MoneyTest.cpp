#include "core/Money.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <string>
#include <utility>

namespace {

TEST(MoneyTest, UnitsRoundHalfAwayFromZeroAndBeyondOneHundredTrillionGiveZero) {
    const double inf = std::numeric_limits<double>::infinity();
    // 1.005 + 0.005 rounds to a double just below 1.01, so it stays at 100 cents.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double units;
        int64_t cents;
    };
    // clang-format off
    for (Case c : {Case{1.999, 200}, {-1.236, -124}, {0.004, 0}, {-0.004, 0}, {0.0, 0}, {0.125, 13},
                   {-0.125, -13}, {1234.5, 123450}, {1.005, 100}, {2.675, 268},
                   {100000000000000.0, 10000000000000000}, {-100000000000000.0, -10000000000000000},
                   {100000000000000.02, 0}, {-100000000000000.02, 0}, {1e300, 0}, {inf, 0},
                   {-inf, 0}, {nan, 0}}) {
        // clang-format on
        EXPECT_EQ(TMoney(c.units).Cents(), c.cents) << c.units;
    }
}

TEST(MoneyTest, StoredCentsWidenWithTheirSign) {
    EXPECT_EQ(TMoney(int32_t{-7}).Cents(), -7);
    EXPECT_EQ(TMoney(std::numeric_limits<int32_t>::min()).Cents(), -2147483648LL);
    TMoney sum = TMoney(int32_t{2147483647}) + TMoney(int32_t{2147483647});
    EXPECT_EQ(sum.Cents(), 4294967294LL);
    EXPECT_LT(TMoney(int32_t{-1}), TMoney(int32_t{0}));
}

TEST(MoneyTest, TextIsEvaluatedThenRounded) {
    for (auto [text, cents] :
         {std::pair{"10/3*3", 1000}, {"2/3", 67}, {"1,234.50", 123450}, {"$5", 0}})
        EXPECT_EQ(TMoney(std::string(text)).Cents(), cents) << text;
}

TEST(MoneyTest, FormatsSignThousandsParenthesesAndBlanks) {
    const int64_t min = std::numeric_limits<int64_t>::min(),
                  max = std::numeric_limits<int64_t>::max();
    const unsigned T = MoneyThousands, P = MoneyParentheses, U = MoneyUnsigned, B = MoneyBlankZero;
    struct Case {
        int64_t cents;
        unsigned flags;
        const char* text;
    };
    // clang-format off
    for (Case c : {Case{0, 0, "0.00"}, {0, T, "0.00"}, {0, B, ""}, {0, B | T, ""}, {7, 0, "0.07"},
                   {-7, 0, "-0.07"}, {7, B, "0.07"}, {123456, 0, "1234.56"}, {-123456, 0, "-1234.56"},
                   {12345, T, "123.45"}, {123456, T, "1,234.56"}, {12345678, T, "123,456.78"},
                   {100000000, T, "1,000,000.00"}, {-123456789, T, "-1,234,567.89"},
                   {min, T, "-92,233,720,368,547,758.08"}, {max, 0, "92233720368547758.07"},
                   {-123456, T | P, "(1,234.56)"}, {123456, T | P, " 1,234.56 "}, {0, P, " 0.00 "},
                   {-123456, U, "1234.56"}, {-123456, U | P, "1234.56"},
                   {123456, U | P | T, "1,234.56"}}) {
        // clang-format on
        EXPECT_EQ(TMoney::FromCents(c.cents).Format(c.flags), c.text) << c.cents << " " << c.flags;
    }
}

TEST(MoneyTest, FormatCentsForLedgers) {
    EXPECT_EQ(FormatCents(123456, false, true), "1,234.56");
    EXPECT_EQ(FormatCents(-123456, true, true), "(1,234.56)");
    EXPECT_EQ(FormatCents(123456, true, false), " 1,234.56 ");
    EXPECT_EQ(FormatCents(0, false, false), "");
    EXPECT_EQ(FormatCents(0, true, true), " 0.00 ");
    EXPECT_EQ(FormatCents(std::numeric_limits<int32_t>::min(), false, true), "-21,474,836.48");
}

TEST(EvaluateAmountTest, NumbersOperatorsSignsAndRounding) {
    struct Case {
        const char* text;
        double value;
    };
    // clang-format off
    for (Case c : {
             // Plain numbers; commas are dropped and a plain number is not rounded.
             Case{"1,234.50", 1234.5}, {"12", 12}, {" 12.5 ", 12.5}, {".5", 0.5}, {"5.", 5},
             {"-5", -5}, {"1,2,3", 123}, {"1.234567", 1.234567}, {"", 0}, {",,,", 0},
             // Passes and precedence; powers bind to the right.
             {"(2-5)*3", -9}, {"-5*3", -15}, {"2*(3+4)", 14}, {"2^3^2", 64}, {"8/2/2", 2},
             {"2-3-4", -5}, {"2+3*4", 14}, {"2*3^2", 18}, {"12.5*2", 25}, {" 12 + 3 ", 15},
             {"((1+2)*(3+4))/7", 3},
             // A minus at the start of an operand is its sign, and belongs to a power's base.
             {"5--3", 8}, {"5*-3", -15}, {"5 - -3", 8}, {"5-(2-5)", 8}, {"- 5", -5},
             {"-2^3", -8}, {"-2^2", 4}, {"(1-3)^3", -8}, {"2^-1", 0.5}, {"-2^-1", -0.5},
             {"4^0.5", 2}, {"-4^0.5", 2}, {"0^0", 1},
             // Intermediate results carry four decimals; a group is written back as text with
             // five, so a digit before it joins the written value.
             {"10/3*3", 9.9999}, {"2/3", 0.6667}, {"1.234567*1", 1.2346},
             {"0.00004+0.00004", 0.0001}, {"0.00001*0.4", 0}, {"(1.234567)", 1.23457},
             {"(0.000004)", 0}, {"(1/3)*3", 0.9999}, {"2(3)", 23}}) {
        // clang-format on
        EXPECT_DOUBLE_EQ(EvaluateAmount(c.text), c.value) << c.text;
    }
}

TEST(EvaluateAmountTest, InvalidTextGivesZero) {
    // clang-format off
    for (const char* text : {"$5", "5$", "abc", "1e5", "1e999", "5\t", "(5", "5)", ")5(", "(5))(",
                             "5/0", "5/(1-1)", "0^-1", "5+", "+5", "*5", "5**2", "--5", "5*--3",
                             "1.2.3", ".", "-", "()", "5 5", "(2)(3)", "-(0-3)",
                             "\xE2\x82\xAC" "5"}) {
        // clang-format on
        EXPECT_EQ(EvaluateAmount(text), 0.0) << text;
    }
}

TEST(EvaluateAmountTest, OverflowIsAnErrorNotInfinity) {
    EXPECT_NEAR(EvaluateAmount("9^9^9") / 1.9662705047555291e77, 1.0, 1e-12);
    for (const std::string& text : std::initializer_list<std::string>{
             "9^9^9^9", "10^308*10", "(10^308)*10", "-10^309", std::string(400, '9')})
        EXPECT_EQ(EvaluateAmount(text), 0.0) << text;
    EXPECT_DOUBLE_EQ(EvaluateAmount("10^300/10^299"), 10.0);
    EXPECT_EQ(TMoney(EvaluateAmount("10^15")).Cents(), 0);
}

TEST(EvaluateAmountTest, LongAndDeeplyNestedTexts) {
    const size_t depth = 200000;
    std::string nested = std::string(depth, '(') + "1.5" + std::string(depth, ')');
    EXPECT_DOUBLE_EQ(EvaluateAmount(nested), 1.5);
    EXPECT_EQ(EvaluateAmount(std::string(depth, '(') + "1.5" + std::string(depth - 1, ')')), 0.0);

    std::string sum = "0";
    for (int i = 0; i < 100000; ++i)
        sum += "+0.01";
    EXPECT_NEAR(EvaluateAmount(sum), 1000.0, 1e-6);

    std::string groups;
    for (int i = 0; i < 20000; ++i)
        groups += "(9^300)*";
    groups += "1";
    EXPECT_EQ(EvaluateAmount(groups), 0.0);  // infinite on the way: an error

    EXPECT_DOUBLE_EQ(EvaluateAmount(std::string(100000, '0') + "7"), 7.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount(std::string(100000, ',') + "7"), 7.0);
}

}  // namespace
