// One transaction read from a bank statement, before it is matched against the ledger.
#pragma once

#include <cstdint>
#include <string>

#include "core/Date.h"
#include "core/Money.h"

struct TImportItem {
    TDate date;          // the bank's posting date; empty when the statement's text did not parse
    std::string number;  // check number or code, as the statement gives it
    std::string memo;
    std::string name;      // the payee, which becomes "Payable To"
    TMoney amount;         // negative for payments
    uint32_t matched = 0;  // id of the ledger transaction it was matched to, 0 for none
    std::string problem;   // why it cannot be imported (no readable date or amount); empty if fine
};
