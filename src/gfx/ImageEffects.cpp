// The effect drawing operations of Image (slots 9-22 and 35): the common frame
// without its compiled-sprite step, the flipped clip, the fallbacks, the scaled
// draw and the translucent fill.
#include <algorithm>
#include <cstring>
#include <utility>

#include "gfx/DrawFrame.h"
#include "gfx/EffectRoutines.h"
#include "gfx/Image.h"

namespace trellisor {

namespace {

bool sameFormat(const Image& a, const Image& b) {
    return a.bitsPerPixel() == b.bitsPerPixel() && a.layout16() == b.layout16();
}

enum class Outcome { Drawn, Nothing, Fallback };

// One effect call: its routine, its arguments and how the frame treats it.
struct EffectCall {
    RoutineSlot slot;
    bool flipped = false;
    int dstLockMode = 0;  // silhouette locks for writing like the copies; the rest pass 0
    std::uintptr_t value = 0;
    std::uint32_t value2 = 0;
    std::uint8_t alpha = 0;
};

// The 8-bit translucent routine reads the source palette's mix table, built the
// first time anyone needs it. Without a palette there is nothing to mix with.
bool prepareMixTable(Image& src, EffectCall& call) {
    Palette* palette = src.palette();
    if (!palette) return false;
    if (!palette->hasMixTable || !palette->mixTable) palette->buildMixTable();
    call.value = reinterpret_cast<std::uintptr_t>(palette->mixTable.get());
    return true;
}

// Valid images, centring, rejection, the same-format test, then the clip and
// the source's row routine. Fallback means the caller's simpler operation applies.
Outcome runEffect(Image& src, Image* dst, int x, int y, bool centred, EffectCall call) {
    if (!dst || !src.isValid() || !dst->isValid()) return Outcome::Nothing;
    if (!placeSource(src, *dst, x, y, centred)) return Outcome::Nothing;
    const RowRoutine routine = src.routine(call.slot);
    if (!sameFormat(src, *dst) || !routine) return Outcome::Fallback;
    if (call.slot == RoutineTranslucent && src.bitsPerPixel() == 8 && !prepareMixTable(src, call))
        return Outcome::Nothing;

    std::uint8_t* pixels = dst->lock(call.dstLockMode);
    if (!pixels) return Outcome::Nothing;
    BlitParams params;
    const bool clipped = call.flipped ? clipBlitFlipped(src, *dst, pixels, x, y, params)
                                      : clipBlit(src, *dst, pixels, x, y, params);
    if (!clipped) {
        dst->unlock();
        return Outcome::Nothing;
    }
    params.value = call.value;
    params.value2 = call.value2;
    params.alpha = call.alpha;
    routine(params);
    src.unlock();
    dst->unlock();
    return Outcome::Drawn;
}

// Operations without a fallback draw nothing when the frame asks for one.
int withoutFallback(Outcome outcome) { return outcome == Outcome::Drawn ? 1 : 0; }

// The result of an effect, running the simpler operation when it must fall back.
template <class Fallback>
int withFallback(Outcome outcome, Fallback fallback) {
    if (outcome == Outcome::Fallback) return fallback();
    return withoutFallback(outcome);
}

}  // namespace

int Image::drawSilhouette(Image* dst, int x, int y, bool centred, std::uint32_t colour) {
    EffectCall call{RoutineSilhouette};
    call.dstLockMode = 2;
    call.value = colour;
    return withoutFallback(runEffect(*this, dst, x, y, centred, call));
}

int Image::drawRecoloured(Image* dst, int x, int y, bool centred, std::uint32_t replacement,
                          std::uint32_t match) {
    EffectCall call{RoutineRecolour};
    call.value = replacement;
    call.value2 = match;
    return withoutFallback(runEffect(*this, dst, x, y, centred, call));
}

int Image::drawBlended(Image* dst, int x, int y, bool centred, int alpha) {
    EffectCall call{RoutineBlend};
    call.alpha = std::uint8_t(std::clamp(alpha, 0, 255));
    return withFallback(runEffect(*this, dst, x, y, centred, call),
                        [&] { return drawTransparent(dst, x, y, centred, 0); });
}

// No format has an alpha-masked routine, so this is always the transparent copy.
int Image::drawAlphaMasked(Image* dst, int x, int y, bool centred, Image*) {
    return drawTransparent(dst, x, y, centred, 0);
}

int Image::drawTranslucent(Image* dst, int x, int y, bool centred) {
    return withFallback(runEffect(*this, dst, x, y, centred, EffectCall{RoutineTranslucent}),
                        [&] { return drawBlended(dst, x, y, centred, 128); });
}

int Image::drawTinted(Image* dst, int x, int y, bool centred, std::uint32_t colour) {
    EffectCall call{RoutineTint};
    call.value = colour;
    return withoutFallback(runEffect(*this, dst, x, y, centred, call));
}

int Image::drawShadow(Image* dst, int x, int y, bool centred) {
    return withoutFallback(runEffect(*this, dst, x, y, centred, EffectCall{RoutineShadow}));
}

int Image::drawScaled(Image* dst, int x, int y, int w, int h) {
    if (!dst || !m_valid || !dst->isValid() || !sameFormat(*this, *dst)) return 0;
    // No clipping: the target rectangle must lie inside dst. An empty one draws nothing.
    if (x < 0 || y < 0 || w <= 0 || h <= 0) return 0;
    if (std::int64_t(x) + w > dst->width() || std::int64_t(y) + h > dst->height()) return 0;

    const std::uint8_t* s = lock(1);
    std::uint8_t* d = dst->lock(2);
    if (s && d) {
        const int bytes = m_bytesPerPixel;
        const float stepX = float(m_width) / float(w);
        const float stepY = float(m_height) / float(h);
        // Running sums, as the steps add up; the clamp keeps a sum that rounding
        // pushed to the far edge inside the source.
        float sumY = 0.0f;
        for (int r = 0; r < h; ++r, sumY += stepY) {
            const int row = std::min(int(sumY), m_height - 1);
            const std::uint8_t* srcRow = s + std::ptrdiff_t(row) * m_pitchBytes;
            std::uint8_t* dstRow = d + std::ptrdiff_t(y + r) * dst->pitchBytes() + std::ptrdiff_t(x) * bytes;
            float sumX = 0.0f;
            for (int c = 0; c < w; ++c, sumX += stepX) {
                const int col = std::min(int(sumX), m_width - 1);
                std::memcpy(dstRow + std::ptrdiff_t(c) * bytes, srcRow + std::ptrdiff_t(col) * bytes,
                            std::size_t(bytes));
            }
        }
    }
    unlock();
    dst->unlock();
    return s && d ? 1 : 0;
}

int Image::drawColourMixed(Image* dst, int x, int y, bool centred, std::uint32_t colour) {
    EffectCall call{RoutineColourMix};
    call.value = colour;
    return withoutFallback(runEffect(*this, dst, x, y, centred, call));
}

int Image::drawAdditive(Image* dst, int x, int y, bool centred) {
    return withoutFallback(runEffect(*this, dst, x, y, centred, EffectCall{RoutineAdditive}));
}

int Image::drawSubtractive(Image* dst, int x, int y, bool centred) {
    return withoutFallback(runEffect(*this, dst, x, y, centred, EffectCall{RoutineSubtractive}));
}

int Image::drawFlipped(Image* dst, int x, int y, bool centred) {
    EffectCall call{RoutineOpaqueCopy};
    call.flipped = true;
    return withoutFallback(runEffect(*this, dst, x, y, centred, call));
}

int Image::drawTransparentFlipped(Image* dst, int x, int y, bool centred) {
    EffectCall call{RoutineTransparentCopy};
    call.flipped = true;
    return withoutFallback(runEffect(*this, dst, x, y, centred, call));
}

int Image::drawTranslucentFlipped(Image* dst, int x, int y, bool centred) {
    EffectCall call{RoutineTranslucent};
    call.flipped = true;
    return withFallback(runEffect(*this, dst, x, y, centred, call),
                        [&] { return drawTransparent(dst, x, y, centred, 0); });
}

void Image::fillTranslucent(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    const RowRoutine fill = m_routines[RoutineTranslucentFill];
    if (!m_valid || !fill) return;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    // Like fillRectangle, a right or bottom corner at 0 or below leaves nothing to fill.
    if (x2 <= 0 || y2 <= 0 || x1 >= m_width || y1 >= m_height) return;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, m_width - 1);
    y2 = std::min(y2, m_height - 1);

    std::uint8_t* pixels = lock(2);
    if (!pixels) return;
    BlitParams params;
    params.dst = pixels + std::ptrdiff_t(y1) * m_pitchBytes + std::ptrdiff_t(x1) * m_bytesPerPixel;
    params.src = params.dst;
    params.width = x2 - x1 + 1;
    params.rows = y2 - y1 + 1;
    params.dstSkip = params.srcSkip = m_pitch - params.width;
    params.value = colour;
    fill(params);
    unlock();
}

}  // namespace trellisor
