#include "plan/XTemplate.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/ObjectStream.h"
#include "plan/XTemplateManager.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Str(const std::string& s) {
    Bytes b = {static_cast<uint8_t>(s.size()), 0, 0, 0};
    for (char c : s)
        b.push_back(static_cast<uint8_t>(c));
    return b;
}

const Bytes Header = {0x3A, 0x01, 0x01, 0x00, 0x00};

// The id table of a manager that has issued one id: layout 1, growth 10, size 10, entry 1 in use.
const Bytes OneIdTable = {0x01, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00,
                          0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

int ReadInto(TXTemplateManager& m, const Bytes& inPlace) {
    Bytes file = Cat({Header, inPlace});
    imemstream is(file);
    m.Read(is);
    return is.rdstate();
}

Bytes Written(const TXTemplateManager& m) {
    omemstream os(false);
    m.Write(os);
    EXPECT_TRUE(os.good());
    return os.bytes();
}

}  // namespace

TEST(XTemplateStream, ManagerLayoutMatchesHandWrittenBytes) {
    TXTemplateManager m;
    auto t = std::make_unique<TXTemplate>(&m);
    t->SetName("Housing");
    t->SetIncludeInPlan(true);
    t->SetPayableTo("Landlord");
    t->GetItems().Append(5, -125000, "Rent");
    t->GetItems().Append(9, 2500, "");
    m.Add(std::move(t));

    Bytes expected = Cat({{0x01, 0x00, 0x00, 0x00},  // count
                          {0x01, 0x00, 0x00, 0x00},  // id
                          {0x03, 0x00, 0x00, 0x00},  // layout 3
                          {0x01, 0x00, 0x00, 0x00},  // include in plan
                          {0x01, 0x00, 0x00, 0x00},  // items layout 1
                          {0x02, 0x00, 0x00, 0x00},  // two items
                          {0x05, 0x00, 0x00, 0x00, 0xB8, 0x17, 0xFE, 0xFF},
                          Str("Rent"),
                          {0x09, 0x00, 0x00, 0x00, 0xC4, 0x09, 0x00, 0x00},
                          Str(""),
                          {0x04, 0x00, 0x00, 0x00},  // period: monthly
                          Str("Housing"),
                          Str("Landlord"),
                          Str(""),
                          OneIdTable});
    EXPECT_EQ(Written(m), expected);

    TXTemplateManager back;
    EXPECT_EQ(ReadInto(back, expected), pstream::Good);
    ASSERT_EQ(back.GetCount(), 1u);
    TXTemplate* r = back.GetTemplate(1);
    EXPECT_EQ(r->GetId(), 1u);
    EXPECT_EQ(r->GetName(), "Housing");
    EXPECT_TRUE(r->GetIncludeInPlan());
    EXPECT_EQ(r->GetPeriod(), 4u);
    EXPECT_EQ(r->GetPayableTo(), "Landlord");
    EXPECT_EQ(r->GetMemo(), "");
    ASSERT_EQ(r->GetItems().GetCount(), 2u);
    EXPECT_EQ(r->GetItems().GetAt(0)->GetEnvelope(), 5u);
    EXPECT_EQ(r->GetItems().GetAt(0)->GetAmount(), -125000);
    EXPECT_EQ(r->GetItems().GetAt(0)->GetDescription(), "Rent");
    EXPECT_EQ(r->GetItems().GetAt(1)->GetAmount(), 2500);
    EXPECT_EQ(r->GetItems().GetAt(0)->GetOwner(), &r->GetItems());
    EXPECT_EQ(r->GetOwner(), &back);
    EXPECT_EQ(Written(back), expected);
    // The id table came along: the next template gets id 2.
    EXPECT_EQ(back.Add(std::make_unique<TXTemplate>(&back))->GetId(), 2u);
}

