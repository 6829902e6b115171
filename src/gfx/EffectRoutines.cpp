// The effect row routines: silhouette, recolour, blend, the halving family
// (translucent, tint, shadow, colour mix, translucent fill) and the saturating
// add and subtract, per pixel format, and which format installs which.
#include "gfx/EffectRoutines.h"

#include <cstddef>
#include <cstring>

namespace trellisor {

namespace {

// Pixel rows need not be aligned for their pixel size, so every access goes
// through memcpy, which compiles to a plain load or store.
inline std::uint16_t load16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void store16(std::uint8_t* p, std::uint32_t v) {
    const auto w = std::uint16_t(v);
    std::memcpy(p, &w, 2);
}
inline std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

constexpr std::uint32_t pair(std::uint32_t v) { return v | (v << 16); }

// Channel boundaries of the two 16-bit layouts. kTop holds the top bit of each
// channel; kHalf is what survives of a pixel shifted right by one inside its
// channels; kWideTop marks the top bit of the one six-bit channel.
struct Layout555 {
    static constexpr std::uint32_t kAll = 0x7FFF;
    static constexpr std::uint32_t kTop = 0x4210;
    static constexpr std::uint32_t kHalf = 0x3DEF;
    static constexpr std::uint32_t kWideTop = 0;
    static constexpr int kRedShift = 10, kGreenShift = 5;
    static constexpr std::uint32_t kRedMax = 31, kGreenMax = 31, kBlueMax = 31;
};
struct Layout565 {
    static constexpr std::uint32_t kAll = 0xFFFF;
    static constexpr std::uint32_t kTop = 0x8410;
    static constexpr std::uint32_t kHalf = 0x7BEF;
    static constexpr std::uint32_t kWideTop = 0x0400;
    static constexpr int kRedShift = 11, kGreenShift = 5;
    static constexpr std::uint32_t kRedMax = 31, kGreenMax = 63, kBlueMax = 31;
};

// Works on one pixel or on two packed in a word: the mask keeps the bit that
// falls out of each channel from entering the channel below.
template <class L>
inline std::uint32_t half(std::uint32_t v) {
    return (v >> 1) & pair(L::kHalf);
}

// Spreads each channel's top bit over the whole channel.
template <class L>
inline std::uint32_t smear(std::uint32_t topBits) {
    const std::uint32_t m = topBits | topBits >> 1 | topBits >> 2 | topBits >> 3 | topBits >> 4;
    return m | ((topBits & pair(L::kWideTop)) >> 5);
}

// Per-channel min(a + b, maximum) for one pixel or a pair. The low bits of each
// channel are added first so that no carry leaves its channel; the carry out of
// each channel is then found from the top bits and saturates the channel.
template <class L>
inline std::uint32_t addSaturate(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t all = pair(L::kAll), top = pair(L::kTop), low = all & ~top;
    a &= all;
    b &= all;
    const std::uint32_t sum = ((a & low) + (b & low)) ^ ((a ^ b) & top);
    const std::uint32_t carry = ((a & b) | ((a | b) & ~sum)) & top;
    return sum | smear<L>(carry);
}

// Per-channel max(a - b, 0): each channel borrows from its own raised top bit,
// so no borrow crosses a boundary; the real borrow out then clears the channel.
template <class L>
inline std::uint32_t subtractSaturate(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t all = pair(L::kAll), top = pair(L::kTop), low = all & ~top;
    a &= all;
    b &= all;
    const std::uint32_t diff = ((a | top) - (b & low)) ^ (~(a ^ b) & top);
    const std::uint32_t borrow = ((~a & b) | (~(a ^ b) & diff)) & top;
    return diff & ~smear<L>(borrow) & all;
}

// Calls row(src, dst) once per row and steps by the skips; the pointers are only
// moved while rows remain, so a flipped block never points above its buffer.
template <int Bytes, class Row>
inline void eachRow(const BlitParams& p, Row row) {
    const std::uint8_t* s = p.src;
    std::uint8_t* d = p.dst;
    for (int r = 0; r < p.rows; ++r) {
        row(s, d);
        if (r + 1 == p.rows) break;
        s += (std::ptrdiff_t(p.width) + p.srcSkip) * Bytes;
        d += (std::ptrdiff_t(p.width) + p.dstSkip) * Bytes;
    }
}

// Two 16-bit pixels per step. op(s, d) works on a pixel or a pair; with
// SkipZero source pixels of value 0 leave dst alone, and a pair of two zeros is
// passed over without touching dst at all.
template <bool SkipZero, class Op>
inline void pairs16(const BlitParams& p, Op op) {
    eachRow<2>(p, [&](const std::uint8_t* s, std::uint8_t* d) {
        int x = 0;
        for (; x + 2 <= p.width; x += 2, s += 4, d += 4) {
            const std::uint32_t sp = load32(s);
            if (SkipZero) {
                if (sp == 0) continue;
                if ((sp & 0xFFFF) == 0 || (sp >> 16) == 0) {
                    if (sp & 0xFFFF) store16(d, op(sp & 0xFFFF, load16(d)));
                    if (sp >> 16) store16(d + 2, op(sp >> 16, load16(d + 2)));
                    continue;
                }
            }
            store32(d, op(sp, load32(d)));
        }
        if (x < p.width) {
            const std::uint32_t sv = load16(s);
            if (!SkipZero || sv != 0) store16(d, op(sv, load16(d)));
        }
    });
}

// The translucent fill has no source: every pixel of the block mixes with value.
template <class Op>
inline void fillPairs16(const BlitParams& p, Op op) {
    BlitParams self = p;
    self.src = p.dst;
    self.srcSkip = p.dstSkip;
    pairs16<false>(self, [&](std::uint32_t, std::uint32_t d) { return op(d); });
}

void silhouette16(const BlitParams& p) {
    eachRow<2>(p, [&](const std::uint8_t* s, std::uint8_t* d) {
        for (int x = 0; x < p.width; ++x)
            if (load16(s + 2 * x)) store16(d + 2 * x, std::uint32_t(p.value));
    });
}

void recolour16(const BlitParams& p) {
    const std::uint32_t replacement = std::uint16_t(p.value), match = std::uint16_t(p.value2);
    eachRow<2>(p, [&](const std::uint8_t* s, std::uint8_t* d) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t v = load16(s + 2 * x);
            if (v == match)
                store16(d + 2 * x, replacement);
            else if (v != 0)
                store16(d + 2 * x, v);
        }
    });
}

