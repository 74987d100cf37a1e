#include "transactions/XManager.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <numeric>
#include <span>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <utility>

#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "core/WindowPort.h"
#include "envelopes/EnvelopeList.h"
#include "transactions/Filters.h"
#include "transactions/XItem.h"
#include "transactions/XList.h"

namespace {

// Windows-1252 letters folded to lower case; every other byte stands for itself.
constexpr uint8_t FoldCaseOf(uint8_t c) {
    if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c + 0x20);
    switch (c) {
        case 0x8A:  // S caron
        case 0x8C:  // OE
        case 0x8E:  // Z caron
            return static_cast<uint8_t>(c + 0x10);
        case 0x9F:  // Y diaeresis
            return 0xFF;
        default:
            break;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<uint8_t>(c + 0x20);
    return c;
}

// The base letter of a folded Windows-1252 letter, so accented forms sort beside it.
constexpr uint8_t BaseLetterOf(uint8_t folded) {
    if (folded >= 0xE0 && folded <= 0xE6) return 'a';
    if (folded == 0xE7) return 'c';
    if (folded >= 0xE8 && folded <= 0xEB) return 'e';
    if (folded >= 0xEC && folded <= 0xEF) return 'i';
    if (folded == 0xF0) return 'd';
    if (folded == 0xF1) return 'n';
    if ((folded >= 0xF2 && folded <= 0xF6) || folded == 0xF8 || folded == 0x9C) return 'o';
    if (folded >= 0xF9 && folded <= 0xFC) return 'u';
    if (folded == 0xFD || folded == 0xFF) return 'y';
    if (folded == 0x9A || folded == 0xDF) return 's';
    if (folded == 0x9E) return 'z';
    return folded;
}

// Both as tables: codes are compared a great many times while records are sorted.
template <uint8_t (*Of)(uint8_t)>
constexpr std::array<uint8_t, 256> ByteTable() {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = Of(static_cast<uint8_t>(c));
    return table;
}
constexpr uint8_t BaseOfByte(uint8_t c) {
    return BaseLetterOf(FoldCaseOf(c));
}
constexpr std::array<uint8_t, 256> FoldTable = ByteTable<FoldCaseOf>();
constexpr std::array<uint8_t, 256> BaseTable = ByteTable<BaseOfByte>();

uint8_t FoldCase(uint8_t c) {
    return FoldTable[c];
}

// The base letter of any byte: its letter without case or accent.
uint8_t BaseLetter(uint8_t c) {
    return BaseTable[c];
}

int CompareBy(std::string_view a, std::string_view b, uint8_t (*key)(uint8_t)) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        uint8_t ka = key(static_cast<uint8_t>(a[i]));
        uint8_t kb = key(static_cast<uint8_t>(b[i]));
        if (ka != kb) return ka < kb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Case and accents are ignored first; only then does an accent (then the case) decide.
int CompareText(std::string_view a, std::string_view b) {
    int primary = CompareBy(a, b, BaseLetter);
    return primary != 0 ? primary : CompareBy(a, b, FoldCase);
}

std::string_view CodeOf(const TXRecord& r) {
    size_t n = 0;
    while (n < TXRecord::CodeSize && r.code[n] != '\0')
        ++n;
    return std::string_view(r.code, n);
}

bool CodeIs(const TXRecord& r, std::string_view word) {
    std::string_view code = CodeOf(r);
    if (code.size() != word.size()) return false;
    for (size_t i = 0; i < code.size(); ++i)
        if (FoldCase(static_cast<uint8_t>(code[i])) != static_cast<uint8_t>(word[i])) return false;
    return true;
}

// Whether a slot takes part in listings: in use and not being deleted.
bool Listed(const TXRecord& r) {
    return !r.IsFree() && !r.IsDeleted();
}

// What the first three sorting rules look at, as one number: "start" codes first, "hold" codes
// last, the date in between.
uint64_t FirstRulesKey(const TXRecord& r) {
    uint64_t notStart = CodeIs(r, "start") ? 0 : 1;
    uint64_t hold = CodeIs(r, "hold") ? 1 : 0;
    return (notStart << 33) | (hold << 32) | r.date;
}

bool Clean(const TXRecord& r) {
    return !r.IsFree() && !r.IsDirty();
}

// The leading decimal number of a code, 0 without one; too many digits saturate.
uint32_t LeadingNumber(std::string_view code) {
    uint64_t n = 0;
    for (char c : code) {
        if (c < '0' || c > '9') break;
        n = std::min<uint64_t>(n * 10 + static_cast<uint64_t>(c - '0'), UINT32_MAX);
    }
    return static_cast<uint32_t>(n);
}

int32_t Negated(int32_t v) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(v));
}

constexpr size_t RecordsPerPiece = pstream::MaxPiece / sizeof(TXRecord);

}  // namespace

int CompareCodeText(const std::string& a, const std::string& b) {
    return CompareText(a, b);
}

// ---------------------------------------------------------------------------------------------
// The record block

namespace {
// Records are plain bytes, so the allocator may move them (or remap a large block) itself.
TXRecordBlock::TMemory blockMemory = {
    [](void* block, size_t, size_t newBytes) { return std::realloc(block, newBytes); },
    [](void* block, size_t) { std::free(block); }};
}  // namespace

TXRecordBlock::TMemory TXRecordBlock::SetMemory(const TMemory& memory) {
    return std::exchange(blockMemory, memory);
}

TXRecordBlock::~TXRecordBlock() {
    if (first) memory.release(first, room * sizeof(TXRecord));
}

void TXRecordBlock::reserve(size_t records) {
    if (records <= room) return;
    if (records > SIZE_MAX / sizeof(TXRecord)) throw std::bad_alloc();
    if (!first) memory = blockMemory;
    void* grown = memory.grow(first, room * sizeof(TXRecord), records * sizeof(TXRecord));
    if (!grown) throw std::bad_alloc();
    first = static_cast<TXRecord*>(grown);
    room = records;
}

void TXRecordBlock::resize(size_t records) {
    if (records > room) reserve(std::max(records, room + room / 2));
    count = records;
}

void TXRecordBlock::push_back(const TXRecord& record) {
    if (count == room) reserve(std::max<size_t>(16, room + room / 2));
    first[count++] = record;
}

void TXRecordBlock::insert(TXRecord* at, const TXRecord* from, const TXRecord* to) {
    const size_t offset = static_cast<size_t>(at - first);
    const size_t added = static_cast<size_t>(to - from);
    if (added == 0) return;
    if (count + added > room) reserve(std::max(count + added, room + room / 2));
    std::memmove(first + offset + added, first + offset, (count - offset) * sizeof(TXRecord));
    std::memcpy(first + offset, from, added * sizeof(TXRecord));
    count += added;
}

void TXRecordBlock::swap(TXRecordBlock& other) noexcept {
    std::swap(first, other.first);
    std::swap(count, other.count);
    std::swap(room, other.room);
    std::swap(memory, other.memory);
}

// ---------------------------------------------------------------------------------------------
// The record store

TXManager::TXManager() {
    try {
        records.reserve(InitialCapacity);
    } catch (const std::bad_alloc&) {
        throw TXOutOfMemory();
    }
}

