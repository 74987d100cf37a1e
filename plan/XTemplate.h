// Transaction templates: named recipes of payee, memo, period and envelope splits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ManagedList.h"
#include "core/Money.h"

class ipstream;
class opstream;
class TXTemplate;
class TXTemplateList;

// One envelope split of a template.
class TXTemplateItem {
public:
    static constexpr size_t DescriptionSize = 90;

    explicit TXTemplateItem(TXTemplateList* owner = nullptr) : owner(owner) {}
    virtual ~TXTemplateItem() = default;

    TXTemplateList* GetOwner() const { return owner; }
    uint32_t GetEnvelope() const { return envelope; }
    void SetEnvelope(uint32_t id) { envelope = id; }
    int32_t GetAmount() const { return amount; }
    void SetAmount(int32_t cents) { amount = cents; }
    std::string GetDescription() const { return description; }
    // Cut to 89 characters.
    void SetDescription(const std::string& text);
    // No amount and no description; the envelope does not count.
    bool IsBlank() const { return amount == 0 && description[0] == '\0'; }

    void Write(opstream& os) const;
    // False when the stream failed inside the item.
    bool Read(ipstream& is);

private:
    TXTemplateList* owner;
    uint32_t envelope = 0;  // 0: none
    int32_t amount = 0;     // cents; positive a deposit, negative a payment
    char description[DescriptionSize] = {};
};

// The envelope splits of one template, in their stored order.
class TXTemplateList {
public:
    static constexpr uint32_t Layout = 1;

    explicit TXTemplateList(TXTemplate* owner) : owner(owner) {}
    TXTemplateList(const TXTemplateList&) = delete;
    TXTemplateList& operator=(const TXTemplateList&) = delete;

    TXTemplate* GetOwner() const { return owner; }
    uint32_t GetCount() const { return static_cast<uint32_t>(items.size()); }
    // 0-based; null past the end.
    TXTemplateItem* GetAt(uint32_t index) const {
        return index < items.size() ? items[index].get() : nullptr;
    }
    TXTemplateItem* Append(uint32_t envelope, int32_t amount, const std::string& description);
    void Clear() { items.clear(); }

    void Write(opstream& os) const;
    // Appends the items read. Items are only made while the stream holds them, so a damaged
    // count ends in a failed stream with the items read so far.
    void Read(ipstream& is);

private:
    TXTemplate* owner;
    std::vector<std::unique_ptr<TXTemplateItem>> items;
};

// The five fields the property dialog edits, in the order its transfer buffer holds them.
struct TXTemplateFields {
    static constexpr size_t NameSize = 128;
    static constexpr size_t TextSize = 90;

    char name[NameSize] = {};
    uint32_t includeInPlan = 0;  // 0 or 1: an income source of the allocation plan
    uint32_t period = 4;         // a period id; "Monthly" for a new template
    char payableTo[TextSize] = {};
    char memo[TextSize] = {};
};

class TXTemplate : public TManagedItem {
public:
    static constexpr uint32_t Layout = 3;
    static constexpr uint32_t MonthlyPeriod = 4;

    explicit TXTemplate(TManagedList* owner = nullptr);
    ~TXTemplate() override;

    void Write(opstream& os) const override;
    void Read(ipstream& is) override;
    // By name, without regard to letter case.
    bool SortsBefore(const TManagedItem* item) const override;
    void GetName(char* buffer, size_t capacity) const override;
    // The property dialog is not part of the build yet: throws TXBase.
    bool Edit(void* parentWindow) override;

    std::string GetName() const { return fields.name; }
    bool GetIncludeInPlan() const { return fields.includeInPlan != 0; }
    uint32_t GetPeriod() const { return fields.period; }
    std::string GetPayableTo() const { return fields.payableTo; }
    std::string GetMemo() const { return fields.memo; }
    // Each text is cut to its field.
    void SetName(const std::string& name);
    void SetIncludeInPlan(bool include) { fields.includeInPlan = include ? 1 : 0; }
    void SetPeriod(uint32_t period) { fields.period = period; }
    void SetPayableTo(const std::string& text);
    void SetMemo(const std::string& text);
    TXTemplateFields& Fields() { return fields; }

    TXTemplateList& GetItems() { return *items; }
    const TXTemplateList& GetItems() const { return *items; }
    void ClearItems() { items->Clear(); }
    // Appends an item with that envelope and amount, described "Allocate to ~e".
    void AddAllocation(uint32_t envelope, int32_t amount);
    // Every item of the old envelope takes the new one.
    void ReplaceEnvelope(uint32_t oldId, uint32_t newId);
    // What the items give the envelope, converted from the template's period to the one asked.
    TMoney GetEnvelopeAmount(uint32_t envelope, uint32_t period) const;

private:
    TXTemplateFields fields;
    std::unique_ptr<TXTemplateList> items;
};
