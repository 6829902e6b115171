// Verdicts on object files and checking many of them on several threads.
#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "object/ObjectCheck.h"
#include "object/RunLength.h"
#include "support/ObjectBuilder.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A stored object file of `sprites` sprites whose head carries the right checksum, plus `delta`.
Bytes objectFile(int sprites, std::uint32_t checksumDelta = 0, std::uint32_t flags = 5) {
    const Bytes chunk = test::buildChunk(test::twelveStrings("Path"), test::standardSprites(sprites));
    Bytes file = test::storedObjectFile(chunk, flags);
    std::array<char, 8> name;
    std::copy(file.begin() + 4, file.begin() + 12, name.begin());
    storeLe32(&file[12], objectChecksum(std::uint8_t(flags), name, chunk) + checksumDelta);
    return file;
}

TEST(ObjectCheck, VerdictsAndTheirLines) {
    const Bytes good = objectFile(168);
    const std::uint32_t sum = loadLe32(&good[12]);
    char mismatch[80];
    std::snprintf(mismatch, sizeof mismatch, "checksum mismatch (stored 0x%08X, computed 0x%08X)", sum + 1,
                  sum);
    Bytes cut = good;
    cut[16] = 1;  // read as run-length coded: the stored bytes run out mid-record somewhere
    const struct {
        const char* name;
        Bytes file;
        Verdict verdict;
        std::string line;
        bool passes;
    } cases[] = {
        {"good", good, Verdict::Ok, "ok (168 sprites)", true},
        {"second support set", objectFile(146), Verdict::Ok, "ok (146 sprites)", true},
        {"second set, flag 0", objectFile(165), Verdict::Ok, "ok (165 sprites)", true},
        {"unusual count", objectFile(167), Verdict::Ok, "ok (unusual sprite count 167)", true},
        {"checksum", objectFile(168, 1), Verdict::ChecksumMismatch, mismatch, false},
        {"other type", objectFile(168, 0, 0x12), Verdict::NotAPath, "not a path object (type 2)", true},
        {"short", Bytes(7, 5), Verdict::Damaged, "damaged: file shorter than its 21-byte head (7 bytes)",
         false},
        {"no string table end", test::storedObjectFile(Bytes(40, 1)), Verdict::Damaged,
         "damaged: string table has no end marker", false},
    };
    for (const auto& c : cases) {
        const ObjectVerdict v = checkObjectBytes(c.file);
        EXPECT_EQ(v.verdict, c.verdict) << c.name;
        EXPECT_EQ(describeVerdict(v), c.line) << c.name;
        EXPECT_EQ(v.passes(), c.passes) << c.name;
    }
    EXPECT_EQ(checkObjectBytes(cut).verdict, Verdict::Damaged);
}

TEST(ObjectCheck, CountsMakeTheSummaryAndTheExitVerdict) {
    auto verdictOf = [](Verdict k) {
        ObjectVerdict v;
        v.verdict = k;
        return v;
    };
    VerdictCounts counts;
    for (Verdict k : {Verdict::Ok, Verdict::Ok, Verdict::NotAPath}) counts.add(verdictOf(k));
    EXPECT_TRUE(counts.allPass());
    EXPECT_EQ(counts.summary(),
              "3 files: 2 ok, 0 checksum mismatch, 1 not a path object, 0 damaged, 0 unreadable");
    for (Verdict k : {Verdict::ChecksumMismatch, Verdict::Damaged, Verdict::Unreadable}) {
        VerdictCounts one;
        one.add(verdictOf(k));
        EXPECT_FALSE(one.allPass()) << verdictName(k);
        EXPECT_EQ(one.summary().substr(0, 7), "1 file:");
    }
}

TEST(ObjectCheck, FilesAreCheckedInOrderOnAnyNumberOfThreads) {
    test::TempDir dir;
    std::vector<std::string> files;
    std::vector<Verdict> expected;
    const std::pair<Bytes, Verdict> kinds[] = {{objectFile(168), Verdict::Ok},
                                               {objectFile(146, 7), Verdict::ChecksumMismatch},
                                               {Bytes(3, 0), Verdict::Damaged},
                                               {{}, Verdict::Unreadable}};  // never written
    for (std::size_t i = 0; i < 40; ++i) {
        const auto& [bytes, verdict] = kinds[i % 4];
        files.push_back(dir.file("F" + std::to_string(i) + ".DAT"));
        if (verdict != Verdict::Unreadable) dir.write("F" + std::to_string(i) + ".DAT", bytes);
        expected.push_back(verdict);
    }
    for (unsigned jobs : {1u, 3u}) {
        std::vector<Verdict> got;
        checkObjectFiles(files, jobs, [&](std::size_t i, const ObjectVerdict& v) {
            EXPECT_EQ(i, got.size());
            got.push_back(v.verdict);
            EXPECT_EQ(v.reason == "No such file or directory", v.verdict == Verdict::Unreadable);
        });
        EXPECT_EQ(got, expected) << jobs << " jobs";
    }
}

}  // namespace
}  // namespace trellisor
