#include "transactions/XManager.h"

#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "tests/support/Streams.h"
#include "transactions/XItem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <vector>

namespace {

using namespace streambytes;

// The stream header and the start of a TXManager record (class version 0), stream version 0x101.
const Bytes RecordStart = Cat({Header, {0x02, '['}, Str("TXManager"), W32(0)});
const Bytes RecordEnd = {0x5D};

// A 256-byte record holding only the fields the store looks at, placed at their offsets.
Bytes RawRecord(uint32_t id, uint32_t flags, uint32_t dateKey, int32_t amount, const char* code) {
    Bytes b(256, 0);
    std::memcpy(&b[0], W32(id).data(), 4);
    std::memcpy(&b[4], W32(flags).data(), 4);
    std::memcpy(&b[28], W32(dateKey).data(), 4);
    std::memcpy(&b[52], W32(static_cast<uint32_t>(amount)).data(), 4);
    std::memcpy(&b[56], code, std::strlen(code));
    return b;
}

TXRecord Rec(uint32_t dateKey, int32_t amount, const char* code = "", uint32_t envelope = 1) {
    TXRecord r;
    r.Init(TDate(1, 1, 2024));
    r.flags = XCommitted | XAccount;
    r.account = 1;
    r.envelope = envelope;
    r.date = dateKey;
    r.amount = amount;
    r.SetCode(code);
    return r;
}

uint32_t Day(int d) {
    return TDate(d, 5, 2024).Key();
}

// The ids in store order.
std::vector<uint32_t> Ids(const TXManager& m) {
    std::vector<uint32_t> ids;
    for (uint32_t p = 1; p <= m.GetCount(); ++p)
        ids.push_back(m.RecordAt(p).id);
    return ids;
}

}  // namespace

TEST(XManagerStream, NewManagerWritesItsEmptyLayout) {
    TXManager m;
    Bytes expected = Cat({RecordStart,
                          {0x02, 0x00, 0x00, 0x00,   // layout 2
                           0xE8, 0x03, 0x00, 0x00,   // capacity 1000
                           0x00, 0x00, 0x00, 0x00,   // count
                           0x00, 0x00, 0x00, 0x00},  // last id
                          RecordEnd});
    EXPECT_EQ(WriteOne(&m), expected);
}

TEST(XManagerStream, Layout2ReadsAndWritesBackByteForByte) {
    Bytes first = RawRecord(7, 0x0D, Day(3), -1000, "101");
    Bytes freed = RawRecord(2, 0x00, Day(4), 0, "");  // a free slot keeps its id
    Bytes file =
        Cat({RecordStart, W32(2), W32(1000), W32(2), W32(7),  // layout, capacity, count, last id
             first, freed, RecordEnd});
    auto m = ReadExpecting<TXManager>(file, pstream::Good);
    ASSERT_TRUE(m);
    EXPECT_EQ(WriteOne(m.get()), file);
    EXPECT_EQ(m->FindRecord(2), nullptr);

    // The free slot is reused by the next record, id and all.
    EXPECT_EQ(m->NewRecord(Rec(Day(5), 100)), 2u);
    EXPECT_EQ(m->GetCount(), 2u);
    EXPECT_EQ(m->GetLastId(), 7u);
}

