// PathObject: head and sprite header records, and the primitives that keep the
// chunk's offsets and sizes consistent when texts or sprites change size.
#include "object/PathObject.h"

#include <algorithm>
#include <cstring>

#include "base/Bytes.h"

namespace trellisor {

std::array<std::uint8_t, ObjectFileHead::kSize> ObjectFileHead::toBytes() const {
    std::array<std::uint8_t, kSize> b{};
    storeLe32(&b[0], flags);
    std::memcpy(&b[4], name.data(), 8);
    storeLe32(&b[12], checksum);
    b[16] = encoding;
    storeLe32(&b[17], length);
    return b;
}

ObjectFileHead ObjectFileHead::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    ObjectFileHead h;
    h.flags = loadLe32(&bytes[0]);
    std::memcpy(h.name.data(), &bytes[4], 8);
    h.checksum = loadLe32(&bytes[12]);
    h.encoding = bytes[16];
    h.length = loadLe32(&bytes[17]);
    return h;
}

std::uint32_t SpriteHeader::word1() const {
    return std::uint32_t(std::uint16_t(width)) | (std::uint32_t(std::uint16_t(height)) << 16);
}
std::uint32_t SpriteHeader::word2() const {
    return std::uint32_t(std::uint16_t(xOffset)) | (std::uint32_t(std::uint16_t(yOffset)) << 16);
}
std::uint32_t SpriteHeader::word3() const {
    return std::uint32_t(std::uint16_t(flags)) | (std::uint32_t(reserved) << 16);
}

void SpriteHeader::setWords(std::uint32_t w1, std::uint32_t w2, std::uint32_t w3) {
    width = std::int16_t(std::uint16_t(w1));
    height = std::int16_t(std::uint16_t(w1 >> 16));
    xOffset = std::int16_t(std::uint16_t(w2));
    yOffset = std::int16_t(std::uint16_t(w2 >> 16));
    flags = std::int16_t(std::uint16_t(w3));
    reserved = std::uint16_t(w3 >> 16);
}

std::array<std::uint8_t, SpriteHeader::kSize> SpriteHeader::toBytes() const {
    std::array<std::uint8_t, kSize> b{};
    storeLe32(&b[0], offset);
    storeLe32(&b[4], word1());
    storeLe32(&b[8], word2());
    storeLe32(&b[12], word3());
    return b;
}

SpriteHeader SpriteHeader::fromBytes(const std::uint8_t* bytes) {
    SpriteHeader h;
    h.offset = loadLe32(bytes);
    h.setWords(loadLe32(bytes + 4), loadLe32(bytes + 8), loadLe32(bytes + 12));
    return h;
}

void PathObject::clearObject() {
    m_data.reset();
    m_sprites.clear();
    m_dataSize = 0;
    m_spriteCount = 0;
    m_stringTableOffset = 0;
    m_imageDataOffset = 0;
}

std::pair<std::uint32_t, std::uint32_t> PathObject::spriteSpan(unsigned index) const {
    // Computed in 64 bits and clamped to the data, so that a header table left with
    // all-zero entries (a gap filled by replaceSprite) never yields a range outside it.
    const std::uint64_t size = m_dataSize;
    if (index >= m_sprites.size()) return {m_dataSize, m_dataSize};
    std::uint64_t start =
        std::min<std::uint64_t>(std::uint64_t(m_imageDataOffset) + m_sprites[index].offset, size);
    std::uint64_t end = size;
    if (index + 1 < m_sprites.size())
        end = std::min<std::uint64_t>(std::uint64_t(m_imageDataOffset) + m_sprites[index + 1].offset, size);
    if (end < start) end = start;
    return {std::uint32_t(start), std::uint32_t(end)};
}

// Offset of language's text in data, or -1; the walk stops at the end marker or at limit.
static std::int64_t findStringText(const std::uint8_t* data, std::uint32_t start, std::uint32_t limit,
                                   int language) {
    if (language < 0 || language >= 0xFF) return -1;
    std::uint32_t pos = start;
    while (pos < limit) {
        std::uint8_t code = data[pos];
        if (code == 0xFF) return -1;
        if (code == language) return std::int64_t(pos) + 1;
        ++pos;
        while (pos < limit && data[pos] != 0) ++pos;
        ++pos;  // past the terminator
    }
    return -1;
}

bool PathObject::getObjectString(int language, std::string& text) const {
    if (!m_data) return false;
    std::int64_t at = findStringText(m_data.get(), m_stringTableOffset, m_dataSize, language);
    if (at < 0) return false;
    std::uint32_t end = std::uint32_t(at);
    while (end < m_dataSize && m_data[end] != 0) ++end;
    text.assign(reinterpret_cast<const char*>(m_data.get()) + at, end - std::uint32_t(at));
    return true;
}

