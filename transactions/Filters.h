// Filters: the one question every listing of transactions asks of a record, whether it belongs.
// The transaction manager walks its store and asks; free slots and records being deleted never
// reach a filter. The fixed filters here serve the system's own logic; the user's filter of
// ledgers and report dialogs is TEditableFilter (transactions/EditableFilter.h).
#pragma once

#include <cstdint>

#include "core/Date.h"
#include "transactions/XRecord.h"

class TXFilter {
public:
    virtual ~TXFilter() = default;
    virtual bool Match(const TXRecord& record) const = 0;
};

// The records of an account's ledger: its own account records, parts of multiples left out
// (their multiple stands for them).
class TAccountFilter : public TXFilter {
public:
    explicit TAccountFilter(uint32_t accountId) : accountId(accountId) {}
    bool Match(const TXRecord& record) const override;

private:
    uint32_t accountId;
};

// The records that move an envelope. Multiples and account transfer halves carry no envelope of
// their own.
class TEnvelopeFilter : public TXFilter {
public:
    explicit TEnvelopeFilter(uint32_t envelopeId) : envelopeId(envelopeId) {}
    bool Match(const TXRecord& record) const override;

private:
    uint32_t envelopeId;
};

// Envelope-only records with an amount that are not transfer halves: entries that moved no
// balance yet because nobody made them into transfers.
class TEnvelopeNoTransferFilter : public TXFilter {
public:
    bool Match(const TXRecord& record) const override;
};

// The account transfer halves of an account.
class TAccountTransferFilter : public TXFilter {
public:
    explicit TAccountTransferFilter(uint32_t accountId) : accountId(accountId) {}
    bool Match(const TXRecord& record) const override;

private:
    uint32_t accountId;
};

// The parts of one multiple.
class TMultKidsFilter : public TXFilter {
public:
    explicit TMultKidsFilter(uint32_t multipleId) : multipleId(multipleId) {}
    bool Match(const TXRecord& record) const override;

private:
    uint32_t multipleId;
};

// Another filter's records without the blank (uncommitted) ones. The other filter must outlive
// this one, so it cannot be a temporary.
class TXBlankFilter : public TXFilter {
public:
    explicit TXBlankFilter(const TXFilter& other) : other(other) {}
    explicit TXBlankFilter(const TXFilter&& other) = delete;
    bool Match(const TXRecord& record) const override;

private:
    const TXFilter& other;
};

// The records a statement import may match against: committed records of the account, parts
// left out, that are not cleared or were cleared on or after the given day. A pending mark does
// not qualify: the user has already matched that record by hand.
class TImportFindFilter : public TXFilter {
public:
    TImportFindFilter(uint32_t accountId, TDate from) : accountId(accountId), from(from) {}
    bool Match(const TXRecord& record) const override;

private:
    uint32_t accountId;
    TDate from;
};
