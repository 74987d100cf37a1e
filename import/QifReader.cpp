#include "import/QifReader.h"

#include <cstdio>
#include <string>

#include "core/Text.h"
#include "import/StatementText.h"

namespace {

// Splits the text into its non-empty lines, each cut to the line limit. (CR LF ends a line and
// then yields an empty one; empty lines mean nothing anywhere in the file, so they are left out.)
class TQifLines {
public:
    explicit TQifLines(std::string_view text) : text(text) {}

    bool Next(std::string_view& line) {
        while (pos < text.size()) {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos) end = text.size();
            line = text.substr(pos, end - pos);
            pos = end + 1;
            if (line.size() > QifLineLimit) line = line.substr(0, QifLineLimit);
            if (!line.empty()) return true;
        }
        return false;
    }

private:
    std::string_view text;
    size_t pos = 0;
};

bool Contains(std::string_view line, std::string_view what) {
    return line.find(what) != std::string_view::npos;
}

// The rest of the line after its code, trimmed, without double quotes.
std::string FieldValue(std::string_view line) {
    std::string value;
    for (char c : TrimStatementBlanks(line.substr(1)))
        if (c != '"') value.push_back(c);
    return value;
}

// Banks that leave the number field empty often write "CHECK 1234" into the payee or memo.
void TakeCheckDigits(TImportItem& item, const std::string& value) {
    if (!item.number.empty()) return;
    if (!Contains(value, "CHECK") && !Contains(value, "check") && !Contains(value, "Check")) return;
    for (char c : value)
        if (c >= '0' && c <= '9') item.number.push_back(c);
}

// Check numbers are kept without leading zeros, so that 00123 and 123 are the same check.
void NormaliseNumber(std::string& number) {
    int32_t value = ReadLeadingInt(number);
    if (value <= 0) return;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(value));
    number = buf;
}

}  // namespace

std::vector<TImportItem> ReadQifStatement(std::string_view text, bool* cutShort) {
    if (cutShort) *cutShort = false;
    std::vector<TImportItem> items;
    const int currentYear = TDate::Today().Year();
    TQifLines lines(text);
    std::string_view line;
    if (!lines.Next(line)) return items;

    // Whole exports hold lists besides transactions (categories, classes, memorised entries,
    // securities, prices); their records are not statement lines and are passed over without a
    // word, until a transaction section begins again.
    bool inList = false;
    auto listHeader = [](std::string_view header) {
        for (const char* list : {"!Type:Cat", "!Type:Class", "!Type:Memorized", "!Type:Security",
                                 "!Type:Prices", "!Option", "!Clear"})
            if (Contains(header, list)) return true;
        return false;
    };
    bool pending = true;  // the current line has not been read as part of an item yet
    if (Contains(line, "!Account")) {
        // The account block names the account the file was exported from; this import is into
        // the account the user chooses.
        while (lines.Next(line) && !Contains(line, "^")) {
        }
        pending = false;
    } else if (Contains(line, "!Type:")) {
        pending = false;
        inList = listHeader(line);
    }

    for (;;) {
        TImportItem item;
        bool hasDate = false;
        bool hasAmount = false;
        bool ended = false;
        bool started = false;
        std::string amountProblem;
        std::string dateText;
        while (pending || lines.Next(line)) {
            pending = false;
            if (Contains(line, "^")) {
                ended = true;
                break;
            }
            started = true;
            if (line.front() == '!') {
                if (Contains(line, "!Type:") || Contains(line, "!Option") ||
                    Contains(line, "!Clear"))
                    inList = listHeader(line);
                continue;
            }
            switch (line.front()) {
                case 'D':
                    dateText = FieldValue(line);
                    item.date = ReadStatementDate(dateText, currentYear);
                    hasDate = true;
                    break;
                case 'T':
                    item.amount = ReadStatementAmount(FieldValue(line), &amountProblem);
                    hasAmount = true;
                    break;
                case 'N':
                    item.number = FieldValue(line);
                    break;
                case 'P':
                    item.name = FieldValue(line);
                    TakeCheckDigits(item, item.name);
                    break;
                case 'M':
                    item.memo = FieldValue(line);
                    TakeCheckDigits(item, item.memo);
                    break;
                default:
                    break;
            }
        }
        if (!ended) {  // an item is complete only at its "^" line
            if (cutShort) *cutShort = started;
            break;
        }
        item.problem =
            amountProblem.empty() ? StatementDateProblem(item.date, dateText) : amountProblem;
        if (item.name == item.memo) item.memo.clear();
        NormaliseNumber(item.number);
        if (hasDate && hasAmount && !inList) items.push_back(std::move(item));
    }
    return items;
}
