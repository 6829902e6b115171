// Type files: one page's sprite headers and pixels, with two flag bytes first for Supports.
#include "object/TypeFile.h"

#include <cstring>

#include "base/Bytes.h"
#include "base/Files.h"
#include "object/ObjectFile.h"

namespace trellisor {

std::vector<std::uint8_t> buildTypeFile(const PathObject& obj, int page) {
    std::vector<std::uint8_t> out;
    if (!obj.isLoaded() || !isSpritePage(page)) return out;
    ByteWriter w(out);
    if (page == PageSupports) {
        w.u8(obj.m_supportType);
        w.u8(obj.m_pathFlags);
    }
    const int first = obj.pageFirstSprite(page);
    const int last = obj.pageLastSprite(page);
    // Offsets are the running total of the spans written, which equals each offset minus
    // the page's first offset for any well-formed table, and keeps the file consistent
    // even when the table has all-zero gap entries. A sprite the object lacks is written
    // as an empty all-zero header, so the file always holds the page's full count.
    std::uint32_t running = 0;
    for (int i = first; i <= last; ++i) {
        SpriteHeader h;
        if (unsigned(i) < obj.m_spriteCount) h = obj.m_sprites[std::size_t(i)];
        h.offset = running;
        auto rec = h.toBytes();
        w.bytes(rec);
        running += std::uint32_t(obj.spritePixels(unsigned(i)).size());
    }
    for (int i = first; i <= last; ++i) w.bytes(obj.spritePixels(unsigned(i)));
    return out;
}

Status writeTypeFile(const PathObject& obj, int page, const std::string& path) {
    if (!obj.isLoaded()) return Status::fail("no object is loaded");
    if (!isSpritePage(page)) return Status::fail("the String Table page has no type file");
    return writeFileReplacing(path, buildTypeFile(obj, page));
}

Status applyTypeBytes(PathObject& obj, int page, std::span<const std::uint8_t> bytes) {
    if (!obj.isLoaded()) return Status::fail("no object is loaded");
    if (!isSpritePage(page)) return Status::fail("the String Table page has no type file");

    // Everything is checked before the object is touched: a refused file changes nothing.
    std::size_t headerStart = 0;
    std::uint8_t supportType = obj.m_supportType;
    std::uint8_t pathFlags = obj.m_pathFlags;
    if (page == PageSupports) {
        if (bytes.size() < 2) return Status::fail("support type file shorter than its two flag bytes");
        supportType = bytes[0];
        pathFlags = bytes[1];
        headerStart = 2;
    }
    const int n = typeSpriteCount(page, supportType, pathFlags);
    const std::uint64_t tableBytes = std::uint64_t(n) * SpriteHeader::kSize;
    if (headerStart + tableBytes > bytes.size())
        return Status::fail("type file holds " + std::to_string(bytes.size()) + " bytes, too few for its " +
                            std::to_string(n) + " sprite headers");
    const auto pixels = bytes.subspan(headerStart + std::size_t(tableBytes));

    std::vector<SpriteHeader> headers;
    headers.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        headers.push_back(
            SpriteHeader::fromBytes(&bytes[headerStart + std::size_t(i) * SpriteHeader::kSize]));
        const SpriteHeader& h = headers.back();
        if (h.offset > pixels.size())
            return Status::fail("type file sprite " + std::to_string(i) + " starts at offset " +
                                std::to_string(h.offset) + ", beyond its " + std::to_string(pixels.size()) +
                                " pixel bytes");
        if (i > 0 && h.offset < headers[std::size_t(i) - 1].offset)
            return Status::fail("type file sprite offsets decrease at sprite " + std::to_string(i));
    }
    // The object grows by at most the pixel block.
    if (std::uint64_t(obj.m_dataSize) + pixels.size() > kMaxChunkBytes)
        return Status::fail("object would exceed " + std::to_string(kMaxChunkBytes) + " bytes");

    if (page == PageSupports) {
        obj.m_supportType = supportType;
        obj.m_pathFlags = pathFlags;
    }
    const int first = obj.pageFirstSprite(page);
    for (int i = 0; i < n; ++i) {
        const SpriteHeader& h = headers[std::size_t(i)];
        const std::uint32_t next =
            i + 1 < n ? headers[std::size_t(i) + 1].offset : std::uint32_t(pixels.size());
        obj.replaceSprite(unsigned(first + i), h.offset, h.word1(), h.word2(), h.word3(), next - h.offset,
                          pixels.data());
    }
    if (page == PageSupports && obj.m_spriteCount > std::uint32_t(first + n))
        obj.truncateSprites(std::uint32_t(first + n));
    return Status::ok();
}

Status loadTypeFile(PathObject& obj, int page, const std::string& path) {
    if (!obj.isLoaded()) return Status::fail("no object is loaded");
    // Type files named in descriptor lists were matched without regard to case.
    auto bytes = readFileBytes(resolveCaseInsensitive(path), kMaxChunkBytes);
    if (!bytes) return Status::fail(bytes.error());
    return applyTypeBytes(obj, page, bytes.value());
}

}  // namespace trellisor
