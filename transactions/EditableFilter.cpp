#include "transactions/EditableFilter.h"

#include <string>

#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "core/Text.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"

namespace {

// Range bounds are typed as currency units; they count in cents the way typed amounts do, and a
// bound beyond what a record can hold counts as 0.
int32_t BoundCents(float units) {
    double shifted = units > 0 ? units + 0.005 : units - 0.005;
    if (!(shifted > -20000000.0 && shifted < 20000000.0)) return 0;  // NaN included
    double scaled = shifted * 100.0;
    return static_cast<int32_t>(scaled);
}

// Text tests compare bytes as they are, letter case included; an empty text lies in any field.
bool TextPasses(const std::string& field, const std::string& text, bool exact) {
    return exact ? field == text : field.find(text) != std::string::npos;
}

void CutTo(std::string& text, size_t max) {
    if (text.size() > max) text.resize(max);
}

}  // namespace

TEditableFilter::TEditableFilter(uint32_t mode, uint32_t id)
    : mode(mode), id(id), criteria(DefaultCriteria(mode)) {}

TFilterCriteria TEditableFilter::DefaultCriteria(uint32_t mode) {
    TFilterCriteria c;
    c.to = TDate::Today();
    c.from = c.to;
    c.from.SetDay(1);
    if (TQuilletData* doc = TQuilletData::Current()) {
        // An account ledger picks envelopes, starting from the root; the others pick accounts.
        if (mode & FilterAccountLedger)
            c.nodeId = doc->GetEnvelopes().GetEnvelopeRoot()->GetId();
        else
            c.nodeId = doc->GetAccounts().GetAccountIdByIndex(1);
    }
    return c;
}

bool TEditableFilter::EnvelopeUnder(uint32_t envelopeId, uint32_t nodeId) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return envelopeId == nodeId;
    return doc->GetEnvelopes().Contains(envelopeId, nodeId);
}

bool TEditableFilter::Match(const TXRecord& r) const {
    const bool committed = r.IsCommitted();
    if (!committed && !(mode & FilterBlankRows)) return false;

    // The owner's own tests. Blank rows of envelope views are envelope-only.
    if (mode & FilterAccountLedger) {
        if (r.IsPart() || r.Has(XEnvelopeOnly) || r.account != id) return false;
    }
    if (mode & FilterEnvelopeLedger) {
        if (!committed && r.Has(XAccount)) return false;
        if (r.envelope != id) return false;
    }
    if (mode & FilterEnvelopeGroup) {
        if (!committed && r.Has(XAccount)) return false;
        if (!EnvelopeUnder(r.envelope, id)) return false;
    }
    // A blank row stays so that the user can type into it, whatever the criteria.
    if (!committed) return true;

    const TFilterCriteria& c = criteria;
    if (c.date == TDateChoice::Range && (r.date < c.from.Key() || r.date > c.to.Key()))
        return false;

    switch (c.amount) {
        case TAmountChoice::Any:
            break;
        case TAmountChoice::Deposit:
            if (r.amount <= 0) return false;
            break;
        case TAmountChoice::Payment:
            if (r.amount >= 0) return false;
            break;
        case TAmountChoice::Range:
            if (r.amount < BoundCents(c.minimum) || r.amount > BoundCents(c.maximum)) return false;
            break;
    }

    const std::string code = r.GetCode();
    switch (c.code) {
        case TCodeChoice::Any:
            break;
        case TCodeChoice::NumberOnly:
            if (ReadLeadingInt(code) < 1) return false;
            break;
        case TCodeChoice::NonNumberOrMixed:
            if (ReadLeadingInt(code) != 0) return false;
            break;
        case TCodeChoice::FieldText:
            if (!TextPasses(code, c.codeText, c.codeExact)) return false;
            break;
    }

    const uint32_t cleared = (mode & FilterAccountLedger) ? r.accountCleared : r.envelopeCleared;
    switch (c.cleared) {
        case TClearedChoice::Any:
            break;
        case TClearedChoice::NotClearedOrPending:
            if (cleared > XClearedPending) return false;
            break;
        case TClearedChoice::Cleared:
            if (cleared == XNotCleared) return false;
            break;
        case TClearedChoice::NotCleared:
            if (cleared != XNotCleared) return false;
            break;
    }

    if (c.payableTo == TTextChoice::FieldText &&
        !TextPasses(r.GetPayableTo(), c.payableToText, c.payableToExact))
        return false;
    if (c.memo == TTextChoice::FieldText && !TextPasses(r.GetMemo(), c.memoText, c.memoExact))
        return false;

    // An account ledger looks at the account side of transfers and multiples, the envelope
    // views at the envelope side.
    const bool accountSide = (mode & FilterAccountLedger) != 0;
    switch (c.node) {
        case TNodeChoice::Any:
            break;
        case TNodeChoice::Transfer:
            if (!(accountSide ? r.IsAccountTransfer() : r.IsEnvelopeTransfer())) return false;
            break;
        case TNodeChoice::Multiple:
            if (!(accountSide ? r.IsMultiple() : r.IsPart())) return false;
            break;
        case TNodeChoice::Node:
            if (!(accountSide ? EnvelopeUnder(r.envelope, c.nodeId) : r.account == c.nodeId))
                return false;
            break;
    }

    if (c.import == TImportChoice::NewImportOnly && r.newlyImported == 0) return false;
    return true;
}

