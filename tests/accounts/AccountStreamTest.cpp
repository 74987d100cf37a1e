#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AccountFakes.h"
#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/ObjectStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes W32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
Bytes W16(uint16_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}
Bytes Raw(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
Bytes Str(const std::string& s) {
    Bytes out = W32(static_cast<uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
    return out;
}
Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes Header = {0x3A, 0x01, 0x01, 0x00, 0x00};

// The start of a new record: tag 2, '[', the class name, class version 0.
Bytes Record(const std::string& name) {
    return Cat({{0x02, '['}, Str(name), W32(0)});
}
// The node part: base version 1, expanded, id, child count (children follow).
Bytes NodePart(bool expanded, uint32_t id, uint32_t children) {
    return Cat({W32(1), W32(expanded ? 1 : 0), W32(id), W32(children)});
}
const Bytes End = {']'};

template <class T>
std::unique_ptr<T> ReadOne(const Bytes& bytes, int* state = nullptr) {
    RegisterQuilletClasses();
    imemstream is(bytes);
    T* object = nullptr;
    is >> object;
    if (state) *state = is.rdstate();
    return std::unique_ptr<T>(object);
}

Bytes WriteOne(const TStreamableBase* object) {
    RegisterQuilletClasses();
    omemstream os;
    os << object;
    return os.bytes();
}

std::string Children(const TTreeItem* parent) {
    std::string out;
    for (TTreeItem* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        out += std::string(out.empty() ? "" : ",") + static_cast<TAccountNode*>(c)->GetName();
    return out;
}

TEST(AccountStreamTest, AccountRecordLayouts) {
    TAccount account(nullptr, 7);
    TAccountRecord& data = account.GetData();
    std::strcpy(data.name, "Visa");
    std::strcpy(data.description, "Card");
    data.kind = 5;
    data.defaultEnvelope = 3;
    data.balance = -1250;
    data.clearedBalance = 10000;
    Bytes current = Cat({Header,
                         Record("TAccount"),
                         NodePart(true, 7, 0),
                         W32(0x1002),
                         Str("Visa"),
                         Str("Card"),
                         W32(5),
                         W32(3),
                         {0x1E, 0xFB, 0xFF, 0xFF},  // -1250
                         W32(10000),
                         End});
    EXPECT_EQ(WriteOne(&account), current);

    auto check = [](const TAccount& a, uint32_t id) {
        EXPECT_EQ(a.GetId(), id);
        EXPECT_STREQ(a.GetData().name, "Visa");
        EXPECT_STREQ(a.GetData().description, "Card");
        EXPECT_EQ(a.GetData().kind, 5u);
        EXPECT_EQ(a.GetData().defaultEnvelope, 3u);
        EXPECT_EQ(a.GetData().balance, -1250);
        EXPECT_EQ(a.GetData().clearedBalance, 10000);
    };
    int state = -1;
    auto read = ReadOne<TAccount>(current, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    check(*read, 7);
    EXPECT_TRUE(read->IsExpanded());

    // The layout that still carried a date: the date is read past and dropped.
    Bytes dated = Cat({Header,
                       Record("TAccount"),
                       NodePart(false, 8, 0),
                       W32(0x1001),
                       Str("Visa"),
                       Str("Card"),
                       W32(5),
                       W32(3),
                       W32(0xFFFFFB1E),
                       W32(10000),
                       {31, 12},
                       W32(2009),
                       End});
    read = ReadOne<TAccount>(dated, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    check(*read, 8);
    EXPECT_FALSE(read->IsExpanded());

    // The oldest layout: no number, the word is the name's length and its bytes follow.
    Bytes oldest = Cat({Header, Record("TAccount"), NodePart(true, 9, 0), W32(4), Raw("Visa"),
                        Str("Card"), W32(5), W32(3), W32(0xFFFFFB1E), W32(10000), End});
    read = ReadOne<TAccount>(oldest, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    check(*read, 9);

    // The oldest layout in a version-0 stream: no header, no class versions, 16-bit words and
    // one-byte string lengths; expanded, balances and the base part's flags stay 32-bit.
    Bytes version0 = Cat({{0x02, '[', 8},
                          Raw("TAccount"),
                          W32(1),
                          W16(10),
                          W16(0),
                          W16(4),
                          Raw("Visa"),
                          {4},
                          Raw("Card"),
                          W16(5),
                          W16(3),
                          W32(0xFFFFFB1E),
                          W32(10000),
                          End});
    read = ReadOne<TAccount>(version0, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    check(*read, 10);

    // An old name too long for the field is cut to it, and the rest of the record still reads.
    Bytes longName =
        Cat({Header, Record("TAccount"), NodePart(true, 11, 0), W32(40), Raw(std::string(40, 'x')),
             Str("Card"), W32(5), W32(3), W32(1), W32(2), End});
    read = ReadOne<TAccount>(longName, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::string(read->GetData().name), std::string(31, 'x'));
    EXPECT_EQ(read->GetData().clearedBalance, 2);

    // A layout number no version wrote fails the stream.
    Bytes unknown =
        Cat({Header, Record("TAccount"), NodePart(true, 12, 0), W32(0x1003), Str("Visa"), End});
    read = ReadOne<TAccount>(unknown, &state);
    EXPECT_NE(state, pstream::Good);
}

TEST(AccountStreamTest, GroupRootAndListLayouts) {
    TAccountList list;
    TFakeAccountReferences refs;
    refs.envelopes.names = {"Unallocated"};
    list.SetReferences(&refs);
    TScriptedAccountDialogs dialogs;
    dialogs.groupEdits.push_back([](TAccountGroupBuffer& b) {
        b.name = "Bank";
        b.description = "Banks";
        return true;
    });
    ASSERT_TRUE(list.GetAccountRoot()->NewGroup());  // id 1
    auto* bank = dynamic_cast<TAccountGroup*>(list.FindById(1));
    ASSERT_TRUE(bank->NewAccount("Chk", "", 1, "Unallocated"));          // id 2
    ASSERT_TRUE(list.GetAccountRoot()->NewAccount("Cash", "", 3, "x"));  // id 3
    bank->SetExpanded(false);
    list.ChangeBalance(2, 100);

    Bytes table(25, 0);
    table[1] = table[2] = table[3] = 1;
    // Children go last to first: the root holds Cash, Bank, so Bank is written first.
    Bytes expected = Cat({Header,
                          Record("TAccountList"),
                          Record("TAccountRoot"),
                          NodePart(true, 0, 2),
                          Record("TAccountGroup"),
                          NodePart(false, 1, 1),
                          Record("TAccount"),
                          NodePart(true, 2, 0),
                          W32(0x1002),
                          Str("Chk"),
                          Str(""),
                          W32(1),
                          W32(1),
                          W32(100),
                          W32(0),
                          End,
                          Str("Bank"),
                          Str("Banks"),
                          End,
                          Record("TAccount"),
                          NodePart(true, 3, 0),
                          W32(0x1002),
                          Str("Cash"),
                          Str(""),
                          W32(3),
                          W32(0),
                          W32(0),
                          W32(0),
                          End,
                          Str("Accounts"),
                          End,
                          W32(1),
                          W32(25),
                          W32(25),
                          table,
                          End});
    EXPECT_EQ(WriteOne(&list), expected);

    int state = -1;
    auto read = ReadOne<TAccountList>(expected, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    EXPECT_EQ(Children(read->GetRoot()), "Cash,Bank");
    TAccountNode* readBank = read->FindById(1);
    ASSERT_NE(readBank, nullptr);
    EXPECT_FALSE(readBank->IsExpanded());
    EXPECT_EQ(Children(readBank), "Chk");
    EXPECT_EQ(read->GetBalance(2), TMoney(100));
    EXPECT_EQ(read->GetTotal(), TMoney(100));
    // Every node read belongs to the list that read it.
    for (TTreeItem* n = read->GetRoot(); n; n = n->Next(true))
        EXPECT_EQ(n->GetOwner(), read.get());
    read->SetReferences(&refs);
    ASSERT_TRUE(read->GetAccountRoot()->NewAccount("New", "", 1, "Unallocated"));
    EXPECT_EQ(read->FindId("New"), 4u);
    EXPECT_EQ(WriteOne(read.get()).size(), expected.size() + 66);  // one account record more
}

TEST(AccountStreamTest, OrderSurvivesSavingAndReading) {
    TAccountList list;
    TFakeAccountReferences refs;
    refs.envelopes.names = {"Unallocated"};
    list.SetReferences(&refs);
    TScriptedAccountDialogs dialogs;
    TAccountRoot* root = list.GetAccountRoot();
    ASSERT_TRUE(root->NewAccount("A", "", 1, ""));
    ASSERT_TRUE(root->NewAccount("B", "", 1, ""));
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("G"));
    ASSERT_TRUE(root->NewGroup());
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("H"));
    ASSERT_TRUE(root->NewGroup());
    auto* g = list.FindById(list.FindId("G"));
    ASSERT_TRUE(g->NewAccount("X", "", 1, ""));
    ASSERT_TRUE(g->NewAccount("Y", "", 1, ""));
    ASSERT_EQ(Children(root), "B,A,H,G");

    auto read = ReadOne<TAccountList>(WriteOne(&list));
    ASSERT_TRUE(read);
    EXPECT_EQ(Children(read->GetRoot()), "B,A,H,G");
    EXPECT_EQ(Children(read->FindById(read->FindId("G"))), "Y,X");
    EXPECT_EQ(WriteOne(read.get()), WriteOne(&list));
}

TEST(AccountStreamTest, DamagedTreesNeverShareOrLoseNodes) {
    // The root lists four children: a back reference to itself, a second root, an account that
    // claims a child of its own, and a good group.
    Bytes damaged = Cat({Header,
                         Record("TAccountList"),
                         Record("TAccountRoot"),
                         NodePart(true, 0, 4),
                         {0x01},
                         W32(2),  // back reference to the root (index 2)
                         Record("TAccountRoot"),
                         NodePart(true, 0, 0),
                         Str("Second"),
                         End,
                         Record("TAccount"),
                         NodePart(true, 5, 1),
                         Record("TAccount"),
                         NodePart(true, 6, 0),
                         W32(0x1002),
                         Str("Inner"),
                         Str(""),
                         W32(1),
                         W32(0),
                         W32(0),
                         W32(0),
                         End,
                         W32(0x1002),
                         Str("Outer"),
                         Str(""),
                         W32(1),
                         W32(0),
                         W32(0),
                         W32(0),
                         End,
                         Record("TAccountGroup"),
                         NodePart(true, 7, 0),
                         Str("Good"),
                         Str(""),
                         End,
                         Str("Accounts"),
                         End,
                         W32(1),
                         W32(25),
                         W32(0),
                         End});
    int state = -1;
    auto read = ReadOne<TAccountList>(damaged, &state);
    EXPECT_EQ(state, pstream::Good);
    ASSERT_TRUE(read);
    EXPECT_EQ(Children(read->GetRoot()), "Outer,Good");
    EXPECT_EQ(read->FindId("Second"), 0u);
    EXPECT_EQ(read->FindId("Inner"), 0u);
    EXPECT_EQ(read->GetRoot()->GetParent(), nullptr);
    // Ids the table never issued are not handed out again.
    EXPECT_EQ(read->NewId(), 1u);
    TFakeAccountReferences refs;
    refs.envelopes.names = {"E"};
    read->SetReferences(&refs);
    for (int i = 0; i < 6; ++i)
        read->GetAccountRoot()->NewAccount("N" + std::to_string(i));
    EXPECT_NE(read->FindId("N4"), 5u);
    EXPECT_NE(read->FindId("N5"), 6u);

    // A list whose root record is a group keeps the root it was made with.
    Bytes groupAsRoot =
        Cat({Header, Record("TAccountList"), Record("TAccountGroup"), NodePart(true, 1, 0),
             Str("G"), Str(""), End, W32(1), W32(25), W32(0), End});
    read = ReadOne<TAccountList>(groupAsRoot, &state);
    ASSERT_TRUE(read);
    EXPECT_STREQ(read->GetAccountRoot()->GetName(), "Accounts");
    EXPECT_EQ(read->FindId("G"), 0u);

    // Absurdly deep nesting stops the read instead of the program.
    Bytes deep = Cat({Header, Record("TAccountList")});
    for (int i = 0; i < 5000; ++i)
        deep = Cat({deep, Record("TAccountGroup"), NodePart(true, 1, 1)});
    read = ReadOne<TAccountList>(deep, &state);
    EXPECT_NE(state, pstream::Good);

    // Every truncation of a good file reads without harm.
    TAccountList list;
    list.SetReferences(&refs);
    TScriptedAccountDialogs dialogs;
    dialogs.groupEdits.push_back(TScriptedAccountDialogs::Group("G"));
    list.GetAccountRoot()->NewGroup();
    list.FindById(1)->NewAccount("A", "desc", 2, "E");
    list.GetAccountRoot()->NewAccount("B", "", 1, "E");
    Bytes good = WriteOne(&list);
    for (size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        auto partial = ReadOne<TAccountList>(cut, &state);
        EXPECT_NE(state, pstream::Good) << n;
        if (partial) {
            EXPECT_NE(partial->GetRoot(), nullptr);
        }
    }
}

}  // namespace
