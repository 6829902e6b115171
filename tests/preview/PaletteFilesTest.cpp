// The palette files, read back by parsers written here for each format.
#include <gtest/gtest.h>

#include <sstream>

#include "preview/GamePalette.h"
#include "preview/PaletteFiles.h"

namespace trellisor {
namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// What every file must hold: the game's 255 colours, then black for 255.
std::vector<Rgb> gameColours() {
    std::vector<Rgb> colours;
    for (const RgbQuad& q : previewPalette) colours.push_back({q.red, q.green, q.blue});
    colours.push_back({0, 0, 0});
    return colours;
}

std::vector<std::string> lines(const std::string& text, const std::string& end) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(end, from)) != std::string::npos; from = at + end.size())
        out.push_back(text.substr(from, at - from));
    EXPECT_EQ(from, text.size()) << "the last line is not ended";
    return out;
}

Rgb parseRgb(const std::string& text) {
    std::istringstream in(text);
    Rgb c{-1, -1, -1};
    in >> c.r >> c.g >> c.b;
    EXPECT_TRUE(in && in.eof()) << text;  // three numbers and nothing else
    return c;
}

TEST(PaletteFiles, GimpHeaderAndRowsWithRampNames) {
    const auto rows = lines(gimpPaletteText(), "\n");
    ASSERT_EQ(rows.size(), 4u + 256u);
    EXPECT_EQ(rows[0], "GIMP Palette");
    EXPECT_EQ(rows[1].rfind("Name: ", 0), 0u);
    std::vector<Rgb> colours;
    std::vector<std::string> names;
    for (std::size_t i = 4; i < rows.size(); ++i) {
        const auto tab = rows[i].find('\t');
        ASSERT_NE(tab, std::string::npos) << rows[i];
        colours.push_back(parseRgb(rows[i].substr(0, tab)));
        names.push_back(rows[i].substr(tab + 1));
    }
    EXPECT_EQ(colours, gameColours());
    EXPECT_EQ(names[9], "index 9");
    EXPECT_EQ(names[10], "index 10, ramp 0 shade 0");
    EXPECT_EQ(names[57], "index 57, ramp 3 shade 11");
    EXPECT_EQ(names[225], "index 225, ramp 17 shade 11");
    EXPECT_EQ(names[226], "index 226");
    EXPECT_EQ(names[255], "index 255, no colour");
}

TEST(PaletteFiles, AdobeTableIsRgbThenCountAndTransparentIndex) {
    const auto bytes = adobeColourTable();
    ASSERT_EQ(bytes.size(), 772u);
    std::vector<Rgb> colours;
    for (std::size_t i = 0; i < 768; i += 3) colours.push_back({bytes[i], bytes[i + 1], bytes[i + 2]});
    EXPECT_EQ(colours, gameColours());
    EXPECT_EQ((bytes[768] << 8) | bytes[769], 256);  // big-endian count
    EXPECT_EQ((bytes[770] << 8) | bytes[771], 0);    // transparent index
}

TEST(PaletteFiles, JascHeaderCountAndRows) {
    const auto rows = lines(jascPaletteText(), "\r\n");
    ASSERT_EQ(rows.size(), 3u + 256u);
    EXPECT_EQ(rows[0], "JASC-PAL");
    EXPECT_EQ(rows[1], "0100");
    EXPECT_EQ(rows[2], "256");
    std::vector<Rgb> colours;
    for (std::size_t i = 3; i < rows.size(); ++i) colours.push_back(parseRgb(rows[i]));
    EXPECT_EQ(colours, gameColours());
}

TEST(PaletteFiles, TheExtensionChoosesTheFormat) {
    const struct {
        const char* path;
        std::optional<PaletteFileFormat> format;
    } cases[] = {{"game.gpl", PaletteFileFormat::Gimp},
                 {"a/b/GAME.ACT", PaletteFileFormat::Adobe},
                 {"x.Pal", PaletteFileFormat::Jasc},
                 {"swatch.png", PaletteFileFormat::Png},
                 {"x.bmp", std::nullopt},
                 {"gpl", std::nullopt},
                 {"x.gpl.txt", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(paletteFileFormatOf(c.path), c.format) << c.path;
}

}  // namespace
}  // namespace trellisor
