#include "plan/XTemplate.h"

#include <cstring>

#include "core/ObjectStream.h"
#include "core/TarnStringList.h"
#include "plan/Period.h"
#include "transactions/XManager.h"

namespace {

void CopyCut(char* field, size_t size, const std::string& text) {
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TXTemplateItem

void TXTemplateItem::SetDescription(const std::string& text) {
    CopyCut(description, DescriptionSize, text);
}

void TXTemplateItem::Write(opstream& os) const {
    os.writeWord32(envelope);
    os.writeInt(amount);
    os.writeString(description);
}

bool TXTemplateItem::Read(ipstream& is) {
    uint32_t env = is.readWord();
    int32_t cents = is.readInt();
    if (!is.good()) return false;
    envelope = env;
    amount = cents;
    is.readString(description, DescriptionSize);
    return is.good();
}

// ---------------------------------------------------------------------------------------------
// TXTemplateList

TXTemplateItem* TXTemplateList::Append(uint32_t envelope, int32_t amount,
                                       const std::string& description) {
    auto item = std::make_unique<TXTemplateItem>(this);
    item->SetEnvelope(envelope);
    item->SetAmount(amount);
    item->SetDescription(description);
    items.push_back(std::move(item));
    return items.back().get();
}

void TXTemplateList::Write(opstream& os) const {
    os.writeWord32(Layout);
    os.writeWord32(GetCount());
    for (const auto& item : items)
        item->Write(os);
}

void TXTemplateList::Read(ipstream& is) {
    uint32_t layout = is.readWord32();
    uint32_t count = is.readWord32();
    if (layout != Layout) return;  // an unknown items layout gives a template without items
    for (uint32_t i = 0; i < count && is.good(); ++i) {
        auto item = std::make_unique<TXTemplateItem>(this);
        if (!item->Read(is)) break;
        items.push_back(std::move(item));
    }
}

// ---------------------------------------------------------------------------------------------
// TXTemplate

TXTemplate::TXTemplate(TManagedList* owner)
    : TManagedItem(owner), items(std::make_unique<TXTemplateList>(this)) {}

TXTemplate::~TXTemplate() = default;

void TXTemplate::SetName(const std::string& name) {
    CopyCut(fields.name, TXTemplateFields::NameSize, name);
}

void TXTemplate::SetPayableTo(const std::string& text) {
    CopyCut(fields.payableTo, TXTemplateFields::TextSize, text);
}

void TXTemplate::SetMemo(const std::string& text) {
    CopyCut(fields.memo, TXTemplateFields::TextSize, text);
}

void TXTemplate::Write(opstream& os) const {
    TManagedItem::Write(os);
    os.writeWord32(Layout);
    os.writeWord32(fields.includeInPlan);
    items->Write(os);
    os.writeWord32(fields.period);
    os.writeString(fields.name);
    os.writeString(fields.payableTo);
    os.writeString(fields.memo);
}

void TXTemplate::Read(ipstream& is) {
    TManagedItem::Read(is);
    items = std::make_unique<TXTemplateList>(this);
    uint32_t layout = is.readWord();
    uint32_t include = is.readWord();
    if (is.good()) fields.includeInPlan = include;
    items->Read(is);
    if (layout > 1) {
        uint32_t period = is.readWord();
        if (is.good()) fields.period = period;
    }
    is.readString(fields.name, TXTemplateFields::NameSize);
    if (layout >= 3) {
        is.readString(fields.payableTo, TXTemplateFields::TextSize);
        is.readString(fields.memo, TXTemplateFields::TextSize);
    }
}

bool TXTemplate::SortsBefore(const TManagedItem* item) const {
    const auto* other = dynamic_cast<const TXTemplate*>(item);
    if (!other) return TManagedItem::SortsBefore(item);
    return CompareCodeText(fields.name, other->fields.name) < 0;
}

void TXTemplate::GetName(char* buffer, size_t capacity) const {
    CopyToBuffer(buffer, capacity, fields.name);
}

bool TXTemplate::Edit(void*) {
    throw TXBase("The transaction template dialog is not available yet.");
}

void TXTemplate::AddAllocation(uint32_t envelope, int32_t amount) {
    items->Append(envelope, amount, "Allocate to ~e");
}

void TXTemplate::ReplaceEnvelope(uint32_t oldId, uint32_t newId) {
    for (uint32_t i = 0; i < items->GetCount(); ++i) {
        TXTemplateItem* item = items->GetAt(i);
        if (item->GetEnvelope() == oldId) item->SetEnvelope(newId);
    }
}

TMoney TXTemplate::GetEnvelopeAmount(uint32_t envelope, uint32_t period) const {
    TMoney sum;
    for (uint32_t i = 0; i < items->GetCount(); ++i) {
        const TXTemplateItem* item = items->GetAt(i);
        if (item->GetEnvelope() == envelope) sum += TMoney(item->GetAmount());
    }
    return ConvertPeriodAmount(sum, fields.period, period);
}
