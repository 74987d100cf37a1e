#include "accounts/AccountDialogs.h"

namespace {

class TCancellingAccountDialogs : public TAccountDialogPort {
public:
    bool EditAccount(TAccountBuffer&) override { return false; }
    bool EditAccountGroup(TAccountGroupBuffer&) override { return false; }
    bool EditAccountRoot(TAccountRootBuffer&) override { return false; }
    bool ChooseAccount(TChooseAccountBuffer&) override { return false; }
    void OpenAccountLedger(uint32_t, bool) override {}
    void RefreshTransactionViews() override {}
};

TCancellingAccountDialogs cancelling;
TAccountDialogPort* current = &cancelling;

}  // namespace

TAccountDialogPort& AccountDialogs() {
    return *current;
}
void SetAccountDialogPort(TAccountDialogPort* port) {
    current = port ? port : &cancelling;
}
