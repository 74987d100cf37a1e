// An envelope: one budget category with its balance, cleared balance, threshold and the flag
// that takes it into the allocation plan.
#pragma once

#include <cstdint>
#include <string>

#include "core/Idler.h"
#include "envelopes/EnvelopeNode.h"
#include "envelopes/Watchdog.h"

struct TEnvelopeRecord : TEnvelopeNameRecord {
    char description[DescriptionSize] = {};
    float threshold = 0;  // currency units
    uint32_t inPlan = 1;
    int32_t balance = 0;  // cents
    int32_t cleared = 0;  // cents, the cleared transactions only
};

class TEnv : public TEnvelopeNode, public TIdler {
public:
    // A new envelope: empty texts, no threshold, in the plan, watchdog on.
    explicit TEnv(TTreeList* owner = nullptr, uint32_t id = 0);
    const char* streamableName() const override { return "TEnv"; }
    TEnvelopeKind Kind() const override { return TEnvelopeKind::Envelope; }

    const TEnvelopeRecord* GetData() const override { return &record; }
    void SetName(const std::string& name);
    void SetDescription(const std::string& text);
    void SetThreshold(float units) { record.threshold = units; }
    bool IsInPlan() const { return record.inPlan != 0; }
    void SetInPlan(bool on) { record.inPlan = on ? 1 : 0; }
    const TWatchState& GetWatchState() const { return watch; }

    TMoney GetBalance() const override { return TMoney(record.balance); }
    TMoney GetRecBalance() const { return TMoney(record.cleared); }
    // Posts to the envelope, every bundle above it, the root and every alias of it.
    void ChangeBalance(int32_t delta) override;
    void ChangeRecBalance(int32_t delta);
    int32_t GetThreshold() const override { return ThresholdCents(record.threshold); }
    bool ContainsId(uint32_t someId) const override { return someId == GetId(); }
    uint32_t CountDescendants() const override { return 0; }

    // "Edit Envelope Properties".
    bool EditProperties() override;
    // Asks for a replacement envelope and hands everything that refers to this one over to it.
    bool Delete() override;
    bool CanNewBundle() const override { return false; }
    bool CanNewAssociation() const override { return false; }
    void OpenLedger() override;
    bool CanOpenLedger() const override { return true; }

    std::string Label(const TEnvelopeLabelSwitches& switches) const override;
    bool MayHold(const TEnvelopeNode*) const override { return false; }

    void DoubleClick(int column) override;
    void Drop(TEnhancedListItem* item) override;
    bool CanDrop(TEnhancedListItem* item) override;
    bool SortsBefore(const TTreeItem* item) const override;
    const char* GetBitmap(int index) const override;

    // The watch check.
    void Idle() override;

    static constexpr uint32_t Version = 3;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TEnv"; }
        uint32_t ClassVersion() const override { return Version; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TEnv* Env() const { return static_cast<TEnv*>(GetObject()); }
    };

private:
    TEnvelopeRecord record;
    TWatchState watch;
};

// Floats travel as their four IEEE bytes, least significant first.
void WriteFloat(opstream& os, float value);
// Leaves value unchanged when the read fails.
void ReadFloat(ipstream& is, float& value);
