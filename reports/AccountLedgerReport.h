// The account ledger report: the transactions of one account in a date range, as its ledger
// lists them.
#pragma once

#include <cstdint>
#include <string>

#include "core/Date.h"
#include "reports/LedgerReport.h"
#include "reports/ReportText.h"

class TQuilletData;

// The dialog's transfer buffer.
struct TAccountLedgerReportBuffer {
    uint32_t account = 0;
    TDate from;
    TDate to;
};

class TAccountLedgerReport : public TLedgerReport {
public:
    TAccountLedgerReport();

    // Reads the account's transactions through the filter, with the buffer's date range.
    void Prepare(TQuilletData& doc, const TAccountLedgerReportBuffer& buffer);
    TClipboardContent GetClipboard() const { return {GetText(), {}, {}}; }

protected:
    std::string PageTitle() const override { return "Account Ledger: " + accountName; }

private:
    std::string accountName;
};
