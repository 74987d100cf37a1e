#include "plan/XTemplate.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "accounts/AccountList.h"
#include "core/ObjectStream.h"
#include "core/QuilletData.h"
#include "core/TarnStringList.h"
#include "envelopes/EnvelopeList.h"
#include "plan/Period.h"
#include "plan/TemplateDialogs.h"
#include "transactions/Filters.h"
#include "transactions/XGenericList.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

void CopyCut(char* field, size_t size, const std::string& text) {
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

// Amounts wrap like the 32-bit fields they are stored in.
int32_t Negated(int32_t v) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(v));
}

TEnvelopeList* Envelopes() {
    TQuilletData* doc = TQuilletData::Current();
    return doc ? &doc->GetEnvelopes() : nullptr;
}

std::string AmountText(int64_t cents) {
    return TMoney::FromCents(cents).Format(MoneyThousands);
}

constexpr size_t MaxDescriptionPieces = 5;
constexpr size_t EnvelopeNameChars = 127;

}  // namespace

int32_t TemplateTypedCents(const std::string& text) {
    double value = EvaluateAmount(text.substr(0, TXTemplateItem::AmountTextLimit));
    value += value > 0 ? 0.005 : -0.005;
    if (!(value > -20000000.0 && value < 20000000.0)) return 0;
    return static_cast<int32_t>(value * 100.0);
}

// ---------------------------------------------------------------------------------------------
// TXTemplateItem

void TXTemplateItem::SetDescription(const std::string& text) {
    CopyCut(description, DescriptionSize, text);
}

std::string TXTemplateItem::ExpandDescription() const {
    const std::string source = description;
    if (source.empty()) return {};
    // The pieces between the "~" marks; empty ones carry no code and are passed over.
    std::vector<std::string> pieces;
    size_t from = 0;
    while (from <= source.size() && pieces.size() < MaxDescriptionPieces) {
        size_t tilde = source.find('~', from);
        size_t end = tilde == std::string::npos ? source.size() : tilde;
        if (end > from) pieces.push_back(source.substr(from, end - from));
        if (tilde == std::string::npos) break;
        from = tilde + 1;
    }
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i == 0 && source[0] != '~') {
            out += pieces[i];
            continue;
        }
        switch (pieces[i][0]) {
            case 'a':
                out += "<account>";
                break;
            case 'c':
                out += "<creation date>";
                break;
            case 'e':
                out += GetCellText(XTColEnvelope).substr(0, EnvelopeNameChars);
                break;
            case 'i':
                out += "<instances>";
                break;
            case 'p':
                out += "<transaction position>";
                break;
            case 'r':
                out += "<reconcile date>";
                break;
            case 'x':
                out += "<transaction id>";
                break;
            default:
                out += "error";
        }
        out.append(pieces[i], 1);
    }
    return out.substr(0, DescriptionSize - 1);
}

std::string TXTemplateItem::GetCellText(uint32_t column) const {
    switch (column) {
        case XTColDescription:
            return ExpandDescription();
        case XTColPayment:
            return AmountText(amount < 0 ? -static_cast<int64_t>(amount) : 0);
        case XTColDeposit:
            return AmountText(amount > 0 ? amount : 0);
        case XTColEnvelope: {
            const TEnvelopeList* envelopes = Envelopes();
            return envelopes ? envelopes->GetEnvelopeName(envelope) : "None";
        }
        default:
            return {};
    }
}

TCellPaint TXTemplateItem::PaintCell(uint32_t column, unsigned state) const {
    TCellPaint paint;
    paint.text = GetCellText(column);
    paint.highlight = (state & (CellCurrent | CellFocusedRow)) == (CellCurrent | CellFocusedRow);
    if (column == XTColPayment || column == XTColDeposit) paint.align = TCellAlign::Right;
    return paint;
}

std::unique_ptr<TCellEditor> TXTemplateItem::CreateEditor(uint32_t column, unsigned options) {
    auto editor = std::make_unique<TCellEditor>();
    switch (column) {
        case XTColDescription:
            editor->chars = DescriptionSize - 1;
            editor->text = description;
            break;
        case XTColPayment:
        case XTColDeposit:
            editor->chars = AmountTextLimit;
            editor->text = GetCellText(column);
            break;
        case XTColEnvelope: {
            editor->kind = TCellEditorKind::StringList;
            editor->chars = 31;
            editor->text = GetCellText(column);
            const TEnvelopeList* envelopes = Envelopes();
            editor->choices = envelopes ? envelopes->GetStringList(ListEnvelopes)
                                        : std::make_unique<TTarnStringList>();
            break;
        }
        default:
            return nullptr;
    }
    if (options & EditStartEmpty) editor->text.clear();
    return editor;
}

