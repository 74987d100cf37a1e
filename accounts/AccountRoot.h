// The root of the account tree: never deleted, never moved. Its balance is the total of all
// accounts.
#pragma once

#include "accounts/AccountNode.h"

struct TAccountRootRecord {
    char name[AccountNameSize] = "Accounts";
};

class TAccountRoot : public TAccountNode {
public:
    explicit TAccountRoot(TTreeList* owner = nullptr, uint32_t id = 0) : TAccountNode(owner, id) {}
    const char* streamableName() const override { return "TAccountRoot"; }

    TAccountRootRecord& GetData() { return data; }
    const TAccountRootRecord& GetData() const { return data; }
    const char* GetName() const override { return data.name; }

    bool EditProperties() override;
    bool CanDelete() const override { return false; }

    std::string Label(const TAccountLabelSwitches& switches) const override;
    bool SortsBefore(const TTreeItem* item) const override { return item != this; }
    const char* GetBitmap(int index) const override;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TAccountRoot"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TAccountRoot* Root() const { return static_cast<TAccountRoot*>(GetObject()); }
    };

private:
    TAccountRootRecord data;
};
