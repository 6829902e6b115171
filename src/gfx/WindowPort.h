// The window port: what the display needs of a window system. The editor
// implements it on its preview pane; tests and the CLI use HeadlessWindowPort.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx/Palette.h"

namespace trellisor {

class WindowPort {
public:
    virtual ~WindowPort() = default;
    // Bits per pixel of the screen.
    virtual int screenDepth() const = 0;
    // The 256 system palette entries (red, green, blue, flags).
    virtual std::array<PaletteEntry, 256> systemPaletteEntries() const = 0;
    // Gives the window a client area of width x height, keeping its position.
    virtual void resizeClientArea(int width, int height) = 0;
    // Shows a top-down pixel buffer described by a bitmap header (a 40-byte
    // BITMAPINFOHEADER followed by masks or colour entries as the format needs)
    // at the window's top-left corner: rows of `width` pixels (the pitch), `height` rows.
    virtual void showBuffer(const std::uint8_t* pixels, const std::uint8_t* bitmapHeader, int width,
                            int height) = 0;
};

// A window port without a window: reports a chosen depth and palette, records
// the client size and keeps a copy of the last buffer shown.
class HeadlessWindowPort : public WindowPort {
public:
    explicit HeadlessWindowPort(int depth = 32) : m_depth(depth) {}

    int screenDepth() const override { return m_depth; }
    std::array<PaletteEntry, 256> systemPaletteEntries() const override { return m_palette; }
    void resizeClientArea(int width, int height) override {
        m_clientWidth = width;
        m_clientHeight = height;
        ++m_resizeCount;
    }
    void showBuffer(const std::uint8_t* pixels, const std::uint8_t* bitmapHeader, int width,
                    int height) override;

    void setDepth(int depth) { m_depth = depth; }
    void setSystemPalette(const std::array<PaletteEntry, 256>& palette) { m_palette = palette; }

    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }
    int resizeCount() const { return m_resizeCount; }
    int presentCount() const { return m_presentCount; }
    // The last buffer shown: its pixels (pitch x height x bytes per pixel), header, pitch, height.
    const std::vector<std::uint8_t>& lastPixels() const { return m_lastPixels; }
    const std::vector<std::uint8_t>& lastHeader() const { return m_lastHeader; }
    int lastWidth() const { return m_lastWidth; }
    int lastHeight() const { return m_lastHeight; }

private:
    int m_depth;
    std::array<PaletteEntry, 256> m_palette{};
    int m_clientWidth = 0, m_clientHeight = 0, m_resizeCount = 0, m_presentCount = 0;
    std::vector<std::uint8_t> m_lastPixels, m_lastHeader;
    int m_lastWidth = 0, m_lastHeight = 0;
};

}  // namespace trellisor
