// Tree test support: a node's children spelled out as "a,b,c".
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/TreeItem.h"

// Each child is named by label(child) as a Node; the back links are checked on the way.
template <class Node, class Label>
std::string ChildNames(const TTreeItem* parent, Label label) {
    std::string out;
    const TTreeItem* prev = nullptr;
    for (const TTreeItem* c = parent->GetFirstChild(); c; prev = c, c = c->GetNextSibling()) {
        EXPECT_EQ(c->GetParent(), parent);
        EXPECT_EQ(c->GetPrevSibling(), prev);
        out += (out.empty() ? "" : ",") + std::string(label(static_cast<const Node*>(c)));
    }
    return out;
}
