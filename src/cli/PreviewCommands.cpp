// The preview and colour commands of trellisor-cli. Each editing command does what
// the editor's button does to one page, brings the icons up to date as the editor does
// (CliSupport.h) and saves as Save does.
#include "cli/PreviewCommands.h"

#include <QImage>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "base/Files.h"
#include "cli/CliSupport.h"
#include "imageio/PictureFiles.h"
#include "imageio/PictureImage.h"
#include "object/ObjectFile.h"
#include "object/SpriteStore.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"
#include "preview/HeadlessPreview.h"
#include "preview/PixelFacts.h"
#include "preview/PreviewFrame.h"
#include "preview/SpriteFacts.h"

namespace trellisor {

namespace {

int runIcons(const CommandLine& line) {
    return editObject(
        line, [](PathObject&, ObjectTexts&) { return Status::ok(); }, IconRule::Rebuild);
}

// The views of render and pick: the two example scenes and each sprite page's element grid.
struct View {
    std::string name;
    int mode;
    int page;
};

std::vector<View> renderViews() {
    std::vector<View> views = {{"example-path", PreviewExamplePath, PagePath},
                               {"example-queue", PreviewExampleQueue, PageQueue}};
    for (int page = PagePath; page <= PageSupports; ++page)
        views.push_back({kPages[std::size_t(page)].cliName, kPages[std::size_t(page)].allMode, page});
    return views;
}

std::string renderViewNames() {
    std::string names;
    for (const View& v : renderViews()) names += (names.empty() ? "" : ", ") + v.name;
    return names;
}

Result<View> viewArgument(const std::string& name) {
    const auto views = renderViews();
    auto view = std::find_if(views.begin(), views.end(), [&](const View& v) { return v.name == name; });
    if (view == views.end())
        return Result<View>::fail("unknown view '" + name + "' (views: " + renderViewNames() + ")");
    return Result<View>::ok(*view);
}

QImage screenImage(Image& screen) {
    QImage png(screen.width(), screen.height(), QImage::Format_RGB32);
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            int r = 0, g = 0, b = 0;
            screen.unpackColor(screen.getPixel(x, y), r, g, b);
            png.setPixel(x, y, qRgb(r, g, b));
        }
    return png;
}

int runRender(const CommandLine& line) {
    const auto viewName = line.value("view");
    if (!viewName) return line.fail("--view VIEW is required");
    const auto out = line.value("o");
    if (!out) return line.fail("-o OUT.png is required");
    const std::string depthText = line.value("depth").value_or("32");
    if (depthText != "8" && depthText != "16" && depthText != "24" && depthText != "32")
        return line.fail("--depth must be 8, 16, 24 or 32, not '" + depthText + "'");
    auto scale = scaleOf(line);
    if (!scale) return line.fail(scale.error());
    auto renderer = FrameRenderer::make(*viewName, std::stoi(depthText), line.value("grass"));
    if (!renderer) return line.fail(renderer.error());
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    auto png = scaledImage(renderer.value()->draw(obj.value()), scale.value());
    if (!png) return line.fail(png.error());
    Status written = writePng(png.value(), *out);
    if (!written) return line.fail(written.error());
    return 0;
}

QJsonValue jsonOrNull(const std::optional<int>& v) { return v ? QJsonValue(*v) : QJsonValue(); }

int runPick(const CommandLine& line) {
    auto x = integerArgument(line.positional(1), 0, kPreviewWidth - 1, "X");
    if (!x) return line.fail(x.error() + " (the frame is 360 x 260)");
    auto y = integerArgument(line.positional(2), 0, kPreviewHeight - 1, "Y");
    if (!y) return line.fail(y.error() + " (the frame is 360 x 260)");
    auto renderer = FrameRenderer::make(line.value("view").value_or("example-path"), 32, line.value("grass"));
    if (!renderer) return line.fail(renderer.error());
    auto obj = loadForCli(line.positional(0));
    if (!obj) return cliFail(obj.error());
    FrameRenderer& frame = *renderer.value();
    frame.draw(obj.value());
    const int px = int(x.value()), py = int(y.value());
    const ScenePixel p = scenePixel(frame.owners(), px, py, shownColour(frame.screen(), px, py));
    if (!line.isSet("json")) {
        std::cout << describeScenePixel(obj.value(), p) << std::endl;
        return 0;
    }
    const bool sprite = p.source == PixelSource::Sprite;
    const auto page = sprite ? pageOfSprite(obj.value(), p.sprite) : std::nullopt;
    QJsonValue ramp;
    if (sprite) ramp = p.colour->ramp ? QJsonValue(*p.colour->ramp) : QJsonValue("special");
    constexpr const char* kSources[] = {"background", "grass", "sprite"};
    printJson(QJsonObject{
        {"x", p.x},
        {"y", p.y},
        {"sprite", sprite ? QJsonValue(qint64(p.sprite)) : QJsonValue()},
        {"page", page ? QJsonValue(kPages[std::size_t(*page)].cliName) : QJsonValue()},
        {"index", sprite ? QJsonValue(p.colour->index) : QJsonValue()},
        {"ramp", ramp},
        {"shade", sprite ? jsonOrNull(p.colour->shade) : QJsonValue()},
        {"rgb", QString::fromStdString(rgbText(p.shown))},
        {"source", kSources[int(p.source)]},
    });
    return 0;
}

// The page editing commands: PAGE is the second positional and --protect applies.
int editPage(const CommandLine& line,
             const std::function<Status(PathObject&, int, const ProtectedRamps&)>& edit) {
    auto page = pageArgument(line.positional(1));
    if (!page) return line.fail(page.error());
    auto marks = protectedRampsOf(line);
    if (!marks) return line.fail(marks.error());
    return editObject(line,
                      [&](PathObject& obj, ObjectTexts&) { return edit(obj, page.value(), marks.value()); });
}

int runBrightness(const CommandLine& line) {
    auto steps = integerArgument(line.positional(2), -1000, 1000, "STEPS");
    if (!steps) return line.fail(steps.error());
    return editPage(line, [&](PathObject& obj, int page, const ProtectedRamps& marks) {
        // Presses of ">" or "<" on a counter starting at 0: past +-12 they do nothing.
        int counter = 0;
        const int delta = steps.value() < 0 ? -1 : 1;
        for (long i = 0; i < std::labs(steps.value()); ++i)
            stepPageBrightness(obj, page, counter, delta, marks);
        return Status::ok();
    });
}

int runRecolour(const CommandLine& line) {
    auto ramp = integerArgument(line.positional(2), 0, kRampCount, "RAMP");
    if (!ramp) return line.fail(ramp.error());
    return editPage(line, [&](PathObject& obj, int page, const ProtectedRamps& marks) {
        recolourPage(obj, page, std::uint8_t(ramp.value()), marks);
        return Status::ok();
    });
}

int runImportBitmap(const CommandLine& line) {
    const std::string& path = line.positional(2);
    return editPage(line, [&](PathObject& obj, int page, const ProtectedRamps& marks) {
        auto bitmap = readImportBitmap(path);
        if (!bitmap) return Status::fail(path + ": " + bitmap.error());
        return importBitmapIntoPage(obj, page, bitmap.value(), marks);
    });
}

int runSparkles(const CommandLine& line) {
    return editPage(line, [&](PathObject& obj, int page, const ProtectedRamps& marks) {
        Status seeded = seedRandomGenerator(line);
        if (!seeded) return Status::fail("sparkles: " + seeded.error());
        addSparkles(obj, page, marks);
        return Status::ok();
    });
}

}  // namespace

