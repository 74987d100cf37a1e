// Transaction templates: named recipes of payee, memo, period and envelope splits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/LedgerItem.h"
#include "core/LedgerList.h"
#include "core/ManagedList.h"
#include "core/Money.h"

class ipstream;
class opstream;
class TXItem;
class TXTemplate;
class TXTemplateList;

// The grid columns of a template's items.
enum TXTemplateColumn : uint32_t {
    XTColDescription = 1,
    XTColPayment = 2,
    XTColDeposit = 3,
    XTColEnvelope = 4,
};

// Typed amount text to cents: half a cent away from zero, then cut toward zero; anything not
// strictly inside 20,000,000 currency units either way, or no valid expression, is 0.
int32_t TemplateTypedCents(const std::string& text);

// One envelope split of a template, and its row in the property dialog's grid.
class TXTemplateItem : public TLedgerItem {
public:
    static constexpr size_t DescriptionSize = 90;
    static constexpr uint32_t AmountTextLimit = 99;

    explicit TXTemplateItem(TXTemplateList* owner = nullptr) : owner(owner) {}

    TXTemplateList* GetOwner() const { return owner; }
    uint32_t GetEnvelope() const { return envelope; }
    void SetEnvelope(uint32_t id) { envelope = id; }
    int32_t GetAmount() const { return amount; }
    void SetAmount(int32_t cents) { amount = cents; }
    std::string GetDescription() const { return description; }
    // Cut to 89 characters.
    void SetDescription(const std::string& text);
    // No amount and no description; the envelope does not count.
    bool IsBlank() const { return amount == 0 && description[0] == '\0'; }

    // --- The row in the grid. Envelope names come from the open document.
    std::unique_ptr<TCellEditor> CreateEditor(uint32_t column, unsigned options) override;
    TCellPaint PaintCell(uint32_t column, unsigned state) const override;
    // Every edit refreshes the total of the open property dialog.
    void SetCellText(uint32_t column, const std::string& text) override;
    std::string GetCellText(uint32_t column) const override;
    // The description with its "~" codes expanded, as the Description column shows it. An item
    // has no account, dates or position of its own: only "~e" gives a real value.
    std::string ExpandDescription() const;

    void Write(opstream& os) const;
    // False when the stream failed inside the item.
    bool Read(ipstream& is);

private:
    TXTemplateList* owner;
    uint32_t envelope = 0;  // 0: none
    int32_t amount = 0;     // cents; positive a deposit, negative a payment
    char description[DescriptionSize] = {};
};

// The envelope splits of one template, in their stored order, and the grid's model over them.
// While the grid shows them, a window of 150 rows refers to a run of stored items followed by
// blank items; the blanks are real members of the collection, so typing into a blank row edits
// an item. They are dropped again whenever the window is rebuilt or the dialog closes, so a
// stored template never holds a blank item.
class TXTemplateList : public TLedgerList {
public:
    static constexpr uint32_t Layout = 1;
    static constexpr uint32_t WindowRows = 150;
    // At the end the window shows at most this many stored items above its blank rows.
    static constexpr uint32_t EndRows = 125;

    explicit TXTemplateList(TXTemplate* owner) : owner(owner) {}
    TXTemplateList(const TXTemplateList&) = delete;
    TXTemplateList& operator=(const TXTemplateList&) = delete;

    TXTemplate* GetOwner() const { return owner; }
    // Every item of the collection, the blank rows of a built window included.
    uint32_t GetCount() const { return static_cast<uint32_t>(items.size()); }
    // 0-based; null past the end.
    TXTemplateItem* GetAt(uint32_t index) const {
        return index < items.size() ? items[index].get() : nullptr;
    }
    TXTemplateItem* Append(uint32_t envelope, int32_t amount, const std::string& description);
    // Destroys every item; a built window goes with them.
    void Clear();

    // The amounts of the items whose envelope exists (without a document: whose envelope is
    // not 0).
    TMoney GetItemsTotal() const;
    TMoney SumForEnvelope(uint32_t envelope) const;
    // When the window is built: destroys the blank items of its rows, takes the window down and
    // sorts the items by envelope (the place of each envelope in the envelope tree, items of a
    // missing envelope first; items of one envelope keep their order).
    void DropBlankRows();

