// RawDisplay and DibDisplay: the screen image, setMode, createImage, present.
#include "gfx/RawDisplay.h"

#include "gfx/DibImage.h"
#include "gfx/MemoryImage.h"

namespace trellisor {

RawDisplay::RawDisplay(WindowPort* window, int flags) {
    m_kind = 1;
    m_window = window;
    m_memoryImagesOnly = (flags & 1) != 0;
}

RawDisplay::~RawDisplay() = default;  // leaves the screen alone: releaseScreen is the owner's call

bool RawDisplay::isReady() const { return true; }

const char* RawDisplay::typeName(const char** out) const {
    if (out) *out = "Raw";
    return "Raw";
}

bool RawDisplay::setMode(int width, int height, int bitsPerPixel, int) {
    if (!isReady()) return false;
    if (m_window) m_window->resizeClientArea(width, height);
    releaseScreen();
    m_screen = createImage(width, height, bitsPerPixel, kScreenPurpose).release();
    if (!m_screen) return false;
    m_bitsPerPixel = m_screen->bitsPerPixel();
    return true;
}

Image* RawDisplay::screen(int) const { return m_screen; }

void RawDisplay::releaseScreen() {
    delete m_screen;
    m_screen = nullptr;
}

std::unique_ptr<Image> RawDisplay::createImage(int width, int height, int bitsPerPixel, int) {
    if (bitsPerPixel == kDisplayDepth) bitsPerPixel = m_bitsPerPixel;
    if (m_bitsPerPixel == 0) m_bitsPerPixel = bitsPerPixel;
    return createMemoryImage(width, height, bitsPerPixel);
}

DibDisplay::DibDisplay(WindowPort* window, int flags) : RawDisplay(window, flags) {
    m_kind = 2;
    m_bitsPerPixel = window ? window->screenDepth() : 0;
}

DibDisplay::~DibDisplay() = default;

bool DibDisplay::isReady() const { return m_window != nullptr; }

const char* DibDisplay::typeName(const char** out) const {
    if (out) *out = "DIB";
    return "DIB";
}

std::unique_ptr<Image> DibDisplay::createImage(int width, int height, int bitsPerPixel, int purpose) {
    if (bitsPerPixel == kDisplayDepth) bitsPerPixel = m_bitsPerPixel;
    if (m_memoryImagesOnly && purpose != kScreenPurpose)
        return createMemoryImage(width, height, bitsPerPixel);
    return createDibImage(m_window, width, height, bitsPerPixel);
}

void DibDisplay::present(int) {
    if (!m_screen || !m_screen->isValid() || !m_window) return;
    std::uint8_t* p = m_screen->lock(0);
    if (!p) return;
    m_window->showBuffer(p, m_screen->bitmapInfo(), m_screen->pitch(), m_screen->height());
    m_screen->unlock();
}

}  // namespace trellisor
