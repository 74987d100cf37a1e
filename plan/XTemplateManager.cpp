#include "plan/XTemplateManager.h"

#include "core/QuilletData.h"

TXTemplateManager::~TXTemplateManager() = default;

std::unique_ptr<TManagedItem> TXTemplateManager::CreateItem() {
    return std::make_unique<TXTemplate>(this);
}

std::unique_ptr<TManagedItem> TXTemplateManager::CreateCopy(uint32_t id) {
    if (TQuilletData* doc = TQuilletData::Current()) doc->SetModified();
    const auto* source = dynamic_cast<const TXTemplate*>(FindById(id));
    if (!source) return nullptr;

    auto copy = std::make_unique<TXTemplate>(this);
    copy->SetIncludeInPlan(source->GetIncludeInPlan());
    copy->SetPeriod(source->GetPeriod());

    // Names are compared exactly here: a name differing only in case still counts as free.
    auto taken = [this](const std::string& name) {
        for (uint32_t i = 1; i <= GetCount(); ++i)
            if (GetTemplate(i)->GetName() == name) return true;
        return false;
    };
    std::string name = "copy of " + source->GetName();
    for (uint32_t n = 2; taken(name); ++n)
        name = "copy " + std::to_string(n) + " of " + source->GetName();
    copy->SetName(name);

    copy->SetPayableTo(source->GetPayableTo());
    copy->SetMemo(source->GetMemo());
    const TXTemplateList& items = source->GetItems();
    for (uint32_t i = 0; i < items.GetCount(); ++i) {
        const TXTemplateItem* item = items.GetAt(i);
        copy->GetItems().Append(item->GetEnvelope(), item->GetAmount(), item->GetDescription());
    }
    return copy;
}

void TXTemplateManager::ReplaceEnvelopeInAll(uint32_t oldId, uint32_t newId) {
    for (uint32_t i = 1; i <= GetCount(); ++i)
        GetTemplate(i)->ReplaceEnvelope(oldId, newId);
}
