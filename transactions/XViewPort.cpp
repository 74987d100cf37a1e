#include "transactions/XViewPort.h"

namespace {

class TNoViews : public TXViewPort {
public:
    void CloseAccountViews(uint32_t) override {}
    void CloseEnvelopeViews(uint32_t) override {}
    void RefreshTreeWindows() override {}
    void OpenMultipleView(uint32_t) override {}
};

TNoViews none;
TXViewPort* current = &none;

}  // namespace

TXViewPort& XViews() {
    return *current;
}

void SetXViewPort(TXViewPort* port) {
    current = port ? port : &none;
}
