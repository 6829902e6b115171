// In-memory builders of path objects, sprites and object files, and the bytes an object's sprites hold.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/Bytes.h"
#include "object/ObjectFile.h"
#include "object/PathObject.h"
#include "object/RunLength.h"

namespace trellisor::test {

struct SpriteSpec {
    SpriteHeader header;  // offset is filled in by the builder
    std::vector<std::uint8_t> pixels;
};

// A raw sprite (flags 1): width x height indices, row by row; 0 is transparent.
inline SpriteSpec rawSprite(int width, int height, std::vector<std::uint8_t> pixels, int xOffset = 0,
                            int yOffset = 0) {
    pixels.resize(std::size_t(width) * std::size_t(height));
    return {{0, std::int16_t(width), std::int16_t(height), std::int16_t(xOffset), std::int16_t(yOffset),
             kSpriteRaw, 0},
            std::move(pixels)};
}

inline SpriteSpec solidRawSprite(int width, int height, std::uint8_t index, int xOffset = 0,
                                 int yOffset = 0) {
    return rawSprite(width, height, std::vector<std::uint8_t>(std::size_t(width) * height, index), xOffset,
                     yOffset);
}

struct Run {
    int start;                         // column of the first pixel
    std::vector<std::uint8_t> pixels;  // every pixel is drawn, 0 included
};

// A row-coded sprite (flags 5): one list of runs per row (every row needs one run).
inline SpriteSpec rowCodedSprite(int width, const std::vector<std::vector<Run>>& rows, int xOffset = 0,
                                 int yOffset = 0) {
    SpriteSpec s{{0, std::int16_t(width), std::int16_t(rows.size()), std::int16_t(xOffset),
                  std::int16_t(yOffset), kSpriteRowCoded, 0},
                 {}};
    std::vector<std::uint8_t> body;
    ByteWriter table(s.pixels);
    for (const auto& runs : rows) {
        table.u16(std::uint16_t(rows.size() * 2 + body.size()));
        for (std::size_t i = 0; i < runs.size(); ++i) {
            body.push_back(std::uint8_t((runs[i].pixels.size() & 0x7F) | (i + 1 == runs.size() ? 0x80 : 0)));
            body.push_back(std::uint8_t(runs[i].start));
            body.insert(body.end(), runs[i].pixels.begin(), runs[i].pixels.end());
        }
    }
    table.bytes(body);
    return s;
}

// Every row one run covering all columns with `index`.
inline SpriteSpec solidRowCodedSprite(int width, int height, std::uint8_t index, int xOffset = 0,
                                      int yOffset = 0) {
    const std::vector<Run> row = {Run{0, std::vector<std::uint8_t>(std::size_t(width), index)}};
    return rowCodedSprite(width, std::vector<std::vector<Run>>(std::size_t(height), row), xOffset, yOffset);
}

// String table entries (language code, text) in table order.
using StringEntries = std::vector<std::pair<int, std::string>>;
inline StringEntries twelveStrings(const std::string& text = " ") {
    StringEntries e;
    for (int i = 0; i < kLanguageCount; ++i) e.emplace_back(i, text);
    return e;
}

// The decoded chunk of an object holding these strings and sprites.
inline std::vector<std::uint8_t> buildChunk(const StringEntries& strings,
                                            const std::vector<SpriteSpec>& sprites,
                                            std::uint8_t supportType = 0, std::uint8_t pathFlags = 0) {
    std::vector<std::uint8_t> chunk(14, 0), pixels;
    chunk[10] = supportType, chunk[11] = pathFlags;
    for (const auto& [code, text] : strings) {
        chunk.push_back(std::uint8_t(code));
        chunk.insert(chunk.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    chunk.push_back(0xFF);
    for (const auto& s : sprites) pixels.insert(pixels.end(), s.pixels.begin(), s.pixels.end());
    ByteWriter w(chunk);
    w.u32(std::uint32_t(sprites.size())), w.u32(std::uint32_t(pixels.size()));
    std::uint32_t offset = 0;
    for (SpriteSpec s : sprites) {
        s.header.offset = offset;
        w.bytes(s.header.toBytes());
        offset += std::uint32_t(s.pixels.size());
    }
    w.bytes(pixels);
    return chunk;
}

// A full-size object's `count` sprites (168, 165 or 146 as New builds them): blank raw 45 x 34
// icons at 71 and 72, sprite(i) for every other i.
template <class Sprite>
std::vector<SpriteSpec> spritesWithIcons(int count, Sprite sprite) {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < count; ++i)
        sprites.push_back(i == int(PathIconSprite) || i == int(QueueIconSprite)
                              ? solidRawSprite(kIconWidth, kIconHeight, 0, 1, 1)
                              : sprite(i));
    return sprites;
}

// Each sprite small, row-coded and of a colour derived from its index.
inline std::vector<SpriteSpec> standardSprites(int count = 168) {
    return spritesWithIcons(
        count, [](int i) { return solidRowCodedSprite(8, 4, std::uint8_t(10 + (i * 7) % 216), -4, -2); });
}

// An object file: the head (length = the payload's size, the checksum right) and the chunk,
// run-length coded under any non-zero encoding byte, stored under 0.
inline std::vector<std::uint8_t> codedObjectFile(const std::vector<std::uint8_t>& chunk,
                                                 std::uint32_t flags = 5, std::uint8_t encoding = 1,
                                                 const char* name = "TEST    ") {
    ObjectFileHead head;
    head.flags = flags, head.encoding = encoding;
    std::memcpy(head.name.data(), name, 8);
    head.checksum = objectChecksum(std::uint8_t(flags), head.name, chunk);
    std::vector<std::uint8_t> file = encoding ? encodeRunLength(chunk) : chunk;
    head.length = std::uint32_t(file.size());
    const auto bytes = head.toBytes();
    file.insert(file.begin(), bytes.begin(), bytes.end());
    return file;
}
inline std::vector<std::uint8_t> storedObjectFile(const std::vector<std::uint8_t>& chunk,
                                                  std::uint32_t flags = 5, const char* name = "TEST    ") {
    return codedObjectFile(chunk, flags, 0, name);
}

// A loaded PathObject holding these strings and sprites (as a successful load leaves it,
// with the head New gives an object).
inline PathObject buildObject(const std::vector<SpriteSpec>& sprites,
                              const StringEntries& strings = twelveStrings(), std::uint8_t supportType = 0,
                              std::uint8_t pathFlags = 0) {
    PathObject obj;
    readObjectBytes(obj, storedObjectFile(buildChunk(strings, sprites, supportType, pathFlags)));
    obj.m_head = ObjectFileHead{};
    obj.m_head.flags = 0x09F55405, obj.m_head.encoding = 1;  // type 5 in the low bits, as New sets it
    obj.m_sourceFile.reset();
    return obj;
}

// The decoded chunk, a sprite's bytes, and the pixels of a row-coded sprite's first run of each row.
inline std::vector<std::uint8_t> dataOf(const PathObject& obj) {
    return {obj.m_data.get(), obj.m_data.get() + obj.m_dataSize};
}
inline std::vector<std::uint8_t> pixelsOf(const PathObject& obj, unsigned index) {
    const auto bytes = obj.spritePixels(index);
    return {bytes.begin(), bytes.end()};
}
inline std::vector<std::uint8_t> runPixelsOf(const PathObject& obj, unsigned index) {
    const std::vector<std::uint8_t> bytes = pixelsOf(obj, index);
    std::vector<std::uint8_t> out;
    for (std::size_t r = 0; r < std::size_t(obj.m_sprites[index].height); ++r) {
        const std::uint8_t* run = &bytes[loadLe16(&bytes[2 * r])];
        out.insert(out.end(), run + 2, run + 2 + (run[0] & 0x7F));
    }
    return out;
}

}  // namespace trellisor::test
