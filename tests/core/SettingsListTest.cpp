#include "core/SettingsList.h"

#include <gtest/gtest.h>

#include "core/ObjectStream.h"
#include "tests/support/Streams.h"

using namespace streambytes;

TEST(SettingsListTest, KeysIgnoreCaseQualifiersSeparateAndNumbersReadLeadingDigits) {
    TSettingsList list;
    list.SetString("AllocPlanDlg.Width", "500");
    list.SetString("allocplandlg.WIDTH", "640");  // the same entry
    list.SetInt("importer.IMPORTXALL", 1, 7);
    list.SetInt("importer.IMPORTXALL", 0, 8);
    list.SetInt("importer.importxall", -3, 7);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Entries()[0].key, "AllocPlanDlg.Width");  // the first spelling stays
    EXPECT_EQ(list.GetString("ALLOCPLANDLG.width", "x"), "640");
    EXPECT_EQ(list.GetString("AllocPlanDlg.Width", "x", 7), "x");
    EXPECT_EQ(list.GetInt("importer.IMPORTXALL", 99, 7), -3);
    EXPECT_EQ(list.GetInt("importer.IMPORTXALL", 99, 8), 0);
    EXPECT_EQ(list.GetInt("importer.IMPORTXALL", 99, 0), 99);
    EXPECT_EQ(list.GetInt("importer.IMPORTXALL", -99, 9), -99);
    EXPECT_EQ(list.Entries()[1].value, "-3");
    // Numbers are read by their leading digits; the default goes through the same text.
    list.SetString("n", " 12abc");
    list.SetString("t", "abc");
    EXPECT_EQ(list.GetInt("n", 5), 12);
    EXPECT_EQ(list.GetInt("t", 5), 0);
}

TEST(SettingsListTest, StreamFormAndDuplicatesKeepingTheFirst) {
    TSettingsList list;
    list.SetString("EnvAct.ColAlloc", "1");
    list.SetString("k", "v", -2);
    omemstream os;
    list.Write(os);
    // clang-format off
    Bytes expected = Cat({Header, {2, 0}, {2, 0},  // layout 2, two entries
                          Str("EnvAct.ColAlloc"), Str("1"), W32(0),
                          Str("k"), Str("v"), {0xFE, 0xFF, 0xFF, 0xFF}});
    // clang-format on
    EXPECT_EQ(os.bytes(), expected);

    // Written elsewhere with the same key twice: both are kept, the first one answers.
    // clang-format off
    Bytes dup = Cat({Header, W16(2), W16(3), Str("Key"), Str("first"), W32(4),
                     Str("KEY"), Str("second"), W32(4), Str("key"), Str("other"), W32(5)});
    // clang-format on
    imemstream is(dup);
    TSettingsList read;
    read.SetString("stale", "gone");
    read.Read(is);
    EXPECT_TRUE(is.good());
    ASSERT_EQ(read.Count(), 3u);
    EXPECT_EQ(read.GetString("key", "", 4), "first");
    EXPECT_EQ(read.GetString("key", "", 5), "other");
    EXPECT_EQ(read.GetString("stale", "none"), "none");
    read.SetString("kEy", "changed", 4);  // changes the first of the two
    EXPECT_EQ(read.Entries()[0].value, "changed");
    EXPECT_EQ(read.Entries()[1].value, "second");
}

TEST(SettingsListTest, LayoutOneHasNoQualifiers) {
    Bytes bytes = Cat({Header, {1, 0}, {2, 0}, Str("a"), Str("1"), Str("b"), Str("2"), {0xAA}});
    imemstream is(bytes);
    TSettingsList list;
    list.Read(is);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.GetInt("b", 0), 2);
    EXPECT_EQ(list.Entries()[1].qualifier, 0);
    EXPECT_EQ(is.readByte(), 0xAA);  // nothing more was consumed
}

TEST(SettingsListTest, DamagedListsStopAtTheFailure) {
    // A count far beyond what the data holds: the entries that are there, then a failed stream.
    Bytes shortList = Cat({Header, {2, 0}, {0xFF, 0xFF}, Str("a"), Str("1"), W32(0), Str("b")});
    imemstream is(shortList);
    TSettingsList list;
    list.Read(is);
    EXPECT_EQ(is.rdstate(), pstream::Failed);
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.GetString("a", ""), "1");

    // Key and value hold at most 1023 characters.
    Bytes fits = Cat({Header, {2, 0}, {1, 0}, Str(std::string(1023, 'k')), Str("v"), W32(0)});
    imemstream ok(fits);
    list.Read(ok);
    EXPECT_TRUE(ok.good());
    EXPECT_EQ(list.Entries().at(0).key.size(), 1023u);

    Bytes tooLong = Cat({Header, {2, 0}, {1, 0}, Str("k"), Str(std::string(1024, 'v')), W32(0)});
    imemstream bad(tooLong);
    TSettingsList other;
    other.Read(bad);
    EXPECT_FALSE(bad.good());
    EXPECT_EQ(other.Count(), 0u);
}
