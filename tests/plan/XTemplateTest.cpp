// Transaction templates: their stream layouts, the manager, the grid of items, the dialogs and
// applying a template to a transaction.
#include "app/NewBudget.h"
#include "core/QuilletData.h"
#include "core/SettingsList.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/PlanDialogs.h"
#include "plan/TemplateDialogs.h"
#include "plan/XTemplate.h"
#include "plan/XTemplateManager.h"
#include "tests/support/ScriptedPlanDialogs.h"
#include "tests/support/ScriptedTemplateDialogs.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/Streams.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/Filters.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace streambytes;

// The id table of a manager that has issued one id: layout 1, growth 10, size 10, entry 1 in use.
const Bytes OneIdTable = Cat({W32(1), W32(10), W32(10), {0x00, 0x01}, W32(0), W32(0)});

int ReadInto(TXTemplateManager& m, const Bytes& inPlace) {
    const Bytes file = Cat({Header, inPlace});
    imemstream is(file);
    m.Read(is);
    return is.rdstate();
}

Bytes Written(const TXTemplateManager& m) {
    omemstream os(false);
    m.Write(os);
    EXPECT_TRUE(os.good());
    return os.bytes();
}

// One template: count 1, its id, its layout and whether it is in the plan, then the items
// layout and count.
Bytes OneTemplate(uint32_t id, uint32_t layout, uint32_t itemsLayout, uint32_t items) {
    return Cat({W32(1), W32(id), W32(layout), W32(layout == 3), W32(itemsLayout), W32(items)});
}

}  // namespace

