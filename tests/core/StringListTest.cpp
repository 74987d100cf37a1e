#include <gtest/gtest.h>

#include "core/IdObjectList.h"
#include "core/TarnStringList.h"

namespace {

TEST(StringListTest, FindRemoveAndComplete) {
    TTarnStringList list;
    for (const char* s : {"Checking", "Savings", "Checking", "checking"})
        list.Add(s);
    EXPECT_EQ(list.Find("checking"), 4u);  // byte for byte
    list.Remove("Checking");               // every copy
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.GetAt(1), "Savings");
    EXPECT_EQ(list.GetAt(3), "");

    TTarnStringList names;
    names.Add("Checking");
    names.Add("Savings");
    EXPECT_EQ(names.Complete("sav"), (TCompletion{3, 2}));
    EXPECT_EQ(names.Complete("xyz"), (TCompletion{0, 0}));
    EXPECT_EQ(names.Complete("Checking"), (TCompletion{8, 1}));
    EXPECT_EQ(names.Complete("Savx"), (TCompletion{3, 2}));  // typed too far

    // An exact match wins over an earlier element that only starts alike.
    TTarnStringList near;
    near.Add("Cash Box");
    near.Add("Cash");
    EXPECT_EQ(near.Complete("Cash"), (TCompletion{4, 2}));
    EXPECT_EQ(near.Complete("cash"), (TCompletion{4, 1}));
}

TEST(StringListTest, CaseFoldingCopiesAndKinds) {
    EXPECT_TRUE(SameTextNoCase("\xC9pargne", "\xE9PARGNE"));  // Windows-1252 accented letters
    EXPECT_FALSE(SameTextNoCase("\xD7", "\xF7"));             // the signs between them are not
    char buffer[6];
    CopyToBuffer(buffer, sizeof buffer, "Groceries");
    EXPECT_STREQ(buffer, "Groce");

    TAccountTypeList kinds;
    EXPECT_EQ(kinds.FindId("checking"), 1u);
    EXPECT_EQ(kinds.FindId("Electronic CASH"), 4u);
    EXPECT_EQ(kinds.FindId("Mattress"), 6u);
    char name[16] = "keep";
    kinds.GetName(name, sizeof name, 7);
    EXPECT_STREQ(name, "keep");  // an unknown kind leaves the buffer alone
    kinds.GetName(name, sizeof name, 2);
    EXPECT_STREQ(name, "Savings");

    static const char* const texts[] = {"Weekly", "Monthly", nullptr};
    TSimpleIdObjectList periods(texts);
    EXPECT_EQ(periods.FindId("MONTHLY"), 2u);
    EXPECT_EQ(periods.GetName(3), "");  // beyond the last text: empty
}

}  // namespace
