// An alias: a row inside an association that shows an envelope or bundle kept elsewhere. It has
// no record of its own; its id is its target's, and all aliases of one target form a chain
// headed by the target.
#pragma once

#include <cstdint>
#include <string>

#include "envelopes/EnvelopeNode.h"

class TEnvelopeAlias : public TEnvelopeNode {
public:
    explicit TEnvelopeAlias(TTreeList* owner = nullptr, uint32_t id = 0);
    // Leaves the target's chain.
    ~TEnvelopeAlias() override;
    const char* streamableName() const override { return "TEnvelopeAlias"; }
    TEnvelopeKind Kind() const override { return TEnvelopeKind::Alias; }

    TEnvelopeNode* GetTarget() const { return target; }
    TEnvelopeAlias* GetNextAlias() const { return nextAlias; }
    TEnvelopeAlias* GetPrevAlias() const { return prevAlias; }
    // Puts this unbound alias at the head of the target's chain; the target must be an envelope
    // or a bundle. False (nothing changed) otherwise.
    bool Bind(TEnvelopeNode* newTarget);
    // Leaves the chain; the alias then shows nothing until bound again.
    void Unbind();

    const TEnvelopeNameRecord* GetData() const override;
    TMoney GetBalance() const override;
    // Redraws itself and passes the change to its association and along the chain.
    void ChangeBalance(int32_t delta) override;
    bool ContainsId(uint32_t someId) const override;
    uint32_t CountDescendants() const override { return 0; }

    bool CanEditProperties() const override { return false; }
    bool EditProperties() override { return false; }
    // The id stays: it is the target's.
    bool Delete() override;
    bool CanNewBundle() const override { return false; }
    bool CanNewEnvelope() const override { return false; }
    bool CanNewAssociation() const override { return false; }
    bool CanToggleWatchdog() const override { return false; }
    // Finds the target by id; an alias whose target is gone is reported and removed.
    void BindAliases(TEnvelopeList& list) override;

    std::string Label(const TEnvelopeLabelSwitches& switches) const override;
    bool MayHold(const TEnvelopeNode*) const override { return false; }

    void Drop(TEnhancedListItem* item) override;
    bool CanDrop(TEnhancedListItem* item) override;
    bool SortsBefore(const TTreeItem* item) const override;
    const char* GetBitmap(int index) const override;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TEnvelopeAlias"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TEnvelopeAlias* Alias() const { return static_cast<TEnvelopeAlias*>(GetObject()); }
    };

private:
    TEnvelopeAlias* nextAlias = nullptr;
    TEnvelopeAlias* prevAlias = nullptr;
    TEnvelopeNode* target = nullptr;
};
