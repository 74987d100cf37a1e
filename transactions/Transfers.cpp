#include "transactions/Transfers.h"

#include <vector>

#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "core/UIPort.h"
#include "core/WindowPort.h"
#include "envelopes/EnvelopeList.h"
#include "transactions/Filters.h"
#include "transactions/TransferDialogs.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

// Amounts wrap like the 32-bit fields they are stored in.
int32_t Negated(int32_t v) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(v));
}

bool Confirm(const char* question) {
    return UI().Message("Quillet", question, TMsgButtons::YesNo, TMsgIcon::Exclamation) ==
           TMsgResult::Yes;
}

// Whether the row still stands for its record: a row deleted while the caller held it must not
// be made into anything, nor be linked to from a new record.
bool IsLive(TXItem& item) {
    TXManager& manager = item.Manager();
    TXItem* same = manager.GetItem(item.GetId());
    bool live = same == &item;
    manager.Release(same);
    return live;
}

uint32_t DefaultEnvelope(TXManager& manager, uint32_t accountId) {
    TQuilletData* doc = manager.Document();
    if (!doc || !doc->GetAccounts().GetAccount(accountId)) return 0;
    return doc->GetAccounts().GetDefaultEnvelope(accountId);
}

// The other half of a transfer gives up its amount, turns plain and is deleted; the half keeps
// its own amount and loses its link. An inert other half is left alone.
void DissolvePartner(TXItem& half) {
    TXManager& manager = half.Manager();
    TXRecord& r = half.Data();
    uint32_t partnerId = r.partner;
    r.partner = 0;
    TXItem* partner = partnerId != r.id ? manager.GetItem(partnerId) : nullptr;
    if (!partner) return;
    if (partner->Record().IsInert()) {
        manager.Release(partner);
        return;
    }
    TXRecord& p = partner->Data();
    partner->ChangeAmount(Negated(p.amount), true);
    p.partner = 0;
    if (p.Has(XAccount)) {
        p.flags = XNewAccountRecord;
        p.envelope = DefaultEnvelope(manager, p.account);
    } else {
        p.flags = XNewEnvelopeRecord;
        p.account = 0;
    }
    manager.Delete(partner);
}

// Deletes every part of a multiple; each part's amount leaves the multiple as it goes, and the
// rest (when the parts did not add up) is taken off the account too, so the multiple ends at 0.
void DissolveParts(TXItem& multiple) {
    TXManager& manager = multiple.Manager();
    std::vector<uint32_t> ids;
    {
        TMultKidsFilter kids(multiple.GetId());
        TXGenericList parts = manager.CollectMatching(kids);
        for (uint32_t i = 1; i <= parts.Count(); ++i)
            ids.push_back(parts[i]->GetId());
    }
    for (uint32_t id : ids)
        if (TXItem* part = manager.GetItem(id)) manager.Delete(part);
    if (multiple.Record().amount != 0)
        multiple.ChangeAmount(Negated(multiple.Record().amount), true);
}

// "Transfer to ~t" and the like: the memo gets it only beside a payable to of the user's own, an
// empty payable to gets it itself.
void DefaultTexts(TXRecord& side, const char* text) {
    if (side.payableTo[0] != '\0' && side.memo[0] == '\0') side.SetMemo(text);
    if (side.payableTo[0] == '\0') side.SetPayableTo(text);
    if (side.code[0] == '\0') side.SetCode("xfer");
}

TActXferSide Side(TXManager& manager, const TXRecord& r) {
    TActXferSide side;
    side.account = r.account;
    side.envelope = DefaultEnvelope(manager, r.account);
    side.date = TDate(r.date);
    side.code = r.GetCode();
    side.payableTo = r.GetPayableTo();
    side.memo = r.GetMemo();
    return side;
}

void TakeSide(TXRecord& r, const TActXferSide& side) {
    r.account = side.account;
    r.date = side.date.Key();
    r.SetCode(side.code);
    r.SetPayableTo(side.payableTo);
    r.SetMemo(side.memo);
}

const char* const WithinAMonth =
    "Your transfer is within a month of the starting transaction for the other account.  Be sure "
    "that the transfer amount is not already included in the starting balance of the other "
    "account.  If it is, this transfer will be counted twice in the other account and the "
    "balance will be wrong.";