TEST(XManagerStream, Layout1TakesTheCountAsLastIdAndIsWrittenAsLayout2) {
    // The oldest files: stream version 0 (no header, 16-bit words, one-byte name length, no class
    // version) and layout 1 without a last id.
    Bytes rec = RawRecord(1, 0x09, Day(1), 500, "");
    Bytes file = Cat({{0x02, 0x5B, 0x09, 'T', 'X', 'M', 'a', 'n', 'a', 'g', 'e', 'r'},
                      {0x01, 0x00},  // layout, a word16
                      {0x64, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
                      rec,  // capacity 100, count 1
                      RecordEnd});
    auto m = ReadExpecting<TXManager>(file, pstream::Good);
    ASSERT_TRUE(m);
    Bytes expected = Cat({RecordStart, W32(2), W32(100), W32(1), W32(1), rec, RecordEnd});
    EXPECT_EQ(WriteOne(m.get()), expected);
    EXPECT_EQ(m->NewRecord(Rec(Day(2), 1)), 2u);
}

TEST(XManagerStream, DamagedCountsFailWithoutRunawayAllocation) {
    // A count of four billion with one record behind it: the stream fails, nothing is kept from
    // the incomplete piece, and the manager stays usable.
    auto plain = [](uint32_t id) { return RawRecord(id, 0x09, Day(1), 1, ""); };
    Bytes file = Cat({RecordStart, W32(2), W32(0xFFFFFFFF), W32(0xFFFFFFFF), W32(1), plain(1)});
    auto m = ReadExpecting<TXManager>(file, pstream::Failed);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->GetCount(), 0u);
    EXPECT_NE(m->NewRecord(Rec(Day(1), 1)), 0u);

    // Records come in pieces of 64: a file cut inside the second piece keeps the first.
    Bytes cut = Cat({RecordStart, W32(2), W32(1000), W32(100), W32(100)});
    for (uint32_t id = 1; id <= 70; ++id)
        cut = Cat({cut, plain(id)});
    m = ReadExpecting<TXManager>(cut, pstream::Failed);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->GetCount(), 64u);
    EXPECT_EQ(m->RecordAt(64).id, 64u);

    // A count above the capacity grows the capacity to it; a last id below an id held is raised
    // so that no id is handed out twice.
    Bytes over = Cat({RecordStart, W32(2), W32(1), W32(2), W32(1), plain(1), plain(5), RecordEnd});
    m = ReadExpecting<TXManager>(over, pstream::Good);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->GetCapacity(), 2u);
    EXPECT_EQ(m->NewRecord(Rec(Day(1), 1)), 6u);
    EXPECT_EQ(m->GetCapacity(), 502u);

    // A capacity and a last id at the top of the range are damage: new records still get room
    // and an id after the highest held.
    Bytes claims =
        Cat({RecordStart, W32(2), W32(0xFFFFFFFFu), W32(1), W32(0xFFFFFFFFu), plain(3), RecordEnd});
    m = ReadAs<TXManager>(claims);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->NewRecord(Rec(Day(1), 1)), 4u);
}

TEST(XManagerStore, NewIdsGrowthAndSlotReuse) {
    TXManager m;
    for (uint32_t i = 1; i <= 1000; ++i)
        ASSERT_EQ(m.NewRecord(Rec(Day(1), 1)), i);
    EXPECT_EQ(m.GetCapacity(), 1000u);
    EXPECT_EQ(m.NewRecord(Rec(Day(1), 1)), 1001u);
    EXPECT_EQ(m.GetCapacity(), 1500u);
    EXPECT_EQ(m.GetLastId(), 1001u);

    // A new record is stored dirty, with the template's other fields.
    const TXRecord* r = m.FindRecord(1001);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->IsDirty());
    EXPECT_TRUE(r->IsCommitted());

    // Freeing moves the slot behind the last committed record; the next record takes its id.
    uint32_t p = m.FindSlot(500);
    m.FreeSlot(p);
    EXPECT_EQ(m.RecordAt(1001).id, 500u);
    EXPECT_TRUE(m.RecordAt(1001).IsFree());
    EXPECT_EQ(m.RecordAt(500).id, 501u);
    EXPECT_EQ(m.NewRecord(Rec(Day(2), 2)), 500u);
    EXPECT_EQ(m.GetCount(), 1001u);
    EXPECT_EQ(m.GetLastId(), 1001u);
    EXPECT_EQ(m.FindRecord(500)->amount, 2);
}

