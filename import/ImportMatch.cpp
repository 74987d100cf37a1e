#include "import/ImportMatch.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <queue>
#include <tuple>
#include <unordered_map>

#include "transactions/XRecord.h"

namespace {

// Days apart at which a pair still costs less than ImportNoMatch.
constexpr int32_t MaxDays = static_cast<int32_t>(ImportNoMatch) - 2;
// A candidate with a check number of its own matches by amount only this close.
constexpr int32_t CheckNumberDays = 3;

int32_t DaysApart(TDate a, TDate b) {
    return std::abs(a.DaysBetween(b));
}

// Dates on the day-by-day line: a real month and a day within it, in any year. Between two of
// them the days apart are the difference of their positions. Other dates (the all-zero date of a
// text that did not parse, or a damaged record) are measured pair by pair.
bool OnDayLine(TDate d) {
    return d.Month() >= 1 && d.Month() <= 12 && d.Day() >= 1 && d.Day() <= d.DaysInMonth();
}

int32_t DayPosition(TDate d) {
    static constexpr int32_t before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    int32_t y = d.Year();
    int32_t days = y * 365 + (y + 3) / 4 + before[d.Month() - 1] + d.Day() - 1;
    if (y % 4 == 0 && d.Month() > 2) ++days;
    return days;
}

enum class TCandidateKind : uint8_t {
    Plain,     // on the day line, without a check number
    Numbered,  // on the day line, with a check number: matches by amount within 3 days only
    Zero,      // the all-zero date: no days from any item
    Odd,       // any other date, measured pair by pair
};

class TImportMatcher {
public:
    TImportMatcher(const std::vector<TImportItem>& items,
                   const std::vector<TImportCandidate>& candidates, bool ignoreCheckNumbers)
        : items(items),
          candidates(candidates),
          ignore(ignoreCheckNumbers),
          taken(candidates.size(), 0),
          result(items.size(), -1) {}

    std::vector<int32_t> Run() {
        MatchCheckNumbers();
        BuildGroups();
        BuildClusters();
        MatchByCost();
        return std::move(result);
    }

private:
    // A run of candidates of one amount, kind and day position, listed by index; head is the
    // first that may still be free.
    struct TBucket {
        int32_t pos;
        int32_t begin, end, head;
    };

    // Everything about the candidates of one amount. Bucket ranges index `buckets`; the zero and
    // odd ranges index `order`; the all range indexes `byIndex`.
    struct TGroup {
        int32_t plainBegin = 0, plainEnd = 0;
        int32_t numberedBegin = 0, numberedEnd = 0;
        int32_t zeroBegin = 0, zeroEnd = 0, zeroHead = 0;
        int32_t oddBegin = 0, oddEnd = 0;
        int32_t allBegin = 0, allEnd = 0, allHead = 0;
    };

    enum class TClusterKind : uint8_t { DayLine, Zero, Odd };

    // The free items of one amount and one date: every free candidate costs them all the same,
    // so they are searched for together and served in item order.
    struct TCluster {
        int32_t group;
        TClusterKind kind;
        TDate date;
        int32_t pos;
        int32_t begin, end, head;  // into clusterItems
    };

    const std::vector<TImportItem>& items;
    const std::vector<TImportCandidate>& candidates;
    bool ignore;
    std::vector<uint8_t> taken;
    std::vector<int32_t> result;

    std::vector<int64_t> candidateNumber;
    std::vector<TCandidateKind> kind;
    std::vector<int32_t> position;
    std::vector<int32_t> order;    // candidates by amount, kind, position, index
    std::vector<int32_t> byIndex;  // candidates by amount, index
    std::vector<TBucket> buckets;
    std::vector<int32_t> right, left;  // skip lists over exhausted plain buckets
    std::vector<TGroup> groups;
    std::unordered_map<int64_t, int32_t> groupOf;
    std::vector<TCluster> clusters;
    std::vector<int32_t> clusterItems;

    // --- Cost 0: the same check number. These pairs come before all others, item by item, each
    // taking the first free candidate with its number.
    void MatchCheckNumbers() {
        candidateNumber.assign(candidates.size(), 0);
        if (ignore) return;
        std::unordered_map<int64_t, std::vector<int32_t>> byNumber;
        for (size_t j = 0; j < candidates.size(); ++j) {
            int64_t n = ImportCheckNumber(candidates[j].code);
            candidateNumber[j] = n;
            if (n >= 1) byNumber[n].push_back(static_cast<int32_t>(j));
        }
        if (byNumber.empty()) return;
        std::unordered_map<int64_t, size_t> heads;
        for (size_t i = 0; i < items.size(); ++i) {
            int64_t n = ImportCheckNumber(items[i].number);
            if (n < 1) continue;
            auto found = byNumber.find(n);
            if (found == byNumber.end()) continue;
            size_t& head = heads[n];
            if (head < found->second.size()) {
                int32_t j = found->second[head++];
                taken[static_cast<size_t>(j)] = 1;
                result[i] = j;
            }
        }
    }

