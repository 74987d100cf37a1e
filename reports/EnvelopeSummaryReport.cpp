#include "reports/EnvelopeSummaryReport.h"

#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"

namespace {
constexpr size_t NameLength = 127;
}

void TEnvelopeSummaryReport::Prepare(TQuilletData& doc,
                                     const TEnvelopeSummaryReportBuffer& buffer) {
    const TFormSize* chosen = FindFormSize(static_cast<int>(buffer.size));
    size = chosen ? chosen : &FormSizes[0];
    rows.clear();
    const TEnvelopeNode* top = doc.GetEnvelopes().FindById(buffer.node);
    for (const TTreeItem* n = top; n; n = n->NextWithin(top, true)) {
        const auto* node = static_cast<const TEnvelopeNode*>(n);
        rows.push_back({CutText(node->GetName(), NameLength), node->GetBalance()});
    }
}

std::string TEnvelopeSummaryReport::GetText() const {
    std::string text = "Envelope\tBalance\r";
    for (const TRow& r : rows)
        text += r.name + "\t" + LedgerAmount(r.balance) + "\r";
    return text;
}

std::string TEnvelopeSummaryReport::GetFileText() const {
    return TextModeBytes(GetText());
}

int TEnvelopeSummaryReport::GetPageCount() {
    return static_cast<int>((rows.size() + static_cast<size_t>(PerPage()) - 1) /
                            static_cast<size_t>(PerPage()));
}

void TEnvelopeSummaryReport::GetPageSize(int& width, int& height) {
    width = size->pageWidthMm;
    height = size->pageHeightMm;
}

void TEnvelopeSummaryReport::GetTemplate(int, TTemplateRef& ref) {
    ref.resource = size->resource;
}

int TEnvelopeSummaryReport::ColumnOf(int field) const {
    for (int k = 0; k < size->columns; ++k)
        if (size->fields[static_cast<size_t>(k)] == field) return k;
    return -1;
}

void TEnvelopeSummaryReport::GetField(int page, int field, TFormFieldInfo& info) {
    if (ColumnOf(field) >= 0) {
        TTableReport::GetField(page, FormBodyField, info);
        return;
    }
    // Only the standard page carries the title and the footer.
    if (size->resource == FormSizes[0].resource &&
        (field == FormTitleField || field == FormFooterField)) {
        TTableReport::GetField(page, field, info);
        return;
    }
    info.type = FieldNothing;
}

void TEnvelopeSummaryReport::GetCell(int page, int field, int row, int column,
                                     TFormFieldInfo& info) {
    cellColumn = ColumnOf(field);
    if (cellColumn < 0) {
        info.type = FieldNothing;
        return;
    }
    if (!size->header) ++row;  // every row of a headerless table is a body row
    TTableReport::GetCell(page, FormBodyField, row, column, info);
}

std::vector<TTableReport::TColumn> TEnvelopeSummaryReport::Columns() const {
    return {{60, 0, "Envelope"}, {40, TextRight, "Balance"}};
}

std::string TEnvelopeSummaryReport::BodyCell(int page, int row, int column) const {
    if (page < 1 || row < 2 || cellColumn < 0) return {};
    const size_t index = static_cast<size_t>(page - 1) * static_cast<size_t>(PerPage()) +
                         static_cast<size_t>(cellColumn * PerColumn() + row - 2);
    if (index >= rows.size()) return {};
    return column == 1 ? rows[index].name : LedgerAmount(rows[index].balance);
}