TEST(XManagerStore, FreeSlotsAfterAnUncommittedRecordWaitBehindIt) {
    TXManager m;
    m.NewRecord(Rec(Day(1), 1));  // 1
    m.NewRecord(Rec(Day(1), 2));  // 2
    TXRecord blank = Rec(Day(1), 0);
    blank.flags = XAccount;     // a blank row, not committed
    m.NewRecord(blank);         // 3
    m.FreeSlot(m.FindSlot(1));  // 2, 1(free), 3
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{2, 1, 3}));
    // The last slot in use is the blank row, so the free slot before it is not taken.
    EXPECT_EQ(m.NewRecord(Rec(Day(1), 4)), 4u);
    // Freeing the blank row moves it behind the last committed record.
    m.FreeSlot(m.FindSlot(3));
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{2, 1, 4, 3}));
}

// Whatever moved, was added or took a fresh id since, a slot is found where it stands, near the
// last one found or far from it, and an id no slot holds is not found.
TEST(XManagerStore, FindSlotFollowsEveryMove) {
    TXManager m;
    std::mt19937 random(5);
    auto pick = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    for (int i = 0; i < 300; ++i)
        m.NewRecord(Rec(Day(1), 1));
    auto scan = [&](uint32_t id) {
        for (uint32_t p = 1; p <= m.GetCount(); ++p)
            if (m.RecordAt(p).id == id) return p;
        return 0u;
    };
    // A record added after a far search is found far from the last slot found.
    EXPECT_EQ(m.FindSlot(300), 300u);
    EXPECT_EQ(m.FindSlot(1), 1u);
    EXPECT_EQ(m.NewRecord(Rec(Day(1), 1)), 301u);
    EXPECT_EQ(m.FindSlot(1), 1u);
    EXPECT_EQ(m.FindSlot(301), 301u);
    for (int step = 0; step < 400; ++step) {
        switch (pick(4)) {
            case 0:
                m.MoveRecord(1 + pick(m.GetCount()), 1 + pick(m.GetCount()));
                break;
            case 1:
                m.NewRecord(Rec(Day(1), 1));
                break;
            case 2: {  // a freed slot takes a fresh id
                uint32_t p = 1 + pick(m.GetCount());
                m.FreeSlot(p);
                uint32_t last = m.GetCount();
                while (last > 0 && !m.RecordAt(last).IsFree())
                    --last;
                if (last) m.ReissueFreeSlot(last);
                break;
            }
            default:
                break;
        }
        for (int k = 0; k < 3; ++k) {
            uint32_t id = pick(m.GetLastId() + 3);
            ASSERT_EQ(m.FindSlot(id), scan(id)) << "step " << step << ", id " << id;
        }
    }
    EXPECT_EQ(m.FindSlot(0), 0u);
    EXPECT_EQ(m.FindRecord(m.GetLastId() + 1), nullptr);
    EXPECT_THROW(m.RecordAt(0), TXBase);
    EXPECT_THROW(m.RecordAt(m.GetCount() + 1), TXBase);
}

TEST(XManagerOrder, RulesInTurn) {
    TXManager m;
    // 1 and 2: "start" before everything, "hold" after everything, whatever the date.
    EXPECT_TRUE(m.SortsBefore(Rec(Day(20), 1, "START"), Rec(Day(1), 1, "")));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, ""), Rec(Day(20), 1, "Start")));
    EXPECT_TRUE(m.SortsBefore(Rec(Day(20), 1, ""), Rec(Day(1), 1, "Hold")));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, "hOLD"), Rec(Day(20), 1, "")));
    EXPECT_TRUE(m.SortsBefore(Rec(Day(20), 1, "start"), Rec(Day(1), 1, "hold")));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(2), 1, "starts"), Rec(Day(1), 1, "")));  // not the word
    // 3: the date.
    EXPECT_TRUE(m.SortsBefore(Rec(Day(1), -5, "9"), Rec(Day(2), 5, "1")));
    // 4: a deposit before a payment; zero ties with both and passes on to the code.
    EXPECT_TRUE(m.SortsBefore(Rec(Day(1), 500, "b"), Rec(Day(1), -1000, "a")));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), -1000, "a"), Rec(Day(1), 500, "b")));
    EXPECT_TRUE(m.SortsBefore(Rec(Day(1), 0, "a"), Rec(Day(1), 500, "b")));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 0, "b"), Rec(Day(1), -500, "a")));
    // 5: the code without regard to case (the comparison itself is tested below).
    EXPECT_TRUE(m.SortsBefore(Rec(Day(1), 1, "abc"), Rec(Day(1), 1, "ABD")));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, "ABC"), Rec(Day(1), 1, "abc")));
    // 6: the envelope's place in the envelope list, not its id.
    std::map<uint32_t, uint32_t> places = {{7, 1}, {3, 2}};
    m.SetEnvelopePosition([&](uint32_t id) { return places.count(id) ? places[id] : 0; });
    EXPECT_TRUE(m.SortsBefore(Rec(Day(1), 1, "x", 7), Rec(Day(1), 1, "x", 3)));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, "x", 3), Rec(Day(1), 1, "x", 7)));
    // 7: nothing tells them apart.
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, "x", 3), Rec(Day(1), 1, "X", 3)));
}

