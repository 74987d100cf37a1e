// Matching statement items against the account's transactions: a greedy assignment by cost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Date.h"
#include "core/Money.h"
#include "import/ImportItem.h"

struct TXRecord;

// A transaction of the account that a statement item may turn out to be.
struct TImportCandidate {
    uint32_t id = 0;
    TDate date;
    TMoney amount;
    std::string code;  // "#/Type"; a check number when it starts with digits
};

TImportCandidate ImportCandidateFrom(const TXRecord& record);

// The cost of a pair that must never be matched.
constexpr uint32_t ImportNoMatch = 65535;

// The number a check number or code stands for: leading blanks, a sign, then digits as far as
// they go (saturating at the 64-bit range); 0 when the text does not start with a number.
int64_t ImportCheckNumber(const std::string& text);

// The cost of matching an item with a candidate. The same check number (at least 1) costs 0
// whatever the amounts and dates; otherwise only equal amounts match, at the days between the
// dates plus 1, and a candidate that carries a different check number only within 3 days.
// Anything else, or a cost that reaches ImportNoMatch, is ImportNoMatch. With ignoreCheckNumbers
// the candidates' codes count as carrying no number.
uint32_t ImportMatchCost(const TImportItem& item, const TImportCandidate& candidate,
                         bool ignoreCheckNumbers);

// The greedy assignment: repeatedly the pair of smallest cost below ImportNoMatch among the
// items and candidates still free, ties going to the earlier item and then to the earlier
// candidate. Answers, for each item, the index of its candidate or -1.
//
// The pairs are never all costed: items at the same amount and date share their search, and
// candidates are found outwards from the item's date among those of its amount, so the work
// grows with the number of items and candidates, not with their product.
std::vector<int32_t> MatchImportItems(const std::vector<TImportItem>& items,
                                      const std::vector<TImportCandidate>& candidates,
                                      bool ignoreCheckNumbers);

// As above, storing the matched candidate's id in each item (0 for none).
void AssignImportMatches(std::vector<TImportItem>& items,
                         const std::vector<TImportCandidate>& candidates, bool ignoreCheckNumbers);
