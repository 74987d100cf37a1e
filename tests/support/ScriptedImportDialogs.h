// The statement import's dialog port for tests: a chosen account, and the import dialog accepted
// for it.
#pragma once

#include <cstdint>

#include "import/ImportDialogs.h"

class TScriptedImportDialogs : public TImportDialogPort {
public:
    uint32_t account = 0;
    bool accept = true;
    bool ChooseStatementFile(TStatementFileBuffer&) override { return false; }
    bool ChooseImportAccount(TImportAccountBuffer& buffer) override {
        buffer.account = account;
        return account != 0;
    }
    bool ImportTransactions(TImportXBuffer& buffer) override {
        return accept && buffer.account == account;
    }

private:
    TPortInstall<TImportDialogPort> installed{ImportDialogs, *this};
};
