#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/IdObjectList.h"
#include "core/TarnStringList.h"

namespace {

TEST(StringListTest, FindRemoveAndPositions) {
    TTarnStringList list;
    list.Add("Rent");
    list.Add("Food");
    list.Add("Rent");
    list.Add("rent");
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Find("Rent"), 1u);
    EXPECT_EQ(list.Find("rent"), 4u);  // byte for byte
    EXPECT_EQ(list.Find("Fuel"), 0u);
    EXPECT_EQ(list.GetAt(2), "Food");
    EXPECT_EQ(list.GetAt(0), "");
    EXPECT_EQ(list.GetAt(5), "");

    list.Remove("Rent");  // every copy, and only the exact text
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.GetAt(1), "Food");
    EXPECT_EQ(list.GetAt(2), "rent");
}

TEST(StringListTest, CompleteConfirmsTheLongestMatchingPrefix) {
    TTarnStringList list;
    list.Add("Checking");
    list.Add("Savings");
    EXPECT_EQ(list.Complete("sav"), (TCompletion{3, 2}));
    EXPECT_EQ(list.Complete("xyz"), (TCompletion{0, 0}));
    EXPECT_EQ(list.Complete("Checking"), (TCompletion{8, 1}));
    // Typed too far: the prefix that still matches is confirmed.
    EXPECT_EQ(list.Complete("Savx"), (TCompletion{3, 2}));
    EXPECT_EQ(list.Complete("checkingz"), (TCompletion{8, 1}));
    EXPECT_EQ(list.Complete(""), (TCompletion{0, 0}));

    // An exact match wins over an earlier element that merely starts alike.
    TTarnStringList near;
    near.Add("Cash Box");
    near.Add("Cash");
    EXPECT_EQ(near.Complete("Cash"), (TCompletion{4, 2}));
    EXPECT_EQ(near.Complete("cash"), (TCompletion{4, 1}));  // not exact: first prefix match

    TTarnStringList empty;
    EXPECT_EQ(empty.Complete("a"), (TCompletion{0, 0}));
}

TEST(StringListTest, CaseFoldingAndBufferCopies) {
    EXPECT_TRUE(SameTextNoCase("Electronic Cash", "ELECTRONIC cash"));
    EXPECT_FALSE(SameTextNoCase("Cash", "Cash "));
    EXPECT_TRUE(SameTextNoCase("\xC9pargne", "\xE9PARGNE"));  // E acute, Windows-1252
    EXPECT_TRUE(SameTextNoCase("\x8A", "\x9A"));              // S caron
    EXPECT_FALSE(SameTextNoCase("\xD7", "\xF7"));             // multiplication and division signs

    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    CopyToBuffer(buffer, sizeof buffer, "Groceries");
    EXPECT_STREQ(buffer, "Groce");
    CopyToBuffer(buffer, 1, "abc");
    EXPECT_STREQ(buffer, "");
    CopyToBuffer(buffer, 0, "abc");  // no room at all: untouched
    EXPECT_STREQ(buffer, "");
}

TEST(StringListTest, AccountKinds) {
    TAccountTypeList kinds;
    EXPECT_EQ(kinds.FindId("checking"), 1u);
    EXPECT_EQ(kinds.FindId("ELECTRONIC CASH"), 4u);
    EXPECT_EQ(kinds.FindId("Credit"), 5u);
    EXPECT_EQ(kinds.FindId("Investment"), 6u);
    EXPECT_EQ(kinds.FindId("Mattress"), 6u);

    auto names = kinds.GetStringList(0);
    ASSERT_EQ(names->Count(), 6u);
    EXPECT_EQ(names->GetAt(1), "Checking");
    EXPECT_EQ(names->GetAt(6), "Investment");

    char buffer[8] = "keep";
    kinds.GetName(buffer, sizeof buffer, 7);
    EXPECT_STREQ(buffer, "keep");  // unknown kinds leave the buffer alone
    kinds.GetName(buffer, sizeof buffer, 0);
    EXPECT_STREQ(buffer, "keep");
    kinds.GetName(buffer, sizeof buffer, 4);
    EXPECT_STREQ(buffer, "Electro");
    EXPECT_EQ(kinds.GetName(2), "Savings");
}

TEST(StringListTest, SimpleIdListsNumberTheirTexts) {
    static const char* const texts[] = {"Weekly", "Monthly", "Yearly", nullptr};
    TSimpleIdObjectList list(texts);
    EXPECT_EQ(list.FindId("monthly"), 2u);
    EXPECT_EQ(list.FindId("Daily"), 0u);
    EXPECT_EQ(list.GetName(3), "Yearly");
    char buffer[16] = "keep";
    list.GetName(buffer, sizeof buffer, 4);
    EXPECT_STREQ(buffer, "");  // beyond the last text: empty
    std::strcpy(buffer, "keep");
    list.GetName(buffer, sizeof buffer, 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(list.GetStringList(0)->Count(), 3u);

    TSimpleIdObjectList none(nullptr);
    EXPECT_EQ(none.FindId("x"), 0u);
    EXPECT_EQ(none.GetStringList(0)->Count(), 0u);
}

}  // namespace
