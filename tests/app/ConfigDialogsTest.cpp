#include "app/ConfigDialogs.h"

#include <gtest/gtest.h>

#include <string>

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
    EXPECT_EQ(b.codeWidth, "10");
    EXPECT_EQ(b.payableToWidth, "35");
    EXPECT_EQ(b.memoWidth, "0");
    EXPECT_EQ(b.amountWidth, "11");
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
    EXPECT_EQ(o.codeWidth, 5u);
    EXPECT_EQ(o.payableToWidth, 50u);
    EXPECT_EQ(o.memoWidth, 20u);
    EXPECT_EQ(o.amountWidth, 14u);
    EXPECT_EQ(o.envelopeLabelWidth, 16u);
    EXPECT_EQ(o.accountLabelWidth, 29u);
    EXPECT_EQ(o.includeYear, 0);
    EXPECT_EQ(o.flyByMemo, 1);
    EXPECT_EQ(o.autoCorrectYear, 0);
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
    EXPECT_EQ(o.showStatusBar, 0);
    EXPECT_EQ(o.showControlBar, 1);
    EXPECT_EQ(o.reopenLastFile, 0);
    EXPECT_EQ(o.autoSaveMinutes, 0u);
    EXPECT_EQ(o.backupLevels, 99999u);
    EXPECT_EQ(o.confirmClearedOnClose, 1);
    EXPECT_EQ(o.confirmImportOnClose, 0);
    EXPECT_EQ(o.updateCheckDays, 365u);
}

TEST(ConfigDialogsTest, ListConfigurationsMapEachBoxToItsField) {
    TQuilletOptions o;
    TEnvelopeListConfigBuffer e = FillEnvelopeListConfig(o);
    EXPECT_TRUE(e.showRootBalance);
    EXPECT_FALSE(e.showAssociationBalances);
    e = {false, true, true, false};
    ApplyEnvelopeListConfig(e, o);
    EXPECT_EQ(o.envShowRootBalance, 0);
    EXPECT_EQ(o.envShowBundleBalances, 1);
    EXPECT_EQ(o.envShowAssociationBalances, 1);
    EXPECT_EQ(o.envShowEnvelopeBalances, 0);

    TAccountListConfigBuffer a = FillAccountListConfig(o);
    EXPECT_FALSE(a.showReconcileBalances);
    a = {false, true, false, true};
    ApplyAccountListConfig(a, o);
    EXPECT_EQ(o.actShowRootBalance, 0);
    EXPECT_EQ(o.actShowGroupBalances, 1);
    EXPECT_EQ(o.actShowAccountBalances, 0);
    EXPECT_EQ(o.actShowReconcileBalances, 1);
    EXPECT_EQ(o.envShowRootBalance, 0);  // the envelope list's fields were left alone
}
