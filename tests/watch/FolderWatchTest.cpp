// Following a folder: checks only once the writing has settled, only content changes reach the
// caller, our own writes make no echo, failed updates are retried until their files are stable,
// and missing files and a vanished folder are said once. The machine runs on fake files and a
// fake clock; one test follows a real folder as a pixel editor writes into it.
#include <gtest/gtest.h>
#include <poll.h>

#include <filesystem>
#include <map>

#include "support/TempDir.h"
#include "watch/DiskFolder.h"
#include "watch/FolderEvents.h"
#include "watch/FolderWatch.h"

namespace trellisor {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

// Files in memory: each write moves the stamp unless told to keep it (a coarse clock).
class FakeFolder : public FolderFiles {
public:
    struct File {
        std::string bytes;
        FileStamp stamp;
    };
    std::map<std::string, File> files;
    std::map<std::string, int> reads;
    bool present = true;

    void write(const std::string& name, const std::string& bytes, bool keepStamp = false) {
        File& f = files[name];
        f.bytes = bytes;
        if (!keepStamp) f.stamp = {bytes.size(), ++m_clock, 1};
    }
    std::optional<FileStamp> stamp(const std::string& name) override {
        auto f = files.find(name);
        return f == files.end() ? std::nullopt : std::optional(f->second.stamp);
    }
    std::optional<std::uint64_t> hash(const std::string& name) override {
        ++reads[name];
        return contentHash(bytesOf(files.at(name).bytes));
    }
    bool folderPresent() override { return present; }
    static std::span<const std::uint8_t> bytesOf(const std::string& s) {
        return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
    }

private:
    std::int64_t m_clock = 0;
};

// A watch on a folder of three pictures, with the calls its caller's import gets.
struct Watched {
    FakeFolder folder;
    FolderWatch watch{folder};
    std::vector<Names> applied;
    Status answer = Status::ok();

    Watched() {
        for (const char* name : {"000.png", "001.png", "sprites.json"}) folder.write(name, "old");
        watch.follow({"000.png", "001.png", "sprites.json"});
        folder.reads.clear();
    }
    std::optional<FolderUpdate> poll(std::chrono::milliseconds now) {
        return watch.poll(now, [this](const Names& changed) {
            applied.push_back(changed);
            return answer;
        });
    }
    void write(const std::string& name, const std::string& bytes, std::chrono::milliseconds now) {
        folder.write(name, bytes);
        watch.touched(name, now);
    }
};

TEST(FolderWatch, ChecksOnceTheWritingHasSettledOrAtTheLatestAfterTheLongestWait) {
    Watched w;
    w.write("000.png", "new", 0ms);
    w.watch.touched(".000.png.tmp", 100ms);  // a temporary file still being written
    EXPECT_EQ(w.watch.nextCheck(), 250ms);
    EXPECT_FALSE(w.poll(249ms));
    auto update = w.poll(250ms);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->kind, FolderUpdate::Kind::Applied);
    EXPECT_EQ(w.applied, std::vector<Names>{{"000.png"}});
    EXPECT_EQ(w.watch.nextCheck(), std::nullopt);

    // A folder that never falls quiet is still checked, once per longest wait.
    for (auto t = 1000ms; t <= 3000ms; t += 100ms) {
        w.write("001.png", "step " + std::to_string(t.count()), t);
        w.poll(t);
    }
    EXPECT_EQ(w.applied.size(), 2u);
}

TEST(FolderWatch, OnlyFilesWhoseContentChangedReachTheCallerAndOthersAreNotRead) {
    Watched w;
    w.write("000.png", "old", 0ms);            // saved again as it was
    w.folder.write("001.png", "other", true);  // within the clock's tick: the event names it
    w.watch.touched("001.png", 0ms);
    ASSERT_TRUE(w.poll(1s));
    EXPECT_EQ(w.applied, std::vector<Names>{{"001.png"}});
    EXPECT_EQ(w.folder.reads, (std::map<std::string, int>{{"000.png", 1}, {"001.png", 1}}));
    // Lost events: the stamps decide, and only a moved stamp is read.
    w.folder.write("sprites.json", "[]");
    w.watch.touched("", 2s);
    ASSERT_TRUE(w.poll(3s));
    EXPECT_EQ(w.applied.back(), Names{"sprites.json"});
    EXPECT_EQ(w.folder.reads,
              (std::map<std::string, int>{{"000.png", 1}, {"001.png", 1}, {"sprites.json", 1}}));
    // Nothing changed: no update at all.
    w.write("000.png", "old", 4s);
    EXPECT_FALSE(w.poll(5s));
}

TEST(FolderWatch, OurOwnWritesMakeNoEchoButAnOutsideChangeIsNotOverwritten) {
    Watched w;
    w.folder.write("000.png", "ours");
    w.watch.wrote("000.png", contentHash(FakeFolder::bytesOf("ours")));
    w.watch.touched("000.png", 0ms);
    EXPECT_FALSE(w.poll(1s));
    EXPECT_TRUE(w.applied.empty());
    EXPECT_TRUE(w.watch.holdsAgreed("000.png"));
    // A save in the pixel editor that is not imported yet must not be written over.
    w.write("001.png", "theirs", 2s);
    EXPECT_FALSE(w.watch.holdsAgreed("001.png"));
    EXPECT_TRUE(w.watch.holdsAgreed("new.png")) << "not followed: nothing agreed on to lose";
}

