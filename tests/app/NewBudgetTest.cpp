// A new budget from nothing: the account wizard's starting balances, the headless sequence to a
// file, and the console commands new, plan and demo.
#include <gtest/gtest.h>

#include <filesystem>

#include "accounts/Account.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "accounts/NewAccountWizard.h"
#include "app/BudgetCheck.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/support/CliRunner.h"
#include "tests/support/ScriptedAccountWizard.h"
#include "tests/support/ScriptedUI.h"
#include "transactions/XManager.h"

namespace fs = std::filesystem;

namespace {

TAccountWizardBuffer Form(const std::string& name, float balance, TDate date = {31, 1, 2010},
                          uint32_t kind = 1) {
    TAccountWizardBuffer f;
    f.name = name;
    f.closingBalance = balance;
    f.closingDate = date;
    f.kind = kind;
    return f;
}

class NewBudgetTest : public TCliFolderTest {
protected:
    TScriptedUI ui;
    TQuilletData doc;
    TCurrentDocument current{doc};

    int64_t Unallocated(TQuilletData& d) {
        return d.GetEnvelopes().GetBalance(d.GetEnvelopes().FindId("Unallocated")).Cents();
    }
};

TEST_F(NewBudgetTest, WizardPostsStartingBalancesAndGuardsItsInput) {
    TNewPlanInput plan;
    plan.incomes[0] = 3000;
    ASSERT_TRUE(doc.GetPlan().SetUpNewPlanHeadless(plan));
    TAccountWizard wizard(doc);
    ASSERT_TRUE(wizard.AddAccount(Form("Checking", 1234.56f)));
    uint32_t checking = doc.GetAccounts().FindId("Checking");
    EXPECT_EQ(doc.GetAccounts().GetBalance(checking).Cents(), 123456);
    EXPECT_EQ(doc.GetAccounts().GetRecBalance(checking).Cents(), 123456);
    EXPECT_EQ(Unallocated(doc), 123456);
    const TXRecord& r = doc.GetXManager().RecordAt(1);
    EXPECT_EQ(r.flags & ~XDirty, XCommitted | XAccount);
    EXPECT_EQ(r.date, TDate(31, 1, 2010).Key());
    EXPECT_EQ(r.accountCleared, XClearedPending);
    EXPECT_EQ(r.created, 0u);
    EXPECT_EQ(r.GetCode(), "Start");
    EXPECT_EQ(r.GetPayableTo(), "Starting Balance");

    ASSERT_TRUE(wizard.AddAccount(Form("Visa", -250, {31, 1, 2010}, 5)));
    EXPECT_EQ(Unallocated(doc), 123456 - 25000);
    // The newest account comes first under the root.
    auto* first = dynamic_cast<TAccountNode*>(doc.GetAccounts().GetAccountRoot()->GetFirstChild());
    ASSERT_TRUE(first);
    EXPECT_STREQ(first->GetName(), "Visa");

    EXPECT_FALSE(wizard.AddAccount(Form("Visa", 10)));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Account name, \"Visa\" has already been used.  Please use a different account "
              "name.");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_TRUE(wizard.AddAccount(Form("visa", 25000000)));  // another name; amount refused
    EXPECT_EQ(doc.GetAccounts().GetBalance(doc.GetAccounts().FindId("visa")).Cents(), 0);
    EXPECT_TRUE(wizard.AddAccount(Form("", 99)));  // nothing to add
    EXPECT_EQ(doc.GetAccounts().CountAccounts(), 3u);
    EXPECT_EQ(CheckBudget(doc), std::vector<std::string>{});

    EXPECT_EQ(ClosingBalanceCents(19999998.0f), 1999999800);  // just under the limit
    EXPECT_EQ(ClosingBalanceCents(-20000000.0f), 0);
    EXPECT_EQ(ClosingBalanceCents(-0.004f), 0);
}

TEST_F(NewBudgetTest, WizardWithoutUnallocatedMakesItSoTotalsAgree) {
    std::string error;
    ASSERT_TRUE(AddAccountsHeadless(doc, {Form("Cash box", 40)}, error)) << error;
    EXPECT_EQ(Unallocated(doc), 4000);
    EXPECT_TRUE(TotalsAgree(doc));
}

