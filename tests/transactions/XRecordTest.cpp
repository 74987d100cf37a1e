#include "transactions/XRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A record as the file holds it, written out field by field.
Bytes HandWrittenRecord() {
    Bytes b = {
        0x2A, 0x00, 0x00, 0x00,  //   0 id 42
        0x09, 0x01, 0x00, 0x00,  //   4 flags 0x109: committed account transfer half
        0x03, 0x00, 0x00, 0x00,  //   8 account 3
        0x07, 0x00, 0x00, 0x00,  //  12 envelope 7
        0x00, 0x00, 0x00, 0x00,  //  16 parent
        0x2B, 0x00, 0x00, 0x00,  //  20 partner 43
        0xEF, 0xBE, 0xAD, 0xDE,  //  24 reserved, carried
        0x0F, 0x03, 0xE8, 0x07,  //  28 date 15 March 2024
        0x01, 0x03, 0xE8, 0x07,  //  32 created 1 March 2024
        0x01, 0x00, 0x00, 0x00,  //  36 account cleared: pending
        0x1F, 0x03, 0xE8, 0x07,  //  40 envelope cleared 31 March 2024
        0x01, 0x00,              //  44 newly imported
        0x34, 0x12,              //  46 reserved
        0x78, 0x56, 0x34, 0x12,  //  48 reserved
        0x30, 0xF8, 0xFF, 0xFF,  //  52 amount -2000 cents
    };
    b.resize(256, 0);
    std::memcpy(&b[56], "101", 3);
    std::memcpy(&b[76], "Grocer", 6);
    std::memcpy(&b[166], "Weekly", 6);
    return b;
}

}  // namespace

TEST(XRecord, FieldsLieAtTheirFileOffsets) {
    TXRecord r;
    std::memset(&r, 0xAB, sizeof r);
    r.Init(TDate(1, 3, 2024));
    // Init clears every byte but the creation date's.
    Bytes cleared(256, 0);
    std::memcpy(&cleared[32], &HandWrittenRecord()[32], 4);
    EXPECT_EQ(Bytes(reinterpret_cast<const uint8_t*>(&r), reinterpret_cast<const uint8_t*>(&r + 1)),
              cleared);
    r.id = 42;
    r.flags = XCommitted | XKindAccountTransfer;
    r.account = 3;
    r.envelope = 7;
    r.partner = 43;
    r.reserved24 = 0xDEADBEEF;
    r.date = TDate(15, 3, 2024).Key();
    r.accountCleared = XClearedPending;
    r.envelopeCleared = TDate(31, 3, 2024).Key();
    r.newlyImported = 1;
    r.reserved46 = 0x1234;
    r.reserved48 = 0x12345678;
    r.amount = -2000;
    r.SetCode("101");
    r.SetPayableTo("Grocer");
    r.SetMemo("Weekly");

    Bytes expected = HandWrittenRecord();
    Bytes actual(256);
    std::memcpy(actual.data(), &r, 256);
    EXPECT_EQ(actual, expected);

    // The flags say what kind of record it is.
    TXRecord read;
    std::memcpy(&read, expected.data(), 256);
    EXPECT_TRUE(read.IsAccountTransfer());
    EXPECT_FALSE(read.IsEnvelopeTransfer());
    read.flags = XMultipleSet | XMultipleKid;  // without the account bit it is no part
    EXPECT_FALSE(read.IsPart());
}

TEST(XRecord, TextFieldsAreCutAndReadWithinTheirBounds) {
    TXRecord r;
    r.Init(TDate());
    r.SetCode(std::string(30, 'c'));
    EXPECT_EQ(r.GetCode(), std::string(19, 'c'));
    EXPECT_EQ(r.code[19], '\0');
    r.SetPayableTo(std::string(100, 'p'));
    EXPECT_EQ(r.GetPayableTo().size(), 89u);
    EXPECT_EQ(r.payableTo[89], '\0');
    // A shorter text after a longer one leaves no tail of the old one.
    r.SetCode("ab");
    EXPECT_EQ(std::string(r.code, r.code + 4), std::string("ab\0\0", 4));

    // A damaged file may fill a field without its terminator; the text stops at the field's end.
    std::memset(r.code, 'x', sizeof r.code);
    std::memset(r.payableTo, 'y', sizeof r.payableTo);
    EXPECT_EQ(r.GetCode(), std::string(20, 'x'));
    EXPECT_EQ(r.GetPayableTo(), std::string(90, 'y'));
}
