// The transaction manager: every transaction of a budget, in one sorted record store.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ObjectStream.h"
#include "transactions/XGenericList.h"
#include "transactions/XRecord.h"

class TQuilletData;
class TXFilter;
class TXItem;
class TXList;

// Raised when the record block cannot be obtained or grown.
class TXOutOfMemory : public TXBase {
public:
    TXOutOfMemory() : TXBase("Out of memory.") {}
};

// Case-insensitive order of two Windows-1252 texts, as the ledgers list codes: letters compare
// without regard to case or accent first (so "é" sorts with "e"), then accents break the tie.
// Answers a negative number, 0 or a positive number.
int CompareCodeText(const std::string& a, const std::string& b);

// Allocates records without clearing them first: the block is filled from the file or by copies
// straight away, so zeroing it would only cost a pass over every byte of a large budget.
template <class T>
struct TUnclearedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = TUnclearedAllocator<U>;
    };
    TUnclearedAllocator() = default;
    template <class U>
    TUnclearedAllocator(const TUnclearedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        std::allocator_traits<std::allocator<T>>::construct(*this, p, std::forward<Args>(args)...);
    }
};
using TXRecordBlock = std::vector<TXRecord, TUnclearedAllocator<TXRecord>>;

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
    // A free slot read with an id no new record may be given (none, or one another slot holds)
    // takes a fresh one, since a free slot's id is handed out again; false when none is left.
    bool ReissueFreeSlot(uint32_t position);
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
    // Frees a slot: flags 0, the slot moved to just after the last committed record. During a
    // bulk operation the freed slots gather there together when it ends, the last freed first.
    void FreeSlot(uint32_t position);
    // Clears the record's dirty mark and moves it to its place in the store order: just after the
    // last clean record that does not sort after it, or to the front.
    void Resort(uint32_t position);
    // After loading: every dirty committed record finds its place, every uncommitted one is freed.
    void Flush();

    // The store order, rules 1 to 6; false both ways means the two keep their present order.
    bool SortsBefore(const TXRecord& a, const TXRecord& b) const;
    // Replaces where envelope positions come from (tests set their own list). Null restores the
    // default, the envelope list of the document.
    void SetEnvelopePosition(EnvelopePositionFn fn);

    // --- Posting many records at once. While a TBulkPosting lasts, each record released with a
    // change takes its place in the store order at once, but the block itself is rearranged only
    // when the outermost one ends (or earlier, when something asks for positions). The order and
    // every byte come out as releasing the records one by one gives; adding or moving many
    // records then costs one pass over the store instead of one move each.
    class TBulkPosting {
    public:
        explicit TBulkPosting(TXManager& m) : manager(m) { ++manager.postingDepth; }
        ~TBulkPosting();
        TBulkPosting(const TBulkPosting&) = delete;
        TBulkPosting& operator=(const TBulkPosting&) = delete;

    private:
        TXManager& manager;
    };

    // --- The document whose accounts and envelopes the records post to and whose envelope list
    // orders them: the document that holds the store (it binds it). A store without one posts
    // nowhere; it never borrows the open document.
    void SetDocument(TQuilletData* doc) { document = doc; }
    TQuilletData* Document() const { return document; }

    // --- Row objects. At most one exists per id; each use is given back with Release.
    // The row of a record in the store, one use more; null when no slot in use holds the id.
    TXItem* GetItem(uint32_t id);
    // One use less; at none, an uncommitted record leaves the store and a changed one finds its
    // place in the order.
    void Release(TXItem* item);
    // A new record made from a template under a fresh id, stored and returned with one use.
    TXItem* NewItem(const TXRecord& templ);
    // Deletes the record with everything that hangs on it (a multiple's parts, a transfer's
    // other half), balances reversed. Takes the caller's use: the item is gone afterwards.
    void Delete(TXItem* item);
    uint32_t CountItemsOut() const { return static_cast<uint32_t>(out.size()); }

    // --- Queries, in store order. Free slots and records being deleted never match. Rows are
    // returned with one use.
    TXItem* FindFirst(const TXFilter& filter);
    TXItem* FindLast(const TXFilter& filter);
    TXItem* FindNext(const TXItem* item, const TXFilter& filter);
    TXItem* FindPrevious(const TXItem* item, const TXFilter& filter);
    // The first match at or after a position (the first overall below 2).
    TXItem* FindFromPosition(uint32_t position, const TXFilter& filter);
    uint32_t Count(const TXFilter& filter) const;
    uint32_t PositionOf(const TXItem* item) const;
    uint32_t PositionOfFirst(const TXFilter& filter) const;
    uint32_t PositionOfLast(const TXFilter& filter) const;
    TXGenericList CollectMatching(const TXFilter& filter);
    // One more than the largest leading number among the codes of the account's last 250
    // committed records (parts of multiples not counted).
    uint32_t NextNumber(uint32_t accountId) const;
    static constexpr uint32_t NextNumberReach = 250;

    // --- Serving account and envelope deletion.
    // Whether any record (free and deleted slots aside) belongs to the account: an account record
    // of that account that is not a part of a multiple.
    bool HasAccountTransactions(uint32_t accountId) const;
    // Whether any record (free and deleted slots aside) names the envelope, multiples and account
    // transfer halves excepted (they carry no envelope of their own).
    bool HasEnvelopeTransactions(uint32_t envelopeId) const;
    // Deletes every matching record, first to last.
    void DeleteMatching(const TXFilter& filter);
    // Removes every transaction of an account. The other half of each of its account transfers
    // keeps its money: it becomes a plain transaction of its own account, in that account's
    // default envelope.
    void DeleteAccountTransactions(uint32_t accountId);
    // Moves every transaction of an envelope to another, balances with them. An envelope transfer
    // whose other half already stands in the new envelope is deleted.
    void MoveEnvelopeTransactions(uint32_t fromEnvelope, uint32_t toEnvelope);

    // --- Envelope transfers.
    // Makes an envelope-only record one half of a transfer to the target envelope, with a new
    // record as the other half holding the opposite amount. A record that is not a transfer yet
    // becomes one (code "xfer", payable to "Transfer from ~t" or "Transfer to ~t") and its amount
    // starts to count on its envelope; one that already is a half must have had its old partner
    // undone (partner 0) and keeps its texts. A blank date becomes today.
    void MakeEnvelopeTransfer(TXItem& item, uint32_t targetEnvelope);
    // A new envelope transfer: amount (cents) on the first envelope, its opposite on the other.
    void AddEnvelopeTransfer(uint32_t envelope, uint32_t otherEnvelope, int32_t amount, TDate date);

    // --- Marks confirmed in bulk.
    bool HasImportMarks() const;
    void ClearImportMarks();
    bool HasPendingCleared() const;
    // Every pending cleared value (1) on either side becomes the given day's key.
    void ConfirmPendingCleared(TDate today = TDate::Today());

    // --- Open views.
    void AddObserver(TXList* list);
    void RemoveObserver(TXList* list);
    void NotifyChanged(TXItem* item);
    void NotifyDeleted(TXItem* item);
    void NotifyAdded(TXItem* item);

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
    friend class TXItem;

    // While a bulk operation runs, freed slots stay where they are and are gathered once at the
    // end, so deleting many records moves the store only once.
    class TBulk {
    public:
        explicit TBulk(TXManager& m) : manager(m) { ++manager.bulkDepth; }
        ~TBulk();
        TBulk(const TBulk&) = delete;
        TBulk& operator=(const TBulk&) = delete;

    private:
        TXManager& manager;
    };

    // Whether the clean records (in use, not dirty) stand in order of the first three sorting
    // rules, so that a record's place can be searched for instead of walked to.
    enum class TKeyOrder { Unknown, Ordered, Unordered };

    TXRecord& Slot(uint32_t position) { return records[position - 1]; }
    const TXRecord& Slot(uint32_t position) const { return records[position - 1]; }
    uint32_t EnvelopePosition(uint32_t envelopeId) const;
    uint32_t LastCommittedPosition() const;
    void Shift(uint32_t from, uint32_t to);
    bool KeyOrdered() const;
    // The last clean position other than self whose first-rules key is at most key, 0 if none.
    uint32_t LastKeyAtOrBelow(uint64_t key, uint32_t self) const;
    void GatherFreedSlots();
    bool FlushQuickly();
    // The clean records by first-rules key while a bulk posting is under way: slot indices
    // (0-based) in store order. `sorted` says the run is known to stand in the order of the
    // later rules with no zero amount, so a place in it can be searched for.
    // `pending` holds records of a sorted run waiting, in the order they were released, to be
    // merged into it all at once.
    struct TRun {
        std::vector<uint32_t> members;  // slots, in store order
        std::vector<uint32_t> pending;
        bool sorted = false;
        bool checked = false;
    };
    bool StartPlacing();
    void Place(uint32_t position);
    void Unplace(uint32_t position);
    size_t PlaceInRun(TRun& run, const TXRecord& moving) const;
    void MergePending(TRun& run);
    // Rearranges the block into the order the placed records stand in; nothing when none wait.
    void Settle() const;
    void SettleNow();
    bool Matches(uint32_t position, const TXFilter& filter) const;
    std::vector<uint32_t> MatchingIds(const TXFilter& filter) const;
    TXItem* MakeItem(const TXRecord& record, bool remember);
    void DestroyItem(TXItem* item);
    void DeleteParts(uint32_t multipleId);
    void PostEnvelope(uint32_t envelopeId, int32_t delta, bool cleared);

    TXRecordBlock records;  // the slots in use at the front of the block: size is count
    uint32_t capacity = InitialCapacity;
    mutable uint32_t cursor = 0;  // 1-based slot found last, 0 for none
    uint32_t lastId = 0;
    EnvelopePositionFn envelopePosition;
    TQuilletData* document = nullptr;
    mutable TKeyOrder keyOrder = TKeyOrder::Ordered;

    std::unordered_map<uint32_t, std::unique_ptr<TXItem>> out;  // rows in use, by id
    // Rows deleted while others still held them; they go with their last use.
    std::unordered_map<TXItem*, std::unique_ptr<TXItem>> detachedItems;
    std::vector<TXList*> observers;
    int bulkDepth = 0;
    std::vector<uint32_t> freedInBulk;  // ids, in the order their slots were freed
    int postingDepth = 0;
    std::unique_ptr<std::map<uint64_t, TRun>> placing;  // while records wait to be settled
};
