#include "core/ManagedList.h"

#include <algorithm>
#include <array>

#include "core/ObjectStream.h"

// ---------------------------------------------------------------------------------------------
// TManagedItem

void TManagedItem::Write(opstream& os) const {
    os.writeWord32(id);
}

void TManagedItem::Read(ipstream& is) {
    id = is.readWord();
}

bool TManagedItem::SortsBefore(const TManagedItem* item) const {
    return std::less<const TManagedItem*>()(this, item);
}

std::string TManagedItem::NameText() const {
    std::array<char, 1024> buffer{};
    GetName(buffer.data(), buffer.size());
    buffer.back() = '\0';
    return buffer.data();
}

// ---------------------------------------------------------------------------------------------
// TManagedList

TManagedList::~TManagedList() = default;

std::unique_ptr<TTarnStringList> TManagedList::GetStringList(uint32_t) const {
    auto list = std::make_unique<TTarnStringList>();
    for (const auto& item : items)
        list->Add(item->NameText());
    return list;
}

uint32_t TManagedList::FindId(const std::string& name) const {
    TManagedItem* item = FindByName(name);
    return item ? item->GetId() : 0;
}

void TManagedList::GetName(char* buffer, size_t capacity, uint32_t id) const {
    if (TManagedItem* item = FindById(id)) {
        item->GetName(buffer, capacity);
        if (buffer && capacity) buffer[capacity - 1] = '\0';
    } else {
        CopyToBuffer(buffer, capacity, "error");
    }
}

bool TManagedList::AddNew() {
    std::unique_ptr<TManagedItem> item = CreateItem();
    if (!item || !item->Edit()) return false;
    item->SetId(0);
    Add(std::move(item));
    return true;
}

TManagedItem* TManagedList::Add(std::unique_ptr<TManagedItem> item) {
    if (!item) return nullptr;
    if (item->GetId() == 0) item->SetId(ids.Issue());
    item->SetOwner(this);
    items.push_back(std::move(item));
    return items.back().get();
}

bool TManagedList::Duplicate(uint32_t id) {
    std::unique_ptr<TManagedItem> copy = CreateCopy(id);
    if (!copy) return false;
    copy->SetId(0);
    Add(std::move(copy));
    return true;
}

bool TManagedList::Remove(uint32_t id) {
    ids.Release(id);
    auto it = std::find_if(items.begin(), items.end(),
                           [id](const auto& item) { return item->GetId() == id; });
    if (it != items.end()) items.erase(it);
    return true;
}

TManagedItem* TManagedList::FindById(uint32_t id) const {
    for (const auto& item : items)
        if (item->GetId() == id) return item.get();
    return nullptr;
}

TManagedItem* TManagedList::GetAt(uint32_t index) const {
    if (index == 0 || index > items.size()) return nullptr;
    return items[index - 1].get();
}

TManagedItem* TManagedList::FindByName(const std::string& name) const {
    for (const auto& item : items)
        if (SameTextNoCase(item->NameText(), name)) return item.get();
    return nullptr;
}

void TManagedList::Write(opstream& os) const {
    os.writeWord32(GetCount());
    for (const auto& item : items)
        item->Write(os);
    ids.Write(os);
}

void TManagedList::Read(ipstream& is) {
    items.clear();
    uint32_t count = is.readWord();
    // Items are made one at a time as they are read, and a failed stream ends the loop, so a
    // count from a damaged file costs no more than the bytes that are really there.
    for (uint32_t i = 0; i < count && is.good(); ++i) {
        std::unique_ptr<TManagedItem> item = CreateItem();
        if (!item) break;
        item->Read(is);
        if (!is.good()) break;  // a half-read item is dropped
        item->SetOwner(this);
        items.push_back(std::move(item));
    }
    ids.Read(is);
}
