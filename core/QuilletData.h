// The budget document: everything one ".qlt" file holds.
#pragma once

#include <cstdint>
#include <memory>

#include "core/Date.h"
#include "core/ObjectStream.h"
#include "core/SettingsList.h"

class TAccountList;
class TAllocationPlan;
class TEnvelopeList;
class TXManager;
class TXTemplateManager;

// Where one of the two tree windows stands. The window keeps it current.
struct TChildPlacement {
    int32_t width = 0, height = 0;
    int32_t x = 0, y = 0;
    int32_t show = 3;  // 1 minimised, 2 maximised, 3 normal
    bool open = false;

    void Write(opstream& os) const;       // with the layout number first
    void Read(ipstream& is, bool first);  // first: the oldest form, without the layout number
};

// Told whenever the document's modified state changes (the status bar shows "Modified").
class TDocumentObserver {
public:
    virtual ~TDocumentObserver() = default;
    virtual void ModifiedChanged(bool modified) = 0;
};

class TQuilletData : public TStreamableBase {
public:
    TQuilletData();  // a new, empty budget dated today
    ~TQuilletData() override;
    TQuilletData(const TQuilletData&) = delete;
    TQuilletData& operator=(const TQuilletData&) = delete;
    const char* streamableName() const override { return "TQuilletData"; }

    // The one open document; null when no file is open.
    static TQuilletData* Current();
    static void SetCurrent(TQuilletData* doc);
    static void SetObserver(TDocumentObserver* observer);

    TAccountList& GetAccounts() { return *accounts; }
    TEnvelopeList& GetEnvelopes() { return *envelopes; }
    TXManager& GetXManager() { return *xmanager; }
    TXTemplateManager& GetTemplates() { return *templates; }
    // The allocation plan's working model; never stored.
    TAllocationPlan& GetPlan() { return *plan; }
    TChildPlacement& AccountsPlacement() { return accountsPlacement; }
    TChildPlacement& EnvelopesPlacement() { return envelopesPlacement; }
    TSettingsList& Settings() { return settings; }
    TDate GetDate() const { return date; }
    void SetDate(TDate d) { date = d; }

    void SetModified();
    void ClearModified();
    bool IsModified() const { return modified; }
    bool IsFresh() const { return fresh; }

    static constexpr uint32_t Version = 5;

    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TStreamableBase* o) : TNewStreamer(o) {}
        const char* StreamableName() const override { return "TQuilletData"; }
        uint32_t ClassVersion() const override { return Version; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TQuilletData* Doc() const { return static_cast<TQuilletData*>(GetObject()); }
    };

private:
    std::unique_ptr<TXManager> xmanager;
    uint8_t spare = 0;
    std::unique_ptr<TAccountList> accounts;
    std::unique_ptr<TEnvelopeList> envelopes;
    std::unique_ptr<TXTemplateManager> templates;
    std::unique_ptr<TAllocationPlan> plan;
    TChildPlacement accountsPlacement;
    TChildPlacement envelopesPlacement;
    bool modified = false;
    bool suppressed = false;
    bool fresh = true;
    TDate date;
    TSettingsList settings;
};
