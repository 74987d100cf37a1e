// The options of a statement import, kept per account in the budget file's settings with the
// configuration's settings as the fallback for an account that has none yet.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Date.h"

class TSettingsList;

struct TImportOptions {
    int32_t automatic = 1;  // match the statement against the ledger
    int32_t all = 0;        // import every item
    int32_t onlyNewer = 1;  // drop items older than onlyNewerDate
    TDate onlyNewerDate{1, 1, 2000};
    uint32_t envelope = 0;  // envelope id of new transactions
    int32_t copyPayableTo = 0;
    int32_t ignoreCheckNo = 0;
    std::string codePos = "credit";  // code of deposits without a number, at most 19 characters
    std::string codeNeg = "debit";   // code of payments without a number, at most 19 characters
};

// Setting keys, each qualified by the account's id.
namespace ImportKeys {
inline constexpr const char* Automatic = "importer.IMPORTXAUTOMATIC";
inline constexpr const char* All = "importer.IMPORTXALL";
inline constexpr const char* OnlyNewer = "importer.IMPORTXONLYNEWER";
inline constexpr const char* OnlyNewerDate = "importer.IMPORTXONLYNEWERDATE";
inline constexpr const char* Envelope = "importer.IMPORTXENVELOPE";
inline constexpr const char* CopyPayableTo = "importer.IMPORTXCOPYPAYABLETO";
inline constexpr const char* IgnoreCheckNo = "importer.IMPORTIGNORECHECKNO";
inline constexpr const char* CodePos = "importer.IMPORTXCODEPOS";
inline constexpr const char* CodeNeg = "importer.IMPORTXCODENEG";
}  // namespace ImportKeys

constexpr size_t ImportCodeLength = 19;

// The options of one account. When the budget file holds none for it (no automatic flag), they
// come from the configuration with the defaults above (the envelope defaulting to the account's
// default envelope) and are copied into the budget file at once, which calls markModified.
TImportOptions LoadImportOptions(TSettingsList& documentSettings,
                                 const TSettingsList& configSettings, uint32_t accountId,
                                 uint32_t defaultEnvelopeId,
                                 const std::function<void()>& markModified);

// Stores every option in the budget file under the account and calls markModified.
void StoreImportOptions(TSettingsList& documentSettings, uint32_t accountId,
                        const TImportOptions& options, const std::function<void()>& markModified);
