#include "core/QuilletData.h"

#include <gtest/gtest.h>

#include "accounts/AccountList.h"
#include "envelopes/EnvelopeList.h"
#include "plan/XTemplateManager.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/Streams.h"
#include "transactions/XManager.h"

namespace {

using namespace streambytes;

// A placement: optional layout number, size, position, show state, open flag.
Bytes Placement(bool withLayout, int32_t w, int32_t h, int32_t x, int32_t y, uint32_t show,
                bool open) {
    return Cat({withLayout ? W32(1) : Bytes{}, W32(uint32_t(w)), W32(uint32_t(h)), W32(uint32_t(x)),
                W32(uint32_t(y)), W32(show), W32(open ? 1 : 0)});
}
const Bytes SomePlacements =
    Cat({Placement(true, 1, 2, 3, 4, 3, false), Placement(true, 5, 6, 7, 8, 2, true)});

// A document record of the class version: the three member pointers null, no templates (count
// 0, id table layout 1, growth 10, size 0), then the fields given and the record's end.
Bytes Document(uint32_t classVersion, const Bytes& fields) {
    // clang-format off
    return Cat({Header, {0x02, '['}, Str("TQuilletData"), W32(classVersion), {0x00, 0x00, 0x00},
                W32(0), W32(1), W32(10), W32(0), fields, {']'}});
    // clang-format on
}

class Observer : public TDocumentObserver {
public:
    std::vector<bool> seen;
    void ModifiedChanged(bool m) override { seen.push_back(m); }
};

TEST(QuilletDataTest, ReadsEveryDocumentVersion) {
    TDate today(5, 12, 2026);
    TDate::SetTodayForTesting(&today);

    // Version 5: placements with their layout number, date, marker 258, settings.
    // clang-format off
    Bytes v5 = Document(5, Cat({Placement(true, 300, 400, 10, 20, 3, true),   // envelopes
                                Placement(true, 310, 410, 11, 21, 1, false),  // accounts
                                {0x07, 0x03}, W32(2011),                      // 7 March 2011
                                W32(258), W16(2), W16(2),                     // settings: layout, count
                                Str("importer.IMPORTXALL"), Str("1"), W32(4),
                                Str("IMPORTER.importxall"), Str("0"), W32(4)}));
    // clang-format on
    int state = -1;
    auto doc = ReadAs<TQuilletData>(v5, &state);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(doc->EnvelopesPlacement().width, 300);
    EXPECT_EQ(doc->EnvelopesPlacement().y, 20);
    EXPECT_TRUE(doc->EnvelopesPlacement().open);
    EXPECT_EQ(doc->AccountsPlacement().show, 1);
    EXPECT_FALSE(doc->AccountsPlacement().open);
    EXPECT_EQ(doc->GetDate(), TDate(7, 3, 2011));
    EXPECT_EQ(doc->Settings().Count(), 2u);
    EXPECT_EQ(doc->Settings().GetString("Importer.ImportXAll", "", 4), "1");  // first one wins
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->IsFresh());

    // What we write reads back and writes again byte for byte. (The first write differs: a
    // fresh envelope root takes its id when it is first read.)
    auto again = ReadAs<TQuilletData>(WriteOne(doc.get()));
    ASSERT_NE(again, nullptr);
    auto third = ReadAs<TQuilletData>(WriteOne(again.get()));
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(WriteOne(again.get()), WriteOne(third.get()));
    EXPECT_EQ(again->Settings().Count(), 2u);
    EXPECT_EQ(again->Settings().Entries()[1].key, "IMPORTER.importxall");

    // Version 4: a legacy section after marker 257 (n = 0: the count, an int and one string),
    // and no settings list; then the same with entries: n times a word and a string.
    // clang-format off
    doc = ReadAs<TQuilletData>(Document(4, Cat({SomePlacements, {0x01, 0x02}, W32(2010),
                                W32(257), W32(0), W32(99), Str("C:\\old\\path.qlt")})), &state);
    // clang-format on
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(state, pstream::Good);  // the ']' was found right after the legacy section
    EXPECT_EQ(doc->AccountsPlacement().show, 2);
    EXPECT_EQ(doc->Settings().Count(), 0u);
    // clang-format off
    ReadAs<TQuilletData>(Document(4, Cat({SomePlacements, {0x01, 0x02}, W32(2010), W32(257), W32(2),
                          W32(17), Str("a.qlt"), W32(18), Str("b.qlt"), W32(0), Str("")})), &state);
    // clang-format on
    EXPECT_EQ(state, pstream::Good);

    // Version 2: no date (today), no marker.
    doc = ReadAs<TQuilletData>(Document(2, SomePlacements), &state);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(doc->GetDate(), today);

    // Version 1: placements in their first form, without the layout number.
    doc = ReadAs<TQuilletData>(Document(1, Cat({Placement(false, 100, 200, 30, 40, 3, true),
                                                Placement(false, 101, 201, 31, 41, 1, false)})),
                               &state);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(doc->EnvelopesPlacement().width, 100);
    EXPECT_TRUE(doc->EnvelopesPlacement().open);
    EXPECT_EQ(doc->AccountsPlacement().x, 31);
    EXPECT_EQ(doc->GetDate(), today);
    TDate::SetTodayForTesting(nullptr);
}

TEST(QuilletDataTest, NewerFilesAreRefusedWithTheirMessage) {
    TScriptedUI ui;
    Bytes v6 =
        Document(6, Cat({SomePlacements, {0x01, 0x02}, W32(2030), W32(258), W16(2), W16(0)}));
    try {
        ReadAs<TQuilletData>(v6);
        FAIL() << "a newer document must be refused";
    } catch (const TXBase& e) {
        EXPECT_STREQ(e.what(), "Attempt to open new format file.\n");
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Unable to Open File");
    EXPECT_EQ(ui.messages[0].text,
              "Quillet is unable to open this file.\n\nThe file was last edited with a newer "
              "version of the software.");
    EXPECT_EQ(ui.messages[0].icon, TMsgIcon::Stop);
}

TEST(QuilletDataTest, TruncatedFilesFailWithoutCrashing) {
    ExpectEveryTruncationFails<TQuilletData>(
        Document(5, Cat({SomePlacements, {0x07, 0x03}, W32(2011), W32(258), W16(2), W16(0)})));
}

TEST(QuilletDataTest, ModifiedStateIsReportedAndClearedBySaving) {
    Observer observer;
    TQuilletData::SetObserver(&observer);
    TQuilletData doc;
    TQuilletData::SetCurrent(&doc);
    EXPECT_TRUE(doc.IsFresh());
    doc.SetModified();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(WriteOne(&doc).empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.IsFresh());
    EXPECT_EQ(observer.seen, (std::vector<bool>{true, false}));
    TQuilletData::SetCurrent(nullptr);
    TQuilletData::SetObserver(nullptr);
}

}  // namespace
