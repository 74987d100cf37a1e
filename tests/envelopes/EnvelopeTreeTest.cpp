// The envelope tree: ordering, balances passed up the tree, labels, lookups, the commands and
// their messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/QuilletConfig.h"
#include "core/QuilletData.h"
#include "envelopes/Association.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/envelopes/EnvelopeTestSupport.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/ScriptedWindows.h"

using namespace envtest;

namespace {

class TRedraws : public TListWindowPort {
public:
    void ItemChanged(TEnhancedListItem* item) override {
        changed.push_back(Plain(static_cast<TEnvelopeNode*>(item)));
    }
    void ItemsChanged(TEnhancedListItem*) override {}
    void ItemRemoved(TEnhancedListItem*) override { ++removed; }
    bool Redrew(const std::string& label) const {
        return std::find(changed.begin(), changed.end(), label) != changed.end();
    }
    std::vector<std::string> changed;
    int removed = 0;
};

class EnvelopeTreeTest : public ::testing::Test {
protected:
    TScriptedUI ui;
    TScriptedEnvelopeDialogs dialogs;
    TRecordingWindows windows;
    TEnvelopeList list;
    TFakeStore store{list};

    TEnvelopeNode* Root() { return list.GetEnvelopeRoot(); }
    TEnvelopeNode* Node(const std::string& name) { return list.FindByName(name); }
    TEnv* Env(const std::string& name) { return static_cast<TEnv*>(Node(name)); }
    uint32_t Id(const std::string& name) { return Node(name)->GetId(); }
    TEnvelopeNode* NewBundle(TEnvelopeNode* on, const std::string& name, float threshold = 0) {
        dialogs.properties.push_back({{name}, threshold});
        EXPECT_TRUE(on->NewBundle());
        return Node(name);
    }
    TEnvelopeNode* NewAssociation(const std::string& name) {
        dialogs.properties.push_back({{name}});
        EXPECT_TRUE(Root()->NewAssociation());
        return Node(name);
    }
};

TEST_F(EnvelopeTreeTest, SiblingsFollowTheOrderingRules) {
    Root()->NewEnvelope("A");
    Root()->NewEnvelope("B");
    EXPECT_EQ(Children(Root()), "B,A");
    NewBundle(Root(), "G");
    NewAssociation("M");
    NewBundle(Root(), "H");
    NewAssociation("N");
    EXPECT_EQ(Children(Root()), "B,A,H,G,N,M");

    // A new envelope asked for on an envelope lands just before it; one dropped on an envelope
    // elsewhere moves just before that one; dropping on a bundle puts it first there.
    Node("A")->NewEnvelope("C");
    EXPECT_EQ(Children(Root()), "B,C,A,H,G,N,M");
    Node("G")->NewEnvelope("D");
    Node("D")->Drop(Node("B"));
    EXPECT_EQ(Children(Node("G")), "B,D");
    Node("H")->Drop(Node("C"));
    EXPECT_EQ(Children(Node("H")), "C");

    // Refused silently: a bundle on an envelope, an association into a bundle, a bundle into its
    // own subtree, anything but aliases onto an alias, the root anywhere.
    Node("G")->Drop(Node("H"));
    EXPECT_EQ(Children(Node("G")), "B,D,H");
    Node("A")->Drop(Node("G"));
    Node("H")->Drop(Node("M"));
    Node("H")->Drop(Node("G"));
    Node("G")->Drop(Root());
    EXPECT_EQ(Children(Root()), "A,G,N,M");
    EXPECT_EQ(Children(Node("G")), "B,D,H");

    // Aliases: envelopes' aliases after those of envelopes, in front of bundles' aliases. The
    // targets stay where they are.
    Node("M")->Drop(Node("A"));
    Node("M")->Drop(Node("H"));
    Node("M")->Drop(Node("B"));
    EXPECT_EQ(Children(Node("M")), "A [alias],B [alias],H [alias]");
    EXPECT_EQ(Children(Node("G")), "B,D,H");
    TTreeItem* alias = Node("M")->GetFirstChild();
    Node("G")->Drop(alias);
    Root()->Drop(alias);
    Node("A")->Drop(alias);
    EXPECT_EQ(alias->GetParent(), Node("M"));
    Node("N")->Drop(alias);
    EXPECT_EQ(Children(Node("N")), "A [alias]");
}

TEST_F(EnvelopeTreeTest, BalancesPassUpTheTreeAndAlongAliases) {
    TEnvelopeNode* bills = NewBundle(Root(), "Bills");
    bills->NewEnvelope("Food");
    Root()->NewEnvelope("Spare");
    TEnvelopeNode* monthly = NewAssociation("Monthly");
    monthly->Drop(Node("Food"));
    NewAssociation("Yearly")->Drop(Node("Bills"));
    TRedraws window;
    list.AttachWindow(&window);

    store.Add(Id("Food"), 4000);
    store.Add(Id("Spare"), 1000);
    list.ChangeRecBalance(Id("Food"), 300);
    list.ChangeBalance(Id("Bills"), 999);  // not an envelope: nothing happens
    list.ChangeBalance(4711, 999);
    EXPECT_EQ(list.GetBalance(Id("Food")), TMoney(4000));
    EXPECT_EQ(list.GetRecBalance(Id("Food")), TMoney(300));
    EXPECT_EQ(bills->GetBalance(), TMoney(4000));
    EXPECT_EQ(monthly->GetBalance(), TMoney(4000));
    // Aliased money is counted once.
    EXPECT_EQ(list.GetTotal(), TMoney(5000));

    window.changed.clear();
    store.Add(Id("Food"), 500);
    for (const char* row :
         {"Food", "Bills", "Envelopes", "Food [alias]", "Monthly", "Bills [alias]", "Yearly"})
        EXPECT_TRUE(window.Redrew(row)) << row;
    list.DetachWindow(&window);
}

TEST_F(EnvelopeTreeTest, LabelsFollowTheFourSwitches) {
    TEnvelopeNode* bills = NewBundle(Root(), "Bills");
    bills->NewEnvelope("Rent");
    store.Add(Id("Rent"), -123456);
    NewAssociation("Monthly")->Drop(Node("Rent"));
    auto* alias = static_cast<TEnvelopeNode*>(Node("Monthly")->GetFirstChild());
    ASSERT_NE(alias, nullptr);

    auto labels = [&] {
        std::string out;
        for (TEnvelopeNode* n : {Root(), bills, Node("Rent"), Node("Monthly"), alias})
            out += n->LabelText() + "|";
        return out;
    };
    TQuilletOptions options;  // root, bundles and envelopes on, associations off
    list.SetLabelSwitches(TEnvelopeLabelSwitches::From(options));
    EXPECT_EQ(labels(),
              "Envelopes: -1,234.56|Bills: -1,234.56|Rent: -1,234.56|Monthly|Rent [alias]|");
    options.envShowRootBalance = 0;
    options.envShowBundleBalances = 0;
    options.envShowEnvelopeBalances = 0;
    options.envShowAssociationBalances = 1;
    list.SetLabelSwitches(TEnvelopeLabelSwitches::From(options));
    EXPECT_EQ(labels(), "Envelopes|Bills|Rent|Monthly: -1,234.56|Rent [alias]|");

    char small[6];
    Node("Monthly")->GetLabel(small, sizeof small);
    EXPECT_STREQ(small, "Month");
}

TEST_F(EnvelopeTreeTest, LookupsByIdNameAndPosition) {
    TEnvelopeNode* bills = NewBundle(Root(), "Bills");
    bills->NewEnvelope("Rent");
    Root()->NewEnvelope("Food");
    NewAssociation("Monthly")->Drop(Node("Rent"));

    EXPECT_EQ(list.GetIndentedName(Id("Rent")), "    Rent");
    EXPECT_EQ(list.FindId("    rent"), Id("Rent"));
    EXPECT_EQ(list.FindId("RENT"), Id("Rent"));
    EXPECT_EQ(list.FindId("  bills"), Id("Bills"));
    EXPECT_EQ(list.FindId("nothing"), 0u);
    auto indented = list.GetStringList(ListEnvelopes | ListIndented);
    EXPECT_EQ(indented->Items(), (std::vector<std::string>{"  Food", "    Rent"}));
    EXPECT_EQ(indented->Find("rent"), 2u);
    EXPECT_EQ(list.GetStringList(ListBundles | ListAssociations)->Items(),
              (std::vector<std::string>{"Bills", "Monthly"}));
    EXPECT_EQ(list.GetStringList(ListAliases)->Items(), std::vector<std::string>{"Rent"});
    EXPECT_EQ(list.GetStringList(ListAllButAliases)->Count(), 5u);

    // Ids name nodes, never aliases; non-envelopes give the fallbacks.
    EXPECT_EQ(list.FindById(Id("Rent")), Node("Rent"));
    EXPECT_EQ(list.GetEnvelope(Id("Bills")), nullptr);
    EXPECT_EQ(list.GetEnvelopeName(Id("Bills")), "None");
    EXPECT_EQ(list.GetName(4711), "Invalid Item Reference");
    EXPECT_EQ(list.CountEnvelopes(), 2u);
    EXPECT_EQ(list.GetEnvelopeIdByIndex(1), Id("Food"));
    EXPECT_EQ(list.GetEnvelopeIdByIndex(3), 0u);
    EXPECT_EQ(list.CountInSubtree(Id("Bills")), 2u);
    EXPECT_EQ(list.GetNodeAt(Id("Bills"), 2), Node("Rent"));
    EXPECT_EQ(list.GetNodeAt(Id("Bills"), 3), nullptr);
    EXPECT_TRUE(list.Contains(Id("Rent"), Id("Bills")) && list.Contains(Id("Rent"), Id("Monthly")));
    EXPECT_FALSE(list.Contains(Id("Food"), Id("Bills")) || list.Contains(Id("Food"), 4711));
    EXPECT_TRUE(list.IsInPlan(Id("Food")));
    list.SetInPlan(Id("Food"), false);
    EXPECT_FALSE(list.IsInPlan(Id("Food")));

    // Positions follow the walk and follow moves and collapsed groups alike.
    auto places = [&] {
        return std::vector<uint32_t>{list.IndexOf(Id("Bills")), list.IndexOf(Id("Food")),
                                     list.IndexOf(Id("Rent")), list.IndexOf(4711)};
    };
    EXPECT_EQ(places(), (std::vector<uint32_t>{3, 2, 4, 0}));
    bills->SetExpanded(false);
    EXPECT_EQ(places(), (std::vector<uint32_t>{3, 2, 4, 0}));
    bills->Drop(Node("Food"));
    EXPECT_EQ(places(), (std::vector<uint32_t>{2, 3, 4, 0}));
}

TEST_F(EnvelopeTreeTest, PropertyDialogsRefuseEmptyAndUsedNames) {
    Root()->NewEnvelope("Food");
    dialogs.properties.push_back({{"", "food", "  FOOD", "Fuel"}, 12.5f, "Car", false});
    ASSERT_TRUE(Root()->NewEnvelope());
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "You must provide a label.");
    EXPECT_EQ(ui.messages[1].text,
              "Label \"food\" is already in use.  You must use a unique label.");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
    EXPECT_EQ(ui.beeps, 3);
    TEnv* fuel = Env("Fuel");
    ASSERT_NE(fuel, nullptr);
    EXPECT_EQ(fuel->GetThreshold(), 1250);
    EXPECT_FALSE(fuel->IsInPlan());
    EXPECT_TRUE(fuel->IsWatched());

