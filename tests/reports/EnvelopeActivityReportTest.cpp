// The envelope activity figures from one walk over the records, and their text.
#include <gtest/gtest.h>

#include <memory>

#include "reports/EnvelopeActivityReport.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/transactions/XBudgetFixture.h"

namespace {

using namespace reporttest;

class EnvelopeActivityReportTest : public xtest::XBudgetTest {
protected:
    uint32_t bills = 0, water = 0, power = 0;

    void SetUp() override {
        XBudgetTest::SetUp();
        bills = doc.GetEnvelopes().FindId("Bills");
        TEnvelopeNode* bundle = doc.GetEnvelopes().FindById(bills);
        ASSERT_TRUE(bundle->NewEnvelope("Water"));
        ASSERT_TRUE(bundle->NewEnvelope("Power"));
        water = doc.GetEnvelopes().FindId("Water");
        power = doc.GetEnvelopes().FindId("Power");
    }

    // A record as it lies in the store; the report reads records, not balances.
    void Add(uint32_t flags, uint32_t envelope, int32_t amount, TDate date) {
        TXRecord r;
        r.Init(today);
        r.flags = flags;
        r.account = (flags & XAccount) ? checking : 0;
        r.envelope = envelope;
        r.amount = amount;
        r.date = date.Key();
        Store().NewRecord(r);
    }

    std::unique_ptr<TEnvelopeActivityReport> Run(uint32_t node,
                                                 TEnvelopeActivityColumns columns = {}) {
        auto report = std::make_unique<TEnvelopeActivityReport>();
        report->Prepare(doc, {node, TDate(1, 5, 2024), TDate(31, 5, 2024), columns});
        return report;
    }
};

const TEnvelopeActivityRow& RowNamed(const TEnvelopeActivityReport& report, const char* name) {
    for (const TEnvelopeActivityRow& row : report.Rows())
        if (row.name == name) return row;
    throw std::runtime_error(name);
}

TEST_F(EnvelopeActivityReportTest, CountsEachRecordOnceByDateKindAndState) {
    const uint32_t plain = XCommitted | XAccount;
    Add(plain, water, 10000, TDate(30, 4, 2024));  // the day before From: Start only
    Add(plain, water, 10000, TDate(1, 5, 2024));   // From and To count
    Add(plain, water, 10000, TDate(31, 5, 2024));
    Add(plain, water, 10000, TDate(1, 6, 2024));  // after To: nowhere
    Add(plain, water, -3000, TDate(10, 5, 2024));
    Add(XCommitted | XKindEnvelopeTransfer, water, -1500, TDate(20, 4, 2024));  // into Start
    Add(XCommitted | XKindEnvelopeTransfer, power, 5000, TDate(15, 5, 2024));
    Add(XCommitted | XKindEnvelopeTransfer, food, -5000, TDate(15, 5, 2024));
    // Account transfer halves count nowhere, not even in Start, whatever envelope they carry.
    Add(XCommitted | XKindAccountTransfer, water, 4000, TDate(20, 4, 2024));
    Add(XCommitted | XKindAccountTransfer, water, 4000, TDate(12, 5, 2024));
    // Uncommitted records count nowhere.
    Add(XAccount, water, 7000, TDate(12, 5, 2024));
    Add(XAccount, water, 7000, TDate(12, 4, 2024));
    // A multiple counts through its parts.
    Add(XCommitted | XKindMultiple, 0, -2500, TDate(6, 5, 2024));
    Add(XCommitted | XKindPart, power, -2500, TDate(6, 5, 2024));
    Add(plain, power, -2000, TDate(5, 5, 2024));
    Add(plain, rent, 9900, TDate(5, 5, 2024));  // outside the bundle

    auto report = Run(bills);
    ASSERT_EQ(report->Rows().size(), 3u);
    EXPECT_EQ(report->Rows()[0].name, "Bills");

    const TEnvelopeActivityRow& w = RowNamed(*report, "Water");
    EXPECT_EQ(std::make_tuple(w.start, w.allocations, w.expenses, w.transfersIn, w.transfersOut),
              std::make_tuple(8500, 20000, 3000, 0, 0));
    const TEnvelopeActivityRow& p = RowNamed(*report, "Power");
    EXPECT_EQ(std::make_tuple(p.start, p.allocations, p.expenses, p.transfersIn, p.transfersOut),
              std::make_tuple(0, 0, 4500, 5000, 0));
    const TEnvelopeActivityRow& b = report->Rows()[0];
    EXPECT_EQ(std::make_tuple(b.start, b.allocations, b.expenses, b.transfersIn, b.transfersOut),
              std::make_tuple(8500, 20000, 7500, 5000, 0));
    EXPECT_EQ(b.End(), 26000);

    // Over the whole tree the other half of the transfer shows as Food's X-Out.
    auto all = Run(doc.GetEnvelopes().GetEnvelopeRoot()->GetId());
    EXPECT_EQ(all->Rows().size(), 7u);
    EXPECT_EQ(RowNamed(*all, "Food").transfersOut, 5000);
    EXPECT_EQ(RowNamed(*all, "Food").End(), -5000);
    EXPECT_EQ(all->Rows()[0].transfersIn, 5000);
    EXPECT_EQ(all->Rows()[0].allocations, 29900);
}

TEST_F(EnvelopeActivityReportTest, TextHasTheTickedColumnsAndCarriageReturnsOnly) {
    Add(XCommitted | XAccount, water, 123456, TDate(2, 5, 2024));
    Add(XCommitted | XAccount, power, -2000, TDate(2, 4, 2024));

    TEnvelopeActivityColumns allocAndEnd{true, false, false, false, false, false, false, true};
    auto report = Run(bills, allocAndEnd);
    const std::string expected =
        "Envelope\tAlloc\tEnd\r"
        "Bills\t 1,234.56 \t 1,214.56 \r"
        "Power\t 0.00 \t(20.00)\r"
        "Water\t 1,234.56 \t 1,234.56 \r";
    EXPECT_EQ(report->GetText(), expected);
    EXPECT_EQ(report->GetFileText(), expected);

    auto names = Run(
        bills, TEnvelopeActivityColumns{false, false, false, false, false, false, false, false});
    EXPECT_EQ(names->GetText(), "Envelope\rBills\rPower\rWater\r");

    // The printed table: the name takes what the two amount columns leave.
    EXPECT_EQ(std::string(Field(*report, 1, 1).text, 6),
              std::string("\x03\x50\x0A\x0A\x37\x00", 6));
    TFormFieldInfo title = Field(*report, 1, 2);
    EXPECT_STREQ(title.text, "Envelope Activity Report from 05/01/2024 to 05/31/2024");
    EXPECT_EQ(title.flags, uint32_t(TextCentre | TextBold));
    TFormFieldInfo cell = Cell(*report, 1, 1, 3, 3);
    EXPECT_STREQ(cell.text, "(20.00)");
    EXPECT_EQ(cell.flags, uint32_t(TextRight));
    EXPECT_EQ(report->GetPageCount(), 1);
}

}  // namespace
