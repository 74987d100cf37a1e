// A real-world account: a leaf of the account tree holding its balance and cleared balance.
#pragma once

#include <cstdint>

#include "accounts/AccountNode.h"

struct TAccountRecord {
    char name[AccountNameSize] = {};
    char description[AccountDescriptionSize] = {};
    uint32_t kind = 1;             // an id of TAccountTypeList
    uint32_t defaultEnvelope = 0;  // proposed for new transactions; 0 for none
    int32_t balance = 0;           // cents
    int32_t clearedBalance = 0;    // cents, the cleared transactions only
};

class TAccount : public TAccountNode {
public:
    explicit TAccount(TTreeList* owner = nullptr, uint32_t id = 0) : TAccountNode(owner, id) {}
    const char* streamableName() const override { return "TAccount"; }

    TAccountRecord& GetData() { return data; }
    const TAccountRecord& GetData() const { return data; }
    const char* GetName() const override { return data.name; }

    TMoney GetBalance() const override { return data.balance; }
    TMoney GetRecBalance() const { return data.clearedBalance; }
    // Adds delta to the balance, redraws this row and every ancestor's, marks the document
    // modified.
    void ChangeBalance(int32_t delta) override;
    // Adds delta to the cleared balance; only this row shows it.
    void ChangeRecBalance(int32_t delta);

    bool EditProperties() override;
    // Asks first when transactions refer to the account; they go with it.
    bool Delete() override;
    bool CanNewGroup() const override { return false; }
    void OpenLedger() override;
    bool CanOpenLedger() const override { return true; }
    void OpenReconcile() override;
    bool CanOpenReconcile() const override { return true; }
    void ReplaceDefaultEnvelope(uint32_t oldId, uint32_t newId) override;

    std::string Label(const TAccountLabelSwitches& switches) const override;
    // The tree's handling, then the ledger when the click was right of the tree's cells.
    void DoubleClick(int column) override;
    // Another account goes immediately before this one.
    void Drop(TEnhancedListItem* item) override;
    bool CanDrop(TEnhancedListItem* item) override;
    // Accounts stay in front of groups, so a newcomer account lands first.
    bool SortsBefore(const TTreeItem* item) const override;
    const char* GetBitmap(int index) const override;

    // The record's layout numbers: the current one, and the one that still carried a date.
    static constexpr uint32_t Layout = 0x1002;
    static constexpr uint32_t DatedLayout = 0x1001;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TAccount"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TAccount* Account() const { return static_cast<TAccount*>(GetObject()); }
    };

private:
    TAccountRecord data;
};
