// The transaction manager: every transaction of a budget, in one sorted record store.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
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

// The records of a store in one piece of memory. It is never cleared first (it is filled from
// the file or by copies straight away, so clearing would only cost a pass over every byte of a
// large budget), and it grows in place where it can: a large block is extended by remapping its
// pages instead of copying every record into fresh memory. Raises std::bad_alloc when memory
// runs short, with the block unchanged.
class TXRecordBlock {
public:
    TXRecordBlock() = default;
    TXRecordBlock(TXRecordBlock&& other) noexcept { swap(other); }
    TXRecordBlock& operator=(TXRecordBlock&& other) noexcept {
        swap(other);
        return *this;
    }
    TXRecordBlock(const TXRecordBlock&) = delete;
    TXRecordBlock& operator=(const TXRecordBlock&) = delete;
    ~TXRecordBlock();

    size_t size() const { return count; }
    size_t capacity() const { return room; }
    bool empty() const { return count == 0; }
    TXRecord* data() { return first; }
    const TXRecord* data() const { return first; }
    TXRecord* begin() { return first; }
    TXRecord* end() { return first + count; }
    const TXRecord* begin() const { return first; }
    const TXRecord* end() const { return first + count; }
    TXRecord& operator[](size_t i) { return first[i]; }
    const TXRecord& operator[](size_t i) const { return first[i]; }
    TXRecord& back() { return first[count - 1]; }

    void reserve(size_t records);
    // Slots added at the end are not cleared.
    void resize(size_t records);
    void push_back(const TXRecord& record);
    // Copies records of another block in before `at`.
    void insert(TXRecord* at, const TXRecord* from, const TXRecord* to);
    void swap(TXRecordBlock& other) noexcept;

