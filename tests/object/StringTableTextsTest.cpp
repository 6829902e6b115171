// Language keys, texts from UTF-8, and setting an object's texts all or nothing.
#include <gtest/gtest.h>

#include "object/ObjectFile.h"
#include "object/StringTableTexts.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

using Texts = std::array<std::string, kLanguageCount>;

// An object whose table holds languages 2, 0 and 13 (in that order).
PathObject oddTable() {
    return test::buildObject({test::solidRawSprite(2, 2, 9)}, {{2, "Chemin"}, {0, "Path"}, {13, "Extra"}});
}

TEST(StringTableTexts, KeysAreNumbersOrUniqueLabels) {
    const PathObject obj = oddTable();
    const struct {
        const char* key;
        int code;  // -1: refused
        const char* reason;
    } cases[] = {
        {"0", 0, ""},
        {"11", 11, ""},
        {"british", 0, ""},
        {"PORTUGESE", 11, ""},
        {"Korean", 8, ""},
        {"13", 13, ""},  // not a named language, but the table holds it
        {"12", -1, "unknown language 12 (languages are 0-11; the object has no entry for 12)"},
        {"-1", -1, "unknown language -1"},
        {"chinese", -1,
         "language 'chinese' is ambiguous: languages 9 and 10 share the label Chinese; give the number"},
        {"klingon", -1,
         "unknown language 'klingon' (give 0-11 or one of british, american, french, german, spanish, "
         "italian, dutch, swedish, korean, portugese)"},
        {"", -1, "unknown language ''"},
        {"1x", -1, "unknown language '1x'"},
    };
    for (const auto& c : cases) {
        auto code = languageOfKey(c.key, obj);
        if (c.code >= 0) {
            ASSERT_TRUE(code) << c.key << ": " << code.error();
            EXPECT_EQ(code.value(), c.code) << c.key;
        } else {
            ASSERT_FALSE(code) << c.key;
            EXPECT_EQ(code.error().rfind(c.reason, 0), 0u) << code.error();
        }
    }
}

TEST(StringTableTexts, TextsBecomeWindows1252OrARefusalNamingLanguageAndCharacters) {
    const struct {
        int code;
        const char* utf8;
        const char* bytes;  // nullptr: refused with `reason`
        const char* reason;
    } cases[] = {
        {2, "Ch\u00e9min \u20ac \u0152", "Ch\xE9min \x80 \x8C", ""},
        {0, "a\u00ff", "a\xFF", ""},  // ÿ inside a text is fine
        {3, "", "", ""},
        {10, "\u4e2d \u2603 x \u4e2d", nullptr,
         "language 10 (Chinese): Windows-1252 cannot hold \"\u4e2d\u2603\""},
        {4, "a\xFF", nullptr, "language 4 (Spanish): Windows-1252 cannot hold \"\uFFFD\""},  // not UTF-8
        {0, "\u00ffes", nullptr, "language 0 (British): the text cannot start with \"\u00ff\""},
    };
    for (const auto& c : cases) {
        auto bytes = stringTableText(c.code, c.utf8);
        if (c.bytes) {
            ASSERT_TRUE(bytes) << c.utf8 << ": " << bytes.error();
            EXPECT_EQ(bytes.value(), c.bytes);
        } else {
            ASSERT_FALSE(bytes) << c.utf8;
            EXPECT_EQ(bytes.error().rfind(c.reason, 0), 0u) << bytes.error();
        }
    }
    auto nul = stringTableText(13, std::string("a\0b", 3));
    ASSERT_FALSE(nul);
    EXPECT_EQ(nul.error(), "language 13: a text cannot hold the character U+0000");
}

TEST(StringTableTexts, EditsSetAddAndKeepOrChangeNothing) {
    PathObject obj = oddTable();
    Texts texts = objectStrings(obj);
    ASSERT_TRUE(applyTextEdits(
        obj, texts, {{"french", "Ch\u00e9min"}, {"9", "\u00c7a"}, {"13", "Plus"}, {"american", ""}}));
    EXPECT_EQ(std::tuple(texts[0], texts[1], texts[2], texts[9]),
              std::tuple("Path", "", "Ch\xE9min", std::string{'\xC7', 'a'}));  // 0 kept
    std::string extra;  // a language past 11 goes straight into the table
    ASSERT_TRUE(obj.getObjectString(13, extra));
    EXPECT_EQ(extra, "Plus");

    // A refused edit anywhere in the list changes nothing, even edits before it.
    const Texts before = texts;
    const std::vector<std::uint8_t> data(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize);
    const struct {
        std::vector<TextEdit> edits;
        const char* reason;
    } refusals[] = {
        {{{"13", "Changed"}, {"2", "\u2603"}}, "language 2 (French): Windows-1252 cannot hold"},
        {{{"0", "A"}, {"British", "B"}}, "language 0 (British) is given twice (\"0\" and \"British\")"},
        {{{"1", "A"}, {"chinese", "B"}}, "language 'chinese' is ambiguous"},
    };
    for (const auto& r : refusals) {
        Status s = applyTextEdits(obj, texts, r.edits);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().rfind(r.reason, 0), 0u) << s.error();
        EXPECT_EQ(texts, before);
        EXPECT_EQ(std::vector<std::uint8_t>(obj.m_data.get(), obj.m_data.get() + obj.m_dataSize), data);
    }
}

}  // namespace
}  // namespace trellisor
