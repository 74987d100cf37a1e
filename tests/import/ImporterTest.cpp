// Statement import into a budget: matching, clearing and adding, then the same statement again;
// and the console command run as a user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "import/ImportDialogs.h"
#include "import/ImportOptions.h"
#include "import/Importer.h"
#include "tests/support/CliRunner.h"
#include "tests/support/SavedBudget.h"
#include "tests/support/ScriptedImportDialogs.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/transactions/XBudgetFixture.h"

namespace fs = std::filesystem;

namespace {

// Check 1001 posted 55.00 where 50.00 was entered; a 20.00 payment without a number; a
// deposit nobody entered yet.
constexpr const char* Statement =
    "OFXHEADER:100\r\n<OFX><BANKTRANLIST>\r\n"
    "<STMTTRN><TRNTYPE>CHECK<DTPOSTED>20240504120000<TRNAMT>-55.00<CHECKNUM>1001"
    "<NAME>Landlord</STMTTRN>\r\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20240504<TRNAMT>-20.00<NAME>Grocer</STMTTRN>\r\n"
    "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20240506<TRNAMT>100.00<NAME>Payroll"
    "<MEMO>May</STMTTRN>\r\n</BANKTRANLIST></OFX>\r\n";

fs::path WriteStatement(const TTempFolder& dir) {
    fs::path path = dir / "May.OFX";
    std::ofstream(path, std::ios::binary) << Statement;
    return path;
}

class ImporterTest : public xtest::XBudgetTest {
protected:
    TScriptedImportDialogs dialogs;
    TRecordingWindows windows;
    TSettingsList config;
    TTempFolder dir;

    uint32_t Entered(const char* code, const char* amount, TDate date) {
        TXItem* row = NewRow(XAccount, checking, food, date);
        row->SetCellText(XColCode, code);
        row->SetCellText(XColPayableTo, "Someone");
        row->SetCellText(XColPayment, amount);
        uint32_t id = row->GetId();
        Store().Release(row);
        return id;
    }
    const TXRecord& Record(uint32_t id) { return *Store().FindRecord(id); }
    int32_t Setting(const char* key) { return doc.Settings().GetInt(key, -1, checking); }
};

TEST_F(ImporterTest, MatchesClearsAndAddsThenFindsNothingNewTheSecondTime) {
    uint32_t check = Entered("1001", "50.00", {1, 5, 2024});
    uint32_t grocer = Entered("", "20.00", {3, 5, 2024});
    uint32_t far = Entered("", "20.00", {12, 5, 2024});  // eight days off: the nearer one wins
    dialogs.account = checking;
    fs::path statement = WriteStatement(dir);
    uint32_t before = Store().GetCount();

    ImportStatement(doc, config, TStatementKind::Ofx, statement.string());

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(ui.messages[0].text,
              "The amount that posted at your bank for check 1001 is not the same as the amount "
              "you entered in Quillet. The bank posted $-55.00. You entered $-50.00. Quillet "
              "will adjust the amount.");
    EXPECT_EQ(Record(check).amount, -5500);
    EXPECT_EQ(TDate(Record(check).accountCleared), TDate(4, 5, 2024));
    EXPECT_EQ(Record(check).newlyImported, 1);
    EXPECT_EQ(TDate(Record(grocer).accountCleared), TDate(4, 5, 2024));
    EXPECT_EQ(Record(far).accountCleared, XNotCleared);
    EXPECT_EQ(Record(far).newlyImported, 0);

    ASSERT_EQ(Store().GetCount(), before + 1);
    const TXRecord* added = nullptr;
    for (uint32_t pos = 1; pos <= Store().GetCount(); ++pos)
        if (Store().RecordAt(pos).GetPayableTo() == "Payroll") added = &Store().RecordAt(pos);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->amount, 10000);
    EXPECT_EQ(added->GetCode(), "credit");
    EXPECT_EQ(added->GetMemo(), "May");
    EXPECT_EQ(added->envelope, food);
    EXPECT_EQ(TDate(added->accountCleared), TDate(6, 5, 2024));
    EXPECT_EQ(added->newlyImported, 1);
    EXPECT_TRUE(added->Has(XCommitted | XAccount));

