#include "import/Importer.h"

#include <algorithm>
#include <limits>

#include "accounts/AccountList.h"
#include "core/QuilletData.h"
#include "core/SettingsList.h"
#include "core/UIPort.h"
#include "core/WindowPort.h"
#include "envelopes/EnvelopeList.h"
#include "import/ImportDialogs.h"
#include "import/ImportMatch.h"
#include "import/StatementFile.h"
#include "transactions/Filters.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

class TCancellingImportDialogs : public TImportDialogPort {
public:
    bool ChooseStatementFile(TStatementFileBuffer&) override { return false; }
    bool ChooseImportAccount(TImportAccountBuffer&) override { return false; }
    bool ImportTransactions(TImportXBuffer&) override { return false; }
};

TCancellingImportDialogs cancelling;

int32_t Qualifier(uint32_t account) {
    return static_cast<int32_t>(account);
}

// A record holds 32-bit cents; a statement amount beyond that is cut to the nearest it can hold.
int32_t RecordCents(TMoney amount) {
    return static_cast<int32_t>(std::clamp<int64_t>(
        amount.Cents(), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

TImportedRecord Describe(const TXRecord& r) {
    return {r.id, TDate(r.date), r.GetCode(), r.GetPayableTo(), TMoney(r.amount), TMoney(r.amount)};
}

void Show(TImportResult& result, const std::string& caption, const std::string& text,
          TMsgIcon icon) {
    result.warnings.push_back(text);
    UI().Message(caption, text, TMsgButtons::Ok, icon);
}

std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void AddItem(TXManager& store, uint32_t account, uint32_t envelope, TImportItem item,
             const TImportOptions& options, TDate today, TImportResult& result) {
    TXRecord r;
    r.Init(today);
    r.flags = XCommitted | XAccount;
    r.account = account;
    r.envelope = envelope;
    r.date = item.date.Key();
    // Cleared as of the bank's posting date.
    r.accountCleared = item.date.Key();
    r.newlyImported = 1;
    if (options.copyPayableTo) {
        item.memo = item.name;
        item.name.clear();
    }
    if (item.number.empty())
        item.number = item.amount.Cents() < 0 ? options.codeNeg : options.codePos;
    r.SetCode(item.number);
    r.SetPayableTo(item.name);
    r.SetMemo(item.memo);
    TXItem* row = store.NewItem(r);
    row->SetAmount(RecordCents(item.amount));
    result.added.push_back(Describe(row->Record()));
    store.Release(row);
}

// Why posting the item would carry a balance past what its 32-bit field holds; empty if it fits.
std::string Overflow(TQuilletData& doc, uint32_t account, uint32_t envelope,
                     const TImportItem& item) {
    int64_t delta = item.amount.Cents();
    bool clears = true;
    if (item.matched) {
        const TXRecord* r = doc.GetXManager().FindRecord(item.matched);
        if (!r) return {};
        delta -= r->amount;
        envelope = r->envelope;
        clears = r->accountCleared == XNotCleared;
    }
    auto fits = [](int64_t cents) {
        return cents >= std::numeric_limits<int32_t>::min() &&
               cents <= std::numeric_limits<int32_t>::max();
    };
    TAccountList& accounts = doc.GetAccounts();
    if (!fits(accounts.GetBalance(account).Cents() + delta) ||
        (clears && !fits(accounts.GetRecBalance(account).Cents() + item.amount.Cents())))
        return "the account balance would pass " +
               TMoney(std::numeric_limits<int32_t>::max()).Format(MoneyThousands);
    if (doc.GetEnvelopes().GetEnvelope(envelope) &&
        !fits(doc.GetEnvelopes().GetBalance(envelope).Cents() + delta))
        return "the envelope balance would pass " +
               TMoney(std::numeric_limits<int32_t>::max()).Format(MoneyThousands);
    return {};
}

void ClearMatched(TXManager& store, const TImportItem& item, TImportResult& result) {
    TXItem* row = store.GetItem(item.matched);
    if (!row) return;
    int32_t bank = RecordCents(item.amount);
    if (row->Record().amount != bank) {
        TImportedRecord before = Describe(row->Record());
        int64_t check = ImportCheckNumber(item.number);
        int number = static_cast<int>(std::clamp<int64_t>(check, std::numeric_limits<int>::min(),
                                                          std::numeric_limits<int>::max()));
        Show(result, "Warning",
             "The amount that posted at your bank for check " + std::to_string(number) +
                 " is not the same as the amount you entered in Quillet. The bank posted $" +
                 TMoney(bank).Format(0) + ". You entered $" + before.amount.Format(0) +
                 ". Quillet will adjust the amount.",
             TMsgIcon::Exclamation);
        row->SetAmount(bank);
        TImportedRecord after = Describe(row->Record());
        after.previousAmount = before.amount;
        result.adjusted.push_back(after);
    }
    if (row->Record().accountCleared == XNotCleared) {
        row->Data().newlyImported = 1;
        row->MarkChanged(false);
        row->SetAccountClearedDate(item.date);
        if (row->Record().accountCleared != XNotCleared)
            result.cleared.push_back(Describe(row->Record()));
    }
    store.Release(row);
}

}  // namespace

TPortSlot<TImportDialogPort> ImportDialogs(cancelling);

TImportOptions PrepareImport(TQuilletData& doc, const TSettingsList& config, uint32_t account,
                             const std::vector<TImportItem>& items) {
    // Loaded first: copying the configuration's options in must not overwrite the start date.
    TImportOptions options = LoadImportOptions(doc.Settings(), config, account,
                                               doc.GetAccounts().GetDefaultEnvelope(account),
                                               [&doc] { doc.SetModified(); });
    TDate start = TDate::Today();
    for (const TImportItem& item : items)
        if (item.date < start) start = item.date;
    options.onlyNewer = 1;
    options.onlyNewerDate = start;
    doc.Settings().SetInt(ImportKeys::OnlyNewer, 1, Qualifier(account));
    doc.Settings().SetInt(ImportKeys::OnlyNewerDate, static_cast<int32_t>(start.Key()),
                          Qualifier(account));
    doc.SetModified();
    return options;
}

TImportResult RunImport(TQuilletData& doc, uint32_t account, std::vector<TImportItem> items,
                        const TImportOptions& options) {
    TImportResult result;
    if (!doc.GetAccounts().GetAccount(account)) return result;
    StoreImportOptions(doc.Settings(), account, options, [&doc] { doc.SetModified(); });

    // Items the statement did not give a usable date or amount stay out of matching and posting.
    std::erase_if(items, [&](TImportItem& i) {
        if (i.problem.empty()) return false;
        result.skipped.push_back(std::move(i));
        return true;
    });

    if (options.onlyNewer)
        std::erase_if(items, [&](const TImportItem& i) { return i.date < options.onlyNewerDate; });

    TXManager& store = doc.GetXManager();
    TImportDialogPort& dialogs = ImportDialogs();
    dialogs.ImportStarted(items.size());
    if (options.automatic) {
        std::vector<TImportCandidate> candidates;
        {
            TXGenericList list =
                store.CollectMatching(TImportFindFilter(account, options.onlyNewerDate));
            candidates.reserve(list.Count());
            for (uint32_t i = 1; i <= list.Count(); ++i)
                candidates.push_back(ImportCandidateFrom(list[i]->Record()));
        }
        AssignImportMatches(items, candidates, options.ignoreCheckNo != 0);
    }

    // An envelope deleted since the options were stored would leave the money nowhere.
    uint32_t envelope = options.envelope;
    if (!doc.GetEnvelopes().GetEnvelope(envelope))
        envelope = doc.GetAccounts().GetDefaultEnvelope(account);

    TDate last;
    // Asked once: the clock and the time zone would otherwise be read for every item.
    const TDate today = TDate::Today();
    {
        TXManager::TBulkPosting posting(store);
        size_t done = 0;
        for (TImportItem& item : items) {
            dialogs.ImportProgress(done++);
            if (std::string why = Overflow(doc, account, envelope, item); !why.empty()) {
                item.problem = std::move(why);
                result.skipped.push_back(std::move(item));
                continue;
            }
            if (item.date > last) last = item.date;
            if (item.matched)
                ClearMatched(store, item, result);
            else
                AddItem(store, account, envelope, item, options, today, result);
        }
    }

    dialogs.ImportFinished();

    if (!result.Changed()) {
        Show(result, "Importer", NothingToImportText, TMsgIcon::Information);
        return result;
    }
    // Two days back, so that items the bank posts late still pass the next only-newer filter.
    if (!last.IsEmpty()) {
        last.PrevDay();
        last.PrevDay();
    }
    doc.Settings().SetInt(ImportKeys::OnlyNewerDate, static_cast<int32_t>(last.Key()),
                          Qualifier(account));
    doc.SetModified();
    Windows().OpenAccountLedger(account, TLedgerMode::Normal);
    return result;
}

void ImportStatement(TQuilletData& doc, TSettingsList& config, TStatementKind kind,
                     const std::string& path) {
    bool ofx = kind == TStatementKind::Ofx;
    const char* folderKey = ofx ? "importer.OFXFolder" : "importer.QIFFolder";
    std::string file = path;
    if (file.empty()) {
        TStatementFileBuffer chooser{
            ofx ? "Open OFX File" : "Open QIF File",
            ofx ? "OFX File|*.ofx|QFX File|*.qfx|All Files|*.*|" : "QIF File|*.qif|All Files|*.*|",
            config.GetString(folderKey, "."),
            {}};
        if (!ImportDialogs().ChooseStatementFile(chooser) || chooser.path.empty()) return;
        file = chooser.path;
        config.SetString(folderKey, Folder(file));
    }

    std::vector<TImportItem> items;
    bool cutShort = false;
    TStatementFileStatus status =
        ofx ? ReadOfxFile(file, items, &cutShort) : ReadQifFile(file, items, &cutShort);
    if (status == TStatementFileStatus::Missing) {
        UI().Message(ofx ? "OFX Import" : "QIF Import",
                     "Could not open \"" + file +
                         "\" for importing transactions. Check to see if the file exists.",
                     TMsgButtons::Ok, TMsgIcon::Exclamation);
        return;
    }
    if (status != TStatementFileStatus::Read || items.empty()) return;
    if (cutShort)
        UI().Message("Importer",
                     "\"" + file +
                         "\" ends in the middle of a transaction; only the transactions before "
                         "that are read.",
                     TMsgButtons::Ok, TMsgIcon::Exclamation);

    TImportAccountBuffer chosen;
    if (!ImportDialogs().ChooseImportAccount(chosen)) return;
    uint32_t account = chosen.account;
    if (!doc.GetAccounts().GetAccount(account)) return;

    TImportXBuffer buffer;
    buffer.changeAccount = [&doc, &config](TImportXBuffer& b, uint32_t other) {
        if (!doc.GetAccounts().GetAccount(other)) return;
        b.account = other;
        b.accountName =
            doc.GetAccounts().GetAccountName(other).substr(0, TImportXBuffer::AccountNameMax);
        b.options = LoadImportOptions(doc.Settings(), config, other,
                                      doc.GetAccounts().GetDefaultEnvelope(other),
                                      [&doc] { doc.SetModified(); });
    };
    PrepareImport(doc, config, account, items);
    buffer.changeAccount(buffer, account);
    if (!ImportDialogs().ImportTransactions(buffer)) return;
    if (!doc.GetAccounts().GetAccount(buffer.account)) return;
    TImportResult result = RunImport(doc, buffer.account, std::move(items), buffer.options);
    if (result.skipped.empty()) return;
    // Lines left out are named, never dropped without a word.
    std::string text =
        std::to_string(result.skipped.size()) + " statement line(s) were not imported:";
    for (size_t i = 0; i < result.skipped.size() && i < 20; ++i)
        text += "\n" + result.skipped[i].date.Format(DateLongYear) + " " + result.skipped[i].name +
                ": " + result.skipped[i].problem;
    if (result.skipped.size() > 20) text += "\n...";
    UI().Message("Importer", text, TMsgButtons::Ok, TMsgIcon::Exclamation);
}
