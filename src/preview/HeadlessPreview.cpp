// The headless preview display: a DIB display on a headless window port.
#include "preview/HeadlessPreview.h"

#include "preview/GamePalette.h"
#include "preview/PreviewFrame.h"

namespace trellisor {

HeadlessPreview::HeadlessPreview(int depth) : m_port(depth) {
    std::array<PaletteEntry, 256> system{};
    for (int i = 0; i < kPreviewPaletteSize; ++i)
        system[std::size_t(i)] = {previewPalette[std::size_t(i)].red, previewPalette[std::size_t(i)].green,
                                  previewPalette[std::size_t(i)].blue, 0};
    m_port.setSystemPalette(system);  // entry 255 stays black
    // As the editor sets up its preview: a DIB display, other images in memory,
    // a 360 x 260 screen at the window's depth.
    m_display = createDisplay(2, &m_port, 1);
    if (!m_display || !m_display->setMode(kPreviewWidth, kPreviewHeight, kDisplayDepth, 0)) return;
    Image* s = m_display->screen();
    if (!s) return;
    // An 8-bit screen packs and unpacks colours through a palette; give it the
    // system palette its colour table was made from, so colours survive the trip.
    if (s->bitsPerPixel() == 8 && !s->palette()) {
        auto* palette = new Palette;
        palette->entries = system;
        s->setPalette(palette);
    }
    s->clear(0);
}

HeadlessPreview::~HeadlessPreview() {
    // The display leaves its screen image to its owner.
    if (m_display) m_display->releaseScreen();
}

}  // namespace trellisor
