// The Windows-1252 codec: every byte round trips, and characters without a byte are reported.
#include <gtest/gtest.h>

#include "base/Windows1252.h"

namespace trellisor {
namespace {

TEST(Windows1252, EveryByteRoundTripsThroughUtf8) {
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80 \x9F"), "Caf\u00E9 \u20AC \u0178");
    EXPECT_EQ(windows1252ToUtf8("\x81"), "\xC2\x81");  // unassigned bytes keep their value
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    const Windows1252Text back = utf8ToWindows1252(windows1252ToUtf8(all));
    EXPECT_EQ(back.bytes, all);
    EXPECT_TRUE(back.complete());
}

TEST(Windows1252, ReportsEachUnencodableCharacterOnce) {
    struct Case {
        const char* utf8;
        const char* bytes;
        const char* unencodable;
    };
    const Case cases[] = {
        {"\u8DEF\u5F84 x \u8DEF", "?? x ?", "\u8DEF\u5F84"},  // each once, in order of appearance
        {"\uAE38", "?", "\uAE38"},
        {"\U0001F600!", "?!", "\U0001F600"},            // outside the basic plane
        {"\xFF x", "? x", "\uFFFD"},                    // malformed UTF-8
        {"\xC3", "?", "\uFFFD"},                        // cut off
        {"\xC3(", "?(", "\uFFFD"},                      // a continuation byte missing
        {"\xF4\x90\x80\x80", "?", "\uFFFD"},            // beyond U+10FFFF
        {"\xF0\x90\x80\x80", "?", "\xF0\x90\x80\x80"},  // U+10000, the first of four bytes
        {"\xF4\x8F\xBF\xBF", "?", "\xF4\x8F\xBF\xBF"},  // U+10FFFF, the last
        {"\xE2\x82\xAC \xE2\x80\x94", "\x80 \x97", ""},
    };
    for (const Case& c : cases) {
        const Windows1252Text t = utf8ToWindows1252(c.utf8);
        EXPECT_EQ(t.bytes, c.bytes) << c.utf8;
        EXPECT_EQ(t.unencodable, c.unencodable) << c.utf8;
    }
    EXPECT_EQ(windows1252Byte(0x0178), std::optional<std::uint8_t>(0x9F));
    EXPECT_EQ(windows1252Byte(0x0100), std::nullopt);
}

}  // namespace
}  // namespace trellisor
