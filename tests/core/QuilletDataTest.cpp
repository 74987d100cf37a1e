#include "core/QuilletData.h"

#include <gtest/gtest.h>

#include "accounts/AccountList.h"
#include "envelopes/EnvelopeList.h"
#include "plan/XTemplateManager.h"
#include "tests/support/ScriptedUI.h"
#include "transactions/XManager.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutStr(Bytes& b, const std::string& s) {
    Put32(b, static_cast<uint32_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}

// The document record up to its fields, with the three member pointers null and no templates.
Bytes DocumentStart(uint32_t classVersion) {
    Bytes b = {0x3A, 0x01, 0x01, 0x00, 0x00, 0x02, '['};
    PutStr(b, "TQuilletData");
    Put32(b, classVersion);
    b.insert(b.end(), {0x00, 0x00, 0x00});  // envelope list, account list, manager: none
    Put32(b, 0);                            // templates: count 0
    Put32(b, 1);                            // their id table: layout 1
    Put32(b, 10);                           // growth
    Put32(b, 0);                            // size
    return b;
}

void PutPlacement(Bytes& b, bool withLayout, int32_t w, int32_t h, int32_t x, int32_t y,
                  uint32_t show, bool open) {
    if (withLayout) Put32(b, 1);
    Put32(b, static_cast<uint32_t>(w));
    Put32(b, static_cast<uint32_t>(h));
    Put32(b, static_cast<uint32_t>(x));
    Put32(b, static_cast<uint32_t>(y));
    Put32(b, show);
    Put32(b, open ? 1 : 0);
}

std::unique_ptr<TQuilletData> Load(const Bytes& b, int* state = nullptr) {
    RegisterQuilletClasses();
    imemstream is(b);
    TQuilletData* doc = nullptr;
    is >> doc;
    if (state) *state = is.rdstate();
    return std::unique_ptr<TQuilletData>(doc);
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
    Bytes v5 = DocumentStart(5);
    PutPlacement(v5, true, 300, 400, 10, 20, 3, true);   // envelopes
    PutPlacement(v5, true, 310, 410, 11, 21, 1, false);  // accounts
    v5.insert(v5.end(), {0x07, 0x03});                   // 7 March
    Put32(v5, 2011);
    Put32(v5, 258);
    v5.insert(v5.end(), {0x02, 0x00, 0x02, 0x00});  // settings layout 2, two entries
    PutStr(v5, "importer.IMPORTXALL");
    PutStr(v5, "1");
    Put32(v5, 4);
    PutStr(v5, "IMPORTER.importxall");
    PutStr(v5, "0");
    Put32(v5, 4);
    v5.push_back(']');
    int state = -1;
    auto doc = Load(v5, &state);
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
    omemstream os;
    os << doc.get();
    auto again = Load(os.bytes());
    ASSERT_NE(again, nullptr);
    omemstream os2;
    os2 << again.get();
    auto third = Load(os2.bytes());
    ASSERT_NE(third, nullptr);
    omemstream os3;
    os3 << third.get();
    EXPECT_EQ(os2.bytes(), os3.bytes());
    EXPECT_EQ(again->Settings().Count(), 2u);
    EXPECT_EQ(again->Settings().Entries()[1].key, "IMPORTER.importxall");

    // Version 4: a legacy section after marker 257 (n = 0: the count, an int and one string),
    // and no settings list.
    Bytes v4 = DocumentStart(4);
    PutPlacement(v4, true, 1, 2, 3, 4, 3, false);
    PutPlacement(v4, true, 5, 6, 7, 8, 2, true);
    v4.insert(v4.end(), {0x01, 0x02});
    Put32(v4, 2010);
    Put32(v4, 257);
    Put32(v4, 0);   // n
    Put32(v4, 99);  // the int
    PutStr(v4, "C:\\old\\path.qlt");
    v4.push_back(']');
    doc = Load(v4, &state);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(state, pstream::Good);  // the ']' was found right after the legacy section
    EXPECT_EQ(doc->AccountsPlacement().show, 2);
    EXPECT_EQ(doc->Settings().Count(), 0u);

    // Legacy section with entries: n times a word and a string.
    Bytes v4b = DocumentStart(4);
    PutPlacement(v4b, true, 1, 2, 3, 4, 3, false);
    PutPlacement(v4b, true, 5, 6, 7, 8, 3, false);
    v4b.insert(v4b.end(), {0x01, 0x02});
    Put32(v4b, 2010);
    Put32(v4b, 257);
    Put32(v4b, 2);
    Put32(v4b, 17);
    PutStr(v4b, "a.qlt");
    Put32(v4b, 18);
    PutStr(v4b, "b.qlt");
    Put32(v4b, 0);
    PutStr(v4b, "");
    v4b.push_back(']');
    Load(v4b, &state);
    EXPECT_EQ(state, pstream::Good);

    // Version 2: no date (today), no marker.
    Bytes v2 = DocumentStart(2);
    PutPlacement(v2, true, 1, 2, 3, 4, 3, false);
    PutPlacement(v2, true, 5, 6, 7, 8, 3, false);
    v2.push_back(']');
    doc = Load(v2, &state);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(doc->GetDate(), today);

    // Version 1: placements in their first form, without the layout number.
    Bytes v1 = DocumentStart(1);
    PutPlacement(v1, false, 100, 200, 30, 40, 3, true);
    PutPlacement(v1, false, 101, 201, 31, 41, 1, false);
    v1.push_back(']');
    doc = Load(v1, &state);
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
    Bytes v6 = DocumentStart(6);
    PutPlacement(v6, true, 1, 2, 3, 4, 3, false);
    PutPlacement(v6, true, 5, 6, 7, 8, 3, false);
    v6.insert(v6.end(), {0x01, 0x02});
    Put32(v6, 2030);
    Put32(v6, 258);
    v6.insert(v6.end(), {0x02, 0x00, 0x00, 0x00});
    v6.push_back(']');
    try {
        Load(v6);
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
    Bytes v5 = DocumentStart(5);
    PutPlacement(v5, true, 300, 400, 10, 20, 3, true);
    PutPlacement(v5, true, 310, 410, 11, 21, 1, false);
    v5.insert(v5.end(), {0x07, 0x03});
    Put32(v5, 2011);
    Put32(v5, 258);
    v5.insert(v5.end(), {0x02, 0x00, 0x00, 0x00, ']'});
    for (size_t cut = 0; cut < v5.size(); ++cut) {
        Bytes part(v5.begin(), v5.begin() + static_cast<long>(cut));
        int state = 0;
        auto doc = Load(part, &state);
        EXPECT_NE(state, pstream::Good) << "cut at " << cut;
    }
}

TEST(QuilletDataTest, ModifiedStateIsReportedAndClearedBySaving) {
    Observer observer;
    TQuilletData::SetObserver(&observer);
    TQuilletData doc;
    TQuilletData::SetCurrent(&doc);
    EXPECT_TRUE(doc.IsFresh());
    doc.SetModified();
    EXPECT_TRUE(doc.IsModified());
    RegisterQuilletClasses();
    omemstream os;
    os << &doc;
    EXPECT_TRUE(os.good());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.IsFresh());
    EXPECT_EQ(observer.seen, (std::vector<bool>{true, false}));
    TQuilletData::SetCurrent(nullptr);
    TQuilletData::SetObserver(nullptr);
}

}  // namespace
