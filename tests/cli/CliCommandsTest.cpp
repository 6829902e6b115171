// trellisor-cli run as a program: each command against the core call it makes, run in process with
// the same arguments; bad input gets one line and writes nothing. The core is tested in its layer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <functional>
#include <map>

#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "imageio/SpriteFolder.h"
#include "object/NewPath.h"
#include "object/ObjectCheck.h"
#include "object/StringTableTexts.h"
#include "object/TypeFile.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"
#include "preview/HeadlessPreview.h"
#include "preview/PaletteFiles.h"
#include "preview/PixelFacts.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "sprites/SpriteSheet.h"
#include "support/CliRunner.h"
#include "support/ImageFileBuilders.h"

namespace trellisor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::array<std::string, kLanguageCount>;
using namespace test;

std::string commandLine(const std::vector<std::string>& args) {
    std::string line = "trellisor-cli";
    for (const std::string& a : args) line += " " + a;
    return line;
}

TEST(CliInfo, PrintsTheHeadStringsAndSpritesAsTextOrJson) {
    TempDir dir;
    // French with a Windows-1252 e-acute (0xE9) and euro sign (0x80) twice; language 12 has no name.
    const Bytes chunk = buildChunk({{2, "Ch\xE9min \x80"}, {12, "X"}, {2, "Later"}},
                                   {solidRowCodedSprite(6, 3, 40, -3, -1)}, 1, 2);
    Bytes file = storedObjectFile(chunk, 0x09F55405, "MYPATH  ");
    storeLe32(&file[12], 0);  // a checksum that does not match
    dir.write("IN.DAT", file);
    EXPECT_EQ(runOk(dir, {"info", "IN.DAT"}).out,
              "type 5, flags 05 54 F5 09, name \"MYPATH  \"\n"
              "checksum 0x00000000 (does not match)\n"
              "encoding 0, length 89, data size 89\n"
              "support type 1, path flags 2\n"
              "strings: 3\n"
              "  2 French: \"Ch\u00e9min \u20ac\"\n"
              "  12: \"X\"\n"
              "  2 French: \"Later\"\n"
              "sprites: 1\n"
              "  0: offset 0, 6 x 3 at (-3, -1), flags 5\n");
    EXPECT_EQ(
        runOk(dir, {"info", "IN.DAT", "--json"}).out,
        R"({"checksum":0,"checksumValid":false,"dataSize":89,"encoding":0,"flags":[5,84,245,9],)"
        R"("length":89,"name":"MYPATH  ","pathFlags":2,"spriteCount":1,"sprites":[{"flags":5,"height":3,)"
        R"("offset":0,"width":6,"xOffset":-3,"yOffset":-1}],"strings":[{"language":2,"text":"Ch)"
        "\u00e9min \u20ac"
        R"("},{"language":12,"text":"X"},{"language":2,"text":"Later"}],"supportType":1,"type":5})"
        "\n");
    // strings: every entry; its JSON the first text of each language.
    EXPECT_EQ(runOk(dir, {"strings", "IN.DAT"}).out,
              "2 French: \"Ch\u00e9min \u20ac\"\n12: \"X\"\n2 French: \"Later\"\n");
    EXPECT_EQ(runOk(dir, {"strings", "IN.DAT", "--json"}).out,
              "{\"12\":\"X\",\"2\":\"Ch\u00e9min \u20ac\"}\n");
}

