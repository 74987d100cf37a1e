// Stream test support: byte sequences written out by hand to hold layouts against, and reading
// or writing one object through the memory streams.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/ObjectStream.h"

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

// Reads one object pointer of type T from the bytes; the stream's final state goes to state.
template <class T>
std::unique_ptr<T> ReadAs(const Bytes& bytes, int* state = nullptr) {
    imemstream is(bytes);
    T* object = nullptr;
    is >> object;
    if (state) *state = is.rdstate();
    return std::unique_ptr<T>(object);
}

// Reads as ReadAs does and expects the stream to end in the given state.
template <class T>
std::unique_ptr<T> ReadExpecting(const Bytes& bytes, int expected) {
    int state = -1;
    auto object = ReadAs<T>(bytes, &state);
    EXPECT_EQ(state, expected);
    return object;
}

// Writes one object pointer, header first.
inline Bytes WriteOne(const TStreamableBase* object) {
    omemstream os;
    os << object;
    return os.bytes();
}

// Every cut of good bytes from `from` on must read without harm and fail the stream; whatever
// was built is handed to check (when given) before it is destroyed.
template <class T>
void ExpectEveryTruncationFails(const Bytes& good, size_t from = 0,
                                const std::function<void(const T&)>& check = {}) {
    for (size_t n = from; n < good.size(); ++n) {
        int state = pstream::Good;
        auto part =
            ReadAs<T>(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)), &state);
        EXPECT_NE(state, pstream::Good) << "cut at " << n;
        if (part && check) check(*part);
    }
}

}  // namespace streambytes
