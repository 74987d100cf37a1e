#include "reports/AllocationPlanReport.h"

#include "core/QuilletData.h"
#include "plan/AllocationPlan.h"

namespace {

// Column names in the printed header are cut to seven characters followed by "...".
std::string HeaderName(const std::string& name) {
    return name.size() > 7 ? name.substr(0, 7) + "..." : name;
}

}  // namespace

void TAllocationPlanReport::Prepare(TQuilletData& doc, const TAllocationPlanReportBuffer& buffer) {
    TAllocationPlan& plan = doc.GetPlan();
    const uint32_t period = buffer.period;
    periodName = TPeriod().GetName(period);
    const bool wasEditing = plan.IsEditing();
    plan.BeginEdit();
    columnNames.assign(PlanColumns, std::string());
    for (uint32_t c = 1; c <= PlanColumns; ++c)
        columnNames[c - 1] = plan.GetColumnName(c);

    auto line = [&](std::string name, TMoney total, auto cell) {
        TRow row{std::move(name), PlainAmount(total), std::vector<std::string>(PlanColumns)};
        for (uint32_t c = 1; c <= PlanColumns; ++c)
            if (!columnNames[c - 1].empty()) row.cells[c - 1] = PlainAmount(cell(c));
        return row;
    };
    rows.clear();
    const uint32_t last = plan.GetLastUsedRow();
    for (uint32_t r = 1; r <= last; ++r)
        rows.push_back(line(plan.GetRowName(r), plan.GetRowTotal(r, period),
                            [&](uint32_t c) { return plan.GetCell(r, c, period); }));
    totals = line("Total", plan.GetGrandTotal(period),
                  [&](uint32_t c) { return plan.GetColumnTotal(c, period); });
    // A model the plan's own dialog holds stays loaded.
    if (!wasEditing) plan.EndEdit();
}

std::string TAllocationPlanReport::GetText() const {
    std::string text = "Envelope\tTotal";
    for (const std::string& name : columnNames)
        if (!name.empty()) text += "\t" + name;
    text += "\n";
    auto add = [&](const TRow& row) {
        text += row.name + "\t" + row.total;
        for (size_t c = 0; c < columnNames.size(); ++c)
            if (!columnNames[c].empty()) text += "\t" + row.cells[c];
        text += "\n";
    };
    for (const TRow& row : rows)
        add(row);
    add(totals);
    return text;
}

std::string TAllocationPlanReport::GetFileText() const {
    return TextModeBytes(GetText());
}

int TAllocationPlanReport::PageCount() const {
    return static_cast<int>((rows.size() + RowsPerPage - 1) / RowsPerPage);
}

std::vector<TTableReport::TColumn> TAllocationPlanReport::Columns() const {
    std::vector<TColumn> columns{{30, 0, "Envelope"}, {15, TextRight, "Total"}};
    for (const std::string& name : columnNames)
        columns.push_back({15, TextRight, HeaderName(name)});
    columns.resize(2 + PlanColumns, {15, TextRight, ""});
    return columns;
}

std::string TAllocationPlanReport::BodyCell(int page, int row, int column) const {
    if (page < 1 || row < 2 || column < 1 || column > 2 + PlanColumns) return {};
    const TRow* shown = nullptr;
    if (row <= RowsPerPage + 1) {
        size_t index = static_cast<size_t>(page - 1) * RowsPerPage + static_cast<size_t>(row - 2);
        if (index < rows.size()) shown = &rows[index];
    } else if (page == PageCount()) {
        shown = &totals;  // the last row of the last page
    }
    if (!shown) return {};
    if (column == 1) return shown->name;
    if (column == 2) return shown->total;
    return shown->cells[static_cast<size_t>(column - 3)];
}
