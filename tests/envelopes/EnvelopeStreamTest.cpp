// Stream layouts of the envelope tree, checked against bytes spelled out field by field.
#include <gtest/gtest.h>

#include "envelopes/Association.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/envelopes/EnvelopeTestSupport.h"
#include "tests/support/ScriptedUI.h"

using namespace envtest;

namespace {

// 50.0 as an IEEE single, least significant byte first.
const Bytes Fifty = {0x00, 0x00, 0x48, 0x42};
const Bytes Zero = {0x00, 0x00, 0x00, 0x00};

TEST(EnvelopeStreamTest, EnvelopeRecordIsWrittenAtClassVersionThree) {
    TEnv env(nullptr, 7);
    env.SetName("Food");
    env.SetDescription("Weekly");
    env.SetThreshold(50.0f);
    env.SetInPlan(false);
    env.SetMarked(false);
    env.ChangeBalance(6000);
    env.ChangeRecBalance(-250);

    // clang-format off
    Bytes expected = Cat({Header, {0x02, '['}, {4, 0, 0, 0}, {'T', 'E', 'n', 'v'}, {3, 0, 0, 0},
                          {1, 0, 0, 0},              // node part: base class version
                          {1, 0, 0, 0}, {0, 0, 0, 0},  // expanded, watchdog off
                          {7, 0, 0, 0}, {0, 0, 0, 0},  // id, no children
                          {4, 0, 0, 0}, {'F', 'o', 'o', 'd'},
                          {6, 0, 0, 0}, {'W', 'e', 'e', 'k', 'l', 'y'},
                          Fifty,
                          {0x70, 0x17, 0x00, 0x00},  // balance 60.00
                          {0x06, 0xFF, 0xFF, 0xFF},  // cleared -2.50
                          {0, 0, 0, 0},              // not in the plan
                          {']'}});
    // clang-format on
    EXPECT_EQ(WriteOne(&env), expected);
}

TEST(EnvelopeStreamTest, OlderEnvelopeLayoutsGiveTheirDefaults) {
    auto fields = [](bool cleared, bool inPlan) {
        Bytes f = Cat({NodePart(true, true, 3, {}), Str("Rent"), Str("Home"), Fifty, W32(12345)});
        if (cleared) f = Cat({f, W32(uint32_t(-500))});
        if (inPlan) f = Cat({f, W32(0)});
        return f;
    };
    // The last case is a stream without a header: 16-bit words for id and count, one-byte
    // string lengths and no class versions, so neither the cleared balance nor the plan flag is
    // there, and the watchdog is off.
    Bytes v0 = {0x02, '[', 4,   'T', 'E', 'n',  'v',  1,    0,    0,   0,   0,  0,
                0,    0,   3,   0,   0,   0,    4,    'R',  'e',  'n', 't', 4,  'H',
                'o',  'm', 'e', 0,   0,   0x48, 0x42, 0x39, 0x30, 0,   0,   ']'};
    struct {
        uint32_t version;
        Bytes file;
        int32_t cleared;
        bool inPlan;
        bool watched;
    } cases[] = {{1, Cat({Header, Record("TEnv", 1, fields(false, false))}), 0, true, true},
                 {2, Cat({Header, Record("TEnv", 2, fields(true, false))}), -500, true, true},
                 {3, Cat({Header, Record("TEnv", 3, fields(true, true))}), -500, false, true},
                 {0, v0, 0, true, false}};
    for (const auto& c : cases) {
        int state = -1;
        auto env = ReadAs<TEnv>(c.file, &state);
        ASSERT_NE(env, nullptr) << c.version;
        EXPECT_EQ(state, pstream::Good) << c.version;
        EXPECT_EQ(env->GetName(), "Rent");
        EXPECT_STREQ(env->GetData()->description, "Home");
        EXPECT_EQ(env->GetData()->threshold, 50.0f);
        EXPECT_EQ(env->GetBalance(), TMoney(12345));
        EXPECT_EQ(env->GetRecBalance(), TMoney(c.cleared)) << c.version;
        EXPECT_EQ(env->IsInPlan(), c.inPlan) << c.version;
        EXPECT_EQ(env->GetId(), 3u);
        EXPECT_EQ(env->IsWatched(), c.watched);
        if (c.watched) {
            EXPECT_TRUE(env->GetWatchState().firstPass);
        }
    }
}

// A watched envelope in the plan at layout 3, with no description, threshold or cleared balance.
Bytes Envelope(uint32_t id, const std::string& name, uint32_t balance) {
    return Record("TEnv", 3,
                  Cat({NodePart(true, true, id, {}), Str(name), Str(""), Zero, W32(balance), W32(0),
                       W32(1)}));
}

// Envelopes (root) holding Food (1), bundle Bills (2) with Rent (3), association Monthly (4)
// with an alias of Food; the root still has id 0, as in a new budget.
Bytes SampleList(uint32_t aliasId = 1) {
    Bytes alias = Record("TEnvelopeAlias", 0, NodePart(true, false, aliasId, {}));
    Bytes monthly = Record("TAssociation", 0,
                           Cat({NodePart(true, false, 4, {alias}), Str("Monthly"), Str("")}));
    Bytes rent = Envelope(3, "Rent", 90000);
    Bytes bills = Record("TBundle", 0,
                         Cat({NodePart(true, false, 2, {rent}), Str("Bills"), Str("Due"), Fifty}));
    Bytes food = Envelope(1, "Food", 4000);
    // Children go last to first.
    Bytes root = Record("TEnvelopeRoot", 0,
                        Cat({NodePart(true, false, 0, {monthly, bills, food}), Str("Envelopes")}));
    Bytes table(25, 0);
    for (int id = 1; id <= 4; ++id)
        table[id] = 1;
    return Cat({Header, Record("TEnvelopeList", 0, Cat({root, W32(1), W32(25), W32(25), table}))});
}

TEST(EnvelopeStreamTest, ListWritesEveryNodeKindAndReadsBackBound) {
    TScriptedEnvelopeDialogs dialogs;
    TEnvelopeList list;
    TEnvelopeNode* root = list.GetEnvelopeRoot();
    ASSERT_TRUE(root->NewEnvelope("Food", true));
    dialogs.properties.push_back({{"Bills"}, 50.0f, "Due"});
    ASSERT_TRUE(root->NewBundle());
    ASSERT_TRUE(list.FindByName("Bills")->NewEnvelope("Rent", true));
    dialogs.properties.push_back({{"Monthly"}});
    ASSERT_TRUE(root->NewAssociation());
    list.ChangeBalance(list.FindId("Food"), 4000);
    list.ChangeBalance(list.FindId("Rent"), 90000);
    list.FindByName("Monthly")->Drop(list.FindByName("Food"));

    EXPECT_EQ(WriteOne(&list), SampleList());

    TScriptedUI ui;
    auto read = ReadAs<TEnvelopeList>(SampleList());
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(ui.messages.empty());
    TEnvelopeNode* readRoot = read->GetEnvelopeRoot();
    EXPECT_EQ(Children(readRoot), "Food,Bills,Monthly");
    EXPECT_EQ(Children(read->FindByName("Monthly")), "Food [alias]");
    auto* alias = static_cast<TEnvelopeAlias*>(read->FindByName("Monthly")->GetFirstChild());
    EXPECT_EQ(alias->GetTarget(), read->FindByName("Food"));
    EXPECT_EQ(read->FindByName("Food")->GetFirstAlias(), alias);
    // The root had id 0: it now has one that no other node has.
    EXPECT_EQ(readRoot->GetId(), 5u);
    EXPECT_EQ(read->FindById(5), readRoot);
    EXPECT_EQ(read->GetTotal(), TMoney(94000));
    EXPECT_EQ(read->FindByName("Monthly")->GetBalance(), TMoney(4000));
    EXPECT_EQ(static_cast<TBundle*>(read->FindByName("Bills"))->GetThreshold(), 5000);
}

TEST(EnvelopeStreamTest, AliasWithoutTargetIsReportedAndRemoved) {
    TScriptedUI ui;
    auto list = ReadAs<TEnvelopeList>(SampleList(99));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].text, "Can't bind envelope items to list.");
    EXPECT_EQ(Children(list->FindByName("Monthly")), "");
    EXPECT_EQ(list->FindByName("Food")->GetFirstAlias(), nullptr);
    EXPECT_EQ(list->CountEnvelopes(), 2u);
}

