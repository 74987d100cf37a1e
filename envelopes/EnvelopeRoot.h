// The root of the envelope tree. Its balance, the sum of everything but the associations, is the
// envelope total that must equal the account total.
#pragma once

#include <cstdint>
#include <string>

#include "envelopes/EnvelopeNode.h"

struct TEnvelopeRootRecord : TEnvelopeNameRecord {};

class TEnvelopeRoot : public TEnvelopeNode {
public:
    // Named "Envelopes".
    explicit TEnvelopeRoot(TTreeList* owner = nullptr, uint32_t id = 0);
    const char* streamableName() const override { return "TEnvelopeRoot"; }
    TEnvelopeKind Kind() const override { return TEnvelopeKind::Root; }

    const TEnvelopeRootRecord* GetData() const override { return &record; }
    void SetName(const std::string& name);

    // Associations show money counted elsewhere, so they are left out.
    TMoney GetBalance() const override;
    void ChangeBalance(int32_t delta) override;

    // "Edit Envelope Root Properties".
    bool EditProperties() override;

    std::string Label(const TEnvelopeLabelSwitches& switches) const override;
    bool SortsBefore(const TTreeItem* item) const override { return item != this; }
    const char* GetBitmap(int index) const override;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TEnvelopeRoot"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TEnvelopeRoot* Root() const { return static_cast<TEnvelopeRoot*>(GetObject()); }
    };

private:
    TEnvelopeRootRecord record;
};
