#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AccountFakes.h"
#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/QuilletConfig.h"

namespace {

class TCountingWindow : public TListWindowPort {
public:
    void ItemChanged(TEnhancedListItem* item) override { changed.push_back(item); }
    void ItemsChanged(TEnhancedListItem* item) override { itemsChanged.push_back(item); }
    void ItemRemoved(TEnhancedListItem* item) override { removed.push_back(item); }
    std::vector<TEnhancedListItem*> changed, itemsChanged, removed;
};

class AccountTreeTest : public ::testing::Test {
protected:
    AccountTreeTest() {
        refs.envelopes.names = {"Unallocated", "Rent", "Food"};
        list.SetReferences(&refs);
    }

    TAccountRoot* Root() { return list.GetAccountRoot(); }
    TAccount* Add(TAccountNode* where, const std::string& name) {
        EXPECT_TRUE(where->NewAccount(name, "", 1, "Unallocated"));
        return list.GetAccount(list.FindId(name));
    }
    TAccountGroup* AddGroup(TAccountNode* where, const std::string& name) {
        dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group(name));
        EXPECT_TRUE(where->NewGroup());
        return dynamic_cast<TAccountGroup*>(list.FindById(list.FindId(name)));
    }
    static std::string Children(const TTreeItem* parent) {
        std::string out;
        for (TTreeItem* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
            out += std::string(out.empty() ? "" : ",") + static_cast<TAccountNode*>(c)->GetName();
        return out;
    }

    TScriptedAccountDialogs dialogs;
    TFakeAccountReferences refs;
    TAccountList list;
};

TEST_F(AccountTreeTest, SiblingsFollowTheOrderingRules) {
    EXPECT_STREQ(Root()->GetName(), "Accounts");
    EXPECT_EQ(Root()->GetId(), 0u);
    TAccount* a = Add(Root(), "A");
    TAccount* b = Add(Root(), "B");
    EXPECT_EQ(Children(Root()), "B,A");
    TAccountGroup* g = AddGroup(Root(), "G");
    EXPECT_EQ(Children(Root()), "B,A,G");
    AddGroup(Root(), "H");
    EXPECT_EQ(Children(Root()), "B,A,H,G");
    EXPECT_EQ(a->GetId(), 1u);
    EXPECT_EQ(g->GetId(), 3u);
    EXPECT_TRUE(g->IsExpanded());
    EXPECT_FALSE(g->IsMarked());

    // A new account asked for on an account lands immediately before it, even in a group.
    TAccount* inG = Add(g, "InG");
    EXPECT_EQ(Children(g), "InG");
    Add(inG, "BeforeInG");
    EXPECT_EQ(Children(g), "BeforeInG,InG");
    AddGroup(g, "Sub");
    Add(g, "First");
    EXPECT_EQ(Children(g), "First,BeforeInG,InG,Sub");

    EXPECT_EQ(list.CountAccounts(), 5u);
    // Walk order: B, A, H, G, First, BeforeInG, InG, Sub.
    EXPECT_EQ(list.GetAccountIdByIndex(1), b->GetId());
    EXPECT_EQ(list.GetAccountIdByIndex(3), list.FindId("First"));
    EXPECT_EQ(list.GetAccountIdByIndex(5), inG->GetId());
    EXPECT_EQ(list.GetAccountIdByIndex(6), 0u);
    EXPECT_EQ(list.GetAccountIdByIndex(0), 0u);
}

TEST_F(AccountTreeTest, DroppingMovesNodesByTheRules) {
    TAccountGroup* g1 = AddGroup(Root(), "G1");
    TAccountGroup* g2 = AddGroup(Root(), "G2");
    TAccount* a = Add(g1, "A");
    TAccount* b = Add(g2, "B");
    TAccount* c = Add(g2, "C");  // G2: C, B
    TAccountGroup* inner = AddGroup(g2, "Inner");

    // An account dropped on an account goes right before it, across groups.
    ASSERT_TRUE(b->CanDrop(a));
    b->Drop(a);
    EXPECT_EQ(Children(g1), "");
    EXPECT_EQ(Children(g2), "C,A,B,Inner");

    // A group cannot go onto an account, nor into its own subtree; the root goes nowhere.
    EXPECT_FALSE(b->CanDrop(g1));
    b->Drop(g1);
    EXPECT_EQ(g1->GetParent(), Root());
    EXPECT_FALSE(inner->CanDrop(g2));
    inner->Drop(g2);
    EXPECT_EQ(g2->GetParent(), Root());
    EXPECT_FALSE(g1->CanDrop(Root()));
    EXPECT_FALSE(c->CanDrop(c));
    EXPECT_FALSE(c->CanDrop(nullptr));

    // Dropping on a group or the root is sorted insertion.
    g1->Drop(c);
    EXPECT_EQ(Children(g1), "C");
    Root()->Drop(inner);
    EXPECT_EQ(Children(Root()), "Inner,G2,G1");  // in front of the first group
    Root()->Drop(b);
    EXPECT_EQ(Children(Root()), "B,Inner,G2,G1");
    EXPECT_EQ(Children(g2), "A");
}

TEST_F(AccountTreeTest, BalancesPassUpTheTree) {
    TAccountGroup* outer = AddGroup(Root(), "Outer");
    TAccountGroup* inner = AddGroup(outer, "Inner");
    TAccount* deep = Add(inner, "Deep");
    TAccount* top = Add(Root(), "Top");
    TCountingWindow window;
    list.AttachWindow(&window);

    list.ChangeBalance(deep->GetId(), 500);
    EXPECT_EQ(deep->GetBalance(), TMoney(500));
    EXPECT_EQ(inner->GetBalance(), TMoney(500));
    EXPECT_EQ(Root()->GetBalance(), TMoney(500));
    // Every row on the way up is redrawn: the account, its group, the outer group, the root.
    std::vector<TEnhancedListItem*> expected = {deep, inner, outer, Root()};
    EXPECT_EQ(window.changed, expected);
    EXPECT_EQ(Root()->LabelText(), "Accounts: 5.00");
    EXPECT_EQ(outer->LabelText(), "Outer: 5.00");

    list.ChangeBalance(top->GetId(), -12000000);
    EXPECT_EQ(list.GetTotal(), TMoney(500 - 12000000));
    EXPECT_EQ(Root()->LabelText(), "Accounts: -119,995.00");

    // The cleared balance redraws the account's row only.
    window.changed.clear();
    list.ChangeRecBalance(deep->GetId(), 250);
    EXPECT_EQ(list.GetRecBalance(deep->GetId()), TMoney(250));
    EXPECT_EQ(list.GetBalance(deep->GetId()), TMoney(500));
    EXPECT_EQ(window.changed, std::vector<TEnhancedListItem*>{deep});
    list.DetachWindow(&window);
}

TEST_F(AccountTreeTest, LabelsFollowTheSwitches) {
    TAccountGroup* cards = AddGroup(Root(), "Cards");
    TAccount* visa = Add(cards, "Visa");
    visa->ChangeBalance(-1250);
    visa->ChangeRecBalance(10000);
    Add(cards, "Other")->ChangeBalance(123456);

    TAccountLabelSwitches s;  // the defaults: root, groups and accounts, no cleared balances
    EXPECT_EQ(visa->Label(s), "Visa: -12.50");
    s.reconcileBalances = true;
    EXPECT_EQ(visa->Label(s), "Visa: -12.50 [100.00]");
    s.accountBalances = false;
    EXPECT_EQ(visa->Label(s), "Visa: [100.00]");
    s.reconcileBalances = false;
    EXPECT_EQ(visa->Label(s), "Visa");
    EXPECT_EQ(cards->Label(s), "Cards: 1,222.06");
    EXPECT_EQ(Root()->Label(s), "Accounts: 1,222.06");
    s.groupBalances = false;
    s.rootBalance = false;
    EXPECT_EQ(cards->Label(s), "Cards");
    EXPECT_EQ(Root()->Label(s), "Accounts");

    // The rows take the list's switches, set from the configuration.
    TQuilletOptions options;
    options.actShowAccountBalances = 0;
    options.actShowReconcileBalances = 1;
    options.actShowGroupBalances = 0;
    TCountingWindow window;
    list.AttachWindow(&window);
    list.SetLabelSwitches(TAccountLabelSwitches::From(options));
    EXPECT_EQ(window.itemsChanged, std::vector<TEnhancedListItem*>{nullptr});
    EXPECT_EQ(visa->LabelText(), "Visa: [100.00]");
    EXPECT_EQ(cards->LabelText(), "Cards");
    EXPECT_EQ(Root()->LabelText(), "Accounts: 1,222.06");
    char small[8];
    visa->GetLabel(small, sizeof small);
    EXPECT_STREQ(small, "Visa: [");
    EXPECT_EQ(visa->GetRowPaint().label, "Visa: [100.00]");
    list.DetachWindow(&window);
}

TEST_F(AccountTreeTest, LookupsAndTheirFailures) {
    TAccountGroup* g = AddGroup(Root(), "Bank");
    TAccount* x = Add(g, "Checking");
    TAccount* y = Add(g, "Savings");
    x->GetData().defaultEnvelope = 2;

    EXPECT_EQ(list.FindById(0), Root());
    EXPECT_EQ(list.FindById(g->GetId()), g);
    EXPECT_EQ(list.GetAccount(g->GetId()), nullptr);
    EXPECT_EQ(list.GetAccount(y->GetId()), y);
    EXPECT_EQ(list.FindById(99), nullptr);
    EXPECT_EQ(list.GetDefaultEnvelope(x->GetId()), 2u);

    auto message = [&](auto call) {
        try {
            call();
        } catch (const TXBase& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message([&] { list.GetBalance(0); }),
              "Attempt to access non-account in GetBalance().");
    EXPECT_EQ(message([&] { list.GetRecBalance(g->GetId()); }),
              "Attempt to access non-account in GetRecBalance().");
    EXPECT_EQ(message([&] { list.GetDefaultEnvelope(77); }),
              "Attempt to access non-account in GetDefaultEnvelope().");
    EXPECT_EQ(message([&] { list.ChangeBalance(0, 5); }),
              "Attempt to access non-account in ChangeBalance().");
    EXPECT_EQ(message([&] { list.ChangeRecBalance(0, 5); }),
              "Attempt to access non-account in ChangeRecBalance().");
    EXPECT_EQ(Root()->GetBalance(), TMoney(0));

    EXPECT_EQ(list.GetAccountName(y->GetId()), "Savings");
    EXPECT_EQ(list.GetAccountName(g->GetId()), "None");
    EXPECT_EQ(list.GetName(g->GetId()), "Bank");
    EXPECT_EQ(list.GetName(0), "Accounts");
    EXPECT_EQ(list.GetName(42), "Invalid Item Reference");
    char buffer[5];
    list.GetAccountName(buffer, sizeof buffer, x->GetId());
    EXPECT_STREQ(buffer, "Chec");

    EXPECT_EQ(list.FindId("SAVINGS"), y->GetId());
    EXPECT_EQ(list.FindId("bank"), g->GetId());
    EXPECT_EQ(list.FindId("accounts"), 0u);  // the root, whose id is 0
    EXPECT_EQ(list.FindId("Nowhere"), 0u);

    auto names = [&](uint32_t flags) {
        std::string out;
        auto taken = list.GetStringList(flags);
        for (const auto& n : taken->Items())
            out += n + ";";
        return out;
    };
    EXPECT_EQ(names(AccountListAccounts), "Savings;Checking;");
    EXPECT_EQ(names(AccountListGroups), "Bank;");
    EXPECT_EQ(names(AccountListAll), "Accounts;Bank;Savings;Checking;");
    EXPECT_EQ(names(AccountListAccounts | AccountListGroups), "Bank;Savings;Checking;");
    EXPECT_EQ(names(0), "");
}

TEST_F(AccountTreeTest, ChoosingAnAccount) {
    TAccount* a = Add(Root(), "Alpha");
    TAccount* b = Add(Root(), "Beta");  // Beta, Alpha
    AddGroup(Root(), "Group");

    dialogs.choices.push_back([](TChooseAccountBuffer& buf) {
        buf.selected = 1;
        return true;
    });
    EXPECT_EQ(list.ChooseAccount(b->GetId()), a->GetId());
    EXPECT_EQ(dialogs.lastChoice.caption, "Choose Account");
    EXPECT_EQ(dialogs.lastChoice.names, (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(dialogs.lastChoice.selected, 0);  // the initial account preselected

    dialogs.choices.push_back([](TChooseAccountBuffer& buf) {
        buf.selected = -1;  // nothing chosen: the initial account stands
        return true;
    });
    EXPECT_EQ(list.ChooseAccount(a->GetId(), "Transfer To"), a->GetId());
    EXPECT_EQ(dialogs.lastChoice.caption, "Transfer To");
    EXPECT_EQ(dialogs.lastChoice.selected, 1);

    EXPECT_EQ(list.ChooseAccount(a->GetId()), 0u);  // cancelled
    dialogs.choices.push_back([](TChooseAccountBuffer&) { return true; });
    EXPECT_EQ(list.ChooseAccount(0), b->GetId());  // no initial account: the first is offered
}

TEST_F(AccountTreeTest, IconsAndDoubleClicks) {
    TAccountGroup* g = AddGroup(Root(), "G");
    TAccount* card = Add(g, "Card");
    card->GetData().kind = 5;
    EXPECT_STREQ(card->GetBitmap(4), "account-credit-mask");
    EXPECT_STREQ(card->GetBitmap(6), "account-credit");
    card->GetData().kind = 4;
    EXPECT_STREQ(card->GetBitmap(5), "account-electronic-cash");
    card->GetData().kind = 0;  // only a damaged file has such a kind
    EXPECT_STREQ(card->GetBitmap(7), "account-checking");
    EXPECT_STREQ(card->GetBitmap(1), TreeArt::GuideLine);
    EXPECT_STREQ(card->GetBitmap(2), TreeArt::Branch);
    EXPECT_STREQ(card->GetBitmap(3), TreeArt::LastBranch);
    EXPECT_STREQ(card->GetBitmap(9), TreeArt::LastBranch);
    EXPECT_STREQ(g->GetBitmap(4), AccountArt::GroupMask);
    EXPECT_STREQ(g->GetBitmap(7), AccountArt::Group);
    EXPECT_STREQ(Root()->GetBitmap(5), AccountArt::Root);
    EXPECT_STREQ(Root()->GetBitmap(1), TreeArt::GuideLine);

    // An account opens its ledger when the click lies right of its tree cells.
    card->DoubleClick(3);
    EXPECT_TRUE(dialogs.ledgersOpened.empty());
    card->DoubleClick(4);
    ASSERT_EQ(dialogs.ledgersOpened.size(), 1u);
    EXPECT_EQ(dialogs.ledgersOpened[0], std::make_pair(card->GetId(), false));
    card->OpenReconcile();
    EXPECT_EQ(dialogs.ledgersOpened[1], std::make_pair(card->GetId(), true));
    EXPECT_TRUE(card->CanOpenLedger());
    EXPECT_FALSE(g->CanOpenLedger());
    EXPECT_FALSE(Root()->CanOpenReconcile());

    // Groups and the root flip whatever the column.
    g->DoubleClick(1);
    EXPECT_FALSE(g->IsExpanded());
    EXPECT_EQ(list.GetCount(), 2u);
    Root()->DoubleClick(9);
    EXPECT_FALSE(Root()->IsExpanded());
    EXPECT_EQ(list.GetCount(), 1u);
}

}  // namespace
