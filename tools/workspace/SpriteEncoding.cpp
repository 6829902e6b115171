// Sprite encoding for the generator: raw and row-coded pixel bytes from a picture.
#include "workspace/SpriteEncoding.h"

#include "base/Bytes.h"

namespace trellisor::workspace {

SpriteData encodeSprite(const IndexPicture& picture, int xOffset, int yOffset, bool rowCoded) {
    SpriteData s;
    s.header.width = std::int16_t(picture.width);
    s.header.height = std::int16_t(picture.height);
    s.header.xOffset = std::int16_t(xOffset);
    s.header.yOffset = std::int16_t(yOffset);
    const auto at = [&](int x, int y) {
        return std::size_t(y) * std::size_t(picture.width) + std::size_t(x);
    };
    if (!rowCoded) {
        s.header.flags = kSpriteRaw;
        s.bytes.resize(std::size_t(picture.width) * std::size_t(picture.height), 0);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (picture.covered[at(x, y)]) s.bytes[at(x, y)] = picture.pixels[at(x, y)];
        return s;
    }
    s.header.flags = kSpriteRowCoded;
    std::vector<std::uint8_t> body;
    std::vector<std::uint16_t> rowOffsets;
    const std::size_t tableBytes = std::size_t(picture.height) * 2;
    for (int y = 0; y < picture.height; ++y) {
        rowOffsets.push_back(std::uint16_t(tableBytes + body.size()));
        struct Run {
            int start, count;
        };
        std::vector<Run> runs;
        for (int x = 0; x < picture.width;) {
            if (!picture.covered[at(x, y)]) {
                ++x;
                continue;
            }
            int end = x;
            while (end < picture.width && picture.covered[at(end, y)] && end - x < 127) ++end;
            runs.push_back({x, end - x});
            x = end;
        }
        if (runs.empty()) runs.push_back({0, 0});
        for (std::size_t r = 0; r < runs.size(); ++r) {
            body.push_back(std::uint8_t(runs[r].count | (r + 1 == runs.size() ? 0x80 : 0)));
            body.push_back(std::uint8_t(runs[r].start));
            for (int i = 0; i < runs[r].count; ++i) body.push_back(picture.pixels[at(runs[r].start + i, y)]);
        }
    }
    ByteWriter w(s.bytes);
    for (auto o : rowOffsets) w.u16(o);
    w.bytes(body);
    return s;
}

SpriteData emptySprite() {
    IndexPicture p{1, 1, {0}, {0}};
    return encodeSprite(p, 0, 0, false);
}

}  // namespace trellisor::workspace
