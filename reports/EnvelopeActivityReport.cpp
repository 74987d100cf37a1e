#include "reports/EnvelopeActivityReport.h"

#include <unordered_map>

#include "core/QuilletData.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"
#include "transactions/XManager.h"

namespace {

constexpr size_t NameLength = 127;

// The figures are 32-bit counts of cents and wrap as such.
int32_t Sum(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t Negated(int32_t a) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// Every id the node answers for as a container: its own, those below it, and through an alias
// those of the node it shows.
void GatherIds(const TEnvelopeNode* node, std::vector<uint32_t>& ids) {
    if (node->IsAlias()) {
        const TEnvelopeNode* target = static_cast<const TEnvelopeAlias*>(node)->GetTarget();
        if (target && !target->IsAlias()) GatherIds(target, ids);
        return;
    }
    ids.push_back(node->GetId());
    for (const TTreeItem* c = node->GetFirstChild(); c; c = c->GetNextSibling())
        GatherIds(static_cast<const TEnvelopeNode*>(c), ids);
}

const char* const Headers[] = {"Envelope", "Alloc",   "Expense", "X-In", "X-Out",
                               "All-In",   "All-Out", "Start",   "End"};

}  // namespace

int32_t TEnvelopeActivityRow::AllIn() const {
    return Sum(allocations, transfersIn);
}

int32_t TEnvelopeActivityRow::AllOut() const {
    return Sum(expenses, transfersOut);
}

int32_t TEnvelopeActivityRow::End() const {
    return Sum(Sum(Sum(start, allocations), Sum(transfersIn, Negated(transfersOut))),
               Negated(expenses));
}

void TEnvelopeActivityReport::Prepare(TQuilletData& doc,
                                      const TEnvelopeActivityReportBuffer& buffer) {
    input = buffer;
    rows.clear();
    const TEnvelopeNode* top = doc.GetEnvelopes().FindById(buffer.node);
    if (!top) return;

    // The rows, and for every id the rows whose node contains it.
    std::unordered_map<uint32_t, std::vector<uint32_t>> rowsOf;
    std::vector<uint32_t> ids;
    for (const TTreeItem* n = top; n; n = n->NextWithin(top, true)) {
        const auto* node = static_cast<const TEnvelopeNode*>(n);
        const uint32_t index = static_cast<uint32_t>(rows.size());
        TEnvelopeActivityRow row;
        row.node = node->GetId();
        row.name = CutText(node->GetName(), NameLength);
        rows.push_back(std::move(row));
        ids.clear();
        GatherIds(node, ids);
        for (uint32_t id : ids) {
            std::vector<uint32_t>& in = rowsOf[id];
            if (in.empty() || in.back() != index) in.push_back(index);
        }
    }

    const uint32_t from = buffer.from.Key(), to = buffer.to.Key();
    const TXManager& store = doc.GetXManager();
    const uint32_t count = store.GetCount();
    for (uint32_t p = 1; p <= count; ++p) {
        const TXRecord& r = store.RecordAt(p);
        // Multiples carry no envelope and so never count; their parts do.
        if (r.IsFree() || r.IsDeleted() || r.envelope == 0) continue;
        auto found = rowsOf.find(r.envelope);
        if (found == rowsOf.end()) continue;
        const bool committed = r.IsCommitted();
        int32_t TEnvelopeActivityRow::*sum = nullptr;
        int32_t amount = r.amount;
        if (committed && !r.IsAccountTransfer() && r.date < from) {
            sum = &TEnvelopeActivityRow::start;
        } else if (committed && r.date >= from && r.date <= to) {
            if (!r.Has(XTransfer) && !r.IsMultiple()) {
                sum = amount > 0 ? &TEnvelopeActivityRow::allocations
                                 : &TEnvelopeActivityRow::expenses;
            } else if (r.IsEnvelopeTransfer()) {
                sum = amount > 0 ? &TEnvelopeActivityRow::transfersIn
                                 : &TEnvelopeActivityRow::transfersOut;
            }
            if (amount < 0) amount = Negated(amount);
        }
        if (!sum) continue;
        for (uint32_t index : found->second)
            rows[index].*sum = Sum(rows[index].*sum, amount);
    }
}

std::vector<int> TEnvelopeActivityReport::Ticked() const {
    const TEnvelopeActivityColumns& c = input.columns;
    const bool boxes[] = {c.alloc, c.expense, c.transIn,  c.transOut,
                          c.allIn, c.allOut,  c.startBal, c.endBal};
    std::vector<int> ticked;
    for (int i = 0; i < 8; ++i)
        if (boxes[i]) ticked.push_back(i + 2);
    return ticked;
}

int32_t TEnvelopeActivityReport::Value(const TEnvelopeActivityRow& row, int column) {
    switch (column) {
        case 2:
            return row.allocations;
        case 3:
            return row.expenses;
        case 4:
            return row.transfersIn;
        case 5:
            return row.transfersOut;
        case 6:
            return row.AllIn();
        case 7:
            return row.AllOut();
        case 8:
            return row.start;
        default:
            return row.End();
    }
}

std::string TEnvelopeActivityReport::GetText() const {
    const std::vector<int> ticked = Ticked();
    std::string text = "Envelope";
    for (int c : ticked) {
        text += '\t';
        text += Headers[c - 1];
    }
    text += '\r';
    for (const TEnvelopeActivityRow& row : rows) {
        text += row.name;
        for (int c : ticked) {
            text += '\t';
            text += LedgerAmount(Value(row, c));
        }
        text += '\r';
    }
    return text;
}

std::string TEnvelopeActivityReport::GetFileText() const {
    return TextModeBytes(GetText());
}

int TEnvelopeActivityReport::GetPageCount() {
    return static_cast<int>((rows.size() + RowsPerPage - 1) / RowsPerPage);
}

std::vector<TTableReport::TColumn> TEnvelopeActivityReport::Columns() const {
    const std::vector<int> ticked = Ticked();
    std::vector<TColumn> columns{{static_cast<uint8_t>(100 - 10 * ticked.size()), 0, Headers[0]}};
    for (int c : ticked)
        columns.push_back({10, TextRight, Headers[c - 1]});
    return columns;
}

std::string TEnvelopeActivityReport::PageTitle() const {
    return "Envelope Activity Report from " + input.from.Format(DateLongYear) + " to " +
           input.to.Format(DateLongYear);
}

std::string TEnvelopeActivityReport::BodyCell(int page, int row, int column) const {
    if (page < 1 || row < 2 || column < 1) return {};
    size_t index = static_cast<size_t>(page - 1) * RowsPerPage + static_cast<size_t>(row - 2);
    if (index >= rows.size()) return {};
    if (column == 1) return rows[index].name;
    const std::vector<int> ticked = Ticked();
    if (static_cast<size_t>(column - 1) > ticked.size()) return {};
    return LedgerAmount(Value(rows[index], ticked[static_cast<size_t>(column - 2)]));
}
