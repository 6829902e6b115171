// The frame shared by every drawing operation: centring, rejection and the clip.
#include "gfx/DrawFrame.h"

#include <algorithm>

namespace trellisor {

bool placeSource(const Image& src, const Image& dst, int& x, int& y, bool centred) {
    // 64-bit sums: positions far off either edge must not wrap around into view.
    std::int64_t left = x, top = y;
    if (centred) {
        left -= src.width() >> 1;
        top -= src.height() >> 1;
    }
    if (left >= dst.width() || left + src.width() <= 0 || top >= dst.height() || top + src.height() <= 0)
        return false;
    // A source that overlaps dst starts within an int of its origin.
    x = int(left);
    y = int(top);
    return true;
}

namespace {

// Horizontal part of the clip, shared by both directions: returns the first
// visible source column and sets x and width.
int clipColumns(const Image& src, const Image& dst, int& x, int& width) {
    width = src.width();
    if (std::int64_t(x) + src.width() >= dst.width())
        width -= int(std::int64_t(x) + src.width() - dst.width());
    int firstColumn = 0;
    if (x < 0) {
        firstColumn = -x;
        width += x;
        x = 0;
    }
    return firstColumn;
}

}  // namespace

bool clipBlit(Image& src, const Image& dst, std::uint8_t* dstPixels, int x, int y, BlitParams& params) {
    std::uint8_t* s = src.lock(1);
    if (!s) return false;
    int width = 0;
    const int firstColumn = clipColumns(src, dst, x, width);
    int rows = src.height();
    if (std::int64_t(y) + src.height() >= dst.height())
        rows -= int(std::int64_t(y) + src.height() - dst.height());
    int firstRow = 0;
    if (y < 0) {
        firstRow = -y;
        rows += y;
        y = 0;
    }
    params.src =
        s + std::ptrdiff_t(firstColumn) * src.bytesPerPixel() + std::ptrdiff_t(firstRow) * src.pitchBytes();
    params.width = width;
    params.rows = rows;
    params.srcSkip = src.pitch() - width;
    params.dst = dstPixels + (std::ptrdiff_t(x) + std::ptrdiff_t(y) * dst.pitch()) * dst.bytesPerPixel();
    params.dstSkip = dst.pitch() - width;
    return true;
}

bool clipBlitFlipped(Image& src, const Image& dst, std::uint8_t* dstPixels, int x, int y,
                     BlitParams& params) {
    std::uint8_t* s = src.lock(1);
    if (!s) return false;
    int width = 0;
    const int firstColumn = clipColumns(src, dst, x, width);
    // Source row r lands on destination row y + height - 1 - r. The source is
    // walked downwards from its first visible row, the destination upwards.
    const std::int64_t h = src.height();
    const std::int64_t firstRow = std::max<std::int64_t>(0, std::int64_t(y) + h - dst.height());
    const std::int64_t lastRow = h - 1 - std::max<std::int64_t>(0, -std::int64_t(y));
    const std::int64_t topDstRow = std::int64_t(y) + h - 1 - firstRow;
    params.src =
        s + std::ptrdiff_t(firstColumn) * src.bytesPerPixel() + std::ptrdiff_t(firstRow) * src.pitchBytes();
    params.width = width;
    params.rows = int(lastRow - firstRow + 1);
    params.srcSkip = src.pitch() - width;
    params.dst =
        dstPixels + (std::ptrdiff_t(x) + std::ptrdiff_t(topDstRow) * dst.pitch()) * dst.bytesPerPixel();
    params.dstSkip = -dst.pitch() - width;
    return true;
}

}  // namespace trellisor
