#include "core/IdList.h"

#include <gtest/gtest.h>

#include "core/ObjectStream.h"
#include "tests/support/Streams.h"

namespace {

using namespace streambytes;

TIdList ReadList(const Bytes& bytes, int* state) {
    imemstream is(bytes);
    TIdList list(7);
    list.Issue();
    list.Read(is);
    *state = is.rdstate();
    return list;
}

TEST(IdListTest, IdsAreNeverIssuedTwice) {
    TIdList ids(25);
    for (uint32_t expected = 1; expected <= 3; ++expected)
        ASSERT_EQ(ids.Issue(), expected);
    EXPECT_EQ(ids.GetSize(), 25u);
    ids.Release(3);
    ids.Release(2);
    EXPECT_TRUE(ids.IsIssued(3));  // released ids stay recognisable
    EXPECT_EQ(ids.Issue(), 4u);
    ids.Release(30);  // never issued: nothing happens
    EXPECT_FALSE(ids.IsIssued(30));
    for (uint32_t expected = 5; expected <= 24; ++expected)
        ASSERT_EQ(ids.Issue(), expected);
    EXPECT_EQ(ids.Issue(), 25u);  // the last entry is only handed out by growing
    EXPECT_EQ(ids.GetSize(), 50u);
}

TEST(IdListTest, LayoutMatchesHandWrittenBytes) {
    TIdList ids(25);
    ids.Issue();
    ids.Issue();
    ids.Release(1);
    omemstream os;
    ids.Write(os);
    EXPECT_EQ(os.bytes(),
              Cat({Header, {1, 0, 0, 0}, {25, 0, 0, 0}, {25, 0, 0, 0}, {0, 2, 1}, Bytes(22, 0)}));

    int state = -1;
    TIdList empty = ReadList(Cat({Header, W32(1), W32(25), W32(0)}), &state);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(empty.Issue(), 1u);

    // Size 30 with entry 29 the highest set: the next id grows the table to 55 and is 30.
    Bytes table(30, 0);
    table[7] = 2;
    table[29] = 1;
    TIdList full = ReadList(Cat({Header, W32(1), W32(25), W32(30), table}), &state);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_TRUE(full.IsIssued(7));
    EXPECT_EQ(full.Issue(), 30u);
    EXPECT_EQ(full.GetSize(), 55u);
}

TEST(IdListTest, DamagedTablesNeitherTakeEffectNorRunAway) {
    // A size far beyond the bytes present fails the stream and keeps the table as it was.
    int state = -1;
    TIdList lying =
        ReadList(Cat({Header, W32(1), W32(25), W32(0xFFFFFFF0u), Bytes(40, 1)}), &state);
    EXPECT_NE(state, pstream::Good);
    EXPECT_EQ(lying.GetGrowth(), 7u);
    EXPECT_EQ(lying.Issue(), 2u);

    // A growth of 0 or 4 billion still issues ids, from a table of sane size.
    TIdList zero = ReadList(Cat({Header, W32(1), W32(0), W32(0)}), &state);
    EXPECT_EQ(zero.Issue(), 1u);
    EXPECT_EQ(zero.Issue(), 2u);
    TIdList huge = ReadList(Cat({Header, W32(1), W32(0xFFFFFFFFu), W32(0)}), &state);
    EXPECT_EQ(huge.Issue(), 1u);
    EXPECT_LE(huge.GetSize(), 1u << 16);
}

}  // namespace
