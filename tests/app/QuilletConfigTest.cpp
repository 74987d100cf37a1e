#include "app/QuilletConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/PlatformPort.h"
#include "platform/Platform.h"
#include "tests/support/ScriptedUI.h"
#include "tests/support/Streams.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

using namespace streambytes;

Bytes RecordStart(uint32_t classVersion) {
    return Cat({{0x02, '['}, Str("TQuilletConfig"), W32(classVersion)});
}

// The 18 words of every layout, from a record whose values all differ so that a field in the
// wrong place shows.
Bytes EighteenWords() {
    Bytes b;
    for (uint32_t v : {0u, 1u, 15u, 0u, 1u, 1u, 0u, 1u, 0u, 0u, 1u, 9u, 44u, 13u, 22u, 25u, 1u, 1u})
        b = Cat({b, W32(v)});
    return b;
}

// Everything after the 18 words for a record of layout n, as the table lays it out.
Bytes LaterItems(uint32_t n) {
    Bytes b;
    if (n > 1) b = Cat({b, W32(800), W32(600), W32(uint32_t(-20)), W32(40), W32(1)});
    if (n > 2) b = Cat({b, W32(12)});
    if (n > 3) b = Cat({b, W32(0), Str("/home/u/budget.qlt")});
    if (n > 4) b = Cat({b, W32(33)});
    if (n > 5) b = Cat({b, W32(0)});
    if (n > 6) b = Cat({b, W32(0), W32(0)});
    if (n > 7) b = Cat({b, W32(14), {28, 2}, W32(2011)});
    return b;
}

const Bytes NoSettings = {2, 0, 0, 0};  // layout 2, no entries
const Bytes End = {']'};

// A whole file: the header and one configuration record of the given class version and record
// layout, followed by the settings bytes given.
Bytes ConfigBytes(uint32_t classVersion, uint32_t layout, const Bytes& settings) {
    return Cat({Header, RecordStart(classVersion), W32(layout), EighteenWords(), LaterItems(layout),
                settings, End});
}

// A platform whose folders are temporary ones; replacement can be made to fail.
class TTempPlatform : public TLinuxPlatform {
public:
    std::string config, older;
    bool failReplace = false;
    int replaceCalls = 0;
    std::string ConfigFolder() override { return config; }
    std::string OlderConfigFolder() override { return older; }
    bool ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes,
                     std::string& error) override {
        ++replaceCalls;
        if (failReplace) {
            error = "disk full";
            return false;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) error = "cannot write";
        return static_cast<bool>(out);
    }
};

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.config = (root / "config").string();
        platform.older = (root / "older").string();
    }

    fs::path CfgPath() const { return root / "config/Quillet/Quillet.cfg"; }
    fs::path OlderPath() const { return root / "older/Quillet/Quillet.cfg"; }
    static Bytes ReadFile(const fs::path& p) { return TTempFolder::ReadFile(p); }
    static void WriteFile(const fs::path& p, const Bytes& b) { TTempFolder::WriteFile(p, b); }

    TTempFolder root;
    TTempPlatform platform;
    TFixedScreen screen{1000, 500};
};

// The default record's bytes are held in MissingFileIsCreatedWithDefaults; these are the values
// that set a default file apart from the test files.
void ExpectDefaults(const TQuilletOptions& o) {
    // 4/5 of the 1000 x 500 test screen, a tenth in.
    EXPECT_EQ((std::vector<int>{o.windowWidth, o.windowHeight, o.windowX, o.windowY}),
              (std::vector<int>{800, 400, 100, 50}));
    EXPECT_FALSE(o.maximised);
    EXPECT_EQ(o.autoSaveMinutes, 5u);
    EXPECT_EQ(o.backupLevels, 5u);
    EXPECT_EQ(o.lastFile, "");
}

}  // namespace

