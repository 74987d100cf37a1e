// What the six reports share outside the page engine: amount texts, column cuts, the file form of
// a report's text, the clipboard content, the messages shown when the clipboard refuses, the
// export file dialog's texts and the report settings kept in the configuration (the preview's
// size is kept by reports/FormPreview.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Date.h"
#include "core/Money.h"
#include "core/UIPort.h"

class TSettingsList;

// Ledger style: thousands separators, negative amounts in parentheses, the others framed by one
// blank on each side, zero shown.
std::string LedgerAmount(TMoney amount);
// Plain style: thousands separators and a leading minus.
std::string PlainAmount(TMoney amount);

// A text longer than its column's space is cut at the column's length.
std::string CutText(const std::string& text, size_t length);

// The bytes a text-mode write puts in a file: every "\n" becomes "\r\n"; a lone "\r" stays.
std::string TextModeBytes(const std::string& text);

// What "Copy to Clipboard" puts on the clipboard: the text in the system's 8-bit text format and,
// for the envelope ledger's old format, a second block under a format registered by name.
struct TClipboardContent {
    std::string text;
    std::string extraFormat;  // empty: no second format
    std::string extraBytes;
};

// The message shown, with nothing put on the clipboard, when the clipboard cannot hold the text.
struct TReportMessage {
    const char* text;
    const char* caption;
    TMsgIcon icon;
};

namespace ReportMessages {
inline constexpr TReportMessage TransactionsTooLarge{
    "The list of transactions is too large.  Try exporting the list to a file.  Or shorten it by "
    "changing the date range.",
    "Quillet", TMsgIcon::Stop};
inline constexpr TReportMessage ListTooLong{"The list is too long.  Try exporting it to a file.",
                                            "Quillet", TMsgIcon::Stop};
inline constexpr TReportMessage TemplatesTooLarge{
    "The list of templates is too large.\n\nTry exporting the list to a file.", "Quillet",
    TMsgIcon::Stop};
inline constexpr TReportMessage ClipboardSpace{
    "Error Allocating Clipboard Space. Try exporting to a file instead.", "Error",
    TMsgIcon::Exclamation};
}  // namespace ReportMessages

// The export file dialog of every report.
namespace ReportExport {
inline constexpr const char* Filter = "Tab delimited file|*.tab|Text file|*.txt|";
inline constexpr const char* DefaultExtension = "tab";
inline constexpr const char* InitialName = "*.tab";
inline constexpr const char* AccountLedgerTitle = "Export Account Ledger File Name";
inline constexpr const char* EnvelopeLedgerTitle = "Export Envelope Ledger File Name";
inline constexpr const char* AccountSummaryTitle = "Export Account Summary File Name";
inline constexpr const char* AllocationPlanTitle = "Export Allocation Plan File Name";
inline constexpr const char* EnvelopeActivityTitle = "Export Envelope Activity File Name";
inline constexpr const char* EnvelopeSummaryTitle = "Export Envelope Summary File Name";
}  // namespace ReportExport

// The dialogs' date fields start on the first and the last day of the month of `today`.
void ThisMonth(TDate today, TDate& from, TDate& to);

// The eight column boxes of the envelope activity report, in column order.
struct TEnvelopeActivityColumns {
    bool alloc = true;
    bool expense = true;
    bool transIn = false;
    bool transOut = false;
    bool allIn = true;
    bool allOut = true;
    bool startBal = true;
    bool endBal = true;
    bool operator==(const TEnvelopeActivityColumns&) const = default;
};

// The configuration keys of the reports, stored as decimal text.
namespace ReportKeys {
inline constexpr const char* EnvLgrOldFormat = "EnvLgr.OldFormat";
inline constexpr const char* ColAlloc = "EnvAct.ColAlloc";
inline constexpr const char* ColExpense = "EnvAct.ColExpense";
inline constexpr const char* ColTransIn = "EnvAct.ColTransIn";
inline constexpr const char* ColTransOut = "EnvAct.ColTransOut";
inline constexpr const char* ColAllIn = "EnvAct.ColAllIn";
inline constexpr const char* ColAllOut = "EnvAct.ColAllOut";
inline constexpr const char* ColStartBal = "EnvAct.ColStartBal";
inline constexpr const char* ColEndBal = "EnvAct.ColEndBal";
}  // namespace ReportKeys

TEnvelopeActivityColumns LoadActivityColumns(const TSettingsList& settings);
void StoreActivityColumns(TSettingsList& settings, const TEnvelopeActivityColumns& columns);
bool LoadEnvelopeLedgerOldFormat(const TSettingsList& settings);
void StoreEnvelopeLedgerOldFormat(TSettingsList& settings, bool oldFormat);
