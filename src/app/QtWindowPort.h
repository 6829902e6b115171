// The window port on the preview pane: the display shows its back buffer here.
#pragma once

#include <QImage>
#include <cstdint>

#include "gfx/WindowPort.h"

namespace trellisor {

class PreviewPane;

class QtWindowPort : public WindowPort {
public:
    explicit QtWindowPort(PreviewPane* pane) : m_pane(pane) {}

    // Qt composes in 32 bits whatever the X server runs at, so the display
    // draws its back buffer in 32 bits and presents it without conversion.
    int screenDepth() const override { return 32; }
    // The game palette, so that an 8-bit back buffer shows the right colours.
    std::array<PaletteEntry, 256> systemPaletteEntries() const override;
    void resizeClientArea(int width, int height) override;
    void showBuffer(const std::uint8_t* pixels, const std::uint8_t* bitmapHeader, int width,
                    int height) override;

private:
    PreviewPane* m_pane;
};

// Converts a top-down buffer of `height` rows of `pitch` pixels, described by a
// bitmap header (8 bits with its colour table; 16 bits 5-5-5, or 5-6-5 by its
// masks; 24; 32), to an RGB32 image of the header's width (at most the pitch).
// A null image for depths or sizes it cannot show.
QImage imageFromBitmapBuffer(const std::uint8_t* pixels, const std::uint8_t* bitmapHeader, int pitch,
                             int height);

}  // namespace trellisor
