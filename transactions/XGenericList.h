// An ordered list of row objects, indexed from 1, that holds one use of each and gives them back
// to the manager when it goes.
#pragma once

#include <cstdint>
#include <vector>

class TXItem;
class TXManager;

class TXGenericList {
public:
    explicit TXGenericList(TXManager& manager) : manager(&manager) {}
    ~TXGenericList();
    TXGenericList(TXGenericList&& other) noexcept;
    TXGenericList& operator=(TXGenericList&& other) noexcept;
    TXGenericList(const TXGenericList&) = delete;
    TXGenericList& operator=(const TXGenericList&) = delete;

    // Takes over one use of the item.
    void Add(TXItem* item) { items.push_back(item); }
    uint32_t Count() const { return static_cast<uint32_t>(items.size()); }
    // 1-based; throws TXBase beyond the end.
    TXItem* operator[](uint32_t index) const;

private:
    void ReleaseAll();

    TXManager* manager;
    std::vector<TXItem*> items;
};
