#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ScriptedUI.h"
#include "AccountFakes.h"
#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"

namespace {

class TRemovalWindow : public TListWindowPort {
public:
    void ItemChanged(TEnhancedListItem*) override {}
    void ItemsChanged(TEnhancedListItem*) override {}
    void ItemRemoved(TEnhancedListItem* item) override { removed.push_back(item); }
    std::vector<TEnhancedListItem*> removed;
};

class AccountCommandsTest : public ::testing::Test {
protected:
    AccountCommandsTest() {
        refs.envelopes.names = {"Unallocated", "Rent", "Food"};
        list.SetReferences(&refs);
    }
    TAccountRoot* Root() { return list.GetAccountRoot(); }
    TAccount* Find(const std::string& name) { return list.GetAccount(list.FindId(name)); }

    TScriptedUI ui;
    TScriptedAccountDialogs dialogs;
    TFakeAccountReferences refs;
    TAccountList list;
};

TEST_F(AccountCommandsTest, NewAccountNeedsAnEnvelope) {
    refs.envelopes.names.clear();
    dialogs.accountEdits.push_back(TScriptedAccountDialogs::Account("Cash"));
    EXPECT_FALSE(Root()->NewAccount());
    EXPECT_FALSE(Root()->NewAccount("Wallet", "", 3, "Unallocated"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].caption, "Quillet");
    EXPECT_EQ(ui.messages[0].text,
              "You must have at least one Envelope in the Envelope List before you can create a "
              "new Account.  Create at least one Envelope and then create new Accounts.");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(dialogs.accountEdits.size(), 1u);  // the dialog never opened
    EXPECT_EQ(list.CountAccounts(), 0u);
    EXPECT_EQ(list.GetIdList().GetSize(), 0u);  // no id was used up
}

TEST_F(AccountCommandsTest, NewAccountWithPresetValues) {
    ASSERT_TRUE(Root()->NewAccount("Checking", "Main bank", 2, "rent"));
    TAccount* checking = Find("Checking");
    ASSERT_NE(checking, nullptr);
    EXPECT_EQ(checking->GetParent(), Root());
    EXPECT_EQ(checking->GetData().kind, 2u);
    EXPECT_STREQ(checking->GetData().description, "Main bank");
    EXPECT_EQ(checking->GetData().defaultEnvelope, 2u);
    EXPECT_EQ(checking->GetData().balance, 0);
    EXPECT_TRUE(dialogs.accountEdits.empty());
    EXPECT_TRUE(ui.messages.empty());

    // An unknown default envelope gives none; an overlong name is cut to the field.
    ASSERT_TRUE(Root()->NewAccount(std::string(40, 'n'), "", 1, "Nowhere"));
    TAccount* longName = Find(std::string(31, 'n'));
    ASSERT_NE(longName, nullptr);
    EXPECT_EQ(longName->GetData().defaultEnvelope, 0u);
    EXPECT_EQ(Root()->GetFirstChild(), longName);

    // Asked of an account, the new one lands immediately before it.
    ASSERT_TRUE(checking->NewAccount("Before", "", 1, "Food"));
    EXPECT_EQ(Find("Before")->GetNextSibling(), checking);
}

TEST_F(AccountCommandsTest, NewAccountThroughTheDialog) {
    TAccount* first = nullptr;
    dialogs.accountEdits.push_back(TScriptedAccountDialogs::Account("Savings", 2, "Rainy day"));
    ASSERT_TRUE(Root()->NewAccount());
    first = Find("Savings");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetData().kind, 2u);
    EXPECT_STREQ(first->GetData().description, "Rainy day");
    // The dialog was given a fresh record and the envelope names.
    EXPECT_EQ(dialogs.lastAccount.name, "");
    EXPECT_EQ(dialogs.lastAccount.kind, 1u);
    EXPECT_EQ(dialogs.lastAccount.envelopes, &refs.envelopes);

    // Cancelled: nothing is added and the id is given up.
    EXPECT_FALSE(Root()->NewAccount());
    EXPECT_EQ(list.CountAccounts(), 1u);
    EXPECT_EQ(list.GetIdList().GetEntry(2), TIdList::Released);

