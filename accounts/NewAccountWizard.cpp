#include "accounts/NewAccountWizard.h"

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "core/QuilletData.h"
#include "core/UIPort.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

class TCancellingWizardPort : public TAccountWizardPort {
public:
    TAccountWizardButton RunPage(TAccountWizardBuffer&) override {
        return TAccountWizardButton::Cancel;
    }
};

TCancellingWizardPort cancellingPort;

std::string Cut(const std::string& text, size_t chars) {
    return text.size() > chars ? text.substr(0, chars) : text;
}

}  // namespace

TPortSlot<TAccountWizardPort> AccountWizardDialog(cancellingPort);

int32_t ClosingBalanceCents(float units) {
    double rounded = static_cast<double>(units) + (units > 0 ? 0.005 : -0.005);
    // Catches a balance typed with extra digits, and keeps the cents within 32 bits.
    if (!(rounded < 20000000.0 && rounded > -20000000.0)) return 0;
    return static_cast<int32_t>(rounded * 100.0);
}

uint32_t TAccountWizard::StartingEnvelope() {
    TEnvelopeList& envelopes = document.GetEnvelopes();
    uint32_t id = envelopes.FindId(StartingBalanceEnvelope);
    if (envelopes.GetEnvelope(id)) return id;
    // The plan set-up makes it; a budget without it would otherwise let the starting balances
    // fall outside every envelope and the totals part at once.
    envelopes.GetEnvelopeRoot()->NewEnvelope(StartingBalanceEnvelope);
    id = envelopes.FindId(StartingBalanceEnvelope);
    return envelopes.GetEnvelope(id) ? id : 0;
}

bool TAccountWizard::AddAccount(const TAccountWizardBuffer& form) {
    std::string name = Cut(form.name, TAccountWizardBuffer::NameChars);
    if (name.empty()) return true;
    if (added.Find(name)) {
        UI().Message("Error",
                     "Account name, \"" + name +
                         "\" has already been used.  Please use a different account name.",
                     TMsgButtons::Ok, TMsgIcon::Exclamation);
        return false;
    }
    uint32_t envelope = StartingEnvelope();
    if (!envelope) {
        UI().Message("Error",
                     std::string("The envelope \"") + StartingBalanceEnvelope +
                         "\" could not be made, so no starting balance can be entered.",
                     TMsgButtons::Ok, TMsgIcon::Exclamation);
        return false;
    }
    uint32_t kind = TAccountTypeList::KindName(form.kind) ? form.kind : TAccountTypeList::Checking;
    TAccountList& accounts = document.GetAccounts();
    if (!accounts.GetAccountRoot()->NewAccount(
            name, Cut(form.description, TAccountWizardBuffer::DescriptionChars), kind,
            StartingBalanceEnvelope))
        return false;

    TXRecord templ;
    templ.Init(TDate());
    templ.flags = XCommitted | XAccount;
    templ.account = accounts.FindId(name);
    templ.envelope = envelope;
    templ.date = form.closingDate.Key();
    templ.accountCleared = XClearedPending;
    templ.SetCode("Start");
    templ.SetPayableTo("Starting Balance");
    // The amount is posted through the row, so the account, its cleared balance and the envelope
    // move together.
    TXManager& store = document.GetXManager();
    TXItem* item = store.NewItem(templ);
    item->SetAmount(ClosingBalanceCents(form.closingBalance));
    store.Release(item);

    added.Add(name);
    return true;
}

bool TAccountWizard::Run() {
    TAccountWizardBuffer form;
    for (;;) {
        TAccountWizardButton button = AccountWizardDialog().RunPage(form);
        if (button == TAccountWizardButton::Cancel) return false;
        if (!AddAccount(form)) continue;  // the form keeps what was typed
        if (button == TAccountWizardButton::Finish) return true;
        form = TAccountWizardBuffer();
    }
}

bool AddAccountsHeadless(TQuilletData& document, const std::vector<TAccountWizardBuffer>& forms,
                         std::string& error) {
    TAccountWizard wizard(document);
    // The starting balances go into the store together.
    TXManager::TBulkPosting posting(document.GetXManager());
    for (const TAccountWizardBuffer& form : forms) {
        if (!wizard.AddAccount(form)) {
            error = "the account \"" + form.name + "\" was not added";
            return false;
        }
    }
    return true;
}
