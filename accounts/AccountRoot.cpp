#include "accounts/AccountRoot.h"

bool TAccountRoot::EditProperties() {
    TAccountRootBuffer buffer;
    buffer.name = data.name;
    buffer.checkName = NameCheck();
    if (!AccountDialogs().EditAccountRoot(buffer) || !buffer.checkName(buffer.name)) return false;
    SetAccountText(data.name, sizeof data.name, buffer.name);
    PropertiesChanged();
    return true;
}

std::string TAccountRoot::Label(const TAccountLabelSwitches& switches) const {
    if (!switches.rootBalance) return data.name;
    return std::string(data.name) + ": " + GetBalance().Format(MoneyThousands);
}

const char* TAccountRoot::GetBitmap(int index) const {
    if (index == 4) return AccountArt::RootMask;
    if (index >= 5 && index <= 7) return AccountArt::Root;
    return TAccountNode::GetBitmap(index);
}

TStreamableBase* TAccountRoot::Streamer::Read(ipstream& is, uint32_t) const {
    TAccountRoot* root = Root();
    TAccountNode::Streamer node(root);
    is.readBaseObject(node);
    is.readString(root->data.name, sizeof root->data.name);
    return root;
}

void TAccountRoot::Streamer::Write(opstream& os) const {
    TAccountRoot* root = Root();
    os.writeBaseObject(TAccountNode::Streamer(root));
    os.writeString(root->data.name);
}
