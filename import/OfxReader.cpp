#include "import/OfxReader.h"

#include <string>

#include "import/StatementText.h"

namespace {

constexpr std::string_view OpenTag = "<STMTTRN>";
constexpr std::string_view CloseTag = "</STMTTRN>";

// The text after the first occurrence of the tag up to the next "<", trimmed; empty when the
// block has no such tag.
std::string TagValue(std::string_view block, std::string_view tag) {
    size_t at = block.find(tag);
    if (at == std::string_view::npos) return {};
    std::string_view rest = block.substr(at + tag.size());
    rest = rest.substr(0, rest.find('<'));
    return std::string(TrimStatementBlanks(rest));
}

// Posting dates come as YYYYMMDD with an optional time and zone after them; the date parser reads
// MM/DD/YYYY. Shorter values go to the parser as they are.
TDate PostedDate(const std::string& value, int currentYear) {
    if (value.size() < 8) return ReadStatementDate(value, currentYear);
    std::string rewritten;
    rewritten.reserve(10);
    rewritten.append(value, 4, 2).append("/").append(value, 6, 2).append("/").append(value, 0, 4);
    return ReadStatementDate(rewritten, currentYear);
}

}  // namespace

std::vector<TImportItem> ReadOfxStatement(std::string_view text, bool* cutShort) {
    std::vector<TImportItem> items;
    const int currentYear = TDate::Today().Year();
    std::string block;
    size_t from = 0;
    for (;;) {
        size_t open = text.find(OpenTag, from);
        if (open == std::string_view::npos) break;
        size_t close = text.find(CloseTag, open + OpenTag.size());
        if (close == std::string_view::npos) break;
        from = close + CloseTag.size();

        // Values may be wrapped over lines; the line ends are dropped, not turned into blanks.
        block.clear();
        for (char c : text.substr(open + OpenTag.size(), close - open - OpenTag.size()))
            if (c != '\r' && c != '\n') block.push_back(c);

        TImportItem item;
        item.number = TagValue(block, "<CHECKNUM>");
        std::string posted = TagValue(block, "<DTPOSTED>");
        item.date = PostedDate(posted, currentYear);
        item.memo = TagValue(block, "<MEMO>");
        item.amount = ReadStatementAmount(TagValue(block, "<TRNAMT>"), &item.problem);
        if (item.problem.empty()) item.problem = StatementDateProblem(item.date, posted);
        item.name = TagValue(block, "<NAME>");
        items.push_back(std::move(item));
    }
    if (cutShort) {
        bool openBlock = text.find(OpenTag, from) != std::string_view::npos;
        bool unclosed = text.find("<OFX>") != std::string_view::npos &&
                        text.find("</OFX>", from) == std::string_view::npos;
        *cutShort = openBlock || unclosed;
    }
    return items;
}
