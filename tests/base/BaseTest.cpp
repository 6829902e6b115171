// The shared base: file helpers, finding files by extension, the Windows-1252 codec, and ordered
// results from several threads with a bounded window of items in flight.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "base/FileWalk.h"
#include "base/Files.h"
#include "base/OrderedWork.h"
#include "base/Windows1252.h"
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

    // Renaming over a folder fails after the temporary was written, which is removed again.
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
    // No match comes back unchanged (opening it fails as it should); an existing name is kept.
    for (const char* name : {"ART/WATER.PCX", "none/x", "PATH.TX", "PATH.TXTX", "a.TXT", "A.txt", "path.txt"})
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

TEST(Windows1252, EveryByteRoundTripsAndEachUnencodableCharacterIsReportedOnce) {
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80 \x9F"), "Caf\u00E9 \u20AC \u0178");
    EXPECT_EQ(windows1252ToUtf8("\x81"), "\xC2\x81");  // unassigned bytes keep their value
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    const Windows1252Text back = utf8ToWindows1252(windows1252ToUtf8(all));
    EXPECT_EQ(std::pair(back.bytes, back.complete()), std::pair(all, true));

    const char* const cases[][3] = {
        // UTF-8, the bytes it becomes, the characters that had none
        {"\u8DEF\u5F84 x \u8DEF", "?? x ?", "\u8DEF\u5F84"},  // each once, in order of appearance
        {"\xFF x", "? x", "\uFFFD"},                          // malformed UTF-8
        {"\xC3", "?", "\uFFFD"},                              // cut off
        {"\x80", "?", "\uFFFD"},                              // a continuation byte alone
        {"\xC3(", "?(", "\uFFFD"},                            // a continuation byte missing
        {"\xF4\x90\x80\x80", "?", "\uFFFD"},                  // beyond U+10FFFF
        {"\xF0\x90\x80\x80!", "?!", "\xF0\x90\x80\x80"},      // U+10000, the first of four bytes
        {"\xF4\x8F\xBF\xBF", "?", "\xF4\x8F\xBF\xBF"},        // U+10FFFF, the last
        {"\xE2\x82\xAC \xE2\x80\x94", "\x80 \x97", ""},
    };
    for (const auto& [utf8, bytes, unencodable] : cases) {
        const Windows1252Text t = utf8ToWindows1252(utf8);
        EXPECT_EQ(std::pair(t.bytes, t.unencodable), std::pair(std::string(bytes), std::string(unencodable)))
            << utf8;
    }
}

TEST(OrderedWork, DeliversEveryResultInOrderWhateverTheThreadCount) {
    for (unsigned jobs : {1u, 2u, 3u, 8u}) {
        std::size_t next = 0;
        runInOrder(
            200, jobs, 2 * jobs,
            [](std::size_t i) {
                // Uneven work, so that later items often finish first.
                volatile std::size_t spin = 0;
                for (std::size_t k = 0; k < (i % 7) * 2000; ++k) spin = spin + k;
                return std::to_string(i * i);
            },
            [&](std::size_t i, const std::string& r) {
                EXPECT_EQ(std::pair(i, r), std::pair(next, std::to_string(next * next))) << jobs;
                ++next;
            });
        EXPECT_EQ(next, 200u) << jobs;
    }
}

TEST(OrderedWork, NoItemStartsBeforeTheOneAWindowBackIsDelivered) {
    constexpr std::size_t kWindow = 4;
    std::atomic<std::size_t> deliveredCount{0}, tooEarly{0};
    std::mutex mutex;
    std::condition_variable released;
    bool firstMayFinish = false;
    runInOrder(
        64, 2, kWindow,
        [&](std::size_t i) {
            if (i >= deliveredCount.load() + kWindow) ++tooEarly;
            std::unique_lock lock(mutex);
            // Item 0 is held until the last item the window allows has started: without the
            // window the other thread would run on past it meanwhile.
            if (i == kWindow - 1) {
                firstMayFinish = true;
                released.notify_all();
            }
            if (i == 0) released.wait(lock, [&] { return firstMayFinish; });
            return i;
        },
        [&](std::size_t, std::size_t) { ++deliveredCount; });
    EXPECT_EQ(std::pair(tooEarly.load(), deliveredCount.load()), std::pair(std::size_t(0), std::size_t(64)));
}

}  // namespace
}  // namespace trellisor
