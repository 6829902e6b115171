// The fuzz targets' committed seed corpora (written by trellisor-fuzz-seeds) read back:
// every seed is taken by its target's reader, except the inputs kept because a reader
// must refuse them, which are refused cleanly with a one-line reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/Files.h"
#include "gfx/ImageFiles.h"
#include "object/DescriptorFile.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"
#include "preview/BitmapImport.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

// The reader's reason for refusing the seed, "" when it reads it.
std::string refusal(const std::string& target, const std::string& name, std::span<const std::uint8_t> b) {
    if (target == "fuzz_pcx_file") return readPcxBytes(b).error();
    if (target == "fuzz_pcx_memory")
        return readPcxData(b.subspan(8), loadLe16(&b[0]), loadLe16(&b[2]), loadLe16(&b[4]), loadLe16(&b[6]))
            .error();
    if (target == "fuzz_tiff") return readTiffBytes(b).error();
    if (target == "fuzz_bitmap") return readBitmapBytes(b).error();
    if (target == "fuzz_descriptor")
        return parseDescriptorText({reinterpret_cast<const char*>(b.data()), b.size()}).empty() ? "no entries"
                                                                                                : "";
    if (target == "fuzz_type_file") {
        PathObject obj = test::buildObject(test::standardSprites(168));
        return applyTypeBytes(obj, spritePageFromCliName(name).value_or(-1), b).error();
    }
    PathObject obj;
    return readObjectBytes(obj, b).reason;
}

TEST(FuzzCorpus, SeedsAreReadAndKnownBadInputsRefused) {
    const std::set<std::string> refused = {"fuzz_object_file/cut", "fuzz_object_file/not-a-path",
                                           "fuzz_bitmap/pal8-table-too-large.bmp",
                                           "fuzz_bitmap/cut-in-header.bmp"};
    int seeds = 0, refusals = 0;
    for (const auto& dir : std::filesystem::directory_iterator(TRELLISOR_CORPUS_DIR))
        for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
            const std::string target = dir.path().filename(), name = file.path().filename();
            if (target == "fuzz_sprite_import") continue;  // a sprite folder, not one file: replayed by the fuzz build
            const auto bytes = readFileBytes(file.path());
            ASSERT_TRUE(bytes) << bytes.error();
            const std::string reason = refusal(target, name, bytes.value());
            const bool bad = refused.count(target + "/" + name) != 0;
            EXPECT_EQ(reason.empty(), !bad) << target << "/" << name << ": " << reason;
            EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
            ++seeds, refusals += bad;
        }
    EXPECT_GE(seeds, 33);
    EXPECT_EQ(refusals, 4);
}

}  // namespace
}  // namespace trellisor
