// quillet-cli report, run as a user would: the export bytes on standard output, and refusals.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetFile.h"
#include "app/Registration.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "platform/Platform.h"
#include "tests/support/CliRunner.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace fs = std::filesystem;

namespace {

class ReportCommandTest : public TCliFolderTest {
protected:
    void SetUp() override {
        TCliFolderTest::SetUp();
        RegisterQuilletClasses();
    }

    // An account "Caf\xE9 Card" with one payment of 12.34 to "Bäckerei" on 2 March 2024.
    std::string MakeBudget() {
        TQuilletData doc;
        TQuilletData::SetCurrent(&doc);
        EXPECT_TRUE(doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Food", true));
        EXPECT_TRUE(doc.GetAccounts().GetAccountRoot()->NewAccount("Caf\xE9 Card", "", 5, "Food"));
        TXRecord r;
        r.Init(TDate(1, 3, 2024));
        r.flags = XNewAccountRecord;
        r.account = doc.GetAccounts().FindId("Caf\xE9 Card");
        r.envelope = doc.GetEnvelopes().FindId("Food");
        r.date = TDate(2, 3, 2024).Key();
        TXItem* item = doc.GetXManager().NewItem(r);
        item->SetCellText(XColPayableTo,
                          "B\xE4"
                          "ckerei");
        item->SetAmount(-1234);
        doc.GetXManager().Release(item);
        fs::path path = root / "b.qlt";
        TLinuxPlatform platform;
        std::string error;
        EXPECT_TRUE(SaveBudgetFile(doc, path.string(), platform, error)) << error;
        TQuilletData::SetCurrent(nullptr);
        return "'" + path.string() + "'";
    }
};

TEST_F(ReportCommandTest, WritesTheExportBytesAndRefusesBadInput) {
    const std::string budget = MakeBudget();
    // The command line is UTF-8; the output keeps the budget's Windows-1252 bytes.
    RunResult ledger = Run("report account-ledger " + budget +
                           " --account 'Caf\xC3\xA9 Card' --from 3/1/2024 --to 3/31/2024");
    ASSERT_EQ(ledger.status, 0) << ledger.err;
    EXPECT_EQ(ledger.out,
              "No.\tDate\tDescription/Payable To (Memo)\tEnvelope\tX\tPayment\tDeposit\r\n"
              "\t03/02/24\tB\xE4"
              "ckerei\tFood\t\t12.34\t0.00\r\n"
              "\r\n\t\t\tSubtotals\t\t 12.34 \t 0.00 \r\n"
              "\r\n\t\t\tTotal\t\t(12.34)\t\r\n");

    RunResult activity =
        Run("report envelope-activity " + budget + " --from 3/1/24 --to 3/31/24 --columns end");
    ASSERT_EQ(activity.status, 0) << activity.err;
    EXPECT_EQ(activity.out, "Envelope\tEnd\rEnvelopes\t(12.34)\rFood\t(12.34)\r");

    for (const char* bad :
         {"report account-ledger B", "report account-ledger B --account Nobody",
          "report account-ledger B --account 'Caf\xC3\xA9 Card' --from 2/30/2024",
          "report cashflow B", "report envelope-ledger B --envelope Food --old-format",
          "report account-summary B --period Weekly",
          "report account-summary B --pdf x --clipboard"}) {
        std::string args = bad;
        args.replace(args.find(" B"), 2, " " + budget);
        RunResult r = Run(args);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_NE(r.err.find("quillet-cli report: "), std::string::npos) << bad;
    }

    // The printed form goes to a PDF file instead of standard output.
    fs::path pdf = root / "summary.pdf";
    RunResult printed = Run("report account-summary " + budget + " --pdf '" + pdf.string() + "'");
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_TRUE(printed.out.empty());
    std::ifstream in(pdf, std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    RunResult unwritable = Run("report account-summary " + budget + " --pdf '" +
                               (root / "no/such/x.pdf").string() + "'");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("cannot be written"), std::string::npos);
}

}  // namespace
