#include "envelopes/Env.h"

#include <cstring>

#include "core/UIPort.h"
#include "core/WindowPort.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeReferences.h"

void WriteFloat(opstream& os, float value) {
    uint32_t bits = 0;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    os.writeWord32(bits);
}

void ReadFloat(ipstream& is, float& value) {
    uint32_t bits = is.readWord32();
    if (is.good()) std::memcpy(&value, &bits, sizeof value);
}

namespace {

// The record holds 32 bits; an absurd posting wraps as the stored field would, without the
// undefined behaviour of a signed overflow.
int32_t AddCents(int32_t field, int32_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(field) + static_cast<uint32_t>(delta));
}

}  // namespace

TEnv::TEnv(TTreeList* owner, uint32_t id) : TEnvelopeNode(owner, id) {
    SetMarked(true);
}

void TEnv::SetName(const std::string& name) {
    CopyToBuffer(record.name, sizeof record.name, name);
}

void TEnv::SetDescription(const std::string& text) {
    CopyToBuffer(record.description, sizeof record.description, text);
}

void TEnv::ChangeBalance(int32_t delta) {
    record.balance = AddCents(record.balance, delta);
    Redraw();
    MarkModified();
    if (auto* parent = static_cast<TEnvelopeNode*>(GetParent())) parent->ChangeBalance(delta);
    if (TEnvelopeAlias* alias = GetFirstAlias()) alias->ChangeBalance(delta);
}

void TEnv::ChangeRecBalance(int32_t delta) {
    record.cleared = AddCents(record.cleared, delta);
    Redraw();
    MarkModified();
}

bool TEnv::EditProperties() {
    TEnvelopeBuffer buffer;
    buffer.name = record.name;
    buffer.threshold = record.threshold;
    buffer.description = record.description;
    buffer.inPlan = record.inPlan != 0;
    buffer.checkName = NameCheck();
    // A port that skipped the check must not leave two nodes with one name.
    if (!EnvelopeDialogs().EditEnvelope(buffer) || !buffer.checkName(buffer.name)) return false;
    SetName(buffer.name);
    record.threshold = buffer.threshold;
    SetDescription(buffer.description);
    record.inPlan = buffer.inPlan ? 1 : 0;
    Redraw();
    RedrawAliases();
    MarkModified();
    return true;
}

bool TEnv::Delete() {
    if (!CanDelete()) return false;
    TEnvelopeList* list = GetList();
    if (!list) return false;
    if (list->CountEnvelopes() < 2) {
        UI().Message("Quillet", "Can't delete last envelope.", TMsgButtons::Ok, TMsgIcon::Stop);
        return false;
    }
    TDeleteEnvelopeBuffer buffer;
    buffer.text =
        "When deleting an envelope, you must supply another envelope for transactions and other "
        "elements to use instead.";
    for (uint32_t n = 1, count = list->CountEnvelopes(); n <= count; ++n) {
        uint32_t id = list->GetEnvelopeIdByIndex(n);
        if (id == GetId()) continue;
        buffer.ids.push_back(id);
        buffer.names.push_back(list->GetEnvelopeName(id));
    }
    if (!EnvelopeDialogs().DeleteEnvelope(buffer)) return false;
    if (buffer.selected < 0 || static_cast<size_t>(buffer.selected) >= buffer.ids.size())
        return false;
    uint32_t replacement = buffer.ids[static_cast<size_t>(buffer.selected)];
    TEnvelopeReferences& refs = list->References();
    refs.MoveEnvelopeTransactions(GetId(), replacement);
    refs.ReplaceDefaultEnvelope(GetId(), replacement);
    refs.ReplaceEnvelopeInTemplates(GetId(), replacement);
    DetachAndDestroy(true);
    return true;
}

void TEnv::OpenLedger() {
    Windows().OpenEnvelopeLedger(GetId(), TLedgerMode::Normal);
}

std::string TEnv::Label(const TEnvelopeLabelSwitches& switches) const {
    if (!switches.envelopeBalances) return record.name;
    return std::string(record.name) + ": " + LabelMoney(GetBalance());
}

void TEnv::DoubleClick(int column) {
    TEnvelopeNode::DoubleClick(column);
    if (column > GetDepth()) OpenLedger();
}

void TEnv::Drop(TEnhancedListItem* item) {
    if (CanDrop(item)) InsertBefore(static_cast<TEnv*>(item));
}

bool TEnv::CanDrop(TEnhancedListItem* item) {
    auto* env = dynamic_cast<TEnv*>(item);
    return env && CanInsertBefore(env);
}

bool TEnv::SortsBefore(const TTreeItem* item) const {
    auto* node = dynamic_cast<const TEnvelopeNode*>(item);
    if (!node) return true;
    return node->Kind() != TEnvelopeKind::Envelope && node->Kind() != TEnvelopeKind::Root;
}

const char* TEnv::GetBitmap(int index) const {
    if (index == 4) return EnvelopeArt::EnvelopeMask;
    if (index >= 5 && index <= 7) return EnvelopeArt::Envelope;
    return TEnvelopeNode::GetBitmap(index);
}

void TEnv::Idle() {
    ShowWatchWarning(WatchCheck(watch, IsWatched(), GetBalance().Cents(), record.threshold,
                                "Envelope", record.name));
}

TStreamableBase* TEnv::Streamer::Read(ipstream& is, uint32_t version) const {
    TEnv* env = Env();
    TEnvelopeRecord& r = env->record;
    is.readBaseObject(TEnvelopeNode::Streamer(env));
    is.readString(r.name, sizeof r.name);
    is.readString(r.description, sizeof r.description);
    ReadFloat(is, r.threshold);
    if (int32_t v = is.readInt(); is.good()) r.balance = v;
    // The cleared balance came with the second layout, the plan flag with the third.
    if (version > 1)
        if (int32_t v = is.readInt(); is.good()) r.cleared = v;
    if (version > 2)
        if (uint32_t v = is.readWord(); is.good()) r.inPlan = v;
    env->watch = TWatchState();
    return env;
}

void TEnv::Streamer::Write(opstream& os) const {
    const TEnv* env = Env();
    const TEnvelopeRecord& r = env->record;
    os.writeBaseObject(TEnvelopeNode::Streamer(const_cast<TEnv*>(env)));
    os.writeString(r.name);
    os.writeString(r.description);
    WriteFloat(os, r.threshold);
    os.writeInt(r.balance);
    os.writeInt(r.cleared);
    os.writeWord32(r.inPlan);
}
