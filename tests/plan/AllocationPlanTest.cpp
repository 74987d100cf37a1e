#include "plan/AllocationPlan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/NewBudget.h"
#include "core/QuilletData.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/Period.h"
#include "plan/PlanDialogs.h"
#include "plan/XTemplateManager.h"
#include "tests/support/ScriptedPlanDialogs.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/TempFolder.h"

namespace {

class AllocationPlanTest : public ::testing::Test {
protected:
    TEnvelopeList& Envelopes() { return doc.GetEnvelopes(); }
    TXTemplateManager& Templates() { return doc.GetTemplates(); }
    TAllocationPlan& Plan() { return doc.GetPlan(); }
    TEnv* Env(const std::string& name) {
        TEnvelopeNode* node = Envelopes().FindByName(name);
        return node && node->Kind() == TEnvelopeKind::Envelope ? static_cast<TEnv*>(node) : nullptr;
    }
    uint32_t Id(const std::string& name) { return Env(name) ? Env(name)->GetId() : 0; }
    TXTemplate* Template(const std::string& name) {
        return static_cast<TXTemplate*>(Templates().FindByName(name));
    }
    TXTemplate* AddTemplate(const std::string& name, uint32_t period = Period::Monthly) {
        auto t = std::make_unique<TXTemplate>(&Templates());
        t->SetName(name);
        t->SetPeriod(period);
        t->SetIncludeInPlan(true);
        return static_cast<TXTemplate*>(Templates().Add(std::move(t)));
    }
    // "envelope amount, ..." in item order.
    std::string Items(const std::string& name) {
        std::string out;
        const TXTemplateList& items = Template(name)->GetItems();
        for (uint32_t i = 0; i < items.GetCount(); ++i)
            out += (i ? ", " : "") + Envelopes().GetEnvelopeName(items.GetAt(i)->GetEnvelope()) +
                   " " + std::to_string(items.GetAt(i)->GetAmount());
        return out;
    }
    // The row's name and its cells, monthly, as far as a column is in use: "Rent 10.00 - 5.00".
    std::string Row(uint32_t row) {
        std::string out = Plan().GetRowName(row);
        uint32_t last = TAllocationPlan::MaxColumns;
        while (last > 0 && !Plan().IsColumnUsed(last))
            --last;
        for (uint32_t c = 1; c <= last; ++c)
            out += Plan().IsColumnUsed(c)
                       ? " " + Plan().GetCell(row, c, Period::Monthly).Format(MoneyThousands)
                       : " -";
        return out;
    }

    TQuilletData doc;
    TCurrentDocument current{doc};
    TScriptedUI ui;
    TScriptedPlanDialogs dialogs;
};

}  // namespace

TEST_F(AllocationPlanTest, IncomeWizardFillsBracketPercentagesAndSavingMakesTemplatesAndEnvelopes) {
    dialogs.incomeOk = true;
    dialogs.incomes = {{3000, 1000, 0, 0}};  // 48,000 a year: bracket 1
    dialogs.edit = [&](TPlanDialogBuffer& b) {
        EXPECT_EQ(Plan().GetColumnName(1) + "," + Plan().GetColumnName(2), "First,Second");
        EXPECT_EQ(Row(1), "Housing 900.00 300.00");
        EXPECT_EQ(Row(2), "Misc. 360.00 120.00");
        EXPECT_EQ(Row(12), "Charity 90.00 30.00");
        EXPECT_EQ(Plan().GetLastUsedRow(), 12u);
        EXPECT_EQ(Plan().GetColumnTotal(1, Period::Monthly).Cents(), 300000);
        EXPECT_EQ(Plan().GetColumnTotal(2, Period::Monthly).Cents(), 100000);
        EXPECT_EQ(Plan().GetGrandTotal(Period::Annual).Cents(), 4800000);
        b.width = 900;
        return true;
    };
    EXPECT_TRUE(Plan().SetUpNewPlan(""));

    EXPECT_TRUE(doc.IsModified());
    ASSERT_NE(Template("First"), nullptr);
    EXPECT_TRUE(Template("First")->GetIncludeInPlan());
    EXPECT_EQ(Template("First")->GetPayableTo(), "First");
    EXPECT_EQ(Template("First")->GetItems().GetCount(), 12u);
    // Rows are written last to first.
    EXPECT_EQ(Template("Second")->GetItems().GetAt(0)->GetEnvelope(), Id("Charity"));
    EXPECT_EQ(Template("Second")->GetEnvelopeAmount(Id("Housing"), Period::Annual).Cents(), 360000);
    EXPECT_TRUE(Env("Housing")->IsInPlan());
    ASSERT_NE(Env("Unallocated"), nullptr);
    EXPECT_FALSE(Env("Unallocated")->IsInPlan());  // made after the model was loaded

    // The dialog opened at 0.6 of the screen, raised to the minimum; its last size is kept.
    EXPECT_EQ(dialogs.opened.width, 780);
    EXPECT_EQ(dialogs.opened.height, 520);
    EXPECT_EQ(dialogs.settings.GetString("AllocPlanDlg.Width", ""), "900");
    EXPECT_EQ(dialogs.settings.GetString("AllocPlanDlg.Height", ""), "520");
}