TEST(CliNew, BuildsFromTheWorkdirWithTheSeedGiven) {
    TempDir dir;
    // Three types per page, each of its own colour: the seed picks among them.
    for (int page = 0; page < 5; ++page) {
        std::string list = "3\n";
        for (int k = 0; k < 3; ++k) {
            const std::string file = std::to_string(page) + std::to_string(k) + ".pth";
            const PathObject t = buildObject({146, solidRawSprite(3, 2, std::uint8_t(20 + 40 * k))}, {}, 1);
            dir.write(file, buildTypeFile(t, page));
            list += file + "\n" + file + "\n";
        }
        dir.writeText(kPages[std::size_t(page)].descriptorFile, list);
    }
    auto made = [&](unsigned seed, bool icons) {
        std::srand(seed);
        PathObject obj;
        EXPECT_TRUE(assembleNewPath(obj, readTypeLists(dir.path()), dir.path()));
        if (icons) composePreviewIcons(obj);
        Texts texts;
        texts.fill(kNewPathText);
        return serializeObjectFile(obj, "NEW.DAT", texts);
    };
    ASSERT_NE(made(7, true), made(1, true)) << "the seed must matter for this folder";
    runOk(dir, {"new", "--workdir", dir.path(), "--seed", "7", "NEW.DAT"});
    EXPECT_EQ(dir.read("NEW.DAT"), made(7, true));
    runOk(dir, {"new", "--seed", "4294967295", "--workdir", dir.path(), "NEW.DAT", "--keep-icons"});
    EXPECT_EQ(dir.read("NEW.DAT"), made(4294967295u, false));
}

TEST(CliCheck, VerdictsInPathOrderOnAnyNumberOfThreads) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("objs/sub"));
    PathObject obj = buildObject(standardSprites());
    const Bytes good = serializeObjectFile(obj, "GOOD.DAT", objectStrings(obj));
    Bytes broken = good;
    broken[12] ^= 0x01;
    dir.write("objs/GOOD.DAT", good);
    dir.write("objs/sub/BROKEN.Dat", broken);
    dir.write("objs/sub/cut.DAT", Bytes(good.begin(), good.begin() + 100));
    // The text: each file's verdict as the core says it, in path order, then their summary.
    std::string text;
    VerdictCounts counts;
    for (const std::string file : {"objs/GOOD.DAT", "objs/sub/BROKEN.Dat", "objs/sub/cut.DAT"}) {
        const ObjectVerdict v = checkObjectFile(dir.file(file));
        text += file + ": " + describeVerdict(v) + "\n";
        counts.add(v);
    }
    const CliRun run = runCli(dir, {"check", "objs", "--jobs", "256"});
    EXPECT_EQ(std::pair(run.exitCode, run.out), std::pair(1, text + counts.summary() + "\n"));
    const CliRun json = runCli(dir, {"check", "--json", "objs/sub"});
    EXPECT_EQ(json.out,
              R"([{"checksumValid":false,"file":"objs/sub/BROKEN.Dat",)"
              R"("reason":"stored 0x7B1EA0AD, computed 0x7B1EA0AC","spriteCount":168,)"
              R"("verdict":"checksum mismatch"},{"checksumValid":null,"file":"objs/sub/cut.DAT",)"
              R"("reason":"sprite table does not fit: 168 sprites need 2688 bytes, chunk holds 36",)"
              R"("spriteCount":null,"verdict":"damaged"}])"
              "\n");
}

TEST(CliPalette, EachExtensionWritesItsFormat) {
    TempDir dir;
    const std::string gimp = gimpPaletteText(), jasc = jascPaletteText();
    const std::pair<const char*, Bytes> formats[] = {{"game.gpl", Bytes(gimp.begin(), gimp.end())},
                                                     {"GAME.ACT", adobeColourTable()},
                                                     {"game.pal", Bytes(jasc.begin(), jasc.end())}};
    for (const auto& [name, bytes] : formats) {
        runOk(dir, {"palette", name});
        EXPECT_EQ(dir.read(name), bytes) << name;
    }
    // The swatch: pixel (x, y) of index 16 y + x, indexed with the palette itself.
    runOk(dir, {"palette", "swatch.png"});
    const QImage png(QString::fromStdString(dir.file("swatch.png")));
    ASSERT_EQ(png.size(), QSize(16, 16));
    for (int index = 0; index < 256; ++index) {
        const RgbQuad c = paletteFileColours()[std::size_t(index)];
        EXPECT_EQ(std::pair(png.pixelIndex(index % 16, index / 16), png.pixel(index % 16, index / 16)),
                  std::pair(index, qRgb(c.red, c.green, c.blue)));
    }
}

