// Images in five pixel formats (8, 16 5-5-5, 16 5-6-5, 24, 32 bits): the fields,
// the 39 virtual operations in their fixed slot order, and pixel access.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gfx/CompiledSprite.h"  // complete type: every image owns its compiled code
#include "gfx/Palette.h"

namespace trellisor {

class Image;
class CompiledSprite;

// Library-wide choice of 16-bit layout: 1 = 5-5-5, 2 = 5-6-5, else no 16-bit images.
extern int sixteenBitLayout;

// What a drawing frame hands a row routine. Skips count pixels.
struct BlitParams {
    const std::uint8_t* src = nullptr;
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::int32_t srcSkip = 0;
    std::uint8_t* dst = nullptr;
    std::int32_t dstSkip = 0;
    std::uintptr_t value = 0;   // colour, replacement or mix table address
    std::uint32_t value2 = 0;   // the colour to match (recolour)
    std::uint8_t alpha = 0;     // blend weight of the source
    const std::uint8_t* alphaSrc = nullptr;  // alpha-masked: first alpha pixel
    std::int32_t alphaSkip = 0;
};

using RowRoutine = void (*)(const BlitParams&);

// Slots of the per-format routine table.
enum RoutineSlot : int {
    RoutineOpaqueCopy = 0,
    RoutineTransparentCopy,
    RoutineSilhouette,
    RoutineRecolour,
    RoutineAlphaMasked,
    RoutineBlend,
    RoutineTranslucent,
    RoutineTint,
    RoutineTranslucentFill,
    RoutineShadow,
    RoutineColourMix,
    RoutineAdditive,
    RoutineSubtractive,
    RoutineCount
};

using UnpackColorFn = void (*)(std::uint32_t value, int& r, int& g, int& b, const Palette* palette);
using PackColorFn = std::uint32_t (*)(int r, int g, int b, const Palette* palette);
using StorePixelFn = void (*)(std::uint8_t* address, std::uint32_t value);
using LoadPixelFn = std::uint32_t (*)(const std::uint8_t* address);

class Image {
public:
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // --- the virtual operations, in slot order ---
    virtual ~Image();                                                              // 0
    virtual std::int32_t sizeInBytes() const;                                      // 1
    virtual const std::uint8_t* bitmapInfo() const;                                // 2
    virtual std::int32_t storageKind() const;                                      // 3
    virtual std::int32_t queryReserved() const;                                    // 4
    virtual std::uint8_t* lock(int mode);                                          // 5
    virtual void unlock();                                                         // 6
    virtual int draw(Image* dst, int x, int y, bool centred, int flags);           // 7
    virtual int drawTransparent(Image* dst, int x, int y, bool centred, int flags);  // 8
    virtual int drawSilhouette(Image* dst, int x, int y, bool centred, std::uint32_t colour);  // 9
    virtual int drawRecoloured(Image* dst, int x, int y, bool centred, std::uint32_t replacement,
                               std::uint32_t match);                               // 10
    virtual int drawBlended(Image* dst, int x, int y, bool centred, int alpha);    // 11
    virtual int drawAlphaMasked(Image* dst, int x, int y, bool centred, Image* alphaImage);  // 12
    virtual int drawTranslucent(Image* dst, int x, int y, bool centred);           // 13
    virtual int drawTinted(Image* dst, int x, int y, bool centred, std::uint32_t colour);  // 14
    virtual int drawShadow(Image* dst, int x, int y, bool centred);                // 15
    virtual int drawScaled(Image* dst, int x, int y, int w, int h);                // 16
    virtual int drawColourMixed(Image* dst, int x, int y, bool centred, std::uint32_t colour);  // 17
    virtual int drawAdditive(Image* dst, int x, int y, bool centred);              // 18
    virtual int drawSubtractive(Image* dst, int x, int y, bool centred);           // 19
    virtual int drawFlipped(Image* dst, int x, int y, bool centred);               // 20
    virtual int drawTransparentFlipped(Image* dst, int x, int y, bool centred);    // 21
    virtual int drawTranslucentFlipped(Image* dst, int x, int y, bool centred);    // 22
    virtual int drawAtOrigin(Image* dst);                                          // 23
    virtual bool buildCompiledSprite(bool transparent);                            // 24
    virtual bool hasCompiledSprite() const;                                        // 25
    virtual bool hasCompiledOpaque() const;                                        // 26
    virtual bool hasCompiledTransparent() const;                                   // 27
    virtual void freeCompiledSprite();                                             // 28
    virtual void clear(std::uint32_t value);                                       // 29
    virtual void drawLine(int x1, int y1, int x2, int y2, std::uint32_t colour);   // 30
    virtual void drawHorizontalLine(int x1, int x2, int y, std::uint32_t colour);  // 31
    virtual void drawVerticalLine(int x, int y1, int y2, std::uint32_t colour);    // 32
    virtual void drawRectangle(int x1, int y1, int x2, int y2, std::uint32_t colour);  // 33
    virtual void fillRectangle(int x1, int y1, int x2, int y2, std::uint32_t colour);  // 34
    virtual void fillTranslucent(int x1, int y1, int x2, int y2, std::uint32_t colour);  // 35
    virtual Palette* palette() const;                                              // 36
    virtual void setPalette(Palette* p);                                           // 37
    virtual void paletteChanged();                                                 // 38