    EXPECT_EQ(Cleared(checking), -5500 - 2000 + 10000);
    EXPECT_EQ(Balance(checking), -5500 - 2000 - 2000 + 10000);
    EXPECT_EQ(TDate(static_cast<uint32_t>(Setting(ImportKeys::OnlyNewerDate))), TDate(4, 5, 2024));
    EXPECT_EQ(windows.accountLedgers,
              (std::vector<std::pair<uint32_t, TLedgerMode>>{{checking, TLedgerMode::Normal}}));
    EXPECT_TRUE(doc.IsModified());
    ExpectSound();

    ui.messages.clear();
    ImportStatement(doc, config, TStatementKind::Ofx, statement.string());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Importer");
    EXPECT_EQ(ui.messages[0].text, NothingToImportText);
    EXPECT_EQ(Store().GetCount(), before + 1);
    EXPECT_EQ(windows.accountLedgers.size(), 1u);
    ExpectSound();
}

TEST_F(ImporterTest, CancelsAndBadInputChangeNoRecords) {
    fs::path statement = WriteStatement(dir);
    ImportStatement(doc, config, TStatementKind::Ofx, (dir / "gone.ofx").string());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "OFX Import");
    EXPECT_EQ(ui.messages[0].text, "Could not open \"" + (dir / "gone.ofx").string() +
                                       "\" for importing transactions. Check to see if the file "
                                       "exists.");
    // No account chosen, then the dialog cancelled.
    ImportStatement(doc, config, TStatementKind::Ofx, statement.string());
    dialogs.account = checking;
    dialogs.accept = false;
    ImportStatement(doc, config, TStatementKind::Ofx, statement.string());
    EXPECT_EQ(Setting(ImportKeys::Automatic), 1);  // the options were loaded for the dialog
    EXPECT_EQ(Store().GetCount(), 0u);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(ImporterTest, HeadlessOptionsFilterOldItemsAndMovePayeeToMemo) {
    std::vector<TImportItem> items(2);
    items[0].date = {1, 4, 2024};
    items[0].amount = TMoney(-700);
    items[1].date = {2, 5, 2024};
    items[1].amount = TMoney(-900);
    items[1].name = "Kiosk";
    TImportOptions options = PrepareImport(doc, config, checking, items);
    EXPECT_EQ(TDate(static_cast<uint32_t>(Setting(ImportKeys::OnlyNewerDate))), TDate(1, 4, 2024));
    options.onlyNewerDate = {1, 5, 2024};
    options.envelope = 424242;  // no envelope: the account's default takes the money
    options.copyPayableTo = 1;
    options.codeNeg = "atm";
    TImportResult result = RunImport(doc, checking, items, options);
    ASSERT_EQ(result.added.size(), 1u);
    const TXRecord& r = Record(result.added[0].id);
    EXPECT_EQ(r.GetMemo(), "Kiosk");
    EXPECT_EQ(r.GetPayableTo(), "");
    EXPECT_EQ(r.GetCode(), "atm");
    EXPECT_EQ(r.envelope, food);
    EXPECT_EQ(Setting(ImportKeys::CopyPayableTo), 1);
    ExpectSound();
}

using ImportCommandTest = TCliFolderTest;

TEST_F(ImportCommandTest, ImportsAStatementIntoASavedBudgetOnce) {
    const std::string budget = SaveBudget(root / "home.qlt", [](TQuilletData& doc) {
        ASSERT_TRUE(doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Food", true));
        ASSERT_TRUE(doc.GetAccounts().GetAccountRoot()->NewAccount("Checking", "", 1, "Food"));
    });
    const std::string files = "'" + budget + "' '" + WriteStatement(root).string() + "'";

    RunResult usage = Run("import " + files);
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("--account"), std::string::npos);
    EXPECT_EQ(Run("import " + files + " --account Nowhere").status, 1);

    RunResult first = Run("import " + files + " --account checking");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("added 05/04/2024 -55.00 \"1001\" \"Landlord\""), std::string::npos)
        << first.out;
    EXPECT_NE(first.out.find("\"credit\" \"Payroll\""), std::string::npos) << first.out;
    EXPECT_EQ(Run("check '" + budget + "'").status, 0);

    RunResult second = Run("import " + files + " --account Checking");
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out.find("added"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find(NothingToImportText), std::string::npos) << second.out;
}

}  // namespace