TEST(XManagerOrder, EnvelopePlacesComeFromTheStoresOwnDocument) {
    TQuilletData doc;
    TEnvelopeRoot* root = doc.GetEnvelopes().GetEnvelopeRoot();
    ASSERT_TRUE(root->NewEnvelope("Food"));  // id 1
    ASSERT_TRUE(root->NewEnvelope("Rent"));  // id 2, placed before Food
    uint32_t food = doc.GetEnvelopes().FindId("Food"), rent = doc.GetEnvelopes().FindId("Rent");
    ASSERT_LT(food, rent);
    ASSERT_LT(doc.GetEnvelopes().IndexOf(rent), doc.GetEnvelopes().IndexOf(food));

    TXManager m;
    TQuilletData::SetCurrent(&doc);  // the open document is not the store's
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, "", rent), Rec(Day(1), 1, "", food)));
    TQuilletData::SetCurrent(nullptr);
    m.SetDocument(&doc);
    EXPECT_TRUE(m.SortsBefore(Rec(Day(1), 1, "", rent), Rec(Day(1), 1, "", food)));
    EXPECT_FALSE(m.SortsBefore(Rec(Day(1), 1, "", food), Rec(Day(1), 1, "", rent)));
    EXPECT_EQ(doc.GetXManager().Document(), &doc);
}

TEST(XManagerOrder, CodeTextComparison) {
    EXPECT_EQ(CompareCodeText("ABC", "abc"), 0);
    EXPECT_EQ(CompareCodeText("\xC0\xC9", "\xE0\xE9"), 0);  // "ÀÉ" and "àé"
    EXPECT_LT(CompareCodeText("sa",
                              "\x8A"
                              "b"),
              0);  // "Šb" sorts with the s
    EXPECT_EQ(CompareCodeText("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"), 0);
    EXPECT_NE(CompareCodeText("\xD7", "\xF7"), 0);  // multiplication and division signs
    EXPECT_LT(CompareCodeText("ab", "abc"), 0);
    EXPECT_LT(CompareCodeText("e", "\xE9"), 0);    // the plain letter before its accented form
    EXPECT_LT(CompareCodeText("\xE9", "f"), 0);    // both before the next letter
    EXPECT_GT(CompareCodeText("\xD1o", "na"), 0);  // "Ño" after "na"
    EXPECT_LT(CompareCodeText("10", "9"), 0);      // text, not numbers
}

