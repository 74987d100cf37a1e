// An ordered list of texts (duplicates allowed) that fills combo boxes and completes typed text.
// Positions are 1-based.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Compares two Windows-1252 texts without regard to letter case (accented letters included).
bool SameTextNoCase(std::string_view a, std::string_view b);
// Copies text into a caller's buffer: at most capacity - 1 bytes, always terminated.
void CopyToBuffer(char* buffer, size_t capacity, std::string_view text);

// What Complete found: how many typed characters are confirmed and which element to propose.
struct TCompletion {
    size_t length = 0;
    uint32_t position = 0;
    friend bool operator==(const TCompletion&, const TCompletion&) = default;
};

class TTarnStringList {
public:
    TTarnStringList() = default;
    virtual ~TTarnStringList() = default;

    void Add(const std::string& text) { items.push_back(text); }
    // Removes every element equal to text (byte for byte).
    void Remove(const std::string& text);
    // The text at a 1-based position; empty for 0 or a position beyond the count.
    const std::string& GetAt(uint32_t position) const;
    // The 1-based position of the first element equal to text (byte for byte), or 0. Lists that
    // show names differently (indented, any case) override it.
    virtual uint32_t Find(const std::string& text) const;
    // An exact match gives (its length, its position); otherwise the longest prefix of text that
    // begins some element, compared without regard to case, and the first such element; (0, 0)
    // when not even the first character matches.
    TCompletion Complete(const std::string& text) const;

    uint32_t Count() const { return static_cast<uint32_t>(items.size()); }
    const std::vector<std::string>& Items() const { return items; }

private:
    std::vector<std::string> items;
};