bool TEditableFilter::Edit() {
    TFilterDialogBuffer buffer;
    buffer.mode = mode;
    buffer.criteria = criteria;
    if (TQuilletData* doc = TQuilletData::Current()) {
        if (mode & FilterAccountLedger) {
            buffer.nodes = &doc->GetEnvelopes();
            buffer.nodeListFlags = ListAllButAliases | ListIndented;
        } else {
            buffer.nodes = &doc->GetAccounts();
            buffer.nodeListFlags = AccountListAccounts;
        }
    }
    if (!FilterDialogs().EditFilter(buffer)) return false;

    criteria = buffer.criteria;
    CutTo(criteria.codeText, TFilterCriteria::CodeTextMax);
    CutTo(criteria.payableToText, TFilterCriteria::TextMax);
    CutTo(criteria.memoText, TFilterCriteria::TextMax);
    quick.fill(false);
    active = true;
    return true;
}

void TEditableFilter::Reset() {
    quick.fill(false);
    active = false;
    criteria = DefaultCriteria(mode);
}

void TEditableFilter::Preset(TQuickFilter which, bool on) {
    Reset();
    quick[static_cast<size_t>(which)] = on;
    if (!on) return;
    active = true;
    criteria.view = TViewChoice::Reconcile;
    switch (which) {
        case TQuickFilter::AllUnreconciled:
            criteria.cleared = TClearedChoice::NotClearedOrPending;
            break;
        case TQuickFilter::UnreconciledDeposits:
            criteria.cleared = TClearedChoice::NotClearedOrPending;
            criteria.amount = TAmountChoice::Deposit;
            break;
        case TQuickFilter::UnreconciledChecks:
            criteria.cleared = TClearedChoice::NotClearedOrPending;
            criteria.amount = TAmountChoice::Payment;
            criteria.code = TCodeChoice::NumberOnly;
            break;
        case TQuickFilter::UnreconciledNonChecks:
            criteria.cleared = TClearedChoice::NotClearedOrPending;
            criteria.amount = TAmountChoice::Payment;
            criteria.code = TCodeChoice::NonNumberOrMixed;
            break;
        case TQuickFilter::NewlyImported:
            criteria.import = TImportChoice::NewImportOnly;
            break;
    }
}

void TEditableFilter::ViewAllUnreconciled(bool on) {
    Preset(TQuickFilter::AllUnreconciled, on);
}
void TEditableFilter::ViewUnreconciledNonChecks(bool on) {
    Preset(TQuickFilter::UnreconciledNonChecks, on);
}
void TEditableFilter::ViewUnreconciledChecks(bool on) {
    Preset(TQuickFilter::UnreconciledChecks, on);
}
void TEditableFilter::ViewUnreconciledDeposits(bool on) {
    Preset(TQuickFilter::UnreconciledDeposits, on);
}
void TEditableFilter::ViewNewlyImported(bool on) {
    Preset(TQuickFilter::NewlyImported, on);
}

void TEditableFilter::SetDateRange(TDate from, TDate to) {
    criteria.from = from;
    criteria.to = to;
}

void TEditableFilter::SetDateRangeChosen(bool on) {
    criteria.date = on ? TDateChoice::Range : TDateChoice::Any;
}
