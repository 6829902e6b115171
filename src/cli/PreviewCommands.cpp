// The preview and colour commands of trellisor-cli. Each editing command does what
// the editor's button does to one page, rebuilds the icons as the editor's refresh
// does (unless --keep-icons) and saves as Save does.
#include "cli/PreviewCommands.h"

#include <QBuffer>
#include <QImage>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "base/Files.h"
#include "cli/CliSupport.h"
#include "object/ObjectFile.h"
#include "object/SpriteStore.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"
#include "preview/GamePalette.h"
#include "preview/HeadlessPreview.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"
#include "preview/SpriteWalk.h"

namespace trellisor {

namespace {

// The largest sprite written as an image; sprite sizes come from the file.
constexpr std::uint64_t kMaxSpritePixels = 16ull * 1024 * 1024;

Result<long> parseInteger(const std::string& text, long low, long high, const std::string& what) {
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < low || v > high)
        return Result<long>::fail(what + " must be a number from " + std::to_string(low) + " to " +
                                  std::to_string(high) + ", not '" + text + "'");
    return Result<long>::ok(v);
}

Result<ProtectedRamps> protectionOf(const ParsedArgs& args) {
    ProtectedRamps marks{};
    auto it = args.options.find("--protect");
    if (it != args.options.end() && !parseProtectedRamps(it->second.c_str(), marks))
        return Result<ProtectedRamps>::fail(
            "--protect takes 'all' or ramp numbers 0-17 separated by commas, not '" + it->second + "'");
    return Result<ProtectedRamps>::ok(marks);
}

Status writeImage(const QImage& image, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return Status::fail("cannot encode " + path + " as PNG");
    return writeFileReplacing(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
}

// The shared shape of the editing commands: read IN, parse PAGE and the protection
// list, edit, rebuild the icons, save OUT with the texts as loaded.
struct EditContext {
    ParsedArgs args;
    PathObject obj;
    int page = 0;
    ProtectedRamps marks{};
    std::array<std::string, kLanguageCount> texts;
};

Result<EditContext> beginEdit(const std::string& command, const std::vector<std::string>& raw,
                              std::set<std::string> options, std::size_t positional) {
    using R = Result<EditContext>;
    options.insert("--protect");
    auto parsed = parseArgs(raw, {"--keep-icons"}, options, positional);
    if (!parsed) return R::fail(command + ": " + parsed.error());
    EditContext ctx;
    ctx.args = std::move(parsed.value());
    auto page = pageFromName(ctx.args.positional[1]);
    if (!page) return R::fail(command + ": " + page.error());
    ctx.page = page.value();
    auto marks = protectionOf(ctx.args);
    if (!marks) return R::fail(command + ": " + marks.error());
    ctx.marks = marks.value();
    auto obj = loadForCli(ctx.args.positional[0]);
    if (!obj) return R::fail(obj.error());
    ctx.obj = std::move(obj.value());
    ctx.texts = objectStrings(ctx.obj);
    return R::ok(std::move(ctx));
}

int finishEdit(EditContext& ctx) {
    rebuildIconsUnless(ctx.args.flags.count("--keep-icons") != 0, ctx.obj);
    Status saved = saveAsEditor(ctx.obj, ctx.args.positional.back(), ctx.texts);
    if (!saved) return cliFail(saved.error());
    return 0;
}

int runIcons(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {}, {}, 2);
    if (!parsed) return cliFail("icons: " + parsed.error());
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());
    const auto texts = objectStrings(obj.value());
    composePreviewIcons(obj.value());
    Status saved = saveAsEditor(obj.value(), parsed->positional[1], texts);
    if (!saved) return cliFail(saved.error());
    return 0;
}

struct View {
    const char* name;
    int mode;
    int page;
};
constexpr View kViews[] = {
    {"example-path", PreviewExamplePath, PagePath},
    {"example-queue", PreviewExampleQueue, PageQueue},
    {"path", PreviewAllPathElements, PagePath},
    {"path-railings", PreviewAllRailingElements, PagePathRailings},
    {"queue", PreviewAllQueueElements, PageQueue},
    {"queue-railings", PreviewAllQueueRailings, PageQueueRailings},
    {"supports", PreviewAllSupportElements, PageSupports},
};

