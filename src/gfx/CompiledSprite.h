// Sprites compiled into machine code that store their pixels as immediates.
#pragma once

#include <cstdint>

namespace trellisor {

class Image;

class CompiledSprite {
public:
    ~CompiledSprite();
    // Runs the routine with the address of the destination byte that receives
    // the sprite's top-left pixel and the destination's pitch in bytes.
    void run(std::uint8_t* destination, std::int32_t pitchBytes) const;
};

}  // namespace trellisor
