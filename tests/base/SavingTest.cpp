// Saving over what was there: its permission bits and links kept, and a save killed at any
// moment leaves the old file or the new one, never a mixture.
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

TEST(Saving, KeepsThePermissionBitsAndReplacesWhatALinkPointsTo) {
    test::TempDir dir;
    fs::create_directories(dir.file("real"));
    const std::string real = dir.write("real/R.DAT", Bytes{1});
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("real/R.DAT", dir.file("link.DAT"));  // relative to its own folder
    fs::create_symlink(dir.file("link.DAT"), dir.file("chain.DAT"));
    ASSERT_TRUE(writeFileReplacing(dir.file("chain.DAT"), Bytes{2}));
    EXPECT_EQ(dir.read("real/R.DAT"), Bytes{2});
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.DAT")) && fs::is_symlink(dir.file("chain.DAT")));
    fs::create_symlink("loop.DAT", dir.file("loop.DAT"));
    EXPECT_EQ(writeFileReplacing(dir.file("loop.DAT"), Bytes{3}).error(),
              "Too many levels of symbolic links");
}

pid_t startSave(const std::string& path, const Bytes& bytes) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(writeFileReplacing(path, bytes) ? 0 : 1);
    return child;
}

TEST(Saving, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    test::TempDir dir;
    const std::string path = dir.file("BIG.DAT");
    Bytes before(4 << 20, 1), after(4 << 20, 2);
    ASSERT_TRUE(writeFileReplacing(path, before));
    // A whole save timed once, so that the kills fall all over it (and a little after).
    const auto start = std::chrono::steady_clock::now();
    ::waitpid(startSave(path, after), nullptr, 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    int killed = 0;
    for (int k = 0; k < 24; ++k) {
        ASSERT_TRUE(writeFileReplacing(path, before));
        const pid_t child = startSave(path, after);
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

}  // namespace
}  // namespace trellisor