    // The name check refuses an empty name and a taken one (byte for byte), with a beep.
    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        EXPECT_FALSE(b.checkName(""));
        EXPECT_FALSE(b.checkName("Savings"));
        EXPECT_FALSE(b.checkName("Accounts"));
        EXPECT_TRUE(b.checkName("savings"));
        b.name = "savings";
        return true;
    });
    ui.beeps = 0;
    ASSERT_TRUE(Root()->NewAccount());
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "You must provide a label.");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(ui.messages[1].text,
              "Label \"Savings\" is already in use.  You must use a unique label.");
    EXPECT_EQ(ui.beeps, 3);
    EXPECT_EQ(list.CountAccounts(), 2u);

    // A dialog that lets a taken name through still adds nothing.
    dialogs.accountEdits.push_back(TScriptedAccountDialogs::Account("Savings"));
    EXPECT_FALSE(Root()->NewAccount());
    EXPECT_EQ(list.CountAccounts(), 2u);
}

TEST_F(AccountCommandsTest, NewGroupOfferedOnGroupsAndTheRoot) {
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("Old"));
    ASSERT_TRUE(Root()->NewGroup());
    auto* old = dynamic_cast<TAccountGroup*>(list.FindById(list.FindId("Old")));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetId(), 1u);

    EXPECT_FALSE(old->NewGroup());  // cancelled
    EXPECT_EQ(list.GetIdList().GetEntry(2), TIdList::Released);
    EXPECT_EQ(old->GetFirstChild(), nullptr);

    ASSERT_TRUE(Root()->NewAccount("Cash", "", 3, "Food"));
    TAccount* cash = Find("Cash");
    EXPECT_FALSE(cash->CanNewGroup());
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("Never"));
    EXPECT_FALSE(cash->NewGroup());
    EXPECT_EQ(dialogs.groupEdits.size(), 1u);
    EXPECT_TRUE(old->CanNewGroup());
    EXPECT_TRUE(Root()->CanNewGroup());
    EXPECT_TRUE(cash->CanNewAccount());
}

TEST_F(AccountCommandsTest, EditingProperties) {
    ASSERT_TRUE(Root()->NewAccount("Cash", "Pocket", 3, "Food"));
    ASSERT_TRUE(Root()->NewAccount("Bank", "", 1, "Rent"));
    TAccount* cash = Find("Cash");

    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        EXPECT_EQ(b.name, "Cash");
        EXPECT_EQ(b.kind, 3u);
        EXPECT_EQ(b.defaultEnvelope, 3u);
        EXPECT_EQ(b.description, "Pocket");
        EXPECT_TRUE(b.checkName("Cash"));  // its own name is not taken
        b.name = "Wallet";
        b.kind = 4;
        b.defaultEnvelope = 1;
        b.description = std::string(2000, 'd');
        return true;
    });
    ASSERT_TRUE(cash->EditProperties());
    EXPECT_STREQ(cash->GetName(), "Wallet");
    EXPECT_EQ(cash->GetData().kind, 4u);
    EXPECT_EQ(cash->GetData().defaultEnvelope, 1u);
    EXPECT_EQ(std::string(cash->GetData().description), std::string(1023, 'd'));
    EXPECT_EQ(dialogs.refreshes, 1);  // ledgers show account names

    // Cancel changes nothing, whatever the dialog did to its buffer.
    dialogs.accountEdits.push_back([](TAccountBuffer& b) {
        b.name = "Changed";
        return false;
    });
    EXPECT_FALSE(cash->EditProperties());
    EXPECT_STREQ(cash->GetName(), "Wallet");

    dialogs.rootEdits.push_back([](TAccountRootBuffer& b) {
        EXPECT_EQ(b.name, "Accounts");
        EXPECT_FALSE(b.checkName("Bank"));
        b.name = "My Accounts";
        return true;
    });
    EXPECT_TRUE(Root()->EditProperties());
    EXPECT_STREQ(Root()->GetName(), "My Accounts");

    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("Cards"));
    ASSERT_TRUE(Root()->NewGroup());
    auto* cards = dynamic_cast<TAccountGroup*>(list.FindById(list.FindId("Cards")));
    dialogs.groupEdits.push_back([](TAccountGroupBuffer& b) {
        b.name = "Credit Cards";
        b.description = "Plastic";
        return true;
    });
    EXPECT_TRUE(cards->EditProperties());
    EXPECT_STREQ(cards->GetData().name, "Credit Cards");
    EXPECT_STREQ(cards->GetData().description, "Plastic");
    EXPECT_EQ(dialogs.refreshes, 1);  // only account edits refresh the ledgers
}