    // Its own name is free for the node itself; cancelling changes nothing and gives up the id.
    dialogs.properties.push_back({{"Fuel"}, 0, "", true});
    EXPECT_TRUE(fuel->EditProperties());
    EXPECT_TRUE(fuel->IsInPlan());
    uint32_t nextId = fuel->GetId() + 1;
    EXPECT_FALSE(Root()->NewEnvelope());
    EXPECT_EQ(list.GetIdList().GetEntry(nextId), TIdList::Released);
    dialogs.properties.push_back({{"Food"}});
    EXPECT_FALSE(Root()->NewBundle());
    EXPECT_EQ(Children(Root()), "Fuel,Food");

    // The root is named by its own dialog and never offers deletion.
    dialogs.properties.push_back({{"All Envelopes"}});
    EXPECT_TRUE(Root()->EditProperties());
    EXPECT_EQ(Root()->GetName(), "All Envelopes");
    EXPECT_FALSE(Root()->Delete());
}

TEST_F(EnvelopeTreeTest, DeletingAnEnvelopeHandsEverythingToTheReplacement) {
    Root()->NewEnvelope("Spare");
    Root()->NewEnvelope("Old");
    NewAssociation("Monthly")->Drop(Node("Old"));
    uint32_t old = Id("Old"), spare = Id("Spare");
    store.Add(old, 1500);
    store.Add(old, 1000);
    store.Add(spare, 200);

    dialogs.deleteChoices = {-1};
    EXPECT_FALSE(Node("Old")->Delete());
    EXPECT_EQ(dialogs.lastDelete.names, std::vector<std::string>{"Spare"});
    EXPECT_EQ(dialogs.lastDelete.selected, 0);
    EXPECT_NE(Node("Old"), nullptr);

    dialogs.deleteChoices = {0};
    EXPECT_TRUE(Node("Old")->Delete());
    EXPECT_EQ(Node("Old"), nullptr);
    EXPECT_EQ(list.GetBalance(spare), TMoney(2700));
    EXPECT_EQ(list.GetTotal(), TMoney(2700));
    for (const auto& t : store.transactions)
        EXPECT_EQ(t.envelope, spare);
    EXPECT_EQ(store.defaultEnvelopeReplacements,
              (std::vector<std::pair<uint32_t, uint32_t>>{{old, spare}}));
    EXPECT_EQ(store.templateReplacements, store.defaultEnvelopeReplacements);
    EXPECT_EQ(list.GetIdList().GetEntry(old), TIdList::Released);
    EXPECT_EQ(Children(Node("Monthly")), "");

    // The last envelope stays.
    EXPECT_FALSE(Node("Spare")->Delete());
    EXPECT_EQ(ui.messages.back().text, "Can't delete last envelope.");
    EXPECT_EQ(ui.messages.back().caption, "Quillet");
    EXPECT_NE(Node("Spare"), nullptr);
}

