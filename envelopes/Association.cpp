#include "envelopes/Association.h"

#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeList.h"

TAssociation::TAssociation(TTreeList* owner, uint32_t id) : TEnvelopeNode(owner, id) {}

void TAssociation::SetName(const std::string& name) {
    CopyToBuffer(record.name, sizeof record.name, name);
}

void TAssociation::SetDescription(const std::string& text) {
    CopyToBuffer(record.description, sizeof record.description, text);
}

void TAssociation::ChangeBalance(int32_t) {
    Redraw();
}

bool TAssociation::EditProperties() {
    TAssociationBuffer buffer;
    buffer.name = record.name;
    buffer.description = record.description;
    buffer.checkName = NameCheck();
    if (!EnvelopeDialogs().EditAssociation(buffer) || !buffer.checkName(buffer.name)) return false;
    SetName(buffer.name);
    SetDescription(buffer.description);
    Redraw();
    MarkModified();
    return true;
}

bool TAssociation::Delete() {
    if (!CanDelete()) return false;
    while (TTreeItem* child = GetFirstChild()) {
        auto* node = static_cast<TEnvelopeNode*>(child);
        if (!node->Delete()) {
            // Only aliases live here, and they always go; anything else is taken out by force.
            node->Detach();
            delete node;
        }
    }
    DetachAndDestroy(true);
    return true;
}

std::string TAssociation::Label(const TEnvelopeLabelSwitches& switches) const {
    if (!switches.associationBalances) return record.name;
    return std::string(record.name) + ": " + LabelMoney(GetBalance());
}

bool TAssociation::MayHold(const TEnvelopeNode* child) const {
    return child->Kind() == TEnvelopeKind::Alias;
}

void TAssociation::Drop(TEnhancedListItem* item) {
    if (!CanDrop(item)) return;
    auto* node = static_cast<TEnvelopeNode*>(item);
    if (node->IsAlias()) {
        AddChild(node);
        return;
    }
    auto* alias = new TEnvelopeAlias(GetOwner(), node->GetId());
    alias->Bind(node);
    AddChild(alias);
    if (alias->GetParent() != this) delete alias;
}

bool TAssociation::CanDrop(TEnhancedListItem* item) {
    auto* node = dynamic_cast<TEnvelopeNode*>(item);
    if (!node || IsSelfOrAncestor(node)) return false;
    // Aliases show envelopes and bundles only.
    TEnvelopeKind k = node->Kind();
    return k == TEnvelopeKind::Alias || k == TEnvelopeKind::Envelope || k == TEnvelopeKind::Bundle;
}

const char* TAssociation::GetBitmap(int index) const {
    if (index == 4) return EnvelopeArt::AssociationMask;
    if (index >= 5 && index <= 7) return EnvelopeArt::Association;
    return TEnvelopeNode::GetBitmap(index);
}

TStreamableBase* TAssociation::Streamer::Read(ipstream& is, uint32_t) const {
    TAssociation* association = Association();
    TAssociationRecord& r = association->record;
    is.readBaseObject(TEnvelopeNode::Streamer(association));
    is.readString(r.name, sizeof r.name);
    is.readString(r.description, sizeof r.description);
    return association;
}

void TAssociation::Streamer::Write(opstream& os) const {
    TAssociation* association = Association();
    os.writeBaseObject(TEnvelopeNode::Streamer(association));
    os.writeString(association->record.name);
    os.writeString(association->record.description);
}
