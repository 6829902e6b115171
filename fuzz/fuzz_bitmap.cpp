// Fuzzes the bitmap reader and the import of what it reads into a page of tile
// sprites; the import may change pixel values only, never sizes or offsets.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/preview/SceneObject.h"
#include "preview/BitmapImport.h"

using namespace trellisor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<std::uint8_t> chunk =
        test::buildChunk(test::twelveStrings(), test::sceneSprites());
    auto bitmap = readBitmapBytes({data, size});
    if (!bitmap) {
        if (bitmap.error().empty()) std::abort();
        return 0;
    }
    if (bitmap->colourCount > 256 || bitmap->pixels.size() > size) std::abort();

    static PathObject obj = test::buildObject(test::sceneSprites());
    std::memcpy(obj.m_data.get(), chunk.data(), chunk.size());
    const auto sprites = obj.m_sprites;
    // The last bytes of the header choose the page and the protected ramps.
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
