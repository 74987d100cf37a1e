#include "transactions/XItem.h"

#include <cstdio>
#include <vector>

#include "accounts/AccountList.h"
#include "core/Money.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "core/UIPort.h"
#include "core/WindowPort.h"
#include "envelopes/EnvelopeList.h"
#include "plan/XTemplateManager.h"
#include "transactions/Filters.h"
#include "transactions/XManager.h"

namespace {

TXTemplateApplier* templateApplier = nullptr;

// Amounts wrap like the 32-bit fields they are stored in.
int32_t Negated(int32_t v) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(v));
}
int32_t Plus(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t Minus(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Typed amount text to cents: half a cent away from zero, then cut toward zero; anything not
// strictly inside 20,000,000 currency units either way is 0.
int32_t TypedCents(const std::string& text) {
    double value = EvaluateAmount(text);
    value += value > 0 ? 0.005 : -0.005;
    if (!(value > -20000000.0 && value < 20000000.0)) return 0;
    return static_cast<int32_t>(value * 100.0);
}

std::string Zero() {
    return FormatCents(0, false, true);
}

const char* const CannotClearEnvelopeOnly =
    "You cannot clear or unclear a new envelope transaction without first creating a transfer.";

}  // namespace

TXTemplateApplier* TemplateApplier() {
    return templateApplier;
}

void SetTemplateApplier(TXTemplateApplier* applier) {
    templateApplier = applier;
}

TXItem::TXItem(TXManager& manager, const TXRecord& record, bool remember)
    : manager(manager),
      record(record),
      rememberedAccountCleared(remember ? record.accountCleared : 0),
      rememberedEnvelopeCleared(remember ? record.envelopeCleared : 0) {}

TXItem::~TXItem() = default;

// ---------------------------------------------------------------------------------------------
// Names

std::string TXItem::AccountName(uint32_t accountId) const {
    TQuilletData* doc = manager.Document();
    return doc ? doc->GetAccounts().GetAccountName(accountId) : "None";
}

std::string TXItem::EnvelopeName(uint32_t envelopeId) const {
    TQuilletData* doc = manager.Document();
    return doc ? doc->GetEnvelopes().GetEnvelopeName(envelopeId) : "None";
}

uint32_t TXItem::DefaultEnvelope(uint32_t accountId) const {
    TQuilletData* doc = manager.Document();
    if (!doc || !doc->GetAccounts().GetAccount(accountId)) return 0;
    return doc->GetAccounts().GetDefaultEnvelope(accountId);
}

std::string TXItem::AccountColumn() const {
    if (record.IsEnvelopeTransfer()) return "Envelope Transfer";
    if (record.Has(XAccount)) return AccountName(record.account);
    return "None";
}

std::string TXItem::EnvelopeColumn() const {
    if (record.IsMultiple()) return "Multiple";
    if (record.IsAccountTransfer()) return "Account Transfer";
    return EnvelopeName(record.envelope);
}

std::string TXItem::TransferOtherSide() const {
    if (!record.IsAccountTransfer() && !record.IsEnvelopeTransfer()) return "no transfer";
    const TXRecord* other = manager.FindRecord(record.partner);
    if (record.IsAccountTransfer()) return AccountName(other ? other->account : 0);
    return EnvelopeName(other ? other->envelope : 0);
}

// ---------------------------------------------------------------------------------------------
// The row in the grid

std::string TXItem::GetCellText(uint32_t column) const {
    if (record.IsInert()) return {};
    switch (column) {
        case XColAccount:
            return AccountColumn();
        case XColEnvelope:
            return EnvelopeColumn();
        case XColClassA:
            return "class a";
        case XColClassB:
            return "class b";
        case XColCode:
            return record.GetCode();
        case XColDate:
            return TDate(record.date).Format(0);
        case XColDateYear:
            return TDate(record.date).Format(DateShortYear);
        case XColCreated:
            return TDate(record.created).Format(0);
        case XColCreatedYear:
            return TDate(record.created).Format(DateShortYear);
        case XColAccountCleared:
            return record.accountCleared != XNotCleared ? "x" : "";
        case XColEnvelopeCleared:
            return record.envelopeCleared != XNotCleared ? "x" : "";
        case XColAccountClearedDate:
            return TDate(record.accountCleared).Format(DateShortYear);
        case XColEnvelopeClearedDate:
            return TDate(record.envelopeCleared).Format(DateShortYear);
        case XColPayment:
            return record.amount < 0 ? TMoney(record.amount).Format(MoneyThousands | MoneyUnsigned)
                                     : Zero();
        case XColDeposit:
            return record.amount > 0 ? FormatCents(record.amount, false, true) : Zero();
        case XColPayableTo:
            return record.GetPayableTo();
        case XColPayableToExpanded:
            return ExpandText(record.GetPayableTo());
        case XColMemo:
            return record.GetMemo();
        case XColMemoExpanded:
            return ExpandText(record.GetMemo());
        default:
            return {};
    }
}

TCellPaint TXItem::PaintCell(uint32_t column, unsigned state) const {
    TCellPaint paint;
    paint.highlight = (state & (CellCurrent | CellFocusedRow)) == (CellCurrent | CellFocusedRow);
    if (column >= XColDate && column <= XColEnvelopeCleared)
        paint.align = TCellAlign::Centre;
    else if (column == XColPayment || column == XColDeposit)
        paint.align = TCellAlign::Right;
    switch (column) {
        case XColPayableTo:
            paint.text = GetCellText(XColPayableToExpanded);
            break;
        case XColMemo:
            paint.text = GetCellText(XColMemoExpanded);
            break;
        case XColAccountClearedDate:
        case XColEnvelopeClearedDate:
        case XColPayableToExpanded:
        case XColMemoExpanded:
            break;  // never shown as columns of their own
        default:
            paint.text = GetCellText(column);
    }
    return paint;
}

std::unique_ptr<TCellEditor> TXItem::CreateEditor(uint32_t column, unsigned options) {
    if (!Editable()) return nullptr;
    const bool empty = (options & EditStartEmpty) != 0;
    auto text = [&](uint32_t chars, std::string value) {
        auto editor = std::make_unique<TCellEditor>();
        editor->chars = chars;
        editor->text = empty ? std::string() : std::move(value);
        return editor;
    };
    switch (column) {
        case XColEnvelope: {
            if (record.IsMultiple() || record.IsAccountTransfer()) return nullptr;
            auto editor = text(31, EnvelopeColumn());
            editor->kind = TCellEditorKind::StringList;
            TQuilletData* doc = manager.Document();
            editor->choices = doc ? doc->GetEnvelopes().GetStringList(ListEnvelopes)
                                  : std::make_unique<TTarnStringList>();
            return editor;
        }
        case XColCode:
            if (record.IsPart()) return nullptr;
            return text(10, record.GetCode());
        case XColDate:
        case XColDateYear: {
            if (record.IsPart()) return nullptr;
            auto editor = text(9, TDate(record.date).Format(DateShortYear));
            if (empty) {
                // Typing starts a new date in the record's year.
                int year = TDate(record.date).Year();
                int twoDigits = year >= 1900 && year <= 1999   ? year - 1900
                                : year >= 2000 && year <= 2099 ? year - 2000
                                                               : year % 100;
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "/%02d", twoDigits);
                editor->text = buffer;
            }
            return editor;
        }
        case XColAccountCleared:
            if (options & EditMayToggle) ToggleAccountCleared();
            return nullptr;
        case XColEnvelopeCleared:
            if (options & EditMayToggle) ToggleEnvelopeCleared();
            return nullptr;
        case XColPayment:
        case XColDeposit:
            if (record.IsMultiple()) return nullptr;
            return text(15, lastAmountText ? *lastAmountText : GetCellText(column));
        case XColPayableTo:
            return text(50, record.GetPayableTo());
        case XColMemo:
            if (record.IsPart()) return nullptr;
            return text(50, record.GetMemo());
        default:
            return nullptr;
    }
}

