// QIF statements: any bytes read to an end, items keep the field rules, and the items then
// matched against each other agree with the plain cost-table matching.
// clang-format off
// sources: import/QifReader.cpp import/StatementText.cpp import/ImportMatch.cpp core/Money.cpp core/Date.cpp core/Text.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Text.h"
#include "import/ImportMatch.h"
#include "import/QifReader.h"
#include "tests/import/ReferenceMatch.h"

namespace {

void CheckText(const std::string& value) {
    if (value.find_first_of("\"\r\n^") != std::string::npos) std::abort();
    if (value.size() >= QifLineLimit) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto items = ReadQifStatement(text);
    for (const auto& item : items) {
        if (!item.date.IsValid() && item.date != TDate()) std::abort();
        CheckText(item.name);
        CheckText(item.memo);
        CheckText(item.number);
        if (!item.memo.empty() && item.memo == item.name) std::abort();
        // A number that reads as a positive value is written without leading zeros.
        int32_t n = ReadLeadingInt(item.number);
        if (n > 0 && item.number != std::to_string(n)) std::abort();
    }

    // The items after the first "!Split" item stand in for ledger transactions: their number is
    // the code, and a memo "#<key>" gives any date key, so damaged dates come up too.
    size_t split = items.size() / 2;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].name == "!Split") split = i;
    std::vector<TImportItem> statement(items.begin(), items.begin() + static_cast<long>(split));
    std::vector<TImportCandidate> candidates;
    for (size_t i = split; i < items.size(); ++i) {
        TImportCandidate c;
        c.id = static_cast<uint32_t>(i + 1);
        c.date = items[i].date;
        if (!items[i].memo.empty() && items[i].memo[0] == '#')
            c.date = TDate(ReadLeadingUnsigned(items[i].memo.substr(1)));
        c.amount = items[i].amount;
        c.code = items[i].number;
        candidates.push_back(c);
    }
    if (statement.size() * candidates.size() > 20000) return 0;
    for (bool ignore : {false, true}) {
        std::vector<int32_t> fast = MatchImportItems(statement, candidates, ignore);
        if (fast != ReferenceMatchImportItems(statement, candidates, ignore)) std::abort();
    }
    return 0;
}