Result<std::unique_ptr<FrameRenderer>> FrameRenderer::make(const std::string& viewName, int depth,
                                                           const std::optional<std::string>& grassFile) {
    using Out = Result<std::unique_ptr<FrameRenderer>>;
    auto view = viewArgument(viewName);
    if (!view) return Out::fail(view.error());
    std::unique_ptr<FrameRenderer> renderer(new FrameRenderer(depth, view.value().mode, view.value().page));
    if (!renderer->m_preview.isReady())
        return Out::fail("cannot make a " + std::to_string(depth) + "-bit screen");
    if (grassFile) {
        renderer->m_ownGrass = renderer->m_preview.display().loadImageFile(*grassFile);
        if (!renderer->m_ownGrass) return Out::fail("cannot read the grass image " + *grassFile);
        renderer->m_grass = renderer->m_ownGrass.get();
    } else {
        renderer->m_store = acquireSpriteStore(&renderer->m_preview.display());
        renderer->m_grass = renderer->m_store->getSprite("grass.pcx");
    }
    return Out::ok(std::move(renderer));
}

FrameRenderer::~FrameRenderer() {
    if (m_store) m_store->release();
}

QImage FrameRenderer::draw(const PathObject& obj) {
    drawPreviewFrame(obj, m_preview.display(), m_grass, m_mode, m_page, &m_owners);
    return screenImage(*m_preview.screen());
}

