#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/ObjectStream.h"
#include "tests/support/ScriptedAccountDialogs.h"
#include "tests/support/Streams.h"
#include "tests/support/Trees.h"

namespace {

using namespace streambytes;

const Bytes End = {']'};
// A new record (tag 2, '[', the class name, class version 0), and the node part: base version
// 1, expanded, id, child count.
Bytes Record(const std::string& name) {
    return Cat({{0x02, '['}, Str(name), W32(0)});
}
Bytes Node(bool expanded, uint32_t id, uint32_t children) {
    return Cat({W32(1), W32(expanded ? 1 : 0), W32(id), W32(children)});
}
// The fields after the current layout number.
Bytes AccountFields(const std::string& name, uint32_t kind, uint32_t env, int32_t balance,
                    int32_t cleared) {
    return Cat({Str(name), Str(""), W32(kind), W32(env), W32(static_cast<uint32_t>(balance)),
                W32(static_cast<uint32_t>(cleared))});
}

std::string Children(const TTreeItem* parent) {
    return ChildNames<TAccountNode>(parent, [](auto* n) { return n->GetName(); });
}

TEST(AccountStreamTest, AccountRecordLayouts) {
    TAccount account(nullptr, 7);
    std::strcpy(account.GetData().name, "Visa");
    account.GetData().kind = 5;
    account.GetData().defaultEnvelope = 3;
    account.GetData().balance = -1250;
    account.GetData().clearedBalance = 10000;
    // clang-format off
    Bytes current = Cat({Header, Record("TAccount"), Node(true, 7, 0), {0x02, 0x10, 0, 0},
                         Str("Visa"), Str(""), W32(5), W32(3), {0x1E, 0xFB, 0xFF, 0xFF}, W32(10000), End});
    // clang-format on
    EXPECT_EQ(WriteOne(&account), current);

    // The same record in the dated layout, in the oldest (name length first), and in the oldest
    // inside a version-0 stream (16-bit words, one-byte string lengths, no class versions).
    // clang-format off
    Bytes dated = Cat({Header, Record("TAccount"), Node(true, 7, 0), W32(0x1001),
                       AccountFields("Visa", 5, 3, -1250, 10000), {31, 12}, W32(2009), End});
    Bytes oldest = Cat({Header, Record("TAccount"), Node(true, 7, 0), W32(4), Raw("Visa"), Str(""),
                        W32(5), W32(3), W32(0xFFFFFB1E), W32(10000), End});
    Bytes version0 = Cat({{0x02, '[', 8}, Raw("TAccount"), W32(1), W16(7), W16(0), W16(4), Raw("Visa"),
                          {0}, W16(5), W16(3), W32(0xFFFFFB1E), W32(10000), End});
    // clang-format on
    for (const Bytes& bytes : {current, dated, oldest, version0}) {
        int state = -1;
        auto read = ReadAs<TAccount>(bytes, &state);
        EXPECT_EQ(state, pstream::Good);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->GetId(), 7u);
        EXPECT_STREQ(read->GetName(), "Visa");
        EXPECT_EQ(read->GetData().kind, 5u);
        EXPECT_EQ(read->GetData().defaultEnvelope, 3u);
        EXPECT_EQ(read->GetData().balance, -1250);
        EXPECT_EQ(read->GetData().clearedBalance, 10000);
    }

    int state = -1;
    // A layout number no version wrote fails the stream.
    ReadAs<TAccount>(Cat({Header, Record("TAccount"), Node(true, 1, 0), W32(0x1003), End}), &state);
    EXPECT_NE(state, pstream::Good);
}

