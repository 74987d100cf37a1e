// A group of accounts (and of further groups) in the account tree. Its balance is always the sum
// of what lies below it.
#pragma once

#include "accounts/AccountNode.h"

struct TAccountGroupRecord {
    char name[AccountNameSize] = {};
    char description[AccountDescriptionSize] = {};
};

class TAccountGroup : public TAccountNode {
public:
    explicit TAccountGroup(TTreeList* owner = nullptr, uint32_t id = 0) : TAccountNode(owner, id) {}
    const char* streamableName() const override { return "TAccountGroup"; }

    TAccountGroupRecord& GetData() { return data; }
    const TAccountGroupRecord& GetData() const { return data; }
    const char* GetName() const override { return data.name; }

    bool EditProperties() override;
    // Refused, with a message, while anything is left in the group.
    bool Delete() override;

    std::string Label(const TAccountLabelSwitches& switches) const override;
    // Groups keep their place behind every account and in front of older groups.
    bool SortsBefore(const TTreeItem*) const override { return false; }
    const char* GetBitmap(int index) const override;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TAccountGroup"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TAccountGroup* Group() const { return static_cast<TAccountGroup*>(GetObject()); }
    };

private:
    TAccountGroupRecord data;
};
