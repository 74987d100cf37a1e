// add: one transaction entered as a ledger row is typed, so it posts exactly as typed: a payment
// or deposit, an account transfer or an envelope transfer.
#include <iostream>
#include <string>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "cli/BudgetWriter.h"
#include "cli/Commands.h"
#include "core/Money.h"
#include "core/QuilletData.h"
#include "core/Text.h"
#include "envelopes/EnvelopeList.h"
#include "transactions/TransferDialogs.h"
#include "transactions/Transfers.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

constexpr const char* Usage =
    "usage: quillet-cli add FILE.qlt --amount EXPR\n"
    "         (--account NAME --envelope NAME | --from-account NAME --to-account NAME\n"
    "          | --from-envelope NAME --to-envelope NAME)\n"
    "         [--date M/D/Y] [--code TEXT] [--payee TEXT] [--memo TEXT]\n";

int Refuse(const std::string& why) {
    std::cerr << "quillet-cli add: " << why << "\n";
    return 2;
}

struct TOption {
    explicit TOption(const char* name) : name(name) {}
    const char* name;
    std::string value;
    bool given = false;
};

// The "Account Transfer" dialog answered from the command line: the from side shows the row as
// typed; the texts given go on the receiving side too.
class TGivenAccountTransfer : public TTransferDialogPort {
public:
    TGivenAccountTransfer(double amount, uint32_t from, uint32_t to, const TOption* texts[3])
        : amount(amount), from(from), to(to), texts(texts) {}
    bool AccountTransfer(TActXferBuffer& buffer) override {
        buffer.amount = amount;
        buffer.from.account = from;
        buffer.to.account = to;
        std::string* fields[3] = {&buffer.to.code, &buffer.to.payableTo, &buffer.to.memo};
        for (int k = 0; k < 3; ++k)
            if (texts[k]->given) *fields[k] = Utf8ToCp1252(texts[k]->value);
        return true;
    }

private:
    double amount;
    uint32_t from, to;
    const TOption** texts;
};

}  // namespace

