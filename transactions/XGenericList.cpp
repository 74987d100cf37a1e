#include "transactions/XGenericList.h"

#include <utility>

#include "core/ObjectStream.h"
#include "transactions/XManager.h"

TXGenericList::~TXGenericList() {
    ReleaseAll();
}

TXGenericList::TXGenericList(TXGenericList&& other) noexcept
    : manager(other.manager), items(std::move(other.items)) {
    other.items.clear();
}

TXGenericList& TXGenericList::operator=(TXGenericList&& other) noexcept {
    if (this != &other) {
        ReleaseAll();
        manager = other.manager;
        items = std::move(other.items);
        other.items.clear();
    }
    return *this;
}

TXItem* TXGenericList::operator[](uint32_t index) const {
    if (index < 1 || index > items.size())
        throw TXBase("Attempt to access beyond limit in TXGenericList::operator[].");
    return items[index - 1];
}

void TXGenericList::ReleaseAll() {
    std::vector<TXItem*> held = std::move(items);
    items.clear();
    for (TXItem* item : held)
        manager->Release(item);
}
