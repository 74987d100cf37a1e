// Byte sequences written out by hand, to hold stream layouts against.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace streambytes {

using Bytes = std::vector<uint8_t>;

// The header of every stream written: ':' and the version 0x101.
inline const Bytes Header = {0x3A, 0x01, 0x01, 0x00, 0x00};

inline Bytes W32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
inline Bytes W16(uint16_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}
inline Bytes Raw(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A string with its 32-bit length.
inline Bytes Str(const std::string& s) {
    return Cat({W32(static_cast<uint32_t>(s.size())), Raw(s)});
}

}  // namespace streambytes