TEST(XManagerOrder, ResortPlacesRecordsAfterThoseThatDoNotSortAfterThem) {
    TXManager m;
    // Inserted in a jumbled order; Flush puts each dirty record in its place.
    uint32_t pay = m.NewRecord(Rec(Day(2), -1000));
    uint32_t dep = m.NewRecord(Rec(Day(2), 500));
    uint32_t hold = m.NewRecord(Rec(Day(1), 1, "Hold"));
    uint32_t early = m.NewRecord(Rec(Day(1), -1));
    uint32_t start = m.NewRecord(Rec(Day(9), 1, "START"));
    m.Flush();
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{start, early, dep, pay, hold}));
    for (uint32_t p = 1; p <= m.GetCount(); ++p)
        EXPECT_FALSE(m.RecordAt(p).IsDirty());

    // Equal records keep their order: a newcomer lands after all its equals.
    uint32_t a = m.NewRecord(Rec(Day(5), 1));
    m.Resort(m.FindSlot(a));
    uint32_t b = m.NewRecord(Rec(Day(5), 1));
    m.Resort(m.FindSlot(b));
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{start, early, dep, pay, a, b, hold}));

    // A changed date keeps the record in its slot until it is re-sorted.
    TXRecord changed = *m.FindRecord(early);
    changed.date = Day(5);
    m.Commit(changed);
    EXPECT_TRUE(m.FindRecord(early)->IsDirty());
    EXPECT_EQ(m.FindSlot(early), 2u);
    m.Resort(m.FindSlot(early));
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{start, dep, pay, a, b, early, hold}));

    // Everything sorts after it: to the front.
    TXRecord first = *m.FindRecord(hold);
    first.SetCode("start");
    first.date = Day(1);
    m.Commit(first);
    m.Resort(m.FindSlot(hold));
    EXPECT_EQ(Ids(m).front(), hold);
}

TEST(XManagerOrder, FlushFreesUncommittedRecordsAndSortsDirtyOnes) {
    TXManager m;
    uint32_t late = m.NewRecord(Rec(Day(9), 1));
    TXRecord blank = Rec(Day(1), 0);
    blank.flags = XAccount;
    uint32_t empty = m.NewRecord(blank);
    uint32_t early = m.NewRecord(Rec(Day(1), 1));
    uint32_t mid = m.NewRecord(Rec(Day(5), 1));
    m.Flush();
    EXPECT_EQ(Ids(m), (std::vector<uint32_t>{early, mid, late, empty}));
    EXPECT_TRUE(m.RecordAt(4).IsFree());
    EXPECT_EQ(m.FindRecord(empty), nullptr);
    EXPECT_EQ(m.NewRecord(Rec(Day(2), 1)), empty);

    // Commit needs the id to be in the store.
    TXRecord stranger = Rec(Day(1), 1);
    stranger.id = 99;
    EXPECT_FALSE(m.Commit(stranger));
}

// Resort through the plain walk, which the store may shorten: from the last slot down, the
// moving record goes behind the first clean record it does not sort before.
void PlainResort(TXManager& m, uint32_t p, std::vector<uint32_t>& ids) {
    const TXRecord& moving = m.RecordAt(p);
    uint32_t after = 0;
    for (uint32_t t = m.GetCount(); t >= 1 && after == 0; --t) {
        const TXRecord& r = m.RecordAt(t);
        if (t != p && !r.IsFree() && !r.IsDirty() && !m.SortsBefore(moving, r)) after = t;
    }
    const uint32_t target = after == 0 ? 1 : (after < p ? after + 1 : after);
    uint32_t id = ids[p - 1];
    ids.erase(ids.begin() + p - 1);
    ids.insert(ids.begin() + target - 1, id);
}

