// Fuzzes the bitmap reader and the import of what it reads into a page of tile
// sprites; the import may change pixel values only, never sizes or offsets.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/support/SceneObject.h"
#include "preview/BitmapImport.h"

using namespace trellisor;

namespace {

// The scene object with most tiles shrunk to a few pixels at scattered offsets, so
// that each input runs quickly while full tiles, raw sprites, stairs and ramps remain.
std::vector<test::SpriteSpec> fuzzSprites() {
    auto sprites = test::sceneSprites();
    for (int i = 0; i <= 70; ++i) {
        if (i == 0 || i == 16 || i == 51 || i == 67) continue;
        sprites[std::size_t(i)] =
            test::solidRowCodedSprite(3, 2, std::uint8_t(10 + 3 * i), 7 * i - 200, 5 * i - 120);
    }
    sprites[5] = test::solidRawSprite(4, 4, 40);
    return sprites;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> chunk = test::buildChunk(test::twelveStrings(), fuzzSprites());
    auto bitmap = readBitmapBytes({data, size});
    if (!bitmap) {
        if (bitmap.error().empty()) std::abort();
        return 0;
    }
    if (bitmap->colourCount > 256 || bitmap->pixels.size() > size) std::abort();

    static PathObject obj = test::buildObject(fuzzSprites());
    std::memcpy(obj.m_data.get(), chunk.data(), chunk.size());
    const auto sprites = obj.m_sprites;
    // The file's last byte chooses the page and the protected ramps.
    ProtectedRamps marks{};
    const std::uint8_t choice = size > 0 ? data[size - 1] : 0;
    for (int r = 0; r < kRampCount; ++r) marks[std::size_t(r)] = ((choice >> (r % 8)) & 1) && r % 3 == 0;
    Status s = importBitmapIntoPage(obj, (choice & 1) ? PageQueue : PagePath, bitmap.value(), marks);
    if (!s && s.error() != kBitmapDepthMessage) std::abort();
    if (obj.m_sprites != sprites || obj.m_dataSize != chunk.size()) std::abort();
    // Stairs, ramps and everything outside the two pages keep their bytes.
    for (unsigned i : {16u, 19u, 67u, 70u, 73u, 120u}) {
        auto [start, end] = obj.spriteSpan(i);
        if (std::memcmp(obj.m_data.get() + start, chunk.data() + start, end - start) != 0) std::abort();
    }
    return 0;
}
