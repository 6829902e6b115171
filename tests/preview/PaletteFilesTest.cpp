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

// Each text format: its header lines, then one row per colour ("r g b", GIMP adds a tab and a name).
TEST(PaletteFiles, TextFormatsHoldHeaderThenEveryColour) {
    const struct {
        std::vector<std::string> rows, header;
    } cases[] = {
        {lines(gimpPaletteText(), "\n"),
         {"GIMP Palette", "Name: Trellisor game palette", "Columns: 16", "#"}},
        {lines(jascPaletteText(), "\r\n"), {"JASC-PAL", "0100", "256"}},
    };
    std::vector<std::string> names;
    for (const auto& c : cases) {
        const std::size_t n = c.header.size();
        ASSERT_EQ(c.rows.size(), n + 256u);
        EXPECT_EQ(std::vector(c.rows.begin(), c.rows.begin() + std::ptrdiff_t(n)), c.header);
        std::vector<Rgb> colours;
        for (std::size_t i = n; i < c.rows.size(); ++i) {
            const auto tab = c.rows[i].find('\t');
            colours.push_back(parseRgb(c.rows[i].substr(0, tab)));
            if (tab != std::string::npos) names.push_back(c.rows[i].substr(tab + 1));
        }
        EXPECT_EQ(colours, gameColours());
    }
    ASSERT_EQ(names.size(), 256u);
    for (auto [index, name] : {std::pair{9, "index 9"},
                               {10, "index 10, ramp 0 shade 0"},
                               {57, "index 57, ramp 3 shade 11"},
                               {225, "index 225, ramp 17 shade 11"},
                               {226, "index 226"},
                               {255, "index 255, no colour"}})
        EXPECT_EQ(names[std::size_t(index)], name);
}

TEST(PaletteFiles, AdobeTableIsRgbThenCountAndTransparentIndex) {
    const auto bytes = adobeColourTable();
    ASSERT_EQ(bytes.size(), 772u);
    std::vector<Rgb> colours;
    for (std::size_t i = 0; i < 768; i += 3) colours.push_back({bytes[i], bytes[i + 1], bytes[i + 2]});
    EXPECT_EQ(colours, gameColours());
    EXPECT_EQ(std::vector(bytes.begin() + 768, bytes.end()), (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST(PaletteFiles, TheExtensionChoosesTheFormat) {
    const std::pair<const char*, std::optional<PaletteFileFormat>> cases[] = {
        {"game.gpl", PaletteFileFormat::Gimp},
        {"a/b/GAME.ACT", PaletteFileFormat::Adobe},
        {"x.Pal", PaletteFileFormat::Jasc},
        {"swatch.png", PaletteFileFormat::Png},
        {"x.bmp", std::nullopt},
        {"gpl", std::nullopt},
        {"x.gpl.txt", std::nullopt}};
    for (const auto& [path, format] : cases) EXPECT_EQ(paletteFileFormatOf(path), format) << path;
}

}  // namespace
}  // namespace trellisor