    // --- The candidates by amount.
    void BuildGroups() {
        size_t n = candidates.size();
        kind.resize(n);
        position.assign(n, 0);
        for (size_t j = 0; j < n; ++j) {
            TDate d = candidates[j].date;
            if (OnDayLine(d)) {
                kind[j] =
                    candidateNumber[j] >= 1 ? TCandidateKind::Numbered : TCandidateKind::Plain;
                position[j] = DayPosition(d);
            } else {
                kind[j] = d.Key() == 0 ? TCandidateKind::Zero : TCandidateKind::Odd;
            }
        }
        auto amountOf = [&](int32_t j) { return candidates[static_cast<size_t>(j)].amount; };

        // Candidates already taken by check number stay out of everything below.
        for (size_t j = 0; j < n; ++j)
            if (!taken[j]) order.push_back(static_cast<int32_t>(j));
        byIndex = order;
        std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            return std::tuple(amountOf(a), kind[static_cast<size_t>(a)],
                              position[static_cast<size_t>(a)],
                              a) < std::tuple(amountOf(b), kind[static_cast<size_t>(b)],
                                              position[static_cast<size_t>(b)], b);
        });
        std::stable_sort(byIndex.begin(), byIndex.end(),
                         [&](int32_t a, int32_t b) { return amountOf(a) < amountOf(b); });