void PathObject::setObjectString(int language, const std::string& text) {
    if (!m_data) return;
    // A text ends at its first NUL, as it would in the table; an empty one becomes a space.
    std::string newText = text.substr(0, text.find('\0'));
    if (newText.empty()) newText = " ";

    std::uint32_t limit = std::min(m_imageDataOffset, m_dataSize);
    std::int64_t at = findStringText(m_data.get(), m_stringTableOffset, limit, language);
    if (at < 0) return;
    const std::uint32_t textStart = std::uint32_t(at);
    std::uint32_t terminator = textStart;
    while (terminator < m_dataSize && m_data[terminator] != 0) ++terminator;
    if (terminator >= m_dataSize) return;  // a text without terminator: leave the table alone

    const std::uint32_t oldLength = terminator - textStart;
    const std::size_t newSize = std::size_t(m_dataSize) - oldLength + newText.size();
    auto buffer = std::make_unique<std::uint8_t[]>(newSize);
    std::memcpy(buffer.get(), m_data.get(), textStart);
    std::memcpy(buffer.get() + textStart, newText.data(), newText.size());
    std::memcpy(buffer.get() + textStart + newText.size(), m_data.get() + terminator,
                m_dataSize - terminator);

    const std::int64_t delta = std::int64_t(newText.size()) - std::int64_t(oldLength);
    m_data = std::move(buffer);
    m_dataSize = std::uint32_t(newSize);
    m_imageDataOffset = std::uint32_t(std::int64_t(m_imageDataOffset) + delta);
}

void PathObject::replaceSprite(unsigned index, std::uint32_t sourceOffset, std::uint32_t word1,
                               std::uint32_t word2, std::uint32_t word3, std::uint32_t length,
                               const std::uint8_t* source) {
    if (!m_data) return;
    if (index >= m_spriteCount) {
        // Appending: entries between the old count and index stay all zero.
        m_sprites.resize(std::size_t(index) + 1, SpriteHeader{});
        m_sprites[index].offset = m_dataSize >= m_imageDataOffset ? m_dataSize - m_imageDataOffset : 0;
        m_spriteCount = index + 1;
    }
    const auto [start, end] = spriteSpan(index);
    const std::uint32_t oldLength = end - start;
    const bool last = index + 1 == m_spriteCount;
    const std::uint32_t tail = last ? 0 : m_dataSize - end;

    const std::size_t newSize = std::size_t(start) + length + tail;
    auto buffer = std::make_unique<std::uint8_t[]>(newSize);
    std::memcpy(buffer.get(), m_data.get(), start);
    if (length) std::memcpy(buffer.get() + start, source + sourceOffset, length);
    if (tail) std::memcpy(buffer.get() + start + length, m_data.get() + end, tail);

    m_sprites[index].setWords(word1, word2, word3);
    const std::uint32_t shift = length - oldLength;  // modular: later offsets move by the difference
    for (std::size_t i = std::size_t(index) + 1; i < m_sprites.size(); ++i) m_sprites[i].offset += shift;

    m_data = std::move(buffer);
    m_dataSize = std::uint32_t(newSize);
}

void PathObject::truncateSprites(std::uint32_t count) {
    if (count >= m_spriteCount) return;
    std::uint64_t cut = std::uint64_t(m_imageDataOffset) + m_sprites[count].offset;
    cut = std::min<std::uint64_t>(cut, m_dataSize);
    m_sprites.resize(count);
    m_sprites.shrink_to_fit();
    m_spriteCount = count;
    if (m_data) {
        auto buffer = std::make_unique<std::uint8_t[]>(std::size_t(cut));
        std::memcpy(buffer.get(), m_data.get(), std::size_t(cut));
        m_data = std::move(buffer);
        m_dataSize = std::uint32_t(cut);
    }
}

namespace {
constexpr int kPageFirst[kPageCount] = {0, 73, 51, 87, 109, 0};
constexpr int kPageLast[kPageCount] = {50, 86, 70, 108, -1, 0};
}  // namespace

int PathObject::pageFirstSprite(int page) const {
    if (page < 0 || page >= kPageCount) return 0;
    return kPageFirst[page];
}

int PathObject::pageLastSprite(int page) const {
    if (page < 0 || page >= kPageCount) return 0;
    if (page == PageSupports) return int(m_spriteCount) - 1;
    return kPageLast[page];
}

std::span<std::uint8_t> PathObject::spritePixels(unsigned index) {
    if (!m_data || index >= m_sprites.size()) return {};
    auto [start, end] = spriteSpan(index);
    return {m_data.get() + start, end - start};
}

std::span<const std::uint8_t> PathObject::spritePixels(unsigned index) const {
    if (!m_data || index >= m_sprites.size()) return {};
    auto [start, end] = spriteSpan(index);
    return {m_data.get() + start, end - start};
}

}  // namespace trellisor
