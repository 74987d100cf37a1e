// The transaction manager: every transaction of a budget, in one sorted record store.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/ObjectStream.h"
#include "transactions/XRecord.h"

// Raised when the record block cannot be obtained or grown.
class TXOutOfMemory : public TXBase {
public:
    TXOutOfMemory() : TXBase("Out of memory.") {}
};

// Case-insensitive order of two Windows-1252 texts, as the ledgers list codes: letters compare
// without regard to case or accent first (so "é" sorts with "e"), then accents break the tie.
// Answers a negative number, 0 or a positive number.
int CompareCodeText(const std::string& a, const std::string& b);

class TXManager : public TStreamableBase {
public:
    static constexpr uint32_t InitialCapacity = 1000;
    static constexpr uint32_t CapacityGrowth = 500;
    static constexpr uint32_t StreamLayout = 2;

    // The 1-based position of an envelope in the envelope list, 0 when the id names none. Records
    // of different envelopes that tie on everything else list in this order.
    using EnvelopePositionFn = std::function<uint32_t(uint32_t envelopeId)>;

    TXManager();
    ~TXManager() override;
    TXManager(const TXManager&) = delete;
    TXManager& operator=(const TXManager&) = delete;
    const char* streamableName() const override { return "TXManager"; }

    // --- The record store. Positions are 1-based; a slot whose flags are 0 is free and keeps
    // the id it last had.
    uint32_t GetCount() const { return static_cast<uint32_t>(records.size()); }
    uint32_t GetCapacity() const { return capacity; }
    uint32_t GetLastId() const { return lastId; }
    // The record in a slot; throws TXBase for a position outside 1..count.
    const TXRecord& RecordAt(uint32_t position) const;
    // The position of the slot holding an id (free slots included), 0 when none. Searches
    // outwards from the last slot found, so walking a ledger is cheap.
    uint32_t FindSlot(uint32_t id) const;
    // The record with an id, or null when no slot in use holds it.
    const TXRecord* FindRecord(uint32_t id) const;

    // Stores a new record made from a template under a fresh id (reusing the first free slot
    // after the last slot in use, else appending) and answers the id. The record is stored
    // dirty; it counts as committed only when the template says so.
    uint32_t NewRecord(const TXRecord& templ);
    // Marks the working copy dirty and copies it into the slot with the same id. False when no
    // slot holds that id.
    bool Commit(TXRecord& record);
    // Moves the record at one position to another; the records between shift by one place.
    void MoveRecord(uint32_t from, uint32_t to);
    // Frees a slot: flags 0, the slot moved to just after the last committed record.
    void FreeSlot(uint32_t position);
    // Clears the record's dirty mark and moves it to its place in the store order: just after the
    // last clean record that does not sort after it, or to the front.
    void Resort(uint32_t position);
    // After loading: every dirty committed record finds its place, every uncommitted one is freed.
    void Flush();

    // The store order, rules 1 to 6; false both ways means the two keep their present order.
    bool SortsBefore(const TXRecord& a, const TXRecord& b) const;
    // Replaces where envelope positions come from (tests set their own list). Null restores the
    // default, the envelope list of the open document.
    void SetEnvelopePosition(EnvelopePositionFn fn);

    // --- Serving account and envelope deletion.
    // Whether any record (free and deleted slots aside) belongs to the account: an account record
    // of that account that is not a part of a multiple.
    bool HasAccountTransactions(uint32_t accountId) const;
    // Whether any record (free and deleted slots aside) names the envelope, multiples and account
    // transfer halves excepted (they carry no envelope of their own).
    bool HasEnvelopeTransactions(uint32_t envelopeId) const;
    // Removes every transaction of an account; the other halves of its account transfers become
    // plain transactions of their own accounts, in their default envelopes.
    // NOT YET AVAILABLE: needs the row objects and balance posting. Until then it does nothing
    // for an account without transactions and throws TXBase for one with transactions.
    void DeleteAccountTransactions(uint32_t accountId);
    // Moves every transaction of an envelope to another, carrying the balances over.
    // NOT YET AVAILABLE: needs the row objects and balance posting. Until then it does nothing
    // for an envelope without transactions and throws TXBase for one with transactions.
    void MoveEnvelopeTransactions(uint32_t fromEnvelope, uint32_t toEnvelope);

    // --- Marks confirmed in bulk.
    bool HasImportMarks() const;
    void ClearImportMarks();
    bool HasPendingCleared() const;
    // Every pending cleared value (1) on either side becomes the given day's key.
    void ConfirmPendingCleared(TDate today = TDate::Today());

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TXManager"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TXManager* Manager() const { return static_cast<TXManager*>(GetObject()); }
    };

private:
    TXRecord& Slot(uint32_t position) { return records[position - 1]; }
    const TXRecord& Slot(uint32_t position) const { return records[position - 1]; }
    uint32_t EnvelopePosition(uint32_t envelopeId) const;
    uint32_t LastCommittedPosition() const;

    std::vector<TXRecord> records;  // the slots in use at the front of the block: size is count
    uint32_t capacity = InitialCapacity;
    mutable uint32_t cursor = 0;  // 1-based slot found last, 0 for none
    uint32_t lastId = 0;
    EnvelopePositionFn envelopePosition;
};
