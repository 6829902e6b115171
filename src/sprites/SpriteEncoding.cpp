// The two sprite encoders.
#include "sprites/SpriteEncoding.h"

#include <string>

namespace trellisor {

namespace {

constexpr std::size_t kMaxRowOffset = 32767;
constexpr std::uint8_t kLastRunBit = 0x80;

}  // namespace

std::vector<std::uint8_t> encodeRawSprite(std::span<const std::uint8_t> indices) {
    return {indices.begin(), indices.end()};
}

Result<std::vector<std::uint8_t>> encodeRowCodedSprite(int width, int height,
                                                       std::span<const std::uint8_t> indices) {
    using Out = Result<std::vector<std::uint8_t>>;
    if (width < 0 || height < 0 || indices.size() != std::size_t(width) * std::size_t(height))
        return Out::fail("picture data do not match its size");
    std::vector<std::uint8_t> out(std::size_t(height) * 2, 0);
    for (int y = 0; y < height; ++y) {
        if (out.size() > kMaxRowOffset)
            return Out::fail("row " + std::to_string(y) + " would start at byte " +
                             std::to_string(out.size()) + ", past the 32767 a row offset can hold");
        out[std::size_t(y) * 2] = std::uint8_t(out.size());
        out[std::size_t(y) * 2 + 1] = std::uint8_t(out.size() >> 8);
        const std::uint8_t* row = indices.data() + std::size_t(y) * std::size_t(width);
        std::size_t lastRunHead = 0;
        bool anyRun = false;
        for (int x = 0; x < width;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            int end = x;
            while (end < width && row[end] != 0) ++end;
            // The remainder first, then full runs: every start is as early as it can be.
            int runLength = (end - x) % kMaxRunPixels;
            if (runLength == 0) runLength = kMaxRunPixels;
            while (x < end) {
                if (x > kMaxRunStart)
                    return Out::fail("row " + std::to_string(y) + ": the opaque pixels from column " +
                                     std::to_string(x) +
                                     " cannot be coded (runs start at columns 0-255 and hold at most "
                                     "127 pixels)");
                lastRunHead = out.size();
                anyRun = true;
                out.push_back(std::uint8_t(runLength));
                out.push_back(std::uint8_t(x));
                out.insert(out.end(), row + x, row + x + runLength);
                x += runLength;
                runLength = kMaxRunPixels;
            }
        }
        if (!anyRun) {
            lastRunHead = out.size();
            out.push_back(0);
            out.push_back(0);
        }
        out[lastRunHead] |= kLastRunBit;
    }
    return Out::ok(std::move(out));
}

}  // namespace trellisor
