#include "reports/AccountLedgerReport.h"

#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "transactions/XItem.h"

TAccountLedgerReport::TAccountLedgerReport()
    : TLedgerReport(FilterAccountLedger | FilterNoViewSettings,
                    {
                        {XColCode, 19, "No.", 15, 0},
                        {XColDateYear, 14, "Date", 15, TextCentre},
                        {0, 0, "Description/Payable To (Memo)", 85, 0},
                        {XColEnvelope, 31, "Envelope", 35, 0},
                        {XColAccountCleared, 2, "X", 6, TextCentre},
                        {XColPayment, 14, "Payment", 20, TextRight},
                        {XColDeposit, 14, "Deposit", 20, TextRight},
                    },
                    "Account Ledger Report") {}

void TAccountLedgerReport::Prepare(TQuilletData& doc, const TAccountLedgerReportBuffer& buffer) {
    accountName = doc.GetAccounts().GetAccountName(buffer.account);
    Collect(doc, buffer.account, buffer.from, buffer.to);
}
