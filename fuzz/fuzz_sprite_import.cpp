// Fuzzes the sprite picture import without Qt: a picture made from the input (its size,
// offsets, encoding, dithering, ramps, and indices with a colour table or RGBA pixels) goes
// through the game palette test and the import into a small object. A refusal must leave
// the object as it was; an import must change only its sprite, which must then show the
// matched picture and, imported again, stay as it is. The input's tail also feeds the
// 24-bit bitmap that pictures of other formats become for Import Bitmap.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/sprites/SpriteSamples.h"
#include "preview/BitmapImport.h"
#include "sprites/SpriteImport.h"

using namespace trellisor;

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    int word() { return byte() | (byte() << 8); }
    // The rest of the input, cycled to n bytes (zeros when nothing is left).
    std::vector<std::uint8_t> bytes(std::size_t n) {
        std::vector<std::uint8_t> out(n, 0);
        if (m_pos < m_size)
            for (std::size_t i = 0; i < n; ++i) out[i] = m_data[m_pos + i % (m_size - m_pos)];
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size, m_pos = 0;
};

std::vector<std::uint8_t> dataOf(const PathObject& obj) {
    return {obj.m_data.get(), obj.m_data.get() + obj.m_dataSize};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t mode = in.byte();
    SpriteReplacement r;
    r.index = unsigned(mode & 7);  // 6 and 7 are past the object's sprites
    r.flags = (mode & 8) ? kSpriteRowCoded : ((mode & 16) ? 3 : kSpriteRaw);
    const bool rgba = (mode & 32) != 0;
    Matching matching;
    matching.dither = Dither((mode >> 6) % 3);
    const int rampBits = in.word() | (in.byte() << 16);
    if (rampBits != 0)
        for (int k = 0; k < kRampCount; ++k) matching.ramps[std::size_t(k)] = ((rampBits >> k) & 1) != 0;
    // Sizes up to 300 x 16, so that runs past column 255 are tried; 0 or a spoiled size now and then.
    Picture& p = r.picture;
    p.width = in.word() % 301;
    p.height = in.byte() % 17;
    p.xOffset = in.word() - 32768 + ((mode & 1) ? 1000 : 0);
    p.yOffset = std::int16_t(in.word());
    p.indexed = !rgba;
    const std::size_t n = p.pixelCount();
    if (rgba) {
        const auto bytes = in.bytes(n * 4);
        for (std::size_t i = 0; i < n; ++i)
            p.colours.push_back({bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]});
    } else {
        // A colour table of the game palette with a few entries taken from the input, as an
        // edited file's table may be: a picture whose table is not the game's becomes colours.
        std::vector<Rgba> table;
        for (int i = 0; i < 256; ++i) table.push_back(gameColour(std::uint8_t(i)));
        const int changes = in.byte() % 4;
        for (int c = 0; c < changes; ++c) table[in.byte()] = {in.byte(), in.byte(), in.byte(), in.byte()};
        p.indices = in.bytes(n);
        if (!usesGamePalette(table, p.indices)) {
            p.indexed = false;
            for (std::uint8_t c : p.indices) p.colours.push_back(c == 0 ? Rgba{} : table[c]);
            p.indices.clear();
        }
    }
    if ((mode & 0x18) == 0x18 && !p.indices.empty()) p.indices.pop_back();  // data short of the size

    PathObject obj = test::spriteSampleObject();
    const PathObject original = test::spriteSampleObject();
    const auto before = dataOf(obj);
    auto count = importSprites(obj, std::span(&r, 1), matching);
    if (!count) {
        if (count.error().empty() || dataOf(obj) != before || obj.m_sprites != original.m_sprites)
            std::abort();
    } else if (count.value() == 0) {
        if (dataOf(obj) != before || !showsSprite(obj, r.index, p, r.flags)) std::abort();
    } else {
        for (unsigned i = 0; i < obj.m_sprites.size(); ++i) {
            if (i == r.index) continue;
            const std::span<const std::uint8_t> a = obj.spritePixels(i), b = original.spritePixels(i);
            if (!std::equal(a.begin(), a.end(), b.begin(), b.end())) std::abort();
        }
        const SpriteHeader& h = obj.m_sprites[r.index];
        if (h.width != p.width || h.height != p.height || h.xOffset != p.xOffset || h.yOffset != p.yOffset ||
            h.flags != r.flags)
            std::abort();
        SpriteReplacement again{r.index, spritePicture(obj, r.index, false), r.flags, {}};
        if (again.picture.indices != matchPicture(p, matching)) std::abort();
        const auto imported = dataOf(obj);
        auto repeat = importSprites(obj, std::span(&again, 1), matching);
        if (!repeat || repeat.value() != 0 || dataOf(obj) != imported) std::abort();
    }

    // The tail as rows of a 24-bit picture.
    const int w = in.byte() % 40, h = in.byte() % 40;
    const auto rows = in.bytes(std::size_t(w) * 3 * std::size_t(h) + (mode & 1));
    const ImportedBitmap bmp = bitmapFromRgbRows(w, h, rows);
    if (w > 0 && h > 0 && bmp.pixels.size() != std::size_t(bmp.rowStride) * std::size_t(h)) std::abort();
    return 0;
}
