// All transaction templates of a budget, in insertion order. The budget file holds the manager
// in place, in the form of a managed list.
#pragma once

#include <cstdint>
#include <memory>

#include "core/ManagedList.h"
#include "plan/XTemplate.h"

class TXTemplateManager : public TManagedList {
public:
    static constexpr uint32_t IdGrowth = 10;

    TXTemplateManager() : TManagedList(IdGrowth) {}
    ~TXTemplateManager() override;

    void Write(opstream& os) const override { TManagedList::Write(os); }
    void Read(ipstream& is) override { TManagedList::Read(is); }
    std::unique_ptr<TManagedItem> CreateItem() override;
    // A copy named "copy of <name>" (or "copy <n> of <name>" while that name is taken), with the
    // source's flag, period, texts and items; null when no template has the id.
    std::unique_ptr<TManagedItem> CreateCopy(uint32_t id) override;

    // 1-based, in insertion order; null outside 1 .. GetCount().
    TXTemplate* GetTemplate(uint32_t index) const { return static_cast<TXTemplate*>(GetAt(index)); }
    // Every template follows an envelope's replacement.
    void ReplaceEnvelopeInAll(uint32_t oldId, uint32_t newId);
};
