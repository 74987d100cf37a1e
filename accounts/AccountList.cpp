#include "accounts/AccountList.h"

#include "accounts/Account.h"
#include "accounts/AccountDialogs.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountReferences.h"
#include "accounts/AccountRoot.h"
#include "core/QuilletData.h"

TAccountList* TAccountList::readingList = nullptr;

TAccountList::TAccountList() : ids(std::make_unique<TIdList>(IdGrowth)) {
    SetRoot(new TAccountRoot(this, 0));
}

TAccountList::~TAccountList() {
    if (readingList == this) readingList = nullptr;
    discarded.clear();
}

TAccountRoot* TAccountList::GetAccountRoot() const {
    return dynamic_cast<TAccountRoot*>(GetRoot());
}

uint32_t TAccountList::NewId() {
    // A damaged file may hold nodes whose ids its table never issued; skip those, so that an id
    // never names two nodes. Each try uses up an id, so this ends after one try per node at most.
    for (;;) {
        uint32_t id = ids->Issue();
        if (!FindById(id)) return id;
    }
}

// ---------------------------------------------------------------------------------------------
// Lookups

const TAccountList::TIndexed* TAccountList::Indexed(uint32_t id) const {
    if (!indexValid || indexShape != ShapeVersion()) {
        byId.clear();
        indexShape = ShapeVersion();
        for (TTreeItem* n = GetRoot(); n; n = n->Next(true))
            if (auto* node = dynamic_cast<TAccountNode*>(n))
                byId.emplace(node->GetId(), TIndexed{node, dynamic_cast<TAccount*>(node)});
        indexValid = true;
    }
    auto found = byId.find(id);
    return found == byId.end() ? nullptr : &found->second;
}

TAccountNode* TAccountList::FindById(uint32_t id) const {
    const TIndexed* indexed = Indexed(id);
    return indexed ? indexed->node : nullptr;
}

TAccount* TAccountList::GetAccount(uint32_t id) const {
    const TIndexed* indexed = Indexed(id);
    return indexed ? indexed->account : nullptr;
}

TAccount* TAccountList::RequireAccount(uint32_t id, const char* operation) const {
    TAccount* account = GetAccount(id);
    if (!account)
        throw TXBase(std::string("Attempt to access non-account in ") + operation + "().");
    return account;
}

TMoney TAccountList::GetBalance(uint32_t id) const {
    return RequireAccount(id, "GetBalance")->GetBalance();
}

TMoney TAccountList::GetRecBalance(uint32_t id) const {
    return RequireAccount(id, "GetRecBalance")->GetRecBalance();
}

uint32_t TAccountList::GetDefaultEnvelope(uint32_t id) const {
    return RequireAccount(id, "GetDefaultEnvelope")->GetData().defaultEnvelope;
}

void TAccountList::ChangeBalance(uint32_t id, int32_t delta) {
    RequireAccount(id, "ChangeBalance")->ChangeBalance(delta);
}

void TAccountList::ChangeRecBalance(uint32_t id, int32_t delta) {
    RequireAccount(id, "ChangeRecBalance")->ChangeRecBalance(delta);
}

void TAccountList::GetAccountName(char* buffer, size_t capacity, uint32_t id) const {
    TAccount* account = GetAccount(id);
    CopyToBuffer(buffer, capacity, account ? account->GetName() : "None");
}

std::string TAccountList::GetAccountName(uint32_t id) const {
    TAccount* account = GetAccount(id);
    return account ? account->GetName() : "None";
}

uint32_t TAccountList::CountAccounts() const {
    uint32_t count = 0;
    for (TTreeItem* n = GetRoot(); n; n = n->Next(true))
        if (dynamic_cast<TAccount*>(n)) ++count;
    return count;
}

uint32_t TAccountList::GetAccountIdByIndex(uint32_t n) const {
    if (n == 0) return 0;
    uint32_t seen = 0;
    for (TTreeItem* node = GetRoot(); node; node = node->Next(true))
        if (auto* account = dynamic_cast<TAccount*>(node); account && ++seen == n)
            return account->GetId();
    return 0;
}

TMoney TAccountList::GetTotal() const {
    auto* root = dynamic_cast<TAccountNode*>(GetRoot());
    return root ? root->GetBalance() : TMoney();
}

void TAccountList::ReplaceDefaultEnvelope(uint32_t oldId, uint32_t newId) {
    for (TTreeItem* n = GetRoot(); n; n = n->Next(true))
        if (auto* node = dynamic_cast<TAccountNode*>(n)) node->ReplaceDefaultEnvelope(oldId, newId);
}

