#include "import/StatementFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "import/OfxReader.h"
#include "import/QifReader.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

bool IsQif(const fs::path& file) {
    return file.extension() == ".qif";
}

// What every read item must look like, whatever the file held.
void ExpectWellFormed(const std::vector<TImportItem>& items, const fs::path& file) {
    for (const auto& item : items) {
        EXPECT_TRUE(item.date.IsValid() || item.date == TDate()) << file;
        EXPECT_EQ(item.matched, 0u) << file;
        for (const std::string* text : {&item.name, &item.memo, &item.number})
            EXPECT_EQ(text->find_first_of("\r\n"), std::string::npos) << file;
    }
}

TEST(StatementFileTest, EveryPublicSampleReads) {
    fs::path folder = fs::path(QUILLET_SHARED_TESTDATA_DIR) / "statements";
    if (!fs::is_directory(folder)) GTEST_SKIP() << "no shared statements at " << folder;
    size_t files = 0, withItems = 0, total = 0;
    for (const fs::path& file : FilesUnder(folder)) {
        if (file.extension() == ".md") continue;
        std::vector<TImportItem> items;
        // Read each file both ways: the wrong reader must cope as well as the right one.
        std::vector<TImportItem> other;
        TStatementFileStatus status =
            IsQif(file) ? ReadQifFile(file.string(), items) : ReadOfxFile(file.string(), items);
        TStatementFileStatus otherStatus =
            IsQif(file) ? ReadOfxFile(file.string(), other) : ReadQifFile(file.string(), other);
        ASSERT_EQ(status, TStatementFileStatus::Read) << file;
        ASSERT_EQ(otherStatus, TStatementFileStatus::Read) << file;
        ExpectWellFormed(items, file);
        ExpectWellFormed(other, file);
        ++files;
        withItems += items.empty() ? 0 : 1;
        total += items.size();
    }
    EXPECT_GE(files, 25u);
    // All but the sample without transactions hold some.
    EXPECT_GE(withItems + 1, files);
    EXPECT_GE(total, 80u);
}

TEST(StatementFileTest, MissingUnreadableAndTooLarge) {
    TTempFolder temp;
    std::vector<TImportItem> items{TImportItem{}};
    EXPECT_EQ(ReadOfxFile((temp.path / "absent.ofx").string(), items),
              TStatementFileStatus::Missing);
    EXPECT_TRUE(items.empty());
    items.resize(1);
    EXPECT_EQ(ReadQifFile(temp.path.string(), items), TStatementFileStatus::Unreadable);
    EXPECT_TRUE(items.empty());
    if (fs::exists("/dev/zero")) {
        // A device never ends; it must not be read at all.
        EXPECT_EQ(ReadQifFile("/dev/zero", items), TStatementFileStatus::Unreadable);
    }

    std::string file = temp.Write("s.qif", std::string("D1/1/2012\nT1\n^\n"));
    std::string bytes;
    EXPECT_EQ(LoadStatementBytes(file, bytes, 15), TStatementFileStatus::Read);
    EXPECT_EQ(bytes.size(), 15u);
    EXPECT_EQ(LoadStatementBytes(file, bytes, 14), TStatementFileStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadQifFile(file, items), TStatementFileStatus::Read);
    EXPECT_EQ(items.size(), 1u);
    // An empty file is read and holds nothing.
    EXPECT_EQ(ReadOfxFile(temp.Write("empty.ofx", std::string()), items),
              TStatementFileStatus::Read);
    EXPECT_TRUE(items.empty());
}

// Inputs that once broke a reader, kept so that they never do again. Each file is read by both
// readers in full.
TEST(StatementFileTest, RegressionInputs) {
    fs::path folder = fs::path(QUILLET_TESTDATA_DIR) / "import-regressions";
    ASSERT_TRUE(fs::is_directory(folder));
    for (const fs::path& file : FilesUnder(folder)) {
        if (file.extension() == ".md") continue;
        std::string bytes;
        ASSERT_EQ(LoadStatementBytes(file.string(), bytes), TStatementFileStatus::Read) << file;
        ExpectWellFormed(ReadOfxStatement(bytes), file);
        ExpectWellFormed(ReadQifStatement(bytes), file);
    }
}

}  // namespace
