// The Windows-1252 codec: every byte round trips, and characters without a byte are reported.
#include <gtest/gtest.h>

#include "base/Windows1252.h"

namespace trellisor {
namespace {

TEST(Windows1252, EveryByteRoundTripsAndEachUnencodableCharacterIsReportedOnce) {
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80 \x9F"), "Caf\u00E9 \u20AC \u0178");
    EXPECT_EQ(windows1252ToUtf8("\x81"), "\xC2\x81");  // unassigned bytes keep their value
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    const Windows1252Text back = utf8ToWindows1252(windows1252ToUtf8(all));
    EXPECT_EQ(std::pair(back.bytes, back.complete()), std::pair(all, true));

    const char* const cases[][3] = {
        // UTF-8, the bytes it becomes, the characters that had none
        {"\u8DEF\u5F84 x \u8DEF", "?? x ?", "\u8DEF\u5F84"},  // each once, in order of appearance
        {"\xFF x", "? x", "\uFFFD"},                          // malformed UTF-8
        {"\xC3", "?", "\uFFFD"},                              // cut off
        {"\xC3(", "?(", "\uFFFD"},                            // a continuation byte missing
        {"\xF4\x90\x80\x80", "?", "\uFFFD"},                  // beyond U+10FFFF
        {"\xF0\x90\x80\x80!", "?!", "\xF0\x90\x80\x80"},      // U+10000, the first of four bytes
        {"\xF4\x8F\xBF\xBF", "?", "\xF4\x8F\xBF\xBF"},        // U+10FFFF, the last
        {"\xE2\x82\xAC \xE2\x80\x94", "\x80 \x97", ""},
    };
    for (const auto& [utf8, bytes, unencodable] : cases) {
        const Windows1252Text t = utf8ToWindows1252(utf8);
        EXPECT_EQ(std::pair(t.bytes, t.unencodable), std::pair(std::string(bytes), std::string(unencodable)))
            << utf8;
    }
}

}  // namespace
}  // namespace trellisor
