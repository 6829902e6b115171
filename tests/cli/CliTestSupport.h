// Runs trellisor-cli as a program in a test's folder, checks its one-line failures, and
// compares what an editing command writes with the same edit done in process.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "object/ObjectFile.h"
#include "preview/PreviewIcons.h"
#include "preview/SceneObject.h"
#include "support/TempDir.h"

namespace trellisor::test::cli {

using Bytes = std::vector<std::uint8_t>;

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

// Runs the program with dir as its current folder (so grass.pcx is looked up there).
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

// Exit code 1 and exactly one line on stderr that holds part.
inline void expectOneLineFailure(const CliRun& r, const std::string& part) {
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
}

// The scene object with all twelve texts, written as an uncoded file IN.DAT.
inline std::string writeScene(const TempDir& dir, std::uint8_t supportType = 0, std::uint8_t pathFlags = 0) {
    return dir.write("IN.DAT", storedObjectFile(buildChunk(twelveStrings("Scene"), sceneSprites(),
                                                           supportType, pathFlags)));
}

inline PathObject load(const std::string& path) {
    PathObject obj;
    LoadReport r = loadObjectFile(obj, path);
    EXPECT_EQ(r.outcome, LoadOutcome::Loaded) << r.reason;
    return obj;
}

// What the editor's Save writes for obj under the file name OUT.DAT.
inline Bytes savedAs(PathObject& obj, const std::array<std::string, kLanguageCount>& texts) {
    return serializeObjectFile(obj, "OUT.DAT", texts);
}

// Runs an editing command and compares OUT.DAT with `edit` applied in process to IN.
template <class Edit>
void expectSameAsInProcess(const TempDir& dir, std::vector<std::string> args, bool keepIcons, Edit edit) {
    args.push_back(dir.file("OUT.DAT"));
    if (keepIcons) args.push_back("--keep-icons");
    CliRun r = runCli(dir, args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    PathObject obj = load(dir.file("IN.DAT"));
    const auto texts = objectStrings(obj);
    edit(obj);
    if (!keepIcons) composePreviewIcons(obj);
    EXPECT_EQ(dir.read("OUT.DAT"), savedAs(obj, texts));
}

}  // namespace trellisor::test::cli
