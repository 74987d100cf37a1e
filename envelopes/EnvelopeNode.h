// The common part of every node of the envelope tree: its id, the chain of aliases that show it,
// the watchdog flag (the tree item's mark), the node commands as predicate and action pairs, and
// the node fields every record starts with in the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Money.h"
#include "core/ObjectStream.h"
#include "core/TarnStringList.h"
#include "core/TreeItem.h"

class TEnvelopeAlias;
class TEnvelopeList;
struct TQuilletOptions;

// The four label switches of the "Envelope List Configuration" dialog.
struct TEnvelopeLabelSwitches {
    bool rootBalance = true;
    bool bundleBalances = true;
    bool envelopeBalances = true;
    bool associationBalances = false;

    static TEnvelopeLabelSwitches From(const TQuilletOptions& options);
};

// Names of the envelope tree's artwork; the program maps them to images.
namespace EnvelopeArt {
inline constexpr const char* EnvelopeMask = "envelope-mask";
inline constexpr const char* Envelope = "envelope";
inline constexpr const char* RootMask = "envelope-root-mask";
inline constexpr const char* Root = "envelope-root";
inline constexpr const char* BundleMask = "bundle-mask";
inline constexpr const char* Bundle = "bundle";
inline constexpr const char* AssociationMask = "association-mask";
inline constexpr const char* Association = "association";
inline constexpr const char* WatchMask = "watchdog-mask";
inline constexpr const char* Watch = "watchdog";
inline constexpr const char* AlarmMask = "watchdog-alarm-mask";
inline constexpr const char* Alarm = "watchdog-alarm";
}  // namespace EnvelopeArt

// Every node record begins with the name: 31 characters and the terminator.
struct TEnvelopeNameRecord {
    static constexpr size_t NameSize = 32;
    static constexpr size_t DescriptionSize = 1024;
    char name[NameSize] = {};
};

enum class TEnvelopeKind { Root, Envelope, Bundle, Association, Alias };

class TEnvelopeNode : public TTreeItem, public TStreamableBase {
public:
    explicit TEnvelopeNode(TTreeList* owner = nullptr, uint32_t id = 0);
    // Destroys the aliases that show this node (those still held by an association).
    ~TEnvelopeNode() override;

    virtual TEnvelopeKind Kind() const = 0;
    bool IsAlias() const { return Kind() == TEnvelopeKind::Alias; }

    uint32_t GetId() const { return id; }
    void SetId(uint32_t newId);
    TEnvelopeAlias* GetFirstAlias() const { return firstAlias; }
    // The list the node belongs to, null while it belongs to none.
    TEnvelopeList* GetList() const;
    bool IsWatched() const { return IsMarked(); }

    // The node's record; an alias gives its target's, or null while unbound.
    virtual const TEnvelopeNameRecord* GetData() const = 0;
    std::string GetName() const;
    // The name after (depth - 1) pairs of blanks.
    std::string GetIndentedName() const;

    virtual TMoney GetBalance() const;
    virtual void ChangeBalance(int32_t delta);
    // Cents; 0 unless the node has a threshold of its own.
    virtual int32_t GetThreshold() const { return 0; }
    virtual bool ContainsId(uint32_t someId) const;
    virtual uint32_t CountDescendants() const;

    virtual bool CanEditProperties() const { return true; }
    virtual bool EditProperties() = 0;
    virtual bool CanDelete() const { return HasParent(); }
    // Destroys the node on success: the caller must not touch it after true.
    virtual bool Delete();
    virtual bool CanNewBundle() const { return true; }
    virtual bool NewBundle();
    virtual bool CanNewEnvelope() const { return true; }
    // With a name: made at once with that name and watchdog flag; without: through the dialog.
    virtual bool NewEnvelope(const std::string& name = std::string(), bool watchdog = true);
    virtual bool CanNewAssociation() const { return true; }
    virtual bool NewAssociation();
    virtual void OpenLedger() {}
    virtual bool CanOpenLedger() const { return false; }
    virtual bool CanToggleWatchdog() const { return true; }
    virtual void ToggleWatchdog();
    virtual void RedrawAliases();
    virtual void BindAliases(TEnvelopeList& list);

    // The row text under the given switches.
    virtual std::string Label(const TEnvelopeLabelSwitches& switches) const = 0;
    // Whether a node read from a file may stay as this node's child. Stricter than CanDrop: a
    // damaged file must not leave aliases outside associations or associations below the root.
    virtual bool MayHold(const TEnvelopeNode* child) const;

    void DoubleClick(int column) override;
    bool CanDrop(TEnhancedListItem* item) override;
    // The label under the switches of the owning list (the defaults without one).
    void GetLabel(char* buffer, size_t capacity) const override;
    const char* GetBitmap(int index) const override;

    // The node fields written before every node record, as a base part.
    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TEnvelopeNode* node) : TNewStreamer(node), node(node) {}
        const char* StreamableName() const override { return "TEnvelopeNode"; }
        uint32_t ClassVersion() const override { return 1; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TEnvelopeNode* node;
    };

protected:
    // Marks the open document modified (nothing when none is open).
    static void MarkModified();
    // Redraws this node's row.
    void Redraw() { TellChanged(); }
    // The unique-name check of the property dialogs: every non-alias name of the tree but own.
    std::function<bool(const std::string&)> NameCheck() const;
    // Adds a node made by one of the New commands with this node's Drop; false (and the node
    // destroyed, its id released) when the drop did not take it.
    bool Place(TEnvelopeNode* made);
    // Gives up a node made by a New command: releases its id and destroys it.
    void Abandon(TEnvelopeNode* made);
    // Detaches, releases the id (when asked) and destroys this node.
    void DetachAndDestroy(bool releaseId);
    // Unbinds every alias of the chain; those held by an association are destroyed.
    void DestroyAliases();

private:
    uint32_t id = 0;
    TEnvelopeAlias* firstAlias = nullptr;

    friend class TEnvelopeAlias;
};

// The unique-name check of the property dialogs. An empty name or one found in taken (without
// regard to case and leading blanks) is refused; with tell, the user hears why (a beep and a
// message), as the dialog's OK button does.
bool CheckEnvelopeName(const std::string& name, const TTarnStringList& taken, bool tell);

// Formats a balance for a label: thousands separators, a minus sign for negative amounts.
std::string LabelMoney(TMoney amount);
// Threshold in cents from currency units; absurd thresholds count as none.
int32_t ThresholdCents(float threshold);
