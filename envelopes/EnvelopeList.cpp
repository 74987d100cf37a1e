#include "envelopes/EnvelopeList.h"

#include <algorithm>

#include "core/QuilletData.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeReferences.h"
#include "envelopes/EnvelopeRoot.h"

namespace {

std::string SkipBlanks(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

const TEnvelopeNode* AsNode(const TTreeItem* item) {
    return static_cast<const TEnvelopeNode*>(item);
}

}  // namespace

TEnvelopeList* TEnvelopeList::readingList = nullptr;

uint32_t TEnvelopeStringList::Find(const std::string& text) const {
    std::string wanted = SkipBlanks(text);
    const std::vector<std::string>& all = Items();
    for (size_t i = 0; i < all.size(); ++i)
        if (SameTextNoCase(SkipBlanks(all[i]), wanted)) return static_cast<uint32_t>(i + 1);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The list

TEnvelopeList::TEnvelopeList() : ids(std::make_unique<TIdList>(IdGrowth)) {
    SetRoot(new TEnvelopeRoot(this, 0));
}

TEnvelopeList::~TEnvelopeList() {
    if (readingList == this) readingList = nullptr;
    // The tree goes with the base class; what a damaged file left aside goes first, while the
    // nodes it may name (as an unbound alias names its id) are all still there.
    discarded.clear();
}

TEnvelopeRoot* TEnvelopeList::GetEnvelopeRoot() const {
    return dynamic_cast<TEnvelopeRoot*>(GetRoot());
}

uint32_t TEnvelopeList::NewId() {
    // A damaged file may hold nodes whose ids its table never issued; skip those, so that an id
    // never names two nodes. Each try consumes an id, so this ends after at most one try per node.
    uint32_t id = ids->Issue();
    for (size_t tries = Index().byId.size(); tries > 0 && Index().byId.count(id); --tries)
        id = ids->Issue();
    return id;
}

const TEnvelopeList::TIndex& TEnvelopeList::Index() const {
    if (indexValid) return index;
    index.byId.clear();
    index.envelopes.clear();
    uint32_t position = 0;
    for (const TTreeItem* n = GetRoot(); n; n = n->Next(true)) {
        const TEnvelopeNode* node = AsNode(n);
        TIndexEntry& entry = index.byId[node->GetId()];
        ++position;
        if (entry.position == 0) entry.position = position;
        if (!entry.node && !node->IsAlias()) entry.node = const_cast<TEnvelopeNode*>(node);
        if (node->Kind() == TEnvelopeKind::Envelope) index.envelopes.push_back(node->GetId());
    }
    indexValid = true;
    return index;
}

// ---------------------------------------------------------------------------------------------
// Lookups

TEnvelopeNode* TEnvelopeList::FindById(uint32_t id) const {
    const auto& byId = Index().byId;
    auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second.node;
}

TEnvelopeNode* TEnvelopeList::FindByName(const std::string& name) const {
    for (const TTreeItem* n = GetRoot(); n; n = n->Next(true)) {
        const TEnvelopeNode* node = AsNode(n);
        if (!node->IsAlias() && SameTextNoCase(node->GetName(), name))
            return const_cast<TEnvelopeNode*>(node);
    }
    return nullptr;
}

TEnv* TEnvelopeList::GetEnvelope(uint32_t id) const {
    TEnvelopeNode* node = FindById(id);
    return node && node->Kind() == TEnvelopeKind::Envelope ? static_cast<TEnv*>(node) : nullptr;
}

void TEnvelopeList::GetEnvelopeName(char* buffer, size_t capacity, uint32_t id) const {
    CopyToBuffer(buffer, capacity, GetEnvelopeName(id));
}

std::string TEnvelopeList::GetEnvelopeName(uint32_t id) const {
    const TEnv* env = GetEnvelope(id);
    return env ? env->GetName() : std::string("None");
}

TMoney TEnvelopeList::GetBalance(uint32_t id) const {
    const TEnv* env = GetEnvelope(id);
    return env ? env->GetBalance() : TMoney();
}

TMoney TEnvelopeList::GetRecBalance(uint32_t id) const {
    const TEnv* env = GetEnvelope(id);
    return env ? env->GetRecBalance() : TMoney();
}

TMoney TEnvelopeList::GetTotal() const {
    auto* root = static_cast<const TEnvelopeNode*>(GetRoot());
    return root ? root->GetBalance() : TMoney();
}

void TEnvelopeList::ChangeBalance(uint32_t id, int32_t delta) {
    if (TEnv* env = GetEnvelope(id)) env->ChangeBalance(delta);
}

void TEnvelopeList::ChangeRecBalance(uint32_t id, int32_t delta) {
    if (TEnv* env = GetEnvelope(id)) env->ChangeRecBalance(delta);
}

uint32_t TEnvelopeList::CountEnvelopes() const {
    return static_cast<uint32_t>(Index().envelopes.size());
}

uint32_t TEnvelopeList::GetEnvelopeIdByIndex(uint32_t n) const {
    const std::vector<uint32_t>& envelopes = Index().envelopes;
    return n >= 1 && n <= envelopes.size() ? envelopes[n - 1] : 0;
}

uint32_t TEnvelopeList::IndexOf(uint32_t id) const {
    const auto& byId = Index().byId;
    auto it = byId.find(id);
    return it == byId.end() ? 0 : it->second.position;
}

void TEnvelopeList::GetIndentedName(char* buffer, size_t capacity, uint32_t id) const {
    CopyToBuffer(buffer, capacity, GetIndentedName(id));
}

std::string TEnvelopeList::GetIndentedName(uint32_t id) const {
    const TEnvelopeNode* node = FindById(id);
    return node ? node->GetIndentedName() : std::string();
}

uint32_t TEnvelopeList::CountInSubtree(uint32_t id) const {
    const TEnvelopeNode* node = FindById(id);
    return node ? node->CountDescendants() + 1 : 0;
}

TEnvelopeNode* TEnvelopeList::GetNodeAt(uint32_t id, uint32_t n) const {
    TEnvelopeNode* top = FindById(id);
    if (!top || n == 0) return nullptr;
    TTreeItem* node = top;
    for (uint32_t i = 1; node && i < n; ++i)
        node = node->NextWithin(top, true);
    return static_cast<TEnvelopeNode*>(node);
}

bool TEnvelopeList::Contains(uint32_t id, uint32_t containerId) const {
    const TEnvelopeNode* container = FindById(containerId);
    if (!container) return false;
    // A ledger asks this for every record, so walk up from the node first: that answers every
    // node below the container at once. Only the other answers (a path through an alias, or not
    // contained at all) need the container's whole subtree.
    const TEnvelopeNode* node = FindById(id);
    if (node && !node->IsAlias())
        for (const TTreeItem* n = node; n; n = n->GetParent())
            if (n == container) return true;
    return container->ContainsId(id);
}

bool TEnvelopeList::IsInPlan(uint32_t id) const {
    const TEnv* env = GetEnvelope(id);
    return env && env->IsInPlan();
}

void TEnvelopeList::SetInPlan(uint32_t id, bool inPlan) {
    if (TEnv* env = GetEnvelope(id)) env->SetInPlan(inPlan);
}

// ---------------------------------------------------------------------------------------------
// Choosing and zeroing

uint32_t TEnvelopeList::ChooseEnvelope(uint32_t initialId) const {
    TChooseEnvelopeBuffer buffer;
    buffer.caption = "Choose Envelope";
    std::unique_ptr<TTarnStringList> names = GetStringList(ListEnvelopes);
    buffer.names = names->Items();
    uint32_t initial = initialId ? names->Find(GetName(initialId)) : 0;
    if (initial != 0)
        buffer.selected = static_cast<int>(initial) - 1;
    else
        buffer.selected = buffer.names.empty() ? -1 : 0;
    if (!EnvelopeDialogs().ChooseEnvelope(buffer)) return 0;
    if (buffer.selected < 0 || static_cast<size_t>(buffer.selected) >= buffer.names.size())
        return initialId;
    return FindId(buffer.names[static_cast<size_t>(buffer.selected)]);
}

void TEnvelopeList::ZeroEnvelopes(const std::vector<TEnvelopeNode*>& selected) {
    uint32_t target = ChooseEnvelope(0);
    if (target == 0) return;
    // Balances are taken before any transfer is made, since each transfer posts to the tree.
    struct TMove {
        uint32_t id;
        int32_t balance;
    };
    std::vector<TMove> moves;
    for (TEnvelopeNode* node : selected) {
        if (!node || node->Kind() != TEnvelopeKind::Envelope) continue;
        auto* env = static_cast<TEnv*>(node);
        uint32_t id = env->GetId();
        int32_t balance = env->GetData()->balance;
        if (id != target && balance != 0) moves.push_back({id, balance});
    }
    TDate today = TDate::Today();
    for (const TMove& move : moves)
        References().AddEnvelopeTransfer(move.id, target, -move.balance, today);
}

// ---------------------------------------------------------------------------------------------
// The id-list side

std::unique_ptr<TTarnStringList> TEnvelopeList::GetStringList(uint32_t flags) const {
    auto list = std::make_unique<TEnvelopeStringList>();
    for (const TTreeItem* n = GetRoot(); n; n = n->Next(true)) {
        const TEnvelopeNode* node = AsNode(n);
        TEnvelopeKind k = node->Kind();
        bool take = ((flags & ListEnvelopes) && k == TEnvelopeKind::Envelope) ||
                    ((flags & ListBundles) && k == TEnvelopeKind::Bundle) ||
                    ((flags & ListAssociations) && k == TEnvelopeKind::Association) ||
                    ((flags & ListAliases) && k == TEnvelopeKind::Alias) ||
                    ((flags & ListAllButAliases) && k != TEnvelopeKind::Alias);
        if (take) list->Add((flags & ListIndented) ? node->GetIndentedName() : node->GetName());
    }
    return list;
}

uint32_t TEnvelopeList::FindId(const std::string& name) const {
    for (const TTreeItem* n = GetRoot(); n; n = n->Next(true)) {
        const TEnvelopeNode* node = AsNode(n);
        if (SameTextNoCase(node->GetName(), name) || SameTextNoCase(node->GetIndentedName(), name))
            return node->GetId();
    }
    return 0;
}

void TEnvelopeList::GetName(char* buffer, size_t capacity, uint32_t id) const {
    const TEnvelopeNode* node = FindById(id);
    CopyToBuffer(buffer, capacity, node ? node->GetName() : std::string("Invalid Item Reference"));
}

// ---------------------------------------------------------------------------------------------
// Labels, references and changes

void TEnvelopeList::SetLabelSwitches(const TEnvelopeLabelSwitches& switches) {
    labels = switches;
    ItemsChanged(nullptr);
}

TEnvelopeReferences& TEnvelopeList::References() const {
    return references ? *references : DocumentEnvelopeReferences();
}

void TEnvelopeList::StructureChanged() {
    InvalidateIndex();
    if (TQuilletData* doc = TQuilletData::Current()) doc->SetModified();
}

void TEnvelopeList::ItemRemoved(TEnhancedListItem* item) {
    InvalidateIndex();
    TTreeList::ItemRemoved(item);
}

void TEnvelopeList::BindAliases() {
    if (auto* root = static_cast<TEnvelopeNode*>(GetRoot())) root->BindAliases(*this);
}

void TEnvelopeList::DiscardNode(TEnvelopeNode* node) {
    if (!node) return;
    if (readingList == this) {
        node->SetOwner(nullptr);
        discarded.emplace_back(node);
    } else {
        delete node;
    }
}

void TEnvelopeList::DiscardRead(ipstream& is, std::unique_ptr<TStreamableBase> object) {
    if (!object) return;
    if (readingList) {
        if (auto* node = dynamic_cast<TEnvelopeNode*>(object.get())) node->SetOwner(nullptr);
        readingList->discarded.push_back(std::move(object));
        return;
    }
    is.forgetObject(object.get());
}

// ---------------------------------------------------------------------------------------------
// Stream layout

TStreamableBase* TEnvelopeList::Streamer::Read(ipstream& is, uint32_t) const {
    TEnvelopeList* list = List();
    // Lists may nest in a damaged file; the outer one takes over again afterwards.
    struct TReadingGuard {
        TEnvelopeList* previous;
        explicit TReadingGuard(TEnvelopeList* list) : previous(readingList) { readingList = list; }
        ~TReadingGuard() { readingList = previous; }
    } guard(list);

    // A back reference is someone else's object, never a root to own.
    auto root = is.ReadObject<TEnvelopeRoot>(
        [&](std::unique_ptr<TStreamableBase> other) { DiscardRead(is, std::move(other)); });
    if (root) list->SetRoot(root.release());
    auto table = std::make_unique<TIdList>(IdGrowth);
    table->Read(is);
    list->ids = std::move(table);
    list->InvalidateIndex();
    if (auto* root = static_cast<TEnvelopeNode*>(list->GetRoot()); root && root->GetId() == 0)
        root->SetId(list->NewId());
    list->BindAliases();
    return list;
}

void TEnvelopeList::Streamer::Write(opstream& os) const {
    const TEnvelopeList* list = List();
    os.writeObjectPointer(static_cast<const TEnvelopeNode*>(list->GetRoot()));
    list->ids->Write(os);
}
