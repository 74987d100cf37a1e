#include "core/IdObjectList.h"

#include <array>

std::string TIdObjectList::GetName(uint32_t id) const {
    std::array<char, 1024> buffer{};
    GetName(buffer.data(), buffer.size(), id);
    return buffer.data();
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TTarnStringList> TSimpleIdObjectList::GetStringList(uint32_t) const {
    auto list = std::make_unique<TTarnStringList>();
    for (const char* const* p = texts; p && *p; ++p)
        list->Add(*p);
    return list;
}

uint32_t TSimpleIdObjectList::FindId(const std::string& name) const {
    uint32_t position = 1;
    for (const char* const* p = texts; p && *p; ++p, ++position)
        if (SameTextNoCase(*p, name)) return position;
    return 0;
}

void TSimpleIdObjectList::GetName(char* buffer, size_t capacity, uint32_t id) const {
    uint32_t position = 1;
    for (const char* const* p = texts; id != 0 && p && *p; ++p, ++position) {
        if (position == id) {
            CopyToBuffer(buffer, capacity, *p);
            return;
        }
    }
    CopyToBuffer(buffer, capacity, "");
}

// ---------------------------------------------------------------------------------------------

namespace {

constexpr const char* KindNames[] = {"Checking",        "Savings", "Cash",
                                     "Electronic Cash", "Credit",  "Investment"};

}  // namespace

const char* TAccountTypeList::KindName(uint32_t id) {
    return id >= 1 && id <= 6 ? KindNames[id - 1] : nullptr;
}

std::unique_ptr<TTarnStringList> TAccountTypeList::GetStringList(uint32_t) const {
    auto list = std::make_unique<TTarnStringList>();
    for (const char* name : KindNames)
        list->Add(name);
    return list;
}

uint32_t TAccountTypeList::FindId(const std::string& name) const {
    // Every name that is not one of the first five kinds counts as an investment account.
    for (uint32_t id = Checking; id <= Credit; ++id)
        if (SameTextNoCase(KindNames[id - 1], name)) return id;
    return Investment;
}

void TAccountTypeList::GetName(char* buffer, size_t capacity, uint32_t id) const {
    if (const char* name = KindName(id)) CopyToBuffer(buffer, capacity, name);
}
