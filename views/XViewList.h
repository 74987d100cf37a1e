// The row model of a transaction ledger: a window of exactly 250 rows over the record store,
// filled through the view's filter, with blank rows for new entries at the end. The window never
// holds more rows than that, so an open ledger costs the same over ten records or a million; it
// moves over the store through the manager's searches as the grid scrolls.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/LedgerList.h"
#include "transactions/Filters.h"
#include "transactions/XList.h"
#include "transactions/XRecord.h"

class TXItem;
class TXManager;

class TXViewList : public TLedgerList, public TXList {
public:
    static constexpr uint32_t RowCount = 250;
    // Opening at the end shows at most this many stored records above the blank rows.
    static constexpr uint32_t EndBacklog = 125;

    // The filter decides which records are rows; blank rows are made from the template (kind,
    // account or envelope preset). Nothing is loaded until the grid asks.
    TXViewList(TXManager& manager, std::unique_ptr<TXFilter> filter, const TXRecord& blank);
    // Gives every row back, so blank rows that stayed empty leave no record.
    ~TXViewList() override;

    TXFilter& GetFilter() const { return *filter; }
    const TXRecord& GetTemplate() const { return blank; }
    void SetTemplate(const TXRecord& record) { blank = record; }

    // --- As the grid's row model.
    TLedgerItem* GetItem(uint32_t row) override;
    // The row object of a 1-based row; null outside the window or before the first load.
    TXItem* GetRow(uint32_t row) const;
    uint32_t ScrollUp(uint32_t n) override;
    uint32_t ScrollDown(uint32_t n) override;
    void LoadAtTop() override { LoadFrom(nullptr); }
    // The last committed matches (at most 125), then blank rows.
    void LoadAtEnd() override;
    // From the given row (the first match when null) onwards; blank rows after the last match.
    void LoadFrom(TXItem* item);
    // The rows holding stored (committed) records.
    uint32_t GetUsedCount() const override;
    uint32_t GetRowCount() const override { return RowCount; }
    // A row's store position; the range runs from the first match to the last.
    uint32_t GetPosition(uint32_t row) const override;
    uint32_t GetFirstPosition() const override;
    uint32_t GetLastPosition() const override;
    // Moves the window to the first match at or after a store position: JumpTop when that is the
    // first match (nothing loaded), JumpEnd when there is none after the last committed match
    // (nothing loaded), otherwise JumpStarts with the window loaded from it.
    int JumpTo(uint32_t position) override;
    // Deletes the row's transaction, and with it whatever hangs on it.
    void DeleteRow(uint32_t row) override;
    TCellPaint PaintHeader(uint32_t column) const override;
    // The header text of a column (the views name their columns; defaults cover every column).
    void SetHeaderText(uint32_t column, std::string text);

    // --- Questions of the view.
    bool IsLoaded() const { return loaded; }
    bool AnyRowMatches(const TXFilter& test) const;
    bool Contains(const TXItem* item) const { return RowOf(item) != 0; }
    // The 1-based row holding an item, 0 when it is not in the window.
    uint32_t RowOf(const TXItem* item) const;
    // Gives every row back (the view closes); a later load fills the window again.
    void ReleaseRows();

    // --- As an observer of the store.
    void ItemChanged(TXItem* item) override;
    void ItemDeleted(TXItem* item) override;
    void ItemAdded(TXItem* item) override;

private:
    void FillWithBlanks();

    std::unique_ptr<TXFilter> filter;
    TXRecord blank;
    std::vector<TXItem*> rows;  // at most RowCount, each holding one use
    bool loaded = false;
    std::map<uint32_t, std::string> headers;
};
