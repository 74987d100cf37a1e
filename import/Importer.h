// Statement import: the statement's transactions go into one account, matched against the
// records it already holds; matched records are cleared with the bank's date, the rest are added.
// Everything added or newly cleared carries the newly-imported mark until the user confirms it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Date.h"
#include "core/Money.h"
#include "import/ImportItem.h"
#include "import/ImportOptions.h"

class TQuilletData;
class TSettingsList;

enum class TStatementKind { Ofx, Qif };

// One record the import touched, as it stands afterwards.
struct TImportedRecord {
    uint32_t id = 0;
    TDate date;
    std::string code;
    std::string payableTo;
    TMoney amount;
    TMoney previousAmount;  // what the ledger held before an adjustment
};

struct TImportResult {
    std::vector<TImportedRecord> added;
    std::vector<TImportedRecord> cleared;   // matched records cleared by this import
    std::vector<TImportedRecord> adjusted;  // matched records that took the bank's amount
    std::vector<std::string> warnings;      // every message shown, in order
    std::vector<TImportItem> skipped;       // items not imported, each with its problem
    bool Changed() const { return !added.empty() || !cleared.empty(); }
};

inline constexpr const char* NothingToImportText =
    "There were no new transactions to import or to clear.";

// The whole import from the menu: with an empty path the file chooser first, then reading, the
// account choice, the dialog and the import. The configuration gives the options of an account
// the budget has none for, and keeps the folder last chosen; saving it is the caller's.
void ImportStatement(TQuilletData& doc, TSettingsList& config, TStatementKind kind,
                     const std::string& path);

// Before the dialog: the start date (the earliest item's, today at the latest) is stored under
// the account as the only-newer date, then the account's options are loaded (copied in from
// the configuration when the budget has none).
TImportOptions PrepareImport(TQuilletData& doc, const TSettingsList& config, uint32_t account,
                             const std::vector<TImportItem>& items);

// The import proper with the options as given, which are stored under the account first. The
// account must be one of the budget's. Messages go through the UI port and into the result; when
// anything was added or cleared, the ledger of the account is asked to open.
TImportResult RunImport(TQuilletData& doc, uint32_t account, std::vector<TImportItem> items,
                        const TImportOptions& options);
