// Which sprite wrote each pixel of a preview frame: a record kept beside the frame,
// filled only when a caller asks for it (the Viewer, `trellisor-cli pick`), so the
// plain refresh pays nothing for it. Recording costs one store per sprite pixel
// drawn: starting a frame does not clear the record (each pixel carries the number
// of the frame that wrote it), and the grass is read only when a pixel is asked about.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Image.h"

namespace trellisor {

enum class PixelSource : std::uint8_t { Background, Grass, Sprite };

// What one frame pixel holds. sprite and index mean something for Sprite only.
struct PixelOwner {
    PixelSource source = PixelSource::Background;
    unsigned sprite = 0;
    std::uint8_t index = 0;  // the palette index the sprite wrote
    bool operator==(const PixelOwner&) const = default;
};

// One sprite drawn: its number and the anchor it was drawn at.
struct SpriteDraw {
    unsigned sprite = 0;
    int x = 0, y = 0;
    bool operator==(const SpriteDraw&) const = default;
};

class FrameOwners {
public:
    // A new frame of this size: no pixel drawn yet. grass, when given, is what the frame was
    // cleared with (drawn at 0, 0; its 0 pixels transparent); it is read when a pixel is asked
    // about, so it must outlive the answers.
    void reset(int width, int height, Image* grass = nullptr);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Background outside the frame.
    PixelOwner at(int x, int y) const;
    // In drawing order.
    const std::vector<SpriteDraw>& draws() const { return m_draws; }

    // A sprite drawn at x, y; the pixels recorded next are its.
    void recordDraw(unsigned sprite, int x, int y);
    // The sprite drawn last wrote index at x, y; pixels outside the frame are dropped, as the
    // screen drops them.
    void recordPixel(int x, int y, std::uint8_t index) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height || !m_current) return;
        m_cells[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = m_current | index;
    }

private:
    // A cell: the frame number (8 bits), the draw's place in m_draws (16 bits), the index (8 bits).
    static constexpr std::size_t kMaxDraws = 0x10000;  // later draws are not recorded
    int m_width = 0, m_height = 0;
    Image* m_grass = nullptr;
    std::uint32_t m_frame = 0;
    std::uint32_t m_current = 0;  // the cell of the draw being recorded, index left 0
    std::vector<std::uint32_t> m_cells;
    std::vector<SpriteDraw> m_draws;
};

}  // namespace trellisor