TEST_F(AllocationPlanTest, IncomesWithoutADialogSkipEmptySourcesAndChooseTheirBracket) {
    TNewPlanInput input;
    input.incomes[1] = 2000;  // 24,000 a year: bracket 0
    EXPECT_TRUE(Plan().SetUpNewPlanHeadless(input));
    EXPECT_EQ(Template("First"), nullptr);
    EXPECT_EQ(Template("Second")->GetEnvelopeAmount(Id("Housing"), Period::Monthly).Cents(), 68000);
    for (auto [income, bracket] :
         {std::pair{35000.0f, 0}, {35000.01f, 1}, {65000.0f, 1}, {65000.01f, 2}})
        EXPECT_EQ(IncomeBracket(income), bracket) << income;
}

TEST_F(AllocationPlanTest, CellsAreHeldInTheirColumnsPeriodAndShownInTheViewPeriod) {
    Envelopes().GetEnvelopeRoot()->NewEnvelope("Rent", true);
    AddTemplate("Savings Account")->AddAllocation(Id("Rent"), 10000);
    Plan().BeginEdit();
    TAllocationPlanItem* row = Plan().GetRow(1);
    ASSERT_EQ(row->GetName(), "Rent");

    Plan().SetViewPeriod(Period::Weekly);
    EXPECT_EQ(row->GetCellText(3), "23.08");
    row->SetCellText(3, "25.00");
    EXPECT_EQ(row->GetStoredCell(1).Cents(), 10833);
    EXPECT_EQ(row->GetCellText(2), "25.00");  // the row total, weekly
    EXPECT_EQ(row->GetCellText(4), "");       // no column there
    EXPECT_EQ(Plan().PaintHeader(3).text, "Savings...");
    EXPECT_EQ(Plan().PaintFooter(3).text, "25.00");
    row->SetCellText(3, "1,250*1000");
    EXPECT_EQ(Plan().PaintFooter(2).text, "1,250,000.00");
    EXPECT_EQ(row->CreateEditor(2, EditWithValue), nullptr);
    EXPECT_EQ(row->CreateEditor(4, EditWithValue), nullptr);
    EXPECT_EQ(row->CreateEditor(3, EditWithValue)->text, "1,250,000.00");
    Plan().EndEdit();
    EXPECT_EQ(Plan().GetRowCount(), 0u);  // the rows exist only while editing
}