ProtectedRamps ramps(const char* list) {
    ProtectedRamps marks{};
    EXPECT_TRUE(parseProtectedRamps(list, marks));
    return marks;
}

TEST(CliEdits, EachCommandRunsItsCoreOperationWithItsArguments) {
    TempDir dir;
    const std::string in = "IN.DAT", out = "OUT.DAT", file = writeScene(dir), pics = dir.file("p");
    {  // a generated path icon and a queue icon drawn by hand: each icons rule has its own result
        PathObject scene = loadFile(file);
        composePreviewIcons(scene);
        std::ranges::fill(scene.spritePixels(QueueIconSprite), std::uint8_t(0));
        ASSERT_TRUE(saveObjectFile(scene, file, in, objectStrings(scene)));
    }
    // A picture whose colours change across it as 24-bit BMP and as PNG over a path and a queue
    // sprite of the sprites exported in true colour.
    dir.write("pic.bmp", bitmap24(64, 64, [](int x, int y) { return std::tuple{250 - x * 3, 60, y * 4}; }));
    const QImage png(QString::fromStdString(dir.file("pic.bmp")));
    ASSERT_TRUE(exportSpriteFolder(loadFile(file), pics, 0, 167, true));
    for (const char* name : {"p/000.png", "p/055.png"})
        ASSERT_TRUE(png.save(QString::fromStdString(dir.file(name))));
    ASSERT_TRUE(
        writeTypeFile(buildObject(standardSprites(), twelveStrings(), 1), PageSupports, dir.file("s.pth")));
    dir.writeText("texts.json", "{\"2\": \"Rue \u0152uvre\", \"german\": \"Stra\u00dfe\"}");
    Texts texts;  // the object's texts, as set-strings changes them
    using Edit = std::function<void(PathObject&)>;
    auto presses = [](int page, int n, ProtectedRamps marks) -> Edit {
        return [=](PathObject& obj) {
            for (int i = 0, counter = 0; i < std::abs(n); ++i)
                stepPageBrightness(obj, page, counter, n < 0 ? -1 : 1, marks);
        };
    };
    auto sprites = [&](int first, int last, Dither dither, ProtectedRamps allowed) -> Edit {
        return [=](PathObject& obj) {
            ASSERT_TRUE(importSpriteFolder(obj, pics, first, last, Matching{dither, allowed}));
        };
    };
    const std::pair<std::vector<std::string>, Edit> cases[] = {
        {{"save", in, out}, {}},
        {{"icons", in, out}, {}},
        {{"set-strings", in, "texts.json", out},
         [&](PathObject& obj) {
             ASSERT_TRUE(applyTextEdits(obj, texts, {{"2", "Rue \u0152uvre"}, {"german", "Stra\u00dfe"}}));
         }},
        {{"set-flag", in, out, "--draws-over-supports", "on"},
         [](PathObject& obj) { obj.setDrawsPathsOverSupports(true); }},
        {{"apply-type", in, "supports", "s.pth", out},
         [&](PathObject& obj) { ASSERT_TRUE(loadTypeFile(obj, PageSupports, dir.file("s.pth"))); }},
        {{"brightness", in, "queue", "20", out, "--rebuild-icons"}, presses(PageQueue, 20, {})},
        {{"brightness", in, "path", "-3", out, "--protect", "17,2", "--keep-icons"},
         presses(PagePath, -3, ramps("2,17"))},
        {{"recolour", in, "supports", "18", out},
         [](PathObject& obj) { recolourPage(obj, PageSupports, 18, {}); }},
        {{"sparkles", in, "path-railings", out, "--seed", "5", "--protect", "3"},
         [](PathObject& obj) {
             std::srand(5);
             addSparkles(obj, PagePathRailings, ramps("3"));
         }},
        {{"import-bitmap", in, "queue", "pic.bmp", out, "--protect", "4"},
         [&](PathObject& obj) {
             auto picture = readImportBitmap(dir.file("pic.bmp"));
             ASSERT_TRUE(picture && importBitmapIntoPage(obj, PageQueue, picture.value(), ramps("4")));
         }},
        {{"import-sprites", in, "p", out, "--dither", "diffusion"},
         sprites(0, 167, Dither::Diffusion, Matching::allRamps())},
        {{"import-sprites", in, "p", out, "--page", "queue", "--dither", "ordered", "--ramps", "3,9",
          "--keep-icons"},
         sprites(51, 70, Dither::Ordered, ramps("3,9"))},
    };
    for (const auto& [args, edit] : cases) {  // OUT.DAT as the edit applied to IN.DAT in process writes it
        SCOPED_TRACE(commandLine(args));
        std::remove(dir.file(out).c_str());
        runOk(dir, args);
        PathObject obj = loadFile(file);
        const PathObject before = obj.clone();
        texts = objectStrings(obj);
        if (edit) edit(obj);
        auto given = [&args](const char* option) { return std::ranges::find(args, option) != args.end(); };
        if (args[0] == "icons" || given("--rebuild-icons"))
            composePreviewIcons(obj);
        else if (!given("--keep-icons"))
            followIcons(before, obj);
        EXPECT_EQ(dir.read(out), serializeObjectFile(obj, out, texts));
    }
    EXPECT_EQ(runOk(dir, {"import-sprites", in, "p", out}).out, "2 sprites changed by p; OUT.DAT written\n");
    // export-type writes what the core writes for the page named.
    runOk(dir, {"export-type", in, "queue-railings", "cli.pth"});
    ASSERT_TRUE(writeTypeFile(loadFile(file), PageQueueRailings, dir.file("own.pth")).isOk());
    EXPECT_EQ(dir.read("cli.pth"), dir.read("own.pth"));
}

