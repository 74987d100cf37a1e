// The four dialogs that edit the option record, as toolkit-free transfer buffers. The window
// side shows a buffer filled from the options, edits a copy, and on OK hands it back to the
// Apply function; then the program saves the configuration and refreshes what depends on it.
// Edit fields travel as the text the user sees, check boxes as bool.
#pragma once

#include <cstdint>
#include <string>

struct TQuilletOptions;

// "Main Configuration" (dialog 115), fields in transfer order.
struct TMainConfigBuffer {
    bool showStatusBar = false;          // check box 101
    bool showControlBar = false;         // check box 102
    bool reopenLastFile = false;         // check box 1013
    std::string autoSaveMinutes;         // edit 103
    std::string backupLevels;            // edit 104
    bool confirmClearedOnClose = false;  // check box 105
    bool confirmImportOnClose = false;   // check box 106
    std::string updateCheckDays;         // edit 107
};

// The three number fields of the main configuration take digits only, this many at most, with
// no range limit.
constexpr size_t MainConfigDigits = 5;
// What a digits-only field keeps of typed or pasted text: its digits, at most limit of them.
std::string AcceptDigits(const std::string& typed, size_t limit);

TMainConfigBuffer FillMainConfig(const TQuilletOptions& options);
void ApplyMainConfig(const TMainConfigBuffer& buffer, TQuilletOptions& options);

// "Envelope List Configuration" (dialog 116).
struct TEnvelopeListConfigBuffer {
    bool showRootBalance = false;          // check box 101
    bool showBundleBalances = false;       // check box 102
    bool showAssociationBalances = false;  // check box 103
    bool showEnvelopeBalances = false;     // check box 104
};

TEnvelopeListConfigBuffer FillEnvelopeListConfig(const TQuilletOptions& options);
void ApplyEnvelopeListConfig(const TEnvelopeListConfigBuffer& buffer, TQuilletOptions& options);

// "Account List Configuration" (dialog 117).
struct TAccountListConfigBuffer {
    bool showRootBalance = false;        // check box 101
    bool showGroupBalances = false;      // check box 102
    bool showAccountBalances = false;    // check box 113
    bool showReconcileBalances = false;  // check box 114
};

TAccountListConfigBuffer FillAccountListConfig(const TQuilletOptions& options);
void ApplyAccountListConfig(const TAccountListConfigBuffer& buffer, TQuilletOptions& options);

// "Transaction View Setup" (dialog 118): the ledger column widths, in characters of the ledger
// font, and the date and memo options.
struct TTransactionViewSetupBuffer {
    std::string codeWidth;           // edit 101, 5-10
    std::string payableToWidth;      // edit 102, 20-50
    std::string memoWidth;           // edit 108, 0-50 (0 hides the memo)
    std::string amountWidth;         // edit 103, 10-15
    std::string envelopeLabelWidth;  // edit 104, 15-30
    std::string accountLabelWidth;   // edit 105, 15-30
    bool includeYear = false;        // check box 106
    bool flyByMemo = false;          // check box 107
    bool autoCorrectYear = false;    // check box 1035
};

enum class TLedgerWidth { Code, PayableTo, Memo, Amount, EnvelopeLabel, AccountLabel };

struct TWidthRange {
    uint32_t min;
    uint32_t max;
};
TWidthRange LedgerWidthRange(TLedgerWidth field);

// At most this many characters may be typed into a width field.
constexpr size_t WidthTextLimit = 10;

// A width field losing focus: its text is read as an unsigned number and brought into range;
// text is what the field shows afterwards. beep tells that the value was out of range.
struct TWidthCheck {
    uint32_t value;
    std::string text;
    bool beep;
};
TWidthCheck CheckLedgerWidth(TLedgerWidth field, const std::string& text);

TTransactionViewSetupBuffer FillTransactionViewSetup(const TQuilletOptions& options);
// Widths out of range are brought into range silently here: the dialog closing applies the
// same limits as a field losing focus.
void ApplyTransactionViewSetup(const TTransactionViewSetupBuffer& buffer, TQuilletOptions& options);
