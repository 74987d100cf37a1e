#include "app/ConfigDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/QuilletConfig.h"

TEST(ConfigDialogsTest, LedgerWidthsAreClampedWithABeepOnFocusLoss) {
    using W = TLedgerWidth;
    struct Case {
        TLedgerWidth field;
        const char* typed;
        uint32_t value;
        bool beep;
    };
    // A negative number wraps to a huge unsigned one and lands on the maximum; only the first
    // ten characters count; 0 hides the memo.
    for (Case c : {Case{W::PayableTo, "60", 50, true},
                   {W::Code, "3", 5, true},
                   {W::Amount, " 12 ", 12, false},
                   {W::Memo, "0", 0, false},
                   {W::Memo, "51", 50, true},
                   {W::EnvelopeLabel, "abc", 15, true},
                   {W::AccountLabel, "31", 30, true},
                   {W::Code, "-1", 10, true},
                   {W::PayableTo, "00000000025", 20, true}}) {
        TWidthCheck check = CheckLedgerWidth(c.field, c.typed);
        EXPECT_EQ(check.value, c.value) << c.typed;
        EXPECT_EQ(check.text, std::to_string(c.value)) << c.typed;
        EXPECT_EQ(check.beep, c.beep) << c.typed;
    }
}

TEST(ConfigDialogsTest, TransactionViewSetupFillsAndAppliesInFieldOrder) {
    TQuilletOptions o;
    o.codeWidth = 99;  // out of range in the record: shown clamped
    o.includeYear = 1;
    TTransactionViewSetupBuffer b = FillTransactionViewSetup(o);
    EXPECT_EQ((std::vector<std::string>{b.codeWidth, b.payableToWidth, b.memoWidth, b.amountWidth}),
              (std::vector<std::string>{"10", "35", "0", "11"}));
    EXPECT_TRUE(b.includeYear);
    EXPECT_FALSE(b.flyByMemo);
    EXPECT_TRUE(b.autoCorrectYear);

    b.codeWidth = "3";
    b.payableToWidth = "60";
    b.memoWidth = "20";
    b.amountWidth = "14";
    b.envelopeLabelWidth = "16";
    b.accountLabelWidth = "29";
    b.includeYear = false;
    b.flyByMemo = true;
    b.autoCorrectYear = false;
    ApplyTransactionViewSetup(b, o);
    EXPECT_EQ((std::vector<uint32_t>{o.codeWidth, o.payableToWidth, o.memoWidth, o.amountWidth,
                                     o.envelopeLabelWidth, o.accountLabelWidth}),
              (std::vector<uint32_t>{5, 50, 20, 14, 16, 29}));
    EXPECT_EQ((std::vector<int>{o.includeYear, o.flyByMemo, o.autoCorrectYear}),
              (std::vector<int>{0, 1, 0}));
}

TEST(ConfigDialogsTest, MainConfigurationTakesUpToFiveDigits) {
    EXPECT_EQ(AcceptDigits("12a34567", MainConfigDigits), "12345");
    EXPECT_EQ(AcceptDigits("-x", MainConfigDigits), "");

    TQuilletOptions o;
    TMainConfigBuffer b = FillMainConfig(o);
    EXPECT_EQ(b.autoSaveMinutes, "5");
    EXPECT_EQ(b.updateCheckDays, "30");
    EXPECT_TRUE(b.reopenLastFile);
    b.showStatusBar = false;
    b.reopenLastFile = false;
    b.autoSaveMinutes = "";  // empty turns auto-save off
    b.backupLevels = "99999";
    b.confirmImportOnClose = false;
    b.updateCheckDays = "365";
    ApplyMainConfig(b, o);
    EXPECT_EQ((std::vector<int>{o.showStatusBar, o.showControlBar, o.reopenLastFile,
                                o.confirmClearedOnClose, o.confirmImportOnClose}),
              (std::vector<int>{0, 1, 0, 1, 0}));
    EXPECT_EQ((std::vector<uint32_t>{o.autoSaveMinutes, o.backupLevels, o.updateCheckDays}),
              (std::vector<uint32_t>{0, 99999, 365}));
}

TEST(ConfigDialogsTest, ListConfigurationsMapEachBoxToItsField) {
    TQuilletOptions o;
    TEnvelopeListConfigBuffer e = FillEnvelopeListConfig(o);
    EXPECT_TRUE(e.showRootBalance);
    EXPECT_FALSE(e.showAssociationBalances);
    e = {false, true, true, false};
    ApplyEnvelopeListConfig(e, o);
    EXPECT_EQ((std::vector<int>{o.envShowRootBalance, o.envShowBundleBalances,
                                o.envShowAssociationBalances, o.envShowEnvelopeBalances}),
              (std::vector<int>{0, 1, 1, 0}));

    TAccountListConfigBuffer a = FillAccountListConfig(o);
    EXPECT_FALSE(a.showReconcileBalances);
    a = {false, true, false, true};
    ApplyAccountListConfig(a, o);
    EXPECT_EQ((std::vector<int>{o.actShowRootBalance, o.actShowGroupBalances,
                                o.actShowAccountBalances, o.actShowReconcileBalances}),
              (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(o.envShowRootBalance, 0);  // the envelope list's fields were left alone
}
