#include "core/ObjectStream.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

// A class name read from a damaged file may hold any bytes; control bytes are shown as \xNN so
// a message never carries them raw to a terminal.
std::string PrintableName(const std::string& name) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

constexpr uint8_t TagNull = 0;
constexpr uint8_t TagBackReference = 1;
constexpr uint8_t TagNewObject = 2;
constexpr uint8_t RecordStart = '[';
constexpr uint8_t RecordEnd = ']';
constexpr uint8_t HeaderMark = ':';
constexpr size_t MaxClassName = 127;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Registry

TStreamRegistry& TStreamRegistry::Instance() {
    static TStreamRegistry registry;
    return registry;
}

void TStreamRegistry::Register(const std::string& name, TStreamerBuilder builder, int module) {
    auto it = std::lower_bound(
        entries.begin(), entries.end(), name,
        [](const TStreamRegistration& r, const std::string& n) { return r.name < n; });
    for (auto probe = it; probe != entries.end() && probe->name == name; ++probe)
        if (probe->module == module) return;
    entries.insert(it, TStreamRegistration{name, builder, module});
}

const TStreamRegistration* TStreamRegistry::Find(const std::string& name, int module) const {
    auto it = std::lower_bound(
        entries.begin(), entries.end(), name,
        [](const TStreamRegistration& r, const std::string& n) { return r.name < n; });
    for (; it != entries.end() && it->name == name; ++it)
        if (module == 0 || it->module == 0 || it->module == module) return &*it;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// ipstream

bool ipstream::readRaw(void* dest, size_t n) {
    if (!good()) return false;
    if (!bp) {
        state = Failed;
        return false;
    }
    std::streamsize got = bp->sgetn(static_cast<char*>(dest), static_cast<std::streamsize>(n));
    if (got != static_cast<std::streamsize>(n)) {
        state = Failed;
        return false;
    }
    return true;
}

uint8_t ipstream::readByte() {
    uint8_t b[1] = {0};
    return readRaw(b, 1) ? b[0] : 0;
}

uint16_t ipstream::readWord16() {
    uint8_t b[2];
    if (!readRaw(b, 2)) return 0;
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t ipstream::readWord32() {
    uint8_t b[4];
    if (!readRaw(b, 4)) return 0;
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

uint32_t ipstream::readWord() {
    return version > 0 ? readWord32() : readWord16();
}

void ipstream::readBytes(void* dest, size_t n) {
    if (!good() || n == 0) return;
    if (available() >= n) {
        // Every byte is already at hand, so the read cannot come up short: straight into dest.
        char* to = static_cast<char*>(dest);
        for (size_t done = 0; done < n;) {
            size_t piece = std::min(MaxPiece, n - done);
            if (!readRaw(to + done, piece)) return;
            done += piece;
        }
        return;
    }
    // Otherwise read into a scratch area first so a short read leaves dest untouched. The caller
    // already holds n bytes for dest, so the scratch area is no larger than what it asked for.
    std::unique_ptr<char[]> scratch(new char[n]);
    size_t done = 0;
    while (done < n) {
        size_t piece = std::min(MaxPiece, n - done);
        if (!readRaw(scratch.get() + done, piece)) return;
        done += piece;
    }
    std::memcpy(dest, scratch.get(), n);
}

bool ipstream::readLength(uint32_t& length) {
    if (version > 0x100) {
        length = readWord32();
        if (!good()) return false;
        return length != 0xFFFFFFFFu;
    }
    uint8_t b = readByte();
    if (!good()) return false;
    length = b;
    return b != 0xFF;
}

bool ipstream::readString(char* dest, size_t capacity) {
    uint32_t length = 0;
    if (!readLength(length)) return false;
    if (capacity == 0 || length > capacity - 1) {
        // No file we write holds such a string; reading on would misread every later field.
        state = Failed;
        return false;
    }
    char local[1024];
    std::vector<char> big;
    char* tmp = local;
    if (length > sizeof local) {
        big.resize(length);
        tmp = big.data();
    }
    if (!readRaw(tmp, length)) return false;
    std::memcpy(dest, tmp, length);
    dest[length] = '\0';
    return true;
}

bool ipstream::readString(std::string& dest) {
    uint32_t length = 0;
    if (!readLength(length)) return false;
    std::string s;
    size_t done = 0;
    while (done < length) {
        size_t piece = std::min<size_t>(MaxPiece, length - done);
        s.resize(done + piece);
        if (!readRaw(s.data() + done, piece)) return false;
        done += piece;
    }
    dest = std::move(s);
    return true;
}

TStreamableBase* ipstream::readObjectPointer() {
    lastBackReference = false;
    if (!good()) return nullptr;
    uint8_t tag = readByte();
    if (!good()) return nullptr;
    switch (tag) {
        case TagNull:
            return nullptr;
        case TagBackReference: {
            uint32_t index = readWord();
            if (!good()) return nullptr;
            lastBackReference = true;
            return index < objects.size() ? objects[index] : nullptr;
        }
        case TagNewObject: {
            uint8_t start = readByte();
            if (!good()) return nullptr;
            std::string name;
            uint32_t length = 0;
            if (start != RecordStart || !readLength(length) || length == 0 ||
                length > MaxClassName) {
                state = Failed;
                return nullptr;
            }
            name.resize(length);
            if (!readRaw(name.data(), length)) return nullptr;
            const TStreamRegistration* reg = TStreamRegistry::Instance().Find(name, 1);
            if (!reg)
                throw TXBase("Attempt to stream unregistered type '" + PrintableName(name) + "'");
            std::unique_ptr<TNewStreamer> streamer = reg->builder(nullptr);
            TStreamableBase* obj = streamer->GetObject();
            objects.push_back(obj);
            uint32_t classVersion = version > 0 ? readWord32() : 0;
            try {
                streamer->Read(*this, classVersion);
            } catch (...) {
                forgetObject(obj);
                delete obj;
                throw;
            }
            streamer.reset();
            lastBackReference = false;  // nested reads must not leak into the caller's view
            uint8_t end = readByte();
            if (end != RecordEnd) state = Failed;
            return obj;
        }
        default:
            state = Failed;
            return nullptr;
    }
}

void ipstream::readBaseObject(const TNewStreamer& base) {
    uint32_t classVersion = version > 0 ? readWord32() : 0;
    if (!good()) return;
    base.Read(*this, classVersion);
}

void ipstream::readVersion() {
    if (!bp) {
        state = OpenFailed;
        return;
    }
    int c = bp->sgetc();
    if (c == std::char_traits<char>::eof()) {
        state = EndOfData;
        version = 0;
        return;
    }
    if (c == HeaderMark) {
        bp->sbumpc();
        version = readWord32();
    } else {
        version = 0;
    }
}

void ipstream::forgetObject(const TStreamableBase* obj) {
    for (auto& entry : objects)
        if (entry == obj) entry = nullptr;
}

// ---------------------------------------------------------------------------------------------
// opstream

void opstream::writeRaw(const void* src, size_t n) {
    if (!good()) return;
    if (!bp) {
        state = Failed;
        return;
    }
    const char* p = static_cast<const char*>(src);
    while (n > 0) {
        size_t piece = std::min(MaxPiece, n);
        if (bp->sputn(p, static_cast<std::streamsize>(piece)) !=
            static_cast<std::streamsize>(piece)) {
            state = Failed;
            return;
        }
        p += piece;
        n -= piece;
    }
}

void opstream::writeByte(uint8_t v) {
    writeRaw(&v, 1);
}

void opstream::writeWord16(uint16_t v) {
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    writeRaw(b, 2);
}

void opstream::writeWord32(uint32_t v) {
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                    static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    writeRaw(b, 4);
}

void opstream::writeBytes(const void* src, size_t n) {
    writeRaw(src, n);
}

void opstream::writeString(const std::string& s) {
    writeWord32(static_cast<uint32_t>(s.size()));
    writeRaw(s.data(), s.size());
}

void opstream::writeString(const char* s) {
    if (!s) {
        writeWord32(0xFFFFFFFFu);
        return;
    }
    size_t n = std::strlen(s);
    writeWord32(static_cast<uint32_t>(n));
    writeRaw(s, n);
}

void opstream::writeObjectPointer(const TStreamableBase* obj) {
    if (!good()) return;
    if (!obj) {
        writeByte(TagNull);
        return;
    }
    auto it = std::lower_bound(
        written.begin(), written.end(), obj,
        [](const std::pair<const TStreamableBase*, uint32_t>& e, const TStreamableBase* p) {
            return std::less<const TStreamableBase*>()(e.first, p);
        });
    if (it != written.end() && it->first == obj) {
        writeByte(TagBackReference);
        writeWord(it->second);
        return;
    }
    writeByte(TagNewObject);
    writeObject(obj);
}

void opstream::writeObject(const TStreamableBase* obj) {
    if (!good() || !obj) return;
    const char* name = obj->streamableName();
    writeByte(RecordStart);
    writeString(name);
    // Registered before its fields, so children pointing back at it become tag-1 references.
    auto it = std::lower_bound(
        written.begin(), written.end(), obj,
        [](const std::pair<const TStreamableBase*, uint32_t>& e, const TStreamableBase* p) {
            return std::less<const TStreamableBase*>()(e.first, p);
        });
    written.insert(it, {obj, ++counter});
    const TStreamRegistration* reg = TStreamRegistry::Instance().Find(name, 1);
    if (!reg) throw TXBase(std::string("Attempt to stream unregistered type '") + name + "'");
    std::unique_ptr<TNewStreamer> streamer = reg->builder(const_cast<TStreamableBase*>(obj));
    writeWord32(streamer->ClassVersion());
    streamer->Write(*this);
    streamer.reset();
    writeByte(RecordEnd);
}

void opstream::writeBaseObject(const TNewStreamer& base) {
    writeWord32(base.ClassVersion());
    base.Write(*this);
}

void opstream::writeVersion() {
    writeByte(HeaderMark);
    writeWord32(CurrentVersion);
}

// ---------------------------------------------------------------------------------------------
// File streams

ifpstream::ifpstream(const std::string& path) : ipstream(nullptr) {
    // A pipe would block the reader and a folder reads as nonsense: only plain files are read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) ||
        !buf.open(path, std::ios::in | std::ios::binary)) {
        setstate(OpenFailed);
        return;
    }
    bp = &buf;
    readVersion();
}

void ifpstream::close() {
    if (!buf.is_open()) return;
    if (!buf.close()) setstate(Failed);
    bp = nullptr;
}

ofpstream::ofpstream(const std::string& path) : opstream(nullptr) {
    if (!buf.open(path, std::ios::out | std::ios::binary | std::ios::trunc)) {
        setstate(OpenFailed);
        return;
    }
    bp = &buf;
    writeVersion();
}

ofpstream::~ofpstream() {
    close();
}

void ofpstream::close() {
    if (!buf.is_open()) return;
    // A failure while writing stays visible; a clean close never hides it.
    if (!buf.close()) setstate(Failed);
    bp = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Memory streams

TMemoryReadBuffer::TMemoryReadBuffer(const void* data, size_t size) {
    char* p = const_cast<char*>(static_cast<const char*>(data));
    if (!p) {
        static char empty = 0;
        p = &empty;
        size = 0;
    }
    setg(p, p, p + size);
}

std::streamsize TMemoryReadBuffer::xsgetn(char* s, std::streamsize n) {
    std::streamsize avail = egptr() - gptr();
    std::streamsize take = std::min(avail, n);
    if (take > 0) {
        std::memcpy(s, gptr(), static_cast<size_t>(take));
        gbump(static_cast<int>(take));
    }
    return take;
}

TMemoryWriteBuffer::int_type TMemoryWriteBuffer::overflow(int_type c) {
    if (c != traits_type::eof()) data.push_back(static_cast<uint8_t>(c));
    return traits_type::not_eof(c);
}

std::streamsize TMemoryWriteBuffer::xsputn(const char* s, std::streamsize n) {
    data.insert(data.end(), reinterpret_cast<const uint8_t*>(s),
                reinterpret_cast<const uint8_t*>(s) + n);
    return n;
}

imemstream::imemstream(const void* data, size_t size) : ipstream(nullptr), mbuf(data, size) {
    bp = &mbuf;
    readVersion();
}

omemstream::omemstream(bool withHeader, size_t reserve) : opstream(nullptr) {
    mbuf.reserve(reserve);
    bp = &mbuf;
    if (withHeader) writeVersion();
}
