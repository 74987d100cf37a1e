// The envelope summary report: an envelope-tree node and every node below it with its balance,
// printed on one of six forms (a standard page, business cards, organizer pages).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Money.h"
#include "reports/FormSizes.h"
#include "reports/ReportText.h"
#include "reports/TableReport.h"

class TQuilletData;

// The dialog's transfer buffer: the node picked in the list and the "Report  &Size" id (1 to 6).
struct TEnvelopeSummaryReportBuffer {
    uint32_t node = 0;
    uint32_t size = 1;
};

class TEnvelopeSummaryReport : public TTableReport {
public:
    TEnvelopeSummaryReport() : TTableReport("Envelope Summary Report", true) {}

    // An unknown size prints on the standard form.
    void Prepare(TQuilletData& doc, const TEnvelopeSummaryReportBuffer& buffer);
    uint32_t Count() const { return static_cast<uint32_t>(rows.size()); }
    const TFormSize& Size() const { return *size; }

    // "Envelope\tBalance" and a line per node, each ending with a lone "\r".
    std::string GetText() const;
    std::string GetFileText() const;
    TClipboardContent GetClipboard() const { return {GetText(), {}, {}}; }

    void GetTemplate(int page, TTemplateRef& ref) override;
    void GetField(int page, int field, TFormFieldInfo& info) override;
    void GetCell(int page, int field, int row, int column, TFormFieldInfo& info) override;
    int GetPageCount() override;
    void GetPageSize(int& width, int& height) override;

protected:
    std::vector<TColumn> Columns() const override;
    uint8_t TableRows() const override { return static_cast<uint8_t>(size->rows); }
    std::string PageTitle() const override { return "Envelope Summary Report"; }
    std::string BodyCell(int page, int row, int column) const override;

private:
    // The place of a table field among the size's columns, -1 when it is none of them.
    int ColumnOf(int field) const;
    // Envelopes in one column of a page, and on a page.
    int PerColumn() const { return size->rows - (size->header ? 1 : 0); }
    int PerPage() const { return PerColumn() * size->columns; }

    struct TRow {
        std::string name;
        TMoney balance;
    };
    const TFormSize* size = &FormSizes[0];
    std::vector<TRow> rows;
    int cellColumn = 0;  // the size's column whose cells are being asked for
};
