// The dialogs of a statement import, as a port: the importer fills plain buffers, the port runs
// the dialogs on them and hands them back. The program implements it with real windows, the
// tests with scripted answers; until one is set every dialog is cancelled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/PortSlot.h"
#include "import/ImportOptions.h"

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

// The file chooser of an import.
struct TStatementFileBuffer {
    std::string title;
    std::string filter;  // "name|pattern|" pairs
    std::string folder;  // where the chooser starts
    std::string path;    // out: the file chosen
};

struct TImportAccountBuffer {
    uint32_t account = 0;  // out: the account chosen
};

class TImportDialogPort {
public:
    virtual ~TImportDialogPort() = default;
    // The file chooser: true with the chosen path in the buffer.
    virtual bool ChooseStatementFile(TStatementFileBuffer& buffer) = 0;
    // "Select Import Account": true with the chosen account in the buffer.
    virtual bool ChooseImportAccount(TImportAccountBuffer& buffer) = 0;
    // "Import Transactions": true on "Import...", with the buffer as the user left it.
    virtual bool ImportTransactions(TImportXBuffer& buffer) = 0;

    // The import proper (matching and posting `items` statement lines) runs between the first
    // and the last of these; the middle one tells how many lines are done. A long import shows
    // that it is busy through them.
    virtual void ImportStarted(size_t /*items*/) {}
    virtual void ImportProgress(size_t /*done*/) {}
    virtual void ImportFinished() {}
};

// The port in use; never null.
extern TPortSlot<TImportDialogPort> ImportDialogs;
