// Fixtures for the CLI tests: a scene object, and the check that an editing command writes
// what the same edit done in process gives.
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
#include "support/SceneObject.h"
#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace trellisor::test::cli {

using Bytes = std::vector<std::uint8_t>;

using test::CliRun;
using test::expectOneLineFailure;
using test::runCli;
using test::slurp;
using test::shellQuote;

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
