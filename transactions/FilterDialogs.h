// The "Transaction Filter" dialog, as a port: the filter fills the criteria block, the port runs
// the dialog on it, the filter reads it back. The program implements it with a real dialog, the
// tests with scripted answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Date.h"
#include "core/PortSlot.h"

class TIdObjectList;

// Mode bits of a TEditableFilter: which records its owner lists and how the dialog looks.
enum TFilterMode : uint32_t {
    FilterAccountLedger = 1,   // the records of one account
    FilterEnvelopeLedger = 2,  // the records of one envelope
    FilterEnvelopeGroup = 4,   // the records of an envelope node and everything under it
    FilterNoViewSettings = 8,  // report dialogs: the view settings group is hidden and disabled
    FilterBlankRows = 16,      // uncommitted records are offered to the view
};

// Each radio group of the dialog is one choice; the enumerators follow the group's radios from
// top to bottom.
enum class TDateChoice : uint32_t { Any, Range };
enum class TAmountChoice : uint32_t { Any, Deposit, Payment, Range };
enum class TCodeChoice : uint32_t { Any, NumberOnly, NonNumberOrMixed, FieldText };
enum class TClearedChoice : uint32_t { Any, NotClearedOrPending, Cleared, NotCleared };
enum class TTextChoice : uint32_t { Any, FieldText };
// "Envelope:" in an account ledger, "Account:" elsewhere: both are Node.
enum class TNodeChoice : uint32_t { Any, Transfer, Multiple, Node };
enum class TImportChoice : uint32_t { Any, NewImportOnly };
enum class TViewChoice : uint32_t { Normal, Reconcile };

// The criteria block: the dialog's transfer buffer, in the dialog's transfer order.
struct TFilterCriteria {
    static constexpr size_t CodeTextMax = 19;  // as the record's code field holds
    static constexpr size_t TextMax = 89;      // as its payable to and memo fields hold

    TDateChoice date = TDateChoice::Any;
    TDate from{};  // inclusive
    TDate to{};    // inclusive
    TAmountChoice amount = TAmountChoice::Any;
    float minimum = -100.0f;  // currency units
    float maximum = 100.0f;
    TCodeChoice code = TCodeChoice::Any;
    std::string codeText{};
    bool codeExact = false;
    TClearedChoice cleared = TClearedChoice::Any;
    TTextChoice payableTo = TTextChoice::Any;
    std::string payableToText{};
    bool payableToExact = false;
    TTextChoice memo = TTextChoice::Any;
    std::string memoText{};
    bool memoExact = false;
    TNodeChoice node = TNodeChoice::Any;
    uint32_t nodeId = 0;  // the envelope node (account ledgers) or the account (elsewhere)
    TImportChoice import = TImportChoice::Any;
    TViewChoice view = TViewChoice::Normal;

    friend bool operator==(const TFilterCriteria&, const TFilterCriteria&) = default;
};

// The captions of the account/envelope group, which the dialog sets from the mode on opening.
struct TFilterNodeLabels {
    std::string group;     // the group box
    std::string node;      // the radio in front of the combo box
    std::string transfer;  // the transfer radio
};
TFilterNodeLabels FilterNodeLabels(uint32_t mode);

// What the dialog is opened with. Only the criteria come back, and only on OK.
struct TFilterDialogBuffer {
    uint32_t mode = 0;  // TFilterMode bits: relabels the node group, hides the view settings
    // The combo box's entries and the flags to ask them with: the envelope list in an account
    // ledger, the account list elsewhere; null when no budget is open.
    const TIdObjectList* nodes = nullptr;
    uint32_t nodeListFlags = 0;
    TFilterCriteria criteria;

    bool ShowsViewSettings() const { return (mode & FilterNoViewSettings) == 0; }
};

class TFilterDialogPort {
public:
    virtual ~TFilterDialogPort() = default;
    // "Transaction Filter": true on OK, with the criteria as the user left them.
    virtual bool EditFilter(TFilterDialogBuffer& buffer) = 0;
};

// The port in use; never null (until one is set, the dialog is always cancelled).
extern TPortSlot<TFilterDialogPort> FilterDialogs;