TEST(AccountStreamTest, ListLayoutAndOrder) {
    TScriptedAccountDialogs dialogs;
    TFakeAccountReferences refs;
    TAccountList list;
    list.SetReferences(&refs);
    dialogs.groupEdits.push_back([](TAccountGroupBuffer& b) {
        b.name = "Bank";
        b.description = "Banks";
        return true;
    });
    ASSERT_TRUE(list.GetAccountRoot()->NewGroup());                     // id 1
    ASSERT_TRUE(list.FindById(1)->NewAccount("Chk", "", 1, "Rent"));    // id 2
    ASSERT_TRUE(list.GetAccountRoot()->NewAccount("Cash", "", 3, ""));  // id 3
    list.FindById(1)->SetExpanded(false);
    list.ChangeBalance(2, 100);

    Bytes table(25, 0);
    table[1] = table[2] = table[3] = 1;
    // Children go last to first: the root holds Cash, Bank, so Bank is written first.
    // clang-format off
    Bytes expected = Cat({Header, Record("TAccountList"),
        Record("TAccountRoot"), Node(true, 0, 2),
            Record("TAccountGroup"), Node(false, 1, 1),
                Record("TAccount"), Node(true, 2, 0), W32(0x1002), AccountFields("Chk", 1, 2, 100, 0), End,
            Str("Bank"), Str("Banks"), End,
            Record("TAccount"), Node(true, 3, 0), W32(0x1002), AccountFields("Cash", 3, 0, 0, 0), End,
        Str("Accounts"), End,
        W32(1), W32(25), W32(25), table, End});
    // clang-format on
    EXPECT_EQ(WriteOne(&list), expected);

    int state = -1;
    auto read = ReadAs<TAccountList>(expected, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    EXPECT_EQ(Children(read->GetRoot()), "Cash,Bank");
    EXPECT_FALSE(read->FindById(1)->IsExpanded());
    EXPECT_EQ(read->GetTotal(), TMoney(100));
    for (TTreeItem* n = read->GetRoot(); n; n = n->Next(true))
        EXPECT_EQ(n->GetOwner(), read.get());
}

TEST(AccountStreamTest, DamagedTreesNeverShareOrLoseNodes) {
    // The root lists four children (read last to first): a good group, an account claiming a
    // child of its own, a second root, and a back reference to the root itself.
    // clang-format off
    Bytes damaged = Cat({Header, Record("TAccountList"),
        Record("TAccountRoot"), Node(true, 0, 4),
            {0x01}, W32(2),
            Record("TAccountRoot"), Node(true, 0, 0), Str("Second"), End,
            Record("TAccount"), Node(true, 5, 1),
                Record("TAccount"), Node(true, 6, 0), W32(0x1002), AccountFields("Inner", 1, 0, 0, 0), End,
            W32(0x1002), AccountFields("Outer", 1, 0, 0, 0), End,
            Record("TAccountGroup"), Node(true, 7, 0), Str("Good"), Str(""), End,
        Str("Accounts"), End,
        W32(1), W32(25), W32(0), End});
    // clang-format on
    int state = -1;
    auto read = ReadAs<TAccountList>(damaged, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    EXPECT_EQ(Children(read->GetRoot()), "Outer,Good");
    EXPECT_EQ(read->FindId("Inner"), 0u);
    // Ids on nodes that the table never issued are skipped when new ids are handed out.
    TFakeAccountReferences refs;
    read->SetReferences(&refs);
    for (int i = 0; i < 7; ++i)
        read->GetAccountRoot()->NewAccount("N" + std::to_string(i));
    EXPECT_EQ(read->FindId("N4"), 6u);  // 5 is Outer's
    EXPECT_EQ(read->FindId("N5"), 8u);  // 7 is Good's

    // Absurdly deep nesting stops the read instead of the program.
    Bytes deep = Cat({Header, Record("TAccountList")});
    for (int i = 0; i < 5000; ++i)
        deep = Cat({deep, Record("TAccountGroup"), Node(true, 1, 1)});
    read = ReadAs<TAccountList>(deep, &state);
    EXPECT_NE(state, pstream::Good);

    // Every truncation of a good file reads without harm and fails the stream.
    ExpectEveryTruncationFails<TAccountList>(WriteOne(ReadAs<TAccountList>(damaged).get()));
}

}  // namespace
