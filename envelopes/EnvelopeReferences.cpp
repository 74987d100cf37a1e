#include "envelopes/EnvelopeReferences.h"

#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "plan/XTemplateManager.h"
#include "transactions/XManager.h"

namespace {

class TDocumentReferences : public TEnvelopeReferences {
public:
    void MoveEnvelopeTransactions(uint32_t fromEnvelope, uint32_t toEnvelope) override {
        if (TQuilletData* doc = TQuilletData::Current())
            doc->GetXManager().MoveEnvelopeTransactions(fromEnvelope, toEnvelope);
    }
    void ReplaceDefaultEnvelope(uint32_t oldEnvelope, uint32_t newEnvelope) override {
        if (TQuilletData* doc = TQuilletData::Current())
            doc->GetAccounts().ReplaceDefaultEnvelope(oldEnvelope, newEnvelope);
    }
    void ReplaceEnvelopeInTemplates(uint32_t oldEnvelope, uint32_t newEnvelope) override {
        if (TQuilletData* doc = TQuilletData::Current())
            doc->GetTemplates().ReplaceEnvelopeInAll(oldEnvelope, newEnvelope);
    }
    void AddEnvelopeTransfer(uint32_t envelope, uint32_t otherEnvelope, int32_t amount,
                             TDate date) override {
        if (TQuilletData* doc = TQuilletData::Current())
            doc->GetXManager().AddEnvelopeTransfer(envelope, otherEnvelope, amount, date);
    }
};

}  // namespace

TEnvelopeReferences& DocumentEnvelopeReferences() {
    static TDocumentReferences references;
    return references;
}