TEST_F(NewBudgetTest, WizardDialogAddsKeepsRefusedFormsAndCancels) {
    TScriptedWizard pages;
    pages.pages = {{TAccountWizardButton::AddAccount, Form("Savings", 10)},
                   {TAccountWizardButton::AddAccount, Form("Savings", 20)},
                   {TAccountWizardButton::Finish, Form("Cash", 5)}};
    EXPECT_TRUE(TAccountWizard(doc).Run());
    ASSERT_EQ(pages.seen.size(), 3u);
    EXPECT_EQ(pages.seen[1].name, "");         // reset after an account was added
    EXPECT_EQ(pages.seen[2].name, "Savings");  // a refused form stays as typed
    EXPECT_EQ(doc.GetAccounts().CountAccounts(), 2u);

    // Cancelling any step of a new budget discards it (here the plan's income wizard).
    TQuilletData* before = TQuilletData::Current();
    EXPECT_EQ(CreateNewBudget(""), nullptr);
    EXPECT_EQ(TQuilletData::Current(), nullptr);
    TQuilletData::SetCurrent(before);
}

TEST_F(NewBudgetTest, ConsoleNewPlanAndDemo) {
    std::string file = (root / "Cli.qlt").string();
    RunResult made = Run("new '" + file +
                         "' --income 3000,1000 --account 'Checking;checking;1,200.50;1/31/26' "
                         "--account 'Card;Credit;-99;1/31/26'");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(Run("check '" + file + "'").status, 0);
    // The starting balances are posted, cleared; a second "new" leaves the file alone.
    EXPECT_EQ(Run("report account-summary '" + file + "'").out,
              "Card\t(99.00)\t(99.00)\r\nChecking\t 1,200.50 \t 1,200.50 \r\n");
    const std::vector<uint8_t> bytes = TTempFolder::ReadFile(file);
    EXPECT_EQ(Run("new '" + file + "' --income 10 --account 'A;Cash;1;1/1/26'").status, 1);
    EXPECT_EQ(TTempFolder::ReadFile(file), bytes);
    RunResult bad =
        Run("new '" + (root / "X.qlt").string() + "' --income 10 --account 'A;Boat;1;1/1/26'");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("unknown account kind \"Boat\""), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "X.qlt"));

    RunResult plan = Run("plan '" + file + "' --period Annual");
    ASSERT_EQ(plan.status, 0) << plan.err;
    EXPECT_EQ(plan.out.substr(0, plan.out.find('\n')), "Envelope\tTotal\tFirst\tSecond");
    // Every income is planned to the cent: the totals line holds them, by the year.
    EXPECT_NE(plan.out.find("\nTotal\t48,000.00\t36,000.00\t12,000.00\n"), std::string::npos)
        << plan.out;
    EXPECT_EQ(plan.out,
              Run("report allocation-plan '" + file + "' --period Annual --clipboard").out);
    EXPECT_EQ(Run("plan '" + file + "' --period Fortnightly").status, 2);

    std::string demo = (root / "Demo.qlt").string();
    RunResult made2 = Run("demo '" + demo + "'");
    ASSERT_EQ(made2.status, 0) << made2.err;
    std::string error;
    std::unique_ptr<TQuilletData> loaded = LoadBudgetFile(demo, error);
    ASSERT_TRUE(loaded) << error;
    TCurrentDocument now(*loaded);
    EXPECT_EQ(CheckBudget(*loaded), std::vector<std::string>{});
    EXPECT_EQ(loaded->GetAccounts().CountAccounts(), 4u);
    EXPECT_GT(loaded->GetXManager().GetCount(), 100u);
    // The program opens the demo on its two tree windows.
    EXPECT_TRUE(loaded->AccountsPlacement().open && loaded->EnvelopesPlacement().open);

    // Months that run across a new year make a sound budget too; a bad month is refused.
    std::string january2027 = (root / "January.qlt").string();
    ASSERT_EQ(Run("demo '" + january2027 + "' --month 01/2027").status, 0);
    std::unique_ptr<TQuilletData> wrapped = LoadBudgetFile(january2027, error);
    ASSERT_TRUE(wrapped) << error;
    TCurrentDocument january(*wrapped);
    EXPECT_EQ(CheckBudget(*wrapped), std::vector<std::string>{});
    EXPECT_EQ(wrapped->GetDate(), TDate(31, 10, 2026));
    EXPECT_EQ(Run("demo '" + (root / "Bad.qlt").string() + "' --month 13/2027").status, 2);
}

}  // namespace