void TXTemplateItem::SetCellText(uint32_t column, const std::string& text) {
    switch (column) {
        case XTColDescription:
            SetDescription(text);
            break;
        case XTColPayment:
            amount = Negated(TemplateTypedCents(text));
            break;
        case XTColDeposit:
            amount = TemplateTypedCents(text);
            break;
        case XTColEnvelope: {
            const TEnvelopeList* envelopes = Envelopes();
            envelope = envelopes ? envelopes->FindId(text) : 0;
            break;
        }
        default:
            return;
    }
    if (owner && owner->GetOwner()) owner->GetOwner()->UpdateTotal();
}

void TXTemplateItem::Write(opstream& os) const {
    os.writeWord32(envelope);
    os.writeInt(amount);
    os.writeString(description);
}

bool TXTemplateItem::Read(ipstream& is) {
    uint32_t env = is.readWord();
    int32_t cents = is.readInt();
    if (!is.good()) return false;
    envelope = env;
    amount = cents;
    is.readString(description, DescriptionSize);
    return is.good();
}

// ---------------------------------------------------------------------------------------------
// TXTemplateList

TXTemplateItem* TXTemplateList::Append(uint32_t envelope, int32_t amount,
                                       const std::string& description) {
    auto item = std::make_unique<TXTemplateItem>(this);
    item->SetEnvelope(envelope);
    item->SetAmount(amount);
    item->SetDescription(description);
    items.push_back(std::move(item));
    return items.back().get();
}

void TXTemplateList::Clear() {
    window.clear();
    built = false;
    used = 0;
    start = 0;
    items.clear();
}

TMoney TXTemplateList::GetItemsTotal() const {
    const TEnvelopeList* envelopes = Envelopes();
    TMoney total;
    for (const auto& item : items) {
        uint32_t id = item->GetEnvelope();
        bool counts = envelopes ? envelopes->GetEnvelope(id) != nullptr : id != 0;
        if (counts) total += TMoney(item->GetAmount());
    }
    return total;
}

TMoney TXTemplateList::SumForEnvelope(uint32_t envelope) const {
    TMoney sum;
    for (const auto& item : items)
        if (item->GetEnvelope() == envelope) sum += TMoney(item->GetAmount());
    return sum;
}

void TXTemplateList::DropBlankRows() {
    if (!built) return;
    std::unordered_set<const TXTemplateItem*> blank;
    for (const TXTemplateItem* item : window)
        if (item->IsBlank()) blank.insert(item);
    std::erase_if(items, [&blank](const auto& item) { return blank.count(item.get()) != 0; });
    window.clear();
    built = false;
    used = 0;
    SortByEnvelope();
}

void TXTemplateList::SortByEnvelope() {
    const TEnvelopeList* envelopes = Envelopes();
    if (!envelopes) return;
    auto position = [envelopes](const TXTemplateItem& item) -> uint32_t {
        uint32_t id = item.GetEnvelope();
        return envelopes->GetEnvelope(id) ? envelopes->IndexOf(id) : 0;
    };
    std::vector<std::pair<uint32_t, std::unique_ptr<TXTemplateItem>>> keyed;
    keyed.reserve(items.size());
    for (auto& item : items)
        keyed.emplace_back(position(*item), std::move(item));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        items[i] = std::move(keyed[i].second);
}

uint32_t TXTemplateList::GetStoredCount() const {
    if (!built) return GetCount();
    return GetCount() - (WindowRows - used);
}

void TXTemplateList::BuildWindow(uint32_t first) {
    DropBlankRows();
    const uint32_t count = GetCount();
    start = std::min(first, count);
    used = std::min(WindowRows, count - start);
    window.clear();
    for (uint32_t i = 0; i < used; ++i)
        window.push_back(items[start + i].get());
    const TEnvelopeList* envelopes = Envelopes();
    const uint32_t firstEnvelope = envelopes ? envelopes->GetEnvelopeIdByIndex(1) : 0;
    // The blank rows follow the last stored item, so the window stays one run of the collection.
    while (window.size() < WindowRows) {
        TXTemplateItem* blank = Append(firstEnvelope, 0, "");
        window.push_back(blank);
    }
    built = true;
}

TXTemplateItem* TXTemplateList::GetRowItem(uint32_t row) {
    if (!built) BuildWindow(0);
    return row >= 1 && row <= window.size() ? window[row - 1] : nullptr;
}

uint32_t TXTemplateList::ScrollUp(uint32_t n) {
    if (!built || start == 0 || n == 0) return 0;
    uint32_t moved = std::min(n, start);
    BuildWindow(start - moved);
    return moved;
}

