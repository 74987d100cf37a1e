// What the account ledger and the envelope ledger reports share: the transactions of one account
// or envelope node as its ledger lists them (store order, multiples as the ledger shows them),
// narrowed by the dialog's filter and date range, with their column texts, the payments and
// deposits added up, the tab-delimited text and the printed pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Money.h"
#include "reports/TableReport.h"
#include "transactions/EditableFilter.h"

class TQuilletData;

class TLedgerReport : public TTableReport {
public:
    static constexpr int RowsPerPage = 44;  // transactions; the table adds the header row

    // The dialog's "Advanced Filter..." edits this filter; preparing the data sets its node and
    // its date range.
    TEditableFilter& Filter() { return filter; }

    uint32_t Count() const { return static_cast<uint32_t>(lines.size()); }
    // Of every line: payments as a positive sum, deposits.
    TMoney Payments() const { return payments; }
    TMoney Deposits() const { return deposits; }

    // The clipboard text; lines end with "\n".
    std::string GetText() const;
    // What "Export to File..." writes.
    std::string GetFileText() const;

    // Room for (transactions + 4) lines, 44 to a page.
    int GetPageCount() override;

protected:
    // A column of the report: the transaction column it shows (0: the description, made of the
    // payable to and the memo), its length, its header, its printed weight and alignment.
    struct TLedgerColumn {
        uint32_t source;
        size_t length;
        const char* header;
        uint8_t weight;
        uint32_t align;
    };

    TLedgerReport(uint32_t filterMode, std::vector<TLedgerColumn> columns, std::string title);

    // Fills the lines from the document's store: the filter's node becomes id and its date range
    // from-to.
    void Collect(TQuilletData& doc, uint32_t id, TDate from, TDate to);
    // The line that ends the text: "Subtotals" and "Total" stand in the column before X.
    std::string Totals() const;
    // A transaction's line without one column (SIZE_MAX: all of them), the given line end after.
    std::string Line(size_t index, size_t skipColumn, const char* end) const;
    size_t ColumnCount() const { return columns.size(); }
    size_t ClearedColumn() const { return columns.size() - 3; }

    std::vector<TColumn> Columns() const override;
    uint8_t TableRows() const override { return RowsPerPage + 1; }
    std::string BodyCell(int page, int row, int column) const override;

private:
    TEditableFilter filter;
    std::vector<TLedgerColumn> columns;
    std::vector<std::vector<std::string>> lines;
    TMoney payments, deposits;
};
