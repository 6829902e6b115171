// In-memory builders for path objects and sprites, shared by the test programs.
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
    SpriteSpec s;
    s.header.width = std::int16_t(width);
    s.header.height = std::int16_t(height);
    s.header.xOffset = std::int16_t(xOffset);
    s.header.yOffset = std::int16_t(yOffset);
    s.header.flags = kSpriteRaw;
    s.pixels = std::move(pixels);
    s.pixels.resize(std::size_t(width) * std::size_t(height));
    return s;
}

// A raw sprite filled with one index.
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
    SpriteSpec s;
    s.header.width = std::int16_t(width);
    s.header.height = std::int16_t(rows.size());
    s.header.xOffset = std::int16_t(xOffset);
    s.header.yOffset = std::int16_t(yOffset);
    s.header.flags = kSpriteRowCoded;
    std::vector<std::uint8_t> body;
    std::vector<std::uint16_t> offsets;
    std::size_t tableBytes = rows.size() * 2;
    for (const auto& runs : rows) {
        offsets.push_back(std::uint16_t(tableBytes + body.size()));
        for (std::size_t i = 0; i < runs.size(); ++i) {
            std::uint8_t count = std::uint8_t(runs[i].pixels.size() & 0x7F);
            body.push_back(std::uint8_t(count | (i + 1 == runs.size() ? 0x80 : 0)));
            body.push_back(std::uint8_t(runs[i].start));
            body.insert(body.end(), runs[i].pixels.begin(), runs[i].pixels.end());
        }
    }
    for (auto o : offsets) {
        s.pixels.push_back(std::uint8_t(o));
        s.pixels.push_back(std::uint8_t(o >> 8));
    }
    s.pixels.insert(s.pixels.end(), body.begin(), body.end());
    return s;
}

// A row-coded sprite whose every row is one run covering all columns with `index`.
inline SpriteSpec solidRowCodedSprite(int width, int height, std::uint8_t index, int xOffset = 0,
                                      int yOffset = 0) {
    std::vector<std::vector<Run>> rows(std::size_t(height),
                                       {Run{0, std::vector<std::uint8_t>(std::size_t(width), index)}});
    return rowCodedSprite(width, rows, xOffset, yOffset);
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
    std::vector<std::uint8_t> chunk(14, 0);
    chunk[10] = supportType;
    chunk[11] = pathFlags;
    for (const auto& [code, text] : strings) {
        chunk.push_back(std::uint8_t(code));
        chunk.insert(chunk.end(), text.begin(), text.end());
        chunk.push_back(0);
    }
    chunk.push_back(0xFF);
    std::uint32_t imageSize = 0;
    for (const auto& s : sprites) imageSize += std::uint32_t(s.pixels.size());
    ByteWriter w(chunk);
    w.u32(std::uint32_t(sprites.size()));
    w.u32(imageSize);
    std::uint32_t offset = 0;
    for (const auto& s : sprites) {
        SpriteHeader h = s.header;
        h.offset = offset;
        auto bytes = h.toBytes();
        chunk.insert(chunk.end(), bytes.begin(), bytes.end());
        offset += std::uint32_t(s.pixels.size());
    }
    for (const auto& s : sprites) chunk.insert(chunk.end(), s.pixels.begin(), s.pixels.end());
    return chunk;
}

// A full-size object: `count` sprites (168, 165 or 146 as New builds them), each a
// small row-coded sprite of a colour derived from its index, with raw 45 x 34 icons at 71 and 72.
inline std::vector<SpriteSpec> standardSprites(int count = 168) {
    std::vector<SpriteSpec> sprites;
    for (int i = 0; i < count; ++i) {
        if (i == int(PathIconSprite) || i == int(QueueIconSprite)) {
            sprites.push_back(solidRawSprite(kIconWidth, kIconHeight, 0, 1, 1));
        } else {
            std::uint8_t colour = std::uint8_t(10 + (i * 7) % 216);
            sprites.push_back(solidRowCodedSprite(8, 4, colour, -4, -2));
        }
    }
    return sprites;
}

// An object file: the head (length = the payload's size) and the payload as it stands.
inline std::vector<std::uint8_t> objectFile(std::vector<std::uint8_t> payload, std::uint32_t flags,
                                            std::uint8_t encoding, const char* name) {
    ObjectFileHead head;
    head.flags = flags;
    std::memcpy(head.name.data(), name, 8);
    head.encoding = encoding;
    head.length = std::uint32_t(payload.size());
    const auto bytes = head.toBytes();
    payload.insert(payload.begin(), bytes.begin(), bytes.end());
    return payload;
}

// The bytes of an object file with the chunk stored uncoded (encoding 0).
inline std::vector<std::uint8_t> storedObjectFile(const std::vector<std::uint8_t>& chunk,
                                                  std::uint32_t flags = 5, const char* name = "TEST    ") {
    return objectFile(chunk, flags, 0, name);
}

// The same with the chunk run-length coded, under any non-zero encoding byte.
inline std::vector<std::uint8_t> codedObjectFile(const std::vector<std::uint8_t>& chunk,
                                                 std::uint32_t flags = 5, std::uint8_t encoding = 1) {
    return objectFile(encodeRunLength(chunk), flags, encoding, "TEST    ");
}

// A loaded PathObject holding these strings and sprites (as a successful load leaves it,
// with the head New gives an object).
inline PathObject buildObject(const std::vector<SpriteSpec>& sprites,
                              const StringEntries& strings = twelveStrings(), std::uint8_t supportType = 0,
                              std::uint8_t pathFlags = 0) {
    PathObject obj;
    readObjectBytes(obj, storedObjectFile(buildChunk(strings, sprites, supportType, pathFlags)));
    obj.m_head = ObjectFileHead{};
    obj.m_head.flags = 0x09F55405;  // type 5 in the low bits, as New sets it
    obj.m_head.encoding = 1;
    return obj;
}

}  // namespace trellisor::test
