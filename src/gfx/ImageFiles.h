// Image file readers (PCX 8/24-bit, in-memory PCX data, uncompressed 24-bit
// TIFF) and the 24-bit TGA writer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "base/Result.h"
#include "gfx/Image.h"

namespace trellisor {

// Readers refuse dimensions above this in either direction.
inline constexpr int kMaxImageSide = 16384;

// The file readers: a new image of the file's own depth, or null.
std::unique_ptr<Image> readPcxFile(const std::string& fileName);
std::unique_ptr<Image> readPcxMemory(const std::uint8_t* data, int width, int height, int planes,
                                     int bytesPerLine, int size);
std::unique_ptr<Image> readTiffFile(const std::string& fileName);
// False when the file cannot be written (or the image is not valid or too wide for the header).
bool writeTgaFile(Image* image, const std::string& fileName);
// The length of an open file, its position left where it was; -1 on failure.
long fileLength(std::FILE* stream);

// The same readers over bytes in memory, with the reason of a refusal.
using ImageResult = Result<std::unique_ptr<Image>>;
ImageResult readPcxBytes(std::span<const std::uint8_t> file);
ImageResult readPcxData(std::span<const std::uint8_t> block, int width, int height, int planes,
                        int bytesPerLine);
ImageResult readTiffBytes(std::span<const std::uint8_t> file);
// The TGA file's bytes for an image.
Result<std::vector<std::uint8_t>> encodeTga(Image& image);

}  // namespace trellisor
