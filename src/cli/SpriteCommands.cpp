// Sprites out to a folder of pictures and back in, for work in any pixel editor.
#include "cli/SpriteCommands.h"

#include <iostream>
#include <string_view>

#include "cli/CliSupport.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "imageio/SpriteFolder.h"
#include "sprites/SpriteSheet.h"

namespace trellisor {

namespace {

Result<Dither> ditherArgument(const std::string& name) {
    constexpr std::pair<std::string_view, Dither> kDithers[] = {
        {"none", Dither::None}, {"diffusion", Dither::Diffusion}, {"ordered", Dither::Ordered}};
    for (const auto& [text, dither] : kDithers)
        if (name == text) return Result<Dither>::ok(dither);
    return Result<Dither>::fail("--dither takes none, diffusion or ordered, not '" + name + "'");
}

QCommandLineOption pageOption(const char* what) {
    return QCommandLineOption("page", QString::fromLatin1(what), "PAGE");
}

// The sprite range of --page, or every sprite of the object.
Result<std::pair<int, int>> spriteRange(const CommandLine& line, const PathObject& obj) {
    const auto name = line.value("page");
    if (!name) return Result<std::pair<int, int>>::ok({0, int(obj.m_sprites.size()) - 1});
    auto page = pageArgument(*name);
    if (!page) return Result<std::pair<int, int>>::fail(page.error());
    return Result<std::pair<int, int>>::ok(
        {obj.pageFirstSprite(page.value()), obj.pageLastSprite(page.value())});
}

// The sheet of --page (its sprites, then the icons) or of every sprite, at --scale.
Status writeSheet(const CommandLine& line, const PathObject& obj, int scale, const std::string& path) {
    std::optional<int> page;
    if (const auto name = line.value("page")) page = pageArgument(*name).value();  // checked by spriteRange
    auto sheet = spriteSheet(obj, galleryCells(obj, page));
    if (!sheet) return Status::fail(sheet.error());
    auto image = scaledImage(pictureToImage(sheet.value()), scale);
    if (!image) return Status::fail(image.error());
    return writePng(image.value(), path);
}

int runSprites(const CommandLine& line) {
    const auto dir = line.value("out"), sheet = line.value("sheet");
    if (!dir && !sheet) return line.fail("--out DIR or --sheet OUT.png is required");
    auto scale = scaleOf(line);
    if (!scale) return line.fail(scale.error());
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    auto range = spriteRange(line, obj.value());
    if (!range) return line.fail(range.error());
    if (sheet) {
        Status written = writeSheet(line, obj.value(), scale.value(), *sheet);
        if (!written) return line.fail(written.error());
    }
    if (!dir) return 0;
    auto written = exportSpriteFolder(obj.value(), *dir, range->first, range->second, line.isSet("rgba"));
    if (!written) return line.fail(written.error());
    std::cout << written.value() << " sprites written to " << *dir << std::endl;
    return 0;
}

int runImportSprites(const CommandLine& line) {
    auto matching = matchingOf(line);
    if (!matching) return line.fail(matching.error());
    int changed = 0;
    const int code = editObject(line, [&](PathObject& obj, ObjectTexts&) {
        auto range = spriteRange(line, obj);
        if (!range) return Status::fail("import-sprites: " + range.error());
        auto imported =
            importSpriteFolder(obj, line.positional(1), range->first, range->second, matching.value());
        if (imported) changed = imported.value();
        return imported ? Status::ok() : Status::fail(imported.error());
    });
    if (code == 0)
        std::cout << changed << " sprites changed by " << line.positional(1) << "; " << line.lastPositional()
                  << " written" << std::endl;
    return code;
}

}  // namespace

Result<Matching> matchingOf(const CommandLine& line) {
    Matching matching;
    if (const auto dither = line.value("dither")) {
        auto d = ditherArgument(*dither);
        if (!d) return Result<Matching>::fail(d.error());
        matching.dither = d.value();
    }
    if (const auto ramps = line.value("ramps")) {
        if (!parseProtectedRamps(ramps->c_str(), matching.ramps) ||
            std::none_of(matching.ramps.begin(), matching.ramps.end(), [](bool on) { return on; }))
            return Result<Matching>::fail(
                "--ramps takes 'all' or ramp numbers 0-17 separated by commas, not '" + *ramps + "'");
    }
    return Result<Matching>::ok(matching);
}

QCommandLineOption ditherOption() {
    return QCommandLineOption("dither", "How colours are matched: none (default), diffusion or ordered.",
                              "none|diffusion|ordered");
}

QCommandLineOption rampsOption() {
    return QCommandLineOption(
        "ramps",
        "Matches colours to these ramps only: 'all' (default) or ramp numbers 0-17 separated by commas.",
        "LIST");
}

void registerSpriteCommands(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"sprites",
         {kIn},
         "Writes the sprites of IN (or of PAGE) as DIR/000.png ... (indexed with the game palette and "
         "index 0 transparent, or true colour with alpha under --rgba) and DIR/sprites.json, an array "
         "indexed by sprite number of {path, x, y, flags} with x and y the sprites' drawing offsets "
         "(null before PAGE's first sprite). --sheet writes them on one picture instead (or as well): "
         "a grid of cells, each sprite centred over a checkerboard with its number under it; PAGE's "
         "sheet ends with the two icons.",
         {QCommandLineOption("out", "The folder to write.", "DIR"),
          QCommandLineOption("rgba", "Writes true colour with alpha instead of indexed images."),
          pageOption("Writes only this page's sprites."),
          QCommandLineOption("sheet", "Writes the sprites on one PNG picture.", "OUT.png"), scaleOption()},
         runSprites});
    commands.push_back(
        {"import-sprites",
         {kIn, {"DIR", "The folder holding sprites.json and the pictures it names."}, kOut},
         "Replaces the sprites of IN (or only PAGE's) by the pictures DIR/sprites.json names, in the "
         "layout sprites writes (null or missing entries leave sprites alone), and saves to OUT. "
         "Pictures may be of any format Qt reads. An indexed picture with the game palette keeps its "
         "indices; other pixels take the nearest game colour (alpha below 128 is transparent). A "
         "picture that shows what its sprite shows keeps the sprite's bytes. Each sprite is written "
         "in the encoding its flags give (1 raw, 5 row-coded). Bad input changes nothing.",
         {pageOption("Imports only this page's sprites."), ditherOption(), rampsOption(), keepIconsOption(),
          rebuildIconsOption()},
         runImportSprites});
}

}  // namespace trellisor
