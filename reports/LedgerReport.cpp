#include "reports/LedgerReport.h"

#include "core/QuilletData.h"
#include "reports/ReportText.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

constexpr size_t DescriptionPart = 89;  // the payable to and the memo, each

std::string Description(const TXItem& item) {
    std::string payableTo = CutText(item.GetCellText(XColPayableToExpanded), DescriptionPart);
    std::string memo = CutText(item.GetCellText(XColMemoExpanded), DescriptionPart);
    return memo.empty() ? payableTo : payableTo + " (" + memo + ")";
}

}  // namespace

TLedgerReport::TLedgerReport(uint32_t filterMode, std::vector<TLedgerColumn> columns,
                             std::string title)
    : TTableReport(std::move(title), true), filter(filterMode, 0), columns(std::move(columns)) {}

void TLedgerReport::Collect(TQuilletData& doc, uint32_t id, TDate from, TDate to) {
    filter.SetId(id);
    filter.SetDateRange(from, to);
    filter.SetDateRangeChosen(true);
    lines.clear();
    payments = deposits = TMoney();

    TXManager& store = doc.GetXManager();
    const uint32_t count = store.GetCount();
    for (uint32_t p = 1; p <= count; ++p) {
        const TXRecord& r = store.RecordAt(p);
        if (r.IsFree() || r.IsDeleted() || !filter.Match(r)) continue;
        TXItem* item = store.GetItem(r.id);
        if (!item) continue;
        const int32_t amount = item->Record().amount;
        if (amount < 0)
            payments -= TMoney(amount);
        else
            deposits += TMoney(amount);
        std::vector<std::string> line;
        line.reserve(columns.size());
        for (const TLedgerColumn& c : columns)
            line.push_back(c.source == 0 ? Description(*item)
                                         : CutText(item->GetCellText(c.source), c.length));
        store.Release(item);
        lines.push_back(std::move(line));
    }
}

std::string TLedgerReport::Line(size_t index, size_t skipColumn, const char* end) const {
    std::string text;
    bool first = true;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c == skipColumn) continue;
        if (!first) text += '\t';
        text += lines[index][c];
        first = false;
    }
    return text + end;
}

std::string TLedgerReport::Totals() const {
    // The labels stand in the column before X; payments first, then deposits.
    std::string lead(ClearedColumn() - 1, '\t');
    return "\n" + lead + "Subtotals\t\t" + LedgerAmount(payments) + "\t" + LedgerAmount(deposits) +
           "\n\n" + lead + "Total\t\t" + LedgerAmount(deposits - payments) + "\t\n";
}

std::string TLedgerReport::GetText() const {
    std::string text;
    for (size_t c = 0; c < columns.size(); ++c)
        text += std::string(c ? "\t" : "") + columns[c].header;
    text += '\n';
    for (size_t i = 0; i < lines.size(); ++i)
        text += Line(i, SIZE_MAX, "\n");
    return text + Totals();
}

std::string TLedgerReport::GetFileText() const {
    return TextModeBytes(GetText());
}

int TLedgerReport::GetPageCount() {
    return static_cast<int>((lines.size() + 4 + RowsPerPage - 1) / RowsPerPage);
}

std::vector<TTableReport::TColumn> TLedgerReport::Columns() const {
    std::vector<TColumn> out;
    for (const TLedgerColumn& c : columns)
        out.push_back({c.weight, c.align, c.header});
    return out;
}

std::string TLedgerReport::BodyCell(int page, int row, int column) const {
    if (page < 1 || row < 2 || column < 1 || static_cast<size_t>(column) > columns.size())
        return {};
    const size_t index = static_cast<size_t>(page - 1) * RowsPerPage + static_cast<size_t>(row - 2);
    const size_t col = static_cast<size_t>(column - 1);
    const size_t n = lines.size();
    if (index < n) return lines[index][col];
    // One empty row, the subtotals, another empty row, the total.
    const size_t label = ClearedColumn() - 1, payment = columns.size() - 2;
    if (index == n + 1) {
        if (col == label) return "Subtotals";
        if (col == payment) return LedgerAmount(payments);
        if (col == payment + 1) return LedgerAmount(deposits);
    } else if (index == n + 3) {
        if (col == label) return "Total";
        if (col == payment) return LedgerAmount(deposits - payments);
    }
    return {};
}