TEST(CliSprites, WritesTheCoresFolderOrSheetForThePageAndFormatGiven) {
    TempDir dir;
    const std::string in = writeScene(dir);
    auto folder = [&dir](const std::string& name) {  // each file's name and bytes
        std::map<std::string, Bytes> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.file(name)))
            files[entry.path().filename()] = dir.read(name + "/" + entry.path().filename().string());
        return files;
    };
    const std::tuple<std::vector<std::string>, int, int, bool> exports[] = {
        {{"sprites", in, "--out", "all"}, 0, 167, false},
        {{"sprites", in, "--out", "queue", "--page", "queue", "--rgba"}, 51, 70, true}};
    for (const auto& [args, first, last, rgba] : exports) {
        SCOPED_TRACE(commandLine(args));
        EXPECT_EQ(runOk(dir, args).out,
                  std::to_string(last - first + 1) + " sprites written to " + args[3] + "\n");
        ASSERT_TRUE(exportSpriteFolder(loadFile(in), dir.file("own"), first, last, rgba));
        EXPECT_TRUE(folder(args[3]) == folder("own"));
        std::filesystem::remove_all(dir.file("own"));
    }
    // --sheet: the core's sheet of the page (the icons as they stand), scaled.
    runOk(dir, {"sprites", in, "--sheet", "sheet.png", "--page", "queue", "--scale", "2"});
    const PathObject obj = loadFile(in);
    const auto sheet = spriteSheet(obj, galleryCells(obj, PageQueue));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("sheet.png"))).convertToFormat(QImage::Format_ARGB32),
              scaledImage(pictureToImage(sheet.value()), 2).value());
}

QImage shownImage(Image& screen) {
    QImage image(screen.width(), screen.height(), QImage::Format_RGB32);
    for (int y = 0, r = 0, g = 0, b = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            screen.unpackColor(screen.getPixel(x, y), r, g, b);
            image.setPixel(x, y, qRgb(r, g, b));
        }
    return image;
}