TEST(QuilletConfigTest, LayoutEightWithSettingsReadsAndWritesBackByteForByte) {
    // clang-format off
    Bytes expected = Cat({Header, RecordStart(3),
        W32(8),                                                  // layout
        W32(0), W32(1), W32(15),                                 // bars, auto-save
        W32(0), W32(1), W32(1), W32(0),                          // envelope list
        W32(1), W32(0), W32(0), W32(1),                          // account list
        W32(9), W32(44), W32(13), W32(22), W32(25),              // widths
        W32(1), W32(1),                                          // include year, fly-by
        {0x20, 0x03, 0, 0}, {0x58, 0x02, 0, 0},                  // width 800, height 600
        {0xEC, 0xFF, 0xFF, 0xFF}, {0x28, 0, 0, 0}, {1, 0, 0, 0}, // x -20, y 40, maximised
        W32(12),                                                 // backup levels
        W32(0), Str("/home/u/budget.qlt"),                         // reopen, last file
        W32(33), W32(0),                                         // memo, auto-correct year
        W32(0), W32(0),                                          // close confirmations
        W32(14), {28, 2, 0xDB, 0x07, 0, 0},                      // update days, 2/28/2011
        W16(2), W16(2),                                          // settings layout, count
        Str("Preview.Width"), Str("640"), W32(0),
        Str("importer.QIFFolder"), Str("/tmp"), W32(7),
        End});
    // clang-format on
    // The options read are checked field by field in the next test.
    auto back = ReadAs<TQuilletConfig>(expected);
    ASSERT_TRUE(back);
    EXPECT_EQ(WriteOne(back.get()), expected);
    EXPECT_TRUE(back->options.maximised);
    EXPECT_EQ(back->options.windowX, -20);
    EXPECT_EQ(back->settings.GetInt("preview.width", 0), 640);
    EXPECT_EQ(back->settings.GetString("importer.qiffolder", "", 7), "/tmp");
}

TEST(QuilletConfigTest, OlderLayoutsKeepDefaultsForWhatTheyLack) {
    for (uint32_t n = 1; n <= 8; ++n) {
        SCOPED_TRACE("layout " + std::to_string(n));
        int state = -1;
        auto config = ReadAs<TQuilletConfig>(ConfigBytes(3, n, NoSettings), &state);
        ASSERT_TRUE(config);
        ASSERT_EQ(state, pstream::Good);
        const TQuilletOptions& o = config->options;
        // The 18 words are in every layout.
        EXPECT_EQ(o.autoSaveMinutes, 15u);
        EXPECT_EQ(o.actShowReconcileBalances, 1);
        EXPECT_EQ(o.payableToWidth, 44u);
        EXPECT_EQ(o.flyByMemo, 1);
        EXPECT_EQ(o.windowWidth, n > 1 ? 800 : 0);
        EXPECT_EQ(o.maximised, n > 1);
        EXPECT_EQ(o.backupLevels, n > 2 ? 12u : 5u);
        EXPECT_EQ(o.reopenLastFile, n > 3 ? 0 : 1);
        EXPECT_EQ(o.lastFile, n > 3 ? "/home/u/budget.qlt" : "");
        EXPECT_EQ(o.memoWidth, n > 4 ? 33u : 0u);
        EXPECT_EQ(o.autoCorrectYear, n > 5 ? 0 : 1);
        EXPECT_EQ(o.confirmClearedOnClose, n > 6 ? 0 : 1);
        EXPECT_EQ(o.confirmImportOnClose, n > 6 ? 0 : 1);
        EXPECT_EQ(o.updateCheckDays, n > 7 ? 14u : 30u);
        EXPECT_EQ(o.lastUpdateCheck, n > 7 ? TDate(28, 2, 2011) : TDate(1, 1, 2008));
    }
    // Class version 2 ends right after the options: a settings list read there would run into
    // the ']' and fail the stream.
    int state = -1;
    auto config = ReadAs<TQuilletConfig>(ConfigBytes(2, 8, {}), &state);
    ASSERT_TRUE(config);
    EXPECT_EQ(state, pstream::Good);
    EXPECT_EQ(config->options.updateCheckDays, 14u);
}

