// draw, drawTransparent: the same-format fast paths through the row routines,
// compiled sprites, and the converting fallbacks.
#include "gfx/CompiledSprite.h"
#include "gfx/CopyRoutines.h"
#include "gfx/DrawFrame.h"
#include "gfx/Image.h"

namespace trellisor {

namespace {

bool sameFormat(const Image& a, const Image& b) {
    return a.bitsPerPixel() == b.bitsPerPixel() && a.layout16() == b.layout16();
}

bool liesInside(const Image& src, const Image& dst, int x, int y) {
    return x >= 0 && y >= 0 && std::int64_t(x) + src.width() <= dst.width() &&
           std::int64_t(y) + src.height() <= dst.height();
}

// Clips src into dst and runs one row routine over the visible part.
int runClipped(Image& src, Image& dst, int x, int y, RowRoutine routine) {
    std::uint8_t* p = dst.lock(2);
    if (!p) return 0;
    BlitParams params;
    if (!clipBlit(src, dst, p, x, y, params)) {
        dst.unlock();
        return 0;
    }
    routine(params);
    src.unlock();
    dst.unlock();
    return 1;
}

// Runs a compiled sprite when the source lies wholly inside dst; false leaves
// the drawing to the row routine.
bool runCompiled(const CompiledSprite& code, const Image& src, Image& dst, int x, int y) {
    if (!liesInside(src, dst, x, y)) return false;
    std::uint8_t* p = dst.lock(2);
    if (!p) return false;
    code.run(p + std::ptrdiff_t(y) * dst.pitchBytes() + std::ptrdiff_t(x) * src.bytesPerPixel(),
             dst.pitchBytes());
    dst.unlock();
    return true;
}

}  // namespace

int Image::draw(Image* dst, int x, int y, bool centred, int flags) {
    if (!m_valid || !dst || !dst->isValid()) return 0;
    if (!placeSource(*this, *dst, x, y, centred)) return 0;
    const RowRoutine copy = m_routines[RoutineOpaqueCopy];
    if (sameFormat(*this, *dst) && !(flags & 1) && copy) {
        if (hasCompiledOpaque() && m_compiledCode && runCompiled(*m_compiledCode, *this, *dst, x, y))
            return 1;
        return runClipped(*this, *dst, x, y, copy);
    }
    if (m_bitsPerPixel == 24 && dst->bitsPerPixel() == 16) {
        if (dst->layout16() == 1) return runClipped(*this, *dst, x, y, &convert24To555);
        if (dst->layout16() == 2) return runClipped(*this, *dst, x, y, &convert24To565);
    }
    convertTo(dst, x, y);
    return 1;
}

int Image::drawTransparent(Image* dst, int x, int y, bool centred, int flags) {
    if (!m_valid || !dst || !dst->isValid()) return 0;
    if (!placeSource(*this, *dst, x, y, centred)) return 0;
    const RowRoutine copy = m_routines[RoutineTransparentCopy];
    if (sameFormat(*this, *dst) && !(flags & 1) && copy) {
        if (hasCompiledTransparent() && m_compiledCode && runCompiled(*m_compiledCode, *this, *dst, x, y))
            return 1;
        return runClipped(*this, *dst, x, y, copy);
    }
    // 24-bit images have no transparent routine, so they take the converting
    // path; between two 24-bit images unpack and pack are the identity, and a
    // clipped loop gives exactly the pixels of convertToSkipZero.
    if (m_bitsPerPixel == 24 && dst->bitsPerPixel() == 24)
        return runClipped(*this, *dst, x, y, &transparentCopy24);
    convertToSkipZero(dst, x, y);
    return 1;
}

}  // namespace trellisor
