// The shared base: reading and saving files, finding them, the Windows-1252 codec, ordered work.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "base/FileWalk.h"
#include "base/Files.h"
#include "base/OrderedWork.h"
#include "base/Windows1252.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(Files, ReadsUpToTheBoundAndClosesWhatItOpens) {
    auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    test::TempDir dir;
    const Bytes big(70000, 7);  // more than one read buffer
    const std::string path = dir.write("big", big);
    EXPECT_EQ(readFileBytes(path, big.size()).value(), big);
    EXPECT_EQ(readFileBytes(path, big.size() - 1).error(), "larger than 69999 bytes");
    EXPECT_EQ(readFileBytes(dir.file("none")).error(), "No such file or directory");
    EXPECT_EQ(readFileBytes(dir.path()).error(), "Is a directory");
    EXPECT_EQ(openFiles(), filesBefore);
}

TEST(Saving, ReplacesTheFileOnlyOnceWrittenKeepingItsModeAndLinks) {
    test::TempDir dir;
    const std::string path = dir.write("A.DAT", Bytes{1, 2, 3});
    ::chmod(path.c_str(), 0640);
    fs::create_symlink("A.DAT", dir.file("link.DAT"));  // relative to its own folder
    ASSERT_TRUE(writeFileReplacing(dir.file("link.DAT"), Bytes{}));
    EXPECT_TRUE(dir.read("A.DAT").empty());
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.DAT")));
    // Failures leave no temporary: renaming over a folder fails after the temporary was written.
    fs::create_directories(dir.file("folder/inside"));
    fs::create_symlink("loop.DAT", dir.file("loop.DAT"));
    EXPECT_EQ(writeFileReplacing(dir.file("folder"), Bytes{5}).error(), "Is a directory");
    EXPECT_EQ(writeFileReplacing(dir.file("missing/B.DAT"), Bytes{5}).error(), "No such file or directory");
    EXPECT_EQ(writeFileReplacing(dir.file("loop.DAT"), Bytes{5}).error(),
              "Too many levels of symbolic links");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4);  // A.DAT, two links, the folder

    EXPECT_TRUE(existingWritableFile(path));
    EXPECT_FALSE(existingWritableFile(dir.file("B.DAT")) || existingWritableFile(dir.file("folder")));
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_TRUE(::geteuid() == 0 || !existingWritableFile(path));  // root writes anywhere
}

TEST(Saving, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    test::TempDir dir;
    const std::string path = dir.file("BIG.DAT");
    const Bytes before(4 << 20, 1), after(4 << 20, 2);
    auto startSave = [&] {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(writeFileReplacing(path, after) ? 0 : 1);
        return child;
    };
    // One save timed, so that the kills fall all over it.
    const auto start = std::chrono::steady_clock::now();
    ::waitpid(startSave(), nullptr, 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    int killed = 0;
    for (int k = 0; k < 24; ++k) {
        ASSERT_TRUE(writeFileReplacing(path, before));
        const pid_t child = startSave();
        std::this_thread::sleep_for(whole * k / 20);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        killed += WIFSIGNALED(status);
        const Bytes found = dir.read("BIG.DAT");
        EXPECT_TRUE(found == before || found == after) << "kill " << k << ": " << found.size() << " bytes";
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path() != path) fs::remove(entry.path());  // a killed save's temporary
    }
    EXPECT_GT(killed, 0);
}

TEST(Files, ResolvesNamesWhateverTheirCase) {
    EXPECT_EQ(joinPath("", "a") + " " + joinPath("dir/", "a"), "a dir/a");
    test::TempDir dir;
    fs::create_directories(dir.file("Art"));
    for (const char* name : {"Art/grass.pcx", "path.txt", "pathXtxt", "a.txt", "A.txt", "a.TXT"})
        dir.write(name, Bytes{7});
    const std::pair<const char*, const char*> cases[] = {
        {"PATH.TXT", "path.txt"},
        {"ART/GRASS.PCX", "Art/grass.pcx"},
        {"ART/WATER.PCX", "ART/WATER.PCX"},  // no match: unchanged, so that opening it fails
        {"PATH.TX", "PATH.TX"},
        {"a.TXT", "a.TXT"},  // an existing name is kept among others of other case
    };
    for (const auto& [asked, found] : cases)
        EXPECT_EQ(resolveCaseInsensitive(dir.file(asked)), dir.file(found)) << asked;
    EXPECT_EQ(resolveCaseInsensitive(""), "");
    const auto previous = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_EQ(resolveCaseInsensitive("PATH.TXT"), "path.txt") << "a bare name: the current folder";
    EXPECT_EQ(currentDirectory(), dir.path());
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
    // Byte order; top/b walked once though a later root and a link name it; a file root listed.
    std::vector<std::string> expected;
    for (const char* name : {"top/Z.DAT", "top/a.dat/in.dat", "top/b/broken.DAT", "top/b/deep/y.dAT",
                             "top/b/x.Dat", "top/c/linked.DAT", "single.txt"})
        expected.push_back(dir.file(name));
    EXPECT_EQ(found.value(), expected);

    EXPECT_EQ(findFilesByExtension({dir.file("top"), dir.file("nope")}, ".dat").error(),
              "no such file or folder: " + dir.file("nope"));
    EXPECT_FALSE(hasExtension("at", ".dat") || hasExtension("A.D\u00c4T", ".dat"));
}

TEST(Windows1252, EveryByteRoundTripsAndEachUnencodableCharacterIsReportedOnce) {
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80 \x9F \x81"), "Caf\u00E9 \u20AC \u0178 \xC2\x81")
        << "an unassigned byte keeps its value";
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    const Windows1252Text back = utf8ToWindows1252(windows1252ToUtf8(all));
    EXPECT_EQ(std::pair(back.bytes, back.complete()), std::pair(all, true));

    const char* const cases[][3] = {
        // UTF-8, its bytes, the characters that had none
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

TEST(OrderedWork, DeliversInOrderAndStartsNoItemBeforeTheOneAWindowBackIsDelivered) {
    constexpr std::size_t kWindow = 4;
    std::atomic<std::size_t> deliveredCount{0}, tooEarly{0};
    std::mutex mutex;
    std::condition_variable released;
    bool firstMayFinish = false;
    // Item 0 is held until the last item the window allows has started: without the window the
    // other thread would run on past it meanwhile.
    auto work = [&](std::size_t i) {
        if (i >= deliveredCount.load() + kWindow) ++tooEarly;
        std::unique_lock lock(mutex);
        if (i == kWindow - 1) {
            firstMayFinish = true;
            released.notify_all();
        }
        if (i == 0) released.wait(lock, [&] { return firstMayFinish; });
        return i;
    };
    runInOrder(64, 2, kWindow, work, [&](std::size_t i, std::size_t result) {
        EXPECT_EQ(std::pair(i, result), std::pair(deliveredCount.load(), deliveredCount.load()));
        ++deliveredCount;
    });
    EXPECT_EQ(std::pair(tooEarly.load(), deliveredCount.load()), std::pair(std::size_t(0), std::size_t(64)));
}

}  // namespace
}  // namespace trellisor
