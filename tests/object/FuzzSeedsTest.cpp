// The fuzzers' seed inputs, built with the test builders. The test checks that each seed
// reads as intended; with TRELLISOR_WRITE_CORPUS=<fuzz/corpus folder> it also writes them
// there (that is how the committed corpora were made).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/Bytes.h"
#include "object/DescriptorFile.h"
#include "object/ObjectFile.h"
#include "object/RunLength.h"
#include "object/TypeFile.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Seed {
    std::string target;
    std::string name;
    Bytes bytes;
    bool valid;  // expected to be read without refusal
};

Bytes coded(const Bytes& chunk, std::uint32_t flags = 5) {
    Bytes file = test::storedObjectFile({}, flags);
    file[16] = 1;
    Bytes c = encodeRunLength(chunk);
    storeLe32(&file[17], std::uint32_t(c.size()));
    file.insert(file.end(), c.begin(), c.end());
    return file;
}

Bytes textBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::vector<Seed> makeSeeds() {
    std::vector<Seed> seeds;
    const auto few = std::vector<test::SpriteSpec>{test::solidRowCodedSprite(5, 3, 60, -2, -1),
                                                   test::rawSprite(3, 2, {1, 0, 2, 0, 3, 0})};
    const Bytes small = test::buildChunk({{0, "Seed"}, {3, "Saat"}}, few, 1, 2);
    seeds.push_back({"fuzz_object_file", "stored", test::storedObjectFile(small), true});
    seeds.push_back({"fuzz_object_file", "coded", coded(small), true});
    seeds.push_back({"fuzz_object_file", "full",
                     coded(test::buildChunk(test::twelveStrings("Full"), test::standardSprites(146), 1)),
                     true});
    seeds.push_back(
        {"fuzz_object_file", "no-strings", test::storedObjectFile(test::buildChunk({}, few)), true});
    seeds.push_back({"fuzz_object_file", "not-a-path", test::storedObjectFile(small, 0x06), false});
    Bytes cut = coded(small);
    cut.resize(cut.size() - 3);
    seeds.push_back({"fuzz_object_file", "cut", cut, false});

    PathObject full = test::buildObject(test::standardSprites(168), test::twelveStrings(), 1, 1);
    const char* pageNames[5] = {"path", "path-railings", "queue", "queue-railings", "supports"};
    for (int page = PagePath; page <= PageSupports; ++page)
        seeds.push_back({"fuzz_type_file", pageNames[page], buildTypeFile(full, page), true});

    seeds.push_back({"fuzz_descriptor", "two", textBytes("2\nBrick\nbrick.pth\nTarmac\ntarmac.pth\n"), true});
    seeds.push_back({"fuzz_descriptor", "missing-lines", textBytes("3\r\nA\r\na.pth\r\nB\r\n"), true});
    seeds.push_back({"fuzz_descriptor", "absurd", textBytes("  99999999 types\nX\n"), true});
    return seeds;
}

TEST(FuzzSeeds, SeedsReadAsIntendedAndAreWrittenOnRequest) {
    const auto seeds = makeSeeds();
    for (const auto& s : seeds) {
        EXPECT_LT(s.bytes.size(), 16u * 1024) << s.name;
        if (s.target == "fuzz_object_file") {
            PathObject obj;
            EXPECT_EQ(readObjectBytes(obj, s.bytes).outcome == LoadOutcome::Loaded, s.valid) << s.name;
        } else if (s.target == "fuzz_type_file") {
            PathObject obj = test::buildObject(test::standardSprites(168));
            int page = s.name == "path"             ? PagePath
                       : s.name == "path-railings"  ? PagePathRailings
                       : s.name == "queue"          ? PageQueue
                       : s.name == "queue-railings" ? PageQueueRailings
                                                    : PageSupports;
            EXPECT_TRUE(applyTypeBytes(obj, page, s.bytes).isOk()) << s.name;
        } else {
            EXPECT_FALSE(parseDescriptorText(std::string(s.bytes.begin(), s.bytes.end())).empty()) << s.name;
        }
    }
    const char* out = std::getenv("TRELLISOR_WRITE_CORPUS");
    if (!out) return;
    for (const auto& s : seeds) {
        std::filesystem::create_directories(std::filesystem::path(out) / s.target);
        std::ofstream f(std::filesystem::path(out) / s.target / s.name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(s.bytes.data()), std::streamsize(s.bytes.size()));
    }
}

}  // namespace
}  // namespace trellisor
