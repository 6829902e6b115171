// The TIFF reader: uncompressed, little-endian, three samples per pixel,
// strips read in order; only the first directory is looked at.
//
// Untrusted fields are checked before use: strip arrays must lie inside the
// file, an image cannot have more pixels than the (uncompressed) file has
// bytes, and rows are only filled from bytes that exist.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/Bytes.h"
#include "base/Files.h"
#include "gfx/ImageFiles.h"

namespace trellisor {

namespace {

struct TiffInfo {
    std::uint32_t newSubfileType = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerSample = 0;
    std::uint32_t compression = 0;
    std::uint32_t photometric = 0;
    std::vector<std::uint32_t> stripOffsets;
    std::uint32_t samplesPerPixel = 0;
    std::uint32_t rowsPerStrip = 0;
    std::vector<std::uint32_t> stripByteCounts;
    std::uint32_t planarConfiguration = 0;
};

ImageResult refuse(std::string reason) { return ImageResult::fail(std::move(reason)); }

// An array entry: in the value field when it fits in 4 bytes, else at the offset it gives.
Result<std::vector<std::uint32_t>> readArray(std::span<const std::uint8_t> file, std::uint16_t type,
                                             std::uint32_t count, std::uint32_t field) {
    using R = Result<std::vector<std::uint32_t>>;
    const std::uint64_t elementSize = type == 3 ? 2 : type == 4 ? 4 : 0;
    std::vector<std::uint32_t> values;
    if (std::uint64_t(count) * elementSize <= 4) {
        if (count == 1) values.push_back(field);
        if (count == 2) values = {field & 0xFFFF, field >> 16};
        return R::ok(std::move(values));
    }
    if (std::uint64_t(field) + std::uint64_t(count) * elementSize > file.size())
        return R::fail("TIFF array of " + std::to_string(count) + " values at offset " +
                       std::to_string(field) + " runs past the end of the file");
    values.reserve(count);
    const std::uint8_t* p = file.data() + field;
    for (std::uint32_t i = 0; i < count; ++i, p += elementSize)
        values.push_back(elementSize == 2 ? loadLe16(p) : loadLe32(p));
    return R::ok(std::move(values));
}

}  // namespace

ImageResult readTiffBytes(std::span<const std::uint8_t> file) {
    if (file.size() < 8 || file[0] != 0x49 || file[1] != 0x49)
        return refuse("not a little-endian TIFF file (no II byte order mark)");
    ByteReader in(file);
    in.seek(2);
    if (in.u16() != 42) return refuse("not a TIFF file (42 missing at offset 2)");
    const std::uint32_t directory = in.u32();
    if (directory > file.size() - 2) return refuse("TIFF directory offset lies outside the file");
    in.seek(directory);
    const int entries = in.u16();
    TiffInfo info;
    for (int e = 0; e < entries && in.canRead(12); ++e) {
        const std::uint16_t tag = in.u16();
        const std::uint16_t type = in.u16();
        const std::uint32_t count = in.u32();
        const std::uint32_t field = in.u32();
        switch (tag) {
            case 254:
                info.newSubfileType = field;
                break;
            case 256:
                info.width = field;
                break;
            case 257:
                info.height = field;
                break;
            case 258:
                info.bitsPerSample = field;
                break;
            case 259:
                info.compression = field;
                break;
            case 262:
                info.photometric = field;
                break;
            case 277:
                info.samplesPerPixel = field;
                break;
            case 278:
                info.rowsPerStrip = field;
                break;
            case 284:
                info.planarConfiguration = field;
                break;
            case 273:
            case 279: {
                auto values = readArray(file, type, count, field);
                if (!values) return refuse(values.error());
                (tag == 273 ? info.stripOffsets : info.stripByteCounts) = std::move(values.value());
                break;
            }
            default:
                break;
        }
    }
    if (info.width < 1 || info.height < 1) return refuse("TIFF image has no width or height");
    if (info.compression != 1) return refuse("TIFF image is compressed");
    if (info.samplesPerPixel != 3) return refuse("TIFF image has not three samples per pixel");
    if (info.width > std::uint32_t(kMaxImageSide) || info.height > std::uint32_t(kMaxImageSide))
        return refuse("TIFF image size " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                      " is larger than " + std::to_string(kMaxImageSide) + " pixels a side");
    const int width = int(info.width), height = int(info.height);
    if (std::uint64_t(width) * std::uint64_t(height) * 3 > file.size())
        return refuse("TIFF image of " + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels does not fit in a file of " + std::to_string(file.size()) + " bytes");
    auto image = createMemoryImage(width, height, 24);
    if (!image || !image->isValid())
        return refuse("cannot make a " + std::to_string(width) + " x " + std::to_string(height) + " image");
    image->clear(0);
    std::uint8_t* pixels = image->lock(2);
    if (!pixels) return ImageResult::ok(std::move(image));
    const std::size_t rowBytes = std::size_t(width) * 3;
    int row = 0;
    for (std::size_t s = 0; s < info.stripOffsets.size() && row < height; ++s) {
        std::uint64_t position = info.stripOffsets[s];
        std::int64_t remaining = s < info.stripByteCounts.size() ? info.stripByteCounts[s] / 3 : 0;
        while (remaining > 0 && row < height) {
            std::uint8_t* dst = pixels + std::ptrdiff_t(row) * image->pitchBytes();
            if (position < file.size()) {
                const std::size_t n = std::min<std::uint64_t>(rowBytes, file.size() - position);
                std::memcpy(dst, file.data() + position, n);
            }
            for (int x = 0; x < width; ++x) std::swap(dst[x * 3], dst[x * 3 + 2]);  // RGB -> BGR
            remaining -= width;
            position += rowBytes;
            ++row;
        }
    }
    image->unlock();
    return ImageResult::ok(std::move(image));
}

std::unique_ptr<Image> readTiffFile(const std::string& fileName) {
    auto bytes = readFileBytes(fileName);
    if (!bytes) return nullptr;
    auto image = readTiffBytes(bytes.value());
    return image ? std::move(image.value()) : nullptr;
}

}  // namespace trellisor
