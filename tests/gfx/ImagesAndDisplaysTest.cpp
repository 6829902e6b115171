// Memory images, sub-images, palettes and displays.
#include <gtest/gtest.h>

#include <sstream>

#include "base/Bytes.h"
#include "gfx/DibImage.h"
#include "gfx/Display.h"
#include "gfx/SubImage.h"
#include "support/ImageFileBuilders.h"
#include "support/Sheet.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using namespace test;

// gfx/image/FORMAT.png: pixels put, a clear over 0xEE padding, then a cell per line or rectangle.
TEST(Image, LayoutAccessClearLinesAndRectangles) {
    // fillRectangle, drawHorizontalLine, drawVerticalLine, drawRectangle, drawLine
    const int calls[][5] = {
        {0, 0, 0, 0, 0},   {0, 0, 0, 6, 0},  {0, 0, 0, 1, 1}, {0, 3, 1, 100, 1}, {0, -5, 4, 100, 100},
        {0, 7, 0, 9, 5},   {0, 0, 6, 5, 9},  {0, 3, 2, 2, 4}, {1, 9, -3, 2, 0},  {1, 2, 4, 1, 0},
        {1, 0, 6, 6, 0},   {1, 0, 6, -1, 0}, {1, 7, 9, 1, 0}, {1, -3, -1, 1, 0}, {2, 3, 4, 1, 0},
        {2, 0, -2, 0, 0},  {2, 6, -2, 9, 0}, {2, 7, 0, 5, 0}, {2, -1, 0, 5, 0},  {2, 2, 6, 8, 0},
        {2, 2, -3, -1, 0}, {3, 1, 1, 4, 3},  {4, 0, 0, 6, 5}, {1, -3, 0, 2, 0},  {2, 4, -2, 0, 0}};
    for (const auto& format : everyFormat(5, 3)) {
        Image& image = *format;
        SCOPED_TRACE(formatName(image));
        const std::uint32_t mask = maskOf(image), c = 0x00E0C0A0u & mask;
        setStoredBytes(image, Bytes(image.pitchBytes() * 3));
        for (int i = 0; i < 15; ++i)
            image.putPixel(i % 5, i / 5, (0x9E3779B9u * std::uint32_t(i + 1)) & mask);
        for (auto [x, y] : {std::pair{-1, 0}, {5, 0}, {0, -1}, {0, 3}}) {
            image.putPixel(x, y, 9);
            EXPECT_EQ(image.getPixel(x, y), 0u);
        }
        Sheet sheet;
        sheet.add(image);
        auto padded = makeLike(image, 9, 2);
        setStoredBytes(*padded, Bytes(padded->pitchBytes() * 2, 0xEE));
        padded->clear(0x3C);
        sheet.add(*padded);
        sheet.newRow();
        auto canvas = makeLike(image, 7, 6);
        for (const auto& [kind, a, b, r, s] : calls) {
            setStoredBytes(*canvas, Bytes(canvas->pitchBytes() * 6));
            canvas->clear(0x3C);
            if (kind == 0) canvas->fillRectangle(a, b, r, s, c);
            if (kind == 1) canvas->drawHorizontalLine(a, b, r, c);
            if (kind == 2) canvas->drawVerticalLine(a, b, r, c);
            if (kind == 3) canvas->drawRectangle(a, b, r, s, c);
            if (kind == 4) canvas->drawLine(a, b, r, s, c);
            sheet.add(*canvas);
        }
        EXPECT_TRUE(matchesReference(sheet.picture(), "gfx/image/" + formatName(image)));
    }
}

