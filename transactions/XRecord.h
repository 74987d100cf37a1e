// The transaction record: 256 bytes, the same in memory and in the budget file.
//
// The record store writes these structs to the file as one raw block, so the struct layout is the
// file layout: every field at its fixed offset, integers little-endian, no padding anywhere.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "core/Date.h"

// Flag bits of a record.
inline constexpr uint32_t XCommitted = 0x001;     // has content and stays in the store
inline constexpr uint32_t XDeleted = 0x002;       // being deleted
inline constexpr uint32_t XDirty = 0x004;         // changed; its place in the order is stale
inline constexpr uint32_t XAccount = 0x008;       // belongs to an account and moves its balance
inline constexpr uint32_t XEnvelopeOnly = 0x010;  // no account; moves envelope balances only
inline constexpr uint32_t XMultipleSet = 0x020;   // a multiple or one of its parts
inline constexpr uint32_t XMultiple = 0x040;      // a payment or deposit split over envelopes
inline constexpr uint32_t XMultipleKid = 0x080;   // one part of a multiple
inline constexpr uint32_t XTransfer = 0x100;      // one half of a transfer
inline constexpr uint32_t XInert = 0x200;  // shows nothing, accepts no edit, left alone by all

// Kinds are bit combinations; a record is of a kind when all of its bits are present.
inline constexpr uint32_t XKindMultiple = XAccount | XMultipleSet | XMultiple;  // 0x68
inline constexpr uint32_t XKindPart = XAccount | XMultipleSet | XMultipleKid;   // 0xA8
inline constexpr uint32_t XKindAccountTransfer = XAccount | XTransfer;          // 0x108
inline constexpr uint32_t XKindEnvelopeTransfer = XEnvelopeOnly | XTransfer;    // 0x110
inline constexpr uint32_t XNewAccountRecord = XAccount | XDirty;                // 0x0C
inline constexpr uint32_t XNewEnvelopeRecord = XEnvelopeOnly | XDirty;          // 0x14

// Cleared values other than these two are the date key of the day the side was cleared.
inline constexpr uint32_t XNotCleared = 0;
inline constexpr uint32_t XClearedPending = 1;

struct TXRecord {
    static constexpr size_t CodeSize = 20;
    static constexpr size_t TextSize = 90;

    uint32_t id;       // 0 never names a record
    uint32_t flags;    // the X bits above
    uint32_t account;  // 0 for none
    uint32_t envelope;
    uint32_t parent;           // a part's multiple
    uint32_t partner;          // a transfer's other half
    uint32_t reserved24;       // carried unchanged
    uint32_t date;             // TDate key
    uint32_t created;          // TDate key
    uint32_t accountCleared;   // XNotCleared, XClearedPending or a TDate key
    uint32_t envelopeCleared;  // same encoding
    uint16_t newlyImported;    // non-zero: added by statement import and not yet confirmed
    uint16_t reserved46;       // carried unchanged
    uint32_t reserved48;       // carried unchanged
    int32_t amount;            // cents; positive money in, negative money out
    char code[CodeSize];       // "#/Type", NUL-terminated
    char payableTo[TextSize];  // NUL-terminated
    char memo[TextSize];       // NUL-terminated

    // All bytes zero, then created set to the given day.
    void Init(TDate today) {
        std::memset(this, 0, sizeof *this);
        created = today.Key();
    }

    bool Has(uint32_t bits) const { return (flags & bits) == bits; }
    bool IsFree() const { return flags == 0; }
    bool IsCommitted() const { return Has(XCommitted); }
    bool IsDirty() const { return Has(XDirty); }
    bool IsDeleted() const { return Has(XDeleted); }
    bool IsInert() const { return Has(XInert); }
    bool IsMultiple() const { return Has(XKindMultiple); }
    bool IsPart() const { return Has(XKindPart); }
    bool IsAccountTransfer() const { return Has(XKindAccountTransfer); }
    bool IsEnvelopeTransfer() const { return Has(XKindEnvelopeTransfer); }

    // Text fields read from a file may lack their terminator; reading stops at the field's end.
    std::string GetCode() const { return Text(code, CodeSize); }
    std::string GetPayableTo() const { return Text(payableTo, TextSize); }
    std::string GetMemo() const { return Text(memo, TextSize); }
    // Longer texts are cut to the field, leaving room for the terminator.
    void SetCode(const std::string& s) { SetText(code, CodeSize, s); }
    void SetPayableTo(const std::string& s) { SetText(payableTo, TextSize, s); }
    void SetMemo(const std::string& s) { SetText(memo, TextSize, s); }

private:
    static std::string Text(const char* field, size_t size) {
        size_t n = 0;
        while (n < size && field[n] != '\0')
            ++n;
        return std::string(field, n);
    }
    static void SetText(char* field, size_t size, const std::string& s) {
        size_t n = s.size() < size - 1 ? s.size() : size - 1;
        std::memcpy(field, s.data(), n);
        std::memset(field + n, 0, size - n);
    }
};

static_assert(std::endian::native == std::endian::little,
              "records are stored as they lie in memory; the file is little-endian");
static_assert(sizeof(TXRecord) == 256);
static_assert(std::is_standard_layout_v<TXRecord> && std::is_trivially_copyable_v<TXRecord>);
static_assert(offsetof(TXRecord, id) == 0);
static_assert(offsetof(TXRecord, flags) == 4);
static_assert(offsetof(TXRecord, account) == 8);
static_assert(offsetof(TXRecord, envelope) == 12);
static_assert(offsetof(TXRecord, parent) == 16);
static_assert(offsetof(TXRecord, partner) == 20);
static_assert(offsetof(TXRecord, reserved24) == 24);
static_assert(offsetof(TXRecord, date) == 28);
static_assert(offsetof(TXRecord, created) == 32);
static_assert(offsetof(TXRecord, accountCleared) == 36);
static_assert(offsetof(TXRecord, envelopeCleared) == 40);
static_assert(offsetof(TXRecord, newlyImported) == 44);
static_assert(offsetof(TXRecord, reserved46) == 46);
static_assert(offsetof(TXRecord, reserved48) == 48);
static_assert(offsetof(TXRecord, amount) == 52);
static_assert(offsetof(TXRecord, code) == 56);
static_assert(offsetof(TXRecord, payableTo) == 76);
static_assert(offsetof(TXRecord, memo) == 166);
