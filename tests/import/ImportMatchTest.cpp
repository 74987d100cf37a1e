#include "import/ImportMatch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/import/ReferenceMatch.h"
#include "transactions/XRecord.h"

namespace {

TImportItem Item(TDate date, int64_t cents, std::string number = {}) {
    TImportItem item;
    item.date = date;
    item.amount = TMoney::FromCents(cents);
    item.number = std::move(number);
    return item;
}

TImportCandidate Candidate(uint32_t id, TDate date, int64_t cents, std::string code = {}) {
    TImportCandidate c;
    c.id = id;
    c.date = date;
    c.amount = TMoney::FromCents(cents);
    c.code = std::move(code);
    return c;
}

TEST(ImportMatchTest, CheckNumbersReadLikeLeadingDigits) {
    std::vector<int64_t> read;
    for (const char* text : {"1001", "0001001", "  42b", "-7", "ATM", "", "12345678901234",
                             "99999999999999999999999", "-99999999999999999999999"})
        read.push_back(ImportCheckNumber(text));
    EXPECT_EQ(read, (std::vector<int64_t>{1001, 1001, 42, -7, 0, 0, 12345678901234, INT64_MAX,
                                          INT64_MIN}));
}

TEST(ImportMatchTest, CostRule) {
    const TDate june10(10, 6, 2012);
    const uint32_t No = ImportNoMatch;
    struct Case {
        const char* why;
        TDate itemDate;
        const char* number;
        TDate date;
        int64_t cents;
        const char* code;
        bool ignore;
        uint32_t cost;
    };
    // The item pays 50.00; a number marks a check.
    for (Case c : {Case{"same check number, whatever else",
                        june10,
                        "1001",
                        {1, 1, 2011},
                        -4999,
                        "001001",
                        false,
                        0},
                   {"equal amounts: days apart plus one", june10, "", june10, -5000, "", false, 1},
                   {"five days before", june10, "", {5, 6, 2012}, -5000, "", false, 6},
                   {"23 days after", june10, "", {3, 7, 2012}, -5000, "", false, 24},
                   {"other amount", june10, "", june10, -5001, "", false, No},
                   {"other amount and check", june10, "1002", june10, -5001, "1001", false, No},
                   {"a check by amount within three days",
                    june10,
                    "",
                    {13, 6, 2012},
                    -5000,
                    "1001",
                    false,
                    4},
                   {"a check four days away", june10, "", {14, 6, 2012}, -5000, "1001", false, No},
                   {"numbers ignored", june10, "", {14, 6, 2012}, -5000, "1001", true, 5},
                   {"numbers ignored: no cost-0 match",
                    june10,
                    "1001",
                    {14, 6, 2012},
                    -5000,
                    "1001",
                    true,
                    5},
                   {"a code that is no number", june10, "", {20, 6, 2012}, -5000, "ATM", false, 11},
                   {"zero is no check number", june10, "0", {20, 6, 2012}, -5000, "0", false, 11},
                   {"an unparsed date is no days away", {}, "", june10, -5000, "1001", false, 1}})
        EXPECT_EQ(ImportMatchCost(Item(c.itemDate, -5000, c.number),
                                  Candidate(1, c.date, c.cents, c.code), c.ignore),
                  c.cost)
            << c.why;
    // The cost cells stop at the no-match value: 65533 days still match, 65534 no longer.
    TDate far = june10;
    for (int k = 0; k < 65533; ++k)
        far.NextDay();
    EXPECT_EQ(ImportMatchCost(Item(june10, 1), Candidate(1, far, 1), false), 65534u);
    far.NextDay();
    EXPECT_EQ(ImportMatchCost(Item(june10, 1), Candidate(1, far, 1), false), ImportNoMatch);
}

TEST(ImportMatchTest, ChoosesAsTheStatementRulesSay) {
    const TDate day(15, 3, 2012);
    // Same check number, different amounts: matched.
    {
        std::vector<TImportItem> items{Item(day, -2500, "1001")};
        std::vector<TImportCandidate> cands{Candidate(7, TDate(1, 3, 2012), -2000, "1001")};
        AssignImportMatches(items, cands, false);
        EXPECT_EQ(items[0].matched, 7u);
    }
    // Two payments of the amount five days and one day away: the nearer one.
    {
        std::vector<TImportCandidate> cands{Candidate(1, TDate(10, 3, 2012), -2500),
                                            Candidate(2, TDate(16, 3, 2012), -2500)};
        std::vector<TImportItem> items{Item(day, -2500)};
        AssignImportMatches(items, cands, false);
        EXPECT_EQ(items[0].matched, 2u);
    }
    // A check four days away: no match, unless check numbers are ignored.
    {
        std::vector<TImportCandidate> cands{Candidate(3, TDate(19, 3, 2012), -2500, "1001")};
        std::vector<TImportItem> items{Item(day, -2500)};
        AssignImportMatches(items, cands, false);
        EXPECT_EQ(items[0].matched, 0u);
        AssignImportMatches(items, cands, true);
        EXPECT_EQ(items[0].matched, 3u);
    }
    // Greedy, not best overall: the cheapest pair goes first even when that leaves another item
    // without a partner (the check five days from the first item is too far for it).
    {
        std::vector<TImportItem> items{Item(TDate(10, 3, 2012), -100),
                                       Item(TDate(12, 3, 2012), -100)};
        std::vector<TImportCandidate> cands{Candidate(1, TDate(12, 3, 2012), -100),
                                            Candidate(2, TDate(15, 3, 2012), -100, "55")};
        EXPECT_EQ(MatchImportItems(items, cands, false), (std::vector<int32_t>{-1, 0}));
    }
    // Ties: the earlier item first, then the earlier candidate, whichever side of the date.
    {
        std::vector<TImportItem> items{Item(day, -100), Item(day, -100), Item(day, -100)};
        std::vector<TImportCandidate> cands{
            Candidate(1, TDate(17, 3, 2012), -100), Candidate(2, TDate(13, 3, 2012), -100),
            Candidate(3, TDate(17, 3, 2012), -100), Candidate(4, TDate(18, 3, 2012), -100)};
        EXPECT_EQ(MatchImportItems(items, cands, false), (std::vector<int32_t>{0, 1, 2}));
    }
    // A cleared check matched by number is not offered again to an item of the same amount.
    {
        std::vector<TImportItem> items{Item(day, -100), Item(day, -100, "12")};
        std::vector<TImportCandidate> cands{Candidate(1, day, -100, "12"),
                                            Candidate(2, TDate(20, 3, 2012), -100)};
        EXPECT_EQ(MatchImportItems(items, cands, false), (std::vector<int32_t>{1, 0}));
    }
    // Nothing to match against, or nothing to match.
    EXPECT_EQ(MatchImportItems({Item(day, 1)}, {}, false), (std::vector<int32_t>{-1}));
    EXPECT_TRUE(MatchImportItems({}, {Candidate(1, day, 1)}, false).empty());
}

TEST(ImportMatchTest, CandidateFromRecord) {
    TXRecord record;
    record.Init(TDate(1, 1, 2012));
    record.id = 31;
    record.date = TDate(9, 2, 2012).Key();
    record.amount = -123456;
    record.SetCode("0042");
    TImportCandidate c = ImportCandidateFrom(record);
    EXPECT_EQ(c.id, 31u);
    EXPECT_EQ(c.date, TDate(9, 2, 2012));
    EXPECT_EQ(c.amount.Cents(), -123456);
    EXPECT_EQ(c.code, "0042");
}

// Dates a matcher meets: ordinary days crossing month ends and a leap day, the all-zero date of
// text that did not parse, and the odd keys a damaged record may hold (day 0, day past the month,
// month 13, an empty date with a year, year 0), plus dates too far apart to match.
TDate RandomDate(std::mt19937& rng, int mode) {
    std::uniform_int_distribution<int> pick(0, 99);
    int p = pick(rng);
    if (mode == 0 || p < 70) {
        TDate d(25, 2, 2012);
        int steps = std::uniform_int_distribution<int>(0, mode == 2 ? 6 : 40)(rng);
        for (int k = 0; k < steps; ++k)
            d.NextDay();
        return d;
    }
    if (p < 78) return TDate();
    switch (p % 8) {
        case 0:
            return TDate(0, 3, 2012);
        case 1:
            return TDate(31, 2, 2012);
        case 2:
            return TDate(5, 13, 2012);
        case 3:
            return TDate(0, 0, 2012);
        case 4:
            return TDate(1, 3, 0);
        case 5:
            return TDate(1, 3, 2200);
        case 6:
            return TDate(29, 2, 2100);
        default:
            return TDate(std::uniform_int_distribution<uint32_t>(0, 0xFFFFFFFFu)(rng));
    }
}

std::string RandomNumber(std::mt19937& rng) {
    static const char* const numbers[] = {
        "", "", "", "ATM", "1001", "1002", "01001", "1003b", "-1001", "0", "99999999999999999999"};
    return numbers[std::uniform_int_distribution<size_t>(0, std::size(numbers) - 1)(rng)];
}

TEST(ImportMatchTest, AgreesWithTheCostTableOnRandomStatements) {
    std::mt19937 rng(20120315);
    int matchedPairs = 0;
    int unmatchedItems = 0;
    for (int round = 0; round < 3006; ++round) {
        // 0: ordinary dates only; 1: odd dates too; 2: dates crowded together; 3, the last few
        // rounds: larger statements over several years with many repeated amounts.
        const int mode = round < 3000 ? round % 3 : 3;
        auto date = [&] {
            if (mode < 3) return RandomDate(rng, mode);
            TDate d(1, 1, 2011);
            for (int k = std::uniform_int_distribution<int>(0, 1500)(rng); k > 0; --k)
                d.NextDay();
            return d;
        };
        size_t n = mode < 3 ? std::uniform_int_distribution<size_t>(0, 24)(rng) : 150;
        size_t m = mode < 3 ? std::uniform_int_distribution<size_t>(0, 48)(rng) : 600;
        int amounts = mode < 3 ? std::uniform_int_distribution<int>(1, 4)(rng) : 6;
        auto cents = [&] { return 100 * std::uniform_int_distribution<int>(-amounts, 1)(rng); };
        std::vector<TImportItem> items;
        for (size_t i = 0; i < n; ++i)
            items.push_back(Item(date(), cents(), RandomNumber(rng)));
        std::vector<TImportCandidate> cands;
        for (size_t j = 0; j < m; ++j)
            cands.push_back(
                Candidate(static_cast<uint32_t>(j + 1), date(), cents(), RandomNumber(rng)));
        bool ignore = round % 4 == 3;
        std::vector<int32_t> fast = MatchImportItems(items, cands, ignore);
        std::vector<int32_t> reference = ReferenceMatchImportItems(items, cands, ignore);
        ASSERT_EQ(fast, reference) << "round " << round;
        for (int32_t j : fast)
            (j >= 0 ? matchedPairs : unmatchedItems)++;
    }
    // The cases must exercise both outcomes in bulk, or the comparison proves little.
    EXPECT_GT(matchedPairs, 10000);
    EXPECT_GT(unmatchedItems, 3000);
}

}  // namespace
