// Statement items as one line each, so a test compares what a reader made in one expectation.
#pragma once

#include <string>

#include "import/ImportItem.h"

// Date, cents, number, name and memo.
inline std::string Row(const TImportItem& i) {
    return i.date.Format(DateLongYear) + " " + std::to_string(i.amount.Cents()) + " #" + i.number +
           " [" + i.name + "] [" + i.memo + "]";
}
