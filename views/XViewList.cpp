#include "views/XViewList.h"

#include <algorithm>

#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

const char* DefaultHeader(uint32_t column) {
    switch (column) {
        case XColAccount:
            return "Account";
        case XColEnvelope:
            return "Envelope";
        case XColCode:
            return "#/Type";
        case XColDate:
        case XColDateYear:
            return "Date";
        case XColAccountCleared:
        case XColEnvelopeCleared:
            return "X";
        case XColPayment:
            return "Payment";
        case XColDeposit:
            return "Deposit";
        case XColPayableTo:
        case XColPayableToExpanded:
            return "Payable To";
        case XColMemo:
        case XColMemoExpanded:
            return "Memo";
        default:
            return "";
    }
}

}  // namespace

TXViewList::TXViewList(TXManager& manager, std::unique_ptr<TXFilter> filter, const TXRecord& blank)
    : TXList(manager), filter(std::move(filter)), blank(blank) {
    rows.reserve(RowCount);
}

TXViewList::~TXViewList() {
    ReleaseRows();
}

void TXViewList::ReleaseRows() {
    TXManager* manager = Manager();
    if (manager)
        for (TXItem* item : rows)
            manager->Release(item);
    rows.clear();  // without a store the rows went with it
    loaded = false;
}

TLedgerItem* TXViewList::GetItem(uint32_t row) {
    return GetRow(row);
}

TXItem* TXViewList::GetRow(uint32_t row) const {
    return row >= 1 && row <= rows.size() ? rows[row - 1] : nullptr;
}

void TXViewList::FillWithBlanks() {
    TXManager* manager = Manager();
    if (!manager) return;
    while (rows.size() < RowCount)
        rows.push_back(manager->NewItem(blank));
    loaded = true;
}

void TXViewList::LoadAtEnd() {
    ReleaseRows();
    TXManager* manager = Manager();
    if (!manager) return;
    TXBlankFilter committed(*filter);
    for (TXItem* item = manager->FindLast(committed); item;) {
        rows.push_back(item);
        if (rows.size() == EndBacklog) break;
        item = manager->FindPrevious(item, committed);
    }
    std::reverse(rows.begin(), rows.end());
    TXItem* next =
        rows.empty() ? manager->FindFirst(*filter) : manager->FindNext(rows.back(), *filter);
    while (next) {
        rows.push_back(next);
        if (rows.size() == RowCount) break;
        next = manager->FindNext(next, *filter);
    }
    FillWithBlanks();
}

void TXViewList::LoadFrom(TXItem* item) {
    TXManager* manager = Manager();
    if (!manager) return;
    // Hold the starting row while the window is given back: it may be one of its rows.
    TXItem* first = item ? manager->GetItem(item->GetId()) : manager->FindFirst(*filter);
    ReleaseRows();
    for (TXItem* next = first; next;) {
        rows.push_back(next);
        if (rows.size() == RowCount) break;
        next = manager->FindNext(next, *filter);
    }
    FillWithBlanks();
}

uint32_t TXViewList::ScrollUp(uint32_t n) {
    TXManager* manager = Manager();
    if (!manager || rows.empty() || n == 0) return 0;
    n = std::min(n, RowCount);
    std::vector<TXItem*> before;  // nearest first
    for (TXItem* item = manager->FindPrevious(rows.front(), *filter); item;) {
        before.push_back(item);
        if (before.size() == n) break;
        item = manager->FindPrevious(item, *filter);
    }
    const size_t k = before.size();
    if (k == 0) return 0;
    for (size_t i = rows.size() - k; i < rows.size(); ++i)
        manager->Release(rows[i]);
    rows.resize(rows.size() - k);
    rows.insert(rows.begin(), before.rbegin(), before.rend());
    return static_cast<uint32_t>(k);
}

