// SubImage: a rectangle of a parent image seen as an image of its own.
#include "gfx/SubImage.h"

#include "gfx/CompiledSprite.h"

namespace trellisor {

SubImage::SubImage(Image* parent, int left, int top, int right, int bottom)
    : m_parent(parent), m_left(left), m_top(top) {
    if (!parent) return;
    m_storageKind = parent->storageKind();
    m_layout16 = parent->layout16();
    m_palette = parent->palette();  // borrowed, see the destructor
    for (int i = 0; i < RoutineCount; ++i) m_routines[i] = parent->routine(RoutineSlot(i));
    m_unpackColor = parent->unpackFn();
    m_packColor = parent->packFn();
    m_storePixel = parent->storeFn();
    m_loadPixel = parent->loadFn();
    m_width = right - left;
    m_height = bottom - top + 1;
    m_bitsPerPixel = parent->bitsPerPixel();
    m_bytesPerPixel = parent->bytesPerPixel();
    m_pitch = parent->pitch();
    m_pitchBytes = parent->pitchBytes();
    m_valid = parent->isValid() && left >= 0 && top >= 0 && m_width > 0 && m_height > 0 &&
              right <= parent->width() && bottom < parent->height();
}

SubImage::~SubImage() {
    // The palette belongs to the parent: forget it before the base drops a reference.
    m_palette = nullptr;
}

std::uint8_t* SubImage::lock(int mode) {
    std::uint8_t* p = m_parent ? m_parent->lock(mode) : nullptr;
    if (!p) return nullptr;
    return p + std::ptrdiff_t(m_left) * m_bytesPerPixel + std::ptrdiff_t(m_top) * m_pitchBytes;
}

void SubImage::unlock() {
    if (m_parent) m_parent->unlock();
}

}  // namespace trellisor
