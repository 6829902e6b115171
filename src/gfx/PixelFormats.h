// Pack, unpack, store and load functions of the five pixel formats.
#pragma once

#include <cstdint>

#include "gfx/Palette.h"

namespace trellisor {

void unpack8(std::uint32_t value, int& r, int& g, int& b, const Palette* palette);
std::uint32_t pack8(int r, int g, int b, const Palette* palette);
void unpack555(std::uint32_t value, int& r, int& g, int& b, const Palette* palette);
std::uint32_t pack555(int r, int g, int b, const Palette* palette);
void unpack565(std::uint32_t value, int& r, int& g, int& b, const Palette* palette);
std::uint32_t pack565(int r, int g, int b, const Palette* palette);
void unpackRgb(std::uint32_t value, int& r, int& g, int& b, const Palette* palette);
std::uint32_t pack24(int r, int g, int b, const Palette* palette);
std::uint32_t pack32(int r, int g, int b, const Palette* palette);

void store8(std::uint8_t* address, std::uint32_t value);
std::uint32_t load8(const std::uint8_t* address);
void store16(std::uint8_t* address, std::uint32_t value);
std::uint32_t load16(const std::uint8_t* address);
void store24(std::uint8_t* address, std::uint32_t value);
std::uint32_t load24(const std::uint8_t* address);
void store32(std::uint8_t* address, std::uint32_t value);
std::uint32_t load32(const std::uint8_t* address);

}  // namespace trellisor
