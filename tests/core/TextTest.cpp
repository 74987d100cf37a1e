#include "core/Text.h"

#include <gtest/gtest.h>

TEST(TextTest, EveryCodePageByteConvertsAndComesBack) {
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        std::string utf8 = Cp1252ToUtf8(one);
        EXPECT_EQ(Utf8ToCp1252(utf8), one) << "byte " << b;
        if (b < 0x80) {
            EXPECT_EQ(utf8, one);
        } else if (b >= 0xA0) {
            EXPECT_EQ(utf8.size(), 2u) << "byte " << b;  // Latin-1 takes two bytes
        }
    }
    // Samples of the 0x80..0x9F table, the undefined bytes, and Latin-1.
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(Cp1252ToUtf8("\x85"), "\xE2\x80\xA6");  // ellipsis
    EXPECT_EQ(Cp1252ToUtf8("\x8A"), "\xC5\xA0");      // S caron
    EXPECT_EQ(Cp1252ToUtf8("\x93\x94"), "\xE2\x80\x9C\xE2\x80\x9D");
    EXPECT_EQ(Cp1252ToUtf8("\x99"), "\xE2\x84\xA2");  // trade mark
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");      // Y diaeresis
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(Cp1252ToUtf8("\xA0\xE9\xFF"), "\xC2\xA0\xC3\xA9\xC3\xBF");
    EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextTest, Utf8ThatTheCodePageCannotHoldBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("Caf\xC3\xA9 \xE2\x82\xAC"
                           "5"),
              "Caf\xE9 \x80"
              "5");
    EXPECT_EQ(Utf8ToCp1252("\xE6\xBC\xA2x"), "?x");    // a CJK character
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // outside the BMP
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");          // U+0080 is not in the table
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b"),
              "a?b");                                // not UTF-8 at all
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");            // cut sequence
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");       // overlong '/'
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");  // a surrogate
    EXPECT_EQ(Utf8SequenceLength("\xE2\x82\xAC", 0), 3u);
    EXPECT_EQ(Utf8SequenceLength("\xE2\x82", 0), 0u);
    EXPECT_EQ(Utf8SequenceLength("a", 1), 0u);
}

TEST(TextTest, LeadingNumbers) {
    EXPECT_EQ(ReadLeadingInt("123"), 123);
    EXPECT_EQ(ReadLeadingInt("  +7x"), 7);
    EXPECT_EQ(ReadLeadingInt("\t-15.9"), -15);
    EXPECT_EQ(ReadLeadingInt("x1"), 0);
    EXPECT_EQ(ReadLeadingInt("- 1"), 0);
    EXPECT_EQ(ReadLeadingInt(""), 0);
    EXPECT_EQ(ReadLeadingInt("2147483647"), 2147483647);
    EXPECT_EQ(ReadLeadingInt("2147483648"), 2147483647);
    EXPECT_EQ(ReadLeadingInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ReadLeadingInt("-99999999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(ReadLeadingUnsigned("4294967295"), 4294967295u);
    EXPECT_EQ(ReadLeadingUnsigned("9999999999"), 4294967295u);
    EXPECT_EQ(ReadLeadingUnsigned("-1"), 4294967295u);
    EXPECT_EQ(ReadLeadingUnsigned(" 60 "), 60u);
    EXPECT_EQ(ReadLeadingUnsigned("abc"), 0u);
}