TEST(CliRender, RenderAndPickShowTheEditorsFrameForTheViewDepthGrassAndScale) {
    TempDir dir;
    const std::string in = writeScene(dir);
    // Green grass found in the working folder whatever the case of its name, red and a small green
    // one named by --grass.
    std::vector<std::uint8_t> palette(768, 0);
    palette[4] = 160, palette[9] = 200;
    dir.write("GRASS.PCX", makePcx8(360, 260, 360, Bytes(360 * 260, 1), palette));
    dir.write("red.pcx", makePcx8(360, 260, 360, Bytes(360 * 260, 3), palette));
    dir.write("g.pcx", makePcx8(100, 100, 100, Bytes(100 * 100, 1), palette));
    const struct {
        std::vector<std::string> options;
        int mode, page;
        std::vector<std::pair<int, int>> picks =
            {};  // a railing's pixel, the grass and the background beyond
    } views[] = {
        {{"--view", "example-queue", "--depth", "8"}, PreviewExampleQueue, PageQueue},
        {{"--view", "supports", "--grass", "red.pcx"}, PreviewAllSupportElements, PageSupports},
        {{"--view", "queue", "--scale", "3"}, kPages[PageQueue].allMode, PageQueue},
        {{"--view", "example-path", "--grass", "g.pcx"},
         PreviewExamplePath,
         PagePath,
         {{227, 25}, {5, 5}, {350, 250}}},
    };
    for (const auto& v : views) {  // the frame drawn in process, the icons as they stand
        std::vector<std::string> args = {"render", in, "-o", "view.png"};
        args.insert(args.end(), v.options.begin(), v.options.end());
        SCOPED_TRACE(commandLine(args));
        auto given = [&v](const char* option, const char* otherwise) {
            const auto at = std::ranges::find(v.options, option);
            return at == v.options.end() ? std::string(otherwise) : at[1];
        };
        runOk(dir, args);
        const PathObject obj = loadFile(in);
        HeadlessPreview preview(std::stoi(given("--depth", "32")));
        FrameOwners owners;
        const auto grass = preview.display().loadImageFile(dir.file(given("--grass", "GRASS.PCX")));
        drawPreviewFrame(obj, preview.display(), grass.get(), v.mode, v.page, &owners);
        EXPECT_EQ(QImage(QString::fromStdString(dir.file("view.png"))).convertToFormat(QImage::Format_RGB32),
                  scaledImage(shownImage(*preview.screen()), std::stoi(given("--scale", "1"))).value());
        for (const auto& [x, y] : v.picks) {  // as the record says them
            const ScenePixel p = scenePixel(owners, x, y, shownColour(*preview.screen(), x, y));
            args = {"pick", in, std::to_string(x), std::to_string(y)};
            args.insert(args.end(), v.options.begin(), v.options.end());
            EXPECT_EQ(runOk(dir, args).out, describeScenePixel(obj, p) + "\n") << x << ", " << y;
        }
    }
    // A rail of railing 82 (ramp 10, shade 10) and the grass, whose picture has no palette index.
    std::vector<std::string> json = {"pick", in, "227", "25", "--grass", "g.pcx", "--json"};
    EXPECT_EQ(runOk(dir, json).out,
              R"({"index":140,"page":"path-railings","ramp":10,"rgb":"#afe7fb","shade":10,"source":"sprite",)"
              R"("sprite":82,"x":227,"y":25})"
              "\n");
    json[2] = json[3] = "5";
    EXPECT_EQ(runOk(dir, json).out,
              R"({"index":null,"page":null,"ramp":null,"rgb":"#00a000","shade":null,"source":"grass",)"
              R"("sprite":null,"x":5,"y":5})"
              "\n");
}

