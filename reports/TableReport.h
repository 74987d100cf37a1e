// The report source shared by the reports printed on the one-table page (template 100): field 1
// is the body table with horizontal and vertical rules, field 2 the title on the first page, field
// 3 the footer "Page %d, %s" with today's date; row 1 of the table on every page is the column
// header on grey. A report says what its columns are and what stands in each body cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/FormEngine.h"
#include "reports/FormSizes.h"

// The column header row of every table.
inline constexpr uint32_t ReportHeaderGrey = FormRGB(196, 196, 196);

// The table layout bytes: column count, one weight per column, row count, pen width 0.
std::vector<char> TableLayout(const std::vector<uint8_t>& weights, uint8_t rows);

// The footer of every page: "Page %d, %s" with today's date and a four-digit year.
std::string PageFooter(int page);

class TTableReport : public TFormData {
public:
    void GetTemplate(int page, TTemplateRef& ref) override;
    void GetField(int page, int field, TFormFieldInfo& info) override;
    void GetCell(int page, int field, int row, int column, TFormFieldInfo& info) override;
    void GetTitle(char* buffer, size_t size) override;

protected:
    struct TColumn {
        uint8_t weight;
        uint32_t align;  // 0 left, TextCentre or TextRight
        std::string header;
    };
    // Title: what the print job is called.
    TTableReport(std::string title, bool boldTitle) : title(std::move(title)), bold(boldTitle) {}

    virtual std::vector<TColumn> Columns() const = 0;
    // Table rows on every page, the header row included.
    virtual uint8_t TableRows() const = 0;
    // The title line of the first page.
    virtual std::string PageTitle() const = 0;
    // The text of a body cell: table row 2 and below of the given page, 1-based column.
    virtual std::string BodyCell(int page, int row, int column) const = 0;

    // Answers a text cell, keeping the text alive until the next question.
    void AnswerText(TFormFieldInfo& info, std::string text, uint32_t flags);

private:
    std::string title;
    bool bold;
    std::vector<char> layout;
    std::string answer;
};
