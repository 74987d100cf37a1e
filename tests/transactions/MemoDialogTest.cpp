#include "transactions/MemoDialog.h"

#include <optional>

#include "tests/transactions/XBudgetFixture.h"

namespace {

// Answers each opening with the memo given, or cancels when none is.
class TScriptedMemoDialogs : public TMemoDialogPort {
public:
    std::optional<std::string> answer;
    std::vector<std::string> shown;
    bool EditMemo(TMemoBuffer& b) override {
        shown.push_back(b.memo);
        if (!answer) return false;
        b.memo = *answer;
        return true;
    }

private:
    TPortInstall<TMemoDialogPort> installed{MemoDialogs, *this};
};

class MemoDialogTest : public xtest::XBudgetTest {};

TEST_F(MemoDialogTest, StoresTheMemoOnlyOnOkAndNeverOnAPart) {
    TScriptedMemoDialogs dialogs;
    const uint32_t id = Typed(checking, food, XColPayment, "12.00");
    TXItem* row = Store().GetItem(id);
    row->SetCellText(XColMemo, "old");

    EXPECT_FALSE(EditMemo(*row));
    EXPECT_EQ(Store().FindRecord(id)->GetMemo(), "old");

    dialogs.answer = std::string(120, 'm');
    EXPECT_TRUE(EditMemo(*row));
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"old", "old"}));
    EXPECT_EQ(Store().FindRecord(id)->GetMemo(), std::string(89, 'm'));
    Store().Release(row);

    const uint32_t multiple = Multiple(checking, {{food, -500}});
    TXItem* part = Store().GetItem(multiple + 1);
    ASSERT_TRUE(part && part->Record().IsPart());
    EXPECT_FALSE(CanEditMemo(*part));
    EXPECT_FALSE(EditMemo(*part));
    EXPECT_EQ(dialogs.shown.size(), 2u);
    Store().Release(part);
    ExpectSound();
}

}  // namespace
