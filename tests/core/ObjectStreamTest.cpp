#include "core/ObjectStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "tests/support/Streams.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace streambytes;

// A small persistent class: a value, a name and a child and back pointer, like the tree nodes.
class TTestNode : public TStreamableBase {
public:
    const char* streamableName() const override { return "TTestNode"; }
    uint32_t value = 0;
    std::string name;
    TTestNode* child = nullptr;
    TTestNode* parent = nullptr;
    uint32_t versionSeen = 0xDEAD;
    ~TTestNode() override { delete child; }

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TTestNode"; }
        uint32_t ClassVersion() const override { return 7; }
        TTestNode* Node() const { return static_cast<TTestNode*>(GetObject()); }
        void Write(opstream& os) const override {
            os.writeWord32(Node()->value);
            os.writeString(Node()->name);
            os << Node()->child;
            os << Node()->parent;
        }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override {
            Node()->versionSeen = version;
            Node()->value = is.readWord();
            is.readString(Node()->name);
            is >> Node()->child;
            TTestNode* back = nullptr;
            is >> back;
            Node()->parent = back;
            return Node();
        }
    };
};

// A second class, used to check that typed reading refuses another class.
class TOtherThing : public TStreamableBase {
public:
    const char* streamableName() const override { return "TOtherThing"; }
    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TOtherThing"; }
        void Write(opstream&) const override {}
        TStreamableBase* Read(ipstream&, uint32_t) const override { return GetObject(); }
    };
};

// A base part with fields of its own, as the tree nodes store their common fields.
struct TBasePart : TNewStreamer {
    uint32_t* field;
    explicit TBasePart(uint32_t* f) : TNewStreamer(nullptr), field(f) {}
    const char* StreamableName() const override { return "TBasePart"; }
    uint32_t ClassVersion() const override { return 3; }
    void Write(opstream& os) const override { os.writeWord32(*field); }
    TStreamableBase* Read(ipstream& is, uint32_t version) const override {
        *field = is.readWord32() + version * 1000;
        return nullptr;
    }
};

class ObjectStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterStreamable<TTestNode>("TTestNode");
        RegisterStreamable<TOtherThing>("TOtherThing");
    }
};

TEST_F(ObjectStreamTest, PrimitivesAndStringsHaveTheirByteForms) {
    omemstream os;
    os.writeByte(0xAB);
    os.writeWord16(0x1234);
    os.writeWord32(0x89ABCDEF);
    os.writeWord(5);
    os.writeInt(-2);
    os.writeBool(true);
    os.writeString(std::string());
    os.writeString(static_cast<const char*>(nullptr));
    os.writeString("Hi");
    // clang-format off
    Bytes expected = {0x3A, 0x01, 0x01, 0x00, 0x00,                          // header
                      0xAB, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0x05, 0x00, 0x00, 0x00,
                      0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00,                                // empty string
                      0xFF, 0xFF, 0xFF, 0xFF,                                // no string
                      0x02, 0x00, 0x00, 0x00, 'H',  'i'};
    // clang-format on
    EXPECT_EQ(os.bytes(), expected);
    EXPECT_TRUE(os.good());

    imemstream is(expected);
    // A braced list is evaluated in order.
    const std::vector<int64_t> read{is.getVersion(), is.readByte(), is.readWord16(),
                                    is.readWord32(), is.readWord(), is.readInt(),
                                    is.readBool()};
    EXPECT_EQ(read, (std::vector<int64_t>{0x101, 0xAB, 0x1234, 0x89ABCDEF, 5, -2, 1}));
    std::string s = "unchanged";
    EXPECT_TRUE(is.readString(s));
    EXPECT_EQ(s, "");
    s = "unchanged";
    EXPECT_FALSE(is.readString(s));  // no string leaves the destination as it was
    EXPECT_EQ(s, "unchanged");
    char buf[3] = {'x', 'x', 'x'};
    EXPECT_TRUE(is.readString(buf, sizeof buf));
    EXPECT_STREQ(buf, "Hi");
    EXPECT_TRUE(is.good());
    EXPECT_EQ(is.readByte(), 0);  // end of data fails the stream
    EXPECT_EQ(is.rdstate(), pstream::Failed);
}

