// Reading BMP files and repainting row-coded sprites from them.
#include "preview/BitmapImport.h"

#include <cstdlib>

#include "base/Bytes.h"
#include "base/Files.h"
#include "preview/SpriteWalk.h"

namespace trellisor {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

BitmapInfoHeader readInfoHeader(ByteReader& in) {
    BitmapInfoHeader h;
    h.biSize = in.u32();
    h.biWidth = in.i32();
    h.biHeight = in.i32();
    h.biPlanes = in.u16();
    h.biBitCount = in.u16();
    h.biCompression = in.u32();
    h.biSizeImage = in.u32();
    h.biXPelsPerMeter = in.i32();
    h.biYPelsPerMeter = in.i32();
    h.biClrUsed = in.u32();
    h.biClrImportant = in.u32();
    return h;
}

// The bitmap colour under a sprite pixel, or false when the bitmap does not
// hold one there (outside its rows or data, or an index beyond its table).
bool bitmapColour(const ImportedBitmap& bitmap, int row, int column, RgbQuad& colour) {
    const std::uint64_t base = std::uint64_t(row) * std::uint64_t(bitmap.rowStride);
    const auto& px = bitmap.pixels;
    if (bitmap.infoHeader.biBitCount == 8) {
        const std::uint64_t at = base + std::uint64_t(column);
        if (at >= px.size()) return false;
        const std::uint8_t i = px[std::size_t(at)];
        if (i >= bitmap.colourCount) return false;
        colour = bitmap.colourTable[i];
        return true;
    }
    const std::uint64_t at = base + 3 * std::uint64_t(column);
    if (at + 3 > px.size()) return false;
    colour = RgbQuad{px[std::size_t(at)], px[std::size_t(at + 1)], px[std::size_t(at + 2)], 0};
    return true;
}

}  // namespace

Result<ImportedBitmap> readBitmapBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize)
        return Result<ImportedBitmap>::fail("bitmap of " + std::to_string(bytes.size()) +
                                            " bytes is shorter than its 54 bytes of headers");
    ImportedBitmap bmp;
    ByteReader in(bytes);
    auto head = in.take(kFileHeaderSize);
    std::copy(head.begin(), head.end(), bmp.fileHeader.begin());
    bmp.infoHeader = readInfoHeader(in);
    const auto& info = bmp.infoHeader;
    // 64-bit, so that absurd widths give an absurd stride rather than a wrapped one.
    bmp.rowStride = ((std::int64_t(info.biWidth) * info.biBitCount + 31) / 32) * 4;

    if (info.biBitCount < 24) {
        const std::uint32_t entries = info.biClrUsed != 0 ? info.biClrUsed : 256;
        if (entries > 256)
            return Result<ImportedBitmap>::fail("bitmap colour table of " + std::to_string(entries) +
                                                " entries is larger than 256");
        if (!in.canRead(std::size_t(entries) * 4))
            return Result<ImportedBitmap>::fail("bitmap file ends inside its colour table of " +
                                                std::to_string(entries) + " entries");
        for (std::uint32_t i = 0; i < entries; ++i) {
            RgbQuad& q = bmp.colourTable[i];
            q.blue = in.u8();
            q.green = in.u8();
            q.red = in.u8();
            q.reserved = in.u8();
        }
        bmp.colourCount = entries;
    }
    auto rest = in.take(in.remaining());
    bmp.pixels.assign(rest.begin(), rest.end());
    return Result<ImportedBitmap>::ok(std::move(bmp));
}

Result<ImportedBitmap> readBitmapFile(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return Result<ImportedBitmap>::fail(bytes.error());
    return readBitmapBytes(bytes.value());
}

bool isImportableDepth(const ImportedBitmap& bitmap) {
    return bitmap.infoHeader.biBitCount == 8 || bitmap.infoHeader.biBitCount == 24;
}

