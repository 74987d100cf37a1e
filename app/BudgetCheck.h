// Soundness checks over a whole budget: what the program's idle pass and `quillet-cli check` ask.
#pragma once

#include <string>
#include <vector>

class TQuilletData;

// The account total equals the envelope total. The program ends when this stops holding.
bool TotalsAgree(TQuilletData& doc);

// Every problem found, one line each; empty when the budget is sound.
std::vector<std::string> CheckBudget(TQuilletData& doc);
