// A flat, id-keyed, streamed list of editable items (the transaction templates are one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/IdList.h"
#include "core/IdObjectList.h"

class ipstream;
class opstream;
class TManagedList;

class TManagedItem {
public:
    explicit TManagedItem(TManagedList* owner = nullptr) : owner(owner) {}
    virtual ~TManagedItem() = default;

    // The id as a word32; the concrete item then writes its own fields.
    virtual void Write(opstream& os) const;
    // The id as a word; the concrete item then reads its own fields.
    virtual void Read(ipstream& is);
    virtual bool IsSame(const TManagedItem* item) const { return item == this; }
    virtual bool SortsBefore(const TManagedItem* item) const;
    virtual void GetName(char* buffer, size_t capacity) const = 0;
    // Shows the item's property dialog; true when the user confirmed.
    virtual bool Edit() = 0;

    uint32_t GetId() const { return id; }
    void SetId(uint32_t newId) { id = newId; }
    TManagedList* GetOwner() const { return owner; }
    void SetOwner(TManagedList* list) { owner = list; }
    // The name through a 1024-byte buffer.
    std::string NameText() const;

private:
    TManagedList* owner;
    uint32_t id = 0;
};

class TManagedList : public TIdObjectList {
public:
    explicit TManagedList(uint32_t growth) : ids(growth) {}
    TManagedList(const TManagedList&) = delete;
    TManagedList& operator=(const TManagedList&) = delete;
    ~TManagedList() override;

    // All item names in insertion order; flags are ignored.
    std::unique_ptr<TTarnStringList> GetStringList(uint32_t flags) const override;
    uint32_t FindId(const std::string& name) const override;
    // "error" for an id no item has.
    void GetName(char* buffer, size_t capacity, uint32_t id) const override;
    using TIdObjectList::GetName;

    // Makes an item, lets the user edit it, and keeps it (with a new id) only when confirmed.
    virtual bool AddNew();
    virtual void Write(opstream& os) const;
    // Replaces the items and the id table with those read.
    virtual void Read(ipstream& is);
    // An empty item of the concrete kind.
    virtual std::unique_ptr<TManagedItem> CreateItem() = 0;
    // A new item copied from the item with that id; null when there is none.
    virtual std::unique_ptr<TManagedItem> CreateCopy(uint32_t id) = 0;
    // Releases the id and destroys its item; true even when no item had the id.
    virtual bool Remove(uint32_t id);
    // Appends a copy of the item with that id under a new id; false when there is none.
    virtual bool Duplicate(uint32_t id);

    // Gives item a new id when it has none, and appends it. Returns the item.
    TManagedItem* Add(std::unique_ptr<TManagedItem> item);
    TManagedItem* FindById(uint32_t id) const;
    // 1-based; null outside 1 .. GetCount().
    TManagedItem* GetAt(uint32_t index) const;
    uint32_t GetCount() const { return static_cast<uint32_t>(items.size()); }
    // The first item whose name equals name without regard to case.
    TManagedItem* FindByName(const std::string& name) const;
    TIdList& GetIdList() { return ids; }
    const TIdList& GetIdList() const { return ids; }

private:
    TIdList ids;
    std::vector<std::unique_ptr<TManagedItem>> items;
};
