#include "core/Text.h"

#include <limits>

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their own number.
constexpr char32_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t CodePointOf(uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return HighControls[byte - 0x80];
    return byte;  // ASCII and 0xA0..0xFF are Latin-1
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is malformed
// (overlong forms, surrogates and values beyond U+10FFFF included).
size_t DecodeUtf8(const std::string& text, size_t i, char32_t& cp) {
    auto at = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    uint8_t lead = at(i);
    size_t length;
    char32_t min;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, min = 0x80, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min = 0x800, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (at(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

// Sign and magnitude of the leading number; the magnitude saturates at limit.
void ReadLeading(const std::string& text, bool& negative, uint64_t& magnitude, uint64_t limit) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - '0');
        if (magnitude > limit) magnitude = limit;
    }
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, CodePointOf(static_cast<uint8_t>(c)));
    return out;
}

std::string Utf8ToCp1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        out += ByteOf(cp);
        i += length;
    }
    return out;
}

size_t Utf8SequenceLength(const std::string& text, size_t pos) {
    if (pos >= text.size()) return 0;
    char32_t cp = 0;
    return DecodeUtf8(text, pos, cp);
}

int32_t ReadLeadingInt(const std::string& text) {
    bool negative;
    uint64_t magnitude;
    constexpr uint64_t limit = uint64_t{1} << 31;
    ReadLeading(text, negative, magnitude, limit);
    if (negative) return static_cast<int32_t>(-static_cast<int64_t>(magnitude));
    if (magnitude >= limit) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(magnitude);
}

uint32_t ReadLeadingUnsigned(const std::string& text) {
    bool negative;
    uint64_t magnitude;
    ReadLeading(text, negative, magnitude, std::numeric_limits<uint32_t>::max());
    uint32_t value = static_cast<uint32_t>(magnitude);
    return negative ? 0u - value : value;
}
