#include "plan/AllocationPlan.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "core/SettingsList.h"
#include "core/TarnStringList.h"
#include "core/UIPort.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/Period.h"
#include "plan/PlanDialogs.h"
#include "plan/XTemplateManager.h"

const TDefaultEnvelope DefaultPlanEnvelopes[12] = {
    {"Housing", {34, 30, 23}}, {"Misc.", {11, 12, 15}}, {"Transport", {8, 10, 9}},
    {"Food", {8, 9, 9}},       {"School", {8, 5, 5}},   {"Debts", {5, 5, 5}},
    {"Insurance", {5, 5, 5}},  {"Medical", {5, 4, 4}},  {"Savings", {5, 7, 10}},
    {"Clothing", {4, 5, 6}},   {"Fun", {4, 5, 6}},      {"Charity", {3, 3, 3}},
};

int IncomeBracket(float yearlyIncome) {
    if (yearlyIncome <= 35000.0f) return 0;
    if (yearlyIncome <= 65000.0f) return 1;
    return 2;
}

namespace {

constexpr const char* IncomeColumnNames[4] = {"First", "Second", "Third", "Fourth"};
constexpr const char* WidthKey = "AllocPlanDlg.Width";
constexpr const char* HeightKey = "AllocPlanDlg.Height";
constexpr int MinWidth = 780;
constexpr int MinHeight = 520;
constexpr size_t EnvelopeNameChars = 31;

std::string Cut(const std::string& text, size_t chars) {
    return text.size() > chars ? text.substr(0, chars) : text;
}

std::string Trim(const std::string& text, const char* blanks) {
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Absurd cells (up to 10^16 cents each) may add up past 64 bits; they wrap rather than overflow.
TMoney AddWrapping(TMoney a, TMoney b) {
    return TMoney::FromCents(
        static_cast<int64_t>(static_cast<uint64_t>(a.Cents()) + static_cast<uint64_t>(b.Cents())));
}

std::string AmountText(TMoney amount) {
    return amount.Format(MoneyThousands);
}

// The next element of that name at or after pos: "<name>value</name>", or, when no "<name>"
// follows, "<name/>" with an empty value. pos moves past the element found.
std::optional<std::string> NextElement(const std::string& text, size_t& pos,
                                       const std::string& name) {
    const std::string open = "<" + name + ">";
    const std::string close = "</" + name + ">";
    size_t start = text.find(open, pos);
    if (start != std::string::npos) {
        size_t valueStart = start + open.size();
        size_t end = text.find(close, valueStart);
        if (end == std::string::npos) return std::nullopt;  // unclosed: nothing more to read
        pos = end + close.size();
        return text.substr(valueStart, end - valueStart);
    }
    const std::string empty = "<" + name + "/>";
    start = text.find(empty, pos);
    if (start == std::string::npos) return std::nullopt;
    pos = start + empty.size();
    return std::string();
}

// A decimal number of currency units at the start of the text; anything else reads as 0.
TMoney ReadUnits(const std::string& text) {
    std::string number = Trim(text, " \t\r\n");
    const char* first = number.data();
    const char* last = first + number.size();
    if (first != last && *first == '+') ++first;
    double units = 0;
    if (std::from_chars(first, last, units).ec != std::errc()) return TMoney();
    return TMoney(units);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TAllocationPlanItem

void TAllocationPlanItem::SetName(const std::string& text) {
    name = Cut(text, TAllocationPlan::NameCapacity - 1);
    if (name.empty())
        for (TMoney& cell : cells)
            cell = TMoney();
}

TMoney TAllocationPlanItem::GetStoredCell(uint32_t column) const {
    return column >= 1 && column <= TAllocationPlan::MaxColumns ? cells[column - 1] : TMoney();
}

void TAllocationPlanItem::SetStoredCell(uint32_t column, TMoney value) {
    if (column >= 1 && column <= TAllocationPlan::MaxColumns) cells[column - 1] = value;
}

void TAllocationPlanItem::SetCell(TMoney value, uint32_t period, uint32_t column) {
    SetStoredCell(column, ConvertPeriodAmount(value, period, owner->GetColumnPeriod(column)));
}

TMoney TAllocationPlanItem::GetCell(uint32_t column, uint32_t period) const {
    return ConvertPeriodAmount(GetStoredCell(column), owner->GetColumnPeriod(column), period);
}

TMoney TAllocationPlanItem::GetTotal(uint32_t period) const {
    TMoney total;
    for (uint32_t column = 1; column <= TAllocationPlan::MaxColumns; ++column)
        total = AddWrapping(total, GetCell(column, period));
    return total;
}

void TAllocationPlanItem::RemoveColumnCells(uint32_t column) {
    if (column < 1 || column > TAllocationPlan::MaxColumns) return;
    std::move(cells + column, std::end(cells), cells + column - 1);
    cells[TAllocationPlan::MaxColumns - 1] = TMoney();
}

std::string TAllocationPlanItem::GetCellText(uint32_t column) const {
    if (!IsUsed()) return {};
    if (column == NameColumn) return name;
    if (column == TotalColumn) return AmountText(GetTotal(owner->GetViewPeriod()));
    uint32_t planColumn = column - FirstCellColumn + 1;
    if (column < FirstCellColumn || !owner->IsColumnUsed(planColumn)) return {};
    return AmountText(GetCell(planColumn, owner->GetViewPeriod()));
}

TCellPaint TAllocationPlanItem::PaintCell(uint32_t column, unsigned state) const {
    TCellPaint paint;
    paint.highlight = (state & (CellCurrent | CellFocusedRow)) == (CellCurrent | CellFocusedRow);
    paint.align = column == NameColumn ? TCellAlign::Left : TCellAlign::Right;
    paint.text = GetCellText(column);
    return paint;
}

std::unique_ptr<TCellEditor> TAllocationPlanItem::CreateEditor(uint32_t column, unsigned options) {
    const bool empty = (options & EditStartEmpty) != 0;
    auto editor = std::make_unique<TCellEditor>();
    if (column == NameColumn) {
        editor->chars = NameEditChars;
        if (!empty) editor->text = name;
        return editor;
    }
    uint32_t planColumn = column - FirstCellColumn + 1;
    if (column < FirstCellColumn || !IsUsed() || !owner->IsColumnUsed(planColumn)) return nullptr;
    editor->chars = AmountEditChars;
    if (!empty) editor->text = GetCellText(column);
    return editor;
}

void TAllocationPlanItem::SetCellText(uint32_t column, const std::string& text) {
    if (column == NameColumn) {
        std::string typed = Trim(text, " ");
        const TEnvelopeNode* node = owner->GetDocument().GetEnvelopes().FindByName(typed);
        if (!typed.empty() && node &&
            (node->Kind() == TEnvelopeKind::Bundle || node->Kind() == TEnvelopeKind::Association)) {
            UI().Message("Envelope Name",
                         "You cannot enter '" + typed +
                             "' here because it is the name of an existing Envelope Bundle or "
                             "Association. You can only enter a new name or the name of an "
                             "existing Envelope.",
                         TMsgButtons::Ok, TMsgIcon::Stop);
            return;
        }
        SetName(typed);
        owner->Refresh();
        return;
    }
    uint32_t planColumn = column - FirstCellColumn + 1;
    if (column < FirstCellColumn || !IsUsed() || !owner->IsColumnUsed(planColumn)) return;
    SetCell(TMoney(text), owner->GetViewPeriod(), planColumn);
    owner->Refresh();
}

// ---------------------------------------------------------------------------------------------
// TAllocationPlan: the working model

TAllocationPlan::TAllocationPlan(TQuilletData& document)
    : document(document), viewPeriod(Period::Monthly) {}

TAllocationPlan::~TAllocationPlan() = default;

void TAllocationPlan::BeginEdit() {
    if (editing) return;
    editing = true;
    changed = false;
    for (uint32_t k = 0; k < MaxColumns; ++k) {
        columnNames[k].clear();
        columnPeriods[k] = Period::None;
    }

    TXTemplateManager& templates = document.GetTemplates();
    std::vector<const TXTemplate*> sources;
    for (uint32_t i = 1; i <= templates.GetCount() && sources.size() < MaxColumns; ++i) {
        const TXTemplate* t = templates.GetTemplate(i);
        // A nameless template (only a damaged file has one) could not be told apart as a column.
        if (!t->GetIncludeInPlan() || t->GetName().empty()) continue;
        columnNames[sources.size()] = Cut(t->GetName(), NameCapacity - 1);
        columnPeriods[sources.size()] = t->GetPeriod();
        sources.push_back(t);
    }

    rows.clear();
    TEnvelopeList& envelopes = document.GetEnvelopes();
    for (uint32_t n = 1; n <= envelopes.CountEnvelopes(); ++n) {
        uint32_t id = envelopes.GetEnvelopeIdByIndex(n);
        const TEnv* env = envelopes.GetEnvelope(id);
        if (!env || !env->IsInPlan()) continue;
        auto row = std::make_unique<TAllocationPlanItem>(this);
        row->SetName(env->GetName());
        for (uint32_t k = 0; k < sources.size(); ++k)
            row->SetStoredCell(k + 1, sources[k]->GetEnvelopeAmount(id, sources[k]->GetPeriod()));
        rows.push_back(std::move(row));
    }
    for (uint32_t i = 0; i < BlankRows; ++i)
        rows.push_back(std::make_unique<TAllocationPlanItem>(this));
}

void TAllocationPlan::EndEdit() {
    if (editing && changed) WriteBack();
    rows.clear();
    editing = false;
}

uint32_t TAllocationPlan::FindOrMakeEnvelope(const std::string& name) {
    TEnvelopeList& envelopes = document.GetEnvelopes();
    // Envelope names hold 31 characters, so a longer row name stands for its first 31.
    const std::string wanted = Cut(name, EnvelopeNameChars);
    auto find = [&]() -> uint32_t {
        for (uint32_t n = 1; n <= envelopes.CountEnvelopes(); ++n) {
            uint32_t id = envelopes.GetEnvelopeIdByIndex(n);
            const TEnv* env = envelopes.GetEnvelope(id);
            if (env && SameTextNoCase(env->GetName(), wanted)) return id;
        }
        return 0;
    };
    if (uint32_t id = find()) return id;
    envelopes.GetEnvelopeRoot()->NewEnvelope(wanted, true);
    return find();
}

void TAllocationPlan::WriteBack() {
    TEnvelopeList& envelopes = document.GetEnvelopes();
    TXTemplateManager& templates = document.GetTemplates();

    bool anyColumn = false;
    for (uint32_t c = 1; c <= MaxColumns; ++c)
        anyColumn = anyColumn || IsColumnUsed(c);

    // The envelope of each named row, found or made, last row first. Rows only count for a
    // column, so without one no envelope is touched.
    std::vector<uint32_t> rowEnvelopes(rows.size(), 0);
    if (anyColumn) {
        for (uint32_t n = 1; n <= envelopes.CountEnvelopes(); ++n)
            envelopes.SetInPlan(envelopes.GetEnvelopeIdByIndex(n), false);
        for (size_t r = rows.size(); r-- > 0;) {
            if (!rows[r]->IsUsed()) continue;
            rowEnvelopes[r] = FindOrMakeEnvelope(rows[r]->GetName());
            envelopes.SetInPlan(rowEnvelopes[r], true);
        }
    }

    for (uint32_t i = 1; i <= templates.GetCount(); ++i)
        templates.GetTemplate(i)->SetIncludeInPlan(false);

    for (uint32_t c = 1; c <= MaxColumns; ++c) {
        if (!IsColumnUsed(c)) continue;
        const std::string& name = columnNames[c - 1];
        const uint32_t period = columnPeriods[c - 1];
        auto* t = static_cast<TXTemplate*>(templates.FindByName(name));
        if (!t) {
            std::unique_ptr<TManagedItem> made = templates.CreateItem();
            auto* fresh = static_cast<TXTemplate*>(made.get());
            fresh->SetName(name);
            fresh->SetPayableTo(name);
            t = static_cast<TXTemplate*>(templates.Add(std::move(made)));
        }
        // The cells are held in the column's period, so the template must recur in it.
        t->SetPeriod(period);
        t->SetIncludeInPlan(true);
        t->ClearItems();
        for (size_t r = rows.size(); r-- > 0;) {
            if (rowEnvelopes[r] == 0) continue;
            TMoney cell = rows[r]->GetStoredCell(c);
            if (ConvertPeriodAmount(cell, period, viewPeriod) == TMoney()) continue;
            // Template amounts are 32 bits; a larger cell keeps its low 32 bits.
            t->AddAllocation(rowEnvelopes[r],
                             static_cast<int32_t>(static_cast<uint32_t>(cell.Cents())));
        }
    }
}

bool TAllocationPlan::Run() {
    BeginEdit();
    TPlanDialogPort& port = PlanDialogs();
    TSettingsList* settings = port.ConfigSettings();
    const TScreenPort& screen = port.Screen();

    TPlanDialogBuffer buffer;
    buffer.plan = this;
    buffer.width = std::max(static_cast<int>(screen.ScreenWidth() * 0.6), MinWidth);
    buffer.height = std::max(static_cast<int>(screen.ScreenHeight() * 0.6), MinHeight);
    if (settings) {
        // A remembered size that makes no sense gives way to the default.
        int32_t width = settings->GetInt(WidthKey, buffer.width);
        int32_t height = settings->GetInt(HeightKey, buffer.height);
        if (width > 0) buffer.width = width;
        if (height > 0) buffer.height = height;
    }

    changed = port.EditPlan(buffer);
    if (settings) {
        settings->SetInt(WidthKey, buffer.width);
        settings->SetInt(HeightKey, buffer.height);
    }
    openDialog = nullptr;

    bool saved = changed;
    EndEdit();
    if (saved) document.SetModified();
    return saved;
}

// ---------------------------------------------------------------------------------------------
// A new budget's plan

void TAllocationPlan::FillFromIncomes(const float incomes[4]) {
    BeginEdit();
    // The dialog hands over 32-bit amounts, and the brackets are decided on their sum as such.
    float yearly = (incomes[0] + incomes[1] + incomes[2] + incomes[3]) * 12.0f;
    int bracket = IncomeBracket(yearly);
    for (uint32_t k = 0; k < 4; ++k)
        if (incomes[k] > 0) SetColumn(k + 1, IncomeColumnNames[k], Period::Monthly);
    for (size_t i = 0; i < std::size(DefaultPlanEnvelopes) && i < rows.size(); ++i) {
        const TDefaultEnvelope& record = DefaultPlanEnvelopes[i];
        rows[i]->SetName(record.name);
        for (uint32_t k = 0; k < 4; ++k) {
            if (!(incomes[k] > 0)) continue;
            double units = record.percent[bracket] * static_cast<double>(incomes[k]) / 100.0;
            rows[i]->SetStoredCell(k + 1, TMoney(units));
        }
    }
}

bool TAllocationPlan::FillFromDefinitionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > MaxDefinitionBytes) return false;
    in.seekg(0, std::ios::beg);
    std::string text(static_cast<size_t>(size), '\0');
    if (!in.read(text.data(), size)) return false;
    FillFromDefinition(text);
    return true;
}

void TAllocationPlan::FillFromDefinition(const std::string& text) {
    BeginEdit();
    size_t pos = 0;
    for (uint32_t k = 1; k <= 4; ++k) {
        std::optional<std::string> label = NextElement(text, pos, "label");
        if (!label) return;
        SetColumn(k, Trim(*label, " \t\r\n"), Period::Monthly);
    }
    for (auto& row : rows) {
        std::optional<std::string> label = NextElement(text, pos, "label");
        if (!label) return;
        row->SetName(Trim(*label, " \t\r\n"));
        for (uint32_t k = 1; k <= 4; ++k) {
            std::optional<std::string> amount = NextElement(text, pos, "amount");
            // A missing amount is 0, and so is every one after it: the reading ends here.
            if (!amount) return;
            if (row->IsUsed() && IsColumnUsed(k)) row->SetStoredCell(k, ReadUnits(*amount));
        }
    }
}

bool TAllocationPlan::SetUpNewPlan(const std::string& definitionPath) {
    if (definitionPath.empty()) {
        TMonthlyIncomeBuffer buffer;
        if (PlanDialogs().EnterMonthlyIncome(buffer)) FillFromIncomes(buffer.incomes);
    } else {
        FillFromDefinitionFile(definitionPath);
    }
    document.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Unallocated", true);
    return Run();
}

bool TAllocationPlan::SetUpNewPlanHeadless(const TNewPlanInput& input) {
    if (!input.definitionPath.empty()) {
        if (!FillFromDefinitionFile(input.definitionPath)) return false;
    } else {
        FillFromIncomes(input.incomes);
    }
    document.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope("Unallocated", true);
    changed = true;
    EndEdit();
    document.SetModified();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Columns, rows and totals

std::string TAllocationPlan::GetColumnName(uint32_t column) const {
    return column >= 1 && column <= MaxColumns ? columnNames[column - 1] : std::string();
}

uint32_t TAllocationPlan::GetColumnPeriod(uint32_t column) const {
    return column >= 1 && column <= MaxColumns ? columnPeriods[column - 1] : Period::None;
}

void TAllocationPlan::SetColumn(uint32_t column, const std::string& name, uint32_t period) {
    if (column < 1 || column > MaxColumns) return;
    columnNames[column - 1] = Cut(name, NameCapacity - 1);
    columnPeriods[column - 1] = period;
}

uint32_t TAllocationPlan::GetLastUsedRow() const {
    for (size_t r = rows.size(); r > 0; --r)
        if (rows[r - 1]->IsUsed()) return static_cast<uint32_t>(r);
    return 0;
}

TAllocationPlanItem* TAllocationPlan::GetRow(uint32_t row) const {
    return row >= 1 && row <= rows.size() ? rows[row - 1].get() : nullptr;
}

std::string TAllocationPlan::GetRowName(uint32_t row) const {
    const TAllocationPlanItem* item = GetRow(row);
    return item ? item->GetName() : std::string();
}

TMoney TAllocationPlan::GetCell(uint32_t row, uint32_t column, uint32_t period) const {
    const TAllocationPlanItem* item = GetRow(row);
    return item ? item->GetCell(column, period) : TMoney();
}

TMoney TAllocationPlan::GetRowTotal(uint32_t row, uint32_t period) const {
    const TAllocationPlanItem* item = GetRow(row);
    return item ? item->GetTotal(period) : TMoney();
}

TMoney TAllocationPlan::GetColumnTotal(uint32_t column, uint32_t period) const {
    TMoney total;
    for (const auto& row : rows)
        total = AddWrapping(total, row->GetCell(column, period));
    return total;
}

TMoney TAllocationPlan::GetGrandTotal(uint32_t period) const {
    TMoney total;
    for (uint32_t column = 1; column <= MaxColumns; ++column)
        total = AddWrapping(total, GetColumnTotal(column, period));
    return total;
}

TCellPaint TAllocationPlan::PaintHeader(uint32_t column) const {
    TCellPaint paint;
    paint.align = TCellAlign::Centre;
    if (column == TAllocationPlanItem::NameColumn) {
        paint.text = "Envelope";
    } else if (column == TAllocationPlanItem::TotalColumn) {
        paint.text = "Total";
    } else if (column >= TAllocationPlanItem::FirstCellColumn) {
        std::string name = GetColumnName(column - TAllocationPlanItem::FirstCellColumn + 1);
        paint.text = name.size() > 7 ? name.substr(0, 7) + "..." : name;
    }
    return paint;
}

TCellPaint TAllocationPlan::PaintFooter(uint32_t column) const {
    TCellPaint paint;
    if (column == TAllocationPlanItem::NameColumn) {
        paint.text = "Total";
        return paint;
    }
    paint.align = TCellAlign::Right;
    if (column == TAllocationPlanItem::TotalColumn) {
        paint.text = AmountText(GetGrandTotal(viewPeriod));
    } else if (column >= TAllocationPlanItem::FirstCellColumn) {
        uint32_t planColumn = column - TAllocationPlanItem::FirstCellColumn + 1;
        if (IsColumnUsed(planColumn))
            paint.text = AmountText(GetColumnTotal(planColumn, viewPeriod));
    }
    return paint;
}

// ---------------------------------------------------------------------------------------------
// What the dialog does

void TAllocationPlan::SetViewPeriod(uint32_t period) {
    viewPeriod = period;
    Refresh();
}

void TAllocationPlan::Refresh() const {
    if (openDialog) openDialog->PlanChanged();
}

void TAllocationPlan::CreateTemplate() {
    uint32_t free = 0;
    for (uint32_t c = MaxColumns; c >= 1; --c)
        if (!IsColumnUsed(c)) free = c;
    if (free == 0) {
        UI().Message("Adding Template", "There is a limit of 10 Templates in the Allocation Plan.",
                     TMsgButtons::Ok, TMsgIcon::Stop);
        return;
    }
    TStringEntryBuffer buffer;
    buffer.title = "New Template";
    buffer.prompt = "Template Name:";
    buffer.text = "New Template";
    if (!PlanDialogs().GetString(buffer)) return;

    std::string name = Cut(Trim(buffer.text, " "), NameCapacity - 1);
    if (name.empty()) return;  // an empty name could not make a column
    bool taken = false;
    for (uint32_t c = 1; c <= MaxColumns; ++c)
        taken = taken || (IsColumnUsed(c) && GetColumnName(c) == name);
    TXTemplateManager& templates = document.GetTemplates();
    for (uint32_t i = 1; i <= templates.GetCount(); ++i)
        taken = taken || templates.GetTemplate(i)->GetName() == name;
    if (taken) {
        UI().Message("Add Template Error", "A Template with that name already exists.",
                     TMsgButtons::Ok, TMsgIcon::Stop);
        return;
    }
    SetColumn(free, name, viewPeriod);
    Refresh();
}

void TAllocationPlan::RemoveTemplate() {
    TChooseTemplateBuffer buffer;
    for (uint32_t c = 1; c <= MaxColumns; ++c)
        if (IsColumnUsed(c)) buffer.names.push_back(GetColumnName(c));
    if (buffer.names.empty() || !PlanDialogs().ChooseTemplate(buffer)) return;
    if (buffer.selected < 0 || static_cast<size_t>(buffer.selected) >= buffer.names.size()) return;
    const std::string chosen = buffer.names[static_cast<size_t>(buffer.selected)];
    for (uint32_t c = 1; c <= MaxColumns; ++c) {
        if (IsColumnUsed(c) && GetColumnName(c) == chosen) {
            RemoveColumn(c);
            return;
        }
    }
}

void TAllocationPlan::RemoveColumn(uint32_t column) {
    if (column < 1 || column > MaxColumns) return;
    for (uint32_t k = column; k < MaxColumns; ++k) {
        columnNames[k - 1] = columnNames[k];
        columnPeriods[k - 1] = columnPeriods[k];
    }
    columnNames[MaxColumns - 1].clear();
    columnPeriods[MaxColumns - 1] = Period::None;
    for (auto& row : rows)
        row->RemoveColumnCells(column);
    Refresh();
}
