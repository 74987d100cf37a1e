// Reads the transactions of an OFX or QFX statement.
#pragma once

#include <string_view>
#include <vector>

#include "import/ImportItem.h"

// Every <STMTTRN>...</STMTTRN> block gives one item, from the first <CHECKNUM>, <DTPOSTED>,
// <MEMO>, <TRNAMT> and <NAME> in it (tags exactly as written). Nothing else of the file is
// interpreted, so headers, SGML or XML bodies and unknown elements all read alike, and text
// without such blocks gives no items.
// An item whose date or amount cannot be used carries its problem; cutShort, when given, tells
// whether the text ends inside a transaction or before the end of the statement.
std::vector<TImportItem> ReadOfxStatement(std::string_view text, bool* cutShort = nullptr);
