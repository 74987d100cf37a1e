#include "core/Money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

int64_t CentsOf(double units) {
    return TMoney(units).Cents();
}

TEST(MoneyTest, UnitsRoundHalfAwayFromZeroInDoublePrecision) {
    EXPECT_EQ(CentsOf(1.999), 200);
    EXPECT_EQ(CentsOf(-1.236), -124);
    EXPECT_EQ(CentsOf(0.004), 0);
    EXPECT_EQ(CentsOf(-0.004), 0);
    EXPECT_EQ(CentsOf(0.0), 0);
    EXPECT_EQ(CentsOf(0.125), 13);
    EXPECT_EQ(CentsOf(-0.125), -13);
    EXPECT_EQ(CentsOf(1234.5), 123450);
    // 1.005 + 0.005 rounds to a double just below 1.01, so it stays at 100 cents.
    EXPECT_EQ(CentsOf(1.005), 100);
    EXPECT_EQ(CentsOf(2.675), 268);
}

TEST(MoneyTest, UnitsBeyondOneHundredTrillionGiveZero) {
    EXPECT_EQ(CentsOf(100000000000000.0), 10000000000000000);
    EXPECT_EQ(CentsOf(-100000000000000.0), -10000000000000000);
    EXPECT_EQ(CentsOf(100000000000000.02), 0);
    EXPECT_EQ(CentsOf(-100000000000000.02), 0);
    EXPECT_EQ(CentsOf(1e300), 0);
    EXPECT_EQ(CentsOf(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(CentsOf(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(CentsOf(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(MoneyTest, StoredCentsWidenWithTheirSign) {
    EXPECT_EQ(TMoney(int32_t{-7}).Cents(), -7);
    EXPECT_EQ(TMoney(std::numeric_limits<int32_t>::min()).Cents(), -2147483648LL);
    TMoney sum = TMoney(int32_t{2147483647}) + TMoney(int32_t{2147483647});
    EXPECT_EQ(sum.Cents(), 4294967294LL);
    EXPECT_LT(TMoney(int32_t{-1}), TMoney(int32_t{0}));
}

TEST(MoneyTest, TextIsEvaluatedThenRounded) {
    EXPECT_EQ(TMoney(std::string("10/3*3")).Cents(), 1000);
    EXPECT_EQ(TMoney(std::string("2/3")).Cents(), 67);
    EXPECT_EQ(TMoney(std::string("1,234.50")).Cents(), 123450);
    EXPECT_EQ(TMoney(std::string("$5")).Cents(), 0);
}

TEST(MoneyTest, FormatsDigitsPointAndSign) {
    EXPECT_EQ(TMoney::FromCents(0).Format(0), "0.00");
    EXPECT_EQ(TMoney::FromCents(0).Format(MoneyThousands), "0.00");
    EXPECT_EQ(TMoney::FromCents(0).Format(MoneyBlankZero), "");
    EXPECT_EQ(TMoney::FromCents(0).Format(MoneyBlankZero | MoneyThousands), "");
    EXPECT_EQ(TMoney::FromCents(7).Format(0), "0.07");
    EXPECT_EQ(TMoney::FromCents(-7).Format(0), "-0.07");
    EXPECT_EQ(TMoney::FromCents(7).Format(MoneyBlankZero), "0.07");
    EXPECT_EQ(TMoney::FromCents(123456).Format(0), "1234.56");
    EXPECT_EQ(TMoney::FromCents(-123456).Format(0), "-1234.56");
}

TEST(MoneyTest, ThousandsSeparatorsGroupTheWholePart) {
    EXPECT_EQ(TMoney::FromCents(12345).Format(MoneyThousands), "123.45");
    EXPECT_EQ(TMoney::FromCents(123456).Format(MoneyThousands), "1,234.56");
    EXPECT_EQ(TMoney::FromCents(12345678).Format(MoneyThousands), "123,456.78");
    EXPECT_EQ(TMoney::FromCents(100000000).Format(MoneyThousands), "1,000,000.00");
    EXPECT_EQ(TMoney::FromCents(-123456789).Format(MoneyThousands), "-1,234,567.89");
    EXPECT_EQ(TMoney::FromCents(std::numeric_limits<int64_t>::min()).Format(MoneyThousands),
              "-92,233,720,368,547,758.08");
    EXPECT_EQ(TMoney::FromCents(std::numeric_limits<int64_t>::max()).Format(0),
              "92233720368547758.07");
}

TEST(MoneyTest, ParenthesesAndUnsignedWrapping) {
    const TMoney negative = TMoney::FromCents(-123456);
    const TMoney positive = TMoney::FromCents(123456);
    EXPECT_EQ(negative.Format(MoneyThousands), "-1,234.56");
    EXPECT_EQ(negative.Format(MoneyThousands | MoneyParentheses), "(1,234.56)");
    EXPECT_EQ(positive.Format(MoneyThousands | MoneyParentheses), " 1,234.56 ");
    EXPECT_EQ(TMoney::FromCents(0).Format(MoneyParentheses), " 0.00 ");
    EXPECT_EQ(negative.Format(MoneyUnsigned), "1234.56");
    EXPECT_EQ(negative.Format(MoneyUnsigned | MoneyParentheses), "1234.56");
    EXPECT_EQ(positive.Format(MoneyUnsigned | MoneyParentheses | MoneyThousands), "1,234.56");
}

TEST(MoneyTest, FormatCentsForLedgers) {
    EXPECT_EQ(FormatCents(123456, false, true), "1,234.56");
    EXPECT_EQ(FormatCents(-123456, true, true), "(1,234.56)");
    EXPECT_EQ(FormatCents(123456, true, false), " 1,234.56 ");
    EXPECT_EQ(FormatCents(0, false, false), "");
    EXPECT_EQ(FormatCents(0, true, true), " 0.00 ");
    EXPECT_EQ(FormatCents(std::numeric_limits<int32_t>::min(), false, true), "-21,474,836.48");
}

TEST(EvaluateAmountTest, PlainNumbersAndCommas) {
    EXPECT_DOUBLE_EQ(EvaluateAmount("1,234.50"), 1234.5);
    EXPECT_DOUBLE_EQ(EvaluateAmount("12"), 12.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount(" 12.5 "), 12.5);
    EXPECT_DOUBLE_EQ(EvaluateAmount(".5"), 0.5);
    EXPECT_DOUBLE_EQ(EvaluateAmount("5."), 5.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("-5"), -5.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("1,2,3"), 123.0);
    // A plain number is not rounded to four decimals.
    EXPECT_DOUBLE_EQ(EvaluateAmount("1.234567"), 1.234567);
    EXPECT_EQ(EvaluateAmount(""), 0.0);
    EXPECT_EQ(EvaluateAmount(",,,"), 0.0);
}

TEST(EvaluateAmountTest, OperatorPassesAndPrecedence) {
    EXPECT_DOUBLE_EQ(EvaluateAmount("(2-5)*3"), -9.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("-5*3"), -15.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2*(3+4)"), 14.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2^3^2"), 64.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("8/2/2"), 2.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2-3-4"), -5.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2+3*4"), 14.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2*3^2"), 18.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("12.5*2"), 25.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount(" 12 + 3 "), 15.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("((1+2)*(3+4))/7"), 3.0);
}

TEST(EvaluateAmountTest, MinusAtTheStartOfAnOperandIsItsSign) {
    EXPECT_DOUBLE_EQ(EvaluateAmount("5--3"), 8.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("5*-3"), -15.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("5 - -3"), 8.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("5-(2-5)"), 8.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("- 5"), -5.0);
}

TEST(EvaluateAmountTest, PowersWithNegativeBases) {
    // The sign of the operand belongs to the base.
    EXPECT_DOUBLE_EQ(EvaluateAmount("-2^3"), -8.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("-2^2"), 4.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("(1-3)^3"), -8.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2^-1"), 0.5);
    EXPECT_DOUBLE_EQ(EvaluateAmount("-2^-1"), -0.5);
    EXPECT_DOUBLE_EQ(EvaluateAmount("4^0.5"), 2.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("-4^0.5"), 2.0);  // not an odd exponent
    EXPECT_DOUBLE_EQ(EvaluateAmount("0^0"), 1.0);
}

TEST(EvaluateAmountTest, IntermediateResultsCarryFourDecimalsAndGroupsFive) {
    EXPECT_DOUBLE_EQ(EvaluateAmount("10/3*3"), 9.9999);
    EXPECT_DOUBLE_EQ(EvaluateAmount("2/3"), 0.6667);
    EXPECT_DOUBLE_EQ(EvaluateAmount("1.234567*1"), 1.2346);
    EXPECT_DOUBLE_EQ(EvaluateAmount("0.00004+0.00004"), 0.0001);
    EXPECT_DOUBLE_EQ(EvaluateAmount("0.00001*0.4"), 0.0);
    // A group is written back with five decimals before the text around it is read.
    EXPECT_DOUBLE_EQ(EvaluateAmount("(1.234567)"), 1.23457);
    EXPECT_DOUBLE_EQ(EvaluateAmount("(0.000004)"), 0.0);
    EXPECT_DOUBLE_EQ(EvaluateAmount("(1/3)*3"), 0.9999);
    // ...as text, so a digit before it joins the written value.
    EXPECT_DOUBLE_EQ(EvaluateAmount("2(3)"), 23.0);
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
    EXPECT_EQ(EvaluateAmount("9^9^9^9"), 0.0);
    EXPECT_EQ(EvaluateAmount("10^308*10"), 0.0);
    EXPECT_EQ(EvaluateAmount("(10^308)*10"), 0.0);
    EXPECT_EQ(EvaluateAmount("-10^309"), 0.0);
    EXPECT_EQ(EvaluateAmount(std::string(400, '9')), 0.0);
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