void TXItem::SetCellText(uint32_t column, const std::string& text) {
    if (!Editable()) return;
    switch (column) {
        case XColEnvelope: {
            if (record.IsMultiple() || record.IsAccountTransfer()) return;
            TQuilletData* doc = manager.Document();
            if (!doc) return;
            // Bundles, associations and the root share the lookup; they hold no money.
            uint32_t id = doc->GetEnvelopes().FindId(text);
            if (doc->GetEnvelopes().GetEnvelope(id)) SetEnvelope(id);
            return;
        }
        case XColCode:
            SetCode(text);
            return;
        case XColDate:
        case XColDateYear:
            SetDate(text);
            return;
        case XColAccountCleared:
            // Only a record that moves its account has an account side to clear.
            if (XMovesAccount(record)) SetAccountMark(!text.empty() && text[0] == 'x');
            return;
        case XColEnvelopeCleared:
            if (record.Has(XEnvelopeOnly) && !record.Has(XTransfer)) {
                UI().Message("Quillet", CannotClearEnvelopeOnly, TMsgButtons::Ok,
                             TMsgIcon::Exclamation);
                return;
            }
            if (XMovesEnvelope(record)) SetEnvelopeMark(!text.empty() && text[0] == 'x');
            return;
        case XColPayment:
        case XColDeposit:
            SetAmountText(column, text);
            return;
        case XColPayableTo:
            record.SetPayableTo(text);
            MarkChanged(true);
            if (record.IsMultiple()) RefreshParts();
            return;
        case XColMemo:
            if (record.IsPart()) return;
            record.SetMemo(text);
            MarkChanged(true);
            return;
        default:
            return;
    }
}