TEST_F(AllocationPlanTest, RowNamesRefuseBundlesAndNewNamesBecomeEnvelopesOnSaving) {
    auto* bundle = new TBundle(&Envelopes(), Envelopes().NewId());
    bundle->SetName("Bills");
    Envelopes().GetEnvelopeRoot()->Drop(bundle);
    Envelopes().GetEnvelopeRoot()->NewEnvelope("Food", true);
    Envelopes().GetEnvelopeRoot()->NewEnvelope("Old", true);
    AddTemplate("Pay")->AddAllocation(Id("Food"), 5000);

    dialogs.edit = [&](TPlanDialogBuffer&) {
        TAllocationPlanItem* food = Plan().GetRow(Plan().GetRowName(1) == "Food" ? 1 : 2);
        TAllocationPlanItem* old = Plan().GetRow(Plan().GetRowName(1) == "Food" ? 2 : 1);
        TAllocationPlanItem* blank = Plan().GetRow(3);
        blank->SetCellText(1, "  bills ");
        EXPECT_EQ(ui.messages.at(0).caption, "Envelope Name");
        EXPECT_FALSE(blank->IsUsed());
        EXPECT_EQ(blank->CreateEditor(3, EditWithValue), nullptr);  // unnamed: no amounts

        blank->SetCellText(1, "  Gifts ");
        blank->SetCellText(3, "12.50");
        food->SetCellText(3, "0");
        old->SetCellText(3, "7");
        old->SetCellText(1, "");  // cleared: no amounts, no row
        EXPECT_EQ(old->GetStoredCell(1), TMoney());
        return true;
    };
    EXPECT_TRUE(Plan().Run());

    ASSERT_NE(Env("Gifts"), nullptr);
    EXPECT_TRUE(Env("Gifts")->IsInPlan());
    EXPECT_TRUE(Env("Food")->IsInPlan());  // in the plan, but a zero cell makes no item
    EXPECT_FALSE(Env("Old")->IsInPlan());
    EXPECT_EQ(Items("Pay"), "Gifts 1250");
}

TEST_F(AllocationPlanTest, TemplateColumnsAreCreatedAndRemovedWithinTheLimit) {
    Envelopes().GetEnvelopeRoot()->NewEnvelope("Food", true);
    AddTemplate("A")->AddAllocation(Id("Food"), 100);
    AddTemplate("B")->AddAllocation(Id("Food"), 200);
    AddTemplate("C", Period::Annual)->AddAllocation(Id("Food"), 300);

    dialogs.edit = [&](TPlanDialogBuffer&) {
        dialogs.choice = 1;  // "B"
        Plan().RemoveTemplate();
        EXPECT_EQ(Plan().GetColumnName(2), "C");
        EXPECT_EQ(Plan().GetColumnPeriod(2), Period::Annual);
        EXPECT_EQ(Plan().GetRow(1)->GetStoredCell(2).Cents(), 300);

        Plan().SetViewPeriod(Period::Quarterly);
        dialogs.names = {" C ", " Q "};
        Plan().CreateTemplate();  // taken by a column
        EXPECT_EQ(ui.messages.back().caption, "Add Template Error");
        Plan().CreateTemplate();
        EXPECT_EQ(Plan().GetColumnName(3), "Q");
        Plan().GetRow(1)->SetCellText(5, "30");
        for (int i = 0; i < 7; ++i) {
            dialogs.names = {"N" + std::to_string(i)};
            Plan().CreateTemplate();
        }
        dialogs.names = {"D"};
        Plan().CreateTemplate();
        EXPECT_EQ(ui.messages.back().text,
                  "There is a limit of 10 Templates in the Allocation Plan.");
        EXPECT_EQ(dialogs.names.size(), 1u);  // not even asked
        return true;
    };
    EXPECT_TRUE(Plan().Run());

    EXPECT_FALSE(Template("B")->GetIncludeInPlan());
    EXPECT_EQ(Items("B"), "Food 200");  // left as it was
    ASSERT_NE(Template("Q"), nullptr);
    EXPECT_EQ(Template("Q")->GetPeriod(), Period::Quarterly);
    EXPECT_EQ(Items("Q"), "Food 3000");
    EXPECT_EQ(Templates().GetCount(), 11u);
}

