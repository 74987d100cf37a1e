#include "accounts/AccountNode.h"

#include <cstring>
#include <memory>

#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountReferences.h"
#include "accounts/AccountRoot.h"
#include "controls/EditText.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "core/TreeStream.h"
#include "core/UIPort.h"

namespace {

constexpr const char* KindIcons[] = {"account-checking", "account-savings",
                                     "account-cash",     "account-electronic-cash",
                                     "account-credit",   "account-investment"};
constexpr const char* KindMasks[] = {"account-checking-mask", "account-savings-mask",
                                     "account-cash-mask",     "account-electronic-cash-mask",
                                     "account-credit-mask",   "account-investment-mask"};

}  // namespace

TAccountLabelSwitches TAccountLabelSwitches::From(const TQuilletOptions& options) {
    TAccountLabelSwitches s;
    s.rootBalance = options.actShowRootBalance != 0;
    s.groupBalances = options.actShowGroupBalances != 0;
    s.accountBalances = options.actShowAccountBalances != 0;
    s.reconcileBalances = options.actShowReconcileBalances != 0;
    return s;
}

// A kind outside 1 to 6 (only a damaged file has one) shows as a checking account.
const char* AccountArt::KindIcon(uint32_t kind) {
    return kind >= 1 && kind <= 6 ? KindIcons[kind - 1] : KindIcons[0];
}

const char* AccountArt::KindMask(uint32_t kind) {
    return kind >= 1 && kind <= 6 ? KindMasks[kind - 1] : KindMasks[0];
}

bool CheckAccountName(const std::string& name, const TTarnStringList& taken, bool tell) {
    std::string kept = name.substr(0, AccountNameSize - 1);
    return CheckUniqueLabel(kept, taken.Find(kept) != 0, tell);
}

void SetAccountText(char* field, size_t size, const std::string& text) {
    CopyToBuffer(field, size, text);
}

// ---------------------------------------------------------------------------------------------
// TAccountNode

TAccountNode::TAccountNode(TTreeList* owner, uint32_t id) : TTreeItem(owner), id(id) {
    SetExpanded(true);
}

void TAccountNode::SetId(uint32_t newId) {
    id = newId;
    if (TAccountList* list = GetList()) list->InvalidateIndex();
}

TAccountList* TAccountNode::GetList() const {
    return dynamic_cast<TAccountList*>(GetOwner());
}

TMoney TAccountNode::GetBalance() const {
    TMoney sum;
    for (const TTreeItem* c = GetFirstChild(); c; c = c->GetNextSibling())
        if (auto* node = dynamic_cast<const TAccountNode*>(c)) sum += node->GetBalance();
    return sum;
}

void TAccountNode::ChangeBalance(int32_t delta) {
    Redraw();
    // Account nodes only ever hang under account nodes (a group or the root).
    if (auto* up = static_cast<TAccountNode*>(GetParent())) up->ChangeBalance(delta);
}

void TAccountNode::DoubleClick(int) {
    SetExpanded(!IsExpanded());
    TellItemsChanged(this);
}

bool TAccountNode::CanDrop(TEnhancedListItem* item) {
    auto* node = dynamic_cast<TAccountNode*>(item);
    return node && !dynamic_cast<TAccountRoot*>(node) && TTreeItem::CanDrop(item);
}

void TAccountNode::GetLabel(char* buffer, size_t capacity) const {
    TAccountList* list = GetList();
    CopyToBuffer(buffer, capacity,
                 Label(list ? list->GetLabelSwitches() : TAccountLabelSwitches()));
}

const char* TAccountNode::GetBitmap(int index) const {
    switch (index) {
        case 1:
            return TreeArt::GuideLine;
        case 2:
            return TreeArt::Branch;
        default:
            return TreeArt::LastBranch;
    }
}

void TAccountNode::MarkModified() {
    if (TQuilletData* doc = TQuilletData::Current()) doc->SetModified();
}

TAccountNameCheck TAccountNode::NameCheck() const {
    auto taken = std::make_shared<TTarnStringList>();
    if (TAccountList* list = GetList()) {
        taken = std::shared_ptr<TTarnStringList>(list->GetStringList(AccountListAll).release());
        taken->Remove(GetName());
    }
    return [taken](const std::string& name) { return CheckAccountName(name, *taken, true); };
}

void TAccountNode::PropertiesChanged() {
    Redraw();
    MarkModified();
}

// ---------------------------------------------------------------------------------------------
// Making and removing nodes

bool TAccountNode::NewGroup() {
    TAccountList* list = GetList();
    if (!list || !CanNewGroup()) return false;
    auto* group = new TAccountGroup(list, list->NewId());
    if (!group->EditProperties()) {
        Abandon(group);
        return false;
    }
    return Place(group);
}

bool TAccountNode::NewAccount(const std::string& name, const std::string& description,
                              uint32_t kind, const std::string& defaultEnvelopeName) {
    TAccountList* list = GetList();
    if (!list || !CanNewAccount()) return false;
    TAccountReferences& refs = list->References();
    if (refs.CountEnvelopes() == 0) {
        UI().Message("Quillet",
                     "You must have at least one Envelope in the Envelope List before you can "
                     "create a new Account.  Create at least one Envelope and then create new "
                     "Accounts.",
                     TMsgButtons::Ok, TMsgIcon::Stop);
        return false;
    }
    auto* account = new TAccount(list, list->NewId());
    if (!name.empty()) {
        TAccountRecord& data = account->GetData();
        data.kind = kind;
        SetAccountText(data.name, sizeof data.name, name);
        SetAccountText(data.description, sizeof data.description, description);
        data.defaultEnvelope = refs.FindEnvelopeId(defaultEnvelopeName);
        return Place(account);
    }
    if (!account->EditProperties()) {
        Abandon(account);
        return false;
    }
    return Place(account);
}

bool TAccountNode::Place(TAccountNode* made) {
    Drop(made);
    if (made->GetParent()) return true;
    Abandon(made);
    return false;
}

void TAccountNode::Abandon(TAccountNode* made) {
    if (TAccountList* list = made->GetList()) list->ReleaseId(made->GetId());
    delete made;
}

void TAccountNode::DetachAndDestroy() {
    if (TAccountList* list = GetList()) list->ReleaseId(id);
    Detach();
    delete this;
}

// ---------------------------------------------------------------------------------------------
// Stream layout of the node fields

TStreamableBase* TAccountNode::Streamer::Read(ipstream& is, uint32_t) const {
    TTreeReadDepth depth;
    if (!depth.Allows(is)) return node;
    node->SetMarked(false);
    if (uint32_t v = is.readWord32(); is.good()) node->SetExpanded(v != 0);
    if (uint32_t v = is.readWord(); is.good()) node->SetId(v);
    ReadChildRecords<TAccountNode>(
        is,
        [&](TAccountNode* child) {
            node->Drop(child);
            return child->GetParent() == node;
        },
        [&](std::unique_ptr<TStreamableBase> p) { TAccountList::DiscardRead(is, std::move(p)); });
    return node;
}

void TAccountNode::Streamer::Write(opstream& os) const {
    os.writeBool(node->IsExpanded());
    os.writeWord32(node->id);
    WriteChildRecords<TAccountNode>(os, *node);
}