void TXItem::SetCode(const std::string& text) {
    if (record.IsPart()) return;
    record.SetCode(text);
    MarkChanged(true);
    if (record.IsMultiple()) RefreshParts();
}

void TXItem::SetDate(const std::string& text) {
    if (record.IsPart()) return;
    TDate today = TDate::Today();
    int defaultYear = TDate(record.date).Year() != 0 ? TDate(record.date).Year() : today.Year();
    TDate date = TDate::Parse(text, defaultYear);
    // Early in the year, a late month typed means last year's.
    if (CurrentOptions().autoCorrectYear != 0 && today.Month() <= 3 && date.Month() >= 10 &&
        date.Year() == today.Year())
        date = TDate(date.Day(), date.Month(), date.Year() - 1);
    record.date = date.Key();
    MarkChanged(true);
    if (record.IsMultiple()) RefreshParts();
}

void TXItem::SetAccountMark(bool on) {
    if (record.accountCleared != XNotCleared && !on) {
        PostAccountCleared(Negated(record.amount));
        record.accountCleared = XNotCleared;
    } else if (record.accountCleared == XNotCleared && on) {
        PostAccountCleared(record.amount);
        record.accountCleared =
            rememberedAccountCleared != XNotCleared ? rememberedAccountCleared : XClearedPending;
    } else {
        return;
    }
    MarkChanged(true);
}

void TXItem::SetEnvelopeMark(bool on) {
    if (record.envelopeCleared != XNotCleared && !on) {
        PostEnvelope(Negated(record.amount), true, false);
        record.envelopeCleared = XNotCleared;
    } else if (record.envelopeCleared == XNotCleared && on) {
        PostEnvelope(record.amount, true, false);
        record.envelopeCleared =
            rememberedEnvelopeCleared != XNotCleared ? rememberedEnvelopeCleared : XClearedPending;
    } else {
        return;
    }
    MarkChanged(true);
}

void TXItem::SetAmountText(uint32_t column, const std::string& text) {
    if (record.IsMultiple()) return;
    if (record.accountCleared != XNotCleared || record.envelopeCleared != XNotCleared) {
        TMsgResult answer =
            UI().Message("Confirm Change",
                         "Are you sure you want to change the value of this cleared transaction?",
                         TMsgButtons::YesNo, TMsgIcon::Exclamation);
        if (answer != TMsgResult::Yes) return;
    }
    lastAmountText = text;
    int32_t cents = TypedCents(text);
    SetAmount(column == XColPayment ? Negated(cents) : cents);
}

// ---------------------------------------------------------------------------------------------
// Money

void TXItem::PostAccountCleared(int32_t delta) {
    if (TQuilletData* doc = manager.Document())
        doc->GetAccounts().ChangeRecBalance(record.account, delta);
}

void TXItem::PostAccount(int32_t delta) {
    TQuilletData* doc = manager.Document();
    if (!doc) return;
    // The cleared balance goes first: for an id that is no account it throws before anything
    // has changed.
    if (record.accountCleared != XNotCleared)
        doc->GetAccounts().ChangeRecBalance(record.account, delta);
    doc->GetAccounts().ChangeBalance(record.account, delta);
}

