#include "import/QifReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/StatementFile.h"
#include "tests/import/ImportRows.h"

namespace {

std::vector<TImportItem> ReadSample(const std::string& name) {
    std::vector<TImportItem> items;
    EXPECT_EQ(ReadQifFile(std::string(QUILLET_TESTDATA_DIR) + "/import/" + name, items),
              TStatementFileStatus::Read);
    return items;
}

TEST(QifReaderTest, FieldsOfAnItem) {
    auto items = ReadQifStatement(
        "!Type:Bank\n"
        "D3/5/2012\n"
        "T -1,234.56 \n"
        "N00123\n"
        "P \"Corner\" Store\n"
        "M  weekly \"shop\"\n"
        "LGroceries\n"
        "^\n"
        "D12/24\nT1\n^\n");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(Row(items[0]), "03/05/2012 -123456 #123 [Corner Store] [weekly shop]");
    EXPECT_EQ(items[1].date, TDate(24, 12, TDate::Today().Year()));  // no year: this year
}

TEST(QifReaderTest, ItemsNeedADateAndAnAmount) {
    auto items = ReadQifStatement(
        "!Type:Bank\n"
        "D1/2/2012\nPno amount\n^\n"      // no T line: dropped
        "T5.00\nPno date\n^\n"            // no D line: dropped
        "Dnonsense\nTalso nonsense\n^\n"  // both present, neither readable: kept
        "D1/3/2012\nT+7\n^\n"
        "D1/4/2012\nT8\n");  // no closing "^": not an item
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].date, TDate());
    EXPECT_EQ(items[0].amount.Cents(), 0);
    EXPECT_EQ(items[1].date, TDate(3, 1, 2012));
    EXPECT_EQ(items[1].amount.Cents(), 700);
}

TEST(QifReaderTest, NumbersFromCheckTextAndTheirRewriting) {
    auto items = ReadQifStatement(
        "D1/1/2012\nT1\nPCHECK #0456 paid\nMcheck 999\n^\n"     // the payee gives the number first
        "D1/1/2012\nT1\nPsupermarket\nMCheck no. 12, 2nd\n^\n"  // every digit of the memo
        "D1/1/2012\nT1\nN77\nPCHECK 456\n^\n"                   // an N line wins
        "D1/1/2012\nT1\nPChecking transfer\n^\n"                // "Check" but no digits
        "D1/1/2012\nT1\nPCHECKS 1\nN\n^\n"                      // a later empty N line clears it
        "D1/1/2012\nT1\nNATM\n^\n"
        "D1/1/2012\nT1\nN-5\n^\n"
        "D1/1/2012\nT1\nN0007x\n^\n"
        "D1/1/2012\nT1\nN99999999999\n^\n");
    std::string numbers;
    for (const TImportItem& item : items)
        numbers += item.number + "|";
    // The last is read as a 32-bit number, which saturates.
    EXPECT_EQ(numbers, "456|122|77|||ATM|-5|7|2147483647|");
}

TEST(QifReaderTest, PayeeRepeatedAsMemo) {
    auto items = ReadQifStatement(
        "D1/1/2012\nT1\nPRent\nMRent\n^\n"
        "D1/1/2012\nT1\nP\"Rent\"\nM Rent \n^\n"
        "D1/1/2012\nT1\nPRent\nMrent\n^\n");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].memo, "");
    EXPECT_EQ(items[1].memo, "");
    EXPECT_EQ(items[2].memo, "rent");
}

TEST(QifReaderTest, HeadersAndLineEnds) {
    // Without a header the first line is already an item's line.
    auto items = ReadQifStatement("D1/1/2012\nT1\n^\n");
    ASSERT_EQ(items.size(), 1u);
    // A "!Type:" line anywhere in the first line starts the items at the next line.
    items = ReadQifStatement("\r\n\n  !Type:Bank \r\nD1/1/2012\rT2\r\r^\rD1/2/2012\nT3\n^");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].amount.Cents(), 200);
    EXPECT_EQ(items[1].amount.Cents(), 300);
    // An account block is skipped up to its "^"; its D and T lines are not an item.
    items = ReadQifStatement(
        "!Account\nNChecking\nTBank\nD1/1/2012\n^\n!Type:Bank\nD2/2/2012\nT4\n^\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].date, TDate(2, 2, 2012));
    // A later "!Type:" or "!Account" line is just a line with an unknown code.
    items = ReadQifStatement("!Type:Bank\nD1/1/2012\n!Type:Cash\nT1\n^\n!Account\nNx\n^\n");
    ASSERT_EQ(items.size(), 1u);
    // A "^" anywhere in a line ends the item, and that line is not read as a field.
    items = ReadQifStatement("D1/1/2012\nT1\nPa^b\nPlater\n^\n");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "");
    // An account block without its end leaves no items.
    EXPECT_TRUE(ReadQifStatement("!Account\nD1/1/2012\nT1\n").empty());
    EXPECT_TRUE(ReadQifStatement("").empty());
    EXPECT_TRUE(ReadQifStatement("\r\n\r\n").empty());
}

TEST(QifReaderTest, LongLinesAreCut) {
    std::string payee(2000, 'x');
    std::string text = "D1/1/2012\nT1\nP" + payee + "^\nM" + std::string(1022, 'y') + "zz\n^\n";
    auto items = ReadQifStatement(text);
    // The "^" at column 2002 is beyond the limit, so the P line does not end the item; the memo
    // keeps 1022 characters after its code.
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, std::string(QifLineLimit - 1, 'x'));
    EXPECT_EQ(items[0].memo, std::string(1022, 'y'));
}

TEST(QifReaderTest, SampleWithSplitsAndAddresses) {
    auto items = ReadSample("quicken_non_investement_account.qif");
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Row(items[0]), "06/01/1994 -100000 #1005 [Bank Of Mortgage] [Memo]");
    EXPECT_EQ(Row(items[1]), "06/02/1994 7500 # [Deposit] []");
    EXPECT_EQ(Row(items[2]), "06/03/1994 -1000 # [Anthony Hopkins] [Film]");
}

}  // namespace
