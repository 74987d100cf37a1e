#include "transactions/XItem.h"

#include "core/QuilletOptions.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/Filters.h"

namespace {

using namespace xtest;

class XItemTest : public XBudgetTest {};

TEST_F(XItemTest, TypedAmountsAndEnvelopesPostToBothSides) {
    uint32_t id = Typed(checking, food, XColPayment, "100");
    EXPECT_EQ(Balances(), "-10000 0 | -10000 0 0");
    TXItem* row = Store().GetItem(id);
    EXPECT_EQ(row->GetCellText(XColPayment) + "|" + row->GetCellText(XColDeposit), "100.00|0.00");

    // What was typed is shown again as typed; its value is rounded to the cent.
    row->SetCellText(XColDeposit, "1,000.005*2");
    EXPECT_EQ(row->Record().amount, 200001);
    EXPECT_EQ(row->CreateEditor(XColPayment, EditWithValue)->text, "1,000.005*2");
    row->SetCellText(XColPayment, "-5");  // a negative payment is a deposit
    EXPECT_EQ(row->Record().amount, 500);
    row->SetCellText(XColPayment, "19999999.99");
    EXPECT_EQ(row->Record().amount, -1999999999);
    row->SetCellText(XColDeposit, "20000000");
    EXPECT_EQ(row->Record().amount, 0);

    // The envelope column moves the money; a bundle's name or an unknown label changes nothing.
    row->SetCellText(XColDeposit, "7");
    for (const char* label : {"rENT", "Bills", "Nowhere"})
        row->SetCellText(XColEnvelope, label);
    EXPECT_EQ(row->GetCellText(XColEnvelope), "Rent");
    EXPECT_EQ(Balances(), "700 0 | 0 700 0");
    Store().Release(row);
    ExpectSound();
}

TEST_F(XItemTest, ClearedMarksMoveClearedBalancesAndGuardTheAmount) {
    uint32_t id = Typed(checking, food, XColPayment, "40");
    TXItem* row = Store().GetItem(id);
    row->ToggleAccountCleared();
    row->ToggleEnvelopeCleared();
    EXPECT_EQ(row->Record().accountCleared, XClearedPending);
    EXPECT_EQ((std::pair{Cleared(checking), EnvCleared(food)}),
              (std::pair<int64_t, int64_t>{-4000, -4000}));

    // Changing a cleared amount needs a Yes; the cleared balances follow it.
    ui.answers = {TMsgResult::No, TMsgResult::Yes};
    row->SetCellText(XColPayment, "50");
    EXPECT_EQ(row->Record().amount, -4000);
    EXPECT_EQ(ui.messages.back().caption, "Confirm Change");
    EXPECT_EQ(ui.messages.back().text,
              "Are you sure you want to change the value of this cleared transaction?");
    row->SetCellText(XColPayment, "50");
    EXPECT_EQ((std::pair{Cleared(checking), EnvCleared(food)}),
              (std::pair<int64_t, int64_t>{-5000, -5000}));
    Store().Release(row);

    // A row made from a record cleared on a day gives that day back when the mark returns.
    Store().ConfirmPendingCleared(TDate(20, 5, 2024));
    row = Store().GetItem(id);
    row->SetCellText(XColAccountCleared, "");
    EXPECT_EQ(Cleared(checking), 0);
    row->CreateEditor(XColAccountCleared, EditMayToggle);  // the grid's toggle
    EXPECT_EQ(row->GetCellText(XColAccountClearedDate), "05/20/24");
    EXPECT_EQ(Cleared(checking), -5000);
    // Import clears with a date; a cleared side only takes the new date.
    row->SetAccountClearedDate(TDate(2, 5, 2024));
    EXPECT_EQ(row->Record().accountCleared, TDate(2, 5, 2024).Key());
    EXPECT_EQ(Cleared(checking), -5000);
    Store().Release(row);

    // An envelope-only entry that is no transfer moves nothing and cannot be cleared.
    TXItem* loose = NewRow(XEnvelopeOnly, 0, rent);
    loose->SetCellText(XColDeposit, "3");
    loose->ToggleEnvelopeCleared();
    EXPECT_EQ(loose->Record().envelopeCleared, XNotCleared);
    EXPECT_EQ(ui.messages.back().text,
              "You cannot clear or unclear a new envelope transaction without first creating a "
              "transfer.");
    EXPECT_EQ(EnvBalance(rent), 0);
    Store().Release(loose);
    ExpectSound();
}

TEST_F(XItemTest, DatesParseInTheRecordsYearAndCorrectEarlyInTheYear) {
    TDate january(5, 1, 2024);
    TDate::SetTodayForTesting(&january);
    TXItem* row = NewRow(XAccount, checking, food, TDate(9, 3, 2022));
    row->SetCellText(XColDate, "12/20");
    EXPECT_EQ(TDate(row->Record().date), TDate(20, 12, 2022));  // the record's year
    row->SetCellText(XColDateYear, "12/20/24");
    EXPECT_EQ(TDate(row->Record().date), TDate(20, 12, 2023));  // typed, and still corrected
    EXPECT_EQ(row->CreateEditor(XColDate, EditStartEmpty)->text, "/23");

    TQuilletOptions noCorrection;
    noCorrection.autoCorrectYear = 0;
    SetCurrentOptions(&noCorrection);
    row->SetCellText(XColDateYear, "12/20/24");
    EXPECT_EQ(TDate(row->Record().date), TDate(20, 12, 2024));
    SetCurrentOptions(nullptr);
    row->SetCellText(XColDate, "13/45");
    EXPECT_EQ(TDate(row->Record().date), TDate(0, 0, 2024));
    Store().Release(row);
}

TEST_F(XItemTest, MultiplesAreTheSumOfTheirPartsAndLendThemTheirTexts) {
    uint32_t id = Multiple(checking, {{food, -4000}, {rent, -1000}});
    EXPECT_EQ(Store().FindRecord(id)->amount, -5000);
    EXPECT_EQ(Balances(), "-5000 0 | -4000 -1000 0");

    TXItem* m = Store().GetItem(id);
    m->SetCellText(XColPayment, "1");  // a multiple's amount is its parts'
    m->SetCellText(XColCode, "2041");
    m->SetCellText(XColPayableTo, "Market");
    m->SetCellText(XColDate, "5/2");
    TXGenericList parts = Store().CollectMatching(TMultKidsFilter(id));
    ASSERT_EQ(parts.Count(), 2u);
    for (uint32_t i = 1; i <= 2; ++i)
        EXPECT_EQ(parts[i]->GetCellText(XColCode) + "|" + parts[i]->GetCellText(XColMemo) + "|" +
                      parts[i]->GetCellText(XColDate),
                  "m.2041|Market|05/02");
    parts[1]->SetCellText(XColPayment, "5");  // a part's change reaches the account through it
    int32_t other = parts[2]->Record().amount;
    EXPECT_EQ((std::pair{m->Record().amount, Balance(checking)}),
              (std::pair<int32_t, int64_t>{-500 + other, -500 + other}));
    parts = TXGenericList(Store());

    // Erasing the multiple deletes its parts and gives every balance back.
    m->Erase();
    EXPECT_EQ(Store().Count(TMultKidsFilter(id)), 0u);
    EXPECT_EQ(m->Record().envelope, food);
    EXPECT_EQ(Balances(), "0 0 | 0 0 0");
    Store().Release(m);
    EXPECT_EQ(Store().FindRecord(id), nullptr);  // nothing left in it: freed
}

TEST_F(XItemTest, TransferHalvesMoveTogetherAndEraseTogether) {
    auto [from, to] = AccountTransfer(checking, savings, 10000);
    EXPECT_EQ(Balances(), "-10000 10000 | 0 0 0");
    TXItem* half = Store().GetItem(from);
    EXPECT_EQ(half->ExpandText("Transfer to ~t"), "Transfer to Savings");
    half->SetCellText(XColPayment, "25");
    EXPECT_EQ(Store().FindRecord(to)->amount, 2500);
    ExpectSound();

    half->Erase();
    EXPECT_EQ(Store().FindRecord(to), nullptr);  // the partner was erased and released
    EXPECT_EQ(Balances(), "0 0 | 0 0 0");
    Store().Release(half);
    ExpectSound();
}

TEST_F(XItemTest, TextCodesExpand) {
    uint32_t id = Typed(checking, food, XColPayment, "1");
    TXItem* row = Store().GetItem(id);
    const std::string x = std::to_string(id);
    EXPECT_EQ(row->ExpandText("~x"), x);
    EXPECT_EQ(row->ExpandText("~q"), "error");
    EXPECT_EQ(row->ExpandText("Pay ~a from ~e."), "Pay Checking from Food.");
    EXPECT_EQ(row->ExpandText("a~xb~xc~xd~xe"), "a" + x + "b" + x + "c" + x + "d");
    EXPECT_EQ(row->ExpandText("~~i users, at ~p; ~t ~c"), "1 users, at 1; no transfer 05/15/24");
    row->SetCellText(XColPayableTo, "#~x");
    EXPECT_EQ(row->PaintCell(XColPayableTo, 0).text, "#" + x);
    EXPECT_EQ(row->GetCellText(XColPayableTo), "#~x");
    Store().Release(row);
}

TEST_F(XItemTest, EmptyRowsLeaveNoRecordAndInertRowsTakeNoEdit) {
    TXItem* row = NewRow(XAccount, checking, food);
    uint32_t id = row->GetId();
    row->SetCellText(XColMemo, "only a memo");
    Store().Release(row);
    EXPECT_EQ(Store().FindRecord(id), nullptr);

    TXItem* inert = NewRow(XAccount | XInert, checking, food);
    inert->SetCellText(XColDeposit, "5");
    EXPECT_EQ(inert->Record().amount, 0);
    EXPECT_EQ(inert->GetCellText(XColAccount), "");
    EXPECT_EQ(inert->CreateEditor(XColPayableTo, 0), nullptr);
    Store().Release(inert);
}

TEST_F(XItemTest, NextNumberFollowsTheAccountsChecks) {
    for (auto [account, code] :
         {std::pair{checking, "101"}, {checking, "ATM"}, {checking, "99x"}, {savings, "500"}}) {
        TXItem* row = Store().GetItem(Typed(account, food, XColPayment, "1"));
        row->SetCellText(XColCode, code);
        Store().Release(row);
    }
    TXItem* row = NewRow(XAccount, checking, food);
    row->FillNextNumber();
    EXPECT_EQ(row->Record().GetCode(), "102");
    Store().Release(row);
}

}  // namespace
