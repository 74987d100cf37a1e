// The account summary, allocation plan and envelope summary reports, and the report settings.
#include <gtest/gtest.h>

#include "app/NewBudget.h"
#include "core/SettingsList.h"
#include "plan/AllocationPlan.h"
#include "reports/AccountSummaryReport.h"
#include "reports/AllocationPlanReport.h"
#include "reports/EnvelopeSummaryReport.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/transactions/XBudgetFixture.h"

namespace {

using namespace reporttest;
using ReportsTest = xtest::XBudgetTest;

TEST_F(ReportsTest, AccountSummaryHasNoHeaderAndLedgerStyleAmounts) {
    Typed(checking, food, XColPayment, "1234.5");
    TAccountSummaryReport report;
    report.Prepare(doc);
    EXPECT_EQ(report.GetText(), "Savings\t 0.00 \t 0.00 \nChecking\t(1,234.50)\t 0.00 \n");
    EXPECT_EQ(report.GetFileText(), "Savings\t 0.00 \t 0.00 \r\nChecking\t(1,234.50)\t 0.00 \r\n");
    EXPECT_EQ(report.GetPageCount(), 1);
    EXPECT_EQ(std::string(Field(report, 1, 1).text, 6), std::string("\x03\x32\x14\x14\x28\x00", 6));
    char title[8];
    report.GetTitle(title, sizeof title);
    EXPECT_STREQ(title, "Account");  // cut to the buffer
}

TEST_F(ReportsTest, AllocationPlanInTheChosenPeriodLeavesThePlanUnloaded) {
    TTempFolder folder;
    const std::string path = folder.Write(
        "plan.xml",
        std::string("<label>Salary Payment</label><label>Gift</label><label>Bonus</label>"
                    "<label>Side Job</label>"
                    "<label>Rent</label><amount>800</amount><amount>0</amount>"
                    "<amount>0</amount><amount>0</amount>"
                    "<label>Fun</label><amount>50</amount><amount>25.50</amount>"
                    "<amount>0</amount><amount>10</amount>"));
    TQuilletData fresh;
    TCurrentDocument current(fresh);
    ASSERT_TRUE(fresh.GetPlan().SetUpNewPlanHeadless({path, {}}));

    TAllocationPlanReport report;
    report.Prepare(fresh, {Period::Annual});
    EXPECT_FALSE(fresh.GetPlan().IsEditing());
    EXPECT_EQ(report.GetText(),
              "Envelope\tTotal\tSalary Payment\tGift\tBonus\tSide Job\n"
              "Rent\t9,600.00\t9,600.00\t0.00\t0.00\t0.00\n"
              "Fun\t1,026.00\t600.00\t306.00\t0.00\t120.00\n"
              "Total\t10,626.00\t10,200.00\t306.00\t0.00\t120.00\n");
    EXPECT_EQ(report.GetPageCount(), 1);

    EXPECT_STREQ(Field(report, 1, 2).text, "Allocation Plan - Annual");
    EXPECT_EQ(Field(report, 1, 2).flags, uint32_t(TextCentre));  // not bold
    auto cell = [&](int row, int column) {
        return std::string(Cell(report, 1, 1, row, column).text);
    };
    EXPECT_EQ(cell(1, 3), "Salary ...");
    EXPECT_EQ(cell(1, 7), "");  // no fifth plan column
    EXPECT_EQ(cell(3, 4), "306.00");
    EXPECT_EQ(cell(50, 1), "Total");  // the last row of the last page
    EXPECT_EQ(cell(50, 2), "10,626.00");
}

TEST_F(ReportsTest, EnvelopeSummaryTextAndSizes) {
    TEnvelopeNode* bundle = doc.GetEnvelopes().FindById(doc.GetEnvelopes().FindId("Bills"));
    for (const char* name : {"Gas", "Phone", "Water", "Power", "Tax"})
        ASSERT_TRUE(bundle->NewEnvelope(name));
    Typed(checking, doc.GetEnvelopes().FindId("Tax"), XColDeposit, "12.5");
    Typed(checking, food, XColPayment, "2");
    const uint32_t root = doc.GetEnvelopes().GetEnvelopeRoot()->GetId();

    TEnvelopeSummaryReport report;
    report.Prepare(doc, {doc.GetEnvelopes().FindId("Bills"), 1});
    EXPECT_EQ(report.GetText(),
              "Envelope\tBalance\rBills\t 12.50 \rTax\t 12.50 \rPower\t 0.00 \rWater\t 0.00 \r"
              "Phone\t 0.00 \rGas\t 0.00 \r");

    // Business cards: twelve headerless tables of 8 rows; ten nodes fill the first and two rows
    // of the second.
    report.Prepare(doc, {root, 2});
    ASSERT_EQ(report.Count(), 10u);
    EXPECT_EQ(report.GetPageCount(), 1);
    auto cell = [&](int field, int row, int column) { return Cell(report, 1, field, row, column); };
    EXPECT_STREQ(cell(1, 1, 1).text, "Envelopes");
    EXPECT_STREQ(cell(1, 1, 2).text, " 10.50 ");
    EXPECT_STREQ(cell(2, 2, 1).text, "Gas");
    EXPECT_STREQ(cell(2, 3, 1).text, "");
    TTemplateRef ref;
    report.GetTemplate(1, ref);
    EXPECT_EQ(ref.resource, 4);

    // The standard form: a header row on both tables, the title and the footer.
    report.Prepare(doc, {root, 1});
    EXPECT_STREQ(cell(6, 1, 2).text, "Balance");
    EXPECT_EQ(cell(6, 1, 2).backColor, 0xC4C4C4u);
    EXPECT_STREQ(Field(report, 1, 2).text, "Envelope Summary Report");
    EXPECT_EQ(Field(report, 1, 4).type, uint32_t(FieldNothing));

    int width = 0, height = 0;
    report.Prepare(doc, {root, 4});
    report.GetPageSize(width, height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(279, 216));
    // The organizer's second page is a table, not a title.
    EXPECT_EQ(Field(report, 1, 2).type, uint32_t(FieldTable));
}

TEST(ReportTextTest, SettingsDefaultsAndTextModeBytes) {
    TSettingsList settings;
    EXPECT_EQ(LoadActivityColumns(settings), TEnvelopeActivityColumns{});
    EXPECT_FALSE(LoadEnvelopeLedgerOldFormat(settings));
    TEnvelopeActivityColumns columns{false, true, true, false, false, false, false, true};
    StoreActivityColumns(settings, columns);
    StoreEnvelopeLedgerOldFormat(settings, true);
    EXPECT_EQ(settings.GetString("EnvAct.ColAlloc", ""), "0");
    EXPECT_EQ(settings.GetString("EnvAct.ColTransIn", ""), "1");
    EXPECT_EQ(settings.GetString("EnvLgr.OldFormat", ""), "1");
    EXPECT_EQ(LoadActivityColumns(settings), columns);

    EXPECT_EQ(TextModeBytes("a\nb\rc\r\n"), "a\r\nb\rc\r\r\n");
    TDate from, to;
    ThisMonth(TDate(15, 2, 2024), from, to);
    EXPECT_EQ(to, TDate(29, 2, 2024));
    EXPECT_EQ(from, TDate(1, 2, 2024));
}

}  // namespace
