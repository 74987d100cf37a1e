// The account summary report: every account of the account tree in tree order with its balance
// and its cleared balance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Money.h"
#include "reports/ReportText.h"
#include "reports/TableReport.h"

class TQuilletData;

// The dialog asks nothing ("No details").
struct TAccountSummaryReportBuffer {};

class TAccountSummaryReport : public TTableReport {
public:
    static constexpr int RowsPerPage = 39;

    TAccountSummaryReport() : TTableReport("Account Summary Report", true) {}

    void Prepare(TQuilletData& doc, const TAccountSummaryReportBuffer& buffer = {});
    uint32_t Count() const { return static_cast<uint32_t>(rows.size()); }

    // One line per account, no header; lines end with "\n".
    std::string GetText() const;
    std::string GetFileText() const;
    TClipboardContent GetClipboard() const { return {GetText(), {}, {}}; }

    int GetPageCount() override;

protected:
    std::vector<TColumn> Columns() const override;
    uint8_t TableRows() const override { return RowsPerPage + 1; }
    std::string PageTitle() const override { return "Account Summary Report"; }
    std::string BodyCell(int page, int row, int column) const override;

private:
    struct TRow {
        std::string name;
        TMoney balance, cleared;
    };
    std::vector<TRow> rows;
};
