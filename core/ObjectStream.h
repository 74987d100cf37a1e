// Persistent object streams: the byte format of every file Quillet reads and writes.
//
// A stream is a flat sequence of primitives and object records. Objects are written through
// their class's nested Streamer and found again on reading through the registry of streamable
// classes. Failures never throw (except an unregistered class name): they set a state that
// callers check after closing, and every later read yields zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

class ipstream;
class opstream;
class TNewStreamer;

// The exception raised for programming errors and unreadable files.
class TXBase : public std::runtime_error {
public:
    explicit TXBase(const std::string& why) : std::runtime_error(why) {}
};

// Empty base of every persistent class. The class name is what goes into a record.
class TStreamableBase {
public:
    virtual ~TStreamableBase() = default;
    virtual const char* streamableName() const = 0;
};

class TStreamer {
public:
    virtual ~TStreamer() = default;
    TStreamableBase* GetObject() const { return object; }

protected:
    explicit TStreamer(TStreamableBase* obj) : object(obj) {}

private:
    TStreamableBase* object;
};

// Base of each class's nested Streamer. A Streamer is made for one object, used once and dropped.
class TNewStreamer : public TStreamer {
public:
    virtual const char* StreamableName() const = 0;
    // Reads the fields into the object and returns it.
    virtual TStreamableBase* Read(ipstream& is, uint32_t version) const = 0;
    virtual void Write(opstream& os) const = 0;
    virtual uint32_t ClassVersion() const { return 0; }

protected:
    explicit TNewStreamer(TStreamableBase* obj) : TStreamer(obj) {}
};

// Builds a Streamer for an existing object, or (given null) a new empty object and its Streamer.
using TStreamerBuilder = std::unique_ptr<TNewStreamer> (*)(TStreamableBase* existing);

struct TStreamRegistration {
    std::string name;
    TStreamerBuilder builder = nullptr;
    int module = 1;
};

// One per process; sorted by class name (byte-wise) for binary search.
class TStreamRegistry {
public:
    static TStreamRegistry& Instance();
    // Registering the same name and module twice keeps the first entry.
    void Register(const std::string& name, TStreamerBuilder builder, int module = 1);
    const TStreamRegistration* Find(const std::string& name, int module = 1) const;
    size_t Count() const { return entries.size(); }

private:
    std::vector<TStreamRegistration> entries;
};

// Registers T under name; T needs a default constructor and a nested Streamer(TStreamableBase*).
template <class T>
void RegisterStreamable(const char* name, int module = 1) {
    TStreamRegistry::Instance().Register(
        name,
        [](TStreamableBase* existing) -> std::unique_ptr<TNewStreamer> {
            if (!existing) existing = new T();
            return std::make_unique<typename T::Streamer>(existing);
        },
        module);
}

class pstream {
public:
    enum State : int { Good = 0, EndOfData = 1, Failed = 2, OpenFailed = 4 };

    virtual ~pstream() = default;
    int rdstate() const { return state; }
    bool good() const { return state == Good; }
    void setstate(int s) { state = s; }
    void clear(int s = Good) { state = s; }

    static constexpr size_t MaxPiece = 16384;  // raw blocks move in pieces of at most this size

protected:
    pstream() = default;
    explicit pstream(std::streambuf* b) : bp(b) {}
    std::streambuf* bp = nullptr;
    int state = Good;
};

class ipstream : public pstream {
public:
    explicit ipstream(std::streambuf* b) : pstream(b) { objects.push_back(nullptr); }
    uint32_t getVersion() const { return version; }
    void setVersion(uint32_t v) { version = v; }

    uint8_t readByte();
    uint16_t readWord16();
    uint32_t readWord32();
    uint32_t readWord();  // word32 above version 0, word16 at version 0
    int32_t readInt() { return static_cast<int32_t>(readWord32()); }
    bool readBool() { return readWord32() != 0; }
    // Reads n bytes into dest; on a short read the state fails and dest is left unchanged.
    void readBytes(void* dest, size_t n);
    // Into a fixed buffer of the given capacity (terminator included). Returns false (dest
    // unchanged) for "no string" or a string too long for the buffer.
    bool readString(char* dest, size_t capacity);
    // Into fresh storage; returns false (dest unchanged) for "no string".
    bool readString(std::string& dest);
    TStreamableBase* readObjectPointer();
    // Reads an object pointer for the caller to own: the object when it is a T read afresh here;
    // null for "no object", a failed read, or a back reference (that object has its owner
    // already). An object of another class goes to discard (a callable taking a
    // std::unique_ptr<TStreamableBase>), or without one stays with the stream until it ends.
    template <class T>
    std::unique_ptr<T> ReadObject();
    template <class T, class Discard>
    std::unique_ptr<T> ReadObject(Discard discard);
    // Reads a base part (class version word32 above version 0) and hands it to the base's Read.
    void readBaseObject(const TNewStreamer& base);
    void readVersion();  // the header