TXManager::~TXManager() {
    // Rows still out when the store goes are destroyed with it; none gives anything back.
    for (auto& [id, item] : out)
        item->multiple = nullptr;
    for (auto& [ptr, item] : detachedItems)
        item->multiple = nullptr;
    out.clear();
    detachedItems.clear();
    for (TXList* list : observers)
        list->manager = nullptr;
}

const TXRecord& TXManager::RecordAt(uint32_t position) const {
    Settle();
    if (position < 1 || position > GetCount())
        throw TXBase("Attempt to access beyond limit in TXManager::RecordAt().");
    return Slot(position);
}

uint32_t TXManager::FindSlot(uint32_t id) const {
    const uint32_t n = GetCount();
    if (id == 0 || n == 0) return 0;
    auto found = [&](uint32_t position) {
        cursor = position;
        return position;
    };
    // A ledger asks for the neighbours of the record it asked for last; a record that moved
    // since the index was made has mostly moved a few places.
    constexpr uint32_t Near = 32;
    auto around = [&](uint32_t from) -> uint32_t {
        for (uint32_t d = 0; d <= Near; ++d) {
            if (d < from && Slot(from - d).id == id) return from - d;
            if (d > 0 && from + d <= n && Slot(from + d).id == id) return from + d;
        }
        return 0;
    };
    if (cursor != 0 && cursor <= n)
        if (uint32_t p = around(cursor)) return found(p);
    uint32_t known = id < slotOfId.size() ? slotOfId[id] : 0;
    if (known != 0 && known <= n) {
        if (uint32_t p = around(known)) {
            slotOfId[id] = p;
            return found(p);
        }
    } else if (known == 0 && !slotOfId.empty() && slotsIndexedAt == idsGiven) {
        return 0;  // no id was given since the index was made, and it has none for this one
    }
    if (IndexSlots()) {
        uint32_t p = id < slotOfId.size() ? slotOfId[id] : 0;
        return p ? found(p) : 0;
    }
    for (uint32_t p = 1; p <= n; ++p)
        if (Slot(p).id == id) return found(p);
    return 0;
}

bool TXManager::IndexSlots() const {
    const uint32_t n = GetCount();
    // Ids are handed out one after another; a file claiming ids far beyond its records gets no
    // index rather than one sized by the claim.
    if (lastId > 4 * static_cast<uint64_t>(n) + 4096) {
        slotOfId.clear();
        return false;
    }
    try {
        slotOfId.assign(static_cast<size_t>(lastId) + 1, 0);
    } catch (const std::bad_alloc&) {
        slotOfId.clear();
        return false;
    }
    // From the back, so that of two slots claiming one id the first is remembered.
    for (uint32_t p = n; p >= 1; --p)
        if (Slot(p).id <= lastId) slotOfId[Slot(p).id] = p;
    slotsIndexedAt = idsGiven;
    return true;
}

const TXRecord* TXManager::FindRecord(uint32_t id) const {
    uint32_t position = FindSlot(id);
    if (position == 0 || Slot(position).IsFree()) return nullptr;
    return &Slot(position);
}

bool TXManager::ReissueFreeSlot(uint32_t position) {
    if (position == 0 || position > GetCount() || !Slot(position).IsFree()) return false;
    if (lastId == UINT32_MAX) return false;
    Slot(position).id = ++lastId;
    ++idsGiven;
    return true;
}

uint32_t TXManager::NewRecord(const TXRecord& templ) {
    uint32_t lastUsed = GetCount();
    while (lastUsed > 0 && Slot(lastUsed).IsFree())
        --lastUsed;

    uint32_t position;
    if (lastUsed < GetCount()) {
        position = lastUsed + 1;  // a freed slot: its id is given again
    } else {
        if (lastId == UINT32_MAX) throw TXOutOfMemory();
        try {
            if (GetCount() >= capacity) {
                if (capacity > UINT32_MAX - CapacityGrowth) throw TXOutOfMemory();
                capacity += CapacityGrowth;
            }
            // The capacity the file records grows by 500; the memory behind it grows by half
            // again, so a long run of additions copies the store only a few times. The recorded
            // capacity is only a number in the file: memory follows the records really held.
            if (records.size() == records.capacity())
                records.reserve(
                    std::max<size_t>(records.size() + CapacityGrowth, records.capacity() * 3 / 2));
            records.resize(records.size() + 1);
        } catch (const std::bad_alloc&) {
            throw TXOutOfMemory();
        }
        ++lastId;
        ++idsGiven;
        position = GetCount();
        Slot(position).id = lastId;
    }
    TXRecord working = templ;
    working.id = Slot(position).id;
    working.flags |= XDirty;
    Slot(position) = working;
    cursor = position;
    return working.id;
}

bool TXManager::Commit(TXRecord& record) {
    record.flags |= XDirty;
    uint32_t position = FindSlot(record.id);
    if (position == 0) return false;
    if (placing && Clean(Slot(position))) Unplace(position);
    Slot(position) = record;
    return true;
}

void TXManager::MoveRecord(uint32_t from, uint32_t to) {
    SettleNow();
    Shift(from, to);
    keyOrder = TKeyOrder::Unknown;  // a move from outside may put clean records out of order
}

void TXManager::Shift(uint32_t from, uint32_t to) {
    const uint32_t n = GetCount();
    if (from < 1 || from > n || to < 1 || to > n || from == to) return;
    auto first = records.begin();
    if (from < to)
        std::rotate(first + (from - 1), first + from, first + to);
    else
        std::rotate(first + (to - 1), first + (from - 1), first + from);
    if (cursor == from) cursor = to;
}

uint32_t TXManager::LastCommittedPosition() const {
    uint32_t position = GetCount();
    while (position > 0 && !Slot(position).IsCommitted())
        --position;
    return position;
}

void TXManager::FreeSlot(uint32_t position) {
    if (position < 1 || position > GetCount()) return;
    if (bulkDepth > 0) {
        if (placing && Clean(Slot(position))) Unplace(position);
        Slot(position).flags = 0;
        freedInBulk.push_back(Slot(position).id);
        return;
    }
    if (placing) {
        uint32_t id = Slot(position).id;
        SettleNow();
        position = FindSlot(id);
    }
    Slot(position).flags = 0;
    uint32_t last = LastCommittedPosition();
    Shift(position, last > position ? last : last + 1);
}

TXManager::TBulk::~TBulk() {
    if (--manager.bulkDepth == 0) manager.GatherFreedSlots();
}

// The same arrangement that freeing the slots one by one gives: the others keep their order and
// the freed slots stand just after the last committed record, the last freed first.
void TXManager::GatherFreedSlots() {
    if (!freedInBulk.empty()) SettleNow();
    std::vector<uint32_t> freed = std::move(freedInBulk);
    freedInBulk.clear();
    if (freed.empty()) return;
    try {
        std::unordered_set<uint32_t> stillFree;
        for (uint32_t id : freed)
            stillFree.insert(id);
        TXRecordBlock kept, gathered;
        kept.reserve(records.size());
        std::unordered_map<uint32_t, TXRecord> byId;
        size_t afterLastCommitted = 0;
        for (const TXRecord& r : records) {
            if (r.IsFree() && stillFree.count(r.id)) {
                byId.emplace(r.id, r);
                continue;
            }
            kept.push_back(r);
            if (r.IsCommitted()) afterLastCommitted = kept.size();
        }
        for (auto it = freed.rbegin(); it != freed.rend(); ++it) {
            auto found = byId.find(*it);
            if (found == byId.end()) continue;
            gathered.push_back(found->second);
            byId.erase(found);
        }
        kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(afterLastCommitted),
                    gathered.begin(), gathered.end());
        records.swap(kept);
        cursor = 0;
    } catch (const std::bad_alloc&) {
        // The slots stay free where they are: only where later records land differs.
    }
}

