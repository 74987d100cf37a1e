// An association: a second grouping at the top of the tree, holding aliases of envelopes and
// bundles that live elsewhere. Its balance is not part of the envelope total.
#pragma once

#include <cstdint>
#include <string>

#include "envelopes/EnvelopeNode.h"

struct TAssociationRecord : TEnvelopeNameRecord {
    char description[DescriptionSize] = {};
};

class TAssociation : public TEnvelopeNode {
public:
    explicit TAssociation(TTreeList* owner = nullptr, uint32_t id = 0);
    const char* streamableName() const override { return "TAssociation"; }
    TEnvelopeKind Kind() const override { return TEnvelopeKind::Association; }

    const TAssociationRecord* GetData() const override { return &record; }
    void SetName(const std::string& name);
    void SetDescription(const std::string& text);

    // Only redraws: the money is counted where the targets live.
    void ChangeBalance(int32_t delta) override;

    // "Edit Association Properties".
    bool EditProperties() override;
    // Deletes every alias it holds, never their targets.
    bool Delete() override;
    bool CanNewBundle() const override { return false; }
    bool CanNewEnvelope() const override { return false; }
    bool CanNewAssociation() const override { return false; }
    bool CanToggleWatchdog() const override { return false; }

    std::string Label(const TEnvelopeLabelSwitches& switches) const override;
    bool MayHold(const TEnvelopeNode* child) const override;

    // An alias moves in; an envelope or bundle stays where it is and gains an alias here.
    void Drop(TEnhancedListItem* item) override;
    bool CanDrop(TEnhancedListItem* item) override;
    bool SortsBefore(const TTreeItem*) const override { return false; }
    const char* GetBitmap(int index) const override;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TAssociation"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TAssociation* Association() const { return static_cast<TAssociation*>(GetObject()); }
    };

private:
    TAssociationRecord record;
};
