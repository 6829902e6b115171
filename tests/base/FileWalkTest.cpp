// Finding files by extension in any case under folders: order, links, loops, missing roots.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/FileWalk.h"
#include "base/Files.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

namespace fs = std::filesystem;

TEST(FileWalk, ListsMatchingFilesInNameOrderFollowingLinksButNoLoops) {
    test::TempDir dir;
    const std::uint8_t byte = 1;
    fs::create_directories(dir.file("top/b/deep"));
    fs::create_directories(dir.file("top/a.dat"));  // a folder named like a file: walked, not listed
    fs::create_directories(dir.file("elsewhere"));
    for (const char* name : {"top/Z.DAT", "top/b/x.Dat", "top/b/notes.txt", "top/b/deep/y.dAT",
                             "top/a.dat/in.dat", "top/datfile", "elsewhere/linked.DAT", "single.txt"})
        dir.write(name, {&byte, 1});
    fs::create_directory_symlink("..", dir.file("top/b/deep/up"));           // a loop back to top/b
    fs::create_directory_symlink(dir.file("elsewhere"), dir.file("top/c"));  // followed
    fs::create_symlink(dir.file("gone.DAT"), dir.file("top/b/broken.DAT"));  // listed: reading says why

    auto found = findFilesByExtension({dir.file("top"), dir.file("single.txt"), dir.file("top/b/")}, ".dat");
    ASSERT_TRUE(found) << found.error();
    // Byte order puts "Z.DAT" before the lower-case names; top/b is walked once even though a
    // later root and a link name it again; an explicit file is listed whatever its extension.
    const std::vector<std::string> expected = {dir.file("top/Z.DAT"),        dir.file("top/a.dat/in.dat"),
                                               dir.file("top/b/broken.DAT"), dir.file("top/b/deep/y.dAT"),
                                               dir.file("top/b/x.Dat"),      dir.file("top/c/linked.DAT"),
                                               dir.file("single.txt")};
    EXPECT_EQ(found.value(), expected);

    auto missing = findFilesByExtension({dir.file("top"), dir.file("nope")}, ".dat");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), "no such file or folder: " + dir.file("nope"));
    for (const char* name : {"A.DATA", "ADAT", "at", "A.D\u00c4T"})
        EXPECT_FALSE(hasExtension(name, ".dat")) << name;
    EXPECT_TRUE(hasExtension(".dat", ".dat"));
}

}  // namespace
}  // namespace trellisor