uint32_t TAccountList::ChooseAccount(uint32_t initialId, const std::string& caption) const {
    TChooseAccountBuffer buffer;
    buffer.caption = caption.empty() ? "Choose Account" : caption;
    std::unique_ptr<TTarnStringList> names = GetStringList(AccountListAccounts);
    buffer.names = names->Items();
    if (!buffer.names.empty()) {
        uint32_t position = initialId ? names->Find(GetName(initialId)) : 0;
        buffer.selected = position ? static_cast<int>(position) - 1 : 0;
    }
    if (!AccountDialogs().ChooseAccount(buffer)) return 0;
    if (buffer.selected < 0 || static_cast<size_t>(buffer.selected) >= buffer.names.size())
        return initialId;
    return FindId(buffer.names[static_cast<size_t>(buffer.selected)]);
}

// ---------------------------------------------------------------------------------------------
// The id-list side

std::unique_ptr<TTarnStringList> TAccountList::GetStringList(uint32_t flags) const {
    auto list = std::make_unique<TTarnStringList>();
    for (TTreeItem* n = GetRoot(); n; n = n->Next(true)) {
        auto* node = dynamic_cast<TAccountNode*>(n);
        if (!node) continue;
        bool take = (flags & AccountListAll) ||
                    ((flags & AccountListAccounts) && dynamic_cast<TAccount*>(node)) ||
                    ((flags & AccountListGroups) && dynamic_cast<TAccountGroup*>(node));
        if (take) list->Add(node->GetName());
    }
    return list;
}

uint32_t TAccountList::FindId(const std::string& name) const {
    for (TTreeItem* n = GetRoot(); n; n = n->Next(true))
        if (auto* node = dynamic_cast<TAccountNode*>(n);
            node && SameTextNoCase(node->GetName(), name))
            return node->GetId();
    return 0;
}

void TAccountList::GetName(char* buffer, size_t capacity, uint32_t id) const {
    TAccountNode* node = FindById(id);
    CopyToBuffer(buffer, capacity, node ? node->GetName() : "Invalid Item Reference");
}

// ---------------------------------------------------------------------------------------------
// Labels, references, changes

void TAccountList::SetLabelSwitches(const TAccountLabelSwitches& switches) {
    labels = switches;
    ItemsChanged(nullptr);
}

TAccountReferences& TAccountList::References() const {
    return references ? *references : DocumentAccountReferences();
}

void TAccountList::StructureChanged() {
    if (TQuilletData* doc = TQuilletData::Current()) doc->SetModified();
}

void TAccountList::DiscardRead(ipstream& is, std::unique_ptr<TStreamableBase> object) {
    if (!object) return;
    if (readingList) {
        if (auto* node = dynamic_cast<TTreeItem*>(object.get())) node->SetOwner(nullptr);
        readingList->discarded.push_back(std::move(object));
        return;
    }
    // Without a list being read the object and everything below it are forgotten one by one.
    if (auto* node = dynamic_cast<TTreeItem*>(object.get())) {
        for (TTreeItem* n = node; n; n = n->NextWithin(node, true))
            if (auto* s = dynamic_cast<TStreamableBase*>(n)) is.forgetObject(s);
    } else {
        is.forgetObject(object.get());
    }
}

// ---------------------------------------------------------------------------------------------
// Stream layout

TStreamableBase* TAccountList::Streamer::Read(ipstream& is, uint32_t) const {
    TAccountList* list = List();
    // Lists may nest in a damaged file; the outer one takes over again afterwards.
    struct TReadingGuard {
        explicit TReadingGuard(TAccountList* list) : previous(readingList) { readingList = list; }
        ~TReadingGuard() { readingList = previous; }
        TAccountList* previous;
    } guard(list);

    // A back reference is someone else's object, never a root to own.
    auto root = is.ReadObject<TAccountRoot>(
        [&](std::unique_ptr<TStreamableBase> other) { DiscardRead(is, std::move(other)); });
    if (root) list->SetRoot(root.release());
    auto table = std::make_unique<TIdList>(IdGrowth);
    table->Read(is);
    list->ids = std::move(table);
    return list;
}

void TAccountList::Streamer::Write(opstream& os) const {
    TAccountList* list = List();
    os.writeObjectPointer(dynamic_cast<TAccountRoot*>(list->GetRoot()));
    list->ids->Write(os);
}
