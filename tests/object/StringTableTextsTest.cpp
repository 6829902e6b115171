// Language keys, texts from UTF-8, and setting an object's texts all or nothing.
#include <gtest/gtest.h>

#include "object/ObjectFile.h"
#include "object/StringTableTexts.h"
#include "support/ObjectBuilder.h"

namespace trellisor {
namespace {

// An object whose table holds languages 2, 0 and 13 (in that order).
PathObject oddTable() {
    return test::buildObject({test::solidRawSprite(2, 2, 9)}, {{2, "Chemin"}, {0, "Path"}, {13, "Extra"}});
}

// "= value" on success, else the error (of which the cases give the start).
template <class R>
void expectOutcome(const R& r, const std::string& expected) {
    std::string got;
    if constexpr (std::is_same_v<std::decay_t<decltype(r.value())>, int>)
        got = r ? "= " + std::to_string(r.value()) : r.error().substr(0, expected.size());
    else
        got = r ? "= " + r.value() : r.error().substr(0, expected.size());
    EXPECT_EQ(got, expected);
}

TEST(StringTableTexts, KeysAreNumbersOrUniqueLabels) {
    const PathObject obj = oddTable();
    const std::pair<const char*, const char*> cases[] = {
        {"0", "= 0"},
        {"11", "= 11"},
        {"british", "= 0"},
        {"PORTUGESE", "= 11"},
        {"Korean", "= 8"},
        {"13", "= 13"},  // not a named language, but the table holds it
        {"12", "unknown language 12 (languages are 0-11; the object has no entry for 12)"},
        {"-1", "unknown language -1"},
        {"chinese",
         "language 'chinese' is ambiguous: languages 9 and 10 share the label Chinese; give the number"},
        {"klingon",
         "unknown language 'klingon' (give 0-11 or one of british, american, french, german, spanish, "
         "italian, dutch, swedish, korean, portugese)"},
        {"", "unknown language ''"},
        {"1x", "unknown language '1x'"},
    };
    for (const auto& [key, expected] : cases) {
        SCOPED_TRACE(key);
        expectOutcome(languageOfKey(key, obj), expected);
    }
}

TEST(StringTableTexts, TextsBecomeWindows1252OrARefusalNamingLanguageAndCharacters) {
    const struct {
        int code;
        std::string utf8, expected;
    } cases[] = {
        {2, "Ch\u00e9min \u20ac \u0152", "= Ch\xE9min \x80 \x8C"},
        {0, "a\u00ff", "= a\xFF"},  // ÿ inside a text is fine
        {3, "", "= "},
        {10, "\u4e2d \u2603 x \u4e2d", "language 10 (Chinese): Windows-1252 cannot hold \"\u4e2d\u2603\""},
        {4, "a\xFF", "language 4 (Spanish): Windows-1252 cannot hold \"\uFFFD\""},  // not UTF-8
        {0, "\u00ffes", "language 0 (British): the text cannot start with \"\u00ff\""},
        {13, std::string("a\0b", 3), "language 13: a text cannot hold the character U+0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        expectOutcome(stringTableText(c.code, c.utf8), c.expected);
    }
}

TEST(StringTableTexts, EditsSetAddAndKeepOrChangeNothing) {
    PathObject obj = oddTable();
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
        {{{"1", "A"}, {"chinese", "B"}}, "language 'chinese' is ambiguous"},
    };
    for (const auto& [edits, reason] : refusals) {
        const Status s = applyTextEdits(obj, texts, edits);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().rfind(reason, 0), 0u) << s.error();
        EXPECT_EQ(std::pair(texts, test::dataOf(obj)), std::pair(before, data));
    }
}

}  // namespace
}  // namespace trellisor
