// A small JSON writer for the console program's output. Keys and values are UTF-8; record text
// (Windows-1252) goes through Text, which converts it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The string in double quotes with JSON escapes; bytes that are not valid UTF-8 become U+FFFD,
// so the output is always valid JSON.
std::string JsonQuote(const std::string& utf8);

class TJsonWriter {
public:
    // Pretty output puts every member on its own line, indented by two blanks a level.
    explicit TJsonWriter(bool pretty = true) : pretty(pretty) {}

    TJsonWriter& BeginObject();
    TJsonWriter& EndObject();
    TJsonWriter& BeginArray();
    TJsonWriter& EndArray();
    TJsonWriter& Key(const std::string& utf8);

    TJsonWriter& String(const std::string& utf8);
    TJsonWriter& Text(const std::string& cp1252);
    TJsonWriter& Int(int64_t value);
    TJsonWriter& UInt(uint64_t value);
    TJsonWriter& Bool(bool value);
    // The shortest text that reads back as the same float.
    TJsonWriter& Float(float value);
    TJsonWriter& Null();

    // Shorthands for an object member.
    TJsonWriter& Member(const std::string& key, const std::string& utf8) {
        return Key(key).String(utf8);
    }
    TJsonWriter& Member(const std::string& key, int64_t value) { return Key(key).Int(value); }

    // The text written so far; complete once every object and array is closed.
    const std::string& str() const { return out; }

private:
    struct Level {
        bool object;
        int count;
    };
    void BeforeValue();
    void Open(char c, bool object);
    void Close(char c);
    void NewLine();

    std::string out;
    std::vector<Level> levels;
    bool afterKey = false;
    bool pretty;
};