TEST_F(ConfigFileTest, MissingFileIsCreatedWithDefaults) {
    TConfigFile file(platform, screen);
    EXPECT_EQ(file.FindPath(), CfgPath().string());
    EXPECT_TRUE(fs::is_directory(CfgPath().parent_path()));
    EXPECT_FALSE(fs::exists(CfgPath()));

    std::string error;
    ASSERT_TRUE(file.Load(&error)) << error;
    ExpectDefaults(file.Options());
    EXPECT_EQ(file.Settings().Count(), 0u);

    // What was written is the default record, field by field.
    // clang-format off
    Bytes expected = Cat({Header, RecordStart(3),
        W32(8),                                            // layout
        W32(1), W32(1), W32(5),                            // bars, auto-save
        W32(1), W32(1), W32(0), W32(1),                    // envelope list
        W32(1), W32(1), W32(1), W32(0),                    // account list
        W32(7), W32(35), W32(11), W32(17), W32(17),        // widths
        W32(0), W32(0),                                    // include year, fly-by
        W32(800), W32(400), W32(100), W32(50), W32(0),     // placement, not maximised
        W32(5),                                            // backup levels
        W32(1), W32(0),                                    // reopen, empty last file
        W32(0), W32(1),                                    // memo, auto-correct year
        W32(1), W32(1),                                    // close confirmations
        W32(30), {1, 1}, W32(2008),                        // update days, 1/1/2008
        NoSettings, End});
    // clang-format on
    EXPECT_EQ(ReadFile(CfgPath()), expected);
    TFixedScreen otherScreen(1, 1);  // placement comes from the file, not from this screen
    TConfigFile again(platform, otherScreen);
    again.FindPath();
    ASSERT_TRUE(again.Load());
    ExpectDefaults(again.Options());
    EXPECT_EQ(platform.replaceCalls, 1);  // a good file is not rewritten on loading
}

TEST_F(ConfigFileTest, UnreadableFilesAreReplacedByDefaults) {
    Bytes good = ConfigBytes(3, 8, Cat({W16(2), W16(1), Str("k"), Str("v"), W32(0)}));
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty", {}},
        {"text", Raw("not a configuration at all\n")},
        {"unknown class", Cat({Header, {0x02, '['}, Str("TSomethingElse"), W32(1), {']'}})},
        {"null object", Cat({Header, {0x00}})},
        {"huge settings count",
         ConfigBytes(3, 8, Cat({W16(2), W16(0xFFFF), Str("k"), Str("v"), W32(0)}))},
        {"huge string length", ConfigBytes(3, 8, Cat({W16(2), W16(1), W32(0xFFFFFFF0u)}))},
        {"last file too long", Cat({Header, RecordStart(3), W32(4), EighteenWords(), LaterItems(3),
                                    W32(1), Str(std::string(260, 'x')), NoSettings, End})},
    };
    // Every cut of a good file fails the stream; some of them go through the whole load.
    ExpectEveryTruncationFails<TQuilletConfig>(good);
    for (size_t cut = 1; cut < good.size(); cut += 16)
        cases.push_back({"cut at " + std::to_string(cut), Bytes(good.begin(), good.begin() + cut)});

    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        WriteFile(CfgPath(), bytes);
        TConfigFile file(platform, screen);
        file.FindPath();
        ASSERT_TRUE(file.Load());
        ExpectDefaults(file.Options());
        EXPECT_EQ(file.Settings().Count(), 0u);
        // Rewritten at once: loading it again gives the defaults without writing.
        auto reread = ReadAs<TQuilletConfig>(ReadFile(CfgPath()));
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->options.windowWidth, 800);
    }

    // The good file itself is taken as it is.
    WriteFile(CfgPath(), good);
    TConfigFile file(platform, screen);
    file.FindPath();
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.Options().autoSaveMinutes, 15u);
    EXPECT_EQ(file.Settings().GetString("K", ""), "v");
    EXPECT_EQ(ReadFile(CfgPath()), good);
}