void registerPreviewCommands(std::vector<CliCommand>& commands) {
    const QList<QCommandLineOption> pageOptions = {protectOption(), keepIconsOption(), rebuildIconsOption()};
    commands.push_back(
        {"icons",
         {kIn, kOut},
         "Rebuilds the two preview icons of the object IN from its sprites, hand-drawn ones too (as "
         "the editor's Rebuild Icons does), and saves the result to OUT.",
         {},
         runIcons});
    commands.push_back(
        {"render",
         {kIn},
         "Draws the preview of IN as the editor shows it (the icons as they stand, grass, then the scene) on "
         "a "
         "360 x 260 screen of the depth (default 32) and writes it as PNG. VIEW is one of " +
             renderViewNames() +
             " (the example scenes, or a page's element grid). Without --grass, grass.pcx is looked up "
             "in the current folder, then in Art.",
         {QCommandLineOption("view", "What to draw (required).", "VIEW"),
          QCommandLineOption("depth", "The screen depth: 8, 16, 24 or 32.", "8|16|24|32"),
          QCommandLineOption("grass", "The grass picture (PCX, TIFF).", "FILE"),
          QCommandLineOption("o", "The PNG file to write (required).", "OUT.png"), scaleOption()},
         runRender});
    commands.push_back(
        {"pick",
         {kIn, {"X", "The frame pixel's column, 0-359."}, {"Y", "The frame pixel's row, 0-259."}},
         "Says what lies at pixel X, Y of the frame render draws with the same arguments (at 32 bits), "
         "as the editor's Viewer says it: the sprite that drew it last with its page, palette index, "
         "colour ramp (0-17, or special for 226 and above) and shade, and the colour shown; or grass, "
         "or background. --json prints {x, y, sprite, page, index, ramp, shade, rgb, source}, with null "
         "where a field does not apply (grass has no palette index).",
         {QCommandLineOption("view", "What to draw (default example-path).", "VIEW"),
          QCommandLineOption("grass", "The grass picture (PCX, TIFF).", "FILE"), jsonOption()},
         runPick});
    commands.push_back(
        {"brightness",
         {kIn, kPage, {"STEPS", "Presses of \">\" (positive) or \"<\" (negative)."}, kOut},
         "Presses \">\" (STEPS positive) or \"<\" (negative) STEPS times on PAGE of IN, with the "
         "page's counter starting at 0 (steps past +-12 do nothing), and saves to OUT.",
         pageOptions,
         runBrightness});
    commands.push_back(
        {"recolour",
         {kIn, kPage, {"RAMP", "The ramp to move to: 0-17, or 18 for the strip's last columns."}, kOut},
         "Moves the unprotected colours of PAGE's sprites to ramp RAMP (0-17, or 18 for the strip's "
         "last columns), as a click on the recolour strip does, and saves to OUT.",
         pageOptions,
         runRecolour});
    commands.push_back(
        {"import-bitmap",
         {kIn, kPage, {"PICTURE", "The bitmap to paint from: BMP of any depth, PNG, ..."}, kOut},
         "Repaints PAGE's row-coded sprites (stairs and ramps excepted) from the picture PICTURE with the "
         "nearest game colours, and saves to OUT. Uncompressed 8- and 24-bit BMP files are read as the "
         "editor always did; any other picture Qt reads is taken as a 24-bit bitmap.",
         pageOptions,
         runImportBitmap});
    commands.push_back(
        {"sparkles",
         {kIn, kPage, kOut},
         "Adds sparkles to PAGE's row-coded sprites with the C library's generator seeded with N "
         "(default: the clock), and saves to OUT.",
         {seedOption(), protectOption(), keepIconsOption(), rebuildIconsOption()},
         runSparkles});
}

}  // namespace trellisor
