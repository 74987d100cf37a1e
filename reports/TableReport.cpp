#include "reports/TableReport.h"

#include <algorithm>
#include <cstring>

#include "core/Date.h"

std::vector<char> TableLayout(const std::vector<uint8_t>& weights, uint8_t rows) {
    std::vector<char> bytes;
    bytes.reserve(weights.size() + 3);
    bytes.push_back(static_cast<char>(weights.size()));
    for (uint8_t w : weights)
        bytes.push_back(static_cast<char>(w));
    bytes.push_back(static_cast<char>(rows));
    bytes.push_back(0);
    return bytes;
}

std::string PageFooter(int page) {
    return "Page " + std::to_string(page) + ", " + TDate::Today().Format(DateLongYear);
}

void TTableReport::GetTemplate(int /*page*/, TTemplateRef& ref) {
    ref.resource = FormStandard;
}

void TTableReport::AnswerText(TFormFieldInfo& info, std::string text, uint32_t flags) {
    answer = std::move(text);
    info.type = FieldText;
    info.flags = flags;
    info.text = answer.c_str();
}

void TTableReport::GetField(int page, int field, TFormFieldInfo& info) {
    switch (field) {
        case FormBodyField: {
            std::vector<uint8_t> weights;
            for (const TColumn& c : Columns())
                weights.push_back(c.weight);
            layout = TableLayout(weights, TableRows());
            info.type = FieldTable;
            info.flags = TableHorizontal | TableVertical;
            info.text = layout.data();
            break;
        }
        case FormTitleField:
            if (page == 1)
                AnswerText(info, PageTitle(), TextCentre | (bold ? TextBold : 0u));
            else
                info.type = FieldNothing;
            break;
        case FormFooterField:
            AnswerText(info, PageFooter(page), TextRight);
            break;
        default:
            info.type = FieldNothing;
    }
}

void TTableReport::GetCell(int page, int field, int row, int column, TFormFieldInfo& info) {
    if (field != FormBodyField) {
        info.type = FieldNothing;
        return;
    }
    std::vector<TColumn> columns = Columns();
    if (column < 1 || column > static_cast<int>(columns.size())) {
        info.type = FieldNothing;
        return;
    }
    const TColumn& c = columns[static_cast<size_t>(column - 1)];
    if (row == 1) {
        AnswerText(info, c.header, TextCentre);
        info.backColor = ReportHeaderGrey;
        return;
    }
    AnswerText(info, BodyCell(page, row, column), c.align);
}

void TTableReport::GetTitle(char* buffer, size_t size) {
    if (!buffer || size == 0) return;
    size_t n = std::min(title.size(), size - 1);
    std::memcpy(buffer, title.data(), n);
    buffer[n] = '\0';
}
