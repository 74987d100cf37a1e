// dump, convert, check, add and report, run as a user would on files we build through the domain.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetCheck.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/XTemplate.h"
#include "plan/XTemplateManager.h"
#include "tests/support/CliRunner.h"
#include "tests/support/SavedBudget.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace fs = std::filesystem;

namespace {

class BudgetCommandsTest : public TCliFolderTest {
protected:
    // A small budget: two accounts, a bundle with an envelope, an envelope with a
    // Windows-1252 name, and balances that agree unless told otherwise. The balances are posted
    // directly unless a transaction is to carry them, as it must for the budget to be sound.
    fs::path MakeBudget(const std::string& name, bool balanced, bool byTransaction = false) {
        return SaveBudget(root / name, [&](TQuilletData& doc) {
            TEnvelopeRoot* envelopes = doc.GetEnvelopes().GetEnvelopeRoot();
            EXPECT_TRUE(envelopes->NewEnvelope("Caf\xE9", true));
            EXPECT_TRUE(envelopes->NewEnvelope("Rent", true));
            TAccountRoot* accounts = doc.GetAccounts().GetAccountRoot();
            EXPECT_TRUE(accounts->NewAccount("Checking", "Main account", 1, ""));
            EXPECT_TRUE(accounts->NewAccount("Visa", "", 5, "Caf\xE9"));
            uint32_t checking = doc.GetAccounts().FindId("Checking");
            uint32_t cafe = doc.GetEnvelopes().FindId("Caf\xE9");
            if (byTransaction) {
                TXRecord r;
                r.Init(TDate(1, 2, 2024));
                r.flags = XNewAccountRecord;
                r.account = checking;
                r.envelope = cafe;
                TXItem* item = doc.GetXManager().NewItem(r);
                item->SetAmount(12345);
                doc.GetXManager().Release(item);
            } else {
                doc.GetAccounts().ChangeBalance(checking, 12345);
                doc.GetEnvelopes().ChangeBalance(cafe, balanced ? 12345 : 100);
            }
            doc.Settings().SetString("importer.IMPORTXCODEPOS", "credit", 7);
            auto bills = std::make_unique<TXTemplate>(&doc.GetTemplates());
            bills->SetName("Bills");
            bills->GetItems().Append(cafe, 30000, "Food");
            bills->GetItems().Append(cafe, 10000, "Power");
            doc.GetTemplates().Add(std::move(bills));
        });
    }
};

std::vector<uint8_t> Bytes(const fs::path& p) {
    return TTempFolder::ReadFile(p);
}

TEST_F(BudgetCommandsTest, DumpShowsTheWholeBudgetAsJson) {
    fs::path budget = MakeBudget("a.qlt", true);
    RunResult dump = Run("dump '" + budget.string() + "'");
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_TRUE(JsonChecker(dump.out).Check()) << dump.out;
    for (const char* expected :
         {"\"documentVersion\": 5", "\"type\": \"account\"", "\"name\": \"Checking\"",
          "\"description\": \"Main account\"", "\"kind\": 5", "\"balance\": 12345",
          "\"name\": \"Caf\xC3\xA9\"",  // converted to UTF-8
          "\"type\": \"envelope\"", "\"inPlan\": true", "\"watchdog\": true",
          "\"transactions\": []", "\"name\": \"Bills\"",
          "\"description\": \"Food\"",  // the first item too
          "\"description\": \"Power\"", "\"windows\":", "\"key\": \"importer.IMPORTXCODEPOS\"",
          "\"qualifier\": 7"})
        EXPECT_NE(dump.out.find(expected), std::string::npos) << expected;
}

TEST_F(BudgetCommandsTest, ConvertKeepsCurrentFilesByteForByteAndCheckFindsImbalance) {
    fs::path budget = MakeBudget("a.qlt", true, true);
    // The first save of a new budget gives its envelope root an id on the next read, so
    // convert once, then a second conversion must give the same bytes.
    ASSERT_EQ(Run("convert '" + budget.string() + "' '" + (root / "b.qlt").string() + "'").status,
              0);
    ASSERT_EQ(Run("convert '" + (root / "b.qlt").string() + "' '" + (root / "c.qlt").string() + "'")
                  .status,
              0);
    EXPECT_EQ(Bytes(root / "b.qlt"), Bytes(root / "c.qlt"));

    RunResult sound = Run("check '" + budget.string() + "'");
    EXPECT_EQ(sound.status, 0) << sound.out << sound.err;

    fs::path bad = MakeBudget("bad.qlt", false);
    RunResult unsound = Run("check '" + bad.string() + "'");
    EXPECT_EQ(unsound.status, 1);
    EXPECT_NE(unsound.out.find("123.45"), std::string::npos) << unsound.out;
}

TEST_F(BudgetCommandsTest, UnreadableFilesGiveAClearMessage) {
    fs::path budget = MakeBudget("a.qlt", true);
    std::vector<uint8_t> bytes = Bytes(budget);

    auto write = [&](const std::string& name, const std::vector<uint8_t>& b) {
        return root.Write(name, b);
    };
    // Truncated anywhere: status 2 and a reason, never a crash.
    for (size_t cut : {size_t{0}, size_t{3}, size_t{40}, bytes.size() / 2, bytes.size() - 1}) {
        std::string p = write("cut.qlt", std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
        for (const char* command : {"dump", "check"}) {
            RunResult r = Run(std::string(command) + " '" + p + "'");
            EXPECT_EQ(r.status, 2) << command << " cut " << cut;
            EXPECT_NE(r.err.find("cut.qlt"), std::string::npos) << r.err;
        }
    }
    // A newer document version (the class version word right after the class name).
    std::vector<uint8_t> newer = bytes;
    const std::string name = "TQuilletData";
    auto at = std::search(newer.begin(), newer.end(), name.begin(), name.end());
    ASSERT_NE(at, newer.end());
    *(at + static_cast<long>(name.size())) = 6;
    RunResult r = Run("dump '" + write("newer.qlt", newer) + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("newer version"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Attempt to open new format file."), std::string::npos) << r.err;

    RunResult missing = Run("check '" + (root / "nope.qlt").string() + "'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(Run("dump").status, 2);
}

TEST_F(BudgetCommandsTest, AddPostsAsTypedAndItsRefusalsChangeNothing) {
    fs::path budget = MakeBudget("a.qlt", true, true);
    const std::string add = "add '" + budget.string() + "' ";
    const std::vector<uint8_t> before = Bytes(budget);
    for (const char* bad : {"--account Nope --envelope Rent --amount 5",
                            "--account Checking --envelope Nope --amount 5",
                            "--account Checking --envelope Rent --amount 5x",
                            "--account Checking --envelope Rent --amount 0",
                            "--account Checking --envelope Rent --amount 5 --date 13/40/2024",
                            "--from-account Checking --to-account Checking --amount 5",
                            "--from-envelope Rent --to-envelope Checking --amount 5",
                            "--account Checking --to-envelope Rent --amount 5"}) {
        RunResult r = Run(add + bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("quillet-cli add: "), std::string::npos) << bad << r.err;
    }
    EXPECT_EQ(Bytes(budget), before);

    RunResult pay = Run(add +
                        "--account Checking --envelope Rent --amount '-12.5*2' --date 3/4/2024 "
                        "--code 101 --payee Landlord --memo March");
    EXPECT_EQ(pay.out, "added 2\n") << pay.err;
    RunResult accounts = Run(add + "--from-account Checking --to-account Visa --amount 100");
    EXPECT_EQ(accounts.out, "added 3 4\n") << accounts.err;
    RunResult envelopes = Run(add + "--from-envelope 'Caf\xC3\xA9' --to-envelope Rent --amount 10");
    EXPECT_EQ(envelopes.out, "added 5 6\n") << envelopes.err;

    std::string error;
    std::unique_ptr<TQuilletData> doc = LoadBudgetFile(budget.string(), error);
    ASSERT_TRUE(doc) << error;
    TCurrentDocument current(*doc);
    EXPECT_EQ(CheckBudget(*doc), std::vector<std::string>{});
    TAccountList& a = doc->GetAccounts();
    TEnvelopeList& e = doc->GetEnvelopes();
    EXPECT_EQ(a.GetBalance(a.FindId("Checking")).Cents(), 12345 - 2500 - 10000);
    EXPECT_EQ(a.GetBalance(a.FindId("Visa")).Cents(), 10000);
    EXPECT_EQ(e.GetBalance(e.FindId("Caf\xE9")).Cents(), 12345 - 1000);
    EXPECT_EQ(e.GetBalance(e.FindId("Rent")).Cents(), -2500 + 1000);
    const TXRecord* paid = doc->GetXManager().FindRecord(2);
    ASSERT_TRUE(paid);
    EXPECT_EQ(std::make_tuple(paid->amount, paid->date, paid->GetCode(), paid->GetPayableTo(),
                              paid->GetMemo()),
              std::make_tuple(-2500, TDate(4, 3, 2024).Key(), std::string("101"),
                              std::string("Landlord"), std::string("March")));
}

// An account "Caf\xE9 Card" with one payment of 12.34 to "B\xE4ckerei" on 2 March 2024.
TEST_F(BudgetCommandsTest, ReportWritesTheExportBytesAndRefusesBadInput) {
    const std::string budget =
        "'" +
        SaveBudget(root / "b.qlt",
                   [](TQuilletData& doc) {
                       EXPECT_TRUE(doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Food", true));
                       EXPECT_TRUE(doc.GetAccounts().GetAccountRoot()->NewAccount("Caf\xE9 Card",
                                                                                  "", 5, "Food"));
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
                   }) +
        "'";
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
