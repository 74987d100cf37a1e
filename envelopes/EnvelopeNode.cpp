#include "envelopes/EnvelopeNode.h"

#include <cmath>
#include <memory>

#include "controls/EditText.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "core/TreeStream.h"
#include "core/UIPort.h"
#include "envelopes/Association.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeList.h"

TEnvelopeLabelSwitches TEnvelopeLabelSwitches::From(const TQuilletOptions& options) {
    TEnvelopeLabelSwitches s;
    s.rootBalance = options.envShowRootBalance != 0;
    s.bundleBalances = options.envShowBundleBalances != 0;
    s.envelopeBalances = options.envShowEnvelopeBalances != 0;
    s.associationBalances = options.envShowAssociationBalances != 0;
    return s;
}

std::string LabelMoney(TMoney amount) {
    return amount.Format(MoneyThousands);
}

int32_t ThresholdCents(float threshold) {
    double t = threshold;
    t += t > 0 ? 0.005 : -0.005;
    if (!std::isfinite(t) || t >= 20000000.0 || t <= -20000000.0) return 0;
    return static_cast<int32_t>(t * 100.0);
}

// ---------------------------------------------------------------------------------------------
// TEnvelopeNode

TEnvelopeNode::TEnvelopeNode(TTreeList* owner, uint32_t id) : TTreeItem(owner), id(id) {
    SetExpanded(true);
}

TEnvelopeNode::~TEnvelopeNode() {
    // Only unbind here: while a whole tree is torn down the associations holding the aliases may
    // already be gone, and the aliases are destroyed with them. The commands that delete a
    // single node destroy its aliases first (DestroyAliases).
    while (TEnvelopeAlias* alias = firstAlias)
        alias->Unbind();
}

void TEnvelopeNode::SetId(uint32_t newId) {
    id = newId;
    if (TEnvelopeList* list = GetList()) list->InvalidateIndex();
}

TEnvelopeList* TEnvelopeNode::GetList() const {
    return dynamic_cast<TEnvelopeList*>(GetOwner());
}

std::string TEnvelopeNode::GetName() const {
    const TEnvelopeNameRecord* data = GetData();
    return data ? std::string(data->name) : std::string();
}

std::string TEnvelopeNode::GetIndentedName() const {
    return std::string(static_cast<size_t>(GetDepth() - 1) * 2, ' ') + GetName();
}

TMoney TEnvelopeNode::GetBalance() const {
    TMoney sum;
    for (const TTreeItem* c = GetFirstChild(); c; c = c->GetNextSibling())
        sum += static_cast<const TEnvelopeNode*>(c)->GetBalance();
    return sum;
}

void TEnvelopeNode::ChangeBalance(int32_t) {}

bool TEnvelopeNode::ContainsId(uint32_t someId) const {
    if (id == someId) return true;
    for (const TTreeItem* c = GetFirstChild(); c; c = c->GetNextSibling())
        if (static_cast<const TEnvelopeNode*>(c)->ContainsId(someId)) return true;
    return false;
}

uint32_t TEnvelopeNode::CountDescendants() const {
    uint32_t count = 0;
    for (const TTreeItem* n = NextWithin(this, true); n; n = n->NextWithin(this, true))
        ++count;
    return count;
}

bool TEnvelopeNode::Delete() {
    if (!CanDelete()) return false;
    DestroyAliases();
    Detach();
    delete this;
    return true;
}

void TEnvelopeNode::DetachAndDestroy(bool releaseId) {
    if (TEnvelopeList* list = GetList(); list && releaseId) list->ReleaseId(id);
    DestroyAliases();
    Detach();
    delete this;
}

void TEnvelopeNode::DestroyAliases() {
    while (TEnvelopeAlias* alias = firstAlias) {
        alias->Unbind();
        if (alias->HasParent()) {
            alias->Detach();
            delete alias;
        }
    }
}

bool TEnvelopeNode::Place(TEnvelopeNode* made) {
    Drop(made);
    if (made->GetParent()) return true;
    Abandon(made);
    return false;
}

void TEnvelopeNode::Abandon(TEnvelopeNode* made) {
    if (TEnvelopeList* list = GetList()) list->ReleaseId(made->GetId());
    delete made;
}

bool TEnvelopeNode::NewBundle() {
    TEnvelopeList* list = GetList();
    if (!CanNewBundle() || !list) return false;
    auto* bundle = new TBundle(list, list->NewId());
    if (!bundle->EditProperties()) {
        Abandon(bundle);
        return false;
    }
    return Place(bundle);
}

bool TEnvelopeNode::NewEnvelope(const std::string& name, bool watchdog) {
    TEnvelopeList* list = GetList();
    if (!CanNewEnvelope() || !list) return false;
    auto* env = new TEnv(list, list->NewId());
    if (!name.empty()) {
        env->SetName(name);
        env->SetMarked(watchdog);
        return Place(env);
    }
    if (!env->EditProperties()) {
        Abandon(env);
        return false;
    }
    return Place(env);
}

