// The game palette written in the palette formats of paint programs.
#include "preview/PaletteFiles.h"

#include <cstdio>

#include "base/Files.h"
#include "preview/ColourRamps.h"

namespace trellisor {

namespace {

std::string rgbRow(const RgbQuad& c, const char* format) {
    char row[24];
    std::snprintf(row, sizeof row, format, c.red, c.green, c.blue);
    return row;
}

}  // namespace

std::optional<PaletteFileFormat> paletteFileFormatOf(std::string_view path) {
    if (hasExtension(path, ".gpl")) return PaletteFileFormat::Gimp;
    if (hasExtension(path, ".act")) return PaletteFileFormat::Adobe;
    if (hasExtension(path, ".pal")) return PaletteFileFormat::Jasc;
    if (hasExtension(path, ".png")) return PaletteFileFormat::Png;
    return std::nullopt;
}

std::array<RgbQuad, kPaletteFileColours> paletteFileColours() {
    std::array<RgbQuad, kPaletteFileColours> colours;
    for (int i = 0; i < kPaletteFileColours; ++i) colours[std::size_t(i)] = previewColour(std::uint8_t(i));
    return colours;
}

std::string paletteColourName(int index) {
    std::string name = "index " + std::to_string(index);
    if (index >= kFirstRampIndex && index < kFirstRampIndex + kRampCount * kShadesPerRamp)
        name += ", ramp " + std::to_string(rampOfColour(std::uint8_t(index))) + " shade " +
                std::to_string(shadeOfColour(std::uint8_t(index)));
    else if (index >= kPreviewPaletteSize)
        name += ", no colour";
    return name;
}

std::string gimpPaletteText() {
    std::string text = "GIMP Palette\nName: Trellisor game palette\nColumns: 16\n#\n";
    const auto colours = paletteFileColours();
    for (int i = 0; i < kPaletteFileColours; ++i)
        text += rgbRow(colours[std::size_t(i)], "%3d %3d %3d\t") + paletteColourName(i) + "\n";
    return text;
}

std::vector<std::uint8_t> adobeColourTable() {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(3 * kPaletteFileColours + 4);
    for (const RgbQuad& c : paletteFileColours()) bytes.insert(bytes.end(), {c.red, c.green, c.blue});
    bytes.insert(bytes.end(),
                 {std::uint8_t(kPaletteFileColours >> 8), std::uint8_t(kPaletteFileColours & 0xFF), 0, 0});
    return bytes;
}

std::string jascPaletteText() {
    std::string text = "JASC-PAL\r\n0100\r\n" + std::to_string(kPaletteFileColours) + "\r\n";
    for (const RgbQuad& c : paletteFileColours()) text += rgbRow(c, "%d %d %d\r\n");
    return text;
}

}  // namespace trellisor
