// Helpers for tests that run the built quillet-cli as a user would.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/TempFolder.h"

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
