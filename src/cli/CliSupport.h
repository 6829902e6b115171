// Shared pieces of the trellisor-cli commands: reading and saving objects as the editor
// does, the one skeleton of every editing command, the options several commands share,
// argument values, and JSON output (files of JSON and pictures: imageio/PictureFiles.h).
#pragma once

#include <QCommandLineOption>
#include <QJsonValue>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "cli/CliCommand.h"
#include "object/PathObject.h"
#include "preview/ColourRamps.h"

namespace trellisor {

using ObjectTexts = std::array<std::string, kLanguageCount>;

// Reads an object file; anything but a loaded path object is a one-line reason.
Result<PathObject> loadForCli(const std::string& path);

// Writes obj to path as the editor's Save does, the object name taken from path's file name.
Status saveAsEditor(PathObject& obj, const std::string& path, const ObjectTexts& texts);

// What a command does with the two icons: by default it follows the editor, where generated
// icons follow the sprites and hand-drawn ones are kept (preview/PreviewIcons.h); `icons` and
// `new` rebuild them. --rebuild-icons rebuilds them whatever they are, --keep-icons keeps them
// even where they were generated.
enum class IconRule { Follow, Rebuild };

// The editing commands' skeleton: read IN (the first positional) with its texts, edit it,
// bring the icons up to date by the rule, and save OUT (the last positional). A failed
// edit prints its reason and writes nothing.
using ObjectEdit = std::function<Status(PathObject& obj, ObjectTexts& texts)>;
int editObject(const CommandLine& line, const ObjectEdit& edit, IconRule rule = IconRule::Follow);
// Saves an object built from nothing to OUT (the last positional) with its icons rebuilt
// (unless --keep-icons).
int saveBuilt(const CommandLine& line, PathObject& obj, const ObjectTexts& texts);

// Arguments that several commands share.
inline const CliArgument kIn{"IN", "The object file to read."};
inline const CliArgument kOut{"OUT", "The object file to write (replaced only once written whole)."};
inline const CliArgument kPage{"PAGE", "One of " + spritePageCliNames() + "."};

// Options that several commands share.
QCommandLineOption jsonOption();          // --json
QCommandLineOption keepIconsOption();     // --keep-icons
QCommandLineOption rebuildIconsOption();  // --rebuild-icons
QCommandLineOption protectOption();       // --protect LIST
QCommandLineOption seedOption();          // --seed N
QCommandLineOption scaleOption();         // --scale N

// A page's command-line name -> the sprite page, or a reason naming the pages.
Result<int> pageArgument(const std::string& name);
// A whole number from low to high; the reason names what it is for.
Result<long> integerArgument(const std::string& text, long low, long high, const std::string& what);
// The ramps of --protect (none when it is not given).
Result<ProtectedRamps> protectedRampsOf(const CommandLine& line);
// --scale: 1 (not given) to 8.
Result<int> scaleOf(const CommandLine& line);
// Seeds the C library's generator with --seed, or with the clock when it is not given.
Status seedRandomGenerator(const CommandLine& line);

// One string table entry for the terminal: `2 French: "Chemin"` (UTF-8), `13: "..."` for a code
// without a name.
std::string stringEntryLine(int code, std::string_view windows1252);

// Prints a JSON value as one compact line on stdout.
void printJson(const QJsonValue& value);

}  // namespace trellisor
