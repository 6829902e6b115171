// The shared file helpers: bounded reads, replace-on-success writes, paths, lookup that ignores
// case, and finding files by extension under folders (order, links, loops, missing roots).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/FileWalk.h"
#include "base/Files.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Errors give the system's reason only: callers name the file.
TEST(Files, ReadsUpToTheBoundAndNoFurther) {
    auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    test::TempDir dir;
    const Bytes big(70000, 7);  // more than one read buffer
    const std::string path = dir.write("big", big);
    EXPECT_EQ(readFileBytes(path, big.size()).value(), big);
    EXPECT_EQ(readFileBytes(path, big.size() - 1).error(), "larger than 69999 bytes");
    EXPECT_EQ(readFileBytes(dir.file("none")).error(), "No such file or directory");
    EXPECT_EQ(readFileBytes(dir.path()).error(), "Is a directory");
    EXPECT_EQ(openFiles(), filesBefore);  // every file opened was closed again
}

TEST(Files, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    test::TempDir dir;
    const std::string path = dir.write("A.DAT", Bytes{1, 2, 3});
    ASSERT_TRUE(writeFileReplacing(path, Bytes{9, 9}));
    EXPECT_EQ(dir.read("A.DAT"), (Bytes{9, 9}));
    ASSERT_TRUE(writeFileReplacing(path, Bytes{}));
    EXPECT_TRUE(dir.read("A.DAT").empty());

    // Renaming over a folder fails after the temporary was written: it is removed again.
    fs::create_directories(dir.file("folder/inside"));
    EXPECT_EQ(writeFileReplacing(dir.file("folder"), Bytes{5}).error(), "Is a directory");
    EXPECT_EQ(writeFileReplacing(dir.file("missing/B.DAT"), Bytes{5}).error(), "No such file or directory");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);  // A.DAT and the folder

    EXPECT_TRUE(existingWritableFile(path));
    EXPECT_FALSE(existingWritableFile(dir.file("B.DAT")) || existingWritableFile(dir.file("folder")));
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_TRUE(::geteuid() == 0 || !existingWritableFile(path));  // root writes anywhere
}

TEST(Files, PathsAndNamesWhateverTheirCase) {
    using Names = std::vector<std::string>;
    EXPECT_EQ((Names{joinPath("", "a"), joinPath("dir", "a"), joinPath("dir/", "a"), fileNameOf("a/b/C.DAT"),
                     fileNameOf("C.DAT")}),
              (Names{"a", "dir/a", "dir/a", "C.DAT", "C.DAT"}));
    EXPECT_EQ(currentDirectory(), fs::current_path().string());

    test::TempDir dir;
    fs::create_directories(dir.file("Art"));
    for (const char* name : {"Art/grass.pcx", "path.txt", "pathXtxt", "a.txt", "A.txt", "a.TXT", "A.TXT"})
        dir.write(name, Bytes{7});
    for (auto [asked, found] : {std::pair{"PATH.TXT", "path.txt"}, {"ART/GRASS.PCX", "Art/grass.pcx"}})
        EXPECT_EQ(resolveCaseInsensitive(dir.file(asked)), dir.file(found));
    // Nothing matches: the path comes back unchanged, so opening it fails as it should; an existing
    // name is kept.
    for (const char* name :
         {"ART/WATER.PCX", "none/x", "PATH.TX", "PATH.TXTX", "a.txt", "A.txt", "a.TXT", "A.TXT", "path.txt"})
        EXPECT_EQ(resolveCaseInsensitive(dir.file(name)), dir.file(name)) << name;
    EXPECT_EQ(resolveCaseInsensitive(""), "");

    const auto previous = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_EQ(resolveCaseInsensitive("PATH.TXT"), "path.txt");  // a bare name: the current folder
    fs::current_path(previous);
}

TEST(FileWalk, ListsMatchingFilesInNameOrderFollowingLinksButNoLoops) {
    test::TempDir dir;
    for (const char* folder : {"top/b/deep", "top/a.dat", "elsewhere"})  // a.dat: walked, not listed
        fs::create_directories(dir.file(folder));
    for (const char* name : {"top/Z.DAT", "top/b/x.Dat", "top/b/notes.txt", "top/b/deep/y.dAT",
                             "top/a.dat/in.dat", "top/datfile", "elsewhere/linked.DAT", "single.txt"})
        dir.write(name, Bytes{1});
    fs::create_directory_symlink("..", dir.file("top/b/deep/up"));           // a loop back to top/b
    fs::create_directory_symlink(dir.file("elsewhere"), dir.file("top/c"));  // followed
    fs::create_symlink(dir.file("gone.DAT"), dir.file("top/b/broken.DAT"));  // listed: reading says why

    auto found = findFilesByExtension({dir.file("top"), dir.file("single.txt"), dir.file("top/b/")}, ".dat");
    ASSERT_TRUE(found) << found.error();
    // Byte order puts "Z.DAT" before the lower-case names; top/b is walked once even though a
    // later root and a link name it again; an explicit file is listed whatever its extension.
    std::vector<std::string> expected;
    for (const char* name : {"top/Z.DAT", "top/a.dat/in.dat", "top/b/broken.DAT", "top/b/deep/y.dAT",
                             "top/b/x.Dat", "top/c/linked.DAT", "single.txt"})
        expected.push_back(dir.file(name));
    EXPECT_EQ(found.value(), expected);

    EXPECT_EQ(findFilesByExtension({dir.file("top"), dir.file("nope")}, ".dat").error(),
              "no such file or folder: " + dir.file("nope"));
    for (const char* name : {"A.DATA", "ADAT", "at", "A.D\u00c4T"})
        EXPECT_FALSE(hasExtension(name, ".dat")) << name;
    EXPECT_TRUE(hasExtension(".dat", ".dat"));
}

}  // namespace
}  // namespace trellisor
