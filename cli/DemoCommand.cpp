// demo: a small household budget made the way a user would make it, for trying the program out
// and for screenshots. Every amount moves through the transaction rows, so the budget is sound.
#include <filesystem>
#include <iostream>

#include "accounts/AccountList.h"
#include "app/BudgetCheck.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "cli/BudgetWriter.h"
#include "cli/Commands.h"
#include "core/QuilletData.h"
#include "envelopes/Association.h"
#include "envelopes/Bundle.h"
#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/Transfers.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

// Names the bundles and associations the demo makes; every other dialog is cancelled.
class TNamingDialogs : public TEnvelopeDialogPort {
public:
    std::string name;
    TPortInstall<TEnvelopeDialogPort> installed{EnvelopeDialogs, *this};
    bool EditEnvelope(TEnvelopeBuffer&) override { return false; }
    bool EditEnvelopeRoot(TEnvelopeRootBuffer&) override { return false; }
    bool EditBundle(TBundleBuffer& b) override { return Name(b.name, b.checkName); }
    bool EditAssociation(TAssociationBuffer& b) override { return Name(b.name, b.checkName); }
    bool DeleteEnvelope(TDeleteEnvelopeBuffer&) override { return false; }
    bool ChooseEnvelope(TChooseEnvelopeBuffer&) override { return false; }

private:
    bool Name(std::string& field, const TNameCheck& check) {
        if (check && !check(name)) return false;
        field = name;
        return true;
    }
};

class TDemoBuilder {
public:
    TDemoBuilder(TQuilletData& doc) : doc(doc), store(doc.GetXManager()) {}

    uint32_t Account(const char* name) { return doc.GetAccounts().FindId(name); }
    uint32_t Envelope(const char* name) { return doc.GetEnvelopes().FindId(name); }

    // A bundle or association at the top of the tree holding the named envelopes.
    bool Group(bool bundle, const char* name, std::initializer_list<const char*> members) {
        dialogs.name = name;
        TEnvelopeRoot* root = doc.GetEnvelopes().GetEnvelopeRoot();
        if (!(bundle ? root->NewBundle() : root->NewAssociation())) return false;
        TEnvelopeNode* group = doc.GetEnvelopes().FindByName(name);
        if (!group) return false;
        for (const char* member : members) {
            TEnvelopeNode* node = doc.GetEnvelopes().FindByName(member);
            if (!node) return false;
            group->Drop(node);
        }
        return true;
    }

    // A plain transaction of an account; cleared on the account side when clearedOn is given.
    void Payment(const char* account, const char* envelope, TDate date, const char* code,
                 const char* payee, int32_t cents, TDate clearedOn = {}) {
        TXItem* item = NewRow(XNewAccountRecord, Account(account), Envelope(envelope), date);
        item->Data().SetCode(code);
        item->Data().SetPayableTo(payee);
        item->Data().accountCleared = clearedOn.Key();
        item->SetAmount(cents);
        store.Release(item);
    }

    // One payment split over envelopes.
    void Split(const char* account, TDate date, const char* payee,
               std::initializer_list<std::pair<const char*, int32_t>> parts) {
        auto first = parts.begin();
        TXItem* item = NewRow(XNewAccountRecord, Account(account), Envelope(first->first), date);
        item->Data().SetPayableTo(payee);
        item->SetAmount(first->second);
        CreateMultiple(*item);
        for (auto part = first + 1; part != parts.end(); ++part) {
            TXRecord templ = MultiplePartTemplate(*item);
            templ.flags |= XDirty;
            templ.envelope = Envelope(part->first);
            TXItem* row = store.NewItem(templ);
            row->SetAmount(part->second);
            store.Release(row);
        }
        store.Release(item);
    }

    // Money from one account to another.
    void Transfer(const char* from, const char* to, TDate date, int32_t cents) {
        TXItem* paying = NewRow(XKindAccountTransfer | XDirty, Account(from), 0, date);
        TXItem* receiving = NewRow(XKindAccountTransfer | XDirty, Account(to), 0, date);
        paying->Data().partner = receiving->GetId();
        receiving->Data().partner = paying->GetId();
        for (TXItem* half : {paying, receiving}) {
            half->Data().SetCode("xfer");
            half->Data().SetPayableTo(half == paying ? std::string("Transfer to ") + to
                                                     : std::string("Transfer from ") + from);
        }
        paying->SetAmount(-cents);
        store.Release(paying);
        store.Release(receiving);
    }

    // Fills envelopes from "Unallocated", as allocating a paycheck does.
    void Allocate(TDate date, std::initializer_list<std::pair<const char*, int32_t>> amounts) {
        for (auto [envelope, cents] : amounts)
            store.AddEnvelopeTransfer(Envelope(envelope), Envelope(StartingBalanceEnvelope), cents,
                                      date);
    }

private:
    TXItem* NewRow(uint32_t flags, uint32_t account, uint32_t envelope, TDate date) {
        TXRecord r;
        r.Init(date);
        r.flags = flags;
        r.account = account;
        r.envelope = envelope;
        r.date = date.Key();
        return store.NewItem(r);
    }

