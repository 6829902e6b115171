// The opaque and transparent copy row routines. The frame has clipped already,
// so these are tight loops with no bounds tests.
#include "gfx/CopyRoutines.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#define TRELLISOR_HAVE_SSE2 1
#endif

namespace trellisor {

namespace {

bool g_vectorAllowed = true;

inline std::uint32_t load32u(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void store32u(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

#ifdef TRELLISOR_HAVE_SSE2
inline void copy16(std::uint8_t* d, const std::uint8_t* s) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
}
inline void copy32(std::uint8_t* d, const std::uint8_t* s) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), b);
}
inline void copy8(std::uint8_t* d, const std::uint8_t* s) {
    std::uint64_t v;
    std::memcpy(&v, s, 8);
    std::memcpy(d, &v, 8);
}

// Transparent copy of 16 bytes: pixels of ElementBytes whose value is 0 keep
// what dst holds. Returns without touching dst when all 16 bytes are transparent.
template <int ElementBytes>
inline void keyed16(std::uint8_t* d, const std::uint8_t* s) {
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i zero = _mm_setzero_si128();
    const __m128i key = ElementBytes == 1   ? _mm_cmpeq_epi8(src, zero)
                        : ElementBytes == 2 ? _mm_cmpeq_epi16(src, zero)
                                            : _mm_cmpeq_epi32(src, zero);
    const int mask = _mm_movemask_epi8(key);
    if (mask == 0xFFFF) return;
    if (mask == 0) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), src);
        return;
    }
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d),
                     _mm_or_si128(_mm_and_si128(key, dst), _mm_andnot_si128(key, src)));
}
#endif

// True when one of the four bytes of w is zero.
inline bool hasZeroByte(std::uint32_t w) { return ((w - 0x01010101u) & ~w & 0x80808080u) != 0; }

// Rows of whole-pixel byte copies, used by every same-format opaque copy but the 8-bit ones.
inline void copyRows(const BlitParams& p, int bytesPerPixel) {
    const std::uint8_t* s = p.src;
    std::uint8_t* d = p.dst;
    if (p.srcSkip == 0 && p.dstSkip == 0) {  // whole rows of equal pitch: one block
        std::memcpy(d, s, std::size_t(p.width) * std::size_t(p.rows) * bytesPerPixel);
        return;
    }
    const std::size_t rowBytes = std::size_t(p.width) * bytesPerPixel;
    const std::ptrdiff_t srcStep = (std::ptrdiff_t(p.width) + p.srcSkip) * bytesPerPixel;
    const std::ptrdiff_t dstStep = (std::ptrdiff_t(p.width) + p.dstSkip) * bytesPerPixel;
    for (int row = 0; row < p.rows; ++row) {
        std::memcpy(d, s, rowBytes);
        s += srcStep;
        d += dstStep;
    }
}

}  // namespace

void opaqueCopy8Plain(const BlitParams& p) {
    const std::uint8_t* s = p.src;
    std::uint8_t* d = p.dst;
    const int words = p.width >> 2;
    const int rest = p.width & 3;
    for (int row = 0; row < p.rows; ++row) {
        for (int i = 0; i < words; ++i, s += 4, d += 4) store32u(d, load32u(s));
        for (int i = 0; i < rest; ++i) *d++ = *s++;
        s += p.srcSkip;
        d += p.dstSkip;
    }
}

