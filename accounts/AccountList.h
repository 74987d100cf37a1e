// The account tree of a budget: the root with its accounts and groups, the id table, the
// lookups by id that the transactions post balances through, and the list's stream layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "accounts/AccountNode.h"
#include "core/IdList.h"
#include "core/IdObjectList.h"
#include "core/Money.h"
#include "core/ObjectStream.h"
#include "core/TreeItem.h"

class TAccount;
class TAccountReferences;
class TAccountRoot;

// Flags of TAccountList::GetStringList.
enum TAccountListFlags : uint32_t {
    AccountListAccounts = 0x01,
    AccountListGroups = 0x02,
    AccountListAll = 0x04,  // every node, the root included
};

class TAccountList : public TTreeList, public TIdObjectList, public TStreamableBase {
public:
    static constexpr uint32_t IdGrowth = 25;

    // A list with a root named "Accounts" (id 0) and an empty id table.
    TAccountList();
    ~TAccountList() override;
    const char* streamableName() const override { return "TAccountList"; }

    TAccountRoot* GetAccountRoot() const;
    TIdList& GetIdList() { return *ids; }
    // A fresh id from the table, skipping any a damaged file left on a node.
    uint32_t NewId();
    void ReleaseId(uint32_t id) { ids->Release(id); }

    // --- Lookups over the pre-order walk of all nodes, expanded or not.
    // The first node with the id; 0 finds the root.
    TAccountNode* FindById(uint32_t id) const;
    // The node if it is an account, else null.
    TAccount* GetAccount(uint32_t id) const;
    // These five throw TXBase when the id is not an account's.
    TMoney GetBalance(uint32_t id) const;
    TMoney GetRecBalance(uint32_t id) const;
    uint32_t GetDefaultEnvelope(uint32_t id) const;
    void ChangeBalance(uint32_t id, int32_t delta);
    void ChangeRecBalance(uint32_t id, int32_t delta);
    // "None" when the id is not an account.
    void GetAccountName(char* buffer, size_t capacity, uint32_t id) const;
    std::string GetAccountName(uint32_t id) const;
    uint32_t CountAccounts() const;
    // The id of the n-th account in walk order (1-based), 0 past the end.
    uint32_t GetAccountIdByIndex(uint32_t n) const;
    // The sum of all account balances.
    TMoney GetTotal() const;
    // Every account whose default envelope is oldId takes newId.
    void ReplaceDefaultEnvelope(uint32_t oldId, uint32_t newId);
    // "Select Account" (caption "Choose Account" when none is given) with the initial account
    // preselected: the chosen id, or 0 when cancelled.
    uint32_t ChooseAccount(uint32_t initialId, const std::string& caption = std::string()) const;

    // --- The id-list side, for combo boxes and choosers (flags: TAccountListFlags).
    std::unique_ptr<TTarnStringList> GetStringList(uint32_t flags) const override;
    // The first node in the walk, groups and the root included, whose name matches in any case.
    uint32_t FindId(const std::string& name) const override;
    // "Invalid Item Reference" when no node has the id.
    void GetName(char* buffer, size_t capacity, uint32_t id) const override;
    using TIdObjectList::GetName;

    // --- Labels.
    const TAccountLabelSwitches& GetLabelSwitches() const { return labels; }
    // Every row is redrawn.
    void SetLabelSwitches(const TAccountLabelSwitches& switches);

    // --- Where transactions and envelopes are found (the open document unless set; null
    // restores it).
    TAccountReferences& References() const;
    void SetReferences(TAccountReferences* refs) { references = refs; }

    // Marks the document modified.
    void StructureChanged() override;
    // A node's id changed: lookups by id are worked out again.
    void InvalidateIndex() { indexValid = false; }

    // Disposes of an object read from a stream that no tree may hold. While a list is being
    // read it is kept aside until that list goes, since the stream's table of objects still
    // names it (and its children) and a later back reference must not reach freed memory;
    // otherwise the stream forgets it and it is destroyed at once.
    static void DiscardRead(ipstream& is, std::unique_ptr<TStreamableBase> object);

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TAccountList"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TAccountList* List() const { return static_cast<TAccountList*>(GetObject()); }
    };

private:
    // The account with the id, or an exception naming the operation.
    TAccount* RequireAccount(uint32_t id, const char* operation) const;

    std::unique_ptr<TIdList> ids;
    TAccountLabelSwitches labels;
    TAccountReferences* references = nullptr;
    // Objects read from a damaged file that no tree holds (see DiscardRead).
    std::vector<std::unique_ptr<TStreamableBase>> discarded;
    static TAccountList* readingList;  // the list whose record is being read, if any
    // The nodes by id, rebuilt only when the tree changed: every posted amount looks its account
    // up, and walking the tree each time made bulk posting slow. The account a node is (null for
    // a group or the root) is worked out here once too.
    struct TIndexed {
        TAccountNode* node;
        TAccount* account;
    };
    mutable std::unordered_map<uint32_t, TIndexed> byId;
    const TIndexed* Indexed(uint32_t id) const;
    mutable bool indexValid = false;
    mutable uint64_t indexShape = 0;  // the tree's shape the index was built for
};