int runRender(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {}, {"--view", "--depth", "--grass", "-o"}, 1);
    if (!parsed) return cliFail("render: " + parsed.error());
    const auto& opt = parsed->options;
    if (!opt.count("--view")) return cliFail("render: --view VIEW is required");
    if (!opt.count("-o")) return cliFail("render: -o OUT.png is required");
    const View* view = nullptr;
    for (const View& v : kViews)
        if (opt.at("--view") == v.name) view = &v;
    if (!view)
        return cliFail("render: unknown view '" + opt.at("--view") +
                       "' (views: example-path, example-queue, path, path-railings, queue, queue-railings, "
                       "supports)");
    int depth = 32;
    if (auto d = opt.find("--depth"); d != opt.end()) {
        depth = std::atoi(d->second.c_str());
        if (d->second != "8" && d->second != "16" && d->second != "24" && d->second != "32")
            return cliFail("render: --depth must be 8, 16, 24 or 32, not '" + d->second + "'");
    }
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());

    HeadlessPreview preview(depth);
    if (!preview.isReady()) return cliFail("render: cannot make a " + std::to_string(depth) + "-bit screen");
    std::unique_ptr<Image> ownGrass;
    SpriteStore* store = nullptr;
    Image* grass = nullptr;
    if (auto g = opt.find("--grass"); g != opt.end()) {
        ownGrass = preview.display().loadImageFile(g->second);
        if (!ownGrass) return cliFail("render: cannot read the grass image " + g->second);
        grass = ownGrass.get();
    } else {
        store = acquireSpriteStore(&preview.display());
        grass = store->getSprite("grass.pcx");
    }

    // What the editor's refresh does: rebuild the icons, then paint the frame.
    composePreviewIcons(obj.value());
    drawPreviewFrame(obj.value(), preview.display(), grass, view->mode, view->page);

    Image* screen = preview.screen();
    QImage png(screen->width(), screen->height(), QImage::Format_RGB32);
    for (int y = 0; y < screen->height(); ++y)
        for (int x = 0; x < screen->width(); ++x) {
            int r = 0, g = 0, b = 0;
            screen->unpackColor(screen->getPixel(x, y), r, g, b);
            png.setPixel(x, y, qRgb(r, g, b));
        }
    if (store) store->release();
    Status written = writeImage(png, opt.at("-o"));
    if (!written) return cliFail("render: " + written.error());
    return 0;
}

// One sprite as an image with its top-left pixel at 0, 0: indexed with the game
// palette (0 transparent), or true colour with alpha where the sprite draws.
QImage spriteImage(const PathObject& obj, unsigned index, bool rgba) {
    const SpriteHeader& h = obj.m_sprites[index];
    const int w = std::max<int>(h.width, 1), height = std::max<int>(h.height, 1);
    if (rgba) {
        QImage image(w, height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int x, int y, std::uint8_t c) {
            if (x >= w || y >= height) return;
            RgbQuad q = previewColour(c);
            image.setPixel(x, y, qRgba(q.red, q.green, q.blue, 255));
        });
        return image;
    }
    QImage image(w, height, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) {
        RgbQuad q = previewColour(std::uint8_t(i));
        table[i] = qRgba(q.red, q.green, q.blue, i == 0 ? 0 : 255);
    }
    image.setColorTable(table);
    image.fill(0);
    forEachSpritePixel(obj, index, SpriteFormats::RawAndRowCoded, [&](int x, int y, std::uint8_t c) {
        if (x < w && y < height) image.scanLine(y)[x] = c;
    });
    return image;
}

int runSprites(const std::vector<std::string>& args) {
    auto parsed = parseArgs(args, {"--rgba"}, {"--out"}, 1);
    if (!parsed) return cliFail("sprites: " + parsed.error());
    auto out = parsed->options.find("--out");
    if (out == parsed->options.end()) return cliFail("sprites: --out DIR is required");
    const std::string& dir = out->second;
    auto obj = loadForCli(parsed->positional[0]);
    if (!obj) return cliFail(obj.error());
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir)) return cliFail("sprites: cannot make the folder " + dir);

    const bool rgba = parsed->flags.count("--rgba") != 0;
    JsonWriter json;
    json.beginArray();
    for (unsigned i = 0; i < obj->m_sprites.size(); ++i) {
        const SpriteHeader& h = obj->m_sprites[i];
        if (std::uint64_t(std::max<int>(h.width, 1)) * std::uint64_t(std::max<int>(h.height, 1)) >
            kMaxSpritePixels)
            return cliFail("sprites: sprite " + std::to_string(i) + " of " + std::to_string(h.width) + " x " +
                           std::to_string(h.height) + " pixels is too large to write");
        char name[16];
        std::snprintf(name, sizeof name, "%03u.png", i);
        Status written = writeImage(spriteImage(obj.value(), i, rgba), joinPath(dir, name));
        if (!written) return cliFail("sprites: " + written.error());
        json.beginObject();
        json.key("path");
        json.string(name);
        json.key("x");
        json.number(h.xOffset);
        json.key("y");
        json.number(h.yOffset);
        json.key("flags");
        json.number(h.flags);
        json.endObject();
    }
    json.endArray();
    const std::string text = json.text() + "\n";
    Status written =
        writeFileReplacing(joinPath(dir, "sprites.json"),
                           std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!written) return cliFail("sprites: " + written.error());
    return 0;
}

