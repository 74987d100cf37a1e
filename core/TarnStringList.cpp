#include "core/TarnStringList.h"

#include <algorithm>
#include <cstring>

namespace {

// Lower case of one Windows-1252 byte: ASCII letters, the accented letters of the upper half
// and the few capitals that sit among the punctuation (S and Z with caron, OE ligature, Y with
// diaeresis).
unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A:
        case 0x8C:
        case 0x8E:
            return static_cast<unsigned char>(c + 16);
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

bool SamePrefixNoCase(std::string_view a, std::string_view b, size_t n) {
    if (a.size() < n || b.size() < n) return false;
    return SameTextNoCase(a.substr(0, n), b.substr(0, n));
}

}  // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) !=
            FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void CopyToBuffer(char* buffer, size_t capacity, std::string_view text) {
    if (!buffer || capacity == 0) return;
    size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

void TTarnStringList::Remove(const std::string& text) {
    std::erase(items, text);
}

const std::string& TTarnStringList::GetAt(uint32_t position) const {
    static const std::string empty;
    if (position == 0 || position > items.size()) return empty;
    return items[position - 1];
}

uint32_t TTarnStringList::Find(const std::string& text) const {
    auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? 0 : static_cast<uint32_t>(it - items.begin()) + 1;
}

TCompletion TTarnStringList::Complete(const std::string& text) const {
    size_t n = text.size();
    if (uint32_t exact = Find(text)) return {n, exact};
    for (; n != 0; --n) {
        for (size_t i = 0; i < items.size(); ++i)
            if (SamePrefixNoCase(items[i], text, n)) return {n, static_cast<uint32_t>(i) + 1};
    }
    return {0, 0};
}