int RunAddCommand(const TCommandArgs& args) {
    TOption account{"--account"}, envelope{"--envelope"}, fromAccount{"--from-account"},
        toAccount{"--to-account"}, fromEnvelope{"--from-envelope"}, toEnvelope{"--to-envelope"},
        amount{"--amount"}, date{"--date"}, code{"--code"}, payee{"--payee"}, memo{"--memo"};
    TOption* options[] = {&account, &envelope, &fromAccount, &toAccount, &fromEnvelope, &toEnvelope,
                          &amount,  &date,     &code,        &payee,     &memo};
    std::string path;
    if (args.size() == 1 && args[0] == "--help") {
        std::cout << Usage;
        return 0;
    }
    for (size_t i = 0; i < args.size(); ++i) {
        TOption* option = nullptr;
        for (TOption* o : options)
            if (args[i] == o->name) option = o;
        if (option) {
            if (option->given || !TakeOptionValue(args, i, option->value, option->given))
                return Refuse(std::string(option->name) + " needs one value\n" + Usage);
        } else if (!path.empty() || (args[i].size() > 1 && args[i][0] == '-')) {
            return Refuse("unexpected '" + args[i] + "'\n" + Usage);
        } else {
            path = args[i];
        }
    }
    bool payment = account.given && envelope.given;
    bool accountTransfer = fromAccount.given && toAccount.given;
    bool envelopeTransfer = fromEnvelope.given && toEnvelope.given;
    int given = 0;
    for (const TOption* o :
         {&account, &envelope, &fromAccount, &toAccount, &fromEnvelope, &toEnvelope})
        given += o->given;
    if (path.empty() || !amount.given || given != 2 ||
        !(payment || accountTransfer || envelopeTransfer))
        return Refuse("a budget file, --amount and one pair of names are needed\n" +
                      std::string(Usage));

    // The amount as the ledger's amount cells read it; nothing outside their range, and no zero.
    std::optional<double> units = ParseAmount(amount.value);
    if (!units || !(*units > -20000000.0 && *units < 20000000.0) ||
        (*units < 0.005 && *units > -0.005))
        return Refuse("'" + amount.value + "' is not an amount");
    TDate when = TDate::Today();
    if (date.given) {
        when = TDate::Parse(date.value, when.Year());
        if (when.IsEmpty() || !when.IsValid())
            return Refuse("'" + date.value + "' is not a date (M/D/Y)");
    }

    TBudgetWriter writer("add", path);
    int status = 0;
    std::unique_ptr<TQuilletData> doc = writer.Open(status);
    if (!doc) return status;
    TCurrentDocument current(*doc);

    // Names in the budget are Windows-1252; the command line is UTF-8.
    auto accountId = [&](const TOption& o, uint32_t& id) {
        id = doc->GetAccounts().FindId(Utf8ToCp1252(o.value));
        return doc->GetAccounts().GetAccount(id) != nullptr;
    };
    auto envelopeId = [&](const TOption& o, uint32_t& id) {
        id = doc->GetEnvelopes().FindId(Utf8ToCp1252(o.value));
        return doc->GetEnvelopes().GetEnvelope(id) != nullptr;
    };
    uint32_t first = 0, second = 0;
    const TOption& firstName = payment ? account : accountTransfer ? fromAccount : fromEnvelope;
    const TOption& secondName = payment ? envelope : accountTransfer ? toAccount : toEnvelope;
    bool firstIsAccount = !envelopeTransfer, secondIsAccount = accountTransfer;
    if (!(firstIsAccount ? accountId(firstName, first) : envelopeId(firstName, first)))
        return Refuse(std::string("no ") + (firstIsAccount ? "account" : "envelope") + " named \"" +
                      firstName.value + "\"");
    if (!(secondIsAccount ? accountId(secondName, second) : envelopeId(secondName, second)))
        return Refuse(std::string("no ") + (secondIsAccount ? "account" : "envelope") +
                      " named \"" + secondName.value + "\"");
    if (!payment && first == second) return Refuse("a transfer needs two different names");

    TXManager& store = doc->GetXManager();
    TXRecord templ;
    templ.Init(TDate::Today());
    templ.flags = envelopeTransfer ? XNewEnvelopeRecord : XNewAccountRecord;
    templ.account = envelopeTransfer ? 0 : first;
    templ.envelope = payment            ? second
                     : envelopeTransfer ? first
                                        : doc->GetAccounts().GetDefaultEnvelope(first);
    templ.date = when.Key();
    TXItem* item = store.NewItem(templ);
    // The texts and the amount go in through the row's cells, as typed into a ledger.
    if (memo.given) item->SetCellText(XColMemo, Utf8ToCp1252(memo.value));
    auto texts = [&] {
        if (code.given) item->SetCellText(XColCode, Utf8ToCp1252(code.value));
        if (payee.given) item->SetCellText(XColPayableTo, Utf8ToCp1252(payee.value));
    };
    bool made = true;
    if (payment) {
        texts();
        // A positive amount is a deposit; a negative one typed there pays.
        item->SetCellText(XColDeposit, amount.value);
    } else if (envelopeTransfer) {
        item->SetCellText(XColPayment, amount.value);
        made = CreateEnvelopeTransfer(*item, second);
        texts();  // the transfer gives its own code and text; given ones replace them
    } else {
        texts();
        const TOption* given[3] = {&code, &payee, &memo};
        TGivenAccountTransfer answers(*units, first, second, given);
        TPortInstall<TTransferDialogPort> installed(TransferDialogs, answers);
        made = CreateAccountTransfer(*item);
    }
    uint32_t id = item->GetId();
    uint32_t partner = item->Record().partner;
    store.Release(item);
    if (!made) {
        std::cerr << "quillet-cli add: the transfer was not made; the budget is unchanged\n";
        return 1;
    }

    if (!writer.Save(*doc)) return 1;
    std::cout << "added " << id;
    if (!payment) std::cout << " " << partner;
    std::cout << "\n";
    return 0;
}
