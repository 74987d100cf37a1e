// Runs the built quillet-cli as a user would, with its folders in a temporary place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/QuilletConfig.h"
#include "tests/support/CliRunner.h"
#include "tests/support/Streams.h"

namespace fs = std::filesystem;

namespace {

class CliTest : public ::testing::Test {
protected:
    RunResult Run(const std::string& args, const fs::path& configHome) {
        return RunCli("env XDG_CONFIG_HOME='" + configHome.string() + "' XDG_DATA_HOME='" +
                          (root / "data").string() + "'",
                      args, (root / "stderr.txt").string());
    }

    TTempFolder root;
};

}  // namespace

TEST_F(CliTest, VersionUsageAndConfig) {
    RunResult version = Run("--version", root / "config");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "quillet-cli 3.1 build 1004\n");

    RunResult unknown = Run("frobnicate", root / "config");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("frobnicate"), std::string::npos);
    EXPECT_NE(unknown.err.find("usage"), std::string::npos);
    EXPECT_EQ(Run("", root / "config").status, 2);

    // A first run makes the file with its defaults and shows it.
    fs::path cfg = root / "config" / "Quillet" / "Quillet.cfg";
    RunResult config = Run("config", root / "config");
    EXPECT_EQ(config.status, 0) << config.err;
    EXPECT_TRUE(fs::exists(cfg));
    EXPECT_TRUE(JsonChecker(config.out).Check()) << config.out;
    EXPECT_NE(config.out.find("\"file\": \"" + cfg.string() + "\""), std::string::npos);
    EXPECT_NE(config.out.find("\"windowWidth\": 1536,"), std::string::npos);  // 4/5 of 1920
    EXPECT_NE(config.out.find("\"windowY\": 108,"), std::string::npos);
    EXPECT_NE(config.out.find("\"payableToWidth\": 35,"), std::string::npos);
    EXPECT_NE(config.out.find("\"settings\": []"), std::string::npos);
}

TEST_F(CliTest, SettingsTextIsConvertedAndEscaped) {
    TQuilletConfig config;
    config.settings.SetString("Odd \"key\"\\", "line\nnext\t\x01 \x80 caf\xE9", -4);
    root.Write("config/Quillet/Quillet.cfg", streambytes::WriteOne(&config));

    RunResult r = Run("config", root / "config");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(R"("Odd \"key\"\\")"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(R"("line\nnext\t\u0001 )"), std::string::npos) << r.out;
    EXPECT_TRUE(JsonChecker(r.out).Check()) << r.out;
    // The code page's euro sign and e acute arrive as UTF-8.
    EXPECT_NE(r.out.find("\xE2\x82\xAC caf\xC3\xA9\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"qualifier\": -4"), std::string::npos);
}

TEST_F(CliTest, UnwritableConfigFolderGivesStatusTwo) {
    // A plain file where the folder should be: nothing can be made beneath it, even as root.
    std::ofstream(root / "blocker") << "x";
    RunResult r = Run("config", root / "blocker" / "config");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("Quillet.cfg"), std::string::npos) << r.err;
}
