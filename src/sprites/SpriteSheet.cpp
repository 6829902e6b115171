// The sprite sheet: cells laid out in rows, numbers in a small built-in digit font (the
// command line has no fonts to draw with).
#include "sprites/SpriteSheet.h"

#include <algorithm>
#include <array>
#include <string>

namespace trellisor {

namespace {

// 3 x 5 digits, one row of three bits (left to right: 4, 2, 1) per entry; each font pixel is
// drawn as a 2 x 2 block.
constexpr std::array<std::array<std::uint8_t, 5>, 10> kDigits = {{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};
constexpr int kFontPixel = 2;
constexpr int kDigitWidth = 3 * kFontPixel, kDigitAdvance = kDigitWidth + kFontPixel;
constexpr int kLabelHeight = 5 * kFontPixel + 4;  // the digits and room around them
constexpr int kGap = 4;                           // between cells and around the sheet
constexpr int kMinCellSide = 24;
constexpr int kCheckSquare = 4;

constexpr Rgba kPaper{255, 255, 255, 255}, kInk{0, 0, 0, 255};
constexpr Rgba kLightCheck{232, 232, 232, 255}, kDarkCheck{200, 200, 200, 255};

class Canvas {
public:
    explicit Canvas(Picture& p) : m_p(p) {}
    void put(int x, int y, Rgba c) {
        if (x >= 0 && y >= 0 && x < m_p.width && y < m_p.height)
            m_p.colours[std::size_t(y) * std::size_t(m_p.width) + std::size_t(x)] = c;
    }
    void fill(int left, int top, int w, int h, Rgba c) {
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) put(x, y, c);
    }
    void checkerboard(int left, int top, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(left + x, top + y, (x / kCheckSquare + y / kCheckSquare) % 2 ? kDarkCheck : kLightCheck);
    }
    void number(unsigned n, int centreX, int top) {
        const std::string text = std::to_string(n);
        int x = centreX - (int(text.size()) * kDigitAdvance - kFontPixel) / 2;
        for (char d : text) {
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (kDigits[std::size_t(d - '0')][std::size_t(row)] & (4 >> col))
                        fill(x + col * kFontPixel, top + row * kFontPixel, kFontPixel, kFontPixel, kInk);
            x += kDigitAdvance;
        }
    }

private:
    Picture& m_p;
};

}  // namespace

Result<Picture> spriteSheet(const PathObject& obj, const std::vector<GalleryCell>& cells) {
    int cellW = kMinCellSide, cellH = kMinCellSide;
    for (const GalleryCell& c : cells) {
        const SpriteBox box = spriteBox(obj, c.sprite);
        cellW = std::max(cellW, box.width);
        cellH = std::max(cellH, box.height);
    }
    const int count = std::max(int(cells.size()), 1);
    const int columns = std::min(count, kSheetColumns), rows = (count + columns - 1) / columns;
    const std::int64_t width = kGap + std::int64_t(columns) * (cellW + kGap);
    const std::int64_t height = kGap + std::int64_t(rows) * (cellH + kLabelHeight + kGap);
    if (width > kMaxSheetSide || height > kMaxSheetSide)
        return Result<Picture>::fail("a sheet of " + std::to_string(cells.size()) + " sprites would be " +
                                     std::to_string(width) + " x " + std::to_string(height) +
                                     " pixels, more than " + std::to_string(kMaxSheetSide) + " on a side");
    Picture sheet;
    sheet.width = int(width), sheet.height = int(height), sheet.indexed = false;
    sheet.colours.assign(sheet.pixelCount(), kPaper);
    Canvas canvas(sheet);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int left = kGap + int(i % std::size_t(columns)) * (cellW + kGap);
        const int top = kGap + int(i / std::size_t(columns)) * (cellH + kLabelHeight + kGap);
        canvas.number(cells[i].sprite, left + cellW / 2, top + cellH + 2);
        if (!cells[i].present) continue;
        canvas.checkerboard(left, top, cellW, cellH);
        // Each sprite centred in its cell.
        const SpriteBox box = spriteBox(obj, cells[i].sprite);
        const auto colours = spriteColours(obj, cells[i].sprite, box);
        const int x0 = left + (cellW - box.width) / 2, y0 = top + (cellH - box.height) / 2;
        for (int y = 0; y < box.height; ++y)
            for (int x = 0; x < box.width; ++x) {
                const std::uint32_t c = colours[std::size_t(y) * std::size_t(box.width) + std::size_t(x)];
                if (c >> 24)
                    canvas.put(x0 + x, y0 + y,
                               {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), 255});
            }
    }
    return Result<Picture>::ok(std::move(sheet));
}

}  // namespace trellisor