// Flush takes a one-pass route for stores of the usual shape and Resort searches for a place;
// both must end where the slot-by-slot walk from the last slot to the first does.
TEST(XManagerOrder, FlushAndResortMatchThePlainWalk) {
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* codes[] = {"", "start", "hold", "12", "ab"};
    auto resort = [](TXManager& m, uint32_t p) {
        std::vector<uint32_t> expected = Ids(m);
        PlainResort(m, p, expected);
        m.Resort(p);
        ASSERT_EQ(Ids(m), expected);
    };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        TXManager a, b;
        for (TXManager* m : {&a, &b})
            m->SetEnvelopePosition([](uint32_t id) { return 4 - id; });
        auto add = [&](bool sort) {
            TXRecord r = Rec(static_cast<uint32_t>(1 + pick(4)), pick(3) * 5 - 5, codes[pick(5)],
                             static_cast<uint32_t>(1 + pick(3)));
            if (pick(12) == 0) r.flags = XAccount;  // a blank row left uncommitted
            a.NewRecord(r);
            uint32_t id = b.NewRecord(r);
            if (sort && r.IsCommitted()) {
                a.Resort(a.FindSlot(id));
                resort(b, b.FindSlot(id));
            }
        };
        int clean = pick(12), dirty = 1 + pick(12);
        for (int i = 0; i < clean; ++i)
            add(true);
        for (int i = 0; i < dirty; ++i)
            add(false);
        if (a.GetCount() > 0 && pick(3) == 0) {  // a clean record changed in place
            TXRecord changed = a.RecordAt(1 + static_cast<uint32_t>(pick(int(a.GetCount()))));
            changed.date = static_cast<uint32_t>(1 + pick(4));
            a.Commit(changed);
            b.Commit(changed);
        }
        a.Flush();
        uint32_t p = b.GetCount();
        while (p >= 1) {
            const TXRecord& r = b.RecordAt(p);
            if (r.IsCommitted() && r.IsDirty())
                resort(b, p);
            else if (!r.IsFree() && !r.IsCommitted())
                b.FreeSlot(p);
            else
                --p;
        }
        ASSERT_EQ(Ids(a), Ids(b));
        for (uint32_t q = 1; q <= a.GetCount(); ++q)
            ASSERT_EQ(a.RecordAt(q).flags, b.RecordAt(q).flags);
    }
}

TEST(XManagerDeletion, WhichRecordsBelongToAnAccountOrEnvelope) {
    TXManager m;
    EXPECT_FALSE(m.HasAccountTransactions(1) || m.HasEnvelopeTransactions(1));
    // A part counts for its account through its multiple only; a multiple and an account
    // transfer half carry no envelope of their own.
    struct Case {
        uint32_t kind, account, envelope;
        bool accountHas, envelopeHas;
    };
    uint32_t partId = 0;
    for (Case c : {Case{XKindPart, 2, 4, false, true}, Case{XKindMultiple, 2, 5, true, false},
                   Case{XKindAccountTransfer, 3, 6, true, false},
                   Case{XKindEnvelopeTransfer, 0, 8, false, true}}) {
        TXRecord r = Rec(Day(1), 1, "", c.envelope);
        r.account = c.account;
        r.flags = XCommitted | c.kind;
        const uint32_t id = m.NewRecord(r);
        if (c.kind == XKindPart) partId = id;
        EXPECT_EQ(m.HasAccountTransactions(c.account), c.accountHas) << c.kind;
        EXPECT_EQ(m.HasEnvelopeTransactions(c.envelope), c.envelopeHas) << c.kind;
    }

    // Records being deleted and free slots belong to nobody.
    TXRecord going = *m.FindRecord(partId);
    going.flags |= XDeleted;
    m.Commit(going);
    EXPECT_FALSE(m.HasEnvelopeTransactions(4));
    m.FreeSlot(m.FindSlot(partId));
    EXPECT_FALSE(m.HasEnvelopeTransactions(4));
}

TEST(XManagerMarks, ImportAndPendingMarksAreConfirmedInBulk) {
    TXManager m;
    TXRecord imported = Rec(Day(1), 1);
    imported.newlyImported = 7;  // any non-zero value counts
    imported.accountCleared = XClearedPending;
    uint32_t a = m.NewRecord(imported);
    TXRecord cleared = Rec(Day(1), 1);
    cleared.accountCleared = Day(3);
    cleared.envelopeCleared = XClearedPending;
    uint32_t b = m.NewRecord(cleared);
    EXPECT_TRUE(m.HasImportMarks());
    EXPECT_TRUE(m.HasPendingCleared());

    m.ClearImportMarks();
    EXPECT_FALSE(m.HasImportMarks());
    EXPECT_EQ(m.FindRecord(a)->newlyImported, 0);

    m.ConfirmPendingCleared(TDate(31, 5, 2024));
    EXPECT_FALSE(m.HasPendingCleared());
    EXPECT_EQ(m.FindRecord(a)->accountCleared, TDate(31, 5, 2024).Key());
    EXPECT_EQ(m.FindRecord(b)->accountCleared, Day(3));  // a date stays
    EXPECT_EQ(m.FindRecord(b)->envelopeCleared, TDate(31, 5, 2024).Key());
}

