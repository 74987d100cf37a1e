// import: a bank statement into one account of a budget file, as the program imports it, with
// the options taken from the command line instead of the dialog.
#include <cctype>
#include <iostream>

#include "accounts/AccountList.h"
#include "app/QuilletConfig.h"
#include "cli/BudgetWriter.h"
#include "cli/Commands.h"
#include "core/QuilletData.h"
#include "core/Text.h"
#include "envelopes/EnvelopeList.h"
#include "import/Importer.h"
#include "import/StatementFile.h"

namespace {

constexpr const char* Usage =
    "usage: quillet-cli import FILE.qlt STATEMENT --account NAME [--all] [--envelope NAME]\n"
    "       [--since M/D/Y] [--ignore-check-numbers] [--copy-payee-to-memo]\n";

int UsageError(const std::string& why) {
    std::cerr << "quillet-cli import: " << why << "\n" << Usage;
    return 2;
}

std::string LowerExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

void PrintRecords(const char* what, const std::vector<TImportedRecord>& records, bool previous) {
    for (const TImportedRecord& r : records) {
        std::cout << what << " " << r.date.Format(DateLongYear) << " " << r.amount.Format(0)
                  << " \"" << Cp1252ToUtf8(r.code) << "\" \"" << Cp1252ToUtf8(r.payableTo) << "\"";
        if (previous) std::cout << " (was " << r.previousAmount.Format(0) << ")";
        std::cout << "\n";
    }
}

}  // namespace

int RunImportCommand(const TCommandArgs& args) {
    std::vector<std::string> positional;
    std::string accountName, envelopeName, since;
    bool haveAccount = false, haveEnvelope = false, haveSince = false;
    bool all = false, ignoreCheckNumbers = false, copyPayee = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into, bool& seen) {
            return TakeOptionValue(args, i, into, seen);
        };
        if (a == "--account") {
            if (!value(accountName, haveAccount)) return UsageError("--account needs a name");
        } else if (a == "--envelope") {
            if (!value(envelopeName, haveEnvelope)) return UsageError("--envelope needs a name");
        } else if (a == "--since") {
            if (!value(since, haveSince)) return UsageError("--since needs a date");
        } else if (a == "--all") {
            all = true;
        } else if (a == "--ignore-check-numbers") {
            ignoreCheckNumbers = true;
        } else if (a == "--copy-payee-to-memo") {
            copyPayee = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError("unknown option '" + a + "'");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return UsageError("a budget file and a statement are needed");
    if (!haveAccount) return UsageError("--account is required");
    const std::string& budgetPath = positional[0];
    const std::string& statementPath = positional[1];

    std::string ext = LowerExtension(statementPath);
    if (ext != "ofx" && ext != "qfx" && ext != "qif")
        return UsageError("the statement must be an .ofx, .qfx or .qif file");
    TDate sinceDate;
    if (haveSince) {
        sinceDate = TDate::Parse(since, TDate::Today().Year());
        if (sinceDate.IsEmpty() || !sinceDate.IsValid())
            return UsageError("'" + since + "' is not a date (M/D/Y)");
    }

    TBudgetWriter writer("import", budgetPath);
    int status = 0;
    std::unique_ptr<TQuilletData> doc = writer.Open(status);
    if (!doc) return status;
    // Transactions post their balances to the open document.
    TQuilletData::SetCurrent(doc.get());
    struct TCloser {
        ~TCloser() { TQuilletData::SetCurrent(nullptr); }
    } closer;

    // The names in the budget are Windows-1252; the command line is UTF-8.
    uint32_t account = doc->GetAccounts().FindId(Utf8ToCp1252(accountName));
    if (!doc->GetAccounts().GetAccount(account)) {
        std::cerr << "quillet-cli import: no account named \"" << accountName << "\"\n";
        return 1;
    }
    uint32_t envelope = 0;
    if (haveEnvelope) {
        envelope = doc->GetEnvelopes().FindId(Utf8ToCp1252(envelopeName));
        if (!doc->GetEnvelopes().GetEnvelope(envelope)) {
            std::cerr << "quillet-cli import: no envelope named \"" << envelopeName << "\"\n";
            return 1;
        }
    }

    std::vector<TImportItem> items;
    bool cutShort = false;
    TStatementFileStatus read = ext == "qif" ? ReadQifFile(statementPath, items, &cutShort)
                                             : ReadOfxFile(statementPath, items, &cutShort);
    if (read != TStatementFileStatus::Read) {
        std::cerr << "quillet-cli import: " << statementPath << ": ";
        if (read == TStatementFileStatus::Missing)
            std::cerr << "no such file\n";
        else if (read == TStatementFileStatus::TooLarge)
            std::cerr << "larger than a statement can be (" << (MaxStatementBytes >> 20)
                      << " MiB)\n";
        else
            std::cerr << "cannot be read as a statement\n";
        return 2;
    }
    if (cutShort)
        std::cerr << "quillet-cli import: " << statementPath
                  << ": the statement ends in the middle of a transaction; only the "
                     "transactions before that are read\n";
    if (items.empty()) {
        std::cout << "no transactions in the statement\n";
        return 0;
    }

    TFixedScreen screen(1920, 1080);
    TConfigFile config(writer.Platform(), screen);
    config.FindPath();
    config.Load();  // on failure the defaults stand, which is all the import needs

    TImportOptions options = PrepareImport(*doc, config.Settings(), account, items);
    if (all) {
        options.automatic = 0;
        options.all = 1;
    }
    if (haveEnvelope) options.envelope = envelope;
    if (haveSince) {
        options.onlyNewer = 1;
        options.onlyNewerDate = sinceDate;
    }
    if (ignoreCheckNumbers) options.ignoreCheckNo = 1;
    if (copyPayee) options.copyPayableTo = 1;

    TImportResult result = RunImport(*doc, account, std::move(items), options);
    // Only what reached the disk is reported as imported.
    if (!writer.Save(*doc)) {
        std::cerr << "quillet-cli import: nothing was imported\n";
        return 1;
    }
    PrintRecords("added", result.added, false);
    PrintRecords("cleared", result.cleared, false);
    PrintRecords("adjusted", result.adjusted, true);
    for (const std::string& w : result.warnings)
        std::cout << "warning: " << Cp1252ToUtf8(w) << "\n";
    for (const TImportItem& i : result.skipped)
        std::cout << "skipped " << i.date.Format(DateLongYear) << " \"" << Cp1252ToUtf8(i.name)
                  << "\": " << Cp1252ToUtf8(i.problem) << "\n";
    return 0;
}