    // Bytes known to be ready without blocking (all that is left, for a memory stream); 0 when
    // unknown. Lets a reader take a large block whole when the stream really holds it.
    size_t available() const {
        if (!bp || !good()) return 0;
        std::streamsize n = bp->in_avail();
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

    // True when the last readObjectPointer yielded an object already read (tag 1). Owners use it
    // to refuse taking a second ownership of one object.
    bool lastWasBackReference() const { return lastBackReference; }
    // Forgets the object at the table entry (used when an object read is dropped).
    void forgetObject(const TStreamableBase* obj);
    // Takes an object read that nobody will own (a record of an unexpected class). It lives until
    // the stream is destroyed, because later back references and its own children may still be
    // in the table of objects read.
    void adoptOrphan(TStreamableBase* obj) { orphans.emplace_back(obj); }

private:
    bool readRaw(void* dest, size_t n);
    bool readLength(uint32_t& length);

    uint32_t version = 0;
    std::vector<TStreamableBase*> objects;  // entry 0 is null
    bool lastBackReference = false;
    std::vector<std::unique_ptr<TStreamableBase>> orphans;
};

class opstream : public pstream {
public:
    explicit opstream(std::streambuf* b) : pstream(b) {}

    void writeByte(uint8_t v);
    void writeWord16(uint16_t v);
    void writeWord32(uint32_t v);
    void writeWord(uint32_t v) { writeWord32(v); }
    void writeInt(int32_t v) { writeWord32(static_cast<uint32_t>(v)); }
    void writeBool(bool v) { writeWord32(v ? 1 : 0); }
    void writeBytes(const void* src, size_t n);
    void writeString(const std::string& s);
    void writeString(const char* s);  // null writes "no string"
    void writeObjectPointer(const TStreamableBase* obj);
    void writeObject(const TStreamableBase* obj);  // the record without the tag byte
    void writeBaseObject(const TNewStreamer& base);
    void writeVersion();  // the header

    static constexpr uint32_t CurrentVersion = 0x101;

private:
    void writeRaw(const void* src, size_t n);
    // (address, index) sorted by address
    std::vector<std::pair<const TStreamableBase*, uint32_t>> written;
    uint32_t counter = 0;
};

template <class T, class Discard>
std::unique_ptr<T> ipstream::ReadObject(Discard discard) {
    TStreamableBase* p = readObjectPointer();
    if (!p || lastWasBackReference()) return nullptr;
    if (T* typed = dynamic_cast<T*>(p)) return std::unique_ptr<T>(typed);
    discard(std::unique_ptr<TStreamableBase>(p));
    return nullptr;
}

template <class T>
std::unique_ptr<T> ipstream::ReadObject() {
    return ReadObject<T>(
        [this](std::unique_ptr<TStreamableBase> other) { adoptOrphan(other.release()); });
}

// Typed reading of a pointer the reader does not own (a back reference to an object read
// before); an object of any other class yields null (and is kept by the stream until it ends).
// Objects to own are read with ReadObject.
template <class T>
ipstream& operator>>(ipstream& is, T*& dest) {
    TStreamableBase* p = is.readObjectPointer();
    if (!p) {
        if (!is.good()) return is;  // a failed read leaves the destination unchanged
        dest = nullptr;
        return is;
    }
    T* typed = dynamic_cast<T*>(p);
    if (!typed && !is.lastWasBackReference()) is.adoptOrphan(p);
    dest = typed;
    return is;
}

inline opstream& operator<<(opstream& os, const TStreamableBase* obj) {
    os.writeObjectPointer(obj);
    return os;
}

// Owns a binary file buffer.
class fpbase {
public:
    virtual ~fpbase() = default;
    std::filebuf* rdbuf() { return &buf; }

protected:
    std::filebuf buf;
};

// Reading a named file; the header is read at once.
class ifpstream : public fpbase, public ipstream {
public:
    explicit ifpstream(const std::string& path);
    void close();
};

// Writing a named file (truncating it); the header is written at once. Closing sets the state to
// Failed when the buffer does not close cleanly. Budget and configuration saves go through the
// atomic file replacement instead, writing into an omemstream first.
class ofpstream : public fpbase, public opstream {
public:
    explicit ofpstream(const std::string& path);
    ~ofpstream() override;
    void close();
};

// A read-only stream buffer over bytes the caller keeps alive.
class TMemoryReadBuffer : public std::streambuf {
public:
    TMemoryReadBuffer(const void* data, size_t size);

protected:
    std::streamsize xsgetn(char* s, std::streamsize n) override;
};

// Reading bytes in memory; the header is read at once.
class imemstream : public ipstream {
public:
    imemstream(const void* data, size_t size);
    explicit imemstream(const std::vector<uint8_t>& data) : imemstream(data.data(), data.size()) {}

private:
    TMemoryReadBuffer mbuf;
};

// A growable stream buffer that collects what is written.
class TMemoryWriteBuffer : public std::streambuf {
public:
    void reserve(size_t n) { data.reserve(n); }
    const std::vector<uint8_t>& bytes() const { return data; }
    std::vector<uint8_t> take() { return std::move(data); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    std::vector<uint8_t> data;
};

// Writing into memory; the header is written at once unless withHeader is false.
class omemstream : public opstream {
public:
    explicit omemstream(bool withHeader = true, size_t reserve = 0);
    const std::vector<uint8_t>& bytes() const { return mbuf.bytes(); }
    // Hands over what was written, leaving the stream empty (saves copying a large budget).
    std::vector<uint8_t> take() { return mbuf.take(); }

private:
    TMemoryWriteBuffer mbuf;
};
