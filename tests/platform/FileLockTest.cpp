// The per-file lock and the atomic replacement on the real file system.
#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/Platform.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class PlatformFilesTest : public ::testing::Test {
protected:
    static std::string Read(const fs::path& p) {
        std::vector<uint8_t> bytes = TTempFolder::ReadFile(p);
        return std::string(bytes.begin(), bytes.end());
    }
    bool Replace(const fs::path& p, const std::string& text) {
        std::string error;
        return ReplaceFileAtomically(p.string(), std::vector<uint8_t>(text.begin(), text.end()),
                                     error);
    }

    TTempFolder folder;
    const fs::path root = folder.path;
};

}  // namespace

TEST(FileLockNameTest, SpellingsOfOnePathShareOneLock) {
    EXPECT_EQ(LockName("/Home/My Budgets\\Family.QLT"), "/home/my_budgets/family.qlt");
    EXPECT_EQ(LockName("/a b/C"), LockName("/A_B/c"));
    EXPECT_NE(LockName("/a/b.qlt"), LockName("/a/c.qlt"));
}

TEST_F(PlatformFilesTest, OneHolderAtATimeAndReleasedWithTheHolder) {
    TLinuxFileLocks locks((root / "run").string());
    std::string error;
    auto first = locks.TryLock("/home/u/budget.qlt", error);
    ASSERT_TRUE(first) << error;
    EXPECT_FALSE(locks.TryLock("/home/u/budget.qlt", error));
    EXPECT_EQ(error, "");  // held elsewhere is no error
    EXPECT_TRUE(locks.TryLock("/home/u/other.qlt", error));
    first.reset();
    EXPECT_TRUE(locks.TryLock("/home/u/budget.qlt", error));
    struct stat st {};
    ASSERT_EQ(stat((root / "run").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(PlatformFilesTest, ReplacementLeavesNoTemporaryAndWritesThroughLinks) {
    fs::path target = root / "budget.qlt", link = root / "link.qlt";
    ASSERT_TRUE(Replace(target, "old"));
    fs::create_symlink(target, link);
    // A temporary an earlier, killed save left behind, and one of someone else's.
    fs::path stale = root / ".budget.qlt.Ab12Cd", foreign = root / ".budget.qlt.keep";
    std::ofstream(stale) << "partial";
    std::ofstream(foreign) << "not ours";
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(1));

    ASSERT_TRUE(Replace(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(target), "new");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(foreign));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(root))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".budget.qlt.keep", "budget.qlt", "link.qlt"}));
}
