// The envelope ledger report: the transactions of an envelope (or of every envelope under a
// bundle or association) in a date range, as the envelope ledger lists them, with the account
// of each. Its clipboard text also comes in an older layout that other programs read.
#pragma once

#include <cstdint>
#include <string>

#include "core/Date.h"
#include "reports/LedgerReport.h"
#include "reports/ReportText.h"

class TQuilletData;

// The dialog's transfer buffer; oldFormat is the "Use old format" box.
struct TEnvelopeLedgerReportBuffer {
    uint32_t envelope = 0;
    TDate from;
    TDate to;
    bool oldFormat = false;
};

// The clipboard format that marks a ledger in the old layout; its block is ten zero bytes.
inline constexpr const char* EnvelopeLedgerClipboardFormat = "QUILLET ENVELOPE LEDGER";

class TEnvelopeLedgerReport : public TLedgerReport {
public:
    TEnvelopeLedgerReport();

    void Prepare(TQuilletData& doc, const TEnvelopeLedgerReportBuffer& buffer);
    // The old layout: no header, no X column, lines ending "\r\n".
    std::string GetOldFormatText() const;
    // The old layout (as the buffer last prepared asked) also carries the named format.
    TClipboardContent GetClipboard() const;

protected:
    std::string PageTitle() const override { return "Envelope Ledger: " + envelopeName; }

private:
    std::string envelopeName;
    bool oldFormat = false;
};
