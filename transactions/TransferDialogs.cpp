#include "transactions/TransferDialogs.h"

#include "accounts/AccountList.h"
#include "core/Money.h"
#include "core/UIPort.h"

namespace {

// Every amount typed anywhere stays strictly inside this many cents either way.
constexpr int64_t CentsLimit = 2'000'000'000;

// Used until the program sets its own: a headless run never moves money through a dialog
// nobody saw.
class TCancellingTransferDialogs : public TTransferDialogPort {
public:
    bool AccountTransfer(TActXferBuffer&) override { return false; }
};

TCancellingTransferDialogs cancelling;

}  // namespace

int32_t ActXferCents(const TActXferBuffer& buffer) {
    int64_t cents = TMoney(buffer.amount).Cents();
    if (cents <= -CentsLimit || cents >= CentsLimit) return 0;
    return static_cast<int32_t>(cents);
}

std::optional<std::string> ActXferProblem(const TActXferBuffer& buffer,
                                          const TAccountList& accounts) {
    if (TMoney(buffer.amount).Cents() == 0) return "You must enter an amount to transfer.";
    if (ActXferCents(buffer) == 0) return "The amount to transfer must be below 20,000,000.00.";
    if (buffer.from.account == buffer.to.account)
        return "You cannot transfer to and from the same Account.";
    // The combo boxes list only accounts; an id from elsewhere would post to nothing.
    if (!accounts.GetAccount(buffer.from.account) || !accounts.GetAccount(buffer.to.account))
        return "You must choose an Account to transfer from and one to transfer to.";
    if (buffer.envelopeTransfer && buffer.from.envelope == buffer.to.envelope)
        return "You cannot transfer to and from the same Envelope.";
    return std::nullopt;
}

bool CheckActXfer(const TActXferBuffer& buffer, const TAccountList& accounts) {
    std::optional<std::string> problem = ActXferProblem(buffer, accounts);
    if (!problem) return true;
    UI().Message("Error", *problem, TMsgButtons::Ok, TMsgIcon::Exclamation);
    return false;
}

TPortSlot<TTransferDialogPort> TransferDialogs(cancelling);
