#include "transactions/Filters.h"

bool TAccountFilter::Match(const TXRecord& r) const {
    return r.Has(XAccount) && !r.IsPart() && r.account == accountId;
}

bool TEnvelopeFilter::Match(const TXRecord& r) const {
    return !r.IsAccountTransfer() && !r.IsMultiple() && r.envelope == envelopeId;
}

bool TEnvelopeNoTransferFilter::Match(const TXRecord& r) const {
    return r.Has(XEnvelopeOnly) && !r.Has(XTransfer) && r.amount != 0;
}

bool TAccountTransferFilter::Match(const TXRecord& r) const {
    return r.IsAccountTransfer() && r.account == accountId;
}

bool TMultKidsFilter::Match(const TXRecord& r) const {
    return r.IsPart() && r.parent == multipleId;
}

bool TXBlankFilter::Match(const TXRecord& r) const {
    return r.IsCommitted() && other.Match(r);
}

bool TImportFindFilter::Match(const TXRecord& r) const {
    if (!r.Has(XAccount) || !r.IsCommitted() || r.IsPart() || r.account != accountId) return false;
    return r.accountCleared == XNotCleared ||
           (r.accountCleared != XClearedPending && r.accountCleared >= from.Key());
}
