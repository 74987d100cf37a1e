#include "plan/Period.h"

#include <gtest/gtest.h>

#include "plan/DateRangePreset.h"

TEST(PeriodTest, ConversionGoesThroughCentsPerYearAndRoundsHalfACentAwayFromZero) {
    using namespace Period;
    EXPECT_EQ(ConvertPeriodAmount(TMoney(10000), Monthly, Weekly).Cents(), 2308);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(2308), Weekly, Monthly).Cents(), 10001);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(100), Annual, Weekly).Cents(), 2);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(-100), Annual, Weekly).Cents(), -2);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(1), Annual, Semiannual).Cents(), 1);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(-1), Annual, Semiannual).Cents(), -1);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(1200), Monthly, Annual).Cents(), 14400);

    // "None" (or an id past the table) contributes no factor.
    EXPECT_EQ(ConvertPeriodAmount(TMoney(500), None, Monthly).Cents(), 42);  // 500 / 12
    EXPECT_EQ(ConvertPeriodAmount(TMoney(500), Monthly, None).Cents(), 6000);
    EXPECT_EQ(ConvertPeriodAmount(TMoney(500), 42, Annual).Cents(), 500);

    // Equal periods hand the amount back as it was, even one no conversion could carry.
    TMoney huge = TMoney::FromCents(int64_t{1} << 60);
    EXPECT_EQ(ConvertPeriodAmount(huge, Weekly, Weekly), huge);
    EXPECT_EQ(ConvertPeriodAmount(huge, None, None), huge);
    EXPECT_EQ(ConvertPeriodAmount(huge, Weekly, Annual), TMoney());
}

TEST(PeriodTest, PeriodTableAsAnIdList) {
    TPeriod periods;
    auto withoutNone = periods.GetStringList(1);
    ASSERT_EQ(withoutNone->Count(), 8u);
    EXPECT_EQ(withoutNone->GetAt(1), "Weekly");
    EXPECT_EQ(withoutNone->GetAt(8), "Annual");
    auto all = periods.GetStringList(3);  // only exactly 1 skips "None"
    ASSERT_EQ(all->Count(), 9u);
    EXPECT_EQ(all->GetAt(1), "None");

    EXPECT_EQ(periods.FindId("monthly"), Period::Monthly);
    EXPECT_EQ(periods.FindId("SEMIANNUAL"), Period::Semiannual);
    EXPECT_EQ(periods.FindId("Fortnightly"), Period::None);

    char buffer[5];
    periods.GetName(buffer, sizeof buffer, Period::Quarterly);
    EXPECT_STREQ(buffer, "Quar");
    periods.GetName(buffer, sizeof buffer, 9);
    EXPECT_STREQ(buffer, "");
}

namespace {

std::string Range(TDateRangePreset preset, TDate today) {
    TDate from(5, 5, 2005), to(6, 6, 2006);
    ApplyDateRangePreset(preset, today, from, to);
    return from.Format(DateShortYear) + "-" + to.Format(DateShortYear);
}

}  // namespace

TEST(DateRangePresetTest, PresetsForAFixedToday) {
    using P = TDateRangePreset;
    const TDate feb15(15, 2, 2011);
    EXPECT_EQ(Range(P::ThisMonth, feb15), "02/01/11-02/28/11");
    EXPECT_EQ(Range(P::ThisQuarter, feb15), "01/01/11-03/31/11");
    EXPECT_EQ(Range(P::ThisYear, feb15), "01/01/11-12/31/11");
    EXPECT_EQ(Range(P::LastMonth, feb15), "01/01/11-01/31/11");
    EXPECT_EQ(Range(P::LastQuarter, feb15), "10/01/10-12/31/10");
    EXPECT_EQ(Range(P::LastYear, feb15), "01/01/10-12/31/10");

    EXPECT_EQ(Range(P::ThisMonth, TDate(10, 2, 2012)), "02/01/12-02/29/12");
    EXPECT_EQ(Range(P::ThisMonth, TDate(10, 3, 2012)), "03/01/12-03/31/12");
    EXPECT_EQ(Range(P::LastMonth, TDate(31, 1, 2012)), "12/01/11-12/31/11");
    EXPECT_EQ(Range(P::ThisQuarter, TDate(30, 11, 2012)), "10/01/12-12/31/12");
    EXPECT_EQ(Range(P::LastQuarter, TDate(1, 8, 2012)), "04/01/12-06/30/12");

    // "User Defined" leaves the dates to the user.
    EXPECT_EQ(Range(P::UserDefined, feb15), "05/05/05-06/06/06");

    EXPECT_EQ(FindDateRangePreset("Last Quarter"), 5);
    EXPECT_EQ(FindDateRangePreset("last quarter"), -1);
    EXPECT_EQ(DateRangePresetNames[0], std::string("User Defined"));
}
