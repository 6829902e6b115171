// Brightness, strip clicks, sparkles, bitmap import, the protection buttons and
// "To All", end to end through the widgets.
#include <QImage>
#include <QLabel>
#include <cstdlib>

#include "EditorFixture.h"
#include "base/Bytes.h"
#include "preview/BitmapImport.h"
#include "preview/ColourOperations.h"

namespace trellisor::test {
namespace {

using ColourCommands = EditorFixture;

// A full object whose every page sprite is an 8 x 4 row-coded block of one colour.
std::vector<SpriteSpec> uniformSprites(std::uint8_t colour, int count = 168) {
    auto sprites = standardSprites(count);
    for (int i = 0; i < count; ++i) {
        if (i != 71 && i != 72) sprites[std::size_t(i)] = solidRowCodedSprite(8, 4, colour, -4, 0);
    }
    return sprites;
}

std::vector<std::uint8_t> pixelsOf(const PathObject& obj, unsigned index) {
    auto span = obj.spritePixels(index);
    return {span.begin(), span.end()};
}

std::vector<std::uint8_t> blockOf(std::uint8_t colour) {
    return solidRowCodedSprite(8, 4, colour, -4, 0).pixels;
}

// A BMP file: headers, a colour table for depths below 24, then rows of one byte value pattern.
std::vector<std::uint8_t> bitmapFile(int width, int height, int bits, std::array<std::uint8_t, 3> bgr) {
    std::vector<std::uint8_t> file;
    ByteWriter w(file);
    const int stride = ((width * bits + 31) / 32) * 4;
    const int table = bits < 24 ? 1024 : 0;
    w.u8('B');
    w.u8('M');
    w.u32(std::uint32_t(54 + table + stride * height));
    w.u32(0);
    w.u32(std::uint32_t(54 + table));
    w.u32(40);
    w.u32(std::uint32_t(width));
    w.u32(std::uint32_t(height));
    w.u16(1);
    w.u16(std::uint16_t(bits));
    for (int i = 0; i < 6; ++i) w.u32(0);
    file.resize(file.size() + std::size_t(table), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < stride; ++x) file.push_back(bits == 24 ? bgr[std::size_t(x % 3)] : 0);
    }
    return file;
}

TEST_F(ColourCommands, BrightnessStepsStopAtTheLimitsPerPage) {
    MainDialog& d = open();
    load(writeObject("B.DAT", uniformSprites(15)));
    for (int step = 1; step <= 12; ++step) {
        click(1011);
        EXPECT_EQ(text(1010), QString::number(step));
    }
    EXPECT_EQ(pixelsOf(d.m_object, 0), blockOf(21)) << "15 brightened stops at the ramp's lightest shade";
    const auto bright = pixelsOf(d.m_object, 0);
    int before = presents();
    click(1011);
    EXPECT_EQ(text(1010), "12");
    EXPECT_EQ(presents(), before) << "at the limit nothing happens, not even a repaint";

    selectTab(2);
    EXPECT_EQ(text(1010), "0");
    click(1012);
    EXPECT_EQ(text(1010), "-1");
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(14));
    EXPECT_EQ(pixelsOf(d.m_object, 0), bright) << "only the current page changes";
    for (int i = 0; i < 20; ++i) click(1012);
    EXPECT_EQ(text(1010), "-12");
    EXPECT_EQ(d.m_brightness[2], -12);
    selectTab(0);
    EXPECT_EQ(text(1010), "12");

    // Protected ramps keep their pixels.
    click(1022);
    click(1012);
    EXPECT_EQ(text(1010), "11");
    EXPECT_EQ(pixelsOf(d.m_object, 0), bright);
}

TEST_F(ColourCommands, EachStripBlockRecoloursThePageToItsRamp) {
    MainDialog& d = open();
    load(writeObject("R.DAT", uniformSprites(40)));  // ramp 2, shade 6
    const QRect strip = d.m_recolorStrip->geometry();
    const int y = strip.center().y();
    ASSERT_EQ(d.childAt(QPoint(strip.left() + 8, y)), nullptr) << "the strip leaves its clicks to the dialog";
    for (int k = 0; k < 18; ++k) {
        clickAt(QPoint(strip.left() + 1 + 15 * k + 7, y));
        ASSERT_EQ(pixelsOf(d.m_object, 0), blockOf(std::uint8_t(16 + 12 * k))) << "block " << k;
        EXPECT_EQ(pixelsOf(d.m_object, 50), blockOf(std::uint8_t(16 + 12 * k)));
    }
    for (int column : {270, 271}) {
        clickAt(QPoint(strip.left() + column, y));
        EXPECT_EQ(pixelsOf(d.m_object, 0), blockOf(232)) << "the last columns give ramp 18";
    }
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(40)) << "other pages keep their colours";

    // Outside the strip, in the preview, or on the String Table page: nothing.
    const int before = presents();
    clickAt(QPoint(strip.left() + 20, strip.top() - 3));
    clickAt(d.m_preview->geometry().center());
    selectTab(5);
    const int afterTab = presents();
    d.OnLButtonUp(QPoint(strip.left() + 20, y));
    EXPECT_EQ(presents(), afterTab);
    EXPECT_EQ(afterTab, before + 1);
    EXPECT_EQ(pixelsOf(d.m_object, 0), blockOf(232));

    // Protection reaches the strip: a protected ramp keeps its pixels.
    selectTab(2);
    click(9000 + 2);
    clickAt(QPoint(strip.left() + 1 + 15 * 9 + 7, y));
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(40));
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);
}