TEST(XTemplateStream, LayoutsMatchHandWrittenBytes) {
    TXTemplateManager m;
    auto t = std::make_unique<TXTemplate>(&m);
    t->SetName("Housing");
    t->SetIncludeInPlan(true);
    t->SetPayableTo("Landlord");
    t->GetItems().Append(5, -125000, "Rent");
    t->GetItems().Append(9, 2500, "");
    m.Add(std::move(t));

    // clang-format off
    Bytes expected = Cat({OneTemplate(1, 3, 1, 2),
                          {0x05, 0, 0, 0, 0xB8, 0x17, 0xFE, 0xFF}, Str("Rent"),  // envelope, amount
                          {0x09, 0, 0, 0, 0xC4, 0x09, 0, 0}, Str(""),
                          W32(4), Str("Housing"), Str("Landlord"), Str(""),      // monthly, texts
                          OneIdTable});
    // clang-format on
    EXPECT_EQ(Written(m), expected);

    TXTemplateManager back;
    EXPECT_EQ(ReadInto(back, expected), pstream::Good);
    ASSERT_EQ(back.GetCount(), 1u);
    TXTemplate* r = back.GetTemplate(1);
    EXPECT_TRUE(r->GetIncludeInPlan());
    EXPECT_EQ(r->GetItems().GetAt(0)->GetOwner(), &r->GetItems());
    EXPECT_EQ(r->GetOwner(), &back);
    EXPECT_EQ(Written(back), expected);
    // The id table came along: the next template gets id 2.
    EXPECT_EQ(back.Add(std::make_unique<TXTemplate>(&back))->GetId(), 2u);

    // Layout 1 has no period, payable to or memo; layout 2 adds the period. An unknown items
    // layout reads the count and no item, and the fields after it still are.
    struct Case {
        Bytes bytes;
        const char* name;
        uint32_t id, period;
        const char* memo;
    } cases[] = {
        {Cat({OneTemplate(4, 1, 1, 0), Str("Paycheck"), OneIdTable}), "Paycheck", 4, 4, ""},
        {Cat({OneTemplate(1, 2, 1, 0), W32(2), Str("Bonus"), OneIdTable}), "Bonus", 1, 2, ""},
        {Cat({OneTemplate(1, 3, 2, 3), W32(6), Str("Odd"), Str("Payee"), Str("Note"), OneIdTable}),
         "Odd", 1, 6, "Note"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TXTemplateManager old;
        EXPECT_EQ(ReadInto(old, c.bytes), pstream::Good);
        ASSERT_EQ(old.GetCount(), 1u);
        const TXTemplate* o = old.GetTemplate(1);
        EXPECT_EQ(o->GetName() + "|" + o->GetMemo(), std::string(c.name) + "|" + c.memo);
        EXPECT_EQ(o->GetId(), c.id);
        EXPECT_EQ(o->GetPeriod(), c.period);
        EXPECT_EQ(o->GetItems().GetCount(), 0u);
    }

    // Four billion items with one present, or a name longer than its field: the stream fails and
    // the half-read template is dropped.
    for (const Bytes& damaged :
         {Cat({OneTemplate(1, 3, 1, 0xFFFFFFFF), W32(5), W32(1), Str("x")}),
          Cat({OneTemplate(1, 1, 1, 0), Str(std::string(128, 'n')), OneIdTable})}) {
        TXTemplateManager m2;
        EXPECT_EQ(ReadInto(m2, damaged), pstream::Failed);
        EXPECT_EQ(m2.GetCount(), 0u);
    }
}

TEST(XTemplateManager, CopiesAreNamedAfterTheirSource) {
    TXTemplateManager m;
    auto rent = std::make_unique<TXTemplate>(&m);
    rent->SetName("Rent");
    rent->SetPeriod(7);
    rent->SetIncludeInPlan(true);
    rent->SetPayableTo("Landlord");
    rent->SetMemo("Flat 3");
    rent->GetItems().Append(5, -125000, "Allocate to ~e");
    uint32_t id = m.Add(std::move(rent))->GetId();

    ASSERT_TRUE(m.Duplicate(id));
    ASSERT_TRUE(m.Duplicate(id));
    ASSERT_EQ(m.GetCount(), 3u);
    EXPECT_EQ(m.GetTemplate(2)->GetName(), "copy of Rent");
    EXPECT_EQ(m.GetTemplate(3)->GetName(), "copy 2 of Rent");
    ASSERT_TRUE(m.Duplicate(m.GetTemplate(2)->GetId()));
    EXPECT_EQ(m.GetTemplate(4)->GetName(), "copy of copy of Rent");

    TXTemplate* copy = m.GetTemplate(2);
    EXPECT_NE(copy->GetId(), id);
    EXPECT_EQ(copy->GetPeriod(), 7u);
    EXPECT_TRUE(copy->GetIncludeInPlan());
    EXPECT_EQ(copy->GetPayableTo(), "Landlord");
    EXPECT_EQ(copy->GetMemo(), "Flat 3");
    ASSERT_EQ(copy->GetItems().GetCount(), 1u);
    EXPECT_EQ(copy->GetItems().GetAt(0)->GetAmount(), -125000);
    EXPECT_EQ(copy->GetItems().GetAt(0)->GetDescription(), "Allocate to ~e");
    EXPECT_FALSE(m.Duplicate(999));

    // The name is cut to its field, even with the prefix.
    auto longOne = std::make_unique<TXTemplate>(&m);
    longOne->SetName(std::string(200, 'L'));
    EXPECT_EQ(longOne->GetName().size(), 127u);
    uint32_t longId = m.Add(std::move(longOne))->GetId();
    ASSERT_TRUE(m.Duplicate(longId));
    EXPECT_EQ(m.GetTemplate(m.GetCount())->GetName(), "copy of " + std::string(119, 'L'));
}

TEST(XTemplateManager, ReplacingAnEnvelopeReachesEveryTemplate) {
    TXTemplateManager m;
    for (int i = 0; i < 2; ++i) {
        auto t = std::make_unique<TXTemplate>(&m);
        t->SetName("T" + std::to_string(i));
        t->GetItems().Append(3, 100, "");
        t->GetItems().Append(4, 200, "");
        t->AddAllocation(3, 300);
        m.Add(std::move(t));
    }
    m.ReplaceEnvelopeInAll(3, 8);
    for (uint32_t i = 1; i <= 2; ++i) {
        const TXTemplateList& items = m.GetTemplate(i)->GetItems();
        ASSERT_EQ(items.GetCount(), 3u);
        EXPECT_EQ(items.GetAt(0)->GetEnvelope(), 8u);
        EXPECT_EQ(items.GetAt(1)->GetEnvelope(), 4u);
        EXPECT_EQ(items.GetAt(2)->GetEnvelope(), 8u);
        EXPECT_EQ(items.GetAt(2)->GetDescription(), "Allocate to ~e");
        EXPECT_EQ(items.GetAt(2)->GetAmount(), 300);
    }
    // Names order templates without regard to case.
    EXPECT_TRUE(m.GetTemplate(1)->SortsBefore(m.GetTemplate(2)));
    m.GetTemplate(1)->SetName("b");
    m.GetTemplate(2)->SetName("A");
    EXPECT_FALSE(m.GetTemplate(1)->SortsBefore(m.GetTemplate(2)));
    EXPECT_TRUE(m.GetTemplate(2)->SortsBefore(m.GetTemplate(1)));
    char small[3];
    m.GetTemplate(1)->SetName("Groceries");
    m.GetTemplate(1)->GetName(small, sizeof small);
    EXPECT_STREQ(small, "Gr");
}

// A template's items as rows of the property dialog's grid: what the cells show and take, the
// 150-row window with its blank rows, and the order the items are kept in.
namespace {

class TTotals : public TXTemplateView {
public:
    std::vector<std::string> shown;
    void TotalChanged(const std::string& total) override { shown.push_back(total); }
};

// Envelopes Food, Rent and Spare, in that order in the tree.
class XTemplateGridTest : public ::testing::Test {
protected:
    TQuilletData doc;
    TXTemplate t;
    uint32_t food = 0, rent = 0, spare = 0;

    TCurrentDocument current{doc};

    void SetUp() override {
        // A new envelope goes first under the root.
        for (const char* name : {"Spare", "Rent", "Food"})
            ASSERT_TRUE(doc.GetEnvelopes().GetEnvelopeRoot()->NewEnvelope(name));
        food = doc.GetEnvelopes().FindId("Food");
        rent = doc.GetEnvelopes().FindId("Rent");
        spare = doc.GetEnvelopes().FindId("Spare");
    }
    TXTemplateList& Items() { return t.GetItems(); }
};

TEST_F(XTemplateGridTest, TypedAmountsAndEnvelopes) {
    TTotals totals;
    t.SetOpenDialog(&totals);
    TXTemplateItem* item = Items().Append(food, 0, "");

    item->SetCellText(XTColDeposit, "12.345");
    EXPECT_EQ(item->GetAmount(), 1235);
    item->SetCellText(XTColPayment, "12.345");
    EXPECT_EQ(item->GetAmount(), -1235);
    EXPECT_EQ(item->GetCellText(XTColPayment), "12.35");
    EXPECT_EQ(item->GetCellText(XTColDeposit), "0.00");
    item->SetCellText(XTColDeposit, "19,999,999.99");
    EXPECT_EQ(item->GetAmount(), 1999999999);
    EXPECT_EQ(item->GetCellText(XTColDeposit), "19,999,999.99");
    item->SetCellText(XTColPayment, "20,000,000");
    EXPECT_EQ(item->GetAmount(), 0);
    item->SetCellText(XTColDeposit, "4.5*2");
    EXPECT_EQ(item->GetAmount(), 900);

    // Names are found without regard to case; an unknown one leaves no envelope, shown as
    // "None" and left out of the total.
    Items().Append(rent, -250, "");
    item->SetCellText(XTColEnvelope, "rent");
    EXPECT_EQ(item->GetEnvelope(), rent);
    item->SetCellText(XTColEnvelope, "Nowhere");
    EXPECT_EQ(item->GetEnvelope(), 0u);
    EXPECT_EQ(item->GetCellText(XTColEnvelope), "None");
    EXPECT_EQ(t.TotalText(), "-2.50");
    EXPECT_EQ(totals.shown.back(), "-2.50");
    EXPECT_EQ(totals.shown.size(), 7u);  // one per edit

    auto editor = item->CreateEditor(XTColEnvelope, EditWithValue);
    ASSERT_TRUE(editor && editor->choices);
    EXPECT_EQ(editor->kind, TCellEditorKind::StringList);
    EXPECT_EQ(editor->choices->Items(), (std::vector<std::string>{"Food", "Rent", "Spare"}));
}

TEST_F(XTemplateGridTest, DescriptionsExpandTheirCodes) {
    TXTemplateItem* item = Items().Append(rent, 0, "~e rent ~q");
    EXPECT_EQ(item->GetCellText(XTColDescription), "Rent rent error");
    // The editor holds the codes as typed.
    EXPECT_EQ(item->CreateEditor(XTColDescription, EditWithValue)->text, "~e rent ~q");

    item->SetDescription("Pay ~a on ~c");
    EXPECT_EQ(item->GetCellText(XTColDescription), "Pay <account> on <creation date>");
    // Five pieces at most; the result is cut to 89 characters.
    item->SetDescription("n~x~i~p~r~e");
    EXPECT_EQ(item->GetCellText(XTColDescription),
              "n<transaction id><instances><transaction position><reconcile date>");
    item->SetDescription("~e" + std::string(100, 'z'));
    EXPECT_EQ(item->GetDescription().size(), 89u);
    EXPECT_EQ(item->GetCellText(XTColDescription), "Rent" + std::string(85, 'z'));
}

TEST_F(XTemplateGridTest, TheWindowEndsWithBlankRowsThatAreDroppedAgain) {
    for (int i = 0; i < 200; ++i)
        Items().Append(rent, i + 1, "");
    Items().LoadAtEnd();
    EXPECT_EQ(Items().GetRowCount(), 150u);
    EXPECT_EQ(Items().GetUsedCount(), 125u);
    EXPECT_EQ(Items().GetStoredCount(), 200u);
    EXPECT_EQ(Items().GetRowItem(1)->GetAmount(), 76);
    EXPECT_EQ(Items().GetRowItem(125)->GetAmount(), 200);
    TXTemplateItem* blank = Items().GetRowItem(126);
    EXPECT_TRUE(blank->IsBlank());
    EXPECT_EQ(blank->GetEnvelope(), food);  // the first envelope of the tree
    EXPECT_EQ(Items().GetCount(), 225u);

    // Typing into a blank row makes an item; the other blanks go, and the items are sorted.
    blank->SetCellText(XTColPayment, "5");
    EXPECT_EQ(Items().ScrollDown(10), 0u);  // already at the end
    EXPECT_EQ(Items().ScrollUp(30), 30u);
    EXPECT_EQ(Items().GetCount(), 201u);
    EXPECT_EQ(Items().GetAt(0)->GetAmount(), -500);  // Food sorts before Rent
    EXPECT_EQ(Items().GetRowItem(1)->GetAmount(), 45);
    EXPECT_EQ(Items().GetUsedCount(), 150u);

    EXPECT_EQ(Items().JumpTo(51), JumpStarts);
    EXPECT_EQ(Items().GetRowItem(1)->GetAmount(), 50);
    EXPECT_EQ(Items().GetPosition(1), 51u);
    EXPECT_EQ(Items().JumpTo(202), JumpEnd);
    EXPECT_EQ(Items().GetWindowStart(), 76u);
    Items().DropBlankRows();
    EXPECT_FALSE(Items().IsWindowBuilt());
    EXPECT_EQ(Items().GetCount(), 201u);
}

TEST_F(XTemplateGridTest, DroppingBlankRowsSortsByEnvelopeAndKeepsTheOrderWithinOne) {
    Items().Append(spare, 1, "");
    Items().Append(9999, 2, "");  // no such envelope: first
    Items().Append(rent, 3, "");
    Items().Append(food, 4, "");
    Items().Append(rent, 5, "");
    Items().DropBlankRows();  // no window: nothing happens
    EXPECT_EQ(Items().GetAt(0)->GetAmount(), 1);

    Items().LoadAtTop();
    EXPECT_EQ(Items().GetUsedCount(), 5u);
    Items().GetRowItem(3)->SetCellText(XTColDeposit, "0");  // a stored item emptied is dropped
    Items().GetRowItem(9)->SetDescription("typed");         // a blank row with text is kept
    Items().DropBlankRows();
    std::vector<int32_t> amounts;
    for (uint32_t i = 0; i < Items().GetCount(); ++i)
        amounts.push_back(Items().GetAt(i)->GetAmount());
    EXPECT_EQ(amounts, (std::vector<int32_t>{2, 4, 0, 5, 1}));
    EXPECT_EQ(Items().GetAt(2)->GetDescription(), "typed");
}

}  // namespace

// The property dialog and the list dialog of the templates, driven through a scripted port.
namespace {

template <size_t N>
void Type(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

class XTemplateDialogTest : public ::testing::Test {
protected:
    TScriptedUI ui;
    TScriptedTemplateDialogs dialogs;
    TQuilletData doc;

    TCurrentDocument current{doc};
    TXTemplateManager& Templates() { return doc.GetTemplates(); }
    TXTemplate* Add(const std::string& name) {
        auto t = std::make_unique<TXTemplate>(&Templates());
        t->SetName(name);
        return static_cast<TXTemplate*>(Templates().Add(std::move(t)));
    }
};

TEST_F(XTemplateDialogTest, ThePropertyDialogChecksTheNameAndRemembersItsSize) {
    Add("Rent");
    TXTemplate* pay = Add("Pay");
    dialogs.edit = [&](TXTemplateDialogBuffer& b) {
        Type(b.fields.name, "");
        EXPECT_FALSE(b.check(b.fields));
        Type(b.fields.name, "Rent");
        EXPECT_FALSE(b.check(b.fields));
        Type(b.fields.name, "rent");  // case counts
        EXPECT_TRUE(b.check(b.fields));
        Type(b.fields.payableTo, "Employer");
        b.fields.includeInPlan = 1;
        b.xtemplate->GetItems().LoadAtTop();
        b.xtemplate->GetItems().GetRowItem(1)->SetCellText(XTColDeposit, "2000");
        b.width = 1000;
        b.height = 640;
    };
    EXPECT_TRUE(pay->Edit());

    ASSERT_EQ(dialogs.opened.size(), 1u);
    const TXTemplateDialogBuffer& shown = dialogs.opened[0];
    EXPECT_EQ(shown.caption, "Transaction Template: Pay");
    EXPECT_EQ(shown.takenNames, std::vector<std::string>{"Rent"});
    EXPECT_EQ(shown.width, 960);
    EXPECT_EQ(shown.height, 540);
    EXPECT_EQ(shown.total, "0.00");
    EXPECT_EQ(ui.messages.size(), 2u);  // the empty name and the taken one were told

    EXPECT_EQ(pay->GetName(), "rent");
    EXPECT_EQ(pay->GetPayableTo(), "Employer");
    EXPECT_TRUE(pay->GetIncludeInPlan());
    EXPECT_EQ(pay->GetItems().GetCount(), 1u);  // the blank rows went
    EXPECT_EQ(pay->GetItems().GetAt(0)->GetAmount(), 200000);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(dialogs.settings.GetString("XTemplateDlg.Width", ""), "1000");
    EXPECT_EQ(dialogs.settings.GetString("XTemplateDlg.Height", ""), "640");

    // The remembered size wins over the screen's; a dialog that lets a taken name through
    // leaves the template its own.
    dialogs.screen = TFixedScreen(1024, 768);
    dialogs.edit = [](TXTemplateDialogBuffer& b) { Type(b.fields.name, "Rent"); };
    pay->Edit();
    EXPECT_EQ(dialogs.opened[1].width, 1000);
    EXPECT_EQ(dialogs.opened[1].height, 640);
    EXPECT_EQ(pay->GetName(), "rent");
}

TEST_F(XTemplateDialogTest, TheListDialogKeepsItsSelectionAtItsPlace) {
    Add("Rent");
    Add("Food");
    bool ran = false;
    dialogs.manage = [&](TManagedListDialog& d) {
        ran = true;
        EXPECT_EQ(d.GetCaption(), "Transaction Templates");
        EXPECT_EQ(d.GetSelection(), 0);

        d.Select(1);
        d.CopyItem();
        EXPECT_EQ(d.GetNames(), (std::vector<std::string>{"Rent", "Food", "copy of Food"}));
        EXPECT_EQ(d.GetSelection(), 1);

        // A new template is added after its dialog, which confirms whatever happens in it.
        dialogs.edit = [](TXTemplateDialogBuffer& b) { Type(b.fields.name, "Bonus"); };
        d.Select(-1);
        d.AddItem();
        EXPECT_EQ(d.GetNames().back(), "Bonus");
        EXPECT_EQ(d.GetSelection(), 0);
        EXPECT_EQ(dialogs.opened.back().takenNames.size(), 3u);

        // The last one deleted: the new last is selected.
        d.Select(3);
        d.DeleteItem();
        EXPECT_EQ(d.GetSelection(), 2);
        d.Select(0);
        d.DeleteItem();
        EXPECT_EQ(d.GetNames(), (std::vector<std::string>{"Food", "copy of Food"}));
        EXPECT_EQ(d.GetSelection(), 0);
        d.DeleteItem();
        d.DeleteItem();
        EXPECT_TRUE(d.GetNames().empty());
        EXPECT_EQ(d.GetSelection(), -1);

        EXPECT_EQ(ui.beeps, 0);
        d.CopyItem();
        d.EditItem();
        d.DeleteItem();
        EXPECT_EQ(ui.beeps, 3);
    };
    ViewTransactionTemplates(doc);
    EXPECT_TRUE(ran);
    EXPECT_EQ(Templates().GetCount(), 0u);
    EXPECT_TRUE(doc.IsModified());
}

}  // namespace

// Applying a template to a transaction: whatever the transaction was, the balances keep agreeing
// and it ends as the template says.
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
    EXPECT_EQ(Balances(), "-5000 0 | -3000 -2000 0");
}

TEST_F(XTemplateApplyTest, TheCommandAsksChoosesAndOpensTheMultiple) {
    TScriptedPlanDialogs chooser;
    InstallTemplateApplier();
    TXItem* row = NewRow(XAccount, checking, food);
    EXPECT_FALSE(row->CanApplyTemplate());  // no template yet

    Template("One", {{rent, -100, ""}});
    Template("Two", {{rent, -100, ""}, {spare, -200, ""}});
    ASSERT_TRUE(row->CanApplyTemplate());

    // A blank row goes to the chooser without a question; Cancel there changes nothing.
    row->ApplyTemplate();
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(chooser.chooserShown.size(), 1u);
    EXPECT_EQ(chooser.chooserShown[0].title, "Choose Transaction Template");
    EXPECT_EQ(chooser.chooserShown[0].names, (std::vector<std::string>{"One", "Two"}));

    // An amount is overwritten only on Yes.
    row->SetAmount(-900);
    ui.answers = {TMsgResult::No};
    row->ApplyTemplate();
    EXPECT_EQ(row->Record().amount, -900);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Overwrite current transaction?");
    EXPECT_EQ(ui.messages[0].caption, "Quillet");
    EXPECT_EQ(ui.messages[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(chooser.chooserShown.size(), 1u);

    chooser.choice = 1;
    ui.answers = {TMsgResult::Yes};
    row->ApplyTemplate();
    ExpectSound();
    EXPECT_TRUE(row->Record().IsMultiple());
    EXPECT_EQ(row->Record().amount, -300);
    EXPECT_EQ(views.multiplesOpened, std::vector<uint32_t>{row->GetId()});
    SetTemplateApplier(nullptr);
    EXPECT_FALSE(row->CanApplyTemplate());
    Store().Release(row);
}

}  // namespace
