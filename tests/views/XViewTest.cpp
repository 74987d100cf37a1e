#include <gtest/gtest.h>

#include "core/QuilletOptions.h"
#include "tests/transactions/XBudgetFixture.h"
#include "transactions/EditableFilter.h"
#include "views/XViewCommands.h"
#include "views/XViewList.h"

namespace {

using TXViewTest = xtest::XBudgetTest;

class XViewListTest : public xtest::XBudgetTest {
protected:
    // n transactions of the checking account on successive days, payable to "P0", "P1", ...
    void AddPayments(int n, int first = 0) {
        TXManager::TBulkPosting bulk(Store());
        for (int i = first; i < first + n; ++i) {
            TXItem* row = NewRow(XAccount, checking, food,
                                 TDate(1 + i % 28, 1 + i / 28 % 12, 2000 + i / 336));
            row->SetCellText(XColPayableTo, "P" + std::to_string(i));
            row->SetCellText(XColPayment, "1.00");
            Store().Release(row);
        }
    }
    std::unique_ptr<TXViewList> AccountList() {
        const TXViewSubject subject(doc, TXViewKind::Account, checking);
        auto list =
            std::make_unique<TXViewList>(Store(), subject.MakeFilter(), subject.BlankTemplate());
        list->SetRowsChanged([this](uint32_t row) { changes.push_back(row); });
        return list;
    }
    std::string Payee(TXViewList& list, uint32_t row) {
        return list.GetRow(row)->GetCellText(XColPayableTo);
    }
    // Slots in use that hold no committed record.
    uint32_t Uncommitted() {
        uint32_t n = 0;
        for (uint32_t p = 1; p <= Store().GetCount(); ++p)
            n += !Store().RecordAt(p).IsFree() && !Store().RecordAt(p).IsCommitted();
        return n;
    }
    std::vector<uint32_t> changes;
};

// A view's rows and commands over the budget, loaded as a view opens.
struct TViewRows {
    TXViewSubject subject;
    TXViewList list;
    TXViewCommands commands;