TEST_F(EnvelopeTreeTest, BundlesAssociationsAndAliasesAreDeletedByTheirRules) {
    TEnvelopeNode* bills = NewBundle(Root(), "Bills");
    bills->NewEnvelope("Food");
    Root()->NewEnvelope("Spare");
    TEnvelopeNode* monthly = NewAssociation("Monthly");
    monthly->Drop(Node("Food"));
    monthly->Drop(Node("Bills"));
    NewAssociation("Yearly")->Drop(Node("Food"));
    store.Add(Id("Food"), 4000);

    EXPECT_FALSE(bills->Delete());
    EXPECT_EQ(ui.messages.back().text,
              "Bundle \"Bills\" is not empty.  Cannot delete bundles that are not empty.  Delete "
              "or move contents first.");
    EXPECT_EQ(ui.beeps, 1);

    // An alias goes alone and keeps its target's id in use.
    uint32_t food = Id("Food");
    auto* yearlyAlias = static_cast<TEnvelopeNode*>(Node("Yearly")->GetFirstChild());
    EXPECT_TRUE(yearlyAlias->Delete());
    EXPECT_EQ(list.GetIdList().GetEntry(food), TIdList::InUse);
    EXPECT_EQ(static_cast<TEnvelopeAlias*>(Node("Food")->GetFirstAlias())->GetNextAlias(), nullptr);

    // An association takes its aliases with it, never their targets.
    EXPECT_TRUE(monthly->Delete());
    EXPECT_EQ(Node("Food")->GetFirstAlias(), nullptr);
    EXPECT_EQ(bills->GetFirstAlias(), nullptr);
    EXPECT_EQ(list.GetBalance(food), TMoney(4000));

    // An emptied bundle can go; a destroyed envelope takes its aliases along.
    NewAssociation("Again")->Drop(Node("Food"));
    Node("Spare")->Drop(Node("Food"));
    EXPECT_TRUE(bills->Delete());
    dialogs.deleteChoices = {0};
    EXPECT_TRUE(Node("Food")->Delete());
    EXPECT_EQ(Children(Node("Again")), "");
    EXPECT_EQ(list.GetBalance(Id("Spare")), TMoney(4000));
}