void importBitmapIntoSprite(PathObject& obj, unsigned index, const ImportedBitmap& bitmap,
                            const ProtectedRamps& marks) {
    if (!isImportableDepth(bitmap) || index >= obj.m_sprites.size()) return;
    const SpriteHeader& h = obj.m_sprites[index];
    const std::int32_t bmpWidth = bitmap.infoHeader.biWidth, bmpHeight = bitmap.infoHeader.biHeight;
    forEachSpritePixel(obj, index, SpriteFormats::RowCodedOnly, [&](int x, int r, std::uint8_t& c) {
        // Both positions wrap at 8 bits: the bitmap's top-left pixel lies 32 pixels
        // left of the sprite's anchor, and BMP rows are stored bottom-up.
        const int row = std::uint8_t(std::int64_t(bmpHeight) - 1 - r - h.yOffset);
        const int column = std::uint8_t(x + h.xOffset + 32);
        if (isColourProtected(marks, c) || column >= bmpWidth || row >= bmpHeight) return;
        RgbQuad colour;
        if (bitmapColour(bitmap, row, column, colour))
            c = matchPaletteColour(colour.red, colour.green, colour.blue);
    });
}

Status importBitmapIntoPage(PathObject& obj, int page, const ImportedBitmap& bitmap,
                            const ProtectedRamps& marks) {
    if (!isImportableDepth(bitmap)) return Status::fail(kBitmapDepthMessage);
    if (!obj.m_data || obj.m_dataSize == 0) return Status::ok();
    for (int i = obj.pageFirstSprite(page); i <= obj.pageLastSprite(page); ++i)
        if (!isStairsOrRamp(i)) importBitmapIntoSprite(obj, unsigned(i), bitmap, marks);
    return Status::ok();
}

int colourDistance(const RgbQuad& palette, int r, int g, int b) {
    return std::abs(palette.red - r) + std::abs(palette.green - g) + std::abs(palette.blue - b);
}

std::uint8_t matchPaletteColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::array<bool, kRampCount> all;
    all.fill(true);
    return matchPaletteColour(r, g, b, all);
}

std::uint8_t matchPaletteColour(int r, int g, int b, const std::array<bool, kRampCount>& ramps) {
    int best = 9999, bestIndex = 0;
    // Ramp by ramp is index by index: the lowest index still wins a tie.
    for (int ramp = 0; ramp < kRampCount && best > 0; ++ramp) {
        if (!ramps[std::size_t(ramp)]) continue;
        const int first = kFirstRampIndex + ramp * kShadesPerRamp;
        for (int i = first; i < first + kShadesPerRamp && best > 0; ++i) {
            const int d = colourDistance(previewPalette[std::size_t(i)], r, g, b);
            if (d < best) {
                best = d;
                bestIndex = i;
            }
        }
    }
    return std::uint8_t(bestIndex);
}

ImportedBitmap bitmapFromRgbRows(int width, int height, std::span<const std::uint8_t> rgb) {
    ImportedBitmap bmp;
    bmp.fileHeader[0] = 'B';
    bmp.fileHeader[1] = 'M';
    bmp.infoHeader.biSize = kInfoHeaderSize;
    bmp.infoHeader.biWidth = width;
    bmp.infoHeader.biHeight = height;
    bmp.infoHeader.biPlanes = 1;
    bmp.infoHeader.biBitCount = 24;
    bmp.rowStride = ((std::int64_t(width) * 24 + 31) / 32) * 4;
    if (width <= 0 || height <= 0 || rgb.size() < std::size_t(width) * 3 * std::size_t(height)) return bmp;
    bmp.pixels.assign(std::size_t(bmp.rowStride) * std::size_t(height), 0);
    // Stored bottom-up, blue-green-red, as the file would hold them.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = rgb.data() + std::size_t(y) * std::size_t(width) * 3;
        std::uint8_t* to = bmp.pixels.data() + std::size_t(height - 1 - y) * std::size_t(bmp.rowStride);
        for (int x = 0; x < width; ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return bmp;
}

bool isStairsOrRamp(int index) {
    if (index >= 16 && index < 20) return true;
    if (index < 67) return false;
    return index <= 70;
}

}  // namespace trellisor
