#include "core/IdList.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/ObjectStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes Header = {':', 0x01, 0x01, 0x00, 0x00};

Bytes Word32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A stream holding an id table of the given size whose entries are given, then zeros.
Bytes TableBytes(uint32_t growth, uint32_t size, const Bytes& entries) {
    Bytes table(size, 0);
    for (size_t i = 0; i < entries.size() && i < size; ++i)
        table[i] = entries[i];
    return Cat({Header, Word32(1), Word32(growth), Word32(size), table});
}

TIdList ReadList(const Bytes& bytes, int* state = nullptr) {
    imemstream is(bytes);
    TIdList list(99);
    list.Read(is);
    if (state) *state = is.rdstate();
    return list;
}

TEST(IdListTest, IssuesUpwardAndNeverReusesReleasedIds) {
    TIdList ids(25);
    EXPECT_EQ(ids.Issue(), 1u);
    EXPECT_EQ(ids.GetSize(), 25u);
    EXPECT_EQ(ids.Issue(), 2u);
    EXPECT_EQ(ids.Issue(), 3u);
    ids.Release(3);
    EXPECT_TRUE(ids.IsIssued(3));  // released ids stay recognisable
    EXPECT_EQ(ids.GetEntry(3), TIdList::Released);
    EXPECT_EQ(ids.Issue(), 4u);

    ids.Release(2);
    EXPECT_EQ(ids.Issue(), 5u);  // a gap below the highest id is not filled

    // Releasing an id never issued changes nothing, also beyond the table.
    ids.Release(20);
    ids.Release(1000);
    EXPECT_FALSE(ids.IsIssued(20));
    EXPECT_FALSE(ids.IsIssued(1000));
    EXPECT_FALSE(ids.IsIssued(0));
}

TEST(IdListTest, TableGrowsByItsStepWhenFull) {
    TIdList ids(25);
    for (uint32_t expected = 1; expected <= 24; ++expected)
        ASSERT_EQ(ids.Issue(), expected);
    EXPECT_EQ(ids.GetSize(), 25u);
    EXPECT_EQ(ids.Issue(), 25u);  // the last entry is never handed out without growing
    EXPECT_EQ(ids.GetSize(), 50u);
    EXPECT_EQ(ids.Issue(), 26u);

    TIdList small(10);
    small.Issue();
    EXPECT_EQ(small.GetSize(), 10u);

    // Even when the highest id issued was released, the next one is above it.
    TIdList released(25);
    released.Issue();
    released.Release(1);
    EXPECT_EQ(released.Issue(), 2u);
}

TEST(IdListTest, WritesLayoutNumberGrowthSizeAndTable) {
    TIdList ids(25);
    ids.Issue();
    ids.Issue();
    ids.Release(1);
    omemstream os;
    ids.Write(os);
    Bytes expected = Cat({Header,
                          {0x01, 0x00, 0x00, 0x00},
                          {0x19, 0x00, 0x00, 0x00},
                          {0x19, 0x00, 0x00, 0x00},
                          {0x00, 0x02, 0x01},
                          Bytes(22, 0x00)});
    EXPECT_EQ(os.bytes(), expected);

    TIdList empty(10);
    omemstream os2;
    empty.Write(os2);
    EXPECT_EQ(os2.bytes(), Cat({Header, {1, 0, 0, 0}, {10, 0, 0, 0}, {0, 0, 0, 0}}));
}

TEST(IdListTest, ReadsTablesFromHandWrittenBytes) {
    int state = -1;
    TIdList emptyRead = ReadList(TableBytes(25, 0, {}), &state);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(emptyRead.GetSize(), 0u);
    EXPECT_EQ(emptyRead.GetGrowth(), 25u);
    EXPECT_EQ(emptyRead.Issue(), 1u);

    // Size 30 with entry 29 the highest set: the next id forces growth to 55 and is 30.
    Bytes entries(30, 0);
    entries[1] = 1;
    entries[7] = 2;
    entries[29] = 1;
    TIdList full = ReadList(TableBytes(25, 30, entries), &state);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(full.GetSize(), 30u);
    EXPECT_TRUE(full.IsIssued(7));
    EXPECT_FALSE(full.IsIssued(8));
    EXPECT_EQ(full.Issue(), 30u);
    EXPECT_EQ(full.GetSize(), 55u);

    // A read table writes back byte for byte.
    Bytes original = TableBytes(10, 12, {0, 1, 1, 2, 1});
    TIdList again = ReadList(original);
    omemstream os;
    again.Write(os);
    EXPECT_EQ(os.bytes(), original);
}

TEST(IdListTest, DamagedTablesFailWithoutTakingEffect) {
    // A size far beyond the bytes present fails the stream and keeps the table as it was.
    Bytes lying = Cat({Header, Word32(1), Word32(25), Word32(0xFFFFFFF0u), Bytes(40, 1)});
    imemstream is(lying);
    TIdList list(7);
    list.Issue();
    list.Read(is);
    EXPECT_NE(is.rdstate(), pstream::Good);
    EXPECT_EQ(list.GetSize(), 7u);
    EXPECT_EQ(list.GetGrowth(), 7u);
    EXPECT_EQ(list.Issue(), 2u);

    // Truncated inside the header words.
    int state = -1;
    TIdList cut = ReadList(Cat({Header, Word32(1), {25, 0}}), &state);
    EXPECT_NE(state, pstream::Good);
    EXPECT_EQ(cut.GetSize(), 0u);

    // A growth of 0 or an absurd one still issues ids, with a table of sane size.
    TIdList zero = ReadList(TableBytes(0, 0, {}));
    EXPECT_EQ(zero.Issue(), 1u);
    EXPECT_EQ(zero.Issue(), 2u);
    TIdList huge = ReadList(TableBytes(0xFFFFFFFFu, 0, {}));
    EXPECT_EQ(huge.Issue(), 1u);
    EXPECT_LE(huge.GetSize(), 1u << 16);
    EXPECT_EQ(huge.GetGrowth(), 0xFFFFFFFFu);  // kept as read, so it writes back unchanged
}

}  // namespace
