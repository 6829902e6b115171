// Memory images of the five formats: layout, pixel access and byte order, clear, lines and
// rectangles as golden hashes; packing, conversion, invalid sizes and sub-images; palettes:
// nearest-colour search, inverse and mix tables, fade, copying and the reference count; displays of
// the three kinds: image creation and the depth markers, setMode and the window port, present, the
// DIB headers, and the image loaders.
#include <gtest/gtest.h>

#include "base/Bytes.h"
#include "gfx/DibImage.h"
#include "gfx/Display.h"
#include "gfx/SubImage.h"
#include "support/ImageFileBuilders.h"
#include "support/Pixels.h"
#include "support/TempDir.h"

namespace trellisor {
namespace {

using test::Bytes;

// Each format's layout, then every stored byte (padding zeroed first, so a write past a row or
// into the padding shows) after pixels put inside and outside, a clear, and each drawing call.
TEST(Image, AccessClearLinesAndRectanglesMatchTheirGoldenHashes) {
    const auto formats = test::everyFormat(5, 3);
    const std::uint32_t expected[] = {0x8849EE4D, 0xAADFB5A1, 0x04E9CFA1, 0x38040497, 0x91742CEB};
    // fillRectangle, drawHorizontalLine, drawVerticalLine, drawRectangle, drawLine (which no class draws)
    const int calls[][5] = {{0, 0, 0, 0, 0},      {0, 0, 0, 6, 0},   {0, 0, 0, 1, 1},  {0, 3, 1, 100, 1},
                            {0, -5, 4, 100, 100}, {0, 7, 0, 9, 5},   {0, 0, 6, 5, 9},  {0, 3, 2, 2, 4},
                            {1, 9, -3, 2, 0},     {1, 2, 4, 1, 0},   {1, 0, 6, 6, 0},  {1, 0, 6, -1, 0},
                            {1, 7, 9, 1, 0},      {1, -3, -1, 1, 0}, {2, 3, 4, 1, 0},  {2, 0, -2, 0, 0},
                            {2, 6, -2, 9, 0},     {2, 7, 0, 5, 0},   {2, -1, 0, 5, 0}, {2, 2, 6, 8, 0},
                            {2, 2, -3, -1, 0},    {3, 1, 1, 4, 3},   {4, 0, 0, 6, 5}};
    for (std::size_t f = 0; f < 5; ++f) {
        Image& image = *formats[f];
        const std::uint32_t mask = test::maskOf(image), c = 0x00654321u & mask;
        Bytes log = {std::uint8_t(image.bytesPerPixel()), std::uint8_t(image.pitch()),
                     std::uint8_t(image.pitchBytes()), std::uint8_t(image.sizeInBytes())};
        auto record = [&](Image& i) {
            for (const Bytes& bytes : {test::storedBytes(i), test::pictureBytes(i)})
                log.insert(log.end(), bytes.begin(), bytes.end());
        };
        test::setStoredBytes(image, Bytes(std::size_t(image.pitchBytes()) * 3));
        for (int i = 0; i < 15; ++i)
            image.putPixel(i % 5, i / 5, (0x9E3779B9u * std::uint32_t(i + 1)) & mask);
        for (auto [x, y] : {std::pair{-1, 0}, {5, 0}, {0, -1}, {0, 3}}) {
            image.putPixel(x, y, 9);
            log.push_back(std::uint8_t(image.getPixel(x, y)));
        }
        record(image);
        auto padded = test::makeLike(image, 9, 2);  // clear fills 8-bit rows by fours, 16-bit by pairs
        test::setStoredBytes(*padded, Bytes(std::size_t(padded->pitchBytes()) * 2, 0xEE));
        padded->clear(0x0F);
        record(*padded);
        auto canvas = test::makeLike(image, 7, 6);
        for (const auto& [kind, a, b, r, s] : calls) {
            test::setStoredBytes(*canvas, Bytes(std::size_t(canvas->pitchBytes()) * 6));
            canvas->clear(0x0F);
            if (kind == 0) canvas->fillRectangle(a, b, r, s, c);
            if (kind == 1) canvas->drawHorizontalLine(a, b, r, c);
            if (kind == 2) canvas->drawVerticalLine(a, b, r, c);
            if (kind == 3) canvas->drawRectangle(a, b, r, s, c);
            if (kind == 4) canvas->drawLine(a, b, r, s, c);
            record(*canvas);
        }
        EXPECT_EQ(test::fnv1a(log), expected[f]) << image.bitsPerPixel() << "/" << image.layout16();
    }
}

TEST(Image, CreationAndInvalidSizes) {
    EXPECT_FALSE(createMemoryImage(4, 4, 15) || createMemoryImage(4, 4, 0));
    for (int bits : {8, 24, 32}) EXPECT_EQ(createMemoryImage(4, 4, bits)->bitsPerPixel(), bits);
    for (int layout : {1, 2, 3}) {
        sixteenBitLayout = layout;
        auto image = createMemoryImage(4, 4, 16);
        EXPECT_EQ(image ? image->layout16() : 0, layout == 3 ? 0 : layout);
    }
    sixteenBitLayout = 1;
    // Empty and absurd sizes give invalid images that allocate nothing and refuse every operation.
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

TEST(Image, PackingRoundTripsAndGoldenValues) {
    const auto formats = test::everyFormat(1, 1);  // 8, 555, 565, 24 and 32 bits
    int r = 0, g = 0, b = 0;
    for (std::uint32_t v = 0; v < 0x10000; ++v) {
        formats[2]->unpackColor(v, r, g, b);
        ASSERT_EQ(formats[2]->packColor(r, g, b), v);
        formats[1]->unpackColor(v & 0x7FFF, r, g, b);
        ASSERT_EQ(formats[1]->packColor(r, g, b), v & 0x7FFF);
    }
    // Packing and unpacking in every format: channels past 8 bits, 8 bits without a palette (packs
    // 0, leaves the outputs alone) and with one (the nearest entry; the index is the low byte).
    auto black = createMemoryImage(1, 1, 32), paletted = createMemoryImage(1, 1, 8);
    formats[0]->convertTo(black.get(), 0, 0);  // converting starts from black
    EXPECT_EQ(black->getPixel(0, 0), 0u);
    paletted->setPalette(new Palette());
    paletted->palette()->entries[3] = {200, 10, 10, 0};
    std::vector<Image*> images = {paletted.get()};
    for (const auto& image : formats) images.push_back(image.get());
    Bytes log;
    for (Image* image : images) {
        for (auto [pr, pg, pb] : {std::tuple{255, 128, 64}, {199, 11, 10}, {0x112, 0x134, 0x156}}) {
            const std::uint32_t v = image->packColor(pr, pg, pb);
            log.insert(log.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16)});
        }
        for (std::uint32_t v : {0x103u, 0xFFFFu, 0xFF654321u}) {
            r = g = b = 77;
            image->unpackColor(v, r, g, b);
            log.insert(log.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
        }
    }
    EXPECT_EQ(test::fnv1a(log), 0x8BABFB16u);
}

TEST(Image, SubImageViewsTheParentsRectangle) {
    auto parent = createMemoryImage(10, 8, 8);
    auto* palette = new Palette();
    parent->setPalette(palette);
    std::mt19937 rng(3);
    test::fillRandom(*parent, rng, false);
    {
        SubImage view(parent.get(), 2, 3, 6, 5);  // right exclusive, bottom inclusive
        ASSERT_TRUE(view.isValid());              // the palette borrowed, not counted
        EXPECT_EQ(std::tuple(view.width(), view.height(), view.palette(), palette->referenceCount),
                  std::tuple(4, 3, palette, 1));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(view.getPixel(x, y), parent->getPixel(2 + x, 3 + y));
        view.putPixel(3, 2, 0);
        EXPECT_EQ(parent->getPixel(5, 5), 0u);
        auto dst = createMemoryImage(4, 3, 8);  // it draws with the parent's routines
        EXPECT_EQ(view.draw(dst.get(), 0, 0, false, 0), 1);
        EXPECT_EQ(test::pixelsOf(*dst), test::pixelsOf(view));
    }
    EXPECT_EQ(palette->referenceCount, 1);  // the view's end leaves the parent's palette alone
    const int rectangles[][5] = {{0, 0, 10, 7, 1}, {0, 0, 11, 7, 0}, {0, 0, 10, 8, 0}, {-1, 0, 5, 5, 0},
                                 {0, -1, 5, 5, 0}, {3, 3, 3, 5, 0},  {3, 5, 6, 4, 0}};
    for (auto [l, t, r, b, valid] : rectangles)
        EXPECT_EQ(SubImage(parent.get(), l, t, r, b).isValid(), bool(valid)) << l << t << r << b;
    SubImage orphan(nullptr, 0, 0, 2, 2);
    EXPECT_FALSE(orphan.isValid() || orphan.lock(1));
}

TEST(Palette, NearestIndexFadeTablesAndCopies) {
    Palette sparse;
    for (auto& e : sparse.entries) e = {255, 255, 255, 0};
    sparse.entries[0] = {5, 6, 7, 0};
    sparse.entries[3] = {100, 100, 98, 0};  // distance 2 from (100, 100, 100)
    sparse.entries[4] = {5, 6, 8, 0};
    sparse.entries[7] = {101, 101, 100, 0};  // distance 2 as well: the lower index wins
    sparse.entries[254] = {50, 58, 44, 0};
    EXPECT_EQ(sparse.nearestIndex(100, 100, 100), 3);
    EXPECT_EQ(sparse.nearestIndex(5, 6, 8), 4);  // entry 0's distance of 1 does not stop the search
    EXPECT_EQ(sparse.nearestIndex(256 + 5, 6, 7 - 256), 0);  // arguments are taken modulo 256
    sparse.entries[0] = sparse.entries[255] = {100, 10, 50, 0};
    sparse.fadeTowards(50, 50, 52, 8);
    EXPECT_EQ(sparse.entries[0], (PaletteEntry{92, 18, 52, 0}));     // within a step: lands on the target
    EXPECT_EQ(sparse.entries[254], (PaletteEntry{50, 50, 52, 0}));   // exactly a step away: moves the step
    EXPECT_EQ(sparse.entries[255], (PaletteEntry{100, 10, 50, 0}));  // the last entry is spared
    // Entries in identical pairs, so that every search meets a tie (the lower index wins).
    Palette p;
    for (int i = 0; i < 256; ++i)
        p.entries[i] = {std::uint8_t(i / 2 * 2), std::uint8_t(255 - i / 2 * 2), std::uint8_t(i / 2 * 37), 0};
    p.buildMixTable();  // by searching the entries; after a rebuild, through the inverse table
    EXPECT_FALSE(p.hasInverseTable);
    p.buildInverseTable();
    ASSERT_TRUE(p.hasInverseTable && p.hasMixTable);
    auto tables = [](const Palette& t) {
        test::Bytes bytes(t.inverseTable.get(), t.inverseTable.get() + 32768);
        bytes.insert(bytes.end(), t.mixTable.get(), t.mixTable.get() + 65536);
        return test::fnv1a(bytes);
    };
    EXPECT_EQ(tables(p), 0x56841F47);
    // With the table, lookups go by 5-bit channels, red highest; arguments are taken modulo 256.
    EXPECT_EQ(p.nearestIndex(256 + 207, 100, 30), p.inverseTable[(25 << 10) | (12 << 5) | 3]);
    // A rebuild searches the new entries, not the old tables.
    for (PaletteEntry& e : p.entries) e.red = std::uint8_t(255 - e.red);
    p.rebuildTables();
    EXPECT_EQ(tables(p), 0x7F21FDA9);

    const Palette copy(p), bare{Palette()};
    EXPECT_NE(copy.inverseTable.get(), p.inverseTable.get());
    EXPECT_EQ(std::tuple(tables(copy), copy.entries, copy.referenceCount),
              std::tuple(tables(p), p.entries, 0));
    EXPECT_FALSE(bare.inverseTable || bare.mixTable);
}

TEST(Palette, ReferenceCountAcrossImages) {
    int changed = 0;
    struct Counting : MemoryImage8 {
        int* hits;
        explicit Counting(int* h) : MemoryImage8(2, 2), hits(h) {}
        void paletteChanged() override { ++*hits; }
    };
    auto* shared = new Palette();
    auto first = std::make_unique<Counting>(&changed);
    auto second = std::make_unique<MemoryImage8>(2, 2);
    EXPECT_FALSE(first->paletteAssigned());
    first->setPalette(shared);
    second->setPalette(shared);
    first->setPalette(shared);  // the same palette: no count change, but the hook runs
    EXPECT_EQ(std::tuple(shared->referenceCount, first->paletteAssigned(), changed), std::tuple(2, true, 2));
    first.reset();
    EXPECT_EQ(shared->referenceCount, 1);  // still alive for the second image
    auto* other = new Palette();
    second->setPalette(other);  // the shared palette's last reference goes: it is destroyed
    EXPECT_EQ(std::pair(other->referenceCount, second->palette()), std::pair(1, other));
    second->setPalette(nullptr);
    EXPECT_EQ(second->palette(), nullptr);
}

TEST(Display, KindsRawDepthsDibModesHeadersAndPresent) {
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
    EXPECT_FALSE(createDisplay(3, &port24, 0) || createDisplay(-1, &port24, 0));
    auto empty = createDisplay(0, &port24, 0);
    EXPECT_FALSE(empty->isReady() || empty->setMode(10, 10, 8, 0) || empty->createImage(4, 4, 8, 0) ||
                 empty->screen());
    empty->setBitsPerPixel(16);
    EXPECT_EQ(empty->bitsPerPixel(), 16);
    EXPECT_EQ(createDisplay(2, &port24, 0)->bitsPerPixel(), 24);  // the screen's depth
    auto windowless = createDisplay(2, nullptr, 0);
    EXPECT_FALSE(windowless->isReady() || windowless->setMode(10, 10, 8, 0) || windowless->bitsPerPixel());
    // A raw display is ready without a window and takes its depth from its first image.
    auto raw = createDisplay(1, nullptr, 0);
    EXPECT_EQ(std::pair(raw->isReady(), raw->bitsPerPixel()), std::pair(true, 0));
    EXPECT_EQ(raw->createImage(3, 3, 16, 0)->bitsPerPixel(), 16);
    EXPECT_EQ(raw->createImage(3, 3, 32, 0)->bitsPerPixel(), 32);  // later images keep the display's depth
    auto second = raw->createImage(3, 3, kDisplayDepth, 0);
    EXPECT_EQ(std::tuple(raw->bitsPerPixel(), second->bitsPerPixel(), second->storageKind()),
              std::tuple(16, 16, 1));
    ASSERT_TRUE(raw->setMode(20, 10, 8, 0));  // without a window, still a screen of the depth asked for
    EXPECT_EQ(std::tuple(raw->bitsPerPixel(), raw->screen()->width(), raw->screen()->storageKind()),
              std::tuple(8, 20, 1));
    EXPECT_FALSE(raw->setMode(20, 10, 12, 0));  // no such depth: no screen, the depth kept
    EXPECT_EQ(std::pair(raw->screen(), raw->bitsPerPixel()), std::pair(static_cast<Image*>(nullptr), 8));

    // Per depth (16 bits in both layouts) the screen's sizes, its header (as shown and as the image
    // holds it) and the buffer present shows (all 0 but one pixel), as golden hashes. The header:
    // 40 bytes, width = pitch, negative height (top-down), one plane, the depth; 8 bits add 256
    // colours (the system's first 255, 255 black), 5-6-5 its three masks.
    const std::uint32_t hashes[] = {0xA9E0994C, 0xC7DC4B1C, 0x3125B9F8, 0xAC39590C, 0xE6E6C03C};
    const int modes[][2] = {{8, 1}, {16, 1}, {16, 2}, {24, 1}, {32, 1}};  // depth, 16-bit layout
    for (int m = 0; m < 5; ++m) {
        const auto [depth, layout] = modes[m];
        SCOPED_TRACE(depth);
        sixteenBitLayout = layout;
        HeadlessWindowPort port(depth);
        std::array<PaletteEntry, 256> system{};
        for (int i = 0; i < 256; ++i)
            system[i] = {std::uint8_t(i), std::uint8_t(i + 1), std::uint8_t(i + 2), 4};
        port.setSystemPalette(system);
        auto display = createDisplay(2, &port, 1);
        auto memory = display->createImage(5, 5, kDisplayDepth, 0);  // flags 1: memory images ...
        ASSERT_TRUE(display->setMode(357, 260, kDisplayDepth, 0));   // ... but the screen is a DIB image
        Image* screen = display->screen();
        screen->putPixel(356, 259, 0x1F);
        display->present();
        Bytes shown = port.lastHeader();
        shown.insert(shown.end(), screen->bitmapInfo(), screen->bitmapInfo() + shown.size());
        shown.insert(shown.end(), port.lastPixels().begin(), port.lastPixels().end());
        for (int v : {port.lastWidth(), port.lastHeight(), port.presentCount(), screen->bitsPerPixel(),
                      port.clientWidth(), port.clientHeight(), screen->storageKind(), screen->pitch(),
                      memory->storageKind(), memory->bitsPerPixel(),
                      createDisplay(2, &port, 0)->createImage(5, 5, kDisplayDepth, 0)->storageKind()})
            shown.insert(shown.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        EXPECT_EQ(test::fnv1a(shown), hashes[m]);
        ASSERT_TRUE(display->setMode(100, 50, kDisplayDepth, 0));  // replaces the screen, resizes again
        EXPECT_EQ(std::pair(port.resizeCount(), display->screen()->width()), std::pair(2, 100));
        display->releaseScreen();
        display->present();  // nothing to show
        EXPECT_EQ(std::pair(display->screen(), port.presentCount()),
                  std::pair(static_cast<Image*>(nullptr), 1));
        for (auto [w, h] : {std::pair{-1, 2}, {2, -1}, {0, 2}}) {  // nothing to copy from sizes like these
            port.showBuffer(shown.data(), shown.data(), w, h);
            EXPECT_TRUE(port.lastPixels().empty()) << w << " x " << h;
        }
    }
    HeadlessWindowPort odd(12), port(16);
    EXPECT_FALSE(createDisplay(2, &odd, 0)->setMode(10, 10, kDisplayDepth, 0));
    sixteenBitLayout = 0;
    EXPECT_FALSE(createDisplay(2, &port, 0)->setMode(4, 4, 16, 0));
    sixteenBitLayout = 1;
    EXPECT_FALSE(DibImage32(&port, 0, 1).isValid());
}

// Pictures decoded and converted to the display's depth: a PCX whose palette entry i is
// (i, 255 - i, i / 2) with pixels 10 and 200 at 24 and 8 bits, a TIFF at 16, raw data.
TEST(Display, LoadersConvertToTheDisplayDepth) {
    test::TempDir dir;
    const std::string pcx = dir.write("a.pcx", test::makePcx8(2, 1, 2, {10, 200}));
    HeadlessWindowPort port24(24), port8(8), port16(16);
    auto d24 = createDisplay(2, &port24, 1), d16 = createDisplay(1, &port16, 0);
    d16->setBitsPerPixel(16);
    const Bytes rgb = {1, 2, 3};
    auto image8 = createDisplay(2, &port8, 1)->loadImageFile(pcx);
    EXPECT_EQ(image8->palette()->referenceCount, 1);  // the decoded image is gone
    const std::unique_ptr<Image> images[] = {
        d24->loadImageFile(pcx), std::move(image8),
        d16->loadImageFile2(dir.write("a.tif", test::makeTiffOneStrip(1, 1, {255, 128, 64}))),
        d24->loadImageMemory(rgb.data(), 1, 1, 3, 1, 3)};
    Bytes log;
    for (const auto& image : images) {
        const Bytes picture = test::pictureBytes(*image);
        log.insert(log.end(), picture.begin(), picture.end());
    }
    EXPECT_EQ(test::fnv1a(log), 0x320E2F80);
    EXPECT_FALSE(d24->loadImageFile(dir.file("missing.pcx")) || d24->loadImageFile2(pcx) ||
                 createDisplay(0, nullptr, 0)->loadImageFile(pcx));
}

}  // namespace
}  // namespace trellisor
