// The row object of a transaction: a reference-counted working copy of one record that views and
// commands edit. Every change of amount, envelope or cleared state goes through it, so that the
// balances of accounts and envelopes always add up to what the records say.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/Date.h"
#include "core/LedgerItem.h"
#include "transactions/XRecord.h"

class TXManager;

// The ledger columns of a transaction row, as the grid numbers them.
enum TXColumn : uint32_t {
    XColAccount = 1,
    XColEnvelope = 2,
    XColClassA = 3,
    XColClassB = 4,
    XColCode = 5,
    XColDate = 6,      // without year
    XColDateYear = 7,  // with a two-digit year
    XColCreated = 8,
    XColCreatedYear = 9,
    XColAccountCleared = 10,  // "x" or empty
    XColEnvelopeCleared = 11,
    XColAccountClearedDate = 12,
    XColEnvelopeClearedDate = 13,
    XColPayment = 14,
    XColDeposit = 15,
    XColPayableTo = 16,
    XColPayableToExpanded = 17,
    XColMemo = 18,
    XColMemoExpanded = 19,
};

// Which balances a record's amount moves. A part moves its account only through its multiple; a
// multiple and an account transfer half carry no envelope of their own; an envelope-only record
// counts only once it is a transfer half.
inline bool XMovesAccount(const TXRecord& r) {
    return r.Has(XAccount) && !r.IsPart();
}
inline bool XMovesEnvelope(const TXRecord& r) {
    if (r.IsAccountTransfer() || r.IsMultiple()) return false;
    return !(r.Has(XEnvelopeOnly) && !r.Has(XTransfer));
}

class TXItem;

// Filling a transaction from a template belongs to the templates: their chooser ("Choose
// Transaction Template") and the template's ApplyTo. The templates side installs an applier;
// until one is installed, applying a template is not offered (CanApplyTemplate is false).
class TXTemplateApplier {
public:
    virtual ~TXTemplateApplier() = default;
    // Shows the chooser. When a template is chosen, fills the item's record from it (making the
    // parts when it has several items) and answers true; Cancel changes nothing and answers false.
    virtual bool ChooseAndApply(TXItem& item) = 0;
};
TXTemplateApplier* TemplateApplier();
void SetTemplateApplier(TXTemplateApplier* applier);

class TXItem : public TLedgerItem {
public:
    ~TXItem() override;
    TXItem(const TXItem&) = delete;
    TXItem& operator=(const TXItem&) = delete;

    // --- The row in the grid.
    // Without EditMayToggle the cleared marks open nothing; with it they toggle at once.
    std::unique_ptr<TCellEditor> CreateEditor(uint32_t column, unsigned options) override;
    TCellPaint PaintCell(uint32_t column, unsigned state) const override;
    void SetCellText(uint32_t column, const std::string& text) override;
    std::string GetCellText(uint32_t column) const override;

    // --- The working copy. Transfers and multiples change kinds and links through Data() and
    // then post with ChangeAmount and MarkChanged, as their rules say.
    const TXRecord& Record() const { return record; }
    TXRecord& Data() { return record; }
    uint32_t GetId() const { return record.id; }
    int GetUsers() const { return users; }
    TXManager& Manager() const { return manager; }
    // A part's multiple; null for every other record.
    TXItem* GetMultiple() const { return multiple; }
    // The text last typed into the Payment or Deposit column of this row, exactly as typed.
    const std::optional<std::string>& LastAmountText() const { return lastAmountText; }

    // --- Money. ChangeAmount is the one path by which an amount changes: the account (through
    // the multiple for a part), the envelope and a transfer's partner follow, cleared balances
    // included. Posting to an account id that is no account throws before anything changes.
    void ChangeAmount(int32_t delta, bool skipPartner);
    void SetAmount(int32_t cents);
    void SetEnvelope(uint32_t envelopeId);

    // Commits the working copy (committed unless empty; a part takes its multiple's code, date
    // and memo), marks the document modified and, when notify, tells the open views.
    void MarkChanged(bool notify);
    // No payable to, no amount, and neither a multiple nor a transfer half.
    bool IsEmpty() const;

    // --- Commands. Each Can... says whether the command is offered for this record.
    bool CanToggleAccountCleared() const;
    void ToggleAccountCleared();
    bool CanToggleEnvelopeCleared() const;
    void ToggleEnvelopeCleared();
    // Statement import: the account side cleared on that day. A blank date does nothing.
    void SetAccountClearedDate(TDate date);
    bool CanSetDateToday() const;
    void SetDateToday();
    bool CanFillNextNumber() const;
    // The code becomes one more than the largest check number of the account's recent records.
    void FillNextNumber();
    bool CanApplyTemplate() const;
    void ApplyTemplate();
    // Back to a blank row: balances reversed, a multiple's parts deleted, a transfer undone on
    // both halves (the partner is erased too and leaves the store when released).
    void Erase();

    // The text with its "~" codes expanded: a account, c created, e envelope, i users,
    // p position, r account cleared date, t the other side of a transfer, x id.
    std::string ExpandText(const std::string& source) const;

private:
    friend class TXManager;
    // Made only by the manager, with no users yet. The remembered cleared values are the
    // record's own for a row copied from the store, 0 for a new record.
    TXItem(TXManager& manager, const TXRecord& record, bool remember);

    bool Editable() const { return !record.IsInert() && !detached; }
    // Every committed part of this multiple gets MarkChanged, so it follows the multiple.
    void RefreshParts();
    void SetCode(const std::string& text);
    void SetDate(const std::string& text);
    void SetAccountMark(bool on);
    void SetEnvelopeMark(bool on);
    void SetAmountText(uint32_t column, const std::string& text);
    // Posting to the account (its cleared balance too when cleared) and the envelope.
    void PostAccount(int32_t delta);
    void PostAccountCleared(int32_t delta);
    void PostEnvelope(int32_t delta, bool cleared, bool balance);
    // The account's default envelope; 0 when the account is no account.
    uint32_t DefaultEnvelope(uint32_t accountId) const;
    std::string AccountName(uint32_t accountId) const;
    std::string EnvelopeName(uint32_t envelopeId) const;
    std::string AccountColumn() const;
    std::string EnvelopeColumn() const;
    std::string TransferOtherSide() const;
    std::string ExpandCode(char code) const;

    TXManager& manager;
    TXRecord record;
    int users = 0;
    TXItem* multiple = nullptr;  // held (one use) while this part's row lives
    uint32_t rememberedAccountCleared = 0;
    uint32_t rememberedEnvelopeCleared = 0;
    std::optional<std::string> lastAmountText;
    bool detached = false;  // deleted while others still held it: never touches the store again
};
