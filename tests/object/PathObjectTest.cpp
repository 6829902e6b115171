// PathObject: records, string table edits, sprite spans and edits, pages and flag bits; language
// keys, texts from UTF-8 and setting an object's texts all or nothing.
#include <gtest/gtest.h>

#include "object/ObjectFile.h"
#include "object/StringTableTexts.h"
#include "support/ObjectBuilder.h"
#include "support/Reference.h"
#include "support/Refusals.h"

namespace trellisor {
namespace {

using test::buildObject;
using test::solidRawSprite;
using Bytes = std::vector<std::uint8_t>;

TEST(PathObject, StringsAreFoundSetAndAddedInPlace) {
    PathObject obj =
        buildObject({solidRawSprite(3, 1, 7), solidRawSprite(1, 2, 8)}, {{3, "Old"}, {1, ""}, {9, "X"}});
    const Bytes sprite1 = test::pixelsOf(obj, 1);
    const std::uint32_t size = obj.m_dataSize, image = obj.m_imageDataOffset;
    std::string text = "kept";
    for (int code : {5, -1, 255}) EXPECT_FALSE(obj.getObjectString(code, text)) << code;
    EXPECT_EQ(text, "kept");
    obj.setObjectString(5, "absent");  // a code the table lacks: nothing changes
    EXPECT_EQ(std::tuple(obj.m_dataSize, obj.getObjectString(1, text), text), std::tuple(size, true, ""));

    obj.setObjectString(3, "");                              // an empty text becomes one space: 03 20 00
    obj.setObjectString(1, std::string("Longer\0cut", 10));  // a text ends at its first NUL
    // 2 goes before the first higher code (3, which comes first), 11 at the end marker as one space.
    const std::tuple<int, const char*, bool> adds[] = {{9, "again", false}, {2, "B", true},
                                                       {11, "", true},      {0, "Zero", true},
                                                       {255, "x", false},   {-1, "x", false}};
    for (auto [code, t, added] : adds) EXPECT_EQ(obj.addObjectString(code, t), added) << code;
    EXPECT_EQ(stringTableEntries(obj),
              (test::StringEntries{{0, "Zero"}, {2, "B"}, {3, " "}, {1, "Longer"}, {9, "X"}, {11, " "}}));
    EXPECT_EQ(std::tuple(obj.m_imageDataOffset, obj.m_dataSize, test::pixelsOf(obj, 1)),
              std::tuple(image - 2 + 6 + 3 + 3 + 6, image - 2 + 6 + 3 + 3 + 6 + 5, sprite1));

    // A table whose end marker lies beyond the image data, or a text without terminator: left alone.
    PathObject broken = buildObject({solidRawSprite(1, 1, 1)}, {{0, "A"}});
    broken.m_imageDataOffset = broken.m_stringTableOffset + 2;
    EXPECT_FALSE(broken.addObjectString(5, "x"));
    broken.m_imageDataOffset = 14 + 3 + 1 + 8 + 16;
    broken.m_dataSize = 16;  // cut inside "A"'s entry
    broken.setObjectString(0, "longer");
    EXPECT_EQ(broken.m_dataSize, 16u);
}

// One rule gives a sprite's bytes to drawing, colour edits, type files and replacement.
TEST(PathObject, SpansOfOutOfOrderOverlappingAndGapSprites) {
    PathObject obj = buildObject(
        {solidRawSprite(2, 2, 1), solidRawSprite(2, 2, 2), solidRawSprite(2, 2, 3), solidRawSprite(2, 2, 4)});
    const std::uint32_t base = obj.m_imageDataOffset, size = obj.m_dataSize;
    EXPECT_GE(obj.memoryBytes(), size + 4 * sizeof(SpriteHeader)) << "the chunk and the sprite table count";
    // Offsets, then each sprite's start and end in the 16 image bytes.
    using Offsets = std::vector<std::uint32_t>;
    const std::tuple<const char*, Offsets, Offsets> cases[] = {
        {"abutting, the last to the end", {0, 4, 8, 12}, {0, 4, 4, 8, 8, 12, 12, 16}},
        {"a lower next start: to the end", {8, 4, 12, 0}, {8, 16, 4, 12, 12, 16, 0, 16}},
        {"equal starts: the first empty", {0, 0, 6, 6}, {0, 0, 0, 6, 6, 6, 6, 16}},
        {"a start past the data: clamped", {0, 4, 100, 8}, {0, 4, 4, 16, 16, 16, 8, 16}},
        {"a gap: empty, where the next starts", {0, 4, 0, 12}, {0, 4, 4, 12, 12, 12, 12, 16}}};
    for (const auto& [name, offsets, spans] : cases) {
        SCOPED_TRACE(name);
        for (std::size_t i = 0; i < 4; ++i) obj.m_sprites[i].offset = offsets[i];
        if (&offsets == &std::get<1>(cases[4])) obj.m_sprites[2] = SpriteHeader{};
        Offsets actual;
        for (unsigned i = 0; i < 4; ++i) {
            const auto [start, end] = obj.spriteSpan(i);
            actual.insert(actual.end(), {start - base, end - base});
            EXPECT_EQ(std::tuple(obj.spritePixels(i).size(), std::as_const(obj).spritePixels(i).data()),
                      std::tuple(std::size_t(end - start), obj.m_data.get() + start));
        }
        EXPECT_EQ(actual, spans);
    }
    obj.m_sprites.reserve(8);
    obj.m_sprites.push_back(SpriteHeader{2, 1, 1, 0, 0, 1, 0});
    obj.m_sprites.pop_back();  // a stale header just past the table, which must not be read
    EXPECT_EQ(obj.spriteSpan(4), std::make_pair(size, size));
    EXPECT_TRUE(obj.spritePixels(4).empty() && std::as_const(obj).spritePixels(4).empty());
    // The scan for the next sprite passes over at most 256 gaps.
    const Bytes source = {0xEE, 9, 9, 9, 9, 9, 9};
    for (auto [index, expected] : {std::pair{256u, Bytes{1, 1, 1, 1}}, {257u, Bytes{1, 1, 1, 1, 9}}}) {
        PathObject gappy = buildObject({solidRawSprite(2, 2, 1)});
        gappy.replaceSprite(index, 1, 0x00010001, 0, 1, 1, source.data());
        EXPECT_EQ(test::pixelsOf(gappy, 0), expected) << index;
    }
}

// After each step the count, the live headers and the chunk match the reference.
TEST(PathObject, SpritesAreReplacedAppendedAndTruncated) {
    PathObject obj = buildObject({solidRawSprite(2, 2, 1), solidRawSprite(3, 1, 2), solidRawSprite(1, 1, 3)});
    const Bytes source = {0xEE, 9, 8, 7, 6, 5, 4};
    auto matches = [&](const std::string& name) {
        Bytes state;
        ByteWriter w(state);
        w.u32(obj.m_spriteCount), w.u32(std::uint32_t(obj.m_sprites.size())), w.u32(obj.m_imageDataOffset);
        w.u32(obj.m_stringTableOffset);
        for (const SpriteHeader& h : obj.m_sprites) w.bytes(h.toBytes());
        w.bytes(test::dataOf(obj));
        return test::matchesReferenceBytes(state, "object/sprite-edits/" + name);
    };
    obj.replaceSprite(1, 1, 0x00020003, 0xFFFE8000, 0xBEEF0001, 6, source.data());
    EXPECT_TRUE(matches("1-replaced-from-source-byte-1"));
    obj.replaceSprite(2, 0, 0, 0, 1, 2, source.data());
    EXPECT_TRUE(matches("2-last-replaced-owning-everything-to-the-end"));
    obj.replaceSprite(5, 2, 0x00010001, 0, 1, 1, source.data());
    EXPECT_TRUE(matches("3-appended-two-past-the-end-after-gaps"));
    obj.replaceSprite(3, 0, 0x00010003, 0, 1, 3, source.data());
    EXPECT_TRUE(matches("4-gap-filled-in-place"));
    for (auto [count, name] : {std::pair{6u, "5-truncated-to-6-nothing-cut"},
                               {4u, "6-truncated-to-4-at-the-gap"},
                               {1u, "7-truncated-to-1"}}) {
        obj.truncateSprites(count);
        EXPECT_TRUE(matches(name));
    }
    PathObject other = obj.clone();  // equal until one sprite header differs
    other.m_sprites[0].yOffset += 1;
    EXPECT_EQ(std::pair(obj == obj.clone(), obj == other), std::pair(true, false));
    obj.clearObject();
    obj.replaceSprite(0, 0, 0, 0, 1, 1, source.data());  // nothing loaded: nothing to replace or set
    obj.setObjectString(0, "x");
    std::string text;
    EXPECT_EQ(std::tuple(obj.isLoaded(), obj.m_dataSize, obj.m_sprites.size(), obj.getObjectString(0, text),
                         obj.addObjectString(0, "x"), stringTableEntries(obj)),
              std::tuple(false, 0u, std::size_t(0), false, false, test::StringEntries{}));
}

// The page ranges themselves show in the type files and sheets compared with references.
TEST(Pages, NamesSupportCountsAndFlagBits) {
    for (int page = PagePath; page <= PageSupports; ++page)
        EXPECT_EQ(spritePageFromCliName(pageInfo(page).cliName), page);
    EXPECT_EQ(spritePageCliNames(), "path, path-railings, queue, queue-railings, supports");
    EXPECT_FALSE(spritePageFromCliName("Path") || spritePageFromCliName(""));  // String Table: no name
    EXPECT_EQ(std::pair(&pageInfo(-1), &pageInfo(kPageCount)),
              std::pair(&pageInfo(PageStringTable), &pageInfo(PageStringTable)));
    for (auto [type, flags, count] :
         {std::tuple{0, 1, 59}, {2, 3, 59}, {1, 1, 56}, {3, 2, 37}, {1, 0xFE, 37}})
        EXPECT_EQ(typeSpriteCount(PageSupports, std::uint8_t(type), std::uint8_t(flags)), count)
            << type << flags;
    EXPECT_EQ(typeSpriteCount(PageStringTable, 1, 1), 0);
    // An empty chunk keeps the working copies of the flag bytes; the flag bits, and the support
    // pages, which follow the sprite count.
    PathObject obj;
    obj.m_pathFlags = 0xFD, obj.m_supportType = 0xFE;
    obj.resetToEmptyChunk();
    EXPECT_FALSE(obj.drawsPathsOverSupports() || obj.usesSecondSupportSet());
    obj.setDrawsPathsOverSupports(true);
    EXPECT_EQ(std::pair(obj.m_pathFlags, obj.drawsPathsOverSupports()), std::pair(std::uint8_t(0xFF), true));
    obj.setDrawsPathsOverSupports(false);
    EXPECT_EQ(obj.m_pathFlags, 0xFD);
    obj.m_supportType = 0x01;
    EXPECT_TRUE(obj.usesSecondSupportSet());
    obj.m_spriteCount = 146;
    EXPECT_EQ(std::tuple(obj.pageFirstSprite(PageSupports), obj.pageLastSprite(PageSupports),
                         obj.pageFirstSprite(PageStringTable), obj.pageLastSprite(PageStringTable)),
              std::tuple(109, 145, 0, 0));
}

// Languages 2, 0 and 13 (not a named language), in that order.
PathObject threeLanguages() {
    return buildObject({solidRawSprite(2, 2, 9)}, {{2, "Chemin"}, {0, "Path"}, {13, "Extra"}});
}

TEST(StringTableTexts, KeysAreNumbersTheObjectHoldsOrUniqueLabels) {
    const PathObject obj = threeLanguages();
    for (auto [key, code] :
         {std::pair{"0", 0}, {"11", 11}, {"british", 0}, {"PORTUGESE", 11}, {"Korean", 8}, {"13", 13}})
        EXPECT_TRUE(languageOfKey(key, obj) && languageOfKey(key, obj).value() == code) << key;
    EXPECT_TRUE(languageOfKey("0", buildObject({}, {}))) << "a named language the table lacks";
    const std::pair<const char*, const char*> badKeys[] = {
        {"12", "unknown language 12 (languages are 0-11; the object has no entry for 12)"},
        {"-1", "unknown language -1"},
        {"chinese",
         "language 'chinese' is ambiguous: languages 9 and 10 share the label Chinese; give the number"},
        {"klingon",
         "unknown language 'klingon' (give 0-11 or one of british, american, french, german, spanish, "
         "italian, dutch, swedish, korean, portugese)"},
        {"", "unknown language ''"},
        {"1x", "unknown language '1x'"}};
    for (const auto& [key, reason] : badKeys) EXPECT_THAT(languageOfKey(key, obj), test::RefusedWith(reason));
}

// A text becomes Windows-1252 ("= text"), or a refusal naming the language and characters (the
// codec itself is checked in base).
TEST(StringTableTexts, TextsBecomeWindows1252OrAreRefused) {
    const std::tuple<int, std::string, std::string> cases[] = {
        {0, "a\u00ff", "= a\xFF"},  // ÿ inside a text is fine
        {3, "", "= "},
        {10, "\u4e2d \u2603 x \u4e2d", "language 10 (Chinese): Windows-1252 cannot hold \"\u4e2d\u2603\""},
        {0, "\u00ffes", "language 0 (British): the text cannot start with \"\u00ff\""},
        {13, std::string("a\0b", 3), "language 13: a text cannot hold the character U+0000"}};
    for (const auto& [code, utf8, expected] : cases) {
        const auto r = stringTableText(code, utf8);
        EXPECT_EQ(r ? "= " + r.value() : r.error().substr(0, expected.size()), expected);
    }
}

TEST(StringTableTexts, EditsApplyAllOrNothing) {
    PathObject obj = threeLanguages();
    std::array<std::string, kLanguageCount> texts = objectStrings(obj);
    ASSERT_TRUE(applyTextEdits(
        obj, texts, {{"french", "Ch\u00e9min"}, {"9", "\u00c7a"}, {"13", "Plus"}, {"american", ""}}));
    std::string extra;  // a language past 11 goes straight into the table
    ASSERT_TRUE(obj.getObjectString(13, extra));
    EXPECT_EQ(std::tuple(texts[0], texts[1], texts[2], texts[9], extra),
              std::tuple("Path", "", "Ch\xE9min", std::string{'\xC7', 'a'}, "Plus"));  // 0 kept

    // A refused edit anywhere in the list changes nothing, even edits before it.
    const auto before = texts;
    const std::vector<std::uint8_t> data = test::dataOf(obj);
    const std::pair<std::vector<TextEdit>, std::string> refusals[] = {
        {{{"13", "Changed"}, {"2", "\u2603"}}, "language 2 (French): Windows-1252 cannot hold"},
        {{{"0", "A"}, {"British", "B"}}, "language 0 (British) is given twice (\"0\" and \"British\")"},
        {{{"1", "A"}, {"chinese", "B"}}, "language 'chinese' is ambiguous"}};
    for (const auto& [edits, reason] : refusals) {
        EXPECT_THAT(applyTextEdits(obj, texts, edits), test::RefusedWith(reason));
        EXPECT_EQ(std::pair(texts, test::dataOf(obj)), std::pair(before, data));
    }
}

}  // namespace
}  // namespace trellisor