// c = (src.c * a + dst.c * (256 - a)) >> 8 for one channel value.
inline std::uint32_t mixChannel(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
    return (s * a + d * (256 - a)) >> 8;
}

template <class L>
void blend16(const BlitParams& p) {
    const std::uint32_t a = p.alpha;
    auto channel = [a](std::uint32_t s, std::uint32_t d, int shift, std::uint32_t max) {
        return mixChannel((s >> shift) & max, (d >> shift) & max, a) << shift;
    };
    eachRow<2>(p, [&](const std::uint8_t* s, std::uint8_t* d) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t sv = load16(s + 2 * x) & L::kAll;
            if (sv == 0) continue;
            const std::uint32_t dv = load16(d + 2 * x);
            // 5-5-5 keeps dst's unused top bit, as 32 bits keep their fourth byte.
            store16(d + 2 * x, (dv & ~L::kAll) | channel(sv, dv, L::kRedShift, L::kRedMax) |
                                   channel(sv, dv, L::kGreenShift, L::kGreenMax) |
                                   channel(sv, dv, 0, L::kBlueMax));
        }
    });
}

template <int Bytes>
void blendBytes(const BlitParams& p) {
    const std::uint32_t a = p.alpha;
    eachRow<Bytes>(p, [&](const std::uint8_t* s, std::uint8_t* d) {
        for (int x = 0; x < p.width; ++x, s += Bytes, d += Bytes) {
            if ((s[0] | s[1] | s[2]) == 0) continue;
            for (int c = 0; c < 3; ++c) d[c] = std::uint8_t(mixChannel(s[c], d[c], a));
        }
    });
}

