// The shared file helpers: bounded reads, replace-on-success writes, paths, and
// lookup that ignores case.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/Files.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Files, ReadsUpToTheBoundAndNoFurther) {
    auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    test::TempDir dir;
    const Bytes big(70000, 7);  // more than one read buffer
    const std::string path = dir.write("big", big);
    EXPECT_EQ(readFileBytes(path, big.size()).value(), big);
    auto refused = readFileBytes(path, big.size() - 1);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), "larger than 69999 bytes");  // the system's reason only: callers name the file
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
    std::filesystem::create_directories(dir.file("folder/inside"));
    EXPECT_EQ(writeFileReplacing(dir.file("folder"), Bytes{5}).error(), "Is a directory");
    EXPECT_EQ(writeFileReplacing(dir.file("missing/B.DAT"), Bytes{5}).error(), "No such file or directory");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);  // A.DAT and the folder

    EXPECT_TRUE(existingWritableFile(path));
    EXPECT_FALSE(existingWritableFile(dir.file("B.DAT")));
    EXPECT_FALSE(existingWritableFile(dir.file("folder")));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    if (::geteuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(existingWritableFile(path));
    }
}

TEST(Files, PathsAndNamesWhateverTheirCase) {
    using Names = std::vector<std::string>;
    EXPECT_EQ((Names{joinPath("", "a"), joinPath("dir", "a"), joinPath("dir/", "a")}),
              (Names{"a", "dir/a", "dir/a"}));
    EXPECT_EQ((Names{fileNameOf("a/b/C.DAT"), fileNameOf("C.DAT")}), (Names{"C.DAT", "C.DAT"}));
    EXPECT_EQ(currentDirectory(), std::filesystem::current_path().string());

    test::TempDir dir;
    std::filesystem::create_directories(dir.file("Art"));
    dir.write("Art/grass.pcx", Bytes{7});
    dir.write("path.txt", Bytes{7});
    dir.write("pathXtxt", Bytes{7});
    for (auto [asked, found] : {std::pair{"PATH.TXT", "path.txt"}, {"ART/GRASS.PCX", "Art/grass.pcx"}})
        EXPECT_EQ(resolveCaseInsensitive(dir.file(asked)), dir.file(found));
    // Nothing matches: the path comes back unchanged, so opening it fails as it should.
    for (const char* name : {"ART/WATER.PCX", "none/x", "PATH.TX", "PATH.TXTX"})
        EXPECT_EQ(resolveCaseInsensitive(dir.file(name)), dir.file(name)) << name;
    EXPECT_EQ(resolveCaseInsensitive(""), "");
    for (const char* name : {"a.txt", "A.txt", "a.TXT", "A.TXT"}) dir.write(name, Bytes{1});
    for (const char* name : {"a.txt", "A.txt", "a.TXT", "A.TXT", "path.txt"})  // an existing name is kept
        EXPECT_EQ(resolveCaseInsensitive(dir.file(name)), dir.file(name));

    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(resolveCaseInsensitive("PATH.TXT"), "path.txt");  // a bare name: the current folder
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace trellisor
