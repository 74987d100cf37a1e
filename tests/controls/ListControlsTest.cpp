#include "controls/ListControls.h"

#include <gtest/gtest.h>

#include "core/IdObjectList.h"
#include "core/TarnStringList.h"

namespace {

const char* const Names[] = {"Checking", "Savings", "Cash", nullptr};

TTarnStringList Envelopes() {
    TTarnStringList list;
    for (const char* name : {"Food", "Gas", "Gifts", "Rent"})
        list.Add(name);
    return list;
}

TEST(IdControlTest, ShowsTheIdOrTheDefaultOrTheFirstEntry) {
    TSimpleIdObjectList list(Names);
    auto names = list.GetStringList(0);
    EXPECT_EQ(IdControlPosition(list, *names, 2, 3), 2u);
    EXPECT_EQ(IdControlPosition(list, *names, 0, 3), 3u);
    EXPECT_EQ(IdControlPosition(list, *names, 0, 0), 1u);
    // An id without a name selects nothing, and so does an empty list.
    EXPECT_EQ(IdControlPosition(list, *names, 9, 0), 0u);
    TTarnStringList none;
    EXPECT_EQ(IdControlPosition(list, none, 0, 0), 0u);

    EXPECT_EQ(IdControlId(list, "savings"), 2u);
    EXPECT_EQ(IdControlId(list, ""), 0u);
    // Only what the control reads of its text counts.
    EXPECT_EQ(IdControlId(list, "Cash" + std::string(1020, ' ') + "x"), 0u);
}

TEST(IdControlTest, ChooserFallsBackToTheFirstEntry) {
    TSimpleIdObjectList list(Names);
    auto names = list.GetStringList(0);
    EXPECT_EQ(ChooserPosition(list, *names, 3), 3u);
    EXPECT_EQ(ChooserPosition(list, *names, 0), 1u);
    EXPECT_EQ(ChooserPosition(list, *names, 7), 1u);
    TTarnStringList none;
    EXPECT_EQ(ChooserPosition(list, none, 3), 0u);
}

TEST(CompleteTypedTest, CompletesWhatIsBeforeTheCaret) {
    TTarnStringList list;
    list.Add("Checking");
    list.Add("Savings");
    EXPECT_EQ(CompleteTyped(list, 0, "sav", 3), (TCompletedText{"Savings", 3}));
    // A character that continues no entry is refused: the caret stays after what matched.
    EXPECT_EQ(CompleteTyped(list, 0, "Savxings", 4), (TCompletedText{"Savings", 3}));
    // Backspace over a completed text moves the caret back within the same entry.
    EXPECT_EQ(CompleteTyped(Envelopes(), 0, "Gfts", 1), (TCompletedText{"Gas", 1}));
    EXPECT_EQ(CompleteTyped(Envelopes(), 0, "Gi", 2), (TCompletedText{"Gifts", 2}));
    // Only the text before the caret counts.
    EXPECT_EQ(CompleteTyped(Envelopes(), 0, "Rxyz", 1), (TCompletedText{"Rent", 1}));
}

TEST(CompleteTypedTest, NoMatchShowsTheDefaultEntryOrKeepsTheText) {
    TTarnStringList list = Envelopes();
    EXPECT_EQ(CompleteTyped(list, 2, "xyz", 3), (TCompletedText{"Gas", 0}));
    EXPECT_EQ(CompleteTyped(list, 2, "", 0), (TCompletedText{"Gas", 0}));
    EXPECT_EQ(CompleteTyped(list, 2, "Food", 0), (TCompletedText{"Gas", 0}));
    EXPECT_EQ(CompleteTyped(list, 0, "xyz", 3), std::nullopt);
    EXPECT_EQ(CompleteTyped(list, 0, "", 0), std::nullopt);
    EXPECT_EQ(CompleteTyped(list, 9, "xyz", 3), std::nullopt);

    EXPECT_EQ(StringListPosition(list, 2, "Rent"), 4u);
    EXPECT_EQ(StringListPosition(list, 2, "rent"), 2u);  // a plain list compares byte for byte
    EXPECT_EQ(StringListPosition(list, 0, "Other"), 0u);
}

}  // namespace
