// The string table commands of trellisor-cli: the object's texts out as UTF-8 (text or a JSON
// object keyed by language number) and back in from such a JSON object.
#include "cli/StringCommands.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <iostream>

#include "base/Files.h"
#include "base/Windows1252.h"
#include "cli/CliSupport.h"
#include "imageio/PictureFiles.h"
#include "object/ObjectFile.h"
#include "object/StringTableTexts.h"

namespace trellisor {

namespace {

// A translator's file is a few KB; this only bounds what a wrong file costs.
constexpr std::uint64_t kMaxTextsFileBytes = 16ull * 1024 * 1024;

int runStrings(const CommandLine& line) {
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    const auto entries = stringTableEntries(obj.value());
    if (!line.isSet("json")) {
        for (const auto& [code, text] : entries) std::cout << stringEntryLine(code, text) << "\n";
        return 0;
    }
    // The text each language has (its first entry, as the editor and Save see it).
    QJsonObject texts;
    for (const auto& [code, text] : entries) {
        const QString key = QString::number(code);
        if (!texts.contains(key)) texts.insert(key, QString::fromStdString(windows1252ToUtf8(text)));
    }
    printJson(texts);
    return 0;
}

Result<std::vector<TextEdit>> readTextEdits(const std::string& path) {
    using R = Result<std::vector<TextEdit>>;
    auto json = readJsonFile(path, kMaxTextsFileBytes);
    if (!json) return R::fail(json.error());
    const QJsonDocument& doc = json.value();
    if (!doc.isObject()) return R::fail(path + ": expected one JSON object mapping languages to texts");
    std::vector<TextEdit> edits;
    const QJsonObject texts = doc.object();
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        if (!it.value().isString())
            return R::fail(path + ": the value of \"" + it.key().toStdString() + "\" is not a text");
        edits.push_back({it.key().toStdString(), it.value().toString().toStdString()});
    }
    return R::ok(std::move(edits));
}

int runSetStrings(const CommandLine& line) {
    auto edits = readTextEdits(line.positional(1));
    if (!edits) return line.fail(edits.error());
    return editObject(
        line, [&](PathObject& obj, ObjectTexts& texts) { return applyTextEdits(obj, texts, edits.value()); });
}

}  // namespace

void registerStringCommands(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"strings",
         {kIn},
         "Prints the object's texts, one line per string table entry in table order (every language "
         "code the table holds). --json prints one JSON object mapping each language number to its "
         "text, which set-strings reads back.",
         {jsonOption()},
         runStrings});
    commands.push_back(
        {"set-strings",
         {kIn,
          {"TEXTS.json", "A JSON object mapping languages (\"0\" or \"british\") to texts (UTF-8)."},
          kOut},
         "Sets texts of the object IN from TEXTS.json and saves OUT as Save does. A language is a "
         "number 0-11 (or another number the table holds) or its String Table label in any case; "
         "\"chinese\" names two languages, so give 9 or 10. Languages the object lacks are added, "
         "the others keep their texts. Every text must fit Windows-1252.",
         {},
         runSetStrings});
}

}  // namespace trellisor
