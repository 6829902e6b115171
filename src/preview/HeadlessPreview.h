// A preview display without a window: the 360 x 260 screen image at a chosen
// depth behind a headless window port, as the command line and tests use it.
#pragma once

#include <memory>

#include "gfx/Display.h"
#include "gfx/WindowPort.h"

namespace trellisor {

class HeadlessPreview {
public:
    // depth 8, 16, 24 or 32; the port's system palette is the game palette with 255 black.
    explicit HeadlessPreview(int depth = 32);
    ~HeadlessPreview();
    HeadlessPreview(const HeadlessPreview&) = delete;
    HeadlessPreview& operator=(const HeadlessPreview&) = delete;

    // False when the display or its screen image could not be made.
    bool isReady() const { return m_display && m_display->screen(); }
    Display& display() { return *m_display; }
    Image* screen() const { return m_display ? m_display->screen() : nullptr; }
    HeadlessWindowPort& port() { return m_port; }

private:
    HeadlessWindowPort m_port;
    std::unique_ptr<Display> m_display;
};

}  // namespace trellisor
