// Ordered named settings {key, value, qualifier}, carried by the configuration and by each budget
// file. Keys compare without regard to case; the qualifier tells apart entries of one key (for
// example the account an import option belongs to).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ipstream;
class opstream;

struct TSettingsEntry {
    std::string key;
    std::string value;
    int32_t qualifier = 0;
};

class TSettingsList {
public:
    void SetString(const std::string& key, const std::string& value, int32_t qualifier = 0);
    void SetInt(const std::string& key, int32_t value, int32_t qualifier = 0);
    std::string GetString(const std::string& key, const std::string& defaultValue,
                          int32_t qualifier = 0) const;
    int32_t GetInt(const std::string& key, int32_t defaultValue, int32_t qualifier = 0) const;

    const std::vector<TSettingsEntry>& Entries() const { return entries; }
    size_t Count() const { return entries.size(); }
    void Clear() { entries.clear(); }

    // Stream form: word16 layout (2), word16 count, then key, value, qualifier per entry.
    void Write(opstream& os) const;
    void Read(ipstream& is);

private:
    std::vector<TSettingsEntry> entries;
};
