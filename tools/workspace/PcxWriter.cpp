// PCX writer: the 128-byte header, coded scan lines and the trailing palette.
#include "workspace/PcxWriter.h"

#include "base/Bytes.h"
#include "base/Files.h"
#include "preview/GamePalette.h"

namespace trellisor::workspace {

std::vector<std::uint8_t> encodePcx8(int width, int height, std::span<const std::uint8_t> pixels,
                                     const PcxPalette& palette) {
    std::vector<std::uint8_t> out(128, 0);
    const int bytesPerLine = width + (width & 1);  // scan lines are padded to even length
    out[0] = 10;                                   // manufacturer
    out[1] = 5;                                    // version with a 256-colour palette
    out[2] = 1;                                    // run-length coded
    out[3] = 8;                                    // bits per pixel and plane
    storeLe16(&out[8], std::uint16_t(width - 1));
    storeLe16(&out[10], std::uint16_t(height - 1));
    storeLe16(&out[12], 72);
    storeLe16(&out[14], 72);
    out[65] = 1;  // planes
    storeLe16(&out[66], std::uint16_t(bytesPerLine));
    storeLe16(&out[68], 1);  // colour palette
    std::vector<std::uint8_t> line(std::size_t(bytesPerLine), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            line[std::size_t(x)] = pixels[std::size_t(y) * std::size_t(width) + x];
        for (std::size_t i = 0; i < line.size();) {
            std::size_t run = 1;
            while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
            // A single byte below 0xC0 stands for itself; anything else needs a count byte.
            if (run > 1 || line[i] >= 0xC0) out.push_back(std::uint8_t(0xC0 | run));
            out.push_back(line[i]);
            i += run;
        }
    }
    out.push_back(0x0C);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

Status writePcx8(const std::string& path, int width, int height, std::span<const std::uint8_t> pixels,
                 const PcxPalette& palette) {
    if (width < 1 || height < 1 || width > 65535 || height > 65535 ||
        pixels.size() != std::size_t(width) * std::size_t(height))
        return Status::fail("picture size does not match its pixels");
    return writeFileReplacing(path, encodePcx8(width, height, pixels, palette));
}

PcxPalette gamePcxPalette() {
    PcxPalette p{};
    for (int i = 0; i < 256; ++i) {
        const RgbQuad q =
            i < kPreviewPaletteSize ? previewPalette[std::size_t(i)] : RgbQuad{255, 255, 255, 0};
        p[std::size_t(i) * 3] = q.red;
        p[std::size_t(i) * 3 + 1] = q.green;
        p[std::size_t(i) * 3 + 2] = q.blue;
    }
    return p;
}

}  // namespace trellisor::workspace
