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

PathObject PathObject::clone() const {
    PathObject copy;
    copy.m_head = m_head;
    if (m_data) {
        copy.m_data = std::make_unique_for_overwrite<std::uint8_t[]>(m_dataSize);
        if (m_dataSize) std::memcpy(copy.m_data.get(), m_data.get(), m_dataSize);
    }
    copy.m_dataSize = m_dataSize;
    copy.m_sprites = m_sprites;
    copy.m_spriteCount = m_spriteCount;
    copy.m_stringTableOffset = m_stringTableOffset;
    copy.m_imageDataOffset = m_imageDataOffset;
    copy.m_supportType = m_supportType;
    copy.m_pathFlags = m_pathFlags;
    copy.m_sourceFile = m_sourceFile;
    return copy;
}

bool PathObject::operator==(const PathObject& other) const {
    if (m_head.toBytes() != other.m_head.toBytes() || isLoaded() != other.isLoaded() ||
        m_dataSize != other.m_dataSize || m_sprites != other.m_sprites ||
        m_spriteCount != other.m_spriteCount || m_stringTableOffset != other.m_stringTableOffset ||
        m_imageDataOffset != other.m_imageDataOffset || m_supportType != other.m_supportType ||
        m_pathFlags != other.m_pathFlags)
        return false;
    return !isLoaded() || m_dataSize == 0 || std::memcmp(m_data.get(), other.m_data.get(), m_dataSize) == 0;
}

std::uint64_t PathObject::memoryBytes() const {
    return sizeof(PathObject) + (m_data ? m_dataSize : 0) + m_sprites.size() * sizeof(SpriteHeader);
}

void PathObject::clearObject() {
    m_data.reset();
    m_sourceFile.reset();
    m_sprites.clear();
    m_dataSize = 0;
    m_spriteCount = 0;
    m_stringTableOffset = 0;
    m_imageDataOffset = 0;
}

void PathObject::setDrawsPathsOverSupports(bool on) {
    m_pathFlags = std::uint8_t(on ? m_pathFlags | kDrawsPathsOverSupportsBit
                                  : m_pathFlags & ~kDrawsPathsOverSupportsBit);
}

void PathObject::resetToEmptyChunk() {
    constexpr std::uint32_t kEmptyChunkSize = 14 + 3 * kLanguageCount + 1 + 8;
    clearObject();
    m_head = ObjectFileHead{};
    m_head.flags = 0x09F55405;  // bytes 05 54 F5 09
    m_head.encoding = 1;
    m_data = std::make_unique<std::uint8_t[]>(kEmptyChunkSize);  // zeroed
    for (int i = 0; i < kLanguageCount; ++i) {
        m_data[std::size_t(14 + 3 * i)] = std::uint8_t(i);
        m_data[std::size_t(15 + 3 * i)] = ' ';
    }
    m_data[14 + 3 * kLanguageCount] = 0xFF;  // the string table ends; count and size follow once saved
    m_stringTableOffset = 14;
    m_dataSize = kEmptyChunkSize;
    m_imageDataOffset = kEmptyChunkSize;
}

namespace {

// An all-zero header is what appending leaves in a gap: a sprite without bytes.
bool isGap(const SpriteHeader& h) { return h == SpriteHeader{}; }

// Gaps are shorter than the first sprite of the last page; a longer run of all-zero
// headers only comes from a damaged table, and the scan stops there to stay cheap.
constexpr std::size_t kMaxGapScan = 256;

}  // namespace

std::pair<std::uint32_t, std::uint32_t> PathObject::spriteSpan(unsigned index) const {
    // Computed in 64 bits and clamped to the data, so that no table, however odd,
    // yields a range outside it.
    const std::uint64_t size = m_dataSize;
    if (index >= m_sprites.size()) return {m_dataSize, m_dataSize};
    auto startOf = [&](std::size_t i) {
        return std::min<std::uint64_t>(std::uint64_t(m_imageDataOffset) + m_sprites[i].offset, size);
    };
    std::size_t next = std::size_t(index) + 1;
    const std::size_t scanEnd = std::min(m_sprites.size(), next + kMaxGapScan);
    while (next < scanEnd && isGap(m_sprites[next])) ++next;
    const std::uint64_t nextStart = next < scanEnd ? startOf(next) : size;
    // A gap sits, empty, where the next sprite starts.
    if (isGap(m_sprites[index])) return {std::uint32_t(nextStart), std::uint32_t(nextStart)};
    const std::uint64_t start = startOf(index);
    return {std::uint32_t(start), std::uint32_t(nextStart >= start ? nextStart : size)};
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

bool PathObject::addObjectString(int language, const std::string& text) {
    if (!m_data || language < 0 || language >= 0xFF) return false;
    const std::uint32_t limit = std::min(m_imageDataOffset, m_dataSize);
    // Walk to the insertion point: the first entry of a higher code, or the end marker.
    std::uint32_t pos = m_stringTableOffset, at = 0;
    bool found = false;
    while (pos < limit) {
        const std::uint8_t code = m_data[pos];
        if (code == language) return false;
        if (!found && (code == 0xFF || code > language)) {
            at = pos;
            found = true;
        }
        if (code == 0xFF) break;
        ++pos;
        while (pos < limit && m_data[pos] != 0) ++pos;
        ++pos;
    }
    if (!found || pos >= limit) return false;

    std::string entry = text.substr(0, text.find('\0'));
    if (entry.empty()) entry = " ";
    entry.insert(entry.begin(), char(language));
    entry.push_back('\0');
    const std::size_t newSize = std::size_t(m_dataSize) + entry.size();
    auto buffer = std::make_unique<std::uint8_t[]>(newSize);
    std::memcpy(buffer.get(), m_data.get(), at);
    std::memcpy(buffer.get() + at, entry.data(), entry.size());
    std::memcpy(buffer.get() + at + entry.size(), m_data.get() + at, m_dataSize - at);
    m_data = std::move(buffer);
    m_dataSize = std::uint32_t(newSize);
    m_imageDataOffset += std::uint32_t(entry.size());
    return true;
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
    const std::uint32_t tail = m_dataSize - end;

    const std::size_t newSize = std::size_t(start) + length + tail;
    auto buffer = std::make_unique<std::uint8_t[]>(newSize);
    std::memcpy(buffer.get(), m_data.get(), start);
    if (length) std::memcpy(buffer.get() + start, source + sourceOffset, length);
    if (tail) std::memcpy(buffer.get() + start + length, m_data.get() + end, tail);

    // A gap takes the place where its bytes now stand; gaps after it stay all zero.
    if (isGap(m_sprites[index]))
        m_sprites[index].offset = start >= m_imageDataOffset ? start - m_imageDataOffset : 0;
    m_sprites[index].setWords(word1, word2, word3);
    const std::uint32_t shift = length - oldLength;  // modular: later offsets move by the difference
    for (std::size_t i = std::size_t(index) + 1; i < m_sprites.size(); ++i)
        if (!isGap(m_sprites[i])) m_sprites[i].offset += shift;

    m_data = std::move(buffer);
    m_dataSize = std::uint32_t(newSize);
}

void PathObject::truncateSprites(std::uint32_t count) {
    if (count >= m_spriteCount) return;
    const std::uint32_t cut = spriteSpan(count).first;
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

int PathObject::pageFirstSprite(int page) const { return pageInfo(page).firstSprite; }

int PathObject::pageLastSprite(int page) const {
    const PageInfo& info = pageInfo(page);
    return info.lastSprite < 0 ? int(m_spriteCount) - 1 : info.lastSprite;
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
