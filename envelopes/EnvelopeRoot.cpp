#include "envelopes/EnvelopeRoot.h"

#include "envelopes/EnvelopeDialogs.h"

TEnvelopeRoot::TEnvelopeRoot(TTreeList* owner, uint32_t id) : TEnvelopeNode(owner, id) {
    SetName("Envelopes");
}

void TEnvelopeRoot::SetName(const std::string& name) {
    CopyToBuffer(record.name, sizeof record.name, name);
}

TMoney TEnvelopeRoot::GetBalance() const {
    TMoney sum;
    for (const TTreeItem* c = GetFirstChild(); c; c = c->GetNextSibling()) {
        auto* node = static_cast<const TEnvelopeNode*>(c);
        if (node->Kind() != TEnvelopeKind::Association) sum += node->GetBalance();
    }
    return sum;
}

void TEnvelopeRoot::ChangeBalance(int32_t) {
    Redraw();
}

bool TEnvelopeRoot::EditProperties() {
    TEnvelopeRootBuffer buffer;
    buffer.name = record.name;
    buffer.checkName = NameCheck();
    if (!EnvelopeDialogs().EditEnvelopeRoot(buffer) || !buffer.checkName(buffer.name)) return false;
    SetName(buffer.name);
    Redraw();
    MarkModified();
    return true;
}

std::string TEnvelopeRoot::Label(const TEnvelopeLabelSwitches& switches) const {
    if (!switches.rootBalance) return record.name;
    return std::string(record.name) + ": " + LabelMoney(GetBalance());
}

const char* TEnvelopeRoot::GetBitmap(int index) const {
    if (index == 4) return EnvelopeArt::RootMask;
    if (index >= 5 && index <= 7) return EnvelopeArt::Root;
    return TEnvelopeNode::GetBitmap(index);
}

TStreamableBase* TEnvelopeRoot::Streamer::Read(ipstream& is, uint32_t) const {
    TEnvelopeRoot* root = Root();
    is.readBaseObject(TEnvelopeNode::Streamer(root));
    is.readString(root->record.name, sizeof root->record.name);
    return root;
}

void TEnvelopeRoot::Streamer::Write(opstream& os) const {
    TEnvelopeRoot* root = Root();
    os.writeBaseObject(TEnvelopeNode::Streamer(root));
    os.writeString(root->record.name);
}
