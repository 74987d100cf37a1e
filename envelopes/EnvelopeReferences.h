// What the envelope tree asks of the rest of the budget when an envelope is replaced or emptied:
// the transactions, the accounts' default envelopes and the templates refer to envelopes by id.
#pragma once

#include <cstdint>

#include "core/Date.h"

class TEnvelopeReferences {
public:
    virtual ~TEnvelopeReferences() = default;
    // Every transaction of one envelope moves to another; balances move with them.
    virtual void MoveEnvelopeTransactions(uint32_t fromEnvelope, uint32_t toEnvelope) = 0;
    // Every account whose default envelope is the old one takes the new one.
    virtual void ReplaceDefaultEnvelope(uint32_t oldEnvelope, uint32_t newEnvelope) = 0;
    // Every template follows the replacement.
    virtual void ReplaceEnvelopeInTemplates(uint32_t oldEnvelope, uint32_t newEnvelope) = 0;
    // A new envelope transfer: amount (cents) on the first envelope, its opposite on the second.
    virtual void AddEnvelopeTransfer(uint32_t envelope, uint32_t otherEnvelope, int32_t amount,
                                     TDate date) = 0;
};

// The references of the open document; does nothing while no document is open.
TEnvelopeReferences& DocumentEnvelopeReferences();
