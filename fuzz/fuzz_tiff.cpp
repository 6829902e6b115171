// Fuzzes the TIFF reader with whole files.
#include <cstddef>
#include <cstdint>

#include "gfx/ImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto image = trellisor::readTiffBytes({data, size});
    if (image) {
        trellisor::Image& im = *image.value();
        std::uint32_t sum = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x) sum += im.getPixel(x, y);
        (void)sum;
    }
    return 0;
}
