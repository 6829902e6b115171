// Setting an object's texts from Unicode (UTF-8) input keyed by language number or name,
// as a translator's file gives them: every key and text is checked before anything changes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "object/PathObject.h"

namespace trellisor {

// "language 2 (French)", or "language 13" for a code without a name.
std::string languageLabel(int code);

// The language code a key names: a number 0-11, the number of another code the object's table
// holds (such as 13), or a String Table label without regard to case ("british", "portugese").
// A label that two languages share ("Chinese", 9 and 10) names neither: the reason gives the numbers.
Result<int> languageOfKey(std::string_view key, const PathObject& obj);

// The Windows-1252 bytes of a text for the string table, or a reason naming the characters
// that Windows-1252 cannot hold. NUL is refused (it ends a text in the table), and so is a
// language-0 text that starts with "ÿ" (byte 0xFF): code 0 followed by 0xFF reads as the
// table's end marker.
Result<std::string> stringTableText(int code, std::string_view utf8);

struct TextEdit {
    std::string key;   // a language number or name
    std::string utf8;  // the new text
};

// Applies the edits to texts (languages 0-11, written by Save, which adds an entry for a
// language the table lacks when its text is not empty) and to the object's entries of other
// codes. All or nothing: an unknown or repeated language or a text that cannot be stored
// fails with a reason naming the language, and nothing changes.
Status applyTextEdits(PathObject& obj, std::array<std::string, kLanguageCount>& texts,
                      const std::vector<TextEdit>& edits);

}  // namespace trellisor
