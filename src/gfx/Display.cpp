// Display: the empty kind's slots, the image loaders shared by every kind,
// and createDisplay.
#include "gfx/Display.h"

#include "gfx/ImageFiles.h"
#include "gfx/RawDisplay.h"

namespace trellisor {

Display::~Display() = default;  // the screen image is released by its owner, never here
bool Display::isReady() const { return false; }
int Display::query() const { return 0; }
const char* Display::typeName(const char** out) const {
    if (out) *out = "Empty";
    return "Empty";
}
bool Display::setMode(int, int, int, int) { return false; }
Image* Display::screen(int) const { return nullptr; }
void Display::releaseScreen() {}
void Display::setBitsPerPixel(int n) { m_bitsPerPixel = n; }
void Display::present(int) {}
std::unique_ptr<Image> Display::createImage(int, int, int, int) { return nullptr; }

namespace {

// Moves a decoded image into one of the display's depth.
std::unique_ptr<Image> adoptDecoded(Display& display, std::unique_ptr<Image> decoded) {
    if (!decoded) return nullptr;
    auto image = display.createImage(decoded->width(), decoded->height(), display.bitsPerPixel(), 0);
    if (image) {
        if (decoded->paletteAssigned() && image->bitsPerPixel() == 8 && decoded->palette())
            image->setPalette(decoded->palette());
        decoded->draw(image.get(), 0, 0, false, 0);
    }
    return image;
}

}  // namespace

std::unique_ptr<Image> Display::loadImageFile(const std::string& fileName) {
    return adoptDecoded(*this, readPcxFile(fileName));
}

std::unique_ptr<Image> Display::loadImageMemory(const std::uint8_t* data, int width, int height, int planes,
                                                int bytesPerLine, int size) {
    return adoptDecoded(*this, readPcxMemory(data, width, height, planes, bytesPerLine, size));
}

std::unique_ptr<Image> Display::loadImageFile2(const std::string& fileName) {
    return adoptDecoded(*this, readTiffFile(fileName));
}

std::unique_ptr<Display> createDisplay(int kind, WindowPort* window, int flags) {
    std::unique_ptr<Display> display;
    switch (kind) {
        case 0:
            display = std::make_unique<Display>();
            display->m_memoryImagesOnly = (flags & 1) != 0;
            break;
        case 1:
            display = std::make_unique<RawDisplay>(window, flags);
            break;
        case 2:
            display = std::make_unique<DibDisplay>(window, flags);
            break;
        default:
            break;
    }
    return display;
}

}  // namespace trellisor
