// Windows-1252 <-> UTF-8: Latin-1 except for 0x80..0x9F, which hold the typographic
// characters below.
#include "base/Windows1252.h"

#include <array>

namespace trellisor {

namespace {

// 0x80..0x9F; the unassigned bytes 81, 8D, 8F, 90, 9D map to themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes the character at utf8[i], advancing i; malformed input gives U+FFFD and one byte.
char32_t nextCodePoint(std::string_view utf8, std::size_t& i) {
    const auto b = std::uint8_t(utf8[i]);
    const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > utf8.size()) {
        ++i;
        return kReplacement;
    }
    char32_t cp = length == 1 ? b : char32_t(b & (0x7F >> length));
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = std::uint8_t(utf8[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += length;
    return cp > 0x10FFFF ? kReplacement : cp;
}

}  // namespace

char32_t windows1252CodePoint(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t(byte);
}

std::optional<std::uint8_t> windows1252Byte(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return std::uint8_t(codePoint);
    for (std::size_t k = 0; k < kHighControls.size(); ++k)
        if (kHighControls[k] == codePoint) return std::uint8_t(0x80 + k);
    return std::nullopt;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) appendUtf8(out, windows1252CodePoint(std::uint8_t(ch)));
    return out;
}

Windows1252Text utf8ToWindows1252(std::string_view utf8) {
    Windows1252Text text;
    text.bytes.reserve(utf8.size());
    std::u32string missing;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (auto byte = windows1252Byte(cp)) {
            text.bytes += char(*byte);
            continue;
        }
        text.bytes += '?';
        if (missing.find(cp) == std::u32string::npos) {
            missing += cp;
            appendUtf8(text.unencodable, cp);
        }
    }
    return text;
}

}  // namespace trellisor
