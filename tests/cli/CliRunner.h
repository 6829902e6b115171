// Runs the real trellisor-cli program on files the tests generate, keeping its exit code,
// stdout and stderr.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace trellisor::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs the program with args and dir as its current folder (so grass.pcx is looked up
// there); its output goes to files in dir.
inline CliRun runCli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string cmd = "cd " + shellQuote(dir.path()) + " && " + shellQuote(TRELLISOR_CLI_PATH);
    for (const auto& a : args) cmd += " " + shellQuote(a);
    cmd += " >" + shellQuote(dir.file("cli.out")) + " 2>" + shellQuote(dir.file("cli.err"));
    const int status = std::system(cmd.c_str());
    CliRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(dir.file("cli.out"));
    r.err = slurp(dir.file("cli.err"));
    return r;
}

// Exit 1 and exactly one line on stderr that contains part.
inline void expectOneLineFailure(const CliRun& r, const std::string& part, int exitCode = 1) {
    EXPECT_EQ(r.exitCode, exitCode);
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
}

}  // namespace trellisor::test
