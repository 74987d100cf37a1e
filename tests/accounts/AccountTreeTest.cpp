#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/QuilletConfig.h"
#include "tests/support/ScriptedAccountDialogs.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/Trees.h"

namespace {

class TRedrawWindow : public TListWindowPort {
public:
    void ItemChanged(TEnhancedListItem* item) override { changed.push_back(item); }
    void ItemsChanged(TEnhancedListItem*) override {}
    void ItemRemoved(TEnhancedListItem*) override {}
    std::vector<TEnhancedListItem*> changed;
};

class AccountTreeTest : public ::testing::Test {
protected:
    AccountTreeTest() { list.SetReferences(&refs); }

    TAccountRoot* Root() { return list.GetAccountRoot(); }
    TAccount* Add(TAccountNode* where, const std::string& name) {
        EXPECT_TRUE(where->NewAccount(name, "", 1, "Unallocated"));
        return list.GetAccount(list.FindId(name));
    }
    TAccountGroup* AddGroup(TAccountNode* where, const std::string& name) {
        dialogs.NameGroup(name);
        EXPECT_TRUE(where->NewGroup());
        return dynamic_cast<TAccountGroup*>(list.FindById(list.FindId(name)));
    }
    static std::string Children(const TTreeItem* parent) {
        return ChildNames<TAccountNode>(parent, [](auto* n) { return n->GetName(); });
    }