void TXItem::PostEnvelope(int32_t delta, bool cleared, bool balance) {
    TQuilletData* doc = manager.Document();
    if (!doc) return;
    if (cleared) doc->GetEnvelopes().ChangeRecBalance(record.envelope, delta);
    if (balance) doc->GetEnvelopes().ChangeBalance(record.envelope, delta);
}

void TXItem::ChangeAmount(int32_t delta, bool skipPartner) {
    if (!Editable()) return;
    if (record.Has(XAccount)) {
        if (!record.IsPart())
            PostAccount(delta);
        else if (multiple)
            multiple->ChangeAmount(delta, false);  // the multiple stays the sum of its parts
    }
    record.amount = Plus(record.amount, delta);
    if (XMovesEnvelope(record)) PostEnvelope(delta, record.envelopeCleared != XNotCleared, true);
    if (!skipPartner && record.Has(XTransfer)) {
        if (TXItem* partner = manager.GetItem(record.partner)) {
            partner->ChangeAmount(Negated(delta), true);
            manager.Release(partner);
        }
    }
    MarkChanged(true);
}

void TXItem::SetAmount(int32_t cents) {
    ChangeAmount(Minus(cents, record.amount), false);
}

void TXItem::SetEnvelope(uint32_t envelopeId) {
    if (!Editable() || envelopeId == record.envelope) return;
    int32_t amount = record.amount;
    ChangeAmount(Negated(amount), false);
    record.envelope = envelopeId;
    ChangeAmount(amount, false);
}

bool TXItem::IsEmpty() const {
    return record.payableTo[0] == '\0' && record.amount == 0 && !record.IsMultiple() &&
           !record.IsAccountTransfer() && !record.IsEnvelopeTransfer();
}

void TXItem::MarkChanged(bool notify) {
    if (!Editable()) return;
    if (IsEmpty())
        record.flags &= ~XCommitted;
    else
        record.flags |= XCommitted;
    if (record.IsPart() && multiple) {
        const TXRecord& m = multiple->record;
        record.SetCode("m." + m.GetCode());
        record.date = m.date;
        record.SetMemo(m.GetPayableTo());
        record.flags |= XDirty;
    }
    manager.Commit(record);
    if (TQuilletData* doc = manager.Document()) doc->SetModified();
    if (notify) {
        manager.NotifyChanged(this);
        Windows().RefreshTreeWindows();
    }
}

void TXItem::RefreshParts() {
    TMultKidsFilter kids(record.id);
    TXBlankFilter committed(kids);
    TXGenericList parts = manager.CollectMatching(committed);
    for (uint32_t i = 1; i <= parts.Count(); ++i)
        parts[i]->MarkChanged(true);
}

// ---------------------------------------------------------------------------------------------
// Commands

bool TXItem::CanToggleAccountCleared() const {
    return Editable() && record.Has(XAccount) && !record.IsPart();
}

void TXItem::ToggleAccountCleared() {
    if (!CanToggleAccountCleared()) return;
    SetCellText(XColAccountCleared, record.accountCleared != XNotCleared ? "-" : "x");
}

bool TXItem::CanToggleEnvelopeCleared() const {
    return Editable() && !record.IsMultiple() && !record.IsAccountTransfer();
}

void TXItem::ToggleEnvelopeCleared() {
    if (!CanToggleEnvelopeCleared()) return;
    SetCellText(XColEnvelopeCleared, record.envelopeCleared != XNotCleared ? "-" : "x");
}

void TXItem::SetAccountClearedDate(TDate date) {
    if (!Editable() || date.Key() == 0) return;
    if (record.accountCleared == XNotCleared && XMovesAccount(record))
        PostAccountCleared(record.amount);
    record.accountCleared = date.Key();
    MarkChanged(true);
}

bool TXItem::CanSetDateToday() const {
    return Editable() && !record.IsPart();
}

void TXItem::SetDateToday() {
    if (!CanSetDateToday()) return;
    record.date = TDate::Today().Key();
    MarkChanged(true);
    if (record.IsMultiple()) RefreshParts();
}

bool TXItem::CanFillNextNumber() const {
    return Editable() && record.Has(XAccount) && !record.IsPart();
}

