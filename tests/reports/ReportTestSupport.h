// A printed report's answers, asked for one at a time.
#pragma once

#include "reports/FormEngine.h"

namespace reporttest {

inline TFormFieldInfo Field(CFWEngine& report, int page, int field) {
    TFormFieldInfo info;
    report.GetField(page, field, info);
    return info;
}

inline TFormFieldInfo Cell(CFWEngine& report, int page, int field, int row, int column) {
    TFormFieldInfo info;
    report.GetCell(page, field, row, column, info);
    return info;
}

}  // namespace reporttest