int runBrightness(const std::vector<std::string>& args) {
    auto ctx = beginEdit("brightness", args, {}, 4);
    if (!ctx) return cliFail(ctx.error());
    auto steps = parseInteger(ctx->args.positional[2], -1000, 1000, "brightness: STEPS");
    if (!steps) return cliFail(steps.error());
    // Presses of ">" or "<" on a counter starting at 0: past +-12 they do nothing.
    int counter = 0;
    const int delta = steps.value() < 0 ? -1 : 1;
    for (long i = 0; i < std::labs(steps.value()); ++i)
        stepPageBrightness(ctx->obj, ctx->page, counter, delta, ctx->marks);
    return finishEdit(ctx.value());
}

int runRecolour(const std::vector<std::string>& args) {
    auto ctx = beginEdit("recolour", args, {}, 4);
    if (!ctx) return cliFail(ctx.error());
    auto ramp = parseInteger(ctx->args.positional[2], 0, kRampCount, "recolour: RAMP");
    if (!ramp) return cliFail(ramp.error());
    recolourPage(ctx->obj, ctx->page, std::uint8_t(ramp.value()), ctx->marks);
    return finishEdit(ctx.value());
}

int runImportBitmap(const std::vector<std::string>& args) {
    auto ctx = beginEdit("import-bitmap", args, {}, 4);
    if (!ctx) return cliFail(ctx.error());
    const std::string& path = ctx->args.positional[2];
    auto bitmap = readBitmapFile(path);
    if (!bitmap) return cliFail(path + ": " + bitmap.error());
    Status imported = importBitmapIntoPage(ctx->obj, ctx->page, bitmap.value(), ctx->marks);
    if (!imported) return cliFail(imported.error());
    return finishEdit(ctx.value());
}

int runSparkles(const std::vector<std::string>& args) {
    auto ctx = beginEdit("sparkles", args, {"--seed"}, 3);
    if (!ctx) return cliFail(ctx.error());
    unsigned seed = unsigned(std::time(nullptr));
    if (auto s = ctx->args.options.find("--seed"); s != ctx->args.options.end()) {
        auto n = parseInteger(s->second, 0, 4294967295L, "sparkles: --seed");
        if (!n) return cliFail(n.error());
        seed = unsigned(n.value());
    }
    std::srand(seed);
    addSparkles(ctx->obj, ctx->page, ctx->marks);
    return finishEdit(ctx.value());
}

}  // namespace

void registerPreviewCommands(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"icons", "IN OUT",
         "Rebuilds the two preview icons of the object IN from its sprites, as the editor does "
         "before every repaint, and saves the result to OUT.",
         runIcons});
    commands.push_back(
        {"render", "IN --view VIEW [--depth 8|16|24|32] [--grass FILE] -o OUT.png",
         "Draws the preview of IN as the editor shows it (icons rebuilt, grass, then the scene) on a "
         "360 x 260 screen of the depth (default 32) and writes it as PNG. VIEW is example-path, "
         "example-queue, or the element grid of path, path-railings, queue, queue-railings or "
         "supports. Without --grass, grass.pcx is looked up in the current folder, then in Art.",
         runRender});
    commands.push_back(
        {"sprites", "IN --out DIR [--rgba]",
         "Writes every sprite of IN as DIR/000.png ... (indexed with the game palette and index 0 "
         "transparent, or true colour with alpha under --rgba) and DIR/sprites.json, an array of "
         "{path, x, y, flags} with x and y the sprites' drawing offsets.",
         runSprites});
    commands.push_back(
        {"brightness", "IN PAGE STEPS OUT [--protect LIST] [--keep-icons]",
         "Presses \">\" (STEPS positive) or \"<\" (negative) STEPS times on PAGE of IN, with the "
         "page's counter starting at 0 (steps past +-12 do nothing), and saves to OUT. LIST is 'all' "
         "or ramp numbers 0-17 separated by commas.",
         runBrightness});
    commands.push_back(
        {"recolour", "IN PAGE RAMP OUT [--protect LIST] [--keep-icons]",
         "Moves the unprotected colours of PAGE's sprites to ramp RAMP (0-17, or 18 for the strip's "
         "last columns), as a click on the recolour strip does, and saves to OUT.",
         runRecolour});
    commands.push_back(
        {"import-bitmap", "IN PAGE BMP OUT [--protect LIST] [--keep-icons]",
         "Repaints PAGE's row-coded sprites (stairs and ramps excepted) from the 8- or 24-bit bitmap "
         "BMP with the nearest game colours, and saves to OUT.",
         runImportBitmap});
    commands.push_back(
        {"sparkles", "IN PAGE OUT [--seed N] [--protect LIST] [--keep-icons]",
         "Adds sparkles to PAGE's row-coded sprites with the C library's generator seeded with N "
         "(default: the clock), and saves to OUT.",
         runSparkles});
}

}  // namespace trellisor