uint32_t TXTemplateList::ScrollDown(uint32_t n) {
    if (!built || n == 0) return 0;
    uint32_t stored = GetStoredCount();
    uint32_t last = stored > EndRows ? stored - EndRows : 0;
    if (start >= last) return 0;
    uint32_t moved = std::min(n, last - start);
    BuildWindow(start + moved);
    return moved;
}

void TXTemplateList::LoadAtTop() {
    BuildWindow(0);
}

void TXTemplateList::LoadAtEnd() {
    DropBlankRows();
    uint32_t count = GetCount();
    BuildWindow(count > EndRows ? count - EndRows : 0);
}

int TXTemplateList::JumpTo(uint32_t position) {
    if (position <= 1) {
        LoadAtTop();
        return JumpTop;
    }
    if (position > GetStoredCount()) {
        LoadAtEnd();
        return JumpEnd;
    }
    BuildWindow(position - 1);
    return JumpStarts;
}

uint32_t TXTemplateList::GetLastPosition() const {
    return std::max<uint32_t>(GetStoredCount(), 1);
}

TCellPaint TXTemplateList::PaintHeader(uint32_t column) const {
    static const char* const titles[] = {"Description", "Payment", "Deposit", "Envelope"};
    TCellPaint paint;
    paint.align = TCellAlign::Centre;
    if (column >= XTColDescription && column <= XTColEnvelope) paint.text = titles[column - 1];
    return paint;
}

void TXTemplateList::Write(opstream& os) const {
    os.writeWord32(Layout);
    os.writeWord32(GetCount());
    for (const auto& item : items)
        item->Write(os);
}

void TXTemplateList::Read(ipstream& is) {
    uint32_t layout = is.readWord32();
    uint32_t count = is.readWord32();
    if (layout != Layout) return;  // an unknown items layout gives a template without items
    for (uint32_t i = 0; i < count && is.good(); ++i) {
        auto item = std::make_unique<TXTemplateItem>(this);
        if (!item->Read(is)) break;
        items.push_back(std::move(item));
    }
}

// ---------------------------------------------------------------------------------------------
// TXTemplate

TXTemplate::TXTemplate(TManagedList* owner)
    : TManagedItem(owner), items(std::make_unique<TXTemplateList>(this)) {}

TXTemplate::~TXTemplate() = default;

void TXTemplate::SetName(const std::string& name) {
    CopyCut(fields.name, TXTemplateFields::NameSize, name);
}

void TXTemplate::SetPayableTo(const std::string& text) {
    CopyCut(fields.payableTo, TXTemplateFields::TextSize, text);
}

void TXTemplate::SetMemo(const std::string& text) {
    CopyCut(fields.memo, TXTemplateFields::TextSize, text);
}

void TXTemplate::Write(opstream& os) const {
    TManagedItem::Write(os);
    os.writeWord32(Layout);
    os.writeWord32(fields.includeInPlan);
    items->Write(os);
    os.writeWord32(fields.period);
    os.writeString(fields.name);
    os.writeString(fields.payableTo);
    os.writeString(fields.memo);
}

void TXTemplate::Read(ipstream& is) {
    TManagedItem::Read(is);
    items = std::make_unique<TXTemplateList>(this);
    uint32_t layout = is.readWord();
    uint32_t include = is.readWord();
    if (is.good()) fields.includeInPlan = include;
    items->Read(is);
    if (layout > 1) {
        uint32_t period = is.readWord();
        if (is.good()) fields.period = period;
    }
    is.readString(fields.name, TXTemplateFields::NameSize);
    if (layout >= 3) {
        is.readString(fields.payableTo, TXTemplateFields::TextSize);
        is.readString(fields.memo, TXTemplateFields::TextSize);
    }
}

bool TXTemplate::SortsBefore(const TManagedItem* item) const {
    const auto* other = dynamic_cast<const TXTemplate*>(item);
    if (!other) return TManagedItem::SortsBefore(item);
    return CompareCodeText(fields.name, other->fields.name) < 0;
}

void TXTemplate::GetName(char* buffer, size_t capacity) const {
    CopyToBuffer(buffer, capacity, fields.name);
}

bool TXTemplate::Edit() {
    return EditTemplateProperties(*this);
}

void TXTemplate::AddAllocation(uint32_t envelope, int32_t amount) {
    items->Append(envelope, amount, "Allocate to ~e");
}

void TXTemplate::ReplaceEnvelope(uint32_t oldId, uint32_t newId) {
    for (uint32_t i = 0; i < items->GetCount(); ++i) {
        TXTemplateItem* item = items->GetAt(i);
        if (item->GetEnvelope() == oldId) item->SetEnvelope(newId);
    }
}