    // --- The grid's model.
    bool IsWindowBuilt() const { return built; }
    // The items that existed before the window added its blank rows.
    uint32_t GetStoredCount() const;
    // The 0-based index of the first row's item.
    uint32_t GetWindowStart() const { return start; }
    // The item of a row (1-based); the window is built at the top when it is not built.
    TXTemplateItem* GetRowItem(uint32_t row);
    TLedgerItem* GetItem(uint32_t row) override { return GetRowItem(row); }
    uint32_t ScrollUp(uint32_t n) override;
    // Down as far as the window that LoadAtEnd builds.
    uint32_t ScrollDown(uint32_t n) override;
    void LoadAtTop() override;
    // The last 125 stored items at most, then blank rows up to 150.
    void LoadAtEnd() override;
    uint32_t GetUsedCount() const override { return built ? used : 0; }
    uint32_t GetRowCount() const override { return WindowRows; }
    uint32_t GetPosition(uint32_t row) const override { return start + row; }
    // 1: the top; beyond the stored items: the end; otherwise the window starts at that item.
    int JumpTo(uint32_t position) override;
    uint32_t GetLastPosition() const override;
    TCellPaint PaintHeader(uint32_t column) const override;

    void Write(opstream& os) const;
    // Appends the items read. Items are only made while the stream holds them, so a damaged
    // count ends in a failed stream with the items read so far.
    void Read(ipstream& is);

private:
    // Drops the present window and builds one whose first row is the item at index first.
    void BuildWindow(uint32_t first);
    void SortByEnvelope();

    TXTemplate* owner;
    std::vector<std::unique_ptr<TXTemplateItem>> items;
    std::vector<TXTemplateItem*> window;  // the rows, while built
    bool built = false;
    uint32_t used = 0;   // rows holding items that existed before the window was built
    uint32_t start = 0;  // index of the first row's item
};

// The five fields the property dialog edits, in the order its transfer buffer holds them.
struct TXTemplateFields {
    static constexpr size_t NameSize = 128;
    static constexpr size_t TextSize = 90;

    char name[NameSize] = {};
    uint32_t includeInPlan = 0;  // 0 or 1: an income source of the allocation plan
    uint32_t period = 4;         // a period id; "Monthly" for a new template
    char payableTo[TextSize] = {};
    char memo[TextSize] = {};
};

// Told by a template when the total its open property dialog shows has changed.
class TXTemplateView {
public:
    virtual ~TXTemplateView() = default;
    virtual void TotalChanged(const std::string& total) = 0;
};

class TXTemplate : public TManagedItem {
public:
    static constexpr uint32_t Layout = 3;
    static constexpr uint32_t MonthlyPeriod = 4;

    explicit TXTemplate(TManagedList* owner = nullptr);
    ~TXTemplate() override;

    void Write(opstream& os) const override;
    void Read(ipstream& is) override;
    // By name, without regard to letter case.
    bool SortsBefore(const TManagedItem* item) const override;
    void GetName(char* buffer, size_t capacity) const override;
    // The property dialog ("Transaction Template: <name>") through the template dialog port.
    // There is no cancel: the fields come back when the dialog closes, the blank rows are
    // dropped and the document is marked modified. Always true.
    bool Edit() override;

    std::string GetName() const { return fields.name; }
    bool GetIncludeInPlan() const { return fields.includeInPlan != 0; }
    uint32_t GetPeriod() const { return fields.period; }
    std::string GetPayableTo() const { return fields.payableTo; }
    std::string GetMemo() const { return fields.memo; }
    // Each text is cut to its field.
    void SetName(const std::string& name);
    void SetIncludeInPlan(bool include) { fields.includeInPlan = include ? 1 : 0; }
    void SetPeriod(uint32_t period) { fields.period = period; }
    void SetPayableTo(const std::string& text);
    void SetMemo(const std::string& text);
    TXTemplateFields& Fields() { return fields; }

    TXTemplateList& GetItems() { return *items; }
    const TXTemplateList& GetItems() const { return *items; }
    void ClearItems() { items->Clear(); }
    // Appends an item with that envelope and amount, described "Allocate to ~e".
    void AddAllocation(uint32_t envelope, int32_t amount);
    // Every item of the old envelope takes the new one.
    void ReplaceEnvelope(uint32_t oldId, uint32_t newId);
    // What the items give the envelope, converted from the template's period to the one asked.
    TMoney GetEnvelopeAmount(uint32_t envelope, uint32_t period) const;

    // Fills a transaction from the template: payee and memo where it has none, and its envelope
    // split from the items (none or one: a plain transaction, several: a multiple with one part
    // per item whose envelope exists). Whatever split it had before is undone first, an account
    // transfer's other half becoming a plain transaction of 0 in its account's default envelope.
    // Every amount moves through the row objects, so the balances keep agreeing.
    void ApplyTo(TXItem& item) const;

    // The open property dialog, told of every change of the total; null when none is open.
    void SetOpenDialog(TXTemplateView* view) { openDialog = view; }
    TXTemplateView* GetOpenDialog() const { return openDialog; }
    // The items' total as the dialog shows it.
    std::string TotalText() const;
    void UpdateTotal() const;

private:
    TXTemplateFields fields;
    std::unique_ptr<TXTemplateList> items;
    TXTemplateView* openDialog = nullptr;
};