TEST(XTemplateStream, OlderLayoutsKeepTheDefaultsOfWhatTheyLack) {
    // Layout 1: no period, no payable to, no memo.
    Bytes v1 = Cat({{0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00},  // count 1, id 4
                    {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // layout 1, not in plan
                    {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // no items
                    Str("Paycheck"),
                    OneIdTable});
    TXTemplateManager m1;
    EXPECT_EQ(ReadInto(m1, v1), pstream::Good);
    ASSERT_EQ(m1.GetCount(), 1u);
    EXPECT_EQ(m1.GetTemplate(1)->GetId(), 4u);
    EXPECT_EQ(m1.GetTemplate(1)->GetName(), "Paycheck");
    EXPECT_EQ(m1.GetTemplate(1)->GetPeriod(), 4u);
    EXPECT_EQ(m1.GetTemplate(1)->GetPayableTo(), "");

    // Layout 2: the period, still no texts.
    Bytes v2 = Cat({{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                    {0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                    {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
                    {0x02, 0x00, 0x00, 0x00},  // period 2
                    Str("Bonus"),
                    OneIdTable});
    TXTemplateManager m2;
    EXPECT_EQ(ReadInto(m2, v2), pstream::Good);
    ASSERT_EQ(m2.GetCount(), 1u);
    EXPECT_EQ(m2.GetTemplate(1)->GetPeriod(), 2u);
    EXPECT_EQ(m2.GetTemplate(1)->GetName(), "Bonus");

    // An unknown items layout: the count is read and no item, and the fields after it still are.
    Bytes odd = Cat({{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                     {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
                     {0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00},  // items layout 2, "3"
                     {0x06, 0x00, 0x00, 0x00},
                     Str("Odd"),
                     Str("Payee"),
                     Str("Note"),
                     OneIdTable});
    TXTemplateManager m3;
    EXPECT_EQ(ReadInto(m3, odd), pstream::Good);
    ASSERT_EQ(m3.GetCount(), 1u);
    TXTemplate* t = m3.GetTemplate(1);
    EXPECT_EQ(t->GetItems().GetCount(), 0u);
    EXPECT_EQ(t->GetPeriod(), 6u);
    EXPECT_EQ(t->GetName(), "Odd");
    EXPECT_EQ(t->GetMemo(), "Note");
}

TEST(XTemplateStream, DamagedCountsEndInAFailedStream) {
    // Four billion items, one present: the stream fails, the half-read template is dropped.
    Bytes items = Cat({{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                       {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
                       {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
                       {0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                       Str("x")});
    TXTemplateManager m;
    EXPECT_EQ(ReadInto(m, items), pstream::Failed);
    EXPECT_EQ(m.GetCount(), 0u);

    // A name longer than its field fails the stream rather than overrunning it.
    Bytes longName = Cat({{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                          {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
                          {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
                          Str(std::string(128, 'n')),
                          OneIdTable});
    TXTemplateManager m2;
    EXPECT_EQ(ReadInto(m2, longName), pstream::Failed);
    EXPECT_EQ(m2.GetCount(), 0u);
}

TEST(XTemplateManager, CopiesAreNamedAfterTheirSource) {
    TXTemplateManager m;
    auto rent = std::make_unique<TXTemplate>(&m);
    rent->SetName("Rent");
    rent->SetPeriod(7);
    rent->SetIncludeInPlan(true);
    rent->SetPayableTo("Landlord");
    rent->SetMemo("Flat 3");
    rent->GetItems().Append(5, -125000, "Allocate to ~e");
    uint32_t id = m.Add(std::move(rent))->GetId();

    ASSERT_TRUE(m.Duplicate(id));
    ASSERT_TRUE(m.Duplicate(id));
    ASSERT_EQ(m.GetCount(), 3u);
    EXPECT_EQ(m.GetTemplate(2)->GetName(), "copy of Rent");
    EXPECT_EQ(m.GetTemplate(3)->GetName(), "copy 2 of Rent");
    ASSERT_TRUE(m.Duplicate(m.GetTemplate(2)->GetId()));
    EXPECT_EQ(m.GetTemplate(4)->GetName(), "copy of copy of Rent");

    TXTemplate* copy = m.GetTemplate(2);
    EXPECT_NE(copy->GetId(), id);
    EXPECT_EQ(copy->GetPeriod(), 7u);
    EXPECT_TRUE(copy->GetIncludeInPlan());
    EXPECT_EQ(copy->GetPayableTo(), "Landlord");
    EXPECT_EQ(copy->GetMemo(), "Flat 3");
    ASSERT_EQ(copy->GetItems().GetCount(), 1u);
    EXPECT_EQ(copy->GetItems().GetAt(0)->GetAmount(), -125000);
    EXPECT_EQ(copy->GetItems().GetAt(0)->GetDescription(), "Allocate to ~e");
    EXPECT_FALSE(m.Duplicate(999));

    // The name is cut to its field, even with the prefix.
    auto longOne = std::make_unique<TXTemplate>(&m);
    longOne->SetName(std::string(200, 'L'));
    EXPECT_EQ(longOne->GetName().size(), 127u);
    uint32_t longId = m.Add(std::move(longOne))->GetId();
    ASSERT_TRUE(m.Duplicate(longId));
    EXPECT_EQ(m.GetTemplate(m.GetCount())->GetName(), "copy of " + std::string(119, 'L'));
}

TEST(XTemplateManager, ReplacingAnEnvelopeReachesEveryTemplate) {
    TXTemplateManager m;
    for (int i = 0; i < 2; ++i) {
        auto t = std::make_unique<TXTemplate>(&m);
        t->SetName("T" + std::to_string(i));
        t->GetItems().Append(3, 100, "");
        t->GetItems().Append(4, 200, "");
        t->AddAllocation(3, 300);
        m.Add(std::move(t));
    }
    m.ReplaceEnvelopeInAll(3, 8);
    for (uint32_t i = 1; i <= 2; ++i) {
        const TXTemplateList& items = m.GetTemplate(i)->GetItems();
        ASSERT_EQ(items.GetCount(), 3u);
        EXPECT_EQ(items.GetAt(0)->GetEnvelope(), 8u);
        EXPECT_EQ(items.GetAt(1)->GetEnvelope(), 4u);
        EXPECT_EQ(items.GetAt(2)->GetEnvelope(), 8u);
        EXPECT_EQ(items.GetAt(2)->GetDescription(), "Allocate to ~e");
        EXPECT_EQ(items.GetAt(2)->GetAmount(), 300);
    }
    // Names order templates without regard to case.
    EXPECT_TRUE(m.GetTemplate(1)->SortsBefore(m.GetTemplate(2)));
    m.GetTemplate(1)->SetName("b");
    m.GetTemplate(2)->SetName("A");
    EXPECT_FALSE(m.GetTemplate(1)->SortsBefore(m.GetTemplate(2)));
    EXPECT_TRUE(m.GetTemplate(2)->SortsBefore(m.GetTemplate(1)));
    char small[3];
    m.GetTemplate(1)->SetName("Groceries");
    m.GetTemplate(1)->GetName(small, sizeof small);
    EXPECT_STREQ(small, "Gr");
}
