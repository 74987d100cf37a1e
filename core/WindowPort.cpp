#include "core/WindowPort.h"

namespace {

class TNoWindows : public TWindowPort {
public:
    void OpenAccountLedger(uint32_t, TLedgerMode) override {}
    void OpenEnvelopeLedger(uint32_t, TLedgerMode) override {}
    void OpenMultipleView(uint32_t) override {}
    void CloseAccountViews(uint32_t) override {}
    void CloseEnvelopeViews(uint32_t) override {}
    void RefreshTreeWindows() override {}
    void RefreshTransactionViews() override {}
};

TNoWindows none;

}  // namespace

TPortSlot<TWindowPort> Windows(none);