void opaqueCopy8Vector(const BlitParams& p) {
#ifdef TRELLISOR_HAVE_SSE2
    const std::uint8_t* s = p.src;
    std::uint8_t* d = p.dst;
    // Rows of equal pitch with nothing between them are one block, moved by the
    // C library's copy, which uses the widest moves this processor has.
    if (p.srcSkip == 0 && p.dstSkip == 0) {
        std::memcpy(d, s, std::size_t(p.width) * std::size_t(p.rows));
        return;
    }
    const int width = p.width;
    const int rows = p.rows;
    const std::ptrdiff_t srcStep = std::ptrdiff_t(width) + p.srcSkip;
    const std::ptrdiff_t dstStep = std::ptrdiff_t(width) + p.dstSkip;
    for (int row = 0; row < rows; ++row, s += srcStep, d += dstStep) {
        if (width >= 32) {
            int i = 0;
            for (; i + 32 <= width; i += 32) copy32(d + i, s + i);
            // The last partial block is moved as a whole block ending at the row's end: it
            // rewrites a few bytes already copied with the same values.
            if (i < width) copy32(d + width - 32, s + width - 32);
        } else if (width >= 16) {
            copy16(d, s);
            copy16(d + width - 16, s + width - 16);
        } else if (width >= 8) {
            copy8(d, s);
            copy8(d + width - 8, s + width - 8);
        } else {
            for (int i = 0; i < width; ++i) d[i] = s[i];
        }
    }
#else
    opaqueCopy8Plain(p);
#endif
}

namespace {

// The whole 16-byte groups of a row through the vector key test; returns the
// pixels done (0 without a vector unit), the caller finishes the row.
#ifdef TRELLISOR_HAVE_SSE2
// The same key test over 32-byte groups, for processors with AVX2 (checked at run time).
template <int ElementBytes>
__attribute__((target("avx2"))) int keyedAvx2Part(std::uint8_t* d, const std::uint8_t* s, int width) {
    constexpr int perGroup = 32 / ElementBytes;
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + perGroup <= width; i += perGroup) {
        const __m256i src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i * ElementBytes));
        const __m256i key = ElementBytes == 1   ? _mm256_cmpeq_epi8(src, zero)
                            : ElementBytes == 2 ? _mm256_cmpeq_epi16(src, zero)
                                                : _mm256_cmpeq_epi32(src, zero);
        const unsigned mask = unsigned(_mm256_movemask_epi8(key));
        __m256i* out = reinterpret_cast<__m256i*>(d + i * ElementBytes);
        if (mask == 0xFFFFFFFFu) continue;
        if (mask == 0) {
            _mm256_storeu_si256(out, src);
            continue;
        }
        _mm256_storeu_si256(out, _mm256_blendv_epi8(src, _mm256_loadu_si256(out), key));
    }
    return i;
}

const bool g_hasAvx2 = __builtin_cpu_supports("avx2");

// For each key of the 24-bit test (bit k set: pixel k is transparent) the bytes
// of a 24-byte group that keep the destination: the keyed pixels' three bytes.
struct Keep24Masks {
    alignas(32) std::uint8_t masks[256][32];
    Keep24Masks() {
        for (int key = 0; key < 256; ++key)
            for (int b = 0; b < 32; ++b) masks[key][b] = (b < 24 && (key & (1 << (b / 3)))) ? 0xFF : 0x00;
    }
};
const Keep24Masks kKeep24Masks;

// 24-bit key test, eight pixels (24 bytes) at a time: the pixels are spread to
// one per 32-bit lane with a zero top byte, so a lane equal to 0 is a
// transparent pixel; returns the pixels handled. Each load reads 32 bytes, so it stops while 11
// pixels remain, never reading past the row.
__attribute__((target("avx2"))) int keyed24Avx2Part(std::uint8_t* d, const std::uint8_t* s, int width) {
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i lanes = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1,
                                           3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 11 <= width; i += 8) {
        const std::uint8_t* from = s + i * 3;
        const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
        const __m256i pixels = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(raw, spread), lanes);
        const int key = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(pixels, zero)));
        if (key == 0xFF) continue;
        std::uint8_t* to = d + i * 3;
        if (key == 0) {
            std::memcpy(to, from, 24);
            continue;
        }
        // Mixed group: one blend, then exactly its 24 bytes are stored (a wider
        // store would overlap the next group's load and stall it).
        const __m256i old = _mm256_set_m128i(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(to + 16)),
                                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(to)));
        const __m256i keepMask = _mm256_load_si256(reinterpret_cast<const __m256i*>(kKeep24Masks.masks[key]));
        const __m256i blended = _mm256_blendv_epi8(raw, old, keepMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm256_castsi256_si128(blended));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to + 16), _mm256_extracti128_si256(blended, 1));
    }
    return i;
}
#endif

