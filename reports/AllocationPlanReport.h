// The allocation plan report: the plan's rows with their totals and one amount per plan column
// in use, all in one chosen period, and the column totals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plan/Period.h"
#include "reports/ReportText.h"
#include "reports/TableReport.h"

class TQuilletData;

// The dialog's transfer buffer: the "Select Plan Period" choice.
struct TAllocationPlanReportBuffer {
    uint32_t period = Period::Monthly;
};

class TAllocationPlanReport : public TTableReport {
public:
    static constexpr int RowsPerPage = 48;
    static constexpr int PlanColumns = 10;

    TAllocationPlanReport() : TTableReport("Allocation Plan Report", false) {}

    // Loads the plan's working model, copies what the report shows and ends the edit unchanged,
    // so nothing is written back.
    void Prepare(TQuilletData& doc, const TAllocationPlanReportBuffer& buffer);
    uint32_t Count() const { return static_cast<uint32_t>(rows.size()); }

    std::string GetText() const;
    std::string GetFileText() const;
    TClipboardContent GetClipboard() const { return {GetText(), {}, {}}; }

    int GetPageCount() override { return PageCount(); }

protected:
    std::vector<TColumn> Columns() const override;
    uint8_t TableRows() const override { return RowsPerPage + 2; }
    std::string PageTitle() const override { return "Allocation Plan - " + periodName; }
    std::string BodyCell(int page, int row, int column) const override;

private:
    int PageCount() const;

    struct TRow {
        std::string name;
        std::string total;
        std::vector<std::string> cells;  // one per plan column; empty for columns not in use
    };
    std::string periodName;
    std::vector<std::string> columnNames;  // ten; empty when not in use
    std::vector<TRow> rows;
    TRow totals;
};
