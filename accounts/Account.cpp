#include "accounts/Account.h"

#include <string>

#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountReferences.h"
#include "core/UIPort.h"
#include "core/WindowPort.h"

namespace {

// Stored balances are 32-bit; wrapping keeps an absurd total defined instead of overflowing.
int32_t AddCents(int32_t value, int32_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
}

std::string Money(TMoney amount) {
    return amount.Format(MoneyThousands);
}

}  // namespace

void TAccount::ChangeBalance(int32_t delta) {
    data.balance = AddCents(data.balance, delta);
    Redraw();
    // Account nodes only ever hang under account nodes (a group or the root).
    if (auto* up = static_cast<TAccountNode*>(GetParent())) up->ChangeBalance(delta);
    MarkModified();
}

void TAccount::ChangeRecBalance(int32_t delta) {
    data.clearedBalance = AddCents(data.clearedBalance, delta);
    Redraw();
    MarkModified();
}

bool TAccount::EditProperties() {
    TAccountBuffer buffer;
    buffer.name = data.name;
    buffer.kind = data.kind;
    buffer.defaultEnvelope = data.defaultEnvelope;
    buffer.description = data.description;
    TAccountList* list = GetList();
    buffer.envelopes = list ? list->References().EnvelopeNames() : nullptr;
    buffer.checkName = NameCheck();
    if (!AccountDialogs().EditAccount(buffer) || !buffer.checkName(buffer.name)) return false;
    SetAccountText(data.name, sizeof data.name, buffer.name);
    SetAccountText(data.description, sizeof data.description, buffer.description);
    data.kind = buffer.kind;
    data.defaultEnvelope = buffer.defaultEnvelope;
    PropertiesChanged();
    Windows().RefreshTransactionViews();
    return true;
}

bool TAccount::Delete() {
    if (!CanDelete()) return false;
    TAccountList* list = GetList();
    if (list && list->References().HasAccountTransactions(GetId())) {
        TMsgResult answer = UI().Message(
            "Quillet",
            "Deleting an account can significantly change your data.  All past allocations to "
            "and payments from Envelopes through this account will be lost.  This will change "
            "your Envelope balances.  Instead of deleting this account, consider creating an "
            "account group for old, unused accounts.  Then drop this account into that group.  "
            "This would keep all of your previous activity intact.  Are you sure you want to "
            "delete this account?",
            TMsgButtons::YesNo, TMsgIcon::Stop);
        if (answer != TMsgResult::Yes) return false;
        list->References().DeleteAccountTransactions(GetId());
    }
    DetachAndDestroy();
    return true;
}

void TAccount::OpenLedger() {
    Windows().OpenAccountLedger(GetId(), TLedgerMode::Normal);
}

void TAccount::OpenReconcile() {
    Windows().OpenAccountLedger(GetId(), TLedgerMode::Reconcile);
}

void TAccount::ReplaceDefaultEnvelope(uint32_t oldId, uint32_t newId) {
    if (data.defaultEnvelope == oldId) data.defaultEnvelope = newId;
}

std::string TAccount::Label(const TAccountLabelSwitches& switches) const {
    std::string name = data.name;
    if (switches.accountBalances && switches.reconcileBalances)
        return name + ": " + Money(data.balance) + " [" + Money(data.clearedBalance) + "]";
    if (switches.accountBalances) return name + ": " + Money(data.balance);
    if (switches.reconcileBalances) return name + ": [" + Money(data.clearedBalance) + "]";
    return name;
}

void TAccount::DoubleClick(int column) {
    TTreeItem::DoubleClick(column);
    if (column > GetDepth()) OpenLedger();
}

void TAccount::Drop(TEnhancedListItem* item) {
    if (CanDrop(item)) InsertBefore(static_cast<TAccount*>(item));
}

bool TAccount::CanDrop(TEnhancedListItem* item) {
    auto* account = dynamic_cast<TAccount*>(item);
    return account && CanInsertBefore(account);
}

bool TAccount::SortsBefore(const TTreeItem* item) const {
    return dynamic_cast<const TAccountGroup*>(item) != nullptr;
}

const char* TAccount::GetBitmap(int index) const {
    if (index == 4) return AccountArt::KindMask(data.kind);
    if (index >= 5 && index <= 7) return AccountArt::KindIcon(data.kind);
    return TAccountNode::GetBitmap(index);
}

// ---------------------------------------------------------------------------------------------
// Stream layout

TStreamableBase* TAccount::Streamer::Read(ipstream& is, uint32_t) const {
    TAccount* account = Account();
    TAccountNode::Streamer node(account);
    is.readBaseObject(node);
    TAccountRecord& data = account->data;
    uint32_t layout = is.readWord();
    if (!is.good()) return account;
    if (layout < 0x1000) {
        // The oldest layout had no number: the word is the length of the name, whose bytes
        // follow. A name too long for the field is cut to it.
        std::string name(layout, '\0');
        is.readBytes(name.data(), name.size());
        if (!is.good()) return account;
        SetAccountText(data.name, sizeof data.name, name);
    } else if (layout == Layout || layout == DatedLayout) {
        is.readString(data.name, sizeof data.name);
    } else {
        is.setstate(pstream::Failed);  // a layout no version of the program wrote
        return account;
    }
    is.readString(data.description, sizeof data.description);
    if (uint32_t v = is.readWord(); is.good()) data.kind = v;
    if (uint32_t v = is.readWord(); is.good()) data.defaultEnvelope = v;
    if (int32_t v = is.readInt(); is.good()) data.balance = v;
    if (int32_t v = is.readInt(); is.good()) data.clearedBalance = v;
    if (layout == DatedLayout) {
        // The date this layout carried is no longer kept.
        is.readByte();
        is.readByte();
        is.readWord();
    }
    return account;
}

void TAccount::Streamer::Write(opstream& os) const {
    const TAccount* account = Account();
    os.writeBaseObject(TAccountNode::Streamer(const_cast<TAccount*>(account)));
    const TAccountRecord& data = account->data;
    os.writeWord32(Layout);
    os.writeString(data.name);
    os.writeString(data.description);
    os.writeWord32(data.kind);
    os.writeWord32(data.defaultEnvelope);
    os.writeInt(data.balance);
    os.writeInt(data.clearedBalance);
}
