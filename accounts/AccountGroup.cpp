#include "accounts/AccountGroup.h"

#include "core/UIPort.h"

bool TAccountGroup::EditProperties() {
    TAccountGroupBuffer buffer;
    buffer.name = data.name;
    buffer.description = data.description;
    buffer.checkName = NameCheck();
    if (!AccountDialogs().EditAccountGroup(buffer) || !buffer.checkName(buffer.name)) return false;
    SetAccountText(data.name, sizeof data.name, buffer.name);
    SetAccountText(data.description, sizeof data.description, buffer.description);
    PropertiesChanged();
    return true;
}

bool TAccountGroup::Delete() {
    if (!CanDelete()) return false;
    if (HasChildren()) {
        UI().Beep();
        UI().Message("Quillet",
                     std::string("Account Group \"") + data.name +
                         "\" is not empty.  You cannot delete groups that are not empty.  "
                         "Delete or move contents first.",
                     TMsgButtons::Ok, TMsgIcon::Stop);
        return false;
    }
    DetachAndDestroy();
    return true;
}

std::string TAccountGroup::Label(const TAccountLabelSwitches& switches) const {
    if (!switches.groupBalances) return data.name;
    return std::string(data.name) + ": " + GetBalance().Format(MoneyThousands);
}

const char* TAccountGroup::GetBitmap(int index) const {
    if (index == 4) return AccountArt::GroupMask;
    if (index >= 5 && index <= 7) return AccountArt::Group;
    return TAccountNode::GetBitmap(index);
}

TStreamableBase* TAccountGroup::Streamer::Read(ipstream& is, uint32_t) const {
    TAccountGroup* group = Group();
    TAccountNode::Streamer node(group);
    is.readBaseObject(node);
    is.readString(group->data.name, sizeof group->data.name);
    is.readString(group->data.description, sizeof group->data.description);
    return group;
}

void TAccountGroup::Streamer::Write(opstream& os) const {
    TAccountGroup* group = Group();
    os.writeBaseObject(TAccountNode::Streamer(group));
    os.writeString(group->data.name);
    os.writeString(group->data.description);
}