TEST(Image, CreatedByDepthAndInvalidWhenEmptyOrAbsurd) {
    EXPECT_FALSE(createMemoryImage(4, 4, 15) || createMemoryImage(4, 4, 0) ||
                 createMemoryImage(4, 4, 8)->queryReserved());
    for (int layout : {1, 2, 3}) {
        sixteenBitLayout = layout;
        auto image = createMemoryImage(4, 4, 16);
        EXPECT_EQ(image ? image->layout16() : 0, layout == 3 ? 0 : layout);
    }
    sixteenBitLayout = 1;
    // Invalid images allocate nothing and refuse every operation.
    const int sizes[][3] = {
        {0, 5, 32},          {5, 0, 32},           {-3, 4, 32}, {(1 << 28) + 1, 1, 8}, {1 << 30, 1 << 30, 32},
        {2147483647, 1, 32}, {1 << 15, 1 << 15, 8}};
    for (auto [w, h, bits] : sizes) {
        auto bad = createMemoryImage(w, h, bits);
        EXPECT_FALSE(bad->isValid()) << w << "x" << h;
        bad->putPixel(0, 0, 5);
        bad->clear(1);
        bad->fillRectangle(0, 0, 3, 3, 1);
        int r = 7, g = 7, b = 7;
        bad->unpackColor(0xFFFFFF, r, g, b);
        EXPECT_EQ(std::tuple(bad->getPixel(0, 0), r + g + b, bad->packColor(255, 255, 255)),
                  std::tuple(0u, 21, 0u));
    }
}

TEST(Image, PacksAndUnpacksEachFormatsChannels) {
    const auto formats = everyFormat(1, 1);
    auto black = createMemoryImage(1, 1, 32), paletted = createMemoryImage(1, 1, 8);
    formats[0]->convertTo(black.get(), 0, 0);  // without a palette: black
    EXPECT_EQ(black->getPixel(0, 0), 0u);
    paletted->setPalette(new Palette());
    paletted->palette()->entries[3] = {200, 10, 10, 0};
    // Three colours packed, then three values unpacked over 77s.
    const std::pair<Image*, const char*> cases[] = {
        {paletted.get(), "3 3 0 | 200 10 10 | 0 0 0 | 0 0 0"},
        {formats[0].get(), "0 0 0 | 77 77 77 | 77 77 77 | 77 77 77"},  // no palette: 0, outputs kept
        {formats[1].get(), "7e08 6021 88ea | 0 64 24 | 248 248 248 | 128 200 8"},
        {formats[2].get(), "fc08 c041 111ca | 0 32 24 | 248 252 248 | 64 100 8"},
        {formats[3].get(), "ff8040 c70b0a 1133556 | 0 1 3 | 0 255 255 | 101 67 33"},
        {formats[4].get(), "ff8040 c70b0a 123456 | 0 1 3 | 0 255 255 | 101 67 33"}};
    for (auto [image, expected] : cases) {
        std::ostringstream text;
        for (auto [pr, pg, pb] : {std::tuple{255, 128, 64}, {199, 11, 10}, {0x112, 0x134, 0x156}})
            text << std::hex << image->packColor(pr, pg, pb) << (pr > 255 ? "" : " ");
        for (std::uint32_t v : {0x103u, 0xFFFFu, 0xFF654321u}) {
            int r = 77, g = 77, b = 77;
            image->unpackColor(v, r, g, b);
            text << std::dec << " | " << r << " " << g << " " << b;
        }
        EXPECT_EQ(text.str(), expected) << formatName(*image);
    }
}

TEST(Image, SubImageViewsTheParentsRectangle) {
    auto parent = createMemoryImage(10, 8, 8);
    auto* palette = new Palette();
    parent->setPalette(palette);
    std::mt19937 rng(3);
    fillRandom(*parent, rng, false);
    {
        SubImage view(parent.get(), 2, 3, 6, 5);  // right exclusive, bottom inclusive
        ASSERT_TRUE(view.isValid());              // the palette borrowed, not counted
        EXPECT_EQ(std::tuple(view.width(), view.height(), view.palette(), palette->referenceCount),
                  std::tuple(4, 3, palette, 1));
        EXPECT_EQ(view.getPixel(0, 0), parent->getPixel(2, 3));
        view.putPixel(3, 2, 0);
        EXPECT_EQ(parent->getPixel(5, 5), 0u);
    }
    EXPECT_EQ(palette->referenceCount, 1);
    const std::tuple<const char*, int, int, int, int, bool> rectangles[] = {
        {"whole", 0, 0, 10, 7, true},    {"right", 0, 0, 11, 7, false}, {"bottom", 0, 0, 10, 8, false},
        {"left", -1, 0, 5, 5, false},    {"top", 0, -1, 5, 5, false},   {"no width", 3, 3, 3, 5, false},
        {"no height", 3, 5, 6, 4, false}};
    for (auto [name, l, t, r, b, valid] : rectangles)
        EXPECT_EQ(SubImage(parent.get(), l, t, r, b).isValid(), valid) << name;
    SubImage orphan(nullptr, 0, 0, 2, 2);
    EXPECT_FALSE(orphan.isValid() || orphan.lock(1));
}

