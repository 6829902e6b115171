// The owner record of a preview frame.
#include "preview/FrameOwners.h"

#include <algorithm>

namespace trellisor {

void FrameOwners::reset(int width, int height, Image* grass) {
    width = std::max(width, 0), height = std::max(height, 0);
    m_grass = grass;
    m_draws.clear();
    m_current = 0;
    // Cells of earlier frames carry another frame number; only when the numbers run out (or
    // the size changes) is the record cleared.
    if (++m_frame > 0xFF || width != m_width || height != m_height) {
        m_width = width, m_height = height;
        m_cells.assign(std::size_t(width) * std::size_t(height), 0);
        m_frame = 1;
    }
}

void FrameOwners::recordDraw(unsigned sprite, int x, int y) {
    if (m_draws.size() >= kMaxDraws || m_frame == 0) {
        m_current = 0;
        return;
    }
    m_current = m_frame << 24 | std::uint32_t(m_draws.size()) << 8;
    m_draws.push_back({sprite, x, y});
}

PixelOwner FrameOwners::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return {};
    const std::uint32_t cell = m_cells[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
    if (cell >> 24 == m_frame)
        return {PixelSource::Sprite, m_draws[(cell >> 8) & 0xFFFF].sprite, std::uint8_t(cell)};
    // The grass covers the frame where it holds anything but 0, its colour key.
    if (m_grass && x < m_grass->width() && y < m_grass->height() && m_grass->getPixel(x, y) != 0)
        return {PixelSource::Grass};
    return {};
}

}  // namespace trellisor
