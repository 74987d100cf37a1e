// The "Account Transfer" dialog (TActXferDlg), as a port: the transfer command fills the buffer
// from the two halves, the port runs the dialog on it, the command reads it back. The program
// implements it with a real dialog, the tests with scripted answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/Date.h"
#include "core/PortSlot.h"

class TAccountList;
class TIdObjectList;

// One side of the transfer: the record that pays ("From") or the one that receives ("To").
struct TActXferSide {
    static constexpr size_t CodeMax = 19;  // as the record's code field holds
    static constexpr size_t TextMax = 89;  // as its payable to and memo fields hold

    uint32_t account = 0;  // the side's account combo box
    // The hidden envelope group: the account's default envelope, never used by the transfer.
    uint32_t envelope = 0;
    TDate date{};
    std::string code{};       // "Check #/Code"
    std::string payableTo{};  // "Payable To:"
    std::string memo{};       // "Memo:"
};

struct TActXferBuffer;

// Asked when OK is pressed, with the entries as they stand. It tells the user what is wrong
// (through the UI port); on false the dialog stays open with the user's entries.
using TActXferCheck = std::function<bool(const TActXferBuffer& buffer)>;

struct TActXferBuffer {
    // Currency units the "From" account pays: a payment of 50.00 shows 50.00, a deposit shows
    // a negative amount. A double, so that every amount a record holds comes back to the cent.
    double amount = 0;
    TActXferSide from;
    // "Simultaneously Perform Envelope Transfer": the dialog keeps the group hidden and this
    // off; the transfer itself never moves envelopes.
    bool envelopeTransfer = false;
    TActXferSide to;
    // The names for the two account combo boxes; null when no budget is open.
    const TIdObjectList* accounts = nullptr;
    TActXferCheck check;
};

// What the OK check refuses the entries for, or nothing when they make a transfer: no amount (less
// than a cent) or one outside the range every amount is typed in, the same account on both
// sides, a side that names no account of the list, and (with the envelope switch on) the same
// envelope on both sides.
std::optional<std::string> ActXferProblem(const TActXferBuffer& buffer,
                                          const TAccountList& accounts);
// The dialog's OK check: shows the problem (caption "Error", exclamation icon) and answers false,
// or answers true.
bool CheckActXfer(const TActXferBuffer& buffer, const TAccountList& accounts);
// The buffer's amount in cents, 0 when it is outside the range every amount is typed in.
int32_t ActXferCents(const TActXferBuffer& buffer);

class TTransferDialogPort {
public:
    virtual ~TTransferDialogPort() = default;
    // "Account Transfer": true on OK, with the buffer as the user left it. OK is taken only when
    // the buffer's check passes.
    virtual bool AccountTransfer(TActXferBuffer& buffer) = 0;
};

// The port in use; never null (until one is set, the dialog is always cancelled).
extern TPortSlot<TTransferDialogPort> TransferDialogs;