    // Where blocks take their memory: the C allocator unless the program installs its own (one
    // that maps large blocks itself, say). `grow` gets the block, its size and the larger size
    // wanted, and answers the block moved or extended, or null with the block kept.
    struct TMemory {
        void* (*grow)(void* block, size_t bytes, size_t newBytes);
        void (*release)(void* block, size_t bytes);
    };
    // Answers the memory installed before; blocks keep the memory they were made with.
    static TMemory SetMemory(const TMemory& memory);

private:
    TXRecord* first = nullptr;
    size_t count = 0;
    size_t room = 0;
    TMemory memory{};  // where this block's memory came from, once it has some
};

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
    // The position of the slot holding an id (free slots included), 0 when none. Looks near the
    // last slot found first, so walking a ledger is cheap, then in an index of positions by id.
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
    // Fills the index of positions by id; false when the ids are too sparse for one.
    bool IndexSlots() const;
    // The last clean position other than self whose first-rules key is at most key, 0 if none.
    uint32_t LastKeyAtOrBelow(uint64_t key, uint32_t self) const;
    void GatherFreedSlots();
    bool FlushQuickly();
    // What the sorting rules after the date look at, for a record with an amount: its sign, its
    // code by base letter and then letter for letter without case, and its envelope (by id while
    // it waits; by its place in the envelope list when compared). Compared whole, it orders
    // records sharing a first-rules key as SortsBefore does. Codes hold no NUL and no letter folds
    // to one, so the zero padding orders a shorter code first as the text comparison does.
    struct TLaterKey {
        // The code's letters, zero-padded, as big-endian words: compared a word at a time, they
        // order as the letters do.
        static constexpr size_t CodeWords = (TXRecord::CodeSize + 7) / 8;
        static constexpr size_t Sign = 0, Base = 1, Folded = Base + CodeWords,
                                Envelope = Folded + CodeWords, Words = Envelope + 1;
        // The sign, the base letters, the folded letters, the envelope (its id while the record
        // waits, then its place).
        std::array<uint64_t, Words> words{};

        uint32_t EnvelopeId() const { return static_cast<uint32_t>(words[Envelope]); }
        void SetEnvelopePosition(uint32_t position) { words[Envelope] = position; }
        bool operator<(const TLaterKey& o) const { return words < o.words; }
    };
    // Writes the record's key in place (it is read back a word at a time straight away).
    static void TakeLaterKey(const TXRecord& r, TLaterKey& key);
    // A record waiting to be merged into its run, with the next one waiting in the same run.
    struct TPending {
        static constexpr uint32_t None = UINT32_MAX;
        uint32_t slot;  // None once merged or gone from the run
        uint32_t next;
        uint32_t run;  // the run's number
        TLaterKey key;
    };
    // The clean records sharing a first-rules key while a bulk posting is under way: slot indices
    // (0-based) in store order. They start as a stretch of one list shared by all runs and are
    // copied out the first time the run changes, so runs that take nothing cost nothing.
    // `sorted` says the run is known to stand in the order of the later rules with no zero
    // amount, so a place in it can be searched for; until `checked`, nobody has looked. Records
    // waiting to be merged into the run all at once are chained in release order.
    class TRun {
    public:
        std::span<const uint32_t> Members() const {
            return owned ? std::span<const uint32_t>(own)
                         : std::span<const uint32_t>(shared, count);
        }
        std::vector<uint32_t>& Own() {
            if (!owned) own.assign(shared, shared + count);
            owned = true;
            return own;
        }
        // Takes the members from `with`, which is left with the old ones' memory.
        void Replace(std::vector<uint32_t>& with) {
            own.swap(with);
            owned = true;
        }
        const uint32_t* shared = nullptr;
        uint32_t count = 0;
        uint32_t number = 0;  // runs are numbered as they are made
        uint32_t firstWaiting = TPending::None, lastWaiting = TPending::None, waiting = 0;
        bool sorted = false;
        bool checked = false;

    private:
        std::vector<uint32_t> own;
        bool owned = false;
    };
    // The runs by key. Those present when placing began sit in one sorted array with an open
    // hash table over it, found without chasing pointers across memory; runs of keys that appear
    // later go to a map beside it.
    class TRuns {
    public:
        void Append(uint64_t key, uint32_t slot);  // while building, keys nondecreasing
        void Index();                              // once built
        TRun* Find(uint64_t key);
        TRun& Get(uint64_t key);
        template <class F>
        void InKeyOrder(F&& f);
        // Slots that took a new place; the others keep their order when the block is settled.
        std::vector<uint32_t> placed;
        // Every record waiting in any run, in one list so that waiting costs no memory per run.
        std::vector<TPending> waiting;
        uint32_t RunCount() const { return numbered; }
        // Reused by each merge.
        std::vector<TPending> merging;
        std::vector<TLaterKey> mergeKeys;
        std::vector<uint32_t> mergeOrder, merged;

    private:
        std::vector<uint64_t> keys;
        std::vector<TRun> runs;
        std::vector<uint32_t> members;  // of the runs in `runs`, one stretch each
        // Each key with 1 + its index into keys and runs; 0 for an empty place.
        struct TPlace {
            uint64_t key;
            uint32_t index;
        };
        std::vector<TPlace> table;
        std::map<uint64_t, TRun> later;
        uint32_t numbered = 0;
    };
    bool StartPlacing();
    void Place(uint32_t position);
    void Unplace(uint32_t position);
    size_t PlaceInRun(TRun& run, const TXRecord& moving) const;
    // Inserts a slot's record into its run where PlaceInRun says.
    void InsertInRun(TRun& run, uint32_t slot);
    void MergePending(TRun& run);
    void MergeAllWaiting();
    // Merges the records in `pending` (in release order) into the run. `positions`, when given,
    // remembers envelope positions by id across the runs of one settling.
    void MergeWaiting(TRun& run, std::vector<TPending>& pending, std::vector<uint32_t>* positions);
    // Rearranges the block into the order the placed records stand in; nothing when none wait.
    void Settle() const;
    void SettleNow();
    bool MoveIntoOrder(std::vector<uint32_t>& order, const std::vector<uint32_t>& placed);
    bool Matches(uint32_t position, const TXFilter& filter) const;
    std::vector<uint32_t> MatchingIds(const TXFilter& filter) const;
    TXItem* MakeItem(const TXRecord& record, bool remember);
    void DestroyItem(TXItem* item);
    void DeleteParts(uint32_t multipleId);
    void PostEnvelope(uint32_t envelopeId, int32_t delta, bool cleared);

    TXRecordBlock records;  // the slots in use at the front of the block: size is count
    uint32_t capacity = InitialCapacity;
    mutable uint32_t cursor = 0;  // 1-based slot found last, 0 for none
    // Positions by id (0 for none), as they stood when the index was made: an answer is checked
    // against the slot, and a wrong one remakes the index. `idsGiven` counts ids handed to slots;
    // while it stands where it stood then, an id the index lacks is in no slot.
    mutable std::vector<uint32_t> slotOfId;
    mutable uint64_t slotsIndexedAt = 0;
    uint64_t idsGiven = 1;
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
    std::unique_ptr<TRuns> placing;  // while records wait to be settled
};
