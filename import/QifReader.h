// Reads the transactions of a QIF file.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "import/ImportItem.h"

// Longest line kept; the rest of a longer line is dropped.
constexpr size_t QifLineLimit = 1023;

// Lines end at CR, at LF or at the end of the text. An "!Account" block at the start is skipped,
// as is a "!Type:" line; then each item runs up to a line containing "^". Lines are read by their
// first character: D date, T amount, N number, P payee, M memo; other lines are ignored. Items
// without both a date line and an amount line are dropped.
// An item whose date or amount cannot be used carries its problem; cutShort, when given, tells
// whether the text ends inside an item.
std::vector<TImportItem> ReadQifStatement(std::string_view text, bool* cutShort = nullptr);
