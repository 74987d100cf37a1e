// Helpers for tests that run the built quillet-cli as a user would.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TempFolder.h"

// A strict JSON checker: true when the whole text is one well-formed JSON value.
class JsonChecker {
public:
    explicit JsonChecker(const std::string& t) : s(t) {}
    bool Check() { return Value() && (Space(), i == s.size()); }

private:
    void Space() {
        while (i < s.size() && s[i] != '\0' && std::strchr(" \t\r\n", s[i]))
            ++i;
    }
    bool Eat(char c) { return Space(), i < s.size() && s[i] == c ? (++i, true) : false; }
    bool Word(const std::string& w) { return s.compare(i, w.size(), w) == 0 && (i += w.size()); }
    bool String() {
        if (!Eat('"')) return false;
        for (; i < s.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == '"') return ++i, true;
            if (c < 0x20) return false;
            if (c != '\\') continue;
            if (++i >= s.size()) return false;
            if (s[i] == 'u') {
                for (int k = 0; k < 4; ++k)
                    if (++i >= s.size() || !isxdigit(static_cast<unsigned char>(s[i])))
                        return false;
            } else if (!std::strchr("\"\\/bfnrt", s[i])) {
                return false;
            }
        }
        return false;
    }
    template <class Item>
    bool List(char close, Item item) {
        if (Eat(close)) return true;
        do {
            if (!item()) return false;
        } while (Eat(','));
        return Eat(close);
    }
    bool Value() {
        Space();
        if (i >= s.size()) return false;
        if (Eat('{')) return List('}', [&] { return String() && Eat(':') && Value(); });
        if (Eat('[')) return List(']', [&] { return Value(); });
        if (s[i] == '"') return String();
        if (Word("true") || Word("false") || Word("null")) return true;
        if (s[i] == '-') ++i;
        size_t digits = i;
        while (i < s.size() && isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        if (i == digits) return false;
        if (i < s.size() && s[i] == '.') {
            size_t frac = ++i;
            while (i < s.size() && isdigit(static_cast<unsigned char>(s[i])))
                ++i;
            if (i == frac) return false;
        }
        if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            ++i;
            if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
            size_t exp = i;
            while (i < s.size() && isdigit(static_cast<unsigned char>(s[i])))
                ++i;
            if (i == exp) return false;
        }
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

// Runs quillet-cli with the given environment prefix (e.g. "env X=Y") and arguments; standard
// error goes through errFile.
inline RunResult RunCli(const std::string& envPrefix, const std::string& args,
                        const std::string& errFile) {
    std::string command =
        envPrefix + " '" + QUILLET_CLI_PATH + "' " + args + " 2>'" + errFile + "'";
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

// A test with a folder of its own, removed afterwards, in which quillet-cli keeps its
// configuration, so runs never touch the user's.
class TCliFolderTest : public ::testing::Test {
protected:
    RunResult Run(const std::string& args) const {
        return RunCli("env XDG_CONFIG_HOME='" + (root / "cfg").string() + "'", args,
                      (root / "err.txt").string());
    }

    TTempFolder root;
};