TEST_F(AccountCommandsTest, DeletingAccounts) {
    ASSERT_TRUE(Root()->NewAccount("Quiet", "", 1, "Food"));
    ASSERT_TRUE(Root()->NewAccount("Busy", "", 1, "Food"));
    TAccount* quiet = Find("Quiet");
    TAccount* busy = Find("Busy");
    uint32_t busyId = busy->GetId();
    refs.accountsWithTransactions = {busyId};
    TRemovalWindow window;
    list.AttachWindow(&window);

    // No transactions: gone without a question.
    uint32_t quietId = quiet->GetId();
    EXPECT_TRUE(quiet->CanDelete());
    EXPECT_TRUE(quiet->Delete());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(list.FindById(quietId), nullptr);
    EXPECT_EQ(list.GetIdList().GetEntry(quietId), TIdList::Released);
    EXPECT_EQ(window.removed, std::vector<TEnhancedListItem*>{quiet});
    EXPECT_TRUE(refs.deleted.empty());

    // With transactions: asked, and No keeps everything.
    ui.answers = {TMsgResult::No};
    EXPECT_FALSE(busy->Delete());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Quillet");
    EXPECT_EQ(ui.messages[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(ui.messages[0].text.substr(0, 70),
              "Deleting an account can significantly change your data.  All past allo");
    EXPECT_NE(ui.messages[0].text.find("Then drop this account into that group.  This would "
                                       "keep all of your previous activity intact.  Are you "
                                       "sure you want to delete this account?"),
              std::string::npos);
    EXPECT_EQ(list.FindById(busyId), busy);
    EXPECT_TRUE(refs.deleted.empty());

    ui.answers = {TMsgResult::Yes};
    EXPECT_TRUE(busy->Delete());
    EXPECT_EQ(refs.deleted, std::vector<uint32_t>{busyId});
    EXPECT_EQ(list.FindById(busyId), nullptr);
    EXPECT_EQ(list.CountAccounts(), 0u);

    // A released id is not handed out again.
    ASSERT_TRUE(Root()->NewAccount("Next", "", 1, "Food"));
    EXPECT_EQ(Find("Next")->GetId(), 3u);
    list.DetachWindow(&window);
}

TEST_F(AccountCommandsTest, DeletingGroupsAndTheRoot) {
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("Closed"));
    ASSERT_TRUE(Root()->NewGroup());
    auto* closed = dynamic_cast<TAccountGroup*>(list.FindById(list.FindId("Closed")));
    ASSERT_TRUE(closed->NewAccount("Last", "", 1, "Food"));

    EXPECT_FALSE(closed->Delete());
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Account Group \"Closed\" is not empty.  You cannot delete groups that are not "
              "empty.  Delete or move contents first.");
    EXPECT_EQ(ui.messages[0].caption, "Quillet");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(closed->GetParent(), Root());

    // Deleting its last account leaves the empty group, which can then go.
    EXPECT_TRUE(Find("Last")->Delete());
    EXPECT_EQ(closed->GetFirstChild(), nullptr);
    uint32_t closedId = closed->GetId();
    EXPECT_TRUE(closed->Delete());
    EXPECT_EQ(list.FindById(closedId), nullptr);
    EXPECT_EQ(list.GetIdList().GetEntry(closedId), TIdList::Released);

    EXPECT_FALSE(Root()->CanDelete());
    EXPECT_FALSE(Root()->Delete());
    EXPECT_EQ(list.GetRoot(), Root());
}

TEST_F(AccountCommandsTest, ReplacingADefaultEnvelope) {
    ASSERT_TRUE(Root()->NewAccount("A", "", 1, "Rent"));
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("G"));
    ASSERT_TRUE(Root()->NewGroup());
    auto* g = dynamic_cast<TAccountNode*>(list.FindById(list.FindId("G")));
    ASSERT_TRUE(g->NewAccount("B", "", 1, "Rent"));
    ASSERT_TRUE(g->NewAccount("C", "", 1, "Food"));
    list.ReplaceDefaultEnvelope(2, 1);
    EXPECT_EQ(Find("A")->GetData().defaultEnvelope, 1u);
    EXPECT_EQ(Find("B")->GetData().defaultEnvelope, 1u);
    EXPECT_EQ(Find("C")->GetData().defaultEnvelope, 3u);
}

}  // namespace