template <int ElementBytes>
inline int keyedVectorPart(std::uint8_t* d, const std::uint8_t* s, int width) {
#ifdef TRELLISOR_HAVE_SSE2
    constexpr int perGroup = 16 / ElementBytes;
    int i = g_hasAvx2 ? keyedAvx2Part<ElementBytes>(d, s, width) : 0;
    for (; i + perGroup <= width; i += perGroup)
        keyed16<ElementBytes>(d + i * ElementBytes, s + i * ElementBytes);
    return i;
#else
    (void)d;
    (void)s;
    (void)width;
    return 0;
#endif
}

}  // namespace

void transparentCopy8(const BlitParams& p) {
    const std::ptrdiff_t srcStep = std::ptrdiff_t(p.width) + p.srcSkip;
    const std::ptrdiff_t dstStep = std::ptrdiff_t(p.width) + p.dstSkip;
    const std::uint8_t* rowSrc = p.src;
    std::uint8_t* rowDst = p.dst;
    for (int row = 0; row < p.rows; ++row, rowSrc += srcStep, rowDst += dstStep) {
        const int done = keyedVectorPart<1>(rowDst, rowSrc, p.width);
        const std::uint8_t* s = rowSrc + done;
        std::uint8_t* d = rowDst + done;
        const int left = p.width - done;
        // Four pixels at a time: a zero word is skipped whole, a word without zero bytes stored whole.
        for (int i = 0; i < (left >> 2); ++i, s += 4, d += 4) {
            const std::uint32_t w = load32u(s);
            if (w == 0) continue;
            if (!hasZeroByte(w)) {
                store32u(d, w);
                continue;
            }
            if (s[0]) d[0] = s[0];
            if (s[1]) d[1] = s[1];
            if (s[2]) d[2] = s[2];
            if (s[3]) d[3] = s[3];
        }
        for (int i = 0; i < (left & 3); ++i, ++s, ++d)
            if (*s) *d = *s;
    }
}

void opaqueCopy16(const BlitParams& p) { copyRows(p, 2); }
void opaqueCopy24(const BlitParams& p) { copyRows(p, 3); }
void opaqueCopy32(const BlitParams& p) { copyRows(p, 4); }

void transparentCopy16(const BlitParams& p) {
    const std::ptrdiff_t srcStep = (std::ptrdiff_t(p.width) + p.srcSkip) * 2;
    const std::ptrdiff_t dstStep = (std::ptrdiff_t(p.width) + p.dstSkip) * 2;
    const std::uint8_t* rowSrc = p.src;
    std::uint8_t* rowDst = p.dst;
    for (int row = 0; row < p.rows; ++row, rowSrc += srcStep, rowDst += dstStep) {
        const int done = keyedVectorPart<2>(rowDst, rowSrc, p.width);
        const std::uint8_t* s = rowSrc + done * 2;
        std::uint8_t* d = rowDst + done * 2;
        const int left = p.width - done;
        // Two pixels at a time.
        for (int i = 0; i < (left >> 1); ++i, s += 4, d += 4) {
            const std::uint32_t w = load32u(s);
            if (w == 0) continue;
            if ((w & 0xFFFFu) && (w >> 16)) {
                store32u(d, w);
                continue;
            }
            if (w & 0xFFFFu) std::memcpy(d, s, 2);
            if (w >> 16) std::memcpy(d + 2, s + 2, 2);
        }
        if ((left & 1) && (s[0] | s[1])) std::memcpy(d, s, 2);
    }
}

void transparentCopy32(const BlitParams& p) {
    const std::ptrdiff_t srcStep = (std::ptrdiff_t(p.width) + p.srcSkip) * 4;
    const std::ptrdiff_t dstStep = (std::ptrdiff_t(p.width) + p.dstSkip) * 4;
    const std::uint8_t* rowSrc = p.src;
    std::uint8_t* rowDst = p.dst;
    for (int row = 0; row < p.rows; ++row, rowSrc += srcStep, rowDst += dstStep) {
        const int width = p.width;
        const int done = keyedVectorPart<4>(rowDst, rowSrc, width);
        for (int i = done; i < width; ++i) {
            const std::uint32_t w = load32u(rowSrc + i * 4);
            if (w) store32u(rowDst + i * 4, w);
        }
    }
}