// A transfer dated before the other account's first transaction, or less than a month after it,
// may be one its starting balance already counts.
void WarnNearStart(TXManager& manager, uint32_t accountId, TDate date) {
    TAccountFilter account(accountId);
    TXBlankFilter committed(account);
    uint32_t first = manager.PositionOfFirst(committed);
    if (first == 0) return;
    TDate limit(manager.RecordAt(first).date);
    limit.NextMonth();
    if (date < limit) UI().Message("Quillet", WithinAMonth, TMsgButtons::Ok, TMsgIcon::Exclamation);
}

}  // namespace

bool CanCreateTransfer(const TXItem& item) {
    const TXRecord& r = item.Record();
    if (r.IsInert()) return false;
    return (r.Has(XAccount) && !r.IsPart()) || r.Has(XEnvelopeOnly);
}

bool CanCreateMultiple(const TXItem& item) {
    return item.Record().Has(XAccount) && !item.Record().IsInert();
}

bool CanSelectEnvelope(const TXItem& item) {
    return CanCreateMultiple(item);
}

bool CreateTransfer(TXItem& item) {
    if (!CanCreateTransfer(item)) return false;
    if (item.Record().Has(XAccount)) return CreateAccountTransfer(item);
    return CreateEnvelopeTransfer(item);
}

// ---------------------------------------------------------------------------------------------
// Multiples

TXRecord MultiplePartTemplate(const TXItem& multiple) {
    const TXRecord& parent = multiple.Record();
    TXRecord part;
    part.Init(TDate::Today());
    part.flags = XKindPart;
    part.account = parent.account;
    part.envelope = DefaultEnvelope(multiple.Manager(), parent.account);
    part.parent = parent.id;
    part.date = parent.date;
    part.SetMemo(parent.GetPayableTo());
    part.SetCode("mult");
    return part;
}

