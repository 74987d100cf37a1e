#include "views/XViewSubject.h"

#include "accounts/Account.h"
#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeList.h"
#include "transactions/EditableFilter.h"
#include "transactions/Filters.h"
#include "transactions/Transfers.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

// Ledger filters offer the view's blank rows along with the account's or envelope's records.
constexpr uint32_t AccountLedgerMode = 1 | 16;
constexpr uint32_t EnvelopeLedgerMode = 2 | 16;
constexpr uint32_t ClearedMarkChars = 2;

// A row of the multiple for as long as the caller needs it.
class TMultipleRow {
public:
    TMultipleRow(TQuilletData& doc, uint32_t id)
        : store(doc.GetXManager()), item(store.GetItem(id)) {}
    ~TMultipleRow() {
        if (item) store.Release(item);
    }
    TMultipleRow(const TMultipleRow&) = delete;
    TMultipleRow& operator=(const TMultipleRow&) = delete;
    TXItem* operator->() const { return item; }
    explicit operator bool() const { return item != nullptr; }

private:
    TXManager& store;
    TXItem* item;
};

}  // namespace

TXViewTotalText FormatViewTotal(TMoney total) {
    const std::string magnitude = total.Format(MoneyThousands | MoneyUnsigned);
    if (total.Cents() < 0) return {" (" + magnitude + ")", true};
    return {" " + magnitude, false};
}

bool TXViewSubject::Exists() const {
    switch (kind) {
        case TXViewKind::Account:
            return doc.GetAccounts().GetAccount(id) != nullptr;
        case TXViewKind::Envelope:
            return doc.GetEnvelopes().GetEnvelope(id) != nullptr;
        case TXViewKind::Multiple:
            break;
    }
    const TXRecord* multiple = doc.GetXManager().FindRecord(id);
    return multiple && multiple->IsMultiple();
}

uint32_t TXViewSubject::AccountId() const {
    if (kind == TXViewKind::Account) return id;
    if (kind == TXViewKind::Envelope) return 0;
    const TXRecord* multiple = doc.GetXManager().FindRecord(id);
    return multiple ? multiple->account : 0;
}

std::string TXViewSubject::Title() const {
    switch (kind) {
        case TXViewKind::Account:
            return "Account: " + doc.GetAccounts().GetAccountName(id);
        case TXViewKind::Envelope:
            return "Envelope: " + doc.GetEnvelopes().GetEnvelopeName(id);
        case TXViewKind::Multiple: {
            const TXRecord* multiple = doc.GetXManager().FindRecord(id);
            if (!multiple) return "Multiple: ";
            TMultipleRow row(doc, id);
            const std::string payableTo = row ? row->GetCellText(XColPayableToExpanded) : "";
            return "Multiple: " + payableTo + " from " +
                   doc.GetAccounts().GetAccountName(multiple->account);
        }
    }
    return {};
}

const char* TXViewSubject::IconName() const {
    uint32_t account = id;
    switch (kind) {
        case TXViewKind::Envelope: {
            const TEnv* envelope = doc.GetEnvelopes().GetEnvelope(id);
            return envelope ? envelope->GetBitmap(5) : nullptr;
        }
        case TXViewKind::Multiple: {
            const TXRecord* multiple = doc.GetXManager().FindRecord(id);
            if (!multiple) return nullptr;
            account = multiple->account;
            break;
        }
        case TXViewKind::Account:
            break;
    }
    const TAccount* found = doc.GetAccounts().GetAccount(account);
    return found ? found->GetBitmap(5) : nullptr;
}

std::vector<TXViewColumn> TXViewSubject::Columns(const TQuilletOptions& o) const {
    if (kind == TXViewKind::Multiple) {
        return {{XColPayableTo, o.payableToWidth * 3 / 2},
                {XColEnvelope, o.envelopeLabelWidth * 3 / 2},
                {XColPayment, o.amountWidth},
                {XColDeposit, o.amountWidth}};
    }
    std::vector<TXViewColumn> columns{{XColCode, o.codeWidth}};
    if (o.includeYear)
        columns.push_back({XColDateYear, 10});
    else
        columns.push_back({XColDate, 7});
    columns.push_back({XColPayableTo, o.payableToWidth});
    if (o.memoWidth != 0) columns.push_back({XColMemo, o.memoWidth});
    if (kind == TXViewKind::Account) {
        columns.push_back({XColEnvelope, o.envelopeLabelWidth});
        columns.push_back({XColAccountCleared, ClearedMarkChars});
        columns.push_back({XColPayment, o.amountWidth});
        columns.push_back({XColDeposit, o.amountWidth});
    } else {
        columns.push_back({XColEnvelopeCleared, ClearedMarkChars});
        columns.push_back({XColPayment, o.amountWidth});
        columns.push_back({XColDeposit, o.amountWidth});
        columns.push_back({XColAccount, o.accountLabelWidth});
    }
    return columns;
}

uint32_t TXViewSubject::ClearedColumn() const {
    switch (kind) {
        case TXViewKind::Account:
            return XColAccountCleared;
        case TXViewKind::Envelope:
            return XColEnvelopeCleared;
        case TXViewKind::Multiple:
            break;
    }
    return 0;
}

std::unique_ptr<TXFilter> TXViewSubject::MakeFilter() const {
    switch (kind) {
        case TXViewKind::Account:
            return std::make_unique<TEditableFilter>(AccountLedgerMode, id);
        case TXViewKind::Envelope:
            return std::make_unique<TEditableFilter>(EnvelopeLedgerMode, id);
        case TXViewKind::Multiple:
            break;
    }
    return std::make_unique<TMultKidsFilter>(id);
}

TXRecord TXViewSubject::BlankTemplate() const {
    if (kind == TXViewKind::Multiple) {
        TMultipleRow multiple(doc, id);
        if (multiple) return MultiplePartTemplate(*multiple.operator->());
    }
    TXRecord blank;
    blank.Init(TDate::Today());
    blank.date = TDate::Today().Key();
    if (kind == TXViewKind::Account) {
        blank.flags = XNewAccountRecord;
        blank.account = id;
        if (doc.GetAccounts().GetAccount(id))
            blank.envelope = doc.GetAccounts().GetDefaultEnvelope(id);
    } else {
        // A multiple that has gone leaves an envelope-only record with no envelope: it moves
        // nothing and the view closes anyway.
        blank.flags = XNewEnvelopeRecord;
        blank.envelope = kind == TXViewKind::Envelope ? id : 0;
    }
    return blank;
}

std::string TXViewSubject::TotalLabel(bool reconcile) const {
    if (kind == TXViewKind::Multiple) return "Multiple Total: ";
    if (reconcile) return "Balance of Cleared Items: ";
    return kind == TXViewKind::Account ? "Account Balance: " : "Envelope Balance: ";
}

TMoney TXViewSubject::Total(bool reconcile) const {
    switch (kind) {
        case TXViewKind::Account:
            if (!doc.GetAccounts().GetAccount(id)) return {};
            return reconcile ? doc.GetAccounts().GetRecBalance(id)
                             : doc.GetAccounts().GetBalance(id);
        case TXViewKind::Envelope:
            return reconcile ? doc.GetEnvelopes().GetRecBalance(id)
                             : doc.GetEnvelopes().GetBalance(id);
        case TXViewKind::Multiple:
            break;
    }
    const TXRecord* multiple = doc.GetXManager().FindRecord(id);
    return multiple ? TMoney(multiple->amount) : TMoney();
}
