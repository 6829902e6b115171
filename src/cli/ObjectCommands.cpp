// The object file commands of trellisor-cli: info, save, export-type, apply-type, new, set-flag.
#include "cli/ObjectCommands.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <iostream>

#include "base/Windows1252.h"
#include "cli/CliSupport.h"
#include "object/DescriptorFile.h"
#include "object/NewPath.h"
#include "object/ObjectFile.h"
#include "object/TypeFile.h"

namespace trellisor {

namespace {

std::string hex(std::uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, v);
    return buf;
}

QString utf8(std::string_view windows1252) { return QString::fromStdString(windows1252ToUtf8(windows1252)); }

std::string_view headName(const ObjectFileHead& h) { return {h.name.data(), h.name.size()}; }

QJsonObject infoJson(const PathObject& obj, bool checksumValid) {
    const auto& h = obj.m_head;
    QJsonArray flags;
    for (int i = 0; i < 4; ++i) flags.append(int((h.flags >> (8 * i)) & 0xFF));
    QJsonArray strings;
    for (const auto& [code, text] : stringTableEntries(obj))
        strings.append(QJsonObject{{"language", code}, {"text", utf8(text)}});
    QJsonArray sprites;
    for (const auto& s : obj.m_sprites)
        sprites.append(QJsonObject{{"offset", double(s.offset)},
                                   {"width", s.width},
                                   {"height", s.height},
                                   {"xOffset", s.xOffset},
                                   {"yOffset", s.yOffset},
                                   {"flags", s.flags}});
    return QJsonObject{{"type", h.objectType()},
                       {"flags", flags},
                       {"name", utf8(headName(h))},
                       {"checksum", double(h.checksum)},
                       {"checksumValid", checksumValid},
                       {"encoding", h.encoding},
                       {"length", double(h.length)},
                       {"dataSize", double(obj.m_dataSize)},
                       {"supportType", obj.m_supportType},
                       {"pathFlags", obj.m_pathFlags},
                       {"strings", strings},
                       {"spriteCount", double(obj.m_spriteCount)},
                       {"sprites", sprites}};
}

void printInfoText(const PathObject& obj, bool checksumValid) {
    const auto& h = obj.m_head;
    std::cout << "type " << int(h.objectType()) << ", flags";
    for (int i = 0; i < 4; ++i) std::cout << " " << hex((h.flags >> (8 * i)) & 0xFF, 2);
    std::cout << ", name \"" << windows1252ToUtf8(headName(h)) << "\"\n";
    std::cout << "checksum 0x" << hex(h.checksum, 8) << (checksumValid ? " (valid)" : " (does not match)")
              << "\n";
    std::cout << "encoding " << int(h.encoding) << ", length " << h.length << ", data size " << obj.m_dataSize
              << "\n";
    std::cout << "support type " << int(obj.m_supportType) << ", path flags " << int(obj.m_pathFlags) << "\n";
    const auto entries = stringTableEntries(obj);
    std::cout << "strings: " << entries.size() << "\n";
    for (const auto& [code, text] : entries) std::cout << "  " << stringEntryLine(code, text) << "\n";
    std::cout << "sprites: " << obj.m_spriteCount << "\n";
    for (std::size_t i = 0; i < obj.m_sprites.size(); ++i) {
        const auto& s = obj.m_sprites[i];
        std::cout << "  " << i << ": offset " << s.offset << ", " << s.width << " x " << s.height << " at ("
                  << s.xOffset << ", " << s.yOffset << "), flags " << s.flags << "\n";
    }
}

int runInfo(const CommandLine& line) {
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    const bool valid = checksumMatches(obj.value());
    if (line.isSet("json"))
        printJson(infoJson(obj.value(), valid));
    else
        printInfoText(obj.value(), valid);
    return 0;
}

int runSave(const CommandLine& line) {
    return editObject(line, [](PathObject&, ObjectTexts&) { return Status::ok(); });
}

int runExportType(const CommandLine& line) {
    auto page = pageArgument(line.positional(1));
    if (!page) return line.fail(page.error());
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    Status written = writeTypeFile(obj.value(), page.value(), line.positional(2));
    if (!written) return cliFail("cannot write " + line.positional(2) + ": " + written.error());
    return 0;
}

int runApplyType(const CommandLine& line) {
    auto page = pageArgument(line.positional(1));
    if (!page) return line.fail(page.error());
    const std::string& typePath = line.positional(2);
    return editObject(line, [&](PathObject& obj, ObjectTexts&) {
        Status loaded = loadTypeFile(obj, page.value(), typePath);
        return loaded ? loaded : Status::fail(typePath + ": " + loaded.error());
    });
}

int runNew(const CommandLine& line) {
    const auto dir = line.value("workdir");
    if (!dir) return line.fail("--workdir DIR is required");
    Status seeded = seedRandomGenerator(line);
    if (!seeded) return line.fail(seeded.error());
    PathObject obj;
    Status made = assembleNewPath(obj, readTypeLists(*dir), *dir);
    if (!made) return line.fail(made.error() + " in " + *dir);
    ObjectTexts texts;
    texts.fill(kNewPathText);
    return saveBuilt(line, obj, texts);
}

int runSetFlag(const CommandLine& line) {
    const auto value = line.value("draws-over-supports");
    if (!value) return line.fail("--draws-over-supports on|off is required");
    if (*value != "on" && *value != "off")
        return line.fail("--draws-over-supports takes on or off, not '" + *value + "'");
    const bool on = *value == "on";
    return editObject(line, [on](PathObject& obj, ObjectTexts&) {
        obj.setDrawsPathsOverSupports(on);
        return Status::ok();
    });
}

}  // namespace