TEST(EnvelopeStreamTest, DamagedTreesNeverShareOrLoseNodes) {
    TScriptedUI ui;
    // Under the root: a back reference to the root itself, an alias, and an association inside
    // a bundle; none of them may be taken in.
    Bytes strayAlias = Record("TEnvelopeAlias", 0, NodePart(true, false, 1, {}));
    Bytes nested =
        Record("TAssociation", 0, Cat({NodePart(true, false, 6, {}), Str("A"), Str("")}));
    Bytes bundle =
        Record("TBundle", 0, Cat({NodePart(true, false, 5, {nested}), Str("B"), Str(""), Zero}));
    Bytes food = Envelope(1, "Food", 100);
    Bytes backToRoot = {0x01, 2, 0, 0, 0};
    Bytes root = Record(
        "TEnvelopeRoot", 0,
        Cat({NodePart(true, false, 0, {backToRoot, strayAlias, bundle, food}), Str("Envelopes")}));
    Bytes file = Cat({Header, Record("TEnvelopeList", 0, Cat({root, W32(1), W32(25), W32(0)}))});
    int state = -1;
    auto list = ReadAs<TEnvelopeList>(file, &state);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(Children(list->GetRoot()), "Food,B");
    EXPECT_EQ(Children(list->FindByName("B")), "");
    EXPECT_EQ(list->FindByName("A"), nullptr);
    EXPECT_EQ(list->GetRoot()->GetParent(), nullptr);

    // Every truncation of a good file reads to a failed stream and a tree that can be walked
    // and destroyed.
    ExpectEveryTruncationFails<TEnvelopeList>(
        SampleList(), Header.size(),
        [](const TEnvelopeList& part) { EXPECT_GE(part.GetCount(), 1u); });

    // A huge child count with nothing behind it, and records nested far deeper than any tree
    // the program writes, stop the stream instead of running away.
    Bytes huge = Cat({Header, Record("TEnvelopeRoot", 0,
                                     Cat({W32(1), W32(1), W32(0), W32(0), W32(0xFFFFFFFF)}))});
    ReadAs<TEnvelopeRoot>(huge, &state);
    EXPECT_NE(state, pstream::Good);

    Bytes open = Cat({{0x02, '['}, Str("TBundle"), W32(0), W32(1), W32(1), W32(0), W32(1), W32(1)});
    Bytes close = Cat({Str("x"), Str(""), Zero, {']'}});
    Bytes deep = Header;
    for (int i = 0; i < 1000; ++i)
        deep.insert(deep.end(), open.begin(), open.end());
    for (int i = 0; i < 1000; ++i)
        deep.insert(deep.end(), close.begin(), close.end());
    ReadAs<TBundle>(deep, &state);
    EXPECT_NE(state, pstream::Good);
}

}  // namespace