bool CreateMultiple(TXItem& item) {
    if (!CanCreateMultiple(item) || !IsLive(item)) return false;
    TXManager& manager = item.Manager();
    TXRecord& r = item.Data();
    if (r.IsMultiple() || r.IsPart()) {
        Windows().OpenMultipleView(r.IsMultiple() ? r.id : r.parent);
        return false;
    }
    const bool transfer = r.IsAccountTransfer();
    if (transfer && !Confirm("Are you sure you want to change this transfer to a multiple?"))
        return false;

    const int32_t amount = r.amount;
    const uint32_t envelope = r.envelope;
    // The amount leaves the record (and its envelope, for a plain one) and comes back through
    // the first part, so neither the account nor the envelope ends up changed.
    item.ChangeAmount(Negated(amount), transfer);
    if (transfer) DissolvePartner(item);
    r.flags = XKindMultiple | XDirty;
    r.envelope = 0;
    r.partner = 0;
    // The part finds its multiple in the store, so the new kind must be there first.
    item.MarkChanged(false);

    if (amount != 0) {
        TXRecord templ = MultiplePartTemplate(item);
        templ.flags |= XDirty;
        if (envelope != 0) templ.envelope = envelope;
        TXItem* part = manager.NewItem(templ);
        part->SetAmount(amount);
        manager.Release(part);
    }
    item.MarkChanged(true);
    Windows().OpenMultipleView(r.id);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Account transfers

bool CreateAccountTransfer(TXItem& item) {
    const TXRecord& current = item.Record();
    if (!current.Has(XAccount) || current.IsPart() || current.IsInert() || !IsLive(item))
        return false;
    TXManager& manager = item.Manager();
    TQuilletData* doc = manager.Document();
    if (!doc) return false;
    TAccountList& accounts = doc->GetAccounts();
    if (current.IsMultiple() &&
        !Confirm("Are you sure you want to change this multiple to a transfer?"))
        return false;

    const TDate today = TDate::Today();
    TXRecord from = current;
    TXRecord to;
    const TXRecord* partner = current.IsAccountTransfer() && current.partner != current.id
                                  ? manager.FindRecord(current.partner)
                                  : nullptr;
    if (partner) {
        to = *partner;
    } else {
        to.Init(today);
        to.account = accounts.GetAccountIdByIndex(1);
    }
    if (TDate(from.date).Day() == 0) from.date = today.Key();
    DefaultTexts(from, "Transfer to ~t");
    if (TDate(to.date).Day() == 0) to.date = from.date;
    DefaultTexts(to, "Transfer from ~t");

    TActXferBuffer buffer;
    // The record's amount as the from account pays it: a payment shows positive.
    buffer.amount = from.amount / -100.0;
    buffer.from = Side(manager, from);
    buffer.to = Side(manager, to);
    buffer.accounts = &accounts;
    buffer.check = [&accounts](const TActXferBuffer& b) { return CheckActXfer(b, accounts); };
    if (!TransferDialogs().AccountTransfer(buffer)) return false;
    // A dialog that let unchecked entries through still moves no money.
    if (!CheckActXfer(buffer, accounts)) return false;
    const int32_t cents = ActXferCents(buffer);

    // Undo what the record is now; its amount ends at 0 in every case, so it may change account.
    TXRecord& r = item.Data();
    if (r.IsMultiple()) {
        DissolveParts(item);
    } else if (r.IsAccountTransfer()) {
        item.ChangeAmount(Negated(r.amount), true);
        DissolvePartner(item);
    } else {
        item.ChangeAmount(Negated(r.amount), false);
        r.envelope = 0;
    }
    r.flags = XKindAccountTransfer | XDirty;

    TXRecord templ;
    templ.Init(today);
    templ.flags = XKindAccountTransfer | XDirty;
    templ.partner = r.id;
    TakeSide(templ, buffer.to);
    TXItem* other = manager.NewItem(templ);
    TakeSide(r, buffer.from);
    r.partner = other->GetId();
    // The from account pays; the other half receives through the partner rule.
    item.ChangeAmount(Negated(cents), false);
    item.MarkChanged(true);
    // An open ledger of the other account shows the new half at once.
    manager.NotifyAdded(other);
    other->MarkChanged(true);
    manager.Release(other);

    WarnNearStart(manager, buffer.to.account, buffer.to.date);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Envelope transfers

bool CreateEnvelopeTransfer(TXItem& item, uint32_t envelopeId) {
    const TXRecord& r = item.Record();
    if (!r.Has(XEnvelopeOnly) || r.IsInert() || !IsLive(item)) return false;
    TXManager& manager = item.Manager();
    TQuilletData* doc = manager.Document();
    if (!doc) return false;
    TEnvelopeList& envelopes = doc->GetEnvelopes();
    if (r.IsEnvelopeTransfer() &&
        !Confirm("Are you sure you want to change this transfer to another envelope?"))
        return false;

    uint32_t target = envelopeId != 0 ? envelopeId : envelopes.ChooseEnvelope(r.envelope);
    // Either side in something that holds no money would leave the totals apart.
    if (target == 0 || target == r.envelope || !envelopes.GetEnvelope(target) ||
        !envelopes.GetEnvelope(r.envelope))
        return false;
    if (r.IsEnvelopeTransfer()) DissolvePartner(item);
    manager.MakeEnvelopeTransfer(item, target);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Choosing an envelope

bool SelectEnvelope(TXItem& item) {
    if (!CanSelectEnvelope(item) || !IsLive(item)) return false;
    TQuilletData* doc = item.Manager().Document();
    if (!doc) return false;
    TXRecord& r = item.Data();
    uint32_t chosen = doc->GetEnvelopes().ChooseEnvelope(r.envelope);
    if (chosen == 0 || !doc->GetEnvelopes().GetEnvelope(chosen)) return false;

    if (!r.IsAccountTransfer() && !r.IsMultiple()) {
        if (chosen == r.envelope) return false;
        item.SetEnvelope(chosen);
        return true;
    }
    // The transfer or the split is undone: the whole amount comes back as one plain
    // transaction in the chosen envelope.
    const int32_t amount = r.amount;
    if (r.IsAccountTransfer()) {
        item.ChangeAmount(Negated(amount), true);
        DissolvePartner(item);
    } else {
        DissolveParts(item);
    }
    r.flags = XNewAccountRecord;
    r.partner = 0;
    r.envelope = chosen;
    item.ChangeAmount(amount, false);
    return true;
}
