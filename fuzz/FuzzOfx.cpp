// OFX statements: any bytes read to an end, and every item holds what a block can give.
// sources: import/OfxReader.cpp import/StatementText.cpp core/Money.cpp core/Date.cpp
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "import/OfxReader.h"

namespace {

size_t CountBlocks(std::string_view text) {
    size_t count = 0;
    for (size_t at = text.find("<STMTTRN>"); at != std::string_view::npos;
         at = text.find("<STMTTRN>", at + 1))
        ++count;
    return count;
}

void CheckText(const std::string& value) {
    // A value ends before the next tag, lost its line ends and is trimmed.
    if (value.find_first_of("<\r\n") != std::string::npos) std::abort();
    if (!value.empty() && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                           value.back() == '\t'))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto items = ReadOfxStatement(text);
    if (items.size() > CountBlocks(text)) std::abort();
    for (const auto& item : items) {
        if (!item.date.IsValid() && item.date != TDate()) std::abort();
        if (item.matched != 0) std::abort();
        CheckText(item.name);
        CheckText(item.memo);
        CheckText(item.number);
        // Amounts are read within the money range of the amount parser.
        if (item.amount.Cents() > 10000000000000000 || item.amount.Cents() < -10000000000000000)
            std::abort();
    }
    return 0;
}
