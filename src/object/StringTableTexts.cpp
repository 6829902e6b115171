// Language keys and texts for the string table, from UTF-8 input.
#include "object/StringTableTexts.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "base/Windows1252.h"

namespace trellisor {

namespace {

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// The codes whose String Table label is this name (lower case).
std::vector<int> codesLabelled(const std::string& name) {
    std::vector<int> codes;
    for (int i = 0; i < kLanguageCount; ++i)
        if (lowerAscii(kLanguageNames[std::size_t(i)]) == name) codes.push_back(i);
    return codes;
}

// The labels that name one language, for the reason given on an unknown key.
std::string uniqueNames() {
    std::string names;
    for (int i = 0; i < kLanguageCount; ++i) {
        const std::string name = lowerAscii(kLanguageNames[std::size_t(i)]);
        if (codesLabelled(name).size() == 1) names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

bool tableHolds(const PathObject& obj, int code) {
    std::string text;
    return obj.getObjectString(code, text);
}

}  // namespace

std::string languageLabel(int code) {
    std::string label = "language " + std::to_string(code);
    if (code >= 0 && code < kLanguageCount)
        label += std::string(" (") + kLanguageNames[std::size_t(code)] + ")";
    return label;
}

Result<int> languageOfKey(std::string_view key, const PathObject& obj) {
    int code = -1;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), code);
    if (!key.empty() && error == std::errc() && end == key.data() + key.size()) {
        if ((code >= 0 && code < kLanguageCount) || (code >= 0 && code < 0xFF && tableHolds(obj, code)))
            return Result<int>::ok(code);
        return Result<int>::fail("unknown language " + std::string(key) +
                                 " (languages are 0-11; the object has no entry for " + std::string(key) +
                                 ")");
    }
    const std::vector<int> codes = codesLabelled(lowerAscii(key));
    if (codes.size() == 1) return Result<int>::ok(codes.front());
    if (codes.size() > 1) {
        std::string numbers;
        for (std::size_t k = 0; k < codes.size(); ++k)
            numbers += (k == 0 ? "" : k + 1 == codes.size() ? " and " : ", ") + std::to_string(codes[k]);
        return Result<int>::fail("language '" + std::string(key) + "' is ambiguous: languages " + numbers +
                                 " share the label " + kLanguageNames[std::size_t(codes.front())] +
                                 "; give the number");
    }
    return Result<int>::fail("unknown language '" + std::string(key) + "' (give 0-11 or one of " +
                             uniqueNames() + ")");
}

Result<std::string> stringTableText(int code, std::string_view utf8) {
    const Windows1252Text converted = utf8ToWindows1252(utf8);
    if (!converted.complete())
        return Result<std::string>::fail(languageLabel(code) + ": Windows-1252 cannot hold \"" +
                                         converted.unencodable + "\"");
    if (converted.bytes.find('\0') != std::string::npos)
        return Result<std::string>::fail(languageLabel(code) + ": a text cannot hold the character U+0000");
    if (code == 0 && !converted.bytes.empty() && std::uint8_t(converted.bytes.front()) == 0xFF)
        return Result<std::string>::fail(
            languageLabel(code) +
            ": the text cannot start with \"\xC3\xBF\" (it would end the string table)");
    return Result<std::string>::ok(converted.bytes);
}

Status applyTextEdits(PathObject& obj, std::array<std::string, kLanguageCount>& texts,
                      const std::vector<TextEdit>& edits) {
    std::map<int, std::pair<std::string, std::string>> byCode;  // code -> key, bytes
    for (const TextEdit& edit : edits) {
        auto code = languageOfKey(edit.key, obj);
        if (!code) return Status::fail(code.error());
        auto bytes = stringTableText(code.value(), edit.utf8);
        if (!bytes) return Status::fail(bytes.error());
        const auto [at, added] = byCode.try_emplace(code.value(), edit.key, bytes.value());
        if (!added)
            return Status::fail(languageLabel(code.value()) + " is given twice (\"" + at->second.first +
                                "\" and \"" + edit.key + "\")");
    }
    for (const auto& [code, entry] : byCode) {
        if (code < kLanguageCount)
            texts[std::size_t(code)] = entry.second;
        else
            obj.setObjectString(code, entry.second);
    }
    return Status::ok();
}

}  // namespace trellisor
