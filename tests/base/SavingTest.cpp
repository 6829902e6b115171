// Saving over what was there: the permission bits of the file replaced, symbolic links kept
// (the file they point to is replaced), and a save killed at any moment leaves the old file or
// the new one, never a mixture.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/Files.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

unsigned modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(Saving, KeepsThePermissionBitsAndTheLinksOfWhatWasThere) {
    test::TempDir dir;
    const std::string own = dir.write("OWN.DAT", Bytes{1});
    ::chmod(own.c_str(), 0640);
    ASSERT_TRUE(writeFileReplacing(own, Bytes{2}));
    EXPECT_EQ(modeOf(own), 0640u);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(writeFileReplacing(dir.file("NEW.DAT"), Bytes{3}));
    EXPECT_EQ(modeOf(dir.file("NEW.DAT")), 0666u & ~unsigned(mask));

    // A chain of links, one relative to its own folder: the file at its end is replaced.
    fs::create_directories(dir.file("real"));
    const std::string real = dir.write("real/R.DAT", Bytes{4});
    fs::create_symlink("real/R.DAT", dir.file("link.DAT"));
    fs::create_symlink(dir.file("link.DAT"), dir.file("chain.DAT"));
    ASSERT_TRUE(writeFileReplacing(dir.file("chain.DAT"), Bytes{5, 5}));
    EXPECT_EQ(dir.read("real/R.DAT"), (Bytes{5, 5}));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.DAT")) && fs::is_symlink(dir.file("chain.DAT")));
    fs::create_symlink("real/GONE.DAT", dir.file("dangling.DAT"));
    ASSERT_TRUE(writeFileReplacing(dir.file("dangling.DAT"), Bytes{6}));
    EXPECT_EQ(dir.read("real/GONE.DAT"), Bytes{6});
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("real")), {}), 2) << "no temporary left";

    fs::create_symlink("B", dir.file("A"));
    fs::create_symlink("A", dir.file("B"));
    EXPECT_EQ(writeFileReplacing(dir.file("A"), Bytes{7}).error(), "Too many levels of symbolic links");
}

// A child process saving `bytes` to path, as the editor or the command line would.
pid_t startSave(const std::string& path, const Bytes& bytes) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(writeFileReplacing(path, bytes) ? 0 : 1);
    return child;
}

TEST(Saving, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    test::TempDir dir;
    const std::string path = dir.file("BIG.DAT");
    Bytes before(8 << 20), after(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        before[i] = std::uint8_t(i * 7 % 251);
        after[i] = std::uint8_t(i * 13 % 241);
    }
    ASSERT_TRUE(writeFileReplacing(path, before));
    // How long a whole save takes here, so that the kills fall all over it (and a little after).
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(startSave(path, after), &status, 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(dir.read("BIG.DAT"), after);

    constexpr int kKills = 24;
    int killedBeforeTheEnd = 0;
    for (int k = 0; k < kKills; ++k) {
        const auto delay = whole * k / (kKills - 4);
        SCOPED_TRACE("killed after " +
                     std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(delay).count()) +
                     " us");
        ASSERT_TRUE(writeFileReplacing(path, before));
        const pid_t child = startSave(path, after);
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        killedBeforeTheEnd += WIFSIGNALED(status);
        const Bytes found = dir.read("BIG.DAT");
        EXPECT_TRUE(found == before || found == after) << found.size() << " bytes";
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path().filename() != "BIG.DAT") fs::remove(entry.path());  // a killed save's temporary
    }
    EXPECT_GT(killedBeforeTheEnd, 0);
}

}  // namespace
}  // namespace trellisor
