// Lists of named, id-keyed things as the combo boxes, list boxes and choosers see them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/TarnStringList.h"

class TIdObjectList {
public:
    virtual ~TIdObjectList() = default;

    // The names of the list's items in list order; the meaning of flags is the list's own.
    virtual std::unique_ptr<TTarnStringList> GetStringList(uint32_t flags) const = 0;
    // The id of the first item whose name equals name without regard to case; 0 if none.
    virtual uint32_t FindId(const std::string& name) const = 0;
    // Copies the item's name into buffer (truncated, terminated). What an unknown id gives is
    // each list's own.
    virtual void GetName(char* buffer, size_t capacity, uint32_t id) const = 0;

    // The same through a 1024-byte buffer, for callers that want a string.
    std::string GetName(uint32_t id) const;
};

// A fixed, null-terminated array of texts (not owned); text n (1-based) has id n.
class TSimpleIdObjectList : public TIdObjectList {
public:
    explicit TSimpleIdObjectList(const char* const* texts) : texts(texts) {}

    std::unique_ptr<TTarnStringList> GetStringList(uint32_t flags) const override;
    uint32_t FindId(const std::string& name) const override;
    // An empty text for id 0 or an id beyond the last text.
    void GetName(char* buffer, size_t capacity, uint32_t id) const override;
    using TIdObjectList::GetName;

private:
    const char* const* texts;
};

// The six kinds of account, ids 1 to 6.
class TAccountTypeList : public TIdObjectList {
public:
    static constexpr uint32_t Checking = 1, Savings = 2, Cash = 3, ElectronicCash = 4, Credit = 5,
                              Investment = 6;

    std::unique_ptr<TTarnStringList> GetStringList(uint32_t flags) const override;
    // 1 to 5 for the first five kind names; anything else, "Investment" included, is 6.
    uint32_t FindId(const std::string& name) const override;
    // Leaves the buffer as it was for an id outside 1 to 6.
    void GetName(char* buffer, size_t capacity, uint32_t id) const override;
    using TIdObjectList::GetName;

    // The kind name for ids 1 to 6, null otherwise.
    static const char* KindName(uint32_t id);
};