TEST_F(AllocationPlanTest, CancelOrNoColumnsLeaveEnvelopesAsTheyWere) {
    Envelopes().GetEnvelopeRoot()->NewEnvelope("Food", true);
    Envelopes().GetEnvelopeRoot()->NewEnvelope("Rent", true);
    Env("Rent")->SetInPlan(false);
    AddTemplate("Pay")->AddAllocation(Id("Food"), 100);
    dialogs.settings.SetString("AllocPlanDlg.Width", "1300");
    dialogs.settings.SetString("AllocPlanDlg.Height", "junk");
    doc.ClearModified();

    dialogs.edit = [&](TPlanDialogBuffer&) {
        Plan().GetRow(1)->SetCellText(3, "99");
        Plan().GetRow(2)->SetCellText(1, "Rent");
        return false;
    };
    EXPECT_FALSE(Plan().Run());
    EXPECT_EQ(dialogs.opened.width, 1300);
    EXPECT_EQ(dialogs.opened.height, 520);  // an unreadable size gives way to the default
    EXPECT_EQ(Items("Pay"), "Food 100");
    EXPECT_FALSE(Env("Rent")->IsInPlan());
    EXPECT_FALSE(doc.IsModified());

    dialogs.edit = [&](TPlanDialogBuffer&) {
        dialogs.choice = 0;
        Plan().RemoveTemplate();
        return true;
    };
    EXPECT_TRUE(Plan().Run());
    EXPECT_FALSE(Template("Pay")->GetIncludeInPlan());
    EXPECT_TRUE(Env("Food")->IsInPlan());
    EXPECT_FALSE(Env("Rent")->IsInPlan());
}

TEST_F(AllocationPlanTest, PlanDefinitionTextFillsColumnsAndRowsUntilAnElementIsMissing) {
    // An empty element only counts where no element of that name with a value follows.
    Plan().FillFromDefinition(
        "<plan><label>Job</label><label>Side</label><label> Gift </label><label></label>\n"
        "<label>Rent</label><amount>1200.5</amount><amount>abc</amount><amount>+40</amount>"
        "<amount>9</amount>\n"
        "<label>Food</label><amount>-3.456</amount><amount>1e300</amount><amount/>\n"
        "<label>Never</label></plan>");
    EXPECT_EQ(Plan().GetColumnName(3), "Gift");
    EXPECT_EQ(Row(1), "Rent 1,200.50 0.00 40.00");  // no fourth column to hold 9
    // "Food" lacks its fourth amount: the reading ends after it. Absurd amounts are 0.
    EXPECT_EQ(Row(2), "Food -3.46 0.00 0.00");
    EXPECT_EQ(Plan().GetLastUsedRow(), 2u);
    Plan().EndEdit();

    Plan().FillFromDefinition("<label>A</label><label>B");  // unclosed: the reading ends
    EXPECT_EQ(Plan().GetColumnName(1), "A");
    EXPECT_FALSE(Plan().IsColumnUsed(2));
    Plan().EndEdit();

    // More rows than the plan holds stop at its last.
    std::string many = "<label>A</label><label>B</label><label>C</label><label>D</label>";
    for (int i = 0; i < 400; ++i)
        many += "<label>E" + std::to_string(i) +
                "</label><amount>1</amount><amount>1</amount><amount>1</amount><amount>1</amount>";
    Plan().FillFromDefinition(many);
    EXPECT_EQ(Plan().GetLastUsedRow(), 250u);
    EXPECT_EQ(Plan().GetColumnTotal(4, Period::Monthly).Cents(), 25000);
    Plan().EndEdit();
}

TEST_F(AllocationPlanTest, HeadlessSetUpReadsADefinitionFileOrRefusesAnUnreadableOne) {
    TTempFolder folder;
    std::filesystem::path path = folder.Write(
        "plan.xml", std::string("<label>Wage</label><label></label><label></label>"
                                "<label></label><label>Rent</label><amount>800</amount>"));
    TNewPlanInput input;
    input.definitionPath = path.string();
    EXPECT_TRUE(Plan().SetUpNewPlanHeadless(input));
    std::filesystem::remove(path);
    EXPECT_EQ(Items("Wage"), "Rent 80000");
    ASSERT_NE(Env("Unallocated"), nullptr);
    EXPECT_TRUE(doc.IsModified());

    EXPECT_FALSE(Plan().SetUpNewPlanHeadless(input));  // the file is gone
    EXPECT_FALSE(Plan().IsEditing());
    // Interactively an unreadable file is ignored and the plan opens as it stands.
    EXPECT_FALSE(Plan().SetUpNewPlan(path.string()));
    EXPECT_EQ(dialogs.opened.plan, &Plan());
}