TEST(FolderWatch, AFailedUpdateIsRetriedUntilItsFilesAreStableAndThenReported) {
    Watched w;
    w.answer = Status::fail("000.png: cannot read the picture");
    w.write("000.png", "half", 0ms);
    EXPECT_FALSE(w.poll(150ms));  // tried, failed: tried again in 250 ms
    EXPECT_EQ(w.watch.nextCheck(), 400ms);
    w.folder.write("000.png", "more");  // the editor is still writing
    std::optional<FolderUpdate> update;
    auto t = 400ms;
    for (; !update && t < 5s; t += 50ms) update = w.poll(t);
    ASSERT_TRUE(update);
    // 2 s after the stamp last moved (at the try at 400 ms), at the next try.
    EXPECT_TRUE(t - 50ms >= 2400ms && t - 50ms < 2650ms) << (t - 50ms).count();
    EXPECT_EQ(update->kind, FolderUpdate::Kind::Refused);
    EXPECT_EQ(update->reason, "000.png: cannot read the picture");
    EXPECT_EQ(w.watch.nextCheck(), std::nullopt) << "said once, then quiet";
    // Mended: the next save is applied, and the change not taken before comes with it.
    w.answer = Status::ok();
    w.write("001.png", "fine", 10s);
    ASSERT_TRUE(w.poll(11s));
    EXPECT_EQ(w.applied.back(), (Names{"000.png", "001.png"}));
}

TEST(FolderWatch, AMissingFileOrAGoneFolderIsSaidOnce) {
    Watched w;
    w.folder.files.erase("001.png");
    w.watch.touched("001.png", 0ms);
    auto update = w.poll(1s);
    ASSERT_TRUE(update);
    EXPECT_EQ(std::pair(update->missing, update->changed), std::pair(Names{"001.png"}, Names{}));
    w.watch.touched("000.png", 2s);
    EXPECT_FALSE(w.poll(3s)) << "said once";
    w.write("001.png", "old", 4s);
    EXPECT_FALSE(w.poll(5s)) << "back as it was: nothing to take in";
    w.folder.present = false;
    w.watch.touched("000.png", 6s);
    update = w.poll(7s);
    EXPECT_EQ(update ? int(update->kind) : -1, int(FolderUpdate::Kind::FolderGone));
    EXPECT_EQ(w.watch.nextCheck(), std::nullopt) << "nothing more to do";
    EXPECT_TRUE(w.applied.empty());
}

TEST(FolderWatch, HundredsOfFilesRewrittenAtOnceAreOneUpdate) {
    FakeFolder folder;
    Names names;
    for (int i = 0; i < 400; ++i) names.push_back(std::to_string(1000 + i) + ".png");
    for (const auto& name : names) folder.write(name, "old");
    FolderWatch watch(folder);
    watch.follow(names);
    for (std::size_t i = 0; i < names.size(); ++i) {
        folder.write(names[i], "new");
        watch.touched(names[i], std::chrono::milliseconds(i));
    }
    int calls = 0;
    auto apply = [&](const Names& changed) {
        ++calls;
        EXPECT_EQ(changed, names);
        return Status::ok();
    };
    for (auto t = 0ms; t < 3s; t += 10ms) watch.poll(t, apply);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(nameList(names, 2), "1000.png, 1001.png and 398 more") << "the line that says so";
}

// A real folder and the kernel's events: a picture written under a temporary name and renamed
// over the old one, as pixel editors save; then the folder renamed away.
TEST(FolderWatch, FollowsARealFolderThroughWriteThenRenameAndItsMove) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("pics"));
    dir.writeText("pics/055.png", "old");
    DiskFolder folder(dir.file("pics"));
    FolderWatch watch(folder, WatchTiming{20ms, 2000ms, 50ms, 200ms});
    watch.follow({"055.png"});
    FolderEvents events(folder.dir(), watch, steadyWatchTime());
    ASSERT_TRUE(events.isOpen());
    auto now = steadyWatchTime;
    // Waits for events until the watch says something (or 5 s pass).
    auto next = [&]() -> std::optional<FolderUpdate> {
        for (const auto end = now() + 5s; now() < end;) {
            pollfd p{events.descriptor(), POLLIN, 0};
            const auto due = watch.nextCheck();
            ::poll(&p, 1, due ? int(std::max(0ms, *due - now()).count()) : 100);
            events.deliver(watch, now());
            if (auto update = watch.poll(now(), [](const Names&) { return Status::ok(); })) return update;
        }
        return std::nullopt;
    };
    dir.writeText("pics/.gimp-055.png", "new");
    std::filesystem::rename(dir.file("pics/.gimp-055.png"), dir.file("pics/055.png"));
    auto update = next();
    ASSERT_TRUE(update);
    EXPECT_EQ(std::pair(update->kind, update->changed),
              std::pair(FolderUpdate::Kind::Applied, Names{"055.png"}));
    std::filesystem::rename(dir.file("pics"), dir.file("renamed"));
    update = next();
    ASSERT_TRUE(update);
    EXPECT_EQ(update->kind, FolderUpdate::Kind::FolderGone);
}

}  // namespace
}  // namespace trellisor
