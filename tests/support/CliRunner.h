// Runs the real trellisor-cli on files the tests build.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "object/ObjectFile.h"
#include "support/SceneObject.h"
#include "support/TempDir.h"

namespace trellisor::test {

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs the program in dir (so grass.pcx is looked up there); its output goes to files in dir.
inline CliRun runCli(const TempDir& dir, const std::vector<std::string>& args) {
    auto quote = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    };
    std::string cmd = "cd " + quote(dir.path()) + " && " + quote(TRELLISOR_CLI_PATH);
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " >" + quote(dir.file("cli.out")) + " 2>" + quote(dir.file("cli.err"));
    const int status = std::system(cmd.c_str());
    auto text = [&dir](const char* name) {
        const auto bytes = dir.read(name);
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text("cli.out"), text("cli.err")};
}

// A run that succeeds says nothing on stderr (Qt's warnings included).
inline CliRun runOk(const TempDir& dir, const std::vector<std::string>& args) {
    CliRun r = runCli(dir, args);
    EXPECT_EQ(r.exitCode, 0) << args[0] << ": " << r.err;
    EXPECT_EQ(r.err, "") << args[0];
    return r;
}

// The given exit code and exactly one line on stderr that contains part.
inline void expectOneLineFailure(const CliRun& r, const std::string& part, int exitCode = 1) {
    EXPECT_EQ(r.exitCode, exitCode) << part;
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
    EXPECT_TRUE(!r.err.empty() && r.err.find('\n') == r.err.size() - 1) << r.err;
}

// The scene object with all twelve texts, written as an uncoded file IN.DAT.
inline std::string writeScene(const TempDir& dir) {
    return dir.write("IN.DAT", storedObjectFile(buildChunk(twelveStrings("Scene"), sceneSprites())));
}
inline PathObject loadFile(const std::string& path) {
    PathObject obj;
    EXPECT_EQ(loadObjectFile(obj, path).outcome, LoadOutcome::Loaded) << path;
    return obj;
}

}  // namespace trellisor::test