    TQuilletData& doc;
    TXManager& store;
    TNamingDialogs dialogs;
};

bool BuildDemo(TQuilletData& doc, std::string& error) {
    const TDate start(31, 12, 2025);
    doc.SetDate(start);
    TNewPlanInput plan;
    plan.incomes[0] = 3200;
    plan.incomes[1] = 1450;
    if (!doc.GetPlan().SetUpNewPlanHeadless(plan)) return error = "the plan was not made", false;
    std::vector<TAccountWizardBuffer> accounts = {
        {"Visa", "Everyday card, paid in full", -612.40f, start, TAccountTypeList::Credit},
        {"Wallet", "", 85, start, TAccountTypeList::Cash},
        {"Savings", "Rainy-day fund", 8200, start, TAccountTypeList::Savings},
        {"Checking", "Joint account", 2450.17f, start, TAccountTypeList::Checking},
    };
    if (!AddAccountsHeadless(doc, accounts, error)) return false;

    TDemoBuilder b(doc);
    if (!b.Group(true, "Bills", {"Housing", "Insurance", "Debts"}) ||
        !b.Group(true, "Everyday", {"Food", "Transport", "Clothing", "Fun"}) ||
        !b.Group(true, "Goals", {"Savings", "Charity"}) ||
        !b.Group(false, "Kids", {"School", "Medical", "Clothing"}))
        return error = "the envelope groups were not made", false;

    b.Allocate(start, {{"Housing", 120000}, {"Food", 40000}, {"Savings", 800000}});
    for (int month = 1; month <= 3; ++month) {
        // Older months are reconciled; the last one is still open.
        auto cleared = [&](int day) { return month < 3 ? TDate(day + 2, month, 2026) : TDate(); };
        b.Payment("Checking", "Unallocated", TDate(1, month, 2026), "dep", "Northwind Payroll",
                  320000, cleared(1));
        b.Payment("Checking", "Unallocated", TDate(15, month, 2026), "dep", "City Library", 145000,
                  cleared(15));
        b.Allocate(TDate(1, month, 2026), {{"Housing", 150000},
                                           {"Food", 60000},
                                           {"Transport", 35000},
                                           {"Insurance", 22000},
                                           {"Debts", 20000},
                                           {"Medical", 15000},
                                           {"School", 18000},
                                           {"Clothing", 12000},
                                           {"Fun", 15000},
                                           {"Charity", 10000},
                                           {"Savings", 40000},
                                           {"Misc.", 20000}});
        b.Payment("Checking", "Housing", TDate(2, month, 2026), "1001", "Maple Court Rentals",
                  -145000, cleared(2));
        b.Payment("Checking", "Insurance", TDate(5, month, 2026), "auto", "Harbor Mutual", -21450,
                  cleared(5));
        b.Payment("Visa", "Food", TDate(7, month, 2026), "", "Greenleaf Market", -8743, cleared(7));
        b.Payment("Visa", "Transport", TDate(9, month, 2026), "", "Quick Fuel", -5210 - month * 37,
                  cleared(9));
        b.Payment("Wallet", "Fun", TDate(12, month, 2026), "", "Bijou Cinema", -3200);
        b.Payment("Visa", "Food", TDate(20, month, 2026), "", "Greenleaf Market", -11260);
        b.Split("Visa", TDate(22, month, 2026), "Big Box Store",
                {{"Food", -9425}, {"Clothing", -4599}, {"Misc.", -1875}});
        b.Transfer("Checking", "Visa", TDate(25, month, 2026), 45000);
        b.Transfer("Checking", "Wallet", TDate(26, month, 2026), 6000);
    }
    b.Split("Checking", TDate(10, 2, 2026), "Riverside Clinic",
            {{"Medical", -6000}, {"School", -2500}});
    b.Payment("Checking", "Charity", TDate(14, 3, 2026), "1002", "Food Bank", -5000);
    std::vector<std::string> problems = CheckBudget(doc);
    if (!problems.empty()) return error = "the demo is not sound: " + problems.front(), false;
    return true;
}

}  // namespace

int RunDemoCommand(const TCommandArgs& args) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        std::cerr << "usage: quillet-cli demo FILE.qlt\n";
        return 2;
    }
    const std::string& path = args[0];
    TBudgetWriter writer("demo", path);
    if (!writer.Lock()) return 1;
    // Like a new budget, the demo never replaces a file that is there.
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        std::cerr << "quillet-cli demo: " << path
                  << ": already exists; the demo does not replace it\n";
        return 1;
    }
    TQuilletData doc;
    TCurrentDocument current(doc);
    std::string error;
    if (!BuildDemo(doc, error)) {
        std::cerr << "quillet-cli demo: " << path << ": " << error << "\n";
        return 1;
    }
    return writer.Save(doc) ? 0 : 1;
}