TEST_F(ObjectStreamTest, OldStreamVersionsUseShortWordsAndByteLengths) {
    // No header at all: version 0, 16-bit words, one-byte string lengths, records without a
    // class version.
    // clang-format off
    Bytes v0 = Cat({{0x34, 0x12}, {0x03}, Raw("abc"), {0xFF},
                    {0x02, '['}, {0x09}, Raw("TTestNode"), {0x07, 0x00}, {0x01}, Raw("n"),
                    {0x00}, {0x00}, {']'}});
    // clang-format on
    imemstream is(v0);
    EXPECT_EQ(is.getVersion(), 0u);
    EXPECT_EQ(is.readWord(), 0x1234u);
    std::string s;
    EXPECT_TRUE(is.readString(s));
    EXPECT_EQ(s, "abc");
    s = "keep";
    EXPECT_FALSE(is.readString(s));
    EXPECT_EQ(s, "keep");
    TTestNode* node = nullptr;
    is >> node;
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->versionSeen, 0u);
    EXPECT_EQ(node->value, 7u);
    EXPECT_EQ(node->name, "n");
    EXPECT_TRUE(is.good());
    delete node;

    // Version 0x100: 32-bit words but one-byte string lengths and class versions present.
    Bytes v100 = Cat({{0x3A, 0x00, 0x01, 0x00, 0x00}, {0x05, 0, 0, 0}, {0x02}, Raw("ok")});
    imemstream is2(v100);
    EXPECT_EQ(is2.getVersion(), 0x100u);
    EXPECT_EQ(is2.readWord(), 5u);
    EXPECT_TRUE(is2.readString(s));
    EXPECT_EQ(s, "ok");

    // An empty stream is "end of data while looking for the header".
    imemstream empty(nullptr, 0);
    EXPECT_EQ(empty.rdstate(), pstream::EndOfData);
}

TEST_F(ObjectStreamTest, RecordsBackReferencesAndBaseParts) {
    auto* root = new TTestNode;
    root->value = 1;
    root->name = "root";
    root->child = new TTestNode;
    root->child->value = 2;
    root->child->name = "kid";
    root->child->parent = root;

    omemstream os;
    os << root;
    os << root;  // the same object again: a tag-1 reference with index 1
    uint32_t baseField = 0x55;
    os.writeBaseObject(TBasePart(&baseField));

    // clang-format off
    Bytes expected = Cat({Header,
                          {0x02, '['}, Str("TTestNode"), W32(7),  // root record, class version 7
                          W32(1), Str("root"),
                          {0x02, '['}, Str("TTestNode"), W32(7),  // child record
                          W32(2), Str("kid"),
                          {0x00},                                 // child has no child
                          {0x01, 1, 0, 0, 0},                     // parent: back reference to 1
                          {']'},
                          {0x00},                                 // root has no parent
                          {']'},
                          {0x01, 1, 0, 0, 0},                     // second write of root
                          W32(3), W32(0x55)});                    // base part: version, fields
    // clang-format on
    EXPECT_EQ(os.bytes(), expected);

    imemstream is(expected);
    TTestNode* read = nullptr;
    is >> read;
    ASSERT_TRUE(read && read->child);
    EXPECT_EQ(read->versionSeen, 7u);
    EXPECT_EQ(read->name + "," + read->child->name, "root,kid");
    EXPECT_EQ(read->child->parent, read);
    TTestNode* again = nullptr;
    is >> again;
    EXPECT_EQ(again, read);
    EXPECT_TRUE(is.lastWasBackReference());
    uint32_t field = 0;
    is.readBaseObject(TBasePart(&field));
    EXPECT_EQ(field, 3000u + 0x55u);
    EXPECT_TRUE(is.good());
    delete read;
    delete root;
}

TEST_F(ObjectStreamTest, MalformedPointersAndRecordsFailOrYieldNull) {
    TTestNode* p = reinterpret_cast<TTestNode*>(0x1);
    {
        // Back references to index 0 and to an index never assigned read as null.
        Bytes b = {0x3A, 0x01, 0x01, 0, 0, 0x01, 0, 0, 0, 0, 0x01, 9, 0, 0, 0};
        imemstream is(b);
        is >> p;
        EXPECT_EQ(p, nullptr);
        p = reinterpret_cast<TTestNode*>(0x1);
        is >> p;
        EXPECT_EQ(p, nullptr);
        EXPECT_TRUE(is.good());
    }
    // An unknown tag, a record without its '[', an empty class name.
    for (const Bytes& b : {Cat({Header, {0x07}}), Cat({Header, {0x02, '('}, W32(1), Raw("T")}),
                           Cat({Header, {0x02, '['}, W32(0)})}) {
        imemstream is(b);
        EXPECT_EQ(is.readObjectPointer(), nullptr);
        EXPECT_EQ(is.rdstate(), pstream::Failed);
    }
    {
        Bytes b = Cat({Header, {0x02, '['}, Str("TNobody")});
        imemstream is(b);
        try {
            is.readObjectPointer();
            FAIL() << "an unregistered class must raise";
        } catch (const TXBase& e) {
            EXPECT_STREQ(e.what(), "Attempt to stream unregistered type 'TNobody'");
        }
    }
    {
        // A missing ']' fails the stream, but the object built stays with the caller.
        Bytes b = Cat({Header, {0x02, '['}, Str("TTestNode"), W32(0), W32(5), W32(0), {0, 0, '>'}});
        imemstream is(b);
        TTestNode* n = nullptr;
        is >> n;
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->value, 5u);
        EXPECT_EQ(is.rdstate(), pstream::Failed);
        delete n;
    }
    {
        // A record of another class read as a TTestNode yields null.
        omemstream os;
        TOtherThing other;
        os << &other;
        imemstream is(os.bytes());
        TTestNode* n = reinterpret_cast<TTestNode*>(0x1);
        is >> n;
        EXPECT_EQ(n, nullptr);
        EXPECT_TRUE(is.good());
    }
}