// Posting many records together must leave the store exactly as releasing them one by one does:
// the same slots in the same order, byte for byte, whatever is added, changed or deleted.
TEST(XManagerOrder, BulkPostingMatchesReleasingOneByOne) {
    std::mt19937 random(11);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // Codes across the word boundaries of the order's keys, accented and in either case.
    const char* codes[] = {"",          "start",
                           "hold",      "12",
                           "ab",        "AB",
                           "abcdefgh",  "ABCDEFGHi",
                           "\xE9t\xE9", "ETE",
                           "\xC9T\xC9", "abcdefghijklmnopqrs",
                           "ete",       "ABCDEFGHIJKLMNOPQRs",
                           "eu"};
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        TXManager bulk, single;
        for (TXManager* m : {&bulk, &single})
            m->SetEnvelopePosition([](uint32_t id) { return 4 - id; });
        // Every other round has no zero amount, so that whole runs stay in a proper order.
        const bool zeros = round % 2 == 0;
        auto record = [&] {
            int sign = zeros ? pick(3) - 1 : 2 * pick(2) - 1;
            TXRecord r = Rec(Day(1 + pick(5)), sign * (1 + pick(3)) * 100, codes[pick(15)],
                             static_cast<uint32_t>(1 + pick(3)));
            // What follows a code's end in its field is left over and must not count.
            size_t end = std::strlen(r.code);
            if (pick(2) && end + 1 < TXRecord::CodeSize)
                std::memset(r.code + end + 1, 'z', TXRecord::CodeSize - end - 1);
            return r;
        };
        const int start = pick(40), changes = 1 + pick(60);
        for (int i = 0; i < start; ++i) {
            TXRecord r = record();
            for (TXManager* m : {&bulk, &single})
                m->Resort(m->FindSlot(m->NewRecord(r)));
        }
        std::vector<std::function<void(TXManager&)>> steps;
        for (int k = 0; k < changes; ++k) {
            TXRecord r = record();
            uint32_t id = static_cast<uint32_t>(1 + pick(start + changes));
            switch (pick(6)) {
                case 0:
                case 1:
                case 2:
                    steps.push_back([r](TXManager& m) { m.Release(m.NewItem(r)); });
                    break;
                case 3:  // a date, an amount and a code typed over; an emptied record goes
                    steps.push_back([r, id](TXManager& m) {
                        if (TXItem* item = m.GetItem(id)) {
                            item->Data().date = r.date;
                            item->Data().amount = r.amount;
                            item->Data().SetCode(r.GetCode());
                            item->MarkChanged(false);
                            m.Release(item);
                        }
                    });
                    break;
                case 4:
                    steps.push_back([id](TXManager& m) {
                        if (TXItem* item = m.GetItem(id)) m.Delete(item);
                    });
                    break;
                default:  // a question that needs the order in the middle
                    steps.push_back([](TXManager& m) { m.NextNumber(1); });
            }
        }
        {
            TXManager::TBulkPosting posting(bulk);
            for (auto& step : steps)
                step(bulk);
        }
        for (auto& step : steps)
            step(single);
        ASSERT_EQ(bulk.GetCount(), single.GetCount());
        for (uint32_t p = 1; p <= bulk.GetCount(); ++p)
            ASSERT_EQ(std::memcmp(&bulk.RecordAt(p), &single.RecordAt(p), sizeof(TXRecord)), 0)
                << "position " << p;
    }
}