        int32_t count = static_cast<int32_t>(order.size());
        int32_t at = 0;
        int32_t all = 0;
        while (at < count) {
            TMoney amount = amountOf(order[static_cast<size_t>(at)]);
            TGroup g;
            auto runOf = [&](TCandidateKind k) {
                int32_t begin = at;
                while (at < count && amountOf(order[static_cast<size_t>(at)]) == amount &&
                       kind[static_cast<size_t>(order[static_cast<size_t>(at)])] == k)
                    ++at;
                return std::pair(begin, at);
            };
            auto [plainFrom, plainTo] = runOf(TCandidateKind::Plain);
            g.plainBegin = static_cast<int32_t>(buckets.size());
            AddBuckets(plainFrom, plainTo);
            g.plainEnd = static_cast<int32_t>(buckets.size());
            auto [numberedFrom, numberedTo] = runOf(TCandidateKind::Numbered);
            g.numberedBegin = static_cast<int32_t>(buckets.size());
            AddBuckets(numberedFrom, numberedTo);
            g.numberedEnd = static_cast<int32_t>(buckets.size());
            std::tie(g.zeroBegin, g.zeroEnd) = runOf(TCandidateKind::Zero);
            g.zeroHead = g.zeroBegin;
            std::tie(g.oddBegin, g.oddEnd) = runOf(TCandidateKind::Odd);
            g.allBegin = g.allHead = all;
            while (all < count && amountOf(byIndex[static_cast<size_t>(all)]) == amount)
                ++all;
            g.allEnd = all;
            groupOf.emplace(amount.Cents(), static_cast<int32_t>(groups.size()));
            groups.push_back(g);
        }
        right.resize(buckets.size());
        left.resize(buckets.size());
        for (size_t b = 0; b < buckets.size(); ++b)
            right[b] = left[b] = static_cast<int32_t>(b);
    }

    void AddBuckets(int32_t from, int32_t to) {
        while (from < to) {
            int32_t pos = position[static_cast<size_t>(order[static_cast<size_t>(from)])];
            int32_t end = from;
            while (end < to &&
                   position[static_cast<size_t>(order[static_cast<size_t>(end)])] == pos)
                ++end;
            buckets.push_back({pos, from, end, from});
            from = end;
        }
    }

    // --- The free items by amount and date.
    void BuildClusters() {
        struct TKey {
            int32_t group;
            TClusterKind kind;
            uint32_t date;
            int32_t item;
        };
        std::vector<TKey> keys;
        for (size_t i = 0; i < items.size(); ++i) {
            if (result[i] >= 0) continue;
            auto found = groupOf.find(items[i].amount.Cents());
            if (found == groupOf.end()) continue;
            TDate d = items[i].date;
            TClusterKind k = OnDayLine(d)   ? TClusterKind::DayLine
                             : d.Key() == 0 ? TClusterKind::Zero
                                            : TClusterKind::Odd;
            keys.push_back({found->second, k, d.Key(), static_cast<int32_t>(i)});
        }
        std::sort(keys.begin(), keys.end(), [](const TKey& a, const TKey& b) {
            return std::tuple(a.group, a.kind, a.date, a.item) <
                   std::tuple(b.group, b.kind, b.date, b.item);
        });
        for (size_t at = 0; at < keys.size();) {
            size_t end = at;
            while (end < keys.size() && keys[end].group == keys[at].group &&
                   keys[end].kind == keys[at].kind && keys[end].date == keys[at].date)
                ++end;
            TDate d(keys[at].date);
            int32_t begin = static_cast<int32_t>(clusterItems.size());
            for (size_t k = at; k < end; ++k)
                clusterItems.push_back(keys[k].item);
            clusters.push_back({keys[at].group, keys[at].kind, d,
                                keys[at].kind == TClusterKind::DayLine ? DayPosition(d) : 0, begin,
                                static_cast<int32_t>(clusterItems.size()), begin});
            at = end;
        }
    }

    // --- Costs 1 and up: the smallest cost first, ties by item and then by candidate. The queue
    // holds for each cluster a cost no higher than its best free pair; when the pair is taken
    // meanwhile, the cluster looks outwards again from there.
    void MatchByCost() {
        using TEntry = std::tuple<uint32_t, int32_t, int32_t>;  // cost, item, cluster
        std::priority_queue<TEntry, std::vector<TEntry>, std::greater<TEntry>> queue;
        for (size_t c = 0; c < clusters.size(); ++c) {
            int32_t days = NextDays(clusters[c], 0);
            if (days >= 0)
                queue.emplace(static_cast<uint32_t>(days) + 1,
                              clusterItems[static_cast<size_t>(clusters[c].head)],
                              static_cast<int32_t>(c));
        }
        while (!queue.empty()) {
            auto [cost, item, c] = queue.top();
            queue.pop();
            TCluster& cluster = clusters[static_cast<size_t>(c)];
            int32_t days = static_cast<int32_t>(cost) - 1;
            int32_t j = TakeAt(cluster, days);
            if (j >= 0) {
                result[static_cast<size_t>(item)] = j;
                if (++cluster.head < cluster.end)
                    queue.emplace(cost, clusterItems[static_cast<size_t>(cluster.head)], c);
            } else {
                days = NextDays(cluster, days + 1);
                if (days >= 0) queue.emplace(static_cast<uint32_t>(days) + 1, item, c);
            }
        }
    }

    bool IsFree(int32_t j) const { return !taken[static_cast<size_t>(j)]; }

    // The first free candidate of a bucket, or -1.
    int32_t BucketHead(TBucket& b) {
        while (b.head < b.end && !IsFree(order[static_cast<size_t>(b.head)]))
            ++b.head;
        return b.head < b.end ? order[static_cast<size_t>(b.head)] : -1;
    }

    // The bucket of a position within a range of buckets, or -1.
    int32_t FindBucket(int32_t begin, int32_t end, int32_t pos) const {
        auto first = buckets.begin() + begin;
        auto last = buckets.begin() + end;
        auto it = std::lower_bound(first, last, pos,
                                   [](const TBucket& b, int32_t p) { return b.pos < p; });
        return it != last && it->pos == pos ? static_cast<int32_t>(it - buckets.begin()) : -1;
    }

    int32_t SkipRight(int32_t b, int32_t end) {
        int32_t root = b;
        while (root < end && right[static_cast<size_t>(root)] != root)
            root = right[static_cast<size_t>(root)];
        while (b < end && b != root) {
            int32_t next = right[static_cast<size_t>(b)];
            right[static_cast<size_t>(b)] = root;
            b = next;
        }
        return root;
    }

    int32_t SkipLeft(int32_t b, int32_t begin) {
        int32_t root = b;
        while (root >= begin && left[static_cast<size_t>(root)] != root)
            root = left[static_cast<size_t>(root)];
        while (b >= begin && b != root) {
            int32_t next = left[static_cast<size_t>(b)];
            left[static_cast<size_t>(b)] = root;
            b = next;
        }
        return root;
    }

    void Exhaust(int32_t b) {
        right[static_cast<size_t>(b)] = b + 1;
        left[static_cast<size_t>(b)] = b - 1;
    }

    // The nearest plain bucket with a free candidate at or above pos, or -1.
    int32_t PlainAbove(const TGroup& g, int64_t pos) {
        if (pos > INT32_MAX) return -1;
        auto first = buckets.begin() + g.plainBegin;
        auto last = buckets.begin() + g.plainEnd;
        int32_t b = static_cast<int32_t>(
            std::lower_bound(first, last, pos,
                             [](const TBucket& k, int64_t p) { return k.pos < p; }) -
            buckets.begin());
        for (;;) {
            b = SkipRight(b, g.plainEnd);
            if (b >= g.plainEnd) return -1;
            if (BucketHead(buckets[static_cast<size_t>(b)]) >= 0) return b;
            Exhaust(b);
        }
    }

    // The nearest plain bucket with a free candidate at or below pos, or -1.
    int32_t PlainBelow(const TGroup& g, int64_t pos) {
        if (pos < INT32_MIN) return -1;
        auto first = buckets.begin() + g.plainBegin;
        auto last = buckets.begin() + g.plainEnd;
        int32_t b = static_cast<int32_t>(
                        std::upper_bound(first, last, pos,
                                         [](int64_t p, const TBucket& k) { return p < k.pos; }) -
                        buckets.begin()) -
                    1;
        for (;;) {
            b = SkipLeft(b, g.plainBegin);
            if (b < g.plainBegin) return -1;
            if (BucketHead(buckets[static_cast<size_t>(b)]) >= 0) return b;
            Exhaust(b);
        }
    }

    int32_t NumberedHeadAt(const TGroup& g, int64_t pos) {
        if (pos < INT32_MIN || pos > INT32_MAX) return -1;
        int32_t b = FindBucket(g.numberedBegin, g.numberedEnd, static_cast<int32_t>(pos));
        return b < 0 ? -1 : BucketHead(buckets[static_cast<size_t>(b)]);
    }

    int32_t PlainHeadAt(const TGroup& g, int64_t pos) {
        if (pos < INT32_MIN || pos > INT32_MAX) return -1;
        int32_t b = FindBucket(g.plainBegin, g.plainEnd, static_cast<int32_t>(pos));
        return b < 0 ? -1 : BucketHead(buckets[static_cast<size_t>(b)]);
    }

    int32_t ZeroHead(TGroup& g) {
        while (g.zeroHead < g.zeroEnd && !IsFree(order[static_cast<size_t>(g.zeroHead)]))
            ++g.zeroHead;
        return g.zeroHead < g.zeroEnd ? order[static_cast<size_t>(g.zeroHead)] : -1;
    }

    int32_t AllHead(TGroup& g) {
        while (g.allHead < g.allEnd && !IsFree(byIndex[static_cast<size_t>(g.allHead)]))
            ++g.allHead;
        return g.allHead < g.allEnd ? byIndex[static_cast<size_t>(g.allHead)] : -1;
    }

    // Days from a date to a candidate when they may pair, else -1.
    int32_t PairDays(TDate date, int32_t j) const {
        int32_t days = DaysApart(date, candidates[static_cast<size_t>(j)].date);
        if (candidateNumber[static_cast<size_t>(j)] >= 1 && days > CheckNumberDays) return -1;
        return days > MaxDays ? -1 : days;
    }

    // The fewest days, at least fromDays, at which the cluster has a free candidate; -1 when
    // it has none below the no-match cost.
    int32_t NextDays(TCluster& cluster, int32_t fromDays) {
        TGroup& g = groups[static_cast<size_t>(cluster.group)];
        int32_t best = INT32_MAX;
        switch (cluster.kind) {
            case TClusterKind::Zero:
                // The all-zero date is no days from any other.
                if (fromDays == 0 && AllHead(g) >= 0) best = 0;
                break;
            case TClusterKind::Odd:
                for (int32_t at = g.allHead; at < g.allEnd; ++at) {
                    int32_t j = byIndex[static_cast<size_t>(at)];
                    if (!IsFree(j)) continue;
                    int32_t days = PairDays(cluster.date, j);
                    if (days >= fromDays && days < best) best = days;
                }
                break;
            case TClusterKind::DayLine: {
                int64_t x = cluster.pos;
                int32_t up = PlainAbove(g, x + fromDays);
                if (up >= 0) best = buckets[static_cast<size_t>(up)].pos - cluster.pos;
                int32_t down = PlainBelow(g, x - fromDays);
                if (down >= 0)
                    best = std::min(best, cluster.pos - buckets[static_cast<size_t>(down)].pos);
                for (int32_t d = fromDays; d <= CheckNumberDays && d < best; ++d) {
                    if (NumberedHeadAt(g, x - d) >= 0 || NumberedHeadAt(g, x + d) >= 0) {
                        best = d;
                        break;
                    }
                }
                if (fromDays == 0 && ZeroHead(g) >= 0) best = 0;
                for (int32_t at = g.oddBegin; at < g.oddEnd; ++at) {
                    int32_t j = order[static_cast<size_t>(at)];
                    if (!IsFree(j)) continue;
                    int32_t days = PairDays(cluster.date, j);
                    if (days >= fromDays && days < best) best = days;
                }
                break;
            }
        }
        return best > MaxDays ? -1 : best;
    }

    // Takes the first free candidate (by index) exactly that many days from the cluster's date;
    // -1 when there is none any more.
    int32_t TakeAt(TCluster& cluster, int32_t days) {
        TGroup& g = groups[static_cast<size_t>(cluster.group)];
        int32_t chosen = -1;
        auto consider = [&chosen](int32_t j) {
            if (j >= 0 && (chosen < 0 || j < chosen)) chosen = j;
        };
        switch (cluster.kind) {
            case TClusterKind::Zero:
                if (days == 0) consider(AllHead(g));
                break;
            case TClusterKind::Odd:
                for (int32_t at = g.allHead; at < g.allEnd && chosen < 0; ++at) {
                    int32_t j = byIndex[static_cast<size_t>(at)];
                    if (IsFree(j) && PairDays(cluster.date, j) == days) chosen = j;
                }
                break;
            case TClusterKind::DayLine: {
                int64_t x = cluster.pos;
                consider(PlainHeadAt(g, x - days));
                consider(PlainHeadAt(g, x + days));
                if (days <= CheckNumberDays) {
                    consider(NumberedHeadAt(g, x - days));
                    consider(NumberedHeadAt(g, x + days));
                }
                if (days == 0) consider(ZeroHead(g));
                for (int32_t at = g.oddBegin; at < g.oddEnd; ++at) {
                    int32_t j = order[static_cast<size_t>(at)];
                    if (IsFree(j) && PairDays(cluster.date, j) == days) consider(j);
                }
                break;
            }
        }
        if (chosen >= 0) taken[static_cast<size_t>(chosen)] = 1;
        return chosen;
    }
};

}  // namespace