void TXManager::Resort(uint32_t position) {
    if (position < 1 || position > GetCount()) return;
    TXRecord& moving = Slot(position);
    moving.flags &= ~XDirty;
    // Every clean record whose first-rules key is above the moving one's sorts after it; when
    // the clean records stand in key order those are a tail that can be skipped at once.
    uint32_t from = KeyOrdered() ? LastKeyAtOrBelow(FirstRulesKey(moving), position) : GetCount();
    uint32_t after = 0;  // the last clean record that does not sort after the moving one
    for (uint32_t t = from; t >= 1; --t) {
        if (t == position) continue;
        const TXRecord& r = Slot(t);
        if (r.IsFree() || r.IsDirty()) continue;
        if (!SortsBefore(moving, r)) {
            after = t;
            break;
        }
    }
    uint32_t target = after == 0 ? 1 : (after < position ? after + 1 : after);
    Shift(position, target);
}

bool TXManager::KeyOrdered() const {
    if (keyOrder == TKeyOrder::Unknown) {
        keyOrder = TKeyOrder::Ordered;
        uint64_t previous = 0;
        for (const TXRecord& r : records) {
            if (!Clean(r)) continue;
            uint64_t key = FirstRulesKey(r);
            if (key < previous) {
                keyOrder = TKeyOrder::Unordered;
                break;
            }
            previous = key;
        }
    }
    return keyOrder == TKeyOrder::Ordered;
}

uint32_t TXManager::LastKeyAtOrBelow(uint64_t key, uint32_t self) const {
    auto clean = [&](uint32_t p) { return p != self && Clean(Slot(p)); };
    uint32_t lo = 1, hi = GetCount(), found = 0;
    while (lo <= hi) {
        uint32_t mid = lo + (hi - lo) / 2;
        uint32_t q = mid;
        while (q <= hi && !clean(q))
            ++q;
        if (q > hi) {
            hi = mid - 1;
        } else if (FirstRulesKey(Slot(q)) <= key) {
            found = q;
            lo = q + 1;
        } else {
            hi = mid - 1;
        }
    }
    return found;
}

// Flush in one pass for the usual shape of a store: every slot up to the trailing free ones holds
// a committed record, and the clean records stand in key order. Re-sorting the dirty records one
// by one from the end then only ever inserts each into the run of clean records sharing its key
// (records of lower keys never sort after it, records of higher keys always do), so the result is
// the same as the slot-by-slot walk without moving the whole block once per record. False, with
// nothing changed, when the store has another shape or memory runs short.
bool TXManager::FlushQuickly() {
    const uint32_t count = GetCount();
    uint32_t end = count;  // trailing free slots stay where they are
    while (end > 0 && Slot(end).IsFree())
        --end;
    bool anyDirty = false;
    for (uint32_t p = 1; p <= end; ++p) {
        const TXRecord& r = Slot(p);
        if (!r.IsCommitted()) return false;
        anyDirty = anyDirty || r.IsDirty();
    }
    if (!anyDirty) return true;
    uint64_t previous = 0;
    for (uint32_t p = 1; p <= end; ++p) {
        const TXRecord& r = Slot(p);
        if (r.IsDirty()) continue;
        uint64_t key = FirstRulesKey(r);
        if (key < previous) return false;
        previous = key;
    }
    try {
        std::map<uint64_t, std::vector<uint32_t>> runs;  // clean records by key, in store order
        for (uint32_t i = 0; i < end; ++i)
            if (!records[i].IsDirty()) runs[FirstRulesKey(records[i])].push_back(i);
        for (uint32_t i = end; i-- > 0;) {
            const TXRecord& moving = records[i];
            if (!moving.IsDirty()) continue;
            std::vector<uint32_t>& run = runs[FirstRulesKey(moving)];
            size_t at = run.size();
            while (at > 0 && SortsBefore(moving, records[run[at - 1]]))
                --at;
            run.insert(run.begin() + static_cast<std::ptrdiff_t>(at), i);
        }
        TXRecordBlock sorted;
        sorted.reserve(records.capacity());
        for (const auto& [key, run] : runs)
            for (uint32_t i : run) {
                sorted.push_back(records[i]);
                sorted.back().flags &= ~XDirty;
            }
        sorted.insert(sorted.end(), records.begin() + end, records.end());
        records.swap(sorted);
    } catch (const std::bad_alloc&) {
        return false;
    }
    cursor = 0;
    keyOrder = TKeyOrder::Ordered;
    return true;
}

void TXManager::Flush() {
    SettleNow();
    if (FlushQuickly()) return;
    // A position is examined again after each change, since a move brings another record there.
    uint32_t position = GetCount();
    while (position >= 1) {
        const TXRecord& r = Slot(position);
        if (r.IsCommitted() && r.IsDirty())
            Resort(position);
        else if (!r.IsFree() && !r.IsCommitted())
            FreeSlot(position);
        else
            --position;
    }
}

// ---------------------------------------------------------------------------------------------
// Bulk posting

TXManager::TBulkPosting::~TBulkPosting() {
    if (--manager.postingDepth == 0) manager.SettleNow();
}

void TXManager::TRuns::Append(uint64_t key, uint32_t slot) {
    if (keys.empty() || keys.back() != key) {
        keys.push_back(key);
        runs.emplace_back().number = numbered++;
    }
    members.push_back(slot);
    ++runs.back().count;
}

namespace {
size_t RunHash(uint64_t key, size_t mask) {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}
}  // namespace

void TXManager::TRuns::Index() {
    const uint32_t* stretch = members.data();
    for (TRun& run : runs) {
        run.shared = stretch;
        stretch += run.count;
    }
    size_t size = 16;
    while (size < keys.size() * 2)
        size *= 2;
    table.assign(size, TPlace{0, 0});
    for (uint32_t i = 0; i < keys.size(); ++i) {
        size_t at = RunHash(keys[i], size - 1);
        while (table[at].index != 0)
            at = (at + 1) & (size - 1);
        table[at] = TPlace{keys[i], i + 1};
    }
}

TXManager::TRun* TXManager::TRuns::Find(uint64_t key) {
    const size_t mask = table.size() - 1;
    for (size_t at = RunHash(key, mask); !table.empty() && table[at].index != 0;
         at = (at + 1) & mask)
        if (table[at].key == key) return &runs[table[at].index - 1];
    auto found = later.find(key);
    return found == later.end() ? nullptr : &found->second;
}

TXManager::TRun& TXManager::TRuns::Get(uint64_t key) {
    if (TRun* run = Find(key)) return *run;
    TRun& made = later[key];
    made.number = numbered++;
    return made;
}

template <class F>
void TXManager::TRuns::InKeyOrder(F&& f) {
    size_t i = 0;
    for (auto& [key, run] : later) {
        for (; i < keys.size() && keys[i] < key; ++i)
            f(runs[i]);
        f(run);
    }
    for (; i < keys.size(); ++i)
        f(runs[i]);
}