// 24-bit pixels have no transparent row routine of their own; the converting
// path uses this loop when source and destination are both 24-bit.
void transparentCopy24(const BlitParams& p) {
    const std::ptrdiff_t srcStep = (std::ptrdiff_t(p.width) + p.srcSkip) * 3;
    const std::ptrdiff_t dstStep = (std::ptrdiff_t(p.width) + p.dstSkip) * 3;
    const std::uint8_t* rowSrc = p.src;
    std::uint8_t* rowDst = p.dst;
    const int width = p.width;  // a local: stores through the rows could alias p
    for (int row = 0; row < p.rows; ++row, rowSrc += srcStep, rowDst += dstStep) {
#ifdef TRELLISOR_HAVE_SSE2
        int i = g_hasAvx2 ? keyed24Avx2Part(rowDst, rowSrc, width) : 0;
#else
        int i = 0;
#endif
        const std::uint8_t* s = rowSrc + i * 3;
        std::uint8_t* d = rowDst + i * 3;
        // Four pixels (12 bytes, three words) at a time: all keyed -> skipped, none -> stored whole.
        for (; i + 4 <= width; i += 4, s += 12, d += 12) {
            const std::uint32_t w0 = load32u(s), w1 = load32u(s + 4), w2 = load32u(s + 8);
            const bool k0 = (w0 & 0xFFFFFFu) == 0, k1 = ((w0 >> 24) | ((w1 & 0xFFFFu) << 8)) == 0;
            const bool k2 = ((w1 >> 16) | ((w2 & 0xFFu) << 16)) == 0, k3 = (w2 >> 8) == 0;
            if (!(k0 | k1 | k2 | k3)) {
                store32u(d, w0);
                store32u(d + 4, w1);
                store32u(d + 8, w2);
                continue;
            }
            if (k0 & k1 & k2 & k3) continue;
            if (!k0) std::memcpy(d, s, 3);
            if (!k1) std::memcpy(d + 3, s + 3, 3);
            if (!k2) std::memcpy(d + 6, s + 6, 3);
            if (!k3) std::memcpy(d + 9, s + 9, 3);
        }
        for (; i < width; ++i, s += 3, d += 3)
            if (s[0] | s[1] | s[2]) std::memcpy(d, s, 3);
    }
}

namespace {
template <int RedShift, int GreenBits>
void convert24To16(const BlitParams& p) {
    const std::uint8_t* s = p.src;
    std::uint8_t* d = p.dst;
    for (int row = 0; row < p.rows; ++row) {
        for (int i = 0; i < p.width; ++i, s += 3, d += 2) {
            const unsigned blue = s[0], green = s[1], red = s[2];
            const unsigned v = ((red >> 3) << RedShift) + ((green >> (8 - GreenBits)) << 5) + (blue >> 3);
            d[0] = std::uint8_t(v);
            d[1] = std::uint8_t(v >> 8);
        }
        s += std::ptrdiff_t(p.srcSkip) * 3;
        d += std::ptrdiff_t(p.dstSkip) * 2;
    }
}
}  // namespace

void convert24To555(const BlitParams& p) { convert24To16<10, 5>(p); }
void convert24To565(const BlitParams& p) { convert24To16<11, 6>(p); }

bool vectorCopyAvailable() {
#ifdef TRELLISOR_HAVE_SSE2
    return __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

void setVectorCopyAllowed(bool allowed) { g_vectorAllowed = allowed; }

RowRoutine chooseOpaqueCopy8() {
    static const bool available = vectorCopyAvailable();
    return (available && g_vectorAllowed) ? &opaqueCopy8Vector : &opaqueCopy8Plain;
}

}  // namespace trellisor
