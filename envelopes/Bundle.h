// A bundle: a folder of envelopes and other bundles, with a threshold of its own.
#pragma once

#include <cstdint>
#include <string>

#include "core/Idler.h"
#include "envelopes/EnvelopeNode.h"
#include "envelopes/Watchdog.h"

struct TBundleRecord : TEnvelopeNameRecord {
    char description[DescriptionSize] = {};
    float threshold = 0;  // currency units
};

class TBundle : public TEnvelopeNode, public TIdler {
public:
    // A new bundle: empty texts, no threshold, watchdog off.
    explicit TBundle(TTreeList* owner = nullptr, uint32_t id = 0);
    const char* streamableName() const override { return "TBundle"; }
    TEnvelopeKind Kind() const override { return TEnvelopeKind::Bundle; }

    const TBundleRecord* GetData() const override { return &record; }
    void SetName(const std::string& name);
    void SetDescription(const std::string& text);
    void SetThreshold(float units) { record.threshold = units; }
    const TWatchState& GetWatchState() const { return watch; }

    // Redraws itself and passes the change up the tree and along its aliases.
    void ChangeBalance(int32_t delta) override;
    int32_t GetThreshold() const override { return ThresholdCents(record.threshold); }

    // "Edit Bundle Properties".
    bool EditProperties() override;
    // Only an empty bundle can go.
    bool Delete() override;
    bool CanNewAssociation() const override { return false; }

    std::string Label(const TEnvelopeLabelSwitches& switches) const override;
    bool MayHold(const TEnvelopeNode* child) const override;

    bool CanDrop(TEnhancedListItem* item) override;
    bool SortsBefore(const TTreeItem* item) const override;
    const char* GetBitmap(int index) const override;

    void Idle() override;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TBundle"; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TBundle* Bundle() const { return static_cast<TBundle*>(GetObject()); }
    };

private:
    TBundleRecord record;
    TWatchState watch;
};