    // --- pixel access (non-virtual) ---
    bool isValid() const { return m_valid; }
    void putPixel(int x, int y, std::uint32_t value, int reserved = 0);
    std::uint32_t getPixel(int x, int y);
    void unpackColor(std::uint32_t value, int& r, int& g, int& b) const;
    std::uint32_t packColor(int r, int g, int b) const;
    void convertTo(Image* dst, int x, int y);
    void convertToSkipZero(Image* dst, int x, int y);

    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    std::int32_t bitsPerPixel() const { return m_bitsPerPixel; }
    std::int32_t bytesPerPixel() const { return m_bytesPerPixel; }
    std::int32_t pitch() const { return m_pitch; }
    std::int32_t pitchBytes() const { return m_pitchBytes; }
    std::int32_t layout16() const { return m_layout16; }
    bool paletteAssigned() const { return m_paletteAssigned; }
    RowRoutine routine(RoutineSlot slot) const { return m_routines[slot]; }
    UnpackColorFn unpackFn() const { return m_unpackColor; }
    PackColorFn packFn() const { return m_packColor; }
    StorePixelFn storeFn() const { return m_storePixel; }
    LoadPixelFn loadFn() const { return m_loadPixel; }
    const CompiledSprite* compiledSprite() const { return m_compiledCode.get(); }

protected:
    friend class CompiledSprite;

    std::int32_t m_storageKind = 0;
    std::int32_t m_layout16 = 0;
    bool m_valid = false;
    std::unique_ptr<CompiledSprite> m_compiledCode;
    bool m_compiledOpaque = false;
    bool m_compiledTransparent = false;
    Palette* m_palette = nullptr;  // shared, reference-counted
    std::array<RowRoutine, RoutineCount> m_routines{};
    UnpackColorFn m_unpackColor = nullptr;
    PackColorFn m_packColor = nullptr;
    StorePixelFn m_storePixel = nullptr;
    LoadPixelFn m_loadPixel = nullptr;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int32_t m_bitsPerPixel = 0;
    std::int32_t m_bytesPerPixel = 0;
    std::int32_t m_pitch = 0;
    std::int32_t m_pitchBytes = 0;
    bool m_paletteAssigned = false;
};

// v rounded up to a multiple of m (signed arithmetic).
inline int roundUp(int v, int m) { return v % m == 0 ? v : v + m - (v % m); }

// A new memory image of the depth (8, 16 by sixteenBitLayout, 24, 32) or null.
std::unique_ptr<Image> createMemoryImage(int width, int height, int bitsPerPixel);

}  // namespace trellisor