template <class L>
void translucent16(const BlitParams& p) {
    pairs16<true>(p, [](std::uint32_t s, std::uint32_t d) { return half<L>(s) + half<L>(d); });
}

template <class L>
void tint16(const BlitParams& p) {
    const std::uint32_t tint = half<L>(pair(std::uint16_t(p.value)));
    pairs16<true>(p, [tint](std::uint32_t, std::uint32_t d) { return half<L>(d) + tint; });
}

template <class L>
void shadow16(const BlitParams& p) {
    pairs16<true>(p, [](std::uint32_t, std::uint32_t d) { return half<L>(d); });
}

template <class L>
void colourMix16(const BlitParams& p) {
    const std::uint32_t colour = half<L>(pair(std::uint16_t(p.value)));
    pairs16<false>(p, [colour](std::uint32_t s, std::uint32_t) { return half<L>(s) + colour; });
}

template <class L>
void translucentFill16(const BlitParams& p) {
    const std::uint32_t colour = half<L>(pair(std::uint16_t(p.value)));
    fillPairs16(p, [colour](std::uint32_t d) { return half<L>(d) + colour; });
}

template <class L>
void additive16(const BlitParams& p) {
    pairs16<false>(p, [](std::uint32_t s, std::uint32_t d) { return addSaturate<L>(d, s); });
}

template <class L>
void subtractive16(const BlitParams& p) {
    pairs16<false>(p, [](std::uint32_t s, std::uint32_t d) { return subtractSaturate<L>(d, s); });
}

// 8 bits: the mix table of the source's palette, its address in value.
void translucent8(const BlitParams& p) {
    const auto* mix = reinterpret_cast<const std::uint8_t*>(p.value);
    eachRow<1>(p, [&](const std::uint8_t* s, std::uint8_t* d) {
        for (int x = 0; x < p.width; ++x)
            if (s[x]) d[x] = mix[std::size_t(d[x]) * 256 + s[x]];
    });
}

template <class L>
void installHalving(std::array<RowRoutine, RoutineCount>& table) {
    table[RoutineBlend] = blend16<L>;
    table[RoutineTranslucent] = translucent16<L>;
    table[RoutineTint] = tint16<L>;
    table[RoutineTranslucentFill] = translucentFill16<L>;
    table[RoutineShadow] = shadow16<L>;
    table[RoutineColourMix] = colourMix16<L>;
    table[RoutineAdditive] = additive16<L>;
    table[RoutineSubtractive] = subtractive16<L>;
}

}  // namespace

void installEffectRoutines(std::array<RowRoutine, RoutineCount>& table, EffectFormat format) {
    for (int slot = RoutineSilhouette; slot < RoutineCount; ++slot) table[slot] = nullptr;
    switch (format) {
        case EffectFormat::Indexed8:
            table[RoutineTranslucent] = translucent8;
            break;
        case EffectFormat::Rgb555:
            table[RoutineSilhouette] = silhouette16;
            table[RoutineRecolour] = recolour16;
            installHalving<Layout555>(table);
            break;
        case EffectFormat::Rgb565:
            table[RoutineSilhouette] = silhouette16;
            table[RoutineRecolour] = recolour16;
            installHalving<Layout565>(table);
            break;
        case EffectFormat::Rgb565Dib:
            table[RoutineSilhouette] = silhouette16;
            table[RoutineRecolour] = recolour16;
            break;
        case EffectFormat::Rgb24:
            table[RoutineBlend] = blendBytes<3>;
            break;
        case EffectFormat::Rgb32:
            table[RoutineBlend] = blendBytes<4>;
            break;
    }
}

}  // namespace trellisor
