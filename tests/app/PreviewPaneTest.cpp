// What the preview pane shows, the conversion of presented buffers, and the
// small helpers of the Qt layer (text codec, file filters).
#include <QRegularExpression>

#include "EditorFixture.h"
#include "app/QtUiPort.h"
#include "app/QtWindowPort.h"
#include "app/TextCodec.h"
#include "preview/GamePalette.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewIcons.h"

namespace trellisor::test {
namespace {

using PreviewPaneTest = EditorFixture;

std::vector<SpriteSpec> paintedSprites() {
    auto sprites = standardSprites();
    for (int i = 0; i <= 50; ++i) sprites[std::size_t(i)] = solidRowCodedSprite(24, 12, 101, -12, -6);
    return sprites;
}

TEST_F(PreviewPaneTest, PaneShowsTheFrameTheDisplayPresented) {
    MainDialog& d = open();
    load(writeObject("SHOW.DAT", paintedSprites()));
    click(1008);  // the grid of all Path elements

    // The same frame made headless: its raw 32-bit bytes are what the pane must show.
    HeadlessWindowPort port(32);
    auto display = createDisplay(2, &port, 1);
    ASSERT_TRUE(display && display->setMode(360, 260, kDisplayDepth, 0));
    PathObject copy = buildObject(paintedSprites());
    composePreviewIcons(copy);
    // Without grass each frame starts black: the example path that Load showed is gone.
    drawPreviewFrame(copy, *display, nullptr, PreviewAllPathElements, PagePath);
    ASSERT_EQ(port.lastHeight(), 260);

    const QImage& frame = d.m_preview->frame();
    ASSERT_EQ(frame.size(), QSize(360, 260));
    const RgbQuad green = previewColour(101);
    int drawn = 0;
    for (int y = 0; y < 260; ++y) {
        for (int x = 0; x < 360; ++x) {
            const std::uint8_t* p = port.lastPixels().data() +
                                    (std::size_t(y) * std::size_t(port.lastWidth()) + std::size_t(x)) * 4;
            ASSERT_EQ(frame.pixel(x, y), qRgb(p[2], p[1], p[0])) << x << "," << y;
            drawn += frame.pixel(x, y) == qRgb(green.red, green.green, green.blue);
        }
    }
    EXPECT_GT(drawn, 51 * 100) << "every Path sprite of the grid is drawn";

    // And the widget paints exactly that frame.
    const QImage painted = d.m_preview->grab().toImage();
    for (QPoint p : {QPoint(0, 0), QPoint(180, 130), QPoint(359, 259)}) {
        EXPECT_EQ(painted.pixel(p), frame.pixel(p));
    }
    d.m_object.clearObject();
    display->releaseScreen();
}

TEST(BitmapBufferConversion, ReadsEachDepthItsHeaderDescribes) {
    auto header = [](int width, int height, int bits, std::uint32_t compression, std::uint32_t colours) {
        std::vector<std::uint8_t> h(40 + 1024, 0);
        auto put = [&h](int at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) h[std::size_t(at + i)] = std::uint8_t(v >> (8 * i));
        };
        put(0, 40);
        put(4, std::uint32_t(width));
        put(8, std::uint32_t(-height));  // top-down
        h[12] = 1;
        h[14] = std::uint8_t(bits);
        put(16, compression);
        put(32, colours);
        return h;
    };

    auto h8 = header(2, 1, 8, 0, 2);
    h8[40 + 4 + 0] = 0x30;  // entry 1: blue, green, red
    h8[40 + 4 + 1] = 0x20;
    h8[40 + 4 + 2] = 0x10;
    const std::uint8_t p8[4] = {1, 0, 9, 9};  // pitch 4: the last two are beyond the width
    QImage i8 = imageFromBitmapBuffer(p8, h8.data(), 4, 1);
    ASSERT_EQ(i8.size(), QSize(2, 1));
    EXPECT_EQ(i8.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(i8.pixel(1, 0), qRgb(0, 0, 0));

    auto h565 = header(1, 2, 16, 3, 0);
    const std::uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
    for (int m = 0; m < 3; ++m)
        for (int i = 0; i < 4; ++i) h565[std::size_t(40 + 4 * m + i)] = std::uint8_t(masks[m] >> (8 * i));
    const std::uint8_t p565[4] = {0x1F, 0xF8, 0xE0, 0x07};  // red then green, one per row
    QImage i565 = imageFromBitmapBuffer(p565, h565.data(), 1, 2);
    EXPECT_EQ(i565.pixel(0, 0), qRgb(0, 0, 255) | qRgb(255, 0, 0));
    EXPECT_EQ(i565.pixel(0, 1), qRgb(0, 255, 0));

    auto h555 = header(1, 1, 16, 0, 0);
    const std::uint8_t p555[2] = {0x00, 0x7C};
    EXPECT_EQ(imageFromBitmapBuffer(p555, h555.data(), 1, 1).pixel(0, 0), qRgb(255, 0, 0));

    auto h24 = header(2, 1, 24, 0, 0);
    const std::uint8_t p24[6] = {1, 2, 3, 4, 5, 6};
    QImage i24 = imageFromBitmapBuffer(p24, h24.data(), 2, 1);
    EXPECT_EQ(i24.pixel(1, 0), qRgb(6, 5, 4));

    auto h4 = header(2, 1, 4, 0, 0);
    EXPECT_TRUE(imageFromBitmapBuffer(p24, h4.data(), 2, 1).isNull());
}

TEST(QtLayerHelpers, Windows1252TextAndCaseBlindFilters) {
    // The QString adapters over the codec: a NUL byte and the high bytes survive the trip.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
    EXPECT_EQ(toWindows1252(fromWindows1252(all)).bytes, all);
    EXPECT_EQ(toWindows1252(QString::fromUtf8("\u20AC\u4E2D")).unencodable, "\u4E2D");

    const QString filter = caseInsensitiveNameFilter("*.DAT");
    EXPECT_EQ(filter, "*.DAT (*.[Dd][Aa][Tt])");
    const QRegularExpression pattern(QRegularExpression::wildcardToRegularExpression("*.[Dd][Aa][Tt]"));
    for (const char* name : {"PATH.DAT", "path.dat", "Path.Dat"})
        EXPECT_TRUE(pattern.match(name).hasMatch()) << name;
    EXPECT_FALSE(pattern.match("path.bmp").hasMatch());
}

TEST_F(PreviewPaneTest, TeardownGivesTheStoreBack) {
    open();
    EXPECT_EQ(SpriteStore::useCount(), 1);
    m_dialog.reset();
    EXPECT_EQ(SpriteStore::useCount(), 0);
}

}  // namespace
}  // namespace trellisor::test
