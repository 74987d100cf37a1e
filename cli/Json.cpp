#include "cli/Json.h"

#include <charconv>
#include <cmath>

#include "core/Text.h"

std::string JsonQuote(const std::string& utf8) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 0xF];
                } else if (size_t n = Utf8SequenceLength(utf8, i); n > 0) {
                    out.append(utf8, i, n);
                    i += n;
                    continue;
                } else {
                    out += "\\ufffd";
                }
        }
        ++i;
    }
    out += '"';
    return out;
}

void TJsonWriter::NewLine() {
    if (!pretty) return;
    out += '\n';
    out.append(levels.size() * 2, ' ');
}

void TJsonWriter::BeforeValue() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (levels.empty()) return;
    if (levels.back().count++ > 0) out += ',';
    NewLine();
}

void TJsonWriter::Open(char c, bool object) {
    BeforeValue();
    out += c;
    levels.push_back({object, 0});
}

void TJsonWriter::Close(char c) {
    if (levels.empty()) return;
    bool empty = levels.back().count == 0;
    levels.pop_back();
    if (!empty) NewLine();
    out += c;
    if (levels.empty() && pretty) out += '\n';
}

TJsonWriter& TJsonWriter::BeginObject() {
    Open('{', true);
    return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
    Close('}');
    return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
    Open('[', false);
    return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
    Close(']');
    return *this;
}

TJsonWriter& TJsonWriter::Key(const std::string& utf8) {
    BeforeValue();
    out += JsonQuote(utf8);
    out += pretty ? ": " : ":";
    afterKey = true;
    return *this;
}

TJsonWriter& TJsonWriter::String(const std::string& utf8) {
    BeforeValue();
    out += JsonQuote(utf8);
    return *this;
}

TJsonWriter& TJsonWriter::Text(const std::string& cp1252) {
    return String(Cp1252ToUtf8(cp1252));
}

TJsonWriter& TJsonWriter::Int(int64_t value) {
    BeforeValue();
    out += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::UInt(uint64_t value) {
    BeforeValue();
    out += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
    BeforeValue();
    out += value ? "true" : "false";
    return *this;
}

TJsonWriter& TJsonWriter::Null() {
    BeforeValue();
    out += "null";
    return *this;
}

TJsonWriter& TJsonWriter::Float(float value) {
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
    return *this;
}
