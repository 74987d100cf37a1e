#include "reports/AccountSummaryReport.h"

#include "accounts/AccountList.h"
#include "core/QuilletData.h"

namespace {
constexpr size_t NameLength = 31;
}

void TAccountSummaryReport::Prepare(TQuilletData& doc, const TAccountSummaryReportBuffer&) {
    rows.clear();
    TAccountList& accounts = doc.GetAccounts();
    for (uint32_t n = 1;; ++n) {
        uint32_t id = accounts.GetAccountIdByIndex(n);
        if (id == 0) break;
        rows.push_back({CutText(accounts.GetAccountName(id), NameLength), accounts.GetBalance(id),
                        accounts.GetRecBalance(id)});
    }
}

std::string TAccountSummaryReport::GetText() const {
    std::string text;
    for (const TRow& r : rows)
        text += r.name + "\t" + LedgerAmount(r.balance) + "\t" + LedgerAmount(r.cleared) + "\n";
    return text;
}

std::string TAccountSummaryReport::GetFileText() const {
    return TextModeBytes(GetText());
}

int TAccountSummaryReport::GetPageCount() {
    return static_cast<int>((rows.size() + RowsPerPage - 1) / RowsPerPage);
}

std::vector<TTableReport::TColumn> TAccountSummaryReport::Columns() const {
    return {{50, 0, "Account"}, {20, TextRight, "Balance"}, {20, TextRight, "Cleared"}};
}

std::string TAccountSummaryReport::BodyCell(int page, int row, int column) const {
    if (page < 1 || row < 2) return {};
    size_t index = static_cast<size_t>(page - 1) * RowsPerPage + static_cast<size_t>(row - 2);
    if (index >= rows.size()) return {};
    const TRow& r = rows[index];
    switch (column) {
        case 1:
            return r.name;
        case 2:
            return LedgerAmount(r.balance);
        case 3:
            return LedgerAmount(r.cleared);
        default:
            return {};
    }
}
