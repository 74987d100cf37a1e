// The envelope tree of a budget: the root with its envelopes, bundles and associations, the id
// table, the lookups by id and name that the transactions, dialogs and reports use, and the
// list's stream layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/IdList.h"
#include "core/IdObjectList.h"
#include "core/Money.h"
#include "core/ObjectStream.h"
#include "core/TarnStringList.h"
#include "core/TreeItem.h"
#include "envelopes/EnvelopeNode.h"

class TEnv;
class TEnvelopeReferences;
class TEnvelopeRoot;

// The names the envelope list hands to combo boxes. A typed name finds its indented entry: blanks
// at the start of both texts are skipped and letter case is ignored.
class TEnvelopeStringList : public TTarnStringList {
public:
    uint32_t Find(const std::string& text) const override;
};

// Flags of TEnvelopeList::GetStringList.
enum TEnvelopeListFlags : uint32_t {
    ListEnvelopes = 0x01,
    ListBundles = 0x02,
    ListAssociations = 0x04,
    ListAliases = 0x08,
    ListAllButAliases = 0x10,  // the root included
    ListIndented = 0x20,       // the indented name instead of the plain one
};

class TEnvelopeList : public TTreeList, public TIdObjectList, public TStreamableBase {
public:
    static constexpr uint32_t IdGrowth = 25;

    // A list with a root named "Envelopes" (id 0) and an empty id table.
    TEnvelopeList();
    ~TEnvelopeList() override;
    const char* streamableName() const override { return "TEnvelopeList"; }

    TEnvelopeRoot* GetEnvelopeRoot() const;
    TIdList& GetIdList() { return *ids; }
    // A fresh id from the table, skipping any a damaged file left on a node.
    uint32_t NewId();
    void ReleaseId(uint32_t id) { ids->Release(id); }

    // --- Lookups. The walk is the pre-order over all nodes; lookups by id skip aliases.
    TEnvelopeNode* FindById(uint32_t id) const;
    TEnvelopeNode* FindByName(const std::string& name) const;
    TEnv* GetEnvelope(uint32_t id) const;
    // "None" when the id is not an envelope.
    void GetEnvelopeName(char* buffer, size_t capacity, uint32_t id) const;
    std::string GetEnvelopeName(uint32_t id) const;
    // 0 when the id is not an envelope.
    TMoney GetBalance(uint32_t id) const;
    TMoney GetRecBalance(uint32_t id) const;
    // The root's balance: every envelope counted once, associations left out.
    TMoney GetTotal() const;
    // Nothing when the id is not an envelope.
    void ChangeBalance(uint32_t id, int32_t delta);
    void ChangeRecBalance(uint32_t id, int32_t delta);
    uint32_t CountEnvelopes() const;
    // The id of the n-th envelope in walk order (1-based), 0 past the end.
    uint32_t GetEnvelopeIdByIndex(uint32_t n) const;
    // The 1-based place in the walk of the first node with that id, 0 if none. Answered from an
    // index rebuilt only when the tree changed, since the transaction store sorts by it.
    uint32_t IndexOf(uint32_t id) const;
    using TTreeList::IndexOf;
    void GetIndentedName(char* buffer, size_t capacity, uint32_t id) const;
    std::string GetIndentedName(uint32_t id) const;
    // The node and everything below it; 0 when no node has the id.
    uint32_t CountInSubtree(uint32_t id) const;
    // The n-th node of the walk that starts at the node with that id (n = 1 is that node).
    TEnvelopeNode* GetNodeAt(uint32_t id, uint32_t n) const;
    // Whether the node with containerId is or holds id; false when there is no such node.
    bool Contains(uint32_t id, uint32_t containerId) const;
    bool IsInPlan(uint32_t id) const;
    void SetInPlan(uint32_t id, bool inPlan);

    // "Select Envelope" with the caption "Choose Envelope": the chosen id, 0 when cancelled.
    uint32_t ChooseEnvelope(uint32_t initialId) const;
    // The "Zero Envelope..." command: asks for a target and moves the whole balance of every
    // other selected envelope to it with one envelope transfer each, dated today.
    void ZeroEnvelopes(const std::vector<TEnvelopeNode*>& selected);

    // --- The id-list side, for combo boxes and choosers (flags: TEnvelopeListFlags).
    std::unique_ptr<TTarnStringList> GetStringList(uint32_t flags) const override;
    // The first node in the walk, aliases included, whose plain or indented name matches.
    uint32_t FindId(const std::string& name) const override;
    // "Invalid Item Reference" when no node has the id.
    void GetName(char* buffer, size_t capacity, uint32_t id) const override;
    using TIdObjectList::GetName;

    // --- Labels.
    const TEnvelopeLabelSwitches& GetLabelSwitches() const { return labels; }
    // Every row is redrawn.
    void SetLabelSwitches(const TEnvelopeLabelSwitches& switches);

    // --- Where replacements and transfers go (the open document unless set; null restores it).
    TEnvelopeReferences& References() const;
    void SetReferences(TEnvelopeReferences* refs) { references = refs; }

    // --- Changes.
    void StructureChanged() override;
    void ItemRemoved(TEnhancedListItem* item) override;
    // Binds every alias of the tree to its target; an alias whose target is gone is reported and
    // removed.
    void BindAliases();
    // Destroys a node (already detached) that cannot stay in the tree.
    void DiscardNode(TEnvelopeNode* node);
    // What reading the file had to leave out (one line each, e.g. an alias whose envelope is
    // missing); the budget written back no longer holds it.
    const std::vector<std::string>& DroppedOnReading() const { return droppedOnReading; }
    void NoteDropped(std::string what) { droppedOnReading.push_back(std::move(what)); }
    // Disposes of an object read from a stream that no tree may hold. While a list is being
    // read it is kept aside until that list goes, since the stream's table of objects still
    // names it and a later back reference must not reach freed memory; otherwise the stream
    // forgets it and it is destroyed at once.
    static void DiscardRead(ipstream& is, std::unique_ptr<TStreamableBase> object);
    void InvalidateIndex() { indexValid = false; }

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TEnvelopeList"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TEnvelopeList* List() const { return static_cast<TEnvelopeList*>(GetObject()); }
    };

private:
    std::vector<std::string> droppedOnReading;
    struct TIndexEntry {
        TEnvelopeNode* node = nullptr;  // the first node with the id that is not an alias
        uint32_t position = 0;          // the first node with the id, aliases included
    };
    struct TIndex {
        std::unordered_map<uint32_t, TIndexEntry> byId;
        std::vector<uint32_t> envelopes;  // ids of the envelopes in walk order
    };
    const TIndex& Index() const;

    std::unique_ptr<TIdList> ids;
    TEnvelopeLabelSwitches labels;
    TEnvelopeReferences* references = nullptr;
    // Objects read from a damaged file that no tree holds (see DiscardRead).
    std::vector<std::unique_ptr<TStreamableBase>> discarded;
    static TEnvelopeList* readingList;  // the list whose record is being read, if any
    mutable TIndex index;
    mutable bool indexValid = false;
};
