// The envelope activity report: for an envelope-tree node and every node below it, what came in
// and went out within a date range (allocations, expenses, envelope transfers in and out), the
// balance before the range and after it. The figures come from one walk over every transaction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Date.h"
#include "reports/ReportText.h"
#include "reports/TableReport.h"

class TQuilletData;

// The dialog's transfer buffer: the node picked in the list, the range and the column boxes.
struct TEnvelopeActivityReportBuffer {
    uint32_t node = 0;
    TDate from;
    TDate to;
    TEnvelopeActivityColumns columns;
};

// One node's figures, in signed 32-bit cents; money out is counted positive.
struct TEnvelopeActivityRow {
    uint32_t node = 0;
    std::string name;
    int32_t allocations = 0;
    int32_t expenses = 0;
    int32_t transfersIn = 0;
    int32_t transfersOut = 0;
    int32_t start = 0;

    int32_t AllIn() const;
    int32_t AllOut() const;
    int32_t End() const;
};

class TEnvelopeActivityReport : public TTableReport {
public:
    static constexpr int RowsPerPage = 54;

    TEnvelopeActivityReport() : TTableReport("Envelope Activity Report", true) {}

    void Prepare(TQuilletData& doc, const TEnvelopeActivityReportBuffer& buffer);
    // The selected node first, then every node below it in tree order.
    const std::vector<TEnvelopeActivityRow>& Rows() const { return rows; }

    // Lines end with a lone "\r", on the clipboard as in the file.
    std::string GetText() const;
    std::string GetFileText() const;
    TClipboardContent GetClipboard() const { return {GetText(), {}, {}}; }

    int GetPageCount() override;

protected:
    std::vector<TColumn> Columns() const override;
    uint8_t TableRows() const override { return RowsPerPage + 1; }
    std::string PageTitle() const override;
    std::string BodyCell(int page, int row, int column) const override;

private:
    // The amount columns ticked, as 2..9 of the full table.
    std::vector<int> Ticked() const;
    static int32_t Value(const TEnvelopeActivityRow& row, int column);

    TEnvelopeActivityReportBuffer input;
    std::vector<TEnvelopeActivityRow> rows;
};