TEST_F(EnvelopeTreeTest, ZeroingMovesEachNonZeroBalanceToTheTarget) {
    Root()->NewEnvelope("T");
    Root()->NewEnvelope("X");
    Root()->NewEnvelope("Y");
    store.Add(Id("X"), 1000);
    store.Add(Id("T"), 50);
    TDate day(5, 3, 2011);
    TDate::SetTodayForTesting(&day);

    dialogs.chooseChoices = {-1};
    list.ZeroEnvelopes({Node("X"), Node("Y")});
    EXPECT_TRUE(store.transfers.empty());
    EXPECT_EQ(dialogs.lastChoose.caption, "Choose Envelope");
    EXPECT_EQ(dialogs.lastChoose.names, (std::vector<std::string>{"Y", "X", "T"}));

    dialogs.chooseChoices = {2};
    list.ZeroEnvelopes({Node("X"), Node("Y"), Node("T"), Root()});
    ASSERT_EQ(store.transfers.size(), 1u);
    EXPECT_EQ(store.transfers[0].envelope, Id("X"));
    EXPECT_EQ(store.transfers[0].other, Id("T"));
    EXPECT_EQ(store.transfers[0].amount, -1000);
    EXPECT_EQ(store.transfers[0].date, day);
    EXPECT_EQ(list.GetBalance(Id("X")), TMoney(0));
    EXPECT_EQ(list.GetBalance(Id("T")), TMoney(1050));
    TDate::SetTodayForTesting(nullptr);

    // The chooser preselects the initial envelope and returns it when nothing is chosen.
    dialogs.chooseChoices = {};
    EXPECT_EQ(list.ChooseEnvelope(Id("X")), 0u);
    EXPECT_EQ(dialogs.lastChoose.selected, 1);
}

