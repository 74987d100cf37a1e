// Field values as both statement readers turn them into dates and amounts.
#pragma once

#include <string>
#include <string_view>

#include "core/Date.h"
#include "core/Money.h"

// Blanks (spaces and tabs) removed from both ends.
std::string_view TrimStatementBlanks(std::string_view text);

// A date written m/d/y (also y-m-d with a four-digit year, and m/d'y, where the apostrophe
// marks a year of this century), read by the date parser with the current year (which the caller
// looks up once per statement; asking the clock for every date would cost more than reading the
// file) for a missing year. Text that does not parse gives the all-zero date.
TDate ReadStatementDate(const std::string& text, int currentYear);

// An amount read by the amount parser. Banks write deposits with an explicit "+" (OFX allows it),
// which the parser alone would reject as an operator without a left operand, so one leading plus
// sign is dropped first; anything else the parser cannot read gives 0.
// When problem is given it says why the text is no amount a record can hold (unreadable, or
// beyond 32-bit cents), and stays empty for a usable one.
TMoney ReadStatementAmount(std::string_view text, std::string* problem = nullptr);

// The problem of an item whose date did not read, naming the text; empty for a valid date.
std::string StatementDateProblem(const TDate& date, std::string_view text);
