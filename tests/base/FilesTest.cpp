// The shared file helpers: case-insensitive lookup and replace-on-success writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/Files.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

TEST(Files, ResolvesNamesAndFoldersWhateverTheirCase) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("Art"));
    const std::uint8_t byte = 7;
    dir.write("Art/grass.pcx", {&byte, 1});
    dir.write("path.txt", {&byte, 1});

    EXPECT_EQ(resolveCaseInsensitive(dir.file("PATH.TXT")), dir.file("path.txt"));
    EXPECT_EQ(resolveCaseInsensitive(dir.file("ART/GRASS.PCX")), dir.file("Art/grass.pcx"));
    EXPECT_EQ(resolveCaseInsensitive(dir.file("path.txt")), dir.file("path.txt"));
    // Nothing matches: the path comes back unchanged, so opening it fails as it should.
    EXPECT_EQ(resolveCaseInsensitive(dir.file("ART/WATER.PCX")), dir.file("ART/WATER.PCX"));
    EXPECT_EQ(resolveCaseInsensitive(dir.file("none/x")), dir.file("none/x"));
}

TEST(Files, AFailedWriteLeavesTheOldFile) {
    test::TempDir dir;
    const std::uint8_t old[] = {1, 2, 3};
    std::string path = dir.write("A.DAT", old);
    const std::uint8_t fresh[] = {9, 9};
    ASSERT_TRUE(writeFileReplacing(path, fresh));
    EXPECT_EQ(dir.read("A.DAT"), (std::vector<std::uint8_t>{9, 9}));

    // A folder that cannot be written to: the write fails and the file stays as it was.
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    Status failed = writeFileReplacing(path, old);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    if (::geteuid() != 0) {  // root writes anywhere
        EXPECT_FALSE(failed);
        EXPECT_EQ(dir.read("A.DAT"), (std::vector<std::uint8_t>{9, 9}));
    }
    EXPECT_EQ(writeFileReplacing(dir.file("missing/B.DAT"), fresh).error(), "No such file or directory");
    EXPECT_EQ(readFileBytes(dir.file("B.DAT")).error(), "No such file or directory");
    EXPECT_FALSE(existingWritableFile(dir.file("B.DAT")));
    EXPECT_TRUE(existingWritableFile(path));
}

}  // namespace
}  // namespace trellisor