TEST_F(ColourCommands, SparklesFollowTheSeedAndTheProtection) {
    MainDialog& d = open();
    load(writeObject("S.DAT", uniformSprites(100)));
    click(1022);
    std::srand(7);
    click(1026);
    for (unsigned i = 0; i <= 50; ++i) ASSERT_EQ(pixelsOf(d.m_object, i), blockOf(100)) << i;

    click(1023);
    PathObject expected = buildObject(uniformSprites(100));
    std::srand(7);
    addSparkles(expected, PagePath, ProtectedRamps{});
    std::srand(7);
    click(1026);
    int sparkles = 0;
    for (unsigned i = 0; i <= 50; ++i) {
        EXPECT_EQ(pixelsOf(d.m_object, i), pixelsOf(expected, i)) << i;
        for (std::uint8_t p : pixelsOf(d.m_object, i)) sparkles += p >= 231 && p <= 240;
    }
    EXPECT_GT(sparkles, 0);
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(100)) << "only the Path page sparkles";

    // Without an object the button only repaints.
    load(QString::fromStdString(m_dir.file("NONE.DAT")));
    const int before = presents();
    click(1026);
    EXPECT_EQ(presents(), before + 1);
}

TEST_F(ColourCommands, ImportBitmapRepaintsThePageFromTheFile) {
    MainDialog& d = open();
    load(writeObject("I.DAT", uniformSprites(40)));
    const std::string red = m_dir.write("red.bmp", bitmapFile(64, 64, 24, {0, 0, 255}));
    m_ui.chooseNext(QString::fromStdString(red));
    click(1025);
    const FileDialogRequest& request = m_ui.fileRequests.back();
    EXPECT_EQ(request.title, "Import Bitmap File");
    EXPECT_EQ(request.defaultExtension, "BMP");
    EXPECT_EQ(request.initialName, "*.BMP");
    EXPECT_EQ(request.filter, "*.BMP *.PNG");
    EXPECT_EQ(pixelsOf(d.m_object, 0), blockOf(173)) << "pure red is index 173";
    EXPECT_EQ(pixelsOf(d.m_object, 16), blockOf(40)) << "stairs are left alone";
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(40));
    EXPECT_EQ(m_ui.waitBegins, m_ui.waitEnds);

    // A PNG goes the same way.
    selectTab(2);
    QImage green(64, 64, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    ASSERT_TRUE(green.save(QString::fromStdString(m_dir.file("green.png"))));
    m_ui.chooseNext(QString::fromStdString(m_dir.file("green.png")));
    click(1025);
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(matchPaletteColour(0, 255, 0)));
    EXPECT_NE(pixelsOf(d.m_object, 51), blockOf(40));

    // A depth that neither the bitmap reader nor Qt reads is refused with the message.
    load(writeObject("I.DAT", uniformSprites(40)));  // the changes are dropped at the question
    ASSERT_EQ(m_ui.messages.size(), 1u);
    m_ui.messages.clear();
    selectTab(2);
    const std::string deep = m_dir.write("deep.bmp", bitmapFile(64, 64, 7, {0, 0, 0}));
    m_ui.chooseNext(QString::fromStdString(deep));
    int before = presents();
    click(1025);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Can only import 8 or 24 bit bitmaps.");
    EXPECT_EQ(pixelsOf(d.m_object, 51), blockOf(40));
    EXPECT_EQ(presents(), before + 1);

    // A file too short for its headers is refused with a reason.
    m_ui.chooseNext(QString::fromStdString(m_dir.write("short.bmp", std::vector<std::uint8_t>{'B', 'M', 1})));
    click(1025);
    ASSERT_EQ(m_ui.messages.size(), 2u);
    EXPECT_TRUE(m_ui.messages[1].text.startsWith("Cannot import short.bmp: "));

    // Hidden on the railings pages; a cancelled dialog does nothing.
    selectTab(1);
    const std::size_t requests = m_ui.fileRequests.size();
    click(1025);
    EXPECT_EQ(m_ui.fileRequests.size(), requests);
    selectTab(0);
    before = presents();
    click(1025);
    EXPECT_EQ(presents(), before);
}

TEST_F(ColourCommands, ProtectionButtonsChangeAllBoxesWithoutRepainting) {
    MainDialog& d = open();
    const int before = presents();
    click(1022);
    for (QCheckBox* box : d.m_protectedChecks) EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(d.isRampProtected(17));
    EXPECT_FALSE(d.isRampProtected(18));
    click(1023);
    for (QCheckBox* box : d.m_protectedChecks) EXPECT_FALSE(box->isChecked());
    click(9003);
    click(9011);
    click(1024);
    for (int ramp = 0; ramp < 18; ++ramp)
        EXPECT_EQ(d.m_protectedChecks[std::size_t(ramp)]->isChecked(), ramp != 3 && ramp != 11);
    click(1024);
    for (int ramp = 0; ramp < 18; ++ramp) EXPECT_EQ(d.isRampProtected(ramp), ramp == 3 || ramp == 11);
    EXPECT_EQ(presents(), before);
}

TEST_F(ColourCommands, ToAllCopiesItsOwnRow) {
    MainDialog& d = open();
    StringTableDialog* page = d.m_stringTablePage;
    selectTab(5);
    for (int i = 0; i < 12; ++i) page->setText(i, QString("Row %1").arg(i));
    controlAs<QAbstractButton>(page, 1020 + 2 * 4)->click();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(page->text(i), "Row 4");
    page->setText(9, "Nine");
    page->setText(10, "Ten");
    controlAs<QAbstractButton>(page, 1040)->click();  // the second "Chinese:" row
    for (int i = 0; i < 12; ++i) EXPECT_EQ(page->text(i), "Ten");
    page->setText(0, "");
    controlAs<QAbstractButton>(page, 1020)->click();
    for (int i = 0; i < 12; ++i) EXPECT_EQ(page->text(i), "");
}

}  // namespace
}  // namespace trellisor::test
