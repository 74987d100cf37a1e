#include "core/SettingsList.h"

#include <algorithm>

#include "core/ObjectStream.h"
#include "core/Text.h"

namespace {

constexpr uint16_t ListLayout = 2;
constexpr size_t TextCapacity = 1024;  // key and value buffers, terminator included

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameKey(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

void TSettingsList::SetString(const std::string& key, const std::string& value, int32_t qualifier) {
    for (auto& e : entries) {
        if (e.qualifier == qualifier && SameKey(e.key, key)) {
            e.value = value;
            return;
        }
    }
    entries.push_back({key, value, qualifier});
}

void TSettingsList::SetInt(const std::string& key, int32_t value, int32_t qualifier) {
    SetString(key, std::to_string(value), qualifier);
}

std::string TSettingsList::GetString(const std::string& key, const std::string& defaultValue,
                                     int32_t qualifier) const {
    for (const auto& e : entries)
        if (e.qualifier == qualifier && SameKey(e.key, key)) return e.value;
    return defaultValue;
}

int32_t TSettingsList::GetInt(const std::string& key, int32_t defaultValue,
                              int32_t qualifier) const {
    return ReadLeadingInt(GetString(key, std::to_string(defaultValue), qualifier));
}

void TSettingsList::Write(opstream& os) const {
    // The count is a word16; a list can never grow that long in practice, but the file must stay
    // consistent with its count if it did.
    size_t count = std::min<size_t>(entries.size(), 0xFFFF);
    os.writeWord16(ListLayout);
    os.writeWord16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        os.writeString(entries[i].key);
        os.writeString(entries[i].value);
        os.writeWord32(static_cast<uint32_t>(entries[i].qualifier));
    }
}

void TSettingsList::Read(ipstream& is) {
    uint16_t layout = is.readWord16();
    uint16_t count = is.readWord16();
    if (!is.good()) return;
    entries.clear();
    // The count comes from the file: entries are added only as they are actually read, so a
    // damaged count costs nothing beyond the bytes that are there.
    for (uint16_t i = 0; i < count; ++i) {
        char key[TextCapacity] = "";
        char value[TextCapacity] = "";
        is.readString(key, sizeof key);
        is.readString(value, sizeof value);
        int32_t qualifier = layout >= 2 ? static_cast<int32_t>(is.readWord32()) : 0;
        if (!is.good()) return;
        entries.push_back({key, value, qualifier});
    }
}
