// trellisor-cli palette: the game palette written in the format OUT's extension names; the PNG
// swatch is made here because images are written with Qt.
#include "cli/PaletteCommand.h"

#include <QImage>
#include <span>

#include "base/Files.h"
#include "cli/CliSupport.h"
#include "imageio/PictureFiles.h"
#include "preview/PaletteFiles.h"

namespace trellisor {

namespace {

constexpr int kSwatchSide = 16;

// 16 x 16 pixels, pixel (x, y) of index 16 y + x, indexed with the palette itself.
QImage paletteSwatch() {
    QImage image(kSwatchSide, kSwatchSide, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const RgbQuad& c : paletteFileColours()) table.append(qRgb(c.red, c.green, c.blue));
    image.setColorTable(table);
    for (int y = 0; y < kSwatchSide; ++y)
        for (int x = 0; x < kSwatchSide; ++x) image.scanLine(y)[x] = uchar(y * kSwatchSide + x);
    return image;
}

Status writeText(const std::string& path, const std::string& text) {
    return writeWholeFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

int runPalette(const CommandLine& line) {
    const std::string& out = line.positional(0);
    const auto format = paletteFileFormatOf(out);
    if (!format)
        return line.fail("OUT must end in " + std::string(kPaletteFileExtensions) + ", not '" +
                         fileNameOf(out) + "'");
    Status written = Status::ok();
    switch (*format) {
        case PaletteFileFormat::Gimp:
            written = writeText(out, gimpPaletteText());
            break;
        case PaletteFileFormat::Adobe:
            written = writeWholeFile(out, adobeColourTable());
            break;
        case PaletteFileFormat::Jasc:
            written = writeText(out, jascPaletteText());
            break;
        case PaletteFileFormat::Png:
            written = writePng(paletteSwatch(), out);
            break;
    }
    if (!written) return line.fail(written.error());
    return 0;
}

}  // namespace

void registerPaletteCommand(std::vector<CliCommand>& commands) {
    commands.push_back(
        {"palette",
         {{"OUT", "The palette file to write: .gpl, .act, .pal or .png."}},
         "Writes the game palette (256 colours; index 255, which has none, as black) for paint "
         "programs, in the format OUT's extension names: .gpl (GIMP, the 18 ramps named in each "
         "colour's name), .act (Adobe colour table, transparent index 0), .pal (JASC-PAL) or .png "
         "(a 16 x 16 swatch indexed with the palette, one pixel per index).",
         {},
         runPalette});
}

}  // namespace trellisor