TImportCandidate ImportCandidateFrom(const TXRecord& record) {
    TImportCandidate c;
    c.id = record.id;
    c.date = TDate(record.date);
    c.amount = TMoney(record.amount);
    c.code = record.GetCode();
    return c;
}

int64_t ImportCheckNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint64_t magnitude = 0;
    constexpr uint64_t limit = uint64_t{1} << 63;  // the magnitude of the most negative value
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (negative) return magnitude >= limit ? INT64_MIN : -static_cast<int64_t>(magnitude);
    return magnitude >= limit ? INT64_MAX : static_cast<int64_t>(magnitude);
}

uint32_t ImportMatchCost(const TImportItem& item, const TImportCandidate& candidate,
                         bool ignoreCheckNumbers) {
    int64_t number = ignoreCheckNumbers ? 0 : ImportCheckNumber(candidate.code);
    if (number >= 1 && number == ImportCheckNumber(item.number)) return 0;
    if (item.amount != candidate.amount) return ImportNoMatch;
    int32_t days = DaysApart(item.date, candidate.date);
    if (number >= 1 && days > CheckNumberDays) return ImportNoMatch;
    return days > MaxDays ? ImportNoMatch : static_cast<uint32_t>(days) + 1;
}

std::vector<int32_t> MatchImportItems(const std::vector<TImportItem>& items,
                                      const std::vector<TImportCandidate>& candidates,
                                      bool ignoreCheckNumbers) {
    return TImportMatcher(items, candidates, ignoreCheckNumbers).Run();
}

void AssignImportMatches(std::vector<TImportItem>& items,
                         const std::vector<TImportCandidate>& candidates, bool ignoreCheckNumbers) {
    std::vector<int32_t> match = MatchImportItems(items, candidates, ignoreCheckNumbers);
    for (size_t i = 0; i < items.size(); ++i)
        items[i].matched = match[i] >= 0 ? candidates[static_cast<size_t>(match[i])].id : 0;
}
