// Following a folder, on fake files and a fake clock; one test follows a real folder as a pixel
// editor writes into it.
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
using Reads = std::map<std::string, int>;

// Files in memory: each write moves the stamp unless told to keep it (a coarse clock).
struct FakeFolder : FolderFiles {
    std::map<std::string, std::pair<std::string, FileStamp>> files;
    Reads reads;
    bool present = true;
    std::int64_t clock = 0;

    void write(const std::string& name, const std::string& bytes, bool keepStamp = false) {
        files[name].first = bytes;
        if (!keepStamp) files[name].second = {bytes.size(), ++clock, 1};
    }
    std::optional<FileStamp> stamp(const std::string& name) override {
        return files.contains(name) ? std::optional(files[name].second) : std::nullopt;
    }
    std::optional<std::uint64_t> hash(const std::string& name) override {
        ++reads[name];
        const std::string& bytes = files.at(name).first;
        return contentHash({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    }
    bool folderPresent() override { return present; }
};

// A watch on a folder of these files, with the calls its caller's import gets.
struct Watched {
    FakeFolder folder;
    FolderWatch watch{folder};
    std::vector<Names> applied;
    Status answer = Status::ok();

    explicit Watched(const Names& names = {"000.png", "001.png", "sprites.json"}) {
        for (const auto& name : names) folder.write(name, "old");
        watch.follow(names);
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
    EXPECT_TRUE(w.poll(250ms));
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
    EXPECT_EQ(w.folder.reads, (Reads{{"000.png", 1}, {"001.png", 1}}));
    // Lost events: the stamps decide, and only a moved stamp is read.
    w.folder.write("sprites.json", "[]");
    w.watch.touched("", 2s);
    ASSERT_TRUE(w.poll(3s));
    EXPECT_EQ(w.applied.back(), Names{"sprites.json"});
    EXPECT_EQ(w.folder.reads, (Reads{{"000.png", 1}, {"001.png", 1}, {"sprites.json", 1}}));
    // Nothing changed: no update at all.
    w.write("000.png", "old", 4s);
    EXPECT_FALSE(w.poll(5s));
}

TEST(FolderWatch, OurOwnWritesMakeNoEchoButAnOutsideChangeIsNotOverwritten) {
    Watched w;
    w.folder.write("000.png", "ours");
    w.watch.wrote("000.png", *w.folder.hash("000.png"));
    w.watch.touched("000.png", 0ms);
    EXPECT_FALSE(w.poll(1s));
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
    EXPECT_FALSE(w.poll(150ms));  // failed: tried again in 250 ms
    EXPECT_EQ(w.watch.nextCheck(), 400ms);
    w.folder.write("000.png", "more");  // the editor is still writing
    std::optional<FolderUpdate> update;
    auto t = 400ms;
    for (; !update && t < 5s; t += 50ms) update = w.poll(t);
    ASSERT_TRUE(update);
    // 2 s after the stamp last moved (at 400 ms), at the next try.
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

TEST(FolderWatch, WhatChangedBeforeTheEventsOpenedIsTakenInAndAMovedFolderIsDueAtOnce) {
    Watched w;
    w.folder.write("000.png", "new");
    const FolderEvents events("", w.watch, 0ms);  // no folder to listen to: still one look
    EXPECT_EQ(w.watch.nextCheck(), 150ms);
    ASSERT_TRUE(w.poll(150ms));
    EXPECT_EQ(w.applied, std::vector<Names>{{"000.png"}});
    w.watch.folderMoved();
    EXPECT_EQ(w.watch.nextCheck(), 0ms);
    const auto update = w.poll(1s);
    EXPECT_EQ(update ? int(update->kind) : -1, int(FolderUpdate::Kind::FolderGone));
}

TEST(FolderWatch, HundredsOfFilesRewrittenAtOnceAreOneUpdate) {
    Names names;
    for (int i = 0; i < 400; ++i) names.push_back(std::to_string(1000 + i) + ".png");
    Watched w(names);
    for (std::size_t i = 0; i < names.size(); ++i) w.write(names[i], "new", std::chrono::milliseconds(i));
    for (auto t = 0ms; t < 3s; t += 10ms) w.poll(t);
    EXPECT_EQ(w.applied, std::vector<Names>{names});
    EXPECT_EQ(nameList(names, 2), "1000.png, 1001.png and 398 more");
}

// The kernel's events: a picture written under a temporary name and renamed over the old one, as
// pixel editors save; then the folder renamed away.
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
