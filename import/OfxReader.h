// Reads the transactions of an OFX or QFX statement.
#pragma once

#include <string_view>
#include <vector>

#include "import/ImportItem.h"

// Every <STMTTRN>...</STMTTRN> block gives one item, from the first <CHECKNUM>, <DTPOSTED>,
// <MEMO>, <TRNAMT> and <NAME> in it (tags exactly as written). Nothing else of the file is
// interpreted, so headers, SGML or XML bodies and unknown elements all read alike, and text
// without such blocks gives no items.
std::vector<TImportItem> ReadOfxStatement(std::string_view text);
