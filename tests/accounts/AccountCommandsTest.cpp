#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ScriptedUI.h"
#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "tests/support/ScriptedAccountDialogs.h"
#include "tests/support/ScriptedWindows.h"

namespace {

class AccountCommandsTest : public ::testing::Test {
protected:
    AccountCommandsTest() { list.SetReferences(&refs); }
    TAccountRoot* Root() { return list.GetAccountRoot(); }
    TAccount* Find(const std::string& name) { return list.GetAccount(list.FindId(name)); }

    TScriptedUI ui;
    TScriptedAccountDialogs dialogs;
    TRecordingWindows windows;
    TFakeAccountReferences refs;
    TAccountList list;
};

TEST_F(AccountCommandsTest, NewAccountsWithAndWithoutTheDialog) {
    refs.noEnvelopes = true;
    EXPECT_FALSE(Root()->NewAccount("Wallet", "", 3, "Unallocated"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "You must have at least one Envelope in the Envelope List before you can create a "
              "new Account.  Create at least one Envelope and then create new Accounts.");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(list.GetIdList().GetSize(), 0u);  // no id was used up
    refs.noEnvelopes = false;

    // Preset values: the default envelope is looked up by name, none when unknown.
    ASSERT_TRUE(Root()->NewAccount("Checking", "Main", 2, "rent"));
    ASSERT_TRUE(Root()->NewAccount(std::string(40, 'n'), "", 1, "Nowhere"));
    EXPECT_EQ(Find("Checking")->GetData().defaultEnvelope, 2u);
    EXPECT_EQ(Find("Checking")->GetData().kind, 2u);
    EXPECT_EQ(Find(std::string(31, 'n'))->GetData().defaultEnvelope, 0u);

    // Through the dialog: cancelled gives the id up; the name check refuses an empty name and a
    // taken one (byte for byte, the root's included), beeping each time.
    EXPECT_FALSE(Root()->NewAccount());
    EXPECT_EQ(list.GetIdList().GetEntry(3), TIdList::Released);
    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        EXPECT_EQ(b.kind, 1u);
        EXPECT_NE(b.envelopes, nullptr);
        EXPECT_FALSE(b.checkName(""));
        EXPECT_FALSE(b.checkName("Checking"));
        EXPECT_FALSE(b.checkName("Accounts"));
        b.name = "checking";
        b.kind = 5;
        return b.checkName(b.name);
    });
    ui.messages.clear();
    ASSERT_TRUE(Root()->NewAccount());
    EXPECT_EQ(Find("checking")->GetData().kind, 5u);
    EXPECT_EQ(Root()->GetFirstChild(), Find("checking"));
    EXPECT_EQ(ui.messages.size(), 3u);  // each refusal told, with a beep
    EXPECT_EQ(ui.beeps, 3);

    // A dialog that lets a taken name through still adds nothing.
    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        b.name = "Checking";
        return true;
    });
    EXPECT_FALSE(Root()->NewAccount());
    EXPECT_EQ(list.CountAccounts(), 3u);
}

TEST_F(AccountCommandsTest, EditingProperties) {
    ASSERT_TRUE(Root()->NewAccount("Cash", "Pocket", 3, "Food"));
    TAccount* cash = Find("Cash");
    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        EXPECT_EQ(b.defaultEnvelope, 3u);
        EXPECT_TRUE(b.checkName("Cash"));  // its own name is not taken
        b.name = "Wallet";
        b.defaultEnvelope = 1;
        b.description = std::string(2000, 'd');
        return true;
    });
    ASSERT_TRUE(cash->EditProperties());
    EXPECT_STREQ(cash->GetName(), "Wallet");
    EXPECT_EQ(cash->GetData().defaultEnvelope, 1u);
    EXPECT_EQ(std::string(cash->GetData().description), std::string(1023, 'd'));
    EXPECT_EQ(windows.viewRefreshes, 1);  // ledgers show account names

    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        b.name = "Changed";
        return false;
    });
    EXPECT_FALSE(cash->EditProperties());
    EXPECT_STREQ(cash->GetName(), "Wallet");

    dialogs.rootEdits.push_back([](TAccountRootBuffer& b) {
        EXPECT_FALSE(b.checkName("Wallet"));
        b.name = "Mine";
        return true;
    });
    EXPECT_TRUE(Root()->EditProperties());
    EXPECT_STREQ(Root()->GetName(), "Mine");
    EXPECT_EQ(windows.viewRefreshes, 1);
}

TEST_F(AccountCommandsTest, DeletingAccountsAndGroups) {
    dialogs.NameGroup("Closed");
    ASSERT_TRUE(Root()->NewGroup());
    auto* closed = dynamic_cast<TAccountGroup*>(list.FindById(1));
    ASSERT_TRUE(closed->NewAccount("Quiet", "", 1, "Food"));
    ASSERT_TRUE(closed->NewAccount("Busy", "", 1, "Food"));
    TAccount* busy = Find("Busy");
    refs.accountsWithTransactions = {busy->GetId()};

    EXPECT_FALSE(closed->Delete());
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Account Group \"Closed\" is not empty.  You cannot delete groups that are not "
              "empty.  Delete or move contents first.");

    // No transactions: gone without a question.
    EXPECT_TRUE(Find("Quiet")->Delete());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(list.GetIdList().GetEntry(2), TIdList::Released);

    // With transactions: asked, and No keeps everything.
    ui.answers = {TMsgResult::No};
    EXPECT_FALSE(busy->Delete());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(ui.messages[1].text.substr(0, 56),
              "Deleting an account can significantly change your data. ");
    EXPECT_TRUE(refs.deleted.empty());
    ui.answers = {TMsgResult::Yes};
    EXPECT_TRUE(busy->Delete());
    EXPECT_EQ(refs.deleted, std::vector<uint32_t>{3});
    EXPECT_EQ(list.FindById(3), nullptr);

    // The group, now empty, can go; the root never.
    EXPECT_TRUE(closed->Delete());
    EXPECT_EQ(Root()->GetFirstChild(), nullptr);
    EXPECT_FALSE(Root()->Delete());
    ASSERT_TRUE(Root()->NewAccount("Next", "", 1, "Food"));
    EXPECT_EQ(Find("Next")->GetId(), 4u);  // released ids are not handed out again

    ASSERT_TRUE(Root()->NewAccount("Other", "", 1, "Rent"));
    list.ReplaceDefaultEnvelope(3, 1);
    EXPECT_EQ(Find("Next")->GetData().defaultEnvelope, 1u);
    EXPECT_EQ(Find("Other")->GetData().defaultEnvelope, 2u);
}

}  // namespace