void registerObjectCommands(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"info",
         {{"FILE", "The object file to read."}},
         "Shows the object as read: head, checksum check, flag bytes, string table and sprite "
         "headers. --json prints one JSON object (texts converted from Windows-1252 to UTF-8).",
         {jsonOption()},
         runInfo});
    commands.push_back(
        {"save",
         {kIn, kOut},
         "Reads IN and writes OUT as the editor's Load then Save do with the texts as loaded: the "
         "object is named after OUT's file name (a stored name that OUT's gives in another case "
         "stays) and nothing else changes. A file whose checksum holds is written again byte for "
         "byte; one whose checksum does not hold gets the right one.",
         {},
         runSave});
    commands.push_back(
        {"export-type",
         {kIn, kPage, {"OUT.PTH", "The type file to write."}},
         "Writes PAGE's sprites of the object IN as a type file (Supports with its two flag bytes).",
         {},
         runExportType});
    commands.push_back(
        {"apply-type",
         {kIn, kPage, {"TYPE.PTH", "The type file to load."}, kOut},
         "Loads the type file into PAGE of the object IN, as choosing a type in the editor does, "
         "and saves the result to OUT. Generated icons follow the sprites, hand-drawn ones are kept.",
         {keepIconsOption(), rebuildIconsOption()},
         runApplyType});
    commands.push_back(
        {"new",
         {kOut},
         "Builds a new object as New does from the descriptor files and type files in DIR (one "
         "random type per page; --seed N seeds the generator instead of the time), with the "
         "texts \"New Path\", and saves it to OUT.",
         {QCommandLineOption("workdir", "The folder with the descriptor and type files (required).", "DIR"),
          seedOption(), keepIconsOption()},
         runNew});
    commands.push_back(
        {"set-flag",
         {kIn, kOut},
         "Sets (on) or clears (off) the \"Draw Paths over Supports\" flag of the object IN and saves "
         "the result to OUT. Generated icons follow the flag, hand-drawn ones are kept.",
         {QCommandLineOption("draws-over-supports", "The flag's new state (required).", "on|off"),
          keepIconsOption(), rebuildIconsOption()},
         runSetFlag});
}

}  // namespace trellisor
