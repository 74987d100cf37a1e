// The commands of quillet-cli. Each takes the arguments that follow its name and returns the
// exit status: 0 done, 1 the work failed, 2 wrong usage or an environment it cannot work in.
// A new command declares its entry point here and adds one line to the table in main.cpp.
#pragma once

#include <string>
#include <vector>

using TCommandArgs = std::vector<std::string>;

// The value of the option at args[i]: i moves onto it and the option counts as given; false when
// the option is the last argument.
inline bool TakeOptionValue(const TCommandArgs& args, size_t& i, std::string& into, bool& given) {
    if (i + 1 >= args.size()) return false;
    into = args[++i];
    given = true;
    return true;
}

// Loads the configuration as the program does (creating it with its defaults when missing or
// unreadable) and prints it as JSON.
int RunConfigCommand(const TCommandArgs& args);

// Prints the whole budget file as JSON.
int RunDumpCommand(const TCommandArgs& args);
// Reads any layout the program reads and writes the current one.
int RunConvertCommand(const TCommandArgs& args);
// Checks the budget is sound: 0 sound, 1 a check failed, 2 the file cannot be read.
int RunCheckCommand(const TCommandArgs& args);

// Enters one transaction (a payment or deposit, an account or an envelope transfer) as a ledger
// row is typed, saves the budget and prints the new record ids.
int RunAddCommand(const TCommandArgs& args);

// Imports a bank statement (.ofx, .qfx or .qif) into an account of the budget and saves it.
int RunImportCommand(const TCommandArgs& args);

// Makes a new budget file from incomes or a plan definition and the accounts' statement balances;
// never replaces an existing file.
int RunNewCommand(const TCommandArgs& args);
// Prints the allocation plan report's text for a period.
int RunPlanCommand(const TCommandArgs& args);
// Writes the demo household budget.
int RunDemoCommand(const TCommandArgs& args);

// Writes one of the six reports to standard output, byte for byte as its export file (or its
// clipboard text).
int RunReportCommand(const TCommandArgs& args);
