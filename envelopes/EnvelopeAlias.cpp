#include "envelopes/EnvelopeAlias.h"

#include "core/UIPort.h"
#include "envelopes/EnvelopeList.h"

TEnvelopeAlias::TEnvelopeAlias(TTreeList* owner, uint32_t id) : TEnvelopeNode(owner, id) {}

TEnvelopeAlias::~TEnvelopeAlias() {
    Unbind();
}

bool TEnvelopeAlias::Bind(TEnvelopeNode* newTarget) {
    if (target || !newTarget) return false;
    // An alias of an association, the root or another alias could make balances count
    // themselves; a damaged file must not get that far.
    TEnvelopeKind k = newTarget->Kind();
    if (k != TEnvelopeKind::Envelope && k != TEnvelopeKind::Bundle) return false;
    target = newTarget;
    prevAlias = nullptr;
    nextAlias = target->firstAlias;
    if (nextAlias) nextAlias->prevAlias = this;
    target->firstAlias = this;
    return true;
}

void TEnvelopeAlias::Unbind() {
    if (prevAlias)
        prevAlias->nextAlias = nextAlias;
    else if (target && target->firstAlias == this)
        target->firstAlias = nextAlias;
    if (nextAlias) nextAlias->prevAlias = prevAlias;
    prevAlias = nextAlias = nullptr;
    target = nullptr;
}

const TEnvelopeNameRecord* TEnvelopeAlias::GetData() const {
    return target ? target->GetData() : nullptr;
}

TMoney TEnvelopeAlias::GetBalance() const {
    return target ? target->GetBalance() : TMoney();
}

void TEnvelopeAlias::ChangeBalance(int32_t delta) {
    Redraw();
    if (auto* parent = static_cast<TEnvelopeNode*>(GetParent())) parent->ChangeBalance(delta);
    if (nextAlias) nextAlias->ChangeBalance(delta);
}

bool TEnvelopeAlias::ContainsId(uint32_t someId) const {
    return target ? target->ContainsId(someId) : false;
}

bool TEnvelopeAlias::Delete() {
    if (!CanDelete()) return false;
    Unbind();
    Detach();
    delete this;
    return true;
}

void TEnvelopeAlias::BindAliases(TEnvelopeList& list) {
    if (target) return;
    if (Bind(list.FindById(GetId()))) return;
    UI().Message("Error", "Can't bind envelope items to list.", TMsgButtons::Ok, TMsgIcon::Stop);
    list.NoteDropped("alias \"" + GetName() + "\" (envelope " + std::to_string(GetId()) +
                     " is missing)");
    Detach();
    list.DiscardNode(this);
}

std::string TEnvelopeAlias::Label(const TEnvelopeLabelSwitches&) const {
    return GetName() + " [alias]";
}

void TEnvelopeAlias::Drop(TEnhancedListItem* item) {
    if (CanDrop(item)) InsertBefore(static_cast<TEnvelopeAlias*>(item));
}

bool TEnvelopeAlias::CanDrop(TEnhancedListItem* item) {
    auto* alias = dynamic_cast<TEnvelopeAlias*>(item);
    return alias && CanInsertBefore(alias);
}

bool TEnvelopeAlias::SortsBefore(const TTreeItem* item) const {
    // Unbound aliases (while a file is read) keep the order they are read in.
    return target ? target->SortsBefore(item) : false;
}

const char* TEnvelopeAlias::GetBitmap(int index) const {
    return target ? target->GetBitmap(index) : TEnvelopeNode::GetBitmap(index);
}

TStreamableBase* TEnvelopeAlias::Streamer::Read(ipstream& is, uint32_t) const {
    TEnvelopeAlias* alias = Alias();
    is.readBaseObject(TEnvelopeNode::Streamer(alias));
    return alias;
}

void TEnvelopeAlias::Streamer::Write(opstream& os) const {
    os.writeBaseObject(TEnvelopeNode::Streamer(Alias()));
}
