// Statement lines the budget cannot take: unreadable or oversized amounts, missing dates, files
// that end early.
#include <gtest/gtest.h>

#include "import/OfxReader.h"
#include "import/QifReader.h"
#include "import/StatementText.h"

TEST(StatementProblemsTest, AmountsARecordCannotHoldAreNamed) {
    struct {
        const char* text;
        int64_t cents;
        bool usable;
    } cases[] = {{"-12.50", -1250, true},
                 {"+0.00", 0, true},
                 {"21474836.47", 2147483647, true},
                 {"21474836.48", 2147483648, false},
                 {"30000000.00", 3000000000, false},
                 {"1e308", 0, false},
                 {"1 000.00", 0, false},
                 {"99999999999999999999.99", 0, false}};
    for (const auto& c : cases) {
        std::string problem;
        TMoney amount = ReadStatementAmount(c.text, &problem);
        EXPECT_EQ(problem.empty(), c.usable) << c.text << ": " << problem;
        if (c.usable) {
            EXPECT_EQ(amount.Cents(), c.cents) << c.text;
        }
    }
}

TEST(StatementProblemsTest, UnambiguousDateFormsReadAndTheRestAreListed) {
    bool cut = false;
    std::vector<TImportItem> qif = ReadQifStatement(
        "!Type:Bank\nD2024-01-25\nT10.00\n^\nD8/31' 0\nT1\n^\nD01/25/2024\nT2\n^\n"
        "DBonus Income\nT\n^\nD3/4/2024\nT5\n",
        &cut);
    EXPECT_TRUE(cut);
    ASSERT_EQ(qif.size(), 4u);
    EXPECT_EQ(qif[0].date, TDate(25, 1, 2024));
    EXPECT_EQ(qif[1].date, TDate(31, 8, 2000));
    EXPECT_EQ(qif[2].date, TDate(25, 1, 2024));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(qif[i].problem, "") << i;
    EXPECT_NE(qif[3].problem, "");

    // A category list inside a whole export is no statement line; the transactions after it are.
    qif = ReadQifStatement(
        "!Type:Bank\nD1/2/2024\nT-5\n^\n!Type:Cat\nNBonus Income\nDBonus Income\nT\nI\n^\n"
        "!Type:Bank\nD1/3/2024\nT7\n^\n");
    ASSERT_EQ(qif.size(), 2u);
    EXPECT_EQ(qif[1].date, TDate(3, 1, 2024));

    std::string ofx =
        "<OFX><STMTTRN><DTPOSTED><TRNAMT>1</STMTTRN><STMTTRN><DTPOSTED>20120231<TRNAMT>2"
        "</STMTTRN><STMTTRN><DTPOSTED>20120201<TRNAMT>3</STMTTRN><STMTTRN><DTPOSTED>201203";
    std::vector<TImportItem> items = ReadOfxStatement(ofx, &cut);
    EXPECT_TRUE(cut);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_NE(items[0].problem, "");
    EXPECT_NE(items[1].problem, "");
    EXPECT_EQ(items[2].problem, "");
    ReadOfxStatement(ofx.substr(0, ofx.rfind("<STMTTRN>")) + "</OFX>", &cut);
    EXPECT_FALSE(cut);
}
