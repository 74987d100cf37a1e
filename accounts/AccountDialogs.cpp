#include "accounts/AccountDialogs.h"

namespace {

class TCancellingAccountDialogs : public TAccountDialogPort {
public:
    bool EditAccount(TAccountBuffer&) override { return false; }
    bool EditAccountGroup(TAccountGroupBuffer&) override { return false; }
    bool EditAccountRoot(TAccountRootBuffer&) override { return false; }
    bool ChooseAccount(TChooseAccountBuffer&) override { return false; }
};

TCancellingAccountDialogs cancelling;

}  // namespace

TPortSlot<TAccountDialogPort> AccountDialogs(cancelling);
