// Images side by side on one reference picture, each cell every stored pixel of an image with its
// row padding, so that a write past a row shows. 8 bits are palette indices (the image's palette,
// else a brown ramp: a grey one would be saved as a grey picture); 16, 24 and 32 bits the colours
// they hold, 5-5-5's spare bit and the top byte of 32 bits in the alpha channel (opaque when 0).
// A marked cell has a white line beneath it (the call that filled it reported drawing).
#pragma once

#include <algorithm>
#include <sstream>
#include <string>

#include "support/Pictures.h"
#include "support/Pixels.h"

namespace trellisor::test {

// "8", "555", "565", "24" or "32", for reference names.
inline std::string formatName(const Image& image) {
    if (image.bitsPerPixel() == 16) return image.layout16() == 2 ? "565" : "555";
    return std::to_string(image.bitsPerPixel());
}

// "W x H BITS:" and the pixel values in hex, rows separated by |.
inline std::string describe(Image& image) {
    std::ostringstream text;
    text << image.width() << " x " << image.height() << " " << image.bitsPerPixel() << ":" << std::hex;
    for (int y = 0; y < image.height(); ++y) {
        text << (y ? " |" : "");
        for (int x = 0; x < image.width(); ++x) text << " " << image.getPixel(x, y);
    }
    return text.str();
}

// A stored value of a 16-, 24- or 32-bit image as 0xAARRGGBB.
inline std::uint32_t shownColour(const Image& image, std::uint32_t v) {
    if (image.bitsPerPixel() != 16) return (0xFFu - (v >> 24)) << 24 | (v & 0xFFFFFF);
    if (image.layout16() == 2) return opaque((v >> 11) << 3, (v >> 5 & 63) << 2, (v & 31) << 3);
    return opaque((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3) & (v >> 15 ? 0x80FFFFFF : ~0u);
}

inline RefPicture storedPicture(Image& image) {
    RefPicture picture{image.pitch(), image.height(), image.bytesPerPixel() == 1, {}, {}};
    const Bytes stored = storedBytes(image);
    for (std::size_t i = 0; i < stored.size(); i += std::size_t(image.bytesPerPixel())) {
        std::uint32_t v = 0;
        for (int b = image.bytesPerPixel(); b-- > 0;) v = v << 8 | stored[i + std::size_t(b)];
        picture.pixels.push_back(picture.indexed ? v : shownColour(image, v));
    }
    const Palette* p = image.palette();
    for (std::uint32_t i = 0; picture.indexed && i < 256; ++i)
        picture.palette.push_back(p ? opaque(p->entries[i].red, p->entries[i].green, p->entries[i].blue)
                                    : opaque(i, i * 3 / 4, i / 2));
    return picture;
}

// Cells left to right in rows, a gap of grey (index 0 when indexed) between them; marks are white
// (index 255).
class Sheet {
public:
    void add(Image& image, bool marked = false) {
        RefPicture cell = storedPicture(image);
        const std::uint32_t gap = cell.indexed ? 0 : 0xFF808080u, mark = cell.indexed ? 255 : ~0u;
        cell.pixels.resize(cell.pixels.size() + std::size_t(cell.width), marked ? mark : gap);
        m_sheet.indexed = cell.indexed;
        m_sheet.palette = cell.palette;
        m_cells.push_back({m_x, m_y, cell});
        m_x += cell.width + 1;
        m_sheet.width = std::max(m_sheet.width, m_x - 1);
        m_rowHeight = std::max(m_rowHeight, cell.height + 2);
        m_sheet.height = std::max(m_sheet.height, m_y + cell.height + 1);
    }
    void newRow() {
        m_x = 0;
        m_y += m_rowHeight;
        m_rowHeight = 0;
    }
    RefPicture picture() const {
        RefPicture sheet = m_sheet;
        sheet.pixels.assign(std::size_t(sheet.width * sheet.height), sheet.indexed ? 0 : 0xFF808080u);
        for (const auto& [left, top, cell] : m_cells)
            for (int i = 0; i < cell.width * (cell.height + 1); ++i)
                sheet.pixels[std::size_t((top + i / cell.width) * sheet.width + left + i % cell.width)] =
                    cell.pixels[std::size_t(i)];
        return sheet;
    }

private:
    struct Cell {
        int left, top;
        RefPicture picture;
    };
    RefPicture m_sheet;
    std::vector<Cell> m_cells;
    int m_x = 0, m_y = 0, m_rowHeight = 0;
};

}  // namespace trellisor::test
