// Runs the built quillet-cli as a user would, with its folders in a temporary place.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/QuilletConfig.h"

namespace fs = std::filesystem;

namespace {

// A strict JSON reader, enough to prove the output is well formed and to look into it.
struct JValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    std::string text;  // strings (decoded) and numbers (as written)
    std::vector<JValue> items;
    std::vector<std::pair<std::string, JValue>> members;

    const JValue* Get(const std::string& key) const {
        for (const auto& [k, v] : members)
            if (k == key) return &v;
        return nullptr;
    }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& t) : s(t) {}
    bool ReadDocument(JValue& v) {
        if (!Value(v)) return false;
        Space();
        return i == s.size();
    }

private:
    void Space() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\n' || s[i] == '\r' || s[i] == '\t'))
            ++i;
    }
    bool Literal(const char* word) {
        std::string w(word);
        if (s.compare(i, w.size(), w) != 0) return false;
        i += w.size();
        return true;
    }
    bool Str(std::string& out) {
        if (s[i] != '"') return false;
        for (++i; i < s.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == '"') {
                ++i;
                return true;
            }
            if (c < 0x20) return false;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (++i >= s.size()) return false;
            switch (s[i]) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    if (i + 4 >= s.size()) return false;
                    unsigned cp = std::stoul(s.substr(i + 1, 4), nullptr, 16);
                    i += 4;
                    if (cp < 0x80) {
                        out += static_cast<char>(cp);
                    } else if (cp < 0x800) {
                        out += static_cast<char>(0xC0 | (cp >> 6));
                        out += static_cast<char>(0x80 | (cp & 0x3F));
                    } else {
                        out += static_cast<char>(0xE0 | (cp >> 12));
                        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                        out += static_cast<char>(0x80 | (cp & 0x3F));
                    }
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }
    bool Value(JValue& v) {
        Space();
        if (i >= s.size()) return false;
        char c = s[i];
        if (c == '{') {
            v.kind = JValue::Object;
            ++i;
            Space();
            if (i < s.size() && s[i] == '}') return ++i, true;
            for (;;) {
                Space();
                std::string key;
                if (i >= s.size() || !Str(key)) return false;
                Space();
                if (i >= s.size() || s[i++] != ':') return false;
                JValue member;
                if (!Value(member)) return false;
                v.members.emplace_back(key, member);
                Space();
                if (i >= s.size()) return false;
                if (s[i] == '}') return ++i, true;
                if (s[i++] != ',') return false;
            }
        }
        if (c == '[') {
            v.kind = JValue::Array;
            ++i;
            Space();
            if (i < s.size() && s[i] == ']') return ++i, true;
            for (;;) {
                JValue item;
                if (!Value(item)) return false;
                v.items.push_back(item);
                Space();
                if (i >= s.size()) return false;
                if (s[i] == ']') return ++i, true;
                if (s[i++] != ',') return false;
            }
        }
        if (c == '"') return v.kind = JValue::String, Str(v.text);
        if (Literal("true") || Literal("false")) return v.kind = JValue::Bool, true;
        if (Literal("null")) return true;
        size_t start = i;
        if (s[i] == '-') ++i;
        while (i < s.size() && isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        if (i == start || (s[start] == '-' && i == start + 1)) return false;
        v.kind = JValue::Number;
        v.text = s.substr(start, i - start);
        return true;
    }
    const std::string& s;
    size_t i = 0;
};

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("quillet-cli-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    RunResult Run(const std::string& args, const fs::path& configHome) {
        fs::path errFile = root / "stderr.txt";
        std::string command = "env XDG_CONFIG_HOME='" + configHome.string() + "' XDG_DATA_HOME='" +
                              (root / "data").string() + "' '" + QUILLET_CLI_PATH + "' " + args +
                              " 2>'" + errFile.string() + "'";
        RunResult r;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return r;
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            r.out.append(buffer, n);
        int status = pclose(pipe);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errFile);
        r.err.assign(std::istreambuf_iterator<char>(in), {});
        return r;
    }

    fs::path root;
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
    JValue doc;
    ASSERT_TRUE(JsonReader(config.out).ReadDocument(doc)) << config.out;
    ASSERT_NE(doc.Get("file"), nullptr);
    EXPECT_EQ(doc.Get("file")->text, cfg.string());
    const JValue* options = doc.Get("options");
    ASSERT_NE(options, nullptr);
    ASSERT_NE(options->Get("windowWidth"), nullptr);
    EXPECT_EQ(options->Get("windowWidth")->text, "1536");  // 4/5 of 1920
    EXPECT_EQ(options->Get("windowY")->text, "108");
    EXPECT_EQ(options->Get("payableToWidth")->text, "35");
    ASSERT_NE(doc.Get("settings"), nullptr);
    EXPECT_EQ(doc.Get("settings")->kind, JValue::Array);
    EXPECT_TRUE(doc.Get("settings")->items.empty());
}

TEST_F(CliTest, SettingsTextIsConvertedAndEscaped) {
    RegisterQuilletClasses();
    TQuilletConfig config;
    config.settings.SetString("Odd \"key\"\\", "line\nnext\t\x01 \x80 caf\xE9", -4);
    omemstream os;
    os << &config;
    fs::path cfg = root / "config" / "Quillet" / "Quillet.cfg";
    fs::create_directories(cfg.parent_path());
    std::ofstream(cfg, std::ios::binary)
        .write(reinterpret_cast<const char*>(os.bytes().data()),
               static_cast<std::streamsize>(os.bytes().size()));

    RunResult r = Run("config", root / "config");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(R"("Odd \"key\"\\")"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(R"("line\nnext\t\u0001 )"), std::string::npos) << r.out;
    JValue doc;
    ASSERT_TRUE(JsonReader(r.out).ReadDocument(doc)) << r.out;
    const JValue& settings = *doc.Get("settings");
    ASSERT_EQ(settings.items.size(), 1u);
    EXPECT_EQ(settings.items[0].Get("value")->text, "line\nnext\t\x01 \xE2\x82\xAC caf\xC3\xA9");
    EXPECT_EQ(settings.items[0].Get("qualifier")->text, "-4");
}

TEST_F(CliTest, UnwritableConfigFolderGivesStatusTwo) {
    // A plain file where the folder should be: nothing can be made beneath it, even as root.
    std::ofstream(root / "blocker") << "x";
    RunResult r = Run("config", root / "blocker" / "config");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("Quillet.cfg"), std::string::npos) << r.err;
}
