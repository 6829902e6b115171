// Shared pieces of the trellisor-cli commands.
#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "base/Files.h"
#include "base/Windows1252.h"
#include "imageio/PictureFiles.h"
#include "object/ObjectFile.h"
#include "preview/PreviewIcons.h"

namespace trellisor {

Result<PathObject> loadForCli(const std::string& path) {
    PathObject obj;
    LoadReport report = loadObjectFile(obj, path);
    if (report.outcome == LoadOutcome::Loaded) return Result<PathObject>::ok(std::move(obj));
    if (report.outcome == LoadOutcome::CannotOpen)
        return Result<PathObject>::fail("cannot open " + path + ": " + report.reason);
    return Result<PathObject>::fail(path + ": " + report.reason);
}

Status saveAsEditor(PathObject& obj, const std::string& path, const ObjectTexts& texts) {
    return saveObjectFile(obj, path, fileNameOf(path), texts);
}

namespace {

int saveTo(const CommandLine& line, PathObject& obj, const ObjectTexts& texts) {
    Status saved = saveAsEditor(obj, line.lastPositional(), texts);
    if (!saved) return cliFail("cannot save " + line.lastPositional() + ": " + saved.error());
    return 0;
}

}  // namespace

int saveBuilt(const CommandLine& line, PathObject& obj, const ObjectTexts& texts) {
    if (!line.isSet("keep-icons")) composePreviewIcons(obj);
    return saveTo(line, obj, texts);
}

int editObject(const CommandLine& line, const ObjectEdit& edit, IconRule rule) {
    const bool keep = line.isSet("keep-icons");
    if (keep && line.isSet("rebuild-icons"))
        return line.fail("--keep-icons and --rebuild-icons exclude each other");
    const bool rebuild = !keep && (rule == IconRule::Rebuild || line.isSet("rebuild-icons"));
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    ObjectTexts texts = objectStrings(obj.value());
    const PathObject before = obj.value().clone();
    Status edited = edit(obj.value(), texts);
    if (!edited) return cliFail(edited.error());
    if (rebuild)
        composePreviewIcons(obj.value());
    else if (!keep)
        followIcons(before, obj.value());
    return saveTo(line, obj.value(), texts);
}

QCommandLineOption jsonOption() { return QCommandLineOption("json", "Prints JSON (texts in UTF-8)."); }

QCommandLineOption keepIconsOption() {
    return QCommandLineOption("keep-icons",
                              "Leaves the two icons as they are, even where they were generated.");
}

QCommandLineOption rebuildIconsOption() {
    return QCommandLineOption("rebuild-icons",
                              "Rebuilds the two icons from the sprites, even hand-drawn ones.");
}

QCommandLineOption protectOption() {
    return QCommandLineOption("protect",
                              "Leaves the colours of these ramps alone: 'all' or ramp numbers 0-17 "
                              "separated by commas.",
                              "LIST");
}

QCommandLineOption seedOption() {
    return QCommandLineOption("seed", "Seeds the random generator with N instead of the clock.", "N");
}

QCommandLineOption scaleOption() {
    return QCommandLineOption("scale", "Draws every pixel as an N x N block, N from 1 (default) to 8.", "N");
}

Result<int> scaleOf(const CommandLine& line) {
    const auto text = line.value("scale");
    if (!text) return Result<int>::ok(1);
    auto n = integerArgument(*text, 1, 8, "--scale");
    if (!n) return Result<int>::fail(n.error());
    return Result<int>::ok(int(n.value()));
}

Result<int> pageArgument(const std::string& name) {
    if (auto page = spritePageFromCliName(name)) return Result<int>::ok(*page);
    return Result<int>::fail("unknown page '" + name + "' (pages: " + spritePageCliNames() + ")");
}

Result<long> integerArgument(const std::string& text, long low, long high, const std::string& what) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < low || v > high)
        return Result<long>::fail(what + " must be a number from " + std::to_string(low) + " to " +
                                  std::to_string(high) + ", not '" + text + "'");
    return Result<long>::ok(v);
}

Result<ProtectedRamps> protectedRampsOf(const CommandLine& line) {
    ProtectedRamps marks{};
    const auto list = line.value("protect");
    if (list && !parseProtectedRamps(list->c_str(), marks))
        return Result<ProtectedRamps>::fail(
            "--protect takes 'all' or ramp numbers 0-17 separated by commas, not '" + *list + "'");
    return Result<ProtectedRamps>::ok(marks);
}

Status seedRandomGenerator(const CommandLine& line) {
    unsigned seed = unsigned(std::time(nullptr));
    if (const auto text = line.value("seed")) {
        auto n = integerArgument(*text, 0, 4294967295L, "--seed");
        if (!n) return Status::fail(n.error());
        seed = unsigned(n.value());
    }
    std::srand(seed);
    return Status::ok();
}

std::string stringEntryLine(int code, std::string_view windows1252) {
    return std::to_string(code) +
           (code >= 0 && code < kLanguageCount ? std::string(" ") + kLanguageNames[std::size_t(code)] : "") +
           ": \"" + windows1252ToUtf8(windows1252) + "\"";
}

void printJson(const QJsonValue& value) { std::cout << jsonBytes(value).toStdString() << std::flush; }

}  // namespace trellisor