TMoney TXTemplate::GetEnvelopeAmount(uint32_t envelope, uint32_t period) const {
    TMoney sum;
    for (uint32_t i = 0; i < items->GetCount(); ++i) {
        const TXTemplateItem* item = items->GetAt(i);
        if (item->GetEnvelope() == envelope) sum += TMoney(item->GetAmount());
    }
    return ConvertPeriodAmount(sum, fields.period, period);
}

std::string TXTemplate::TotalText() const {
    return AmountText(items->GetItemsTotal().Cents());
}

void TXTemplate::UpdateTotal() const {
    if (openDialog) openDialog->TotalChanged(TotalText());
}

// ---------------------------------------------------------------------------------------------
// Applying a template to a transaction

void TXTemplate::ApplyTo(TXItem& item) const {
    TXManager& manager = item.Manager();
    TQuilletData* doc = manager.Document();
    auto exists = [doc](uint32_t envelope) {
        return doc && doc->GetEnvelopes().GetEnvelope(envelope) != nullptr;
    };
    auto defaultEnvelope = [doc](uint32_t account) -> uint32_t {
        if (!doc || !doc->GetAccounts().GetAccount(account)) return 0;
        return doc->GetAccounts().GetDefaultEnvelope(account);
    };

    // Only what the command offers it to: an account transaction, not a part of a multiple.
    TXRecord& r = item.Data();
    if (!r.Has(XAccount) || r.IsPart() || r.IsInert()) return;

    // The texts go through the row's own setters, as if typed.
    if (r.payableTo[0] == '\0' && fields.payableTo[0] != '\0')
        item.SetCellText(XColPayableTo, fields.payableTo);
    if (r.memo[0] == '\0' && fields.memo[0] != '\0') item.SetCellText(XColMemo, fields.memo);

    // Undo the present split; the record's amount ends at 0.
    if (r.IsAccountTransfer()) {
        TXItem* partner = r.partner != r.id ? manager.GetItem(r.partner) : nullptr;
        item.ChangeAmount(Negated(r.amount), true);
        r.partner = 0;
        // An inert other half accepts no change and is left as it is.
        if (partner && !partner->Record().IsInert()) {
            TXRecord& p = partner->Data();
            partner->ChangeAmount(Negated(p.amount), true);
            p.partner = 0;
            p.flags = XNewAccountRecord;
            p.envelope = defaultEnvelope(p.account);
            partner->MarkChanged(true);
        }
        manager.Release(partner);
    } else if (r.IsMultiple()) {
        std::vector<uint32_t> parts;
        {
            TMultKidsFilter kids(r.id);
            TXGenericList list = manager.CollectMatching(kids);
            for (uint32_t i = 1; i <= list.Count(); ++i)
                parts.push_back(list[i]->GetId());
        }
        // Each part's amount leaves the multiple as the part goes.
        for (uint32_t id : parts)
            if (TXItem* part = manager.GetItem(id)) manager.Delete(part);
        // Parts that did not add up to the multiple leave a rest on the account.
        if (r.amount != 0) item.ChangeAmount(Negated(r.amount), true);
    } else if (r.amount != 0) {
        item.ChangeAmount(Negated(r.amount), false);
    }

    const uint32_t count = items->GetCount();
    if (count < 2) {
        const TXTemplateItem* only = count == 1 ? items->GetAt(0) : nullptr;
        r.flags = XNewAccountRecord;
        r.partner = 0;
        if (only && exists(only->GetEnvelope())) {
            r.envelope = only->GetEnvelope();
            item.SetAmount(only->GetAmount());
        } else {
            r.envelope = defaultEnvelope(r.account);
        }
        item.MarkChanged(true);
        return;
    }

    r.flags = XKindMultiple | XDirty;
    r.envelope = 0;
    r.partner = 0;
    // A part finds its multiple in the store, so the new kind must be there first.
    item.MarkChanged(false);
    TXManager::TBulkPosting posting(manager);
    for (uint32_t i = 0; i < count; ++i) {
        const TXTemplateItem* split = items->GetAt(i);
        if (!exists(split->GetEnvelope())) continue;
        TXRecord part;
        part.Init(TDate::Today());
        part.flags = XKindPart;
        part.account = r.account;
        part.parent = r.id;
        part.envelope = split->GetEnvelope();
        part.SetPayableTo(split->GetDescription());
        part.SetMemo(r.GetPayableTo());
        TXItem* row = manager.NewItem(part);
        row->SetAmount(split->GetAmount());
        manager.Release(row);
    }
    item.MarkChanged(true);
}
