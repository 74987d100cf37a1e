// The allocator of item ids for one list: ids run from 1 upward and are never issued twice, so an
// id kept in an old transaction can still be recognised as having once named an item.
#pragma once

#include <cstdint>
#include <vector>

class ipstream;
class opstream;

class TIdList {
public:
    // Entry values of the table, indexed by id; entry 0 is never used.
    static constexpr uint8_t NeverIssued = 0, InUse = 1, Released = 2;

    explicit TIdList(uint32_t growth = 25) : growth(growth) {}

    // A new id, one above the highest ever issued, marked in use.
    uint32_t Issue();
    // Marks an id that was ever issued as released; any other id is ignored.
    void Release(uint32_t id);
    // True for an id in use or released.
    bool IsIssued(uint32_t id) const;
    // The entry for id (NeverIssued beyond the table).
    uint8_t GetEntry(uint32_t id) const { return id < table.size() ? table[id] : NeverIssued; }

    uint32_t GetSize() const { return static_cast<uint32_t>(table.size()); }
    uint32_t GetGrowth() const { return growth; }

    static constexpr uint32_t Layout = 1;
    void Write(opstream& os) const;
    // Replaces the table with the one read. The table is only replaced when it was read in full.
    void Read(ipstream& is);

private:
    std::vector<uint8_t> table;
    uint32_t growth;
};