void TXItem::FillNextNumber() {
    if (!CanFillNextNumber()) return;
    SetCellText(XColCode, std::to_string(manager.NextNumber(record.account)));
}

bool TXItem::CanApplyTemplate() const {
    if (!templateApplier || !Editable() || !record.Has(XAccount) || record.IsPart()) return false;
    TQuilletData* doc = manager.Document();
    return doc && doc->GetTemplates().GetCount() > 0;
}

void TXItem::ApplyTemplate() {
    if (!CanApplyTemplate()) return;
    if (record.IsMultiple() || record.Has(XTransfer) || record.amount != 0) {
        TMsgResult answer = UI().Message("Quillet", "Overwrite current transaction?",
                                         TMsgButtons::YesNo, TMsgIcon::Exclamation);
        if (answer != TMsgResult::Yes) return;
    }
    if (!templateApplier->ChooseAndApply(*this)) return;
    MarkChanged(true);
    if (record.IsMultiple()) Windows().OpenMultipleView(record.id);
}

void TXItem::Erase() {
    if (!Editable()) return;
    // A record being deleted keeps that mark through the change of kind.
    auto kind = [](const TXRecord& r, uint32_t flags) { return flags | (r.flags & XDeleted); };
    if (record.IsMultiple()) {
        manager.DeleteParts(record.id);
        record.flags = kind(record, XNewAccountRecord);
        record.envelope = DefaultEnvelope(record.account);
    } else if (record.IsAccountTransfer() || record.IsEnvelopeTransfer()) {
        const bool account = record.IsAccountTransfer();
        TXItem* partner = record.partner != record.id ? manager.GetItem(record.partner) : nullptr;
        auto undo = [&](TXItem& half) {
            TXRecord& r = half.record;
            half.ChangeAmount(Negated(r.amount), true);
            r.partner = 0;
            if (account) {
                r.flags = kind(r, XNewAccountRecord);
                r.envelope = half.DefaultEnvelope(r.account);
            } else {
                r.flags = kind(r, XNewEnvelopeRecord);
                r.account = 0;
            }
        };
        undo(*this);
        if (partner && partner->Editable()) {
            undo(*partner);
            partner->Erase();
        }
        manager.Release(partner);
    } else {
        ChangeAmount(Negated(record.amount), false);
        if (record.Has(XAccount)) record.envelope = DefaultEnvelope(record.account);
    }

    if (!record.IsPart()) {
        record.SetCode("");
        record.SetMemo("");
        record.accountCleared = XNotCleared;
        record.date = TDate(0, 0, TDate(record.date).Year()).Key();
    } else if (multiple) {
        const TXRecord& m = multiple->record;
        record.SetCode("m." + m.GetCode());
        record.SetMemo(m.GetPayableTo());
        record.accountCleared = m.accountCleared;
        record.date = m.date;
    }
    record.SetPayableTo("");
    record.envelopeCleared = XNotCleared;
    record.created = TDate::Today().Key();
    MarkChanged(true);
}

// ---------------------------------------------------------------------------------------------
// Text expansion

std::string TXItem::ExpandCode(char code) const {
    switch (code) {
        case 'a':
            return AccountColumn();
        case 'c':
            return GetCellText(XColCreatedYear);
        case 'e':
            return EnvelopeColumn();
        case 'i':
            return std::to_string(users);
        case 'p':
            return std::to_string(manager.PositionOf(this));
        case 'r':
            return GetCellText(XColAccountClearedDate);
        case 't':
            return TransferOtherSide();
        case 'x':
            return std::to_string(record.id);
        default:
            return "error";
    }
}

std::string TXItem::ExpandText(const std::string& source) const {
    constexpr size_t MaxPieces = 4;
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= source.size() && pieces.size() < MaxPieces) {
        size_t tilde = source.find('~', start);
        size_t end = tilde == std::string::npos ? source.size() : tilde;
        if (end > start) pieces.push_back(source.substr(start, end - start));
        if (tilde == std::string::npos) break;
        start = tilde + 1;
    }
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i == 0 && source[0] != '~') {
            out += pieces[i];
            continue;
        }
        out += ExpandCode(pieces[i][0]);
        out.append(pieces[i], 1);
    }
    return out;
}