TEST_F(EnvelopeTreeTest, CommandsRefusedByKindChangeNothing) {
    NewBundle(Root(), "Bills");
    Root()->NewEnvelope("Food");
    TEnvelopeNode* monthly = NewAssociation("Monthly");
    monthly->Drop(Node("Food"));
    auto* alias = static_cast<TEnvelopeNode*>(monthly->GetFirstChild());
    // Each refusal has an answer waiting that a wrongly offered dialog would take.
    dialogs.properties = {{{"Nope"}}, {{"Nope"}}, {{"Nope"}}};
    EXPECT_FALSE(monthly->NewEnvelope("Nope"));
    EXPECT_FALSE(Node("Food")->NewBundle());
    EXPECT_FALSE(Node("Bills")->NewAssociation());
    EXPECT_FALSE(alias->EditProperties());
    EXPECT_EQ(Node("Nope"), nullptr);
    EXPECT_EQ(dialogs.properties.size(), 3u);
    EXPECT_EQ(list.CountInSubtree(Root()->GetId()), 5u);

    // A double click on the mark cell asks first; beyond the depth it opens the ledger.
    ui.answers = {TMsgResult::No, TMsgResult::Yes};
    Node("Food")->DoubleClick(1);
    EXPECT_TRUE(Node("Food")->IsWatched());
    Node("Food")->DoubleClick(1);
    EXPECT_FALSE(Node("Food")->IsWatched());
    EXPECT_EQ(ui.messages.back().caption, "Toggle Watchdog");
    EXPECT_EQ(ui.messages.back().text, "Are you sure you would like to toggle the watchdog?");
    EXPECT_EQ(ui.messages.back().buttons, TMsgButtons::YesNoCancel);
    EXPECT_TRUE(windows.envelopeLedgers.empty());
    Node("Food")->DoubleClick(3);
    EXPECT_EQ(windows.envelopeLedgers,
              (std::vector<std::pair<uint32_t, TLedgerMode>>{{Id("Food"), TLedgerMode::Normal}}));
    monthly->DoubleClick(1);
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(EnvelopeTreeTest, ThresholdsInCentsAndTheAlarmMark) {
    std::vector<int32_t> cents;
    for (float f : {12.345f, -0.01f, 0.0f, 30000000.0f, -30000000.0f, 1999999.0f})
        cents.push_back(ThresholdCents(f));
    EXPECT_EQ(cents, (std::vector<int32_t>{1235, -1, 0, 0, 0, 199999900}));

    Root()->NewEnvelope("Food");
    Env("Food")->SetThreshold(50.0f);
    store.Add(Id("Food"), 4999);
    EXPECT_STREQ(Node("Food")->GetBitmap(9), EnvelopeArt::Alarm);
    EXPECT_STREQ(Node("Food")->GetBitmap(8), EnvelopeArt::AlarmMask);
    store.Add(Id("Food"), 1);
    EXPECT_STREQ(Node("Food")->GetBitmap(9), EnvelopeArt::Watch);
    // The root has no threshold: its alarm is a negative total.
    EXPECT_STREQ(Root()->GetBitmap(9), EnvelopeArt::Watch);
    store.Add(Id("Food"), -5001);
    EXPECT_STREQ(Root()->GetBitmap(9), EnvelopeArt::Alarm);
    EXPECT_STREQ(Root()->GetBitmap(5), EnvelopeArt::Root);
}

}  // namespace

namespace {

TEST(EnvelopeDocumentTest, ChangesMarkTheOpenDocumentModified) {
    TQuilletData doc;
    TQuilletData::SetCurrent(&doc);
    TEnvelopeList& list = doc.GetEnvelopes();
    auto changed = [&](const std::function<void()>& change) {
        doc.ClearModified();
        change();
        return doc.IsModified();
    };
    EXPECT_TRUE(changed([&] { list.GetEnvelopeRoot()->NewEnvelope("Food"); }));
    uint32_t food = list.FindId("Food");
    EXPECT_TRUE(changed([&] { list.ChangeBalance(food, 100); }));
    EXPECT_TRUE(changed([&] { list.ChangeRecBalance(food, 100); }));
    EXPECT_TRUE(changed([&] { list.FindById(food)->ToggleWatchdog(); }));
    EXPECT_FALSE(changed([&] { list.ChangeBalance(4711, 100); }));
    EXPECT_FALSE(changed([&] { list.GetTotal(); }));
    TQuilletData::SetCurrent(nullptr);
}

}  // namespace