TEST_F(ObjectStreamTest, FailedStreamsLeaveDestinationsAloneAndOversizedStringsAreRefused) {
    Bytes b = {0x3A, 0x01, 0x01, 0, 0, 0x05, 0, 0, 0, 'a', 'b', 'c', 'd', 'e', 0x01};
    imemstream is(b);
    char small[4] = "zz";
    EXPECT_FALSE(is.readString(small, sizeof small));
    EXPECT_STREQ(small, "zz");
    EXPECT_EQ(is.rdstate(), pstream::Failed);
    // From now on everything yields zero and leaves destinations unchanged.
    EXPECT_EQ(is.readWord32(), 0u);
    uint8_t block[2] = {9, 9};
    is.readBytes(block, 2);
    EXPECT_EQ(block[0], 9);
    std::string s = "same";
    EXPECT_FALSE(is.readString(s));
    EXPECT_EQ(s, "same");

    // A string claiming four billion bytes in a tiny stream fails without a huge allocation.
    Bytes huge = {0x3A, 0x01, 0x01, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 'x'};
    imemstream is2(huge);
    EXPECT_FALSE(is2.readString(s));
    EXPECT_EQ(is2.rdstate(), pstream::Failed);
    // Same for a raw block longer than the data.
    imemstream is3(huge);
    std::vector<uint8_t> dest(8, 7);
    is3.readBytes(dest.data(), dest.size());
    EXPECT_EQ(dest, std::vector<uint8_t>(8, 7));
    EXPECT_EQ(is3.rdstate(), pstream::Failed);

    // Writes after a failure do nothing.
    omemstream os;
    os.setstate(pstream::Failed);
    os.writeWord32(1);
    os.writeObjectPointer(nullptr);
    EXPECT_EQ(os.bytes().size(), 5u);
}

TEST_F(ObjectStreamTest, LargeBlocksAndFilesRoundTrip) {
    std::vector<uint8_t> big(100000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 7);
    TTempFolder folder;
    auto path = folder / "stream.bin";
    {
        ofpstream os(path.string());
        ASSERT_TRUE(os.good());
        os.writeBytes(big.data(), big.size());
        os.close();
        EXPECT_TRUE(os.good());
    }
    EXPECT_EQ(std::filesystem::file_size(path), big.size() + 5);
    {
        ifpstream is(path.string());
        EXPECT_EQ(is.getVersion(), 0x101u);
        std::vector<uint8_t> back(big.size());
        is.readBytes(back.data(), back.size());
        EXPECT_TRUE(is.good());
        EXPECT_EQ(back, big);
        is.close();
    }
    std::filesystem::remove(path);
    ifpstream missing(path.string());
    EXPECT_EQ(missing.rdstate(), pstream::OpenFailed);
    ofpstream nowhere("/nonexistent-folder/x/y.bin");
    EXPECT_EQ(nowhere.rdstate(), pstream::OpenFailed);
}

TEST_F(ObjectStreamTest, ReadObjectOwnsOnlyObjectsOfItsTypeReadAfresh) {
    // A node, a back reference to it, then a record of another class.
    TTestNode node;
    TOtherThing other;
    omemstream os;
    os << &node;
    os << &node;
    os << &other;
    imemstream is(os.bytes());
    std::unique_ptr<TTestNode> first = is.ReadObject<TTestNode>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(is.ReadObject<TTestNode>(), nullptr);  // the back reference stays with its owner
    EXPECT_TRUE(is.lastWasBackReference());
    int discarded = 0;
    auto wrong = is.ReadObject<TTestNode>([&](std::unique_ptr<TStreamableBase> p) {
        discarded += dynamic_cast<TOtherThing*>(p.get()) != nullptr;
    });
    EXPECT_EQ(wrong, nullptr);
    EXPECT_EQ(discarded, 1);
    EXPECT_TRUE(is.good());
}

}  // namespace
