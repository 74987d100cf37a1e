#include "reports/EnvelopeLedgerReport.h"

#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"
#include "transactions/XItem.h"

TEnvelopeLedgerReport::TEnvelopeLedgerReport()
    : TLedgerReport(FilterEnvelopeGroup | FilterNoViewSettings,
                    {
                        {XColCode, 19, "No.", 15, 0},
                        {XColDateYear, 14, "Date", 15, TextCentre},
                        {0, 0, "Description/Payable To (Memo)", 85, 0},
                        {XColEnvelope, 31, "Envelope", 35, 0},
                        {XColAccount, 31, "Account", 35, 0},
                        {XColEnvelopeCleared, 2, "X", 6, TextCentre},
                        {XColPayment, 14, "Payment", 20, TextRight},
                        {XColDeposit, 14, "Deposit", 20, TextRight},
                    },
                    "Envelope Ledger Report") {}

void TEnvelopeLedgerReport::Prepare(TQuilletData& doc, const TEnvelopeLedgerReportBuffer& buffer) {
    const TEnvelopeNode* node = doc.GetEnvelopes().FindById(buffer.envelope);
    envelopeName = node ? node->GetName() : std::string();
    oldFormat = buffer.oldFormat;
    Collect(doc, buffer.envelope, buffer.from, buffer.to);
}

std::string TEnvelopeLedgerReport::GetOldFormatText() const {
    std::string text;
    for (size_t i = 0; i < Count(); ++i)
        text += Line(i, ClearedColumn(), "\r\n");
    return text + Totals();
}

TClipboardContent TEnvelopeLedgerReport::GetClipboard() const {
    if (!oldFormat) return {GetText(), {}, {}};
    return {GetOldFormatText(), EnvelopeLedgerClipboardFormat, std::string(10, '\0')};
}