TEST(Palette, NearestIndexAndFade) {
    Palette sparse;
    for (auto& e : sparse.entries) e = {255, 255, 255, 0};
    sparse.entries[0] = {5, 6, 7, 0};
    sparse.entries[3] = {100, 100, 98, 0};  // distance 2
    sparse.entries[4] = {5, 6, 8, 0};
    sparse.entries[7] = {101, 101, 100, 0};  // distance 2: the lower index wins
    sparse.entries[254] = {50, 58, 44, 0};
    EXPECT_EQ(sparse.nearestIndex(100, 100, 100), 3);
    EXPECT_EQ(sparse.nearestIndex(5, 6, 8), 4);
    EXPECT_EQ(sparse.nearestIndex(256 + 5, 6, 7 - 256), 0);  // modulo 256
    sparse.entries[0] = sparse.entries[255] = {100, 10, 50, 0};
    sparse.fadeTowards(50, 50, 52, 8);
    EXPECT_EQ(sparse.entries[0], (PaletteEntry{92, 18, 52, 0}));     // lands on the target
    EXPECT_EQ(sparse.entries[254], (PaletteEntry{50, 50, 52, 0}));   // a step away
    EXPECT_EQ(sparse.entries[255], (PaletteEntry{100, 10, 50, 0}));  // the last entry spared
}

// Entries in identical pairs: every search meets a tie.
TEST(Palette, TablesRebuiltAndCopied) {
    Palette p;
    for (int i = 0; i < 256; ++i)
        p.entries[i] = {std::uint8_t(i / 2 * 2), std::uint8_t(255 - i / 2 * 2), std::uint8_t(i / 2 * 37), 0};
    p.buildMixTable();
    EXPECT_FALSE(p.hasInverseTable);
    p.buildInverseTable();
    ASSERT_TRUE(p.hasInverseTable && p.hasMixTable);
    // gfx/palette/tables.png: the inverse table (green down, blue across, a square per red), then
    // the mix table.
    auto tables = [](const Palette& t) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 256; ++x)
                pixels.push_back(t.inverseTable[(x / 32 + y / 32 * 8) << 10 | (y % 32) << 5 | (x % 32)]);
        pixels.insert(pixels.end(), t.mixTable.get(), t.mixTable.get() + 65536);
        return indexedPicture(256, 384, pixels, [&](std::uint8_t i) { return t.entries[i]; });
    };
    EXPECT_TRUE(matchesReference(tables(p), "gfx/palette/tables"));
    // With the table: 5-bit channels, red highest.
    EXPECT_EQ(p.nearestIndex(256 + 207, 100, 30), p.inverseTable[(25 << 10) | (12 << 5) | 3]);
    // A rebuild searches the new entries; a copy has its own tables.
    for (PaletteEntry& e : p.entries) e.red = std::uint8_t(255 - e.red);
    p.rebuildTables();
    EXPECT_TRUE(matchesReference(tables(p), "gfx/palette/tables-rebuilt"));
    const Palette copy(p);
    EXPECT_NE(copy.inverseTable.get(), p.inverseTable.get());
    EXPECT_EQ(std::pair(copy.entries, copy.referenceCount), std::pair(p.entries, 0));
    EXPECT_TRUE(matchesReference(tables(copy), "gfx/palette/tables-rebuilt"));
}

