// Object texts are Windows-1252 bytes; the editor's widgets, the terminal and JSON speak
// Unicode (UTF-8). This is the one conversion between them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trellisor {

// The character of a byte; the five unassigned bytes (81, 8D, 8F, 90, 9D) keep their value.
char32_t windows1252CodePoint(std::uint8_t byte);
// The byte of a character, or nothing when Windows-1252 cannot hold it.
std::optional<std::uint8_t> windows1252Byte(char32_t codePoint);

std::string windows1252ToUtf8(std::string_view bytes);

struct Windows1252Text {
    std::string bytes;        // '?' stands for every character that has no byte
    std::string unencodable;  // those characters (UTF-8), each once, in order of appearance
    bool complete() const { return unencodable.empty(); }
};
// Malformed UTF-8 counts as the character U+FFFD, which has no byte either.
Windows1252Text utf8ToWindows1252(std::string_view utf8);

}  // namespace trellisor
