// The object file commands of trellisor-cli: info, save, export-type, apply-type, new.
#include "cli/ObjectCommands.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "base/Files.h"
#include "cli/CliSupport.h"
#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/RunLength.h"
#include "object/TypeFile.h"

namespace trellisor {

namespace {

constexpr const char* kLanguageNames[kLanguageCount] = {"British", "American", "French",  "German",
                                                        "Spanish", "Italian",  "Dutch",   "Swedish",
                                                        "Korean",  "Chinese",  "Chinese", "Portugese"};

std::string hex(std::uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, v);
    return buf;
}

void printInfoJson(const PathObject& obj, bool checksumValid) {
    const auto& h = obj.m_head;
    JsonWriter j;
    j.beginObject();
    j.key("type");
    j.number(h.objectType());
    j.key("flags");
    j.beginArray();
    for (int i = 0; i < 4; ++i) j.number((h.flags >> (8 * i)) & 0xFF);
    j.endArray();
    j.key("name");
    j.string(windows1252ToUtf8(std::string_view(h.name.data(), h.name.size())));
    j.key("checksum");
    j.number(h.checksum);
    j.key("checksumValid");
    j.boolean(checksumValid);
    j.key("encoding");
    j.number(h.encoding);
    j.key("length");
    j.number(h.length);
    j.key("dataSize");
    j.number(obj.m_dataSize);
    j.key("supportType");
    j.number(obj.m_supportType);
    j.key("pathFlags");
    j.number(obj.m_pathFlags);
    j.key("strings");
    j.beginArray();
    for (const auto& [code, text] : stringTableEntries(obj)) {
        j.beginObject();
        j.key("language");
        j.number(code);
        j.key("text");
        j.string(windows1252ToUtf8(text));
        j.endObject();
    }
    j.endArray();
    j.key("spriteCount");
    j.number(obj.m_spriteCount);
    j.key("sprites");
    j.beginArray();
    for (const auto& s : obj.m_sprites) {
        j.beginObject();
        j.key("offset");
        j.number(s.offset);
        j.key("width");
        j.number(s.width);
        j.key("height");
        j.number(s.height);
        j.key("xOffset");
        j.number(s.xOffset);
        j.key("yOffset");
        j.number(s.yOffset);
        j.key("flags");
        j.number(s.flags);
        j.endObject();
    }
    j.endArray();
    j.endObject();
    std::cout << j.text() << "\n";
}

void printInfoText(const PathObject& obj, bool checksumValid) {
    const auto& h = obj.m_head;
    std::cout << "type " << int(h.objectType()) << ", flags";
    for (int i = 0; i < 4; ++i) std::cout << " " << hex((h.flags >> (8 * i)) & 0xFF, 2);
    std::cout << ", name \"" << windows1252ToUtf8(std::string_view(h.name.data(), 8)) << "\"\n";
    std::cout << "checksum 0x" << hex(h.checksum, 8) << (checksumValid ? " (valid)" : " (does not match)")
              << "\n";
    std::cout << "encoding " << int(h.encoding) << ", length " << h.length << ", data size " << obj.m_dataSize
              << "\n";
    std::cout << "support type " << int(obj.m_supportType) << ", path flags " << int(obj.m_pathFlags) << "\n";
    const auto entries = stringTableEntries(obj);
    std::cout << "strings: " << entries.size() << "\n";
    for (const auto& [code, text] : entries)
        std::cout << "  " << code << (code < kLanguageCount ? std::string(" ") + kLanguageNames[code] : "")
                  << ": \"" << windows1252ToUtf8(text) << "\"\n";
    std::cout << "sprites: " << obj.m_spriteCount << "\n";
    for (std::size_t i = 0; i < obj.m_sprites.size(); ++i) {
        const auto& s = obj.m_sprites[i];
        std::cout << "  " << i << ": offset " << s.offset << ", " << s.width << " x " << s.height << " at ("
                  << s.xOffset << ", " << s.yOffset << "), flags " << s.flags << "\n";
    }
}

int runInfo(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {"--json"}, {}, 1);
    if (!parsed) return cliFail("info: " + parsed.error());
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());
    const PathObject& o = obj.value();
    const bool valid =
        o.m_head.checksum == objectChecksum(std::uint8_t(o.m_head.flags), o.m_head.name,
                                            std::span<const std::uint8_t>(o.m_data.get(), o.m_dataSize));
    if (parsed->flags.count("--json"))
        printInfoJson(o, valid);
    else
        printInfoText(o, valid);
    return 0;
}

