// Soundness checks over a whole budget: what the program's idle pass and `quillet-cli check` ask.
#pragma once

#include <string>
#include <vector>

class TQuilletData;

// What the program says before it stops on a budget whose totals disagree.
inline constexpr const char* TotalsDisagreeMessage =
    "Account and Envelope balances are not equal.  This means that the file has been currupted.";

// The account total equals the envelope total. The program ends when this stops holding.
bool TotalsAgree(TQuilletData& doc);

// Every problem found, one line each; empty when the budget is sound.
std::vector<std::string> CheckBudget(TQuilletData& doc);
