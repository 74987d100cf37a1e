// The allocation plan: the budget as a table whose columns are income sources (the templates
// marked "Include in Allocation Plan") and whose rows are the envelopes in the plan, each cell
// saying how much of that income goes to that envelope per period. It has no storage of its
// own: editing loads a working model from the templates and "Save and Close" writes it back.
//
// A new budget's plan, without any dialog (for the console program and scripted set-ups):
//
//     TNewPlanInput input;
//     input.incomes[0] = 3000;             // or: input.definitionPath = "plan.xml";
//     doc.GetPlan().SetUpNewPlanHeadless(input);
//
// This fills the plan as the "Enter Monthly Income" wizard or the plan-definition file would,
// creates the "Unallocated" envelope and saves the plan as "Save and Close" does, so the
// envelopes and templates exist afterwards. SetUpNewPlan(path) is the interactive form that the
// new-budget command of the program uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/LedgerItem.h"
#include "core/Money.h"

class TAllocationPlan;
class TPlanView;
class TQuilletData;

// One row: an envelope's name and its ten cells, cell i held in the period of plan column i.
// Grid columns: 1 the name, 2 the row's total, 3 to 12 plan columns 1 to 10.
class TAllocationPlanItem : public TLedgerItem {
public:
    static constexpr uint32_t NameColumn = 1;
    static constexpr uint32_t TotalColumn = 2;
    static constexpr uint32_t FirstCellColumn = 3;
    static constexpr uint32_t NameEditChars = 29;
    static constexpr uint32_t AmountEditChars = 31;

    explicit TAllocationPlanItem(TAllocationPlan* owner) : owner(owner) {}

    std::unique_ptr<TCellEditor> CreateEditor(uint32_t column, unsigned options) override;
    TCellPaint PaintCell(uint32_t column, unsigned state) const override;
    // The name column refuses the name of a bundle or an association (the user is told why);
    // amounts are typed in the plan's view period.
    void SetCellText(uint32_t column, const std::string& text) override;
    // Nothing for an unnamed row; amounts in the plan's view period.
    std::string GetCellText(uint32_t column) const override;

    const std::string& GetName() const { return name; }
    // Cut to 127 characters; an emptied row loses its amounts.
    void SetName(const std::string& text);
    bool IsUsed() const { return !name.empty(); }
    // Plan columns 1 to 10; the cell as held, in its column's period. 0 outside the columns.
    TMoney GetStoredCell(uint32_t column) const;
    void SetStoredCell(uint32_t column, TMoney value);
    // Stores a value given in some period, converted to the column's period.
    void SetCell(TMoney value, uint32_t period, uint32_t column);
    // The cell converted from its column's period to the one asked for.
    TMoney GetCell(uint32_t column, uint32_t period) const;
    // The ten cells in one period.
    TMoney GetTotal(uint32_t period) const;
    // The cells of the following columns move one place left; the last becomes 0.
    void RemoveColumnCells(uint32_t column);

private:
    TAllocationPlan* owner;
    std::string name;
    TMoney cells[10];
};

// What a new budget's plan is made from when nobody is asked.
struct TNewPlanInput {
    std::string definitionPath;  // a plan-definition file; when given, the incomes are not used
    float incomes[4] = {};       // the monthly incomes the wizard asks for, in currency units
};

class TAllocationPlan {
public:
    static constexpr uint32_t MaxColumns = 10;
    static constexpr uint32_t BlankRows = 250;
    static constexpr uint32_t GridColumns = 12;
    static constexpr size_t NameCapacity = 128;  // column and row names, terminator included
    // A plan-definition file larger than this is not read: no plan needs a fraction of it.
    static constexpr size_t MaxDefinitionBytes = 4u << 20;

    // The plan of a document; the view period starts monthly.
    explicit TAllocationPlan(TQuilletData& document);
    TAllocationPlan(const TAllocationPlan&) = delete;
    TAllocationPlan& operator=(const TAllocationPlan&) = delete;
    ~TAllocationPlan();

