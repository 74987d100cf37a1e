#include "app/BudgetCheck.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "accounts/AccountList.h"
#include "core/Money.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

TMoney AccountTotal(TQuilletData& doc) {
    return doc.GetAccounts().GetTotal();
}
TMoney EnvelopeTotal(TQuilletData& doc) {
    return doc.GetEnvelopes().GetTotal();
}

std::string Money(int64_t cents) {
    return TMoney::FromCents(cents).Format(MoneyThousands);
}

std::string Tx(uint32_t id) {
    return "transaction " + std::to_string(id) + ": ";
}

// The records that stay in the budget: committed, not being deleted.
bool Counts(const TXRecord& r) {
    return !r.IsFree() && r.IsCommitted() && !r.IsDeleted();
}

const TXRecord* CountedRecord(const TXManager& store, uint32_t id) {
    const TXRecord* r = store.FindRecord(id);
    return r && Counts(*r) ? r : nullptr;
}

// Balances are 32-bit fields that wrap, so sums are compared the way the fields hold them.
int32_t Wrapped(int64_t cents) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(cents)));
}

bool Fits(int64_t cents) {
    return cents == Wrapped(cents);
}

void CheckTransfer(const TXManager& store, const TXRecord& r, std::vector<std::string>& problems) {
    bool accountHalf = r.IsAccountTransfer(), envelopeHalf = r.IsEnvelopeTransfer();
    if (accountHalf == envelopeHalf) {
        problems.push_back(Tx(r.id) +
                           "is marked as a transfer but is no account or envelope "
                           "transfer half");
        return;
    }
    if (r.partner == r.id) {
        problems.push_back(Tx(r.id) + "names itself as its transfer partner");
        return;
    }
    const TXRecord* p = CountedRecord(store, r.partner);
    if (!p) {
        problems.push_back(Tx(r.id) + "transfer partner " + std::to_string(r.partner) +
                           " does not exist");
        return;
    }
    if (p->partner != r.id) {
        problems.push_back(Tx(r.id) + "transfer partner " + std::to_string(r.partner) +
                           " does not name it as its partner");
        return;
    }
    if (r.id > p->id) return;  // a sound pair is looked at once, from its lower id
    std::string pair =
        "transactions " + std::to_string(r.id) + " and " + std::to_string(p->id) + ": ";
    if (p->IsAccountTransfer() != accountHalf || p->IsEnvelopeTransfer() != envelopeHalf)
        problems.push_back(pair + "transfer halves are not of the same kind");
    if (static_cast<int64_t>(r.amount) + p->amount != 0)
        problems.push_back(pair + "transfer amounts " + Money(r.amount) + " and " +
                           Money(p->amount) + " are not opposite");
}

void CheckIds(TQuilletData& doc, const TXRecord& r, std::vector<std::string>& problems) {
    TAccountList& accounts = doc.GetAccounts();
    TEnvelopeList& envelopes = doc.GetEnvelopes();
    if (r.Has(XAccount) && !accounts.GetIdList().IsIssued(r.account))
        problems.push_back(Tx(r.id) + "account " + std::to_string(r.account) + " was never issued");
    if (r.envelope != 0 && !envelopes.GetIdList().IsIssued(r.envelope))
        problems.push_back(Tx(r.id) + "envelope " + std::to_string(r.envelope) +
                           " was never issued");
    // An amount that moves something that is not there is lost from one of the totals.
    if (r.amount == 0) return;
    if (XMovesAccount(r) && !accounts.GetAccount(r.account))
        problems.push_back(Tx(r.id) + "moves account " + std::to_string(r.account) +
                           ", which is no account");
    if (XMovesEnvelope(r) && !envelopes.GetEnvelope(r.envelope))
        problems.push_back(Tx(r.id) + "moves envelope " + std::to_string(r.envelope) +
                           ", which is no envelope");
}

}  // namespace

bool TotalsAgree(TQuilletData& doc) {
    return AccountTotal(doc) == EnvelopeTotal(doc);
}

