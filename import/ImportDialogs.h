// The dialogs of a statement import, as a port: the importer fills plain buffers, the port runs
// the dialogs on them and hands them back. The program implements it with real windows, the
// tests with scripted answers; until one is set every dialog is cancelled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/ImportOptions.h"

// "Import Transactions": the account the items go to and its options.
struct TImportXBuffer {
    static constexpr size_t AccountNameMax = 64;  // what the account field shows at most
    uint32_t account = 0;
    std::string accountName;
    TImportOptions options;
    // The "..." button: makes another account the buffer's account, with that account's
    // options loaded into the buffer. Set by the importer.
    std::function<void(TImportXBuffer& buffer, uint32_t account)> changeAccount;
};

class TImportDialogPort {
public:
    virtual ~TImportDialogPort() = default;
    // The file chooser: the chosen path, or empty when cancelled.
    virtual std::string ChooseStatementFile(const std::string& title, const std::string& filter,
                                            const std::string& folder) = 0;
    // "Select Import Account": the chosen account's id, or 0 when cancelled.
    virtual uint32_t ChooseImportAccount() = 0;
    // "Import Transactions": true on "Import...", with the buffer as the user left it.
    virtual bool ImportTransactions(TImportXBuffer& buffer) = 0;
    // Opens the ledger window of the account ("Account: %s").
    virtual void OpenAccountLedger(uint32_t account) = 0;
};

// The port in use; never null.
TImportDialogPort& ImportDialogs();
void SetImportDialogPort(TImportDialogPort* port);  // null restores the cancelling port
