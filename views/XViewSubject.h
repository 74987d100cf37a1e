// What a transaction view shows: the transactions of one account, of one envelope, or the parts of
// one multiple. The subject decides the view's title, icon, columns, filter, the record its blank
// rows start from, and the total under the grid; the window only paints what it answers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Money.h"
#include "transactions/XRecord.h"

class TQuilletData;
class TXFilter;
struct TQuilletOptions;

enum class TXViewKind { Account = 1, Envelope = 2, Multiple = 3 };

// A grid column: its id (a transaction column) and width in characters.
struct TXViewColumn {
    uint32_t id = 0;
    uint32_t chars = 0;
    bool operator==(const TXViewColumn&) const = default;
};

// The total under the grid, as shown: " 1,234.56" for a value at or above zero, " (1,234.56)"
// for a negative one (which the view paints red).
struct TXViewTotalText {
    std::string text;
    bool negative = false;
};
TXViewTotalText FormatViewTotal(TMoney total);

class TXViewSubject {
public:
    TXViewSubject(TQuilletData& doc, TXViewKind kind, uint32_t id) : doc(doc), kind(kind), id(id) {}

    TXViewKind Kind() const { return kind; }
    uint32_t Id() const { return id; }
    TQuilletData& Document() const { return doc; }
    // Whether the account, envelope or multiple is there.
    bool Exists() const;
    // The account whose transactions the view shows: its own, or its multiple's (0: none).
    uint32_t AccountId() const;

    // "Account: %s" and "Envelope: %s" with the name; a multiple's from "Multiple: %s" with its
    // payable to, " from " and its account's name.
    std::string Title() const;
    // The name of the tree icon of the account or envelope (a multiple: its account's); null
    // when there is none.
    const char* IconName() const;

    // Left to right, with the widths the options give.
    std::vector<TXViewColumn> Columns(const TQuilletOptions& options) const;
    // The column a reconcile layout puts the cursor in: the account's or the envelope's cleared
    // mark; 0 for a multiple.
    uint32_t ClearedColumn() const;

    // The view's filter: an editable one for an account (mode 17) or envelope (mode 18) ledger,
    // the multiple's parts for a multiple.
    std::unique_ptr<TXFilter> MakeFilter() const;
    // The record blank rows are made from: a plain transaction of the account in its default
    // envelope, or a plain envelope transaction, dated today; a new part of the multiple.
    TXRecord BlankTemplate() const;

    // "Account Balance: ", "Envelope Balance: ", "Multiple Total: ", or in a reconcile layout
    // "Balance of Cleared Items: ".
    std::string TotalLabel(bool reconcile) const;
    // The balance (the cleared balance in a reconcile layout), or the multiple's amount; 0 when
    // the subject has gone.
    TMoney Total(bool reconcile) const;

private:
    TQuilletData& doc;
    TXViewKind kind;
    uint32_t id;
};
