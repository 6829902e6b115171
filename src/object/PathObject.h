// The path object being edited: the file head, the decoded data chunk, the live
// sprite header table, and the primitives that keep offsets and sizes consistent.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "object/Pages.h"

namespace trellisor {

// The object's two icons, rebuilt from the other sprites before every repaint.
inline constexpr unsigned PathIconSprite = 71;
inline constexpr unsigned QueueIconSprite = 72;
inline constexpr int kIconWidth = 45;
inline constexpr int kIconHeight = 34;

// Sprite pixel formats.
inline constexpr std::int16_t kSpriteRaw = 1;
inline constexpr std::int16_t kSpriteRowCoded = 5;

inline constexpr std::uint8_t kPathObjectType = 5;
inline constexpr int kLanguageCount = 12;
// The languages of codes 0..11, as the String Table page labels its rows.
inline constexpr std::array<const char*, kLanguageCount> kLanguageNames = {
    "British", "American", "French", "German",  "Spanish", "Italian",
    "Dutch",   "Swedish",  "Korean", "Chinese", "Chinese", "Portugese"};

// The 21-byte head of an object file: object header followed by chunk header.
struct ObjectFileHead {
    static constexpr std::size_t kSize = 21;
    std::uint32_t flags = 0;     // low 4 bits of byte 0: object type
    std::array<char, 8> name{};  // space padded, no terminator
    std::uint32_t checksum = 0;
    std::uint8_t encoding = 0;  // 0 stored, anything else run-length coded
    std::uint32_t length = 0;   // coded chunk bytes after the head

    std::uint8_t objectType() const { return std::uint8_t(flags & 0x0F); }
    std::array<std::uint8_t, kSize> toBytes() const;
    static ObjectFileHead fromBytes(std::span<const std::uint8_t, kSize> bytes);
};

// One 16-byte sprite header record.
struct SpriteHeader {
    static constexpr std::size_t kSize = 16;
    std::uint32_t offset = 0;  // relative to the start of the image data
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t xOffset = 0;
    std::int16_t yOffset = 0;
    std::int16_t flags = 0;  // 1 raw, 5 row-coded
    std::uint16_t reserved = 0;

    // The header as three 32-bit words (bytes 4-7, 8-11, 12-15), as type files pass them.
    std::uint32_t word1() const;
    std::uint32_t word2() const;
    std::uint32_t word3() const;
    void setWords(std::uint32_t w1, std::uint32_t w2, std::uint32_t w3);

    std::array<std::uint8_t, kSize> toBytes() const;
    static SpriteHeader fromBytes(const std::uint8_t* bytes);  // reads 16 bytes
    bool operator==(const SpriteHeader&) const = default;
};

class PathObject {
public:
    // The head as read (or set by New), written back by Save.
    ObjectFileHead m_head;
    // The decoded data chunk; null exactly when no object is loaded.
    std::unique_ptr<std::uint8_t[]> m_data;
    std::uint32_t m_dataSize = 0;
    // The live sprite header table (authoritative; m_spriteCount == m_sprites.size()).
    std::vector<SpriteHeader> m_sprites;
    std::uint32_t m_spriteCount = 0;
    std::uint32_t m_stringTableOffset = 0;
    std::uint32_t m_imageDataOffset = 0;
    std::uint8_t m_supportType = 0;  // chunk byte 10; bit 0 selects the support set
    std::uint8_t m_pathFlags = 0;    // chunk byte 11; bit 0 the support set, bit 1 paths over supports
    // The file the object was last read from or written to, whole. Save writes its bytes again
    // where the object still holds what they hold (ObjectFile.h). Copies share it, so the undo
    // history keeps it once; it is where the object came from, not part of its value, so
    // operator== and memoryBytes leave it out.
    std::shared_ptr<const std::vector<std::uint8_t>> m_sourceFile;

    bool isLoaded() const { return m_data != nullptr; }

    // A deep copy (the source file is shared): the editor keeps copies to undo to, and Save
    // works on one.
    PathObject clone() const;
    // Every field and every byte of the chunk equal (the source file aside).
    bool operator==(const PathObject& other) const;
    // What the object holds in memory (its buffers and itself).
    std::uint64_t memoryBytes() const;

    // The "Draw Paths over Supports" bit of the path flags.
    bool drawsPathsOverSupports() const { return (m_pathFlags & kDrawsPathsOverSupportsBit) != 0; }
    void setDrawsPathsOverSupports(bool on);
    // Whether the support type selects the second support set (the preview's choice).
    bool usesSecondSupportSet() const { return selectsSecondSupportSet(m_supportType); }

    // Frees the chunk and the sprite table, forgets the source file, zeroes sizes and offsets.
    void clearObject();
    // Makes this a new, empty object (the flag bytes stay): the head New writes, and a chunk
    // of the 14-byte entry header, twelve one-space texts, the end marker and room for the
    // image count and size.
    void resetToEmptyChunk();

    // The byte range [start, end) of sprite index's pixels in m_data, always inside it.
    // A sprite runs from its start to the start of the next sprite (all-zero headers,
    // which appending leaves in a gap, are passed over and hold no bytes), or to the end
    // of the data when there is no next sprite or the next one starts before it.
    std::pair<std::uint32_t, std::uint32_t> spriteSpan(unsigned index) const;

    // The text of a language code; false (text untouched) when the table has none.
    bool getObjectString(int language, std::string& text) const;
    // Replaces the text of a language code the table holds (an empty text becomes " ").
    void setObjectString(int language, const std::string& text);
    // Adds an entry for a language code the table lacks, before the first entry of a higher
    // code (or the end marker); false, nothing changed, when the code is present or the
    // table has no end marker before the image data.
    bool addObjectString(int language, const std::string& text);

    // Gives sprite index the header words and length pixel bytes at source + sourceOffset;
    // appends (leaving all-zero headers in any gap) when index >= m_spriteCount.
    void replaceSprite(unsigned index, std::uint32_t sourceOffset, std::uint32_t word1, std::uint32_t word2,
                       std::uint32_t word3, std::uint32_t length, const std::uint8_t* source);
    // Keeps only the first count sprites.
    void truncateSprites(std::uint32_t count);

    // Sprite ranges of the pages; Supports ends at m_spriteCount - 1, the String Table page is 0..0.
    int pageFirstSprite(int page) const;
    int pageLastSprite(int page) const;

    // Pixel bytes of sprite index (spriteSpan), empty when nothing is loaded or out of range.
    std::span<std::uint8_t> spritePixels(unsigned index);
    std::span<const std::uint8_t> spritePixels(unsigned index) const;
};

}  // namespace trellisor
