// The matching exactly as a cost table and rounds: every pair costed, then repeatedly the smallest
// cost below ImportNoMatch (first item, then first candidate, on ties) until none is left. Far too
// slow for real statements; the fast matcher is checked against it.
#pragma once

#include <cstdint>
#include <vector>

#include "import/ImportMatch.h"

inline std::vector<int32_t> ReferenceMatchImportItems(
    const std::vector<TImportItem>& items, const std::vector<TImportCandidate>& candidates,
    bool ignoreCheckNumbers) {
    const size_t n = items.size();
    const size_t m = candidates.size();
    std::vector<uint32_t> cost(n * m, ImportNoMatch);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < m; ++j)
            cost[i * m + j] = ImportMatchCost(items[i], candidates[j], ignoreCheckNumbers);

    std::vector<int32_t> match(n, -1);
    for (;;) {
        uint32_t best = ImportNoMatch;
        size_t bi = 0, bj = 0;
        for (size_t i = 0; i < n; ++i)
            for (size_t j = 0; j < m; ++j)
                if (cost[i * m + j] < best) {
                    best = cost[i * m + j];
                    bi = i;
                    bj = j;
                }
        if (best == ImportNoMatch) break;
        match[bi] = static_cast<int32_t>(bj);
        for (size_t j = 0; j < m; ++j)
            cost[bi * m + j] = ImportNoMatch;
        for (size_t i = 0; i < n; ++i)
            cost[i * m + bj] = ImportNoMatch;
    }
    return match;
}
