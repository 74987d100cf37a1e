#include "core/Idler.h"

#include <vector>

namespace {

std::vector<TIdler*>& Entries() {
    static std::vector<TIdler*> entries;
    return entries;
}

int passDepth = 0;  // passes may nest when an idle call runs a modal loop

// Drops the nulls left by destroyed entries, keeping the order, so that documents opened and
// closed over a long session do not leave the list growing. Only done outside a pass, since a
// running pass walks the list by position.
void Compact() {
    std::vector<TIdler*>& entries = Entries();
    size_t kept = 0;
    for (TIdler* entry : entries)
        if (entry) entries[kept++] = entry;
    entries.resize(kept);
}

}  // namespace

TIdler::TIdler() : slot(Entries().size()) {
    Entries().push_back(this);
}

TIdler::TIdler(const TIdler&) : TIdler() {}

TIdler::~TIdler() {
    // Slots are renumbered whenever the list is compacted, so the entry is always at its slot.
    std::vector<TIdler*>& entries = Entries();
    if (slot < entries.size() && entries[slot] == this) entries[slot] = nullptr;
}

void TIdler::RunIdlers() {
    if (passDepth == 0) {
        Compact();
        std::vector<TIdler*>& entries = Entries();
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i]->slot = i;
    }
    struct Depth {
        Depth() { ++passDepth; }
        ~Depth() { --passDepth; }
    } depth;
    // By position, and re-reading the size, because an entry may create or destroy others.
    for (size_t i = 0; i < Entries().size(); ++i)
        if (TIdler* entry = Entries()[i]) entry->Idle();
}

size_t TIdler::CountIdlers() {
    size_t count = 0;
    for (TIdler* entry : Entries())
        if (entry) ++count;
    return count;
}
