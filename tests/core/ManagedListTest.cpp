#include "core/ManagedList.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core/ObjectStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes W32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
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

const Bytes Header = {':', 0x01, 0x01, 0x00, 0x00};

std::deque<bool> editAnswers;  // what the next Edit answers
int liveNotes = 0;

// An item with a name and a number, written after the id.
class TNote : public TManagedItem {
public:
    TNote() { ++liveNotes; }
    ~TNote() override { --liveNotes; }
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
    bool Edit(void*) override {
        bool ok = !editAnswers.empty() && editAnswers.front();
        if (!editAnswers.empty()) editAnswers.pop_front();
        if (ok) name = "Edited";
        return ok;
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
        auto copy = std::make_unique<TNote>();
        copy->name = from->name + " copy";
        copy->number = from->number;
        copy->SetId(from->GetId());  // the list must give the copy its own id
        return copy;
    }
    TNote* Note(uint32_t index) const { return dynamic_cast<TNote*>(GetAt(index)); }
};

TNote* AddNote(TNoteList& list, const std::string& name, uint32_t number) {
    auto note = std::make_unique<TNote>();
    note->name = name;
    note->number = number;
    return static_cast<TNote*>(list.Add(std::move(note)));
}

TEST(ManagedListTest, AddsFindsAndNamesItems) {
    TNoteList list;
    TNote* rent = AddNote(list, "Rent", 1);
    TNote* food = AddNote(list, "Food", 2);
    EXPECT_EQ(rent->GetId(), 1u);
    EXPECT_EQ(food->GetId(), 2u);
    EXPECT_EQ(rent->GetOwner(), &list);
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.GetAt(1), rent);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.FindById(2), food);
    EXPECT_EQ(list.FindByName("FOOD"), food);
    EXPECT_EQ(list.FindId("rent"), 1u);
    EXPECT_EQ(list.FindId("Fuel"), 0u);
    EXPECT_EQ(list.GetName(2), "Food");
    EXPECT_EQ(list.GetName(9), "error");
    char small[3];
    list.GetName(small, sizeof small, 1);
    EXPECT_STREQ(small, "Re");
    auto names = list.GetStringList(0x7F);
    ASSERT_EQ(names->Count(), 2u);
    EXPECT_EQ(names->GetAt(2), "Food");

    // An item that already has an id keeps it.
    auto kept = std::make_unique<TNote>();
    kept->SetId(40);
    EXPECT_EQ(list.Add(std::move(kept))->GetId(), 40u);
}

TEST(ManagedListTest, AddNewDuplicateAndRemove) {
    TNoteList list;
    AddNote(list, "Rent", 5);
    editAnswers = {false};
    int before = liveNotes;
    EXPECT_FALSE(list.AddNew(nullptr));
    EXPECT_EQ(liveNotes, before);  // the cancelled item is gone
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_FALSE(list.GetIdList().IsIssued(2));

    editAnswers = {true};
    EXPECT_TRUE(list.AddNew(nullptr));
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.Note(2)->name, "Edited");
    EXPECT_EQ(list.Note(2)->GetId(), 2u);

    EXPECT_TRUE(list.Duplicate(1));
    ASSERT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.Note(3)->name, "Rent copy");
    EXPECT_EQ(list.Note(3)->number, 5u);
    EXPECT_EQ(list.Note(3)->GetId(), 3u);
    EXPECT_FALSE(list.Duplicate(77));
    EXPECT_EQ(list.GetCount(), 3u);

    EXPECT_TRUE(list.Remove(2));
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.FindById(2), nullptr);
    EXPECT_EQ(list.GetIdList().GetEntry(2), TIdList::Released);

    // Removing an id no item has still releases it.
    AddNote(list, "Fuel", 0);  // id 4
    list.Remove(4);
    EXPECT_TRUE(list.Remove(4));
    EXPECT_EQ(list.GetIdList().GetEntry(4), TIdList::Released);
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(AddNote(list, "Gas", 0)->GetId(), 5u);
}

TEST(ManagedListTest, StreamLayoutMatchesHandWrittenBytes) {
    TNoteList list;
    AddNote(list, "Rent", 7);
    AddNote(list, "Tax", 0x01020304);
    list.Remove(1);
    AddNote(list, "Gym", 3);
    omemstream os;
    list.Write(os);
    Bytes table(10, 0);
    table[1] = 2;
    table[2] = 1;
    table[3] = 1;
    Bytes expected = Cat({Header,
                          W32(2),  // count
                          W32(2),
                          Str("Tax"),
                          {0x04, 0x03, 0x02, 0x01},  // item 2
                          W32(3),
                          Str("Gym"),
                          W32(3),  // item 3
                          W32(1),
                          W32(10),
                          W32(10),
                          table});  // the id table
    EXPECT_EQ(os.bytes(), expected);

    TNoteList read;
    AddNote(read, "Stale", 1);  // reading replaces what was there
    imemstream is(expected);
    read.Read(is);
    EXPECT_EQ(is.rdstate(), pstream::Good);
    ASSERT_EQ(read.GetCount(), 2u);
    EXPECT_EQ(read.Note(1)->name, "Tax");
    EXPECT_EQ(read.Note(1)->GetId(), 2u);
    EXPECT_EQ(read.Note(1)->number, 0x01020304u);
    EXPECT_EQ(read.Note(2)->GetOwner(), &read);
    EXPECT_EQ(read.GetIdList().GetEntry(1), TIdList::Released);
    EXPECT_EQ(AddNote(read, "Next", 0)->GetId(), 4u);
}

TEST(ManagedListTest, DamagedStreamsEndReadingCleanly) {
    // A count of four billion with one item's worth of bytes: one item, a failed stream, and no
    // allocation for the rest.
    Bytes lying = Cat({Header, W32(0xFFFFFFFFu), W32(1), Str("Only"), W32(9)});
    TNoteList list;
    imemstream is(lying);
    int before = liveNotes;
    list.Read(is);
    EXPECT_NE(is.rdstate(), pstream::Good);
    ASSERT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.Note(1)->name, "Only");
    EXPECT_EQ(liveNotes, before + 1);

    // An item cut off inside its fields is dropped.
    Bytes cut = Cat({Header, W32(2), W32(1), Str("One"), W32(1), W32(2), Str("Tw")});
    TNoteList partial;
    imemstream is2(cut);
    partial.Read(is2);
    EXPECT_NE(is2.rdstate(), pstream::Good);
    ASSERT_EQ(partial.GetCount(), 1u);
    EXPECT_EQ(partial.Note(1)->name, "One");

    // An empty stream reads as an empty list.
    TNoteList nothing;
    imemstream is3(Header);
    nothing.Read(is3);
    EXPECT_EQ(nothing.GetCount(), 0u);
}

}  // namespace