bool TEnvelopeNode::NewAssociation() {
    TEnvelopeList* list = GetList();
    if (!CanNewAssociation() || !list) return false;
    auto* association = new TAssociation(list, list->NewId());
    if (!association->EditProperties()) {
        Abandon(association);
        return false;
    }
    return Place(association);
}

void TEnvelopeNode::ToggleWatchdog() {
    SetMarked(!IsMarked());
    Redraw();
    MarkModified();
}

void TEnvelopeNode::RedrawAliases() {
    TTreeList* owner = GetOwner();
    if (!owner) return;
    for (TEnvelopeAlias* alias = firstAlias; alias; alias = alias->GetNextAlias())
        owner->ItemChanged(alias);
}

void TEnvelopeNode::BindAliases(TEnvelopeList& list) {
    // The next child is taken first: binding may remove an alias that has no target.
    for (TTreeItem* c = GetFirstChild(); c;) {
        TTreeItem* next = c->GetNextSibling();
        static_cast<TEnvelopeNode*>(c)->BindAliases(list);
        c = next;
    }
}

bool TEnvelopeNode::MayHold(const TEnvelopeNode* child) const {
    TEnvelopeKind k = child->Kind();
    return k == TEnvelopeKind::Envelope || k == TEnvelopeKind::Bundle ||
           k == TEnvelopeKind::Association;
}

void TEnvelopeNode::DoubleClick(int column) {
    TTreeItem::DoubleClick(column);
    if (column == 1 && CanToggleWatchdog()) {
        TMsgResult answer =
            UI().Message("Toggle Watchdog", "Are you sure you would like to toggle the watchdog?",
                         TMsgButtons::YesNoCancel, TMsgIcon::Exclamation);
        if (answer == TMsgResult::Yes) ToggleWatchdog();
    }
}

bool TEnvelopeNode::CanDrop(TEnhancedListItem* item) {
    auto* node = dynamic_cast<TEnvelopeNode*>(item);
    return node && node->Kind() != TEnvelopeKind::Alias && node->Kind() != TEnvelopeKind::Root &&
           !IsSelfOrAncestor(node);
}

void TEnvelopeNode::GetLabel(char* buffer, size_t capacity) const {
    TEnvelopeList* list = GetList();
    CopyToBuffer(buffer, capacity,
                 Label(list ? list->GetLabelSwitches() : TEnvelopeLabelSwitches()));
}

const char* TEnvelopeNode::GetBitmap(int index) const {
    switch (index) {
        case 1:
            return TreeArt::GuideLine;
        case 2:
            return TreeArt::Branch;
        case 8:
            return GetBalance() < TMoney(GetThreshold()) ? EnvelopeArt::AlarmMask
                                                         : EnvelopeArt::WatchMask;
        case 9:
            return GetBalance() < TMoney(GetThreshold()) ? EnvelopeArt::Alarm : EnvelopeArt::Watch;
        default:
            return TreeArt::LastBranch;
    }
}

void TEnvelopeNode::MarkModified() {
    if (TQuilletData* doc = TQuilletData::Current()) doc->SetModified();
}

std::function<bool(const std::string&)> TEnvelopeNode::NameCheck() const {
    std::shared_ptr<TTarnStringList> taken;
    if (TEnvelopeList* list = GetList()) {
        taken = list->GetStringList(ListAllButAliases);
        taken->Remove(GetName());
    } else {
        taken = std::make_shared<TEnvelopeStringList>();
    }
    return [taken](const std::string& typed) { return CheckEnvelopeName(typed, *taken, true); };
}

// ---------------------------------------------------------------------------------------------
// The node part of every record

TStreamableBase* TEnvelopeNode::Streamer::Read(ipstream& is, uint32_t) const {
    TTreeReadDepth depth;
    if (!depth.Allows(is)) return node;
    if (uint32_t v = is.readWord32(); is.good()) node->SetExpanded(v != 0);
    if (uint32_t v = is.readWord32(); is.good()) node->SetMarked(v != 0);
    if (uint32_t v = is.readWord(); is.good()) node->id = v;
    ReadChildRecords<TEnvelopeNode>(
        is,
        [&](TEnvelopeNode* child) {
            if (!node->MayHold(child)) return false;
            node->AddChild(child);
            return child->GetParent() == node;
        },
        [&](std::unique_ptr<TStreamableBase> p) { TEnvelopeList::DiscardRead(is, std::move(p)); });
    return node;
}

void TEnvelopeNode::Streamer::Write(opstream& os) const {
    os.writeBool(node->IsExpanded());
    os.writeBool(node->IsMarked());
    os.writeWord32(node->id);
    WriteChildRecords<TEnvelopeNode>(os, *node);
}

bool CheckEnvelopeName(const std::string& name, const TTarnStringList& taken, bool tell) {
    std::string kept = name.substr(0, TEnvelopeNameRecord::NameSize - 1);
    return CheckUniqueLabel(kept, taken.Find(kept) != 0, tell);
}