int runSave(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {}, {}, 2);
    if (!parsed) return cliFail("save: " + parsed.error());
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());
    const auto texts = objectStrings(obj.value());
    Status saved = saveAsEditor(obj.value(), parsed->positional[1], texts);
    if (!saved) return cliFail(saved.error());
    return 0;
}

int runExportType(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {}, {}, 3);
    if (!parsed) return cliFail("export-type: " + parsed.error());
    auto page = pageFromName(parsed->positional[1]);
    if (!page) return cliFail(page.error());
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());
    Status written = writeTypeFile(obj.value(), page.value(), parsed->positional[2]);
    if (!written) return cliFail(written.error());
    return 0;
}

int runApplyType(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {"--keep-icons"}, {}, 4);
    if (!parsed) return cliFail("apply-type: " + parsed.error());
    auto page = pageFromName(parsed->positional[1]);
    if (!page) return cliFail(page.error());
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());
    const auto texts = objectStrings(obj.value());
    const std::string& typePath = parsed->positional[2];
    Status loaded = loadTypeFile(obj.value(), page.value(), typePath);
    if (!loaded) return cliFail(typePath + ": " + loaded.error());
    rebuildIconsUnless(parsed->flags.count("--keep-icons") != 0, obj.value());
    Status saved = saveAsEditor(obj.value(), parsed->positional[3], texts);
    if (!saved) return cliFail(saved.error());
    return 0;
}

int runNew(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {"--keep-icons"}, {"--workdir", "--seed"}, 1);
    if (!parsed) return cliFail("new: " + parsed.error());
    auto workdir = parsed->options.find("--workdir");
    if (workdir == parsed->options.end()) return cliFail("new: --workdir DIR is required");
    const std::string& dir = workdir->second;

    unsigned seed = unsigned(std::time(nullptr));
    if (auto s = parsed->options.find("--seed"); s != parsed->options.end()) {
        char* end = nullptr;
        const unsigned long long v = std::strtoull(s->second.c_str(), &end, 10);
        if (s->second.empty() || *end != '\0' || s->second[0] == '-' || v > 0xFFFFFFFFull)
            return cliFail("new: --seed takes a number from 0 to 4294967295, not '" + s->second + "'");
        seed = unsigned(v);
    }

    std::array<std::vector<TypeEntry>, 6> lists;
    for (int page = PagePath; page <= PageSupports; ++page)
        lists[std::size_t(page)] = readDescriptorFile(joinPath(dir, kDescriptorFileNames[page]));

    std::srand(seed);
    PathObject obj;
    Status made = assembleNewPath(obj, lists, dir);
    if (!made) return cliFail("new: " + made.error() + " in " + dir);
    rebuildIconsUnless(parsed->flags.count("--keep-icons") != 0, obj);
    std::array<std::string, kLanguageCount> texts;
    texts.fill(kNewPathText);
    Status saved = saveAsEditor(obj, parsed->positional[0], texts);
    if (!saved) return cliFail(saved.error());
    return 0;
}

}  // namespace

void registerObjectCommands(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"info", "FILE [--json]",
         "Shows the object as read: head, checksum check, flag bytes, string table and sprite "
         "headers. --json prints one JSON object (texts converted from Windows-1252 to UTF-8).",
         runInfo});
    commands.push_back(
        {"save", "IN OUT",
         "Reads IN and writes OUT as the editor's Save does with the texts as loaded: object name "
         "from OUT's file name, checksum recomputed, chunk run-length coded. Sprites are not "
         "touched.",
         runSave});
    commands.push_back(
        {"export-type", "IN PAGE OUT.PTH",
         "Writes PAGE's sprites of the object IN as a type file (Supports with its two flag bytes).",
         runExportType});
    commands.push_back(
        {"apply-type", "IN PAGE TYPE.PTH OUT [--keep-icons]",
         "Loads the type file into PAGE of the object IN, as choosing a type in the editor does, "
         "and saves the result to OUT. The two icons are rebuilt unless --keep-icons is given.",
         runApplyType});
    commands.push_back(
        {"new", "--workdir DIR [--seed N] [--keep-icons] OUT",
         "Builds a new object as New does from the descriptor files and type files in DIR (one "
         "random type per page; --seed N seeds the generator instead of the time), with the "
         "texts \"New Path\", and saves it to OUT.",
         runNew});
}

}  // namespace trellisor
