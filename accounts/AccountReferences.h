// What the account tree asks of the rest of the budget: the transactions that refer to an
// account, and the envelopes an account may take as its default.
#pragma once

#include <cstdint>
#include <string>

class TIdObjectList;

class TAccountReferences {
public:
    virtual ~TAccountReferences() = default;
    // Whether any transaction refers to the account.
    virtual bool HasAccountTransactions(uint32_t accountId) = 0;
    // Removes every transaction of the account, its halves of account transfers included.
    virtual void DeleteAccountTransactions(uint32_t accountId) = 0;
    virtual uint32_t CountEnvelopes() = 0;
    // The id of the envelope with that name (any case), 0 when there is none.
    virtual uint32_t FindEnvelopeId(const std::string& name) = 0;
    // The envelope names offered as default envelopes; null when there are none to offer.
    virtual const TIdObjectList* EnvelopeNames() = 0;
};

// The references of the open document. While no document is open there are no transactions
// and no envelopes.
TAccountReferences& DocumentAccountReferences();
