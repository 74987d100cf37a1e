#include "app/BudgetCheck.h"

#include "accounts/AccountList.h"
#include "core/Money.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"

namespace {

TMoney AccountTotal(TQuilletData& doc) {
    return doc.GetAccounts().GetTotal();
}
TMoney EnvelopeTotal(TQuilletData& doc) {
    return doc.GetEnvelopes().GetTotal();
}

}  // namespace

bool TotalsAgree(TQuilletData& doc) {
    return AccountTotal(doc) == EnvelopeTotal(doc);
}

std::vector<std::string> CheckBudget(TQuilletData& doc) {
    std::vector<std::string> problems;
    TMoney accounts = AccountTotal(doc);
    TMoney envelopes = EnvelopeTotal(doc);
    if (accounts != envelopes)
        problems.push_back("account total " + accounts.Format(MoneyThousands) +
                           " does not equal envelope total " + envelopes.Format(MoneyThousands));
    return problems;
}
