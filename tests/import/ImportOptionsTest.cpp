#include "import/ImportOptions.h"

#include <gtest/gtest.h>

#include "core/SettingsList.h"

TEST(ImportOptionsTest, FallbackToTheConfigurationIsCopiedIntoTheBudget) {
    TSettingsList budget, config;
    // The configuration has some options for account 12 and some for another account.
    config.SetInt("importer.IMPORTXALL", 1, 12);
    config.SetString("importer.IMPORTXCODEPOS", "DEP", 12);
    config.SetInt("importer.IMPORTXENVELOPE", 77, 13);
    // A budget entry under another account does not count for account 12.
    budget.SetInt("importer.IMPORTXAUTOMATIC", 0, 13);
    int modified = 0;
    TImportOptions o = LoadImportOptions(budget, config, 12, 5, [&] { ++modified; });
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(o.automatic, 1);
    EXPECT_EQ(o.all, 1);
    EXPECT_EQ(o.onlyNewer, 1);
    EXPECT_EQ(o.onlyNewerDate, TDate(1, 1, 2000));
    EXPECT_EQ(o.envelope, 5u);  // the account's default envelope
    EXPECT_EQ(o.copyPayableTo, 0);
    EXPECT_EQ(o.ignoreCheckNo, 0);
    EXPECT_EQ(o.codePos, "DEP");
    EXPECT_EQ(o.codeNeg, "debit");

    // Every option now stands in the budget under the account, dates packed as "%d".
    EXPECT_EQ(budget.Count(), 10u);
    EXPECT_EQ(budget.GetString("importer.IMPORTXAUTOMATIC", "", 12), "1");
    EXPECT_EQ(budget.GetString("importer.IMPORTXONLYNEWERDATE", "", 12), "131072257");
    EXPECT_EQ(budget.GetString("importer.IMPORTXENVELOPE", "", 12), "5");
    EXPECT_EQ(budget.GetString("importer.IMPORTIGNORECHECKNO", "", 12), "0");
    EXPECT_EQ(budget.GetString("importer.IMPORTXCODENEG", "", 12), "debit");
    EXPECT_EQ(config.Count(), 3u);  // never written to the configuration

    // The next load takes the budget's options and changes nothing.
    budget.SetInt("importer.IMPORTXAUTOMATIC", 0, 12);
    config.SetInt("importer.IMPORTXALL", 0, 12);
    TImportOptions again = LoadImportOptions(budget, config, 12, 6, [&] { ++modified; });
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(again.automatic, 0);
    EXPECT_EQ(again.all, 1);
    EXPECT_EQ(again.envelope, 5u);
}

TEST(ImportOptionsTest, StoredOptionsComeBackAndMarkModified) {
    TSettingsList budget, config;
    TImportOptions o;
    o.automatic = 0;
    o.all = 1;
    o.onlyNewer = 0;
    o.onlyNewerDate = TDate(28, 2, 2012);
    o.envelope = 0x80000001u;  // ids beyond the signed range survive the "%d" text
    o.copyPayableTo = 1;
    o.ignoreCheckNo = 1;
    o.codePos = "IN";
    o.codeNeg = "OUT";
    int modified = 0;
    StoreImportOptions(budget, 0xFFFFFFFEu, o, [&] { ++modified; });
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(budget.Entries().front().qualifier, -2);
    EXPECT_EQ(budget.GetString("importer.IMPORTXONLYNEWERDATE", "", -2),
              std::to_string((2012 << 16) | (2 << 8) | 28));

    TImportOptions back = LoadImportOptions(budget, config, 0xFFFFFFFEu, 9, [&] { ++modified; });
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(back.all, 1);
    EXPECT_EQ(back.onlyNewer, 0);
    EXPECT_EQ(back.onlyNewerDate, TDate(28, 2, 2012));
    EXPECT_EQ(back.envelope, 0x80000001u);
    EXPECT_EQ(back.copyPayableTo, 1);
    EXPECT_EQ(back.ignoreCheckNo, 1);
    EXPECT_EQ(back.codeNeg, "OUT");

    // Storing again replaces the values instead of adding entries.
    size_t count = budget.Count();
    o.codePos = std::string(25, 'c');
    StoreImportOptions(budget, 0xFFFFFFFEu, o, nullptr);
    EXPECT_EQ(budget.Count(), count);
    EXPECT_EQ(LoadImportOptions(budget, config, 0xFFFFFFFEu, 9, nullptr).codePos.size(), 19u);
}
