// Sprites compiled into machine code that store their pixels as immediates:
// the store selection for 8, 16 and 32 bits, the two-pass generator and running one.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gfx/ExecutableMemory.h"

namespace trellisor {

class Image;

// Register forms of the routine. The stores are the same in both; the 64-bit
// form moves and steps the full registers (48 8B F8, 48 03 C3).
enum class CodeForm { X86_32, X86_64 };

// The routine an image of 8, 16 or 32 bits compiles to, with every pixel stored
// (opaque) or pixels of value 0 left out (transparent). Entered with EAX/RAX =
// destination byte of the top-left pixel and EBX/RBX = destination pitch in
// bytes; it changes EAX and EDI and leaves EBX as it was. Empty for other
// depths, invalid images, and sprites too large to compile.
std::vector<std::uint8_t> generateSpriteCode(Image& image, bool transparent, CodeForm form);

// Whether this processor can run compiled sprites (x86-64 only).
bool compiledSpritesSupported();

class CompiledSprite {
public:
    // The image's routine in the native form, made executable; null where
    // compiled sprites are not supported or the image has no routine.
    static std::unique_ptr<CompiledSprite> compile(Image& image, bool transparent);

    ~CompiledSprite();

    // Runs the routine with the address of the destination byte that receives
    // the sprite's top-left pixel and the destination's pitch in bytes. The
    // caller guarantees that the sprite lies wholly inside the destination.
    void run(std::uint8_t* destination, std::int32_t pitchBytes) const;

    // The routine's own bytes, without the calling bridge in front of it.
    std::span<const std::uint8_t> code() const;

private:
    explicit CompiledSprite(ExecutableMemory memory) : m_memory(std::move(memory)) {}

    ExecutableMemory m_memory;  // the bridge, then the routine
};

}  // namespace trellisor
