// Any bytes as a budget, then a small fixed statement imported into its first account: a budget
// that loads must take an import without a crash, and afterwards still write and read back.
// sources: @domain
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "core/QuilletData.h"
#include "core/SettingsList.h"
#include "import/Importer.h"
#include "import/QifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    std::unique_ptr<TQuilletData> doc = ReadBudget(bytes, error);
    if (!doc) return 0;
    TQuilletData::SetCurrent(doc.get());
    TAccountList& accounts = doc->GetAccounts();
    if (accounts.CountAccounts() > 0) {
        uint32_t account = accounts.GetAccountIdByIndex(1);
        std::vector<TImportItem> items = ReadQifStatement(
            "!Type:Bank\nD3/20/2026\nT-42.10\nPShop\n^\nD3/21/2026\nT21474836.47\nPBig\n^\n"
            "D3/22/2026\nT-7.5\nN1003\nPCheck\n^\n");
        TSettingsList config;
        TImportOptions options = PrepareImport(*doc, config, account, items);
        RunImport(*doc, account, std::move(items), options);
    }
    std::vector<uint8_t> written = WriteBudget(*doc);
    TQuilletData::SetCurrent(nullptr);
    if (!ReadBudget(written, error)) std::abort();
    return 0;
}
