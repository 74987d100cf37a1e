// Applying a template to a transaction: whatever the transaction was, the balances keep agreeing
// and it ends as the template says.
#include "plan/PlanDialogs.h"
#include "plan/TemplateDialogs.h"
#include "plan/XTemplateManager.h"
#include "tests/support/ScriptedPlanDialogs.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/Filters.h"

namespace {

class XTemplateApplyTest : public xtest::XBudgetTest {
protected:
    TRecordingWindows views;

    TXTemplate& Template(const std::string& name,
                         const std::vector<std::tuple<uint32_t, int32_t, std::string>>& items,
                         const std::string& payee = "", const std::string& memo = "") {
        auto t = std::make_unique<TXTemplate>(&doc.GetTemplates());
        t->SetName(name);
        t->SetPayableTo(payee);
        t->SetMemo(memo);
        for (const auto& [envelope, amount, text] : items)
            t->GetItems().Append(envelope, amount, text);
        return static_cast<TXTemplate&>(*doc.GetTemplates().Add(std::move(t)));
    }
    void Apply(const TXTemplate& t, uint32_t id) {
        TXItem* row = Store().GetItem(id);
        t.ApplyTo(*row);
        Store().Release(row);
    }
    const TXRecord& R(uint32_t id) { return *Store().FindRecord(id); }
    uint32_t Kind(uint32_t id) { return R(id).flags & ~(XCommitted | XDirty); }
    std::vector<const TXRecord*> Parts(uint32_t multiple) {
        std::vector<const TXRecord*> parts;
        for (uint32_t p = 1; p <= Store().GetCount(); ++p)
            if (TMultKidsFilter(multiple).Match(Store().RecordAt(p)))
                parts.push_back(&Store().RecordAt(p));
        return parts;
    }
};

TEST_F(XTemplateApplyTest, NoneOrOneItemMakesAPlainTransaction) {
    // Payee and memo are taken only where the transaction has none.
    TXTemplate& housing = Template("Housing", {{rent, -125000, ""}}, "Landlord", "Flat 3");
    uint32_t deposit = Typed(checking, food, XColDeposit, "100.00");  // payee "Shop"
    Apply(housing, deposit);
    ExpectSound();
    EXPECT_EQ(Kind(deposit), XAccount);
    EXPECT_EQ(R(deposit).envelope, rent);
    EXPECT_EQ(R(deposit).amount, -125000);
    EXPECT_EQ(R(deposit).GetPayableTo(), "Shop");
    EXPECT_EQ(R(deposit).GetMemo(), "Flat 3");
    EXPECT_EQ(EnvBalance(rent), -125000);

    // No item, or only one of an envelope gone: 0 in the account's default envelope.
    uint32_t multiple = Multiple(savings, {{rent, -1000}, {food, -500}});
    Apply(Template("Empty", {}), multiple);
    Apply(Template("Lost", {{9999, -100, ""}}), deposit);
    ExpectSound();
    for (auto [id, envelope] : {std::pair{multiple, spare}, {deposit, food}}) {
        EXPECT_EQ(Kind(id), XAccount);
        EXPECT_EQ(R(id).envelope, envelope);
        EXPECT_EQ(R(id).amount, 0);
    }
    EXPECT_TRUE(Parts(multiple).empty());
    EXPECT_EQ(Balance(checking) + Balance(savings), 0);
}

TEST_F(XTemplateApplyTest, SeveralItemsTurnATransferIntoAMultipleAndFreeThePartner) {
    // The item of an envelope that no longer exists makes no part.
    TXTemplate& split = Template(
        "Split", {{food, -3000, "Groceries ~e"}, {rent, -2000, "Rent"}, {9999, -700, "Gone"}});
    auto [from, to] = AccountTransfer(checking, savings, 5000);
    for (auto [id, text] : {std::pair{from, "Transfer to ~t"}, {to, "Transfer from ~t"}}) {
        TXItem* half = Store().GetItem(id);
        half->SetCellText(XColPayableTo, text);
        Store().Release(half);
    }
    Apply(split, from);
    ExpectSound();

    EXPECT_EQ(Kind(to), XAccount);
    EXPECT_EQ(R(to).amount, 0);
    EXPECT_EQ(R(to).envelope, spare);
    EXPECT_EQ(R(to).partner, 0u);

    EXPECT_EQ(Kind(from), XKindMultiple);
    EXPECT_EQ(R(from).envelope, 0u);
    EXPECT_EQ(R(from).partner, 0u);
    EXPECT_EQ(R(from).amount, -5000);
    auto parts = Parts(from);
    ASSERT_EQ(parts.size(), 2u);
    if (parts[0]->envelope != food) std::swap(parts[0], parts[1]);
    EXPECT_EQ(parts[0]->envelope, food);
    EXPECT_EQ(parts[0]->amount, -3000);
    EXPECT_EQ(parts[0]->GetPayableTo(), "Groceries ~e");
    EXPECT_EQ(parts[0]->GetMemo(), "Transfer to ~t");
    EXPECT_EQ(parts[1]->envelope, rent);
    EXPECT_EQ(parts[1]->amount, -2000);
    EXPECT_EQ(Balance(checking), -5000);
    EXPECT_EQ(Balance(savings), 0);
    EXPECT_EQ(EnvBalance(food), -3000);
    EXPECT_EQ(EnvBalance(rent), -2000);
}

TEST_F(XTemplateApplyTest, TheCommandAsksChoosesAndOpensTheMultiple) {
    TScriptedPlanDialogs chooser;
    InstallTemplateApplier();
    TXItem* row = NewRow(XAccount, checking, food);
    row->SetAmount(-900);
    EXPECT_FALSE(row->CanApplyTemplate());  // no template yet

    Template("One", {{rent, -100, ""}});
    Template("Two", {{rent, -100, ""}, {spare, -200, ""}});
    ASSERT_TRUE(row->CanApplyTemplate());

    // No to the question, then Cancel in the chooser: nothing changes.
    ui.answers = {TMsgResult::No, TMsgResult::Yes};
    row->ApplyTemplate();
    row->ApplyTemplate();
    EXPECT_EQ(row->Record().amount, -900);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Overwrite current transaction?");
    EXPECT_EQ(ui.messages[0].caption, "Quillet");
    EXPECT_EQ(ui.messages[0].buttons, TMsgButtons::YesNo);
    ASSERT_EQ(chooser.chooserShown.size(), 1u);
    EXPECT_EQ(chooser.chooserShown[0].title, "Choose Transaction Template");
    EXPECT_EQ(chooser.chooserShown[0].names, (std::vector<std::string>{"One", "Two"}));

    chooser.choice = 1;
    ui.answers = {TMsgResult::Yes};
    row->ApplyTemplate();
    ExpectSound();
    EXPECT_TRUE(row->Record().IsMultiple());
    EXPECT_EQ(row->Record().amount, -300);
    EXPECT_EQ(views.multiplesOpened, std::vector<uint32_t>{row->GetId()});
    Store().Release(row);
    SetTemplateApplier(nullptr);
}

}  // namespace