uint32_t TXViewList::ScrollDown(uint32_t n) {
    TXManager* manager = Manager();
    if (!manager || rows.empty() || n == 0) return 0;
    n = std::min(n, RowCount);
    std::vector<TXItem*> after;
    for (TXItem* item = manager->FindNext(rows.back(), *filter); item;) {
        after.push_back(item);
        if (after.size() == n) break;
        item = manager->FindNext(item, *filter);
    }
    for (size_t i = 0; i < n; ++i)
        manager->Release(rows[i]);
    rows.erase(rows.begin(), rows.begin() + n);
    rows.insert(rows.end(), after.begin(), after.end());
    FillWithBlanks();
    return n;
}

uint32_t TXViewList::GetUsedCount() const {
    return static_cast<uint32_t>(std::count_if(
        rows.begin(), rows.end(), [](const TXItem* item) { return item->Record().IsCommitted(); }));
}

uint32_t TXViewList::GetPosition(uint32_t row) const {
    TXItem* item = GetRow(row);
    return item && Manager() ? Manager()->PositionOf(item) : 0;
}

uint32_t TXViewList::GetFirstPosition() const {
    return Manager() ? std::max<uint32_t>(Manager()->PositionOfFirst(*filter), 1) : 1;
}

uint32_t TXViewList::GetLastPosition() const {
    return Manager() ? std::max(Manager()->PositionOfLast(*filter), GetFirstPosition()) : 1;
}

int TXViewList::JumpTo(uint32_t position) {
    TXManager* manager = Manager();
    if (!manager) return JumpNothing;
    TXItem* found = manager->FindFromPosition(position, *filter);
    if (!found) return JumpEnd;
    const uint32_t at = manager->PositionOf(found);
    int answer = JumpStarts;
    if (at <= manager->PositionOfFirst(*filter)) {
        answer = JumpTop;
    } else {
        TXBlankFilter committed(*filter);
        if (at > manager->PositionOfLast(committed)) answer = JumpEnd;
    }
    if (answer == JumpStarts) LoadFrom(found);
    manager->Release(found);
    return answer;
}

void TXViewList::DeleteRow(uint32_t row) {
    TXItem* item = GetRow(row);
    TXManager* manager = Manager();
    if (!item || !manager) return;
    manager->Delete(manager->GetItem(item->GetId()));  // the store tells us; we reload then
}

TCellPaint TXViewList::PaintHeader(uint32_t column) const {
    TCellPaint paint;
    auto it = headers.find(column);
    paint.text = it != headers.end() ? it->second : DefaultHeader(column);
    paint.align = column == XColPayment || column == XColDeposit ? TCellAlign::Right
                  : column == XColAccountCleared || column == XColEnvelopeCleared
                      ? TCellAlign::Centre
                      : TCellAlign::Left;
    return paint;
}

void TXViewList::SetHeaderText(uint32_t column, std::string text) {
    headers[column] = std::move(text);
}

bool TXViewList::AnyRowMatches(const TXFilter& test) const {
    return std::any_of(rows.begin(), rows.end(),
                       [&](const TXItem* item) { return test.Match(item->Record()); });
}

uint32_t TXViewList::RowOf(const TXItem* item) const {
    auto it = std::find(rows.begin(), rows.end(), item);
    return it == rows.end() ? 0 : static_cast<uint32_t>(it - rows.begin()) + 1;
}

void TXViewList::ItemChanged(TXItem* item) {
    if (uint32_t row = RowOf(item)) RowsChanged(row);
}

void TXViewList::ItemDeleted(TXItem* item) {
    const uint32_t row = RowOf(item);
    if (row == 0) return;
    TXItem* from = GetRow(row == 1 ? 2 : 1);
    LoadFrom(from);
    RowsChanged(0);
}

void TXViewList::ItemAdded(TXItem* item) {
    if (!loaded || !filter->Match(item->Record()) || Contains(item)) return;
    LoadFrom(GetRow(1));
    RowsChanged(0);
}