    TScriptedAccountDialogs dialogs;
    TRecordingWindows windows;
    TFakeAccountReferences refs;
    TAccountList list;
};

TEST_F(AccountTreeTest, OrderingAndDropping) {
    TAccount* a = Add(Root(), "A");
    Add(Root(), "B");
    EXPECT_EQ(Children(Root()), "B,A");
    TAccountGroup* g = AddGroup(Root(), "G");
    TAccountGroup* h = AddGroup(Root(), "H");
    EXPECT_EQ(Children(Root()), "B,A,H,G");

    // A new account asked for on an account lands immediately before it.
    TAccount* x = Add(g, "X");
    Add(x, "BeforeX");
    EXPECT_EQ(Children(g), "BeforeX,X");

    // An account dropped on an account moves right before it, across groups.
    ASSERT_TRUE(x->CanDrop(a));
    x->Drop(a);
    EXPECT_EQ(Children(g), "BeforeX,A,X");
    // A group goes neither onto an account nor into its own subtree; the root goes nowhere.
    TAccountGroup* inner = AddGroup(g, "Inner");
    x->Drop(h);
    inner->Drop(g);
    EXPECT_FALSE(h->CanDrop(Root()));
    EXPECT_EQ(Children(Root()), "B,H,G");
    EXPECT_EQ(Children(g), "BeforeX,A,X,Inner");
    // Dropping on a group or the root is sorted insertion: groups in front of the first group.
    Root()->Drop(inner);
    Root()->Drop(x);
    EXPECT_EQ(Children(Root()), "X,B,Inner,H,G");

    EXPECT_EQ(list.CountAccounts(), 4u);
    EXPECT_EQ(list.GetAccountIdByIndex(2), list.FindId("B"));
    EXPECT_EQ(list.GetAccountIdByIndex(3), list.FindId("BeforeX"));
    EXPECT_EQ(list.GetAccountIdByIndex(5), 0u);
}

TEST_F(AccountTreeTest, BalancesPassUpAndLabelsFollowTheSwitches) {
    TAccountGroup* outer = AddGroup(Root(), "Outer");
    TAccountGroup* cards = AddGroup(outer, "Cards");
    TAccount* visa = Add(cards, "Visa");
    TRedrawWindow window;
    list.AttachWindow(&window);

    list.ChangeBalance(visa->GetId(), 500);
    // Every row on the way up is redrawn; no group stores the amount.
    EXPECT_EQ(window.changed, (std::vector<TEnhancedListItem*>{visa, cards, outer, Root()}));
    EXPECT_EQ(outer->LabelText(), "Outer: 5.00");
    window.changed.clear();
    list.ChangeRecBalance(visa->GetId(), 10000);  // only the account's own row shows it
    EXPECT_EQ(window.changed, std::vector<TEnhancedListItem*>{visa});
    list.ChangeBalance(visa->GetId(), -1750);
    Add(Root(), "Other")->ChangeBalance(123456);
    EXPECT_EQ(list.GetTotal(), TMoney(122206));

    TAccountLabelSwitches s;
    s.reconcileBalances = true;
    EXPECT_EQ(visa->Label(s), "Visa: -12.50 [100.00]");
    s.accountBalances = false;
    EXPECT_EQ(visa->Label(s), "Visa: [100.00]");
    s.reconcileBalances = false;
    EXPECT_EQ(visa->Label(s), "Visa");
    EXPECT_EQ(Root()->Label(s), "Accounts: 1,222.06");
    s.rootBalance = s.groupBalances = false;
    EXPECT_EQ(Root()->Label(s), "Accounts");
    EXPECT_EQ(cards->Label(s), "Cards");

    TQuilletOptions options;
    options.actShowAccountBalances = 0;
    options.actShowReconcileBalances = 1;
    list.SetLabelSwitches(TAccountLabelSwitches::From(options));
    EXPECT_EQ(visa->GetRowPaint().label, "Visa: [100.00]");
    EXPECT_EQ(cards->LabelText(), "Cards: -12.50");
    list.DetachWindow(&window);
}

TEST_F(AccountTreeTest, LookupsAndTheirFailures) {
    TAccountGroup* g = AddGroup(Root(), "Bank");
    TAccount* x = Add(g, "Checking");
    Add(g, "Savings");
    EXPECT_EQ(list.FindById(0), Root());
    EXPECT_EQ(list.GetAccount(g->GetId()), nullptr);
    EXPECT_EQ(list.GetDefaultEnvelope(x->GetId()), 1u);

    // Each id-based operation names itself when the id is not an account's.
    auto refused = [&](auto call, const char* operation) {
        try {
            call();
        } catch (const TXBase& e) {
            return std::string(e.what()) ==
                   std::string("Attempt to access non-account in ") + operation + "().";
        }
        return false;
    };
    EXPECT_TRUE(refused([&] { list.GetBalance(0); }, "GetBalance"));
    EXPECT_TRUE(refused([&] { list.GetRecBalance(g->GetId()); }, "GetRecBalance"));
    EXPECT_TRUE(refused([&] { list.GetDefaultEnvelope(77); }, "GetDefaultEnvelope"));
    EXPECT_TRUE(refused([&] { list.ChangeBalance(0, 5); }, "ChangeBalance"));
    EXPECT_TRUE(refused([&] { list.ChangeRecBalance(0, 5); }, "ChangeRecBalance"));

    EXPECT_EQ(list.GetAccountName(g->GetId()), "None");
    EXPECT_EQ(list.GetName(g->GetId()), "Bank");
    EXPECT_EQ(list.GetName(42), "Invalid Item Reference");
    EXPECT_EQ(list.FindId("bank"), g->GetId());
    EXPECT_EQ(list.GetStringList(AccountListAccounts)->Items(),
              (std::vector<std::string>{"Savings", "Checking"}));
    EXPECT_EQ(list.GetStringList(AccountListAll)->Items(),
              (std::vector<std::string>{"Accounts", "Bank", "Savings", "Checking"}));

    // Lookups by id follow the tree as it changes after they were first made: a new id, a node
    // taken out and destroyed, a whole new tree.
    const uint32_t old = x->GetId();
    x->SetId(900);
    EXPECT_EQ(list.GetAccount(900), x);
    EXPECT_EQ(list.GetAccount(old), nullptr);
    TAccount* savings = list.GetAccount(list.FindId("Savings"));
    const uint32_t savingsId = savings->GetId();
    savings->Detach();
    delete savings;
    EXPECT_EQ(list.GetAccount(savingsId), nullptr);
    list.SetRoot(new TAccountRoot(&list));
    EXPECT_EQ(list.GetAccount(900), nullptr);
}

TEST_F(AccountTreeTest, ChoosingOpeningAndExpanding) {
    TAccountGroup* g = AddGroup(Root(), "Group");
    TAccount* a = Add(g, "Alpha");
    TAccount* b = Add(g, "Beta");  // Beta, Alpha
    dialogs.choices.push_back([](TChooseAccountBuffer& buf) {
        buf.selected = 1;
        return true;
    });
    EXPECT_EQ(list.ChooseAccount(b->GetId()), a->GetId());
    EXPECT_EQ(dialogs.lastChoice.caption, "Choose Account");
    EXPECT_EQ(dialogs.lastChoice.names, (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(dialogs.lastChoice.selected, 0);      // the initial account preselected
    EXPECT_EQ(list.ChooseAccount(a->GetId()), 0u);  // cancelled

    // An account opens its ledger when the click lies right of its tree cells (depth 3).
    a->DoubleClick(3);
    a->DoubleClick(4);
    a->OpenReconcile();
    EXPECT_EQ(windows.accountLedgers,
              (std::vector<std::pair<uint32_t, TLedgerMode>>{
                  {a->GetId(), TLedgerMode::Normal}, {a->GetId(), TLedgerMode::Reconcile}}));
    // Groups flip whatever the column.
    g->DoubleClick(1);
    EXPECT_EQ(list.GetCount(), 2u);
}

}  // namespace
