#include "core/ManagedList.h"

#include <gtest/gtest.h>

#include <string>

#include "core/ObjectStream.h"
#include "tests/support/Streams.h"

namespace {

using namespace streambytes;

bool confirmEdit = false;

// An item with a name and a number written after the id.
class TNote : public TManagedItem {
public:
    void Write(opstream& os) const override {
        TManagedItem::Write(os);
        os.writeString(name);
        os.writeWord32(number);
    }
    void Read(ipstream& is) override {
        TManagedItem::Read(is);
        is.readString(name);
        number = is.readWord32();
    }
    void GetName(char* buffer, size_t capacity) const override {
        CopyToBuffer(buffer, capacity, name);
    }
    bool Edit() override {
        name = "Edited";
        return confirmEdit;
    }
    std::string name;
    uint32_t number = 0;
};

class TNoteList : public TManagedList {
public:
    TNoteList() : TManagedList(10) {}
    std::unique_ptr<TManagedItem> CreateItem() override { return std::make_unique<TNote>(); }
    std::unique_ptr<TManagedItem> CreateCopy(uint32_t id) override {
        auto* from = dynamic_cast<TNote*>(FindById(id));
        if (!from) return nullptr;
        auto copy = std::make_unique<TNote>(*from);  // the id too: the list must replace it
        copy->name += " copy";
        return copy;
    }
    TNote* Note(uint32_t index) const { return dynamic_cast<TNote*>(GetAt(index)); }
    TNote* Add(const std::string& name, uint32_t number) {
        auto note = std::make_unique<TNote>();
        note->name = name;
        note->number = number;
        return static_cast<TNote*>(TManagedList::Add(std::move(note)));
    }
};

TEST(ManagedListTest, EditingCopyingAndRemoving) {
    TNoteList list;
    list.Add("Rent", 5);
    confirmEdit = false;
    EXPECT_FALSE(list.AddNew());
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_FALSE(list.GetIdList().IsIssued(2));
    confirmEdit = true;
    EXPECT_TRUE(list.AddNew());
    EXPECT_EQ(list.Note(2)->GetId(), 2u);

    EXPECT_TRUE(list.Duplicate(1));
    EXPECT_EQ(list.Note(3)->name, "Rent copy");
    EXPECT_EQ(list.Note(3)->GetId(), 3u);
    EXPECT_FALSE(list.Duplicate(77));

    EXPECT_EQ(list.FindId("EDITED"), 2u);
    EXPECT_EQ(list.GetName(9), "error");
    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(list.FindById(2), nullptr);
    uint32_t orphan = list.GetIdList().Issue();
    EXPECT_TRUE(list.Remove(orphan));  // no item has it: the id is released all the same
    EXPECT_EQ(list.GetIdList().GetEntry(orphan), TIdList::Released);
    EXPECT_EQ(list.GetCount(), 2u);
}

TEST(ManagedListTest, LayoutMatchesHandWrittenBytes) {
    TNoteList list;
    list.Add("Rent", 7);
    list.Add("Tax", 0x01020304);
    list.Remove(1);
    omemstream os;
    list.Write(os);
    Bytes table(10, 0);
    table[1] = 2;
    table[2] = 1;
    // The count, the item (its id first), then the id table.
    // clang-format off
    Bytes expected = Cat({Header, W32(1),
                          W32(2), Str("Tax"), {0x04, 0x03, 0x02, 0x01},
                          W32(1), W32(10), W32(10), table});
    // clang-format on
    EXPECT_EQ(os.bytes(), expected);

    TNoteList read;
    read.Add("Stale", 1);  // reading replaces what was there
    imemstream is(expected);
    read.Read(is);
    EXPECT_EQ(is.rdstate(), pstream::Good);
    ASSERT_EQ(read.GetCount(), 1u);
    EXPECT_EQ(read.Note(1)->name, "Tax");
    EXPECT_EQ(read.Note(1)->GetId(), 2u);
    EXPECT_EQ(read.Add("Next", 0)->GetId(), 3u);
}

TEST(ManagedListTest, DamagedCountsEndReadingCleanly) {
    // Four billion items announced, one and a half present: one item, a failed stream.
    Bytes lying = Cat({Header, W32(0xFFFFFFFFu), W32(1), Str("Only"), W32(9), W32(2), Str("Cu")});
    TNoteList list;
    imemstream is(lying);
    list.Read(is);
    EXPECT_NE(is.rdstate(), pstream::Good);
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.Note(1)->name, "Only");
}

}  // namespace
