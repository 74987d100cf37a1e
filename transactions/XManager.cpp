#include "transactions/XManager.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"

namespace {

// Windows-1252 letters folded to lower case; every other byte stands for itself.
uint8_t FoldCase(uint8_t c) {
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
uint8_t BaseLetter(uint8_t folded) {
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
    int primary = CompareBy(a, b, [](uint8_t c) { return BaseLetter(FoldCase(c)); });
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

constexpr size_t RecordsPerPiece = pstream::MaxPiece / sizeof(TXRecord);

}  // namespace

int CompareCodeText(const std::string& a, const std::string& b) {
    return CompareText(a, b);
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

TXManager::~TXManager() = default;

const TXRecord& TXManager::RecordAt(uint32_t position) const {
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
    if (cursor == 0 || cursor > n) {
        for (uint32_t lo = 1, hi = n; lo <= hi; ++lo, --hi) {
            if (Slot(lo).id == id) return found(lo);
            if (Slot(hi).id == id) return found(hi);
        }
        return 0;
    }
    for (uint32_t d = 0;; ++d) {
        bool below = d < cursor;
        bool above = cursor + d <= n;
        if (!below && !above) return 0;
        if (below && Slot(cursor - d).id == id) return found(cursor - d);
        if (d > 0 && above && Slot(cursor + d).id == id) return found(cursor + d);
    }
}

const TXRecord* TXManager::FindRecord(uint32_t id) const {
    uint32_t position = FindSlot(id);
    if (position == 0 || Slot(position).IsFree()) return nullptr;
    return &Slot(position);
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
                records.reserve(static_cast<size_t>(capacity) + CapacityGrowth);
                capacity += CapacityGrowth;
            }
            records.emplace_back();
        } catch (const std::bad_alloc&) {
            throw TXOutOfMemory();
        }
        ++lastId;
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
    Slot(position) = record;
    return true;
}

void TXManager::MoveRecord(uint32_t from, uint32_t to) {
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
    Slot(position).flags = 0;
    uint32_t last = LastCommittedPosition();
    MoveRecord(position, last > position ? last : last + 1);
}

void TXManager::Resort(uint32_t position) {
    if (position < 1 || position > GetCount()) return;
    TXRecord& moving = Slot(position);
    moving.flags &= ~XDirty;
    uint32_t after = 0;  // the last clean record that does not sort after the moving one
    for (uint32_t t = GetCount(); t >= 1; --t) {
        if (t == position) continue;
        const TXRecord& r = Slot(t);
        if (r.IsFree() || r.IsDirty()) continue;
        if (!SortsBefore(moving, r)) {
            after = t;
            break;
        }
    }
    uint32_t target = after == 0 ? 1 : (after < position ? after + 1 : after);
    MoveRecord(position, target);
}

void TXManager::Flush() {
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
    TQuilletData* doc = TQuilletData::Current();
    return doc ? doc->GetEnvelopes().IndexOf(envelopeId) : 0;
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

void TXManager::DeleteAccountTransactions(uint32_t accountId) {
    if (!HasAccountTransactions(accountId)) return;
    throw TXBase("Deleting the transactions of an account is not available yet.");
}

void TXManager::MoveEnvelopeTransactions(uint32_t fromEnvelope, uint32_t toEnvelope) {
    if (fromEnvelope == toEnvelope || !HasEnvelopeTransactions(fromEnvelope)) return;
    throw TXBase("Moving the transactions of an envelope is not available yet.");
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
}

bool TXManager::HasPendingCleared() const {
    return std::any_of(records.begin(), records.end(), [](const TXRecord& r) {
        return r.accountCleared == XClearedPending || r.envelopeCleared == XClearedPending;
    });
}

void TXManager::ConfirmPendingCleared(TDate today) {
    for (TXRecord& r : records) {
        if (r.accountCleared == XClearedPending) r.accountCleared = today.Key();
        if (r.envelopeCleared == XClearedPending) r.envelopeCleared = today.Key();
    }
}

// ---------------------------------------------------------------------------------------------
// Streaming

void TXManager::Streamer::Write(opstream& os) const {
    const TXManager* m = Manager();
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
    std::vector<TXRecord> records;
    try {
        while (records.size() < count) {
            size_t have = records.size();
            size_t piece = std::min<size_t>(RecordsPerPiece, count - have);
            records.resize(have + piece);
            is.readBytes(records.data() + have, piece * sizeof(TXRecord));
            if (!is.good()) {
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
    m->lastId = lastId;
    for (const TXRecord& r : m->records)
        m->lastId = std::max(m->lastId, r.id);
    m->cursor = 0;
    return m;
}
