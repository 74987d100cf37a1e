#include "transactions/FilterDialogs.h"

TFilterNodeLabels FilterNodeLabels(uint32_t mode) {
    // Envelope ledgers pick by account and list envelope transfers; account ledgers the reverse.
    if (mode & (FilterEnvelopeLedger | FilterEnvelopeGroup))
        return {" Account ", "Account:", "Envelope Transfer"};
    return {" Envelope ", "Envelope:", "Account Transfer"};
}

namespace {

// Used until the program sets its own: a headless run never changes a filter through a dialog
// nobody saw.
class TCancellingFilterDialogs : public TFilterDialogPort {
public:
    bool EditFilter(TFilterDialogBuffer&) override { return false; }
};

TCancellingFilterDialogs cancelling;

}  // namespace

TPortSlot<TFilterDialogPort> FilterDialogs(cancelling);