std::vector<std::string> CheckBudget(TQuilletData& doc) {
    std::vector<std::string> problems;
    TMoney accountTotal = AccountTotal(doc);
    TMoney envelopeTotal = EnvelopeTotal(doc);
    if (accountTotal != envelopeTotal)
        problems.push_back("account total " + accountTotal.Format(MoneyThousands) +
                           " does not equal envelope total " +
                           envelopeTotal.Format(MoneyThousands));

    for (const std::string& dropped : doc.GetEnvelopes().DroppedOnReading())
        problems.push_back("left out when the file was read: " + dropped);

    const TXManager& store = doc.GetXManager();
    std::unordered_map<uint32_t, int64_t> accountSums, clearedSums, envelopeSums, partSums;
    for (uint32_t p = 1; p <= store.GetCount(); ++p) {
        const TXRecord& r = store.RecordAt(p);
        if (!Counts(r)) continue;
        if (r.Has(XTransfer)) CheckTransfer(store, r, problems);
        if (r.IsPart()) {
            const TXRecord* m = CountedRecord(store, r.parent);
            if (!m)
                problems.push_back(Tx(r.id) + "part of multiple " + std::to_string(r.parent) +
                                   ", which does not exist");
            else if (!m->IsMultiple())
                problems.push_back(Tx(r.id) + "part of multiple " + std::to_string(r.parent) +
                                   ", which is no multiple");
            else if (m->account != r.account)
                problems.push_back(Tx(r.id) + "part of multiple " + std::to_string(r.parent) +
                                   " of another account");
            partSums[r.parent] += r.amount;
        }
        CheckIds(doc, r, problems);
        if (XMovesAccount(r)) {
            accountSums[r.account] += r.amount;
            if (r.accountCleared != XNotCleared) clearedSums[r.account] += r.amount;
        }
        if (XMovesEnvelope(r)) envelopeSums[r.envelope] += r.amount;
    }
    for (uint32_t p = 1; p <= store.GetCount(); ++p) {
        const TXRecord& r = store.RecordAt(p);
        if (!Counts(r) || !r.IsMultiple()) continue;
        int64_t parts = partSums[r.id];
        if (parts != r.amount)
            problems.push_back(Tx(r.id) + "multiple amount " + Money(r.amount) +
                               " is not the sum of its parts " + Money(parts));
    }

    TAccountList& accounts = doc.GetAccounts();
    for (uint32_t n = 1, count = accounts.CountAccounts(); n <= count; ++n) {
        uint32_t id = accounts.GetAccountIdByIndex(n);
        std::string name = "account \"" + accounts.GetAccountName(id) + "\": ";
        int64_t balance = accounts.GetBalance(id).Cents();
        int64_t cleared = accounts.GetRecBalance(id).Cents();
        if (!Fits(accountSums[id]) || !Fits(clearedSums[id]))
            problems.push_back(name + "its transactions add up to " + Money(accountSums[id]) +
                               " (cleared " + Money(clearedSums[id]) +
                               "), beyond what a balance can hold");
        if (Wrapped(accountSums[id]) != balance)
            problems.push_back(name + "balance " + Money(balance) +
                               ", its transactions add up to " + Money(accountSums[id]));
        if (Wrapped(clearedSums[id]) != cleared)
            problems.push_back(name + "cleared balance " + Money(cleared) +
                               ", its cleared transactions add up to " + Money(clearedSums[id]));
    }
    TEnvelopeList& envelopes = doc.GetEnvelopes();
    for (uint32_t n = 1, count = envelopes.CountEnvelopes(); n <= count; ++n) {
        uint32_t id = envelopes.GetEnvelopeIdByIndex(n);
        int64_t balance = envelopes.GetBalance(id).Cents();
        if (!Fits(envelopeSums[id]))
            problems.push_back("envelope \"" + envelopes.GetEnvelopeName(id) +
                               "\": its transactions add up to " + Money(envelopeSums[id]) +
                               ", beyond what a balance can hold");
        if (Wrapped(envelopeSums[id]) != balance)
            problems.push_back("envelope \"" + envelopes.GetEnvelopeName(id) + "\": balance " +
                               Money(balance) + ", its transactions add up to " +
                               Money(envelopeSums[id]));
    }
    return problems;
}