// Placing needs the clean records in key order, as Resort's search does; otherwise each record
// is re-sorted on its own.
bool TXManager::StartPlacing() {
    if (placing) return true;
    if (!KeyOrdered()) return false;
    try {
        auto runs = std::make_unique<TRuns>();
        for (uint32_t i = 0; i < GetCount(); ++i)
            if (Clean(records[i])) runs->Append(FirstRulesKey(records[i]), i);
        runs->Index();
        placing = std::move(runs);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Where Resort would put the record among the run of clean records sharing its key: just after
// the last one it does not sort before. Records of lower keys never sort after it and records of
// higher keys always do, so the run alone decides.
size_t TXManager::PlaceInRun(TRun& run, const TXRecord& moving) const {
    auto sortsAfter = [&](uint32_t slot) { return SortsBefore(moving, records[slot]); };
    std::span<const uint32_t> members = run.Members();
    if (!run.checked) {
        // Without zero amounts the later rules are a proper ordering, so a run that stands in it
        // answers "sorts after" false then true, and the boundary can be searched for.
        run.checked = true;
        run.sorted = true;
        for (size_t j = 0; j < members.size() && run.sorted; ++j) {
            const TXRecord& r = records[members[j]];
            run.sorted = r.amount != 0 && (j == 0 || !SortsBefore(r, records[members[j - 1]]));
        }
    }
    if (run.sorted && moving.amount != 0)
        return static_cast<size_t>(
            std::partition_point(members.begin(), members.end(),
                                 [&](uint32_t slot) { return !sortsAfter(slot); }) -
            members.begin());
    size_t at = members.size();
    while (at > 0 && sortsAfter(members[at - 1]))
        --at;
    return at;
}

void TXManager::InsertInRun(TRun& run, uint32_t slot) {
    size_t at = PlaceInRun(run, records[slot]);
    std::vector<uint32_t>& members = run.Own();
    members.insert(members.begin() + static_cast<std::ptrdiff_t>(at), slot);
}

// The records waiting in one run take their places, taken along the run's chain.
void TXManager::MergePending(TRun& run) {
    if (run.waiting == 0) return;
    TRuns& runs = *placing;
    std::vector<TPending>& pending = runs.merging;
    const uint32_t first = run.firstWaiting;
    run.firstWaiting = run.lastWaiting = TPending::None;
    run.waiting = 0;
    bool gathered = true;
    try {
        pending.clear();
        for (uint32_t w = first; w != TPending::None; w = runs.waiting[w].next)
            pending.push_back(runs.waiting[w]);
    } catch (const std::bad_alloc&) {
        gathered = false;
    }
    // Merged now, they must not be gathered again when the block settles.
    for (uint32_t w = first; w != TPending::None; w = runs.waiting[w].next) {
        if (!gathered) {
            // Short of memory: each takes its place in release order, as it would one by one.
            InsertInRun(run, runs.waiting[w].slot);
        }
        runs.waiting[w].slot = TPending::None;
    }
    if (gathered) MergeWaiting(run, pending, nullptr);
}

// Every run's waiting records merged in one go: gathered by run first, a pass over the list
// instead of a walk along each run's chain.
void TXManager::MergeAllWaiting() {
    TRuns& runs = *placing;
    std::vector<uint32_t> positions;
    try {
        std::vector<uint32_t> end(runs.RunCount());
        uint32_t total = 0;
        runs.InKeyOrder([&](const TRun& run) {
            end[run.number] = total;
            total += run.waiting;
        });
        std::vector<uint32_t> byRun(total);
        for (uint32_t w = 0; w < runs.waiting.size(); ++w)
            if (runs.waiting[w].slot != TPending::None) byRun[end[runs.waiting[w].run]++] = w;
        runs.InKeyOrder([&](TRun& run) {
            if (run.waiting == 0) return;
            std::vector<TPending>& pending = runs.merging;
            pending.clear();
            for (uint32_t k = end[run.number] - run.waiting; k < end[run.number]; ++k)
                pending.push_back(runs.waiting[byRun[k]]);
            run.firstWaiting = run.lastWaiting = TPending::None;
            run.waiting = 0;
            MergeWaiting(run, pending, &positions);
        });
    } catch (const std::bad_alloc&) {
        // Short of memory: the runs still waiting go along their chains.
        runs.InKeyOrder([&](TRun& run) { MergePending(run); });
    }
    runs.waiting.clear();
}

// The waiting records of a run take their places. In a sorted run that is one merge: sorted by
// key (those released earlier first among equals) and placed behind the run's records of equal
// key, where releasing them one by one puts them. A run found unsorted takes them one by one, in
// the order they were released; nothing else changed the run meanwhile (Unplace merges first).
void TXManager::MergeWaiting(TRun& run, std::vector<TPending>& pending,
                             std::vector<uint32_t>* positions) {
    TRuns& runs = *placing;
    auto oneByOne = [&] {
        for (const TPending& waiting : pending)
            InsertInRun(run, waiting.slot);
    };
    try {
        // The keys name envelopes by id; their places in the envelope list are looked up now.
        auto position = [&](uint32_t envelope) {
            constexpr uint32_t Unknown = UINT32_MAX;
            if (!positions || envelope >= 65536) return EnvelopePosition(envelope);
            if (positions->size() <= envelope) positions->resize(envelope + 1, Unknown);
            uint32_t& known = (*positions)[envelope];
            if (known == Unknown) known = EnvelopePosition(envelope);
            return known;
        };
        std::span<const uint32_t> members = run.Members();
        const size_t n = members.size(), m = pending.size();
        std::vector<TLaterKey>& keys = runs.mergeKeys;
        keys.clear();
        for (uint32_t slot : members) {
            TakeLaterKey(records[slot], keys.emplace_back());
            keys.back().SetEnvelopePosition(position(keys.back().EnvelopeId()));
        }
        if (!run.checked) {
            // The keys order records with an amount as the sorting rules do.
            run.checked = true;
            run.sorted = true;
            for (size_t j = 0; j < n && run.sorted; ++j)
                run.sorted = records[members[j]].amount != 0 && !(j > 0 && keys[j] < keys[j - 1]);
        }
        if (!run.sorted) {
            oneByOne();
            return;
        }
        for (const TPending& waiting : pending) {
            keys.push_back(waiting.key);
            keys.back().SetEnvelopePosition(position(keys.back().EnvelopeId()));
        }
        std::vector<uint32_t>& order = runs.mergeOrder;
        order.resize(m);
        std::iota(order.begin(), order.end(), static_cast<uint32_t>(n));
        auto before = [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; };
        if (m <= 32) {
            // Few wait in a run as a rule: sorted by insertion, which keeps equals in order.
            for (size_t j = 1; j < m; ++j) {
                uint32_t moving = order[j];
                size_t k = j;
                for (; k > 0 && before(moving, order[k - 1]); --k)
                    order[k] = order[k - 1];
                order[k] = moving;
            }
        } else {
            std::stable_sort(order.begin(), order.end(), before);
        }
        std::vector<uint32_t>& merged = runs.merged;
        merged.clear();
        merged.reserve(n + m);
        size_t i = 0;
        for (uint32_t k : order) {
            while (i < n && !(keys[k] < keys[i]))
                merged.push_back(members[i++]);
            merged.push_back(pending[k - n].slot);
        }
        merged.insert(merged.end(), members.begin() + static_cast<std::ptrdiff_t>(i),
                      members.end());
        run.Replace(merged);
    } catch (const std::bad_alloc&) {
        // Short of memory: one at a time, as each would have been placed.
        oneByOne();
    }
}

namespace {

constexpr uint64_t EveryByte(uint8_t b) {
    return 0x0101010101010101ull * b;
}

// The bytes of a little-endian word before its first NUL; whether it has one.
bool KeepBeforeNul(uint64_t& word) {
    uint64_t nul = (word - EveryByte(1)) & ~word & EveryByte(0x80);
    if (nul == 0) return false;
    word &= ((nul & (0 - nul)) >> 7) - 1;
    return true;
}

// Letters A to Z in lower case, for a word of bytes below 0x80.
uint64_t FoldAscii(uint64_t word) {
    uint64_t atLeastA = word + EveryByte(0x80 - 'A');
    uint64_t aboveZ = word + EveryByte(0x80 - 'Z' - 1);
    return word | ((atLeastA & ~aboveZ & EveryByte(0x80)) >> 2);
}

uint64_t BigEndianWord(const uint8_t* bytes) {
    uint64_t word = 0;
    for (size_t i = 0; i < 8; ++i)
        word = word << 8 | bytes[i];
    return word;
}

}  // namespace

void TXManager::TakeLaterKey(const TXRecord& r, TLaterKey& key) {
    static_assert(TXRecord::CodeSize == 20 && TLaterKey::CodeWords == 3);
    key.words[TLaterKey::Sign] = r.amount < 0 ? 1 : 0;
    key.words[TLaterKey::Envelope] = r.envelope;
    if constexpr (std::endian::native == std::endian::little) {
        // A plain code (no byte from 0x80 up) is read and folded a word at a time: its letters
        // are their own base letters.
        uint64_t code[3] = {0, 0, 0};
        uint32_t tail;
        std::memcpy(&code[0], r.code, 8);
        std::memcpy(&code[1], r.code + 8, 8);
        std::memcpy(&tail, r.code + 16, 4);
        code[2] = tail;
        if (KeepBeforeNul(code[0]))
            code[1] = code[2] = 0;
        else if (KeepBeforeNul(code[1]))
            code[2] = 0;
        else
            KeepBeforeNul(code[2]);
        if (((code[0] | code[1] | code[2]) & EveryByte(0x80)) == 0) {
            for (size_t w = 0; w < 3; ++w) {
                uint64_t folded = __builtin_bswap64(FoldAscii(code[w]));
                key.words[TLaterKey::Base + w] = folded;
                key.words[TLaterKey::Folded + w] = folded;
            }
            return;
        }
    }
    std::array<uint8_t, 8 * TLaterKey::CodeWords> base{}, folded{};
    std::string_view code = CodeOf(r);
    for (size_t i = 0; i < code.size(); ++i) {
        base[i] = BaseLetter(static_cast<uint8_t>(code[i]));
        folded[i] = FoldCase(static_cast<uint8_t>(code[i]));
    }
    for (size_t w = 0; w < TLaterKey::CodeWords; ++w) {
        key.words[TLaterKey::Base + w] = BigEndianWord(base.data() + 8 * w);
        key.words[TLaterKey::Folded + w] = BigEndianWord(folded.data() + 8 * w);
    }
}

void TXManager::Place(uint32_t position) {
    TXRecord& moving = Slot(position);
    moving.flags &= ~XDirty;
    try {
        TRun& run = placing->Get(FirstRulesKey(moving));
        if (!run.checked && run.Members().empty()) run.checked = run.sorted = true;
        placing->placed.push_back(position - 1);
        if (moving.amount != 0 && (!run.checked || run.sorted)) {
            // Its place is settled with the others of its run, in one merge.
            // Its key is taken now, while the record is at hand.
            std::vector<TPending>& waiting = placing->waiting;
            const auto w = static_cast<uint32_t>(waiting.size());
            TPending& entry = waiting.emplace_back();
            entry.slot = position - 1;
            entry.next = TPending::None;
            entry.run = run.number;
            TakeLaterKey(moving, entry.key);
            if (run.lastWaiting == TPending::None)
                run.firstWaiting = w;
            else
                waiting[run.lastWaiting].next = w;
            run.lastWaiting = w;
            ++run.waiting;
            return;
        }
        MergePending(run);
        InsertInRun(run, position - 1);
        if (moving.amount == 0) run.sorted = false;
    } catch (const std::bad_alloc&) {
        uint32_t id = moving.id;
        moving.flags |= XDirty;
        SettleNow();
        Resort(FindSlot(id));
    }
}

void TXManager::Unplace(uint32_t position) {
    TRun* run = placing->Find(FirstRulesKey(Slot(position)));
    if (!run) return;
    // In a run not known to be sorted, where a record lands can depend on which others stand
    // there, so the waiting ones take their places first, as they would have one by one.
    if (!run->checked || !run->sorted) MergePending(*run);
    std::span<const uint32_t> members = run->Members();
    auto member = std::find(members.rbegin(), members.rend(), position - 1);
    if (member != members.rend()) {
        std::ptrdiff_t at = std::next(member).base() - members.begin();
        std::vector<uint32_t>& own = run->Own();
        own.erase(own.begin() + at);
        return;
    }
    // A record waits in its run at most once: unlinked from the chain.
    std::vector<TPending>& waiting = placing->waiting;
    uint32_t previous = TPending::None;
    for (uint32_t w = run->firstWaiting; w != TPending::None; previous = w, w = waiting[w].next) {
        if (waiting[w].slot != position - 1) continue;
        if (previous == TPending::None)
            run->firstWaiting = waiting[w].next;
        else
            waiting[previous].next = waiting[w].next;
        if (run->lastWaiting == w) run->lastWaiting = previous;
        waiting[w].slot = TPending::None;
        --run->waiting;
        return;
    }
}

void TXManager::Settle() const {
    // The order is already decided; only the block does not show it yet.
    const_cast<TXManager*>(this)->SettleNow();
}

// The clean records in their runs' order. A slot that is not clean stays just before the clean
// record that follows it in the block, as it does while records are moved one by one around it;
// those after the last clean record stay at the end.
void TXManager::SettleNow() {
    if (!placing) return;
    MergeAllWaiting();
    std::unique_ptr<TRuns> runs = std::move(placing);
    const uint32_t n = GetCount();
    try {
        std::vector<uint32_t> loose;
        std::unordered_map<uint32_t, std::pair<size_t, size_t>> looseBefore;
        size_t from = 0;
        for (uint32_t i = 0; i < n; ++i) {
            if (!Clean(records[i])) {
                loose.push_back(i);
            } else {
                if (loose.size() > from) looseBefore.emplace(i, std::make_pair(from, loose.size()));
                from = loose.size();
            }
        }
        std::vector<uint32_t> order;  // the slot each position takes its record from
        order.reserve(n);
        runs->InKeyOrder([&](const TRun& run) {
            std::span<const uint32_t> members = run.Members();
            if (looseBefore.empty()) {
                order.insert(order.end(), members.begin(), members.end());
                return;
            }
            for (uint32_t slot : members) {
                auto before = looseBefore.find(slot);
                if (before != looseBefore.end())
                    for (size_t k = before->second.first; k < before->second.second; ++k)
                        order.push_back(loose[k]);
                order.push_back(slot);
            }
        });
        for (size_t k = from; k < loose.size(); ++k)
            order.push_back(loose[k]);
        if (order.size() != n) {
            TXRecordBlock block;
            block.reserve(records.capacity());
            for (uint32_t slot : order)
                block.push_back(records[slot]);
            records.swap(block);
        } else if (!MoveIntoOrder(order, runs->placed)) {
            // Each record is copied once, around the cycles of the new order: no second block
            // and nothing done for records that keep their places.
            for (uint32_t first = 0; first < n; ++first) {
                if (order[first] == first) continue;
                TXRecord held = records[first];
                uint32_t to = first;
                for (uint32_t from = order[to]; from != first; from = order[to]) {
                    records[to] = records[from];
                    order[to] = to;
                    to = from;
                }
                records[to] = held;
                order[to] = to;
            }
        }
    } catch (const std::bad_alloc&) {
        // Short of memory: the same order of clean records, reached by moving them one by one.
        std::vector<uint32_t> ids;
        runs->InKeyOrder([&](const TRun& run) {
            for (uint32_t slot : run.Members())
                ids.push_back(records[slot].id);
        });
        uint32_t target = 1;
        for (uint32_t id : ids)
            Shift(FindSlot(id), target++);
    }
    cursor = 0;
}

// The usual new order: the records that took a new place are few against those that keep their
// order. Those are set aside, the others slide to their places in two sweeps (those moving
// towards the front first to last, the rest last to first, so nothing is overwritten before it
// moves), and the set-aside ones are written into the gaps: the block is read and written nearly
// in sequence instead of hopping around the cycles of the order. False, with nothing changed,
// when the others do not keep their order or memory is short.
bool TXManager::MoveIntoOrder(std::vector<uint32_t>& order, const std::vector<uint32_t>& placed) {
    const size_t n = order.size();
    try {
        std::vector<bool> moved(n, false);
        for (uint32_t slot : placed)
            moved[slot] = true;
        uint32_t previous = 0;
        bool first = true;
        size_t movedCount = 0;
        for (uint32_t slot : order) {
            if (moved[slot]) {
                ++movedCount;
                continue;
            }
            if (!first && slot < previous) return false;
            previous = slot;
            first = false;
        }
        TXRecordBlock aside;
        aside.reserve(movedCount);
        for (uint32_t slot : order)
            if (moved[slot]) aside.push_back(records[slot]);
        bool towardsFront = false;
        for (size_t to = 0; to < n && !towardsFront; ++to)
            towardsFront = !moved[order[to]] && order[to] > to;
        if (!towardsFront) {
            // The usual case (the moved records were added at the end): one sweep from the back.
            size_t k = aside.size();
            for (size_t to = n; to-- > 0;) {
                if (moved[order[to]])
                    records[to] = aside[--k];
                else if (order[to] != to)
                    records[to] = records[order[to]];
            }
            return true;
        }
        for (size_t to = 0; to < n; ++to)
            if (!moved[order[to]] && order[to] > to) records[to] = records[order[to]];
        for (size_t to = n; to-- > 0;)
            if (!moved[order[to]] && order[to] < to) records[to] = records[order[to]];
        size_t k = 0;
        for (size_t to = 0; to < n; ++to)
            if (moved[order[to]]) records[to] = aside[k++];
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TXManager::SortsBefore(const TXRecord& a, const TXRecord& b) const {
    bool aStart = CodeIs(a, "start"), bStart = CodeIs(b, "start");
    if (aStart != bStart) return aStart;
    bool aHold = CodeIs(a, "hold"), bHold = CodeIs(b, "hold");
    if (aHold != bHold) return bHold;
    if (a.date != b.date) return a.date < b.date;
    if (a.amount > 0 && b.amount < 0) return true;
    if (a.amount < 0 && b.amount > 0) return false;
    int byCode = CompareText(CodeOf(a), CodeOf(b));
    if (byCode != 0) return byCode < 0;
    if (a.envelope != b.envelope) {
        uint32_t pa = EnvelopePosition(a.envelope), pb = EnvelopePosition(b.envelope);
        if (pa != pb) return pa < pb;
    }
    return false;
}

void TXManager::SetEnvelopePosition(EnvelopePositionFn fn) {
    envelopePosition = std::move(fn);
}

uint32_t TXManager::EnvelopePosition(uint32_t envelopeId) const {
    if (envelopePosition) return envelopePosition(envelopeId);
    TQuilletData* doc = Document();
    return doc ? doc->GetEnvelopes().IndexOf(envelopeId) : 0;
}

// ---------------------------------------------------------------------------------------------
// Row objects

TXItem* TXManager::MakeItem(const TXRecord& record, bool remember) {
    auto made = std::unique_ptr<TXItem>(new TXItem(*this, record, remember));
    TXItem* item = made.get();
    item->users = 1;
    out.emplace(record.id, std::move(made));
    // A part works through its multiple, which stays out as long as the part does.
    const TXRecord& r = item->record;
    if (r.IsPart() && r.parent != r.id) {
        const TXRecord* parent = FindRecord(r.parent);
        if (parent && parent->IsMultiple()) item->multiple = GetItem(r.parent);
    }
    return item;
}

TXItem* TXManager::GetItem(uint32_t id) {
    if (id == 0) return nullptr;
    auto found = out.find(id);
    if (found != out.end()) {
        ++found->second->users;
        return found->second.get();
    }
    const TXRecord* r = FindRecord(id);
    return r ? MakeItem(*r, true) : nullptr;
}

TXItem* TXManager::NewItem(const TXRecord& templ) {
    uint32_t id = NewRecord(templ);
    TXItem* item = MakeItem(*FindRecord(id), false);
    Commit(item->record);
    return item;
}

void TXManager::DestroyItem(TXItem* item) {
    TXItem* multiple = item->multiple;
    item->multiple = nullptr;
    if (item->detached)
        detachedItems.erase(item);
    else
        out.erase(item->record.id);
    Release(multiple);
}

void TXManager::Release(TXItem* item) {
    if (!item || --item->users > 0) return;
    if (!item->detached) {
        uint32_t position = FindSlot(item->record.id);
        if (position != 0) {
            const TXRecord& r = Slot(position);
            if (!r.IsFree() && !r.IsCommitted())
                FreeSlot(position);
            else if (r.IsCommitted() && r.IsDirty() && postingDepth > 0 && StartPlacing())
                Place(position);
            else if (r.IsCommitted() && r.IsDirty())
                Resort(position);
        }
    }
    DestroyItem(item);
}

void TXManager::Delete(TXItem* item) {
    if (!item) return;
    if (item->detached) {  // already deleted: only the caller's use is left to give back
        Release(item);
        return;
    }
    ++item->users;
    item->record.flags |= XDeleted;
    Commit(item->record);
    NotifyDeleted(item);
    {
        TBulk bulk(*this);  // a multiple's parts go at once
        item->Erase();
    }
    // The row leaves the store now; should a view still hold it, it lives on detached until
    // its last use is given back, and never touches the store again.
    uint32_t id = item->record.id;
    auto node = out.extract(id);
    uint32_t position = FindSlot(id);
    if (position != 0 && !Slot(position).IsFree()) FreeSlot(position);
    item->users -= 2;  // this call's use and the caller's
    item->detached = true;
    detachedItems.emplace(item, std::move(node.mapped()));
    if (item->users <= 0) DestroyItem(item);
}

void TXManager::DeleteParts(uint32_t multipleId) {
    TBulk bulk(*this);
    TMultKidsFilter parts(multipleId);
    for (uint32_t id : MatchingIds(parts))
        if (TXItem* part = GetItem(id)) Delete(part);
}

// ---------------------------------------------------------------------------------------------
// Queries

bool TXManager::Matches(uint32_t position, const TXFilter& filter) const {
    const TXRecord& r = Slot(position);
    return Listed(r) && filter.Match(r);
}

std::vector<uint32_t> TXManager::MatchingIds(const TXFilter& filter) const {
    Settle();
    std::vector<uint32_t> ids;
    for (uint32_t p = 1; p <= GetCount(); ++p)
        if (Matches(p, filter)) ids.push_back(Slot(p).id);
    return ids;
}

TXItem* TXManager::FindFirst(const TXFilter& filter) {
    return FindFromPosition(1, filter);
}

TXItem* TXManager::FindLast(const TXFilter& filter) {
    uint32_t p = PositionOfLast(filter);
    return p ? GetItem(Slot(p).id) : nullptr;
}

TXItem* TXManager::FindNext(const TXItem* item, const TXFilter& filter) {
    uint32_t p = PositionOf(item);
    return p ? FindFromPosition(p + 1, filter) : nullptr;
}

TXItem* TXManager::FindPrevious(const TXItem* item, const TXFilter& filter) {
    SettleNow();
    for (uint32_t p = PositionOf(item); p > 1;) {
        --p;
        if (Matches(p, filter)) return GetItem(Slot(p).id);
    }
    return nullptr;
}

TXItem* TXManager::FindFromPosition(uint32_t position, const TXFilter& filter) {
    SettleNow();
    for (uint32_t p = std::max<uint32_t>(position, 1); p <= GetCount(); ++p)
        if (Matches(p, filter)) return GetItem(Slot(p).id);
    return nullptr;
}

uint32_t TXManager::Count(const TXFilter& filter) const {
    uint32_t n = 0;
    for (uint32_t p = 1; p <= GetCount(); ++p)
        if (Matches(p, filter)) ++n;
    return n;
}

uint32_t TXManager::PositionOf(const TXItem* item) const {
    Settle();
    return item && !item->detached ? FindSlot(item->record.id) : 0;
}

uint32_t TXManager::PositionOfFirst(const TXFilter& filter) const {
    Settle();
    for (uint32_t p = 1; p <= GetCount(); ++p)
        if (Matches(p, filter)) return p;
    return 0;
}

uint32_t TXManager::PositionOfLast(const TXFilter& filter) const {
    Settle();
    for (uint32_t p = GetCount(); p >= 1; --p)
        if (Matches(p, filter)) return p;
    return 0;
}

TXGenericList TXManager::CollectMatching(const TXFilter& filter) {
    TXGenericList list(*this);
    for (uint32_t id : MatchingIds(filter))
        list.Add(GetItem(id));
    return list;
}

uint32_t TXManager::NextNumber(uint32_t accountId) const {
    Settle();
    TAccountFilter account(accountId);
    TXBlankFilter committed(account);
    uint32_t largest = 0, seen = 0;
    for (uint32_t p = GetCount(); p >= 1 && seen < NextNumberReach; --p) {
        if (!Matches(p, committed)) continue;
        ++seen;
        largest = std::max(largest, LeadingNumber(CodeOf(Slot(p))));
    }
    return largest + 1;  // wraps like the 32-bit number it is written as
}

// ---------------------------------------------------------------------------------------------
// Account and envelope deletion

bool TXManager::HasAccountTransactions(uint32_t accountId) const {
    return std::any_of(records.begin(), records.end(), [&](const TXRecord& r) {
        return Listed(r) && r.Has(XAccount) && !r.IsPart() && r.account == accountId;
    });
}

bool TXManager::HasEnvelopeTransactions(uint32_t envelopeId) const {
    return std::any_of(records.begin(), records.end(), [&](const TXRecord& r) {
        return Listed(r) && !r.IsAccountTransfer() && !r.IsMultiple() && r.envelope == envelopeId;
    });
}

void TXManager::DeleteMatching(const TXFilter& filter) {
    TBulk bulk(*this);
    for (uint32_t id : MatchingIds(filter)) {
        // Deleting one record may already have taken or changed another.
        uint32_t position = FindSlot(id);
        if (position == 0 || !Matches(position, filter)) continue;
        if (TXItem* item = GetItem(id)) Delete(item);
    }
}

void TXManager::DeleteAccountTransactions(uint32_t accountId) {
    Windows().CloseAccountViews(accountId);
    TBulk bulk(*this);
    TBulkPosting posting(*this);
    TQuilletData* doc = Document();
    TAccountTransferFilter transfers(accountId);
    for (uint32_t id : MatchingIds(transfers)) {
        uint32_t position = FindSlot(id);
        if (position == 0 || !Matches(position, transfers)) continue;
        TXItem* half = GetItem(id);
        if (!half) continue;
        TXRecord& own = half->Data();
        TXItem* partner = own.partner != id ? GetItem(own.partner) : nullptr;
        if (partner && partner->Editable()) {
            // The money stays in the other account and lands in its default envelope.
            TXRecord& other = partner->Data();
            int32_t amount = other.amount;
            partner->ChangeAmount(Negated(amount), true);
            other.flags = XNewAccountRecord | (other.flags & XDeleted);
            other.partner = 0;
            TAccount* account = doc ? doc->GetAccounts().GetAccount(other.account) : nullptr;
            other.envelope = account ? doc->GetAccounts().GetDefaultEnvelope(other.account) : 0;
            partner->ChangeAmount(amount, false);
        }
        // This half leaves with its account, whose balance goes with it.
        own.amount = 0;
        own.flags = XAccount;
        own.partner = 0;
        Release(partner);
        Delete(half);
    }
    DeleteMatching(TAccountFilter(accountId));
    // Parts whose multiple is missing would otherwise still name the account.
    class TOrphanParts : public TXFilter {
    public:
        explicit TOrphanParts(uint32_t account) : account(account) {}
        bool Match(const TXRecord& r) const override {
            return r.Has(XAccount) && r.account == account;
        }

    private:
        uint32_t account;
    };
    DeleteMatching(TOrphanParts(accountId));
}

void TXManager::MoveEnvelopeTransactions(uint32_t fromEnvelope, uint32_t toEnvelope) {
    if (fromEnvelope == toEnvelope) return;
    Windows().CloseEnvelopeViews(fromEnvelope);
    TBulk bulk(*this);
    TBulkPosting posting(*this);
    TEnvelopeFilter filter(fromEnvelope);
    for (uint32_t id : MatchingIds(filter)) {
        uint32_t position = FindSlot(id);
        if (position == 0 || !Matches(position, filter)) continue;
        TXItem* item = GetItem(id);
        if (!item) continue;
        if (!item->Record().IsEnvelopeTransfer()) {
            item->SetEnvelope(toEnvelope);
            Release(item);
            continue;
        }
        uint32_t partnerId = item->Record().partner;
        TXItem* partner = partnerId != id ? GetItem(partnerId) : nullptr;
        if (partner && partner->Record().envelope == toEnvelope) {
            // A transfer from an envelope to itself is not kept.
            Release(partner);
            Delete(item);
            continue;
        }
        item->SetEnvelope(toEnvelope);
        if (partner) partner->MarkChanged(true);
        Release(partner);
        Release(item);
    }
}

// ---------------------------------------------------------------------------------------------
// Envelope transfers

void TXManager::PostEnvelope(uint32_t envelopeId, int32_t delta, bool cleared) {
    TQuilletData* doc = Document();
    if (!doc) return;
    if (cleared) doc->GetEnvelopes().ChangeRecBalance(envelopeId, delta);
    doc->GetEnvelopes().ChangeBalance(envelopeId, delta);
}

void TXManager::MakeEnvelopeTransfer(TXItem& item, uint32_t targetEnvelope) {
    TXRecord& r = item.Data();
    bool wasTransfer = r.Has(XTransfer);
    if (!wasTransfer) {
        r.flags = XKindEnvelopeTransfer | XDirty | (r.flags & XDeleted);
        r.SetPayableTo(r.amount > 0 ? "Transfer from ~t" : "Transfer to ~t");
        r.SetCode("xfer");
    }
    TDate today = TDate::Today();
    if (TDate(r.date).Day() == 0) r.date = today.Key();

    TXRecord other;
    other.Init(today);
    other.flags = XKindEnvelopeTransfer | XDirty;
    other.partner = r.id;
    other.envelope = targetEnvelope;
    other.date = r.date;
    other.amount = Negated(r.amount);
    other.SetPayableTo(other.amount >= 0 ? "Transfer from ~t" : "Transfer to ~t");
    other.SetCode("xfer");
    other.SetMemo(r.GetMemo());
    TXItem* partner = NewItem(other);
    r.partner = partner->GetId();

    // The amounts are in place already, so the balances are posted here rather than through
    // ChangeAmount: a record that was no transfer moved nothing until now.
    if (!wasTransfer) PostEnvelope(r.envelope, r.amount, r.envelopeCleared != XNotCleared);
    PostEnvelope(targetEnvelope, Negated(r.amount), false);

    item.MarkChanged(true);
    NotifyAdded(partner);
    partner->MarkChanged(true);
    Release(partner);
}

void TXManager::AddEnvelopeTransfer(uint32_t envelope, uint32_t otherEnvelope, int32_t amount,
                                    TDate date) {
    TXRecord r;
    std::memset(&r, 0, sizeof r);
    r.flags = XNewEnvelopeRecord;
    r.envelope = envelope;
    r.amount = amount;
    r.date = date.Key();
    TXItem* item = NewItem(r);
    MakeEnvelopeTransfer(*item, otherEnvelope);
    Release(item);
}

// ---------------------------------------------------------------------------------------------
// Marks confirmed in bulk

bool TXManager::HasImportMarks() const {
    return std::any_of(records.begin(), records.end(),
                       [](const TXRecord& r) { return r.newlyImported != 0; });
}

void TXManager::ClearImportMarks() {
    for (TXRecord& r : records)
        r.newlyImported = 0;
    // Rows out keep the store's marks, or their next commit would bring the old ones back.
    for (auto& [id, item] : out)
        item->record.newlyImported = 0;
}

bool TXManager::HasPendingCleared() const {
    return std::any_of(records.begin(), records.end(), [](const TXRecord& r) {
        return r.accountCleared == XClearedPending || r.envelopeCleared == XClearedPending;
    });
}

void TXManager::ConfirmPendingCleared(TDate today) {
    auto confirm = [&](TXRecord& r) {
        if (r.accountCleared == XClearedPending) r.accountCleared = today.Key();
        if (r.envelopeCleared == XClearedPending) r.envelopeCleared = today.Key();
    };
    for (TXRecord& r : records)
        confirm(r);
    for (auto& [id, item] : out)
        confirm(item->record);
}

// ---------------------------------------------------------------------------------------------
// Open views

void TXManager::AddObserver(TXList* list) {
    if (list && std::find(observers.begin(), observers.end(), list) == observers.end())
        observers.push_back(list);
}

void TXManager::RemoveObserver(TXList* list) {
    observers.erase(std::remove(observers.begin(), observers.end(), list), observers.end());
}

namespace {

// Calls every view registered now; a view that leaves during the calls is skipped.
template <class Call>
void Tell(const std::vector<TXList*>& observers, Call call) {
    if (observers.empty()) return;
    std::vector<TXList*> now = observers;
    for (TXList* list : now)
        if (std::find(observers.begin(), observers.end(), list) != observers.end()) call(list);
}

}  // namespace

void TXManager::NotifyChanged(TXItem* item) {
    Tell(observers, [&](TXList* list) { list->ItemChanged(item); });
}
void TXManager::NotifyDeleted(TXItem* item) {
    Tell(observers, [&](TXList* list) { list->ItemDeleted(item); });
}
void TXManager::NotifyAdded(TXItem* item) {
    Tell(observers, [&](TXList* list) { list->ItemAdded(item); });
}

// ---------------------------------------------------------------------------------------------
// Streaming

void TXManager::Streamer::Write(opstream& os) const {
    const TXManager* m = Manager();
    m->Settle();
    os.writeWord32(StreamLayout);
    os.writeWord32(m->capacity);
    os.writeWord32(m->GetCount());
    os.writeWord32(m->lastId);
    os.writeBytes(m->records.data(), m->records.size() * sizeof(TXRecord));
}

TStreamableBase* TXManager::Streamer::Read(ipstream& is, uint32_t) const {
    TXManager* m = Manager();
    uint32_t layout = is.readWord();
    uint32_t capacity = is.readWord32();
    uint32_t count = is.readWord32();
    uint32_t lastId = layout == 1 ? count : is.readWord32();
    if (!is.good()) return m;

    // The count is only a claim: the block grows piece by piece as the records really arrive,
    // so a damaged count fails the stream instead of reserving memory for it.
    TXRecordBlock records;
    // Slots are never removed, so the highest id handed out is the highest id a slot holds; a
    // larger claim is damage, and taking it would leave no ids for new records.
    uint32_t largestId = layout == 1 ? lastId : 0;
    // Each piece is looked at for its ids while it is still in the cache.
    auto readPiece = [&](size_t first, size_t piece) {
        is.readBytes(records.data() + first, piece * sizeof(TXRecord));
        if (!is.good()) return false;
        for (size_t i = first; i < first + piece; ++i)
            largestId = std::max(largestId, records[i].id);
        return true;
    };
    try {
        if (static_cast<uint64_t>(count) * sizeof(TXRecord) <= is.available()) {
            // The stream holds every record claimed: make the block in one piece.
            records.resize(count);
            for (size_t have = 0; have < count;) {
                size_t piece = std::min<size_t>(RecordsPerPiece, count - have);
                if (!readPiece(have, piece)) {
                    records.resize(have);
                    break;
                }
                have += piece;
            }
        }
        while (records.size() < count && is.good()) {
            size_t have = records.size();
            size_t piece = std::min<size_t>(RecordsPerPiece, count - have);
            records.resize(have + piece);
            if (!readPiece(have, piece)) {
                records.resize(have);
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        throw TXOutOfMemory();
    }

    // A count beyond the capacity is taken as the capacity; ids are never given twice, even when
    // a damaged file claims a last id below one it holds.
    m->records = std::move(records);
    m->capacity = std::max(capacity, m->GetCount());
    m->lastId = largestId;
    ++m->idsGiven;
    m->cursor = 0;
    m->keyOrder = TKeyOrder::Unknown;
    return m;
}