// Each command line's exit code and a part of what it says (a leading newline: at the start of a
// line): on stdout when it succeeds, else as the one line on stderr, with nothing written.
TEST(CliLines, EachCommandLineAnswersWithItsExitCodeAndOneLine) {
    TempDir dir;
    const std::string in = "IN.DAT", out = "OUT.DAT";
    writeScene(dir);
    dir.writeText("t.json", R"({"0": 5})");
    dir.write("bad.pth", Bytes(10, 0));
    // A PNG whose text fails its CRC (libpng warns) and whose image data are cut short (it fails).
    QImage text(4, 4, QImage::Format_RGB32);
    text.setText("a", "b");
    ASSERT_TRUE(text.save(QString::fromStdString(dir.file("bad.png"))));
    Bytes png = dir.read("bad.png");
    std::ranges::search(png, std::string_view("tEXt")).begin()[5] ^= 1;
    dir.write("bad.png", Bytes(png.begin(), png.end() - 20));
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string part;
    } rows[] = {
        {{"--help"},
         0,
         "\n  render IN [--view VIEW] [--depth 8|16|24|32] [--grass FILE] [-o OUT.png] [--scale N]\n"},
        {{"save", "--help"}, 0, "\nUsage: trellisor-cli save [options] IN OUT\n"},
        {{"--version"}, 0, "\ntrellisor-cli "},
        {{"info", in}, 0, " (valid)\n"},
        {{"check", in}, 0, "\nIN.DAT: ok"},
        {{}, 1, "no command given"},
        {{"frobnicate"}, 1, "unknown command 'frobnicate'"},
        {{"info"}, 1, "info: expected 1 arguments, got 0"},
        {{"info", "--xml", in}, 1, "info: Unknown option 'xml'."},
        {{"info", "none.DAT"}, 1, "cannot open none.DAT: No such file or directory"},
        {{"save", in, "no/x"}, 1, "cannot save no/x: "},
        {{"check", in, "--jobs", "0"}, 1, "check: --jobs must be a number from 1 to 256, not '0'"},
        {{"check", in, "none"}, 2, "check: no such file or folder: none"},
        {{"sparkles", in, "path", out, "--seed", "-1"},
         1,
         "sparkles: --seed must be a number from 0 to 4294967295"},
        {{"brightness", in, "path", "1001", out}, 1, "brightness: STEPS must be a number from -1000 to 1000"},
        {{"recolour", in, "path", "19", out}, 1, "recolour: RAMP must be a number from 0 to 18, not '19'"},
        {{"sprites", in, "--sheet", "x.png", "--scale", "0"},
         1,
         "sprites: --scale must be a number from 1 to 8"},
        {{"export-type", in, "roof", "x"}, 1, "export-type: unknown page 'roof' (pages: path, "},
        {{"apply-type", in, "path", "bad.pth", out}, 1, "bad.pth: "},
        {{"set-strings", in, "t.json", out}, 1, "t.json: the value of \"0\" is not a text"},
        {{"brightness", in, "path", "1", out, "--protect", "18"}, 1, "--protect takes 'all' or"},
        {{"import-bitmap", in, "path", "bad.png", out},  // the warning is not a line of its own
         1,
         "bad.png: cannot read the picture: Unable to read image data (libpng error: Read Error)"},
        {{"set-flag", in, out, "--draws-over-supports", "on", "--keep-icons", "--rebuild-icons"},
         1,
         "set-flag: --keep-icons and --rebuild-icons exclude each other"},
        {{"render", in, "--view", "sideways", "-o", "x.png"},
         1,
         "render: unknown view 'sideways' (views: ex"},
        {{"render", in, "--view", "path", "--depth", "15", "-o", "x.png"},
         1,
         "--depth must be 8, 16, 24 or 32"},
        {{"sprites", in}, 1, "sprites: --out DIR or --sheet OUT.png is required"},
        {{"pick", in, "360", "0"},
         1,
         "pick: X must be a number from 0 to 359, not '360' (the frame is 360 x 260)"},
        {{"watch", in, ".", out, "--once"}, 1, "watch: . holds files but no sprites.json"},
        {{"palette", "game.bmp"}, 1, "palette: OUT must end in .gpl, .act, .pal or .png, not 'game.bmp'"},
    };
    for (const auto& [args, exitCode, part] : rows) {
        SCOPED_TRACE(commandLine(args));
        const CliRun run = runCli(dir, args);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_THAT("\n" + (exitCode ? run.err : run.out), testing::HasSubstr(part));
        EXPECT_EQ(run.err.find('\n') + 1, exitCode ? run.err.size() : 0u) << "one line, on failure only";
        EXPECT_TRUE(dir.read(out).empty() && dir.read("x.png").empty());
    }
}

}  // namespace
}  // namespace trellisor