TEST_F(ConfigFileTest, DamagedFileIsKeptAsideAndOutOfRangeValuesAreLimited) {
    TScriptedUI ui;
    TPortInstall<TUIPort> install(UI, ui);
    WriteFile(CfgPath(), Raw("not a configuration at all\n"));
    TConfigFile file(platform, screen);
    file.FindPath();
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(ReadFile(CfgPath().string() + ".bad"), Raw("not a configuration at all\n"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Quillet.cfg.bad"), std::string::npos);

    // A readable file with absurd values: backups 8,388,607, a window 2,147,483,647 wide.
    // clang-format off
    Bytes later = Cat({W32(0x7FFFFFFF), W32(600), W32(0x80000000u), W32(40), W32(1),  // placement
                       W32(8388607), W32(0), Str(""), W32(99),          // backups, last file, memo
                       W32(0), W32(0), W32(0), W32(4000000000u), {28, 2}, W32(2011)});
    // clang-format on
    WriteFile(CfgPath(),
              Cat({Header, RecordStart(3), W32(8), EighteenWords(), later, NoSettings, End}));
    ASSERT_TRUE(file.Load());
    const TQuilletOptions& o = file.Options();
    EXPECT_EQ(o.windowWidth, 32767);
    EXPECT_EQ(o.windowX, -32767);
    EXPECT_EQ(o.backupLevels, 999u);
    EXPECT_EQ(o.memoWidth, 50u);
    EXPECT_EQ(o.updateCheckDays, 99999u);
    EXPECT_EQ(ui.messages.size(), 1u);  // a readable file says nothing
}

TEST_F(ConfigFileTest, OlderLocationIsCarriedOverOnceAndNeverOverAFile) {
    // Layout 1, without a window placement: the screen gives one.
    Bytes older = ConfigBytes(3, 1, NoSettings);
    WriteFile(OlderPath(), older);

    TConfigFile file(platform, screen);
    file.FindPath();
    EXPECT_EQ(ReadFile(CfgPath()), older);
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.Options().autoSaveMinutes, 15u);
    EXPECT_EQ(file.Options().windowWidth, 800);
    EXPECT_EQ(file.Options().windowY, 50);

    // From now on the file in the config folder is the one: a changed older file is ignored.
    file.Options().backupLevels = 2;
    ASSERT_TRUE(file.Save());
    WriteFile(OlderPath(), Raw("garbage"));
    TConfigFile later(platform, screen);
    later.FindPath();
    ASSERT_TRUE(later.Load());
    EXPECT_EQ(later.Options().backupLevels, 2u);
    EXPECT_TRUE(fs::exists(OlderPath()));  // copied, not moved
}

TEST_F(ConfigFileTest, NoConfigFolderFallsBackToTheCurrentDirectory) {
    platform.config.clear();
    WriteFile(OlderPath(), Raw("never looked at"));
    TConfigFile file(platform, screen);
    EXPECT_EQ(file.FindPath(), "Quillet.cfg");
    EXPECT_FALSE(fs::exists("Quillet.cfg"));  // finding the path copies nothing there
}

TEST_F(ConfigFileTest, SaveFailuresAreReportedToTheCaller) {
    platform.failReplace = true;
    TConfigFile file(platform, screen);
    file.FindPath();
    std::string error;
    EXPECT_FALSE(file.Load(&error));
    EXPECT_EQ(error, "disk full");
    ExpectDefaults(file.Options());  // the program still runs on the defaults
    EXPECT_FALSE(fs::exists(CfgPath()));
}

TEST_F(ConfigFileTest, SetLastFileSavesTheCutPath) {
    TConfigFile file(platform, screen);
    file.FindPath();
    ASSERT_TRUE(file.Load());
    file.SetLastFile("/budgets/" + std::string(300, 'b'));
    TConfigFile again(platform, screen);
    again.FindPath();
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Options().lastFile.size(), 259u);
    EXPECT_EQ(again.Options().lastFile.substr(0, 10), "/budgets/b");
}