    // --- The working model.
    // Loads the columns and rows from the templates and envelopes; nothing when already loaded.
    void BeginEdit();
    // Writes the model back when the last edit was saved, then drops the rows.
    void EndEdit();
    bool IsEditing() const { return editing; }
    bool IsChanged() const { return changed; }
    // The whole edit through the "Edit Allocation Plan" dialog; true when it was saved (the
    // document is then marked modified).
    bool Run();

    // --- A new budget's plan.
    // With an empty path the income wizard fills the plan, otherwise the plan-definition file
    // (ignored when it cannot be read). Then the "Unallocated" envelope is made and the plan is
    // edited with Run, whose result is returned: false abandons the new budget.
    bool SetUpNewPlan(const std::string& definitionPath);
    // The same without any dialog: filled from the file or the incomes and saved at once. False
    // (nothing changed) only when a definition file is given and cannot be read.
    bool SetUpNewPlanHeadless(const TNewPlanInput& input);
    // Loads the model and fills it as the wizard does from four monthly incomes.
    void FillFromIncomes(const float incomes[4]);
    // Loads the model and fills it from a plan-definition file; false (the model untouched)
    // when the file does not exist, is too large or cannot be read whole.
    bool FillFromDefinitionFile(const std::string& path);
    // Loads the model and fills it from the text of a plan definition.
    void FillFromDefinition(const std::string& text);

    // --- Columns and rows, as the report and the grid read them. Columns are 1 to 10 and rows
    // 1 to GetRowCount(); anything outside reads as empty or 0.
    std::string GetColumnName(uint32_t column) const;
    uint32_t GetColumnPeriod(uint32_t column) const;
    bool IsColumnUsed(uint32_t column) const { return !GetColumnName(column).empty(); }
    // Names are cut to 127 characters.
    void SetColumn(uint32_t column, const std::string& name, uint32_t period);
    // The last row with a name, 0 when none.
    uint32_t GetLastUsedRow() const;
    std::string GetRowName(uint32_t row) const;
    // The cell converted from its column's period to the period asked for.
    TMoney GetCell(uint32_t row, uint32_t column, uint32_t period) const;
    TMoney GetRowTotal(uint32_t row, uint32_t period) const;
    TMoney GetColumnTotal(uint32_t column, uint32_t period) const;
    TMoney GetGrandTotal(uint32_t period) const;

    // --- The grid: every row at once, so it never scrolls.
    TAllocationPlanItem* GetRow(uint32_t row) const;  // null outside 1 .. GetRowCount()
    uint32_t GetRowCount() const { return static_cast<uint32_t>(rows.size()); }
    uint32_t GetUsedRowCount() const { return GetLastUsedRow(); }
    TCellPaint PaintHeader(uint32_t column) const;
    TCellPaint PaintFooter(uint32_t column) const;

    // --- What the dialog does.
    uint32_t GetViewPeriod() const { return viewPeriod; }
    // Every amount is shown and typed in the new period from now on.
    void SetViewPeriod(uint32_t period);
    // "Create Template": asks for a name and gives it to the first free column.
    void CreateTemplate();
    // "Remove Template": asks which column goes; its template stays but leaves the plan.
    void RemoveTemplate();
    void RemoveColumn(uint32_t column);
    void SetOpenDialog(TPlanView* view) { openDialog = view; }
    // Tells the open dialog to redraw.
    void Refresh() const;

    TQuilletData& GetDocument() const { return document; }

private:
    void WriteBack();
    uint32_t FindOrMakeEnvelope(const std::string& name);

    TQuilletData& document;
    bool changed = false;
    bool editing = false;
    uint32_t viewPeriod;
    TPlanView* openDialog = nullptr;
    std::vector<std::unique_ptr<TAllocationPlanItem>> rows;
    std::string columnNames[MaxColumns];
    uint32_t columnPeriods[MaxColumns] = {};
};

// The wizard's income bracket for a yearly income: 0 up to 35,000, 1 up to 65,000, else 2.
int IncomeBracket(float yearlyIncome);

// One record of the wizard's default envelope table: a name and a percentage per bracket.
struct TDefaultEnvelope {
    const char* name;
    int percent[3];
};
extern const TDefaultEnvelope DefaultPlanEnvelopes[12];
