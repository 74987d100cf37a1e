#include "core/IdList.h"

#include <algorithm>

#include "core/ObjectStream.h"

namespace {

// A table grows by its growth step; a damaged file must not turn one new id into a huge
// allocation, nor a zero step into no room at all.
constexpr uint32_t MaxGrowthStep = 4096;

}  // namespace

uint32_t TIdList::Issue() {
    uint32_t size = GetSize();
    uint32_t highest = 0;
    for (uint32_t i = size; i-- > 1;) {
        if (table[i] != NeverIssued) {
            highest = i;
            break;
        }
    }
    if (highest != 0 && highest < size - 1) {
        table[highest + 1] = InUse;
        return highest + 1;
    }
    uint32_t step = std::clamp<uint32_t>(growth, 1, MaxGrowthStep);
    // Growing must leave room for the new entry (entry 1 when the table was empty).
    uint32_t id = size == 0 ? 1 : size;
    uint32_t newSize = std::max<uint32_t>(size + step, id + 1);
    table.resize(newSize, NeverIssued);
    table[id] = InUse;
    return id;
}

void TIdList::Release(uint32_t id) {
    if (IsIssued(id)) table[id] = Released;
}

bool TIdList::IsIssued(uint32_t id) const {
    return GetEntry(id) != NeverIssued;
}

void TIdList::Write(opstream& os) const {
    os.writeWord32(Layout);
    os.writeWord32(growth);
    os.writeWord32(GetSize());
    if (!table.empty()) os.writeBytes(table.data(), table.size());
}

void TIdList::Read(ipstream& is) {
    is.readWord32();  // the layout number; there has only ever been one
    uint32_t newGrowth = is.readWord32();
    uint32_t size = is.readWord32();
    if (!is.good()) return;
    // The table grows piece by piece as bytes actually arrive, so a size word from a damaged
    // file cannot reserve more than the file holds.
    std::vector<uint8_t> newTable;
    size_t done = 0;
    while (done < size) {
        size_t piece = std::min<size_t>(pstream::MaxPiece, size - done);
        newTable.resize(done + piece);
        is.readBytes(newTable.data() + done, piece);
        if (!is.good()) return;
        done += piece;
    }
    growth = newGrowth;
    table = std::move(newTable);
}
