// The part every tree node record shares: its children, written as a count and then one object
// pointer each, last child first, so that adding them in turn on reading rebuilds the order.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "core/ObjectStream.h"
#include "core/TreeItem.h"

// Counts how deep node records are being read. Trees written by the program are a handful of
// levels deep; a file nesting records deeper than the limit is damaged, and reading on would
// only exhaust the stack, so the reader fails the stream instead.
class TTreeReadDepth {
public:
    static constexpr int Limit = 200;
    TTreeReadDepth() { ++depth; }
    ~TTreeReadDepth() { --depth; }
    TTreeReadDepth(const TTreeReadDepth&) = delete;
    TTreeReadDepth& operator=(const TTreeReadDepth&) = delete;
    // False, with the stream failed, when the record is nested too deep to read.
    bool Allows(ipstream& is) const {
        if (depth <= Limit) return true;
        is.setstate(pstream::Failed);
        return false;
    }

private:
    static inline thread_local int depth = 0;
};

template <class Node>
void WriteChildRecords(opstream& os, const TTreeItem& parent) {
    uint32_t count = 0;
    for (const TTreeItem* c = parent.GetFirstChild(); c; c = c->GetNextSibling())
        ++count;
    os.writeWord32(count);
    for (const TTreeItem* c = parent.GetLastChild(); c; c = c->GetPrevSibling())
        os.writeObjectPointer(dynamic_cast<const Node*>(c));
}

// Reads the children: `take` is offered each child of the right class and answers whether the
// parent now holds it (and so owns it); `discard` gets every object read that did not find a
// place. Back references name objects someone else already holds and are never adopted.
template <class Node, class Take, class Discard>
void ReadChildRecords(ipstream& is, Take take, Discard discard) {
    uint32_t count = is.readWord();
    for (uint32_t i = 0; i < count && is.good(); ++i) {
        std::unique_ptr<Node> child = is.ReadObject<Node>(discard);
        if (!child) continue;
        if (take(child.get()))
            child.release();
        else
            discard(std::move(child));
    }
}
