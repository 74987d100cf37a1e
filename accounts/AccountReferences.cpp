#include "accounts/AccountReferences.h"

#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "transactions/XManager.h"

namespace {

class TDocumentAccountReferences : public TAccountReferences {
public:
    bool HasAccountTransactions(uint32_t accountId) override {
        TQuilletData* doc = TQuilletData::Current();
        return doc && doc->GetXManager().HasAccountTransactions(accountId);
    }
    void DeleteAccountTransactions(uint32_t accountId) override {
        if (TQuilletData* doc = TQuilletData::Current())
            doc->GetXManager().DeleteAccountTransactions(accountId);
    }
    uint32_t CountEnvelopes() override {
        TQuilletData* doc = TQuilletData::Current();
        return doc ? doc->GetEnvelopes().CountEnvelopes() : 0;
    }
    uint32_t FindEnvelopeId(const std::string& name) override {
        TQuilletData* doc = TQuilletData::Current();
        return doc ? doc->GetEnvelopes().FindId(name) : 0;
    }
    const TIdObjectList* EnvelopeNames() override {
        TQuilletData* doc = TQuilletData::Current();
        return doc ? &doc->GetEnvelopes() : nullptr;
    }
};

}  // namespace

TAccountReferences& DocumentAccountReferences() {
    static TDocumentAccountReferences references;
    return references;
}
