#include "envelopes/Bundle.h"

#include "core/UIPort.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeDialogs.h"

TBundle::TBundle(TTreeList* owner, uint32_t id) : TEnvelopeNode(owner, id) {}

void TBundle::SetName(const std::string& name) {
    CopyToBuffer(record.name, sizeof record.name, name);
}

void TBundle::SetDescription(const std::string& text) {
    CopyToBuffer(record.description, sizeof record.description, text);
}

void TBundle::ChangeBalance(int32_t delta) {
    Redraw();
    if (auto* parent = static_cast<TEnvelopeNode*>(GetParent())) parent->ChangeBalance(delta);
    if (TEnvelopeAlias* alias = GetFirstAlias()) alias->ChangeBalance(delta);
}

bool TBundle::EditProperties() {
    TBundleBuffer buffer;
    buffer.name = record.name;
    buffer.threshold = record.threshold;
    buffer.description = record.description;
    buffer.checkName = NameCheck();
    if (!EnvelopeDialogs().EditBundle(buffer) || !buffer.checkName(buffer.name)) return false;
    SetName(buffer.name);
    record.threshold = buffer.threshold;
    SetDescription(buffer.description);
    Redraw();
    RedrawAliases();
    MarkModified();
    return true;
}

bool TBundle::Delete() {
    if (!CanDelete()) return false;
    if (HasChildren()) {
        UI().Beep();
        UI().Message("Quillet",
                     "Bundle \"" + GetName() +
                         "\" is not empty.  Cannot delete bundles that are not empty.  Delete or "
                         "move contents first.",
                     TMsgButtons::Ok, TMsgIcon::Stop);
        return false;
    }
    DetachAndDestroy(true);
    return true;
}

std::string TBundle::Label(const TEnvelopeLabelSwitches& switches) const {
    if (!switches.bundleBalances) return record.name;
    return std::string(record.name) + ": " + LabelMoney(GetBalance());
}

bool TBundle::MayHold(const TEnvelopeNode* child) const {
    return child->Kind() == TEnvelopeKind::Envelope || child->Kind() == TEnvelopeKind::Bundle;
}

bool TBundle::CanDrop(TEnhancedListItem* item) {
    auto* node = dynamic_cast<TEnvelopeNode*>(item);
    return node && MayHold(node) && !IsSelfOrAncestor(node);
}

bool TBundle::SortsBefore(const TTreeItem* item) const {
    auto* node = dynamic_cast<const TEnvelopeNode*>(item);
    return node && node->Kind() == TEnvelopeKind::Association;
}

const char* TBundle::GetBitmap(int index) const {
    if (index == 4) return EnvelopeArt::BundleMask;
    if (index >= 5 && index <= 7) return EnvelopeArt::Bundle;
    return TEnvelopeNode::GetBitmap(index);
}

void TBundle::Idle() {
    ShowWatchWarning(WatchCheck(watch, IsWatched(), GetBalance().Cents(), record.threshold,
                                "Bundle", record.name));
}

TStreamableBase* TBundle::Streamer::Read(ipstream& is, uint32_t) const {
    TBundle* bundle = Bundle();
    TBundleRecord& r = bundle->record;
    is.readBaseObject(TEnvelopeNode::Streamer(bundle));
    is.readString(r.name, sizeof r.name);
    is.readString(r.description, sizeof r.description);
    ReadFloat(is, r.threshold);
    bundle->watch = TWatchState();
    return bundle;
}

void TBundle::Streamer::Write(opstream& os) const {
    TBundle* bundle = Bundle();
    os.writeBaseObject(TEnvelopeNode::Streamer(bundle));
    os.writeString(bundle->record.name);
    os.writeString(bundle->record.description);
    WriteFloat(os, bundle->record.threshold);
}
