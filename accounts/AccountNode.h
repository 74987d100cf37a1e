// The common part of every node of the account tree: its id, the node commands as predicate and
// action pairs, the balance passed up the tree, and the node fields every record starts with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "accounts/AccountDialogs.h"
#include "core/Money.h"
#include "core/ObjectStream.h"
#include "core/TarnStringList.h"
#include "core/TreeItem.h"

class TAccountList;
struct TQuilletOptions;

// The four label switches of the "Account List Configuration" dialog.
struct TAccountLabelSwitches {
    bool rootBalance = true;
    bool groupBalances = true;
    bool accountBalances = true;
    bool reconcileBalances = false;

    static TAccountLabelSwitches From(const TQuilletOptions& options);
};

// Names of the account tree's artwork; the program maps them to images.
namespace AccountArt {
inline constexpr const char* RootMask = "account-root-mask";
inline constexpr const char* Root = "account-root";
inline constexpr const char* GroupMask = "account-group-mask";
inline constexpr const char* Group = "account-group";
// The icon of each kind of account, and its mask.
const char* KindIcon(uint32_t kind);
const char* KindMask(uint32_t kind);
}  // namespace AccountArt

// Sizes of the fixed text fields of the node records, terminator included.
inline constexpr size_t AccountNameSize = 32;
inline constexpr size_t AccountDescriptionSize = 1024;

class TAccountNode : public TTreeItem, public TStreamableBase {
public:
    explicit TAccountNode(TTreeList* owner = nullptr, uint32_t id = 0);

    uint32_t GetId() const { return id; }
    void SetId(uint32_t newId);
    // The list the node belongs to, null while it belongs to none.
    TAccountList* GetList() const;

    // The name field of the node's record.
    virtual const char* GetName() const = 0;

    // The node's own balance for an account; the sum of the children's for groups and the root.
    virtual TMoney GetBalance() const;
    // Redraws the row and passes the change on to the parent.
    virtual void ChangeBalance(int32_t delta);

    virtual bool CanEditProperties() const { return true; }
    virtual bool EditProperties() = 0;
    virtual bool CanDelete() const { return HasParent(); }
    // Destroys the node on success: the caller must not touch it after true.
    virtual bool Delete() { return false; }
    virtual bool CanNewGroup() const { return true; }
    virtual bool NewGroup();
    virtual bool CanNewAccount() const { return true; }
    // With a name: made at once with these values, the default envelope looked up by name
    // (the new-account wizard). Without: through the property dialog.
    virtual bool NewAccount(const std::string& name = std::string(),
                            const std::string& description = std::string(), uint32_t kind = 1,
                            const std::string& defaultEnvelopeName = std::string());
    virtual void OpenLedger() {}
    virtual bool CanOpenLedger() const { return false; }
    virtual void OpenReconcile() {}
    virtual bool CanOpenReconcile() const { return false; }
    virtual void ReplaceDefaultEnvelope(uint32_t /*oldId*/, uint32_t /*newId*/) {}

    // The row text under the given switches.
    virtual std::string Label(const TAccountLabelSwitches& switches) const = 0;

    // Flips expanded whatever the column (groups and the root).
    void DoubleClick(int column) override;
    // Account nodes other than a root, and not this node nor one of its ancestors.
    bool CanDrop(TEnhancedListItem* item) override;
    // The label under the switches of the owning list (the defaults without one).
    void GetLabel(char* buffer, size_t capacity) const override;
    // 1 the guide line, 2 the branch, any other the last branch.
    const char* GetBitmap(int index) const override;

    // The node fields written before every node record, as a base part.
    class Streamer : public TNewStreamer {
    public:
        explicit Streamer(TAccountNode* node) : TNewStreamer(node), node(node) {}
        const char* StreamableName() const override { return "TAccountNode"; }
        uint32_t ClassVersion() const override { return 1; }
        TStreamableBase* Read(ipstream& is, uint32_t version) const override;
        void Write(opstream& os) const override;

    private:
        TAccountNode* node;
    };

protected:
    // Marks the open document modified (nothing when none is open).
    static void MarkModified();
    // Redraws this node's row.
    void Redraw() { TellChanged(); }
    // The unique-name check of the property dialogs: every name of the tree but this node's own.
    TAccountNameCheck NameCheck() const;
    // After OK in a property dialog: redraw the row and mark the document modified.
    void PropertiesChanged();
    // Adds a node made by one of the New commands with this node's Drop; false (and the node
    // destroyed, its id released) when the drop did not take it.
    bool Place(TAccountNode* made);
    // Gives up a node made by a New command: releases its id and destroys it.
    void Abandon(TAccountNode* made);
    // Releases the id, detaches and destroys this node.
    void DetachAndDestroy();

private:
    uint32_t id = 0;
};

// The unique-name check: an empty name, or one found byte for byte in taken, is refused; with
// tell, the user hears why (a beep and a message), as the dialog's OK button does.
bool CheckAccountName(const std::string& name, const TTarnStringList& taken, bool tell);

// Copies text into a record's fixed field, cut to the field.
void SetAccountText(char* field, size_t size, const std::string& text);