    TViewRows(TQuilletData& doc, TXViewKind kind, uint32_t id)
        : subject(doc, kind, id),
          list(doc.GetXManager(), subject.MakeFilter(), subject.BlankTemplate()),
          commands(kind, list, dynamic_cast<TEditableFilter*>(&list.GetFilter())) {
        list.LoadAtEnd();
    }
    TEditableFilter& Filter() { return dynamic_cast<TEditableFilter&>(list.GetFilter()); }
};

TEST_F(TXViewTest, ColumnsFollowTheOptions) {
    TQuilletOptions options;
    options.memoWidth = 0;
    options.includeYear = 0;
    auto ids = [&](TXViewKind kind) {
        std::vector<uint32_t> result;
        for (const TXViewColumn& c : TXViewSubject(doc, kind, 1).Columns(options))
            result.push_back(c.id);
        return result;
    };
    EXPECT_EQ(ids(TXViewKind::Account),
              (std::vector<uint32_t>{XColCode, XColDate, XColPayableTo, XColEnvelope,
                                     XColAccountCleared, XColPayment, XColDeposit}));
    options.memoWidth = 12;
    options.includeYear = 1;
    EXPECT_EQ(ids(TXViewKind::Envelope),
              (std::vector<uint32_t>{XColCode, XColDateYear, XColPayableTo, XColMemo,
                                     XColEnvelopeCleared, XColPayment, XColDeposit, XColAccount}));
    const std::vector<TXViewColumn> multiple =
        TXViewSubject(doc, TXViewKind::Multiple, 1).Columns(options);
    ASSERT_EQ(multiple.size(), 4u);
    EXPECT_EQ(multiple[0], (TXViewColumn{XColPayableTo, options.payableToWidth * 3 / 2}));
    EXPECT_EQ(multiple[1], (TXViewColumn{XColEnvelope, options.envelopeLabelWidth * 3 / 2}));
}

TEST_F(TXViewTest, TitlesTotalsAndBlankRows) {
    Typed(checking, food, XColPayment, "1234.56");
    const uint32_t split = Multiple(checking, {{food, -1000}, {rent, -500}});
    TXViewSubject account(doc, TXViewKind::Account, checking);
    EXPECT_EQ(account.Title(), "Account: Checking");
    EXPECT_EQ(account.TotalLabel(false), "Account Balance: ");
    EXPECT_EQ(account.TotalLabel(true), "Balance of Cleared Items: ");
    EXPECT_EQ(account.Total(false).Cents(), -124956);
    EXPECT_EQ(account.Total(true).Cents(), 0);
    const TXViewTotalText shown = FormatViewTotal(account.Total(false));
    EXPECT_EQ(shown.text, " (1,249.56)");
    EXPECT_TRUE(shown.negative);
    EXPECT_EQ(FormatViewTotal(TMoney(250)).text, " 2.50");

    TXViewSubject multiple(doc, TXViewKind::Multiple, split);
    EXPECT_EQ(multiple.Title(), "Multiple: Split from Checking");
    EXPECT_EQ(multiple.TotalLabel(true), "Multiple Total: ");
    EXPECT_EQ(multiple.Total(false).Cents(), -1500);
    EXPECT_TRUE(multiple.BlankTemplate().IsPart());
    EXPECT_EQ(multiple.BlankTemplate().parent, split);

    const TXRecord blank = account.BlankTemplate();
    EXPECT_EQ(blank.account, checking);
    EXPECT_EQ(blank.envelope, food);  // the account's default envelope
    EXPECT_EQ(blank.date, today.Key());
    EXPECT_EQ(TXViewSubject(doc, TXViewKind::Envelope, rent).BlankTemplate().flags,
              XNewEnvelopeRecord);
}

TEST_F(TXViewTest, CommandsFollowTheRowAndTheView) {
    Typed(checking, food, XColPayment, "10");
    TViewRows view(doc, TXViewKind::Account, checking);
    const uint32_t stored = 1, blank = 2;
    EXPECT_TRUE(view.commands.State(TXViewCommand::ClearToggle, stored).enabled);
    EXPECT_TRUE(view.commands.State(TXViewCommand::SelectEnvelope, blank).enabled);
    EXPECT_FALSE(view.commands.State(TXViewCommand::Delete, 0).enabled);  // no row

    // A multiple's view has no filter: its filter commands are not offered.
    const uint32_t split = Multiple(checking, {{food, -300}});
    TViewRows parts(doc, TXViewKind::Multiple, split);
    EXPECT_FALSE(parts.commands.State(TXViewCommand::EditFilter, 1).enabled);
    EXPECT_FALSE(parts.commands.State(TXViewCommand::ClearToggle, 1).enabled);
    EXPECT_FALSE(parts.commands.State(TXViewCommand::EditMemo, 1).enabled);  // a part

    // A preset switches on, with its check mark and the reconcile layout, and off again.
    EXPECT_EQ(view.commands.Run(TXViewCommand::ViewUnreconciledDeposits, stored),
              TXCommandOutcome::FilterChanged);
    EXPECT_TRUE(view.commands.State(TXViewCommand::ViewUnreconciledDeposits, 1).checked);
    EXPECT_FALSE(view.commands.State(TXViewCommand::ViewAllUnreconciled, 1).checked);
    EXPECT_TRUE(view.Filter().IsReconcileView());
    view.commands.Run(TXViewCommand::ViewUnreconciledDeposits, stored);
    EXPECT_FALSE(view.Filter().IsReconcileView());
}

TEST_F(TXViewTest, DeleteAndEraseAskFirst) {
    Typed(checking, food, XColPayment, "10");
    Typed(checking, food, XColPayment, "20");
    TViewRows view(doc, TXViewKind::Account, checking);
    ui.answers = {TMsgResult::No};
    EXPECT_EQ(view.commands.Run(TXViewCommand::Delete, 1), TXCommandOutcome::Nothing);
    EXPECT_EQ(Balance(checking), -3000);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Are you sure you want to delete this Transaction?");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Exclamation);

    ui.answers = {TMsgResult::Yes, TMsgResult::Yes};
    EXPECT_EQ(view.commands.Run(TXViewCommand::Delete, 1), TXCommandOutcome::RowsChanged);
    EXPECT_EQ(Balance(checking), -2000);
    EXPECT_EQ(view.commands.Run(TXViewCommand::Erase, 1), TXCommandOutcome::RowsChanged);
    EXPECT_EQ(ui.messages.back().text, "Are you sure you want to erase this Transaction?");
    EXPECT_EQ(Balance(checking), 0);
    ExpectSound();
}

TEST_F(TXViewTest, ClosingAsksAboutEnvelopeEntriesThatMoveNothing) {
    TViewRows view(doc, TXViewKind::Envelope, food);
    EXPECT_TRUE(view.commands.MayClose());
    EXPECT_TRUE(ui.messages.empty());
    view.list.GetRow(1)->SetCellText(XColDeposit, "10");
    ui.answers = {TMsgResult::No, TMsgResult::Yes};
    EXPECT_FALSE(view.commands.MayClose());
    EXPECT_EQ(ui.messages.back().icon, TMsgIcon::Stop);
    EXPECT_TRUE(view.commands.MayClose());
}

TEST_F(XViewListTest, LoadAtEndShowsTheLast125ThenBlankRowsAndScrolls) {
    AddPayments(400);
    auto list = AccountList();
    list->LoadAtEnd();
    EXPECT_EQ(list->GetUsedCount(), 125u);
    EXPECT_EQ(Payee(*list, 1), "P275");
    EXPECT_EQ(Payee(*list, 125), "P399");
    EXPECT_FALSE(list->GetRow(126)->Record().IsCommitted());
    EXPECT_EQ(list->GetRow(250)->Record().account, checking);
    EXPECT_EQ(Store().CountItemsOut(), 250u);  // the window, whatever the store holds

    EXPECT_EQ(list->ScrollUp(100), 100u);
    EXPECT_EQ(Payee(*list, 1), "P175");
    EXPECT_EQ(Payee(*list, 225), "P399");
    EXPECT_EQ(list->ScrollDown(150), 150u);  // the matches run out into new blank rows
    EXPECT_EQ(Payee(*list, 1), "P325");
    EXPECT_EQ(list->GetUsedCount(), 75u);
    EXPECT_EQ(Store().CountItemsOut(), 250u);

    const uint32_t first = list->GetFirstPosition();
    EXPECT_EQ(list->JumpTo(first), JumpTop);
    EXPECT_EQ(list->JumpTo(Store().GetCount() + 1), JumpEnd);
    EXPECT_EQ(list->JumpTo(first + 10), JumpStarts);
    EXPECT_EQ(Payee(*list, 1), Store().RecordAt(first + 10).GetPayableTo());
    EXPECT_EQ(list->GetPosition(1), first + 10);
    EXPECT_EQ(list->GetUsedCount(), 250u);
}

TEST_F(XViewListTest, BlankRowsLeaveNoRecordUnlessTypedInto) {
    auto list = AccountList();
    list->LoadAtEnd();
    EXPECT_EQ(list->GetUsedCount(), 0u);
    EXPECT_EQ(Uncommitted(), 250u);
    list->GetRow(1)->SetCellText(XColPayableTo, "Grocer");
    list->GetRow(1)->SetCellText(XColPayment, "12.50");
    EXPECT_EQ(Balance(checking), -1250);
    list->ReleaseRows();
    EXPECT_EQ(Uncommitted(), 0u);
    EXPECT_EQ(Store().Count(TAccountFilter(checking)), 1u);
    EXPECT_EQ(Store().CountItemsOut(), 0u);
    ExpectSound();
}

TEST_F(XViewListTest, StoreChangesReachTheWindow) {
    AddPayments(5);
    auto list = AccountList();
    list->LoadFrom(nullptr);
    list->GetRow(3)->SetCellText(XColMemo, "note");
    EXPECT_EQ(changes, std::vector<uint32_t>{3});

    // Deleting the first row reloads from the second.
    list->DeleteRow(1);
    EXPECT_EQ(changes.back(), 0u);
    EXPECT_EQ(Payee(*list, 1), "P1");
    EXPECT_EQ(Balance(checking), -400);

    // A record added elsewhere to the window's account reloads it; one of another account not.
    changes.clear();
    TXItem* other = NewRow(XAccount, savings, spare);
    other->SetCellText(XColDeposit, "3.00");
    Store().NotifyAdded(other);
    EXPECT_TRUE(changes.empty());
    TXItem* added = NewRow(XAccount, checking, food);
    added->SetCellText(XColDeposit, "7.00");
    Store().NotifyAdded(added);
    EXPECT_EQ(changes, std::vector<uint32_t>{0});
    EXPECT_EQ(list->RowOf(added), 5u);  // after P1 to P4
    Store().Release(added);
    Store().Release(other);
    EXPECT_FALSE(list->AnyRowMatches(TEnvelopeNoTransferFilter()));
    ExpectSound();
}

}  // namespace