TEST(Palette, CountsTheImagesSharingIt) {
    int changed = 0;
    struct Counting : MemoryImage8 {
        int* hits;
        explicit Counting(int* h) : MemoryImage8(2, 2), hits(h) {}
        void paletteChanged() override { ++*hits; }
    };
    auto *shared = new Palette(), *other = new Palette();
    auto first = std::make_unique<Counting>(&changed);
    auto second = std::make_unique<MemoryImage8>(2, 2);
    EXPECT_FALSE(first->paletteAssigned());
    first->setPalette(shared);
    second->setPalette(shared);
    first->setPalette(shared);  // no count change, but the hook runs
    EXPECT_EQ(std::tuple(shared->referenceCount, first->paletteAssigned(), changed), std::tuple(2, true, 2));
    second->setPalette(other);
    EXPECT_EQ(std::pair(shared->referenceCount, other->referenceCount), std::pair(1, 1));
    first.reset();  // destroys shared
    second->setPalette(nullptr);
    EXPECT_EQ(second->palette(), nullptr);
}

TEST(Display, KindsReadinessAndDepths) {
    HeadlessWindowPort port24(24);
    const char* names[] = {"Empty", "Raw", "DIB"};
    for (int kind = 0; kind < 3; ++kind) {
        auto display = createDisplay(kind, &port24, 1);
        const char* name = nullptr;
        EXPECT_STREQ(display->typeName(&name), names[kind]);
        EXPECT_STREQ(name, names[kind]);
        EXPECT_EQ(std::tuple(display->kind(), display->memoryImagesOnly(), display->window()),
                  std::tuple(kind, true, kind == 0 ? nullptr : &port24));
        EXPECT_FALSE(createDisplay(kind, &port24, 2)->memoryImagesOnly());
    }
    EXPECT_FALSE(createDisplay(3, &port24, 0));
    auto empty = createDisplay(0, &port24, 0);
    EXPECT_FALSE(empty->isReady() || empty->query() || empty->setMode(10, 10, 8, 0) ||
                 empty->createImage(4, 4, 8, 0) || empty->screen());
    auto windowless = createDisplay(2, nullptr, 0);
    EXPECT_FALSE(windowless->isReady() || windowless->setMode(10, 10, 8, 0) || windowless->bitsPerPixel());
    // Raw: ready without a window, its depth from its first image.
    auto raw = createDisplay(1, nullptr, 0);
    EXPECT_EQ(std::pair(raw->isReady(), raw->bitsPerPixel()), std::pair(true, 0));
    raw->createImage(3, 3, 16, 0);
    auto second = raw->createImage(3, 3, kDisplayDepth, 0);
    EXPECT_EQ(std::tuple(raw->bitsPerPixel(), second->bitsPerPixel(), second->storageKind()),
              std::tuple(16, 16, 1));
    ASSERT_TRUE(raw->setMode(20, 10, 8, 0));
    EXPECT_EQ(std::tuple(raw->bitsPerPixel(), raw->screen()->width(), raw->screen()->storageKind()),
              std::tuple(8, 20, 1));
    EXPECT_FALSE(raw->setMode(20, 10, 12, 0));
    EXPECT_FALSE(raw->screen());
    EXPECT_EQ(raw->bitsPerPixel(), 8);
    HeadlessWindowPort odd(12), port16(16);
    EXPECT_FALSE(createDisplay(2, &odd, 0)->setMode(10, 10, kDisplayDepth, 0));
    sixteenBitLayout = 0;
    EXPECT_FALSE(createDisplay(2, &port16, 0)->setMode(4, 4, 16, 0));
    sixteenBitLayout = 1;
    EXPECT_FALSE(DibImage32(&port16, 0, 1).isValid());
}

