// The ledger reports: the ledger's transactions in the date range, their text byte for byte, and
// the printed pages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "reports/AccountLedgerReport.h"
#include "reports/EnvelopeLedgerReport.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/transactions/XBudgetFixture.h"

namespace {

using namespace reporttest;

// Template 100 as its three fields: the body table, the title line and the footer line.
class TTableFormLoader : public TTemplateLoader {
public:
    int LoadResource(uint16_t resource, std::shared_ptr<const TFormTemplate>& out) override {
        if (resource != 100) return FormNoResource;
        auto form = std::make_shared<TFormTemplate>();
        for (TFormRect r : {TFormRect{231, 247, 2428, 3079}, TFormRect{231, 137, 2428, 225},
                            TFormRect{920, 3144, 2428, 3194}})
            form->records.push_back(
                {TTemplateRecordKind::Rectangle, {{r.left, r.top}, {r.right, r.bottom}}});
        out = form;
        return FormOk;
    }
    int LoadFile(const std::string&, std::shared_ptr<const TFormTemplate>&) override {
        return FormFileFailed;
    }
};

class LedgerReportTest : public xtest::XBudgetTest {
protected:
    // A payment of 30.00 with a code and a memo and a deposit of 20.00 in May, and one payment
    // in April that the range leaves out.
    void TypeMay() {
        uint32_t id = Typed(checking, food, XColPayment, "30", TDate(3, 5, 2024));
        TXItem* row = Store().GetItem(id);
        row->SetCellText(XColCode, "101");
        row->SetCellText(XColMemo, "weekly");
        Store().Release(row);
        Typed(checking, food, XColDeposit, "20", TDate(4, 5, 2024));
        Typed(checking, food, XColPayment, "99", TDate(30, 4, 2024));
    }
    TDate from{1, 5, 2024}, to{31, 5, 2024};
};

TEST_F(LedgerReportTest, AccountLedgerTextAndFile) {
    TypeMay();
    TAccountLedgerReport report;
    report.Prepare(doc, {checking, from, to});
    const std::string text =
        "No.\tDate\tDescription/Payable To (Memo)\tEnvelope\tX\tPayment\tDeposit\n"
        "101\t05/03/24\tShop (weekly)\tFood\t\t30.00\t0.00\n"
        "\t05/04/24\tShop\tFood\t\t0.00\t20.00\n"
        "\n\t\t\tSubtotals\t\t 30.00 \t 20.00 \n"
        "\n\t\t\tTotal\t\t(10.00)\t\n";
    EXPECT_EQ(report.GetText(), text);
    EXPECT_EQ(report.GetClipboard().text, text);
    EXPECT_TRUE(report.GetClipboard().extraFormat.empty());
    EXPECT_EQ(report.GetFileText(), TextModeBytes(text));

    TAccountLedgerReport empty;
    empty.Prepare(doc, {savings, from, to});
    EXPECT_EQ(empty.GetText(),
              "No.\tDate\tDescription/Payable To (Memo)\tEnvelope\tX\tPayment\tDeposit\n"
              "\n\t\t\tSubtotals\t\t 0.00 \t 0.00 \n"
              "\n\t\t\tTotal\t\t 0.00 \t\n");
    EXPECT_EQ(empty.GetPageCount(), 1);

    // Through the page engine: the title, the header on grey, the totals and the footer.
    TTableFormLoader loader;
    TFormRecording page;
    ASSERT_EQ(empty.BuildPage(1, loader, page), FormOk);
    std::vector<std::string> texts;
    int grey = 0;
    for (const TFormOp& op : page.ops) {
        if (op.kind == TFormOp::Text && !op.text.empty()) texts.push_back(op.text);
        if (op.kind == TFormOp::Fill && op.color == 0xC4C4C4u) ++grey;
    }
    EXPECT_EQ(grey, 7);
    EXPECT_EQ(texts, (std::vector<std::string>{"No.", "Date", "Description/Payable To (Memo)",
                                               "Envelope", "X", "Payment", "Deposit", "Subtotals",
                                               " 0.00 ", " 0.00 ", "Total", " 0.00 ",
                                               "Account Ledger: Savings", "Page 1, 05/15/2024"}));
}

TEST_F(LedgerReportTest, EnvelopeLedgerShowsPartsAndTheOldClipboardLayout) {
    TypeMay();
    Multiple(checking, {{food, -1000}, {rent, -500}});
    TEnvelopeLedgerReport report;
    report.Prepare(doc, {food, from, to, false});
    EXPECT_EQ(report.GetText(),
              "No.\tDate\tDescription/Payable To (Memo)\tEnvelope\tAccount\tX\tPayment\tDeposit\n"
              "101\t05/03/24\tShop (weekly)\tFood\tChecking\t\t30.00\t0.00\n"
              "\t05/04/24\tShop\tFood\tChecking\t\t0.00\t20.00\n"
              "m.\t05/15/24\t (Split)\tFood\tChecking\t\t10.00\t0.00\n"
              "\n\t\t\t\tSubtotals\t\t 40.00 \t 20.00 \n"
              "\n\t\t\t\tTotal\t\t(20.00)\t\n");
    EXPECT_TRUE(report.GetClipboard().extraFormat.empty());

    // The file ignores the old layout; the clipboard carries it and the named format.
    report.Prepare(doc, {food, from, to, true});
    EXPECT_EQ(report.GetFileText().substr(0, 14), "No.\tDate\tDescr");
    TClipboardContent clip = report.GetClipboard();
    EXPECT_EQ(clip.text,
              "101\t05/03/24\tShop (weekly)\tFood\tChecking\t30.00\t0.00\r\n"
              "\t05/04/24\tShop\tFood\tChecking\t0.00\t20.00\r\n"
              "m.\t05/15/24\t (Split)\tFood\tChecking\t10.00\t0.00\r\n"
              "\n\t\t\t\tSubtotals\t\t 40.00 \t 20.00 \n"
              "\n\t\t\t\tTotal\t\t(20.00)\t\n");
    EXPECT_EQ(clip.extraFormat, "QUILLET ENVELOPE LEDGER");
    EXPECT_EQ(clip.extraBytes, std::string(10, '\0'));

    // The account ledger shows the multiple whole.
    TAccountLedgerReport account;
    account.Prepare(doc, {checking, from, to});
    EXPECT_EQ(account.Count(), 3u);
    EXPECT_NE(account.GetText().find("\t05/15/24\tSplit\tMultiple\t\t15.00\t0.00\n"),
              std::string::npos);
}

TEST_F(LedgerReportTest, PagesHold44TransactionsThenSubtotalsAndTotal) {
    for (int i = 0; i < 41; ++i)
        Typed(checking, food, XColPayment, "1", TDate(2, 5, 2024));
    TAccountLedgerReport report;
    report.Prepare(doc, {checking, from, to});
    ASSERT_EQ(report.GetPageCount(), 2);  // 41 + 4 rows

    TFormFieldInfo table = Field(report, 1, 1);
    EXPECT_EQ(table.type, uint32_t(FieldTable));
    EXPECT_EQ(table.flags, uint32_t(TableHorizontal | TableVertical));
    EXPECT_EQ(std::string(table.text, 10),
              std::string("\x07\x0F\x0F\x55\x23\x06\x14\x14\x2D\x00", 10));
    EXPECT_STREQ(Field(report, 1, 2).text, "Account Ledger: Checking");
    EXPECT_EQ(Field(report, 1, 2).flags, uint32_t(TextCentre | TextBold));
    EXPECT_EQ(Field(report, 2, 2).type, uint32_t(FieldNothing));
    EXPECT_STREQ(Field(report, 2, 3).text, "Page 2, 05/15/2024");
    EXPECT_EQ(Field(report, 2, 3).flags, uint32_t(TextRight));
    EXPECT_EQ(Field(report, 1, 4).type, uint32_t(FieldNothing));

    auto cell = [&](int page, int row, int column) { return Cell(report, page, 1, row, column); };
    TFormFieldInfo header = cell(2, 1, 3);
    EXPECT_STREQ(header.text, "Description/Payable To (Memo)");
    EXPECT_EQ(header.flags, uint32_t(TextCentre));
    EXPECT_EQ(header.backColor, 0xC4C4C4u);
    EXPECT_STREQ(cell(1, 42, 6).text, "1.00");  // the 41st transaction
    EXPECT_STREQ(cell(1, 43, 6).text, "");      // the empty row
    EXPECT_STREQ(cell(1, 44, 4).text, "Subtotals");
    EXPECT_STREQ(cell(1, 44, 6).text, " 41.00 ");
    EXPECT_EQ(cell(1, 44, 6).flags, uint32_t(TextRight));
    EXPECT_STREQ(cell(2, 2, 4).text, "Total");
    EXPECT_STREQ(cell(2, 2, 6).text, "(41.00)");
    EXPECT_STREQ(cell(2, 2, 2).text, "");
    EXPECT_EQ(cell(1, 2, 2).flags, uint32_t(TextCentre));
}

}  // namespace
