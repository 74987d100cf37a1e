#include "import/OfxReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/StatementFile.h"
#include "tests/import/ImportRows.h"

namespace {

std::vector<TImportItem> ReadSample(const std::string& name) {
    std::vector<TImportItem> items;
    EXPECT_EQ(ReadOfxFile(std::string(QUILLET_TESTDATA_DIR) + "/import/" + name, items),
              TStatementFileStatus::Read);
    return items;
}

TEST(OfxReaderTest, FieldsOfABlock) {
    auto items = ReadOfxStatement(
        "OFXHEADER:100\r\n<OFX><BANKTRANLIST><DTSTART>19990101\r\n"
        "<STMTTRN>\r\n <TRNTYPE>CHECK\r\n <DTPOSTED>20120305120000.000[-5:EST]\r\n"
        " <TRNAMT>  -1,234.5  \r\n <CHECKNUM>\t0042\t\r\n <NAME>ACME  SUPPLY </NAME>\r\n"
        " <MEMO>first half\r\nsecond half</MEMO>\r\n</STMTTRN></BANKTRANLIST></OFX>");
    ASSERT_EQ(items.size(), 1u);
    // The time and zone after the date are dropped; the number is kept as written (only QIF
    // numbers are rewritten); line ends vanish in a value, they are not blanks.
    EXPECT_EQ(Row(items[0]), "03/05/2012 -123450 #0042 [ACME  SUPPLY] [first halfsecond half]");
    EXPECT_EQ(items[0].matched, 0u);
}

TEST(OfxReaderTest, WhatCountsAsATagAndAValue) {
    auto items = ReadOfxStatement(
        // Tags are case-sensitive: lower-case ones are not read. Only the first of a tag counts.
        "<STMTTRN><trnamt>5<TRNAMT>7.25<TRNAMT>9<name>x<NAME>Shop<NAME>Other</STMTTRN>"
        // A block without any of the tags still gives an item.
        "<STMTTRN><TRNTYPE>OTHER</STMTTRN>"
        // An explicit plus sign, zero padding and four decimals.
        "<STMTTRN><TRNAMT>+00000000000115.8331<DTPOSTED>2012</STMTTRN>"
        // Text the parsers cannot read: no date, and an amount of 0.
        "<STMTTRN><DTPOSTED>20120231<TRNAMT>$5.00</STMTTRN>"
        // An empty element, and a value that is cut at the next tag whatever it is.
        "<STMTTRN><NAME></NAME><MEMO>a<![CDATA[b]]></STMTTRN>"
        // A short date goes to the parser as it is, which takes this year for a missing one.
        "<STMTTRN><DTPOSTED>3/5</STMTTRN>");
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].amount.Cents(), 725);
    EXPECT_EQ(items[0].name, "Shop");
    EXPECT_EQ(items[1].amount.Cents(), 0);
    EXPECT_EQ(items[1].date, TDate());
    EXPECT_TRUE(items[1].name.empty() && items[1].memo.empty() && items[1].number.empty());
    EXPECT_EQ(items[2].amount.Cents(), 11583);
    EXPECT_EQ(items[2].date, TDate());  // shorter than eight characters: parsed as it stands
    EXPECT_EQ(items[3].date, TDate());
    EXPECT_EQ(items[3].amount.Cents(), 0);
    EXPECT_EQ(items[4].name, "");
    EXPECT_EQ(items[4].memo, "a");
    EXPECT_EQ(items[5].date, TDate(5, 3, TDate::Today().Year()));
}

TEST(OfxReaderTest, BlocksAreFoundInTurn) {
    // An opening tag without a closing one ends the reading; a nested opening tag belongs to the
    // block around it; text between blocks is ignored.
    auto items = ReadOfxStatement(
        "<STMTTRN><TRNAMT>1</STMTTRN>noise<TRNAMT>99<STMTTRN><STMTTRN><TRNAMT>2</STMTTRN>"
        "</STMTTRN><STMTTRN><TRNAMT>3");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].amount.Cents(), 100);
    EXPECT_EQ(items[1].amount.Cents(), 200);

    EXPECT_TRUE(ReadOfxStatement("").empty());
    EXPECT_TRUE(ReadOfxStatement("</STMTTRN><STMTTRN>").empty());
    EXPECT_TRUE(ReadOfxStatement(std::string("\0\xff<STMTTRN\0>", 12)).empty());
}

TEST(OfxReaderTest, SgmlSampleWithAFeeForACheck) {
    auto items = ReadSample("checking.ofx");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Row(items[0]),
              "03/31/2011 1 # [DIVIDEND EARNED FOR PERIOD OF 03] [DIVIDEND EARNED FOR PERIOD OF "
              "03/01/2011 THROUGH 03/31/2011 ANNUAL PERCENTAGE YIELD EARNED IS 0.05%]");
    EXPECT_EQ(Row(items[1]),
              "04/05/2011 -3451 # [AUTOMATIC WITHDRAWAL, ELECTRIC BILL] [AUTOMATIC WITHDRAWAL, "
              "ELECTRIC BILL WEB(S )]");
    EXPECT_EQ(Row(items[2]),
              "04/07/2011 -2500 #319 [RETURNED CHECK FEE, CHECK # 319] [RETURNED "
              "CHECK FEE, CHECK # 319 FOR $45.33 ON 04/07/11]");
}

}  // namespace