// The screen is a DIB image of 8-pixel rows, shown under gfx/display/header-FORMAT.hex.
TEST(Display, PresentShowsTheScreenUnderItsHeader) {
    const int modes[][2] = {{8, 1}, {16, 1}, {16, 2}, {24, 1}, {32, 1}};
    for (auto [depth, layout] : modes) {
        sixteenBitLayout = layout;
        HeadlessWindowPort port(depth);
        std::array<PaletteEntry, 256> system{};
        for (int i = 0; i < 256; ++i)
            system[i] = {std::uint8_t(i), std::uint8_t(i + 1), std::uint8_t(i + 2), 4};
        port.setSystemPalette(system);
        auto display = createDisplay(2, &port, 1);
        auto memory = display->createImage(5, 5, kDisplayDepth, 0);  // flags 1: a memory image
        ASSERT_TRUE(display->setMode(357, 260, kDisplayDepth, 0));
        Image* screen = display->screen();
        const std::string name = formatName(*screen);
        SCOPED_TRACE(name);
        screen->putPixel(356, 259, 0x1F);
        display->present();
        EXPECT_EQ(port.lastPixels(), storedBytes(*screen));
        EXPECT_TRUE(matchesReferenceBytes(port.lastHeader(), "gfx/display/header-" + name));
        EXPECT_EQ(std::tuple(port.lastWidth(), port.lastHeight(), port.presentCount(), port.clientWidth(),
                             port.clientHeight(), screen->storageKind(), screen->bitsPerPixel()),
                  std::tuple(360, 260, 1, 357, 260, 2, depth));
        EXPECT_EQ(std::pair(memory->storageKind(),
                            createDisplay(2, &port, 0)->createImage(5, 5, kDisplayDepth, 0)->storageKind()),
                  std::pair(1, 2));
        ASSERT_TRUE(display->setMode(100, 50, kDisplayDepth, 0));
        EXPECT_EQ(std::pair(port.resizeCount(), display->screen()->width()), std::pair(2, 100));
        display->releaseScreen();
        display->present();  // nothing to show
        EXPECT_FALSE(display->screen());
        EXPECT_EQ(port.presentCount(), 1);
    }
    HeadlessWindowPort port(24);
    Bytes header(40, 0);
    header[14] = 24;
    for (auto [w, h] : {std::pair{-1, 2}, {2, -1}, {0, 2}}) {  // nothing to copy
        port.showBuffer(header.data(), header.data(), w, h);
        EXPECT_TRUE(port.lastPixels().empty()) << w << " x " << h;
    }
    port.showBuffer(header.data(), nullptr, 2, 2);  // no header: nothing kept of the last one
    EXPECT_TRUE(port.lastHeader().empty() && port.lastPixels().empty());
}

// PCX palette entry i is i, 255 - i, i / 2.
TEST(Display, LoadersConvertToTheDisplayDepth) {
    TempDir dir;
    const std::string pcx = dir.write("a.pcx", makePcx8(2, 1, 2, {10, 200}));
    HeadlessWindowPort port24(24), port8(8);
    auto d24 = createDisplay(2, &port24, 1), d16 = createDisplay(1, nullptr, 0);
    d16->setBitsPerPixel(16);
    const Bytes rgb = {1, 2, 3};
    auto image8 = createDisplay(2, &port8, 1)->loadImageFile(pcx);
    EXPECT_EQ(std::pair(image8->palette()->referenceCount, image8->palette()->entries[200]),
              std::pair(1, PaletteEntry{200, 55, 100, 0}));  // the decoded one gone
    EXPECT_EQ(describe(*image8), "2 x 1 8: a c8");
    EXPECT_EQ(describe(*d24->loadImageFile(pcx)), "2 x 1 24: af505 c83764");
    const auto tiff = d16->loadImageFile2(dir.write("a.tif", makeTiffOneStrip(1, 1, {255, 128, 64})));
    EXPECT_EQ(describe(*tiff), "1 x 1 16: 7e08");
    EXPECT_EQ(describe(*d24->loadImageMemory(rgb.data(), 1, 1, 3, 1, 3)), "1 x 1 24: 10203");
    EXPECT_FALSE(d24->loadImageFile(dir.file("missing.pcx")) || d24->loadImageFile2(pcx) ||
                 createDisplay(0, nullptr, 0)->loadImageFile(pcx));
}

}  // namespace
}  // namespace trellisor
